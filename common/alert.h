// Numbered diagnostics: catalogue look-up, filtering by state and warning
// level, the fixed layout with source line and caret or the three output
// templates, counting, the error limit and fatal messages.
#pragma once

#include <cstdarg>
#include <cstdio>

#include "wstr.h"

enum alert_kind : unsigned {
    ALERT_UNKNOWN = 0,
    ALERT_FATAL = 1,
    ALERT_MESSAGE = 2,
    ALERT_ERROR = 3,
    ALERT_WARNING = 4,
};

struct alert_entry {
    unsigned kind;
    unsigned number;
    const char* text;
    int level;
};

int alert_report(unsigned number, ...);
int alert_vreport(unsigned number, va_list ap);
int alert_report_text(unsigned number, const char* kind, const char* fmt, ...);
void alert_report_unnumbered(const char* kind, const char* fmt, ...);
void alert_print(const char* fmt, ...) __attribute__((format(printf, 1, 2)));

void alert_set_formats(const char* error_fmt, const char* warning_fmt, const char* message_fmt);
unsigned alert_set_error_limit(unsigned limit);
int alert_set_warning_level(int level);
void alert_set_warnings_fail(int flag);
// 0 the fixed layout, any other digit the three templates.
void alert_set_format_mode(int mode);
// One line per message, "file:line:column: error: (N) text" (warning:,
// note: for messages), "cpp: error: (N) text" without a place: the layout
// editors and their problem matchers read. A later format mode replaces it.
void alert_set_editor_layout();
void alert_set_position(const wchar* file, const int* line, wchar* const* line_start,
                        wchar* const* position);
void alert_set_position_hook(void (*hook)());
int alert_failed();
// Counts the reports asked for since the reset, shown, suppressed or not.
unsigned alert_reports_asked();
void alert_disable_messages(const char* list);
int alert_open_catalogue(const char* path);
int alert_locate_catalogue();
const char* alert_language_code(unsigned language);

// Shows the offending source line once per line read, then appends the caret
// line to the line being assembled.
void show_source_line(const wchar* line, const wchar* file);
// The input layer calls this whenever it reads a new line from a file.
void alert_line_read();

// The stream diagnostics go to (standard error unless -E names a file).
void alert_set_stream(std::FILE* stream);
std::FILE* alert_stream();
// The system error code of the first write to the diagnostics stream that
// failed since the stream was set, read right after that write; 0 when
// none failed.
int alert_write_error();
// The routine that ends the run; it must not return.
void alert_set_exit_hook(void (*exit_fn)(int status));
// Names the arguments each report passes, one letter per argument ("s" a
// narrow string, "d" an int; "" none), or null when unknown. With it
// installed, a catalogue text whose conversions ask for anything else is
// shown as plain text instead of reading arguments that are not there.
void alert_set_argument_signatures(const char* (*signature)(unsigned number));
// Resets every setting, counter, catalogue and position to the start-up
// state; the stream returns to standard error. The exit hook and the
// argument signatures belong to the process and are kept.
void alert_reset();
