// Character classes and the token scanners shared by the main loop, the
// directives, macro definition and expansion and the #if evaluator. The
// scanners read through next_char and give back the first character they do
// not take, so every caller sees the input continue where the token ended.
#include "cpp/scanner.h"

#include "common/alert.h"
#include "cpp/dialect.h"
#include "cpp/messages.h"
#include "cpp/reader.h"
#include "cpp/unit_copy.h"

scanner_state scanner;

namespace {

bool is_hex_letter(int c) {
    return (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F');
}
bool is_letter(int c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}

// Suffix of a number: one l/L after a fraction or exponent, else at most one
// u/U and one l/L in either order. Returns the first character not taken.
int scan_number_suffix(int c, bool floating, out_fn out) {
    if (floating) {
        if (c != 'l' && c != 'L') return c;
        out(c);
        return next_char();
    }
    bool u = false, l = false;
    for (;;) {
        if (!u && (c == 'u' || c == 'U')) {
            u = true;
        } else if (!l && (c == 'l' || c == 'L')) {
            l = true;
        } else {
            return c;
        }
        out(c);
        c = next_char();
    }
}

}  // namespace

void report_save_buffer_full() {
    scanner.save_buffer[SAVE_BUFFER_SIZE - 1] = 0;
    char text[SAVE_BUFFER_SIZE];
    wstr_to_narrow(text, scanner.save_buffer);
    alert_report(MSG_SAVE_BUFFER_FULL, text);
}

// When the buffer is full its last unit becomes the terminator, the text is
// reported and the unit is dropped, so the buffer is never overrun.
int save_char(int c) {
    wchar* end = scanner.save_buffer + SAVE_BUFFER_SIZE;
    if (scanner.save_ptr < scanner.save_buffer || scanner.save_ptr >= end) {
        scanner.save_ptr = end;
        report_save_buffer_full();
        return 0;
    }
    *scanner.save_ptr++ = static_cast<wchar>(c);
    return 0;
}

int scan_identifier(int c) {
    int limit = scanner.max_ident_len;
    if (limit > MAX_IDENT_LIMIT) limit = MAX_IDENT_LIMIT;
    int n = 0;
    // The first character is stored whatever its class, so that a directive
    // name such as "!" is scanned from it.
    int cls = CC_IDENT;
    while (cls == CC_IDENT || cls == CC_DIGIT) {
        if (n < limit) scanner.name_buffer[n++] = static_cast<wchar>(c);
        c = next_char();
        cls = char_class(c);
    }
    scanner.name_buffer[n] = 0;
    unget_char();
    return 0;
}

namespace {

// ISO C: a preprocessing number, digits, letters, '_' and '.' with a sign
// after an exponent's e, E, p or P. It never runs on past a macro's text.
int scan_pp_number(int c, out_fn out) {
    out(c);
    if (c == '.') {
        c = next_char();
        if (char_class(c) != CC_DIGIT) {
            unget_char();
            return 0;
        }
        out(c);
    }
    for (;;) {
        int prev = c;
        c = next_char();
        bool sign =
            (c == '+' || c == '-') && (prev == 'e' || prev == 'E' || prev == 'p' || prev == 'P');
        int cls = char_class(c);
        if (!sign && c != '.' && ((cls != CC_IDENT && cls != CC_DIGIT) || c == MARK_NO_EXPAND))
            break;
        out(c);
    }
    unget_char();
    return 0;
}

}  // namespace

int scan_number(int c, out_fn out) {
    if (dialect.iso) return scan_pp_number(c, out);
    int radix = 10;
    bool exponent = false;
    bool point = c == '.';
    out(c);
    if (c == '.') {
        c = next_char();
        if (char_class(c) != CC_DIGIT) {
            unget_char();
            return 0;
        }
    } else if (c == '0') {
        radix = 8;
        c = next_char();
        if (c == 'x' || c == 'X' || c == 'b' || c == 'B') {
            radix = (c == 'x' || c == 'X') ? 16 : 2;
            out(c);
            c = next_char();
        }
    } else {
        c = next_char();
    }
    for (;; c = next_char()) {
        if (radix != 16 && !exponent && (c == 'e' || c == 'E')) {
            exponent = true;
            radix = 10;
        } else if (c == '.') {
            if (radix == 16 || point) break;
            point = true;
            radix = 10;
        } else if (c == '+' || c == '-') {
            break;
        } else if (!((c >= '0' && c <= '9') || (radix == 16 && is_hex_letter(c)) || c == MARK_END ||
                     (scanner.asm_mode && is_letter(c)))) {
            break;
        }
        out(c);
    }
    scan_number_suffix(c, exponent || point, out);
    unget_char();
    return 0;
}

int scan_literal(int quote, out_fn out) {
    reader.raw_input = 1;
    out(quote);
    for (;;) {
        int c = next_char();
        if (c == '\n' || c == 0) {
            reader.raw_input = 0;
            unget_char();
            return 0;
        }
        out(c);
        if (c == quote) {
            reader.raw_input = 0;
            return 1;
        }
        if (c == '\\') {
            c = next_char();
            if (c == 0) {  // end of all input: nothing to write or give back
                reader.raw_input = 0;
                return 0;
            }
            out(c);
        }
    }
}

namespace {

#if CPP_READER_FAST_PATH
// The first unit from p on that next_char must look at, or with quotes the
// first quote if that comes first. Where the machine has SSE2 it looks
// sixteen units at a time (every source's text is followed by read-ahead).
wchar* skip_plain_units(wchar* p, bool quotes) {
#ifdef __SSE2__
    for (;; p += 16) {
        if (const unsigned mask = reader_stop_mask(p, quotes); mask != 0)
            return p + __builtin_ctz(mask);
    }
#else
    while (*p < 256 && reader_plain_unit[*p] && !(quotes && char_class_table[*p] == CC_QUOTE)) ++p;
    return p;
#endif
}
#endif

int discard_char(int) {
    return 0;
}

// Steps over the units ahead in the current source's buffer that next_char
// would hand out as they are, and quotes too unless quotes_stop.
inline void step_over_plain_units(bool quotes_stop) {
#if CPP_READER_FAST_PATH
    input_source* s = reader.current_source;
    if (s != nullptr && !reader.bookkeeping) s->pos = skip_plain_units(s->pos, quotes_stop);
#else
    (void)quotes_stop;
#endif
}

// ISO C: the rest of a line whose literals hide what looks like a comment
// in them; a quote that is not closed on its line closes at its end.
int skip_iso_line() {
    int c;
    do {
        step_over_plain_units(true);
        c = next_char();
        if (char_class(c) == CC_QUOTE) {
            skip_literal(c);
            c = ' ';
        }
    } while (c != '\n' && c != 0);
    return 0;
}

}  // namespace

void skip_literal(int quote) {
    scan_literal(quote, discard_char);
}

// Ordinary units are stepped over straight from the buffer; next_char sees
// only what may end the line or needs its care (comments, splices,
// trigraphs, markers, the end of the buffer).
int skip_line() {
    if (dialect.iso) return skip_iso_line();
    int c;
    do {
        step_over_plain_units(false);
        c = next_char();
    } while (c != '\n' && c != 0);
    return 0;
}
