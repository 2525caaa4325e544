// The preprocessor's sections of the HTML information report: the command
// line it was started with and the macro table, which lists the macros
// defined before the first input line and then gains one row for every
// definition and every expansion made during the run.
#include "cpp/report.h"

#include <cstdio>
#include <string>

#include "common/html.h"
#include "cpp/macro_table.h"

namespace {

constexpr wchar PARAM_FIRST = 0x7F7F;
constexpr wchar PARAM_LAST = 0x7F9F;
constexpr wchar STRINGISE_MARK = 0x7F1C;
constexpr wchar NO_EXPAND_MARK = 0x7F1D;
constexpr wchar PASTE_MARK = 0x7F1E;

bool is_digit_unit(wchar c) {
    return c >= '0' && c <= '9';
}

// A digit operand of "##" is stored between two paste marks; the second one
// closes the operand and is not shown.
bool closes_digit_operand(const wchar* body, const wchar* p) {
    const wchar* q = p;
    while (q > body && is_digit_unit(q[-1])) --q;
    return q < p && q > body && q[-1] == PASTE_MARK;
}

// Appends one unit of a body as the report shows it. The body comes from the
// user's input, so '&', '<' and '>' are escaped, and so are the brackets of
// the notations for parameter references, control characters and other
// units: a browser shows "<0>", "<^A>" and "<\0177>" as written.
void append_unit(std::string& out, const wchar* body, const wchar* p) {
    wchar c = *p;
    char buf[32];
    if (c >= PARAM_FIRST && c <= PARAM_LAST) {
        std::snprintf(buf, sizeof buf, "&lt;%d&gt;", c - PARAM_FIRST);
    } else if (c == STRINGISE_MARK || c == NO_EXPAND_MARK) {
        return;
    } else if (c == PASTE_MARK) {
        if (!closes_digit_operand(body, p)) out += " ## ";
        return;
    } else if ((c >= 0x20 && c < 0x7F) || c == '\n' || c == '\t') {
        const char text[2] = {static_cast<char>(c), 0};
        out += html_escape(text);
        return;
    } else if (c < 0x20) {
        std::snprintf(buf, sizeof buf, "&lt;^%c&gt;", c + 64);
    } else {
        std::snprintf(buf, sizeof buf, "&lt;\\0%o&gt;", static_cast<unsigned>(c));
    }
    out += buf;
}

}  // namespace

// Lists the arguments as the program received them, program name first.
void html_command_line_section(char** argv, int argc, const char* tool) {
    html_anchor("CLA");
    std::string heading = std::string("Command Line Arguments for ") + (tool ? tool : "");
    html_heading(2, heading.c_str());
    for (int i = 0; i < argc && argv; ++i)
        if (argv[i]) html_printf("<code>%s</code><br>\n", html_escape(argv[i]).c_str());
}

// Opens the three-column macro table and lists the table in bucket order.
// The table stays open for the rows added while the input is read.
void report_macro_table() {
    html_table_begin(3);
    html_table_cell("<b>Macro name</b>");
    html_table_cell("<b>Arguments</b>");
    html_table_cell("<b>Value</b>");
    macro_table_settle();
    for (macro_def* bucket : macros.macro_table)
        for (const macro_def* m = bucket; m; m = m->next) report_macro_row(m);
}

// One row: the name, the parameter count and the replacement text, with
// parameter references shown by number and control characters made visible.
// A body mark for the macro's own name is left out and a paste mark shows
// as " ## "; other units above the byte range are shown in octal.
void report_macro_row(const macro_def* m) {
    html_table_cell("<code>");
    html_print_wide(m->name());
    html_printf("</code>");
    if (m->nparams == 0)
        html_table_cell("empty");
    else if (m->nparams < 0)
        html_table_cell("none");
    else
        html_table_cell("%d", m->nparams);
    if (!m->body) {
        html_table_cell("<i>dynamic replacement</i>");
        return;
    }
    html_table_cell("%s", "");
    std::string text;
    for (const wchar* p = m->body.get(); *p; ++p) append_unit(text, m->body.get(), p);
    html_printf("%s", text.c_str());
}
