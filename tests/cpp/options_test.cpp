// The option parser: file arguments moved to the front, option order, the
// sizeof lists, the identifier length clamp, the include directory limit, the
// dependency-list forms and the messages of bad options.
#include "cpp/options.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdio>
#include <optional>
#include <regex>
#include <string>
#include <vector>

#include "common/alert.h"
#include "cpp/driver.h"
#include "cpp/expr.h"
#include "cpp/include.h"
#include "cpp/macro_table.h"
#include "cpp/reader.h"
#include "cpp/scanner.h"

namespace {

class OptionsTest : public ::testing::Test {
   protected:
    void SetUp() override {
        options_reset();
        macros_reset();
        expr_reset();
        alert_reset();
        driver = {};
        reader.echo_comments = 0;
        scanner.max_ident_len = 31;
        messages_ = std::tmpfile();
        alert_set_stream(messages_);
    }

    void TearDown() override {
        alert_set_stream(stderr);
        if (driver.dep_stream != nullptr && driver.dep_stream_owned) std::fclose(driver.dep_stream);
        if (driver.err_file != nullptr) std::fclose(driver.err_file);
        driver = {};
        macros_reset();
        std::fclose(messages_);
    }

    // Parses "cpp" followed by `args`; the strings stay alive for the test,
    // since the parser keeps pointers into them.
    int parse(const std::vector<std::string>& args) {
        storage_ = {"cpp"};
        storage_.insert(storage_.end(), args.begin(), args.end());
        argv_.clear();
        for (std::string& s : storage_) argv_.push_back(s.data());
        argv_.push_back(nullptr);
        return parse_options(static_cast<int>(storage_.size()), argv_.data());
    }

    // The message numbers written so far, in order.
    std::vector<unsigned> reported() {
        std::fflush(messages_);
        std::rewind(messages_);
        std::string text;
        for (int c; (c = std::fgetc(messages_)) != EOF;) text.push_back(static_cast<char>(c));
        std::vector<unsigned> numbers;
        static const std::regex number(R"(\((\d+)\) )");
        for (auto it = std::sregex_iterator(text.begin(), text.end(), number);
             it != std::sregex_iterator(); ++it)
            numbers.push_back(static_cast<unsigned>(std::stoul((*it)[1])));
        return numbers;
    }

    std::string messages_text() {
        std::fflush(messages_);
        std::rewind(messages_);
        std::string text;
        for (int c; (c = std::fgetc(messages_)) != EOF;) text.push_back(static_cast<char>(c));
        return text;
    }

    std::vector<std::string> storage_;
    std::vector<char*> argv_;
    std::FILE* messages_ = nullptr;
};

std::u16string widen(const std::string& s) {
    return {s.begin(), s.end()};
}

// The record named `name` in the macro table, if any.
const macro_def* find_macro(const std::string& name) {
    std::u16string wide = widen(name);
    macro_table_settle();
    for (const macro_def* head : macros.macro_table)
        for (const macro_def* m = head; m != nullptr; m = m->next)
            if (std::u16string(m->name.get()) == wide) return m;
    return nullptr;
}

std::optional<std::string> macro_body(const std::string& name) {
    const macro_def* m = find_macro(name);
    if (m == nullptr) return std::nullopt;
    std::string body;
    for (const wchar* p = m->body.get(); *p != 0; ++p) body.push_back(static_cast<char>(*p));
    return body;
}

std::string temp_path(const char* leaf) {
    return ::testing::TempDir() + "options_test_" + std::to_string(::getpid()) + "_" + leaf;
}

// --- file arguments --------------------------------------------------------

struct files_case {
    std::vector<std::string> args;
    int kept;
    std::vector<std::string> files;
    std::vector<unsigned> msgs;
};

class FileArguments : public OptionsTest, public ::testing::WithParamInterface<files_case> {};

TEST_P(FileArguments, AreMovedToTheFrontInOrder) {
    const files_case& c = GetParam();
    ASSERT_EQ(parse(c.args), c.kept);
    for (std::size_t i = 0; i < c.files.size(); ++i) EXPECT_EQ(argv_[i + 1], c.files[i]) << i;
    EXPECT_EQ(reported(), c.msgs);
}

INSTANTIATE_TEST_SUITE_P(
    Options, FileArguments,
    ::testing::Values(files_case{{}, 1, {}, {}},
                      files_case{{"-DDEBUG", "in.c", "out.c"}, 3, {"in.c", "out.c"}, {}},
                      files_case{{"in.c", "-C", "-"}, 3, {"in.c", "-"}, {}},
                      files_case{{"-", "-N40"}, 2, {"-"}, {}},
                      files_case{{"a", "-C", "b", "c"}, 4, {"a", "b", "c"}, {110}},
                      files_case{{"a", "b", "c", "d"}, 5, {"a", "b", "c", "d"}, {110}}));

// --- -D and -U, applied in order -----------------------------------------

struct macro_case {
    std::vector<std::string> args;
    std::string name;
    std::optional<std::string> body;
    std::vector<unsigned> msgs;
};

class MacroOptions : public OptionsTest, public ::testing::WithParamInterface<macro_case> {};

TEST_P(MacroOptions, TakeEffectInCommandLineOrder) {
    const macro_case& c = GetParam();
    parse(c.args);
    EXPECT_EQ(macro_body(c.name), c.body);
    if (c.body) {
        EXPECT_EQ(find_macro(c.name)->nparams, -1);
    }
    EXPECT_EQ(reported(), c.msgs);
}

const std::string long_name(300, 'n');

INSTANTIATE_TEST_SUITE_P(
    Options, MacroOptions,
    ::testing::Values(macro_case{{"-DX"}, "X", "1", {}}, macro_case{{"-DX="}, "X", "", {}},
                      macro_case{{"-DX=a=b"}, "X", "a=b", {}}, macro_case{{"-dX=2"}, "X", "2", {}},
                      macro_case{{"-DX=1", "-DX=2"}, "X", "2", {}},
                      macro_case{{"-DX=1", "-UX"}, "X", std::nullopt, {}},
                      macro_case{{"-UX", "-DX=3"}, "X", "3", {177}},
                      macro_case{{"-DX", "-uX", "-UX"}, "X", std::nullopt, {177}},
                      macro_case{{"-DF(x)=x"}, "F(x)", "x", {}},
                      macro_case{{"-DA=  spaced  text "}, "A", "  spaced  text ", {}},
                      // Names are cut at 255 characters, for -D and -U alike.
                      macro_case{{"-D" + long_name + "=v"}, long_name.substr(0, 255), "v", {}},
                      macro_case{{"-D" + long_name + "=v", "-U" + long_name},
                                 long_name.substr(0, 255),
                                 std::nullopt,
                                 {}}));

// --- -S, -SP, -S* ----------------------------------------------------------

struct sizes_case {
    std::string arg;
    std::vector<int> size;     // one per row; -1: the default stays
    std::vector<int> pointer;  // likewise
    std::vector<unsigned> msgs;
};

class SizeLists : public OptionsTest, public ::testing::WithParamInterface<sizes_case> {};

TEST_P(SizeLists, FillTheirColumnOfTheSizeofTable) {
    const sizes_case& c = GetParam();
    const expr_state defaults;
    parse({c.arg});
    for (int row = 0; row < SIZE_ROWS; ++row) {
        int size = c.size.empty() ? -1 : c.size[row];
        int pointer = c.pointer.empty() ? -1 : c.pointer[row];
        EXPECT_EQ(expr.sizes[row].size, size < 0 ? defaults.sizes[row].size : size) << row;
        EXPECT_EQ(expr.sizes[row].pointer_size,
                  pointer < 0 ? defaults.sizes[row].pointer_size : pointer)
            << row;
    }
    EXPECT_EQ(reported(), c.msgs);
}

INSTANTIATE_TEST_SUITE_P(
    Options, SizeLists,
    ::testing::Values(
        // Six plain sizes pass over `short long`; seven cover it.
        sizes_case{"-S11,12,13,14,15,16", {11, 12, 13, -1, 14, 15, 16, -1}, {}, {}},
        sizes_case{"-S11,12,13,3,14,15,16", {11, 12, 13, 3, 14, 15, 16, -1}, {}, {}},
        // Any non-digit separates numbers; only commas decide about `short long`.
        sizes_case{"-s11 , 12;13,14,15,x16", {11, 12, 13, -1, 14, 15, 16, -1}, {}, {}},
        sizes_case{"-S1,2,3,4,5,6;7", {1, 2, 3, -1, 4, 5, 6, -1}, {}, {167}},
        // Seven pointer sizes pass over `short long`; eight cover it.
        sizes_case{"-SP21,22,23,24,25,26,27", {}, {21, 22, 23, -1, 24, 25, 26, 27}, {}},
        sizes_case{"-S*21,22,23,9,24,25,26,27", {}, {21, 22, 23, 9, 24, 25, 26, 27}, {}},
        // Only an upper-case P selects the pointer column.
        sizes_case{"-sp1,2,3,4,5,6", {1, 2, 3, -1, 4, 5, 6, -1}, {}, {}},
        // Too short: what was read stays.
        sizes_case{"-S1,2", {1, 2, -1, -1, -1, -1, -1, -1}, {}, {166}},
        sizes_case{"-S", {}, {}, {166}}, sizes_case{"-SP", {}, {}, {166}},
        // Text left over once every row has its size.
        sizes_case{"-S1,2,3,4,5,6,7,8", {1, 2, 3, 4, 5, 6, 7, -1}, {}, {167}},
        sizes_case{"-S1,2,3,4,5,6,7,", {1, 2, 3, 4, 5, 6, 7, -1}, {}, {167}},
        // Sizes are 16-bit values.
        sizes_case{"-S70000,2,3,4,5,6", {70000 & 0xFFFF, 2, 3, -1, 4, 5, 6, -1}, {}, {}}));

// --- -N ----------------------------------------------------------------------

struct ident_case {
    std::vector<std::string> args;
    int max_ident_len;
    int suppress_predefined;
};

class IdentifierLength : public OptionsTest, public ::testing::WithParamInterface<ident_case> {};

TEST_P(IdentifierLength, IsClampedTo31Through255) {
    const ident_case& c = GetParam();
    parse(c.args);
    EXPECT_EQ(scanner.max_ident_len, c.max_ident_len);
    EXPECT_EQ(options.suppress_predefined, c.suppress_predefined);
    EXPECT_TRUE(reported().empty());
}

INSTANTIATE_TEST_SUITE_P(
    Options, IdentifierLength,
    ::testing::Values(ident_case{{}, 31, 0}, ident_case{{"-N40"}, 40, 0},
                      ident_case{{"-N10"}, 31, 0}, ident_case{{"-N1000"}, 255, 0},
                      ident_case{{"-N255"}, 255, 0}, ident_case{{"-N300", "-n50"}, 50, 0},
                      ident_case{{"-N99999999999999"}, 255, 0}, ident_case{{"-N", "-nx"}, 31, 2}));

// --- unknown options -------------------------------------------------------

class UnknownOptions : public OptionsTest, public ::testing::WithParamInterface<std::string> {};

TEST_P(UnknownOptions, Report168AndGoOn) {
    EXPECT_EQ(parse({GetParam(), "in.c"}), 2);
    EXPECT_EQ(reported(), std::vector<unsigned>{168});
}

INSTANTIATE_TEST_SUITE_P(Options, UnknownOptions,
                         ::testing::Values("-X", "-q", "-1", "-+", "--", "--versions", "--verx",
                                           "--foo=1", "--edf", "--emax", "-h", "--h",
                                           "--helpx", "-o"));

// --- the rest ---------------------------------------------------------------

TEST_F(OptionsTest, The256thIncludeDirectoryIsDroppedWith147) {
    std::vector<std::string> args;
    for (int i = 0; i < 256; ++i) args.push_back("-Idir" + std::to_string(i));
    parse(args);
    EXPECT_EQ(reported(), std::vector<unsigned>{147});
    ASSERT_EQ(options.include_count, MAX_INCLUDE_DIRS);
    EXPECT_STREQ(options.include_dirs[0], "dir0");
    EXPECT_STREQ(options.include_dirs[254], "dir254");
}

TEST_F(OptionsTest, DependencyListAloneSuppressesOutput) {
    parse({"-L"});
    EXPECT_EQ(driver.no_output, 1);
    EXPECT_EQ(driver.dep_stream, nullptr);
    EXPECT_EQ(driver.dep_file_name, nullptr);
}

// The dependency file is only named here: the driver creates it once the
// input is open, so a run that cannot read its input leaves it untouched.
TEST_F(OptionsTest, DependencyFileKeepsOutputAndIsNotCreatedYet) {
    std::string path = temp_path("deps.d");
    std::remove(path.c_str());
    parse({"-L", "-L" + path});
    EXPECT_EQ(driver.no_output, 0);
    EXPECT_EQ(driver.dep_make_rule, 0);
    ASSERT_NE(driver.dep_file_name, nullptr);
    EXPECT_EQ(std::string(driver.dep_file_name), path);
    EXPECT_EQ(driver.dep_stream, nullptr);
    EXPECT_EQ(access(path.c_str(), F_OK), -1);
}

TEST_F(OptionsTest, MakeRuleFormNamesTheFileAfterTheDashAndTheLastFileWins) {
    parse({"-Lfirst.d", "-lM-rule.d"});
    EXPECT_EQ(driver.dep_make_rule, 1);
    ASSERT_NE(driver.dep_file_name, nullptr);
    EXPECT_STREQ(driver.dep_file_name, "rule.d");
    EXPECT_EQ(driver.dep_stream, nullptr);
}

TEST_F(OptionsTest, ReportIsNamedNotOpenedAndTheLastOneWins) {
    parse({"--udf=a.html", "--UDF=b.html", "in.c"});
    ASSERT_NE(options.report_file, nullptr);
    EXPECT_STREQ(options.report_file, "b.html");
    EXPECT_EQ(driver.html_report, nullptr);
    EXPECT_EQ(access("a.html", F_OK), -1);
    // The command line as received, for the report's first section.
    ASSERT_EQ(options.received.size(), 5u);
    EXPECT_STREQ(options.received[1], "--udf=a.html");
    EXPECT_STREQ(options.received[3], "in.c");
    EXPECT_EQ(options.received[4], nullptr);
}

TEST_F(OptionsTest, UnknownOptionIsRememberedForTheDriver) {
    parse({"-DX", "in.c", "out.i"});
    EXPECT_FALSE(options.unknown_option);
    parse({"-o", "out.i", "in.c"});
    EXPECT_TRUE(options.unknown_option);
    options_reset();
    parse({"--output=x"});
    EXPECT_TRUE(options.unknown_option);
}

TEST_F(OptionsTest, LaterMainFileNameWinsAndEmptyOneIsIgnored) {
    parse({"-Fa.c", "-fb.c", "-F"});
    ASSERT_NE(driver.main_file_name, nullptr);
    EXPECT_STREQ(driver.main_file_name, "b.c");
}

TEST_F(OptionsTest, KeepCommentsSetsBothFlags) {
    parse({"-c"});
    EXPECT_EQ(driver.keep_comments, 1);
    EXPECT_EQ(reader.echo_comments, 1);
}

TEST_F(OptionsTest, ErrorLimitKeywordIgnoresCase) {
    parse({"--EMAX=5"});
    EXPECT_EQ(driver.error_limit, 5);
    parse({"--emax=12x"});
    EXPECT_EQ(driver.error_limit, 12);
    EXPECT_TRUE(reported().empty());
}

TEST_F(OptionsTest, UnopenableCatalogueIsReportedWithoutNumber) {
    parse({"--edf=/nonexistent-dir/m.txt", "--Disl=5", "--MsgDisable=6:off"});
    EXPECT_EQ(messages_text(), "Could not open error description file /nonexistent-dir/m.txt\n\n");
}

TEST_F(OptionsTest, ErrorFileReceivesLaterDiagnostics) {
    std::string path = temp_path("errs");
    std::remove(path.c_str());
    parse({"-E3", "-E", "-E" + path, "-Z"});
    ASSERT_NE(driver.err_file, nullptr);
    EXPECT_TRUE(reported().empty());
    std::FILE* f = std::fopen(path.c_str(), "r");
    ASSERT_NE(f, nullptr);
    char line[256] = {};
    ASSERT_NE(std::fgets(line, sizeof line, f), nullptr);
    EXPECT_NE(std::string(line).find("(168) "), std::string::npos) << line;
    std::fclose(f);
    std::remove(path.c_str());
}

}  // namespace
