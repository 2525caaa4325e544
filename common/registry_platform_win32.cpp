// The store of named installation values on Windows: the registry, read
// with RegOpenKeyExA and RegQueryValueExA; environment references expanded
// by the system; the program's own file as the system loaded it.
#include <windows.h>

#include <cstring>
#include <vector>

#include "registry_platform.h"

namespace {

constexpr DWORD VALUE_BUFFER = 2048;  // bytes a value may take
constexpr DWORD LONGEST_PATH = 32768;

HKEY root_key(int root) {
    switch (root) {
        case 2:
            return HKEY_CURRENT_CONFIG;
        case 3:
            return HKEY_CURRENT_USER;
        case 4:
            return HKEY_LOCAL_MACHINE;
        default:
            return HKEY_CLASSES_ROOT;
    }
}

}  // namespace

// A value too large for the buffer fails with ERROR_MORE_DATA (234).
unsigned platform_query_value(int root, const char* key, const char* value, unsigned access,
                              registry_value* out) {
    HKEY k;
    LONG rc = RegOpenKeyExA(root_key(root), key, 0, KEY_READ | access, &k);
    if (rc != ERROR_SUCCESS) return static_cast<unsigned>(rc);
    char buf[VALUE_BUFFER];
    DWORD type = 0;
    DWORD size = sizeof buf;
    rc = RegQueryValueExA(k, value, nullptr, &type, reinterpret_cast<BYTE*>(buf), &size);
    RegCloseKey(k);
    if (rc != ERROR_SUCCESS) return static_cast<unsigned>(rc);
    out->type = type;
    if (type == REG_DWORD && size == 4) {
        std::memcpy(&out->dword, buf, 4);
    } else if (type == REG_DWORD) {
        out->type = REG_BINARY;  // a DWORD of another size is no number
    } else {
        // The stored text need not carry its terminator.
        out->text.assign(buf, size != 0 && buf[size - 1] == '\0' ? size - 1 : size);
    }
    return 0;
}

unsigned platform_expand_environment(const char* src, char* dst, unsigned size) {
    return ExpandEnvironmentStringsA(src, dst, size);
}

// The full path the system loaded the program from; the buffer grows until
// the path fits.
bool platform_program_path(std::string* out) {
    for (DWORD size = MAX_PATH + 1; size <= LONGEST_PATH; size *= 2) {
        std::vector<char> buf(size);
        DWORD n = GetModuleFileNameA(nullptr, buf.data(), size);
        if (n == 0) return false;
        if (n < size) {
            out->assign(buf.data(), n);
            return true;
        }
    }
    return false;
}
