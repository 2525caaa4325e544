// Paths: joining with one separator and the absolute forms. (Directory
// listings and files under two spellings: the golden include/names and
// safety/output_is_input cases.)
#include <gtest/gtest.h>

#include <cstdlib>

#include "common/osdep.h"

namespace {

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
    // A device read and written is no file the output could destroy.
    EXPECT_FALSE(path_same_file("/dev/null", "/dev/null"));
    char text[] = "abc-xYz_09";
    EXPECT_STREQ(str_upper(text), "ABC-XYZ_09");
}

}  // namespace
