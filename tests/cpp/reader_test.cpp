// The character reader: pushback over trigraphs, comments, line ends and the
// end-of-expansion marker; file lines, pieces and control characters; the
// bookkeeping of finished expansions; whole runs repeated in one process.
#include "cpp/reader.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <sstream>
#include <string>
#include <string_view>

#include "cpp/driver.h"
#include "cpp/macro_table.h"
#include "cpp/scanner.h"

namespace {

using namespace std::literals;

class ReaderTest : public ::testing::Test {
   protected:
    void SetUp() override {
        reader_reset();
        driver = {};
    }
    void TearDown() override { reader_reset(); }

    // Pushes a file source whose file holds exactly these bytes.
    static void push_file(const std::string& bytes, const char* name = "t.c") {
        std::FILE* f = std::tmpfile();
        ASSERT_NE(f, nullptr);
        std::fwrite(bytes.data(), 1, bytes.size(), f);
        std::rewind(f);
        push_file_source(f, name, true);
    }

    // Reads until the end of all input; markers are shown as '@'.
    static std::string read_all() {
        std::string s;
        for (int c; (c = next_char()) != 0;) s += c == MARK_END ? '@' : static_cast<char>(c);
        return s;
    }
};

TEST_F(ReaderTest, FileTextPassesThroughWithLineEnds) {
    struct {
        std::string_view in;
        std::string_view out;
    } cases[] = {
        {"abc", "abc\n"},          // last line gets its newline
        {"a\r\nb\r\n", "a\nb\n"},  // CR LF read as LF
        {"a\rb\n", "ab\n"},        // a lone CR is dropped
        {"a\vb\fc\n", "a b c\n"},  // VT and FF become spaces
        {"a\\\nb\n", "ab\n"},      // splice
        {"a\\b\n", "a\\b\n"},      // backslash kept
        {"a\\\\\nb\n", "a\\b\n"},  // the second backslash splices
        {"\\\r\\\nx\n", "\\x\n"},
        {"\\?\?/\nx\n", "\\x\n"},  // ... also when written as a trigraph
        {"?\?=?\?(?\?/?\?)?\?'?\?<?\?!?\?>?\?-\n", "#[\\]^{|}~\n"},
        {"??x?\?=\n", "??x#\n"},     // '??' before another character
        {"a/**/b\n", "a b\n"},       // comment as a space
        {"a/* x */ b\n", "a b\n"},   // comment vanishes before a blank
        {"a /* x */\n", "a \n"},     // ... and before a line end
        {"a // b\nc\n", "a \nc\n"},  // line comment keeps the newline
        {"a // b", "a \n"},          // and at the end of input
        {"a/b/\n", "a/b/\n"},
        {"x ?\?/\ny\n", "x y\n"},        // trigraph backslash splices
        {"/* ?\?/\n */x\n", " x\n"},     // trigraphs inside comments too
        {"ab\0cd\nef\n"sv, "ab\nef\n"},  // NUL drops the rest of its line
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.in));
        reader_reset();
        push_file(std::string(c.in));
        EXPECT_EQ(read_all(), c.out);
    }
}

TEST_F(ReaderTest, LongBackslashRunDoesNotNest) {
    std::string run(3'000'000, '\\');
    push_file(run + "\n");
    std::size_t n = 0;
    for (int c; (c = next_char()) == '\\';) ++n;
    EXPECT_EQ(n, run.size() - 1);  // the last one joins the line end
}

TEST_F(ReaderTest, NulLineStillCounts) {
    push_file(std::string("ab\0cd\nef\n", 9));
    EXPECT_EQ(read_all(), "ab\nef\n");
    // Two newlines were read, so two lines were counted from line 1.
    reader_reset();
    push_file(std::string("ab\0cd\nef\n", 9));
    for (int i = 0; i < 3; ++i) next_char();
    EXPECT_EQ(reader.current_line, 2);
}

TEST_F(ReaderTest, TrigraphPushbackRereadsReplacement) {
    push_file("?\?=x\n");
    EXPECT_EQ(next_char(), '#');
    unget_char();
    EXPECT_EQ(next_char(), '#');
    EXPECT_EQ(next_char(), 'x');
}

TEST_F(ReaderTest, CommentSpacePushbackRereadsSpace) {
    push_file("a/**/b\n");
    EXPECT_EQ(next_char(), 'a');
    EXPECT_EQ(next_char(), ' ');
    unget_char();
    EXPECT_EQ(next_char(), ' ');
    EXPECT_EQ(next_char(), 'b');
}

TEST_F(ReaderTest, NewlinePushbackUndoesLineCount) {
    push_file("a\nb\n");
    EXPECT_EQ(reader.current_line, 1);
    next_char();
    EXPECT_EQ(next_char(), '\n');
    EXPECT_EQ(reader.current_line, 2);
    unget_char();
    EXPECT_EQ(reader.current_line, 1);
    EXPECT_EQ(next_char(), '\n');
    EXPECT_EQ(reader.current_line, 2);
}

TEST_F(ReaderTest, RemovedLineEndsRequestResync) {
    struct {
        const char* in;
        int line;  // after the second character
    } cases[] = {{"a\\\nb\n", 2}, {"a/*\n*/b\n", 2}, {"a// x\\\ny\nb\n", 3}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.in);
        reader_reset();
        push_file(c.in);
        reader.sync_needed = 0;
        next_char();
        EXPECT_EQ(reader.sync_needed, 0);
        next_char();
        EXPECT_EQ(reader.sync_needed, 1);
        EXPECT_EQ(reader.current_line, c.line);
    }
}

TEST_F(ReaderTest, EchoedCommentIsCopiedOnceWithoutResync) {
    std::FILE* out = std::tmpfile();
    driver.out = out;
    reader.echo_comments = 1;
    push_file("a/* x\n */b // y\n");
    reader.sync_needed = 0;
    EXPECT_EQ(read_all(), "a b \n");
    EXPECT_EQ(reader.sync_needed, 0);
    std::rewind(out);
    char buf[64] = {};
    std::size_t n = std::fread(buf, 1, sizeof buf, out);
    EXPECT_EQ(std::string(buf, n), "/* x\n */// y");
    std::fclose(out);
    driver.out = nullptr;
}

TEST_F(ReaderTest, LongLineIsReadInPiecesWithoutAdditions) {
    std::string line(3 * 8191 + 5, 'x');
    push_file(line + "\nz");
    std::string got = read_all();
    EXPECT_EQ(got, line + "\nz\n");
    EXPECT_EQ(reader.current_line, 3);
}

TEST_F(ReaderTest, ExactPieceLengthLineEndsWithItsNewline) {
    std::string line(8191, 'y');
    push_file(line + "\nq\n");
    EXPECT_EQ(read_all(), line + "\nq\n");
}

TEST_F(ReaderTest, MacroTextEndsWithMarkerThatPushbackRepeats) {
    macro_def m;
    m.active = 1;
    push_text_source(u"ab");
    push_text_source(u"xy");
    reader.current_source->macro = &m;
    EXPECT_EQ(next_char(), 'x');
    EXPECT_EQ(next_char(), 'y');
    EXPECT_EQ(next_char(), MARK_END);
    unget_char();
    EXPECT_EQ(next_char(), MARK_END);
    EXPECT_EQ(m.active, 1);  // still inside the expansion
    EXPECT_EQ(next_char(), 'a');
    EXPECT_EQ(m.active, 0);
    EXPECT_EQ(next_char(), 'b');
    EXPECT_EQ(next_char(), 0);
    EXPECT_EQ(m.active, 0);
}

TEST_F(ReaderTest, ArgumentTextReenablesItsMacro) {
    macro_def m;
    m.active = 0;
    push_text_source(u"z");
    push_text_source(u"q");
    reader.current_source->reenable_macro = &m;
    EXPECT_EQ(next_char(), 'q');
    EXPECT_EQ(m.active, 0);
    EXPECT_EQ(next_char(), 'z');
    EXPECT_EQ(m.active, 1);
}

TEST_F(ReaderTest, FinishedExpansionsLowerDepthOnNextRead) {
    macro_def outer, inner;
    outer.active = inner.active = 1;
    push_file("f\n");
    push_text_source(u"ab");
    reader.current_source->macro = &outer;
    push_text_source(u"c");
    reader.current_source->macro = &inner;
    reader.expansion_depth = 2;
    EXPECT_EQ(next_char(), 'c');
    EXPECT_EQ(next_char(), MARK_END);
    EXPECT_EQ(next_char(), 'a');
    EXPECT_EQ(reader.expansion_depth, 2);  // the pop is only noted on the file
    EXPECT_TRUE(reader.bookkeeping);
    EXPECT_EQ(next_char(), 'b');  // must not take a path that skips the count
    EXPECT_EQ(reader.expansion_depth, 1);
    EXPECT_FALSE(reader.bookkeeping);
}

TEST_F(ReaderTest, IncludedFileReturnsToIncluderAtSavedLine) {
    push_file("a\nb\nc\n", "main.c");
    next_char();
    next_char();
    EXPECT_EQ(reader.current_line, 2);
    push_file("x\n", "inc.h");
    EXPECT_EQ(reader.current_line, 1);
    reader.sync_needed = 0;
    EXPECT_EQ(next_char(), 'x');
    EXPECT_EQ(next_char(), '\n');
    EXPECT_EQ(next_char(), 'b');
    EXPECT_EQ(reader.current_line, 2);
    EXPECT_EQ(reader.sync_needed, 1);
}

TEST_F(ReaderTest, RawInputLeavesCommentsSplicesAndControlsAlone) {
    push_file("/*\\\n\r*/\n");
    reader.raw_input = 1;
    std::string got;
    for (int i = 0; i < 8; ++i) got += static_cast<char>(next_char());
    EXPECT_EQ(got, "/*\\\n\r*/\n");
}

TEST_F(ReaderTest, MainSourceOutlivesItsFile) {
    push_file("a");
    reader.main_source = reader.current_source;
    EXPECT_EQ(read_all(), "a\n");
    EXPECT_EQ(reader.current_source, nullptr);
    ASSERT_NE(reader.finished_main, nullptr);
    EXPECT_EQ(reader.finished_main.get(), reader.main_source);
}

// One run writes the output file; a second run in the same process must
// write exactly the same bytes.
TEST(RunTest, SecondRunInSameProcessGivesSameOutput) {
    std::string dir = ::testing::TempDir();
    std::string in = dir + "spine_run_in.c";
    std::string out1 = dir + "spine_run_out1.i";
    std::string out2 = dir + "spine_run_out2.i";
    {
        std::ofstream f(in, std::ios::binary);
        f << "int  a; /* c */\n\n\n\n\n\nb ?\?= \"s\" 'c' 1.5e3L\nlast";
    }
    auto run_once = [&](const std::string& out) {
        std::string a0 = "cpp", a1 = in, a2 = out;
        char* argv[] = {a0.data(), a1.data(), a2.data(), nullptr};
        return run(3, argv);
    };
    // Read as text: CR LF on Windows is LF.
    auto slurp = [](const std::string& path) {
        std::ifstream f(path);
        std::stringstream ss;
        ss << f.rdbuf();
        return ss.str();
    };
    EXPECT_EQ(run_once(out1), 0);
    EXPECT_EQ(run_once(out2), 0);
    std::string expected = "\n# 1 \"" + in + "\"\nint a;\n\n# 7\nb # \"s\" 'c' 1.5e3L\nlast\n";
    EXPECT_EQ(slurp(out1), expected);
    EXPECT_EQ(slurp(out2), expected);
}

}  // namespace
