// Hash table: chains in insertion order, walk order and early stop, removal
// inside chains, node recycling through the shared free list, copying, and
// the string hash.
#include "common/hash.h"

#include <gtest/gtest.h>

#include <cstring>
#include <utility>
#include <vector>

namespace {

struct table_deleter {
    void operator()(hash_table* t) const { hash_destroy(t); }
};
using table_ptr = std::unique_ptr<hash_table, table_deleter>;

class HashTest : public ::testing::Test {
   protected:
    void SetUp() override { hash_reset(); }
    void TearDown() override { hash_reset(); }
};

using pairs = std::vector<std::pair<hash_word, hash_word>>;

int collect(void* context, hash_word key, hash_word value) {
    static_cast<pairs*>(context)->emplace_back(key, value);
    return 0;
}

pairs walk_all(const hash_table* t) {
    pairs seen;
    EXPECT_EQ(hash_walk(t, &seen, collect), 0);
    return seen;
}

std::vector<hash_word> to_list(vector* v) {
    std::vector<hash_word> out;
    for (unsigned i = 0; i < vector_count(v); i++) out.push_back(vector_get(v, i));
    vector_free(v);
    return out;
}

std::uint32_t string_key_hash(hash_word key) {
    return hash_string(reinterpret_cast<const char*>(key));
}

int string_key_compare(hash_word a, hash_word b) {
    return std::strcmp(reinterpret_cast<const char*>(a), reinterpret_cast<const char*>(b));
}

hash_word word(const char* s) {
    return reinterpret_cast<hash_word>(s);
}

TEST_F(HashTest, InsertingAnExistingKeyKeepsTheFirstValue) {
    table_ptr t(hash_create(7, nullptr, nullptr));
    EXPECT_EQ(hash_insert(t.get(), 3, 30), 1);
    EXPECT_EQ(hash_insert(t.get(), 3, 31), 0);
    EXPECT_EQ(hash_lookup(t.get(), 3), 30u);
    EXPECT_EQ(hash_count(t.get()), 1u);
}

TEST_F(HashTest, ChainsKeepInsertionOrderAndWalkGoesBucketByBucket) {
    table_ptr t(hash_create(4, nullptr, nullptr));
    // Buckets with the identity hash: 6 -> 2, 1 -> 1, 5 -> 1, 2 -> 2, 4 -> 0.
    for (hash_word k : {6, 1, 5, 2, 4}) ASSERT_EQ(hash_insert(t.get(), k, k * 10), 1);
    pairs expected = {{4, 40}, {1, 10}, {5, 50}, {6, 60}, {2, 20}};
    EXPECT_EQ(walk_all(t.get()), expected);
    EXPECT_EQ(to_list(hash_keys(t.get())), (std::vector<hash_word>{4, 1, 5, 6, 2}));
    EXPECT_EQ(to_list(hash_values(t.get())), (std::vector<hash_word>{40, 10, 50, 60, 20}));
}

TEST_F(HashTest, KeysSharingABucketAreToldApartByTheCompare) {
    const std::uint32_t size = 11;
    table_ptr t(hash_create(size, nullptr, nullptr));
    hash_insert(t.get(), 5, 1);
    hash_insert(t.get(), 5 + size, 2);
    hash_insert(t.get(), 5 + 2 * size, 3);
    EXPECT_EQ(hash_lookup(t.get(), 5), 1u);
    EXPECT_EQ(hash_lookup(t.get(), 5 + size), 2u);
    EXPECT_EQ(hash_lookup(t.get(), 5 + 2 * size), 3u);
    EXPECT_EQ(hash_lookup(t.get(), 5 + 3 * size), 0u);
    EXPECT_EQ(hash_count(t.get()), 3u);
}

TEST_F(HashTest, LookupOfAnAbsentKeyLooksLikeAStoredZero) {
    table_ptr t(hash_create(3, nullptr, nullptr));
    hash_insert(t.get(), 1, 0);
    EXPECT_EQ(hash_lookup(t.get(), 1), 0u);
    EXPECT_EQ(hash_lookup(t.get(), 2), 0u);
}

struct stop_context {
    int calls = 0;
    int stop_at = 0;
};

int stop_at_nth(void* context, hash_word key, hash_word) {
    auto* c = static_cast<stop_context*>(context);
    return ++c->calls == c->stop_at ? static_cast<int>(key) + 100 : 0;
}

TEST_F(HashTest, WalkStopsAtTheFirstNonZeroResult) {
    table_ptr t(hash_create(5, nullptr, nullptr));
    for (hash_word k : {0, 5, 1, 2}) hash_insert(t.get(), k, 1);
    // Walk order: 0, 5 (same bucket), 1, 2.
    struct {
        int stop_at;
        int calls;
        int result;
    } cases[] = {{1, 1, 100}, {2, 2, 105}, {4, 4, 102}, {5, 4, 0}};
    for (const auto& c : cases) {
        stop_context ctx;
        ctx.stop_at = c.stop_at;
        EXPECT_EQ(hash_walk(t.get(), &ctx, stop_at_nth), c.result) << c.stop_at;
        EXPECT_EQ(ctx.calls, c.calls) << c.stop_at;
    }
}

TEST_F(HashTest, RemoveUnlinksFromAnyPlaceInTheChain) {
    for (hash_word victim : {1, 4, 7}) {
        table_ptr t(hash_create(3, nullptr, nullptr));
        for (hash_word k : {1, 4, 7}) hash_insert(t.get(), k, k + 100);
        EXPECT_EQ(hash_remove(t.get(), victim), victim + 100);
        EXPECT_EQ(hash_remove(t.get(), victim), 0u);
        EXPECT_EQ(hash_count(t.get()), 2u);
        pairs rest;
        for (hash_word k : {1, 4, 7})
            if (k != victim) rest.emplace_back(k, k + 100);
        EXPECT_EQ(walk_all(t.get()), rest) << victim;
    }
}

TEST_F(HashTest, ReleasedNodesAreReusedMostRecentFirstAcrossTables) {
    table_ptr a(hash_create(8, nullptr, nullptr));
    hash_insert(a.get(), 1, 1);
    hash_insert(a.get(), 2, 2);
    hash_node* n1 = a->buckets[1];
    hash_node* n2 = a->buckets[2];
    hash_remove(a.get(), 1);
    hash_remove(a.get(), 2);
    table_ptr b(hash_create(8, nullptr, nullptr));
    hash_insert(b.get(), 3, 3);
    hash_insert(b.get(), 4, 4);
    EXPECT_EQ(b->buckets[3], n2);
    EXPECT_EQ(b->buckets[4], n1);
    // Destroying a table gives its nodes back as well.
    b.reset();
    hash_insert(a.get(), 5, 5);
    hash_node* reused = a->buckets[5];
    EXPECT_TRUE(reused == n1 || reused == n2);
}

TEST_F(HashTest, ClearEmptiesEveryBucket) {
    table_ptr t(hash_create(4, nullptr, nullptr));
    for (hash_word k = 0; k < 20; k++) hash_insert(t.get(), k, k + 1);
    hash_clear(t.get());
    EXPECT_EQ(hash_count(t.get()), 0u);
    for (std::uint32_t i = 0; i < 4; i++) EXPECT_EQ(t->buckets[i], nullptr);
    for (hash_word k = 0; k < 20; k++) EXPECT_EQ(hash_lookup(t.get(), k), 0u);
    EXPECT_EQ(hash_insert(t.get(), 3, 9), 1);
    EXPECT_EQ(walk_all(t.get()), (pairs{{3, 9}}));
}

TEST_F(HashTest, StringKeysUseTheSuppliedFunctions) {
    table_ptr t(hash_create(237, string_key_hash, string_key_compare));
    static const char* const names[] = {"a.h", "inc/b.h", "c.h", "io.h", "io"};
    for (const char* n : names) ASSERT_EQ(hash_insert(t.get(), word(n), word(n)), 1);
    char probe[16];
    for (const char* n : names) {
        std::strcpy(probe, n);
        EXPECT_EQ(hash_lookup(t.get(), word(probe)), word(n)) << n;
        EXPECT_EQ(hash_insert(t.get(), word(probe), 0), 0) << n;
    }
    EXPECT_EQ(hash_lookup(t.get(), word("d.h")), 0u);
}

TEST_F(HashTest, CloneCopiesEntriesInOrderAndStaysIndependent) {
    table_ptr t(hash_create(3, nullptr, nullptr));
    for (hash_word k : {2, 5, 8, 0, 3}) hash_insert(t.get(), k, k * 2);
    table_ptr c(hash_clone(t.get()));
    EXPECT_EQ(c->size, 3u);
    EXPECT_EQ(hash_count(c.get()), 5u);
    EXPECT_EQ(walk_all(c.get()), walk_all(t.get()));
    hash_remove(c.get(), 5);
    hash_insert(c.get(), 11, 1);
    EXPECT_EQ(hash_lookup(t.get(), 5), 10u);
    EXPECT_EQ(hash_lookup(t.get(), 11), 0u);
    EXPECT_EQ(hash_count(t.get()), 5u);
}

TEST_F(HashTest, AssignHandlesMissingSidesAndDifferentSizes) {
    table_ptr src(hash_create(5, nullptr, nullptr));
    for (hash_word k : {1, 6, 11, 3}) hash_insert(src.get(), k, k + 7);

    hash_table* made = hash_assign(nullptr, src.get());
    ASSERT_NE(made, nullptr);
    EXPECT_EQ(walk_all(made), walk_all(src.get()));

    table_ptr dst(hash_create(2, string_key_hash, string_key_compare));
    hash_insert(dst.get(), word("gone"), 1);
    EXPECT_EQ(hash_assign(dst.get(), src.get()), dst.get());
    EXPECT_EQ(dst->size, 5u);
    EXPECT_EQ(hash_count(dst.get()), 4u);
    EXPECT_EQ(walk_all(dst.get()), walk_all(src.get()));
    EXPECT_EQ(hash_lookup(dst.get(), 11), 18u);

    EXPECT_EQ(hash_assign(src.get(), src.get()), src.get());
    EXPECT_EQ(hash_count(src.get()), 4u);

    EXPECT_EQ(hash_assign(made, nullptr), nullptr);
    EXPECT_EQ(hash_assign(nullptr, nullptr), nullptr);
}

TEST_F(HashTest, TablesWorkAgainAfterReset) {
    for (int run = 0; run < 2; run++) {
        table_ptr t(hash_create(2, nullptr, nullptr));
        for (hash_word k = 0; k < 50; k++) hash_insert(t.get(), k, k);
        for (hash_word k = 0; k < 50; k += 2) hash_remove(t.get(), k);
        EXPECT_EQ(hash_count(t.get()), 25u);
        for (hash_word k = 100; k < 125; k++) hash_insert(t.get(), k, k);
        EXPECT_EQ(hash_count(t.get()), 50u);
        EXPECT_EQ(hash_lookup(t.get(), 49), 49u);
        EXPECT_EQ(hash_lookup(t.get(), 48), 0u);
        t.reset();
        hash_reset();
    }
}

TEST(HashString, DoublesAndAddsSignedCharacters) {
    struct {
        const char* s;
        std::uint32_t hash;
    } cases[] = {
        {"", 0u},
        {"a", 97u * 2},
        {"ab", (97u * 2 + 98) * 2},
        {"\xff", 0xFFFFFFFEu},
        {"\x80"
         "a",
         static_cast<std::uint32_t>((-128 * 2 + 97) * 2)},
        {"io.h", (((105u * 2 + 111) * 2 + 46) * 2 + 104) * 2},
    };
    for (const auto& c : cases) EXPECT_EQ(hash_string(c.s), c.hash) << c.s;
    // Long strings shift the early characters out of the word.
    EXPECT_EQ(hash_string("zzzzzzzzzzzzzzzzzzzzzzzzzzzzzzzzzzzzzzzz"),
              hash_string("yzzzzzzzzzzzzzzzzzzzzzzzzzzzzzzzzzzzzzzz"));
}

TEST(HashDeathTest, ZeroBucketsFailTheAssertion) {
#ifdef NDEBUG
    GTEST_SKIP() << "assertions are compiled out";
#else
    EXPECT_DEATH(hash_create(0, nullptr, nullptr), "size != 0");
#endif
}

}  // namespace
