// The command-line options. parse_options walks the arguments once, left to
// right; every option takes effect at once (a macro installed or removed, a
// driver or alert setting changed), so later options override earlier ones
// and -D/-U see the predefined macros. File arguments are moved to the front
// of the vector.
#include "cpp/options.h"

#include <cstdint>
#include <cstdio>
#include <cstring>
#include <vector>

#include "common/alert.h"
#include "common/alloc.h"
#include "common/html.h"
#include "common/wstr.h"
#include "cpp/driver.h"
#include "cpp/expr.h"
#include "cpp/include.h"
#include "cpp/macro_table.h"
#include "cpp/messages.h"
#include "cpp/reader.h"
#include "cpp/report.h"
#include "cpp/scanner.h"
#include "cpp/version.h"

option_state options;

namespace {

// Longest -D/-U name kept; longer names are cut.
constexpr int MAX_MACRO_NAME = 255;
constexpr int MIN_IDENT_LEN = 31;

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
    auto* body = static_cast<wchar*>(alloc_mem((std::strlen(text) + 1) * sizeof(wchar)));
    wstr_from_narrow(body, text);
    m->body.reset(body);
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

// -L, -L<file>, -LM-<file>. An unopenable file is silent: the driver then
// writes the list to standard output.
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
    if (driver.dep_stream != nullptr && driver.dep_stream_owned) std::fclose(driver.dep_stream);
    driver.dep_file_name = value;
    driver.dep_stream = std::fopen(value, "w");
    driver.dep_stream_owned = driver.dep_stream != nullptr;
}

void identifier_length_option(const char* value) {
    if (is_digit(*value))
        scanner.max_ident_len = read_decimal(value);
    else
        ++options.suppress_predefined;
}

// -E<digit> picks the message layout; -E<file> appends the diagnostics to
// that file, line-buffered. When the file cannot be opened they stay where
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
    std::FILE* f = std::fopen(value, "a");
    if (f == nullptr) return;
    std::setvbuf(f, err_line_buffer, _IOLBF, sizeof err_line_buffer);
    driver.err_file = f;
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

void open_html_report(const char* file) {
    driver.html_report = html_open(file, "CPP information for ", file, "udf_styles.css");
    // Without an open page there is nothing to turn into a frame set.
    if (driver.html_report != nullptr) html_begin_frames(3);
}

// The options written with two dashes.
void long_option(const char* arg) {
    const char* key = arg + 2;
    if (has_prefix_nocase(key, "edf=")) {
        if (alert_open_catalogue(key + 4) == 0)
            alert_print("Could not open error description file %s\n", key + 4);
    } else if (has_prefix_nocase(key, "udf=")) {
        open_html_report(key + 4);
    } else if (has_prefix_nocase(key, "disl=")) {
        alert_disable_messages(key + 5);
    } else if (has_prefix_nocase(key, "msgdisable=")) {
        alert_disable_messages(key + 11);
    } else if (has_prefix_nocase(key, "emax=")) {
        driver.error_limit = read_decimal(key + 5);
        alert_set_error_limit(static_cast<unsigned>(driver.error_limit));
    } else if (equals_nocase(key, "ver")) {
        print_version_banner(driver.out != nullptr ? driver.out : stdout);
        exit_program(0);
    } else {
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
            alert_report(MSG_UNKNOWN_OPTION, arg);
            break;
    }
}

}  // namespace

int parse_options(int argc, char** argv) {
    // The report lists the arguments as received, before any is moved.
    std::vector<char*> received(argv, argv + argc);
    int kept = 1;
    for (int i = 1; i < argc; ++i) {
        char* arg = argv[i];
        if (arg[0] != '-' || arg[1] == '\0')
            argv[kept++] = arg;
        else
            apply_option(arg);
    }
    if (scanner.max_ident_len < MIN_IDENT_LEN) scanner.max_ident_len = MIN_IDENT_LEN;
    if (scanner.max_ident_len > MAX_IDENT_LIMIT) scanner.max_ident_len = MAX_IDENT_LIMIT;
    if (driver.html_report != nullptr) {
        received.push_back(nullptr);
        html_anchor("CPP");
        html_command_line_section(received.data(), argc, "CPP");
    }
    if (kept >= 4) alert_report(MSG_TOO_MANY_FILES);
    return kept;
}

void options_reset() {
    options = {};
}
