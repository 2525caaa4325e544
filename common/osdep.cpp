// Operating-system services that are the same on every platform; the rest
// are in osdep_posix.cpp and osdep_win32.cpp.
#include "common/osdep.h"

#include <cctype>

char* str_upper(char* s) {
    if (!s) return nullptr;
    for (char* p = s; *p; p++) *p = static_cast<char>(std::toupper(static_cast<unsigned char>(*p)));
    return s;
}
