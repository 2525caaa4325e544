// Vector: growth 10, 20, 40, ..., padding by vector_set, reads past the end,
// array reuse after clear, the iteration cursor and the precondition checks.
#include "common/vector.h"

#include <gtest/gtest.h>

#include <memory>

namespace {

struct vector_deleter {
    void operator()(vector* v) const { vector_free(v); }
};
using vector_ptr = std::unique_ptr<vector, vector_deleter>;

vector_ptr make_vector() {
    return vector_ptr(vector_new());
}

TEST(Vector, StartsEmptyWithoutArray) {
    vector_ptr v = make_vector();
    EXPECT_EQ(vector_count(v.get()), 0u);
    EXPECT_EQ(v->capacity, 0u);
    EXPECT_EQ(v->increment, 10u);
    EXPECT_EQ(v->data, nullptr);
    EXPECT_EQ(vector_last(v.get()), 0u);
    EXPECT_FALSE(vector_has_more(v.get()));
    EXPECT_EQ(vector_next(v.get()), 0u);
}

TEST(Vector, CapacityDoublesFromTheIncrementAndKeepsElements) {
    struct {
        unsigned pushes;
        unsigned capacity;
    } steps[] = {{1, 10}, {10, 10}, {11, 20}, {20, 20}, {21, 40}, {40, 40}, {41, 80}, {161, 320}};
    vector_ptr v = make_vector();
    unsigned pushed = 0;
    for (const auto& s : steps) {
        while (pushed < s.pushes) {
            EXPECT_EQ(vector_push(v.get(), 1000 + pushed), pushed);
            pushed++;
        }
        EXPECT_EQ(v->capacity, s.capacity) << "after " << s.pushes << " pushes";
        ASSERT_EQ(vector_count(v.get()), pushed);
        for (unsigned i = 0; i < pushed; i++) ASSERT_EQ(vector_get(v.get(), i), 1000 + i);
    }
}

TEST(Vector, SetPadsWithZerosAndGrows) {
    struct {
        unsigned index;
        unsigned count;
        unsigned capacity;
    } cases[] = {{0, 1, 10}, {5, 6, 10}, {9, 10, 10}, {10, 11, 20}, {25, 26, 40}, {100, 101, 160}};
    for (const auto& c : cases) {
        vector_ptr v = make_vector();
        vector_set(v.get(), 77, c.index);
        EXPECT_EQ(vector_count(v.get()), c.count) << c.index;
        EXPECT_EQ(v->capacity, c.capacity) << c.index;
        for (unsigned i = 0; i < c.index; i++) ASSERT_EQ(vector_get(v.get(), i), 0u) << i;
        EXPECT_EQ(vector_get(v.get(), c.index), 77u);
    }
}

TEST(Vector, SetInsideCountOverwritesWithoutGrowing) {
    vector_ptr v = make_vector();
    for (unsigned i = 0; i < 3; i++) vector_push(v.get(), i + 1);
    vector_set(v.get(), 9, 1);
    EXPECT_EQ(vector_count(v.get()), 3u);
    EXPECT_EQ(vector_get(v.get(), 0), 1u);
    EXPECT_EQ(vector_get(v.get(), 1), 9u);
    EXPECT_EQ(vector_get(v.get(), 2), 3u);
}

TEST(Vector, GetPastTheEndGivesZeroWithoutGrowing) {
    vector_ptr v = make_vector();
    vector_push(v.get(), 5);
    vector_push(v.get(), 6);
    for (unsigned index : {2u, 3u, 10u, 1000u, 0xFFFFFFFFu})
        EXPECT_EQ(vector_get(v.get(), index), 0u) << index;
    EXPECT_EQ(vector_count(v.get()), 2u);
    EXPECT_EQ(v->capacity, 10u);
}

TEST(Vector, ClearKeepsTheArrayForReuse) {
    vector_ptr v = make_vector();
    for (unsigned i = 0; i < 15; i++) vector_push(v.get(), i);
    vector_elem* data = v->data;
    vector_clear(v.get());
    EXPECT_EQ(vector_count(v.get()), 0u);
    EXPECT_EQ(vector_get(v.get(), 0), 0u);
    EXPECT_EQ(vector_push(v.get(), 42), 0u);
    EXPECT_EQ(v->data, data);
    EXPECT_EQ(v->capacity, 20u);
    EXPECT_EQ(vector_last(v.get()), 42u);
}

TEST(Vector, PopAndLastWorkFromTheEnd) {
    vector_ptr v = make_vector();
    for (vector_elem e : {3, 0, 8}) vector_push(v.get(), e);
    EXPECT_EQ(vector_last(v.get()), 8u);
    EXPECT_EQ(vector_count(v.get()), 3u);
    EXPECT_EQ(vector_pop(v.get()), 8u);
    EXPECT_EQ(vector_pop(v.get()), 0u);
    EXPECT_EQ(vector_last(v.get()), 3u);
    EXPECT_EQ(vector_pop(v.get()), 3u);
    EXPECT_EQ(vector_count(v.get()), 0u);
    EXPECT_EQ(vector_last(v.get()), 0u);
}

TEST(Vector, IterationVisitsEveryElementInOrderZerosIncluded) {
    vector_ptr v = make_vector();
    const vector_elem elems[] = {4, 0, 0, 9, 0, 1};
    for (vector_elem e : elems) vector_push(v.get(), e);
    for (int round = 0; round < 2; round++) {
        vector_rewind(v.get());
        unsigned seen = 0;
        while (vector_has_more(v.get())) {
            ASSERT_LT(seen, 6u);
            EXPECT_EQ(vector_next(v.get()), elems[seen]) << seen;
            seen++;
        }
        EXPECT_EQ(seen, 6u);
        EXPECT_EQ(vector_next(v.get()), 0u);
        EXPECT_FALSE(vector_has_more(v.get()));
    }
}

TEST(Vector, FreeOfNullIsHarmless) {
    vector_free(nullptr);
}

TEST(VectorDeathTest, PreconditionsNameTheFailedExpression) {
#ifdef NDEBUG
    GTEST_SKIP() << "assertions are compiled out";
#else
    vector_ptr v = make_vector();
    EXPECT_DEATH(vector_pop(v.get()), "p->count != 0");
    EXPECT_DEATH(vector_push(nullptr, 1), "Assertion .p. failed");
    EXPECT_DEATH(vector_last(nullptr), "Assertion .p. failed");
#endif
}

}  // namespace
