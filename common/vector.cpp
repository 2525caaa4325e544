// Growable array of word-sized elements with an iteration cursor. The array
// starts at the vector's increment and doubles after that; the vector never
// owns what its elements point at.
#include "common/vector.h"

#include <cassert>
#include <cstdlib>
#include <cstring>
#include <new>

#include "common/alloc.h"

namespace {

// Makes room for one more element: 10, 20, 40, ... slots, the elements in use
// copied into a fresh zero-filled array.
void grow(vector* p) {
    unsigned capacity = p->capacity == 0 ? p->increment : p->capacity * 2;
    if (capacity <= p->capacity) alloc_fail(std::size_t{p->capacity} * 2 * sizeof(vector_elem));
    auto* data = static_cast<vector_elem*>(alloc_mem(std::size_t{capacity} * sizeof(vector_elem)));
    if (p->count != 0) std::memcpy(data, p->data, std::size_t{p->count} * sizeof(vector_elem));
    std::free(p->data);
    p->data = data;
    p->capacity = capacity;
}

}  // namespace

vector* vector_new() {
    return new (alloc_mem(sizeof(vector))) vector{};
}

void vector_free(vector* p) {
    if (!p) return;
    std::free(p->data);
    std::free(p);
}

unsigned vector_push(vector* p, vector_elem e) {
    assert(p);
    if (p->count == p->capacity) grow(p);
    p->data[p->count] = e;
    return p->count++;
}

vector_elem vector_last(const vector* p) {
    assert(p);
    return p->count != 0 ? p->data[p->count - 1] : 0;
}

vector_elem vector_pop(vector* p) {
    assert(p);
    assert(p->count != 0);
    return p->data[--p->count];
}

unsigned vector_count(const vector* p) {
    return p->count;
}

vector_elem vector_get(const vector* p, unsigned index) {
    return index < p->count ? p->data[index] : 0;
}

// Stores at any index, first padding the vector with zero elements.
void vector_set(vector* p, vector_elem e, unsigned index) {
    while (p->count <= index) vector_push(p, 0);
    p->data[index] = e;
}

void vector_clear(vector* p) {
    p->count = 0;
}

void vector_rewind(vector* p) {
    p->cursor = 0;
}

bool vector_has_more(const vector* p) {
    return p->cursor < p->count;
}

vector_elem vector_next(vector* p) {
    return p->cursor < p->count ? p->data[p->cursor++] : 0;
}
