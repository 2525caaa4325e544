// Reporting: layouts, templates, truncation, filtering, counting, the error
// limit and fatal messages, against a catalogue written by the test.
#include <cerrno>
#include <cstring>
#include <string>
#include <vector>

#include "alert_fixture.h"

namespace {

const char* const CATALOGUE =
    "10 E error %s\n"
    "11 F fatal %s\n"
    "12 M note %s\n"
    "20 0 level zero\n"
    "21 1 level one\n"
    "22 2 level two\n"
    "23 -3 level minus three\n"
    "30 X odd kind\n"
    "40 E %s\n"
    "41 E open failed: %m\n";

class AlertTest : public AlertFixture {
   protected:
    void SetUp() override {
        AlertFixture::SetUp();
        use_catalogue(CATALOGUE);
        take_output();  // the malformed report of line 9
    }
    // Sets a position on a line of file "f.c" with the read position just
    // after `read` characters.
    void at(const char16_t* text, unsigned read, int line_no = 7) {
        line_.assign(text, text + std::char_traits<char16_t>::length(text) + 1);
        line_no_ = line_no;
        start_ = line_.data();
        pos_ = line_.data() + read;
        alert_set_position(u"f.c", &line_no_, &start_, &pos_);
    }
    std::vector<wchar> line_;
    int line_no_ = 0;
    wchar* start_ = nullptr;
    wchar* pos_ = nullptr;
};

TEST_F(AlertTest, PlainLinesByKindWithoutPosition) {
    EXPECT_EQ(alert_report(10, "x"), 1);
    EXPECT_EQ(alert_report(12, "y"), 1);
    EXPECT_EQ(alert_report(21), 1);
    EXPECT_EQ(alert_report(30), 1);
    EXPECT_EQ(take_output(),
              "(10) error x\n"
              "note y\n"
              "(21) level one (warning)\n"
              "(30) odd kind (warning)\n");
}

TEST_F(AlertTest, FileAndLineWhenNoReadPosition) {
    int line_no = 12;
    alert_set_position(u"dir/a.c", &line_no, nullptr, nullptr);
    alert_report(10, "x");
    line_no = 13;
    alert_report(12, "m");
    alert_set_position(u"", &line_no, nullptr, nullptr);
    alert_report(21);
    EXPECT_EQ(take_output(),
              "dir/a.c: 12: (10) error x\n"
              "dir/a.c: 13: note m\n"
              ": 13: (21) level one (warning)\n");
}

// The caret stands under the character before the read position; tabs in
// the line advance to the next multiple of 8.
TEST_F(AlertTest, CaretFormsAndTabExpansion) {
    struct {
        const char16_t* line;
        unsigned read;
        const char* arg;
        const char* caret_line;
    } cases[] = {
        // column 12 ('y') beyond the 11 characters of "(40) short": text, then caret
        {u"\tx = y;\n", 6, "short", "\t (40) short ^\n"},
        // column 12 within the text: caret first
        {u"\tx = y;\n", 6, "a longer text", "\t            ^ (40) a longer text\n"},
        // column 0
        {u"abc\n", 1, "m", "\t^ (40) m\n"},
        // two tabs then 'z': column 16
        {u"\t\tz\n", 3, "q", "\t         (40) q ^\n"},
        // a tab after two characters still reaches column 8
        {u"ab\tc\n", 4, "q", "\t (40) q ^\n"},
    };
    for (const auto& c : cases) {
        alert_reset();
        alert_set_stream(stream_);
        use_catalogue(CATALOGUE);
        take_output();
        at(c.line, c.read);
        alert_report(40, c.arg);
        std::string source = "     7:\t";
        for (const char16_t* p = c.line; *p; ++p) source.push_back(static_cast<char>(*p));
        EXPECT_EQ(take_output(), "f.c:\n" + source + c.caret_line) << c.arg;
    }
}

TEST_F(AlertTest, SourceLineShownOncePerLineAndFileNameOnChange) {
    at(u"int x;\n", 4);
    alert_report(40, "one");
    alert_report(21);
    EXPECT_EQ(take_output(),
              "f.c:\n     7:\tint x;\n"
              "\t   ^ (40) one\n"
              "\t   ^ (21) level one (warning)\n");
    alert_line_read();
    at(u"int y;\n", 6, 8);
    alert_report(40, "two");
    EXPECT_EQ(take_output(), "     8:\tint y;\n\t     ^ (40) two\n");
    alert_line_read();
    int line_no = 3;
    wchar* start = line_.data();
    wchar* pos = line_.data() + 1;
    alert_set_position(u"g.h", &line_no, &start, &pos);
    alert_report(40, "three");
    EXPECT_EQ(take_output(), "g.h:\n     3:\tint y;\n\t^ (40) three\n");
}

TEST_F(AlertTest, MessagesAndPositionsOffTheLineGetNoCaret) {
    at(u"abc\n", 2);
    alert_report(12, "n");
    at(u"abc\n", 0);  // read position at the start of the line
    alert_report(40, "start");
    at(u"abc\n", 5);  // past the terminating zero
    alert_report(40, "past");
    at(u"abc\n", 4);  // on the terminating zero: still on the line
    alert_report(40, "end");
    EXPECT_EQ(take_output(),
              "f.c: 7: note n\n"
              "f.c: 7: (40) start\n"
              "f.c: 7: (40) past\n"
              "f.c:\n     7:\tabc\n\t   ^ (40) end\n");
}

TEST_F(AlertTest, LastLineWithoutLineEndStillEndsTheSourceLine) {
    at(u"end", 3);
    alert_report(40, "x");
    EXPECT_EQ(take_output(), "f.c:\n     7:\tend\n\t  ^ (40) x\n");
}

TEST_F(AlertTest, TemplatesReplaceEveryPlaceholder) {
    alert_set_formats("E[%f|%l|%c|%n|%s|%a|%%|%q]%", "W[%n %s]", "M[%s%m]");
    alert_set_format_mode(1);
    at(u"\tab\n", 3, 9);
    errno = 0;
    alert_report(10, "x");
    alert_report(22);
    alert_report(12, "z");
    EXPECT_EQ(take_output(),
              "E[f.c|9|3|10|error x|preprocessor|%|q]\n"
              "W[22 level two]\n"
              "M[note z]\n");
}

TEST_F(AlertTest, TemplatesWithoutPositionOrText) {
    alert_set_formats("%f:%l:%c:%n", nullptr, nullptr);
    alert_set_format_mode(1);
    alert_report(10, "gone");
    alert_report(21);
    EXPECT_EQ(take_output(), ":::10\n: : (21) level one (warning)\n");
}

TEST_F(AlertTest, EnvironmentTemplatesWinOverArguments) {
    env_.set("ZQT_WARN_FORMAT", "env %n");
    alert_set_formats("arg %n", "arg %n", "arg %s");
    alert_set_format_mode(1);
    alert_report(10, "e");
    alert_report(20);
    alert_report(12, "m");
    EXPECT_EQ(take_output(), "arg 10\nenv 20\narg note m\n");
}

TEST_F(AlertTest, SystemErrorTextForPercentM) {
    errno = ENOENT;
    alert_report(41);
    std::string expected = std::string("(41) open failed: ") + std::strerror(ENOENT) + "\n";
    EXPECT_EQ(take_output(), expected);
    alert_set_formats("%m|%s", nullptr, nullptr);
    alert_set_format_mode(1);
    errno = 0;
    alert_report(41);
    EXPECT_EQ(take_output(), "|open failed: \n");
}

TEST_F(AlertTest, MessageTextAndLineAreCut) {
    std::string long_arg(3000, 'a');
    alert_report(40, long_arg.c_str());
    std::string out = take_output();
    EXPECT_EQ(out, "(40) " + std::string(511 - 5, 'a') + "\n");

    alert_set_formats("%s%s%s%s%s", nullptr, nullptr);
    alert_set_format_mode(1);
    alert_report(40, long_arg.c_str());
    out = take_output();
    EXPECT_EQ(out.size(), 2047u);  // 2046 characters and the newline
    EXPECT_EQ(out.back(), '\n');
    EXPECT_EQ(out.find('\n'), 2046u);

    alert_print("%s", long_arg.c_str());
    out = take_output();
    EXPECT_EQ(out.size(), 2047u);
}

TEST_F(AlertTest, WarningLevelsAgainstThreshold) {
    struct {
        unsigned number;
        int threshold;
        bool shown;
    } cases[] = {
        {22, 3, false}, {22, 2, true},   {20, 0, true},  {20, 1, false},
        {23, -3, true}, {23, -2, false}, {21, -5, true}, {30, 100, true},
    };
    for (const auto& c : cases) {
        alert_set_warning_level(c.threshold);
        EXPECT_EQ(alert_report(c.number), c.shown ? 1 : 0) << c.number << " at " << c.threshold;
        EXPECT_EQ(take_output().empty(), !c.shown);
    }
}

TEST_F(AlertTest, CountingAndFailure) {
    alert_set_warning_level(3);
    alert_report(22);  // hidden: not counted
    alert_set_warnings_fail(1);
    EXPECT_EQ(alert_failed(), 0);
    alert_report(30);  // unknown kind: shown, never counted
    alert_report(12, "m");
    EXPECT_EQ(alert_failed(), 0);
    alert_set_warning_level(0);
    alert_report(21);
    EXPECT_EQ(alert_failed(), 1);
    alert_set_warnings_fail(0);
    EXPECT_EQ(alert_failed(), 0);
    alert_report(10, "e");
    EXPECT_EQ(alert_failed(), 1);
}

TEST_F(AlertTest, DisabledAndOffMessages) {
    struct {
        const char* list;
        unsigned number;
        bool shown;
    } cases[] = {
        {"21", 21, false},    {"21", 12, true},      {"12", 12, false},
        {"10", 10, true},     {"10:OFF", 10, false}, {"5,10:oFf", 10, false},
        {"11:off", 11, true}, {"7,21,9", 21, false}, {"0", 21, false},
        {"0", 23, false},     {"0", 12, true},       {"0,10:off", 10, true},
        {"", 21, true},       {"22", 21, true},
    };
    for (const auto& c : cases) {
        alert_reset();
        alert_set_stream(stream_);
        use_catalogue(CATALOGUE);
        alert_set_warning_level(-10);
        alert_disable_messages(c.list);
        take_output();
        int shown = 0;
        try {
            shown = alert_report(c.number, "a");
        } catch (const run_ended&) {
            shown = 1;  // the fatal message ends the run once shown
        }
        EXPECT_EQ(shown, c.shown ? 1 : 0) << c.list << " / " << c.number;
        EXPECT_EQ(take_output().empty(), !c.shown) << c.list << " / " << c.number;
    }
    alert_reset();
    alert_set_stream(stream_);
    use_catalogue(CATALOGUE);
    alert_disable_messages("10:off");
    alert_report(10, "x");
    EXPECT_EQ(alert_failed(), 0);  // hidden errors are not counted
}

TEST_F(AlertTest, ErrorLimitEndsTheRun) {
    struct {
        unsigned limit;
        int threshold;
        unsigned shown_before_end;
        bool limit_line;
    } cases[] = {{2, 0, 3, true}, {0, 0, 1, true}, {1, 11, 2, false}, {1, 10, 2, true}};
    for (const auto& c : cases) {
        alert_reset();
        alert_set_stream(stream_);
        use_catalogue(CATALOGUE);
        take_output();
        EXPECT_EQ(alert_set_error_limit(c.limit), 20u);  // the start-up limit
        alert_set_warning_level(c.threshold);
        std::string expected;
        int status = -1;
        unsigned reported = 0;
        try {
            for (; reported < 10; ++reported) {
                expected += "(10) error x\n";
                alert_report(10, "x");
            }
        } catch (const run_ended& e) {
            status = e.status;
        }
        EXPECT_EQ(status, 1);
        EXPECT_EQ(reported + 1, c.shown_before_end);
        if (c.limit_line) expected += "too many errors (" + std::to_string(c.limit + 1) + ")\n";
        EXPECT_EQ(take_output(), expected) << c.limit;
    }
}

TEST_F(AlertTest, FatalMessageEndsTheRunAfterShowingIt) {
    int status = -1;
    try {
        alert_report(11, "f");
    } catch (const run_ended& e) {
        status = e.status;
    }
    EXPECT_EQ(status, 1);
    EXPECT_EQ(take_output(), "(11) fatal f\n");
    alert_set_warning_level(1000);
    EXPECT_THROW(alert_report(11, "f"), run_ended);  // no threshold applies
}

TEST_F(AlertTest, NumberWithoutEntryIsAnError) {
    alert_report(77);
    EXPECT_EQ(take_output(),
              "(77) An error, warning or message was generated, but no description is "
              "available\n");
    EXPECT_EQ(alert_failed(), 1);
}

TEST_F(AlertTest, ExplicitTexts) {
    EXPECT_EQ(alert_report_text(1, "M", "too many errors (%u)", 4u), 1);
    alert_report_unnumbered("0", "Could not open file %s", "x.html");
    alert_print("Could not open error description file %s\n", "e.txt");
    EXPECT_EQ(take_output(),
              "too many errors (4)\n"
              "(0) Could not open file x.html (warning)\n"
              "Could not open error description file e.txt\n\n");
    alert_set_warning_level(11);
    EXPECT_EQ(alert_report_text(3, "M", "hidden"), 0);
    EXPECT_EQ(alert_report_text(3, "12", "level %d", 12), 1);
    EXPECT_EQ(alert_report_text(3, "E", "error"), 0);
    EXPECT_EQ(take_output(), "(3) level 12 (warning)\n");
    EXPECT_EQ(alert_failed(), 0);  // explicit texts are never counted
}

TEST_F(AlertTest, PositionHookRunsBeforeEachShownReport) {
    static int calls;
    static int hook_line;
    calls = 0;
    hook_line = 40;
    alert_set_position_hook([] {
        ++calls;
        alert_set_position(u"h.c", &hook_line, nullptr, nullptr);
    });
    alert_set_warning_level(5);
    alert_report(21);  // suppressed: no hook
    alert_report(10, "x");
    EXPECT_EQ(calls, 1);
    EXPECT_EQ(take_output(), "h.c: 40: (10) error x\n");
}

// Conversions no report can feed, and texts whose conversions differ from
// the arguments the report passes, come out as plain text.
TEST_F(AlertTest, TextsAskingForOtherArgumentsAreShownPlain) {
    use_catalogue(
        "50 E bad %n here\n51 E float %5.2f\n52 E cut %\n53 E two %s %s\n"
        "54 E fine %-3s|%ld|%%|%c\n55 E width %*d\n56 E two %s %s\n");
    alert_set_argument_signatures([](unsigned n) -> const char* {
        switch (n) {
            case 53:
                return "s";
            case 54:
                return "sdd";
            case 55:
                return "d";
            default:
                return nullptr;
        }
    });
    alert_report(50);
    alert_report(51);
    alert_report(52);
    alert_report(53, "x");
    alert_report(54, "x", 5L, 'c');
    alert_report(55, 7);
    alert_report(56, "a", "b");  // no signature known: formatted
    EXPECT_EQ(take_output(),
              "(50) bad %n here\n"
              "(51) float %5.2f\n"
              "(52) cut %\n"
              "(53) two %s %s\n"
              "(54) fine x  |5|%|c\n"
              "(55) width %*d\n"
              "(56) two a b\n");
}

// A stream that cannot take the diagnostics keeps the reason of its first
// failed write, read right after it (a later flush finds nothing left to
// write and would leave errno alone); a new stream starts clean.
TEST_F(AlertTest, FirstFailedWriteOfTheStreamIsKept) {
    EXPECT_EQ(alert_write_error(), 0);
    alert_report(10, "fits");
    EXPECT_EQ(alert_write_error(), 0);
    std::FILE* full = std::fopen("/dev/full", "w");
    ASSERT_NE(full, nullptr);
    std::setvbuf(full, nullptr, _IOLBF, 512);
    alert_set_stream(full);
    at(u"abc\n", 2);
    alert_report(10, "lost");  // the source line and the message
    EXPECT_EQ(alert_write_error(), ENOSPC);
    errno = EBADF;
    alert_report(10, "lost too");
    EXPECT_EQ(alert_write_error(), ENOSPC);
    alert_set_stream(stream_);
    EXPECT_EQ(alert_write_error(), 0);
    std::fclose(full);
}

// A second run in the same process starts from scratch.
TEST_F(AlertTest, ResetReturnsToStartUp) {
    at(u"abc\n", 2);
    alert_report(40, "first");
    alert_set_warning_level(7);
    alert_disable_messages("10:off");
    alert_set_format_mode(1);
    take_output();
    alert_reset();
    alert_set_stream(stream_);
    use_catalogue(CATALOGUE);
    take_output();
    EXPECT_EQ(alert_failed(), 0);
    at(u"abc\n", 2);
    alert_report(10, "again");
    alert_report(21);
    EXPECT_EQ(take_output(),
              "f.c:\n     7:\tabc\n\t ^ (10) error again\n\t ^ (21) level one (warning)\n");
}

}  // namespace
