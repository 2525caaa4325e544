// The #if evaluator driven directly on expression texts: each row of
// expr_cases.txt gives an expression, its value and the messages it reports,
// with their arguments; a line "[c99]" or "[default]" chooses the dialect of
// the rows after it. The stack limits are built here.
#include "cpp/expr.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <random>
#include <sstream>
#include <string>

#include "common/alert.h"
#include "common/wstr.h"
#include "cpp/dialect.h"
#include "cpp/expand.h"
#include "cpp/macro_table.h"
#include "cpp/reader.h"

namespace {

// A catalogue whose texts show the arguments ("@": none); every entry a level-0
// warning, so that nothing is filtered or counted towards the error limit.
const char catalogue[] =
    "117 0 @\n118 0 @\n119 0 @\n120 0 %s\n121 0 %s\n122 0 %s\n123 0 %s\n124 0 %d\n125 0 %d\n"
    "126 0 @\n127 0 @\n128 0 @\n129 0 @\n130 0 %s\n131 0 @\n132 0 @\n133 0 %d\n134 0 @\n"
    "174 0 %d\n175 0 @\n191 0 %s\n990 0 @\n";

class Expr : public ::testing::Test {
   protected:
    void SetUp() override {
        reader_reset();
        macros_reset();
        expand_reset();
        expr_reset();
        dialect_reset();
        alert_reset();
        alert_set_formats("%n:%s", "%n:%s", "%n:%s");
        alert_set_format_mode(1);
        // A name of this process's own: the cases run as processes side by
        // side (ctest -j), and so may other trees' suites.
        std::string path = ::testing::TempDir() + "expr_msgs_" +
                           ::testing::UnitTest::GetInstance()->current_test_info()->name() + "_" +
                           std::to_string(std::random_device{}()) + ".txt";
        std::ofstream(path) << catalogue;
        ASSERT_EQ(alert_open_catalogue(path.c_str()), 1);
        std::remove(path.c_str());
        const char16_t* definitions[][2] = {
            {u"X", u"1"},        {u"EMPTY", u""}, {u"TWO", u"2"}, {u"SUM", u"TWO + TWO"},
            {u"PLUS", u"+"},     {u"T", u"int"},  {u"xy", u"5"},  {u"CAT", u"x\x7F1Ey"},
            {u"PTR", u"char *"}, {u"DOT", u"."},
        };
        for (auto& d : definitions) {
            macro_def* m = macro_install(d[0], 0);
            m->body.reset(wstr_dup(d[1]));
            m->nparams = -1;
        }
    }
    void TearDown() override {
        dialect_reset();
        reader_reset();
        macros_reset();
        alert_reset();
    }

    // The value, then the messages as "N" or "N:text", separated by blanks.
    static std::string evaluate(const std::u16string& text) {
        testing::internal::CaptureStderr();
        push_text_source((text + u"\n").c_str());
        std::string result = std::to_string(evaluate_condition());
        while (next_char() != 0) {
        }
        std::istringstream reports(testing::internal::GetCapturedStderr());
        for (std::string line; std::getline(reports, line);) {
            result += ' ';
            result.append(line, 0, line.ends_with(":@") ? line.size() - 2 : line.size());
        }
        return result;
    }
};

TEST_F(Expr, CasesFromTheTable) {
    std::ifstream rows("cpp/expr_cases.txt");
    ASSERT_TRUE(rows) << "run from the tests folder";
    std::string line;
    int count = 0;
    while (std::getline(rows, line)) {
        if (line == "[default]") dialect_reset();
        if (line == "[c99]") {
            ASSERT_TRUE(dialect_select("c99"));
        }
        std::size_t arrow = line.rfind(" => ");
        if (line.empty() || line[0] == '#' || arrow == std::string::npos) continue;
        std::u16string text;
        for (std::size_t i = 0; i < arrow; ++i) {
            std::size_t close = line.find('}', i);
            if (line[i] == '{' && close != std::string::npos && close < arrow) {
                text += static_cast<char16_t>(
                    std::stoul(line.substr(i + 1, close - i - 1), nullptr, 16));
                i = close;
            } else {
                text += static_cast<unsigned char>(line[i]);
            }
        }
        EXPECT_EQ(evaluate(text), line.substr(arrow + 4)) << line;
        ++count;
    }
    EXPECT_GT(count, 300);
}

// 127 pending operators and 127 values fit; one more of either does not
// (nested parentheses, and the sizes -S sets: golden cases).
TEST_F(Expr, StackLimits) {
    auto times = [](const char16_t* piece, int n) {
        std::u16string s;
        while (n-- > 0) s += piece;
        return s;
    };
    EXPECT_EQ(evaluate(times(u"-", 127) + u"1"), "4294967295");
    EXPECT_EQ(evaluate(times(u"-", 128) + u"1"), "1 121:unary -");
    EXPECT_EQ(evaluate(times(u"1?", 126) + u"1"), "1 120:end of expression");
    EXPECT_EQ(evaluate(times(u"1?", 127) + u"1"), "1 118");
    EXPECT_EQ(evaluate(times(u"1+", 300) + u"1"), "301");
}

}  // namespace
