// The macro table: 64 chains of records ordered by hash and name, the
// parameter pool, and the #define / #undef directives that fill the table
// with replacement texts in their encoded form (parameter references,
// stringise and paste marks, the no-expand mark before the macro's own name).
#include "cpp/macro_table.h"

#include <algorithm>
#include <array>
#include <cassert>
#include <cctype>
#include <cstring>
#ifdef __SSE2__
#include <emmintrin.h>
#endif

#include "common/alert.h"
#include "common/small_pool.h"
#include "common/state_reset.h"
#include "cpp/dialect.h"
#include "cpp/flat_expansion.h"
#include "cpp/messages.h"
#include "cpp/reader.h"
#include "cpp/scanner.h"
#include "cpp/unit_copy.h"

macro_state macros;

namespace {

std::array<bool, 256> make_name_units() {
    std::array<bool, 256> t{};
    for (int c = 0; c < 256; ++c) {
        int cls = char_class_table[c];
        t[c] = reader_plain_unit[c] && (cls == CC_IDENT || cls == CC_DIGIT);
    }
    return t;
}

}  // namespace

// Both tables it reads are constant-initialised.
const std::array<bool, 256> plain_name_unit = make_name_units();

namespace {

constexpr int NARROW_NAME = MAX_IDENT_LIMIT + 2;

std::uint32_t name_hash(const wchar* name) {
    std::uint32_t h = 0;
    std::uint32_t n = 0;
    for (; name[n] != 0; ++n) h += name[n];
    return h + n;
}

bool is_held(const macro_def* m) {
    return std::find(macros.held.begin(), macros.held.end(), m) != macros.held.end();
}

// A record may still be named by a live input source (an expansion text or
// an argument text) when it is removed, or held by a call being read; it is
// then parked on the retired list instead of being freed.
bool source_refers_to(const macro_def* m) {
    if (is_held(m)) return true;
    for (const input_source* s = reader.current_source; s != nullptr; s = s->parent.get()) {
        if (s->macro == m || s->reenable_macro == m) return true;
    }
    return m == reader.outermost_macro;
}

void free_chain(macro_def* m) {
    while (m != nullptr) {
        macro_def* next = m->next;
        macro_def::destroy(m);
        m = next;
    }
}

// Frees the retired records that nothing refers to any more.
void sweep_retired() {
    macro_def** link = &macros.retired;
    while (*link != nullptr) {
        macro_def* m = *link;
        if (source_refers_to(m)) {
            link = &m->next;
        } else {
            *link = m->next;
            macro_def::destroy(m);
        }
    }
}

void release_record(macro_def* m) {
    if (macros.retired != nullptr) sweep_retired();
    if (!source_refers_to(m)) {
        macro_def::destroy(m);
        return;
    }
    if (!is_held(m)) m->body.reset();
    m->next = macros.retired;
    macros.retired = m;
}

// The look-up index hash of the n units of a name, four units at a time
// (a name is mostly read once and looked up once, so the hash must be cheap
// per unit); the multiply and shift mix every unit into every bit, so names
// that differ only in the order of their characters (KV_1_2, KV_2_1) part
// company.
constexpr std::size_t INDEX_START = 256;

inline std::uint32_t index_hash(const wchar* p, std::size_t n) {
    constexpr std::uint64_t MIX = 0xFF51AFD7ED558CCDull;
    std::uint64_t h = 0x9E3779B97F4A7C15ull ^ n;
    for (; n >= 4; n -= 4, p += 4) {
        std::uint64_t w;
        std::memcpy(&w, p, sizeof w);
        h = (h ^ w) * MIX;
        h ^= h >> 29;
    }
    // The last one to three units, read as one or two loads.
    std::uint64_t tail = 0;
    if (n & 2) {
        std::uint32_t pair;
        std::memcpy(&pair, p, sizeof pair);
        tail = pair;
        p += 2;
    }
    if (n & 1) tail = tail << 16 | *p;
    h = (h ^ tail) * MIX;
    return static_cast<std::uint32_t>(h ^ (h >> 32));
}

std::size_t index_slot(std::uint32_t h) {
    return (h ^ (h >> 15)) & (macros.index.size() - 1);
}

// Doubles the index (or makes its first slots) and re-links every record.
void grow_index() {
    std::vector<macro_def*> old = std::move(macros.index);
    macros.index.assign(old.empty() ? INDEX_START : old.size() * 2, nullptr);
    for (macro_def* head : old) {
        while (head != nullptr) {
            macro_def* next = head->index_next;
            macro_def*& slot = macros.index[index_slot(head->index_hash)];
            head->index_next = slot;
            slot = head;
            head = next;
        }
    }
}

void index_insert(macro_def* m) {
    if (macros.index_count >= 2 * macros.index.size()) grow_index();
    macro_def*& slot = macros.index[index_slot(m->index_hash)];
    m->index_next = slot;
    slot = m;
    ++macros.index_count;
}

void index_remove(macro_def* m) {
    macro_def** link = &macros.index[index_slot(m->index_hash)];
    while (*link != m) link = &(*link)->index_next;
    *link = m->index_next;
    m->index_next = nullptr;
    --macros.index_count;
}

// Whether the n units at a and b are the same, four at a time: names are
// short, and a call of memcmp costs more than comparing one.
inline bool same_units(const wchar* a, const wchar* b, std::size_t n) {
    for (; n >= 4; n -= 4, a += 4, b += 4) {
        std::uint64_t x;
        std::uint64_t y;
        std::memcpy(&x, a, sizeof x);
        std::memcpy(&y, b, sizeof y);
        if (x != y) return false;
    }
    for (; n != 0; --n, ++a, ++b) {
        if (*a != *b) return false;
    }
    return true;
}

// The table's record of the name of n units (its hash h), or null.
inline macro_def* index_find(const wchar* name, std::size_t n, std::uint32_t h) {
    if (macros.index.empty()) return nullptr;
    for (macro_def* m = macros.index[index_slot(h)]; m != nullptr; m = m->index_next) {
        if (m->index_hash != h) continue;
        if (m->name_length == n && same_units(m->name(), name, n)) return m;
    }
    return nullptr;
}

// The record of the name of n units, or null: the record found last is
// tried first, since a name that the bulk copy stops at as a macro is
// looked up again by the token loop that takes it over.
macro_def* look_up(const wchar* name, std::size_t n) {
    macro_def* m = macros.found_last;
    if (m != nullptr && m->name_length == n && same_units(m->name(), name, n)) return m;
    m = index_find(name, n, index_hash(name, n));
    if (m != nullptr) macros.found_last = m;
    return m;
}

#if CPP_READER_FAST_PATH
// Copies n units of a name into the identifier buffer at out, eight at a
// time while the buffer has room for whole groups.
inline void store_units(wchar* out, const wchar* p, std::size_t n) {
#ifdef __SSE2__
    if (out + n + 8 <= scanner.name_buffer + MAX_IDENT_LIMIT + 1) {
        for (std::size_t i = 0; i < n; i += 8) {
            _mm_storeu_si128(reinterpret_cast<__m128i*>(out + i),
                             _mm_loadu_si128(reinterpret_cast<const __m128i*>(p + i)));
        }
        return;
    }
#endif
    for (std::size_t i = 0; i < n; ++i) out[i] = p[i];
}
#endif

void narrow_name(char* out, const wchar* name) {
    wstr_to_narrow(out, name);
}

}  // namespace

namespace {

// Links a record into its chain: after the records of other hashes already
// there, before the first record of the same hash whose name sorts after it.
void link_into_chain(macro_def* m) {
    macro_def** link = &macros.macro_table[m->hash & (MACRO_BUCKETS - 1)];
    for (; *link != nullptr; link = &(*link)->next) {
        if ((*link)->hash == m->hash && wstr_cmp((*link)->name(), m->name()) > 0) break;
    }
    m->next = *link;
    *link = m;
    m->install_order = 0;
}

// Takes a chained record out of its chain; returns the link it occupied.
macro_def** unlink_from_chain(macro_def* m) {
    macro_def** link = &macros.macro_table[m->hash & (MACRO_BUCKETS - 1)];
    while (*link != m) link = &(*link)->next;
    *link = m->next;
    return link;
}

}  // namespace

void macro_table_settle() {
    if (macros.unsettled == 0) return;
    std::vector<macro_def*> waiting;
    waiting.reserve(macros.unsettled);
    for (macro_def* m : macros.index) {
        for (; m != nullptr; m = m->index_next) {
            if (m->install_order != 0) waiting.push_back(m);
        }
    }
    std::sort(waiting.begin(), waiting.end(), [](const macro_def* a, const macro_def* b) {
        return a->install_order < b->install_order;
    });
    for (macro_def* m : waiting) link_into_chain(m);
    macros.unsettled = 0;
    macros.install_count = 0;
}

// A text's block is as long as the text and its 0 (macro_text_dup made it).
void macro_text_deleter::operator()(wchar* p) const noexcept {
    small_free(p, (std::size_t{wstr_len(p)} + 1) * sizeof(wchar));
}

macro_text macro_text_dup(const wchar* s) {
    std::size_t bytes = (std::size_t{wstr_len(s)} + 1) * sizeof(wchar);
    macro_text copy(static_cast<wchar*>(small_alloc(bytes)));
    std::memcpy(copy.get(), s, bytes);
    return copy;
}

macro_def* macro_def::make(const wchar* name, std::size_t n) {
    void* block = small_alloc(sizeof(macro_def) + (n + 1) * sizeof(wchar));
    auto* m = new (block) macro_def;
    auto* units = reinterpret_cast<wchar*>(m + 1);
    std::memcpy(units, name, n * sizeof(wchar));
    units[n] = 0;
    m->name_length = static_cast<std::uint16_t>(n);
    return m;
}

void macro_def::destroy(macro_def* m) noexcept {
    if (m == nullptr) return;
    const std::size_t bytes = sizeof(macro_def) + (std::size_t{m->name_length} + 1) * sizeof(wchar);
    m->~macro_def();
    small_free(m, bytes);
}

void macros_reset() {
    // The records and their texts are all in the small pool and own nothing
    // else: where its reset releases every block, it frees them at once,
    // without reading tens of thousands of records gone cold.
    if (!small_pool_resets_all()) {
        // Every record in the table, in its chain or waiting, is in the index.
        for (macro_def* m : macros.index) {
            while (m != nullptr) {
                macro_def* next = m->index_next;
                macro_def::destroy(m);
                m = next;
            }
        }
        free_chain(macros.retired);
    }
    renew_in_place(macros);
    small_pool_reset();
}

// A redefined name's new record takes the old one's place: in the order
// of installation, or in its chain.
macro_def* macro_install(const wchar* name, int remove_only) {
    ++macros.changes;
    macros.found_last = nullptr;
    // The order cannot run past its largest value: the waiting records are
    // put in their chains first.
    if (macros.install_count == UINT32_MAX) macro_table_settle();
    const std::size_t length = wstr_len(name);
    const std::uint32_t h = index_hash(name, length);
    macro_def* old = index_find(name, length, h);
    std::uint32_t order = 0;
    macro_def** link = nullptr;
    if (old != nullptr) {
        flat_expansion_forget(old);
        order = old->install_order;
        if (order != 0) {
            --macros.unsettled;
        } else {
            link = unlink_from_chain(old);
        }
        index_remove(old);
        release_record(old);
    }
    if (remove_only) {
        // The removed record may be gone already: answer with a stand-in.
        static macro_def removed_mark;
        return old != nullptr ? &removed_mark : nullptr;
    }
    macro_def* m = macro_def::make(name, length);
    std::size_t key = lead_pair(name, length);
    macros.lead_pairs[key / 64] |= std::uint64_t{1} << (key % 64);
    m->hash = name_hash(name);
    m->index_hash = h;
    if (link != nullptr) {
        m->next = *link;
        *link = m;
    } else {
        m->install_order = order != 0 ? order : ++macros.install_count;
        ++macros.unsettled;
    }
    index_insert(m);
    return m;
}

namespace {

// Stores the name that continues with c, after `stored` units already in
// the identifier buffer, reading it through the reader (and from the
// buffer while its units are plain); returns the units stored.
int scan_name_rest(int c, int stored) {
    wchar* out = scanner.name_buffer;
    const int limit = scanner.max_ident_len;
    int cls = char_class(c);
    bool taken_whole = false;
    while (cls == CC_IDENT || cls == CC_DIGIT) {
        if (stored < limit) out[stored++] = static_cast<wchar>(c);
#if CPP_READER_FAST_PATH
        // The rest of the name is taken straight from the buffer while its
        // units are plain; a plain unit after it ends the name unread. Only
        // the significant units are stored.
        if (input_source* s = reader.current_source; s != nullptr && !reader.bookkeeping) {
            const wchar* p = s->pos;
            const std::size_t length = name_span(p);
            const std::size_t room = static_cast<std::size_t>(limit - stored);
            store_units(out + stored, p, length < room ? length : room);
            stored += static_cast<int>(length < room ? length : room);
            p += length;
            s->pos = const_cast<wchar*>(p);
            if (*p < 256 && reader_plain_unit[*p]) {
                taken_whole = true;
                break;
            }
        }
#endif
        c = next_char();
        cls = char_class(c);
    }
    if (!taken_whole) unget_char();
    out[stored] = 0;
    return stored;
}

}  // namespace

macro_def* scan_and_find_macro(int c) {
    wchar* out = scanner.name_buffer;
    int stored = 0;
#if CPP_READER_FAST_PATH
    // Mostly the whole name lies in the current source's buffer and a plain
    // unit follows it: it is taken here, without the reader.
    input_source* s = reader.current_source;
    if (s != nullptr && !reader.bookkeeping && static_cast<unsigned>(c) < 256 &&
        plain_name_unit[c]) {
        out[0] = static_cast<wchar>(c);
        const wchar* p = s->pos;
        const std::size_t length = name_span(p);
        // The significant length is at least 31, so the first unit fits.
        const std::size_t room = static_cast<std::size_t>(scanner.max_ident_len - 1);
        const std::size_t taken = length < room ? length : room;
        store_units(out + 1, p, taken);
        p += length;
        s->pos = const_cast<wchar*>(p);
        stored = static_cast<int>(taken) + 1;
        if ((*p < 256 && reader_plain_unit[*p]) || (*p == 0 && pass_text_end())) {
            out[stored] = 0;
        } else {
            stored = scan_name_rest(next_char(), stored);
        }
    } else {
        stored = scan_name_rest(c, 0);
    }
#else
    stored = scan_name_rest(c, 0);
#endif
    const auto n = static_cast<std::size_t>(stored);
    // Most names in macro text and arguments are no macro at all: those the
    // lead-pair filter answers cost no hash.
    if (!may_be_macro_name(out, n)) return nullptr;
    macro_def* m = look_up(out, n);
    if (m == nullptr || m->active == 0) return m;
    // ISO C: a name met while its macro is being rescanned never expands.
    if (dialect.iso) return nullptr;
    // Inside an argument or a pasted text that was pushed while reading
    // this very macro's expansion, the name may expand once more.
    const input_source* src = reader.current_source;
    if (src != nullptr && src->file == nullptr && src->macro == nullptr && src->parent &&
        src->parent->macro == m) {
        return m;
    }
    return nullptr;
}

macro_def* find_expandable(const wchar* name, std::size_t n) {
    macro_def* m = look_up(name, n);
    return m != nullptr && m->active == 0 ? m : nullptr;
}

bool is_defined(const wchar* name, std::size_t n) {
    return look_up(name, n) != nullptr;
}

macro_def* find_macro(const wchar* name, std::size_t n) {
    return look_up(name, n);
}

int pool_char_slow(int c) {
    if (c == MARK_END) return 0;
    wchar* limit = macros.param_pool + PARAM_POOL_SIZE - (c == 0 ? 0 : 1);
    if (macros.pool_ptr >= limit) {
        alert_report(MSG_PARAM_POOL_FULL);
        return 1;
    }
    *macros.pool_ptr++ = static_cast<wchar>(c);
    return 0;
}

namespace {

// Appends a whole zero-terminated name to the pool, or nothing (149).
bool pool_string(const wchar* s) {
    unsigned n = wstr_len(s) + 1;
    if (macros.pool_ptr + n > macros.param_pool + PARAM_POOL_SIZE) {
        alert_report(MSG_PARAM_POOL_FULL);
        return false;
    }
    wstr_copy(macros.pool_ptr, s);
    macros.pool_ptr += n;
    return true;
}

// What #define has learnt so far about the macro it is defining.
struct definition {
    macro_def* m = nullptr;
    macro_text old_body;
    bool existed = false;
    bool refused = false;  // ISO C: the replacement text makes no definition
    int old_nparams = 0;
    bool old_variadic = false;
    int nparams = -1;
    bool variadic = false;
    // The parameters' names in the pool, in a vector that keeps its room
    // from one #define to the next.
    std::vector<const wchar*>& param_names = macros.param_names;
    definition() { param_names.clear(); }
    definition(const definition&) = delete;
    definition& operator=(const definition&) = delete;
};

const wchar va_args_name[] = u"__VA_ARGS__";

int find_param(const definition& d, const wchar* name) {
    for (int i = 0; i < d.nparams; ++i) {
        if (d.param_names[i] != nullptr && wstr_cmp(d.param_names[i], name) == 0) return i;
    }
    return -1;
}

// A #define that failed leaves the table as it was: the old definition is
// restored, a record made for it is removed again. The report is the
// number's, unless it is 0 (made already).
void abandon_definition(definition& d, int c, unsigned number = MSG_BAD_DEFINE) {
    if (number != 0) alert_report(number);
    // ISO C: the rest of the line goes with the definition, unreported.
    if (dialect.iso && c != '\n' && c != 0) c = skip_line() == 0 ? '\n' : 0;
    if (c == '\n') unget_char();  // the next line must not be lost
    if (d.existed) {
        d.m->body = std::move(d.old_body);
        d.m->body_length = BODY_UNMEASURED;
        d.m->no_flat = false;
        d.m->nparams = d.old_nparams;
        d.m->variadic = d.old_variadic;
    } else {
        macro_install(d.m->name(), 1);
    }
    macros.pool_ptr = macros.param_pool;
}

// ISO C: the "..." of a variadic parameter list, whose first '.' is read.
bool read_ellipsis() {
    if (next_char() == '.' && next_char() == '.') return true;
    unget_char();
    return false;
}

// The list ends with "..." (or a named "name..."): the last parameter takes
// the rest of the arguments. False, with the definition abandoned, unless
// ')' follows.
bool end_variadic(definition& d, bool named) {
    if (!read_ellipsis()) {
        abandon_definition(d, '.');
        return false;
    }
    if (!named) d.param_names.push_back(va_args_name);
    if (!named) ++d.nparams;
    d.variadic = true;
    int c = skip_blanks();
    if (c == ')') return true;
    abandon_definition(d, c);
    return false;
}

// ISO C: a parameter named __VA_ARGS__ or named twice makes no definition.
bool refuse_parameter(definition& d) {
    if (wstr_cmp(scanner.name_buffer, va_args_name) == 0) {
        abandon_definition(d, ' ', MSG_VA_ARGS_MISPLACED);
        return true;
    }
    if (find_param(d, scanner.name_buffer) < 0) return false;
    char name[NARROW_NAME];
    narrow_name(name, scanner.name_buffer);
    alert_report(MSG_DUPLICATE_PARAM, name);
    abandon_definition(d, ' ', 0);
    return true;
}

// Reads a parameter list after its '('; false after a malformed list.
bool read_parameters(definition& d) {
    d.nparams = 0;
    int count = 0;
    const int limit = dialect.iso ? ISO_MAX_PARAMS : MAX_PARAMS;
    for (;;) {
        int c = skip_blanks();
        // ISO C: "f(a,)" declares no empty parameter.
        if (c == ')' && (!dialect.iso || count == 0)) return true;
        if (dialect.iso && c == '.') return end_variadic(d, false);
        if (char_class(c) != CC_IDENT) {
            abandon_definition(d, c);
            return false;
        }
        scan_identifier(c);
        if (dialect.iso && refuse_parameter(d)) return false;
        if (++count > limit) {
            alert_report(MSG_TOO_MANY_PARAMS);
        } else {
            const wchar* at = macros.pool_ptr;
            d.param_names.push_back(pool_string(scanner.name_buffer) ? at : nullptr);
            ++d.nparams;
        }
        c = skip_blanks();
        if (dialect.iso && c == '.') return end_variadic(d, true);
        if (c == ')') return true;
        if (c != ',') {
            abandon_definition(d, c);
            return false;
        }
    }
}

wchar last_saved() {
    return scanner.save_ptr > scanner.save_buffer ? scanner.save_ptr[-1] : 0;
}

void drop_trailing_spaces() {
    while (scanner.save_ptr > scanner.save_buffer && scanner.save_ptr[-1] == ' ')
        --scanner.save_ptr;
}

// Copies a string or character literal into the replacement text; a literal
// cut by the line end is reported and ends at it.
int save_literal(int quote) {
    save_char(quote);
    reader.raw_input = 1;
    int c = next_char();
    while (c != quote) {
        if (c == '\\') {
            int d = next_char();
            if (d == '\n') {  // spliced line: the definition goes on
                reader.sync_needed = 1;
                c = next_char();
                continue;
            }
            save_char(c);
            c = d;
        }
        if (c == '\n' || c == 0) {
            alert_report(MSG_UNCLOSED_LITERAL);
            reader.raw_input = 0;
            return c;
        }
        save_char(c);
        c = next_char();
    }
    save_char(c);
    reader.raw_input = 0;
    return next_char();
}

bool is_printable(int c) {
    return c < 256 && (std::isgraph(c) || c == ' ' || c == '\t');
}

// ISO C: "##" between any two tokens, never at either end of the text.
int save_iso_paste(definition& d) {
    drop_trailing_spaces();
    bool at_start = scanner.save_ptr == scanner.save_buffer;
    int c = skip_blanks();
    if (at_start || c == '\n' || c == 0) {
        alert_report(MSG_PASTE_AT_END);
        d.refused = true;
        return c;
    }
    // "## ##" joins the same two tokens as one "##".
    if (last_saved() != MARK_PASTE) save_char(MARK_PASTE);
    return c;
}

// The operator "##": blanks around it vanish; a digit run after it is closed
// by a second paste mark. Returns the character to go on with.
int save_paste(definition& d) {
    if (dialect.iso) return save_iso_paste(d);
    drop_trailing_spaces();
    save_char(MARK_PASTE);
    int c = skip_blanks();
    int cls = char_class(c);
    if (cls == CC_IDENT) return c;
    if (cls == CC_DIGIT) {
        while (char_class(c) == CC_DIGIT) {
            save_char(c);
            c = next_char();
        }
        save_char(MARK_PASTE);
        return c;
    }
    alert_report(is_printable(c) ? MSG_PASTE_PRINTABLE : MSG_PASTE_NONPRINTABLE, c);
    return c;
}

#if CPP_READER_FAST_PATH
// What save_token does for the tokens ahead that the reader would hand out
// unit by unit as they stand, taken straight from the buffer while the save
// buffer has room for a name more: blanks (one space for a run), names,
// digits that no name unit or '.' follows, and units of no token of their
// own but '#' and '%'. A name whose end the buffer does not show, a literal,
// a number with more than digits, and any unit that is not plain stop it.
void take_plain_replacement(const definition& d) {
    input_source* s = reader.current_source;
    if (s == nullptr || reader.bookkeeping || reader.raw_input) return;
    const wchar* p = s->pos;
    wchar* out = scanner.save_ptr;
    const wchar* const room = scanner.save_buffer + SAVE_BUFFER_SIZE - (MAX_IDENT_LIMIT + 2);
    const std::size_t limit = std::min(scanner.max_ident_len, MAX_IDENT_LIMIT);
    const auto plain = [](wchar u) { return u < 256 && reader_plain_unit[u]; };
    const auto name_or_digit = [](int cls) { return cls == CC_IDENT || cls == CC_DIGIT; };
    while (out < room && plain(*p)) {
        const wchar u = *p;
        const int cls = char_class_table[u];
        if (cls == CC_BLANK) {
            if (out == scanner.save_buffer || out[-1] != ' ') *out++ = u == '\t' ? ' ' : u;
            ++p;
        } else if (cls == CC_IDENT) {
            std::size_t n = 1;
            while (p[n] < 256 && plain_name_unit[p[n]]) ++n;
            if (!plain(p[n]) || name_or_digit(char_class_table[p[n]])) break;
            wchar* name = scanner.name_buffer;
            const std::size_t kept = std::min(n, limit);
            std::copy_n(p, kept, name);
            name[kept] = 0;
            if (dialect.iso && wstr_cmp(name, va_args_name) == 0) break;  // reported there
            if (const int index = find_param(d, name); index >= 0) {
                *out++ = static_cast<wchar>(MARK_PARAM0 + index);
            } else {
                if (kept == d.m->name_length && wstr_cmp(name, d.m->name()) == 0)
                    *out++ = MARK_NO_EXPAND;
                out = std::copy_n(p, kept, out);
            }
            p += n;
        } else if (cls == CC_DIGIT) {
            std::size_t n = 1;
            while (p[n] >= '0' && p[n] <= '9') ++n;
            if (!plain(p[n]) || name_or_digit(char_class_table[p[n]]) || p[n] == '.') break;
            out = std::copy_n(p, n, out);
            p += n;
        } else if (u == '#' || u == '%' || u == '.' || u == '"' || u == '\'') {
            break;
        } else {
            *out++ = u;
            ++p;
        }
    }
    s->pos = const_cast<wchar*>(p);
    scanner.save_ptr = out;
}
#endif

// Handles the token that begins with c and returns the next character.
int save_token(const definition& d, int c) {
    int cls = char_class(c);
    if (c == '"' || c == '\'') return save_literal(c);
    if (cls == CC_BLANK) {
        if (last_saved() != ' ') save_char(c == '\t' ? ' ' : c);
    } else if (c == '\\') {
        save_char(c);
        int next = next_char();
        if (next == 0) return 0;
        if (next == '\n') reader.sync_needed = 1;
        save_char(next);
    } else if (cls == CC_DIGIT || c == '.') {
        scan_number(c, save_char);
    } else if (cls == CC_IDENT) {
        scan_identifier(c);
        int index = find_param(d, scanner.name_buffer);
        if (index >= 0) {
            save_char(MARK_PARAM0 + index);
        } else {
            if (dialect.iso && wstr_cmp(scanner.name_buffer, va_args_name) == 0)
                alert_report(MSG_VA_ARGS_MISPLACED);
            if (wstr_cmp(scanner.name_buffer, d.m->name()) == 0) save_char(MARK_NO_EXPAND);
            for (const wchar* p = scanner.name_buffer; *p != 0; ++p) save_char(*p);
        }
    } else {
        save_char(c);
    }
#if CPP_READER_FAST_PATH
    take_plain_replacement(d);
#endif
    return next_char();
}

// ISO C: '#' of a function-like macro stringises the parameter after it;
// anywhere else it is a token of its own. c follows the '#'.
int save_iso_stringise(definition& d, int c) {
    if (d.nparams < 0) {
        save_char('#');
        return c;
    }
    if (char_class(c) == CC_BLANK) c = skip_blanks();
    if (char_class(c) == CC_IDENT) {
        scan_identifier(c);
        int index = find_param(d, scanner.name_buffer);
        if (index >= 0) {
            save_char(MARK_STRINGISE);
            save_char(MARK_PARAM0 + index);
            return next_char();
        }
    }
    alert_report(MSG_STRINGISE_NO_PARAM);
    d.refused = true;
    return c;
}

// ISO C: after a '%', whether a ':' follows to make the digraph of '#'
// (both are then read); else the '%' stands, with the next unit unread.
bool digraph_hash(int c) {
    if (c != '%' || !dialect.iso) return false;
    if (next_char() == ':') return true;
    unget_char();
    return false;
}

// Encodes the replacement text that begins with c into the save buffer.
int save_replacement(definition& d, int c) {
    scanner.save_ptr = scanner.save_buffer;
    while (c != '\n' && c != 0) {
        // "%:" and "%:%:" are '#' and "##" spelled otherwise.
        const bool digraph = digraph_hash(c);
        if (c == '#' || digraph) {
            c = next_char();
            if (digraph ? digraph_hash(c) : c == '#') {
                c = save_paste(d);
                continue;
            }
            if (digraph && d.nparams < 0) {
                // No operator in an object-like macro: the digraph as spelled.
                save_char('%');
                save_char(':');
                continue;
            }
            if (dialect.iso) {
                c = save_iso_stringise(d, c);
                continue;
            }
            if (char_class(c) == CC_BLANK) c = skip_blanks();
            save_char(MARK_STRINGISE);
            if (c == '\n' || c == 0) break;
            if (c == '%' && dialect.iso) continue;  // may be another "%:"
        }
        c = save_token(d, c);
    }
    return c;
}

// Closes the text in the save buffer, cutting its last unit when it is full.
// (The toolchain's dialect cuts a text of exactly the buffer's length
// silently; ISO C reports it, as a longer one is.)
void terminate_saved() {
    wchar* const last = scanner.save_buffer + SAVE_BUFFER_SIZE - 1;
    if (scanner.save_ptr > last) {
        if (dialect.iso && *last != 0) report_save_buffer_full();
        scanner.save_ptr = last;
    }
    *scanner.save_ptr = 0;
}

}  // namespace

void do_define() {
    int c = skip_blanks();
    if (char_class(c) != CC_IDENT) {
        alert_report(MSG_BAD_DEFINE);
        if (c == '\n') unget_char();
        return;
    }
    definition d;
    d.m = scan_and_find_macro(c);
    if (d.m != nullptr) {
        d.existed = true;
        flat_expansion_forget(d.m);
        d.old_body = std::move(d.m->body);
        d.old_nparams = d.m->nparams;
        d.old_variadic = d.m->variadic;
    } else {
        d.m = macro_install(scanner.name_buffer, 0);
    }
    macros.pool_ptr = macros.param_pool;
    c = next_char();
    if (c == '(') {
        if (!read_parameters(d)) return;
        c = ' ';
    }
    if (char_class(c) == CC_BLANK) c = skip_blanks();
    c = save_replacement(d, c);
    if (d.refused) {
        abandon_definition(d, c, 0);
        return;
    }
    if (c != 0) unget_char();
    drop_trailing_spaces();
    terminate_saved();
    d.m->body = macro_text_dup(scanner.save_buffer);
    d.m->body_length = BODY_UNMEASURED;
    d.m->no_flat = false;
    d.m->nparams = d.nparams;
    d.m->variadic = d.variadic;
    if (macros.report_row != nullptr) macros.report_row(d.m);
    if (d.existed && (!d.old_body || wstr_cmp(d.old_body.get(), d.m->body.get()) != 0)) {
        char name[NARROW_NAME];
        narrow_name(name, d.m->name());
        alert_report(MSG_REDEFINED, name);
    }
    macros.pool_ptr = macros.param_pool;
}

void do_undef() {
    int c = skip_blanks();
    if (char_class(c) != CC_IDENT) {
        alert_report(MSG_UNDEF_NO_NAME);
        if (c == '\n') unget_char();
        return;
    }
    scan_identifier(c);
    macro_install(scanner.name_buffer, 1);
}
