// Arguments typed at a terminal (a pseudo-terminal here): each line is
// prompted for, and input ends with the first line not continued by a
// backslash.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdio>
#include <string>
#include <vector>

#include "common/alert.h"
#include "common/getargs.h"

namespace {

TEST(GetargsConsole, PromptsForEachContinuedLine) {
    int master = posix_openpt(O_RDWR | O_NOCTTY);
    if (master < 0 || grantpt(master) != 0 || unlockpt(master) != 0) GTEST_SKIP() << "no pty";
    std::FILE* input = fdopen(open(ptsname(master), O_RDWR | O_NOCTTY), "r");
    ASSERT_NE(input, nullptr);
    const std::string typed = "-a \"b c\" \\\n-d\\\ne\nleft over\n";
    ASSERT_EQ(write(master, typed.data(), typed.size()), static_cast<ssize_t>(typed.size()));
    alert_reset();
    getargs_reset();
    getargs_set_input(input);
    testing::internal::CaptureStderr();
    char** argv = read_arguments(nullptr, "cpp");
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "cpp> cpp> cpp> ");
    EXPECT_EQ(std::vector<std::string>(argv + 1, argv + getargs_count),
              (std::vector<std::string>{"-a", "b c", "-de"}));
    getargs_set_input(nullptr);
    getargs_reset();
    std::fclose(input);
    close(master);
}

}  // namespace
