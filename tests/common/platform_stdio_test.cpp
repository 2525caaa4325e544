// The output calls without the stream lock: bytes written in pieces of every
// length, through a stream buffer small enough to fill up at every place,
// come out whole and in order, and nothing is written past the buffer.
#include "common/platform_stdio.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <memory>
#include <string>

namespace {

std::string read_back(std::FILE* f) {
    std::rewind(f);
    std::string text;
    for (int c; (c = std::getc(f)) != EOF;) text.push_back(static_cast<char>(c));
    return text;
}

TEST(PlatformStdio, PiecesOfEveryLengthComeOutInOrder) {
    std::FILE* f = std::tmpfile();
    ASSERT_NE(f, nullptr);
    // A buffer of its own, exactly as long as it is said to be, so that a
    // write past it is seen (by AddressSanitizer).
    constexpr std::size_t BUFFER = 48;
    auto buffer = std::make_unique<char[]>(BUFFER);
    ASSERT_EQ(std::setvbuf(f, buffer.get(), _IOFBF, BUFFER), 0);
    // The source has SHORT_WRITE readable bytes past every piece.
    std::string source;
    for (int i = 0; i < 200; ++i) source.push_back(static_cast<char>('a' + i % 26));
    std::string expected;
    std::size_t at = 0;
    for (std::size_t round = 0; round < 40; ++round) {
        const std::size_t n = round % (SHORT_WRITE + 3);  // 0 to SHORT_WRITE + 2
        const char* piece = source.data() + at % 100;
        if (round % 2 == 0) {
            write_short_bytes_unlocked(f, piece, n);
        } else {
            write_bytes_unlocked(f, piece, n);
        }
        expected.append(piece, n);
        at += 7;
    }
    write_bytes_unlocked(f, source.data(), 100);  // longer than the buffer
    expected.append(source.data(), 100);
    write_short_bytes_unlocked(f, source.data() + 1, 3);
    expected.append(source.data() + 1, 3);
    ASSERT_EQ(std::fflush(f), 0);
    EXPECT_EQ(read_back(f), expected);
    std::fclose(f);
}

}  // namespace
