// Object-like macros expanded in one step. The expansion of an object-like
// macro whose replacement names only other object-like macros, each set
// apart by blanks, parentheses or commas, and so on down to replacements of
// numbers and operators alone, is the same wherever the text-line copy or a
// rescan reads it: no name is left in it to expand or not, and no token of
// it runs into another. Its text is then put together at once, walking the
// replacements, and read as the macro's one expansion text instead of one
// text for every macro on the way (the chains of constants that headers
// define run eight or more deep).
//
// Read one by one, the texts also move the expansion depth, which decides
// where expansion stops (and, in ISO C, the line __LINE__ gives): a text
// that ends with a name ends together with that name's, and the reader
// never gives back the step of one of them; the unit read after a text
// ends owes the step to the text below, paid off by the next unit read
// there. So the walk also ends at a replacement that ends with a name,
// except the outermost one's last name followed by a single unit, which is
// read the way the reader would leave it (see flat_text). It ends too at a
// name that is no such macro or is being expanded, at a literal or a mark,
// at blanks that an expansion's edge would keep apart, and when it goes too
// long or too deep; the macro is then expanded as always.
//
// A walk that succeeded is kept, and read again at the macro's next
// expansion, or taken whole by a walk that reaches the macro, until a
// definition it went through is replaced or removed.
#pragma once

#include <cstddef>

#include "common/wstr.h"
#include "cpp/macro_def.h"

// An expansion put together: its text (in a buffer of its own up to the
// next call) and how deep the expansions of the walk went, m's counted.
// When m's replacement ends with a macro's name and one unit, last_named is
// that macro, and the unit is the text's at last_unit_at: read one by one,
// the unit's read after that macro's text ends owes the text below m a step
// of the depth, which nothing in m's text pays off. The text up to the unit
// is then to be read as that macro's, above m's text of the one unit.
struct flat_text {
    const wchar* text = nullptr;
    std::size_t length = 0;
    int levels = 0;
    macro_def* last_named = nullptr;
    std::size_t last_unit_at = 0;
};

// m's expansion put together, or false (then m is expanded as always); for
// an object-like macro whose record is not marked no_flat (the caller tests
// the mark inline, before the call).
bool flat_expansion(macro_def* m, flat_text& out);

// Called before the definition of m is replaced or removed: the walks kept
// that went through it are stale.
void flat_expansion_forget(macro_def* m);

void flat_expansion_reset();
