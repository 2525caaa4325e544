// Macro expansion: the expansion text built for a call (stringising, paste
// operands, lazy parameter references, argument collection), pasting, the
// size limits and repeated runs in one process.
#include "cpp/expand.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "cpp/driver.h"
#include "tests/cpp/macro_fixture.h"

namespace {

struct call_case {
    const char* label;
    std::u16string definition;         // after "#define "
    std::u16string call;               // the name and its arguments
    std::u16string text;               // the expansion text pushed
    std::vector<std::u16string> args;  // "-" for an argument not supplied
    std::vector<unsigned> msgs;
};

class Call : public MacroFixture, public ::testing::WithParamInterface<call_case> {};

TEST_P(Call, BuildsTheExpansionText) {
    const call_case& c = GetParam();
    define(c.definition);
    push(c.call + u";");
    macro_def* m = scan_and_find_macro(next_char());
    ASSERT_NE(m, nullptr);
    ASSERT_EQ(expand_macro(m), 1);
    input_source* s = reader.current_source;
    ASSERT_NE(s, nullptr);
    EXPECT_EQ(s->macro, m);
    EXPECT_EQ(std::u16string(s->buffer.get()), c.text);
    std::vector<std::u16string> args;
    if (s->arg_count != 0) {
        for (int i = 0; i < m->nparams; ++i) args.push_back(s->argument(i) ? s->argument(i) : u"-");
    }
    EXPECT_EQ(args, c.args);
    EXPECT_EQ(messages(), c.msgs);
    drain();
    EXPECT_EQ(m->active, 0);
}

INSTANTIATE_TEST_SUITE_P(
    Expand, Call,
    ::testing::Values(
        call_case{"object_like", u"O 1 + 2", u"O", u"1 + 2", {}, {}},
        call_case{
            "lazy_reference", u"F(x) [x]", u"F(1)", std::u16string{u'[', REF0, u']'}, {u"1"}, {}},
        call_case{"paste_operands",
                  u"P(a,b) a ## b",
                  u"P(x, y)",
                  std::u16string{u'x', PST, NOX, u'y'},
                  {u"x", u"y"},
                  {}},
        call_case{"paste_number_left",
                  u"P(a,b) a ## b",
                  u"P(12, 3)",
                  std::u16string{NOX, u'1', u'2', PST, NOX, u'3'},
                  {u"12", u"3"},
                  {}},
        call_case{"paste_digit_run",
                  u"N(a) a ## 12",
                  u"N(v)",
                  std::u16string{u'v', PST, u'1', u'2', PST},
                  {u"v"},
                  {}},
        call_case{"paste_unsupplied",
                  u"P(a,b) a ## b",
                  u"P(x)",
                  std::u16string{u'x', PST},
                  {u"x", u"-"},
                  {171}},
        call_case{"stringise",
                  u"S(x) #x",
                  u"S( a  \"b\\n\"  c )",
                  u"\"a \\\"b\\\\n\\\" c\"",
                  {u"a \"b\\n\" c"},
                  {}},
        call_case{"stringise_unsupplied", u"S(x) #x", u"S()", u"\"\"", {}, {171}},
        call_case{"stringise_no_parameter",
                  u"H(x) # y x",
                  u"H(1)",
                  std::u16string{u'#', u'y', u' ', REF0},
                  {u"1"},
                  {172}},
        call_case{"nested_parentheses",
                  u"F(x,y) x|y",
                  u"F((a,b), c)",
                  std::u16string{REF0, u'|', REF1},
                  {u"(a,b)", u"c"},
                  {}},
        call_case{"blank_runs_and_lines",
                  u"F(x,y) x y",
                  u"F( a \n  b , c\t)",
                  std::u16string{REF0, u' ', REF1},
                  {u"a b", u"c"},
                  {}},
        call_case{"literal_argument",
                  u"F(x) x",
                  u"F(\"a,(\" ')')",
                  std::u16string{REF0},
                  {u"\"a,(\" ')'"},
                  {}},
        call_case{"own_name_marked",
                  u"F(x) x",
                  u"F(F)",
                  std::u16string{REF0},
                  {std::u16string{NOX, u'F'}},
                  {}},
        call_case{"empty_first",
                  u"G(a,b) a b",
                  u"G(,2)",
                  std::u16string{REF0, u' ', REF1},
                  {u"", u"2"},
                  {}},
        call_case{"trailing_comma", u"F(x) x", u"F(a,)", std::u16string{REF0}, {u"a"}, {}},
        call_case{"too_many", u"F(x) x", u"F(1,2)", std::u16string{REF0}, {u"1"}, {171}},
        call_case{"no_reference", u"F(x) 0", u"F(1)", u"0", {}, {}}),
    [](const ::testing::TestParamInfo<call_case>& info) { return info.param.label; });

struct paste_case {
    const char* label;
    std::u16string left;   // what the identifier buffer holds
    std::u16string after;  // what the reader gives next
    int result;
    std::u16string read;  // everything read afterwards
    std::vector<unsigned> msgs;
};

class Paste : public MacroFixture, public ::testing::WithParamInterface<paste_case> {};

TEST_P(Paste, JoinsTheOperands) {
    const paste_case& c = GetParam();
    define(u"cd 42");
    wstr_copy(scanner.name_buffer, c.left.c_str());
    push(c.after);
    EXPECT_EQ(paste_tokens(), c.result);
    EXPECT_EQ(drain(), c.read);
    EXPECT_EQ(messages(), c.msgs);
}

INSTANTIATE_TEST_SUITE_P(
    Expand, Paste,
    ::testing::Values(
        paste_case{"names", u"ab", std::u16string{PST} + u"xy;", 1, u"abxy;", {}},
        paste_case{"marked_operands",
                   std::u16string{NOX, u'a', u'b'},
                   std::u16string{PST, NOX} + u"cd;",
                   1,
                   u"abcd;",
                   {}},
        paste_case{"right_name_expands_first",
                   u"ab",
                   std::u16string{PST} + u"cd;",
                   1,
                   std::u16string(u"ab42") + END + u";",
                   {}},
        paste_case{
            "digit_run_closed", u"x", std::u16string{PST, u'1', u'2', PST} + u";", 1, u"x12;", {}},
        paste_case{"digit_run_open", u"x", std::u16string{PST} + u"12;", 1, u"x12;", {}},
        paste_case{"marked_digits", u"x", std::u16string{PST, NOX} + u"12;", 1, u"x12;", {}},
        paste_case{"operators", u"-", std::u16string{PST} + u">;", 1, u"->;", {}},
        paste_case{"not_pastable", u"x", std::u16string{PST} + u";", 1, u"x;", {169}},
        paste_case{"no_marker", u"x", u" y", 0, u" y", {}}),
    [](const ::testing::TestParamInfo<paste_case>& info) { return info.param.label; });

TEST_F(MacroFixture, StringisedArgumentThatDoesNotFitIsDropped) {
    define(u"S(x) #x #x");
    std::u16string arg(5000, u'7');  // no name: names are cut to 31 units
    push(u"S(" + arg + u")");
    ASSERT_EQ(expand_macro(scan_and_find_macro(next_char())), 1);
    EXPECT_EQ(std::u16string(reader.current_source->buffer.get()), u"\"" + arg + u"\" \"\"");
    EXPECT_EQ(messages(), std::vector<unsigned>{153});
}

TEST_F(MacroFixture, FullParameterPoolKeepsEveryArgumentClosed) {
    define(u"F(x,y) x y");
    std::u16string arg(PARAM_POOL_SIZE + 5, u'7');
    push(u"F(" + arg + u",b)");
    ASSERT_EQ(expand_macro(scan_and_find_macro(next_char())), 1);
    input_source* s = reader.current_source;
    ASSERT_NE(s->argument(0), nullptr);
    // One unit is kept for the terminator; the second argument finds the pool
    // full and stays empty.
    EXPECT_EQ(std::u16string(s->argument(0)), std::u16string(PARAM_POOL_SIZE - 1, u'7'));
    EXPECT_EQ(std::u16string(s->argument(1)), u"");
    EXPECT_EQ(messages(), std::vector<unsigned>(8, 149));
    EXPECT_EQ(macros.pool_ptr, macros.param_pool);
}

TEST_F(MacroFixture, ReferenceOutsideTheMacroIsReported) {
    define(u"F(x) x");
    push(u"F(1)");
    ASSERT_EQ(expand_macro(scan_and_find_macro(next_char())), 1);
    push_argument(3);
    push(u"plain");
    push_argument(0);
    EXPECT_EQ(messages(), (std::vector<unsigned>{152, 152}));
}

TEST_F(MacroFixture, DynamicLineAndFile) {
    macro_install(u"__LINE__", 0)->nparams = -2;
    macro_install(u"__FILE__", 0)->nparams = -3;
    push(u"__LINE__ __FILE__");
    reader.current_line = 42;
    ASSERT_EQ(expand_macro(scan_and_find_macro(next_char())), 1);
    EXPECT_EQ(std::u16string(reader.current_source->buffer.get()), u"42");
    // No file source is open: the file name gives no text.
    input_source* before = reader.current_source;
    drain();
    push(u"__FILE__;");
    before = reader.current_source;
    ASSERT_EQ(expand_macro(scan_and_find_macro(next_char())), 1);
    EXPECT_EQ(reader.current_source, before);
}

// One process, two runs: every piece of macro and conditional state starts
// afresh, so both runs give the same output and status.
TEST(RepeatedRun, SecondRunMatchesTheFirst) {
    namespace fs = std::filesystem;
    fs::path dir = fs::temp_directory_path() / ("macro_run_" + std::to_string(::getpid()));
    fs::create_directories(dir);
    fs::path in = dir / "in.c";
    std::ofstream(in)
        << "#if 1\n#define F(x) [x]\n#ifdef F\nF(1) __LINE__\n#endif\n#endif\n#undef F\nF(2)\n";
    std::vector<std::string> outputs;
    for (int run_number = 0; run_number < 2; ++run_number) {
        fs::path out = dir / ("out" + std::to_string(run_number));
        std::string in_name = in.string(), out_name = out.string();
        char arg0[] = "cpp";
        char* argv[] = {arg0, in_name.data(), out_name.data(), nullptr};
        EXPECT_EQ(run(3, argv), 0);
        std::ifstream f(out);
        std::stringstream text;
        text << f.rdbuf();
        outputs.push_back(text.str());
    }
    fs::remove_all(dir);
    EXPECT_EQ(outputs[0], outputs[1]);
    EXPECT_NE(outputs[0].find("\n[1] 4\n"), std::string::npos) << outputs[0];
    EXPECT_NE(outputs[0].find("\nF(2)\n"), std::string::npos) << outputs[0];
}

}  // namespace
