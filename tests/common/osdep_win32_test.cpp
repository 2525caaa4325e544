// OS services of Windows: joining with '\' (a '/' is no separator there),
// the drive and network forms of absolute paths, and the letter-case check
// through the file search.
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

TEST(Paths, JoinDropsOneBackslashOnEachSideAndAbsoluteMeansDriveOrNetwork) {
    const char* joins[][3] = {{"C:\\inc\\", "\\stdio.h", "C:\\inc\\stdio.h"},
                              {"inc", "a.h", "inc\\a.h"},
                              {"inc\\\\", "a.h", "inc\\\\a.h"},
                              {"inc/", "a.h", "inc/\\a.h"},
                              {"inc", "/a.h", "inc\\/a.h"},
                              {"..\\dat", "en_msgs.txt", "..\\dat\\en_msgs.txt"},
                              {"", "a.h", "(null)"}};
    for (const auto& j : joins) {
        char* s = path_join(j[0], j[1]);
        EXPECT_STREQ(s ? s : "(null)", j[2]) << j[0];
        std::free(s);
    }
    for (const char* p : {"C:x.h", "C:\\x.h", "\\\\server\\share\\x.h"})
        EXPECT_TRUE(path_is_absolute(p)) << p;
    for (const char* p : {"\\x.h", "x.h", "/usr/include", "//server/x.h", ""})
        EXPECT_FALSE(path_is_absolute(p)) << p;
}

// The letter-case check of include files compares names with these.
TEST(Paths, DirectoryListsNamesAsStored) {
    fs::path dir = make_scratch_dir("osdep_case_");
    std::ofstream(dir / "Mixed.H");
    fs::create_directory(dir / "sub");
    std::vector<directory_entry> entries{{"stale", true}};
    ASSERT_TRUE(list_directory((dir.string() + "\\").c_str(), entries));
    std::vector<std::string> names;
    for (const directory_entry& e : entries) names.push_back(e.name + (e.plain_file ? "" : "/"));
    std::sort(names.begin(), names.end());
    EXPECT_EQ(names, (std::vector<std::string>{"../", "./", "Mixed.H", "sub/"}));
    EXPECT_FALSE(list_directory((dir / "nodir").string().c_str(), entries));
    EXPECT_TRUE(entries.empty());
    fs::remove_all(dir);
}

}  // namespace
