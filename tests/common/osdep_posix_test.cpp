// Paths: joining with one separator, the absolute forms, the letter-case
// check of a file name against a real directory listing, and whether two
// paths name one file.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "common/osdep.h"
#include "tests/test_os.h"

namespace {

namespace fs = std::filesystem;

TEST(Paths, JoinDropsOneSeparatorOnEachSideAndWritesSlash) {
    const char* joins[][3] = {{"C:\\inc\\", "\\stdio.h", "C:/inc/stdio.h"},
                              {"inc", "a.h", "inc/a.h"},
                              {"inc//", "a.h", "inc//a.h"},  // only one is dropped
                              {"inc", "//a.h", "inc//a.h"},
                              {"..\\dat", "en_msgs.txt", "../dat/en_msgs.txt"},
                              {"", "a.h", "(null)"}};
    for (const auto& j : joins) {
        char* s = path_join(j[0], j[1]);
        EXPECT_STREQ(s ? s : "(null)", j[2]) << j[0];
        std::free(s);
    }
    for (const char* p : {"C:x.h", "\\\\server\\share\\x.h", "/usr/include"})
        EXPECT_TRUE(path_is_absolute(p)) << p;
    for (const char* p : {"\\x.h", "x.h", "C"}) EXPECT_FALSE(path_is_absolute(p)) << p;
    char text[] = "abc-xYz_09";
    EXPECT_STREQ(str_upper(text), "ABC-XYZ_09");
}

// The letter-case check of include files compares names with these.
TEST(Paths, DirectoryListsNamesAsStored) {
    fs::path dir = make_scratch_dir("osdep_case_");
    std::ofstream(dir / "Mixed.h");
    std::vector<std::string> names{"stale"};
    ASSERT_TRUE(list_directory(dir.c_str(), names));
    std::sort(names.begin(), names.end());
    EXPECT_EQ(names, (std::vector<std::string>{".", "..", "Mixed.h"}));
    EXPECT_FALSE(list_directory((dir / "nodir").c_str(), names));
    EXPECT_TRUE(names.empty());
    fs::remove_all(dir);
}

// One file under every spelling of its path and through a hard or symbolic
// link is one file; a copy of it, a missing file and a directory are not.
TEST(Paths, SameFileWhateverTheSpelling) {
    fs::path dir = make_scratch_dir("osdep_same_");
    std::string file = dir / "a.c", missing = dir / "missing.c";
    std::ofstream(dir / "a.c");
    fs::create_directory(dir / "sub");
    fs::create_hard_link(file, dir / "hard.c");
    fs::create_symlink(file, dir / "soft.c");
    fs::copy_file(file, dir / "copy.c");
    for (const char* same : {"a.c", "./a.c", "sub/../a.c", "hard.c", "soft.c"}) {
        EXPECT_TRUE(path_same_file(file.c_str(), (dir / same).c_str())) << same;
        EXPECT_TRUE(path_same_file((dir / same).c_str(), file.c_str())) << same;
    }
    for (const char* other : {"copy.c", "missing.c", "sub"})
        EXPECT_FALSE(path_same_file(file.c_str(), (dir / other).c_str())) << other;
    EXPECT_FALSE(path_same_file(missing.c_str(), missing.c_str()));
    fs::path previous = fs::current_path();
    fs::current_path(dir);
    EXPECT_TRUE(path_same_file("a.c", file.c_str()));  // relative to here
    fs::current_path(previous);
    fs::remove_all(dir);
}

}  // namespace
