// Checked allocation and heap-built strings. Every allocation of the program,
// C++ containers included, ends the run with "can't allocate %u bytes of
// memory" on failure, so callers never test for null.
#pragma once

#include <cstdarg>
#include <cstddef>

// The routine that ends the run (the driver's exit_program). It must not
// return. Until one is installed a failed allocation calls std::exit(1).
using alloc_exit_fn = void (*)(int status);
void alloc_set_exit_hook(alloc_exit_fn fn);

void* alloc_mem(std::size_t size);  // zero-filled; release with std::free
char* alloc_vprintf(const char* fmt, va_list ap);
char* alloc_printf(const char* fmt, ...) __attribute__((format(printf, 1, 2)));
char* alloc_concat(const char* a, const char* b);

// Reports the failure and ends the run; shared with the global operator new.
[[noreturn]] void alloc_fail(std::size_t size);
