// Macro expansion: argument collection, stringising, pasting, rescanning and
// recursion control.
#pragma once

#include <array>
#include <cstddef>

#include "common/wstr.h"

struct macro_def;

// Expansions nested this deep end the expansion (115).
constexpr int MAX_EXPANSION_DEPTH = 1000;

int expand_if_macro(int c);
int expand_macro(macro_def* m);
void push_argument(int index);
int paste_tokens();
void expand_reset();

// The steps the ISO C expansion shares with the toolchain's own.
// Looks for the '(' of a call across blanks, end marks and line ends; when
// there is none, what was passed is given back.
bool find_open_paren();
// Reports a call nested too deeply (115) with the outermost macro's name.
void report_nesting(const macro_def* m);
// ISO C: expands m (no __LINE__ or __FILE__) whose name has just been read;
// 1 when a replacement was pushed, 0 when the name stands for itself (its
// name is then in the identifier buffer again).
int expand_iso_macro(macro_def* m);
// ISO C: pushes the n units at t as m's replacement, to be rescanned.
void push_iso_replacement(macro_def* m, const wchar* t, std::size_t n);
void expand_iso_reset();

// What a unit of a text is to the bulk takes of tokens from it (in both
// dialects); the kinds up to TU_COMMA end the take of an argument's
// tokens that need no care.
enum text_unit : unsigned char {
    TU_STOP,   // the reader must hand it out
    TU_BLANK,  // a blank the reader hands out as it stands
    TU_QUOTE,
    TU_OPEN,
    TU_CLOSE,
    TU_COMMA,
    TU_NAME,
    TU_DIGIT,
    TU_DOT,
    TU_OTHER,
};
extern const std::array<text_unit, 256> text_units;
inline text_unit text_unit_of(wchar u) {
    return u < 256 ? text_units[u] : TU_STOP;
}
