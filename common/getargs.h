// Reads argument words from a text or from standard input (a console with a
// prompt, or a command file), with quoted sections and line continuation.
#pragma once

#include <cstdio>

// Returns a new null-terminated vector: element 0 is "", then the words.
// The count (without the terminating null) is left in getargs_count.
char** read_arguments(const char* text, const char* prompt_name);
extern int getargs_count;

// The stream the words are read from when no text is given (standard input
// unless the caller replaced it, e.g. for an @file).
void getargs_set_input(std::FILE* in);
void getargs_reset();
