// The bulk path of the text-line copy. A line of plain C text is mostly
// names that are no macro, numbers, literals and punctuation; reading them
// one character at a time through the reader and writing them one character
// at a time is most of the cost of preprocessing such text. Here each token
// is measured where it lies (in the file's block, in the line buffer, or in
// a macro text or argument) and copied only when every unit the token loop
// would read for it (the unit after it included) is one the reader hands
// out unchanged; anything else is left unread for the token loop.
#include "cpp/plain_copy.h"

#include <array>
#include <cassert>
#include <cstdint>
#include <cstdio>
#include <cstring>

#include "common/platform_stdio.h"
#include "cpp/dialect.h"
#include "cpp/directives.h"
#include "cpp/driver.h"
#include "cpp/macro_table.h"
#include "cpp/reader.h"
#include "cpp/scanner.h"
#include "cpp/unit_copy.h"

#if CPP_READER_FAST_PATH

namespace {

// What a unit of a file's line begins, for the bulk path.
enum unit_kind : unsigned char {
    K_STOP,      // needs the reader (line end, comment, splice, trigraph, ...)
    K_BLANK,     // space, tab or 0x1F
    K_NAME,      // a name
    K_NUMBER,    // a digit or '.'
    K_QUOTE,     // a character or string literal
    K_PASTE,     // a one-unit token the token loop looks past for a paste mark
    K_SINGLE,    // any other one-unit token
    K_QUESTION,  // '?', which may begin a trigraph
    K_SLASH,     // '/', which may begin a comment
};

// Both tables it reads are constant-initialised.
std::array<unit_kind, 256> make_kinds() {
    std::array<unit_kind, 256> t{};
    for (int c = 0; c < 256; ++c) {
        int cls = char_class_table[c];
        unit_kind k = K_SINGLE;
        if (c == '?') {
            k = K_QUESTION;
        } else if (c == '/') {
            k = K_SLASH;
        } else if (!reader_plain_unit[c]) {
            k = K_STOP;
        } else if (cls == CC_BLANK) {
            k = K_BLANK;
        } else if (cls == CC_IDENT) {
            k = K_NAME;
        } else if (cls == CC_DIGIT || cls == CC_DOT) {
            k = K_NUMBER;
        } else if (cls == CC_QUOTE) {
            k = K_QUOTE;
        } else if (is_paste_class(cls)) {
            k = K_PASTE;
        }
        t[c] = k;
    }
    return t;
}
const std::array<unit_kind, 256> unit_kinds = make_kinds();

// The bulk path reads 16-bit units from a line buffer and bytes straight
// from a file's block.
inline unit_kind kind_of(wchar u) {
    return u < 256 ? unit_kinds[u] : K_STOP;
}
inline unit_kind kind_of(unsigned char u) {
    return unit_kinds[u];
}

// Whether the token loop may read the unit at q and step back over it with
// nothing changed: no comment, trigraph or splice begins there, and it is no
// line end and not the end of the buffer.
template <class Unit>
inline bool steps_back(const Unit* q) {
    switch (kind_of(*q)) {
        case K_STOP:
            return false;
        case K_QUESTION:
            // A 0 may be the end of a block, with the rest of the line in
            // the next one.
            return q[1] != '?' && q[1] != 0;
        case K_SLASH:
            // The look past '/' reads one unit as it stands (in ISO C after
            // the splices, which may join a '/' or '*' to it).
            return q[1] != '*' && q[1] != '/' && q[1] != '?' && q[1] != 0 &&
                   (q[1] != '\\' || !dialect.iso);
        default:
            return true;
    }
}

// Inside a literal the reader hands out comments, splices and control
// characters as they stand; only a line end, the end of the buffer and a
// trigraph need it.
template <class Unit>
inline bool steps_back_in_literal(const Unit* q) {
    Unit u = *q;
    return u < 256 && u != 0 && u != '\n' && !(u == '?' && q[1] == '?');
}

template <class Unit>
inline bool name_or_digit(Unit u) {
    unit_kind k = kind_of(u);
    return k == K_NAME || (k == K_NUMBER && u != '.');
}

// The number of units of the name at p (whose first unit is a name unit).
inline std::size_t name_length(const wchar* p) {
#ifdef __SSE2__
    // Sixteen units at a time: the line buffer's read-ahead lets the look go
    // past the 0 that ends the text, which itself ends any name.
    for (std::size_t n = 0;; n += 16) {
        std::uint32_t mask = name_unit_mask(p + n) | name_unit_mask(p + n + 8) << 16;
        if (mask != 0xFFFFFFFFu) return n + static_cast<std::size_t>(__builtin_ctz(~mask)) / 2;
    }
#else
    const wchar* q = p;
    while (name_or_digit(*q)) ++q;
    return static_cast<std::size_t>(q - p);
#endif
}

#ifdef __SSE2__
// Sixteen bytes marked: 0xFF for each letter, for each digit.
inline __m128i byte_letters(__m128i v) {
    // x - first <= span, unsigned: saturating subtraction leaves 0.
    const __m128i from_a = _mm_sub_epi8(_mm_or_si128(v, _mm_set1_epi8(0x20)), _mm_set1_epi8('a'));
    return _mm_cmpeq_epi8(_mm_subs_epu8(from_a, _mm_set1_epi8(25)), _mm_setzero_si128());
}
inline __m128i byte_digits(__m128i v) {
    const __m128i from_0 = _mm_sub_epi8(v, _mm_set1_epi8('0'));
    return _mm_cmpeq_epi8(_mm_subs_epu8(from_0, _mm_set1_epi8(9)), _mm_setzero_si128());
}
#endif

// The same for a name in a file's block, sixteen bytes at a time.
inline std::size_t name_length(const unsigned char* p) {
#ifdef __SSE2__
    for (std::size_t n = 0;; n += 16) {
        __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p + n));
        __m128i other = _mm_or_si128(_mm_or_si128(_mm_cmpeq_epi8(v, _mm_set1_epi8('_')),
                                                  _mm_cmpeq_epi8(v, _mm_set1_epi8('$'))),
                                     _mm_cmpeq_epi8(v, _mm_set1_epi8(0x1D)));
        auto mask = static_cast<std::uint32_t>(
            _mm_movemask_epi8(_mm_or_si128(_mm_or_si128(byte_letters(v), byte_digits(v)), other)));
        if (mask != 0xFFFFu) return n + static_cast<std::size_t>(__builtin_ctz(~mask));
    }
#else
    const unsigned char* q = p;
    while (name_or_digit(*q)) ++q;
    return static_cast<std::size_t>(q - p);
#endif
}

inline bool is_hex_letter(unsigned c) {
    return (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F');
}

inline bool is_letter(unsigned c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}

template <class Unit>
inline bool is_hex_digit(Unit u) {
    return (u >= '0' && u <= '9') || is_hex_letter(u);
}

// ISO C: the end of the preprocessing number starting at p, as
// number_end below.
template <class Unit>
const Unit* pp_number_end(const Unit* p) {
    const Unit* q = p + 1;
    if (!steps_back(q)) return nullptr;
    if (*p == '.' && (*q < '0' || *q > '9')) return q;
    // A run of digits and name units goes on the number with nothing to
    // look at (a sign looks back at the unit before it).
    while (name_or_digit(*q)) ++q;
    for (;; ++q) {
        if (!steps_back(q)) return nullptr;
        const Unit c = *q;
        const Unit prev = q[-1];
        if ((c == '+' || c == '-') && (prev == 'e' || prev == 'E' || prev == 'p' || prev == 'P'))
            continue;
        if (c == '.' || kind_of(c) == K_NAME || (c >= '0' && c <= '9')) continue;
        return q;
    }
}

// The end of the number starting at p, taken as scan_number takes it (the
// unit it stops at is read too), or null when a unit it would read is not
// plain.
template <class Unit>
const Unit* number_end(const Unit* p) {
    if (dialect.iso) return pp_number_end(p);
    int radix = 10;
    bool exponent = false;
    bool point = *p == '.';
    const Unit* q = p + 1;
    Unit c = *q;
    if (!steps_back(q)) return nullptr;
    if (*p == '.') {
        if (c < '0' || c > '9') return q;
    } else if (*p == '0') {
        radix = 8;
        if (c == 'x' || c == 'X' || c == 'b' || c == 'B') {
            radix = (c == 'x' || c == 'X') ? 16 : 2;
            c = *++q;
            if (!steps_back(q)) return nullptr;
        }
    }
    const bool asm_letters = scanner.asm_mode != 0;
    // The run of digits (of the radix's letters too) the loop below would
    // step over one by one.
    if (radix == 16) {
        while (is_hex_digit(*q)) ++q;
    } else {
        while (*q >= '0' && *q <= '9') ++q;
    }
    c = *q;
    if (!steps_back(q)) return nullptr;
    for (;;) {
        if (radix != 16 && !exponent && (c == 'e' || c == 'E')) {
            exponent = true;
            radix = 10;
        } else if (c == '.') {
            if (radix == 16 || point) break;
            point = true;
            radix = 10;
        } else if (c == '+' || c == '-') {
            break;
        } else if (!((c >= '0' && c <= '9') || (radix == 16 && is_hex_letter(c)) ||
                     (asm_letters && is_letter(c)))) {
            break;
        }
        c = *++q;
        if (!steps_back(q)) return nullptr;
    }
    if (exponent || point) {
        if (c == 'l' || c == 'L') {
            if (!steps_back(++q)) return nullptr;
        }
        return q;
    }
    bool u = false;
    bool l = false;
    for (;;) {
        if (!u && (c == 'u' || c == 'U')) {
            u = true;
        } else if (!l && (c == 'l' || c == 'L')) {
            l = true;
        } else {
            return q;
        }
        c = *++q;
        if (!steps_back(q)) return nullptr;
    }
}

// The number of decimal digits at p, sixteen bytes at a time (the block's
// read-ahead lets the look go past the 0 after the text).
inline std::size_t digit_run(const unsigned char* p) {
#ifdef __SSE2__
    for (std::size_t n = 0;; n += 16) {
        __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p + n));
        auto mask = static_cast<std::uint32_t>(_mm_movemask_epi8(byte_digits(v)));
        if (mask != 0xFFFFu) return n + static_cast<std::size_t>(__builtin_ctz(~mask));
    }
#else
    const unsigned char* q = p;
    while (*q >= '0' && *q <= '9') ++q;
    return static_cast<std::size_t>(q - p);
#endif
}

// The same in a text's units (numbers there are short).
inline std::size_t digit_run(const wchar* p) {
    const wchar* q = p;
    while (*q >= '0' && *q <= '9') ++q;
    return static_cast<std::size_t>(q - p);
}

// A number in a file's block or a text. Decimal, octal and hexadecimal
// integers, with their u and l suffixes, are measured at once, which is most
// numbers; a number with a point or an exponent, a binary one and any in
// assembler mode go the general way. The units read are names' units but the
// last, which must step back.
template <class Unit>
inline const Unit* integer_end(const Unit* p) {
    if (dialect.iso) return pp_number_end(p);
    const Unit first = p[0];
    if (first == '.' || scanner.asm_mode) return number_end<Unit>(p);
    const Unit* q;
    // Only 'X' and 'x' (and so on) are themselves with 0x20 set.
    const unsigned lower_next = p[1] | 0x20u;
    if (first == '0' && lower_next == 'x') {
        q = p + 2;
        while (is_hex_letter(*q) || (*q >= '0' && *q <= '9')) ++q;
    } else if (first == '0' && lower_next == 'b') {
        return number_end<Unit>(p);
    } else {
        q = p + 1 + digit_run(p + 1);
        const unsigned lower = *q | 0x20u;
        if (*q == '.' || lower == 'e') return number_end<Unit>(p);
    }
    // At most one u and one l, in either order.
    bool u = false;
    bool l = false;
    for (;; ++q) {
        const unsigned lower = *q | 0x20u;
        if (!u && lower == 'u') {
            u = true;
        } else if (!l && lower == 'l') {
            l = true;
        } else {
            break;
        }
    }
    return steps_back(q) ? q : nullptr;
}
inline const unsigned char* number_end(const unsigned char* p) {
    return integer_end(p);
}
inline const wchar* number_end(const wchar* p) {
    return integer_end(p);
}

// The end of the literal starting at its quote at p, or null when it does
// not end on this line or holds a unit the reader must look at.
template <class Unit>
const Unit* literal_end(const Unit* p) {
    const Unit quote = *p;
    for (const Unit* q = p + 1;;) {
        if (!steps_back_in_literal(q)) return nullptr;
        Unit u = *q++;
        if (u == quote) return q;
        if (u == '\\') {
            if (!steps_back_in_literal(q)) return nullptr;
            ++q;
        }
    }
}

// With comments dropped (no -C), the end of the comment whose '/' is at p
// (followed by '*' or '/') when the reader would make it one blank and read
// nothing else in it: a block comment that ends on its line, or a line
// comment, whose end is then the newline that ends the line. Null when a
// unit of it needs the reader (a splice, trigraph, CR or NUL may begin
// there, a block comment holds "/*" or runs on past the line) or when what
// follows a block comment is not known yet (the end of the buffer).
template <class Unit>
const Unit* comment_end(const Unit* p) {
    if (reader.echo_comments) return nullptr;
    const bool block = p[1] == '*';
    const Unit* q = skip_comment_body(p + 2, block);
    if (*q == '\n') return block ? nullptr : q;
    if (block && *q == '*' && q[1] == '/') return q[2] != 0 ? q + 2 : nullptr;
    return nullptr;
}

// The comment ends the bulk path took in a file's block, on the line it
// copies: the reader writes their spaces into the line buffer only when it
// reads the comments, after the line was read in (and after what reading it
// in reported, which shows the line as it was).
struct block_comment_marks {
    static constexpr int ROOM = 16;
    const unsigned char* at[ROOM];
    int count;
};
block_comment_marks block_marks;

// The reader makes a block comment that ends at `end` a space when a unit
// other than a blank or the line end follows it, and writes that space over
// the comment's last unit (a message shows the line so). The units of a
// line buffer are the reader's own to write; in a file's block the place is
// noted for the line buffer the line is read into. False when no room is
// left to note it: the reader then takes the comment.
template <class Unit>
bool mark_block_comment_end(const Unit* end) {
    if (*end == '\n' || char_class(*end) == CC_BLANK) return true;
    if constexpr (sizeof(Unit) == 1) {
        if (block_marks.count == block_comment_marks::ROOM) return false;
        block_marks.at[block_marks.count++] = end - 1;
    } else {
        const_cast<Unit*>(end)[-1] = ' ';
    }
    return true;
}

// Takes the comment at p as the reader does; returns its end, or null as
// comment_end.
template <class Unit>
const Unit* take_comment(const Unit* p) {
    const Unit* end = comment_end(p);
    if (end != nullptr && p[1] == '*' && !mark_block_comment_end(end)) return nullptr;
    return end;
}

// Takes the block comment at p in a file's block as the reader does when it
// runs on over whole lines (no -C): their line ends are counted and owed a
// line synchronisation, and line is moved to the start of the line the
// comment ends on. Returns its end, or null when a unit of it needs the
// reader or what follows it is not known yet.
const unsigned char* take_comment_lines(const unsigned char* p, const unsigned char*& line) {
    if (reader.echo_comments || p[1] != '*') return nullptr;
    int lines = 0;
    const unsigned char* last = line;
    const unsigned char* q = p + 2;
    for (; *(q = skip_comment_body(q, true)) == '\n'; last = ++q) ++lines;
    if (*q != '*' || q[1] != '/' || q[2] == 0) return nullptr;
    const unsigned char* end = q + 2;
    if (!mark_block_comment_end(end)) return nullptr;
    if (lines != 0) {
        count_lines(lines);
        reader.sync_needed = 1;
    }
    line = last;
    return end;
}

}  // namespace

namespace {

// Room kept for one line's output (and a vector store's overrun) when lines
// are gathered before they are written.
constexpr std::size_t LINE_ROOM = FILE_LINE_CAPACITY + 16;

// The output of a run of the bulk path, gathered and written when the run
// ends or the room runs short.
class plain_output {
   public:
    plain_output() : writing_(!driver.no_output && driver.out != nullptr) {}
    plain_output(const plain_output&) = delete;
    plain_output& operator=(const plain_output&) = delete;
    ~plain_output() { flush(); }

    template <class Unit>
    void put(const Unit* from, const Unit* to) {
        if (writing_) o_ = put_units(o_, from, to);
    }
    void put_byte(char c) {
        if (writing_) *o_++ = c;
    }
    // Where the output stands, and a return there (the room a line was made
    // for is not flushed meanwhile).
    const char* mark() const { return o_; }
    void rewind(const char* to) { o_ = text_ + (to - text_); }
    // Makes room for a line's output.
    void make_room() {
        if (static_cast<std::size_t>(text_ + sizeof text_ - o_) < LINE_ROOM) flush();
    }
    // Nothing is gathered when a report can end the run (the callers flush
    // before), so there is always an output stream to flush to; a run that
    // ended all the same (its output closed) is not written to.
    void flush() {
        assert(o_ == text_ || driver.out != nullptr);
        if (o_ != text_ && driver.out != nullptr) {
            write_short_bytes_unlocked(driver.out, text_, static_cast<std::size_t>(o_ - text_));
            if (driver.tap != nullptr) driver.tap->append(text_, o_);
        }
        o_ = text_;
    }

   private:
    const bool writing_;
    // Each unit written stands for at least one unit of the line, so a line
    // always fits in LINE_ROOM.
    char text_[4 * LINE_ROOM];
    char* o_ = text_;
};

// Whether the name of n units at p is the operator _Pragma, which the token
// loop carries out (in ISO C the lead-pair filter lets its name through to
// the look-ups below).
template <class Unit>
bool is_pragma_operator(const Unit* p, std::size_t n) {
    static constexpr char name[] = "_Pragma";
    if (n != sizeof name - 1) return false;
    for (std::size_t i = 0; i < n; ++i)
        if (p[i] != static_cast<unsigned char>(name[i])) return false;
    return true;
}

// What the look-ups of the bulk path answer for the operator _Pragma: no
// macro, but a name to leave to the token loop.
macro_def pragma_operator_mark;

// The record of the name of n units at p that a file's text would expand,
// or null (or the mark above).
macro_def* expandable(const wchar* p, std::size_t n) {
    if (!may_be_macro_name(p, n)) return nullptr;
    macro_def* m = find_expandable(p, n);
    if (m == nullptr && dialect.iso && is_pragma_operator(p, n)) return &pragma_operator_mark;
    return m;
}
macro_def* expandable(const unsigned char* p, std::size_t n) {
    if (!may_be_macro_name(p, n)) return nullptr;
    wchar name[MAX_IDENT_LIMIT + 1];
    name[0] = p[0];  // a name has a unit, and the compiler is told so
    for (std::size_t i = 1; i < n; ++i) name[i] = p[i];
    macro_def* m = find_expandable(name, n);
    if (m == nullptr && dialect.iso && is_pragma_operator(p, n)) return &pragma_operator_mark;
    return m;
}
// Whether a name of n units at p in macro text or an argument may be
// expanded: there a macro being expanded may be expanded again (inside its
// own argument), so any name in the table may.
bool may_expand_in_text(const wchar* p, std::size_t n) {
    return may_be_macro_name(p, n) &&
           (is_defined(p, n) || (dialect.iso && is_pragma_operator(p, n)));
}

// Whether the unit at q is a token of one unit that the token loop takes
// without a look past it, or with a look that changes nothing.
template <class Unit>
inline bool single_token_at(const Unit* q) {
    const unit_kind k = kind_of(*q);
    return k == K_SINGLE || (k == K_PASTE && steps_back(q + 1));
}

// Copies the tokens from p on into out; space says whether blanks were read
// before p since the last token written. Returns where it stopped: at the
// first unit it leaves, with the blanks before it read; done is then the end
// of the last token taken (p when none was).
template <class Unit, bool from_file = true>
const Unit* copy_tokens(plain_output& out, const Unit* p, bool space, const Unit*& done) {
    const auto significant = static_cast<std::size_t>(scanner.max_ident_len);
    const Unit* const first = p;
    const Unit* stretch = p;  // start of the text not yet written
    done = p;
    for (;;) {
        const Unit* end;
        std::size_t length = 0;
        switch (kind_of(*p)) {
            case K_BLANK:
                if (*p == ' ' && kind_of(p[1]) != K_BLANK) {
                    ++p;  // one space stays in the stretch
                } else {
                    while (kind_of(*p) == K_BLANK) ++p;
                    space = true;
                }
                continue;
            case K_NAME: {
                std::size_t n = name_length(p);
                end = p + n;
                if (!steps_back(end)) goto stop;
                length = n < significant ? n : significant;
                if constexpr (from_file) {
                    if (expandable(p, length) != nullptr) goto stop;
                } else {
                    if (may_expand_in_text(p, length)) goto stop;
                }
                break;
            }
            case K_NUMBER:
                end = number_end(p);
                if (end == nullptr) goto stop;
                break;
            case K_QUOTE:
                end = literal_end(p);
                if (end == nullptr) goto stop;
                break;
            case K_PASTE:
                // The token loop looks past such a token for a paste mark.
                end = p + 1;
                if (!steps_back(end)) goto stop;
                break;
            case K_SINGLE:
                end = p + 1;
                break;
            case K_QUESTION:
                if (!steps_back(p)) goto stop;
                end = p + 1;
                break;
            case K_SLASH:
                if constexpr (from_file) {
                    // A comment between tokens is one more blank.
                    if (p[1] == '*' || p[1] == '/') {
                        end = take_comment(p);
                        if (end == nullptr) goto stop;
                        p = end;
                        space = true;
                        continue;
                    }
                }
                // A '/' that begins no comment is a token the token loop
                // looks past for a paste mark.
                end = p + 1;
                if (!steps_back(p) || !steps_back(end)) goto stop;
                break;
            default:
                goto stop;
        }
        // Blanks other than one space become a space of their own.
        if (space) {
            out.put(stretch, done);
            out.put_byte(' ');
            stretch = p;
            space = false;
        }
        if (length != 0 && p + length != end) {
            out.put(stretch, p + length);
            stretch = end;
        }
        done = p = end;
        // The one-unit tokens right after it, with no blank between, each
        // taken as the steps above take it (in macro text, where they come
        // in runs of parentheses and operators).
        if (const Unit* q = p; !from_file && single_token_at(q)) {
            do ++q;
            while (single_token_at(q));
            done = p = q;
        }
    }
stop:
    out.put(stretch, done);
    // The identifier step starts the count of nested expansions afresh at
    // every token of a file (not of macro text).
    if constexpr (from_file) {
        if (done != first) reader.expansion_depth = 0;
    }
    return p;
}

// What the bytes of a file's block are, a bit for each of thirty-two.
struct byte_marks {
    std::uint32_t ident;    // letters, digits and '_'
    std::uint32_t digit;    // digits
    std::uint32_t space;    // spaces
    std::uint32_t special;  // what is looked at one by one: control characters
                            // (the line end, blanks other than a space, what
                            // the reader must look at), quotes, '?', '/', '\'
                            // and '$' (a name may begin with it)
};

// Marks the thirty-two bytes from p (a file's block keeps 32 bytes of
// read-ahead past the 0 that ends its text).
inline byte_marks mark_bytes(const unsigned char* p) {
    byte_marks m{0, 0, 0, 0};
#ifdef __SSE2__
    const __m128i last_control = _mm_set1_epi8(0x1F);
    const __m128i slash_bit = _mm_set1_epi8(0x10);  // '/' | 0x10 == '?'
    const __m128i zero = _mm_setzero_si128();
    for (int half = 0; half < 2; ++half) {
        __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p + 16 * half));
        auto is = [&](char c) { return _mm_cmpeq_epi8(v, _mm_set1_epi8(c)); };
        __m128i digit = byte_digits(v);
        __m128i ident = _mm_or_si128(_mm_or_si128(byte_letters(v), digit), is('_'));
        __m128i control = _mm_cmpeq_epi8(_mm_subs_epu8(v, last_control), zero);
        __m128i slash_or_question = _mm_cmpeq_epi8(_mm_or_si128(v, slash_bit), _mm_set1_epi8('?'));
        __m128i special =
            _mm_or_si128(_mm_or_si128(_mm_or_si128(control, slash_or_question), is('"')),
                         _mm_or_si128(_mm_or_si128(is('\''), is('\\')), is('$')));
        const int shift = 16 * half;
        m.ident |= static_cast<std::uint32_t>(_mm_movemask_epi8(ident)) << shift;
        m.digit |= static_cast<std::uint32_t>(_mm_movemask_epi8(digit)) << shift;
        m.space |= static_cast<std::uint32_t>(_mm_movemask_epi8(is(' '))) << shift;
        m.special |= static_cast<std::uint32_t>(_mm_movemask_epi8(special)) << shift;
    }
#else
    for (int i = 0; i < 32; ++i) {
        const unsigned char c = p[i];
        const std::uint32_t bit = std::uint32_t{1} << i;
        const bool digit = c >= '0' && c <= '9';
        if (is_letter(c) || digit || c == '_') m.ident |= bit;
        if (digit) m.digit |= bit;
        if (c == ' ') m.space |= bit;
        if (c < 0x20 || c == '"' || c == '\'' || c == '?' || c == '/' || c == '\\' || c == '$')
            m.special |= bit;
    }
#endif
    return m;
}

inline bool is_digit(unsigned char c) {
    return c >= '0' && c <= '9';
}

// Whether the name at p is no macro that the token loop would expand. Most
// names are answered by their first two units; the others are looked up by
// their significant units.
inline bool plain_name(const unsigned char* p, std::size_t significant) {
    if (!may_be_macro_name(p, name_or_digit(p[1]) ? 2 : 1)) return true;
    const std::size_t n = name_length(p);
    return expandable(p, n < significant ? n : significant) == nullptr;
}

// Whether the number, and any names and numbers that follow it without a
// blank, that begin at p are taken by the token loop as they stand; end is
// then past them. A name among them is held to plain_name.
inline bool plain_number_run(const unsigned char* p, std::size_t significant,
                             const unsigned char*& end) {
    for (;;) {
        const unsigned char* q = number_end(p);
        if (q == nullptr) return false;
        // A number may end where a name or another number begins.
        while (kind_of(*q) == K_NAME) {
            const std::size_t n = name_length(q);
            if (n > significant || !plain_name(q, significant)) return false;
            q += n;
        }
        if (!is_digit(*q)) {
            end = q;
            return true;
        }
        p = q;
    }
}

// Copies a line of a file's block from p (its first token) to its end, when
// the token loop would take all of it: no unit the reader must look at but
// the newline that ends it, no name to expand or cut, literals that end on
// the line, '?' and '/' that begin no trigraph or comment, and a last token
// that the token loop takes without a look past it. The token loop would
// write such a line as it stands but for its blanks: none after the last
// token, and one space for any other run of blanks. Returns false with
// nothing written for any other line.
//
// The line is looked at thirty-two bytes at a time: only the names (which
// may be macros), numbers (a name may follow one without a blank), runs of
// spaces and the units marked special are looked at one by one.
bool copy_plain_line(plain_output& out, const unsigned char* const line, const unsigned char*& stop,
                     const unsigned char*& done) {
    const auto significant = static_cast<std::size_t>(scanner.max_ident_len);
    const char* const written = out.mark();
    const unsigned char* stretch = line;         // start of the text not yet written
    const unsigned char* number_end_at = line;   // end of the numbers measured
    const unsigned char* blank_end = line;       // end of the last run of spaces
    const unsigned char* literal_end_at = line;  // end of the last literal
    const unsigned char* chunk = line;
    std::uint32_t carry = 0;  // whether a name unit ends the last chunk
    for (;;) {
        const byte_marks m = mark_bytes(chunk);
        const std::uint32_t starts = m.ident & ~(m.ident << 1 | carry);
        std::uint32_t specials = m.special;
        std::uint32_t left = ~std::uint32_t{0};  // the bits not yet looked at
        for (;;) {
            const int at = specials != 0 ? __builtin_ctz(specials) : 32;
            const std::uint32_t part = at == 32 ? left : left & ((std::uint32_t{1} << at) - 1);
            // Names. One that reaches the end of the chunk may be long.
            for (std::uint32_t names = starts & ~m.digit & part; names != 0; names &= names - 1) {
                const int bit = __builtin_ctz(names);
                const unsigned char* q = chunk + bit;
                if (!plain_name(q, significant)) goto other;
                if ((m.ident >> bit) == (~std::uint32_t{0} >> bit) && name_length(q) > significant)
                    goto other;
            }
            // Numbers, with what follows them without a blank.
            for (std::uint32_t numbers = starts & m.digit & part; numbers != 0;
                 numbers &= numbers - 1) {
                const unsigned char* q = chunk + __builtin_ctz(numbers);
                if (q < number_end_at) continue;
                // A '.' before the digits begins the number, unless a
                // number took it.
                const unsigned char* from =
                    q > line && q[-1] == '.' && q - 1 >= number_end_at ? q - 1 : q;
                if (!plain_number_run(from, significant, number_end_at)) goto other;
            }
            // Runs of spaces: each but a single space becomes one space (the
            // last space of the chunk is looked at, as what follows is not
            // known yet).
            for (std::uint32_t runs = m.space & part & (m.space >> 1 | 0x80000000u); runs != 0;
                 runs &= runs - 1) {
                const unsigned char* q = chunk + __builtin_ctz(runs);
                if (q < blank_end) continue;
                const unsigned char* r = q + 1;
                while (*r == ' ') ++r;
                blank_end = r;
                if (r == q + 1 || *r == '\n') continue;
                out.put(stretch, q);
                out.put_byte(' ');
                stretch = r;
            }
            if (at == 32) break;
            const unsigned char* s = chunk + at;
            switch (*s) {
                case '\n': {
                    const unsigned char* last = s - 1;
                    while (*last == ' ') --last;
                    // The last token: one unit the token loop takes without
                    // a look past it, or a literal.
                    const unit_kind k = kind_of(*last);
                    if (k != K_SINGLE && k != K_QUESTION && last + 1 != literal_end_at) goto other;
                    out.put(stretch, last + 1);
                    stop = s;
                    done = last + 1;
                    reader.expansion_depth = 0;
                    return true;
                }
                case '"':
                case '\'': {
                    const unsigned char* end = literal_end(s);
                    if (end == nullptr) goto other;
                    literal_end_at = end;
                    // The rest of the line is looked at from the literal's
                    // end.
                    chunk = end;
                    carry = 0;
                    goto next_chunk;
                }
                case '?':
                    if (!steps_back(s)) goto other;
                    break;
                case '/':
                    if (!steps_back(s) || !steps_back(s + 1)) goto other;
                    break;
                default:
                    goto other;
            }
            left &= ~std::uint32_t{1} << at;
            specials &= specials - 1;
        }
        carry = m.ident >> 31;
        chunk += 32;
    next_chunk:;
    }
other:
    out.rewind(written);
    return false;
}

// Whether the bulk path may read the current source.
input_source* plain_source() {
    input_source* s = reader.current_source;
    if (s == nullptr || s->file == nullptr || reader.bookkeeping || reader.raw_input)
        return nullptr;
    return s;
}

// What a line of text does, read from a file's line buffer or its block.
enum class line_end { text, empty, leave_at_start, leave_within };

// Steps over the comments (and blanks) at p before a line's first token:
// they are blanks too, and a line comment alone leaves an empty line. In a
// file's block a block comment may run on over lines; line is then moved
// to the start of the line it ends on.
template <class Unit>
[[gnu::noinline]] const Unit* skip_leading_comments(const Unit* p, const Unit*& line) {
    while (*p == '/' && (p[1] == '*' || p[1] == '/')) {
        const Unit* end = take_comment(p);
        if constexpr (sizeof(Unit) == 1) {
            if (end == nullptr) end = take_comment_lines(p, line);
        }
        if (end == nullptr) break;
        p = end;
        while (kind_of(*p) == K_BLANK) ++p;
    }
    return p;
}

// Copies one line from its start at `line`, with r.newlines line ends read
// and not yet written (a comment that runs on moves `line` to where it ends). `stop` is where the
// line is left: past its newline when it is done, else at the unit the main loop goes on with.
template <class Unit>
line_end copy_line(plain_output& out, const Unit*& line, plain_lines& r, const Unit*& stop) {
    const Unit* p = line;
    if constexpr (sizeof(Unit) == 1) {
        // Indentation by spaces, eight at a time (the block's read-ahead
        // covers the look past its last line).
        for (std::uint64_t w; std::memcpy(&w, p, 8), w == 0x2020202020202020u;) p += 8;
    }
    while (kind_of(*p) == K_BLANK) ++p;
    if (*p == '/') p = skip_leading_comments(p, line);
    const Unit c = *p;
    if (c == '\n') {
        ++r.newlines;
        count_lines(1);
        stop = p + 1;
        return line_end::empty;
    }
    // Directives, and lines that begin with what needs the reader, are the
    // main loop's.
    // ISO C: "%:" begins a directive too.
    if (c == '#' || !steps_back(p) || (c == '%' && dialect.iso)) {
        stop = p;
        return line_end::leave_at_start;
    }
    if (reader.sync_needed || r.newlines > 4) {
        // The line synchronisation that the main loop writes before a text
        // line, after what was gathered.
        out.flush();
        flush_newlines(r.newlines);
        r.newlines = 0;
    }
    out.make_room();
    for (; r.newlines > 0; --r.newlines) out.put_byte('\n');
    const Unit* done;
    if constexpr (sizeof(Unit) == 1) {
        const unsigned char* newline;
        if (copy_plain_line(out, p, newline, done)) {
            out.put_byte('\n');
            count_lines(1);
            stop = newline + 1;
            return line_end::text;
        }
    }
    const Unit* first = p;
    p = copy_tokens(out, p, false, done);
    if (*p != '\n') {
        r.mid_line = true;
        r.wrote = done != first;
        r.blanks = static_cast<int>(p - done);
        stop = p;
        return line_end::leave_within;
    }
    out.put_byte('\n');
    count_lines(1);
    stop = p + 1;
    return line_end::text;
}

// The newline that ends the line of skipped text at p, or null when a unit
// of the line needs the reader (a comment, splice or trigraph may begin
// there, or it is a CR, VT, FF or NUL).
inline const unsigned char* skipped_line_end(const unsigned char* p) {
#ifdef __SSE2__
    const __m128i line_feed = _mm_set1_epi8('\n');
    const __m128i controls = _mm_set1_epi8(0x0D - '\n');  // LF, VT, FF, CR
    const __m128i slash_bit = _mm_set1_epi8(0x10);        // '/' | 0x10 == '?'
    const __m128i question = _mm_set1_epi8('?');
    const __m128i backslash = _mm_set1_epi8('\\');
    const __m128i zero = _mm_setzero_si128();
    for (;; p += 16) {
        __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p));
        __m128i stop = _mm_or_si128(
            _mm_or_si128(_mm_cmpeq_epi8(_mm_subs_epu8(_mm_sub_epi8(v, line_feed), controls), zero),
                         _mm_cmpeq_epi8(v, zero)),
            _mm_or_si128(_mm_cmpeq_epi8(_mm_or_si128(v, slash_bit), question),
                         _mm_cmpeq_epi8(v, backslash)));
        if (const int mask = _mm_movemask_epi8(stop); mask != 0) {
            p += __builtin_ctz(static_cast<unsigned>(mask));
            return *p == '\n' ? p : nullptr;
        }
    }
#else
    while (reader_plain_unit[*p]) ++p;
    return *p == '\n' ? p : nullptr;
#endif
}

// Steps over one line of skipped text from its start at p, as the main loop
// would (only a directive matters there), when it holds nothing the reader
// must look at; `stop` as for copy_line.
line_end skip_block_line(const unsigned char* p, plain_lines& r, const unsigned char*& stop) {
    for (std::uint64_t w; std::memcpy(&w, p, 8), w == 0x2020202020202020u;) p += 8;
    while (kind_of(*p) == K_BLANK) ++p;
    if (*p != '\n') {
        const bool directive = *p == '#' || (*p == '%' && dialect.iso);
        const unsigned char* end = !directive ? skipped_line_end(p) : nullptr;
        if (end == nullptr) {
            stop = p;
            return line_end::leave_at_start;
        }
        p = end;
    }
    ++r.newlines;
    count_lines(1);
    stop = p + 1;
    return line_end::empty;
}

// Copies the lines of the rest of a file's block, from `rest` to `rest_end`
// (where a 0 follows), as long as they are plain, or steps over them when
// they are skipped; true when a line was left to the main loop (taken into
// the line buffer), false when the rest is used up.
template <bool skipping>
bool copy_block_lines(plain_output& out, input_source* s, unsigned char* rest,
                      const unsigned char* rest_end, plain_lines& r) {
    unsigned char* line = rest;
    const unsigned char* stop = line;
    // No line is read past a 0 put in BLOCK_LINE_LIMIT bytes from the first
    // (a line left there is read into the line buffer, which holds that
    // much): a longer line, and the one the 0 falls in, go to the main loop.
    unsigned char* cut = static_cast<std::size_t>(rest_end - rest) > BLOCK_LINE_LIMIT
                             ? rest + BLOCK_LINE_LIMIT
                             : nullptr;
    const unsigned char kept = cut != nullptr ? *cut : 0;
    if (cut != nullptr) *cut = 0;
    while (line != rest_end) {
        line_end e;
        if constexpr (skipping) {
            e = skip_block_line(line, r, stop);
        } else {
            const unsigned char* start = line;
            block_marks.count = 0;
            e = copy_line(out, start, r, stop);
            // A comment may have run on to a later line.
            line += start - line;
        }
        if (e != line_end::text && e != line_end::empty) break;
        line += stop - line;
    }
    if (cut != nullptr) *cut = kept;
    // No message can have been given on the lines taken: they are stepped
    // over together.
    if (line != rest) skip_block_bytes(s, static_cast<std::size_t>(line - rest));
    if (line == rest_end) return false;
    // Reading a line into the buffer may report (a NUL byte), and a report
    // may end the run: what was gathered goes out first.
    out.flush();
    const auto at = static_cast<std::size_t>(stop - line);
    if (load_block_line(s, at) && !skipping) {
        // The spaces of the comments taken on the line (a comment that ran
        // on from an earlier line left its mark there, which no one reads).
        wchar* start = s->pos - at;
        for (int i = 0; i < block_marks.count; ++i)
            if (block_marks.at[i] >= line) start[block_marks.at[i] - line] = ' ';
    }
    return true;
}

}  // namespace

int copy_file_tokens(int blanks) {
    input_source* s = plain_source();
    if (s == nullptr) return blanks;
    plain_output out;
    const wchar* start = s->pos;
    const wchar* done;
    const wchar* p = copy_tokens(out, static_cast<const wchar*>(start), blanks != 0, done);
    s->pos = const_cast<wchar*>(p);
    return (done == start ? blanks : 0) + static_cast<int>(p - done);
}

int copy_text_tokens(int blanks) {
    input_source* s = reader.current_source;
    if (s == nullptr || reader.bookkeeping || reader.raw_input || s->long_text) return blanks;
    const wchar* start = s->pos;
    // Most calls stop at once: at a parameter reference, a mark, the end.
    if (kind_of(*start) == K_STOP) return blanks;
    plain_output out;
    const wchar* done;
    const wchar* p = copy_tokens<wchar, false>(out, start, blanks != 0, done);
    s->pos = const_cast<wchar*>(p);
    return (done == start ? blanks : 0) + static_cast<int>(p - done);
}

int copy_tokens_owing_pops(int blanks) {
    const input_source* s = reader.current_source;
    const wchar* start = s->pos;
    reader.bookkeeping = false;
    blanks = copy_plain_tokens(blanks);
    if (s->pos != start) {
        settle_pops_owed(0, s->pos - start);
    } else {
        reader.bookkeeping = true;
    }
    return blanks;
}

int copy_after_text_end(int blanks) {
    const input_source* s = reader.current_source;
    const input_source* below = s->parent.get();
    // Elsewhere the reader finishes the text: a file's units may need its
    // care. (ISO C, which looks at the joint of the tokens on either side,
    // never comes here.)
    if (s->barrier || below == nullptr || below->file != nullptr || below->at_end) return blanks;
    // The copy must take a unit: a token it may stop before would be read
    // by the reader, with the pops owed.
    const unit_kind k = kind_of(*below->pos);
    if (k != K_BLANK && k != K_SINGLE) return blanks;
    const int popped = finish_ended_text();
    reader.bookkeeping = false;
    const wchar* start = below->pos;
    blanks = copy_text_tokens(blanks);
    settle_pops_owed(popped, below->pos - start);
    return blanks;
}

plain_lines copy_plain_lines(int newlines) {
    plain_lines r{false, 0, newlines, false};
    input_source* s = plain_source();
    if (s == nullptr || scanner.asm_mode) return r;
    // Skipped text is stepped over from the block alone; a line the main
    // loop reads into the line buffer is left to it there.
    const bool skipping = !conditional.cond_active;
    plain_output out;
    for (;;) {
        if (*s->pos == 0) {
            // The line buffer is used up: the next line is read from the
            // block below it as long as it is plain text; a line left
            // unfinished goes to the line buffer as a refill stores it (and
            // so does a line that runs past the block or holds a CR or NUL,
            // where the scan stops). At the end of the file nothing is
            // read, and the main loop finds the end again.
            std::size_t left;
            if (unsigned char* rest = block_rest(s, left)) {
                if (skipping ? copy_block_lines<true>(out, s, rest, rest + left, r)
                             : copy_block_lines<false>(out, s, rest, rest + left, r)) {
                    // An #include of a header passed over needs no turn of
                    // the main loop.
                    if (skipping || r.mid_line || !control_include_line(r.newlines)) break;
                    if (reader.current_source != s) break;
                    continue;
                }
            }
            out.flush();  // before a refill that may report, as above
            if (!refill_file_line(s)) break;
        }
        if (skipping) break;
        const wchar* stop;
        const wchar* line = s->pos;
        line_end e = copy_line(out, line, r, stop);
        s->pos = const_cast<wchar*>(stop);
        if (e == line_end::leave_at_start) {
            out.flush();
            if (!control_include_line(r.newlines) || reader.current_source != s) break;
            continue;
        }
        if (e == line_end::leave_within) break;
    }
    return r;
}

#else

int copy_file_tokens(int blanks) {
    return blanks;
}

int copy_text_tokens(int blanks) {
    return blanks;
}

int copy_tokens_owing_pops(int blanks) {
    return blanks;
}

int copy_after_text_end(int blanks) {
    return blanks;
}

plain_lines copy_plain_lines(int newlines) {
    return {false, 0, newlines, false};
}

#endif
