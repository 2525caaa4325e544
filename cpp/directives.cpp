// Directive lines: the keyword look-up, the conditional-compilation stack
// and the directives carried out here (#line, #error, #warning, #assert,
// #ident, #pragma, #asm, #endasm); #define, #undef and #include are handed on.
#include "cpp/directives.h"

#include <algorithm>
#include <cctype>
#include <cstring>
#include <iterator>

#include "common/alert.h"
#include "common/alloc.h"
#include "cpp/dialect.h"
#include "cpp/driver.h"
#include "cpp/expand.h"
#include "cpp/expr.h"
#include "cpp/include.h"
#include "cpp/macro_table.h"
#include "cpp/messages.h"
#include "cpp/reader.h"
#include "cpp/scanner.h"

conditional_state conditional;

namespace {

// A directive's code is its key: the first character plus twice the third.
enum directive_code : int {
    DIR_UNKNOWN = 0,
    DIR_INCLUDE_NEXT = 1,  // ISO C, as gcc has it
    DIR_IF = 105,
    DIR_ENDASM = 295,
    DIR_ENDIF = 301,
    DIR_INCLUDE = 303,
    DIR_DEFINE = 304,
    DIR_IFDEF = 305,
    DIR_PRAGMA = 306,
    DIR_IDENT = 307,
    DIR_ELIF = 311,
    DIR_ASM = 315,
    DIR_UNDEF = 317,
    DIR_IFNDEF = 325,
    DIR_ASSERT = 327,
    DIR_LINE = 328,
    DIR_ERROR = 329,
    DIR_ELSE = 331,
    DIR_WARNING = 347,
};

struct keyword {
    directive_code code;
    const char* name;
};

constexpr keyword keywords[] = {
    {DIR_IF, "if"},           {DIR_ENDASM, "endasm"},   {DIR_ENDIF, "endif"},
    {DIR_INCLUDE, "include"}, {DIR_DEFINE, "define"},   {DIR_IFDEF, "ifdef"},
    {DIR_PRAGMA, "pragma"},   {DIR_IDENT, "ident"},     {DIR_ELIF, "elif"},
    {DIR_ASM, "asm"},         {DIR_UNDEF, "undef"},     {DIR_IFNDEF, "ifndef"},
    {DIR_ASSERT, "assert"},   {DIR_LINE, "line"},       {DIR_ERROR, "error"},
    {DIR_ELSE, "else"},       {DIR_WARNING, "warning"},
};

int directive_code_of(const wchar* name) {
    if (dialect.iso && name[0] == 'i' && wstr_cmp_narrow(name, "include_next") == 0)
        return DIR_INCLUDE_NEXT;
    if (name[0] == 0 || name[1] == 0) return DIR_UNKNOWN;
    int key = name[0] + 2 * name[2];
    if (key == DIR_ENDIF && name[2] != 0 && name[3] == 'a') key = DIR_ENDASM;
    for (const keyword& k : keywords) {
        if (k.code == key) return wstr_cmp_narrow(name, k.name) == 0 ? key : DIR_UNKNOWN;
    }
    return DIR_UNKNOWN;
}

cond_entry* cond_base() {
    return conditional.cond_stack.data();
}

void report_name(unsigned number, const wchar* name) {
    char narrow[MAX_IDENT_LIMIT + 2];
    wstr_to_narrow(narrow, name);
    alert_report(number, narrow);
}

void write_text(const char* s) {
    while (*s != 0) emit_char(static_cast<unsigned char>(*s++));
}

int expect_line_end(int pending) {
    if (int c = skip_blanks(); c != '\n') {
        alert_report(MSG_EXTRA_TEXT);
        if (dialect.iso && char_class(c) == CC_QUOTE) skip_literal(c);
        skip_line();
    }
    return pending + 1;
}

int discard_line(int pending) {
    skip_line();
    return pending + 1;
}

// Collects the rest of the line, from its first significant character, into
// the save buffer; the line end stays unread. A full buffer is reported once.
void collect_line() {
    wchar* end = scanner.save_buffer + SAVE_BUFFER_SIZE;
    bool reported = false;
    scanner.save_ptr = scanner.save_buffer;
    int c = skip_blanks();
    while (c != '\n' && c != 0) {
        if (!reported) {
            reported = scanner.save_ptr >= end;
            save_char(c);
        }
        c = next_char();
    }
    unget_char();
    if (scanner.save_ptr >= end) scanner.save_ptr = end - 1;
    *scanner.save_ptr = 0;
}

// Opens a conditional. In the toolchain's dialect the stack has no room past
// the 31st: the new one is only counted, all its groups are skipped, and its
// #endif restores the state around it. ISO C's stack grows instead.
bool open_conditional(std::uint8_t flags) {
    std::size_t depth = static_cast<std::size_t>(conditional.cond_top - cond_base());
    if (depth + 1 == conditional.cond_stack.size() && dialect.iso) {
        conditional.cond_stack.resize(conditional.cond_stack.size() * 2);
        conditional.cond_top = cond_base() + depth;
    }
    if (depth + 1 == conditional.cond_stack.size()) {
        alert_report(MSG_COND_TOO_DEEP);
        if (conditional.overflow++ == 0) conditional.overflow_outer = conditional.cond_active;
        conditional.cond_active = 0;
        return false;
    }
    ++conditional.cond_top;
    conditional.cond_top->flags = flags;
    conditional.cond_top->line = reader.current_line;
    return true;
}

int close_overflowed(int code, int pending) {
    if (code != DIR_ENDIF) return discard_line(pending);
    if (--conditional.overflow == 0) {
        conditional.cond_active = conditional.overflow_outer;
        if (conditional.cond_active != 0) reader.sync_needed = 1;
    }
    return expect_line_end(pending);
}

// #elif, #else and #endif, in live and skipped text alike.
int do_alternative(int code, const wchar* name, int pending) {
    if (conditional.overflow > 0) return close_overflowed(code, pending);
    cond_entry* top = conditional.cond_top;
    if (top == cond_base()) {
        report_name(MSG_NO_CONDITIONAL, name);
        return discard_line(pending);
    }
    if (code == DIR_ENDIF) {
        if (conditional.cond_active == 0 && (top->flags & COND_OUTER_LIVE)) reader.sync_needed = 1;
        conditional.cond_active = top->flags & COND_OUTER_LIVE;
        --conditional.cond_top;
        return expect_line_end(pending);
    }
    if (top->flags & COND_ELSE_SEEN) {
        report_name(MSG_AFTER_ELSE, name);
        return discard_line(pending);
    }
    if (code == DIR_ELIF) {
        if ((top->flags & COND_OUTER_LIVE) && !(top->flags & COND_TAKEN)) {
            test_condition(DIR_IF);
            return expect_line_end(pending);
        }
        conditional.cond_active = 0;
        return discard_line(pending);
    }
    top->flags |= COND_ELSE_SEEN;
    bool now_live = (top->flags & COND_OUTER_LIVE) && conditional.cond_active == 0 &&
                    !(top->flags & COND_TAKEN);
    conditional.cond_active = now_live ? 1 : 0;
    return expect_line_end(pending);
}

// ISO C's line numbers run from 1 to 2147483647; outside them the number is
// reported, and taken all the same.
constexpr long long MAX_ISO_LINE = 2147483647;

void check_line_number(const wchar* text) {
    char digits[24];  // as shown in the message, cut
    std::size_t n = 0;
    long long value = 0;  // held once past the largest line number
    for (const wchar* p = text; *p >= '0' && *p <= '9'; ++p) {
        if (n + 1 < sizeof digits) digits[n++] = static_cast<char>(*p);
        if (value <= MAX_ISO_LINE) value = value * 10 + (*p - '0');
    }
    digits[n] = 0;
    if (n > 0 && (value == 0 || value > MAX_ISO_LINE))
        alert_report(MSG_NUMBER_OUT_OF_RANGE, digits);
}

// #line and "# 12 "name"": the number, then an optional file name that
// becomes the display name of the current source.
// ISO C: the rest of the line, macro-replaced, into the save buffer as
// collect_line leaves it (the line end unread).
void collect_replaced_line() {
    scanner.save_ptr = scanner.save_buffer;
    int c = skip_blanks();
    bool space = false;
    while (c != '\n' && c != 0) {
        if (c == MARK_END || char_class(c) == CC_BLANK) {
            space = scanner.save_ptr != scanner.save_buffer;
            c = next_char();
            continue;
        }
        if (space) save_char(' ');
        space = false;
        c = expand_if_macro(c);
        if (c == '\n' || c == 0) break;
        if (char_class(c) == CC_IDENT) {
            for (const wchar* p = scanner.name_buffer; *p != 0; ++p)
                if (*p != MARK_NO_EXPAND) save_char(*p);
        } else if (char_class(c) == CC_QUOTE) {
            scan_literal(c, save_char);
        } else if (char_class(c) != CC_BLANK && c != MARK_END) {
            save_char(c);
        } else {
            continue;  // the first unit of an expansion: looked at in turn
        }
        c = next_char();
    }
    unget_char();
    wchar* end = scanner.save_buffer + SAVE_BUFFER_SIZE;
    if (scanner.save_ptr >= end) scanner.save_ptr = end - 1;
    *scanner.save_ptr = 0;
}

void do_line() {
    if (dialect.iso) {
        collect_replaced_line();
    } else {
        collect_line();
    }
    const wchar* text = scanner.save_buffer;
    if (dialect.iso) check_line_number(text);
    reader.current_line = static_cast<int>(wstr_to_int(text) - 1u);  // wraps, as the count does
    const wchar* p = text;
    while ((*p < 128 && std::isdigit(*p)) || char_class(*p) == CC_BLANK) ++p;
    if (*p != 0 && reader.current_source != nullptr) {
        const wchar* from = p;
        const wchar* to = p + wstr_len(p);
        if (*p == '"') {
            const wchar* close = wstr_rchr(p + 1, '"');
            if (close != nullptr) {
                from = p + 1;
                to = close;
            }
        }
        auto* name = static_cast<wchar*>(alloc_mem((to - from + 1) * sizeof(wchar)));
        for (const wchar* q = from; q != to; ++q) name[q - from] = *q;
        name[to - from] = 0;
        reader.current_source->display_name.reset(name);
    }
    reader.sync_needed = 1;
}

void report_line(unsigned number) {
    collect_line();
    char text[SAVE_BUFFER_SIZE];
    wstr_to_narrow(text, scanner.save_buffer);
    alert_report(number, text);
}

int do_asm() {
    if (scanner.asm_mode) alert_report(MSG_ASM_NESTED);
    line_sync();
    skip_line();
    if (!driver.no_output) write_text("#asm\n");
    scanner.asm_mode = 1;
    return 0;
}

int do_endasm(int pending) {
    if (!scanner.asm_mode) alert_report(MSG_ENDASM_OUTSIDE);
    scanner.asm_mode = 0;
    if (!driver.no_output) {
        flush_newlines(pending);
        pending = 0;
        write_text("#endasm ");
    }
    int c = next_char();
    while (c != '\n' && c != 0) {
        emit_char(c);  // leaves out the markers
        c = next_char();
    }
    unget_char();
    return expect_line_end(pending);
}

int open_live(int code, int pending) {
    if (!open_conditional(COND_OUTER_LIVE)) return discard_line(pending);
    test_condition(code);
    return expect_line_end(pending);
}

// Carries out a directive in live text.
int do_live_directive(int code, const wchar* name, int pending) {
    switch (code) {
        case DIR_IF:
        case DIR_IFDEF:
        case DIR_IFNDEF:
            return open_live(code, pending);
        case DIR_ELIF:
        case DIR_ELSE:
        case DIR_ENDIF:
            return do_alternative(code, name, pending);
        case DIR_DEFINE:
            do_define();
            return expect_line_end(pending);
        case DIR_UNDEF:
            do_undef();
            return expect_line_end(pending);
        case DIR_INCLUDE:
            return pending + 1 + do_include();
        case DIR_INCLUDE_NEXT:
            return pending + 1 + do_include_next();
        case DIR_LINE:
            do_line();
            return expect_line_end(pending);
        case DIR_ERROR:
            report_line(MSG_ERROR_DIRECTIVE);
            return expect_line_end(pending);
        case DIR_WARNING:
            report_line(MSG_WARNING_DIRECTIVE);
            return expect_line_end(pending);
        case DIR_ASSERT:
            if (evaluate_condition() == 0) alert_report(MSG_ASSERT_FAILED);
            return expect_line_end(pending);
        case DIR_IDENT:
            return expect_line_end(pending);
        case DIR_PRAGMA:
            if (dialect.iso && do_pragma_once()) return discard_line(pending);
            if (driver.no_output) return 0;
            flush_newlines(pending);
            write_text("#pragma ");
            driver.pragma_directive = true;
            driver.pragma_directive_line = reader.current_line;
            return 0;
        case DIR_ASM:
            return do_asm();
        case DIR_ENDASM:
            return do_endasm(pending);
        default:
            report_name(MSG_UNKNOWN_DIRECTIVE, name);
            return expect_line_end(pending);
    }
}

}  // namespace

void directives_reset() {
    conditional = {};
    conditional.cond_top = conditional.cond_stack.data();
}

namespace {

int read_directive(int pending);

}  // namespace

int control(int pending) {
    bool outer = reader.in_directive;
    reader.in_directive = true;
    pending = read_directive(pending);
    reader.in_directive = outer;
    return pending;
}

bool control_include_line(int& pending) {
    input_source* s = reader.current_source;
    if (s == nullptr || s->file == nullptr || reader.bookkeeping || conditional.cond_active == 0)
        return false;
    const auto plain = [](wchar u) { return u < 256 && reader_plain_unit[u]; };
    const auto blank = [](wchar u) { return u == ' ' || u == '\t'; };
    const wchar* p = s->pos;
    if (*p != '#') return false;
    ++p;
    while (blank(*p)) ++p;
    static constexpr wchar keyword[] = u"include";
    for (std::size_t i = 0; i + 1 < std::size(keyword); ++i) {
        if (p[i] != keyword[i]) return false;
    }
    const wchar* after = p + std::size(keyword) - 1;
    const wchar* q = after;
    while (blank(*q)) ++q;
    if (*q != '<' && *q != '"') return false;
    const wchar* const open = q;
    const wchar close = *q == '<' ? '>' : '"';
    for (++q; *q != close; ++q) {
        if (!plain(*q)) return false;
    }
    // Every unit up to the closing delimiter is one the reader hands out as
    // it is; what follows it is read as it would be after control.
    if (!plain(' ') || !plain('\t') || !plain('#') || !plain(close)) return false;
    // What the main loop does about a '#' it reads, and control and the
    // directive reader after it, up to the directive's own work.
    check_output();
    reader.echo_comments = 0;
    const bool outer = reader.in_directive;
    reader.in_directive = true;
    std::memcpy(scanner.name_buffer, keyword, sizeof keyword);
    s->pos = const_cast<wchar*>(after);
    pending = pending + 1 + do_plain_include(open, q);
    reader.in_directive = outer;
    reader.echo_comments = driver.keep_comments && conditional.cond_active;
    return true;
}

namespace {

// scan_identifier for a directive's name: when the name and the unit after
// it lie in the current line and next_char would hand them out as they
// are, they are taken straight from the line (the unit after it left
// unread, as scan_identifier steps back over it).
void scan_directive_name(int c) {
#if CPP_READER_FAST_PATH
    if (input_source* s = reader.current_source; s != nullptr && !reader.bookkeeping) {
        // The significant length is at least 31, so the first unit fits.
        const auto limit =
            static_cast<std::size_t>(std::min(scanner.max_ident_len, MAX_IDENT_LIMIT));
        const wchar* p = s->pos;
        const wchar* end = p;
        while (*end < 256 && plain_name_unit[*end]) ++end;
        if (*end < 256 && reader_plain_unit[*end]) {
            wchar* out = scanner.name_buffer;
            *out++ = static_cast<wchar>(c);
            const auto length = std::min(static_cast<std::size_t>(end - p), limit - 1);
            // A directive's name is short: a loop costs less than a call.
            for (std::size_t i = 0; i != length; ++i) out[i] = p[i];
            out[length] = 0;
            s->pos = const_cast<wchar*>(end);
            return;
        }
    }
#endif
    scan_identifier(c);
}

int read_directive(int pending) {
    int c = skip_blanks();
    if (c == '\n' || c == 0) return pending + 1;
    if (c < 128 && std::isdigit(c)) {
        unget_char();
        wstr_from_narrow(scanner.name_buffer, "line");
    } else {
        scan_directive_name(c);
    }
    // Every use of the name comes before anything reads on.
    const wchar* name = scanner.name_buffer;
    int code = directive_code_of(name);
    if (reader.current_source != nullptr && reader.current_source->file == nullptr) {
        report_name(MSG_DIRECTIVE_IN_MACRO, name);
    }
    bool alternative = code == DIR_ELIF || code == DIR_ELSE || code == DIR_ENDIF;
    // ISO C: a skipped group may hold any line that begins with '#'.
    if (conditional.cond_active == 0 && !alternative && (code != DIR_UNKNOWN || dialect.iso)) {
        if (code == DIR_IF || code == DIR_IFDEF || code == DIR_IFNDEF) open_conditional(0);
        return discard_line(pending);
    }
    bool writes = code == DIR_LINE || code == DIR_PRAGMA || code == DIR_ASM || code == DIR_ENDASM;
    if (writes && !driver.no_output && pending > 0) {
        emit_char('\n');
        --pending;
    }
    return do_live_directive(code, name, pending);
}

}  // namespace

void test_condition(int code) {
    conditional.cond_top->line = reader.current_line;
    int c = skip_blanks();
    if (c == '\n' || c == 0) {
        unget_char();
        alert_report(MSG_NO_CONDITION);
        skip_line();
        unget_char();
        return;
    }
    bool holds;
    if (code == DIR_IF) {
        unget_char();
        holds = evaluate_condition() != 0;
        code = DIR_IFDEF;
    } else {
        if (char_class(c) != CC_IDENT) {
            alert_report(MSG_NO_CONDITION);
            skip_line();
            unget_char();
            return;
        }
        holds = scan_and_find_macro(c) != nullptr;
    }
    if ((code == DIR_IFDEF) == holds) {
        conditional.cond_active = 1;
        conditional.cond_top->flags |= COND_TAKEN;
    } else {
        conditional.cond_active = 0;
    }
}
