// The floor for a preprocessor that holds text as 16-bit units: read each
// file, widen every byte to one unit, narrow every unit back to its low 8
// bits and write the result. No lexing at all, so any real preprocessor of
// this design is slower than this.
//
//     widen_floor [-o output] file...      (output "-" or absent: stdout)
#include <cstdio>
#include <cstring>
#include <vector>

namespace {

constexpr std::size_t block_size = 64 * 1024;

// Widens and narrows one open file into `out`; false on a read error.
bool copy_widened(std::FILE* in, std::FILE* out) {
    std::vector<unsigned char> bytes(block_size);
    std::vector<char16_t> units(block_size);
    std::vector<char> narrow(block_size);
    for (;;) {
        std::size_t n = std::fread(bytes.data(), 1, bytes.size(), in);
        if (n == 0) return std::ferror(in) == 0;
        for (std::size_t i = 0; i < n; ++i) units[i] = bytes[i];
        // Keep the optimiser from fusing the two loops into a plain copy.
        asm volatile("" : : "r"(units.data()) : "memory");
        // Narrowing writes the low 8 bits, as the preprocessor's output does.
        for (std::size_t i = 0; i < n; ++i) narrow[i] = static_cast<char>(units[i]);
        if (std::fwrite(narrow.data(), 1, n, out) != n) return false;
    }
}

}  // namespace

int main(int argc, char** argv) {
    std::FILE* out = stdout;
    int first = 1;
    if (argc > 2 && std::strcmp(argv[1], "-o") == 0) {
        if (std::strcmp(argv[2], "-") != 0) out = std::fopen(argv[2], "wb");
        if (out == nullptr) {
            std::perror(argv[2]);
            return 1;
        }
        first = 3;
    }
    if (first >= argc) {
        std::fputs("usage: widen_floor [-o output] file...\n", stderr);
        return 2;
    }
    int status = 0;
    for (int i = first; i < argc; ++i) {
        std::FILE* in = std::fopen(argv[i], "rb");
        if (in == nullptr || !copy_widened(in, out)) {
            std::perror(argv[i]);
            status = 1;
        }
        if (in != nullptr) std::fclose(in);
    }
    if (std::fclose(out) != 0) status = 1;
    return status;
}
