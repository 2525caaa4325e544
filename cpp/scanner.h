// Character classes, marker units and the token scanners shared by the main
// loop, directives, macro definition and expansion and the #if evaluator;
// also the identifier buffer and the save buffer they collect text in.
#pragma once

#include <array>

#include "common/wstr.h"
#include "cpp/char_class.h"
#include "cpp/reader.h"

using out_fn = int (*)(int c);

constexpr int SAVE_BUFFER_SIZE = 8192;
constexpr int MAX_IDENT_LIMIT = 255;

struct scanner_state {
    wchar save_buffer[SAVE_BUFFER_SIZE];  // written before it is read
    wchar* save_ptr = save_buffer;
    // Significant characters of an identifier, 31..255; set by the options.
    int max_ident_len = 31;
    // Inside #asm ... #endasm: numbers take letters too.
    int asm_mode = 0;
    wchar name_buffer[MAX_IDENT_LIMIT + 1] = {};
};
extern scanner_state scanner;

int save_char(int c);
// Makes the save buffer's last unit its terminator and reports the text
// (message 156).
void report_save_buffer_full();
int scan_identifier(int c);
int scan_number(int c, out_fn out);
int scan_literal(int quote, out_fn out);
// Reads the rest of a literal whose quote has been read, writing nothing.
void skip_literal(int quote);
// Reads up to and including the line end (in ISO C, past the literals of
// the line without looking into them).
int skip_line();

// Reads past blanks and end marks; returns the first other character.
inline int skip_blanks() {
    int c;
    do c = next_char();
    while (c == MARK_END || char_class(c) == CC_BLANK);
    return c;
}

// Reads past paste and end marks (argument collection and the #if
// evaluator meet them between tokens); returns the first other character.
inline int skip_paste_marks() {
    int c;
    do c = next_char();
    while (c == MARK_PASTE || c == MARK_END);
    return c;
}
