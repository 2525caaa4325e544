// OS services of Linux: joining with one separator, the absolute-path
// forms, the letter-case check against a real directory listing,
// upper-casing.
#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>

#include "common/osdep.h"

namespace {

namespace fs = std::filesystem;

TEST(PathJoin, DropsOneSeparatorOnEachSideAndWritesSlash) {
    struct {
        const char* dir;
        const char* name;
        const char* joined;
    } cases[] = {
        {"C:\\inc\\", "\\stdio.h", "C:/inc/stdio.h"},
        {"inc", "a.h", "inc/a.h"},
        {"inc/", "a.h", "inc/a.h"},
        {"inc", "/a.h", "inc/a.h"},
        {"inc\\", "/a.h", "inc/a.h"},
        {"inc//", "a.h", "inc//a.h"},
        {"inc", "//a.h", "inc//a.h"},
        {"/", "a.h", "/a.h"},
        {"..\\dat", "en_msgs.txt", "../dat/en_msgs.txt"},
        {"inc", "sub\\b.h", "inc/sub/b.h"},
        {"d", "", "d/"},
    };
    for (const auto& c : cases) {
        char* s = path_join(c.dir, c.name);
        ASSERT_NE(s, nullptr) << c.dir;
        EXPECT_STREQ(s, c.joined) << c.dir << " + " << c.name;
        std::free(s);
    }
    EXPECT_EQ(path_join("", "a.h"), nullptr);
    EXPECT_EQ(path_join(nullptr, "a.h"), nullptr);
}

TEST(PathIsAbsolute, DriveLettersNetworkPathsAndLeadingSlash) {
    struct {
        const char* path;
        bool absolute;
    } cases[] = {
        {"C:x.h", true},        {"C:\\x.h", true},      {"\\\\server\\share\\x.h", true},
        {"//server/x.h", true}, {"/usr/include", true}, {"/", true},
        {"\\x.h", false},       {"x.h", false},         {"", false},
        {"C", false},           {"inc/C:", false},      {"./x.h", false},
    };
    for (const auto& c : cases) EXPECT_EQ(path_is_absolute(c.path), c.absolute) << c.path;
}

// A scratch directory holding stdio.h and Mixed.H, removed afterwards.
class FileNameCase : public ::testing::Test {
   protected:
    void SetUp() override {
        char pattern[] = "/tmp/osdep_case_XXXXXX";
        ASSERT_NE(mkdtemp(pattern), nullptr);
        dir = pattern;
        for (const char* name : {"stdio.h", "Mixed.H"}) {
            std::FILE* f = std::fopen((dir / name).c_str(), "w");
            ASSERT_NE(f, nullptr);
            std::fclose(f);
        }
        fs::create_directory(dir / "Sub");
    }
    void TearDown() override { fs::remove_all(dir); }

    std::string in_dir(const char* name) const { return (dir / name).string(); }

    fs::path dir;
};

TEST_F(FileNameCase, ExactSpellingOnly) {
    struct {
        const char* name;
        bool matches;
    } cases[] = {
        {"stdio.h", true}, {"Stdio.h", false}, {"STDIO.H", false},
        {"Mixed.H", true}, {"mixed.h", false}, {"missing.h", false},
        {"Sub", true},     {"sub", false},     {"stdio.h/", false},
    };
    for (const auto& c : cases)
        EXPECT_EQ(file_name_case_matches(in_dir(c.name).c_str()), c.matches) << c.name;
}

TEST_F(FileNameCase, BackslashSeparatesLikeSlash) {
    std::string path = dir.string() + "\\stdio.h";
    EXPECT_TRUE(file_name_case_matches(path.c_str()));
    path = dir.string() + "\\Stdio.h";
    EXPECT_FALSE(file_name_case_matches(path.c_str()));
    path = dir.string() + "/Sub\\..\\stdio.h";
    EXPECT_TRUE(file_name_case_matches(path.c_str()));
}

TEST_F(FileNameCase, UnlistableDirectoryIsNoMatch) {
    EXPECT_FALSE(file_name_case_matches((dir / "nodir" / "stdio.h").c_str()));
    EXPECT_FALSE(file_name_case_matches((dir / "stdio.h" / "x.h").c_str()));
}

TEST_F(FileNameCase, NameWithoutDirectoryIsLookedUpHere) {
    fs::path previous = fs::current_path();
    fs::current_path(dir);
    bool exact = file_name_case_matches("stdio.h");
    bool other_case = file_name_case_matches("Stdio.h");
    fs::current_path(previous);
    EXPECT_TRUE(exact);
    EXPECT_FALSE(other_case);
}

TEST(StrUpper, UpperCasesInPlace) {
    char text[] = "abc-xYz_09\xe9";
    EXPECT_EQ(str_upper(text), text);
    EXPECT_STREQ(text, "ABC-XYZ_09\xe9");
    char empty[] = "";
    EXPECT_STREQ(str_upper(empty), "");
    EXPECT_EQ(str_upper(nullptr), nullptr);
}

}  // namespace
