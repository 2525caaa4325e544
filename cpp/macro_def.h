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
    macro_text name;
    std::uint32_t index_hash = 0;  // full hash of the name for the look-up index
    std::uint32_t hash = 0;
    int nparams = 0;      // -1 object-like, -2 __LINE__, -3 __FILE__
    int pending_at = -1;  // place in macros.pending while not yet in a chain
    // What expansion learnt of body the first time: its length when it is
    // the expansion text as it stands (no stringise or paste mark, not too
    // long), BODY_BUILT when the text must be built, BODY_UNMEASURED before.
    // Whoever replaces the body of a record that may have been expanded sets
    // it back to BODY_UNMEASURED.
    int body_length = BODY_UNMEASURED;
    signed char active = 0;
    bool body_refers = false;  // body holds a parameter reference
    bool variadic = false;     // ISO C: the last parameter takes the rest of the arguments

    static void* operator new(std::size_t bytes);
    static void operator delete(void* p, std::size_t bytes);
};

constexpr int MAX_PARAMS = 31;
// ISO C: as many parameters (and arguments) as parameter references exist.
constexpr int ISO_MAX_PARAMS = MARK_PARAM_LAST - MARK_PARAM0 + 1;
