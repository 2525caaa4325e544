// Wide strings: zero-terminated arrays of 16-bit units. File bytes widen to
// units 0..255 by zero extension; narrowing keeps the low 8 bits. A few units
// above the byte range are markers used inside macro text (see cpp/scanner.h).
#pragma once

#include <cstdlib>
#include <memory>

using wchar = char16_t;

// Owner of a wide string allocated through alloc_mem / wstr_dup.
struct free_deleter {
    void operator()(void* p) const noexcept { std::free(p); }
};
using wstr_ptr = std::unique_ptr<wchar[], free_deleter>;

unsigned wstr_len(const wchar* s);
wchar* wstr_copy(wchar* dst, const wchar* src);
wchar* wstr_dup(const wchar* s);               // caller frees (std::free or wstr_ptr)
int wstr_cmp(const wchar* a, const wchar* b);  // -1, 0 or 1
wchar* wstr_from_narrow(wchar* dst, const char* src);
wchar* wstr_from_narrow_n(wchar* dst, const char* src, unsigned n);
char* wstr_to_narrow(char* dst, const wchar* src);
unsigned wstr_to_int(const wchar* s);
const wchar* wstr_chr(const wchar* s, wchar c);
const wchar* wstr_rchr(const wchar* s, wchar c);
int wstr_cmp_narrow(const wchar* w, const char* s);
