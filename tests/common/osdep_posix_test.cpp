// Paths: joining with one separator and the absolute forms. (Directory
// listings and files under two spellings: the golden include/names and
// safety/output_is_input cases.) Regular files read a block at a time.
// Files written whole: the interrupt handling of one run, given back at its
// end, and an interrupt that removes the temporaries. (Signals sent to whole
// runs: the golden safety cases.)
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <csignal>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "common/osdep.h"
#include "tests/test_os.h"

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

extern "C" void test_handler(int) {}

TEST(Interrupts, HandledForOneRunThenGivenBack) {
    struct sigaction mine {};
    mine.sa_handler = test_handler;
    struct sigaction saved[2];
    sigaction(SIGINT, &mine, &saved[0]);
    signal(SIGHUP, SIG_IGN);
    sigaction(SIGHUP, nullptr, &saved[1]);
    for (int run = 0; run < 2; ++run) {
        interrupts_begin();
        struct sigaction now {};
        sigaction(SIGINT, nullptr, &now);
        EXPECT_NE(now.sa_handler, test_handler);
        sigaction(SIGHUP, nullptr, &now);
        EXPECT_EQ(now.sa_handler, SIG_IGN);  // as nohup left it
        interrupts_end();
        sigaction(SIGINT, nullptr, &now);
        EXPECT_EQ(now.sa_handler, test_handler) << "run " << run + 1;
    }
    sigaction(SIGINT, &saved[0], nullptr);
    signal(SIGHUP, SIG_DFL);
}

std::string contents(const std::filesystem::path& p) {
    std::stringstream s;
    s << std::ifstream(p).rdbuf();
    return s.str();
}

TEST(Interrupts, RemoveTheTemporariesAndEndWithTheSignalsStatus) {
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    std::filesystem::path dir = make_scratch_dir("cpp_whole_");
    std::string target = (dir / "out.i").string();
    std::ofstream(target) << "old\n";
    for (int sig : {SIGINT, SIGTERM, SIGHUP}) {
        EXPECT_EXIT(
            {
                interrupts_begin();
                replacement r;
                std::FILE* f = replacement_open(target.c_str(), r);
                if (f == nullptr) std::_Exit(2);
                std::fputs("new\n", f);
                std::fflush(f);
                std::raise(sig);
                std::_Exit(3);
            },
            testing::ExitedWithCode(128 + sig), "");
        EXPECT_EQ(contents(target), "old\n");
        EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir),
                                std::filesystem::directory_iterator()),
                  1);
    }
    std::filesystem::remove_all(dir);
}

// A regular file read a block at a time: a full block, the short rest,
// then nothing; a stream that cannot be read gives nothing, not a count
// wrapped from an error.
TEST(RegularFiles, ReadInBlocksUntilAShortOne) {
    std::filesystem::path dir = make_scratch_dir("cpp_read_");
    std::string path = (dir / "a.h").string();
    std::ofstream(path, std::ios::binary) << std::string(100, 'x');
    std::FILE* f = std::fopen(path.c_str(), "rb");
    ASSERT_NE(f, nullptr);
    std::setvbuf(f, nullptr, _IONBF, 0);
    char buffer[64];
    EXPECT_EQ(read_regular_file(f, buffer, sizeof buffer), 64u);
    EXPECT_EQ(read_regular_file(f, buffer, sizeof buffer), 36u);
    EXPECT_EQ(read_regular_file(f, buffer, sizeof buffer), 0u);
    std::fclose(f);
    f = std::fopen(path.c_str(), "ab");
    ASSERT_NE(f, nullptr);
    EXPECT_EQ(read_regular_file(f, buffer, sizeof buffer), 0u);
    std::fclose(f);
    std::filesystem::remove_all(dir);
}

TEST(Replacements, TakeThePermissionBitsAndReplaceTheTargetWhenCommitted) {
    std::filesystem::path dir = make_scratch_dir("cpp_whole_");
    std::string target = (dir / "out.i").string();
    std::ofstream(target) << "old\n";
    chmod(target.c_str(), 0604);
    replacement r;
    std::FILE* f = replacement_open(target.c_str(), r);
    ASSERT_NE(f, nullptr);
    EXPECT_EQ(std::filesystem::path(r.temporary).parent_path(), dir);
    struct stat st {};
    ASSERT_EQ(stat(r.temporary.c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 07777, 0604u);
    std::fputs("new\n", f);
    std::fclose(f);
    EXPECT_EQ(contents(target), "old\n");
    EXPECT_EQ(replacement_commit(r), 0);
    EXPECT_EQ(contents(target), "new\n");
    EXPECT_FALSE(std::filesystem::exists(r.temporary));
    f = replacement_open(target.c_str(), r);
    ASSERT_NE(f, nullptr);
    std::fclose(f);
    replacement_discard(r);
    EXPECT_EQ(contents(target), "new\n");
    EXPECT_FALSE(std::filesystem::exists(r.temporary));
    // A device is written in place.
    EXPECT_EQ(replacement_open("/dev/null", r), nullptr);
    std::filesystem::remove_all(dir);
}

}  // namespace
