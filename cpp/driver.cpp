// The program run: resetting every subsystem, start-up in its fixed order,
// the main loop that copies text lines and hands directive lines to the
// directive processor, line synchronisation, the dependency list, and
// exit_program, the one way a run ends.
#include "cpp/driver.h"

#include <cerrno>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "common/alert.h"
#include "common/alloc.h"
#include "common/getargs.h"
#include "common/hash.h"
#include "common/html.h"
#include "common/osdep.h"
#include "common/platform_stdio.h"
#include "common/registry.h"
#include "common/state_reset.h"
#include "common/whole_file.h"
#include "cpp/argument_replay.h"
#include "cpp/dialect.h"
#include "cpp/directives.h"
#include "cpp/expand.h"
#include "cpp/expr.h"
#include "cpp/include.h"
#include "cpp/iso_tokens.h"
#include "cpp/macro_table.h"
#include "cpp/messages.h"
#include "cpp/options.h"
#include "cpp/plain_copy.h"
#include "cpp/predefined.h"
#include "cpp/reader.h"
#include "cpp/report.h"
#include "cpp/scanner.h"

driver_state driver;

namespace {

// Thrown by exit_program; only run() catches it.
struct run_end {
    int status;
};

// With kept, where an argument's output may be kept (the toolchain's token
// loop), the byte goes to the tap too; ISO C and the other writers pay
// nothing for it.
template <bool kept = false>
inline void put_out(int c) {
    if (driver.out == nullptr) return;
    putc_unlocked(c, driver.out);
    if (kept && driver.tap != nullptr) driver.tap->push_back(static_cast<char>(c));
}

bool is_marker(unsigned c) {
    return c >= MARK_NO_EXPAND && c <= MARK_END;
}

int compare_names(hash_word a, hash_word b) {
    return std::strcmp(reinterpret_cast<const char*>(a), reinterpret_cast<const char*>(b));
}

// A name of a make rule as make reads it back: '/' for every backslash, a
// backslash before every blank and '#', and '$' doubled.
void write_rule_name(std::FILE* f, const char* name) {
    for (const char* p = name; *p != 0; ++p) {
        switch (*p) {
            case '\\':
                std::putc('/', f);
                break;
            case ' ':
            case '#':
                std::putc('\\', f);
                std::putc(*p, f);
                break;
            case '$':
                std::fputs("$$", f);
                break;
            default:
                std::putc(*p, f);
                break;
        }
    }
}

// A make-rule element: a space, then the name.
void write_rule_element(std::FILE* f, const char* name) {
    std::putc(' ', f);
    write_rule_name(f, name);
}

// The head "dep.d dep.p1: main.c" of the make rule, or "target...: main.c"
// with the targets of --dep-target=; false when, without those, either name
// has no extension to cut off.
bool write_rule_head(std::FILE* f) {
    const char* main_name = driver.main_file_name != nullptr ? driver.main_file_name : "";
    if (driver.dep_targets.empty()) {
        std::string dep_name = driver.dep_file_name;
        std::size_t dep_dot = dep_name.rfind('.');
        if (std::strrchr(main_name, '.') == nullptr || dep_dot == std::string::npos) return false;
        write_rule_name(f, dep_name.c_str());
        write_rule_element(f, (dep_name.substr(0, dep_dot) + ".p1").c_str());
    } else {
        for (std::size_t i = 0; i < driver.dep_targets.size(); ++i) {
            if (i != 0) std::putc(' ', f);
            write_rule_name(f, driver.dep_targets[i]);
        }
    }
    std::putc(':', f);
    // Standard input has no name to depend on.
    if (*main_name != 0) write_rule_element(f, main_name);
    return true;
}

// The system's reason for a write to f that failed, noted once: a stream
// that failed keeps its error flag, but errno is only right just after the
// failed call (a later flush finds nothing left to write).
void note_write_error(std::FILE* f, int& noted) {
    if (noted == 0 && ferror_unlocked(f)) noted = errno != 0 ? errno : EIO;
}

void write_dependency_entry(std::FILE* f, const char* name) {
    if (driver.dep_make_rule && driver.dep_file_name != nullptr && driver.dep_rule_started == 0) {
        if (write_rule_head(f)) {
            write_rule_element(f, name);
            ++driver.dep_rule_started;
            return;
        }
        driver.dep_make_rule = 0;
    }
    if (driver.dep_make_rule) {
        write_rule_element(f, name);
    } else {
        std::fprintf(f, "%s\n", name);
    }
}

int write_dependency(void*, hash_word key, hash_word) {
    write_dependency_entry(driver.dep_stream, reinterpret_cast<const char*>(key));
    note_write_error(driver.dep_stream, driver.dep_errno);
    return 0;
}

// --dep-phony: an empty rule of its own for a header, so that make, when
// the header has gone, takes it as made instead of stopping.
int write_phony_rule(void*, hash_word key, hash_word) {
    std::putc('\n', driver.dep_stream);
    write_rule_name(driver.dep_stream, reinterpret_cast<const char*>(key));
    std::fputs(":\n", driver.dep_stream);
    note_write_error(driver.dep_stream, driver.dep_errno);
    return 0;
}

// The list of included files: one name a line, or the make rule, which
// ends without a newline unless the phony rules follow it.
void write_dependency_list() {
    if (driver.dep_stream == nullptr || driver.included_files == nullptr) return;
    hash_walk(driver.included_files, nullptr, write_dependency);
    if (driver.dep_make_rule && driver.dep_rule_started != 0 && driver.dep_phony) {
        std::putc('\n', driver.dep_stream);
        hash_walk(driver.included_files, nullptr, write_phony_rule);
    }
}

// Flushes and, when owned, closes a stream: a file written whole then
// replaces its target, unless something failed. Returns 0 when everything
// written to it arrived; otherwise the system's reason: the one noted when
// a write first failed, else that of the flush, close or rename that failed.
int finish_stream(std::FILE* f, bool owned, int noted) {
    errno = 0;
    if (std::fflush(f) != 0 || std::ferror(f)) note_write_error(f, noted);
    if (owned) {
        int err = whole_file_close(f, noted == 0);
        if (noted == 0) noted = err;
    }
    return noted;
}

// A write that failed, to be told when the run ends.
struct write_failure {
    unsigned number;
    std::string name;
    int error;
};

// Reports a failed write; errno carries the reason to the message's "%m".
// The report may end the run itself (a catalogue that makes it fatal, the
// error limit): the other failures are still told.
void report_write_failure(const write_failure& w) {
    errno = w.error;
    try {
        alert_report(w.number, w.name.c_str());
    } catch (const run_end&) {
    }
}

// The message of a written file that could not take its target's place.
unsigned replacement_failure_number(const std::string& path) {
    if (driver.out_name != nullptr && path == driver.out_name) return MSG_WRITE_OUTPUT;
    if (driver.dep_file_name != nullptr && path == driver.dep_file_name)
        return MSG_WRITE_DEPENDENCIES;
    return MSG_WRITE_REPORT;
}

// Finishes the dependency list, the preprocessed text and the report, puts
// the files written whole in their targets' places, and notes every one of
// them that could not be written completely.
std::vector<write_failure> finish_written_files() {
    std::vector<write_failure> failed;
    std::FILE* dep = driver.dep_stream;
    if (dep != nullptr) {
        int noted =
            driver.dep_errno != 0 || dep != driver.out ? driver.dep_errno : driver.out_errno;
        // The output file that carries the list is closed here, once.
        bool close = driver.dep_stream_owned || (dep == driver.out && driver.out_owned);
        if (int err = finish_stream(dep, close, noted)) {
            bool file = driver.dep_stream_owned;
            failed.push_back({file ? MSG_WRITE_DEPENDENCIES : MSG_WRITE_STDOUT,
                              file ? driver.dep_file_name : "", err});
        }
    }
    // Standard output may carry the dependency list as well: it is finished once.
    if (driver.out != nullptr && driver.out != dep) {
        if (int err = finish_stream(driver.out, driver.out_owned, driver.out_errno)) {
            bool file = driver.out_owned;
            failed.push_back(
                {file ? MSG_WRITE_OUTPUT : MSG_WRITE_STDOUT, file ? driver.out_name : "", err});
        }
    }
    driver.dep_stream = driver.out = nullptr;
    driver.dep_stream_owned = driver.out_owned = false;
    html_abandon();  // a failed run leaves its report as it stands
    const char* page = nullptr;
    if (int err = html_write_error(&page)) failed.push_back({MSG_WRITE_REPORT, page, err});
    for (const whole_file_failure& w : whole_file_commit())
        failed.push_back({replacement_failure_number(w.path), w.path, w.error});
    return failed;
}

// Diagnostics sent to a file with -E<file> must not vanish either: when
// the file could not take them, the diagnostics go back to standard error,
// which is told why. True when that happened now.
bool diagnostics_file_failed() {
    std::FILE* f = driver.err_file;
    if (f == nullptr || driver.err_file_failed) return false;
    int err = alert_write_error();
    if (err == 0) err = finish_stream(f, false, 0);
    if (err == 0) return false;
    driver.err_file_failed = true;
    alert_set_stream(stderr);
    report_write_failure({MSG_WRITE_DIAGNOSTICS, driver.err_file_name, err});
    return true;
}

// Tells of every file the run could not write, on the diagnostics stream,
// and returns the exit status: 1 when anything was lost. The messages have
// no source position: they concern the files, not a line of the input.
int finish_writing(int status) {
    std::vector<write_failure> failed = finish_written_files();
    alert_set_position_hook(nullptr);
    alert_set_position(nullptr, nullptr, nullptr, nullptr);
    bool lost = diagnostics_file_failed();
    for (const write_failure& w : failed) report_write_failure(w);
    // The diagnostics file may fail on these very reports: they are then
    // told again on standard error.
    if (!failed.empty() && diagnostics_file_failed()) {
        lost = true;
        for (const write_failure& w : failed) report_write_failure(w);
    }
    return lost || !failed.empty() ? 1 : status;
}

void reset_all() {
    alert_reset();
    html_reset();
    whole_file_reset();
    getargs_reset();
    hash_reset();
    reader_reset();
    include_reset();
    renew_in_place(scanner);
    directives_reset();
    macros_reset();
    expand_reset();
    replay_reset();
    expr_reset();
    options_reset();
    dialect_reset();
    driver = {};
    driver.out = stdout;
    driver.in = stdin;
}

// The buffer of an output file named on the command line: 64 KiB, one
// system call each (the stream is closed when the run ends).
char output_file_buffer[1 << 16];

// Opens a file named on the command line for reading; a failure is
// reported as message 141 with the kind of file and the system's reason.
std::FILE* open_for_reading(const char* name, const char* kind, const char* mode) {
    std::FILE* f = std::fopen(name, mode);
    int error = f == nullptr ? errno : 0;
    // The C library opens a directory for reading; it is no file to read.
    if (f != nullptr && path_is_directory(name)) {
        std::fclose(f);
        f = nullptr;
    }
    if (f == nullptr) {
        errno = open_failure_reason(name, error);
        alert_report(MSG_CANNOT_OPEN, kind, name);
    }
    return f;
}

// Standard input replaced by a command file or the input file, or by an
// empty stream when that file cannot be opened and the run goes on; false
// in that case. A command file is read as text; an input file as the bytes
// it holds (the reader takes CR LF as a line end itself, and a Ctrl-Z byte
// is a character like any other).
bool take_standard_input(const char* name, const char* kind, const char* mode) {
    std::FILE* f = open_for_reading(name, kind, mode);
    bool opened = f != nullptr;
    if (f == nullptr) f = std::tmpfile();
    if (f == nullptr) exit_program(1);
    driver.in = f;
    driver.in_owned = true;
    return opened;
}

void collect_arguments(int& argc, char**& argv) {
    if (argc == 2 && argv[1][0] == '@') {
        take_standard_input(argv[1] + 1, "command", "r");
    } else if (argc != 1) {
        return;
    }
    getargs_set_input(driver.in);
    argv = read_arguments(nullptr, "cpp");
    argc = getargs_count;
}

// The output file named by the file arguments, or null for standard output.
const char* output_file(int files, char** argv) {
    return files == 3 && std::strcmp(argv[2], "-") != 0 ? argv[2] : nullptr;
}

// Opens the input named by the file arguments, before any file is created:
// returns its path, or null for standard input. An input that cannot be
// opened ends the run before an output file is touched.
const char* open_input(int files, char** argv) {
    if (files > 3) exit_program(1);
    if (files == 1 || std::strcmp(argv[1], "-") == 0) return nullptr;
    std::FILE* previous = driver.in_owned ? driver.in : nullptr;
    bool opened = take_standard_input(argv[1], "input", "rb");
    if (previous != nullptr) std::fclose(previous);
    if (!opened && output_file(files, argv) != nullptr) exit_program(1);
    return argv[1];
}

// A report about the files of the command line, made while the main input
// is already open: it has no source position all the same. errno, when the
// report carries the system's reason, is kept for it.
void report_for_file(unsigned number, const char* a, const char* b = nullptr) {
    int error = errno;
    alert_set_position_hook(nullptr);
    alert_set_position(nullptr, nullptr, nullptr, nullptr);
    errno = error;
    alert_report(number, a, b);
    alert_set_position_hook(capture_report_position);
}

// The same report, which ends the run.
[[noreturn]] void stop_for_file(unsigned number, const char* a, const char* b = nullptr) {
    report_for_file(number, a, b);
    exit_program(1);
}

}  // namespace

void refuse_input_as_output(const char* path, const char* input_path) {
    if (path == nullptr || input_path == nullptr || !path_same_file(path, input_path)) return;
    stop_for_file(MSG_OUTPUT_IS_INPUT, path, input_path);
}

namespace {

void open_output_file(const char* path) {
    std::FILE* f = whole_file_open(path);
    if (f == nullptr) {
        errno = open_failure_reason(path, errno);
        stop_for_file(MSG_CANNOT_OPEN, "output", path);
    }
    std::setvbuf(f, output_file_buffer, _IOFBF, sizeof output_file_buffer);
    driver.out = f;
    driver.out_owned = true;
    driver.out_name = path;
}

// The dependency file of -L<file>. One that cannot be created is an error
// (200) and the run goes on without it: the list is lost rather than
// appended to the preprocessed text.
void open_dependency_file(const char* path) {
    driver.dep_stream = whole_file_open(path);
    driver.dep_stream_owned = driver.dep_stream != nullptr;
    if (driver.dep_stream == nullptr) {
        errno = open_failure_reason(path, errno);
        report_for_file(MSG_CREATE_DEPENDENCIES, path);
    }
}

// The report of --udf=: the frame-set page, its contents and main pages,
// and the command line as received.
void open_report(const char* file) {
    driver.html_report = html_open(file, "CPP information for ", file, "udf_styles.css");
    // Without an open page there is nothing to turn into a frame set.
    if (driver.html_report == nullptr) return;
    html_begin_frames(3);
    html_anchor("CPP");
    html_command_line_section(options.received.data(),
                              static_cast<int>(options.received.size()) - 1, "CPP");
}

// Creates the files the run writes, once the input is open and known to be
// text: the output file, the dependency file and the report's pages. None
// may be the input file. An output file is not created after an unknown
// option, which may have shifted the file arguments ("cpp -o out.i in.c"
// would otherwise write over in.c).
void open_outputs(int files, char** argv, const char* input_path) {
    const char* output = output_file(files, argv);
    refuse_input_as_output(output, input_path);
    refuse_input_as_output(driver.dep_file_name, input_path);
    if (const char* report = options.report_file) {
        std::string page = report;
        refuse_input_as_output(report, input_path);
        refuse_input_as_output(("toc_" + page).c_str(), input_path);
        refuse_input_as_output(("main_" + page).c_str(), input_path);
    }
    if (output != nullptr && options.unknown_option)
        stop_for_file(MSG_OUTPUT_AFTER_BAD_OPTION, output);
    if (output != nullptr) open_output_file(output);
    if (driver.dep_file_name != nullptr) open_dependency_file(driver.dep_file_name);
    if (options.report_file != nullptr) open_report(options.report_file);
}

// Start-up. The input is opened, and its first block read (a UTF-16 file
// is refused there), before any file is created or truncated.
void start_up(int argc, char** argv) {
    alert_set_formats("%f: %l: (%n) %s (error)", "%f: %l: (%n) %s (warning)", "%f: %l: %s");
    alert_set_position_hook(capture_report_position);
    collect_arguments(argc, argv);
    dialect_scan_arguments(argc, argv);
    // The operator _Pragma is carried out by the token loop.
    if (dialect.iso) pass_lead_pair(u"_Pragma", 7);
    define_predefined_macros();
    int files = parse_options(argc, argv);
    const char* input_path = open_input(files, argv);
    const char* input_name = input_path != nullptr ? input_path : "";
    alert_set_error_limit(static_cast<unsigned>(driver.error_limit));
    driver.included_files = hash_create(237, include_name_hash, compare_names);
    if (driver.main_file_name == nullptr || *driver.main_file_name == 0) {
        driver.main_file_name = input_name;
    } else {
        input_name = driver.main_file_name;
    }
    // The source closes the file now, even when reading its first block
    // ends the run.
    bool owned = driver.in_owned;
    driver.in_owned = false;
    push_file_source(driver.in, input_name, owned);
    reader.main_source = reader.current_source;
    open_outputs(files, argv, input_path);
    // With -L alone only the list is written, to standard output, which
    // also takes it when the dependency file could not be created.
    if (driver.dep_stream == nullptr && driver.no_output) {
        driver.dep_stream = driver.out;
    }
    if (driver.html_report != nullptr) {
        html_anchor("symbol_table");
        html_heading(2, "CPP symbol table");
        report_macro_table();
    }
    line_sync();
}

}  // namespace

void hold_comment_char(int c) {
    if (!driver.no_output) driver.held_comment += static_cast<char>(c & 0xFF);
}

namespace {

// Writes the line comment met on this output line, just before its end.
void write_held_comment() {
    if (driver.held_comment.empty()) return;
    if (driver.out != nullptr) {
        fwrite_unlocked(driver.held_comment.data(), 1, driver.held_comment.size(), driver.out);
    }
    driver.held_comment.clear();
}

}  // namespace

namespace {

template <bool kept>
int emit_unit(int c) {
    if (driver.no_output || is_marker(static_cast<unsigned>(c))) return 0;
    driver.last_emitted = static_cast<wchar>(c & 0xFF);
    put_out<kept>(c & 0xFF);
    return 0;
}

}  // namespace

int emit_char(int c) {
    return emit_unit<false>(c);
}

void put_wide_string(const wchar* s, std::FILE* stream) {
    for (; *s != 0; ++s) {
        if (!is_marker(*s)) putc_unlocked(*s & 0xFF, stream);
    }
}

namespace {

// Writes "\n# " and the line number; a line-synchronisation line is written
// for every few lines of some inputs, where a formatted print costs more
// than the rest of the line.
void write_line_number(std::FILE* f, long long line) {
    char text[32];
    char* end = text + sizeof text;
    char* p = end;
    const bool negative = line < 0;
    // The magnitude is taken unsigned: the smallest number has no positive.
    unsigned long long n = negative ? 0ull - static_cast<unsigned long long>(line)
                                    : static_cast<unsigned long long>(line);
    do {
        *--p = static_cast<char>('0' + n % 10);
        n /= 10;
    } while (n != 0);
    if (negative) *--p = '-';
    *--p = ' ';
    *--p = '#';
    *--p = '\n';
    write_bytes_unlocked(f, p, static_cast<std::size_t>(end - p));
}

}  // namespace

int line_sync() {
    if (driver.no_output) return 0;
    std::FILE* f = driver.out;
    if (scanner.asm_mode) {
        std::fputs("\n#endasm", f);
        count_lines(-1);
    }
    write_line_number(f, shown_line_number());
    input_source* s = reader.current_source;
    if (s != nullptr && s->file != nullptr) {
        const wchar* name = s->display_name ? s->display_name.get() : s->name.get();
        if (!driver.last_sync_name || wstr_cmp(driver.last_sync_name.get(), name) != 0) {
            driver.last_sync_name.reset(wstr_dup(name));
            std::fputs(" \"", f);
            put_wide_string(name, f);
            putc_unlocked('"', f);
        }
    }
    if (scanner.asm_mode) {
        std::fputs("\n#asm", f);
        count_lines(1);
    }
    putc_unlocked('\n', f);
    reader.sync_needed = 0;
    return 0;
}

// Up to four skipped lines are reproduced as blank lines; more, or a
// pending resynchronisation within a file, become one line-synchronisation
// line.
int flush_newlines(int count) {
    input_source* s = reader.current_source;
    if (reader.sync_needed && s != nullptr && s->file != nullptr) {
        line_sync();
    } else if (count > 4) {
        line_sync();
    } else if (!driver.no_output) {
        for (int i = 0; i < count; ++i) put_out('\n');
    }
    reader.sync_needed = 0;
    return 0;
}

namespace {

// Inlined in both versions of the token loop; the toolchain's keeps what
// it writes while an argument's output is kept.
template <bool iso>
[[gnu::always_inline]] inline void write_token(int c) {
    constexpr auto emit = emit_unit<!iso>;
    switch (char_class(c)) {
        case CC_IDENT:
            if (driver.no_output) break;
            put_wide_string(scanner.name_buffer, driver.out);
            if (!iso && driver.tap != nullptr) {
                for (const wchar* p = scanner.name_buffer; *p != 0; ++p)
                    if (!is_marker(*p)) driver.tap->push_back(static_cast<char>(*p & 0xFF));
            }
            break;
        case CC_QUOTE:
            scan_literal(c, emit);
            break;
        case CC_DOT:
        case CC_DIGIT:
            scan_number(c, emit);
            break;
        default:
            emit(c);
            break;
    }
}

}  // namespace

// Output that can no longer be written ends the run at once: an expansion
// that keeps producing text (a macro bomb sent to a full disk) would
// otherwise run on for nothing. The run ends with status 1 and the reason on
// standard error.
void check_output() {
    if (driver.out != nullptr && ferror_unlocked(driver.out)) {
        driver.out_errno = errno;
        exit_program(1);
    }
}

namespace {

// ISO C: tokens that come out of different macro texts (or out of a macro
// text and the file) side by side must not run together into other tokens
// when the output is read again: "#define m -" and "m-" is two minus signs.
struct token_joint {
    unsigned seen = reader.boundaries;
    wchar last = 0;       // the last unit written
    bool number = false;  // which ended a preprocessing number

    // The units before the read position: the bulk copy may have written
    // the line up to there.
    void copied(const input_source* s) {
        if (s == nullptr || s->pos == s->text) return;
        last = s->pos[-1];
        number = pp_number_ends_at(s->text, s->pos);
        // They came from the source read now: no text was left after them.
        seen = reader.boundaries;
    }

    // Before the token c (an identifier's name is in the identifier buffer).
    void before(int c) {
        if (is_marker(static_cast<unsigned>(c))) return;
        wchar first = char_class(c) == CC_IDENT ? scanner.name_buffer[0] : static_cast<wchar>(c);
        if (reader.boundaries != seen && last != 0 && pp_tokens_merge(last, number, first) &&
            !driver.no_output)
            put_out(' ');
    }

    void after(int c) {
        if (is_marker(static_cast<unsigned>(c))) return;
        number = false;
        if (char_class(c) == CC_IDENT) {
            unsigned n = wstr_len(scanner.name_buffer);
            last = n != 0 ? scanner.name_buffer[n - 1] : 0;
        } else {
            last = driver.last_emitted;
            number = char_class(c) == CC_DIGIT || (c == '.' && last != '.');
        }
        seen = reader.boundaries;
    }
};

// What the bulk path copies, noting in `wrote` whether it wrote a token.
int copy_plain_tokens_noting(int blanks, bool& wrote) {
    const input_source* s = reader.current_source;
    if (s == nullptr) return blanks;
    const wchar* start = s->pos;
    int left = copy_plain_tokens(blanks);
    // With no token written, all it read were blanks, which it hands back.
    if (reader.current_source == s && left != blanks + static_cast<int>(s->pos - start))
        wrote = true;
    return left;
}

bool names_pragma_operator(const wchar* name) {
    return wstr_cmp_narrow(name, "_Pragma") == 0;
}

int keep_operand_char(int c) {
    driver.pragma_operand.push_back(static_cast<char16_t>(c));
    return 0;
}

// Reads what follows the name _Pragma, which must be a parenthesised string
// literal (macros before the parenthesis are expanded): true when it is,
// with the literal (quotes included) in driver.pragma_operand. Otherwise
// false, with what was read before the first unit that does not fit pushed
// back to be read again as text.
bool read_pragma_operand() {
    std::u16string read;
    driver.pragma_operand.clear();
    bool name_read = false;  // the unit that does not fit begins a name taken whole
    // The next character after blanks, which are kept as read; with expand,
    // after the expansions of the macros met too.
    auto after_blanks = [&read, &name_read](bool expand) {
        int c = next_char();
        for (;;) {
            if (c == MARK_END || char_class(c) == CC_BLANK) {
                if (c != MARK_END && (read.empty() || read.back() != u' ')) read.push_back(u' ');
                c = next_char();
            } else if (expand && char_class(c) == CC_IDENT) {
                c = expand_if_macro(c);
                // A name that stays is in the identifier buffer, read.
                name_read = char_class(c) == CC_IDENT;
                if (name_read) return c;
            } else {
                return c;
            }
        }
    };
    int c = after_blanks(true);
    if (c == '(') {
        read.push_back(u'(');
        c = after_blanks(false);
        // A wide literal's L goes with it.
        if (c == 'L') {
            if (next_char() == '"') {
                read.push_back(u'L');
                c = '"';
            } else {
                unget_char();
            }
        }
        if (c == '"') {
            const bool closed = scan_literal(c, keep_operand_char) != 0;
            read += driver.pragma_operand;
            // A literal cut by the line end leaves the line end unread.
            c = closed ? after_blanks(false) : -1;
            if (c == ')') return true;
        }
    }
    if (name_read) {
        read += scanner.name_buffer;
    } else if (c > 0) {
        unget_char();
    }
    if (!read.empty()) push_text_source(read.c_str());
    return false;
}

// Writes "#pragma" and the text of the literal in driver.pragma_operand,
// its quotes dropped and its escaped quotes and backslashes unescaped.
void write_pragma_line() {
    if (driver.no_output) return;
    std::fputs("#pragma ", driver.out);
    const std::u16string& t = driver.pragma_operand;
    for (std::size_t i = 1; i + 1 < t.size(); ++i) {
        if (t[i] == '\\' && (t[i + 1] == '"' || t[i + 1] == '\\') && i + 2 < t.size()) ++i;
        put_out(t[i] & 0xFF);
    }
}

// The operator _Pragma, whose name has been read: its literal becomes a
// #pragma line of its own. The output line is ended first when it holds
// text; when tokens follow on the line, they go on after a line
// synchronisation. Returns the line end when the line ended with it, else
// -1. Without its literal the name is written as it stands (193).
int pragma_operator(bool& holds_text) {
    if (!read_pragma_operand()) {
        alert_report(MSG_PRAGMA_OPERAND);
        if (!driver.no_output) std::fputs("_Pragma", driver.out);
        holds_text = true;
        return -1;
    }
    if (holds_text && !driver.no_output) put_out('\n');
    write_pragma_line();
    int c = skip_blanks();
    if (c == '\n' || c == 0) {
        // The line end ends the pragma line: the lines after it are one
        // line ahead when the line was broken for it.
        if (holds_text) reader.sync_needed = 1;
        return c;
    }
    unget_char();
    line_sync();
    holds_text = false;
    return -1;
}

// Whether the text line read is the text of a #pragma directive (which the
// bulk path may have left on its line).
bool in_pragma_directive() {
    if (driver.pragma_directive && reader.current_line != driver.pragma_directive_line)
        driver.pragma_directive = false;
    return driver.pragma_directive;
}

// An argument's output kept while its line is copied (see
// argument_replay.h) is dropped when the line ends before the keeping does.
struct keeping_dropper {
    keeping_dropper() = default;
    keeping_dropper(const keeping_dropper&) = delete;
    keeping_dropper& operator=(const keeping_dropper&) = delete;
    ~keeping_dropper() { replay_drop_keeping(); }
};

// Copies the tokens of one text line; returns the character that ended it,
// a newline or 0 at the end of all input. In ISO C (iso, which the
// toolchain's own dialect pays nothing for): `first`, when not negative, is
// the line's first character, already read; holds_text says whether the
// output line holds text already, which the operator _Pragma asks.
template <bool iso>
int copy_text_line(int blanks, bool holds_text, int first) {
    keeping_dropper dropper;
    token_joint joint;
    if constexpr (iso) joint.copied(reader.current_source);
    for (unsigned tokens = 0;; ++tokens) {
        if (tokens % 64 == 63) check_output();  // a line may expand without end
        int c = iso ? first : -1;
        if (c < 0) {
            if constexpr (iso) {
                const input_source* s = reader.current_source;
                const wchar* before = s != nullptr ? s->pos : nullptr;
                blanks = copy_plain_tokens_noting(blanks, holds_text);
                if (s != nullptr && s == reader.current_source && s->pos != before) joint.copied(s);
                c = next_char();
            } else {
                if (!replay_before_copy(blanks)) blanks = copy_plain_tokens(blanks);
                if (at_parameter_reference()) c = replay_at_reference(blanks);
                if (c == REPLAY_READ_ON) continue;
                if (c < 0) {
                    c = next_char();
                    replay_after_read(blanks);
                }
            }
        }
        if constexpr (iso) first = -1;
        for (; char_class(c) == CC_BLANK; c = next_char()) ++blanks;
        if (c == 0 || c == '\n') return c;
        if (blanks != 0) {
            if (!driver.no_output) {
                put_out<!iso>(' ');
            }
            joint.last = ' ';
            joint.number = false;
        }
        blanks = 0;
        // The end of a macro's text writes nothing and is no name (where
        // _Pragma looks, it counts as text of the line).
        if (c == MARK_END) {
            if constexpr (iso) holds_text = true;
            continue;
        }
        c = expand_if_macro(c);
        if constexpr (iso) {
            if (char_class(c) == CC_IDENT && names_pragma_operator(scanner.name_buffer) &&
                !in_pragma_directive()) {
                int end = pragma_operator(holds_text);
                if (end >= 0) return end;
                joint.last = 0;
                continue;
            }
        }
        if (!next_is_plain_unit() && is_paste_class(char_class(c)) && paste_tokens()) continue;
        if (c == 0 || c == '\n') return c;
        if constexpr (iso) joint.before(c);
        write_token<iso>(c);
        if constexpr (iso) {
            joint.after(c);
            holds_text = true;
        }
    }
}

int copy_text_line(int blanks, bool holds_text, int first = -1) {
    return dialect.iso ? copy_text_line<true>(blanks, holds_text, first)
                       : copy_text_line<false>(blanks, holds_text, first);
}

void end_text_line(int c) {
    if (c != '\n') return;
    write_held_comment();
    if (!driver.no_output) put_out('\n');
    check_output();
    input_source* s = reader.current_source;
    if (s != nullptr && s->file == nullptr) reader.sync_needed = 1;
}

// Finishes the run with the status: writes the dependency list and closes
// the output (once); returns the status, made 1 when the output failed.
int finish_run(int status);

// The normal end of the main file: the run's status.
int end_of_input(int newlines) {
    write_held_comment();
    if (newlines != 0 && !driver.no_output) put_out('\n');
    if (conditional.cond_top != conditional.cond_stack.data()) {
        alert_report(MSG_COND_OPEN_AT_END, static_cast<int>(conditional.cond_stack[1].line));
    }
    if (alert_failed()) return finish_run(1);
    reader.finished_main.reset();
    reader.main_source = nullptr;
    if (driver.html_report != nullptr) {
        html_table_end();
        html_close();
        driver.html_report = nullptr;
    }
    return finish_run(0);
}

// After a '%': true when a ':' follows (the two are read), else false with
// the next character given back.
bool colon_follows() {
    if (next_char() == ':') return true;
    unget_char();
    return false;
}

// The rest of a #pragma line among a call's arguments goes out as it
// stands, on the line the directive began: it is none of the arguments.
void copy_pragma_rest() {
    driver.pragma_directive = false;
    int c = skip_blanks();
    for (; c != '\n' && c != 0; c = next_char()) emit_char(c);
    emit_char('\n');
    unget_char();
}

// ISO C: the lines a macro call's arguments run on into are read as the
// main loop reads lines: a directive there takes effect (a #define, an
// #ifdef around some arguments), a line of a skipped group is passed over,
// and the arguments go on with the first live text.
void read_argument_lines() {
    for (;;) {
        int c = skip_blanks();
        if (c == '#' || (c == '%' && dialect.iso && colon_follows())) {
            bool echo = reader.echo_comments;
            reader.echo_comments = 0;
            control(0);
            reader.echo_comments = echo && driver.keep_comments && conditional.cond_active;
            if (driver.pragma_directive) copy_pragma_rest();
        } else if (c == '\n') {
        } else if (c != 0 && !conditional.cond_active) {
            skip_line();
        } else {
            unget_char();
            return;
        }
        reader.sync_needed = 1;
    }
}

// -C: a unit of a comment the reader copies.
void copy_comment_char(int c, bool block) {
    if (block) {
        emit_char(c);
    } else {
        hold_comment_char(c);
    }
}

// --udf=: every macro defined or expanded is a row of the report.
void report_row(const macro_def* m) {
    if (driver.html_report != nullptr) report_macro_row(m);
}

// What the lower layers hand up to the driver and to expansion.
void connect_layers() {
    reader.argument_line_hook = read_argument_lines;
    reader.parameter_hook = push_argument;
    reader.comment_hook = copy_comment_char;
    // Without a report no expansion pays for a call.
    macros.report_row = driver.html_report != nullptr ? report_row : nullptr;
}

// Copies the input to its end; returns the run's status.
int main_loop() {
    connect_layers();
    int newlines = 0;
    int indent = 0;
    for (;;) {
        if (indent == 0) {
            plain_lines r = copy_plain_lines(newlines);
            newlines = r.newlines;
            check_output();
            if (r.mid_line) {
                end_text_line(copy_text_line(r.blanks, r.wrote));
                newlines = 0;
                continue;
            }
        }
        int c = next_char();
        // ISO C: "%:" begins a directive as '#' does; a lone '%' is text,
        // with what followed it given back.
        const bool percent = c == '%' && dialect.iso;
        if (char_class(c) == CC_BLANK) {
            if (scanner.asm_mode) ++indent;
        } else if (c == '\n') {
            // A line comment alone on its line: its line end is owed.
            write_held_comment();
            ++newlines;
        } else if (c == '#' || (percent && colon_follows())) {
            reader.echo_comments = 0;
            newlines = control(newlines);
            reader.echo_comments = driver.keep_comments && conditional.cond_active;
        } else if (c == 0) {
            return end_of_input(newlines);
        } else if (!conditional.cond_active) {
            if (dialect.iso && char_class(c) == CC_QUOTE) skip_literal(c);
            skip_line();
            ++newlines;
        } else {
            flush_newlines(newlines);
            if (!percent) unget_char();
            if (!driver.no_output) {
                for (int i = 0; i < indent; ++i) put_out(' ');
            }
            end_text_line(copy_text_line(0, false, percent ? c : -1));
            newlines = indent = 0;
        }
    }
}

}  // namespace

// A message raised while macro or argument text is being read takes its
// position from the nearest file below it. One raised right after a line end
// was read belongs to the line that ended: nothing of the next one has been
// read yet, and the buffer still holds the line shown.
void capture_report_position() {
    input_source* s = reader.current_source;
    const int* line = &reader.current_line;
    while (s != nullptr && s->file == nullptr) {
        s = s->parent.get();
        if (s != nullptr) line = &s->saved_line;
    }
    if (s == nullptr) {
        alert_set_position(nullptr, nullptr, nullptr, nullptr);
        return;
    }
    bool after_line_end = s->pos != s->buffer.get() && s->pos[-1] == '\n';
    driver.report_line =
        static_cast<int>(static_cast<unsigned>(*line) - (after_line_end ? 1u : 0u));
    driver.report_line_start = s->buffer.get();
    alert_set_position(s->name.get(), &driver.report_line, &driver.report_line_start, &s->pos);
}

namespace {

// Gives back what a run holds past its end, so that repeated runs in one
// process neither leak nor keep files open. (The argument words read from a
// command file belong to the argument reader.)
void release_run() {
    reader_reset();
    macros_reset();
    if (driver.included_files != nullptr) hash_destroy(driver.included_files);
    driver.included_files = nullptr;
    if (driver.err_file != nullptr) {
        alert_set_stream(stderr);
        std::fclose(driver.err_file);
        driver.err_file = nullptr;
    }
    getargs_reset();
    whole_file_reset();
    interrupts_end();
}

int finish_run(int status) {
    if (!driver.exiting) {
        driver.exiting = true;
        write_held_comment();  // a run that stops mid-line keeps it too
        write_dependency_list();
        status = finish_writing(status);
        if (driver.in_owned && driver.in != nullptr) std::fclose(driver.in);
        driver.in = nullptr;
        driver.in_owned = false;
    }
    return status;
}

}  // namespace

void exit_program(int status) {
    throw run_end{finish_run(status)};
}

int run(int argc, char** argv) {
    reset_all();
    interrupts_begin();
    alert_set_exit_hook(exit_program);
    alloc_set_exit_hook(exit_program);
    alert_set_argument_signatures(message_signature);
    registry_set_program_path(argc > 0 ? argv[0] : nullptr);
    alert_set_stream(stderr);
    int status = 1;
    try {
        start_up(argc, argv);
        status = main_loop();
    } catch (const run_end& e) {
        status = e.status;
    }
    release_run();
    return status;
}
