// libFuzzer target: one whole in-process run of the preprocessor per input.
//
// Input layout: two leading bytes select options from a fixed list (one bit
// each); the rest is split at "@@@" into the main file and up to two include
// files, written to inc/a.h and inc/b.h of a private folder. Each input is
// preprocessed twice, in the toolchain's own dialect and then with
// --std=c99, in the same process: the run state of one dialect must not
// leak into the other. Diagnostics are appended to /dev/null (-E), so only
// crashes, sanitizer reports, hangs and leaks are findings.
//
// Preprocessed text goes to out.i, a real file, under a file-size limit of
// 64 MB: an expansion bomb fails its first write past the limit and the run
// ends there (status 1, as for a full disk) instead of being mistaken for a
// hang. What still takes longer than the fuzzer's time-out is worth a look.
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <csignal>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <string_view>
#include <vector>

#include "cpp/driver.h"

namespace {

// clang-format off
const char* const option_list[16] = {
    "-C", "-DFOO", "-DBAR=1+2", "-UFOO", "-U__STDC__", "-Iinc", "-L", "-N40", "-E1", "-W!", "-W3",
    "-S1,2,4,4,4,8", "-SP2,2,2,2,2,2,2", "--emax=3", "-Fshown.c", "--disl=111,163:off"};
// clang-format on

void write_file(const char* name, std::string_view text) {
    std::FILE* f = std::fopen(name, "wb");
    if (f == nullptr) std::abort();
    std::fwrite(text.data(), 1, text.size(), f);
    std::fclose(f);
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    char dir[] = "/tmp/cpp-fuzz-XXXXXX";
    if (mkdtemp(dir) == nullptr || chdir(dir) != 0) std::abort();
    if (mkdir("inc", 0700) != 0) std::abort();
    // A write past the limit fails with EFBIG instead of killing the process.
    std::signal(SIGXFSZ, SIG_IGN);
    rlimit limit{};
    limit.rlim_cur = limit.rlim_max = rlim_t{64} << 20;
    if (setrlimit(RLIMIT_FSIZE, &limit) != 0) std::abort();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 2) return 0;
    unsigned mask = data[0] | (data[1] << 8);
    std::string_view rest(reinterpret_cast<const char*>(data + 2), size - 2);

    std::string_view parts[3];
    for (int i = 0; i < 2; ++i) {
        std::size_t at = rest.find("@@@");
        if (at == std::string_view::npos) break;
        parts[i] = rest.substr(0, at);
        rest.remove_prefix(at + 3);
        parts[i + 1] = rest;
    }
    if (parts[1].data() == nullptr) parts[0] = rest;
    const char* const names[3] = {"main.c", "inc/a.h", "inc/b.h"};
    for (int i = 0; i < 3; ++i) write_file(names[i], parts[i]);

    for (const char* dialect : {"", "--std=c99"}) {
        // Arguments are mutable copies: the option parser writes into them.
        std::vector<std::string> words = {"cpp", "-E/dev/null"};
        if (*dialect != '\0') words.emplace_back(dialect);
        for (int bit = 0; bit < 16; ++bit)
            if (mask & (1u << bit)) words.emplace_back(option_list[bit]);
        words.emplace_back("main.c");
        words.emplace_back("out.i");
        std::vector<char*> argv;
        for (auto& w : words) argv.push_back(w.data());
        argv.push_back(nullptr);
        run(static_cast<int>(words.size()), argv.data());
    }
    return 0;
}
