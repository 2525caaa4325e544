// The alert system: turns a numbered diagnostic into a line on the alert
// stream. It looks the number up in the catalogues, filters by message state
// and warning level, lays the line out (fixed layout with the source line and
// a caret, or one of the three templates), counts errors and warnings, and
// ends the run on a fatal message or when the error limit is passed.
#include "alert.h"

#include <strings.h>

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <climits>
#include <cstdlib>
#include <cstring>
#include <map>
#include <string>
#include <string_view>

#include "alert_catalogue.h"

namespace {

constexpr unsigned LINE_CAPACITY = 2047;  // characters of one output line
constexpr unsigned TEXT_CAPACITY = 511;   // characters of the message text

const char* const NO_DESCRIPTION =
    "An error, warning or message was generated, but no description is available";

// Template and class of a message, in the order error, warning, message.
enum message_class : unsigned { CLASS_ERROR = 0, CLASS_WARNING = 1, CLASS_MESSAGE = 2 };

const char* const DEFAULT_TEMPLATES[3] = {"%f: %l: (%n) %s (error)", "%f: %l: (%n) %s (warning)",
                                          "%f: %l: %s"};
const char* const TEMPLATE_VARIABLES[3] = {"ZQT_ERR_FORMAT", "ZQT_WARN_FORMAT", "ZQT_MSG_FORMAT"};

enum message_state : unsigned char { STATE_DISABLED = 1, STATE_OFF = 4 };  // 0 is normal

struct alert_state {
    unsigned error_count = 0;
    unsigned warning_count = 0;
    unsigned reports_asked = 0;  // every report asked for, shown or not
    unsigned error_limit = 0;
    int warning_threshold = 0;
    int warnings_fail = 0;
    int format_mode = 0;  // 0 fixed, 1 the templates, 2 the editor layout
    std::string templates[3] = {DEFAULT_TEMPLATES[0], DEFAULT_TEMPLATES[1], DEFAULT_TEMPLATES[2]};
    // Where the report stands; each reference is read when the line is built.
    const wchar* file = nullptr;
    const int* line = nullptr;
    wchar* const* line_start = nullptr;
    wchar* const* position = nullptr;
    void (*position_hook)() = nullptr;
    int saved_errno = 0;
    int init_state = 0;  // 0 untouched, 1 no catalogue found yet, 2 catalogue loaded
    bool defaults_set = false;
    bool searching = false;
    bool exit_pending = false;
    std::map<unsigned, unsigned char> states;  // numbers never named are normal
    char out[LINE_CAPACITY + 2] = {};          // the line, room for its newline
    unsigned out_len = 0;
    char text[TEXT_CAPACITY + 1] = {};
    char expanded[TEXT_CAPACITY + 1] = {};
    std::u16string last_shown_file;
    bool line_shown = false;
    std::string narrow;
    std::string signature;        // arguments the expanded text takes
    std::FILE* stream = nullptr;  // standard error while unset
    int write_error = 0;          // first failed write to the stream
};
alert_state alert;

// The driver's exit routine. It belongs to the process, not to a run, so a
// reset keeps it.
void (*exit_hook)(int status) = nullptr;
// The arguments each report passes; constant for the process like the hook.
const char* (*argument_signatures)(unsigned number) = nullptr;

std::FILE* out_stream() {
    return alert.stream ? alert.stream : stderr;
}

[[noreturn]] void end_run(int status) {
    if (exit_hook) exit_hook(status);
    std::exit(status);  // only reached when no driver is installed
}

// Narrows a wide string to its low 8 bits, in the one buffer kept for it.
const char* narrow(const wchar* s) {
    alert.narrow.clear();
    if (s)
        for (; *s; ++s) alert.narrow.push_back(static_cast<char>(*s & 0xFF));
    return alert.narrow.c_str();
}

const char* system_error_text(int code) {
    return code ? std::strerror(code) : "";
}

// ---- The output line: appends stop at its capacity. ----

void line_put(char c) {
    if (alert.out_len < LINE_CAPACITY) alert.out[alert.out_len++] = c;
}

void line_puts(const char* s) {
    while (*s && alert.out_len < LINE_CAPACITY) alert.out[alert.out_len++] = *s++;
}

__attribute__((format(printf, 1, 0))) void line_vprintf(const char* fmt, va_list ap) {
    unsigned room = LINE_CAPACITY + 1 - alert.out_len;
    int n = std::vsnprintf(alert.out + alert.out_len, room, fmt, ap);
    if (n > 0) alert.out_len = std::min(alert.out_len + static_cast<unsigned>(n), LINE_CAPACITY);
}

__attribute__((format(printf, 1, 2))) void line_printf(const char* fmt, ...) {
    va_list ap;
    va_start(ap, fmt);
    line_vprintf(fmt, ap);
    va_end(ap);
}

// Notes why the diagnostics stream failed, while errno still tells.
void note_write_error(std::FILE* f) {
    if (alert.write_error == 0 && std::ferror(f)) alert.write_error = errno != 0 ? errno : EIO;
}

// Writes the line with its newline; a full line gives up its last character
// for the newline.
void line_write() {
    if (alert.out_len == LINE_CAPACITY) --alert.out_len;
    alert.out[alert.out_len++] = '\n';
    std::FILE* f = out_stream();
    std::fwrite(alert.out, 1, alert.out_len, f);
    std::fflush(f);
    note_write_error(f);
    alert.out_len = 0;
}

// ---- Formatting ----

struct conversion {
    unsigned length = 0;  // '%' included; 0 when the text ends inside it
    bool usable = false;  // takes only arguments a report can pass
    char arguments[3] = {};
};

// Reads the printf conversion at s: flags, width, precision, length and the
// conversion letter. Integers ("d") and strings ("s") are what reports pass.
conversion scan_conversion(const char* s) {
    conversion c;
    unsigned count = 0;
    const char* p = s + 1;
    p += std::strspn(p, "-+ #0");
    if (*p == '*') c.arguments[count++] = 'd', ++p;
    while (std::isdigit(static_cast<unsigned char>(*p))) ++p;
    if (*p == '.') {
        ++p;
        if (*p == '*') c.arguments[count++] = 'd', ++p;
        while (std::isdigit(static_cast<unsigned char>(*p))) ++p;
    }
    p += std::strspn(p, "hlLjzt");
    if (!*p) return c;
    c.length = static_cast<unsigned>(p + 1 - s);
    if (std::strchr("diouxXc", *p))
        c.arguments[count++] = 'd';
    else if (*p == 's')
        c.arguments[count++] = 's';
    c.usable = *p == '%' || count > 0;
    return c;
}

// Appends the system error text to the template buffer; it is formatted
// again, so its own '%' are doubled.
unsigned insert_error_text(unsigned n) {
    for (const char* e = system_error_text(alert.saved_errno); *e; ++e) {
        unsigned need = *e == '%' ? 2 : 1;
        if (n + need > TEXT_CAPACITY) break;
        if (*e == '%') alert.expanded[n++] = '%';
        alert.expanded[n++] = *e;
    }
    return n;
}

// Copies an entry text into the template buffer with "%m" replaced by the
// system error text, and notes the arguments its conversions take. A
// conversion no report can feed ("%n", floating point, one cut by the end
// of the text), or every conversion when `literal` is set, is copied as
// plain text. Conversions are copied whole or not at all.
void expand_entry_text(const char* src, bool literal) {
    unsigned n = 0;
    alert.signature.clear();
    while (*src) {
        if (*src != '%') {
            if (n == TEXT_CAPACITY) break;
            alert.expanded[n++] = *src++;
            continue;
        }
        if (src[1] == 'm') {
            n = insert_error_text(n);
            src += 2;
            continue;
        }
        conversion c = scan_conversion(src);
        unsigned take = literal || !c.usable ? 1 : c.length;
        unsigned need = take == 1 ? 2 : take;
        if (n + need > TEXT_CAPACITY) break;
        if (take == 1) {
            alert.expanded[n++] = '%';  // "%%" prints the '%' itself
            alert.expanded[n++] = '%';
        } else {
            std::memcpy(alert.expanded + n, src, take);
            n += take;
            alert.signature += c.arguments;
        }
        src += take;
    }
    alert.expanded[n] = '\0';
}

// Fills the message text buffer: the "(N) " prefix of the fixed layout, then
// the entry text formatted with the report's arguments.
void format_text(unsigned number, message_class cls, const char* fmt, va_list ap,
                 bool check_arguments) {
    unsigned n = 0;
    bool numbered =
        alert.format_mode == 0 ? cls != CLASS_MESSAGE : alert.format_mode == 2 && number != 0;
    if (numbered)
        n = static_cast<unsigned>(std::snprintf(alert.text, sizeof alert.text, "(%u) ", number));
    expand_entry_text(fmt, false);
    // A catalogue text that asks for other arguments than the report passes
    // is shown as it stands rather than read past its arguments.
    if (check_arguments && argument_signatures) {
        const char* expected = argument_signatures(number);
        if (expected && alert.signature != expected) expand_entry_text(fmt, true);
    }
#if defined(__clang__)
#pragma clang diagnostic push
#pragma clang diagnostic ignored "-Wformat-nonliteral"
#endif
    std::vsnprintf(alert.text + n, TEXT_CAPACITY + 1 - n, alert.expanded, ap);
#if defined(__clang__)
#pragma clang diagnostic pop
#endif
}

// True when the read position lies inside the current line: after its start
// and not past its terminating zero.
bool position_on_line() {
    if (!alert.position || !*alert.position || !alert.line_start || !*alert.line_start)
        return false;
    const wchar* start = *alert.line_start;
    const wchar* pos = *alert.position;
    if (pos <= start) return false;
    for (const wchar* p = start; p < pos; ++p)
        if (*p == 0) return false;
    return true;
}

void append_column() {
    if (!alert.position || !*alert.position || !alert.line_start || !*alert.line_start) return;
    if (*alert.position < *alert.line_start) return;
    line_printf("%u", static_cast<unsigned>(*alert.position - *alert.line_start));
}

void expand_template(const std::string& t, unsigned number) {
    for (std::size_t i = 0; i < t.size(); ++i) {
        if (t[i] != '%') {
            line_put(t[i]);
            continue;
        }
        if (++i == t.size()) break;
        switch (t[i]) {
            case 'f':
                if (alert.file) line_puts(narrow(alert.file));
                break;
            case 'l':
                if (alert.line) line_printf("%u", static_cast<unsigned>(*alert.line));
                break;
            case 'c':
                append_column();
                break;
            case 'n':
                line_printf("%u", number);
                break;
            case 's':
                line_puts(alert.text);
                break;
            case 'a':
                line_puts("preprocessor");
                break;
            case 'm':
                line_puts(system_error_text(alert.saved_errno));
                break;
            default:
                line_put(t[i]);
                break;
        }
    }
}

void layout_fixed(message_class cls) {
    if (cls != CLASS_MESSAGE && position_on_line()) {
        show_source_line(*alert.line_start, alert.file);
    } else {
        if (alert.file) {
            line_puts(narrow(alert.file));
            line_puts(": ");
        }
        if (alert.line) line_printf("%u: ", static_cast<unsigned>(*alert.line));
        line_puts(alert.text);
    }
    if (cls == CLASS_WARNING) line_puts(" (warning)");
}

// Where the token that holds the unit just before `pos` starts, as an
// index into the line from `start` (for blanks or the line end, the token
// before them). The line is split into tokens from its start: identifiers
// and numbers, string and character literals (with their escapes), the
// <name> of an #include line, comments, runs of blanks, and single
// characters for the rest. A line that starts inside a comment of an
// earlier line is read as code.
std::size_t token_start(const wchar* start, const wchar* pos) {
    auto word = [](wchar c) {
        return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') ||
               c == '_' || c == '$' || c >= 0x80;
    };
    auto skip_blanks = [](const wchar* p) {
        while (*p == ' ' || *p == '\t') ++p;
        return p;
    };
    const wchar* directive = skip_blanks(start);
    bool include_line = false;
    if (*directive == '#') {
        directive = skip_blanks(directive + 1);
        static const char INCLUDE[] = "include";
        std::size_t n = 0;
        while (n < sizeof INCLUDE - 1 && directive[n] == static_cast<wchar>(INCLUDE[n])) ++n;
        include_line = n == sizeof INCLUDE - 1 && !word(directive[n]);
    }
    const wchar* last = pos - 1;
    const wchar* p = start;
    const wchar* previous = nullptr;  // the last token before that is no blank
    for (;;) {
        const wchar* begin = p;
        wchar c = *p++;
        bool blank = c == ' ' || c == '\t' || c == '\n';
        if (word(c) || (c == '.' && *p >= '0' && *p <= '9')) {
            // A number takes its dots and the sign after an exponent letter.
            bool number = (c >= '0' && c <= '9') || c == '.';
            for (; *p != 0; ++p) {
                if (word(*p) || (number && *p == '.')) continue;
                bool exponent = (p[-1] | 0x20) == 'e' || (p[-1] | 0x20) == 'p';
                if (number && exponent && (*p == '+' || *p == '-')) continue;
                break;
            }
        } else if (c == '"' || c == '\'') {
            for (; *p != 0 && *p != '\n' && *p != c; ++p)
                if (*p == '\\' && p[1] != 0) ++p;
            if (*p == c) ++p;
        } else if (c == '<' && include_line) {
            while (*p != 0 && *p != '\n' && *p != '>') ++p;
            if (*p == '>') ++p;
        } else if (c == '/' && *p == '*') {
            for (++p; *p != 0 && !(p[0] == '*' && p[1] == '/'); ++p) {
            }
            if (*p != 0) p += 2;
        } else if (c == '/' && *p == '/') {
            while (*p != 0 && *p != '\n') ++p;
        } else if (c == ' ' || c == '\t') {
            while (*p == ' ' || *p == '\t') ++p;
        }
        if (p > last || *p == 0) {
            // Blanks just read, or the line end, stand for the token before.
            if (blank && previous != nullptr) begin = previous;
            return static_cast<std::size_t>(begin - start);
        }
        if (!blank) previous = begin;
    }
}

// The editor layout: "file:line:column: error: (N) text", the column that
// of the start of the token last read, 1 for the first character. Without
// a read position on the line the column is left out ("file:line:"), and
// without a file the line starts with the program's name.
void layout_editor(message_class cls) {
    if (alert.file && *alert.file) {
        line_puts(narrow(alert.file));
        line_put(':');
        if (alert.line) {
            line_printf("%u:", static_cast<unsigned>(*alert.line));
            if (position_on_line())
                line_printf("%u:", static_cast<unsigned>(
                                       token_start(*alert.line_start, *alert.position) + 1));
        }
    } else {
        line_puts("cpp:");
    }
    static const char* const LABELS[3] = {" error: ", " warning: ", " note: "};
    line_puts(LABELS[cls]);
    line_puts(alert.text);
}

// Builds and writes one diagnostic line.
void emit(unsigned number, message_class cls, const char* fmt, va_list ap, bool check_arguments) {
    alert.out_len = 0;
    format_text(number, cls, fmt, ap, check_arguments);
    if (alert.format_mode == 2)
        layout_editor(cls);
    else if (alert.format_mode)
        expand_template(alert.templates[cls], number);
    else
        layout_fixed(cls);
    line_write();
}

message_class class_of_kind(unsigned kind) {
    if (kind == ALERT_FATAL || kind == ALERT_ERROR) return CLASS_ERROR;
    if (kind == ALERT_MESSAGE) return CLASS_MESSAGE;
    return CLASS_WARNING;
}

message_class class_of_letter(char c) {
    switch (c) {
        case 'F':
        case 'f':
        case 'E':
        case 'e':
            return CLASS_ERROR;
        case 'M':
        case 'm':
            return CLASS_MESSAGE;
        default:
            return CLASS_WARNING;
    }
}

// The level of an explicit kind string: its leading number, else 10.
int level_of_kind(const char* kind) {
    bool negative = kind[0] == '-';
    const char* p = kind + (negative ? 1 : 0);
    if (!std::isdigit(static_cast<unsigned char>(*p))) return 10;
    long long v = 0;
    for (; std::isdigit(static_cast<unsigned char>(*p)); ++p)
        v = std::min(v * 10 + (*p - '0'), 1LL << 32);
    v = negative ? -v : v;
    return static_cast<int>(std::clamp<long long>(v, INT_MIN, INT_MAX));
}

bool suppressed(unsigned number, const alert_entry& e) {
    auto it = alert.states.find(number);
    unsigned state = it == alert.states.end() ? 0u : it->second;
    if (state == STATE_OFF && e.kind != ALERT_FATAL) return true;
    if (state == STATE_DISABLED && (e.kind == ALERT_WARNING || e.kind == ALERT_MESSAGE))
        return true;
    return e.kind == ALERT_WARNING && e.level < alert.warning_threshold;
}

int report_text_v(unsigned number, const char* kind, const char* fmt, va_list ap) {
    ++alert.reports_asked;
    alert.saved_errno = errno;
    if (!kind) kind = "";
    if (level_of_kind(kind) < alert.warning_threshold) return 0;
    emit(number, class_of_letter(kind[0]), fmt ? fmt : "", ap, false);
    return 1;
}

// The work of a catalogue report, short of ending the run: a fatal message or
// the error limit leaves exit_pending set, so that variadic callers can close
// their argument list before the run unwinds.
int report_core(unsigned number, va_list ap) {
    ++alert.reports_asked;
    alert.saved_errno = errno;
    alert_ensure_init();
    alert_entry e{};
    if (!catalogue_find(number, &e)) e = alert_entry{ALERT_ERROR, number, NO_DESCRIPTION, 0};
    if (suppressed(number, e)) return 0;
    if (alert.position_hook) alert.position_hook();
    emit(number, class_of_kind(e.kind), e.text, ap, true);
    switch (e.kind) {
        case ALERT_ERROR:
            if (alert.error_count++ >= alert.error_limit) {
                alert_report_text(1, "M", "too many errors (%u)", alert.error_count);
                alert.exit_pending = true;
            }
            break;
        case ALERT_WARNING:
            ++alert.warning_count;
            break;
        case ALERT_FATAL:
            alert.exit_pending = true;
            break;
        default:
            break;
    }
    return 1;
}

void finish_report() {
    if (!alert.exit_pending) return;
    alert.exit_pending = false;
    end_run(1);
}

void disable_number(unsigned number) {
    alert.states[number] = STATE_DISABLED;
}

}  // namespace

void alert_ensure_init() {
    if (!alert.defaults_set) {
        alert.defaults_set = true;
        alert.error_limit = 20;
        for (unsigned i = 0; i < 3; ++i) alert.templates[i] = DEFAULT_TEMPLATES[i];
    }
    if (alert.init_state == 2 || alert.searching) return;
    alert.init_state = 1;
    alert.searching = true;
    bool found = alert_locate_catalogue() != 0;
    alert.searching = false;
    if (found) alert.init_state = 2;
}

void alert_note_catalogue_loaded() {
    alert.init_state = 2;
}

unsigned alert_reports_asked() {
    return alert.reports_asked;
}

int alert_report(unsigned number, ...) {
    va_list ap;
    va_start(ap, number);
    int shown = report_core(number, ap);
    va_end(ap);
    finish_report();
    return shown;
}

int alert_vreport(unsigned number, va_list ap) {
    int shown = report_core(number, ap);
    finish_report();
    return shown;
}

int alert_report_text(unsigned number, const char* kind, const char* fmt, ...) {
    va_list ap;
    va_start(ap, fmt);
    int shown = report_text_v(number, kind, fmt, ap);
    va_end(ap);
    return shown;
}

void alert_report_unnumbered(const char* kind, const char* fmt, ...) {
    va_list ap;
    va_start(ap, fmt);
    report_text_v(0, kind, fmt, ap);
    va_end(ap);
}

void alert_print(const char* fmt, ...) {
    alert.out_len = 0;
    va_list ap;
    va_start(ap, fmt);
    line_vprintf(fmt, ap);
    va_end(ap);
    line_write();
}

// Each template comes from its environment variable, else the argument, else
// the built-in default.
void alert_set_formats(const char* error_fmt, const char* warning_fmt, const char* message_fmt) {
    alert_ensure_init();
    const char* given[3] = {error_fmt, warning_fmt, message_fmt};
    for (unsigned i = 0; i < 3; ++i) {
        const char* env = std::getenv(TEMPLATE_VARIABLES[i]);
        alert.templates[i] = env ? env : given[i] ? given[i] : DEFAULT_TEMPLATES[i];
    }
}

unsigned alert_set_error_limit(unsigned limit) {
    alert_ensure_init();
    unsigned old = alert.error_limit;
    alert.error_limit = limit;
    return old;
}

int alert_set_warning_level(int level) {
    int old = alert.warning_threshold;
    alert.warning_threshold = level;
    return old;
}

void alert_set_warnings_fail(int flag) {
    alert.warnings_fail = flag;
}

void alert_set_format_mode(int mode) {
    alert.format_mode = mode != 0;
}

void alert_set_editor_layout() {
    alert.format_mode = 2;
}

void alert_set_position(const wchar* file, const int* line, wchar* const* line_start,
                        wchar* const* position) {
    alert.file = file;
    alert.line = line;
    alert.line_start = line_start;
    alert.position = position;
}

void alert_set_position_hook(void (*hook)()) {
    alert.position_hook = hook;
}

int alert_failed() {
    return alert.error_count != 0 || (alert.warnings_fail && alert.warning_count != 0);
}

// "0..." disables every catalogue warning; otherwise a comma-separated list
// of numbers, each optionally followed by ":off".
void alert_disable_messages(const char* list) {
    if (!list || !*list) return;
    if (list[0] == '0') {
        catalogue_each_warning(disable_number);
        return;
    }
    for (const char* p = list;;) {
        unsigned number = 0;
        for (; std::isdigit(static_cast<unsigned char>(*p)); ++p)
            number = number * 10 + static_cast<unsigned>(*p - '0');
        alert.states[number] = strncasecmp(p, ":off", 4) == 0 ? STATE_OFF : STATE_DISABLED;
        p = std::strchr(p, ',');
        if (!p) break;
        ++p;
    }
}

// Shows the current source line, unless it was shown since it was read, with
// the file name when that changed; then appends the caret line, which puts
// '^' under the character just before the read position.
void show_source_line(const wchar* line, const wchar* file) {
    if (!line) return;
    std::FILE* f = out_stream();
    if (!alert.line_shown) {
        std::u16string_view name = file ? file : u"";
        if (name != alert.last_shown_file) {
            std::fputs(narrow(file), f);
            std::fputs(":\n", f);
            alert.last_shown_file = name;
        }
        std::fprintf(f, "%6d:\t", alert.line ? *alert.line : 0);
        const wchar* p = line;
        for (; *p; ++p) std::fputc(*p & 0xFF, f);
        // A last line without its line end still gets one: the caret line
        // must start a line of its own.
        if (p == line || p[-1] != '\n') std::fputc('\n', f);
        note_write_error(f);
        alert.line_shown = true;
    }
    unsigned column = 0;
    const wchar* pos = alert.position ? *alert.position : nullptr;
    if (pos && pos > line)
        for (const wchar* p = line; p + 1 < pos && *p; ++p)
            column = *p == '\t' ? (column + 8) & ~7u : column + 1;
    int width = static_cast<int>(column);
    if (column <= std::strlen(alert.text))
        line_printf("\t%*c %s", width + 1, '^', alert.text);
    else
        line_printf("\t%*s ^", width - 1, alert.text);
}

void alert_line_read() {
    alert.line_shown = false;
}

void alert_set_stream(std::FILE* stream) {
    alert.stream = stream;
    alert.write_error = 0;
}

std::FILE* alert_stream() {
    return out_stream();
}

int alert_write_error() {
    return alert.write_error;
}

void alert_set_exit_hook(void (*exit_fn)(int status)) {
    exit_hook = exit_fn;
}

void alert_reset() {
    catalogue_reset();
    alert = alert_state{};
}

void alert_set_argument_signatures(const char* (*signature)(unsigned number)) {
    argument_signatures = signature;
}
