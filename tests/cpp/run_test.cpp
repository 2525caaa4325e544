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

}  // namespace
