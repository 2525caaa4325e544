// Wide strings: comparisons (units unsigned), the conversions between bytes
// and units, number reading and the last-unit search.
#include "common/wstr.h"

#include <gtest/gtest.h>

#include <string>
#include <utility>

namespace {

TEST(Wstr, Comparisons) {
    EXPECT_EQ(wstr_cmp(u"ab", u"abc"), -1);
    EXPECT_EQ(wstr_cmp(u"abc", u"ab"), 1);
    EXPECT_EQ(wstr_cmp(u"abc", u"abc"), 0);
    EXPECT_EQ(wstr_cmp(u"\x7F1D", u"\xFF"), 1);  // a marker sorts after every byte
    EXPECT_EQ(wstr_cmp_narrow(u"int", "int"), 0);
    for (auto [wide, narrow] : {std::pair(u"ab", "ac"), {u"a", "ab"}, {u"ab", "a"}})
        EXPECT_NE(wstr_cmp_narrow(wide, narrow), 0) << narrow;
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

TEST(Wstr, NumbersAndTheLastUnitSearch) {
    EXPECT_EQ(wstr_to_int(u"0012x"), 12u);
    EXPECT_EQ(wstr_to_int(u"x12"), 0u);
    EXPECT_EQ(wstr_to_int(u"4294967297"), 1u);  // wraps as the line count does
    const wchar* s = u"a/b/c";
    EXPECT_EQ(wstr_rchr(s, '/'), s + 3);
    EXPECT_EQ(wstr_rchr(s, 'a'), s);
    EXPECT_EQ(wstr_rchr(u"", 'a'), nullptr);
}

}  // namespace
