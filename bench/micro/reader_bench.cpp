// Micro-benchmarks of the reader's per-character path and of identifier
// scanning with macro look-up, driven through the reader API directly.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <string>

#include "common/wstr.h"
#include "cpp/macro_table.h"
#include "cpp/reader.h"
#include "cpp/scanner.h"
#include "micro/bench_text.h"

namespace {

// Reads a whole text source to its end and returns the sum of the units,
// so that the loop cannot be dropped.
long drain_text(const std::u16string& text) {
    reader_reset();
    push_text_source(text.c_str());
    long sum = 0;
    for (int c = next_char(); c != 0; c = next_char()) sum += c;
    return sum;
}

// Plain text: every unit takes the inline fast path.
void reader_plain_text(benchmark::State& state) {
    const std::u16string text = widen(plain_c_text(1 << 16));
    for (auto _ : state) benchmark::DoNotOptimize(drain_text(text));
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * text.size()));
}
BENCHMARK(reader_plain_text);

// Text with a comment on every line: the slow path removes them.
void reader_commented_text(benchmark::State& state) {
    const std::u16string text = widen(commented_c_text(1 << 16));
    for (auto _ : state) benchmark::DoNotOptimize(drain_text(text));
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * text.size()));
}
BENCHMARK(reader_commented_text);

// A file source: block reads, line refills and line counting.
void reader_file(benchmark::State& state) {
    const std::string text = plain_c_text(1 << 20);
    const temp_file file(text);
    for (auto _ : state) {
        reader_reset();
        std::FILE* f = std::fopen(file.path.c_str(), "rb");
        if (f == nullptr) {
            state.SkipWithError("cannot open the temporary file");
            break;
        }
        push_file_source(f, file.path.c_str(), true);
        long sum = 0;
        for (int c = next_char(); c != 0; c = next_char()) sum += c;
        benchmark::DoNotOptimize(sum);
    }
    reader_reset();
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * text.size()));
}
BENCHMARK(reader_file);

// Identifier scanning with the macro look-up, over a table of `range(0)`
// macros; half of the identifiers name one of them.
void identifier_lookup(benchmark::State& state) {
    const int count = static_cast<int>(state.range(0));
    macros_reset();
    for (int i = 0; i < count; ++i) {
        std::u16string name = widen("MACRO_" + std::to_string(i));
        macro_def* m = macro_install(name.c_str(), 0);
        m->body.reset(wstr_dup(u"1"));
        m->nparams = -1;
    }
    const std::u16string text = widen(identifier_text(1 << 16, count));
    long found = 0;
    for (auto _ : state) {
        scanner = {};
        reader_reset();
        push_text_source(text.c_str());
        for (int c = next_char(); c != 0; c = next_char()) {
            if (char_class(c) == CC_IDENT && scan_and_find_macro(c) != nullptr) ++found;
        }
    }
    benchmark::DoNotOptimize(found);
    macros_reset();
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * text.size()));
}
BENCHMARK(identifier_lookup)->Arg(64)->Arg(4096);

}  // namespace
