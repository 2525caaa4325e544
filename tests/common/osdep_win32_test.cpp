// OS services of Windows: joining with '\' (a '/' is no separator there),
// the drive and network forms of absolute paths, and the letter-case check
// through the file search.
#include <gtest/gtest.h>

#include <cstdio>
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

TEST(FileNameCase, NameAsTheDirectoryStoresIt) {
    fs::path dir = make_scratch_dir("osdep_case_");
    for (const char* name : {"stdio.h", "Mixed.H"}) {
        std::FILE* f = std::fopen((dir / name).string().c_str(), "w");
        ASSERT_NE(f, nullptr);
        std::fclose(f);
    }
    struct {
        const char* name;
        bool matches;
    } cases[] = {
        {"\\stdio.h", true},         {"\\Stdio.h", false}, {"/STDIO.H", false},
        {"/Mixed.H", true},          {"\\mixed.h", false}, {"\\missing.h", false},
        {"\\nodir\\stdio.h", false},
    };
    for (const auto& c : cases) {
        std::string path = dir.string() + c.name;
        EXPECT_EQ(file_name_case_matches(path.c_str()), c.matches) << path;
    }
    fs::remove_all(dir);
}

}  // namespace
