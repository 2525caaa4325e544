// The token rules the ISO C expansion needs to paste and to keep tokens
// that came from different places apart.
#include "cpp/iso_tokens.h"

#include <array>
#include <cstring>

#include "cpp/scanner.h"

namespace {

bool is_name_unit(wchar u) {
    int cls = char_class(u);
    return cls == CC_IDENT || cls == CC_DIGIT;
}

std::size_t literal_length(const wchar* p, const wchar* end) {
    const wchar quote = *p;
    const wchar* q = p + 1;
    while (q < end && *q != quote && *q != '\n') {
        if (*q == '\\' && q + 1 < end) ++q;
        ++q;
    }
    if (q < end && *q == quote) ++q;
    return static_cast<std::size_t>(q - p);
}

std::size_t number_length(const wchar* p, const wchar* end) {
    const wchar* q = p + 1;
    while (q < end) {
        wchar u = *q;
        if ((u == '+' || u == '-') &&
            (q[-1] == 'e' || q[-1] == 'E' || q[-1] == 'p' || q[-1] == 'P')) {
            ++q;
        } else if ((is_name_unit(u) && u != MARK_NO_EXPAND) || u == '.') {
            ++q;
        } else {
            break;
        }
    }
    return static_cast<std::size_t>(q - p);
}

// Punctuators of more than one character, longest first.
const char* const punctuators[] = {
    "%:%:", "...", "<<=", ">>=", "->", "++", "--", "<<", ">>", "<=", ">=", "==", "!=", "&&", "||",
    "*=",   "/=",  "%=",  "+=",  "-=", "&=", "^=", "|=", "##", "<:", ":>", "<%", "%>", "%:",
};

std::size_t punctuator_length(const wchar* p, const wchar* end) {
    for (const char* punct : punctuators) {
        std::size_t n = std::strlen(punct);
        if (static_cast<std::size_t>(end - p) < n) continue;
        std::size_t i = 0;
        while (i < n && p[i] == static_cast<unsigned char>(punct[i])) ++i;
        if (i == n) return n;
    }
    return 1;
}

// Pairs of characters that begin a longer punctuator, or a comment.
using pair_table = std::array<std::array<bool, 128>, 128>;
constexpr pair_table make_merging_pairs() {
    pair_table t{};
    const char* const pairs[] = {
        "++", "+=", "--", "-=", "->", "*=", "/=", "//", "/*", "%=", "%>", "%:", "<<", "<=", "<:",
        "<%", ">>", ">=", "==", "!=", "&&", "&=", "||", "|=", "^=", "##", ":>", ":%", ".."};
    for (const char* pair : pairs)
        t[static_cast<unsigned char>(pair[0])][static_cast<unsigned char>(pair[1])] = true;
    return t;
}
constexpr pair_table merging_pairs = make_merging_pairs();

}  // namespace

std::size_t pp_token_length(const wchar* p, const wchar* end) {
    if (p >= end) return 0;
    const wchar u = *p;
    if (u == '"' || u == '\'') return literal_length(p, end);
    if (u == 'L' && p + 1 < end && (p[1] == '"' || p[1] == '\'')) {
        return 1 + literal_length(p + 1, end);
    }
    const int cls = char_class(u);
    if (cls == CC_DIGIT || (u == '.' && p + 1 < end && char_class(p[1]) == CC_DIGIT)) {
        return number_length(p, end);
    }
    if (cls == CC_IDENT) {
        const wchar* q = p + 1;
        while (q < end && is_name_unit(*q) && *q != MARK_NO_EXPAND) ++q;
        return static_cast<std::size_t>(q - p);
    }
    if (u < 128) return punctuator_length(p, end);
    return 1;
}

bool pp_number_ends_at(const wchar* begin, const wchar* end) {
    // Back over the units a number may hold, then forward token by token
    // from there: the run begins a token.
    const wchar* p = end;
    while (p > begin) {
        wchar u = p[-1];
        bool sign = (u == '+' || u == '-') && p - 1 > begin &&
                    (p[-2] == 'e' || p[-2] == 'E' || p[-2] == 'p' || p[-2] == 'P');
        if (!is_name_unit(u) && u != '.' && !sign) break;
        --p;
    }
    const wchar* last = p;
    for (const wchar* t = p; t < end; t += pp_token_length(t, end)) last = t;
    if (last >= end) return false;
    return char_class(*last) == CC_DIGIT ||
           (*last == '.' && last + 1 < end && char_class(last[1]) == CC_DIGIT);
}

bool pp_tokens_merge(wchar last, bool last_is_number, wchar first) {
    const bool name_last = is_name_unit(last);
    const bool name_first = is_name_unit(first);
    if (name_last && name_first) return true;
    if (last_is_number &&
        (first == '.' || ((first == '+' || first == '-') &&
                          (last == 'e' || last == 'E' || last == 'p' || last == 'P'))))
        return true;
    // A wide literal: L"..." and L'...'.
    if (last == 'L' && !last_is_number && (first == '"' || first == '\'')) return true;
    if (last == '.' && (char_class(first) == CC_DIGIT || first == '.')) return true;
    if (last >= 128 || first >= 128) return false;
    return merging_pairs[last][first];
}
