// #include: the name, the search along the include directories, the set of
// included files.
#pragma once

#include <cstdint>

void do_include();
int open_include(const char* path);
std::uint32_t include_name_hash(std::uintptr_t name);
// Releases the paths recorded in the included-files table of the last run.
void include_reset();
