// Wide strings: unsigned unit order with sign-only results, the signed
// narrow compare, zero extension and low-byte narrowing, the strncpy-like
// conversion, digit reading and the searches.
#include "common/wstr.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

namespace {

constexpr wchar no_expand_mark = 0x7F1D;

TEST(Wstr, CompareGivesOnlyTheSign) {
    const wchar marked[] = {'a', no_expand_mark, 0};
    const wchar high[] = {'a', 0xFFFF, 0};
    const wchar low[] = {'a', 1, 0};
    struct {
        const wchar* a;
        const wchar* b;
        int result;
    } cases[] = {
        {u"ab", u"abc", -1},      {u"abc", u"ab", 1}, {u"abc", u"abc", 0},     {u"", u"", 0},
        {u"a", u"z", -1},         {u"z", u"a", 1},    {marked, u"a\u00ff", 1}, {marked, u"az", 1},
        {u"a\u00ff", marked, -1}, {high, low, 1},     {low, high, -1},         {u"", u"x", -1},
    };
    for (const auto& c : cases) EXPECT_EQ(wstr_cmp(c.a, c.b), c.result);
}

TEST(Wstr, CompareNarrowGivesTheDifferenceWithSignedBytes) {
    const wchar marked[] = {no_expand_mark, 0};
    struct {
        const wchar* w;
        const char* s;
        int result;
    } cases[] = {
        {u"abc", "abc", 0},     {u"", "", 0},
        {u"ab", "abc", -'c'},   {u"abc", "ab", 'c'},
        {u"a", "c", 'a' - 'c'}, {u"\u00e9", "\xe9", 0xE9 - (-23)},
        {u"\u007f", "\x7f", 0}, {marked, "a", 0x7F1D - 'a'},
    };
    for (const auto& c : cases) EXPECT_EQ(wstr_cmp_narrow(c.w, c.s), c.result) << c.s;
}

TEST(Wstr, NarrowingKeepsTheLowByteAndStopsAtALowZero) {
    const wchar src[] = {0x0141, 'b', 0x7F1F, 0x0100, 'z', 0};
    char out[8];
    std::memset(out, '#', sizeof out);
    EXPECT_EQ(wstr_to_narrow(out, src), out);
    EXPECT_EQ(static_cast<unsigned char>(out[0]), 0x41);
    EXPECT_EQ(out[1], 'b');
    EXPECT_EQ(static_cast<unsigned char>(out[2]), 0x1F);
    EXPECT_EQ(out[3], '\0');
    EXPECT_EQ(out[4], '#');
}

TEST(Wstr, WideningZeroExtendsEveryByte) {
    wchar out[6];
    wstr_from_narrow(out, "a\x80\xff~");
    const wchar expected[] = {'a', 0x80, 0xFF, '~', 0};
    for (int i = 0; i < 5; i++) EXPECT_EQ(out[i], expected[i]) << i;
}

TEST(Wstr, CountedWideningBehavesLikeStrncpy) {
    constexpr wchar sentinel = 0xBEEF;
    struct {
        const char* src;
        unsigned n;
        std::u16string written;
    } cases[] = {
        {"abc", 0, u""},    {"ab", 5, std::u16string(u"ab\0\0\0", 5)}, {"abcdef", 3, u"abc"},
        {"abc", 3, u"abc"}, {"", 2, std::u16string(u"\0\0", 2)},       {"\xfe", 1, u"\u00fe"},
    };
    for (const auto& c : cases) {
        wchar out[10];
        for (wchar& u : out) u = sentinel;
        EXPECT_EQ(wstr_from_narrow_n(out, c.src, c.n), out);
        EXPECT_EQ(std::u16string(out, c.n), c.written) << c.src << " " << c.n;
        EXPECT_EQ(out[c.n], sentinel) << c.src << " " << c.n;
    }
}

TEST(Wstr, ToIntReadsLeadingDecimalDigitsOnly) {
    const wchar wide_digit[] = {'1', 0x0131, '2', 0};
    struct {
        const wchar* s;
        unsigned value;
    } cases[] = {
        {u"0012x", 12},
        {u"x12", 0},
        {u"", 0},
        {u"7", 7},
        {u"4294967295", 4294967295u},
        {u"4294967296", 0},
        {u"12 34", 12},
        {wide_digit, 1},
        {u"\uff11", 0},
    };
    for (const auto& c : cases) EXPECT_EQ(wstr_to_int(c.s), c.value);
}

TEST(Wstr, SearchesFindFirstAndLastAndStopAtTheTerminator) {
    const wchar* s = u"a/b/c";
    EXPECT_EQ(wstr_chr(s, '/'), s + 1);
    EXPECT_EQ(wstr_rchr(s, '/'), s + 3);
    EXPECT_EQ(wstr_chr(s, 'a'), s);
    EXPECT_EQ(wstr_rchr(s, 'a'), s);
    EXPECT_EQ(wstr_rchr(s, 'c'), s + 4);
    EXPECT_EQ(wstr_chr(s, 'x'), nullptr);
    EXPECT_EQ(wstr_rchr(s, 'x'), nullptr);
    EXPECT_EQ(wstr_chr(s, 0), nullptr);
    EXPECT_EQ(wstr_rchr(s, 0), nullptr);
    EXPECT_EQ(wstr_rchr(u"", 'a'), nullptr);
    EXPECT_EQ(wstr_chr(u"", 'a'), nullptr);
    // Units above the byte range are never confused with their low byte.
    const wchar marked[] = {'x', 0x7F2F, 0};
    EXPECT_EQ(wstr_chr(marked, '/'), nullptr);
    EXPECT_EQ(wstr_rchr(marked, 0x7F2F), marked + 1);
}

TEST(Wstr, LengthCopyAndDuplicateKeepEveryUnit) {
    const wchar src[] = {'i', 0x7F7F, 0x00FF, 0x7F1F, 'n', 0};
    EXPECT_EQ(wstr_len(src), 5u);
    EXPECT_EQ(wstr_len(u""), 0u);
    wchar out[8];
    for (wchar& u : out) u = 0xBEEF;
    EXPECT_EQ(wstr_copy(out, src), out);
    EXPECT_EQ(std::u16string(out, 6), std::u16string(src, 6));
    EXPECT_EQ(out[6], 0xBEEF);
    wstr_ptr dup(wstr_dup(src));
    EXPECT_NE(dup.get(), src);
    EXPECT_EQ(std::u16string(dup.get(), 6), std::u16string(src, 6));
    wstr_ptr empty(wstr_dup(u""));
    EXPECT_EQ(empty[0], 0);
}

}  // namespace
