// Hash table: chains in insertion order and the walk that lists them (the
// dependency list's order), removal, copying, keys told apart by the compare.
#include "common/hash.h"

#include <gtest/gtest.h>

#include <cstring>
#include <utility>
#include <vector>

namespace {

using pairs = std::vector<std::pair<hash_word, hash_word>>;

pairs walk(const hash_table* t) {
    pairs seen;
    EXPECT_EQ(hash_walk(t, &seen,
                        [](void* seen, hash_word key, hash_word value) {
                            static_cast<pairs*>(seen)->emplace_back(key, value);
                            return 0;
                        }),
              0);
    return seen;
}

TEST(Hash, ChainsKeepInsertionOrderAndTheWalkGoesBucketByBucket) {
    hash_reset();
    hash_table* t = hash_create(4, nullptr, nullptr);  // identity hash: key % 4
    for (hash_word k : {6, 1, 5, 2, 4}) EXPECT_EQ(hash_insert(t, k, k * 10), 1);
    EXPECT_EQ(hash_insert(t, 5, 7), 0);  // the first value stays
    EXPECT_EQ(hash_lookup(t, 5), 50u);
    EXPECT_EQ(hash_lookup(t, 9), 0u);  // same bucket as 1 and 5, told apart by the compare
    EXPECT_EQ(walk(t), (pairs{{4, 40}, {1, 10}, {5, 50}, {6, 60}, {2, 20}}));
    int calls = 0;  // a walk stops at the first nonzero answer and returns it
    EXPECT_EQ(hash_walk(t, &calls,
                        [](void* calls, hash_word key, hash_word) {
                            return ++*static_cast<int*>(calls), key == 5 ? 99 : 0;
                        }),
              99);
    EXPECT_EQ(calls, 3);
    EXPECT_EQ(hash_remove(t, 1), 10u);  // from the head of a chain
    EXPECT_EQ(hash_remove(t, 1), 0u);
    EXPECT_EQ(hash_remove(t, 2), 20u);  // from its end
    hash_table* copy = hash_clone(t);
    hash_insert(copy, 8, 1);
    EXPECT_EQ(walk(t), (pairs{{4, 40}, {5, 50}, {6, 60}}));
    EXPECT_EQ(walk(copy), (pairs{{4, 40}, {8, 1}, {5, 50}, {6, 60}}));
    EXPECT_EQ(hash_count(copy), 4u);
    hash_destroy(copy);
    hash_destroy(t);
}

TEST(Hash, StringKeysAreComparedByTheCreatorsFunctions) {
    hash_table* t = hash_create(
        237, [](hash_word k) { return hash_string(reinterpret_cast<const char*>(k)); },
        [](hash_word a, hash_word b) {
            return std::strcmp(reinterpret_cast<const char*>(a), reinterpret_cast<const char*>(b));
        });
    for (const char* n : {"a.h", "inc/b.h", "io.h", "io"})
        hash_insert(t, reinterpret_cast<hash_word>(n), 1);
    char probe[] = "io.h";
    EXPECT_EQ(hash_insert(t, reinterpret_cast<hash_word>(probe), 2), 0);
    EXPECT_EQ(hash_count(t), 4u);
    hash_destroy(t);
}

}  // namespace
