// The hash of the included-files table (a trailing ".h" does not count, the
// characters weigh in as signed bytes, the value wraps at 32 bits), and whole
// runs that include files: repeated in one process, and mutual includes.
#include "cpp/include.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "cpp/driver.h"
#include "tests/test_os.h"

namespace {

std::uint32_t hash_of(const std::string& s) {
    return include_name_hash(reinterpret_cast<std::uintptr_t>(s.c_str()));
}

struct hash_case {
    const char* name;
    std::uint32_t hash;
};

class IncludeNameHash : public ::testing::TestWithParam<hash_case> {};

TEST_P(IncludeNameHash, MatchesHandComputedValue) {
    EXPECT_EQ(hash_of(GetParam().name), GetParam().hash) << GetParam().name;
}

INSTANTIATE_TEST_SUITE_P(Include, IncludeNameHash,
                         ::testing::Values(hash_case{"", 0}, hash_case{"a", 97},
                                           hash_case{"ab", 97 * 4 + 98},
                                           hash_case{"ab.h", 97 * 4 + 98}, hash_case{".h", 0},
                                           // Only the final ".h" is left out.
                                           hash_case{".h.h", 46 * 4 + 104},
                                           hash_case{"a.hh", ((97 * 4 + 46) * 4 + 104) * 4 + 104},
                                           hash_case{"a.H", (97 * 4 + 46) * 4 + 72},
                                           // Bytes above 127 count as negative.
                                           hash_case{"\xff", 0xFFFFFFFFu},
                                           hash_case{"a\x80", 97 * 4 - 128}));

TEST(IncludeNameHash, WrapsAt32Bits) {
    // Every character shifts the earlier ones two bits up: after 16 of them
    // the first has left the word.
    std::string tail(16, 'z');
    EXPECT_EQ(hash_of("a" + tail), hash_of("b" + tail));
    EXPECT_NE(hash_of("a" + tail.substr(1)), hash_of("b" + tail.substr(1)));
}

TEST(IncludeNameHash, NameAndHeaderShareAHash) {
    EXPECT_EQ(hash_of("dir/io.h"), hash_of("dir/io"));
    EXPECT_NE(hash_of("dir/io.c"), hash_of("dir/io"));
}

}  // namespace

// --- whole runs --------------------------------------------------------------

namespace {

namespace fs = std::filesystem;

class IncludeRun : public ::testing::Test {
   protected:
    void SetUp() override {
        root_ = make_scratch_dir("include_run_");
        fs::create_directories(root_ / "inc");
    }
    void TearDown() override { fs::remove_all(root_); }

    void write(const std::string& name, const std::string& text) {
        std::ofstream(root_ / name, std::ios::binary) << text;
    }
    // Read as text: CR LF on Windows is LF.
    std::string read(const std::string& name) {
        std::ifstream in(root_ / name);
        std::ostringstream s;
        s << in.rdbuf();
        return s.str();
    }
    std::string path(const std::string& name) { return (root_ / name).string(); }

    int run_with(std::vector<std::string> args) {
        args.insert(args.begin(), "cpp");
        std::vector<char*> argv;
        for (std::string& a : args) argv.push_back(a.data());
        argv.push_back(nullptr);
        return run(static_cast<int>(args.size()), argv.data());
    }

    fs::path root_;
};

std::set<std::string> lines_of(const std::string& text) {
    std::set<std::string> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);) lines.insert(line);
    return lines;
}

// The included-files table and the paths it holds start empty in every run:
// a second run lists exactly what the first did.
TEST_F(IncludeRun, SecondRunInOneProcessListsTheSameFiles) {
    write("main.c", "#include \"a.h\"\n#include <b.h>\nmain;\n");
    write("a.h", "#include <b.h>\na;\n");
    write("inc/b.h", "b;\n");
    std::vector<std::string> args = {"-I" + path("inc"), "-L" + path("deps.txt"), path("main.c"),
                                     path("out.i")};
    ASSERT_EQ(run_with(args), 0);
    std::string first_deps = read("deps.txt");
    std::string first_out = read("out.i");
    ASSERT_EQ(run_with(args), 0);
    EXPECT_EQ(read("deps.txt"), first_deps);
    EXPECT_EQ(read("out.i"), first_out);
    EXPECT_EQ(lines_of(first_deps),
              (std::set<std::string>{path("a.h"), (root_ / "inc" / "b.h").string()}));
    EXPECT_NE(first_out.find("\nb;\n"), std::string::npos);
}

// While only dependencies are listed a file is never read twice, so a pair of
// headers that include each other ends.
TEST_F(IncludeRun, MutualIncludesEndWhenOnlyListing) {
    write("main.c", "#include \"a.h\"\n");
    write("a.h", "#include \"b.h\"\n");
    write("b.h", "#include \"a.h\"\n");
    ::testing::internal::CaptureStdout();
    int status = run_with({"-L", path("main.c")});
    std::string out = ::testing::internal::GetCapturedStdout();
    EXPECT_EQ(status, 0);
    EXPECT_EQ(lines_of(out), (std::set<std::string>{path("a.h"), path("b.h")}));
}

}  // namespace
