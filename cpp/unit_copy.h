// Copying between the bytes of files and the 16-bit units the preprocessor
// holds text in, sixteen at a time where the machine has SSE2.
#pragma once

#include <cstddef>
#include <cstdint>

#include "common/wstr.h"

#ifdef __SSE2__
#include <emmintrin.h>
#endif

// Widens bytes into units up to the first newline, CR or NUL, taking at most
// n of them; returns how many were taken. Units past the stop, up to n, may
// be written too.
inline std::size_t widen_line_bytes(wchar* out, const unsigned char* in, std::size_t n) {
    std::size_t i = 0;
#ifdef __SSE2__
    const __m128i newline = _mm_set1_epi8('\n');
    const __m128i cr = _mm_set1_epi8('\r');
    const __m128i zero = _mm_setzero_si128();
    for (; i + 16 <= n; i += 16) {
        __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(in + i));
        _mm_storeu_si128(reinterpret_cast<__m128i*>(out + i), _mm_unpacklo_epi8(v, zero));
        _mm_storeu_si128(reinterpret_cast<__m128i*>(out + i + 8), _mm_unpackhi_epi8(v, zero));
        __m128i stop = _mm_or_si128(_mm_or_si128(_mm_cmpeq_epi8(v, newline), _mm_cmpeq_epi8(v, cr)),
                                    _mm_cmpeq_epi8(v, zero));
        if (int mask = _mm_movemask_epi8(stop); mask != 0) {
            return i + static_cast<std::size_t>(__builtin_ctz(static_cast<unsigned>(mask)));
        }
    }
#endif
    for (; i < n; ++i) {
        unsigned char b = in[i];
        if (b == '\n' || b == '\r' || b == 0) break;
        out[i] = b;
    }
    return i;
}

#ifdef __SSE2__
// Sixteen units from p as sixteen bytes (units below 256 keep their value).
inline __m128i load_16_as_bytes(const unsigned char* p) {
    return _mm_loadu_si128(reinterpret_cast<const __m128i*>(p));
}
inline __m128i load_16_as_bytes(const wchar* p) {
    return _mm_packus_epi16(_mm_loadu_si128(reinterpret_cast<const __m128i*>(p)),
                            _mm_loadu_si128(reinterpret_cast<const __m128i*>(p + 8)));
}
#endif

// Writes bytes, or units below 256 narrowed to bytes; returns the end of
// what was written. Where the machine has SSE2 it works sixteen units at a
// time and may read up to 15 units past `to` and write up to 15 bytes past
// the result.
template <class Unit>
inline char* put_units(char* out, const Unit* from, const Unit* to) {
#ifdef __SSE2__
    if (from >= to) return out;
    char* start = out;
    const auto n = to - from;
    do {
        _mm_storeu_si128(reinterpret_cast<__m128i*>(out), load_16_as_bytes(from));
        from += 16;
        out += 16;
    } while (from < to);
    return start + n;
#else
    for (; from != to; ++from) *out++ = static_cast<char>(*from);
    return out;
#endif
}

#ifdef __SSE2__
// Two bits of the mask for each of the eight units at p that may belong to
// a name: letters, digits, '_', '$' and 0x1D.
inline std::uint32_t name_unit_mask(const wchar* p) {
    const __m128i zero = _mm_setzero_si128();
    __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p));
    // x - first <= span, unsigned: saturating subtraction leaves 0.
    __m128i letter = _mm_cmpeq_epi16(
        _mm_subs_epu16(_mm_sub_epi16(_mm_or_si128(v, _mm_set1_epi16(0x20)), _mm_set1_epi16('a')),
                       _mm_set1_epi16(25)),
        zero);
    __m128i digit = _mm_cmpeq_epi16(
        _mm_subs_epu16(_mm_sub_epi16(v, _mm_set1_epi16('0')), _mm_set1_epi16(9)), zero);
    __m128i other = _mm_or_si128(_mm_or_si128(_mm_cmpeq_epi16(v, _mm_set1_epi16('_')),
                                              _mm_cmpeq_epi16(v, _mm_set1_epi16('$'))),
                                 _mm_cmpeq_epi16(v, _mm_set1_epi16(0x1D)));
    return static_cast<std::uint32_t>(
        _mm_movemask_epi8(_mm_or_si128(_mm_or_si128(letter, digit), other)));
}
#endif

// Whether u may belong to a name: a letter, a digit, '_', '$' or 0x1D.
constexpr bool is_name_unit(wchar u) {
    return (u >= 'a' && u <= 'z') || (u >= 'A' && u <= 'Z') || (u >= '0' && u <= '9') || u == '_' ||
           u == '$' || u == 0x1D;
}

// The number of units from p on that may belong to a name. Where the machine
// has SSE2 it looks eight units at a time, up to seven past the first that
// may not: a source's read-ahead covers that past the 0 that ends its text.
inline std::size_t name_span(const wchar* p) {
#ifdef __SSE2__
    for (std::size_t n = 0;; n += 8) {
        std::uint32_t mask = name_unit_mask(p + n);
        if (mask != 0xFFFFu) return n + static_cast<std::size_t>(__builtin_ctz(~mask)) / 2;
    }
#else
    std::size_t n = 0;
    while (is_name_unit(p[n])) ++n;
    return n;
#endif
}

// Whether a comment's body must look at the unit u: a line end, a 0, a
// backslash, a CR, a '?', a unit above 0xFF, and in a block comment '*' and
// '/'. Any other unit is stepped over as it stands.
inline bool comment_stop_unit(unsigned u, bool block) {
    return u == '\n' || u == 0 || u == '\\' || u == '\r' || u == '?' || u > 0xFF ||
           (block && (u == '*' || u == '/'));
}

#ifdef __SSE2__
// A bit for each of the sixteen units from p at which a comment's body
// stops, as skip_comment_body tells, but for line ends, which go to
// newlines: bytes holds the units as bytes, next the units after each, high
// their high bytes.
inline unsigned comment_stop_mask(__m128i bytes, __m128i next, __m128i high, bool block,
                                  unsigned& newlines) {
    auto is = [](__m128i v, char c) { return _mm_cmpeq_epi8(v, _mm_set1_epi8(c)); };
    // What may stand for a unit of its own once the reader has looked at it.
    const __m128i joins = _mm_or_si128(_mm_or_si128(is(next, '\\'), is(next, '?')),
                                       _mm_or_si128(is(next, '\r'), is(next, 0)));
    newlines = static_cast<unsigned>(_mm_movemask_epi8(is(bytes, '\n')));
    __m128i stop = _mm_or_si128(is(bytes, 0), _mm_or_si128(is(bytes, '\\'), is(bytes, '\r')));
    stop = _mm_or_si128(stop, _mm_and_si128(is(bytes, '?'), is(next, '?')));
    if (block) {
        stop =
            _mm_or_si128(stop, _mm_and_si128(is(bytes, '*'), _mm_or_si128(is(next, '/'), joins)));
        stop =
            _mm_or_si128(stop, _mm_and_si128(is(bytes, '/'), _mm_or_si128(is(next, '*'), joins)));
    }
    const __m128i low = _mm_cmpeq_epi8(high, _mm_setzero_si128());
    return static_cast<unsigned>(_mm_movemask_epi8(stop)) |
           (static_cast<unsigned>(_mm_movemask_epi8(low)) ^ 0xFFFFu);
}
inline unsigned comment_stop_mask(const unsigned char* p, bool block, unsigned& newlines) {
    return comment_stop_mask(_mm_loadu_si128(reinterpret_cast<const __m128i*>(p)),
                             _mm_loadu_si128(reinterpret_cast<const __m128i*>(p + 1)),
                             _mm_setzero_si128(), block, newlines);
}
inline unsigned comment_stop_mask(const wchar* p, bool block, unsigned& newlines) {
    const __m128i a = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p));
    const __m128i b = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p + 8));
    const __m128i next = _mm_packus_epi16(_mm_loadu_si128(reinterpret_cast<const __m128i*>(p + 1)),
                                          _mm_loadu_si128(reinterpret_cast<const __m128i*>(p + 9)));
    return comment_stop_mask(_mm_packus_epi16(a, b), next,
                             _mm_packus_epi16(_mm_srli_epi16(a, 8), _mm_srli_epi16(b, 8)), block,
                             newlines);
}
// The same with the line ends among the stops.
template <class Unit>
inline unsigned comment_stop_mask(const Unit* p, bool block) {
    unsigned newlines;
    const unsigned stop = comment_stop_mask(p, block, newlines);
    return stop | newlines;
}
#endif

// Whether the unit at p, which comment_stop_unit holds, ends or interrupts
// a comment's body, or may: any but a '?' before no other '?' (no trigraph
// begins there) and, in a block comment, a '*' or '/' that a unit follows
// that cannot join it into "*/" or "/*" (not that one, a backslash, a '?',
// a CR, or the end of the buffer).
template <class Unit>
inline bool stops_comment_body(const Unit* p) {
    const unsigned u = *p;
    const unsigned next = p[1];
    if (u == '?') return next == '?';
    if (u == '*' || u == '/')
        return next == (u == '*' ? '/' : '*') || next == '\\' || next == '?' || next == '\r' ||
               next == 0;
    return true;
}

// The first unit from p on that ends or interrupts a comment's body, or may,
// as stops_comment_body tells. Where the machine has SSE2 it looks sixteen
// units at a time, up to fifteen past the 0 that ends the text.
template <class Unit>
inline const Unit* skip_comment_body(const Unit* p, bool block) {
#ifdef __SSE2__
    for (unsigned mask;; p += 16) {
        if ((mask = comment_stop_mask(p, block)) != 0) return p + __builtin_ctz(mask);
    }
#else
    for (;; ++p)
        if (comment_stop_unit(*p, block) && stops_comment_body(p)) return p;
#endif
}

// Steps over the whole lines from p (a line's start in a file's block) that
// lie inside a block comment, up to the start of the first line that holds
// a unit at which the body stops (skip_comment_body) but its line end;
// returns that start, with the number of lines stepped over in lines.
inline const unsigned char* skip_comment_lines(const unsigned char* p, int& lines) {
    const unsigned char* line = p;
    lines = 0;
#ifdef __SSE2__
    for (;; p += 16) {
        unsigned newlines;
        const unsigned stop = comment_stop_mask(p, true, newlines);
        // Only the line ends before the first stop count.
        if (stop != 0) newlines &= (1u << __builtin_ctz(stop)) - 1;
        if (newlines != 0) {
            lines += __builtin_popcount(newlines);
            line = p + 32 - __builtin_clz(newlines);
        }
        if (stop != 0) return line;
    }
#else
    while (*(p = skip_comment_body(p, true)) == '\n') {
        ++lines;
        line = ++p;
    }
    return line;
#endif
}

#ifdef __SSE2__
// A bit for each of the sixteen units from p that the reader's fast path
// does not hand out as it stands (a 0, LF, VT, FF, CR, '/', '\', '?' or a
// unit above 0xFF), and with quotes each quote too.
inline unsigned reader_stop_mask(const wchar* p, bool quotes) {
    const __m128i a = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p));
    const __m128i b = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p + 8));
    const __m128i v = _mm_packus_epi16(a, b);
    const __m128i high = _mm_packus_epi16(_mm_srli_epi16(a, 8), _mm_srli_epi16(b, 8));
    auto is = [v](char c) { return _mm_cmpeq_epi8(v, _mm_set1_epi8(c)); };
    const __m128i zero = _mm_setzero_si128();
    // LF to CR: x - LF <= 3, unsigned.
    const __m128i controls =
        _mm_cmpeq_epi8(_mm_subs_epu8(_mm_sub_epi8(v, _mm_set1_epi8('\n')), _mm_set1_epi8(3)), zero);
    __m128i stop = _mm_or_si128(_mm_or_si128(controls, is(0)),
                                _mm_or_si128(_mm_or_si128(is('/'), is('\\')), is('?')));
    if (quotes) stop = _mm_or_si128(stop, _mm_or_si128(is('"'), is('\'')));
    return static_cast<unsigned>(_mm_movemask_epi8(stop)) |
           (static_cast<unsigned>(_mm_movemask_epi8(_mm_cmpeq_epi8(high, zero))) ^ 0xFFFFu);
}
#endif
