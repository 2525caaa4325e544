// Macro expansion: the identifier step every reader of text goes through,
// argument collection into the parameter pool, building the expansion text
// (stringised arguments, paste operands), the lazy substitution of parameter
// references, pasting, the dynamic __LINE__ / __FILE__ and the depth limit.
#include "cpp/expand.h"

#include <algorithm>
#include <array>
#include <cstdio>
#include <cstring>
#include <vector>

#include "common/alert.h"
#include "common/state_reset.h"
#include "cpp/dialect.h"
#include "cpp/flat_expansion.h"
#include "cpp/macro_table.h"
#include "cpp/messages.h"
#include "cpp/reader.h"
#include "cpp/scanner.h"
#include "cpp/unit_copy.h"

namespace {
std::array<text_unit, 256> make_text_units() {
    std::array<text_unit, 256> t{};
    for (int c = 0; c < 256; ++c) {
        const int cls = char_class_table[c];
        text_unit k = TU_OTHER;
        if (!reader_plain_unit[c]) {
            k = TU_STOP;
        } else if (cls == CC_BLANK) {
            k = TU_BLANK;
        } else if (cls == CC_QUOTE) {
            k = TU_QUOTE;
        } else if (c == '(') {
            k = TU_OPEN;
        } else if (c == ')') {
            k = TU_CLOSE;
        } else if (c == ',') {
            k = TU_COMMA;
        } else if (cls == CC_IDENT) {
            k = TU_NAME;
        } else if (cls == CC_DIGIT) {
            k = TU_DIGIT;
        } else if (c == '.') {
            k = TU_DOT;
        }
        t[c] = k;
    }
    return t;
}
}  // namespace

// Both tables it reads are constant-initialised.
const std::array<text_unit, 256> text_units = make_text_units();

namespace {

constexpr int MAX_TEXT = SAVE_BUFFER_SIZE - 1;  // units of one expansion text
constexpr int NARROW_NAME = MAX_IDENT_LIMIT + 2;

struct expand_state {
    // The expansion text being built; building never reads input, so one
    // buffer serves every nesting level.
    wchar text[SAVE_BUFFER_SIZE];  // written before it is read
    int length = 0;
    bool overflowed = false;
    const macro_def* building = nullptr;
    std::vector<wchar> file_text;  // reused for __FILE__
    // Whether an object-like macro's expansion may be put together at once:
    // not while arguments are collected from a text whose names expand.
    bool flat_allowed = true;
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
    wstr_to_narrow(name, m->name());
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

// Learns what the body is: the expansion text as it stands when it holds no
// stringise or paste mark and fits the text limit, else a text to build.
// Learns too which parameters the body names more than once.
void measure_body(macro_def* m) {
    const wchar* body = m->body ? m->body.get() : empty_text;
    bool has_ref = false;
    bool built = false;
    unsigned named = 0;
    unsigned repeated = 0;
    int n = 0;
    for (; body[n] != 0; ++n) {
        wchar u = body[n];
        if (u == MARK_STRINGISE || u == MARK_PASTE) built = true;
        if (!is_param_ref(u)) continue;
        has_ref = true;
        if (const int i = u - MARK_PARAM0; i >= 0 && i < 16) {
            const unsigned bit = 1u << i;
            repeated |= named & bit;
            named |= bit;
        }
    }
    m->body_length = !built && n <= MAX_TEXT ? n : BODY_BUILT;
    m->body_refers = has_ref;
    m->repeated_refs = static_cast<std::uint16_t>(repeated);
}

// The argument texts of a call, with their lengths.
// Left uninitialised but for the texts of the macro's parameters (see
// expand_macro; a length is read only where its text is set): zeroing all
// of them on every expansion costs more than expanding many a small macro.
struct call_arguments {
    const wchar* text[MAX_PARAMS];
    int length[MAX_PARAMS];
    int count = 0;
};

void push_expansion(macro_def* m, const call_arguments& args) {
    if (m->body_length == BODY_UNMEASURED) measure_body(m);
    const wchar* text = m->body ? m->body.get() : empty_text;
    int length = m->body_length;
    bool has_ref = m->body_refers;
    if (length == BODY_BUILT) {
        has_ref = build_text(m, args.text);
        text = expansion.text;
        length = expansion.length;
    }
    input_source* s = push_macro_text(m, text, static_cast<std::size_t>(length));
    if (has_ref && args.count >= 1 && m->nparams >= 1) {
        // The texts are copied: the parameter pool is given back as soon as
        // the expansion is pushed. A reference to a parameter beyond
        // arg_count (the macro redefined meanwhile) finds no argument.
        int count = std::min({int{m->nparams}, args.count, MAX_PARAMS});
        std::size_t total = BUFFER_READ_AHEAD;
        for (int i = 0; i < count; ++i) {
            if (args.text[i] != nullptr) total += static_cast<std::size_t>(args.length[i]) + 1;
        }
        // The record keeps its vector: it only grows, and what lies past the
        // texts and their read-ahead is never read.
        std::vector<wchar>& t = s->arg_text;
        if (t.size() < total) t.resize(total);
        wchar* const out = t.data();
        std::size_t at = 0;
        for (int i = 0; i < count; ++i) {
            s->arg_at[i] = -1;
            if (args.text[i] == nullptr) continue;
            s->arg_at[i] = static_cast<int>(at);
            const auto n = static_cast<std::size_t>(args.length[i]) + 1;
            std::memcpy(out + at, args.text[i], n * sizeof(wchar));
            at += n;
        }
        // Argument sources read their text here in place.
        std::fill_n(out + at, BUFFER_READ_AHEAD, wchar{0});
        s->arg_count = count;
    }
}

// --- collecting the arguments -----------------------------------------------

#if CPP_READER_FAST_PATH
// Copies n units from p to out, eight at a time: out has room for eight
// more, and p is followed by readable units.
inline void copy_name_units(wchar* out, const wchar* p, std::size_t n) {
#ifdef __SSE2__
    for (std::size_t i = 0; i < n; i += 8) {
        _mm_storeu_si128(reinterpret_cast<__m128i*>(out + i),
                         _mm_loadu_si128(reinterpret_cast<const __m128i*>(p + i)));
    }
#else
    for (std::size_t i = 0; i < n; ++i) out[i] = p[i];
#endif
}
#endif

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
        const wchar* name = scanner.name_buffer;
        const unsigned n = wstr_len(name);
        const bool own =
            n == m->name_length && std::memcmp(name, m->name(), n * sizeof(wchar)) == 0;
        // Copied at once when the pool has room for all of it (no unit of a
        // name is a 0 or a mark that the pool treats apart).
        const wchar* const room = macros.param_pool + PARAM_POOL_SIZE - 1;
        if (macros.pool_ptr + n + static_cast<unsigned>(own) <= room) {
            wchar* out = macros.pool_ptr;
            *out = MARK_NO_EXPAND;
            out += own;
#if CPP_READER_FAST_PATH
            // Eight at a time where the pool, and the buffer read, have room.
            if (out + n + 8 <= room && n + 8 <= MAX_IDENT_LIMIT + 1) {
                copy_name_units(out, name, n);
            } else
#endif
            {
                for (unsigned i = 0; i < n; ++i) out[i] = name[i];
            }
            macros.pool_ptr = out + n;
            return;
        }
        if (own) pool_char(MARK_NO_EXPAND);
        for (const wchar* p = name; *p != 0; ++p) pool_char(*p);
    }

    // Expands what a plain text source holds at c; false when c has been
    // consumed as a whole name. (No paste mark can follow a plain unit.)
    bool expand_in_place(int& c) {
        // What an expansion here gives is taken as it stands, its names
        // expanded (or stringised, or pasted) only where the argument is
        // read: no expansion is put together at once.
        const bool flat_was_allowed = expansion.flat_allowed;
        expansion.flat_allowed = false;
        c = expand_if_macro(c);
        while (!next_is_plain_unit() && is_paste_class(char_class(c)) && paste_tokens())
            c = expand_if_macro(next_char());
        expansion.flat_allowed = flat_was_allowed;
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
                take_units();
                c = skip_paste_marks();
                fresh = true;
                continue;
            }
            if (fresh && plain_text_source()) {
                fresh = false;
                if (expand_in_place(c)) continue;
                take_units();
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
            take_units();
            c = skip_paste_marks();
        }
    }

    // Takes the units ahead that the loop would take one by one with
    // nothing but appending them, straight from the buffer, while the pool
    // has room for them: in a file or macro text, those of no blank,
    // parenthesis, comma or quote; in a plain text, where every token is
    // looked at for a macro, also blanks, parentheses and commas inside
    // the argument, and names that are no macro.
    void take_units() {
#if CPP_READER_FAST_PATH
        input_source* s = reader.current_source;
        if (s == nullptr || reader.bookkeeping) return;
        if (text_unit_of(*s->pos) == TU_STOP) return;
        if (s->file != nullptr || s->macro != nullptr) {
            take_ordinary_units(s);
        } else {
            take_plain_text_units(s);
        }
#endif
    }

#if CPP_READER_FAST_PATH
    // In a file or macro text, where no name is looked at while the
    // arguments are collected: what the loop does with each plain unit
    // (a blank leaves a space pending once the argument holds text, a
    // parenthesis or comma inside it is appended with that space), up to a
    // quote, or a ')' or ',' that ends the argument.
    void take_ordinary_units(input_source* s) {
        const wchar* p = s->pos;
        wchar* out = macros.pool_ptr;
        wchar* const room = macros.param_pool + PARAM_POOL_SIZE - 1;
        const wchar* const first = start;
        int open = depth;
        bool blank = space;
        for (;;) {
            const wchar u = *p;
            const text_unit k = text_unit_of(u);
            if (k == TU_BLANK) {
                blank = out != first;
                ++p;
                continue;
            }
            // A quote, a unit the reader must hand out, and a ')' or ','
            // at depth 0 end the take.
            if (open + depth_check[k] < 0) break;
            if (out + static_cast<int>(blank) >= room) break;
            open += depth_change[k];
            *out = ' ';
            out += blank;
            blank = false;
            *out++ = u;
            ++p;
            // The rest of a run of names, numbers and operators.
            while (text_unit_of(*p) > TU_COMMA && out < room) *out++ = *p++;
        }
        depth = open;
        space = blank;
        s->pos = const_cast<wchar*>(p);
        macros.pool_ptr = out;
    }

    // What a unit of each kind does to the depth of parentheses within a
    // run of one-unit tokens; a unit that ends such a run makes any depth
    // negative.
    static constexpr int NO_RUN = -(PARAM_POOL_SIZE + 1);
    static constexpr std::array<int, TU_OTHER + 1> run_depth_change{NO_RUN, NO_RUN, NO_RUN, 1, -1,
                                                                    NO_RUN, NO_RUN, 0,      0, 0};
    // The same for the take in a file or macro text, where a comma inside
    // parentheses and a name are taken too.
    static constexpr std::array<int, TU_OTHER + 1> depth_check{NO_RUN, NO_RUN, NO_RUN, 1, -1,
                                                               -1,     0,      0,      0, 0};
    static constexpr std::array<int, TU_OTHER + 1> depth_change{0, 0, 0, 1, -1, 0, 0, 0, 0, 0};

    // In a plain text: what the loop does for each unit after expanding it
    // (when it is a name that is no macro, expansion leaves it as it is, cut
    // to the significant length), as long as the unit after each token is
    // one the reader hands out as it stands (so that no paste mark follows
    // and a name ends within the text). The state is kept in locals: the
    // look-ups it calls would otherwise make it go to memory at every unit.
    void take_plain_text_units(input_source* s) {
        const wchar* p = s->pos;
        wchar* out = macros.pool_ptr;
        // Room for a name copied eight units at a time, and its space.
        wchar* const room = macros.param_pool + PARAM_POOL_SIZE - 1 - 8;
        const auto significant = static_cast<std::size_t>(scanner.max_ident_len);
        const wchar* const first = start;
        const wchar* last = nullptr;  // the last token taken
        std::size_t last_length = 0;
        int open = depth;
        bool blank = space;
        for (;;) {
            const wchar u = *p;
            const text_unit k = text_unit_of(u);
            if (k == TU_NAME) {
                const std::size_t n = name_span(p);
                const std::size_t length = n < significant ? n : significant;
                if (may_be_macro_name(p, length) && is_defined(p, length)) break;
                if (text_unit_of(p[n]) == TU_STOP || out + 1 + length >= room) break;
                *out = ' ';
                out += blank;
                blank = false;
                copy_name_units(out, p, length);
                out += length;
                last = p;
                last_length = length;
                p += n;
                continue;
            }
            if (k == TU_BLANK) {
                blank = out != first;
                ++p;
                continue;
            }
            // One unit of its own: a number's digits go one by one too, as
            // the loop reads them.
            if (k == TU_STOP || k == TU_QUOTE) break;
            if (open == 0 && (k == TU_CLOSE || k == TU_COMMA)) break;
            text_unit next = text_unit_of(p[1]);
            if (next == TU_STOP || out + 2 >= room) break;
            open += static_cast<int>(k == TU_OPEN) - static_cast<int>(k == TU_CLOSE);
            *out = ' ';
            out += blank;
            blank = false;
            *out++ = u;
            ++p;
            // The one-unit tokens right after it, with no blank between, as
            // the steps above take them (their kinds carried along).
            for (;;) {
                // A ')' at depth 0, like any unit of no run, goes below 0.
                const int change = run_depth_change[next];
                if (open + change < 0) break;
                const text_unit after = text_unit_of(p[1]);
                if (after == TU_STOP || out + 2 >= room) break;
                open += change;
                *out++ = *p++;
                next = after;
            }
            last = p - 1;
            last_length = 1;
        }
        depth = open;
        space = blank;
        s->pos = const_cast<wchar*>(p);
        macros.pool_ptr = out;
        if (last != nullptr) {
            // The identifier buffer holds what the identifier step left.
            for (std::size_t i = 0; i < last_length; ++i) scanner.name_buffer[i] = last[i];
            scanner.name_buffer[last_length] = 0;
        }
    }
#endif
};

// Collects the arguments of a call whose '(' has been read; returns their
// number (0 when the input ended inside the list).
int collect_arguments(const macro_def* m, call_arguments& args) {
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
            args = {};
            return 0;
        }
        bool closed = pool_char(0) == 0;
        if (nargs < MAX_PARAMS) {
            args.text[nargs] = closed ? ar.start : empty_text;
            args.length[nargs] = closed ? static_cast<int>(macros.pool_ptr - ar.start) - 1 : 0;
        } else {
            macros.pool_ptr = ar.start;  // a surplus argument is not kept
        }
        ++nargs;
    }
}

// --- dynamic macros and the depth limit -------------------------------------

// ISO C, as gcc has it: inside the expansion of a call that runs over
// several lines, __LINE__ is the line the outermost macro's name is on.
void push_line_text() {
    long long line = shown_line_number();
    if (dialect.iso && reader.expansion_depth > 1)
        line = static_cast<unsigned>(reader.outermost_line);
    char digits[24];
    std::snprintf(digits, sizeof digits, "%lld", line);
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

[[gnu::cold, gnu::noinline]] void watch_expansion(const macro_def* m) {
    reader.watch->add({m, 0, reader.current_line});
}

// Too deep: every pending macro and argument text is dropped and reading
// goes on in the file.
void abandon_expansions(const macro_def* m) {
    report_nesting(m);
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

// What was passed is given back as a line end and a space.
namespace {

inline bool look_for_open_paren() {
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
    if (n > 0) {
        push_text_source(back);
        reader.current_source->pushback = true;
    }
    return false;
}

}  // namespace

bool find_open_paren() {
    return look_for_open_paren();
}

void report_nesting(const macro_def* m) {
    char name[NARROW_NAME];
    char outer[NARROW_NAME];
    wstr_to_narrow(name, m->name());
    const macro_def* o = reader.outermost_macro != nullptr ? reader.outermost_macro : m;
    wstr_to_narrow(outer, o->name());
    alert_report(MSG_RECURSION, name, outer);
}

void expand_reset() {
    renew_in_place(expansion);
    expand_iso_reset();
    flat_expansion_reset();
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
        // The left operand of a paste stands as it is. A plain unit ahead is
        // no paste mark, and needs no look.
        if (!next_is_plain_unit()) {
            int next = next_char();
            unget_char();
            if (next == MARK_PASTE) return c;
        }
        if (expand_macro(m) == 0) return c;
        c = next_char();
    }
}

namespace {

#if CPP_READER_FAST_PATH
// Pushes the n units at t as m's expansion text.
void push_flat_text(macro_def* m, const wchar* t, std::size_t n) {
    if (dialect.iso) {
        push_iso_replacement(m, t, n);
        return;
    }
    push_macro_text(m, t, n);
}
#endif

// An object-like macro whose expansion is put together at once is read as
// one text; false when it is to be expanded as always. The report lists
// every expansion, and the build without the bulk paths, which the
// differential runs compare with, expands every macro on the way.
bool expand_flat(macro_def* m) {
#if CPP_READER_FAST_PATH
    if (macros.report_row != nullptr || !expansion.flat_allowed) return false;
    flat_text f;
    // Expanded as always, the walk's macros would go this much deeper (m's
    // own step is taken): the limit there is reported as always.
    if (!flat_expansion(m, f) || reader.expansion_depth + f.levels + 2 >= MAX_EXPANSION_DEPTH)
        return false;
    // Two texts, as the reader would leave them (see flat_text), when the
    // text below owes no step yet: one it owed before would be paid off
    // by the first unit of m's text, which the two leave for later.
    const bool split = f.last_named != nullptr;
    if (split && (reader.current_source == nullptr || reader.current_source->pending_pops != 0))
        return false;
    const int pushed = split ? 2 : 1;
    if (reader.watch != nullptr && f.levels > 1) {
        // The steps of the depth that reading them one by one would take
        // (to its deepest point and back to the texts pushed), for the
        // reading watched.
        for (int i = 1; i < f.levels; ++i) reader.watch->add({m, 0, reader.current_line});
        if (f.levels > pushed) reader.watch->add({nullptr, f.levels - pushed, 0});
    }
    if (split) {
        push_flat_text(m, f.text + f.last_unit_at, f.length - f.last_unit_at);
        ++reader.expansion_depth;
        push_flat_text(f.last_named, f.text, f.last_unit_at);
    } else {
        push_flat_text(m, f.text, f.length);
    }
    return true;
#else
    (void)m;
    return false;
#endif
}

}  // namespace

int expand_macro(macro_def* m) {
    if (macros.report_row != nullptr) macros.report_row(m);
    if (reader.watch != nullptr) watch_expansion(m);
    if (++reader.expansion_depth == 1) {
        reader.outermost_macro = m;
        reader.outermost_line = reader.current_line;
    }
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
    // Most object-like macros are marked as no chain to put together.
    if (m->nparams == -1 && !m->no_flat && expand_flat(m)) return 1;
    if (dialect.iso) return expand_iso_macro(m);
    call_arguments args;
    std::fill_n(args.text, std::clamp(int{m->nparams}, 0, MAX_PARAMS), nullptr);
    wchar* pool_mark = macros.pool_ptr;
    if (m->nparams != -1) {
        if (m->nparams < 0) report_with_name(MSG_BAD_PARAM_COUNT, m);
        if (!look_for_open_paren()) return 0;
        args.count = collect_arguments(m, args);
        if (args.count != m->nparams) {
            char name[NARROW_NAME];
            wstr_to_narrow(name, m->name());
            alert_report(MSG_ARG_COUNT, name, args.count, m->nparams);
        }
    }
    push_expansion(m, args);
    macros.pool_ptr = pool_mark;
    return 1;
}

// An argument's text is read where it lies, as no long text: the pool
// holds none longer.
static_assert(PARAM_POOL_SIZE <= LONG_TEXT);

void push_argument(int index) {
    input_source* s = reader.current_source;
    macro_def* m = s != nullptr ? s->macro : nullptr;
    if (m == nullptr || index < 0 || index >= m->nparams || index >= MAX_PARAMS) {
        alert_report(MSG_BAD_PARAM_REF, index);
        return;
    }
    const wchar* arg = s->argument(index);
    if (arg == nullptr) return;
    push_borrowed_text(arg);
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
#if CPP_READER_FAST_PATH
    // At the end of a text, what follows it is known without reading on
    // mostly: the end of a macro text, or a plain unit after an argument.
    if (const input_source* s = reader.current_source;
        s != nullptr && !reader.bookkeeping && *s->pos == 0 && pass_text_end()) {
        return 0;
    }
#endif
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
    // Two names fit the save buffer many times over: they are copied whole.
    static_assert(2 * (MAX_IDENT_LIMIT + 1) < SAVE_BUFFER_SIZE);
    std::memcpy(scanner.save_buffer, left, left_len * sizeof(wchar));
    scanner.save_ptr = scanner.save_buffer + left_len;
    if (cls == CC_DIGIT) {
        save_digit_run(c, MAX_TEXT - left_len);
    } else if (is_right_operand(cls)) {
        const wchar* right = skip_no_expand(scanner.name_buffer);
        const unsigned right_len = wstr_len(right);
        std::memcpy(scanner.save_ptr, right, right_len * sizeof(wchar));
        scanner.save_ptr += right_len;
    } else {
        alert_report(MSG_PASTE_RIGHT_OPERAND, c);
        unget_char();
    }
    *scanner.save_ptr = 0;
    push_text_source(scanner.save_buffer);
    return 1;
}
