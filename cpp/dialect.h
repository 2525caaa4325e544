// The language a run preprocesses: the toolchain's own dialect, or ISO C
// (C99 translation phases 1 to 4) chosen with --std=. Every subsystem that
// behaves differently for ISO C reads this state; the driver resets it with
// the rest of a run's state, so one process may run both dialects.
#pragma once

struct dialect_state {
    // ISO C: arguments macro-replaced before substitution, variadic macros,
    // empty arguments, _Pragma, 64-bit #if, digraphs, phase-3 lexing of
    // skipped groups, splices inside literals, larger limits.
    bool iso = false;
    // The value of __STDC_VERSION__ (0 in the toolchain's own dialect).
    long version = 0;
};
extern dialect_state dialect;

// Sets the dialect from the value of --std= (c99, c11, c17 or c18, in
// either letter case); false, with nothing changed, for any other value.
bool dialect_select(const char* name);
// Looks through the arguments for the last --std= before any other option
// is applied: the predefined macros the dialect brings are installed before
// -D and -U act, as the other predefined macros are.
void dialect_scan_arguments(int argc, char** argv);
void dialect_reset();
