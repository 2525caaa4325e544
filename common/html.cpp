// HTML writer for the information report. A report named N is a frame set
// of three files: N itself (the frame-set page), "toc_" N (a table of
// contents, one link per qualifying heading) and "main_" N (the page that all
// content goes to). Headings, anchors, tables built cell by cell and printf
// text are written to the current main stream; a missing stream drops them.
#include "html.h"

#include <cassert>
#include <cerrno>
#include <cstdarg>
#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include "alert.h"
#include "osdep.h"
#include "whole_file.h"

namespace {

struct file_closer {
    void operator()(std::FILE* f) const noexcept { std::fclose(f); }
};
using file_ptr = std::unique_ptr<std::FILE, file_closer>;

struct html_table {
    int columns = 0;
    int cells = 0;  // cells written in the current row
};

// The contents count is patched into "<!-- labelCnt:000: -->" at this
// offset, three characters wide: headings past 999 get no entry.
constexpr long LABEL_COUNT_OFFSET = 14;
constexpr unsigned MAX_LABELS = 999;

struct html_state {
    file_ptr main;  // frame-set page until the frames begin, then the main page
    std::string main_file_name;
    std::string main_page_name;  // the page `main` writes (main_file_name before the frames)
    bool have_main_file_name = false;
    bool frameset_pending = false;  // html_open done, frames not yet begun
    file_ptr contents;
    std::string contents_file_name;
    std::string stylesheet;
    bool have_stylesheet = false;
    unsigned label_count = 0;
    int contents_depth = 0;
    std::vector<html_table> table_stack;  // tables suspended by a nested one
    html_table table;
    bool have_table = false;
    std::string failed_page;  // the first page that could not be written
    int failed_error = 0;
};

html_state html;

// Notes the first page that could not be written, with the system's reason
// as it stands right after the failed write.
void check_page(std::FILE* f, const std::string& name) {
    if (f && html.failed_error == 0 && std::ferror(f)) {
        html.failed_error = errno != 0 ? errno : EIO;
        html.failed_page = name;
    }
}

// Closes a page: what its buffer still holds must reach the file too. A
// page written completely then replaces the previous one.
void close_page(file_ptr& page, const std::string& name) {
    if (!page) return;
    std::FILE* f = page.release();
    errno = 0;
    std::fflush(f);
    check_page(f, name);
    int err = whole_file_close(f, !std::ferror(f));
    if (err != 0 && html.failed_error == 0) {
        html.failed_error = err;
        html.failed_page = name;
    }
}

void check_main() {
    check_page(html.main.get(), html.main_page_name);
}

// Opens a report file for writing; an unopenable one is a level-0 warning.
file_ptr open_report_file(const std::string& name) {
    file_ptr f(whole_file_open(name.c_str()));
    if (!f) {
        errno = open_failure_reason(name.c_str(), errno);
        alert_report_unnumbered("0", "Could not open file %s: %m", name.c_str());
    }
    return f;
}

void write_page_head(std::FILE* f, const char* title_prefix, const char* title) {
    std::fputs("<HTML>\n<HEAD>\n", f);
    if (title_prefix) {
        std::fprintf(f, "<TITLE>%s%s</TITLE>\n", title_prefix,
                     html_escape(title ? title : "").c_str());
    }
    if (html.have_stylesheet)
        std::fprintf(f, "<LINK rel=stylesheet href=\"%s\" type=\"text/css\">\n",
                     html.stylesheet.c_str());
    std::fputs("</HEAD>\n", f);
}

void write_contents_entry(int level, const char* text) {
    std::FILE* f = html.contents.get();
    std::fputc(' ', f);
    for (int i = 1; i < level; ++i) std::fputs("&nbsp", f);
    std::fputc(' ', f);
    // The link is built to its full length: names of any size fit.
    std::string target = html.main_file_name + '#' + std::to_string(html.label_count);
    std::fprintf(f, "<a class=\"%s\" HREF=\"%s\"%s>%s</A><br>\n", "", target.c_str(),
                 "target=\"main\"", text);
    check_page(f, html.contents_file_name);
}

}  // namespace

std::FILE* html_open(const char* file_name, const char* title_prefix, const char* title,
                     const char* stylesheet) {
    html.label_count = 0;
    html.main = open_report_file(file_name ? file_name : "");
    html.frameset_pending = false;
    if (!html.main) return nullptr;
    html.main_file_name = file_name;
    html.main_page_name = file_name;
    html.have_main_file_name = true;
    html.frameset_pending = true;
    html.have_stylesheet = stylesheet != nullptr;
    html.stylesheet = stylesheet ? stylesheet : "";
    write_page_head(html.main.get(), title_prefix, title);
    check_main();
    return html.main.get();
}

// Turns the page opened by html_open into the frame-set page and opens the
// contents file and the main page. Only the first call after html_open does
// anything beyond storing the depth; a contents file already open (an earlier
// report of the same run) also stops it.
void html_begin_frames(int contents_depth) {
    [[maybe_unused]] bool main_filename = html.have_main_file_name;
    assert(main_filename);
    html.contents_depth = contents_depth;
    if (!html.have_main_file_name || html.contents || !html.frameset_pending) return;
    html.frameset_pending = false;

    html.contents_file_name = "toc_" + html.main_file_name;
    html.contents = open_report_file(html.contents_file_name);
    if (html.contents) {
        std::fputs("<!-- labelCnt:000: -->\n", html.contents.get());
        std::fputs("<i>Table of Contents</i><br>\n", html.contents.get());
        check_page(html.contents.get(), html.contents_file_name);
    }
    html.main_file_name = "main_" + html.main_file_name;

    if (std::FILE* f = html.main.get()) {
        std::fputs("<frameset rows=\"15%,85%\">", f);
        std::fprintf(f, "<frame name =\"toc\" src=\"%s\" />", html.contents_file_name.c_str());
        std::fprintf(f, "<frame name =\"main\" src=\"%s\" />", html.main_file_name.c_str());
        std::fputs("</frameset>", f);
        std::fputs("</HTML>\n", f);
        check_main();
    }
    close_page(html.main, html.main_page_name);
    html.main_page_name = html.main_file_name;
    html.main = open_report_file(html.main_file_name);
    if (html.main) {
        write_page_head(html.main.get(), nullptr, nullptr);
        check_main();
    }
}

// Ends the main page and completes the label count of the contents file.
void html_close() {
    if (html.main) {
        std::fputs("</HTML>\n", html.main.get());
        check_main();
        close_page(html.main, html.main_page_name);
    }
    if (html.contents) {
        std::FILE* f = html.contents.get();
        if (std::fseek(f, LABEL_COUNT_OFFSET, SEEK_SET) == 0)
            std::fprintf(f, "%3u", html.label_count);
        check_page(f, html.contents_file_name);
        close_page(html.contents, html.contents_file_name);
    }
}

void html_abandon() {
    close_page(html.main, html.main_page_name);
    close_page(html.contents, html.contents_file_name);
}

int html_write_error(const char** file) {
    if (file) *file = html.failed_error != 0 ? html.failed_page.c_str() : nullptr;
    return html.failed_error;
}

void html_printf(const char* fmt, ...) {
    if (!html.main) return;
    va_list ap;
    va_start(ap, fmt);
    std::vfprintf(html.main.get(), fmt, ap);
    va_end(ap);
    check_main();
}

// Writes each unit as its low 8 bits; the macro-text markers 0x7F1D to
// 0x7F1F are left out.
void html_print_wide(const wchar* s) {
    std::FILE* f = html.main.get();
    if (!f || !s) return;
    for (; *s; ++s) {
        if (*s >= 0x7F1D && *s <= 0x7F1F) continue;
        std::fputc(static_cast<unsigned char>(*s & 0xFF), f);
    }
    check_main();
}

void html_anchor(const char* name) {
    html_printf("<a name=\"%s\">", name);
}

// A heading of a level up to the contents depth gets a numbered anchor and a
// contents entry linking to it, while the contents file is open.
void html_heading(int level, const char* text) {
    bool listed = html.contents && level <= html.contents_depth && html.label_count < MAX_LABELS;
    if (listed) html_printf("<a name=\"%u\">", html.label_count);
    html_printf("<h%d class=\"%s\">%s</h%d>\n", level, "", text, level);
    if (listed) {
        write_contents_entry(level, text);
        ++html.label_count;
    }
}

// Starts a table; a table being filled is suspended until this one ends.
void html_table_begin(int columns) {
    if (html.have_table) html.table_stack.push_back(html.table);
    html.table = {columns, 0};
    html.have_table = true;
    html_printf("<table class=\"%s\">\n", "");
}

// Starts the next cell, closing the row first when it is full, and writes
// the formatted text into it.
void html_table_cell(const char* fmt, ...) {
    assert(html.have_table);
    if (html.have_table) {
        html_table& t = html.table;
        if (t.cells == t.columns) {
            html_printf("</td></tr>\n");
            t.cells = 0;
        }
        html_printf(t.cells == 0 ? "<tr>" : "</td>");
        ++t.cells;
    }
    html_printf("<td>");
    if (!html.main) return;
    va_list ap;
    va_start(ap, fmt);
    std::vfprintf(html.main.get(), fmt, ap);
    va_end(ap);
    check_main();
}

// Ends the current table and resumes the one it interrupted. The last row
// is left without its "</tr>".
void html_table_end() {
    [[maybe_unused]] bool curTable = html.have_table;
    assert(curTable);
    if (!html.have_table) return;
    if (html.table_stack.empty()) {
        html.have_table = false;
    } else {
        html.table = html.table_stack.back();
        html.table_stack.pop_back();
    }
    html_printf("</td>");
    html_printf("</table>\n");
}

// Forgets the previous run's report; files it left unfinished are closed
// as they stand.
void html_reset() {
    html = {};
}

std::string html_escape(const char* text) {
    std::string out;
    for (const char* p = text; *p != 0; ++p) {
        switch (*p) {
            case '&':
                out += "&amp;";
                break;
            case '<':
                out += "&lt;";
                break;
            case '>':
                out += "&gt;";
                break;
            default:
                out += *p;
        }
    }
    return out;
}
