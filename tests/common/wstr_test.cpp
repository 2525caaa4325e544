// Wide strings: comparisons (unsigned units, signed narrow bytes), the
// conversions between bytes and units, number reading and the searches.
#include "common/wstr.h"

#include <gtest/gtest.h>

#include <string>

namespace {

TEST(Wstr, Comparisons) {
    EXPECT_EQ(wstr_cmp(u"ab", u"abc"), -1);
    EXPECT_EQ(wstr_cmp(u"abc", u"ab"), 1);
    EXPECT_EQ(wstr_cmp(u"abc", u"abc"), 0);
    EXPECT_EQ(wstr_cmp(u"\x7F1D", u"\xFF"), 1);  // a marker sorts after every byte
    EXPECT_EQ(wstr_cmp_narrow(u"int", "int"), 0);
    EXPECT_EQ(wstr_cmp_narrow(u"ab", "ac"), -1);
    EXPECT_EQ(wstr_cmp_narrow(u"a", "ab"), -'b');
    EXPECT_EQ(wstr_cmp_narrow(u"\xE9", "\xE9"), 0xE9 + 23);  // the byte counts as -23
}

TEST(Wstr, ConversionsKeepTheLowByteAndZeroExtend) {
    const wchar wide[] = {0x141, 'b', 0x7F1F, 0x100, '#', 0};
    char narrow[6] = {};
    EXPECT_EQ(wstr_to_narrow(narrow, wide), narrow);
    EXPECT_EQ(std::string(narrow, 4), std::string("Ab\x1F\0", 4));  // stops at a low zero
    wchar back[5];
    wstr_from_narrow(back, "\xFFz\x80");
    EXPECT_EQ(std::u16string(back), u"\xFFz\x80");
    wchar counted[5] = {9, 9, 9, 9, 9};
    wstr_from_narrow_n(counted, "ab", 4);  // pads with zeros, as strncpy does
    EXPECT_EQ(std::u16string(counted, 5), std::u16string(u"ab\0\0\x09", 5));
    wstr_ptr copy(wstr_dup(wide));
    EXPECT_EQ(wstr_len(copy.get()), 5u);
    EXPECT_EQ(std::u16string(copy.get()), std::u16string(wide));
}

TEST(Wstr, NumbersAndSearches) {
    EXPECT_EQ(wstr_to_int(u"0012x"), 12u);
    EXPECT_EQ(wstr_to_int(u"x12"), 0u);
    EXPECT_EQ(wstr_to_int(u"4294967297"), 1u);  // wraps as the line count does
    const wchar* s = u"a/b/c";
    EXPECT_EQ(wstr_chr(s, '/'), s + 1);
    EXPECT_EQ(wstr_rchr(s, '/'), s + 3);
    EXPECT_EQ(wstr_rchr(s, 'a'), s);
    EXPECT_EQ(wstr_chr(s, 0), nullptr);
    EXPECT_EQ(wstr_rchr(u"", 'a'), nullptr);
}

}  // namespace
