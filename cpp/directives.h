// Directive lines and the conditional-compilation stack.
#pragma once

#include <cstdint>
#include <vector>

enum cond_flag : std::uint8_t {
    COND_OUTER_LIVE = 1,  // the text around the conditional was live
    COND_ELSE_SEEN = 2,   // its #else has been read
    COND_TAKEN = 4,       // one of its groups has been selected
};

struct cond_entry {
    std::uint8_t flags = 0;
    std::int32_t line = 0;
};

constexpr int COND_STACK_SIZE = 32;  // entry 0 is the base: 31 open levels

struct conditional_state {
    // The toolchain's dialect keeps it at COND_STACK_SIZE entries; ISO C
    // grows it as far as memory allows (and then cond_top moves with it).
    std::vector<cond_entry> cond_stack = std::vector<cond_entry>(COND_STACK_SIZE);
    cond_entry* cond_top = nullptr;  // the top entry; cond_stack.data() when none is open
    std::uint8_t cond_active = 1;
    // Conditionals opened while all 31 levels were in use: counted for their
    // #endif only, all their groups skipped.
    int overflow = 0;
    std::uint8_t overflow_outer = 0;  // cond_active before the first of them
};
extern conditional_state conditional;

// Carries out the directive whose '#' has been read; `pending` is the number
// of line ends owed to the output, the result the number owed afterwards.
int control(int pending);
// Carries out a line that begins "#include <name>" or "#include "name"" at
// the current position of a file's line buffer, when nothing up to the
// name's end needs the reader's look, as reading its '#' and calling
// control would (`pending` as there); false, with nothing read, otherwise.
bool control_include_line(int& pending);
void test_condition(int code);
void directives_reset();
