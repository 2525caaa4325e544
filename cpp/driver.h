// Program run: start-up, the main copy-and-expand loop, line
// synchronisation, the dependency list and the one exit routine.
#pragma once

#include <cstdio>
#include <string>
#include <vector>

#include "common/hash.h"
#include "common/wstr.h"

struct driver_state {
    int no_output = 0;
    int keep_comments = 0;
    wstr_ptr last_sync_name;  // absent until the first name is written
    hash_table* included_files = nullptr;
    std::FILE* dep_stream = nullptr;
    bool dep_stream_owned = false;
    int dep_errno = 0;  // why the dependency list could not be written
    const char* dep_file_name = nullptr;
    int dep_make_rule = 0;
    int dep_rule_started = 0;
    // --dep-target=: the rule's targets in place of the dependency file and
    // its .p1 name, in the order given.
    std::vector<const char*> dep_targets;
    bool dep_phony = false;  // --dep-phony: an empty rule for every header
    const char* main_file_name = nullptr;
    int error_limit = 10;
    std::FILE* html_report = nullptr;
    std::FILE* out = nullptr;  // preprocessed text (standard output or a file)
    bool out_owned = false;
    const char* out_name = nullptr;  // the output file, when there is one
    int out_errno = 0;               // why the output failed, when the run stopped for it
    std::FILE* err_file = nullptr;   // -E<file>: diagnostics appended there
    const char* err_file_name = nullptr;
    bool err_file_failed = false;  // told on standard error; diagnostics went back there
    std::FILE* in = nullptr;       // standard input, or the file that stands for it
    bool in_owned = false;
    bool exiting = false;           // exit_program has finished the output
    std::string held_comment;       // -C: a line comment not yet written
    std::u16string pragma_operand;  // the literal of a _Pragma being read
    // A #pragma directive's text holds no operator _Pragma: the line of the
    // last one written (its text is copied as a text line).
    bool pragma_directive = false;
    int pragma_directive_line = 0;
    wchar* report_line_start = nullptr;  // line shown with a message
    int report_line = 0;                 // and its number
    wchar last_emitted = 0;              // the last unit emit_char wrote
    // While an argument's output is kept to be written again: every byte of
    // text written to `out` goes here too.
    std::string* tap = nullptr;
};
extern driver_state driver;

// Ends the run with the status: writes the dependency list, closes the
// output, and unwinds to run(). Never returns.
[[noreturn]] void exit_program(int status);

// A file the run would write or append to that is the input file itself
// (whatever the spelling of its path) ends the run before anything is
// written (181, status 1). Nothing happens when either name is null.
void refuse_input_as_output(const char* path, const char* input_path);

// The alert system's position hook: file, line, line text and read position
// of the nearest file source.
void capture_report_position();

int line_sync();
int flush_newlines(int count);
// Output that can no longer be written ends the run (status 1).
void check_output();
int emit_char(int c);
// -C: a line comment's text waits until its output line ends.
void hold_comment_char(int c);
void put_wide_string(const wchar* s, std::FILE* stream);

// One whole run of the preprocessor with these arguments; returns the exit
// status. All run state is reset first, so runs may be repeated in-process.
int run(int argc, char** argv);
