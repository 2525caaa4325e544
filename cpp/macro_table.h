// The macro table, the encoded replacement text, #define and #undef.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <vector>

#include "common/wstr.h"
#include "cpp/macro_def.h"
#include "cpp/scanner.h"

constexpr int MACRO_BUCKETS = 64;
constexpr int PARAM_POOL_SIZE = 16384;

struct macro_state {
    macro_def* macro_table[MACRO_BUCKETS] = {};
    wchar param_pool[PARAM_POOL_SIZE];  // written before it is read
    wchar* pool_ptr = param_pool;
    // Records removed while a live input source still named them, chained
    // through `next`; freed once nothing refers to them, at the latest by
    // macros_reset.
    macro_def* retired = nullptr;
    // Records whose call is being read: a directive among its argument
    // lines may remove or redefine the name, but the record the call began
    // with stays whole (body and all) until the call is replaced.
    std::vector<const macro_def*> held;
    // Look-up index beside the chains: slots of records by a well-mixed hash
    // of the whole name, grown to keep at most two records a slot on average
    // (the slots of a large table are a good part of its memory). The chains
    // alone decide the order listings see.
    std::vector<macro_def*> index;
    std::size_t index_count = 0;
    // Counts the records installed and removed (from 1), so that a caller
    // may keep what a look-up answered while the count stands.
    std::uint64_t changes = 1;
    // The record the last look-up found, while the index is unchanged (null
    // after any install or removal).
    macro_def* found_last = nullptr;
    // Records installed since the chains were last put in order wait
    // outside them, each with its place in the order of installation. Only a
    // listing walks the chains, so a record takes its place in its chain
    // when one is asked for, not at every #define.
    std::size_t unsettled = 0;
    std::uint32_t install_count = 0;
    // One bit for each lead pair of a name installed since the run began
    // (removal leaves its bit: the filter may only err on the side of a
    // look-up).
    std::array<std::uint64_t, 1024> lead_pairs{};
    // The parameter names of the #define being read (see do_define).
    std::vector<const wchar*> param_names;
    // Adds a row for a macro defined or expanded to the information report,
    // while one is written.
    void (*report_row)(const macro_def* m) = nullptr;
};
extern macro_state macros;

// Puts the records that wait into their chains, in the order they were
// installed; call before walking them.
void macro_table_settle();

macro_def* macro_install(const wchar* name, int remove_only);

// Keeps m whole, removed or not, while the guard lives.
class macro_hold {
   public:
    explicit macro_hold(const macro_def* m) { macros.held.push_back(m); }
    ~macro_hold() { macros.held.pop_back(); }
    macro_hold(const macro_hold&) = delete;
    macro_hold& operator=(const macro_hold&) = delete;
};
macro_def* scan_and_find_macro(int c);

// The key of a name for the lead-pair filter: its first two units (the
// second 0 for a name of one unit), low bytes only.
template <class Unit>
inline std::size_t lead_pair(const Unit* name, std::size_t n) {
    return static_cast<std::size_t>((name[0] & 0xFF) << 8 | (n >= 2 ? name[1] & 0xFF : 0));
}
// False when no name in the table begins as the n units at name do, so
// that the name is certainly no macro; most names of ordinary text are
// answered so without a look-up.
template <class Unit>
inline bool may_be_macro_name(const Unit* name, std::size_t n) {
    std::size_t key = lead_pair(name, n);
    return (macros.lead_pairs[key / 64] >> (key % 64) & 1) != 0;
}
// Lets the names that begin as name (of n units) through the filter, for a
// name that is no macro but needs the token loop all the same.
template <class Unit>
inline void pass_lead_pair(const Unit* name, std::size_t n) {
    std::size_t key = lead_pair(name, n);
    macros.lead_pairs[key / 64] |= std::uint64_t{1} << (key % 64);
}
// The record of the name of n units at name that a file source's text
// would expand (present and not being expanded), or null; the identifier
// buffer is left as it is.
macro_def* find_expandable(const wchar* name, std::size_t n);
// Whether the name of n units at name is in the table at all (being
// expanded or not).
bool is_defined(const wchar* name, std::size_t n);
// The record of the name of n units at name, being expanded or not, or null.
macro_def* find_macro(const wchar* name, std::size_t n);

// Units of a name that the reader hands out as they stand.
extern const std::array<bool, 256> plain_name_unit;

void do_define();
void do_undef();
// Appends to the parameter pool; reports the full pool (149).
int pool_char_slow(int c);
inline int pool_char(int c) {
    // The last unit is kept for a terminator so that every text collected
    // in the pool can be closed.
    if (c != 0 && c != MARK_END && macros.pool_ptr < macros.param_pool + PARAM_POOL_SIZE - 1) {
        *macros.pool_ptr++ = static_cast<wchar>(c);
        return 0;
    }
    return pool_char_slow(c);
}
void macros_reset();
