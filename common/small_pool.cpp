#include "common/small_pool.h"

#include <array>
#include <memory>
#include <new>
#include <vector>

#include "common/osdep.h"

namespace {

#if defined(__SANITIZE_ADDRESS__)
constexpr bool POOLED = false;
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
constexpr bool POOLED = false;
#else
constexpr bool POOLED = true;
#endif
#else
constexpr bool POOLED = true;
#endif

constexpr std::size_t STEP = 8;
constexpr std::size_t LARGEST = 512;  // larger blocks come from the heap
constexpr std::size_t SLAB = 64 * 1024;
// Slabs of the heap before the pool moves to one region of huge pages: a
// small run never maps it (the macros of a few hundred guarded headers fit
// in two slabs, and the region would count whole in their resident
// memory), and a large one pays one page fault for the region instead of
// one for every small page of its slabs. Once the region is used up the
// slabs come from the heap again.
constexpr std::size_t HEAP_SLABS_FIRST = 2;
constexpr std::size_t REGION = std::size_t{2} << 20;

struct free_block {
    free_block* next;
};

// A block larger than the pool's own, from the heap behind a header that
// links it to the others, so that a reset finds every one not given back.
struct alignas(16) large_block {
    large_block* prev;
    large_block* next;
};

struct pool_state {
    std::vector<std::unique_ptr<std::byte[]>> slabs;
    std::byte* free_from = nullptr;  // the untouched rest of the newest slab
    std::byte* free_end = nullptr;
    std::array<free_block*, LARGEST / STEP + 1> given_back{};  // by size / STEP
    void* region = nullptr;
    bool region_tried = false;
    large_block* large = nullptr;
    std::size_t large_count = 0;
};

pool_state pool;

std::size_t size_class(std::size_t bytes) {
    return (bytes + STEP - 1) / STEP;
}

void new_slab() {
    if (pool.slabs.size() >= HEAP_SLABS_FIRST && !pool.region_tried) {
        pool.region_tried = true;
        pool.region = map_record_region(REGION);
        if (pool.region != nullptr) {
            pool.free_from = static_cast<std::byte*>(pool.region);
            pool.free_end = pool.free_from + REGION;
            return;
        }
    }
    pool.slabs.emplace_back(new std::byte[SLAB]);
    pool.free_from = pool.slabs.back().get();
    pool.free_end = pool.free_from + SLAB;
}

void* large_alloc(std::size_t bytes) {
    auto* b = static_cast<large_block*>(::operator new(sizeof(large_block) + bytes));
    b->prev = nullptr;
    b->next = pool.large;
    if (pool.large != nullptr) pool.large->prev = b;
    pool.large = b;
    ++pool.large_count;
    return b + 1;
}

void large_free(void* p) {
    large_block* b = static_cast<large_block*>(p) - 1;
    if (b->prev != nullptr) {
        b->prev->next = b->next;
    } else {
        pool.large = b->next;
    }
    if (b->next != nullptr) b->next->prev = b->prev;
    --pool.large_count;
    ::operator delete(b);
}

}  // namespace

void* small_alloc(std::size_t bytes) {
    if (!POOLED) return ::operator new(bytes);
    if (bytes > LARGEST) return large_alloc(bytes);
    std::size_t k = size_class(bytes != 0 ? bytes : 1);
    if (free_block* b = pool.given_back[k]) {
        pool.given_back[k] = b->next;
        return b;
    }
    std::size_t size = k * STEP;
    if (static_cast<std::size_t>(pool.free_end - pool.free_from) < size) {
        // The rest of the old slab (less than the largest block) is left.
        new_slab();
    }
    void* p = pool.free_from;
    pool.free_from += size;
    return p;
}

void small_free(void* p, std::size_t bytes) {
    if (p == nullptr) return;
    if (!POOLED) {
        ::operator delete(p);
        return;
    }
    if (bytes > LARGEST) {
        large_free(p);
        return;
    }
    std::size_t k = size_class(bytes != 0 ? bytes : 1);
    auto* b = static_cast<free_block*>(p);
    b->next = pool.given_back[k];
    pool.given_back[k] = b;
}

void small_pool_reset() {
    unmap_record_region(pool.region, REGION);
    for (large_block* b = pool.large; b != nullptr;) {
        large_block* next = b->next;
        ::operator delete(b);
        b = next;
    }
    pool = {};
}

bool small_pool_resets_all() {
    return POOLED;
}

std::size_t small_pool_large_blocks() {
    return pool.large_count;
}
