// Generic chained hash table mapping word-sized keys to word-sized values,
// with creator-supplied hash and equality. Chains keep insertion order; nodes
// are recycled through a module-wide free list.
#pragma once

#include <cstdint>

#include "vector.h"

using hash_word = std::uintptr_t;
using hash_fn = std::uint32_t (*)(hash_word key);
using hash_compare_fn = int (*)(hash_word a, hash_word b);  // 0 when equal
using hash_walk_fn = int (*)(void* context, hash_word key, hash_word value);

struct hash_node {
    hash_word value;
    hash_word key;
    hash_node* next;
};

struct hash_table {
    std::uint32_t size;
    std::uint32_t count;
    hash_fn hash;
    hash_compare_fn compare;
    hash_node** buckets;
};

hash_table* hash_create(std::uint32_t size, hash_fn hash, hash_compare_fn compare);
int hash_insert(hash_table* t, hash_word key, hash_word value);
hash_word hash_lookup(const hash_table* t, hash_word key);
hash_word hash_remove(hash_table* t, hash_word key);
int hash_walk(const hash_table* t, void* context, hash_walk_fn fn);
std::uint32_t hash_count(const hash_table* t);
void hash_clear(hash_table* t);
void hash_destroy(hash_table* t);
hash_table* hash_clone(const hash_table* t);
hash_table* hash_assign(hash_table* dst, const hash_table* src);
vector* hash_values(const hash_table* t);
vector* hash_keys(const hash_table* t);
std::uint32_t hash_string(const char* s);

// Releases the recycled nodes; part of resetting the run state.
void hash_reset();
