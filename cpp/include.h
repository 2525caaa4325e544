// #include: the name, the search along the include directories, the set of
// included files.
#pragma once

#include <cstdint>

// Carries out #include; returns the line ends the main loop would have
// passed in the file when the file is passed over instead of read (else 0).
int do_include();
// do_include for a name that lies in the current line between the units
// `open` and `close` (its delimiters) with every unit between them one the
// reader hands out as it is; the reader stands after the directive's name.
int do_plain_include(const char16_t* open, const char16_t* close);
// ISO C, as gcc has it: #include_next looks for the name in the include
// directories after the one the current file was found in.
int do_include_next();
// ISO C, as gcc has it: "#pragma once" in an included file, whose "once"
// (with blanks or a line comment after it) is the rest of the line: the
// file is not included again. False, with nothing read, for any other
// pragma.
bool do_pragma_once();
int open_include(const char* path);
std::uint32_t include_name_hash(std::uintptr_t name);
// Releases the paths recorded in the included-files table of the last run.
void include_reset();
