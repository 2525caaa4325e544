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
