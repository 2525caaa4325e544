// Checked allocation and heap-built strings. Every block of the program comes
// from here, the ones C++ containers ask for included: the global operator
// new is replaced below so that running out of memory always ends the run the
// same way, with "can't allocate N bytes of memory" and status 1.
#include "common/alloc.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <new>

namespace {

struct alloc_state {
    alloc_exit_fn exit_hook = nullptr;  // the driver's exit_program, once installed
};

alloc_state alloc;

// The longest text alloc_vprintf returns; longer results are cut.
constexpr std::size_t format_limit = 4095;

// malloc(0) may legally give null; a zero-byte request still gets a block.
void* raw_block(std::size_t size) {
    return std::malloc(size != 0 ? size : 1);
}

// An over-aligned block, the same way on every platform: a plain block with
// room to move its start up to the alignment, and the plain block's address
// kept just below that start for aligned_free.
void* aligned_block(std::size_t size, std::align_val_t align) {
    std::size_t a = static_cast<std::size_t>(align);
    if (a < sizeof(void*)) a = sizeof(void*);
    if (size > SIZE_MAX - a - sizeof(void*)) return nullptr;
    void* base = std::malloc(size + a + sizeof(void*));
    if (!base) return nullptr;
    std::uintptr_t start =
        (reinterpret_cast<std::uintptr_t>(base) + sizeof(void*) + a - 1) & ~(a - 1);
    reinterpret_cast<void**>(start)[-1] = base;
    return reinterpret_cast<void*>(start);
}

void aligned_free(void* p) {
    if (p) std::free(static_cast<void**>(p)[-1]);
}

}  // namespace

void alloc_set_exit_hook(alloc_exit_fn fn) {
    alloc.exit_hook = fn;
}

[[noreturn]] void alloc_fail(std::size_t size) {
    std::fprintf(stderr, "can't allocate %zu bytes of memory\n", size);
    std::fflush(stderr);
    if (alloc.exit_hook) alloc.exit_hook(1);
    // A hook that returns breaks its contract; the run still has to end.
    std::exit(1);
}

void* alloc_mem(std::size_t size) {
    void* p = raw_block(size);
    if (!p) alloc_fail(size);
    std::memset(p, 0, size);
    return p;
}

// Formats into a stack scratch area with room for format_limit characters and
// returns an exactly sized copy; an over-long result is cut with a warning.
char* alloc_vprintf(const char* fmt, va_list ap) {
    char scratch[format_limit + 1];
    scratch[0] = '\0';
    int n = std::vsnprintf(scratch, sizeof scratch, fmt, ap);
    scratch[format_limit] = '\0';
    if (n > static_cast<int>(format_limit)) std::fputs("buffer overflow in vsnprintf", stderr);
    std::size_t len = std::strlen(scratch);
    char* s = static_cast<char*>(alloc_mem(len + 1));
    std::memcpy(s, scratch, len);
    return s;
}

char* alloc_printf(const char* fmt, ...) {
    va_list ap;
    va_start(ap, fmt);
    char* s = alloc_vprintf(fmt, ap);
    va_end(ap);
    return s;
}

char* alloc_concat(const char* a, const char* b) {
    std::size_t la = std::strlen(a);
    std::size_t lb = std::strlen(b);
    char* s = static_cast<char*>(alloc_mem(la + lb + 1));
    std::memcpy(s, a, la);
    std::memcpy(s + la, b, lb);
    return s;
}

// The global allocation functions. The throwing forms never return null:
// they end the run like alloc_mem. The nothrow forms keep their promise of a
// null result, for the callers that ask for one.

void* operator new(std::size_t size) {
    void* p = raw_block(size);
    if (!p) alloc_fail(size);
    return p;
}

void* operator new[](std::size_t size) {
    return ::operator new(size);
}

void* operator new(std::size_t size, const std::nothrow_t&) noexcept {
    return raw_block(size);
}

void* operator new[](std::size_t size, const std::nothrow_t&) noexcept {
    return raw_block(size);
}

void* operator new(std::size_t size, std::align_val_t align) {
    void* p = aligned_block(size, align);
    if (!p) alloc_fail(size);
    return p;
}

void* operator new[](std::size_t size, std::align_val_t align) {
    return ::operator new(size, align);
}

void* operator new(std::size_t size, std::align_val_t align, const std::nothrow_t&) noexcept {
    return aligned_block(size, align);
}

void* operator new[](std::size_t size, std::align_val_t align, const std::nothrow_t&) noexcept {
    return aligned_block(size, align);
}

void operator delete(void* p) noexcept {
    std::free(p);
}
void operator delete[](void* p) noexcept {
    std::free(p);
}
void operator delete(void* p, std::size_t) noexcept {
    std::free(p);
}
void operator delete[](void* p, std::size_t) noexcept {
    std::free(p);
}
void operator delete(void* p, const std::nothrow_t&) noexcept {
    std::free(p);
}
void operator delete[](void* p, const std::nothrow_t&) noexcept {
    std::free(p);
}
void operator delete(void* p, std::align_val_t) noexcept {
    aligned_free(p);
}
void operator delete[](void* p, std::align_val_t) noexcept {
    aligned_free(p);
}
void operator delete(void* p, std::size_t, std::align_val_t) noexcept {
    aligned_free(p);
}
void operator delete[](void* p, std::size_t, std::align_val_t) noexcept {
    aligned_free(p);
}
void operator delete(void* p, std::align_val_t, const std::nothrow_t&) noexcept {
    aligned_free(p);
}
void operator delete[](void* p, std::align_val_t, const std::nothrow_t&) noexcept {
    aligned_free(p);
}
