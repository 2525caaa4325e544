// Vector: elements kept through growth, reads past the end, padding by
// vector_set, clearing and the iteration cursor.
#include "common/vector.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

TEST(Vector, KeepsItsElementsThroughGrowthAndPadsWithZeros) {
    vector* v = vector_new();
    EXPECT_EQ(vector_last(v), 0u);
    for (unsigned i = 0; i < 41; ++i) EXPECT_EQ(vector_push(v, 100 + i), i);
    for (unsigned i = 0; i < 41; ++i) ASSERT_EQ(vector_get(v, i), 100 + i);
    EXPECT_EQ(vector_get(v, 41), 0u);  // past the end
    EXPECT_EQ(vector_pop(v), 140u);
    EXPECT_EQ(vector_last(v), 139u);
    EXPECT_EQ(vector_count(v), 40u);
    vector_clear(v);
    EXPECT_EQ(vector_next(v), 0u);
    vector_set(v, 5, 3);
    vector_set(v, 1, 0);    // inside: overwrites
    vector_set(v, 9, 100);  // past the array: grows
    std::vector<vector_elem> seen, expected(101, 0);
    expected[0] = 1, expected[3] = 5, expected[100] = 9;
    vector_rewind(v);
    while (vector_has_more(v)) seen.push_back(vector_next(v));
    EXPECT_EQ(seen, expected);
    vector_free(v);
    vector_free(nullptr);
}

}  // namespace
