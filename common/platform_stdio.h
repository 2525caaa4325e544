// Stream calls without the stream lock, under one set of names on every
// platform: the program is single-threaded, and these are the calls of its
// output loop. The C library of Linux has them as they are named here. The
// Windows one has _putc_nolock; fwrite, called once for many lines, keeps
// its lock there.
#pragma once

#include <cstdio>
#include <cstring>

#ifdef _WIN32
inline int putc_unlocked(int c, std::FILE* f) {
    return _putc_nolock(c, f);
}
inline std::size_t fwrite_unlocked(const void* p, std::size_t size, std::size_t n, std::FILE* f) {
    return std::fwrite(p, size, n, f);
}
inline int ferror_unlocked(std::FILE* f) {
    return std::ferror(f);
}
#endif

// Appends bytes to a stream: straight into its buffer when it has room (as
// putc does), else through fwrite.
inline void write_bytes_unlocked(std::FILE* f, const char* text, std::size_t n) {
#ifdef __GLIBC__
    if (static_cast<std::size_t>(f->_IO_write_end - f->_IO_write_ptr) >= n) {
        std::memcpy(f->_IO_write_ptr, text, n);
        f->_IO_write_ptr += n;
        return;
    }
#endif
    fwrite_unlocked(text, 1, n, f);
}

// The same for the few bytes a copy of macro text mostly gathers, from a
// buffer that has SHORT_WRITE readable bytes at text: up to that many are
// moved as one block, with no call, when the stream's buffer has room for
// the block (the bytes past n are written over later or never written out).
constexpr std::size_t SHORT_WRITE = 16;
inline void write_short_bytes_unlocked(std::FILE* f, const char* text, std::size_t n) {
#ifdef __GLIBC__
    if (n <= SHORT_WRITE &&
        static_cast<std::size_t>(f->_IO_write_end - f->_IO_write_ptr) >= SHORT_WRITE) {
        std::memcpy(f->_IO_write_ptr, text, SHORT_WRITE);
        f->_IO_write_ptr += n;
        return;
    }
#endif
    write_bytes_unlocked(f, text, n);
}
