#include "cpp/unit_text.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

std::vector<wchar> units_of(const unit_text& t) {
    return std::vector<wchar>(t.data(), t.data() + t.size());
}

// Every edit made to the text and to a vector beside it, through many
// growths of its room: the two hold the same units after each one.
TEST(UnitText, EditsKeepTheUnitsAVectorWouldHold) {
    unit_text t;
    std::vector<wchar> model;
    EXPECT_TRUE(t.empty());
    std::vector<wchar> source(600);
    for (std::size_t i = 0; i < source.size(); ++i) source[i] = static_cast<wchar>(u'a' + i % 26);
    for (std::size_t round = 0; round < 40; ++round) {
        const std::size_t n = (round * 37) % 90;
        t.append(source.data() + round, source.data() + round + n);
        model.insert(model.end(), source.begin() + static_cast<long>(round),
                     source.begin() + static_cast<long>(round + n));
        t.push_back(u'#');
        model.push_back(u'#');
        t.append(round % 5, u'0');
        model.insert(model.end(), round % 5, u'0');
        const std::size_t at = model.size() * round / 41;
        t.insert(at, u' ');
        model.insert(model.begin() + static_cast<long>(at), u' ');
        t.erase(model.size() / 3);
        model.erase(model.begin() + static_cast<long>(model.size() / 3));
        if (round % 3 == 0) {
            t.pop_back();
            model.pop_back();
        }
        ASSERT_EQ(units_of(t), model) << "round " << round;
        ASSERT_EQ(t.empty(), model.empty());
        if (!model.empty()) {
            ASSERT_EQ(t.back(), model.back());
        }
    }
    // An insert at the very end, and the erase of the last unit.
    t.insert(t.size(), u'z');
    EXPECT_EQ(t.back(), u'z');
    t.erase(t.size() - 1);
    EXPECT_EQ(units_of(t), model);

    t.assign(source.data(), source.data() + 3);
    EXPECT_EQ(units_of(t), (std::vector<wchar>{u'a', u'b', u'c'}));
    t[1] = u'x';
    EXPECT_EQ(t[1], u'x');
    t.clear();
    EXPECT_TRUE(t.empty());
    t.append(source.data(), source.data());  // nothing appended to nothing
    EXPECT_EQ(t.size(), 0u);
}

}  // namespace
