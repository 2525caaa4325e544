// Macro expansion: the identifier step every reader of text goes through,
// argument collection into the parameter pool, building the expansion text
// (stringised arguments, paste operands), the lazy substitution of parameter
// references, pasting, the dynamic __LINE__ / __FILE__ and the depth limit.
#include "cpp/expand.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <vector>

#include "common/alert.h"
#include "cpp/driver.h"
#include "cpp/macro_table.h"
#include "cpp/messages.h"
#include "cpp/reader.h"
#include "cpp/report.h"
#include "cpp/scanner.h"

namespace {

constexpr int MAX_EXPANSION_DEPTH = 1000;
constexpr int MAX_TEXT = SAVE_BUFFER_SIZE - 1;  // units of one expansion text
constexpr int NARROW_NAME = MAX_IDENT_LIMIT + 2;

struct expand_state {
    macro_def* outermost_macro = nullptr;
    // The expansion text being built; building never reads input, so one
    // buffer serves every nesting level.
    wchar text[SAVE_BUFFER_SIZE] = {};
    int length = 0;
    bool overflowed = false;
    const macro_def* building = nullptr;
    std::vector<wchar> file_text;  // reused for __FILE__
};
expand_state expansion;

const wchar empty_text[1] = {0};

bool is_param_ref(int u) {
    return u >= MARK_PARAM0 && u <= MARK_PARAM_LAST;
}

bool plain_text_source() {
    const input_source* s = reader.current_source;
    return s != nullptr && s->file == nullptr && s->macro == nullptr;
}

const wchar* skip_no_expand(const wchar* s) {
    while (*s == MARK_NO_EXPAND) ++s;
    return s;
}

void report_with_name(unsigned number, const macro_def* m) {
    char name[NARROW_NAME];
    wstr_to_narrow(name, m->name.get());
    alert_report(number, name);
}

// --- building the expansion text -------------------------------------------

bool text_overflow() {
    if (!expansion.overflowed) report_with_name(MSG_EXPANSION_TOO_LONG, expansion.building);
    expansion.overflowed = true;
    return false;
}

bool put_unit(int u) {
    if (expansion.length >= MAX_TEXT) return text_overflow();
    expansion.text[expansion.length++] = static_cast<wchar>(u);
    return true;
}

// Appends a whole text, or nothing when it does not fit.
bool put_text(const wchar* s) {
    unsigned n = wstr_len(s);
    if (expansion.length + n > static_cast<unsigned>(MAX_TEXT)) return text_overflow();
    for (unsigned i = 0; i < n; ++i) expansion.text[expansion.length + i] = s[i];
    expansion.length += n;
    return true;
}

void put_stringised(const wchar* arg) {
    put_unit('"');
    if (arg != nullptr) {
        unsigned n = 0;
        for (const wchar* p = arg; *p != 0; ++p) n += (*p == '\\' || *p == '"') ? 2 : 1;
        if (expansion.length + n > static_cast<unsigned>(MAX_TEXT)) {
            text_overflow();
        } else {
            for (const wchar* p = arg; *p != 0; ++p) {
                if (*p == '\\' || *p == '"') expansion.text[expansion.length++] = '\\';
                expansion.text[expansion.length++] = *p;
            }
        }
    }
    put_unit('"');
}

// A number as the left operand of a paste has no identifier text of its own;
// marking it makes the reader take it whole, as it takes a name.
void mark_number_operand() {
    int start = expansion.length;
    while (start > 0) {
        int cls = char_class(expansion.text[start - 1]);
        if (cls != CC_DIGIT && cls != CC_IDENT) break;
        --start;
    }
    if (start == expansion.length || char_class(expansion.text[start]) != CC_DIGIT) return;
    // Digits right after a paste mark are the right operand of that paste,
    // and this mark only closes their run.
    if (start > 0 && expansion.text[start - 1] == MARK_PASTE) return;
    if (expansion.length >= MAX_TEXT) return;
    for (int i = expansion.length; i > start; --i) expansion.text[i] = expansion.text[i - 1];
    expansion.text[start] = MARK_NO_EXPAND;
    ++expansion.length;
}

// The "##" of a body: the operands are the unexpanded argument texts, the
// right one protected from expansion before the paste.
const wchar* put_paste(const wchar* p, const wchar* const* args) {
    if (expansion.length > 0 && is_param_ref(expansion.text[expansion.length - 1])) {
        int i = expansion.text[--expansion.length] - MARK_PARAM0;
        if (i < MAX_PARAMS && args[i] != nullptr) put_text(args[i]);
    }
    mark_number_operand();
    put_unit(MARK_PASTE);
    if (is_param_ref(p[1])) {
        ++p;
        int i = *p - MARK_PARAM0;
        const wchar* arg = i < MAX_PARAMS ? args[i] : nullptr;
        if (arg != nullptr && arg[0] == MARK_NO_EXPAND) {
            put_text(arg);
        } else if (arg != nullptr) {
            if (expansion.length + 1 + wstr_len(arg) > static_cast<unsigned>(MAX_TEXT)) {
                text_overflow();  // the mark goes with the dropped text
            } else {
                put_unit(MARK_NO_EXPAND);
                put_text(arg);
            }
        }
    }
    return p;
}

// Walks the encoded body; returns whether it holds a parameter reference.
bool build_text(const macro_def* m, const wchar* const* args) {
    expansion.length = 0;
    expansion.overflowed = false;
    expansion.building = m;
    bool has_ref = false;
    const wchar* body = m->body ? m->body.get() : empty_text;
    for (const wchar* p = body; *p != 0; ++p) {
        if (is_param_ref(*p)) has_ref = true;
        if (*p == MARK_STRINGISE) {
            if (is_param_ref(p[1])) {
                has_ref = true;
                int i = *++p - MARK_PARAM0;
                put_stringised(i < MAX_PARAMS ? args[i] : nullptr);
            } else {
                alert_report(MSG_STRINGISE_NO_PARAM);
                put_unit('#');
                if (p[1] != 0) put_unit(*++p);
            }
        } else if (*p == MARK_PASTE) {
            if (is_param_ref(p[1])) has_ref = true;
            p = put_paste(p, args);
        } else {
            put_unit(*p);
        }
    }
    expansion.text[expansion.length] = 0;
    return has_ref;
}

// A body with no stringise or paste mark that fits the text limit is the
// expansion text as it stands; returns its length then, or -1.
int plain_body_length(const wchar* body, bool& has_ref) {
    int n = 0;
    for (; body[n] != 0; ++n) {
        wchar u = body[n];
        if (u == MARK_STRINGISE || u == MARK_PASTE) return -1;
        if (is_param_ref(u)) has_ref = true;
    }
    return n <= MAX_TEXT ? n : -1;
}

void push_expansion(macro_def* m, const wchar* const* args, int nargs) {
    bool has_ref = false;
    const wchar* text = m->body ? m->body.get() : empty_text;
    int length = plain_body_length(text, has_ref);
    if (length < 0) {
        has_ref = build_text(m, args);
        text = expansion.text;
        length = expansion.length;
    }
    input_source* s = push_source(length + 1, nullptr);
    std::memcpy(s->buffer.get(), text, static_cast<std::size_t>(length + 1) * sizeof(wchar));
    s->macro = m;
    ++m->active;
    if (has_ref && nargs >= 1 && m->nparams >= 1) {
        // The texts are copied: the parameter pool is given back as soon as
        // the expansion is pushed. A reference to a parameter beyond
        // arg_count (the macro redefined meanwhile) finds no argument.
        int count = std::min({m->nparams, nargs, MAX_PARAMS});
        s->arg_text.clear();
        for (int i = 0; i < count; ++i) {
            s->arg_at[i] = -1;
            if (args[i] == nullptr) continue;
            s->arg_at[i] = static_cast<int>(s->arg_text.size());
            s->arg_text.insert(s->arg_text.end(), args[i], args[i] + wstr_len(args[i]) + 1);
        }
        s->arg_count = count;
    }
}

// --- collecting the arguments -----------------------------------------------

// Looks for the '(' of a call across blanks, end marks and line ends. When
// there is none, what was passed is given back as a line end and a space.
bool find_open_paren() {
    bool passed = false;
    bool line_end = false;
    bool blank = false;
    int line_ends = 0;
    int c;
    for (;;) {
        c = next_char();
        if (c == '\n') {
            passed = line_end = true;
            blank = false;
            if (++line_ends >= 2) reader.sync_needed = 1;
        } else if (c == MARK_END) {
            passed = true;
        } else if (char_class(c) == CC_BLANK) {
            passed = blank = true;
        } else {
            break;
        }
    }
    if (c == '(') return true;
    if (!passed) {
        unget_char();
        return false;
    }
    wchar back[4];
    int n = 0;
    if (line_end) back[n++] = '\n';
    if (blank) back[n++] = ' ';
    if (c != 0) back[n++] = static_cast<wchar>(c);
    back[n] = 0;
    if (n > 0) push_text_source(back);
    return false;
}

struct argument_reader {
    const macro_def* m;
    int line;       // line of the call's '('
    int depth = 0;  // parentheses open inside the argument
    bool space = false;
    wchar* start = nullptr;

    void append(int c) {
        if (space) pool_char(' ');
        space = false;
        pool_char(c);
    }

    void append_name() {
        if (space) pool_char(' ');
        space = false;
        if (wstr_cmp(scanner.name_buffer, m->name.get()) == 0) pool_char(MARK_NO_EXPAND);
        for (const wchar* p = scanner.name_buffer; *p != 0; ++p) pool_char(*p);
    }

    // Expands what a plain text source holds at c; false when c has been
    // consumed as a whole name.
    bool expand_in_place(int& c) {
        c = expand_if_macro(c);
        while (is_paste_class(char_class(c)) && paste_tokens()) c = expand_if_macro(next_char());
        if (char_class(c) != CC_IDENT) return true;
        append_name();
        return false;
    }

    // Reads one argument from its first character; 1 when it ended with ','
    // or ')', 0 at the end of input.
    int read(int c) {
        start = macros.pool_ptr;
        bool fresh = true;
        for (;;) {
            if (c == 0) {
                alert_report(MSG_EOF_IN_ARGS, line);
                return 0;
            }
            // The end of an expansion read inside the argument (one that
            // gave nothing, say) is no character of it: the blanks pending
            // before it stay pending.
            if (c == MARK_END) {
                c = skip_paste_marks();
                fresh = true;
                continue;
            }
            if (c == '\n' || char_class(c) == CC_BLANK) {
                if (c == '\n') reader.sync_needed = 1;
                space = macros.pool_ptr != start;
                c = skip_paste_marks();
                fresh = true;
                continue;
            }
            if (fresh && plain_text_source()) {
                fresh = false;
                if (expand_in_place(c)) continue;
                c = skip_paste_marks();
                fresh = true;
                continue;
            }
            fresh = true;
            if (c == '\\') {
                append(c);
                c = skip_paste_marks();
                if (c == 0) continue;
                pool_char(c);
            } else if (char_class(c) == CC_QUOTE) {
                if (space) pool_char(' ');
                space = false;
                scan_literal(c, pool_char);
            } else if (c == '(') {
                ++depth;
                append(c);
            } else if (c == ')' && depth == 0) {
                unget_char();
                return 1;
            } else if (c == ',' && depth == 0) {
                return 1;
            } else {
                if (c == ')') --depth;
                append(c);
            }
            c = skip_paste_marks();
        }
    }
};

// Collects the arguments of a call whose '(' has been read; returns their
// number (0 when the input ended inside the list).
int collect_arguments(const macro_def* m, const wchar** args) {
    argument_reader ar{m, reader.current_line};
    int nargs = 0;
    for (;;) {
        int c = skip_blanks();
        while (c == '\n') {
            reader.sync_needed = 1;
            c = skip_blanks();
        }
        if (c == ')') return nargs;
        if (nargs >= MAX_PARAMS) alert_report(MSG_TOO_MANY_ARGS);
        ar.depth = 0;
        ar.space = false;
        if (ar.read(c) == 0) {
            // The input ended inside the call: it supplies no argument, and
            // none read before the end may stand in the expansion.
            std::fill(args, args + MAX_PARAMS, nullptr);
            return 0;
        }
        bool closed = pool_char(0) == 0;
        if (nargs < MAX_PARAMS) {
            args[nargs] = closed ? ar.start : empty_text;
        } else {
            macros.pool_ptr = ar.start;  // a surplus argument is not kept
        }
        ++nargs;
    }
}

// --- dynamic macros and the depth limit -------------------------------------

void push_line_text() {
    char digits[16];
    std::snprintf(digits, sizeof digits, "%d", reader.current_line);
    wchar text[16];
    wstr_from_narrow(text, digits);
    push_text_source(text);
}

void push_file_text() {
    const input_source* s = reader.current_source;
    while (s != nullptr && s->file == nullptr) s = s->parent.get();
    if (s == nullptr) return;
    const wchar* name = s->display_name ? s->display_name.get() : s->name.get();
    std::vector<wchar>& t = expansion.file_text;
    t.clear();
    t.push_back('"');
    for (const wchar* p = name; p != nullptr && *p != 0; ++p) {
        if (*p == '\\') t.push_back('\\');
        t.push_back(*p);
    }
    t.push_back('"');
    t.push_back(0);
    push_text_source(t.data());
}

// Too deep: every pending macro and argument text is dropped and reading
// goes on in the file.
void abandon_expansions(const macro_def* m) {
    char name[NARROW_NAME];
    char outer[NARROW_NAME];
    wstr_to_narrow(name, m->name.get());
    const macro_def* o = expansion.outermost_macro != nullptr ? expansion.outermost_macro : m;
    wstr_to_narrow(outer, o->name.get());
    alert_report(MSG_RECURSION, name, outer);
    int c = 0;
    bool read_any = false;
    while (reader.current_source != nullptr && reader.current_source->file == nullptr) {
        c = next_char();
        read_any = true;
        if (c == 0) break;
    }
    if (read_any && c != 0) unget_char();
    reader.expansion_depth = 0;
}

}  // namespace

bool expansion_refers_to(const macro_def* m) {
    return m == expansion.outermost_macro;
}

void expand_reset() {
    expansion = {};
}

int expand_if_macro(int c) {
    if (reader.current_source != nullptr && reader.current_source->file != nullptr) {
        reader.expansion_depth = 0;
    }
    for (;;) {
        if (char_class(c) != CC_IDENT) {
            // A token that is no name leaves its first character in the
            // identifier buffer: the paste step takes its operands there.
            scanner.name_buffer[0] = static_cast<wchar>(c);
            scanner.name_buffer[1] = 0;
            return c;
        }
        macro_def* m = scan_and_find_macro(c);
        if (m == nullptr) return c;
        int next = next_char();
        unget_char();
        if (next == MARK_PASTE) return c;  // the left operand of a paste
        if (expand_macro(m) == 0) return c;
        c = next_char();
    }
}

int expand_macro(macro_def* m) {
    if (driver.html_report != nullptr) report_macro_row(m);
    if (++reader.expansion_depth == 1) expansion.outermost_macro = m;
    if (reader.expansion_depth >= MAX_EXPANSION_DEPTH) {
        abandon_expansions(m);
        return 0;
    }
    if (m->nparams == -2) {
        push_line_text();
        return 1;
    }
    if (m->nparams == -3) {
        push_file_text();
        return 1;
    }
    const wchar* args[MAX_PARAMS] = {};
    int nargs = 0;
    wchar* pool_mark = macros.pool_ptr;
    if (m->nparams != -1) {
        if (m->nparams < 0) report_with_name(MSG_BAD_PARAM_COUNT, m);
        if (!find_open_paren()) return 0;
        nargs = collect_arguments(m, args);
        if (nargs != m->nparams) {
            char name[NARROW_NAME];
            wstr_to_narrow(name, m->name.get());
            alert_report(MSG_ARG_COUNT, name, nargs, m->nparams);
        }
    }
    push_expansion(m, args, nargs);
    macros.pool_ptr = pool_mark;
    return 1;
}

void push_argument(int index) {
    input_source* s = reader.current_source;
    macro_def* m = s != nullptr ? s->macro : nullptr;
    if (m == nullptr || index < 0 || index >= m->nparams || index >= MAX_PARAMS) {
        alert_report(MSG_BAD_PARAM_REF, index);
        return;
    }
    const wchar* arg = s->argument(index);
    if (arg == nullptr) return;
    push_text_source(arg);
    reader.current_source->reenable_macro = m;
    --m->active;
}

namespace {

// A digit run after "##" is closed by a second paste mark, which goes with it.
void save_digit_run(int c, unsigned room) {
    unsigned n = 0;
    bool too_long = false;
    while (char_class(c) == CC_DIGIT) {
        if (n < room) {
            save_char(c);
            ++n;
        } else {
            too_long = true;
        }
        c = next_char();
    }
    if (too_long) {
        char left[SAVE_BUFFER_SIZE];
        *scanner.save_ptr = 0;
        wstr_to_narrow(left, scanner.save_buffer);
        alert_report(MSG_PASTE_TOO_LONG, left);
    }
    if (c != MARK_PASTE) unget_char();
}

bool is_right_operand(int cls) {
    return cls == CC_DIGIT || cls == CC_IDENT || cls == CC_PLUS || cls == CC_MINUS ||
           cls == CC_AMPERSAND || cls == CC_BAR || cls == CC_LESS || cls == CC_GREATER;
}

}  // namespace

int paste_tokens() {
    int c = next_char();
    if (c != MARK_PASTE) {
        unget_char();
        return 0;
    }
    wchar left[MAX_IDENT_LIMIT + 1];
    wstr_copy(left, skip_no_expand(scanner.name_buffer));
    unsigned left_len = wstr_len(left);
    c = expand_if_macro(next_char());
    int cls = char_class(c);
    scanner.save_ptr = scanner.save_buffer;
    for (const wchar* p = left; *p != 0; ++p) save_char(*p);
    if (cls == CC_DIGIT) {
        save_digit_run(c, MAX_TEXT - left_len);
    } else if (is_right_operand(cls)) {
        for (const wchar* p = skip_no_expand(scanner.name_buffer); *p != 0; ++p) save_char(*p);
    } else {
        alert_report(MSG_PASTE_RIGHT_OPERAND, c);
        unget_char();
    }
    *scanner.save_ptr = 0;
    push_text_source(scanner.save_buffer);
    return 1;
}
