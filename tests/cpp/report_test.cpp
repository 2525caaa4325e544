// The report's macro rows (every kind of body unit), the macro table in
// bucket order and the command-line section.
#include "cpp/report.h"

#include <gtest/gtest.h>

#include <initializer_list>
#include <string>
#include <vector>

#include "common/html.h"
#include "cpp/macro_table.h"
#include "tests/common/html_fixture.h"

namespace {

constexpr wchar REF0 = 0x7F7F;
constexpr wchar STRINGISE = 0x7F1C;
constexpr wchar SELF = 0x7F1D;
constexpr wchar PASTE = 0x7F1E;
constexpr wchar END_MARK = 0x7F1F;

wstr_ptr make_wide(std::initializer_list<wchar> units) {
    wstr_ptr s(static_cast<wchar*>(std::calloc(units.size() + 1, sizeof(wchar))));
    wchar* p = s.get();
    for (wchar u : units) *p++ = u;
    return s;
}

wstr_ptr make_wide(const char* text) {
    std::vector<wchar> units(text, text + std::char_traits<char>::length(text));
    wstr_ptr s(static_cast<wchar*>(std::calloc(units.size() + 1, sizeof(wchar))));
    for (std::size_t i = 0; i < units.size(); ++i) s[i] = static_cast<unsigned char>(units[i]);
    return s;
}

class MacroReport : public html_fixture {
   protected:
    void SetUp() override {
        html_fixture::SetUp();
        ASSERT_NE(open_report("r.html"), nullptr);
    }

    // The main page between the page head and the closing tag.
    std::string page_body() {
        html_close();
        std::string page = read_file("main_r.html");
        std::size_t start = page.find("</HEAD>\n");
        std::size_t end = page.rfind("</HTML>\n");
        if (start == std::string::npos || end == std::string::npos) return page;
        return page.substr(start + 8, end - start - 8);
    }
};

struct row_case {
    const char* label;
    std::vector<wchar> body;  // empty: no body (a dynamic macro)
    int nparams;
    const char* cells;  // the row after the name cell
};

class MacroRow : public MacroReport, public ::testing::WithParamInterface<row_case> {};

TEST_P(MacroRow, ShowsCountAndBody) {
    const row_case& c = GetParam();
    macro_def m;
    m.name = make_wide("M");
    m.nparams = c.nparams;
    if (!c.body.empty()) {
        m.body.reset(static_cast<wchar*>(std::calloc(c.body.size() + 1, sizeof(wchar))));
        std::copy(c.body.begin(), c.body.end(), m.body.get());
    }
    html_table_begin(3);
    report_macro_row(&m);
    html_table_end();
    EXPECT_EQ(page_body(), std::string("<table class=\"\">\n<tr><td><code>M</code></td>") +
                               c.cells + "</td></table>\n")
        << c.label;
}

INSTANTIATE_TEST_SUITE_P(
    Bodies, MacroRow,
    ::testing::Values(
        row_case{"object-like", {'4', '2'}, -1, "<td>none</td><td>42"},
        row_case{"empty list", {'x'}, 0, "<td>empty</td><td>x"},
        row_case{"most parameters", {'y'}, 31, "<td>31</td><td>y"},
        row_case{"references", {REF0 + 1, '+', REF0}, 2, "<td>2</td><td><1>+<0>"},
        row_case{"highest reference", {0x7F9F}, 1, "<td>1</td><td><32>"},
        row_case{"line number", {}, -2, "<td>none</td><td><i>dynamic replacement</i>"},
        row_case{"file name", {}, -3, "<td>none</td><td><i>dynamic replacement</i>"},
        row_case{"delete", {'a', 127, 'b'}, -1, "<td>none</td><td>a<\\0177>b"},
        row_case{"control", {1, 0x1B, 0x1F}, -1, "<td>none</td><td><^A><^[><^_>"},
        row_case{"blanks as is",
                 {'a', '\t', ' ', '\n', '<', '&', '~'},
                 -1,
                 "<td>none</td><td>a\t \n<&~"},
        row_case{"upper half", {0xE9, 0x80, 0xFF}, -1, "<td>none</td><td><\\0351><\\0200><\\0377>"},
        row_case{"stringise", {STRINGISE, REF0}, 1, "<td>1</td><td><0>"},
        row_case{"own name", {SELF, 'R', '+', '1'}, -1, "<td>none</td><td>R+1"},
        row_case{"paste", {REF0, PASTE, REF0 + 1}, 2, "<td>2</td><td><0> ## <1>"},
        row_case{"paste digits", {REF0, PASTE, '1', '2', PASTE}, 1, "<td>1</td><td><0> ## 12"},
        row_case{"paste chain",
                 {'1', PASTE, '2', PASTE, PASTE, '3', PASTE},
                 -1,
                 "<td>none</td><td>1 ## 2 ## 3"},
        row_case{"paste after name", {'x', '1', PASTE, 'y'}, -1, "<td>none</td><td>x1 ## y"},
        row_case{"above bytes", {END_MARK, 0x100}, -1, "<td>none</td><td><\\077437><\\0400>"}),
    [](const ::testing::TestParamInfo<row_case>& info) {
        std::string name = info.param.label;
        for (char& ch : name)
            if (ch == ' ' || ch == '-') ch = '_';
        return name;
    });

TEST_F(MacroReport, NameIsWrittenLikeOutputText) {
    macro_def m;
    m.name = make_wide({SELF, 'N', 0x141, END_MARK, 0});
    m.nparams = -1;
    m.body = make_wide("");
    html_table_begin(3);
    report_macro_row(&m);
    html_table_end();
    EXPECT_EQ(page_body(),
              "<table class=\"\">\n<tr><td><code>NA</code></td><td>none</td><td>"
              "</td></table>\n");
}

// The listing walks the buckets from the first to the last and each chain
// from its head; rows added later continue the same table.
TEST_F(MacroReport, TableListsBucketsInOrder) {
    macro_def a, b, c;
    a.name = make_wide("A");
    a.body = make_wide("1");
    a.nparams = -1;
    b.name = make_wide("B");
    b.body = make_wide("2");
    b.nparams = -1;
    c.name = make_wide("C");
    c.nparams = -2;
    a.next = &c;  // chain A, C in bucket 9; B alone in bucket 3
    macro_def* saved[MACRO_BUCKETS];
    std::copy(std::begin(macros.macro_table), std::end(macros.macro_table), saved);
    std::fill(std::begin(macros.macro_table), std::end(macros.macro_table), nullptr);
    macros.macro_table[9] = &a;
    macros.macro_table[3] = &b;
    report_macro_table();
    std::copy(saved, saved + MACRO_BUCKETS, macros.macro_table);
    report_macro_row(&b);
    html_table_end();
    EXPECT_EQ(page_body(),
              "<table class=\"\">\n"
              "<tr><td><b>Macro name</b></td><td><b>Arguments</b></td><td><b>Value</b></td></tr>\n"
              "<tr><td><code>B</code></td><td>none</td><td>2</td></tr>\n"
              "<tr><td><code>A</code></td><td>none</td><td>1</td></tr>\n"
              "<tr><td><code>C</code></td><td>none</td><td><i>dynamic replacement</i></td></tr>\n"
              "<tr><td><code>B</code></td><td>none</td><td>2</td></table>\n");
}

TEST_F(MacroReport, CommandLineListsEveryArgumentWhole) {
    char prog[] = "cpp", def[] = "-DX=1", in[] = "in.c", udf[] = "--udf=r.html";
    char* argv[] = {prog, def, in, udf, nullptr};
    html_command_line_section(argv, 4, "CPP");
    EXPECT_EQ(page_body(),
              "<a name=\"CLA\"><a name=\"0\"><h2 class=\"\">Command Line Arguments for CPP</h2>\n"
              "<code>cpp</code><br>\n<code>-DX=1</code><br>\n<code>in.c</code><br>\n"
              "<code>--udf=r.html</code><br>\n");
    EXPECT_EQ(read_file("toc_r.html"),
              "<!-- labelCnt:  1: -->\n<i>Table of Contents</i><br>\n"
              " &nbsp <a class=\"\" HREF=\"main_r.html#0\"target=\"main\">Command Line Arguments "
              "for CPP</A><br>\n");
}

}  // namespace
