// Checked allocation: every failure, through alloc_mem or operator new, ends
// the run with its message and status 1.
#include "common/alloc.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstdlib>
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

volatile std::size_t impossible_size = SIZE_MAX - 4096;

TEST(Alloc, FailureReportsTheSizeAndEndsTheRunWithStatusOne) {
    alloc_set_exit_hook([](int status) { throw status; });
    const std::string text =
        "can't allocate " + std::to_string(impossible_size) + " bytes of memory\n";
    void (*const attempts[])() = {[] { std::free(alloc_mem(impossible_size)); },
                                  [] { ::operator delete(::operator new(impossible_size)); },
                                  [] { ::operator delete[](::operator new[](impossible_size)); }};
    for (auto attempt : attempts) {
        testing::internal::CaptureStderr();
        int status = -1;
        try {
            attempt();
        } catch (int s) {
            status = s;
        }
        EXPECT_NE(testing::internal::GetCapturedStderr().find(text), std::string::npos);
        EXPECT_EQ(status, 1);
    }
    EXPECT_EQ(::operator new(impossible_size, std::nothrow), nullptr);
    alloc_set_exit_hook(nullptr);
    auto* block = static_cast<unsigned char*>(alloc_mem(64));
    for (int i = 0; i < 64; ++i) ASSERT_EQ(block[i], 0);
    std::free(block);
}

}  // namespace
