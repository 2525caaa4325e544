// The constant expressions of #if, #elif and #assert.
#pragma once

#include <cstdint>

// Rows of the sizeof table, in the order the -S lists fill them.
enum sizeof_row {
    SIZE_CHAR,
    SIZE_SHORT,
    SIZE_INT,
    SIZE_SHORT_LONG,
    SIZE_LONG,
    SIZE_FLOAT,
    SIZE_DOUBLE,
    SIZE_FUNCTION_POINTER,
    SIZE_ROWS
};

struct sizeof_entry {
    unsigned type_bits;
    std::uint16_t size;
    std::uint16_t pointer_size;
};

struct expr_state {
    sizeof_entry sizes[SIZE_ROWS] = {
        {1, 1, 4},  {16, 2, 4}, {2, 4, 4}, {1024, 4, 4},
        {32, 4, 4}, {4, 4, 4},  {8, 8, 4}, {512, 0, 4},
    };
};
extern expr_state expr;

std::uint64_t evaluate_condition();
void expr_reset();
