// Growable array of word-sized elements with an iteration cursor. The vector
// never owns what its elements point at.
#pragma once

#include <cstdint>

using vector_elem = std::uintptr_t;

struct vector {
    unsigned count = 0;
    unsigned capacity = 0;
    unsigned increment = 10;
    unsigned cursor = 0;
    vector_elem* data = nullptr;  // alloc_mem block, absent while capacity is 0
};

vector* vector_new();
void vector_free(vector* v);
unsigned vector_push(vector* v, vector_elem e);
vector_elem vector_last(const vector* v);
vector_elem vector_pop(vector* v);
unsigned vector_count(const vector* v);
vector_elem vector_get(const vector* v, unsigned index);
void vector_set(vector* v, vector_elem e, unsigned index);
void vector_clear(vector* v);
void vector_rewind(vector* v);
bool vector_has_more(const vector* v);
vector_elem vector_next(vector* v);
