// Every diagnostic number the preprocessor reports, named once. Kinds, levels
// and texts live in the message catalogues (dat/*_msgs.txt).
#pragma once

enum msg : unsigned {
    MSG_COND_OPEN_AT_END = 100,  // line of the outermost open conditional
    MSG_AFTER_ELSE = 101,        // directive name
    MSG_NO_CONDITIONAL = 102,    // directive name
    MSG_ERROR_DIRECTIVE = 103,   // rest of the line
    MSG_ASSERT_FAILED = 104,
    MSG_ENDASM_OUTSIDE = 105,
    MSG_ASM_NESTED = 106,
    MSG_UNKNOWN_DIRECTIVE = 107,  // directive name
    MSG_NO_CONDITION = 108,
    MSG_BAD_INCLUDE_NAME = 109,
    MSG_TOO_MANY_FILES = 110,
    MSG_REDEFINED = 111,  // macro name
    MSG_BAD_DEFINE = 112,
    MSG_UNCLOSED_LITERAL = 113,
    MSG_UNDEF_NO_NAME = 114,
    MSG_RECURSION = 115,    // macro name, outermost macro name
    MSG_EOF_IN_ARGS = 116,  // line of the call's '('
    MSG_EXPR_VALUE_UNEXPECTED = 117,
    MSG_EXPR_VALUE_STACK = 118,
    MSG_EXPR_DOT = 119,
    MSG_EXPR_POSITION = 120,        // token name
    MSG_EXPR_OPERATOR_STACK = 121,  // token name
    MSG_EXPR_OPEN_PAREN = 122,      // token name
    MSG_EXPR_COLON = 123,           // name of the entry below
    MSG_EXPR_ILLEGAL_CHAR = 124,    // character (int)
    MSG_EXPR_ILLEGAL_CODE = 125,    // character code (int)
    MSG_EXPR_STRING = 126,
    MSG_EXPR_DEFINED = 127,
    MSG_EXPR_ASSIGN = 128,
    MSG_EXPR_BACKSLASH = 129,
    MSG_SIZEOF_WORD = 130,  // word
    MSG_SIZEOF_CONFLICT = 131,
    MSG_SIZEOF_NO_BASE = 132,
    MSG_SIZEOF_UNKNOWN_TYPE = 133,  // type bits (int)
    MSG_SIZEOF_MALFORMED = 134,
    MSG_PASTE_PRINTABLE = 137,     // character (int)
    MSG_PASTE_NONPRINTABLE = 138,  // character (int)
    MSG_EOF_IN_COMMENT = 139,
    MSG_CANNOT_OPEN = 141,  // kind ("command", "input", "output", "include"), name
    MSG_COND_TOO_DEEP = 144,
    MSG_INCLUDE_PATH_LONG = 146,
    MSG_TOO_MANY_INCLUDE_DIRS = 147,
    MSG_TOO_MANY_PARAMS = 148,
    MSG_PARAM_POOL_FULL = 149,
    MSG_BAD_PARAM_COUNT = 150,  // macro name
    MSG_TOO_MANY_ARGS = 151,
    MSG_BAD_PARAM_REF = 152,       // parameter index (int)
    MSG_EXPANSION_TOO_LONG = 153,  // macro name
    MSG_PASTE_TOO_LONG = 155,      // left operand
    MSG_SAVE_BUFFER_FULL = 156,    // buffer text
    MSG_ACTIVE_BELOW_ZERO = 158,   // macro name
    MSG_PUSHBACK_UNDERFLOW = 159,
    MSG_DIRECTIVE_IN_MACRO = 161,  // directive name
    MSG_WARNING_DIRECTIVE = 162,   // rest of the line
    MSG_EXTRA_TEXT = 163,
    MSG_LOWER_CASE_INCLUDE = 164,   // candidate path
    MSG_INCLUDE_CASE = 165,         // candidate path
    MSG_SIZES_SHORT = 166,          // whole argument
    MSG_SIZES_LEFT_OVER = 167,      // rest of the list
    MSG_UNKNOWN_OPTION = 168,       // whole argument
    MSG_PASTE_RIGHT_OPERAND = 169,  // character (int)
    MSG_ARG_COUNT = 171,            // macro name, supplied, parameters
    MSG_STRINGISE_NO_PARAM = 172,
    MSG_MULTI_CHAR_CONSTANT = 174,  // character (int)
    MSG_DIVIDE_BY_ZERO = 175,
    MSG_UNDEF_UNKNOWN = 177,  // name
    MSG_COMMENT_IN_COMMENT = 179,
    MSG_COMMENT_CROSSES_SOURCE = 180,
    // Users' files: none is overwritten by mistake, no failed write is silent.
    // The write failures carry the system's reason through "%m": errno is set
    // to the error of the failed write just before the report.
    MSG_OUTPUT_IS_INPUT = 181,  // file that would be written, input file
    MSG_WRITE_OUTPUT = 182,     // output file
    MSG_WRITE_STDOUT = 183,
    MSG_WRITE_DEPENDENCIES = 184,       // dependency file
    MSG_WRITE_DIAGNOSTICS = 185,        // diagnostics file (-E<file>)
    MSG_WRITE_REPORT = 186,             // report page (--udf=)
    MSG_NUL_READ_AS_SPACE = 187,        // once per file
    MSG_UTF16_INPUT = 188,              // file name
    MSG_OUTPUT_AFTER_BAD_OPTION = 189,  // output file
    MSG_BAD_SOURCE_DATE_EPOCH = 190,    // the variable's value
    // ISO C (--std=c99).
    MSG_VA_ARGS_MISPLACED = 195,  // __VA_ARGS__ outside a variadic macro's text
    MSG_DUPLICATE_PARAM = 196,    // parameter name
    MSG_PASTE_AT_END = 197,       // "##" at either end of a replacement text
    MSG_INVALID_PASTE = 198,      // left operand, right operand
    // Files that could not be opened at all; the system's reason through "%m".
    MSG_CREATE_DEPENDENCIES = 200,  // dependency file
    MSG_OPEN_DIAGNOSTICS = 201,     // diagnostics file (-E<file>)
    MSG_NUMBER_OUT_OF_RANGE = 191,  // the number as written
    MSG_INCLUDE_TOO_DEEP = 192,     // include name, files open
    MSG_PRAGMA_OPERAND = 193,           // _Pragma without ( "literal" )
    MSG_COMMAND_LINE_LONG = 337,
    MSG_WORD_TOO_LONG = 917,  // the number 0
    MSG_ZERO_DIVISOR = 990,
};

// The arguments the report of a number passes, one letter each ("s" a narrow
// string, "d" an int, "" none); null for a number the preprocessor never
// reports. Installed in the alert system so that a catalogue text asking for
// other arguments is shown unformatted.
const char* message_signature(unsigned number);
