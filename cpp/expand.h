// Macro expansion: argument collection, stringising, pasting, rescanning and
// recursion control.
#pragma once

struct macro_def;

int expand_if_macro(int c);
int expand_macro(macro_def* m);
void push_argument(int index);
int paste_tokens();
void expand_reset();
// True while the expansion state itself holds on to the record (the
// outermost macro of the expansion in progress).
bool expansion_refers_to(const macro_def* m);
