// The platform side of the registry module: a store of named values read by
// key path and value name, the expansion of environment references, and the
// program's own file. Windows reads its registry (registry_platform_win32);
// Linux serves the two values the toolchain needs from the locale and the
// environment (registry_platform_posix).
#pragma once

#include <cstdint>
#include <string>

// Value types, numbered as the Windows registry numbers them.
enum registry_type : unsigned {
    REGISTRY_NONE = 0,
    REGISTRY_SZ = 1,
    REGISTRY_EXPAND_SZ = 2,
    REGISTRY_DWORD = 4,
};

// Win32 error codes the module passes on.
constexpr unsigned REGISTRY_NOT_FOUND = 2;
constexpr unsigned REGISTRY_MORE_DATA = 234;
constexpr unsigned REGISTRY_BAD_TYPE = 160;

struct registry_value {
    unsigned type = REGISTRY_NONE;
    std::string text;         // string types
    std::uint32_t dword = 0;  // REGISTRY_DWORD
};

// The key of the product and the key of its installation below it.
const char* registry_product_key();
const char* registry_install_key();

// Reads one value; returns 0 or a Win32 error code.
unsigned platform_query_value(int root, const char* key, const char* value, unsigned access,
                              registry_value* out);
// Expands %NAME% references into dst (size bytes). Returns the length the
// expansion needs with its terminator, as the Windows call does; when that is
// more than size, dst holds nothing useful.
unsigned platform_expand_environment(const char* src, char* dst, unsigned size);
// The program's own file, as the operating system knows it.
bool platform_program_path(std::string* out);
