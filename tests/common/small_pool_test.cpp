// Small pool: live blocks of every size keep their bytes apart from each
// other, through slab after slab, blocks given back and taken again, and
// after a reset.
#include "common/small_pool.h"

#include <gtest/gtest.h>

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <vector>

#include "common/osdep.h"

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
        // Sizes 0 to 600 (small and heap blocks), over several slabs.
        for (std::size_t i = 0; i < 6000; ++i) {
            block b{static_cast<unsigned char*>(small_alloc(i % 601)), i % 601};
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

// More than the region of huge pages holds: the slabs after it come from
// the heap, and blocks on either side stay apart, run after run.
TEST(SmallPool, RunsOnPastTheRegion) {
    constexpr std::size_t COUNT = 48000;  // 3 MiB of 64-byte blocks
    for (int round = 0; round < 2; ++round) {
        std::vector<block> blocks;
        for (std::size_t i = 0; i < COUNT; ++i) {
            block b{static_cast<unsigned char*>(small_alloc(64)), 64};
            fill(b, i);
            blocks.push_back(b);
        }
        for (std::size_t i = 0; i < COUNT; ++i) ASSERT_TRUE(holds(blocks[i], i)) << i;
        for (const block& b : blocks) small_free(b.p, b.size);
        small_pool_reset();
    }
}

// Large blocks come from the heap, each counted until it is given back;
// where the reset releases every block, those left are released with it.
TEST(SmallPool, ResetReleasesTheLargeBlocksLeft) {
    small_pool_reset();
    std::vector<block> blocks;
    for (std::size_t i = 0; i < 40; ++i) {
        block b{static_cast<unsigned char*>(small_alloc(513 + i * 100)), 513 + i * 100};
        ASSERT_EQ(reinterpret_cast<std::uintptr_t>(b.p) % alignof(std::max_align_t), 0u);
        fill(b, i);
        blocks.push_back(b);
    }
    const std::size_t counted = small_pool_resets_all() ? 40 : 0;
    EXPECT_EQ(small_pool_large_blocks(), counted);
    // Given back first, last and in between: the others keep their bytes.
    for (std::size_t i : {std::size_t{0}, std::size_t{39}, std::size_t{17}}) {
        small_free(blocks[i].p, blocks[i].size);
        blocks[i].p = nullptr;
    }
    EXPECT_EQ(small_pool_large_blocks(), small_pool_resets_all() ? 37u : 0u);
    for (std::size_t i = 0; i < blocks.size(); ++i) {
        if (blocks[i].p != nullptr) {
            ASSERT_TRUE(holds(blocks[i], i)) << i;
        }
    }
    if (!small_pool_resets_all()) {
        for (const block& b : blocks) small_free(b.p, b.size);
    }
    small_pool_reset();
    EXPECT_EQ(small_pool_large_blocks(), 0u);
}

TEST(RecordRegion, IsZeroedWritableAndOnAHugePageBoundary) {
    constexpr std::size_t BYTES = std::size_t{2} << 20;
    void* region = map_record_region(BYTES);
#ifdef _WIN32
    EXPECT_EQ(region, nullptr);
#else
    ASSERT_NE(region, nullptr);
    EXPECT_EQ(reinterpret_cast<std::uintptr_t>(region) % BYTES, 0u);
    auto* bytes = static_cast<unsigned char*>(region);
    EXPECT_EQ(bytes[0], 0);
    EXPECT_EQ(bytes[BYTES - 1], 0);
    bytes[0] = 1;
    bytes[BYTES - 1] = 2;
    EXPECT_EQ(bytes[0] + bytes[BYTES - 1], 3);
#endif
    unmap_record_region(region, BYTES);
}

}  // namespace
