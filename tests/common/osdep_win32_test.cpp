// OS services of Windows: joining with '\' (a '/' is no separator there),
// the drive and network forms of absolute paths, and the letter-case check
// through the file search.
#include <gtest/gtest.h>

#include <cstdio>
#include <algorithm>
#include <vector>
#include <cstdlib>
#include <filesystem>
#include <string>

#include "common/osdep.h"
#include "tests/test_os.h"

namespace {

namespace fs = std::filesystem;

TEST(PathJoin, DropsOneBackslashOnEachSide) {
    struct {
        const char* dir;
        const char* name;
        const char* joined;
    } cases[] = {
        {"C:\\inc\\", "\\stdio.h", "C:\\inc\\stdio.h"},
        {"inc", "a.h", "inc\\a.h"},
        {"inc\\\\", "a.h", "inc\\\\a.h"},
        {"inc/", "a.h", "inc/\\a.h"},
        {"inc", "/a.h", "inc\\/a.h"},
        {"..\\dat", "en_msgs.txt", "..\\dat\\en_msgs.txt"},
    };
    for (const auto& c : cases) {
        char* s = path_join(c.dir, c.name);
        ASSERT_NE(s, nullptr) << c.dir;
        EXPECT_STREQ(s, c.joined) << c.dir << " + " << c.name;
        std::free(s);
    }
    EXPECT_EQ(path_join("", "a.h"), nullptr);
}

TEST(PathIsAbsolute, DriveLettersAndNetworkPathsOnly) {
    struct {
        const char* path;
        bool absolute;
    } cases[] = {
        {"C:x.h", true},         {"C:\\x.h", true}, {"\\\\server\\share\\x.h", true},
        {"\\x.h", false},        {"x.h", false},    {"/usr/include", false},
        {"//server/x.h", false}, {"", false},
    };
    for (const auto& c : cases) EXPECT_EQ(path_is_absolute(c.path), c.absolute) << c.path;
}

// The letter-case check of include files compares names with these; a
// directory written with either separator, or ending in one, is listed.
TEST(ListDirectory, NamesAsTheDirectoryStoresThem) {
    fs::path dir = make_scratch_dir("osdep_case_");
    std::FILE* f = std::fopen((dir / "Mixed.H").string().c_str(), "w");
    ASSERT_NE(f, nullptr);
    std::fclose(f);
    for (std::string spelled : {dir.string(), dir.string() + "\\", dir.generic_string()}) {
        std::vector<std::string> names;
        ASSERT_TRUE(list_directory(spelled.c_str(), names)) << spelled;
        std::sort(names.begin(), names.end());
        EXPECT_EQ(names, (std::vector<std::string>{".", "..", "Mixed.H"})) << spelled;
    }
    std::vector<std::string> names{"stale"};
    EXPECT_FALSE(list_directory((dir / "nodir").string().c_str(), names));
    EXPECT_TRUE(names.empty());
    fs::remove_all(dir);
}

}  // namespace
