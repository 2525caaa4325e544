// The #if evaluator driven directly on expression texts: values, signedness
// (seen through comparisons), the messages reported with their arguments,
// and where the reader stands afterwards.
#include "cpp/expr.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "common/alert.h"
#include "common/wstr.h"
#include "cpp/expand.h"
#include "cpp/macro_table.h"
#include "cpp/reader.h"
#include "cpp/scanner.h"
#include "tests/test_os.h"

namespace {

// A catalogue whose texts echo the arguments, every entry a level-0 warning
// so that nothing is filtered or counted towards the error limit.
const char* const catalogue_lines[] = {
    "117 0 -",  "118 0 -",  "119 0 -",  "120 0 %s", "121 0 %s", "122 0 %s", "123 0 %s",
    "124 0 %d", "125 0 %d", "126 0 -",  "127 0 -",  "128 0 -",  "129 0 -",  "130 0 %s",
    "131 0 -",  "132 0 -",  "133 0 %d", "134 0 -",  "174 0 %d", "175 0 -",  "990 0 -",
};

struct outcome {
    std::uint32_t value;
    std::string messages;  // "N" or "N:argument", separated by blanks
    std::u16string rest;   // what the reader still holds of the line
};

class ExprTest : public ::testing::Test {
   protected:
    static void SetUpTestSuite() {
        // One file per process: the test runner starts many at once.
        catalogue_dir = make_scratch_dir("expr_test_");
        catalogue_path = (catalogue_dir / "msgs.txt").string();
        std::FILE* f = std::fopen(catalogue_path.c_str(), "w");
        ASSERT_NE(f, nullptr);
        for (const char* line : catalogue_lines) std::fprintf(f, "%s\n", line);
        std::fclose(f);
    }

    static void TearDownTestSuite() { std::filesystem::remove_all(catalogue_dir); }

    void SetUp() override {
        reader_reset();
        macros_reset();
        expand_reset();
        expr_reset();
        alert_reset();
        ASSERT_EQ(alert_open_catalogue(catalogue_path.c_str()), 1);
        stream = std::make_unique<captured_stream>();
        ASSERT_NE(stream->get(), nullptr);
        alert_set_stream(stream->get());
    }

    void TearDown() override {
        alert_set_stream(stderr);
        stream.reset();
        reader_reset();
        macros_reset();
    }

    // An object-like macro, stored as -D stores it.
    static void define(const char16_t* name, const char16_t* body) {
        macro_def* m = macro_install(name, 0);
        m->body.reset(wstr_dup(body));
        m->nparams = -1;
    }

    outcome evaluate(const char16_t* text) {
        std::u16string line = text;
        line += u'\n';
        push_text_source(line.c_str());
        outcome o;
        o.value = evaluate_condition();
        for (int c; (c = next_char()) != 0;) o.rest += static_cast<char16_t>(c);
        o.messages = take_messages();
        return o;
    }

    // Turns "(N) text (warning)" lines into "N" or "N:text".
    std::string take_messages() {
        std::string all = stream->take();
        std::string result;
        std::size_t pos = 0;
        while (pos < all.size()) {
            std::size_t end = all.find('\n', pos);
            if (end == std::string::npos) end = all.size();
            std::string line = all.substr(pos, end - pos);
            pos = end + 1;
            // Skip an echoed source line ("%6d:\t..."); otherwise, whatever
            // position prefix the layout adds, the number stands in
            // parentheses before the text.
            std::size_t digits = line.find_first_not_of(' ');
            digits = line.find_first_not_of("0123456789", digits);
            if (digits != std::string::npos && line.compare(digits, 2, ":\t") == 0) continue;
            std::size_t open = line.find('(');
            std::size_t close = line.find(") ", open);
            if (open == std::string::npos || close == std::string::npos) continue;
            std::string number = line.substr(open + 1, close - open - 1);
            if (number.empty() || number.find_first_not_of("0123456789") != std::string::npos)
                continue;
            std::string body = line.substr(close + 2);
            const std::string suffix = " (warning)";
            if (body.size() >= suffix.size() &&
                body.compare(body.size() - suffix.size(), suffix.size(), suffix) == 0)
                body.resize(body.size() - suffix.size());
            if (!result.empty()) result += ' ';
            result += number;
            if (body != "-") result += ":" + body;
        }
        return result;
    }

    static std::filesystem::path catalogue_dir;
    static std::string catalogue_path;
    std::unique_ptr<captured_stream> stream;
};

std::filesystem::path ExprTest::catalogue_dir;
std::string ExprTest::catalogue_path;

struct row {
    const char16_t* text;
    std::uint32_t value;
    const char* messages;
};

void PrintTo(const row& r, std::ostream* os) {
    for (const char16_t* p = r.text; *p; ++p) *os << static_cast<char>(*p);
}

class ExprRows : public ExprTest, public ::testing::WithParamInterface<row> {};

TEST_P(ExprRows, ValueAndMessages) {
    const row& r = GetParam();
    outcome o = evaluate(r.text);
    EXPECT_EQ(o.value, r.value);
    EXPECT_EQ(o.messages, r.messages);
}

const row operator_rows[] = {
    {u"1 + 2 * 3", 7, ""},
    {u"8 - 2 - 1", 5, ""},
    {u"(8 - 2) * 3 % 5", 3, ""},
    {u"100 / 7 / 2", 7, ""},
    {u"1 | 2 ^ 3", 1, ""},
    {u"6 & 3 | 8", 10, ""},
    {u"6 ^ 3 & 5", 7, ""},
    {u"1 << 33", 2, ""},
    {u"1 << 4 + 1", 32, ""},
    {u"256 >> 36", 16, ""},
    {u"-16 >> 2", 1073741820, ""},
    {u"!!0", 0, ""},
    {u"!!5", 1, ""},
    {u"- -1", 1, ""},
    {u"-~0", 1, ""},
    {u"+-+3 == -3", 1, ""},
    {u"~0 == -1", 1, ""},
    {u"~1", 0xFFFFFFFE, ""},
    {u"1 == 1 == 1", 1, ""},
    {u"3 != 3", 0, ""},
    {u"2 < 3 <= 3", 1, ""},
    {u"3 >= 4", 0, ""},
    {u"3 > 2 > 1", 0, ""},
    {u"5 && 7", 1, ""},
    {u"0 || 0", 0, ""},
    {u"0 || 3", 1, ""},
    {u"1 || 0 && 0", 1, ""},
    {u"65536 * 65536", 0, ""},
    {u"0 - 1", 0xFFFFFFFF, ""},
    {u"-6 / 2 == -3", 0, ""},
    {u"-6 / 2 == 2147483645", 1, ""},
    {u"-7 % 2", 1, ""},
    {u"((((1))))", 1, ""},
    {u"1)", 1, ""},
    {u"(2 + 3) * (4 - 1)", 15, ""},
};
INSTANTIATE_TEST_SUITE_P(Operators, ExprRows, ::testing::ValuesIn(operator_rows));

const row conditional_rows[] = {
    {u"1 ? 2 : 3", 2, ""},         {u"0 ? 2 : 3", 3, ""},         {u"1 ? 2 : 0 ? 3 : 4", 3, ""},
    {u"0 ? 2 : 0 ? 3 : 4", 4, ""}, {u"1 ? 0 ? 5 : 6 : 7", 6, ""}, {u"0 ? 0 ? 5 : 6 : 7", 7, ""},
    {u"1 ? 1 ? 5 : 6 : 7", 5, ""}, {u"(0 ? 1 : 2) + 10", 12, ""}, {u"1 + 1 ? 4 : 5", 4, ""},
};
INSTANTIATE_TEST_SUITE_P(Conditional, ExprRows, ::testing::ValuesIn(conditional_rows));

// The signed flag shows only in the relational operators.
const row signedness_rows[] = {
    {u"-1 < 0", 1, ""},
    {u"-1 < 0u", 0, ""},
    {u"-1 > 0U", 1, ""},
    {u"(0u < 1) - 2 < 0", 0, ""},
    {u"(0 < 1) - 2 < 0", 1, ""},
    {u"2147483647 + 1 < 0", 1, ""},
    {u"2147483648 < 0", 0, ""},
    {u"0x80000000 < 0", 0, ""},
    {u"-2147483647 - 1 < 0", 1, ""},
    {u"-1L < 0", 1, ""},
    {u"-1uL < 0", 0, ""},
    {u"-1lU < 0", 0, ""},
    {u"-(1u) < 0", 0, ""},
    {u"~0u >= 0", 1, ""},
    {u"(1 ? -1 : 0u) < 0", 0, ""},
    {u"(0 ? 0u : -1) < 0", 1, ""},
    {u"(1 ? -1 : 0) < 0", 1, ""},
    {u"(1 && 1u) - 2 < 0", 0, ""},
    {u"'a' - 200 < 0", 1, ""},
    {u"defined X - 2 < 0", 1, ""},
    {u"sizeof(char) - 2 < 0", 0, ""},
    {u"NAME - 1 < 0", 1, ""},
    {u"-1 < 0 == 1", 1, ""},
};
INSTANTIATE_TEST_SUITE_P(Signedness, ExprRows, ::testing::ValuesIn(signedness_rows));

const row number_rows[] = {
    {u"0x1F", 31, ""},
    {u"0X1f", 31, ""},
    {u"0xABCDEF", 0xABCDEF, ""},
    {u"017", 15, ""},
    {u"0", 0, ""},
    {u"00", 0, ""},
    {u"0x", 0, ""},
    {u"1uL", 1, ""},
    {u"1LLUU", 1, ""},
    {u"4294967295", 0xFFFFFFFF, ""},
    {u"4294967296", 0, ""},
    {u"4294967299", 3, ""},
    {u"0x123456789", 0x23456789, ""},
    {u"08", 1, "117"},
    {u"1e5", 1, "117"},
    {u"12 34", 1, "117"},
};
INSTANTIATE_TEST_SUITE_P(Numbers, ExprRows, ::testing::ValuesIn(number_rows));

const row char_constant_rows[] = {
    {u"'a'", 97, ""},
    {u"'ab'", 24930, "174:98"},
    {u"'abc'", 0x616263, "174:98 174:99"},
    {u"'abcde'", 0x62636465, "174:98 174:99 174:100 174:101"},
    {u"''", 0, ""},
    {u"'\\0'", 0, ""},
    {u"'\\08'", 56, "174:56"},
    {u"'\\377'", 255, ""},
    {u"'\\1234'", 0x5334, "174:52"},
    {u"'\\x41'", 65, ""},
    {u"'\\x414'", 1044, ""},
    {u"'\\x4142'", 267314, "174:50"},
    {u"'\\XA'", 'X' * 256 + 'A', "174:65"},
    {u"'\\xfF'", 255, ""},
    {u"'\\n' + '\\t' + '\\a'", 10 + 9 + 7, ""},
    {u"'\\b' + '\\f' + '\\r' + '\\v'", 8 + 12 + 13 + 11, ""},
    {u"'\\\\'", 92, ""},
    {u"'\\''", 39, ""},
    {u"'\\\"'", 34, ""},
    {u"'\\q'", 'q', ""},
    {u"'a\\n'", 'a' * 65536 + '\\' * 256 + 'n', "174:92 174:110"},
    {u"'/*' + 1", '/' * 256 + '*' + 1, "174:42"},
    {u"'\u00e9'", 0xe9, ""},
    {u"'a", 97, ""},
};
INSTANTIATE_TEST_SUITE_P(CharConstants, ExprRows, ::testing::ValuesIn(char_constant_rows));

const row sizeof_rows[] = {
    {u"sizeof(char)", 1, ""},
    {u"sizeof ( char )", 1, ""},
    {u"sizeof(unsigned short int)", 2, ""},
    {u"sizeof(short)", 2, ""},
    {u"sizeof(int)", 4, ""},
    {u"sizeof(signed int)", 4, ""},
    {u"sizeof(long int)", 4, ""},
    {u"sizeof(short long)", 4, ""},
    {u"sizeof(long short)", 4, ""},
    {u"sizeof(float)", 4, ""},
    {u"sizeof(double)", 8, ""},
    {u"sizeof(char *)", 4, ""},
    {u"sizeof(double*)", 4, ""},
    {u"sizeof(int (*)())", 4, ""},
    {u"sizeof(int (*))", 4, ""},
    {u"sizeof((*)())", 4, ""},
    {u"sizeof(long long)", 4, ""},
    {u"sizeof(char) + sizeof(double)", 9, ""},
    {u"sizeof(long double)", 1, "131"},
    {u"sizeof(char int)", 1, "131"},
    {u"sizeof(signed unsigned char)", 1, "131"},
    {u"sizeof(short char)", 1, "131"},
    {u"sizeof(unsigned)", 1, "132"},
    {u"sizeof(*)", 1, "132"},
    {u"sizeof(char **)", 1, "134"},
    {u"sizeof(x)", 1, "130:x"},
    {u"sizeof(int void)", 1, "130:void"},
    {u"sizeof char", 1, "134"},
    {u"sizeof", 1, "134"},
    {u"sizeof(int", 1, "134"},
    {u"sizeof(int (x))", 1, "134"},
    {u"sizeof(int (*)(x))", 1, "134"},
    {u"sizeof(int (*]", 1, "134"},
    {u"sizeof(int +)", 1, "134"},
};
INSTANTIATE_TEST_SUITE_P(Sizeof, ExprRows, ::testing::ValuesIn(sizeof_rows));

const row error_rows[] = {
    {u"", 1, "120:end of expression"},
    {u"   ", 1, "120:end of expression"},
    {u"(1", 1, "122:end of expression"},
    {u"((1)", 1, "122:end of expression"},
    {u"(1) (2)", 1, "120:("},
    {u"1 ? 2", 1, "120:end of expression"},
    {u"1 : 2", 1, "123:(none)"},
    {u"(1 : 2)", 1, "123:("},
    {u"1 +", 1, "120:end of expression"},
    {u"* 2", 1, "120:*"},
    {u"1 ~ 2", 1, "120:~"},
    {u"1 !", 1, "120:!"},
    {u"1 (", 1, "120:("},
    {u"()", 1, "120:)"},
    {u"1 2", 1, "117"},
    {u"1.5", 1, "119"},
    {u"1 , 2", 1, "124:44"},
    {u"@", 1, "124:64"},
    {u"1 # 2", 1, "124:35"},
    {u"1 \u0080", 1, "125:128"},
    {u"1 \u0100", 1, "125:256"},
    {u"1 \u007f", 1, "125:127"},
    {u"\"s\"", 1, "126"},
    {u"a = 1", 1, "128"},
    {u"1 = 1", 1, "128"},
    {u"1 \\ 2", 1, "129"},
    {u"defined", 1, "127"},
    {u"defined(", 1, "127"},
    {u"defined 3", 1, "127"},
    {u"defined(X", 1, "127"},
    {u"defined(X+", 1, "127"},
    {u"0 && @", 1, ""},
    {u"1 || (2 , 3)", 1, ""},
    {u"0 ? @ : 1", 1, ""},
    {u"1 ? @ : 1", 1, "124:64"},
    {u"1 ? 2 : @", 1, ""},
    {u"1 ? 2 : \u0080", 1, ""},
};
INSTANTIATE_TEST_SUITE_P(Errors, ExprRows, ::testing::ValuesIn(error_rows));

// Messages in short-circuited operands and unselected branches are silenced;
// their operands are still evaluated.
const row suppression_rows[] = {
    {u"0 && 1/0", 0, ""},
    {u"1 && 1/0", 0, "175 990"},
    {u"1 % 0", 0, "990"},
    {u"1 / 0", 0, "175 990"},
    {u"1 || 1/0", 1, ""},
    {u"0 || 1/0", 0, "175 990"},
    {u"0 && 1 || 1/0", 0, "175 990"},
    {u"0 && (1 || 1/0)", 0, ""},
    {u"0 && 'ab'", 0, ""},
    {u"1 && 'ab'", 1, "174:98"},
    {u"0 ? 1/0 : 2", 2, ""},
    {u"1 ? 1/0 : 2", 0, "175 990"},
    {u"1 ? 2 : 1/0", 2, ""},
    {u"1 ? 2 : 1 % 0", 2, ""},
    {u"0 ? 2 : 1 % 0", 0, "990"},
    {u"0 ? (1 ? 1/0 : 2) : 3", 3, "175 990"},
    {u"0 && (1 ? 1/0 : 2)", 0, ""},
    {u"0 ? 'ab' : 'cd'", 'c' * 256 + 'd', "174:100"},
    {u"1 ? 0 ? 1/0 : 1%0 : 7", 0, "990"},
};
INSTANTIATE_TEST_SUITE_P(Suppression, ExprRows, ::testing::ValuesIn(suppression_rows));

std::u16string repeat(const char16_t* piece, int times) {
    std::u16string s;
    for (int i = 0; i < times; ++i) s += piece;
    return s;
}

// The operator stack holds 127 pending operators, the value stack 127 values.
TEST_F(ExprTest, StackLimits) {
    struct {
        std::u16string text;
        std::uint32_t value;
        const char* messages;
    } const cases[] = {
        {repeat(u"-", 127) + u"1", 0xFFFFFFFF, ""},
        {repeat(u"-", 128) + u"1", 1, "121:unary -"},
        {repeat(u"(", 127) + u"7" + repeat(u")", 127), 7, ""},
        {repeat(u"(", 128) + u"7" + repeat(u")", 128), 1, "121:("},
        {repeat(u"1?", 126) + u"1", 1, "120:end of expression"},
        {repeat(u"1?", 127) + u"1", 1, "118"},
        {repeat(u"1+", 300) + u"1", 301, ""},
    };
    for (const auto& c : cases) {
        outcome o = evaluate(c.text.c_str());
        EXPECT_EQ(o.value, c.value) << c.text.size();
        EXPECT_EQ(o.messages, c.messages) << c.text.size();
    }
}

// A normal end leaves the line end for the caller; an error leaves the rest
// of the line unread.
TEST_F(ExprTest, ReaderPositionAfterwards) {
    struct {
        const char16_t* text;
        const char16_t* rest;
    } const cases[] = {
        {u"1 + 2", u"\n"},     {u"7   ", u"\n"},        {u"'ab", u"\n"},
        {u"a = 1", u" 1\n"},   {u"1 2 3", u" 3\n"},     {u"1 . 2", u" 2\n"},
        {u"1 , 2", u" 2\n"},   {u"defined(X]", u"]\n"}, {u"sizeof(int] 4", u"] 4\n"},
        {u"sizeof x", u"x\n"},
    };
    for (const auto& c : cases) {
        outcome o = evaluate(c.text);
        EXPECT_EQ(o.rest, c.rest);
    }
}

TEST_F(ExprTest, CharacterConstantsReadRaw) {
    // The reader must not take a comment opener inside a character constant,
    // and the raw mode ends with the constant.
    EXPECT_EQ(evaluate(u"'/' + 1").value, '/' + 1u);
    EXPECT_EQ(reader.raw_input, 0);
    EXPECT_EQ(evaluate(u"'ab").value, 24930u);
    EXPECT_EQ(reader.raw_input, 0);
}

TEST_F(ExprTest, Defined) {
    define(u"X", u"1");
    define(u"EMPTY", u"");
    struct {
        const char16_t* text;
        std::uint32_t value;
        const char* messages;
    } const cases[] = {
        {u"defined X", 1, ""},
        {u"defined(X)", 1, ""},
        {u"defined ( X )", 1, ""},
        {u"defined EMPTY", 1, ""},
        {u"defined(EMPTY)", 1, ""},
        {u"defined Y", 0, ""},
        {u"defined(Y)", 0, ""},
        {u"!defined Y && defined X", 1, ""},
        {u"defined X + defined EMPTY + defined Z", 2, ""},
        {u"defined", 1, "127"},
        {u"defined X Y", 1, "117"},
    };
    for (const auto& c : cases) {
        outcome o = evaluate(c.text);
        EXPECT_EQ(o.value, c.value) << static_cast<char>(c.text[0]);
        EXPECT_EQ(o.messages, c.messages);
    }
}

TEST_F(ExprTest, MacrosExpandWhileReading) {
    define(u"EMPTY", u"");
    define(u"TWO", u"2");
    define(u"SUM", u"TWO + TWO");
    define(u"PLUS", u"+");
    define(u"T", u"int");
    define(u"PTR", u"char *");
    define(u"xy", u"5");
    define(u"CAT", u"x\u7F1Ey");
    define(u"DOT", u".");
    struct {
        const char16_t* text;
        std::uint32_t value;
        const char* messages;
    } const cases[] = {
        {u"EMPTY 1", 1, ""},
        {u"EMPTY", 1, "120:end of expression"},
        {u"EMPTY EMPTY 3 EMPTY", 3, ""},
        {u"SUM * TWO", 6, ""},
        {u"TWO PLUS TWO", 4, ""},
        {u"PLUS TWO", 2, ""},
        {u"UNDEFINED_NAME == 0", 1, ""},
        {u"sizeof(T)", 4, ""},
        {u"sizeof(unsigned T)", 4, ""},
        {u"sizeof(PTR)", 4, ""},
        {u"sizeof(EMPTY char EMPTY)", 1, ""},
        {u"CAT", 5, ""},
        {u"CAT + 1", 6, ""},
        {u"1 DOT 5", 1, "119"},
    };
    for (const auto& c : cases) {
        outcome o = evaluate(c.text);
        EXPECT_EQ(o.value, c.value) << static_cast<char>(c.text[0]);
        EXPECT_EQ(o.messages, c.messages);
    }
}

TEST_F(ExprTest, SizeTableIsConsulted) {
    // -S replaces the sizes: the evaluator must read the live table.
    expr.sizes[SIZE_INT].size = 2;
    expr.sizes[SIZE_DOUBLE].pointer_size = 3;
    expr.sizes[SIZE_FUNCTION_POINTER].pointer_size = 6;
    expr.sizes[SIZE_SHORT_LONG].size = 3;
    EXPECT_EQ(evaluate(u"sizeof(int)").value, 2u);
    EXPECT_EQ(evaluate(u"sizeof(unsigned int)").value, 2u);
    EXPECT_EQ(evaluate(u"sizeof(double *)").value, 3u);
    EXPECT_EQ(evaluate(u"sizeof(char (*)())").value, 6u);
    EXPECT_EQ(evaluate(u"sizeof(short long)").value, 3u);
    EXPECT_EQ(evaluate(u"sizeof(long)").value, 4u);
}

TEST_F(ExprTest, BackslashNewlineContinues) {
    EXPECT_EQ(evaluate(u"1 + \\\n 2").value, 3u);
}

}  // namespace
