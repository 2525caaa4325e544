// The macro and command-line sections of the HTML information report.
#pragma once

struct macro_def;

void html_command_line_section(char** argv, int argc, const char* tool);
void report_macro_table();
void report_macro_row(const macro_def* m);
