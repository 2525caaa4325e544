// Writing an argument's output again. Where a macro's replacement names a
// parameter more than once, its argument is read again at every reference,
// the macros in it expanded anew each time, though between two references
// in one expansion nothing that decides what it gives can change: the
// sources beneath are the same, no directive can be read, the macros being
// expanded are the same. So when the text-line copy reads such an argument
// the first time, what it writes is kept, as long as the reading begins and
// ends within the argument's own text (the unit after the reference, a ')'
// or ',', is all it may look at beyond it) and neither reports nor moves
// the line. A later reference of the same expansion, met where the first
// was (between tokens, as many blanks pending, the same pops owed, a ')' or
// ',' after it), writes the kept bytes instead of reading the argument and
// leaves the reader as the reading did, the reading's steps of the expansion
// depth followed from where this reference stands. Only the toolchain's
// dialect does this; ISO C replaces an argument once.
#pragma once

#include "cpp/macro_def.h"
#include "cpp/reader.h"

struct replay_state_flags {
    bool keeping = false;  // an argument's output is being kept
};
extern replay_state_flags replay_flags;

// At the top of the token loop, before the bulk copy: the keeping under way
// ends when the reading has come back to the unit after its reference.
// True when the bulk copy is to be left out this once.
bool replay_before_copy_slow(int blanks);
inline bool replay_before_copy(int blanks) {
    return replay_flags.keeping && replay_before_copy_slow(blanks);
}

// After the bulk copy, with a parameter reference next in the current
// source, a macro text: writes the argument's kept output, leaving the
// reader and blanks as its reading did, or pushes the argument and begins
// to keep its output. Returns -1 when the loop is to read on as it would
// have, REPLAY_READ_ON when it is to go on from the top, else the unit read
// after the argument (which the kept reading ended with).
constexpr int REPLAY_READ_ON = -2;
int replay_at_reference(int& blanks);
inline bool at_parameter_reference() {
#if CPP_READER_FAST_PATH
    const input_source* s = reader.current_source;
    return s != nullptr && !reader.bookkeeping && s->macro != nullptr && *s->pos >= MARK_PARAM0 &&
           *s->pos <= MARK_PARAM_LAST;
#else
    return false;  // the slow reader, which the differential runs compare with
#endif
}

// After the token loop's read of the next unit: the keeping under way ends
// when that unit is the one after its reference (which is not written yet).
void replay_after_read_slow(int blanks);
inline void replay_after_read(int blanks) {
    if (replay_flags.keeping) replay_after_read_slow(blanks);
}

// The token loop ends its line: a keeping under way is dropped.
void replay_drop_keeping();

void replay_reset();
