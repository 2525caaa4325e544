// The ISO C token rules the expansion pastes and spaces by: where a
// preprocessing token ends, whether two tokens written side by side would
// read as others, and whether a text ends in a number.
#include "cpp/iso_tokens.h"

#include <gtest/gtest.h>

#include <string>

#include "cpp/char_class.h"

namespace {

std::u16string wide(const char* s) {
    std::u16string w;
    for (; *s != 0; ++s) w.push_back(static_cast<unsigned char>(*s));
    return w;
}

struct length_case {
    const char* text;
    std::size_t length;
};

TEST(IsoTokens, LengthOfTheFirstToken) {
    const length_case cases[] = {
        {"abc+", 3},  {"_x1 y", 3},        {"1e+5+", 4},  {"0x1P-3)", 6}, {"1.2.3.x,", 7},
        {".5e", 3},   {"..", 1},           {"...x", 3},   {"<<=1", 3},    {">>>", 2},
        {"->*", 2},   {"%:%:x", 4},        {"%:%", 2},    {"<::", 2},     {"##a", 2},
        {"+++", 2},   {"\"a\\\"b\" c", 6}, {"'\\''x", 4}, {"L\"w\"x", 4}, {"L'c'", 4},
        {"Lx\"", 2},  {"\"open", 5},       {"@", 1},      {"1.e-", 4},    {"9_a$b", 5},
        {"1E-5)", 4}, {"0x1p+3)", 6},      {"1x+2", 2},
    };
    for (const length_case& c : cases) {
        std::u16string t = wide(c.text);
        EXPECT_EQ(pp_token_length(t.data(), t.data() + t.size()), c.length) << c.text;
    }
    // A painted name counts the mark as its own, and a name stops at the
    // mark of the next one.
    std::u16string painted = {MARK_NO_EXPAND, u'f', u'o', u'o', MARK_NO_EXPAND, u'g'};
    EXPECT_EQ(pp_token_length(painted.data(), painted.data() + painted.size()), 4u);
    std::u16string marks = {MARK_PASTE, u'a'};
    EXPECT_EQ(pp_token_length(marks.data(), marks.data() + marks.size()), 1u);
    EXPECT_EQ(pp_token_length(marks.data(), marks.data()), 0u);
}

struct merge_case {
    char last;
    bool number;
    char first;
    bool merges;
};

TEST(IsoTokens, TokensSideBySide) {
    const merge_case cases[] = {
        {'a', false, 'b', true},  {'1', true, 'x', true},   {'x', false, '1', true},
        {'x', false, '.', false}, {'2', true, '.', true},   {'e', true, '+', true},
        {'e', false, '+', false}, {'P', true, '-', true},   {'5', true, '+', false},
        {'.', false, '5', true},  {'.', false, '.', true},  {'-', false, '-', true},
        {'-', false, '>', true},  {'-', false, '+', false}, {'+', false, '+', true},
        {'<', false, '<', true},  {'<', false, ':', true},  {'<', false, '%', true},
        {'%', false, ':', true},  {'%', false, '>', true},  {':', false, '>', true},
        {'/', false, '/', true},  {'/', false, '*', true},  {'*', false, '/', false},
        {'#', false, '#', true},  {'&', false, '&', true},  {'|', false, '|', true},
        {'!', false, '=', true},  {'=', false, '=', true},  {'^', false, '=', true},
        {'L', false, '"', true},  {'L', false, '\'', true}, {'L', true, '"', false},
        {'x', false, '"', false}, {')', false, '(', false}, {',', false, ',', false},
        {'"', false, '"', false}, {'>', false, '>', true},  {'>', false, '<', false},
    };
    for (const merge_case& c : cases) {
        EXPECT_EQ(
            pp_tokens_merge(static_cast<wchar>(c.last), c.number, static_cast<wchar>(c.first)),
            c.merges)
            << c.last << (c.number ? " (number) " : " ") << c.first;
    }
}

TEST(IsoTokens, TextEndingInANumber) {
    const std::pair<const char*, bool> cases[] = {
        {"x 12", true}, {"vers2", false}, {"a+0x1f", true},  {"1e+5", true},
        {"e+5", true},  {"x.5", true},    {"a.b", false},    {"(1)", false},
        {"1.", true},   {".", false},     {"\"s\" 3", true}, {"_1", false},
    };
    for (const auto& [text, number] : cases) {
        std::u16string t = wide(text);
        EXPECT_EQ(pp_number_ends_at(t.data(), t.data() + t.size()), number) << text;
    }
}

}  // namespace
