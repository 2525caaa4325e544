// Argument words from a text, a command file and the console: blanks and
// quoted sections, continuation lines, CR LF, the 8191-character line and
// 255-character word limits (the console prompt: getargs_posix_test.cpp).
#include "common/getargs.h"

#include <gtest/gtest.h>

#include <string>
#include <tuple>
#include <vector>

#include "common/alert.h"

namespace {

using words = std::vector<std::string>;

class Getargs : public ::testing::Test {
   protected:
    void SetUp() override {
        alert_reset();
        alert_set_formats("%n", "%n", "%n");  // a report shows only its number
        alert_set_format_mode(1);
    }
    void TearDown() override {
        getargs_reset();
        alert_reset();
    }
    // Reads `bytes` as a command file, or `text` with the file as standard
    // input; what it reported goes to `reports_`. Returns the words after
    // element 0, checking the shape of the vector.
    words from_file(const std::string& bytes, const char* text = nullptr) {
        getargs_reset();
        std::FILE* input = std::tmpfile();
        std::fwrite(bytes.data(), 1, bytes.size(), input);
        std::rewind(input);
        getargs_set_input(input);
        testing::internal::CaptureStderr();
        char** argv = read_arguments(text, "cpp");
        reports_ = testing::internal::GetCapturedStderr();
        getargs_set_input(nullptr);
        std::fclose(input);
        EXPECT_STREQ(argv[0], "");
        EXPECT_EQ(argv[getargs_count], nullptr);
        return words(argv + 1, argv + getargs_count);
    }
    std::string reports_;
};

TEST_F(Getargs, WordsOfCommandFilesAndTexts) {
    const std::pair<const char*, words> files[] = {
        {"", {}},
        {" \t\n\n  \n", {}},
        {"'say \"hi\"' \"it's\"", {"say \"hi\"", "it's"}},
        {"a\"b c\"d e'f g' \"\"", {"ab cd", "ef g", ""}},
        {"x\\y \\z", {"x\\y", "\\z"}},
        {"ab\\\ncd e\\\n f \\\ng", {"abcd", "e", "f", "g"}},
        {"\"a \\\nb\" c\\", {"a b", "c"}},
        {"a\r\nb\\\r\nc\r\n", {"a", "bc"}},
        {"a\rb\n\"two\nlines\" \"open", {"a\rb", "two\nlines", "open"}}};
    for (const auto& [bytes, expected] : files) {
        EXPECT_EQ(from_file(bytes), expected) << bytes;
        EXPECT_EQ(reports_, "");
    }
    EXPECT_EQ(from_file("unread", "  -a  'b c'\\\nd \r \r"), (words{"-a", "b c\\", "d"}));
}

std::string short_words(std::size_t length) {  // "x x x ..."
    std::string s;
    while (s.size() < length) s += s.size() % 2 ? ' ' : 'x';
    return s;
}

// A line that fills the 8191 characters of the buffer draws 337 and goes on
// in the next read, a CR LF ending it in time included; a quoted word keeps
// 255 characters and draws 917 once.
TEST_F(Getargs, LineAndWordLimits) {
    const std::string w255 = "A" + std::string(254, 'w');
    const std::tuple<std::string, std::size_t, std::string, const char*> cases[] = {
        {short_words(8189) + "\r\nlast", 4096, "last", ""},
        {short_words(8190) + "abcd", 4096, "abcd", "337\n"},
        {short_words(20000), 10000, "x", "337\n337\n"},
        {"next \"" + w255 + "w\"", 2, w255, "917\n"},
        {short_words(699), 350, "x", ""}};
    for (const auto& [bytes, count, last, reports] : cases) {
        words got = from_file(bytes);
        ASSERT_EQ(got.size(), count) << bytes.size();
        EXPECT_EQ(got.back(), last);
        EXPECT_EQ(reports_, reports) << bytes.size();
    }
}

}  // namespace
