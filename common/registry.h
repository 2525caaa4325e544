// Named installation values. On Windows these live in the registry; on Linux
// "language" comes from the POSIX locale and "instdir" from ZQT_INSTDIR.
#pragma once

#include <cstdint>

struct registry_string {
    char* text = nullptr;  // owned by the caller (std::free), absent on failure
    unsigned size = 0;     // bytes including the terminator
    unsigned error = 0;    // 0 on success, else a Win32-style error code
};

unsigned registry_get_dword(int root, const char* key, const char* value, std::uint32_t* result,
                            unsigned access);
unsigned registry_product_dword(const char* value, std::uint32_t* result);
registry_string registry_get_string(int root, const char* key, const char* value, unsigned access);
char* install_dir(int subfolder);
char* install_path(int subfolder, const char* name);

// The program's own file for when the operating system cannot name it (the
// driver passes argv[0]).
void registry_set_program_path(const char* path);
// The installation directory a program file implies: the parent of its
// folder when that folder is named "bin" (any letter case); none otherwise.
char* install_dir_of_program(const char* program_path);
