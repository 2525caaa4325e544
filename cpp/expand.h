// Macro expansion: argument collection, stringising, pasting, rescanning and
// recursion control.
#pragma once

struct macro_def;

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
void expand_iso_reset();
