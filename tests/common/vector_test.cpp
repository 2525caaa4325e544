// Vector: growth 10, 20, 40, ..., padding by vector_set, reads past the end,
// array reuse after clear and the iteration cursor.
#include "common/vector.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

TEST(Vector, GrowsByDoublingFromTheIncrementAndKeepsItsElements) {
    vector* v = vector_new();
    EXPECT_EQ(vector_last(v), 0u);
    EXPECT_EQ(vector_next(v), 0u);
    for (unsigned i = 0; i < 41; ++i) {
        EXPECT_EQ(vector_push(v, 100 + i), i);
        if (i == 9 || i == 19 || i == 39) {
            EXPECT_EQ(v->capacity, i + 1);
        }
    }
    EXPECT_EQ(v->capacity, 80u);
    for (unsigned i = 0; i < 41; ++i) ASSERT_EQ(vector_get(v, i), 100 + i);
    EXPECT_EQ(vector_get(v, 41), 0u);  // past the end, without growing
    EXPECT_EQ(vector_count(v), 41u);
    EXPECT_EQ(vector_last(v), 140u);
    EXPECT_EQ(vector_pop(v), 140u);
    EXPECT_EQ(vector_count(v), 40u);
    vector_elem* array = v->data;
    vector_clear(v);
    EXPECT_EQ(vector_push(v, 7), 0u);  // the array is reused
    EXPECT_EQ(v->data, array);
    vector_free(v);
    vector_free(nullptr);
}

TEST(Vector, SetPadsWithZerosAndIterationVisitsThemInOrder) {
    vector* v = vector_new();
    vector_set(v, 5, 3);
    EXPECT_EQ(vector_count(v), 4u);
    vector_set(v, 1, 0);  // inside: overwrites, no growth
    EXPECT_EQ(vector_count(v), 4u);
    vector_set(v, 9, 25);
    EXPECT_EQ(vector_count(v), 26u);
    EXPECT_EQ(v->capacity, 40u);
    std::vector<vector_elem> seen;
    vector_rewind(v);
    while (vector_has_more(v)) seen.push_back(vector_next(v));
    std::vector<vector_elem> expected(26, 0);
    expected[0] = 1;
    expected[3] = 5;
    expected[25] = 9;
    EXPECT_EQ(seen, expected);
    vector_free(v);
}

}  // namespace
