// Character classes and the token scanners: where numbers, literals and
// identifiers end, what they leave for the caller, and the fixed buffers.
#include "cpp/scanner.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>

#include "common/alert.h"
#include "cpp/driver.h"
#include "cpp/macro_table.h"
#include "cpp/reader.h"

namespace {

std::u16string collected;
int collect(int c) {
    collected += static_cast<char16_t>(c);
    return 0;
}

std::u16string widen(const std::string& s) {
    return std::u16string(s.begin(), s.end());
}

class ScannerTest : public ::testing::Test {
   protected:
    void SetUp() override {
        reader_reset();
        scanner = {};
        scanner.save_ptr = scanner.save_buffer;
        driver = {};
        collected.clear();
    }
    void TearDown() override { reader_reset(); }

    // The text as a text source.
    static void push_text(const std::string& s) { push_text_source(widen(s).c_str()); }

    // What is left to read after the scanner stopped.
    static std::string rest() {
        std::string s;
        for (int c; (c = next_char()) != 0;) s += static_cast<char>(c);
        return s;
    }
};

TEST(CharClassTest, Classes) {
    struct {
        int c;
        int cls;
    } cases[] = {
        {0, CC_END},
        {'\n', CC_OTHER},
        {0x0B, CC_OTHER},
        {0x0D, CC_OTHER},
        {'\t', CC_BLANK},
        {' ', CC_BLANK},
        {0x1F, CC_BLANK},
        {0x1D, CC_IDENT},
        {0x1E, CC_OTHER},
        {'$', CC_IDENT},
        {'_', CC_IDENT},
        {'z', CC_IDENT},
        {'0', CC_DIGIT},
        {'9', CC_DIGIT},
        {'#', CC_OTHER},
        {'@', CC_OTHER},
        {'`', CC_OTHER},
        {'{', CC_OTHER},
        {'!', CC_UNARY},
        {'~', CC_UNARY},
        {'"', CC_QUOTE},
        {'\'', CC_QUOTE},
        {'.', CC_DOT},
        {'\\', CC_BACKSLASH},
        {'?', CC_QUESTION},
        {':', CC_COLON},
        {'(', CC_LPAREN},
        {')', CC_RPAREN},
        {'<', CC_LESS},
        {'>', CC_GREATER},
        {'=', CC_EQUALS},
        {'^', CC_CARET},
        {'|', CC_BAR},
        {'&', CC_AMPERSAND},
        {'%', CC_PERCENT},
        {'/', CC_SLASH},
        {'*', CC_STAR},
        {'-', CC_MINUS},
        {'+', CC_PLUS},
        {0x7F, CC_OTHER},
        {0xFF, CC_OTHER},
        {0x100, CC_OTHER},
        {MARK_NO_EXPAND, CC_IDENT},
        {MARK_PASTE, CC_BLANK},
        {MARK_END, CC_OTHER},
        {MARK_STRINGISE, CC_OTHER},
        {MARK_PARAM0, CC_OTHER},
    };
    for (const auto& t : cases) EXPECT_EQ(char_class(t.c), t.cls) << "unit " << t.c;
}

TEST(CharClassTest, PasteClasses) {
    for (int cls = -1; cls < 0x50; ++cls) {
        bool expected = (cls >= 1 && cls <= 12) || cls == 15 || cls == 18 || cls == 19 ||
                        cls == 20 || (cls >= 24 && cls <= 27);
        EXPECT_EQ(is_paste_class(cls), expected) << "class " << cls;
    }
}

TEST_F(ScannerTest, NumbersStopWhereTheyEnd) {
    struct {
        const char* in;
        const char* copied;
        bool asm_mode;
    } cases[] = {
        {"0x1F;", "0x1F", false},     {"017 ", "017", false},    {"0b101+", "0b101", false},
        {"1.5e3L;", "1.5e3L", false}, {"10UL;", "10UL", false},  {"10LU;", "10LU", false},
        {"10ULL;", "10UL", false},    {"10uu", "10u", false},    {"1.2.3", "1.2", false},
        {"1e+5", "1e", false},        {"1e5e6", "1e5", false},   {".5f", ".5", false},
        {".x", ".", false},           {"0x1.5", "0x1", false},   {"0xABCDEFg", "0xABCDEF", false},
        {"1.5Lu", "1.5L", false},     {"1eU", "1e", false},      {"0FFh", "0", false},
        {"0FFh;", "0FFh", true},      {"12abc;", "12abc", true}, {"1E2e3;", "1E2e3", true},
        {"0x1p", "0x1", false},       {"10lU;", "10lU", false},  {"5.L", "5.L", false},
    };
    for (const auto& t : cases) {
        SCOPED_TRACE(t.in);
        SetUp();
        driver.asm_mode = t.asm_mode;
        push_text(t.in);
        int c = next_char();
        scan_number(c, collect);
        EXPECT_EQ(collected, widen(t.copied));
        EXPECT_EQ(rest(), std::string(t.in).substr(std::string(t.copied).size()));
    }
}

TEST_F(ScannerTest, NumberContinuesAcrossEndOfExpansion) {
    macro_def m;
    m.active = 1;
    push_text("3;");
    push_text("12");
    reader.current_source->macro = &m;
    scan_number(next_char(), collect);
    EXPECT_EQ(collected,
              u"12\x7F1F"
              u"3");
    EXPECT_EQ(rest(), ";");
}

TEST_F(ScannerTest, Literals) {
    struct {
        const char* in;
        const char* copied;
        int closed;
    } cases[] = {
        {"\"a\\\"b\" x", "\"a\\\"b\"", 1},
        {"'x\nrest", "'x", 0},
        {"\"/* not a comment */\"", "\"/* not a comment */\"", 1},
        {"\"a // b\"\n", "\"a // b\"", 1},
        {"'\\''", "'\\''", 1},
        {"\"it's\"", "\"it's\"", 1},
        {"\"a\\\nb\"", "\"a\\\nb\"", 1},  // an escaped line end stays in the literal
        {"\"\\\\\"x", "\"\\\\\"", 1},
        {"\"open", "\"open", 0},
    };
    for (const auto& t : cases) {
        SCOPED_TRACE(t.in);
        SetUp();
        push_text(t.in);
        int q = next_char();
        EXPECT_EQ(scan_literal(q, collect), t.closed);
        EXPECT_EQ(reader.raw_input, 0);
        EXPECT_EQ(collected, widen(t.copied));
        EXPECT_EQ(rest(), std::string(t.in).substr(std::string(t.copied).size()));
    }
}

TEST_F(ScannerTest, IdentifierKeepsSignificantCharactersOnly) {
    struct {
        int max_len;
        int length;
    } cases[] = {{31, 31}, {31, 40}, {31, 5}, {255, 300}, {100, 255}};
    for (const auto& t : cases) {
        SCOPED_TRACE(t.length);
        SetUp();
        scanner.max_ident_len = t.max_len;
        std::string name;
        for (int i = 0; i < t.length; ++i) name += "abcdefghij_$0123456789"[i % 22];
        push_text(name + "+x");
        scan_identifier(next_char());
        std::u16string stored(scanner.name_buffer);
        EXPECT_EQ(stored, widen(name.substr(0, std::min(t.max_len, t.length))));
        EXPECT_EQ(rest(), "+x");
    }
}

TEST_F(ScannerTest, IdentifierTakesNoExpandMark) {
    push_text_source(
        u"\x7F1D"
        u"xy z");
    scan_identifier(next_char());
    EXPECT_EQ(std::u16string(scanner.name_buffer),
              u"\x7F1D"
              u"xy");
}

TEST_F(ScannerTest, SkipsPassBlanksAndMarkers) {
    push_text_source(
        u" \t\x7F1F\x7F1E\x1F"
        u"a\x7F1E\x7F1F"
        u"b rest\nnext");
    EXPECT_EQ(skip_blanks(), 'a');
    EXPECT_EQ(skip_paste_marks(), 'b');
    skip_line();
    EXPECT_EQ(rest(), "next");
}

[[noreturn]] void throw_on_exit(int status) {
    throw status;
}

TEST_F(ScannerTest, SaveBufferNeverOverruns) {
    alert_set_exit_hook(throw_on_exit);
    for (int i = 0; i < SAVE_BUFFER_SIZE; ++i) save_char('a' + i % 26);
    EXPECT_EQ(scanner.save_ptr, scanner.save_buffer + SAVE_BUFFER_SIZE);
    EXPECT_EQ(scanner.save_buffer[SAVE_BUFFER_SIZE - 1], 'a' + (SAVE_BUFFER_SIZE - 1) % 26);
    try {
        save_char('!');
    } catch (int) {
    }
    EXPECT_EQ(scanner.save_ptr, scanner.save_buffer + SAVE_BUFFER_SIZE);
    EXPECT_EQ(scanner.save_buffer[SAVE_BUFFER_SIZE - 1], 0);
    EXPECT_EQ(scanner.save_buffer[SAVE_BUFFER_SIZE - 2], 'a' + (SAVE_BUFFER_SIZE - 2) % 26);
    alert_reset();
}

}  // namespace
