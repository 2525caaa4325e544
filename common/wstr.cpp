// Wide strings: zero-terminated arrays of 16-bit units, and their conversions
// to and from the narrow strings of file names, options and output. Bytes
// widen by zero extension; narrowing keeps the low 8 bits of a unit.
#include "common/wstr.h"

#include <cstring>

#include "common/alloc.h"

unsigned wstr_len(const wchar* s) {
    const wchar* p = s;
    while (*p) p++;
    return static_cast<unsigned>(p - s);
}

wchar* wstr_copy(wchar* dst, const wchar* src) {
    wchar* d = dst;
    while ((*d++ = *src++) != 0) {
    }
    return dst;
}

wchar* wstr_dup(const wchar* s) {
    std::size_t bytes = (std::size_t{wstr_len(s)} + 1) * sizeof(wchar);
    auto* d = static_cast<wchar*>(alloc_mem(bytes));
    std::memcpy(d, s, bytes);
    return d;
}

// Only the sign is promised: -1, 0 or 1, the units compared unsigned.
int wstr_cmp(const wchar* a, const wchar* b) {
    while (*a == *b && *a != 0) {
        a++;
        b++;
    }
    if (*a == *b) return 0;
    return *a < *b ? -1 : 1;
}

wchar* wstr_from_narrow(wchar* dst, const char* src) {
    wchar* d = dst;
    do {
        *d++ = static_cast<unsigned char>(*src);
    } while (*src++ != '\0');
    return dst;
}

// strncpy with widening: exactly n units are written, zero-padded when the
// source is shorter, unterminated when it is not.
wchar* wstr_from_narrow_n(wchar* dst, const char* src, unsigned n) {
    unsigned i = 0;
    for (; i < n && src[i] != '\0'; i++) dst[i] = static_cast<unsigned char>(src[i]);
    for (; i < n; i++) dst[i] = 0;
    return dst;
}

// A unit whose low byte is zero ends the narrow copy like the terminator.
char* wstr_to_narrow(char* dst, const wchar* src) {
    char* d = dst;
    char c;
    do {
        c = static_cast<char>(*src++ & 0xFF);
        *d++ = c;
    } while (c != '\0');
    return dst;
}

unsigned wstr_to_int(const wchar* s) {
    unsigned value = 0;
    for (; *s < 128 && *s >= '0' && *s <= '9'; s++) value = value * 10 + (*s - '0');
    return value;
}

const wchar* wstr_chr(const wchar* s, wchar c) {
    for (; *s; s++)
        if (*s == c) return s;
    return nullptr;
}

const wchar* wstr_rchr(const wchar* s, wchar c) {
    const wchar* p = s + wstr_len(s);
    while (p != s)
        if (*--p == c) return p;
    return nullptr;
}

// Unlike wstr_cmp this gives the difference at the first mismatch, the wide
// unit unsigned and the narrow character signed.
int wstr_cmp_narrow(const wchar* w, const char* s) {
    for (;; w++, s++) {
        int wu = *w;
        int nv = static_cast<signed char>(*s);
        if (wu != nv) return wu - nv;
        if (wu == 0) return 0;
    }
}
