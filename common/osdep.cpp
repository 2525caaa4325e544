// Operating-system services that are the same on every platform; the rest
// are in osdep_posix.cpp and osdep_win32.cpp.
#include "common/osdep.h"

#include <cctype>
#include <cerrno>

int open_failure_reason(const char* path, int error) {
    if (path != nullptr && path_is_directory(path)) return EISDIR;
    return error != 0 ? error : EIO;
}

char* str_upper(char* s) {
    if (!s) return nullptr;
    for (char* p = s; *p; p++) *p = static_cast<char>(std::toupper(static_cast<unsigned char>(*p)));
    return s;
}
