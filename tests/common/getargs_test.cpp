// Argument words from texts, command files and a console: quoting, blanks,
// continuation lines, CR LF, the 8191-character line and 255-character word
// limits with their messages, vector growth and repeated runs.
#include "common/getargs.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "common/alert.h"

namespace {

using words = std::vector<std::string>;

// Collects the diagnostics in a scratch stream; counts them by number.
class GetargsTest : public ::testing::Test {
   protected:
    void SetUp() override {
        alert_reset();
        messages = std::tmpfile();
        ASSERT_NE(messages, nullptr);
        alert_set_stream(messages);
        getargs_reset();
    }
    void TearDown() override {
        getargs_set_input(nullptr);
        getargs_reset();
        alert_reset();
        if (input) std::fclose(input);
        if (messages) std::fclose(messages);
        input = nullptr;
        messages = nullptr;
    }

    int reported(unsigned number) {
        std::fflush(messages);
        std::string text;
        std::rewind(messages);
        for (int c; (c = std::getc(messages)) != EOF;) text.push_back(static_cast<char>(c));
        std::string tag = "(" + std::to_string(number) + ")";
        int count = 0;
        for (std::size_t at = text.find(tag); at != std::string::npos; at = text.find(tag, at + 1))
            count++;
        return count;
    }

    // The words after element 0, checking the vector's shape on the way.
    static words unpack(char** argv) {
        EXPECT_NE(argv, nullptr);
        EXPECT_GE(getargs_count, 1);
        EXPECT_STREQ(argv[0], "");
        EXPECT_EQ(argv[getargs_count], nullptr);
        return words(argv + 1, argv + getargs_count);
    }

    words from_file(const std::string& bytes) {
        if (input) std::fclose(input);
        input = std::tmpfile();
        EXPECT_NE(input, nullptr);
        std::fwrite(bytes.data(), 1, bytes.size(), input);
        std::rewind(input);
        getargs_set_input(input);
        return unpack(read_arguments(nullptr, "cpp"));
    }

    words from_text(const char* text) { return unpack(read_arguments(text, "cpp")); }

    std::FILE* messages = nullptr;
    std::FILE* input = nullptr;
};

struct file_case {
    const char* what;
    std::string bytes;
    words expected;
};

TEST_F(GetargsTest, CommandFileWords) {
    const file_case cases[] = {
        {"empty file", "", {}},
        {"blanks only", " \t\n\n  \n", {}},
        {"quoted section", "-Dx=1   \"a b\"\n", {"-Dx=1", "a b"}},
        {"apostrophes keep quotes", "'say \"hi\"'", {"say \"hi\""}},
        {"quotes keep apostrophes", "\"it's\" x", {"it's", "x"}},
        {"sections inside a word", "a\"b c\"d e'f g'", {"ab cd", "ef g"}},
        {"empty section", "\"\" ''", {"", ""}},
        {"every line read", "a\nb\n\nc  d\n", {"a", "b", "c", "d"}},
        {"leading and trailing blanks", "  \t a  \t b \t \n  ", {"a", "b"}},
        {"backslash is ordinary", "x\\y \\z", {"x\\y", "\\z"}},
        {"continuation inside a word", "ab\\\ncd", {"abcd"}},
        {"continuation between words", "ab \\\ncd\n", {"ab", "cd"}},
        {"continuation before a blank", "ab\\\n cd\n", {"ab", "cd"}},
        {"continuation lines in a row", "a\\\n\\\nb", {"ab"}},
        {"continuation in a section", "\"a \\\nb\" c", {"a b", "c"}},
        {"continuation at end of file", "a b\\", {"a", "b"}},
        {"CR LF lines", "a\r\nb c\r\n", {"a", "b", "c"}},
        {"CR LF continuation", "ab\\\r\ncd\r\n", {"abcd"}},
        {"lone CR is kept", "a\rb\n", {"a\rb"}},
        {"open section at end of file", "x \"open quote", {"x", "open quote"}},
        {"newline inside a section", "\"two\nlines\" z", {"two\nlines", "z"}},
        {"no final newline", "last", {"last"}},
    };
    for (const auto& c : cases) {
        getargs_reset();
        EXPECT_EQ(from_file(c.bytes), c.expected) << c.what;
        EXPECT_EQ(getargs_count, static_cast<int>(c.expected.size()) + 1) << c.what;
    }
    EXPECT_EQ(reported(337) + reported(917), 0);
}

struct text_case {
    const char* text;
    words expected;
};

TEST_F(GetargsTest, TextWords) {
    const text_case cases[] = {
        {"", {}},
        {"   ", {}},
        {"  -a  -b   ", {"-a", "-b"}},
        {"-o out.i\r", {"-o", "out.i"}},
        {"a \r \r", {"a"}},
        {"x\\\ny", {"x\\", "y"}},
        {"'a b'\"c d\"", {"a bc d"}},
        {"\t\"q\"\t", {"q"}},
    };
    for (const auto& c : cases) EXPECT_EQ(from_text(c.text), c.expected) << c.text;
}

TEST_F(GetargsTest, TextIsNotChanged) {
    const std::string original = "  a b  \r";
    std::string text = original;
    EXPECT_EQ(from_text(text.c_str()), (words{"a", "b"}));
    EXPECT_EQ(text, original);
}

std::string short_words_line(std::size_t length) {
    std::string line;
    while (line.size() < length) line += line.size() % 2 == 0 ? 'x' : ' ';
    return line;
}

TEST_F(GetargsTest, LineThatFillsTheBufferIsReportedAndKept) {
    struct {
        std::size_t length;  // characters before the line end
        const char* end;
        int reports;
    } cases[] = {
        {8189, "\n", 0}, {8190, "\n", 1},  {8189, "\r\n", 0},
        {8191, "\n", 1}, {10000, "\n", 1}, {20000, "\n", 2},
    };
    for (const auto& c : cases) {
        SetUp();
        std::string line = short_words_line(c.length);
        words got = from_file(line + c.end + "tail\n");
        std::size_t expected_words = (c.length + 1) / 2 + 1;
        ASSERT_EQ(got.size(), expected_words) << c.length;
        EXPECT_EQ(got.back(), "tail");
        for (std::size_t i = 0; i + 1 < got.size(); i++) ASSERT_EQ(got[i], "x") << i;
        EXPECT_EQ(reported(337), c.reports) << c.length << " " << c.end;
        TearDown();
    }
}

TEST_F(GetargsTest, WordAcrossAFilledBufferStaysWhole) {
    // The first read stops after the "a"; the word goes on in the next one.
    words got = from_file(short_words_line(8190) + "abcd efg\n");
    ASSERT_EQ(got.size(), 4097u);
    EXPECT_EQ(got[4094], "x");
    EXPECT_EQ(got[4095], "abcd");
    EXPECT_EQ(got[4096], "efg");
    EXPECT_EQ(reported(337), 1);
}

TEST_F(GetargsTest, LongWordIsReportedOnceAndCut) {
    struct {
        std::size_t length;
        bool quoted;
        int reports;
    } cases[] = {{254, false, 0},  {255, false, 0}, {256, false, 1},
                 {1000, false, 1}, {256, true, 1},  {255, true, 0}};
    for (const auto& c : cases) {
        SetUp();
        std::string word(c.length, 'w');
        word[0] = 'A';
        std::string bytes = c.quoted ? "\"" + word + "\"" : word;
        words got = from_file(bytes + " next\n");
        ASSERT_EQ(got.size(), 2u) << c.length;
        EXPECT_EQ(got[0], word.substr(0, 255)) << c.length;
        EXPECT_EQ(got[1], "next");
        EXPECT_EQ(reported(917), c.reports) << c.length;
        TearDown();
    }
}

TEST_F(GetargsTest, ManyWordsGrowTheVector) {
    std::string bytes;
    words expected;
    for (int i = 0; i < 350; i++) {
        expected.push_back("w" + std::to_string(i));
        bytes += expected.back() + (i % 7 == 6 ? "\n" : " ");
    }
    EXPECT_EQ(from_file(bytes), expected);
    EXPECT_EQ(getargs_count, 351);
}

TEST_F(GetargsTest, EarlierResultsStayValidUntilReset) {
    char** first = read_arguments("one two", "cpp");
    char** second = read_arguments("three", "cpp");
    EXPECT_EQ(getargs_count, 2);
    EXPECT_STREQ(first[1], "one");
    EXPECT_STREQ(first[2], "two");
    EXPECT_STREQ(second[1], "three");
    getargs_reset();
    EXPECT_EQ(getargs_count, 0);
    for (int run = 0; run < 2; run++) {
        EXPECT_EQ(from_file("a 'b c'\n"), (words{"a", "b c"}));
        getargs_reset();
    }
}

}  // namespace

// A pseudo-terminal stands in for the console: lines typed at it arrive one
// by one, and the reader has to stop at the first line not continued. (There
// is none on Windows.)
#ifndef _WIN32
#include <fcntl.h>
#include <unistd.h>

namespace {

class GetargsConsoleTest : public GetargsTest {
   protected:
    void SetUp() override {
        GetargsTest::SetUp();
        master = posix_openpt(O_RDWR | O_NOCTTY);
        if (master < 0 || grantpt(master) != 0 || unlockpt(master) != 0)
            GTEST_SKIP() << "no pseudo-terminal available";
        int slave = open(ptsname(master), O_RDWR | O_NOCTTY);
        ASSERT_GE(slave, 0);
        input = fdopen(slave, "r");
        ASSERT_NE(input, nullptr);
        ASSERT_TRUE(isatty(fileno(input)));
    }
    void TearDown() override {
        GetargsTest::TearDown();
        input = nullptr;
        if (master >= 0) close(master);
    }

    void type(const std::string& text) {
        ASSERT_EQ(write(master, text.data(), text.size()), static_cast<ssize_t>(text.size()));
    }

    int master = -1;
};

TEST_F(GetargsConsoleTest, PromptsForEveryContinuedLine) {
    type("-a \"b c\" \\\n-d\\\ne\nleft over\n");
    getargs_set_input(input);
    testing::internal::CaptureStderr();
    char** argv = read_arguments(nullptr, "cpp");
    std::string prompts = testing::internal::GetCapturedStderr();
    EXPECT_EQ(unpack(argv), (words{"-a", "b c", "-de"}));
    EXPECT_EQ(prompts, "cpp> cpp> cpp> ");
    // The line after the last one needed is still unread.
    char rest[32] = {};
    ASSERT_NE(std::fgets(rest, sizeof rest, input), nullptr);
    EXPECT_STREQ(rest, "left over\n");
}

TEST_F(GetargsConsoleTest, EmptyLineGivesNoWords) {
    type("\n");
    getargs_set_input(input);
    testing::internal::CaptureStderr();
    char** argv = read_arguments(nullptr, "tool");
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "tool> ");
    EXPECT_EQ(unpack(argv), words{});
    EXPECT_EQ(getargs_count, 1);
}

}  // namespace
#endif
