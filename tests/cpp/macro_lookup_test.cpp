// The macro table's look-up against its chains: names that share a chain
// hash (anagrams, same sums), removal and re-definition, growth of the
// look-up index, and the chain order that listings walk.
#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

#include "cpp/macro_table.h"
#include "cpp/reader.h"
#include "cpp/scanner.h"

namespace {

class MacroTableTest : public ::testing::Test {
   protected:
    void SetUp() override {
        reader_reset();
        macros_reset();
        scanner = {};
        scanner.save_ptr = scanner.save_buffer;
    }
    void TearDown() override {
        reader_reset();
        macros_reset();
    }

    // Looks the name up as the main loop does: scanned from a text source.
    static macro_def* find(const std::u16string& name) {
        std::u16string text = name + u"\n";
        push_text_source(text.c_str());
        macro_def* m = scan_and_find_macro(next_char());
        reader_reset();
        return m;
    }

    static void define(const std::u16string& name) {
        macro_def* m = macro_install(name.c_str(), 0);
        m->nparams = -1;
    }

    static bool undefine(const std::u16string& name) {
        return macro_install(name.c_str(), 1) != nullptr;
    }

    // Every record in listing order, checking that records of the same
    // chain hash stay sorted by name.
    static std::vector<std::u16string> listing() {
        std::vector<std::u16string> names;
        macro_table_settle();
        for (const macro_def* head : macros.macro_table) {
            for (const macro_def* m = head; m != nullptr; m = m->next) {
                for (const macro_def* n = m->next; n != nullptr; n = n->next) {
                    if (n->hash == m->hash) {
                        EXPECT_LT(std::u16string(m->name.get()), std::u16string(n->name.get()));
                    }
                }
                names.emplace_back(m->name.get());
            }
        }
        return names;
    }
};

TEST_F(MacroTableTest, LookUpMatchesWholeNamesOnly) {
    // KV_1_2 and KV_2_1 share a chain and a chain hash; so do AB and BA.
    const std::u16string defined[] = {u"KV_1_2", u"AB", u"x", u"LONGER_NAME_0"};
    const std::u16string absent[] = {u"KV_2_1", u"BA", u"KV_1_", u"KV_1_23", u"y", u"LONGER_NAME_"};
    for (const auto& n : defined) define(n);
    for (const auto& n : defined) {
        macro_def* m = find(n);
        ASSERT_NE(m, nullptr) << std::string(n.begin(), n.end());
        EXPECT_EQ(std::u16string(m->name.get()), n);
    }
    for (const auto& n : absent) EXPECT_EQ(find(n), nullptr) << std::string(n.begin(), n.end());
}

TEST_F(MacroTableTest, RemovalAndRedefinitionKeepTableAndLookUpInStep) {
    // Enough names to grow the look-up index several times, many of them
    // anagrams of each other.
    std::set<std::u16string> live;
    auto name = [](int i, int j) {
        return u"N_" + std::u16string(1, u'A' + i % 26) + u"_" + std::u16string(1, u'A' + j % 26) +
               std::u16string(1, u'0' + (i + j) % 10);
    };
    for (int i = 0; i < 40; ++i) {
        for (int j = 0; j < 40; ++j) {
            define(name(i, j));
            live.insert(name(i, j));
        }
    }
    for (int i = 0; i < 40; i += 3) {
        for (int j = 0; j < 40; j += 2) {
            bool was_live = live.erase(name(i, j)) != 0;
            EXPECT_EQ(undefine(name(i, j)), was_live);
        }
    }
    for (int i = 0; i < 40; i += 9) {
        define(name(i, 1));  // redefinition replaces, a removed one comes back
        live.insert(name(i, 1));
    }
    std::vector<std::u16string> listed = listing();
    EXPECT_EQ(std::set<std::u16string>(listed.begin(), listed.end()), live);
    EXPECT_EQ(listed.size(), live.size());
    for (int i = 0; i < 40; ++i) {
        for (int j = 0; j < 40; ++j) {
            macro_def* m = find(name(i, j));
            EXPECT_EQ(m != nullptr, live.count(name(i, j)) != 0);
            if (m != nullptr) {
                EXPECT_EQ(std::u16string(m->name.get()), name(i, j));
            }
        }
    }
}

TEST_F(MacroTableTest, ResetForgetsEveryName) {
    for (const char16_t* n : {u"ONE", u"TWO", u"THREE"}) define(n);
    macros_reset();
    for (const char16_t* n : {u"ONE", u"TWO", u"THREE"}) EXPECT_EQ(find(n), nullptr);
    define(u"TWO");
    EXPECT_NE(find(u"TWO"), nullptr);
    EXPECT_EQ(find(u"ONE"), nullptr);
}

}  // namespace
