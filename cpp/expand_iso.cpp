// ISO C macro replacement. The arguments of a call are collected as
// written; each one is completely macro-replaced, as if it were the rest of
// the input, before it takes its parameter's place, unless it is an operand
// of '#' or '##'. Pasting happens while the replacement is built, with
// placemarkers for empty operands; the result is then rescanned with the
// macro disabled. A name met while its macro is disabled is painted (the
// no-expand mark before it) so that it never expands later, wherever the
// text goes.
#include <algorithm>
#include <array>
#include <cstring>
#include <memory>
#include <string_view>
#include <utility>
#include <vector>

#include "common/alert.h"
#include "cpp/expand.h"
#include "cpp/iso_tokens.h"
#include "cpp/macro_table.h"
#include "cpp/messages.h"
#include "cpp/reader.h"
#include "cpp/scanner.h"
#include "cpp/unit_copy.h"
#include "cpp/unit_text.h"

namespace {

// Calls whose arguments are being replaced inside the arguments of another
// call, at the most: each level is a few frames of the machine's stack.
constexpr int MAX_ARGUMENT_NESTING = 200;

using text = unit_text;

constexpr unsigned char ARG_MAY_CHANGE = 1;
constexpr unsigned char ARG_INERT = 2;

// A stretch of a replacement where an inert argument went in: the take of
// an argument's tokens that meets it there copies it whole.
struct text_region {
    std::size_t at;
    std::size_t length;
};
// Arguments shorter than this are not worth a region.
constexpr std::size_t MIN_REGION_LENGTH = 16;

// One call being expanded: its arguments as written and as replaced, and
// the replacement being built. Kept for reuse, one per nesting level.
struct iso_call {
    // Each argument followed by a 0; read-ahead after the last once one is
    // replaced (read as a text source).
    text raw;
    bool raw_padded = false;
    std::vector<std::size_t> raw_at;
    std::vector<std::size_t> raw_length;
    // Of each argument, ARG_MAY_CHANGE when it holds a name that replacing
    // it might change (a macro's, or one longer than its significant
    // length; one that holds none is its own replacement). ARG_INERT when,
    // besides, it was taken from the buffer throughout, no name painted:
    // its units are all ones the reader hands out as they stand, no literal
    // among them, one space at most between tokens and none at either end,
    // its brackets pair off with every comma inside them, and no name in it
    // passes the filter of macro names. Wherever it is met again while the
    // table stands, a take of tokens would copy it as it stands.
    std::vector<unsigned char> arg_flags;
    std::uint64_t collected_at = 0;  // macros.changes when collecting began
    text replaced;                   // arguments macro-replaced, on demand
    // Where each replaced argument starts in replaced (-1 until replaced),
    // and its length.
    std::vector<std::pair<std::ptrdiff_t, std::size_t>> rep;
    text out;                          // the replacement text
    std::vector<text_region> regions;  // of out, in order
    text operand;                      // a right operand of '##' built on its own
    std::size_t count = 0;             // arguments collected
    bool variadic_given = false;       // the variable arguments are present
};

struct iso_state {
    std::vector<std::unique_ptr<iso_call>> calls;
    int nesting = 0;
    text* target = nullptr;         // where append_unit puts what a scanner writes
    bool names_may_change = false;  // of the argument being collected
    bool inert = true;              // so far, but for its names
    // The regions of the replacement pushed last, for as long as the source
    // reading it is current and the table is as it was when it was built.
    std::vector<text_region> regions;
    const input_source* region_source = nullptr;
    const wchar* region_text = nullptr;
    const macro_def* region_macro = nullptr;
    std::uint64_t region_changes = 0;
    std::size_t region_next = 0;  // the first region not behind the last take
};
iso_state iso;

int append_unit(int c) {
    iso.target->push_back(static_cast<wchar>(c));
    return 0;
}

bool is_param_ref(unsigned u) {
    return u >= MARK_PARAM0 && u <= MARK_PARAM_LAST;
}

bool is_name_unit(int c) {
    int cls = char_class(c);
    return cls == CC_IDENT || cls == CC_DIGIT;
}

// Whether the name of n units at name is a macro being rescanned.
bool is_disabled(const wchar* name, std::size_t n) {
    if (n == 0 || name[0] == MARK_NO_EXPAND) return false;
    std::size_t significant = std::min(n, static_cast<std::size_t>(scanner.max_ident_len));
    const macro_def* m = find_macro(name, significant);
    return m != nullptr && m->active > 0;
}

// Notes a name of n units collected in an argument that replacing the
// argument might change.
void note_name(const wchar* name, std::size_t n) {
    const auto significant = static_cast<std::size_t>(scanner.max_ident_len);
    if (n > significant || may_be_macro_name(name, n)) iso.names_may_change = true;
}

// Appends a name (painted when its macro is disabled).
void put_name(text& t, const wchar* name, std::size_t n) {
    if (is_disabled(name, n)) t.push_back(MARK_NO_EXPAND);
    t.append(name, name + n);
}

// --- collecting the arguments -----------------------------------------------

// Reads the rest of a name whose first unit c has been read, as written.
void collect_name(text& t, int c) {
    std::size_t start = t.size();
    while (is_name_unit(c)) {
        t.push_back(static_cast<wchar>(c));
        c = next_char();
    }
    unget_char();
    note_name(t.data() + start, t.size() - start);
    if (is_disabled(t.data() + start, t.size() - start)) {
        t.insert(start, MARK_NO_EXPAND);
    }
}

// Reads the rest of a preprocessing number whose first unit c has been read.
void collect_number(text& t, int c) {
    for (;;) {
        t.push_back(static_cast<wchar>(c));
        int prev = c;
        c = next_char();
        if ((c == '+' || c == '-') && (prev == 'e' || prev == 'E' || prev == 'p' || prev == 'P'))
            continue;
        if (c != MARK_NO_EXPAND && (is_name_unit(c) || c == '.')) continue;
        break;
    }
    unget_char();
}

bool digit_follows() {
    int c = next_char();
    unget_char();
    return char_class(c) == CC_DIGIT;
}

// Appends the token that begins with c, as written.
void collect_token(text& t, int c) {
    int cls = char_class(c);
    if (cls == CC_QUOTE) {
        iso.target = &t;
        scan_literal(c, append_unit);
    } else if (cls == CC_IDENT) {
        collect_name(t, c);
    } else if (cls == CC_DIGIT || (c == '.' && digit_follows())) {
        collect_number(t, c);
    } else {
        t.push_back(static_cast<wchar>(c));
    }
}

// A line end inside the arguments: a directive's line ends them (116);
// the lines of a file after it are read as the main loop reads them.
bool next_argument_line(int line) {
    reader.sync_needed = 1;
    if (reader.in_directive) {
        unget_char();
        alert_report(MSG_EOF_IN_ARGS, line);
        return false;
    }
    const input_source* s = reader.current_source;
    if (s != nullptr && s->file != nullptr && reader.argument_line_hook != nullptr) {
        // The directives among these lines may expand calls of their own
        // (#if f(1)): those take the frames above this call's and leave
        // what this collection has so far as it was.
        const int nesting = iso.nesting;
        text* const target = iso.target;
        const bool names_may_change = iso.names_may_change;
        const bool inert = iso.inert;
        macro_def* const outermost = reader.outermost_macro;
        const int outermost_line = reader.outermost_line;
        const int depth = reader.expansion_depth;
        ++iso.nesting;
        reader.argument_line_hook();
        iso.nesting = nesting;
        iso.target = target;
        iso.names_may_change = names_may_change;
        iso.inert = inert;
        reader.outermost_macro = outermost;
        reader.outermost_line = outermost_line;
        reader.expansion_depth = depth;
    }
    return true;
}

#if CPP_READER_FAST_PATH
// The end of the preprocessing number at p, or null where a unit it would
// take needs the reader. The 0 that ends a text ends the number when
// text_ends_tokens.
const wchar* plain_number_end(const wchar* p, bool text_ends_tokens) {
    for (const wchar* q = p + 1;; ++q) {
        const text_unit k = text_unit_of(*q);
        if (k == TU_NAME || k == TU_DIGIT || k == TU_DOT) continue;
        if (k == TU_STOP) return *q == 0 && text_ends_tokens ? q : nullptr;
        const wchar u = *q;
        const wchar prev = q[-1];
        if ((u == '+' || u == '-') && (prev == 'e' || prev == 'E' || prev == 'p' || prev == 'P'))
            continue;
        return q;
    }
}
#endif

#if CPP_READER_FAST_PATH
// Appends the units from p up to q.
inline void append_units(text& t, const wchar* p, const wchar* q) {
    if (q - p == 1) {
        t.push_back(*p);
    } else {
        t.append(p, q);
    }
}

// Whether the 0 that ends the text of s ends the token before it: the end
// of macro text or of a barrier is all the reader hands out there.
inline bool text_ends_tokens(const input_source* s) {
    return s->macro != nullptr || s->barrier;
}

// The end of the token at p (not a blank, a quote or a unit the reader must
// look at), or null when its end is not in sight.
inline const wchar* plain_token_end(const wchar* p, bool text_ends_tokens) {
    const text_unit k = text_unit_of(*p);
    if (k == TU_NAME) {
        const wchar* q = p + name_span(p);
        // Else the name may go on.
        if (*q < 256 && reader_plain_unit[*q]) return q;
        return *q == 0 && text_ends_tokens ? q : nullptr;
    }
    if (k == TU_DIGIT || (k == TU_DOT && char_class(p[1]) == CC_DIGIT))
        return plain_number_end(p, text_ends_tokens);
    return p + 1;
}
#endif

#if CPP_READER_FAST_PATH
// The first region of the current source s that does not begin before p,
// or null: what follows it is then no region.
text_region* next_region(const input_source* s, const wchar* p) {
    if (s != iso.region_source || s->text != iso.region_text || s->macro != iso.region_macro ||
        macros.changes != iso.region_changes)
        return nullptr;
    // Reading goes forward, but for a unit given back now and then.
    const auto at = static_cast<std::size_t>(p - s->text);
    std::size_t& i = iso.region_next;
    while (i > 0 && iso.regions[i - 1].at >= at) --i;
    while (i < iso.regions.size() && iso.regions[i].at < at) ++i;
    return i < iso.regions.size() ? &iso.regions[i] : nullptr;
}

// Whether the unit after a region leaves the region's last token as it is
// read token by token: a unit the reader hands out as it stands that
// cannot go on a name or number, or the end of the text.
inline bool ends_region(const wchar* end) {
    const wchar u = *end;
    if (u == 0) return true;
    const text_unit k = text_unit_of(u);
    if (k == TU_STOP || k == TU_NAME || k == TU_DIGIT || k == TU_DOT) return false;
    const wchar last = end[-1];
    return !((u == '+' || u == '-') && (last == 'e' || last == 'E' || last == 'p' || last == 'P'));
}

// At the region r of the current source s, which begins at `at`: moves on
// to the next region, and sets q to the end of r when a take may copy it
// as it stands (a token begins where it does, since the take got there).
bool take_region(const input_source* s, text_region*& r, const wchar*& at, const wchar*& q) {
    const wchar* end = at + r->length;
    const bool usable = ends_region(end);
    if (usable) q = end;
    ++r;
    if (r == iso.regions.data() + iso.regions.size()) {
        r = nullptr;
        at = nullptr;
    } else {
        at = s->text + r->at;
    }
    return usable;
}
#endif

#if CPP_READER_FAST_PATH
// The loop of take_plain_tokens over the units from p on, which returns
// where it stopped; with_regions when the source has regions ahead.
template <bool with_regions>
const wchar* take_plain_run(const input_source* s, const wchar* p, text& t, bool& space,
                            std::size_t start, int& depth, text_region* region) {
    // A macro can be disabled only while macro text is being read.
    const bool paint = s->file == nullptr;
    const bool ends = text_ends_tokens(s);
    // After the first token taken, the text from run to run_end is what
    // would be appended for it: tokens one after another or one space apart.
    const wchar* run = nullptr;
    const wchar* run_end = nullptr;
    const wchar* region_at = with_regions ? s->text + region->at : nullptr;
    for (;;) {
        const wchar u = *p;
        const text_unit k = text_unit_of(u);
        if (k == TU_BLANK) {
            space = t.size() != start || run != run_end;
            ++p;
            continue;
        }
        const wchar* q = p + 1;
        bool painted = false;
        if (with_regions && p == region_at && take_region(s, region, region_at, q)) {
            // Taken token by token, the region would go in as it stands.
        } else if (k <= TU_COMMA) {
            if (k == TU_OPEN) {
                ++depth;
            } else if ((k == TU_CLOSE || k == TU_COMMA) && depth > 0) {
                if (k == TU_CLOSE) --depth;
            } else {
                break;
            }
        } else {
            q = plain_token_end(p, ends);
            if (q == nullptr) break;
            if (k == TU_NAME) {
                const auto n = static_cast<std::size_t>(q - p);
                note_name(p, n);
                painted = paint && may_be_macro_name(p, n) && is_disabled(p, n);
                if (painted) iso.inert = false;
            }
        }
        // p is never null: p == run_end only once a token has been taken.
        const bool as_it_stands =
            p == run_end || (run_end != nullptr && p == run_end + 1 && *run_end == ' ');
        if (as_it_stands && !painted) {
            run_end = q;
        } else {
            if (run != run_end) t.append(run, run_end);
            if (space) t.push_back(' ');
            if (painted) t.push_back(MARK_NO_EXPAND);
            append_units(t, p, q);
            run = run_end = q;
        }
        space = false;
        p = q;
    }
    if (run != run_end) t.append(run, run_end);
    return p;
}
#endif

#if CPP_READER_FAST_PATH
// Out of line: few sources have regions.
[[gnu::noinline]] const wchar* take_plain_run_with_regions(const input_source* s, text& t,
                                                           bool& space, std::size_t start,
                                                           int& depth, text_region* region) {
    return take_plain_run<true>(s, s->pos, t, space, start, depth, region);
}
#endif

// Takes the tokens of an argument ahead that need nothing but appending
// (names painted where their macro is disabled) straight from the buffer,
// blanks between them folded as the loop folds them. Parentheses nested at
// depth, and the commas inside them, are taken too; a ')' or ',' that may
// end the argument is left for the loop.
void take_plain_tokens(text& t, bool& space, std::size_t start, int& depth) {
#if CPP_READER_FAST_PATH
    input_source* s = reader.current_source;
    if (s == nullptr || reader.bookkeeping) return;
    text_region* region = next_region(s, s->pos);
    const wchar* p = region != nullptr
                         ? take_plain_run_with_regions(s, t, space, start, depth, region)
                         : take_plain_run<false>(s, s->pos, t, space, start, depth, nullptr);
    s->pos = const_cast<wchar*>(p);
#else
    (void)t;
    (void)space;
    (void)start;
    (void)depth;
#endif
}

void end_argument(iso_call& call, std::size_t start) {
    call.raw_at.push_back(start);
    call.raw_length.push_back(call.raw.size() - start);
    unsigned char flags = 0;
    if (iso.names_may_change)
        flags = ARG_MAY_CHANGE;
    else if (iso.inert)
        flags = ARG_INERT;
    call.arg_flags.push_back(flags);
    iso.names_may_change = false;
    iso.inert = true;
    call.raw.push_back(0);
}

// Collects the arguments of a call whose '(' has been read; false when the
// input ended inside the list (116).
bool collect(const macro_def* m, iso_call& call) {
    call.raw.clear();
    call.raw_at.clear();
    call.raw_length.clear();
    call.arg_flags.clear();
    call.collected_at = macros.changes;
    iso.names_may_change = false;
    iso.inert = true;
    const int line = reader.current_line;
    // The variable arguments, commas and all, are the last one.
    const std::size_t last = m->variadic ? static_cast<std::size_t>(m->nparams - 1) : SIZE_MAX;
    int depth = 0;
    bool space = false;
    std::size_t start = 0;
    for (;;) {
        take_plain_tokens(call.raw, space, start, depth);
        int c = next_char();
        if (c == 0) {
            alert_report(MSG_EOF_IN_ARGS, line);
            return false;
        }
        if (c == MARK_END) continue;
        if (c == '\n' || char_class(c) == CC_BLANK) {
            space = call.raw.size() != start;
            if (c == '\n' && !next_argument_line(line)) return false;
            continue;
        }
        if (depth == 0 && (c == ')' || (c == ',' && call.raw_at.size() != last))) {
            end_argument(call, start);
            if (c == ')') break;
            start = call.raw.size();
            space = false;
            continue;
        }
        if (space) call.raw.push_back(' ');
        space = false;
        if (c == '(') ++depth;
        if (c == ')') --depth;
        // Only an argument taken from the buffer throughout is known inert.
        iso.inert = false;
        collect_token(call.raw, c);
    }
    call.raw_padded = false;
    call.count = call.raw_at.size();
    return true;
}

// Whether the call supplies what the macro takes: as many arguments as it
// has parameters (an empty one counts), the variable arguments possibly
// left out. Reports 171 otherwise.
bool check_count(const macro_def* m, iso_call& call) {
    const auto n = static_cast<std::size_t>(m->nparams);
    call.variadic_given = m->variadic && call.count == n;
    if (call.count == n || (m->variadic && call.count + 1 == n)) return true;
    if (n == 0 && call.count == 1 && call.raw_length[0] == 0) return true;
    char name[MAX_IDENT_LIMIT + 2];
    wstr_to_narrow(name, m->name());
    alert_report(MSG_ARG_COUNT, name, static_cast<int>(call.count), m->nparams);
    return false;
}

// --- replacing an argument ----------------------------------------------------

// Whether u is a token that runs into none beside it, whatever the other:
// a bracket, ',', ';', '?' or '~'.
constexpr bool stands_apart(wchar u) {
    switch (u) {
        case '(':
        case ')':
        case '[':
        case ']':
        case '{':
        case '}':
        case ',':
        case ';':
        case '?':
        case '~':
            return true;
        default:
            return false;
    }
}

// Whether a token beginning with `first` put right after the text out holds
// from `start` would run into its last token.
bool merges(const text& out, std::size_t start, wchar first) {
    if (out.size() <= start) return false;
    const wchar last = out.back();
    if (stands_apart(first) || stands_apart(last)) return false;
    // Whether the last token is a number matters before these only.
    const bool ask = first == '.' || first == '+' || first == '-' || first == '"' || first == '\'';
    return pp_tokens_merge(
        last, ask && pp_number_ends_at(out.data() + start, out.data() + out.size()), first);
}

struct token_writer {
    text& out;
    std::size_t start;
    unsigned seen = reader.boundaries;
    bool space = false;
    // Where the take of plain tokens stopped at the name of a macro that may
    // expand, with a plain unit after it: the macro, and the name's end.
    macro_def* found = nullptr;
    const wchar* found_end = nullptr;

    // Before a token that begins with c: the space read before it, or one
    // where a macro boundary would let it run into the token before.
    void begin(int c) {
        if (out.size() != start) {
            if (space || (reader.boundaries != seen && merges(out, start, static_cast<wchar>(c))))
                out.push_back(' ');
        }
        seen = reader.boundaries;
        space = false;
    }
};

// Takes the tokens ahead in a text being replaced that need nothing but
// writing straight from the buffer: all but literals and the names of
// macros that may expand (a name of a disabled one is painted).
void take_plain_replacement(token_writer& w) {
#if CPP_READER_FAST_PATH
    input_source* s = reader.current_source;
    if (s == nullptr || reader.bookkeeping) return;
    const auto significant = static_cast<std::size_t>(scanner.max_ident_len);
    const bool ends = text_ends_tokens(s);
    const wchar* p = s->pos;
    // After the first token taken, the text from run to run_end is what the
    // writer would write for it as it stands: tokens one after another or
    // one space apart. It goes out at once, when something else must.
    const wchar* run = nullptr;
    const wchar* run_end = nullptr;
    for (;;) {
        const wchar u = *p;
        const text_unit k = text_unit_of(u);
        if (k == TU_BLANK) {
            w.space = true;
            ++p;
            continue;
        }
        if (k == TU_STOP || k == TU_QUOTE) break;
        const wchar* q = p + 1;
        std::size_t n = 1;
        bool painted = false;
        // A unit that is no name or number is a token of its own, or begins
        // a punctuator that goes out unit by unit all the same.
        if (k == TU_NAME || k == TU_DIGIT || k == TU_DOT) {
            q = plain_token_end(p, ends);
            if (q == nullptr) break;
            n = static_cast<std::size_t>(q - p);
        }
        if (k == TU_NAME) {
            // Written as the identifier step leaves it: cut to its
            // significant length.
            n = std::min(n, significant);
            if (may_be_macro_name(p, n)) {
                macro_def* m = find_macro(p, n);
                if (m != nullptr && m->active == 0) {
                    // No paste mark can follow a plain unit: the name is
                    // expanded at once, without reading it again.
                    if (*q < 256 && reader_plain_unit[*q]) {
                        w.found = m;
                        w.found_end = q;
                    }
                    break;
                }
                painted = m != nullptr;
            }
        }
        // The writer's space after the run's last token is the one written.
        // p is never null: p == run_end only once a token has been taken.
        const bool as_it_stands =
            p == run_end || (run_end != nullptr && p == run_end + 1 && *run_end == ' ');
        if (as_it_stands && !painted && p + n == q) {
            run_end = q;
            w.space = false;
        } else {
            if (run != run_end) w.out.append(run, run_end);
            w.begin(u);
            if (painted) w.out.push_back(MARK_NO_EXPAND);
            append_units(w.out, p, p + n);
            run = run_end = q;
        }
        p = q;
    }
    if (run != run_end) w.out.append(run, run_end);
    s->pos = const_cast<wchar*>(p);
#else
    (void)w;
#endif
}

// Takes the plain tokens ahead, and expands the names of macros the take
// stops at as the identifier step would; returns the next unit read.
int take_plain_and_read(token_writer& w) {
    for (;;) {
        take_plain_replacement(w);
        macro_def* m = w.found;
        if (m == nullptr) return next_char();
        w.found = nullptr;
        // The name goes to the identifier buffer, cut to its significant
        // length, and the reader moves past all of it.
        input_source* s = reader.current_source;
        const wchar* p = s->pos;
        const auto length = static_cast<std::size_t>(w.found_end - p);
        const std::size_t n = std::min(length, static_cast<std::size_t>(scanner.max_ident_len));
        std::copy(p, p + n, scanner.name_buffer);
        scanner.name_buffer[n] = 0;
        s->pos = const_cast<wchar*>(w.found_end);
        if (expand_macro(m) != 0) continue;
        // The name stands after all.
        w.begin(scanner.name_buffer[0]);
        put_name(w.out, scanner.name_buffer, wstr_len(scanner.name_buffer));
    }
}

// Macro-replaces a text as if it were the rest of the input, appending the
// result to out.
void replace_text(const wchar* source, text& out) {
    push_barrier_text(source);
    const input_source* barrier = reader.current_source;
    token_writer w{out, out.size()};
    int c = take_plain_and_read(w);
    for (;;) {
        if (c == 0) {
            if (reader.current_source == barrier) break;
            c = next_char();
            continue;
        }
        if (c == MARK_END) {
            c = take_plain_and_read(w);
        } else if (c == '\n' || char_class(c) == CC_BLANK) {
            w.space = true;
            c = take_plain_and_read(w);
        } else if (char_class(c) == CC_IDENT) {
            // The first unit of an expansion is looked at in turn.
            c = expand_if_macro(c);
            if (char_class(c) != CC_IDENT) continue;
            w.begin(scanner.name_buffer[0]);
            put_name(out, scanner.name_buffer, wstr_len(scanner.name_buffer));
            c = take_plain_and_read(w);
        } else {
            w.begin(c);
            collect_token(out, c);
            c = take_plain_and_read(w);
        }
    }
    pop_barrier_source();
}

const wchar* raw_argument(const iso_call& call, std::size_t i, std::size_t& n) {
    if (i >= call.count) {
        n = 0;
        return nullptr;
    }
    n = call.raw_length[i];
    return call.raw.data() + call.raw_at[i];
}

const wchar* replaced_argument(iso_call& call, std::size_t i, std::size_t& n) {
    if (i >= call.count) {
        n = 0;
        return nullptr;
    }
    if ((call.arg_flags[i] & ARG_MAY_CHANGE) == 0) return raw_argument(call, i, n);
    auto& [rep_at, rep_length] = call.rep[i];
    if (rep_at < 0) {
        if (!call.raw_padded) {
            call.raw.append(BUFFER_READ_AHEAD, 0);
            call.raw_padded = true;
        }
        auto at = static_cast<std::ptrdiff_t>(call.replaced.size());
        replace_text(call.raw.data() + call.raw_at[i], call.replaced);
        rep_at = at;
        rep_length = call.replaced.size() - static_cast<std::size_t>(at);
        call.replaced.push_back(0);
    }
    n = rep_length;
    return call.replaced.data() + rep_at;
}

// --- building the replacement -------------------------------------------------

// Appends a text, with a space first where its first token would run into
// the last one before it.
void put_text(text& out, const wchar* s, std::size_t n) {
    if (n == 0) return;
    if (merges(out, 0, s[0])) out.push_back(' ');
    out.append(s, s + n);
}

// '#': the argument as written, between double quotes; a backslash or
// double quote inside a string or character literal is escaped.
void put_stringised(text& out, const wchar* s, std::size_t n) {
    out.push_back('"');
    wchar quote = 0;
    for (std::size_t i = 0; i < n; ++i) {
        wchar u = s[i];
        if (u == MARK_NO_EXPAND) continue;
        if (quote != 0) {
            if (u == '\\' || u == '"') out.push_back('\\');
            out.push_back(u);
            if (u == '\\' && i + 1 < n) {
                if (s[i + 1] == '\\' || s[i + 1] == '"') out.push_back('\\');
                out.push_back(s[++i]);
            } else if (u == quote) {
                quote = 0;
            }
            continue;
        }
        if (u == '"' || u == '\'') {
            quote = u;
            if (u == '"') out.push_back('\\');
        }
        out.push_back(u);
    }
    out.push_back('"');
}

// The start of the last token of out at or after from (a token boundary).
std::size_t last_token_start(const text& out, std::size_t from) {
    std::size_t last = from;
    const wchar* end = out.data() + out.size();
    for (std::size_t i = from; i < out.size();) {
        if (out[i] == ' ') {
            ++i;
            continue;
        }
        last = i;
        i += pp_token_length(out.data() + i, end);
    }
    return last;
}

void report_invalid_paste(const wchar* left, std::size_t nl, const wchar* right, std::size_t nr) {
    std::vector<char> a(nl + 1), b(nr + 1);
    for (std::size_t i = 0; i < nl; ++i) a[i] = static_cast<char>(left[i]);
    for (std::size_t i = 0; i < nr; ++i) b[i] = static_cast<char>(right[i]);
    alert_report(MSG_INVALID_PASTE, a.data(), b.data());
}

// Joins the last token of out (after `left`, the start of the left operand)
// with the first of the right operand, n units at s; an empty operand is a
// placemarker, which leaves the other as it is. Returns where the joined
// token starts (the left operand of a '##' that follows).
std::size_t paste(text& out, std::size_t left, const wchar* s, std::size_t n) {
    if (n == 0) return left;
    if (out.size() == left) {
        put_text(out, s, n);
        return left;
    }
    std::size_t at = last_token_start(out, left);
    if (out[at] == MARK_NO_EXPAND) out.erase(at);
    if (s[0] == MARK_NO_EXPAND) {
        ++s;
        --n;
    }
    const std::size_t left_length = out.size() - at;
    const std::size_t right_length = pp_token_length(s, s + n);
    out.append(s, s + n);
    const wchar* joined = out.data() + at;
    if (pp_token_length(joined, out.data() + out.size()) != left_length + right_length) {
        report_invalid_paste(joined, left_length, joined + left_length, right_length);
        out.insert(at + left_length, ' ');
    }
    return at;
}

struct builder {
    const macro_def* m;
    iso_call& call;
    text& out;
    std::size_t operand = 0;  // where the last operand put in out starts
    bool after_argument = false;

    void put_argument(std::size_t i, bool as_written) {
        std::size_t n;
        const wchar* s = as_written ? raw_argument(call, i, n) : replaced_argument(call, i, n);
        operand = out.size();
        if (s != nullptr) put_text(out, s, n);
        after_argument = true;
        // Not as written: no paste may reach into it. Its own replacement,
        // it is as it was collected.
        if (!as_written && n >= MIN_REGION_LENGTH && call.arg_flags[i] == ARG_INERT)
            call.regions.push_back({out.size() - n, n});
    }

    void put_body_unit(wchar u) {
        if (u == ' ') {
            out.push_back(u);
            operand = out.size();
            after_argument = false;
            return;
        }
        if (after_argument && merges(out, 0, u)) out.push_back(' ');
        if (after_argument) operand = out.size();
        after_argument = false;
        out.push_back(u);
    }

    // "## param" of the variable arguments after a comma: the comma goes
    // when they are left out; otherwise they follow it as written.
    bool gnu_comma(std::size_t i, const wchar* next) {
        if (!m->variadic || i + 1 != static_cast<std::size_t>(m->nparams)) return false;
        // Pasted on to another token as well, they are an ordinary operand.
        if (*next == MARK_PASTE) return false;
        if (after_argument || out.empty() || out.back() != ',') return false;
        if (!call.variadic_given) {
            out.pop_back();
            while (!out.empty() && out.back() == ' ') out.pop_back();
            operand = out.size();
            return true;
        }
        std::size_t n;
        const wchar* s = raw_argument(call, i, n);
        out.append(s, s + n);
        return true;
    }

    // The '##' at p; returns the last body unit it used.
    const wchar* put_paste(const wchar* p) {
        const wchar* q = p + 1;
        if (is_param_ref(*q)) {
            auto i = static_cast<std::size_t>(*q - MARK_PARAM0);
            if (gnu_comma(i, q + 1)) return q;
            std::size_t n;
            const wchar* s = raw_argument(call, i, n);
            operand = paste(out, operand, s, s != nullptr ? n : 0);
            after_argument = true;
            return q;
        }
        text& right = call.operand;
        right.clear();
        if (*q == MARK_STRINGISE && is_param_ref(q[1])) {
            std::size_t n;
            const wchar* s = raw_argument(call, static_cast<std::size_t>(q[1] - MARK_PARAM0), n);
            put_stringised(right, s, n);
            q += 1;
        } else {
            const wchar* end = q + wstr_len(q);
            std::size_t n = pp_token_length(q, end);
            right.assign(q, q + n);
            // (None when a full save buffer cut the right operand off.)
            q = p + n;
        }
        operand = paste(out, operand, right.data(), right.size());
        after_argument = true;
        return q;
    }

    void build() {
        out.clear();
        call.regions.clear();
        const wchar* body = m->body ? m->body.get() : u"";
        for (const wchar* p = body; *p != 0; ++p) {
            const wchar u = *p;
            if (u < 256) {
                // A run of plain units goes in at once; a space in it is
                // where the next operand starts, as each would leave it.
                const wchar* q = p + 1;
                while (*q < 256 && *q != 0) ++q;
                put_body_unit(u);
                if (q - p > 1) {
                    out.append(p + 1, q);
                    for (const wchar* r = q - 1; r > p; --r) {
                        if (*r == ' ') {
                            operand = out.size() - static_cast<std::size_t>(q - 1 - r);
                            break;
                        }
                    }
                }
                p = q - 1;
            } else if (u == MARK_STRINGISE && is_param_ref(p[1])) {
                std::size_t n;
                const wchar* s =
                    raw_argument(call, static_cast<std::size_t>(*++p - MARK_PARAM0), n);
                if (after_argument && merges(out, 0, '"')) out.push_back(' ');
                operand = out.size();
                put_stringised(out, s, n);
                after_argument = true;
            } else if (u == MARK_PASTE) {
                p = put_paste(p);
            } else if (is_param_ref(u)) {
                put_argument(static_cast<std::size_t>(u - MARK_PARAM0), p[1] == MARK_PASTE);
            } else {
                put_body_unit(u);
            }
        }
    }
};

iso_call& call_frame(int level) {
    while (static_cast<int>(iso.calls.size()) <= level)
        iso.calls.push_back(std::make_unique<iso_call>());
    return *iso.calls[static_cast<std::size_t>(level)];
}

[[gnu::always_inline]] inline void push_replacement(macro_def* m, const wchar* t, std::size_t n) {
    const input_source* s = push_macro_text(m, t, n);
    ++reader.boundaries;
    // This record may have read a replacement whose regions are kept.
    if (s == iso.region_source) iso.region_source = nullptr;
}

// The name stands for itself after all: the identifier buffer holds it
// again for the caller to write.
int name_stands(const macro_def* m) {
    wstr_copy(scanner.name_buffer, m->name());
    return 0;
}

}  // namespace

void push_iso_replacement(macro_def* m, const wchar* t, std::size_t n) {
    push_replacement(m, t, n);
}

void expand_iso_reset() {
    iso = {};
}

int expand_iso_macro(macro_def* m) {
    const wchar* body = m->body ? m->body.get() : u"";
    if (m->nparams < 0 && m->body_length == BODY_UNMEASURED) {
        m->body_length = std::u16string_view(body).find(MARK_PASTE) == std::u16string_view::npos
                             ? static_cast<int>(wstr_len(body))
                             : BODY_BUILT;
    }
    if (m->nparams < 0 && m->body_length >= 0) {
        push_replacement(m, body, static_cast<std::size_t>(m->body_length));
        return 1;
    }
    // The lines up to the parenthesis and those of the arguments may hold
    // directives: an #undef or #define of this very name there leaves the
    // call to the definition it began with.
    macro_hold hold(m);
    if (m->nparams >= 0 && !find_open_paren()) return 0;
    if (iso.nesting >= MAX_ARGUMENT_NESTING) {
        report_nesting(m);
        return name_stands(m);
    }
    iso_call& call = call_frame(iso.nesting);
    call.count = 0;
    if (m->nparams >= 0 && (!collect(m, call) || !check_count(m, call))) return name_stands(m);
    call.replaced.clear();
    call.rep.assign(call.count, {-1, 0});
    ++iso.nesting;
    builder b{m, call, call.out};
    b.build();
    --iso.nesting;
    push_replacement(m, call.out.data(), call.out.size());
    if (!call.regions.empty()) {
        iso.regions.swap(call.regions);
        iso.region_source = reader.current_source;
        iso.region_text = reader.current_source->text;
        iso.region_macro = m;
        // A name that passed no filter then may pass it since.
        iso.region_changes = call.collected_at;
        iso.region_next = 0;
    }
    return 1;
}
