// Hash table: chains in insertion order and the walk that lists them (the
// dependency list's order), removal, node recycling, copying, the string hash.
#include "common/hash.h"

#include <gtest/gtest.h>

#include <cstring>
#include <utility>
#include <vector>

namespace {

using pairs = std::vector<std::pair<hash_word, hash_word>>;

int collect(void* context, hash_word key, hash_word value) {
    static_cast<pairs*>(context)->emplace_back(key, value);
    return 0;
}

pairs walk(const hash_table* t) {
    pairs seen;
    EXPECT_EQ(hash_walk(t, &seen, collect), 0);
    return seen;
}

int stop_at_five(void* context, hash_word key, hash_word) {
    ++*static_cast<int*>(context);
    return key == 5 ? 99 : 0;
}

std::uint32_t by_string(hash_word key) {
    return hash_string(reinterpret_cast<const char*>(key));
}

int compare_strings(hash_word a, hash_word b) {
    return std::strcmp(reinterpret_cast<const char*>(a), reinterpret_cast<const char*>(b));
}

TEST(Hash, ChainsKeepInsertionOrderAndTheWalkGoesBucketByBucket) {
    hash_reset();
    hash_table* t = hash_create(4, nullptr, nullptr);  // identity hash: key % 4
    for (hash_word k : {6, 1, 5, 2, 4}) EXPECT_EQ(hash_insert(t, k, k * 10), 1);
    EXPECT_EQ(hash_insert(t, 5, 7), 0);  // the first value stays
    EXPECT_EQ(hash_lookup(t, 5), 50u);
    EXPECT_EQ(hash_lookup(t, 9), 0u);  // same bucket as 1 and 5, told apart by the compare
    EXPECT_EQ(walk(t), (pairs{{4, 40}, {1, 10}, {5, 50}, {6, 60}, {2, 20}}));
    int calls = 0;
    EXPECT_EQ(hash_walk(t, &calls, stop_at_five), 99);
    EXPECT_EQ(calls, 3);
    vector* keys = hash_keys(t);
    EXPECT_EQ(vector_count(keys), 5u);
    EXPECT_EQ(vector_get(keys, 2), 5u);
    vector_free(keys);

    EXPECT_EQ(hash_remove(t, 1), 10u);  // from the head of a chain
    EXPECT_EQ(hash_remove(t, 1), 0u);
    EXPECT_EQ(hash_remove(t, 2), 20u);  // from its end
    EXPECT_EQ(walk(t), (pairs{{4, 40}, {5, 50}, {6, 60}}));
    EXPECT_EQ(hash_count(t), 3u);

    hash_table* copy = hash_clone(t);
    hash_insert(copy, 8, 1);
    EXPECT_EQ(hash_count(t), 3u);
    EXPECT_EQ(walk(copy), (pairs{{4, 40}, {8, 1}, {5, 50}, {6, 60}}));
    hash_table* other = hash_create(2, by_string, compare_strings);
    EXPECT_EQ(hash_assign(other, t), other);  // takes the size and entries
    EXPECT_EQ(other->size, 4u);
    EXPECT_EQ(walk(other), walk(t));
    EXPECT_EQ(hash_assign(other, nullptr), nullptr);
    hash_clear(copy);
    EXPECT_EQ(walk(copy), pairs{});
    hash_destroy(copy);
    hash_destroy(t);
}

TEST(Hash, ReleasedNodesAreReusedMostRecentFirst) {
    hash_reset();
    hash_table* t = hash_create(8, nullptr, nullptr);
    hash_insert(t, 1, 1);
    hash_insert(t, 2, 2);
    hash_node* first = t->buckets[1];
    hash_node* second = t->buckets[2];
    hash_remove(t, 1);
    hash_remove(t, 2);
    hash_insert(t, 3, 3);
    hash_insert(t, 4, 4);
    EXPECT_EQ(t->buckets[3], second);
    EXPECT_EQ(t->buckets[4], first);
    hash_destroy(t);
}

TEST(Hash, StringKeysAndTheStringHash) {
    hash_table* t = hash_create(237, by_string, compare_strings);
    const char* names[] = {"a.h", "inc/b.h", "io.h", "io"};
    for (const char* n : names) hash_insert(t, reinterpret_cast<hash_word>(n), 1);
    char probe[] = "io.h";
    EXPECT_EQ(hash_insert(t, reinterpret_cast<hash_word>(probe), 2), 0);
    EXPECT_EQ(hash_count(t), 4u);
    hash_destroy(t);
    // Each character, taken as signed, is added after doubling; the
    // terminator only doubles.
    EXPECT_EQ(hash_string(""), 0u);
    EXPECT_EQ(hash_string("ab"), (97u * 2 + 98) * 2);
    EXPECT_EQ(hash_string("\x80"
                          "a"),
              static_cast<std::uint32_t>((-128 * 2 + 97) * 2));
}

}  // namespace
