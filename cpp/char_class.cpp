// The class of every unit a file may hold.
#include "cpp/char_class.h"

namespace {

using class_table_t = std::array<signed char, 256>;

constexpr void set_class(class_table_t& t, const char* members, int code) {
    for (; *members != 0; ++members)
        t[static_cast<unsigned char>(*members)] = static_cast<signed char>(code);
}

constexpr class_table_t make_class_table() {
    class_table_t t{};
    t[0] = CC_END;
    set_class(t, "0123456789", CC_DIGIT);
    set_class(t, "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz_$\x1D", CC_IDENT);
    set_class(t, "+", CC_PLUS);
    set_class(t, "-", CC_MINUS);
    set_class(t, "*", CC_STAR);
    set_class(t, "/", CC_SLASH);
    set_class(t, "%", CC_PERCENT);
    set_class(t, "&", CC_AMPERSAND);
    set_class(t, "|", CC_BAR);
    set_class(t, "^", CC_CARET);
    set_class(t, "=", CC_EQUALS);
    set_class(t, "<", CC_LESS);
    set_class(t, ">", CC_GREATER);
    set_class(t, "?", CC_QUESTION);
    set_class(t, ":", CC_COLON);
    set_class(t, "!~", CC_UNARY);
    set_class(t, "(", CC_LPAREN);
    set_class(t, ")", CC_RPAREN);
    set_class(t, "\"'", CC_QUOTE);
    set_class(t, ".", CC_DOT);
    set_class(t, "\t\x1F ", CC_BLANK);
    set_class(t, "\\", CC_BACKSLASH);
    return t;
}

}  // namespace

const std::array<signed char, 256> char_class_table = make_class_table();

bool is_paste_class(int cls) {
    return (cls >= 1 && cls <= 12) || cls == 15 || (cls >= 18 && cls <= 20) ||
           (cls >= 24 && cls <= 27);
}
