// Object-like macros expanded in one step: the walk that puts an expansion
// together from the replacements it reaches.
#include "cpp/flat_expansion.h"

#include <algorithm>
#include <cstdint>

#include "common/state_reset.h"
#include "cpp/char_class.h"
#include "cpp/macro_table.h"
#include "cpp/scanner.h"

namespace {

// A longer text, or a deeper walk, is left to the reader.
constexpr std::size_t MAX_FLAT_UNITS = 1024;
constexpr int MAX_FLAT_LEVELS = 32;
// Fewer expansions on the way are read one by one as fast as the walk
// takes them (one text more, for the outermost text's last unit, costs one
// more).
constexpr int MIN_EXPANDED = 1;
enum class walk {
    flat,
    refused,  // the walk fails wherever the macro is met
    context,  // a macro on the way is being expanded: it fails here only
    too_big,  // too long or too deep from here: a walk from further in may fit
};

// What a walk that succeeded found is kept for the next expansion of the
// same macro, or for a walk that reaches it, while the definitions it went
// through stand: a text this long, through this many macros, in one of
// 512 slots of 208 bytes (chosen by the record's address; a slot holds the
// walk kept last).
constexpr std::size_t MAX_KEPT_UNITS = 55;
constexpr int MAX_KEPT_VISITS = 8;
constexpr int KEPT_SLOT_BITS = 9;

struct flat_state {
    wchar text[MAX_FLAT_UNITS + 1];  // written before it is read
    std::size_t length = 0;
    int levels = 0;
    int expanded = 0;              // expansions on the way
    bool ended_with_name = false;  // the replacement walked last
    const macro_def* last_named = nullptr;
    std::size_t last_unit_at = 0;
    // The macros the walk went through below the outermost, while there
    // are few enough to keep the walk.
    int visits = 0;
    const macro_def* visited[MAX_KEPT_VISITS];
};
flat_state flat;

// A walk kept: the expansion of `m` put together, valid while `stamp` is
// the current one.
// (No member initialisers: the slots are zero in static storage, and no
// page of them is touched before a walk is kept there.)
struct kept_walk {
    const macro_def* m;
    std::uint64_t stamp;
    const macro_def* last_named;
    std::uint16_t length;
    std::uint16_t last_unit_at;
    std::uint8_t levels;
    std::uint8_t visits;
    const macro_def* visited[MAX_KEPT_VISITS];
    wchar text[MAX_KEPT_UNITS + 1];
};

// Not run state: the stamp only ever grows, so that no walk kept in an
// earlier run (or before a definition changed) matches, and the slots are
// written before they are read.
std::uint64_t kept_stamp = 1;
kept_walk kept[std::size_t{1} << KEPT_SLOT_BITS];

kept_walk& kept_slot(const macro_def* m) {
    const std::uint64_t key = reinterpret_cast<std::uintptr_t>(m);
    return kept[(key * 0x9E3779B97F4A7C15ull) >> (64 - KEPT_SLOT_BITS)];
}

int class_of(wchar u) {
    return u < 256 ? char_class_table[u] : static_cast<int>(CC_OTHER);
}

bool name_or_digit(wchar u) {
    const int cls = class_of(u);
    return cls == CC_IDENT || cls == CC_DIGIT;
}

// Whether u keeps a name from touching what stands on that side of it: no
// token runs across a blank, a parenthesis or a comma, nor across the edge
// of a replacement, which an expansion text's edge stands for in any case.
bool sets_apart(wchar u) {
    return u == 0 || u == '(' || u == ')' || u == ',' || class_of(u) == CC_BLANK;
}

bool is_hex_digit(wchar u) {
    return (u >= '0' && u <= '9') || ((u | 0x20) >= 'a' && (u | 0x20) <= 'f');
}

// The end of the number at p, or null for one that the dialects, or the
// reader in and out of #asm blocks, may take apart otherwise: digits and
// dots, or hexadecimal digits after 0x, and at most one u and one l after
// them. (A letter of another number may begin a name.)
const wchar* number_end(const wchar* p) {
    const wchar* q = p;
    if (p[0] == '0' && (p[1] | 0x20) == 'x' && is_hex_digit(p[2])) {
        q = p + 2;
        while (is_hex_digit(*q)) ++q;
    } else {
        while (class_of(*q) == CC_DIGIT || *q == '.') ++q;
    }
    bool u = false;
    bool l = false;
    for (;; ++q) {
        const wchar lower = *q | 0x20;
        if (lower == 'u' && !u) {
            u = true;
        } else if (lower == 'l' && !l) {
            l = true;
        } else {
            break;
        }
    }
    return name_or_digit(*q) || *q == '.' ? nullptr : q;
}

bool put(const wchar* from, const wchar* to) {
    const auto n = static_cast<std::size_t>(to - from);
    if (flat.length + n > MAX_FLAT_UNITS) return false;
    for (std::size_t i = 0; i < n; ++i) flat.text[flat.length + i] = from[i];
    flat.length += n;
    return true;
}

// The walk kept for m, while it stands and no macro on the way is being
// expanded (the walk would stop there); null otherwise.
const kept_walk* kept_for(const macro_def* m) {
    const kept_walk& k = kept_slot(m);
    if (k.m != m || k.stamp != kept_stamp) return nullptr;
    for (int i = 0; i < k.visits; ++i) {
        if (k.visited[i]->active != 0) return nullptr;
    }
    return &k;
}

void note_visit(const macro_def* x) {
    if (flat.visits < MAX_KEPT_VISITS) flat.visited[flat.visits] = x;
    ++flat.visits;
}

// What the walk of a replacement at this level finds where it was kept
// already: its text and what it went through, a level deeper each.
walk append_kept(const kept_walk& k, int level) {
    if (!put(k.text, k.text + k.length)) return walk::too_big;
    if (level + k.levels > flat.levels) flat.levels = level + k.levels;
    flat.expanded += k.visits;
    for (int i = 0; i < k.visits; ++i) note_visit(k.visited[i]);
    flat.ended_with_name = false;  // a walk that is kept does not end so
    return walk::flat;
}

// Out of the walk's way: the walk itself stays small enough to have the
// look-up put inline.
[[gnu::cold, gnu::noinline]] void refuse_for_good(const macro_def* x) {
    const_cast<macro_def*>(x)->no_flat = true;
}

walk append_body(const macro_def* m, int level) {
    if (level >= MAX_FLAT_LEVELS) return walk::too_big;
    if (level > 0) {
        const kept_walk* k = kept_for(m);
        if (k != nullptr && level + k->levels <= MAX_FLAT_LEVELS) return append_kept(*k, level);
    }
    if (level + 1 > flat.levels) flat.levels = level + 1;
    const auto significant = static_cast<std::size_t>(scanner.max_ident_len);
    const wchar* p = m->body ? m->body.get() : u"";
    wchar before = 0;  // the unit before p in the replacement (0 at its start)
    flat.ended_with_name = false;
    while (const wchar u = *p) {
        // Marks (parameters, stringising, pasting, a name that must not
        // expand), literals and backslashes are the reader's.
        if (u >= 256 || u == '"' || u == '\'' || u == '\\') return walk::refused;
        const int cls = char_class_table[u];
        if (cls == CC_IDENT) {
            std::size_t n = 1;
            while (name_or_digit(p[n])) ++n;
            if (!sets_apart(before) || !sets_apart(p[n]) || n > significant) return walk::refused;
            if (!may_be_macro_name(p, n)) return walk::refused;
            const macro_def* x = find_macro(p, n);
            if (x == nullptr || x->nparams != -1) return walk::refused;
            if (x->active != 0) return walk::context;
            note_visit(x);
            const std::size_t start = flat.length;
            if (const walk w = append_body(x, level + 1); w != walk::flat) {
                // What refuses x's replacement here refuses its own walk
                // too: x is expanded as always from now on, as m is.
                if (w == walk::refused) refuse_for_good(x);
                return w;
            }
            // Read one by one, the edge of a text between two blanks keeps
            // them apart, where one text would make them one: the blanks on
            // either side of the name, and those the expansion begins or
            // ends with (or the two around one that gives nothing).
            const bool empty = flat.length == start;
            const wchar first = empty ? p[n] : flat.text[start];
            const wchar last = empty ? before : flat.text[flat.length - 1];
            if ((class_of(before) == CC_BLANK && class_of(first) == CC_BLANK) ||
                (class_of(last) == CC_BLANK && class_of(p[n]) == CC_BLANK)) {
                return walk::refused;
            }
            ++flat.expanded;
            p += n;
            before = p[-1];
            if (*p != 0) {
                // Read one by one, texts that end together before the end
                // of this one leave the reader one step of the depth each
                // that it never gives back. The expansion put together must
                // leave the depth as that reading would.
                if (flat.ended_with_name) return walk::refused;
                // The outermost text's next unit owes its parent a step
                // that only a further unit of it pays off: with one unit
                // left, the reader leaves the step owed (see flat_text).
                if (level == 0 && p[1] == 0) {
                    flat.last_named = x;
                    flat.last_unit_at = flat.length;
                }
            }
            flat.ended_with_name = *p == 0;
            continue;
        }
        const wchar* q = p + 1;
        if (cls == CC_DIGIT || (u == '.' && class_of(p[1]) == CC_DIGIT)) {
            q = number_end(p);
            if (q == nullptr) return walk::refused;
        }
        if (!put(p, q)) return walk::too_big;
        before = q[-1];
        p = q;
        flat.ended_with_name = false;
    }
    return walk::flat;
}

// Keeps the walk of m that succeeded, when it is short enough.
void keep_walk(macro_def* m) {
    if (flat.length > MAX_KEPT_UNITS || flat.visits > MAX_KEPT_VISITS) return;
    kept_walk& k = kept_slot(m);
    k.m = m;
    k.stamp = kept_stamp;
    k.last_named = flat.last_named;
    k.length = static_cast<std::uint16_t>(flat.length);
    k.last_unit_at = static_cast<std::uint16_t>(flat.last_unit_at);
    k.levels = static_cast<std::uint8_t>(flat.levels);
    k.visits = static_cast<std::uint8_t>(flat.visits);
    std::copy_n(flat.visited, flat.visits, k.visited);
    std::copy_n(flat.text, flat.length + 1, k.text);
    // A change to one of these definitions makes every walk kept stale.
    m->flat_kept = true;
    for (int i = 0; i < flat.visits; ++i) const_cast<macro_def*>(flat.visited[i])->flat_kept = true;
}

// The walk kept for m, read as it was found.
bool take_kept(const macro_def* m, flat_text& out) {
    const kept_walk* k = kept_for(m);
    if (k == nullptr) return false;
    out = {k->text, k->length, k->levels, const_cast<macro_def*>(k->last_named), k->last_unit_at};
    return true;
}

}  // namespace

bool flat_expansion(macro_def* m, flat_text& out) {
    if (take_kept(m, out)) return true;
    flat.length = 0;
    flat.levels = 0;
    flat.expanded = 0;
    flat.visits = 0;
    flat.ended_with_name = false;
    flat.last_named = nullptr;
    walk w = append_body(m, 0);
    // Read one by one, a replacement that ends with a name leaves the reader
    // with texts that end together, read from where the expansion put
    // together has none.
    if (w == walk::flat && flat.ended_with_name) w = walk::refused;
    // A replacement that names no macro is read as it stands in any case.
    if (w != walk::flat || flat.expanded < MIN_EXPANDED + (flat.last_named != nullptr ? 1 : 0)) {
        // A failure for good may turn out wrong once a name on the way is
        // defined: the macro is then only expanded as always.
        if (w != walk::context) m->no_flat = true;
        return false;
    }
    flat.text[flat.length] = 0;
    keep_walk(m);
    out = {flat.text, flat.length, flat.levels, const_cast<macro_def*>(flat.last_named),
           flat.last_unit_at};
    return true;
}

void flat_expansion_forget(macro_def* m) {
    if (!m->flat_kept) return;
    m->flat_kept = false;
    ++kept_stamp;
}

void flat_expansion_reset() {
    renew_in_place(flat);
    ++kept_stamp;
}
