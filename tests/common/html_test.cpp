// The HTML writer: the three report files byte for byte, heading anchors and
// contents entries, tables (nested, unclosed last row), the contents count
// and the files that cannot be opened.
#include "common/html.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <filesystem>
#include <string>

#include "common/alert.h"
#include "tests/common/html_fixture.h"

namespace {

const char* const HEAD_WITH_TITLE =
    "<HTML>\n<HEAD>\n<TITLE>CPP information for r.html</TITLE>\n"
    "<LINK rel=stylesheet href=\"udf_styles.css\" type=\"text/css\">\n</HEAD>\n";
const char* const MAIN_HEAD =
    "<HTML>\n<HEAD>\n<LINK rel=stylesheet href=\"udf_styles.css\" type=\"text/css\">\n</HEAD>\n";
const char* const TOC_HEAD = "<!-- labelCnt:000: -->\n<i>Table of Contents</i><br>\n";

using HtmlWriter = html_fixture;

TEST_F(HtmlWriter, FrameSetNamesTheContentsAndMainPages) {
    ASSERT_NE(open_report("r.html"), nullptr);
    html_close();
    EXPECT_EQ(read_file("r.html"),
              std::string(HEAD_WITH_TITLE) +
                  "<frameset rows=\"15%,85%\"><frame name =\"toc\" src=\"toc_r.html\" />"
                  "<frame name =\"main\" src=\"main_r.html\" /></frameset></HTML>\n");
    EXPECT_EQ(read_file("toc_r.html"), "<!-- labelCnt:  0: -->\n<i>Table of Contents</i><br>\n");
    EXPECT_EQ(read_file("main_r.html"), std::string(MAIN_HEAD) + "</HTML>\n");
}

TEST_F(HtmlWriter, PageHeadOmitsAbsentTitleAndStylesheet) {
    ASSERT_NE(html_open("p.html", nullptr, "ignored", nullptr), nullptr);
    html_begin_frames(3);
    html_close();
    EXPECT_EQ(read_file("p.html").substr(0, 22), "<HTML>\n<HEAD>\n</HEAD>\n");
    EXPECT_EQ(read_file("main_p.html"), "<HTML>\n<HEAD>\n</HEAD>\n</HTML>\n");
}

TEST_F(HtmlWriter, DirectoryPartTakesThePrefixToo) {
    for (const char* d : {"sub", "toc_sub", "main_sub"}) std::filesystem::create_directory(d);
    ASSERT_NE(html_open("sub/r.html", "T ", "x", nullptr), nullptr);
    html_begin_frames(3);
    html_heading(2, "A");
    html_close();
    EXPECT_NE(read_file("sub/r.html")
                  .find("src=\"toc_sub/r.html\" /><frame name =\"main\" "
                        "src=\"main_sub/r.html\" />"),
              std::string::npos);
    EXPECT_NE(read_file("toc_sub/r.html").find("HREF=\"main_sub/r.html#0\""), std::string::npos);
    EXPECT_TRUE(std::filesystem::exists("main_sub/r.html"));
}

struct heading_case {
    int level;
    const char* main_text;  // what the main page gains
    const char* toc_text;   // what the contents file gains
};

class HtmlHeading : public html_fixture, public ::testing::WithParamInterface<heading_case> {};

TEST_P(HtmlHeading, AnchorAndContentsEntryFollowTheLevel) {
    const heading_case& c = GetParam();
    ASSERT_NE(open_report("r.html"), nullptr);
    html_heading(c.level, "Title");
    html_close();
    EXPECT_EQ(read_file("main_r.html"), std::string(MAIN_HEAD) + c.main_text + "</HTML>\n");
    std::string toc = read_file("toc_r.html");
    ASSERT_GE(toc.size(), std::string(TOC_HEAD).size());
    EXPECT_EQ(toc.substr(std::string(TOC_HEAD).size()), c.toc_text);
}

INSTANTIATE_TEST_SUITE_P(
    Levels, HtmlHeading,
    ::testing::Values(
        heading_case{1, "<a name=\"0\"><h1 class=\"\">Title</h1>\n",
                     "  <a class=\"\" HREF=\"main_r.html#0\"target=\"main\">Title</A><br>\n"},
        heading_case{2, "<a name=\"0\"><h2 class=\"\">Title</h2>\n",
                     " &nbsp <a class=\"\" HREF=\"main_r.html#0\"target=\"main\">Title</A><br>\n"},
        heading_case{
            3, "<a name=\"0\"><h3 class=\"\">Title</h3>\n",
            " &nbsp&nbsp <a class=\"\" HREF=\"main_r.html#0\"target=\"main\">Title</A><br>\n"},
        heading_case{4, "<h4 class=\"\">Title</h4>\n", ""},
        heading_case{-1, "<a name=\"0\"><h-1 class=\"\">Title</h-1>\n",
                     "  <a class=\"\" HREF=\"main_r.html#0\"target=\"main\">Title</A><br>\n"}),
    [](const ::testing::TestParamInfo<heading_case>& info) {
        int level = info.param.level;
        return (level < 0 ? "minus" : "level") + std::to_string(level < 0 ? -level : level);
    });

TEST_F(HtmlWriter, LabelsCountOnlyListedHeadings) {
    ASSERT_NE(open_report("r.html"), nullptr);
    html_heading(2, "a");
    html_heading(5, "skipped");
    html_heading(3, "b");
    html_close();
    std::string main = read_file("main_r.html");
    EXPECT_NE(main.find("<a name=\"1\"><h3 class=\"\">b</h3>"), std::string::npos);
    EXPECT_EQ(main.find("<a name=\"2\">"), std::string::npos);
    EXPECT_EQ(read_file("toc_r.html").substr(0, 23), "<!-- labelCnt:  2: -->\n");
}

// The count is patched in three characters wide; the 1000th heading would
// overflow it and gets neither anchor nor entry.
TEST_F(HtmlWriter, CountAtOffsetFourteenStopsAt999) {
    ASSERT_NE(open_report("r.html"), nullptr);
    for (int i = 0; i < 1000; ++i) html_heading(2, "h");
    html_close();
    std::string toc = read_file("toc_r.html");
    EXPECT_EQ(toc.substr(0, 23), "<!-- labelCnt:999: -->\n");
    EXPECT_NE(toc.find("#998\""), std::string::npos);
    EXPECT_EQ(toc.find("#999\""), std::string::npos);
    std::string main = read_file("main_r.html");
    EXPECT_NE(main.find("<a name=\"998\"><h2"), std::string::npos);
    EXPECT_NE(main.find("</h2>\n<h2 class=\"\">h</h2>\n</HTML>\n"), std::string::npos);
}

TEST_F(HtmlWriter, LinksToLongNamesAreWrittenWhole) {
    std::string name = std::string(200, 'n') + ".html";
    ASSERT_NE(open_report(name.c_str()), nullptr);
    html_heading(1, std::string(300, 'h').c_str());
    html_close();
    std::string toc = read_file("toc_" + name);
    EXPECT_NE(toc.find("HREF=\"main_" + name + "#0\"target=\"main\">" + std::string(300, 'h') +
                       "</A><br>\n"),
              std::string::npos);
}

TEST_F(HtmlWriter, TableRowsCloseOnlyWhenFull) {
    ASSERT_NE(open_report("r.html"), nullptr);
    html_table_begin(3);
    for (int i = 1; i <= 4; ++i) html_table_cell("c%d", i);
    html_table_end();
    html_close();
    EXPECT_EQ(read_file("main_r.html"),
              std::string(MAIN_HEAD) +
                  "<table class=\"\">\n<tr><td>c1</td><td>c2</td><td>c3</td></tr>\n"
                  "<tr><td>c4</td></table>\n</HTML>\n");
}

TEST_F(HtmlWriter, NestedTableSuspendsTheOuterRow) {
    ASSERT_NE(open_report("r.html"), nullptr);
    html_table_begin(2);
    html_table_cell("a");
    html_table_begin(1);
    html_table_cell("x");
    html_table_cell("y");
    html_table_end();
    html_table_cell("b");  // second cell of the outer row: no new row yet
    html_table_cell("c");
    html_table_end();
    html_close();
    EXPECT_EQ(read_file("main_r.html"),
              std::string(MAIN_HEAD) +
                  "<table class=\"\">\n<tr><td>a<table class=\"\">\n<tr><td>x</td></tr>\n"
                  "<tr><td>y</td></table>\n</td><td>b</td></tr>\n<tr><td>c</td></table>\n"
                  "</HTML>\n");
}

TEST_F(HtmlWriter, WideTextKeepsLowBytesAndDropsMarkers) {
    ASSERT_NE(open_report("r.html"), nullptr);
    const wchar text[] = {'a', 0x7F1D, 'b', 0x7F1E, 0x7F1F, 0x141, 0x7F1C, 'c', 0};
    html_print_wide(text);
    html_close();
    EXPECT_EQ(read_file("main_r.html"), std::string(MAIN_HEAD) +
                                            "abA\x1c"
                                            "c</HTML>\n");
}

TEST_F(HtmlWriter, AnchorAndPrintfGoToTheMainPage) {
    ASSERT_NE(open_report("r.html"), nullptr);
    html_anchor("CPP");
    html_printf("<code>%s</code>%d", "-DX=1", 42);
    html_close();
    EXPECT_EQ(read_file("main_r.html"),
              std::string(MAIN_HEAD) + "<a name=\"CPP\"><code>-DX=1</code>42</HTML>\n");
}

TEST_F(HtmlWriter, UnopenableFrameSetWritesNothing) {
    EXPECT_EQ(html_open("missing/r.html", "T", "r", "s.css"), nullptr);
    html_printf("dropped");
    html_heading(2, "dropped");
    html_close();
    EXPECT_EQ(alert_text(), "(0) Could not open file missing/r.html (warning)\n");
    EXPECT_TRUE(std::filesystem::is_empty("."));
}

// A contents file that cannot be opened still leaves a working frame set
// and main page, only without anchors, entries or count.
TEST_F(HtmlWriter, UnopenableContentsKeepsTheOtherPages) {
    std::filesystem::create_directory("toc_r.html");
    ASSERT_NE(open_report("r.html"), nullptr);
    html_heading(2, "Head");
    html_close();
    EXPECT_EQ(alert_text(), "(0) Could not open file toc_r.html (warning)\n");
    EXPECT_NE(read_file("r.html").find("src=\"toc_r.html\""), std::string::npos);
    EXPECT_EQ(read_file("main_r.html"),
              std::string(MAIN_HEAD) + "<h2 class=\"\">Head</h2>\n</HTML>\n");
}

TEST_F(HtmlWriter, UnopenableMainPageDropsOnlyTheContent) {
    std::filesystem::create_directory("main_r.html");
    ASSERT_NE(open_report("r.html"), nullptr);
    html_heading(2, "Head");
    html_table_begin(1);
    html_table_cell("x");
    html_table_end();
    html_close();
    EXPECT_EQ(alert_text(), "(0) Could not open file main_r.html (warning)\n");
    EXPECT_EQ(read_file("toc_r.html"),
              "<!-- labelCnt:  1: -->\n<i>Table of Contents</i><br>\n"
              " &nbsp <a class=\"\" HREF=\"main_r.html#0\"target=\"main\">Head</A><br>\n");
}

// An unfinished report (a failed run) keeps what was written; the next run
// starts afresh after the reset.
TEST_F(HtmlWriter, ResetAbandonsAnUnfinishedReport) {
    ASSERT_NE(open_report("a.html"), nullptr);
    html_heading(2, "A");
    html_table_begin(2);
    html_table_cell("x");
    html_reset();
    EXPECT_EQ(read_file("toc_a.html").substr(0, 23), "<!-- labelCnt:000: -->\n");
    EXPECT_EQ(read_file("main_a.html"),
              std::string(MAIN_HEAD) +
                  "<a name=\"0\"><h2 class=\"\">A</h2>\n<table class=\"\">\n<tr><td>x");

    ASSERT_NE(open_report("b.html"), nullptr);
    html_heading(2, "B");
    html_table_begin(2);
    html_table_cell("y");
    html_table_end();
    html_close();
    EXPECT_EQ(read_file("main_b.html"),
              std::string(MAIN_HEAD) +
                  "<a name=\"0\"><h2 class=\"\">B</h2>\n<table class=\"\">\n<tr><td>y</td>"
                  "</table>\n</HTML>\n");
    EXPECT_EQ(read_file("toc_b.html").substr(0, 23), "<!-- labelCnt:  1: -->\n");
}

// A page that could not be written completely is told by its name, with the
// reason of the first write that failed; pages that could not be opened at
// all are only warned about when opened. A complete report has no error.
TEST_F(HtmlWriter, FirstPageThatFailedIsKeptWithItsReason) {
    const char* page = "unset";
    ASSERT_NE(open_report("ok.html"), nullptr);
    html_heading(2, "Head");
    html_close();
    EXPECT_EQ(html_write_error(&page), 0);
    EXPECT_EQ(page, nullptr);

    struct {
        const char* full;  // the page that is a link to /dev/full
        bool finish;       // closed as complete, else abandoned
    } cases[] = {{"r.html", true}, {"toc_r.html", true}, {"main_r.html", true},
                 {"main_r.html", false}, {"toc_r.html", false}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.full);
        html_reset();
        for (const char* f : {"r.html", "toc_r.html", "main_r.html"}) std::filesystem::remove(f);
        std::filesystem::create_symlink("/dev/full", c.full);
        ASSERT_NE(open_report("r.html"), nullptr);
        html_heading(2, "Head");
        html_printf("%s", std::string(10000, 'x').c_str());  // past a stream buffer
        if (c.finish)
            html_close();
        else
            html_abandon();
        EXPECT_EQ(html_write_error(&page), ENOSPC);
        EXPECT_STREQ(page, c.full);
    }
    html_reset();
    EXPECT_EQ(html_write_error(&page), 0);
}

TEST_F(HtmlWriter, FramesBeginOnlyOnce) {
    ASSERT_NE(open_report("r.html"), nullptr);
    html_begin_frames(1);  // only the depth changes
    html_heading(2, "unlisted");
    html_close();
    EXPECT_FALSE(std::filesystem::exists("toc_main_r.html"));
    EXPECT_FALSE(std::filesystem::exists("main_main_r.html"));
    EXPECT_EQ(read_file("main_r.html"),
              std::string(MAIN_HEAD) + "<h2 class=\"\">unlisted</h2>\n</HTML>\n");
}

}  // namespace
