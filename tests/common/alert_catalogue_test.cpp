// Catalogue files: the fields of a line, kinds and levels, malformed lines
// reported by line number, a second file replacing the first, and the
// installation's English fallback.
#include "common/alert_catalogue.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "tests/test_os.h"

namespace {

class Catalogue : public ::testing::Test {
   protected:
    void SetUp() override {
        set_env("ZQT_INSTDIR", dir_.string().c_str());  // the fallback is <dir>/dat/en_msgs.txt
        alert_reset();
    }
    void TearDown() override {
        alert_reset();
        set_env("ZQT_INSTDIR", nullptr);
        std::filesystem::remove_all(dir_);
    }
    std::string write(const std::string& name, const std::string& text) {
        std::filesystem::path p = dir_ / name;
        std::filesystem::create_directories(p.parent_path());
        std::ofstream(p, std::ios::binary) << text;
        return p.string();
    }
    // Loads `text` as the primary catalogue; returns what it reported.
    std::string load(const std::string& text, const std::string& name = "cat.txt") {
        testing::internal::CaptureStderr();
        EXPECT_EQ(alert_open_catalogue(write(name, text).c_str()), 1);
        return testing::internal::GetCapturedStderr();
    }
    std::string malformed(const std::vector<unsigned>& lines, const char* name = "cat.txt") {
        std::string s;
        for (unsigned n : lines)
            s += "Malformed error information on line " + std::to_string(n) + ", in file " +
                 (dir_ / name).string() + "\n\n";
        return s;
    }
    // The entry of a number as "<kind> <text>", the kind F, M, E, W<level>
    // or ? (unrecognised); "-" when there is none.
    static std::string entry(unsigned number) {
        alert_entry e{};
        if (!catalogue_find(number, &e)) return "-";
        std::string kind = std::string("?FMEW").substr(e.kind, 1);
        if (e.kind == ALERT_WARNING) kind += std::to_string(e.level);
        return kind + " " + e.text;
    }

    std::filesystem::path dir_ = make_scratch_dir("catalogue_test_");
};

TEST_F(Catalogue, FieldsKindsAndLevels) {
    EXPECT_EQ(load("  100\tE  two blanks, one kept %s\n101 f fatal\n102 m message\n"
                   "103 -2 minus two\n104 - dash\n105 3x three\n106 e first\n106 E second\n"
                   "0 M zero\nx E no digits\n10000 e top\n7x E seven\n107 Q odd\n"),
              malformed({13}));
    std::string entries;  // in the order of the lines, then a number not there
    for (unsigned n : {100, 101, 102, 103, 104, 105, 106, 0, 10000, 7, 107, 108})
        entries += entry(n) + "|";
    EXPECT_EQ(entries,
              "E  two blanks, one kept %s|F fatal|M message|W-2 minus two|W0 dash|W3 three|"
              "E second|E no digits|E top|E seven|? odd|-|");
}

TEST_F(Catalogue, MalformedLinesAreReportedByLineNumber) {
    const struct {
        const char* text;
        std::vector<unsigned> lines;
    } cases[] = {{"\n", {1}},          {"100 E\n", {1}},          {"100 E \n", {1}},
                 {"100\n", {1}},       {"   \t\n", {1}},          {"10001 E text\n", {1}},
                 {"-5 E text\n", {1}}, {"100 X\n", {1, 1}},       {"# comment\n\n100 E ok\n", {2}},
                 {"100 E ok", {}},     {"1 E ok\r\n2 E\r\n", {2}}};
    for (const auto& c : cases) EXPECT_EQ(load(c.text), malformed(c.lines)) << c.text;
}

TEST_F(Catalogue, SecondFileReplacesTheFirstWhole) {
    load("100 E one\n101 E only in the first\n");
    load("100 E two\n", "other.txt");
    EXPECT_EQ(entry(100), "E two");
    EXPECT_EQ(entry(101), "-");
    EXPECT_EQ(alert_open_catalogue((dir_ / "missing.txt").string().c_str()), 0);
    EXPECT_EQ(entry(100), "E two");  // a failed open keeps what was loaded
}

TEST_F(Catalogue, FallbackIsLoadedAtAMissUntilFoundThenKept) {
#ifdef _WIN32
    GTEST_SKIP() << "the installation directory is the registry's there";
#endif
    load("100 E primary\n");
    EXPECT_EQ(entry(200), "-");
    write("dat/en_msgs.txt", "200 1 fallback\nbad\n100 E shadowed\n");
    testing::internal::CaptureStderr();
    EXPECT_EQ(entry(200), "W1 fallback");
    EXPECT_EQ(testing::internal::GetCapturedStderr(), malformed({2}, "dat/en_msgs.txt"));
    EXPECT_EQ(entry(100), "E primary");
    write("dat/en_msgs.txt", "200 1 changed\n201 E new\n");
    EXPECT_EQ(entry(201), "-");
}

}  // namespace
