// Micro-benchmarks of macro calls through whole runs: argument collection
// (calls whose body ignores the arguments), and calls whose arguments are
// substituted and rescanned. Each run preprocesses a file into /dev/null.
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <cstdio>
#include <string>
#include <vector>

#include "cpp/driver.h"
#include "micro/bench_text.h"

namespace {

// Runs the preprocessor on `path`; the output goes to /dev/null.
int run_on(const std::string& path) {
    std::vector<std::string> words = {"cpp", path, "/dev/null"};
    std::vector<char*> argv;
    for (auto& w : words) argv.push_back(w.data());
    argv.push_back(nullptr);
    return run(static_cast<int>(words.size()), argv.data());
}

void time_runs(benchmark::State& state, const std::string& text) {
    const temp_file file(text);
    for (auto _ : state) {
        if (run_on(file.path) != 0) {
            state.SkipWithError("the run failed");
            break;
        }
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * text.size()));
}

// Calls of a three-parameter macro whose body uses no parameter: the time
// goes to finding the parenthesis and collecting the arguments (nested
// parentheses, a literal with a comma, blanks to compress).
void argument_collection(benchmark::State& state) {
    std::string text = "#define DROP(a, b, c) 0\n";
    for (unsigned i = 0; text.size() < (1u << 20); ++i) {
        text += "x = DROP(alpha + " + std::to_string(i % 100) +
                ", (beta,  gamma), \"one, two\") + DROP(a, b, c);\n";
    }
    time_runs(state, text);
}
BENCHMARK(argument_collection)->Unit(benchmark::kMillisecond);

// Nested calls whose arguments are substituted, so argument texts are
// pushed and rescanned as well.
void nested_calls(benchmark::State& state) {
    std::string text = "#define ADD(a, b) ((a) + (b))\n#define MAX(a, b) ((a) > (b) ? (a) : (b))\n";
    for (unsigned i = 0; text.size() < (1u << 20); ++i) {
        text += "y = MAX(ADD(x, " + std::to_string(i % 50) + "), ADD(MAX(p, q), r));\n";
    }
    time_runs(state, text);
}
BENCHMARK(nested_calls)->Unit(benchmark::kMillisecond);

// The same volume of plain text through a whole run, for comparison.
void plain_run(benchmark::State& state) {
    time_runs(state, plain_c_text(1u << 20));
}
BENCHMARK(plain_run)->Unit(benchmark::kMillisecond);

}  // namespace
