// Paths: joining with one separator, the absolute forms, the letter-case
// check of a file name against a real directory listing, and whether two
// paths name one file.
#include "common/osdep.h"

#include <gtest/gtest.h>
#include <stdlib.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

namespace {

std::string joined(const char* dir, const char* name) {
    char* s = path_join(dir, name);
    std::string r = s != nullptr ? s : "(null)";
    std::free(s);
    return r;
}

TEST(Paths, JoinDropsOneSeparatorOnEachSideAndWritesSlash) {
    EXPECT_EQ(joined("C:\\inc\\", "\\stdio.h"), "C:/inc/stdio.h");
    EXPECT_EQ(joined("inc", "a.h"), "inc/a.h");
    EXPECT_EQ(joined("inc//", "a.h"), "inc//a.h");  // only one is dropped
    EXPECT_EQ(joined("inc", "//a.h"), "inc//a.h");
    EXPECT_EQ(joined("..\\dat", "en_msgs.txt"), "../dat/en_msgs.txt");
    EXPECT_EQ(joined("", "a.h"), "(null)");
    EXPECT_TRUE(path_is_absolute("C:x.h"));
    EXPECT_TRUE(path_is_absolute("\\\\server\\share\\x.h"));
    EXPECT_TRUE(path_is_absolute("/usr/include"));
    EXPECT_FALSE(path_is_absolute("\\x.h"));
    EXPECT_FALSE(path_is_absolute("x.h"));
    EXPECT_FALSE(path_is_absolute("C"));
    char text[] = "abc-xYz_09";
    EXPECT_STREQ(str_upper(text), "ABC-XYZ_09");
}

// The letter-case check of include files compares names with these.
TEST(Paths, DirectoryListsNamesAsStored) {
    char pattern[] = "/tmp/osdep_case_XXXXXX";
    ASSERT_NE(mkdtemp(pattern), nullptr);
    std::string dir = pattern;
    std::fclose(std::fopen((dir + "/Mixed.h").c_str(), "w"));
    std::vector<std::string> names{"stale"};
    ASSERT_TRUE(list_directory(dir.c_str(), names));
    std::sort(names.begin(), names.end());
    EXPECT_EQ(names, (std::vector<std::string>{".", "..", "Mixed.h"}));
    EXPECT_FALSE(list_directory((dir + "/nodir").c_str(), names));
    EXPECT_TRUE(names.empty());
    std::filesystem::remove_all(dir);
}

// One file under every spelling of its path and through a hard or symbolic
// link is one file; a copy of it, a missing file and a directory are not.
TEST(Paths, SameFileWhateverTheSpelling) {
    char pattern[] = "/tmp/osdep_same_XXXXXX";
    ASSERT_NE(mkdtemp(pattern), nullptr);
    std::filesystem::path dir = pattern;
    std::string file = (dir / "a.c").string();
    std::fclose(std::fopen(file.c_str(), "w"));
    std::filesystem::create_directory(dir / "sub");
    std::filesystem::create_hard_link(file, dir / "hard.c");
    std::filesystem::create_symlink(file, dir / "soft.c");
    std::filesystem::copy_file(file, dir / "copy.c");
    for (const char* same : {"a.c", "./a.c", "sub/../a.c", "hard.c", "soft.c"}) {
        std::string other = (dir / same).string();
        EXPECT_TRUE(path_same_file(file.c_str(), other.c_str())) << same;
        EXPECT_TRUE(path_same_file(other.c_str(), file.c_str())) << same;
    }
    for (const char* other : {"copy.c", "missing.c", "sub"})
        EXPECT_FALSE(path_same_file(file.c_str(), (dir / other).c_str())) << other;
    std::string missing = (dir / "missing.c").string();
    EXPECT_FALSE(path_same_file(missing.c_str(), missing.c_str()));
    std::filesystem::path previous = std::filesystem::current_path();
    std::filesystem::current_path(dir);
    EXPECT_TRUE(path_same_file("a.c", file.c_str()));  // relative to here
    std::filesystem::current_path(previous);
    std::filesystem::remove_all(dir);
}

}  // namespace
