// #include: the name, the search along the include directories, the set of
// included files.
#pragma once

#include <cstdint>

// Carries out #include; returns the line ends the main loop would have
// passed in the file when the file is passed over instead of read (else 0).
int do_include();
// ISO C, as gcc has it: #include_next looks for the name in the include
// directories after the one the current file was found in.
int do_include_next();
int open_include(const char* path);
std::uint32_t include_name_hash(std::uintptr_t name);
// Releases the paths recorded in the included-files table of the last run.
void include_reset();
