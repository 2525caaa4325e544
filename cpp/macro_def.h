// The record of one macro: its name, its encoded replacement text and what
// expansion keeps on it. Every subsystem that holds on to a macro while it
// is read (the input sources among them) knows it by this record.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>

#include "common/wstr.h"
#include "cpp/char_class.h"

// The owner of a macro's name or body: a text ended by a 0, in the small
// pool (a program may define tens of thousands of macros).
struct macro_text_deleter {
    void operator()(wchar* p) const noexcept;
};
using macro_text = std::unique_ptr<wchar[], macro_text_deleter>;
// A copy of a text ended by a 0 (up to it) as a macro's name or body.
macro_text macro_text_dup(const wchar* s);

constexpr int BODY_UNMEASURED = -1;
constexpr int BODY_BUILT = -2;

struct macro_def {
    macro_def* next = nullptr;        // next record of the same bucket chain
    macro_def* index_next = nullptr;  // next record of the same look-up index slot
    macro_text body;                  // encoded replacement text; null when dynamic
    std::uint32_t index_hash = 0;     // full hash of the name for the look-up index
    std::uint32_t hash = 0;
    // While the record waits for its place in a chain: its place in the
    // order of installation (from 1); 0 once it is in its chain.
    std::uint32_t install_order = 0;
    // What expansion learnt of body the first time: its length when it is
    // the expansion text as it stands (no stringise or paste mark, not too
    // long), BODY_BUILT when the text must be built, BODY_UNMEASURED before.
    // Whoever replaces the body of a record that may have been expanded sets
    // it back to BODY_UNMEASURED.
    int body_length = BODY_UNMEASURED;
    // Learnt with body_length: a bit for each parameter (of the first 16)
    // that body names more than once.
    std::uint16_t repeated_refs = 0;
    std::int16_t nparams = 0;       // -1 object-like, -2 __LINE__, -3 __FILE__
    std::uint16_t name_length = 0;  // 0 only for a mark made without a name
    signed char active = 0;
    bool body_refers : 1 = false;  // body holds a parameter reference
    bool variadic : 1 = false;     // ISO C: the last parameter takes the rest of the arguments
    // An object-like macro whose expansion is not to be put together at
    // once (see flat_expansion.h): its replacement names no macro, or its
    // walk failed wherever it is met. Whoever replaces the body clears it.
    bool no_flat : 1 = false;
    // A walk that put an expansion together went through the record and is
    // kept: whoever replaces or removes the body tells flat_expansion_forget.
    bool flat_kept : 1 = false;

    // The name, ended by a 0. Its units follow the record in the same block,
    // so that the look-up that reaches a record finds its name beside it.
    const wchar* name() const noexcept {
        return name_length != 0 ? reinterpret_cast<const wchar*>(this + 1) : u"";
    }
    // A record named by the n units at name (and a 0), in one block of the
    // small pool; give it back with destroy.
    static macro_def* make(const wchar* name, std::size_t n);
    static void destroy(macro_def* m) noexcept;
};
static_assert(alignof(macro_def) >= alignof(wchar));

constexpr int MAX_PARAMS = 31;
// ISO C: as many parameters (and arguments) as parameter references exist.
constexpr int ISO_MAX_PARAMS = MARK_PARAM_LAST - MARK_PARAM0 + 1;
// A record's nparams holds any count a definition may give (the variable
// arguments one more), and the record with a name of a few units fills two
// cache lines at the most.
static_assert(ISO_MAX_PARAMS + 1 <= INT16_MAX);
static_assert(sizeof(macro_def) <= 48);
