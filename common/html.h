// HTML writer for the information report: a frame set of three pages
// (frame set, table of contents, main page) with headings, anchors and tables.
#pragma once

#include <cstdio>
#include <string>

#include "wstr.h"

std::FILE* html_open(const char* file_name, const char* title_prefix, const char* title,
                     const char* stylesheet);
void html_begin_frames(int contents_depth);
void html_close();
// Closes whatever page of the report is still open, as it stands: the report
// of a failed run is left unfinished.
void html_abandon();
// 0 when every page of the report was written completely; otherwise the
// system error code of the first write that failed (read right after it),
// with the page's name in *file.
int html_write_error(const char** file);
void html_printf(const char* fmt, ...) __attribute__((format(printf, 1, 2)));
void html_print_wide(const wchar* s);
void html_anchor(const char* name);
void html_heading(int level, const char* text);
void html_table_begin(int columns);
void html_table_cell(const char* fmt, ...) __attribute__((format(printf, 1, 2)));
void html_table_end();
void html_reset();
// The text with '&', '<' and '>' written as "&amp;", "&lt;" and "&gt;", so
// that text taken from the user's input reads in a browser as written.
std::string html_escape(const char* text);
