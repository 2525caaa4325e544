// The constant expressions of #if, #elif and #assert: a token reader that
// pulls characters through macro expansion and pasting, and a one-pass
// operator-precedence evaluator over two fixed stacks (no tree, no heap).
// In the toolchain's own dialect values are 32-bit patterns with a signed
// flag that only the relational operators look at; in ISO C they are the
// 64-bit intmax_t and uintmax_t, with C's rules for unsigned operands.
#include "cpp/expr.h"

#include <cstdint>

#include "common/alert.h"
#include "common/wstr.h"
#include "cpp/dialect.h"
#include "cpp/expand.h"
#include "cpp/macro_table.h"
#include "cpp/messages.h"
#include "cpp/reader.h"
#include "cpp/scanner.h"

expr_state expr;

void expr_reset() {
    expr = {};
}

namespace {

// clang-format off
// Tokens, in the order of the table below.
enum token : std::uint8_t {
    TOK_END, TOK_RPAREN, TOK_NONE, TOK_QUESTION, TOK_COLON, TOK_OROR, TOK_ANDAND,
    TOK_OR, TOK_XOR, TOK_AND, TOK_EQ, TOK_NE, TOK_LT, TOK_LE, TOK_GE, TOK_GT,
    TOK_SHL, TOK_SHR, TOK_ADD, TOK_SUB, TOK_MUL, TOK_DIV, TOK_MOD,
    TOK_PLUS, TOK_NEG, TOK_COMPL, TOK_NOT,  // the prefix operators
    TOK_LPAREN,
    TOK_VALUE,  // an operand was scanned into the scanner's value
    TOK_STOP,   // the scanner reported an error (or met an illegal character)
};

// Binding values: bit 0 says the token stands after an operand, bit 1 that an
// operator follows it; the rest is eight times the precedence level (plus 4
// for the half step of '^' and of a pushed '?'). The names go into messages.
struct token_info {
    const char* name;
    std::int8_t binding;
};

constexpr token_info token_table[] = {
    {"end of expression", 1}, {")", 11}, {"(none)", 19}, {"?", 33}, {":", 33},
    {"||", 41}, {"&&", 49}, {"|", 57}, {"^", 61}, {"&", 65},
    {"==", 73}, {"!=", 73}, {"<", 81}, {"<=", 81}, {">=", 81}, {">", 81},
    {"<<", 89}, {">>", 89}, {"+", 97}, {"-", 97}, {"*", 105}, {"/", 105}, {"%", 105},
    {"unary +", 112}, {"unary -", 112}, {"~", 112}, {"!", 112},
    {"(", 120},
};
// clang-format on

constexpr std::int8_t PUSHED_LPAREN = 11;    // '(' waits for ')' to reduce it
constexpr std::int8_t PUSHED_QUESTION = 28;  // ':' never reduces its '?'

// Suppression flags of an operator-stack entry.
constexpr std::uint8_t IN_SKIPPED_BRANCH = 1;  // unselected branch of ?:
constexpr std::uint8_t IN_SHORT_CIRCUIT = 2;   // right operand of a decided && or ||
// ISO C: inside a conditional that stands in an unselected branch.
constexpr std::uint8_t IN_SKIPPED_OUTER = 4;

constexpr int OPERATOR_STACK_SIZE = 128;  // the bottom entry and 127 pending
constexpr int VALUE_STACK_SIZE = 127;

// The bits above 31 are always clear in the toolchain's own dialect.
struct value {
    std::uint64_t bits = 0;
    bool is_signed = true;
};

// A result cut to the width of the dialect's values.
std::uint64_t wrap(std::uint64_t bits) {
    return dialect.iso ? bits : bits & 0xFFFFFFFFu;
}

struct op_entry {
    std::uint8_t tok;
    std::int8_t binding;
    std::uint8_t flags;
};

// sizeof type words and their bits.
enum : unsigned {
    T_CHAR = 1,
    T_INT = 2,
    T_FLOAT = 4,
    T_DOUBLE = 8,
    T_SHORT = 16,
    T_LONG = 32,
    T_SIGNED = 64,
    T_UNSIGNED = 128,
    T_POINTER = 256,
    T_FUNCTION_POINTER = 512,
    T_SHORT_LONG = 1024,
};

struct type_word {
    const char* word;
    unsigned bit;
};

constexpr type_word type_words[] = {
    {"char", T_CHAR},   {"int", T_INT},   {"float", T_FLOAT},   {"double", T_DOUBLE},
    {"short", T_SHORT}, {"long", T_LONG}, {"signed", T_SIGNED}, {"unsigned", T_UNSIGNED},
};

// At most one word of each group, checked in this order.
constexpr unsigned exclusion_groups[] = {
    T_FLOAT | T_DOUBLE | T_SHORT | T_LONG,
    T_CHAR | T_INT | T_FLOAT | T_DOUBLE,
    T_FLOAT | T_DOUBLE | T_SIGNED | T_UNSIGNED,
    T_CHAR | T_SHORT | T_LONG,
};

constexpr char16_t defined_word[] = u"defined";
constexpr char16_t sizeof_word[] = u"sizeof";

bool is_prefix(int tok) {
    return tok >= TOK_PLUS && tok <= TOK_NOT;
}

bool more_than_one_bit(unsigned set) {
    return (set & (set - 1)) != 0;
}

int lower_ascii(int c) {
    return c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c;
}

// The digit value of c in bases up to 16, or 16 when it is none.
int hex_digit_value(int c) {
    c = lower_ascii(c);
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    return 16;
}

// A constant as written, for its message; cut after 40 characters.
struct number_text {
    static constexpr int KEPT = 40;
    char chars[KEPT + 4] = {};
    int length = 0;

    void add(int c) {
        if (length < KEPT) {
            chars[length++] = static_cast<char>(c);
        } else if (length == KEPT) {
            chars[length++] = '.';
            chars[length++] = '.';
            chars[length++] = '.';
        }
    }
};

// One evaluation: both stacks and the scanner's state live here, on the
// caller's stack, and are fresh for every expression.
struct evaluation {
    op_entry ops[OPERATOR_STACK_SIZE];
    int op_top = 0;  // index of the top entry; 0 is the bottom entry
    value values[VALUE_STACK_SIZE];
    int value_count = 0;
    bool operator_expected = false;
    value scanned;  // the operand just read

    evaluation() { ops[0] = {TOK_NONE, token_table[TOK_NONE].binding, 0}; }

    std::uint8_t suppressed() const { return ops[op_top].flags; }

    int read_token();
    int read_operator(int c);
    int read_number(int c);
    int read_iso_suffix(int c);
    int read_char_constant();
    int read_escape();
    int read_identifier();
    int read_defined();
    int read_sizeof();
    int read_sizeof_words(unsigned& type);
    int read_function_pointer_form();
    int finish_sizeof(unsigned type);

    // What reducing the stack for an arriving operator came to.
    enum class reduced { push, consumed, finished, failed };
    reduced reduce_for(int tok);
    bool reduce_one();
    bool push_operand();
    bool push_operator(int tok);
    value pop_value() { return values[--value_count]; }
    void push_value(value v) { values[value_count++] = v; }
    void apply_binary(const op_entry& op);
    void apply_prefix(int tok);
    void apply_conditional();
    std::uint64_t run();
};

// Scans one token. Operands leave their value in `scanned`.
int evaluation::read_token() {
    for (;;) {
        int c = expand_if_macro(skip_blanks());
        if (c == MARK_END) continue;  // a macro that expanded to nothing
        if (c == 0 || c == '\n') {
            unget_char();
            return TOK_END;
        }
        int cls = char_class(c);
        if (is_paste_class(cls) && paste_tokens()) continue;
        switch (cls) {
            case CC_BLANK:
                continue;  // white space at the start of an expansion
            case CC_DIGIT:
                return read_number(c);
            case CC_IDENT:
                return read_identifier();
            case CC_QUOTE:
                if (c == '\'') return read_char_constant();
                alert_report(MSG_EXPR_STRING);
                return TOK_STOP;
            case CC_DOT:
                alert_report(MSG_EXPR_DOT);
                return TOK_STOP;
            case CC_BACKSLASH:
                if (skip_paste_marks() == '\n') continue;  // the expression goes on
                alert_report(MSG_EXPR_BACKSLASH);
                return TOK_STOP;
            case CC_OTHER:
                // An illegal character stops the evaluation even where its
                // message is silenced.
                if (suppressed() == 0) {
                    if (c >= 0x20 && c < 0x7F)
                        alert_report(MSG_EXPR_ILLEGAL_CHAR, c);
                    else
                        alert_report(MSG_EXPR_ILLEGAL_CODE, c);
                }
                return TOK_STOP;
            default:
                return read_operator(c);
        }
    }
}

// Operators, given their first character; two-character ones look at the
// next character and give it back when it does not belong to them.
int evaluation::read_operator(int c) {
    switch (c) {
        case '=':
            if (skip_paste_marks() == '=') return TOK_EQ;
            unget_char();
            alert_report(MSG_EXPR_ASSIGN);
            return TOK_STOP;
        case '!':
            if (skip_paste_marks() == '=') return TOK_NE;
            unget_char();
            return TOK_NOT;
        case '<':
        case '>': {
            int next = skip_paste_marks();
            if (next == c) return c == '<' ? TOK_SHL : TOK_SHR;
            if (next == '=') return c == '<' ? TOK_LE : TOK_GE;
            unget_char();
            return c == '<' ? TOK_LT : TOK_GT;
        }
        case '&':
        case '|': {
            if (skip_paste_marks() == c) return c == '&' ? TOK_ANDAND : TOK_OROR;
            unget_char();
            return c == '&' ? TOK_AND : TOK_OR;
        }
        case '+':
            return operator_expected ? TOK_ADD : TOK_PLUS;
        case '-':
            return operator_expected ? TOK_SUB : TOK_NEG;
        case '*':
            return TOK_MUL;
        case '/':
            return TOK_DIV;
        case '%':
            return TOK_MOD;
        case '^':
            return TOK_XOR;
        case '?':
            return TOK_QUESTION;
        case ':':
            return TOK_COLON;
        case '(':
            return TOK_LPAREN;
        case ')':
            return TOK_RPAREN;
        case '~':
            return TOK_COMPL;
        default:
            break;
    }
    // Every class that reaches here is one of the operator characters above.
    alert_report(MSG_EXPR_ILLEGAL_CHAR, c);
    return TOK_STOP;
}

// An integer constant in base 8, 10 or 16 with its suffixes. Digits are read
// across paste and end-of-expansion marks. The toolchain's dialect keeps the
// value modulo 2^32 and takes any run of u/l; ISO C keeps 64 bits, reports a
// constant that does not fit them, and takes only C's suffixes.
int evaluation::read_number(int c) {
    unsigned base = 10;
    number_text text;
    if (c == '0') {
        text.add(c);
        c = skip_paste_marks();
        if (c == 'x' || c == 'X') {
            base = 16;
            text.add(c);
            c = skip_paste_marks();
        } else {
            base = 8;
        }
    }
    std::uint64_t bits = 0;
    bool too_large = false;
    for (;;) {
        unsigned digit = static_cast<unsigned>(hex_digit_value(c));
        if (digit >= base) break;
        if (bits > (UINT64_MAX - digit) / base) too_large = true;
        bits = bits * base + digit;
        text.add(c);
        c = skip_paste_marks();
    }
    if (!dialect.iso) {
        bits &= 0xFFFFFFFFu;
        scanned = {bits, (bits & 0x80000000u) == 0};
        while (c == 'u' || c == 'U' || c == 'l' || c == 'L') {
            if (c == 'u' || c == 'U') scanned.is_signed = false;
            c = skip_paste_marks();
        }
        unget_char();
        return TOK_VALUE;
    }
    // A constant too large for uintmax_t keeps its low 64 bits and stays
    // signed unless it says otherwise; one that fits only uintmax_t is
    // unsigned, decimal or not.
    if (too_large) alert_report(MSG_NUMBER_OUT_OF_RANGE, text.chars);
    scanned = {bits, too_large || bits <= static_cast<std::uint64_t>(INT64_MAX)};
    c = read_iso_suffix(c);
    unget_char();
    return TOK_VALUE;
}

// The suffixes of an ISO C integer constant: u, l and ll (both letters in
// one case) in either order, each at most once. What follows them is the
// next token, so a suffix that breaks these rules is an operand where an
// operator is expected.
int evaluation::read_iso_suffix(int c) {
    bool is_unsigned = c == 'u' || c == 'U';
    if (is_unsigned) c = skip_paste_marks();
    if (c == 'l' || c == 'L') {
        int first = c;
        c = skip_paste_marks();
        if (c == first) c = skip_paste_marks();
        if (!is_unsigned && (c == 'u' || c == 'U')) {
            is_unsigned = true;
            c = skip_paste_marks();
        }
    }
    if (is_unsigned) scanned.is_signed = false;
    return c;
}

// One escape after its backslash; the value of the character it stands for.
int evaluation::read_escape() {
    int c = skip_paste_marks();
    switch (c) {
        case 'a':
            return 7;
        case 'b':
            return 8;
        case 'f':
            return 12;
        case 'n':
            return 10;
        case 'r':
            return 13;
        case 't':
            return 9;
        case 'v':
            return 11;
        default:
            break;
    }
    int limit = 0;
    unsigned base = 8;
    int result = 0;
    if (c == 'x') {
        base = 16;
        limit = 3;
        c = next_char();
    } else if (c >= '0' && c <= '7') {
        limit = 3;  // the digit in hand and up to two more
    } else {
        return c;  // \\ \' \" and any other character stand for themselves
    }
    for (int n = 0; n < limit; ++n) {
        unsigned digit = static_cast<unsigned>(hex_digit_value(c));
        if (digit >= base) break;
        result = result * static_cast<int>(base) + static_cast<int>(digit);
        c = next_char();
    }
    unget_char();  // the character that ended the digits
    return result;
}

// A character constant after its opening quote. Every character after the
// first is shifted in as one more byte, unescaped, and draws a warning.
// ISO C gives the constant the value of a char, which is signed, when it
// holds one character, and that of an int when it holds more.
int evaluation::read_char_constant() {
    reader.raw_input = 1;
    std::uint32_t bits = 0;
    int c = skip_paste_marks();
    bool single = true;
    if (c != '\'') {
        bool escaped = c == '\\';
        bits = escaped ? static_cast<std::uint32_t>(read_escape()) : static_cast<std::uint32_t>(c);
        if (dialect.iso && (escaped || bits <= 0xFF))
            bits = static_cast<std::uint32_t>(static_cast<std::int8_t>(bits & 0xFF));
        for (;;) {
            c = next_char();
            if (c == '\'' || c == 0) break;
            if (c == '\n') {
                unget_char();  // unterminated: the line end belongs to the caller
                break;
            }
            if (single && dialect.iso) bits &= 0xFF;  // each character a byte
            single = false;
            bits = bits * 256 + static_cast<std::uint32_t>(c);
            if (suppressed() == 0) alert_report(MSG_MULTI_CHAR_CONSTANT, c);
        }
    }
    reader.raw_input = 0;
    scanned = {bits, true};
    if (dialect.iso) scanned.bits = static_cast<std::uint64_t>(std::int64_t{std::int32_t(bits)});
    return TOK_VALUE;
}

// An identifier already scanned into the name buffer and not a macro.
int evaluation::read_identifier() {
    if (wstr_cmp(scanner.name_buffer, defined_word) == 0) return read_defined();
    if (wstr_cmp(scanner.name_buffer, sizeof_word) == 0) return read_sizeof();
    scanned = {0, true};
    return TOK_VALUE;
}

// `defined NAME`, `defined(NAME)`; the name is looked up without expansion.
int evaluation::read_defined() {
    int c = skip_blanks();
    bool parenthesised = c == '(';
    if (parenthesised) c = skip_blanks();
    if (char_class(c) == CC_IDENT) {
        scanned = {scan_and_find_macro(c) != nullptr ? 1u : 0u, true};
        if (!parenthesised) return TOK_VALUE;
        if (skip_blanks() == ')') return TOK_VALUE;
    }
    unget_char();
    alert_report(MSG_EXPR_DEFINED);
    return TOK_STOP;
}

// The rest of the form `(*)` or `(*)()` inside sizeof, after its '('.
int evaluation::read_function_pointer_form() {
    if (skip_blanks() != '*' || skip_blanks() != ')') return TOK_STOP;
    if (skip_blanks() == '(') {
        if (skip_blanks() != ')') return TOK_STOP;
    } else {
        unget_char();
    }
    return TOK_VALUE;
}

// Collects the type words of sizeof( ... ) into `type` and returns the
// character that ended them (consumed), or -1 after a report.
int evaluation::read_sizeof_words(unsigned& type) {
    for (;;) {
        int c = expand_if_macro(skip_blanks());
        if (c == MARK_END) continue;
        if (c == 0 || c == '\n') {
            unget_char();
            alert_report(MSG_SIZEOF_MALFORMED);
            return -1;
        }
        if (c == '(') {
            if (read_function_pointer_form() == TOK_STOP) {
                alert_report(MSG_SIZEOF_MALFORMED);
                return -1;
            }
            type |= T_FUNCTION_POINTER;
            continue;
        }
        if (char_class(c) != CC_IDENT) return c;
        if (paste_tokens()) continue;
        unsigned bit = 0;
        for (const type_word& w : type_words)
            if (wstr_cmp_narrow(scanner.name_buffer, w.word) == 0) bit = w.bit;
        if (bit == 0) {
            char word[MAX_IDENT_LIMIT + 1];
            wstr_to_narrow(word, scanner.name_buffer);
            alert_report(MSG_SIZEOF_WORD, word);
            return -1;
        }
        type |= bit;
    }
}

// sizeof( type words [*] ): the size of the type from the size table.
int evaluation::read_sizeof() {
    if (skip_blanks() != '(') {
        unget_char();
        alert_report(MSG_SIZEOF_MALFORMED);
        return TOK_STOP;
    }
    unsigned type = 0;
    int c = read_sizeof_words(type);
    if (c < 0) return TOK_STOP;
    if (c == '*') {
        type |= T_POINTER;
        c = skip_blanks();
    }
    if (c != ')') {
        unget_char();
        alert_report(MSG_SIZEOF_MALFORMED);
        return TOK_STOP;
    }
    return finish_sizeof(type);
}

// Checks the word combination and looks the type up in the size table.
int evaluation::finish_sizeof(unsigned type) {
    for (unsigned group : exclusion_groups) {
        if (!more_than_one_bit(type & group)) continue;
        if ((type & (T_SHORT | T_LONG)) == (T_SHORT | T_LONG)) {
            type = T_SHORT_LONG;
            break;
        }
        alert_report(MSG_SIZEOF_CONFLICT);
        return TOK_STOP;
    }
    if (type & T_FUNCTION_POINTER) {
        type = T_FUNCTION_POINTER | T_POINTER;
    } else {
        type &= ~(T_SIGNED | T_UNSIGNED);
        if (type & (T_SHORT | T_LONG)) type &= ~T_INT;
    }
    unsigned base = type & ~T_POINTER;
    if (base == 0) {
        alert_report(MSG_SIZEOF_NO_BASE);
        return TOK_STOP;
    }
    for (const sizeof_entry& row : expr.sizes) {
        if (row.type_bits != base) continue;
        scanned = {(type & T_POINTER) ? row.pointer_size : row.size, false};
        return TOK_VALUE;
    }
    alert_report(MSG_SIZEOF_UNKNOWN_TYPE, static_cast<int>(base));
    return TOK_STOP;
}

// Division and remainder of ISO C, signed when both operands are (towards
// zero); the divisor is nonzero.
std::uint64_t iso_divide(int tok, value left, value right) {
    std::uint64_t a = left.bits;
    std::uint64_t b = right.bits;
    if (!left.is_signed || !right.is_signed) return tok == TOK_DIV ? a / b : a % b;
    auto x = static_cast<std::int64_t>(a);
    auto y = static_cast<std::int64_t>(b);
    if (y == -1) return tok == TOK_DIV ? 0 - a : 0;  // INTMAX_MIN / -1 wraps
    return static_cast<std::uint64_t>(tok == TOK_DIV ? x / y : x % y);
}

// The shifts of ISO C: a negative count shifts the other way, a count of 64
// or more leaves 0, or -1 for a negative signed value shifted right, which
// otherwise fills with its sign.
std::uint64_t iso_shift(int tok, value left, value right) {
    std::uint64_t count = right.bits;
    bool to_left = tok == TOK_SHL;
    if (right.is_signed && static_cast<std::int64_t>(count) < 0) {
        count = 0 - count;
        to_left = !to_left;
    }
    bool negative = left.is_signed && static_cast<std::int64_t>(left.bits) < 0;
    if (count >= 64) return !to_left && negative ? ~std::uint64_t{0} : 0;
    if (to_left) return left.bits << count;
    return negative ? ~(~left.bits >> count) : left.bits >> count;
}

// <, <=, >= and >: signed when both operands are, else unsigned.
std::uint64_t compare(int tok, value left, value right) {
    std::int64_t x = 0;
    std::int64_t y = 0;
    if (left.is_signed && right.is_signed) {
        x = dialect.iso ? static_cast<std::int64_t>(left.bits) : std::int32_t(left.bits);
        y = dialect.iso ? static_cast<std::int64_t>(right.bits) : std::int32_t(right.bits);
    } else if (left.bits != right.bits) {
        (left.bits < right.bits ? y : x) = 1;  // unsigned: only the order counts
    }
    return tok == TOK_LT ? x < y : tok == TOK_LE ? x <= y : tok == TOK_GE ? x >= y : x > y;
}

// Whether a binary operator's result is signed. In the toolchain's dialect
// only when both operands are; ISO C gives a comparison or a logical
// operator an int, a shift the type of its left operand.
bool signed_result(int tok, value left, value right) {
    bool both_signed = left.is_signed && right.is_signed;
    if (!dialect.iso) return both_signed;
    if (tok == TOK_SHL || tok == TOK_SHR) return left.is_signed;
    return (tok >= TOK_OROR && tok <= TOK_ANDAND) || (tok >= TOK_EQ && tok <= TOK_GT) ||
           both_signed;
}

void evaluation::apply_binary(const op_entry& op) {
    value right = pop_value();
    value left = pop_value();
    std::uint64_t a = left.bits;
    std::uint64_t b = right.bits;
    std::uint64_t r = 0;
    switch (op.tok) {
        case TOK_ADD:
            r = a + b;
            break;
        case TOK_SUB:
            r = a - b;
            break;
        case TOK_MUL:
            r = a * b;
            break;
        case TOK_DIV:
        case TOK_MOD:
            if (b != 0) {
                r = dialect.iso         ? iso_divide(op.tok, left, right)
                    : op.tok == TOK_DIV ? a / b
                                        : a % b;
            } else if (op.flags == 0) {
                if (op.tok == TOK_DIV) alert_report(MSG_DIVIDE_BY_ZERO);
                alert_report(MSG_ZERO_DIVISOR);
            }
            break;
        case TOK_SHL:
        case TOK_SHR:
            if (dialect.iso)
                r = iso_shift(op.tok, left, right);
            else  // the count modulo 32; zero fill, signed or not
                r = op.tok == TOK_SHL ? a << (b & 31) : a >> (b & 31);
            break;
        case TOK_AND:
            r = a & b;
            break;
        case TOK_OR:
            r = a | b;
            break;
        case TOK_XOR:
            r = a ^ b;
            break;
        case TOK_EQ:
            r = a == b;
            break;
        case TOK_NE:
            r = a != b;
            break;
        case TOK_LT:
        case TOK_LE:
        case TOK_GE:
        case TOK_GT:
            r = compare(op.tok, left, right);
            break;
        case TOK_ANDAND:
            r = a != 0 && b != 0;
            break;
        case TOK_OROR:
            r = a != 0 || b != 0;
            break;
        default:
            break;
    }
    push_value({wrap(r), signed_result(op.tok, left, right)});
}

void evaluation::apply_prefix(int tok) {
    value v = pop_value();
    if (tok == TOK_NEG) v.bits = wrap(0 - v.bits);
    if (tok == TOK_COMPL) v.bits = wrap(~v.bits);
    if (tok == TOK_NOT) {
        v.bits = v.bits == 0;
        if (dialect.iso) v.is_signed = true;
    }
    push_value(v);
}

// ISO C gives the result the type of the two branches together, whichever
// is taken.
void evaluation::apply_conditional() {
    value third = pop_value();
    value second = pop_value();
    value condition = pop_value();
    bool both_signed = second.is_signed && third.is_signed;
    if (condition.bits != 0)
        push_value({second.bits, both_signed});
    else
        push_value({third.bits, dialect.iso ? both_signed : third.is_signed});
}

// Pops and applies the top operator; false after a report (a ':' without
// its '?').
bool evaluation::reduce_one() {
    op_entry top = ops[op_top--];
    if (top.tok == TOK_COLON) {
        if (ops[op_top].tok != TOK_QUESTION) {
            alert_report(MSG_EXPR_COLON, token_table[ops[op_top].tok].name);
            return false;
        }
        --op_top;
        apply_conditional();
    } else if (is_prefix(top.tok)) {
        apply_prefix(top.tok);
    } else {
        apply_binary(top);
    }
    return true;
}

// Pushes an operator with the suppression flags that its operands inherit.
bool evaluation::push_operator(int tok) {
    if (op_top == OPERATOR_STACK_SIZE - 1) {
        alert_report(MSG_EXPR_OPERATOR_STACK, token_table[tok].name);
        return false;
    }
    const op_entry& below = ops[op_top];
    bool top_zero = value_count > 0 && values[value_count - 1].bits == 0;
    std::uint8_t flags = below.flags;
    std::int8_t binding = token_table[tok].binding;
    if ((tok == TOK_ANDAND && top_zero) || (tok == TOK_OROR && !top_zero && value_count > 0)) {
        flags = IN_SHORT_CIRCUIT;
    } else if (tok == TOK_QUESTION) {
        // ISO C silences both branches of a conditional in an unselected
        // branch; the toolchain's dialect keeps only a decided && or ||.
        std::uint8_t outer = below.flags & IN_SHORT_CIRCUIT;
        if (dialect.iso && (below.flags & (IN_SKIPPED_BRANCH | IN_SKIPPED_OUTER)) != 0)
            outer |= IN_SKIPPED_OUTER;
        flags = outer | (top_zero ? IN_SKIPPED_BRANCH : 0);
        binding = PUSHED_QUESTION;
    } else if (tok == TOK_COLON) {
        flags = (below.flags & (IN_SHORT_CIRCUIT | IN_SKIPPED_OUTER)) |
                ((below.flags & IN_SKIPPED_BRANCH) ? 0 : IN_SKIPPED_BRANCH);
    } else if (tok == TOK_LPAREN) {
        binding = PUSHED_LPAREN;
    }
    ops[++op_top] = {static_cast<std::uint8_t>(tok), binding, flags};
    return true;
}

bool evaluation::push_operand() {
    if (operator_expected) {
        alert_report(MSG_EXPR_VALUE_UNEXPECTED);
        return false;
    }
    if (value_count == VALUE_STACK_SIZE) {
        alert_report(MSG_EXPR_VALUE_STACK);
        return false;
    }
    push_value(scanned);
    operator_expected = true;
    return true;
}

// Reduces the stack for an arriving operator as far as its binding allows.
evaluation::reduced evaluation::reduce_for(int tok) {
    int binding = token_table[tok].binding;
    // ISO C's conditional groups from the right: a '?' leaves the ':' before
    // it in place, so it nests in that ':''s operand.
    if (tok == TOK_QUESTION && dialect.iso) ++binding;
    while (ops[op_top].binding >= binding) {
        switch (ops[op_top].tok) {
            case TOK_QUESTION:
                // Only ')' and the end reach a '?'; they are dropped, and a
                // '?' still without ':' fails the position check at the end.
                return reduced::consumed;
            case TOK_LPAREN:
                if (tok == TOK_END) {
                    alert_report(MSG_EXPR_OPEN_PAREN, token_table[tok].name);
                    return reduced::failed;
                }
                --op_top;
                return reduced::consumed;
            case TOK_NONE:
                // A ')' without its '(' is dropped.
                return tok == TOK_END ? reduced::finished : reduced::consumed;
            default:
                if (!reduce_one()) return reduced::failed;
                break;
        }
    }
    return reduced::push;
}

std::uint64_t evaluation::run() {
    for (;;) {
        int tok = read_token();
        if (tok == TOK_STOP) return 1;
        if (tok == TOK_VALUE) {
            if (!push_operand()) return 1;
            continue;
        }
        int binding = token_table[tok].binding;
        if (((binding & 1) != 0) != operator_expected) {
            alert_report(MSG_EXPR_POSITION, token_table[tok].name);
            return 1;
        }
        operator_expected = (binding & 2) != 0;
        // Prefix operators group from the right: nothing is reduced for them.
        reduced r = is_prefix(tok) ? reduced::push : reduce_for(tok);
        if (r == reduced::finished) return values[value_count - 1].bits;
        if (r == reduced::failed) return 1;
        if (r == reduced::push && !push_operator(tok)) return 1;
    }
}

}  // namespace

// Evaluates the expression that stands on the rest of the line. After a
// report the value is 1 and the rest of the line is left unread.
std::uint64_t evaluate_condition() {
    evaluation e;
    return e.run();
}
