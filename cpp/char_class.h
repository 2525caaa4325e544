// Character classes and the marker units of encoded macro text: what every
// reader of text, down to the character reader, asks of a unit.
#pragma once

#include <array>

#include "common/wstr.h"

// Units that never occur in files (file bytes are below 256).
enum marker : wchar {
    MARK_STRINGISE = 0x7F1C,   // '#' operator in a stored replacement text
    MARK_NO_EXPAND = 0x7F1D,   // before an identifier that must not expand again
    MARK_PASTE = 0x7F1E,       // '##' between two tokens to be joined
    MARK_END = 0x7F1F,         // end of one macro's expansion text
    MARK_PARAM0 = 0x7F7F,      // reference to parameter 0 ...
    MARK_PARAM_LAST = 0xBF7E,  // ... up to parameter 16383 (31 outside ISO C)
};

enum char_class_code : int {
    CC_OTHER = 0,
    CC_DIGIT = 1,
    CC_IDENT = 2,
    CC_PLUS = 3,
    CC_MINUS = 4,
    CC_STAR = 5,
    CC_SLASH = 6,
    CC_PERCENT = 7,
    CC_AMPERSAND = 10,
    CC_BAR = 11,
    CC_CARET = 12,
    CC_EQUALS = 13,
    CC_LESS = 15,
    CC_GREATER = 18,
    CC_QUESTION = 21,
    CC_COLON = 22,
    CC_UNARY = 27,
    CC_LPAREN = 28,
    CC_RPAREN = 29,
    CC_QUOTE = 0x41,
    CC_DOT = 0x42,
    CC_BLANK = 0x43,
    CC_BACKSLASH = 0x44,
    CC_END = 0x45,
};

extern const std::array<signed char, 256> char_class_table;

inline int char_class(int c) {
    if (static_cast<unsigned>(c) < 256) return char_class_table[c];
    if (c == MARK_NO_EXPAND) return CC_IDENT;
    if (c == MARK_PASTE) return CC_BLANK;
    return CC_OTHER;
}

bool is_paste_class(int cls);
