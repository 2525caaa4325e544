// Checked allocation: every failure, through alloc_mem or operator new, ends
// the run with its message and status 1; formatted strings stop at 4095
// characters.
#include "common/alloc.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <new>
#include <string>

#if defined(__has_feature)
#if __has_feature(address_sanitizer)
#define ALLOC_TEST_ASAN 1
#endif
#endif
#if defined(__SANITIZE_ADDRESS__) || defined(ALLOC_TEST_ASAN)
// Impossible sizes must reach our failure path instead of the sanitizer's.
extern "C" const char* __asan_default_options() {
    return "allocator_may_return_null=1";
}
#endif

namespace {

[[noreturn]] void throwing_exit(int status) {
    throw status;
}

volatile std::size_t impossible_size = SIZE_MAX - 4096;

TEST(Alloc, FailureReportsTheSizeAndEndsTheRunWithStatusOne) {
    alloc_set_exit_hook(throwing_exit);
    const std::string text =
        "can't allocate " + std::to_string(impossible_size) + " bytes of memory\n";
    for (int how = 0; how < 3; ++how) {
        testing::internal::CaptureStderr();
        int status = -1;
        try {
            if (how == 0) std::free(alloc_mem(impossible_size));
            if (how == 1) ::operator delete(::operator new(impossible_size));
            if (how == 2) ::operator delete[](::operator new[](impossible_size));
        } catch (int s) {
            status = s;
        }
        std::string err = testing::internal::GetCapturedStderr();
        EXPECT_NE(err.find(text), std::string::npos) << how << ": " << err;
        EXPECT_EQ(status, 1) << how;
    }
    EXPECT_EQ(::operator new(impossible_size, std::nothrow), nullptr);
    alloc_set_exit_hook(nullptr);
    auto* block = static_cast<unsigned char*>(alloc_mem(64));
    for (int i = 0; i < 64; ++i) ASSERT_EQ(block[i], 0);
    std::free(block);
}

TEST(Alloc, FormattedStringsStopAt4095Characters) {
    for (std::size_t length : {4095u, 4096u}) {
        std::string text(length, 'x');
        testing::internal::CaptureStderr();
        char* s = alloc_printf("%s", text.c_str());
        std::string err = testing::internal::GetCapturedStderr();
        EXPECT_EQ(std::strlen(s), 4095u);
        EXPECT_EQ(err, length == 4095 ? "" : "buffer overflow in vsnprintf");
        std::free(s);
    }
    char* s = alloc_concat("ab", "");
    EXPECT_STREQ(s, "ab");
    std::free(s);
}

}  // namespace
