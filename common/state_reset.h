// Puts a run's state record back to its initial value where it lies.
#pragma once

#include <memory>
#include <new>

// Assigning a freshly made record (`state = {}`) builds the whole of it on
// the stack first and copies it over, which for a record holding tens of
// KiB of buffers touches every page of both. This destroys the record and
// makes it anew in place: its members take their initial values, and a
// buffer member declared without one keeps the units it holds (the run
// writes such a buffer before it reads it).
template <class T>
void renew_in_place(T& state) {
    std::destroy_at(&state);
    ::new (static_cast<void*>(&state)) T;
}
