// The macro table: the encoded replacement text #define stores, the
// redefinition comparison, chain order, identifier significance and records
// removed while their expansion is still being read.
#include "cpp/macro_table.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "tests/cpp/macro_fixture.h"

namespace {

struct encoding_case {
    const char* label;
    std::u16string line;  // after "#define "
    std::u16string name;
    std::u16string body;
    int nparams;
    std::vector<unsigned> msgs;
};

class Encoding : public MacroFixture, public ::testing::WithParamInterface<encoding_case> {};

TEST_P(Encoding, StoresTheEncodedBody) {
    const encoding_case& c = GetParam();
    define(c.line);
    macro_def* m = find(c.name);
    ASSERT_NE(m, nullptr);
    ASSERT_TRUE(m->body);
    EXPECT_EQ(std::u16string(m->body.get()), c.body);
    EXPECT_EQ(m->nparams, c.nparams);
    EXPECT_EQ(messages(), c.msgs);
}

const std::u16string REF2(1, static_cast<char16_t>(REF0 + 2));
const std::u16string REF30(1, static_cast<char16_t>(REF0 + 30));

std::u16string many_params(int n) {
    std::u16string s = u"M(";
    for (int i = 0; i < n; ++i) {
        if (i) s += u",";
        s += u"p" + std::u16string(1, static_cast<char16_t>(u'A' + i / 26)) +
             std::u16string(1, static_cast<char16_t>(u'a' + i % 26));
    }
    return s + u") pAe pBe";  // parameters 4 and 30
}

INSTANTIATE_TEST_SUITE_P(
    Define, Encoding,
    ::testing::Values(
        encoding_case{"empty_object", u"A", u"A", u"", -1, {}},
        encoding_case{"empty_list", u"F()", u"F", u"", 0, {}},
        encoding_case{"empty_list_body", u"F() x", u"F", u"x", 0, {}},
        encoding_case{"blank_before_paren", u"F (x) x", u"F", u"(x) x", -1, {}},
        encoding_case{"two_params", u"F(a,b) a+b", u"F", std::u16string{REF0, u'+', REF1}, 2, {}},
        encoding_case{"blanks_in_list", u"F( a , b ) b", u"F", std::u16string{REF1}, 2, {}},
        encoding_case{"first_name_wins", u"F(a,a) a", u"F", std::u16string{REF0}, 2, {}},
        encoding_case{"stringise", u"S(x) # x", u"S", std::u16string{STR, REF0}, 1, {}},
        encoding_case{"paste", u"P(a,b) a  ##  b", u"P", std::u16string{REF0, PST, REF1}, 2, {}},
        encoding_case{"paste_digits",
                      u"N(a) a ## 12",
                      u"N",
                      std::u16string{REF0, PST, u'1', u'2', PST},
                      1,
                      {}},
        encoding_case{"paste_digits_then_text",
                      u"N(a) a##1 x",
                      u"N",
                      std::u16string{REF0, PST, u'1', PST, u' ', u'x'},
                      1,
                      {}},
        encoding_case{"own_name", u"R R+1", u"R", std::u16string{NOX, u'R', u'+', u'1'}, -1, {}},
        encoding_case{"own_name_in_function",
                      u"G(x) G(x)",
                      u"G",
                      std::u16string{NOX, u'G', u'(', REF0, u')'},
                      1,
                      {}},
        encoding_case{"blank_runs", u"T a  \t  b\t", u"T", u"a b", -1, {}},
        encoding_case{"literal_kept", u"U \"a   b\"  'c'", u"U", u"\"a   b\" 'c'", -1, {}},
        encoding_case{"escaped_quote", u"Q \"a\\\"b\" x", u"Q", u"\"a\\\"b\" x", -1, {}},
        encoding_case{
            "comment_is_blank", u"C(x) x/* c */y", u"C", std::u16string{REF0, u' ', u'y'}, 1, {}},
        encoding_case{"number_not_param",
                      u"K(e) 1e5 e",
                      u"K",
                      std::u16string{u'1', u'e', u'5', u' ', REF0},
                      1,
                      {}},
        encoding_case{"unclosed_literal", u"L \"abc", u"L", u"\"abc", -1, {113}},
        encoding_case{"paste_at_end", u"E a ##", u"E", std::u16string{u'a', PST}, -1, {138}},
        encoding_case{
            "paste_operator", u"O a ## ;", u"O", std::u16string{u'a', PST, u';'}, -1, {137}},
        encoding_case{"thirty_one_params",
                      many_params(31),
                      u"M",
                      std::u16string{REF0 + 4} + u" " + REF30,
                      31,
                      {}},
        encoding_case{"thirty_two_params",
                      many_params(32),
                      u"M",
                      std::u16string{REF0 + 4} + u" " + REF30,
                      31,
                      {148}}),
    [](const ::testing::TestParamInfo<encoding_case>& info) { return info.param.label; });

struct redefinition_case {
    const char* label;
    std::u16string first;
    std::u16string second;
    bool reported;
};

class Redefinition : public MacroFixture,
                     public ::testing::WithParamInterface<redefinition_case> {};

TEST_P(Redefinition, ComparesEncodedBodies) {
    const redefinition_case& c = GetParam();
    define(c.first);
    messages();
    define(c.second);
    std::vector<unsigned> expected;
    if (c.reported) expected.push_back(111);
    EXPECT_EQ(messages(), expected);
}

INSTANTIATE_TEST_SUITE_P(
    Define, Redefinition,
    ::testing::Values(redefinition_case{"same_text", u"A 1", u"A 1", false},
                      redefinition_case{"other_blanks", u"A x  +\ty", u"A x + y ", false},
                      redefinition_case{"other_text", u"A 1", u"A 2", true},
                      redefinition_case{"renamed_params", u"F(a,b) a+b", u"F(x,y) x+y", false},
                      redefinition_case{"fewer_params_same_body", u"F(a,b) a", u"F(x) x", false},
                      redefinition_case{"swapped_params", u"F(a,b) a+b", u"F(a,b) b+a", true},
                      redefinition_case{"object_to_function", u"F x", u"F(x) x", true},
                      redefinition_case{"empty_to_text", u"E", u"E 0", true}),
    [](const ::testing::TestParamInfo<redefinition_case>& info) { return info.param.label; });

TEST_F(MacroFixture, RedefiningADynamicMacroIsAlwaysReported) {
    macro_def* line = macro_install(u"__LINE__", 0);
    line->nparams = -2;
    define(u"__LINE__ 5");
    EXPECT_EQ(messages(), std::vector<unsigned>{111});
    ASSERT_EQ(find(u"__LINE__"), line);
    EXPECT_EQ(line->nparams, -1);
    EXPECT_EQ(std::u16string(line->body.get()), u"5");
}

TEST_F(MacroFixture, MalformedDefinitionLeavesTheTableAsItWas) {
    define(u"F(a) [a]");
    define(u"F(a b) x");
    define(u"G(a");
    EXPECT_EQ(messages(), (std::vector<unsigned>{112, 112}));
    macro_def* f = find(u"F");
    ASSERT_NE(f, nullptr);
    EXPECT_EQ(std::u16string(f->body.get()), (std::u16string{u'[', REF0, u']'}));
    EXPECT_EQ(f->nparams, 1);
    EXPECT_EQ(find(u"G"), nullptr);
}

TEST_F(MacroFixture, DefineWithoutNameKeepsTheLineEnd) {
    push(u"\nnext\n");
    do_define();
    EXPECT_EQ(messages(), std::vector<unsigned>{112});
    EXPECT_EQ(drain(), u"\nnext\n");
}

struct chain_case {
    const char* label;
    std::vector<std::u16string> inserted;
    std::vector<std::u16string> chain;  // bucket of "ab" from its head
};

class ChainOrder : public MacroFixture, public ::testing::WithParamInterface<chain_case> {};

// "ab" and "ba" share the hash 197; "AB" (133) lands in the same bucket.
TEST_P(ChainOrder, OrdersEqualHashesByName) {
    for (const std::u16string& name : GetParam().inserted)
        macro_install(name.c_str(), 0)->nparams = -1;
    std::vector<std::u16string> chain;
    macro_table_settle();
    for (macro_def* m = macros.macro_table[197 & 63]; m != nullptr; m = m->next)
        chain.emplace_back(m->name.get());
    EXPECT_EQ(chain, GetParam().chain);
}

INSTANTIATE_TEST_SUITE_P(
    Table, ChainOrder,
    ::testing::Values(
        chain_case{"sorted_within_hash", {u"ba", u"ab"}, {u"ab", u"ba"}},
        chain_case{"other_hash_first", {u"AB", u"ba", u"ab"}, {u"AB", u"ab", u"ba"}},
        chain_case{"other_hash_between", {u"ba", u"AB", u"ab"}, {u"ab", u"ba", u"AB"}},
        chain_case{"replaced_in_place", {u"ab", u"AB", u"ba", u"ab"}, {u"ab", u"AB", u"ba"}}),
    [](const ::testing::TestParamInfo<chain_case>& info) { return info.param.label; });

// Records take their chain places only when a listing asks for them. A
// random run of definitions, redefinitions and removals, with the chains
// put in order at random moments, must list every bucket as placing each
// record at once would: before the first record of the same hash whose name
// sorts after it, else at the end; a redefinition where the old record was.
TEST_F(MacroFixture, DeferredChainOrderMatchesImmediatePlacement) {
    // Permutations share the hash, so they meet in one chain.
    const std::u16string names[] = {u"ab", u"ba", u"AB", u"abc", u"bca", u"cab", u"acb", u"Q"};
    auto hash = [](const std::u16string& n) {
        unsigned h = 0;
        for (char16_t c : n) h += c;
        return h + static_cast<unsigned>(n.size());
    };
    std::vector<std::u16string> model[MACRO_BUCKETS];
    unsigned seed = 12345;
    auto next = [&seed] { return (seed = seed * 1103515245u + 12345u) >> 16; };
    for (int step = 0; step < 4000; ++step) {
        const std::u16string& name = names[next() % 8];
        unsigned h = hash(name);
        std::vector<std::u16string>& chain = model[h & (MACRO_BUCKETS - 1)];
        auto at = std::find(chain.begin(), chain.end(), name);
        if (next() % 3 == 0) {
            EXPECT_EQ(macro_install(name.c_str(), 1) != nullptr, at != chain.end());
            if (at != chain.end()) chain.erase(at);
        } else {
            macro_install(name.c_str(), 0)->nparams = -1;
            if (at == chain.end()) {
                at = std::find_if(chain.begin(), chain.end(), [&](const std::u16string& o) {
                    return hash(o) == h && o > name;
                });
                chain.insert(at, name);
            }
        }
        if (next() % 400 == 0) macro_table_settle();
    }
    macro_table_settle();
    for (int b = 0; b < MACRO_BUCKETS; ++b) {
        std::vector<std::u16string> chain;
        for (macro_def* m = macros.macro_table[b]; m != nullptr; m = m->next)
            chain.emplace_back(m->name.get());
        EXPECT_EQ(chain, model[b]) << "bucket " << b;
    }
}

TEST_F(MacroFixture, RemoveOnlyTellsWhetherARecordWent) {
    macro_install(u"X", 0)->nparams = -1;
    EXPECT_NE(macro_install(u"X", 1), nullptr);
    EXPECT_EQ(macro_install(u"X", 1), nullptr);
    EXPECT_EQ(find(u"X"), nullptr);
}

struct significance_case {
    int max_ident_len;
    std::u16string defined;
    std::u16string looked_up;
    bool found;
};

class Significance : public MacroFixture,
                     public ::testing::WithParamInterface<significance_case> {};

TEST_P(Significance, LongNamesAgreeInTheirSignificantPart) {
    const significance_case& c = GetParam();
    scanner.max_ident_len = c.max_ident_len;
    define(c.defined + u" 1");
    push(c.looked_up + u";");
    macro_def* m = scan_and_find_macro(next_char());
    EXPECT_EQ(m != nullptr, c.found);
    EXPECT_EQ(next_char(), u';');  // the whole name was consumed
}

const std::u16string A31(31, u'a');
const std::u16string A255(255, u'a');

INSTANTIATE_TEST_SUITE_P(Table, Significance,
                         ::testing::Values(significance_case{31, A31 + u"xyz", A31 + u"uvw", true},
                                           significance_case{31, A31, A31 + u"uvw", true},
                                           significance_case{32, A31 + u"x", A31 + u"y", false},
                                           significance_case{255, A255 + u"x", A255 + u"y", true},
                                           significance_case{255, A31 + u"b", A31, false}));

TEST_F(MacroFixture, ActiveMacroIsPassedOver) {
    define(u"F(x) x");
    macro_def* f = find(u"F");
    f->active = 1;
    push(u"F ");
    EXPECT_EQ(scan_and_find_macro(next_char()), nullptr);
    f->active = 0;
}

// The records of macros removed while their expansions wait to be read stay
// valid until those end (AddressSanitizer builds check every access).
TEST_F(MacroFixture, RemovedWhileExpandingStaysValid) {
    define(u"A x y");
    define(u"F(v) v v");
    push(u"F(1)");
    macro_def* f = scan_and_find_macro(next_char());
    ASSERT_NE(f, nullptr);
    ASSERT_EQ(expand_macro(f), 1);
    EXPECT_NE(macro_install(u"F", 1), nullptr);
    push(u"A ");
    macro_def* a = scan_and_find_macro(next_char());
    ASSERT_NE(a, nullptr);
    ASSERT_EQ(expand_macro(a), 1);
    EXPECT_NE(macro_install(u"A", 1), nullptr);
    define_here(u"A again");  // a new record under the same name
    EXPECT_EQ(drain(), std::u16string(u"x y") + END + u" 1 1" + END);
    EXPECT_EQ(messages(), std::vector<unsigned>{});
    EXPECT_EQ(find(u"F"), nullptr);
    ASSERT_NE(find(u"A"), nullptr);
    EXPECT_EQ(std::u16string(find(u"A")->body.get()), u"again");
}

TEST_F(MacroFixture, UndefWithoutName) {
    push(u"  \nrest\n");
    do_undef();
    EXPECT_EQ(messages(), std::vector<unsigned>{114});
    EXPECT_EQ(drain(), u"\nrest\n");
}

}  // namespace
