// Generic chained hash table. Chains keep their entries in insertion order,
// the bucket count is fixed at creation, and nodes live on a module-wide free
// list once released, so inserting and removing stop calling the allocator
// after the first few entries.
#include "common/hash.h"

#include <cassert>
#include <cstdlib>

#include "common/alloc.h"

namespace {

struct hash_state {
    hash_node* free_nodes = nullptr;  // released nodes, most recent first
};

hash_state hash;

std::uint32_t identity_hash(hash_word key) {
    return static_cast<std::uint32_t>(key);
}

int identity_compare(hash_word a, hash_word b) {
    return a == b ? 0 : 1;
}

hash_node* take_node(hash_word key, hash_word value) {
    hash_node* n = hash.free_nodes;
    if (n)
        hash.free_nodes = n->next;
    else
        n = static_cast<hash_node*>(alloc_mem(sizeof(hash_node)));
    n->value = value;
    n->key = key;
    n->next = nullptr;
    return n;
}

void release_node(hash_node* n) {
    n->next = hash.free_nodes;
    hash.free_nodes = n;
}

hash_node** bucket_of(const hash_table* t, hash_word key) {
    return &t->buckets[t->hash(key) % t->size];
}

hash_node** new_buckets(std::uint32_t size) {
    return static_cast<hash_node**>(alloc_mem(std::size_t{size} * sizeof(hash_node*)));
}

// Copies every chain of src, node by node and in order, into the empty
// table dst of the same size.
void copy_entries(hash_table* dst, const hash_table* src) {
    std::uint32_t left = src->count;
    for (std::uint32_t i = 0; i < src->size && left != 0; i++) {
        hash_node** tail = &dst->buckets[i];
        for (const hash_node* n = src->buckets[i]; n; n = n->next, left--) {
            *tail = take_node(n->key, n->value);
            tail = &(*tail)->next;
        }
    }
    dst->count = src->count;
}

}  // namespace

hash_table* hash_create(std::uint32_t size, hash_fn hash_of, hash_compare_fn compare) {
    assert(size != 0);
    auto* t = static_cast<hash_table*>(alloc_mem(sizeof(hash_table)));
    t->size = size;
    t->count = 0;
    t->hash = hash_of ? hash_of : identity_hash;
    t->compare = compare ? compare : identity_compare;
    t->buckets = new_buckets(size);
    return t;
}

int hash_insert(hash_table* t, hash_word key, hash_word value) {
    hash_node** link = bucket_of(t, key);
    for (; *link; link = &(*link)->next)
        if (t->compare(key, (*link)->key) == 0) return 0;
    *link = take_node(key, value);
    t->count++;
    return 1;
}

hash_word hash_lookup(const hash_table* t, hash_word key) {
    for (const hash_node* n = *bucket_of(t, key); n; n = n->next)
        if (t->compare(key, n->key) == 0) return n->value;
    return 0;
}

hash_word hash_remove(hash_table* t, hash_word key) {
    for (hash_node** link = bucket_of(t, key); *link; link = &(*link)->next) {
        hash_node* n = *link;
        if (t->compare(key, n->key) != 0) continue;
        hash_word value = n->value;
        *link = n->next;
        release_node(n);
        t->count--;
        return value;
    }
    return 0;
}

int hash_walk(const hash_table* t, void* context, hash_walk_fn fn) {
    for (std::uint32_t i = 0; i < t->size; i++) {
        for (const hash_node* n = t->buckets[i]; n; n = n->next) {
            int r = fn(context, n->key, n->value);
            if (r != 0) return r;
        }
    }
    return 0;
}

std::uint32_t hash_count(const hash_table* t) {
    return t->count;
}

void hash_clear(hash_table* t) {
    for (std::uint32_t i = 0; i < t->size && t->count != 0; i++) {
        hash_node* n = t->buckets[i];
        t->buckets[i] = nullptr;
        while (n) {
            hash_node* next = n->next;
            release_node(n);
            t->count--;
            n = next;
        }
    }
    t->count = 0;
}

void hash_destroy(hash_table* t) {
    if (!t) return;
    hash_clear(t);
    std::free(t->buckets);
    std::free(t);
}

hash_table* hash_clone(const hash_table* t) {
    hash_table* c = hash_create(t->size, t->hash, t->compare);
    copy_entries(c, t);
    return c;
}

hash_table* hash_assign(hash_table* dst, const hash_table* src) {
    if (!src) {
        hash_destroy(dst);
        return nullptr;
    }
    if (!dst) return hash_clone(src);
    if (dst == src) return dst;
    hash_clear(dst);
    if (dst->size != src->size) {
        std::free(dst->buckets);
        dst->buckets = new_buckets(src->size);
        dst->size = src->size;
    }
    dst->hash = src->hash;
    dst->compare = src->compare;
    copy_entries(dst, src);
    return dst;
}

namespace {

int push_value(void* context, hash_word, hash_word value) {
    vector_push(static_cast<vector*>(context), value);
    return 0;
}

int push_key(void* context, hash_word key, hash_word) {
    vector_push(static_cast<vector*>(context), key);
    return 0;
}

}  // namespace

vector* hash_values(const hash_table* t) {
    vector* v = vector_new();
    hash_walk(t, v, push_value);
    return v;
}

vector* hash_keys(const hash_table* t) {
    vector* v = vector_new();
    hash_walk(t, v, push_key);
    return v;
}

// Doubles and adds each character taken as signed, the terminating zero
// included, so the last step only doubles.
std::uint32_t hash_string(const char* s) {
    std::uint32_t h = 0;
    do {
        h = h * 2 + static_cast<std::uint32_t>(static_cast<signed char>(*s));
    } while (*s++ != '\0');
    return h;
}

void hash_reset() {
    while (hash_node* n = hash.free_nodes) {
        hash.free_nodes = n->next;
        std::free(n);
    }
    hash = {};
}
