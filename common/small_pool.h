// Small blocks without a header of their own, for the many little texts
// and records a run keeps (a large program defines tens of thousands of
// macros): carved from 64 KiB slabs (past the first two, from one region
// of huge pages), kept on a free list by size (in steps
// of 8 bytes) when given back, and released all together by
// small_pool_reset. Larger blocks come from the heap, each linked to the
// others so that the reset releases them too. Under AddressSanitizer every
// block comes from the heap on its own, so that misuse of one is still
// caught, and each must be given back.
#pragma once

#include <cstddef>

// A block of at least `bytes` bytes, aligned for any pointer; not zeroed.
void* small_alloc(std::size_t bytes);
// Gives back a block of small_alloc, with the size it was asked with.
void small_free(void* p, std::size_t bytes);
// Releases every slab and large block; blocks not given back are gone with
// them (under AddressSanitizer only those given back are released).
void small_pool_reset();
// Whether small_pool_reset releases every block not given back, so that an
// owner of many blocks may leave them to it.
bool small_pool_resets_all();
// The large blocks (from the heap) taken and not given back.
std::size_t small_pool_large_blocks();
