// The hash of the included-files table: a trailing ".h" does not count, the
// characters weigh in as signed bytes, and the value wraps at 32 bits.
#include "cpp/include.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>

namespace {

std::uint32_t hash_of(const std::string& s) {
    return include_name_hash(reinterpret_cast<std::uintptr_t>(s.c_str()));
}

struct hash_case {
    const char* name;
    std::uint32_t hash;
};

class IncludeNameHash : public ::testing::TestWithParam<hash_case> {};

TEST_P(IncludeNameHash, MatchesHandComputedValue) {
    EXPECT_EQ(hash_of(GetParam().name), GetParam().hash) << GetParam().name;
}

INSTANTIATE_TEST_SUITE_P(Include, IncludeNameHash,
                         ::testing::Values(hash_case{"", 0}, hash_case{"a", 97},
                                           hash_case{"ab", 97 * 4 + 98},
                                           hash_case{"ab.h", 97 * 4 + 98}, hash_case{".h", 0},
                                           // Only the final ".h" is left out.
                                           hash_case{".h.h", 46 * 4 + 104},
                                           hash_case{"a.hh", ((97 * 4 + 46) * 4 + 104) * 4 + 104},
                                           hash_case{"a.H", (97 * 4 + 46) * 4 + 72},
                                           // Bytes above 127 count as negative.
                                           hash_case{"\xff", 0xFFFFFFFFu},
                                           hash_case{"a\x80", 97 * 4 - 128}));

TEST(IncludeNameHash, WrapsAt32Bits) {
    // Every character shifts the earlier ones two bits up: after 16 of them
    // the first has left the word.
    std::string tail(16, 'z');
    EXPECT_EQ(hash_of("a" + tail), hash_of("b" + tail));
    EXPECT_NE(hash_of("a" + tail.substr(1)), hash_of("b" + tail.substr(1)));
}

TEST(IncludeNameHash, NameAndHeaderShareAHash) {
    EXPECT_EQ(hash_of("dir/io.h"), hash_of("dir/io"));
    EXPECT_NE(hash_of("dir/io.c"), hash_of("dir/io"));
}

}  // namespace
