// Small blocks without a header of their own, for the many little texts
// and records a run keeps (a large program defines tens of thousands of
// macros): carved from 64 KiB slabs (past the first two, from one region
// of huge pages), kept on a free list by size (in steps
// of 8 bytes) when given back, and released all together by
// small_pool_reset. Larger blocks come from the heap. Under AddressSanitizer
// every block comes from the heap, so that misuse of one is still caught.
#pragma once

#include <cstddef>

// A block of at least `bytes` bytes, aligned for any pointer; not zeroed.
void* small_alloc(std::size_t bytes);
// Gives back a block of small_alloc, with the size it was asked with.
void small_free(void* p, std::size_t bytes);
// Releases every slab; blocks not given back are gone with them.
void small_pool_reset();
