// Character classes, marker units and the token scanners shared by the main
// loop, directives, macro definition and expansion and the #if evaluator;
// also the identifier buffer and the save buffer they collect text in.
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
    MARK_PARAM_LAST = 0x7F9F,  // ... up to parameter 32
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

using out_fn = int (*)(int c);

constexpr int SAVE_BUFFER_SIZE = 8192;
constexpr int MAX_IDENT_LIMIT = 255;

struct scanner_state {
    wchar save_buffer[SAVE_BUFFER_SIZE] = {};
    wchar* save_ptr = save_buffer;
    // Significant characters of an identifier, 31..255; set by the options.
    int max_ident_len = 31;
    wchar name_buffer[MAX_IDENT_LIMIT + 1] = {};
};
extern scanner_state scanner;

int save_char(int c);
int scan_identifier(int c);
int scan_number(int c, out_fn out);
int scan_literal(int quote, out_fn out);
int skip_blanks();
// Reads the rest of a literal whose quote has been read, writing nothing.
void skip_literal(int quote);
// Reads up to and including the line end (in ISO C, past the literals of
// the line without looking into them).
int skip_line();
int skip_paste_marks();
