// The macro table, the encoded replacement text, #define and #undef.
#pragma once

#include <cstdint>
#include <memory>

#include "common/wstr.h"

struct macro_def {
    macro_def* next = nullptr;  // next record of the same bucket chain
    wstr_ptr body;              // encoded replacement text; null when dynamic
    std::uint32_t hash = 0;
    int nparams = 0;  // -1 object-like, -2 __LINE__, -3 __FILE__
    signed char active = 0;
    wstr_ptr name;
};

constexpr int MACRO_BUCKETS = 64;
constexpr int PARAM_POOL_SIZE = 16384;
constexpr int MAX_PARAMS = 31;

struct macro_state {
    macro_def* macro_table[MACRO_BUCKETS] = {};
    wchar param_pool[PARAM_POOL_SIZE] = {};
    wchar* pool_ptr = param_pool;
    // Records removed while a live input source still named them, chained
    // through `next`; freed once nothing refers to them, at the latest by
    // macros_reset.
    macro_def* retired = nullptr;
};
extern macro_state macros;

macro_def* macro_install(const wchar* name, int remove_only);
macro_def* scan_and_find_macro(int c);
void do_define();
void do_undef();
// Appends to the parameter pool; reports the full pool (149).
int pool_char(int c);
void macros_reset();
