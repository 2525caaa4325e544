// Checked allocation: zero-filled blocks, the failure path through the exit
// hook (and without one), the global operator new, the 4095-character limit
// of formatted strings and concatenation.
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
#if defined(__SANITIZE_ADDRESS__)
#define ALLOC_TEST_ASAN 1
#endif

#ifdef ALLOC_TEST_ASAN
// Impossible sizes must reach our failure path instead of the sanitizer's.
extern "C" const char* __asan_default_options() {
    return "allocator_may_return_null=1";
}
#endif

namespace {

struct run_ended {
    int status;
};

[[noreturn]] void throwing_exit(int status) {
    throw run_ended{status};
}

class AllocTest : public ::testing::Test {
   protected:
    void SetUp() override { alloc_set_exit_hook(throwing_exit); }
    void TearDown() override { alloc_set_exit_hook(nullptr); }
};

// Kept volatile so that no compiler sees (and warns about) the size.
volatile std::size_t impossible_size = SIZE_MAX - 4096;

// The captured standard error without the warnings a sanitizer's allocator
// adds when it gives up ("==pid==WARNING: ...").
std::string captured_stderr() {
    std::string text = testing::internal::GetCapturedStderr();
    std::string kept;
    std::size_t at = 0;
    while (at < text.size()) {
        std::size_t end = text.find('\n', at);
        end = end == std::string::npos ? text.size() : end + 1;
        if (text.compare(at, 2, "==") != 0) kept.append(text, at, end - at);
        at = end;
    }
    return kept;
}

std::string failure_text(std::size_t size) {
    return "can't allocate " + std::to_string(size) + " bytes of memory\n";
}

TEST_F(AllocTest, BlocksAreZeroFilledEvenWhenReused) {
    for (std::size_t size : {1u, 24u, 4096u, 100000u}) {
        auto* first = static_cast<unsigned char*>(alloc_mem(size));
        std::memset(first, 0xA5, size);
        std::free(first);
        auto* second = static_cast<unsigned char*>(alloc_mem(size));
        for (std::size_t i = 0; i < size; i++) ASSERT_EQ(second[i], 0) << size << " at " << i;
        std::free(second);
    }
}

TEST_F(AllocTest, ZeroByteRequestGivesAReleasableBlock) {
    void* p = alloc_mem(0);
    EXPECT_NE(p, nullptr);
    std::free(p);
}

TEST_F(AllocTest, FailureReportsSizeAndEndsRunWithStatusOne) {
    std::size_t size = impossible_size;
    testing::internal::CaptureStderr();
    int status = -1;
    try {
        alloc_mem(size);
    } catch (const run_ended& e) {
        status = e.status;
    }
    EXPECT_EQ(captured_stderr(), failure_text(size));
    EXPECT_EQ(status, 1);
}

TEST_F(AllocTest, OperatorNewFailsTheSameWay) {
    std::size_t size = impossible_size;
    for (bool array : {false, true}) {
        testing::internal::CaptureStderr();
        int status = -1;
        try {
            void* p = array ? ::operator new[](size) : ::operator new(size);
            ::operator delete(p);
        } catch (const run_ended& e) {
            status = e.status;
        } catch (const std::bad_alloc&) {
            status = -2;
        }
        EXPECT_EQ(captured_stderr(), failure_text(size)) << array;
        EXPECT_EQ(status, 1) << array;
    }
}

TEST_F(AllocTest, AlignedOperatorNewFailsTheSameWay) {
    std::size_t size = impossible_size;
    testing::internal::CaptureStderr();
    int status = -1;
    try {
        void* p = ::operator new (size, std::align_val_t{64});
        ::operator delete (p, std::align_val_t{64});
    } catch (const run_ended& e) {
        status = e.status;
    }
    EXPECT_EQ(captured_stderr(), failure_text(size));
    EXPECT_EQ(status, 1);
}

TEST_F(AllocTest, NothrowNewReturnsNullWithoutEndingTheRun) {
    std::size_t size = impossible_size;
    testing::internal::CaptureStderr();
    void* p = ::operator new(size, std::nothrow);
    void* q = ::operator new[](size, std::nothrow);
    EXPECT_EQ(captured_stderr(), "");
    EXPECT_EQ(p, nullptr);
    EXPECT_EQ(q, nullptr);
}

TEST_F(AllocTest, AlignedNewHonoursTheAlignment) {
    for (std::size_t align : {16u, 64u, 4096u}) {
        void* p = ::operator new (10, std::align_val_t{align});
        EXPECT_EQ(reinterpret_cast<std::uintptr_t>(p) % align, 0u) << align;
        ::operator delete (p, std::align_val_t{align});
    }
}

TEST(AllocDeathTest, WithoutHookFailureExitsWithStatusOne) {
    alloc_set_exit_hook(nullptr);
    std::size_t size = impossible_size;
    EXPECT_EXIT(alloc_mem(size), ::testing::ExitedWithCode(1),
                "can't allocate .+ bytes of memory");  // a regex for every platform
}

struct format_case {
    std::size_t length;
    bool cut;
};

class AllocFormatTest : public ::testing::TestWithParam<format_case> {};

TEST_P(AllocFormatTest, LimitIs4095Characters) {
    const format_case& c = GetParam();
    std::string text(c.length, 'x');
    if (c.length > 0) text.back() = 'y';
    testing::internal::CaptureStderr();
    char* s = alloc_printf("%s", text.c_str());
    std::string err = testing::internal::GetCapturedStderr();
    if (c.cut) {
        EXPECT_EQ(err, "buffer overflow in vsnprintf");
        EXPECT_EQ(std::string(s), text.substr(0, 4095));
    } else {
        EXPECT_EQ(err, "");
        EXPECT_EQ(std::string(s), text);
    }
    std::free(s);
}

INSTANTIATE_TEST_SUITE_P(Boundary, AllocFormatTest,
                         ::testing::Values(format_case{0, false}, format_case{1, false},
                                           format_case{4094, false}, format_case{4095, false},
                                           format_case{4096, true}, format_case{4097, true},
                                           format_case{20000, true}),
                         [](const ::testing::TestParamInfo<format_case>& info) {
                             return "Length" + std::to_string(info.param.length);
                         });

TEST(AllocFormat, ArgumentsPassThroughTheVariadicForm) {
    char* s = alloc_printf("%d|%s|%c|%5.2f|%%", -42, "mid", 'q', 2.25);
    EXPECT_STREQ(s, "-42|mid|q| 2.25|%");
    std::free(s);
    // Padding counts toward the limit like any other character.
    testing::internal::CaptureStderr();
    s = alloc_printf("%4094d%s", 7, "ab");
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "buffer overflow in vsnprintf");
    EXPECT_EQ(std::strlen(s), 4095u);
    EXPECT_EQ(s[4093], '7');
    EXPECT_EQ(s[4094], 'a');
    std::free(s);
}

TEST(AllocConcat, JoinsWithoutTouchingTheArguments) {
    struct {
        const char* a;
        const char* b;
        const char* joined;
    } cases[] = {{"", "", ""}, {"abc", "", "abc"}, {"", "xyz", "xyz"}, {"ab", "cd", "abcd"}};
    for (const auto& c : cases) {
        char* s = alloc_concat(c.a, c.b);
        EXPECT_STREQ(s, c.joined);
        EXPECT_NE(s, c.a);
        EXPECT_NE(s, c.b);
        std::free(s);
    }
}

}  // namespace
