// The macro table's look-up against a model of it: names defined, redefined
// and removed at random, enough of them that the look-up index grows many
// times, and every name looked up after each batch.
#include "cpp/macro_table.h"

#include <gtest/gtest.h>

#include <random>
#include <set>
#include <string>
#include <vector>

#include "common/alert.h"
#include "cpp/reader.h"

namespace {

std::u16string name_of(unsigned i) {
    std::u16string name = u"M";
    for (; i != 0; i /= 26) name.push_back(static_cast<char16_t>(u'a' + i % 26));
    return name;
}

class MacroTable : public ::testing::Test {
   protected:
    void SetUp() override {
        alert_reset();
        reader_reset();
        macros_reset();
    }
    void TearDown() override { macros_reset(); }
};

// Looks every name up; false (with a failure) at the first that the model
// and the table disagree on.
bool table_agrees(const std::vector<std::u16string>& names,
                  const std::set<std::u16string>& defined) {
    for (const std::u16string& name : names) {
        const macro_def* m = find_macro(name.c_str(), name.size());
        if ((m != nullptr) != (defined.count(name) == 1)) {
            ADD_FAILURE() << "the table and the model disagree on a name of " << name.size()
                          << " units";
            return false;
        }
        if (m != nullptr && std::u16string(m->name()) != name) {
            ADD_FAILURE() << "a look-up answered another name's record";
            return false;
        }
    }
    return macros.index_count == defined.size();
}

TEST_F(MacroTable, LookUpAgreesWithAModel) {
    std::vector<std::u16string> names;
    for (unsigned i = 0; i < 6000; ++i) names.push_back(name_of(i));
    std::set<std::u16string> defined;
    std::mt19937 rng(7);
    for (unsigned batch = 0; batch < 40; ++batch) {
        // Defining outweighs removing at first, so that the table grows, and
        // the other way round towards the end, so that it empties again.
        const unsigned removing = batch < 20 ? 3 : 7;
        for (unsigned step = 0; step < 1500; ++step) {
            const std::u16string& name = names[rng() % names.size()];
            if (rng() % 10 < removing) {
                macro_install(name.c_str(), 1);
                defined.erase(name);
            } else {
                macro_install(name.c_str(), 0);
                defined.insert(name);
            }
        }
        ASSERT_TRUE(table_agrees(names, defined)) << "batch " << batch;
    }
}

// A table kept about as full as its first size allows, so that most slots
// are shared and records are removed from among others of their slot.
TEST_F(MacroTable, NearlyFullIndexAgreesWithAModel) {
    std::vector<std::u16string> names;
    for (unsigned i = 0; i < 400; ++i) names.push_back(name_of(i * 7919));
    std::set<std::u16string> defined;
    std::mt19937 rng(11);
    for (unsigned step = 0; step < 60000; ++step) {
        const std::u16string& name = names[rng() % names.size()];
        if (defined.size() >= 190 || (defined.size() > 150 && rng() % 2 == 0)) {
            macro_install(name.c_str(), 1);
            defined.erase(name);
        } else {
            macro_install(name.c_str(), 0);
            defined.insert(name);
        }
        if (step % 200 == 0) {
            ASSERT_TRUE(table_agrees(names, defined)) << "step " << step;
        }
    }
}

}  // namespace
