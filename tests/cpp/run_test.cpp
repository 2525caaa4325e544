// Whole runs repeated in one process: every subsystem starts afresh, so the
// second run writes exactly what the first one wrote.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include "cpp/driver.h"
#include "tests/test_os.h"

namespace {

TEST(Run, SecondRunInOneProcessWritesTheSameBytes) {
    std::filesystem::path dir = make_scratch_dir("cpp_run_");
    std::string in = (dir / "in.c").string(), h = (dir / "h.h").string(),
                out = (dir / "out.i").string(), deps = "-L" + (dir / "d").string();
    std::ofstream(h) << "#ifndef H\n#define H\nint h;\n#endif\n";
    std::ofstream(in) << "#include \"h.h\"\n#if 1\n#define F(x) [x]\n#ifdef F\nF(1) __LINE__\n"
                         "#endif\n#endif\n#undef F\nF(2) ?\?= /* c */ 1.5e3L\n#if 0\n";
    for (int n = 0; n < 2; ++n) {
        char name[] = "cpp";
        char* argv[] = {name, deps.data(), in.data(), out.data(), nullptr};
        EXPECT_EQ(run(4, argv), 1);  // the #if left open
        std::stringstream text;
        text << std::ifstream(out).rdbuf() << "|" << std::ifstream(dir / "d").rdbuf();
        EXPECT_EQ(text.str(), "\n# 1 \"" + in + "\"\n\n# 3 \"" + h + "\"\nint h;\n\n# 5 \"" + in +
                                  "\"\n[1] 5\n\n\n\nF(2) # 1.5e3L\n\n|" + h + "\n")
            << "run " << n + 1;
    }
    std::filesystem::remove_all(dir);
}

// The dialect is run state too: an ISO C run between two of the toolchain's
// own leaves nothing behind (its predefined macros, its expansion, its
// 64-bit #if), and an ISO C run after them starts as the first did.
TEST(Run, DialectsTakeTurnsInOneProcess) {
    std::filesystem::path dir = make_scratch_dir("cpp_dialects_");
    std::string in = (dir / "in.c").string(), out = (dir / "out.i").string();
    std::ofstream(in) << "#define ONE 1\n#define g() x ONE\n#define CAT(a,b) a##b\n"
                         "#define XCAT(a,b) CAT(a,b)\nXCAT(g(), 2) __STDC_VERSION__\n"
                         "#if 0x7fffffff + 1 > 0\nwide\n#endif\n";
    const std::string head = "\n# 1 \"" + in + "\"\n\n\n\n\n";
    const std::string iso = head + "x 12 199901L\n\nwide\n\n";
    const std::string own = head + "x ONE2 __STDC_VERSION__\n\n";
    const char* dialects[] = {"--std=c99", nullptr, "--std=c99", nullptr};
    for (int n = 0; n < 4; ++n) {
        char name[] = "cpp";
        std::string option = dialects[n] != nullptr ? dialects[n] : "-W0";
        char* argv[] = {name, option.data(), in.data(), out.data(), nullptr};
        EXPECT_EQ(run(4, argv), 0);
        std::stringstream text;
        text << std::ifstream(out).rdbuf();
        EXPECT_EQ(text.str(), dialects[n] != nullptr ? iso : own) << "run " << n + 1;
    }
    std::filesystem::remove_all(dir);
}

// A chain of macros expanded in one run and kept is not read again in the
// next, whose records may lie where the first run's did.
TEST(Run, ChainsKeptInOneRunAreWalkedAgainInTheNext) {
    std::filesystem::path dir = make_scratch_dir("cpp_kept_");
    std::string in = (dir / "in.c").string(), out = (dir / "out.i").string();
    for (const char* value : {"1", "2"}) {
        std::ofstream(in) << "#define B " << value << "\n#define A (B + B)\nA A\n";
        char name[] = "cpp";
        char* argv[] = {name, in.data(), out.data(), nullptr};
        EXPECT_EQ(run(3, argv), 0);
        std::stringstream text;
        text << std::ifstream(out).rdbuf();
        EXPECT_EQ(text.str(), "\n# 1 \"" + in + "\"\n\n\n(" + value + " + " + value + ") (" +
                                  value + " + " + value + ")\n")
            << "B " << value;
    }
    std::filesystem::remove_all(dir);
}

}  // namespace
