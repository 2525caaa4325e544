// Small pool: live blocks of every size keep their bytes apart from each
// other, through slab after slab, blocks given back and taken again, and
// after a reset.
#include "common/small_pool.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <vector>

namespace {

struct block {
    unsigned char* p;
    std::size_t size;
};

void fill(const block& b, std::size_t seed) {
    for (std::size_t i = 0; i < b.size; ++i) b.p[i] = static_cast<unsigned char>(seed + i);
}

bool holds(const block& b, std::size_t seed) {
    for (std::size_t i = 0; i < b.size; ++i) {
        if (b.p[i] != static_cast<unsigned char>(seed + i)) return false;
    }
    return true;
}

TEST(SmallPool, LiveBlocksNeverShareABite) {
    for (int round = 0; round < 2; ++round) {
        std::vector<block> blocks;
        // Sizes 0 to 300 (small and heap blocks), over several slabs.
        for (std::size_t i = 0; i < 6000; ++i) {
            block b{static_cast<unsigned char*>(small_alloc(i % 301)), i % 301};
            ASSERT_EQ(reinterpret_cast<std::uintptr_t>(b.p) % alignof(void*), 0u);
            fill(b, i);
            blocks.push_back(b);
        }
        // Every other block given back and taken again, at another size of
        // the same step where there is one.
        for (std::size_t i = 0; i < blocks.size(); i += 2) {
            small_free(blocks[i].p, blocks[i].size);
            std::size_t size = blocks[i].size % 8 == 1 ? blocks[i].size + 7 : blocks[i].size;
            blocks[i] = {static_cast<unsigned char*>(small_alloc(size)), size};
            fill(blocks[i], i * 7);
        }
        for (std::size_t i = 0; i < blocks.size(); ++i)
            ASSERT_TRUE(holds(blocks[i], i % 2 == 0 ? i * 7 : i)) << i;
        for (const block& b : blocks) small_free(b.p, b.size);
        small_pool_reset();
    }
    small_free(nullptr, 8);
}

}  // namespace
