// The command-line options. parse_options walks the arguments once, left to
// right; every option takes effect at once (a macro installed or removed, a
// driver or alert setting changed), so later options override earlier ones
// and -D/-U see the predefined macros. File arguments are moved to the front
// of the vector.
#include "cpp/options.h"

#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <vector>

#include "common/alert.h"
#include "common/alloc.h"
#include "common/osdep.h"
#include "common/wstr.h"
#include "cpp/dialect.h"
#include "cpp/driver.h"
#include "cpp/expr.h"
#include "cpp/include.h"
#include "cpp/macro_table.h"
#include "cpp/messages.h"
#include "cpp/reader.h"
#include "cpp/scanner.h"
#include "cpp/version.h"

option_state options;

namespace {

// Longest -D/-U name kept; longer names are cut.
constexpr int MAX_MACRO_NAME = 255;
constexpr int MIN_IDENT_LEN = 31;
constexpr int MIN_ISO_IDENT_LEN = 63;

// The line buffer of a -E<file> stream. It outlives every stream that uses it:
// a new -E file closes the previous one before taking the buffer over.
char err_line_buffer[512];

// The C library's atoi without its overflow: leading blanks, a sign, digits;
// saturates instead of wrapping.
int read_decimal(const char* s) {
    while (*s == ' ' || *s == '\t') ++s;
    bool negative = false;
    if (*s == '-' || *s == '+') negative = (*s++ == '-');
    std::int64_t value = 0;
    while (*s >= '0' && *s <= '9') {
        value = value * 10 + (*s++ - '0');
        if (value > INT32_MAX) value = std::int64_t{INT32_MAX} + 1;
    }
    if (negative) value = -value;
    if (value > INT32_MAX) value = INT32_MAX;
    return static_cast<int>(value);
}

bool is_digit(char c) {
    return c >= '0' && c <= '9';
}

char upper(char c) {
    return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c;
}

// True when `s` starts with `keyword`, letters compared without case.
bool has_prefix_nocase(const char* s, const char* keyword) {
    for (; *keyword != '\0'; ++s, ++keyword)
        if (upper(*s) != upper(*keyword)) return false;
    return true;
}

bool equals_nocase(const char* s, const char* keyword) {
    return has_prefix_nocase(s, keyword) && s[std::strlen(keyword)] == '\0';
}

// Widens at most MAX_MACRO_NAME characters of `name` (up to `end`, or its
// terminator) into `out`.
void widen_name(wchar (&out)[MAX_MACRO_NAME + 1], const char* name, const char* end) {
    int n = 0;
    for (const char* p = name; p != end && *p != '\0' && n < MAX_MACRO_NAME; ++p)
        out[n++] = static_cast<unsigned char>(*p);
    out[n] = 0;
}

// -D: the text after the first '=' (or "1") becomes the body of an
// object-like macro, stored as given.
void define_option(const char* value) {
    const char* eq = std::strchr(value, '=');
    const char* text = eq != nullptr ? eq + 1 : "1";
    wchar name[MAX_MACRO_NAME + 1];
    widen_name(name, value, eq);
    macro_def* m = macro_install(name, 0);
    std::vector<wchar> body(std::strlen(text) + 1);
    wstr_from_narrow(body.data(), text);
    m->body = macro_text_dup(body.data());
    m->nparams = -1;
}

void undefine_option(const char* value) {
    wchar name[MAX_MACRO_NAME + 1];
    widen_name(name, value, nullptr);
    if (macro_install(name, 1) == nullptr) alert_report(MSG_UNDEF_UNKNOWN, value);
}

void include_dir_option(const char* value) {
    if (options.include_count >= MAX_INCLUDE_DIRS) {
        alert_report(MSG_TOO_MANY_INCLUDE_DIRS);
        return;  // the table is full: the directory is dropped
    }
    options.include_dirs[options.include_count++] = value;
}

// -L, -L<file>, -LM-<file>. The file (the last one named) is created by
// the driver once the input is open; one that cannot be created is an
// error there.
void dependency_option(const char* value) {
    if (*value == '\0') {
        driver.no_output = 1;
        return;
    }
    driver.no_output = 0;
    if (value[0] == 'M' && value[1] == '-') {
        driver.dep_make_rule = 1;
        value += 2;
    }
    driver.dep_file_name = value;
}

void identifier_length_option(const char* value) {
    if (is_digit(*value))
        scanner.max_ident_len = read_decimal(value);
    else
        ++options.suppress_predefined;
}

// -E<digit> picks the message layout; -E<file> appends the diagnostics to
// that file, line-buffered. The input file is never taken for it (181); a
// file that cannot be opened is an error, and the diagnostics stay where
// they were.
void error_stream_option(const char* value) {
    if (*value == '\0') return;
    if (is_digit(value[0]) && value[1] == '\0') {
        alert_set_format_mode(value[0] - '0');
        return;
    }
    std::FILE* previous = driver.err_file;
    if (previous != nullptr) {
        alert_set_stream(stderr);
        driver.err_file = nullptr;
        std::fclose(previous);
    }
    refuse_input_as_output(value, options.input_file);
    std::FILE* f = std::fopen(value, "a");
    if (f == nullptr) {
        errno = open_failure_reason(value, errno);
        alert_report(MSG_OPEN_DIAGNOSTICS, value);
        return;
    }
    std::setvbuf(f, err_line_buffer, _IOLBF, sizeof err_line_buffer);
    driver.err_file = f;
    driver.err_file_name = value;
    alert_set_stream(f);
}

void warning_option(const char* value) {
    if (is_digit(*value) || *value == '-') options.warning_level = read_decimal(value);
    if (std::strchr(value, '!') != nullptr) alert_set_warnings_fail(1);
    alert_set_warning_level(options.warning_level);
}

// -S / -SP / -S*: fills one column of the sizeof table from a list of
// numbers. Lists one number short of a full column leave `short long` alone.
void sizes_option(const char* arg) {
    const char* list = arg + 2;
    bool pointers = *list == 'P' || *list == '*';
    if (pointers) ++list;
    int rows = pointers ? SIZE_ROWS : SIZE_FUNCTION_POINTER;
    int commas = 0;
    for (const char* p = list; *p != '\0'; ++p) commas += *p == ',';
    bool skip_short_long = commas < rows - 1;

    int row = 0;
    const char* p = list;
    for (;;) {
        if (row == SIZE_SHORT_LONG && skip_short_long) ++row;
        if (row == rows) break;
        while (*p != '\0' && !is_digit(*p)) ++p;
        if (*p == '\0') {
            alert_report(MSG_SIZES_SHORT, arg);
            return;
        }
        std::uint32_t n = 0;
        while (is_digit(*p)) n = n * 10 + static_cast<std::uint32_t>(*p++ - '0');
        sizeof_entry& e = expr.sizes[row++];
        (pointers ? e.pointer_size : e.size) = static_cast<std::uint16_t>(n);
    }
    if (*p != '\0') alert_report(MSG_SIZES_LEFT_OVER, p);
}

// One line per option, as the README's table has them.
constexpr const char* USAGE =
    "Usage: cpp [options] [input [output]]\n"
    "Preprocesses one C source file: input (standard input when absent or \"-\")\n"
    "to output (standard output when absent or \"-\"). Option letters may be\n"
    "written in either case, and so may the keywords after \"--\".\n"
    "\n"
    "  -Dname[=text]        define an object-like macro (text 1 without =)\n"
    "  -Uname               remove a macro, predefined ones included\n"
    "  -Idir                append a directory to the include search\n"
    "  -C                   keep comments in the output\n"
    "  -Fname               show the main input under this name\n"
    "  -L                   write only the list of included files\n"
    "  -Lfile               also write the list of included files to file\n"
    "  -LM-file             write that list as a make rule for the .p1 pass\n"
    "  --dep-target=name    a target of the make rule instead of file and .p1\n"
    "  --dep-phony          add an empty make rule for every header\n"
    "  -Ncount              significant characters of identifiers (31 to 255)\n"
    "  --msgformat=gcc      messages as editors read them: file:line:column: error:\n"
    "  -Edigit              message layout: 0 fixed, 1-9 the ZQT_*_FORMAT templates\n"
    "  -Efile               append the diagnostics to file\n"
    "  -W[level][!]         show warnings of this level or above; ! fails the run\n"
    "  -Slist               sizeof: char,short,int,[short long,]long,float,double\n"
    "  -SPlist, -S*list     pointer sizes for sizeof, and function pointers last\n"
    "  --edf=file           take the message texts from this catalogue file\n"
    "  --udf=file           write an HTML report: file, toc_file and main_file\n"
    "  --std=c99            ISO C99 preprocessing (also c11, c17): see the manual\n"
    "  --emax=count         stop after this many errors (default 10)\n"
    "  --disl=list          hide messages: n,n:off (errors too); 0 all warnings\n"
    "  --msgdisable=list    the same as --disl=\n"
    "  --ver, --version     print the version banner\n"
    "  --help               print this summary\n"
    "\n"
    "Without any argument the arguments (not the source) are read from standard\n"
    "input; cpp @file reads them from file. To filter source: cpp - < in.c\n"
    "With SOURCE_DATE_EPOCH set (seconds since 1970-01-01 00:00:00 UTC), __DATE__\n"
    "and __TIME__ show that moment in UTC instead of the clock.\n";

// --msgformat=gcc: one line per message in the layout of gcc, which editors
// read; --msgformat=fixed: the fixed layout again (as -E0). Any other value
// is an unknown option.
void message_layout_option(const char* arg, const char* value) {
    if (equals_nocase(value, "gcc")) {
        alert_set_editor_layout();
    } else if (equals_nocase(value, "fixed")) {
        alert_set_format_mode(0);
    } else {
        options.unknown_option = true;
        alert_report(MSG_UNKNOWN_OPTION, arg);
    }
}

// The options written with two dashes that end the run at once.
[[noreturn]] void print_and_exit(bool help) {
    std::FILE* out = driver.out != nullptr ? driver.out : stdout;
    if (help)
        std::fputs(USAGE, out);
    else
        print_version_banner(out);
    exit_program(0);
}

// The options written with two dashes.
void long_option(const char* arg) {
    const char* key = arg + 2;
    if (has_prefix_nocase(key, "edf=")) {
        if (alert_open_catalogue(key + 4) == 0) {
            const char* reason = std::strerror(open_failure_reason(key + 4, errno));
            alert_print("Could not open error description file %s: %s\n", key + 4, reason);
        }
    } else if (has_prefix_nocase(key, "udf=")) {
        options.report_file = key + 4;
    } else if (has_prefix_nocase(key, "disl=")) {
        alert_disable_messages(key + 5);
    } else if (has_prefix_nocase(key, "msgdisable=")) {
        alert_disable_messages(key + 11);
    } else if (has_prefix_nocase(key, "emax=")) {
        driver.error_limit = read_decimal(key + 5);
        alert_set_error_limit(static_cast<unsigned>(driver.error_limit));
    } else if (has_prefix_nocase(key, "msgformat=")) {
        message_layout_option(arg, key + 10);
    } else if (has_prefix_nocase(key, "std=")) {
        // Applied before the predefined macros were installed; a value
        // named no dialect is an unknown option.
        if (!dialect_select(key + 4)) {
            options.unknown_option = true;
            alert_report(MSG_UNKNOWN_OPTION, arg);
        }
    } else if (has_prefix_nocase(key, "dep-target=") && key[11] != '\0') {
        driver.dep_targets.push_back(key + 11);
    } else if (equals_nocase(key, "dep-phony")) {
        driver.dep_phony = true;
    } else if (equals_nocase(key, "ver") || equals_nocase(key, "version")) {
        print_and_exit(false);
    } else if (equals_nocase(key, "help")) {
        print_and_exit(true);
    } else {
        options.unknown_option = true;
        alert_report(MSG_UNKNOWN_OPTION, arg);
    }
}

// One argument that begins with '-' and is not "-" itself.
void apply_option(const char* arg) {
    const char* value = arg + 2;
    switch (upper(arg[1])) {
        case 'C':
            driver.keep_comments = 1;
            reader.echo_comments = 1;
            break;
        case 'D':
            define_option(value);
            break;
        case 'U':
            undefine_option(value);
            break;
        case 'I':
            include_dir_option(value);
            break;
        case 'F':
            if (*value != '\0') driver.main_file_name = value;
            break;
        case 'L':
            dependency_option(value);
            break;
        case 'N':
            identifier_length_option(value);
            break;
        case 'E':
            error_stream_option(value);
            break;
        case 'W':
            warning_option(value);
            break;
        case 'S':
            sizes_option(arg);
            break;
        case '-':
            long_option(arg);
            break;
        default:
            options.unknown_option = true;
            alert_report(MSG_UNKNOWN_OPTION, arg);
            break;
    }
}

}  // namespace

int parse_options(int argc, char** argv) {
    // The report lists the arguments as received, before any is moved.
    options.received.assign(argv, argv + argc);
    options.received.push_back(nullptr);
    // The input file, known before the options are applied: -E<file> must
    // not append to it.
    for (int i = 1; i < argc && options.input_file == nullptr; ++i) {
        const char* arg = argv[i];
        if (arg[0] != '-') options.input_file = arg;
        if (arg[0] == '-' && arg[1] == '\0') break;  // standard input
    }
    int kept = 1;
    for (int i = 1; i < argc; ++i) {
        char* arg = argv[i];
        if (arg[0] != '-' || arg[1] == '\0')
            argv[kept++] = arg;
        else
            apply_option(arg);
    }
    // ISO C makes 63 characters significant at least.
    const int least = dialect.iso ? MIN_ISO_IDENT_LEN : MIN_IDENT_LEN;
    if (scanner.max_ident_len < least) scanner.max_ident_len = least;
    if (scanner.max_ident_len > MAX_IDENT_LIMIT) scanner.max_ident_len = MAX_IDENT_LIMIT;
    if (kept >= 4) alert_report(MSG_TOO_MANY_FILES);
    return kept;
}

void options_reset() {
    options = {};
}
