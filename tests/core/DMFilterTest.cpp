// Tests of data-mining filters and their criteria.
#include "core/DMFilter.h"

#include <gtest/gtest.h>

using namespace qv;

namespace {

class DMFilterTest : public ::testing::Test {
protected:
    void TearDown() override
    {
        SetFilterRemovedHook({});
        SetEditionOptionByte(0);
        ClearFilterList();
    }
};

std::vector<std::string> Names()
{
    std::vector<std::string> names;
    for (const auto& f : FilterList())
        names.push_back(f->name);
    return names;
}

DMFilter* UserFilter(const std::string& name)
{
    auto filter = std::make_unique<DMFilter>();
    filter->name = name;
    return InsertFilter(std::move(filter));
}

} // namespace

TEST_F(DMFilterTest, PredefinedFiltersKeepTableOrderAndTakeAxesOnlyWithoutFlags)
{
    CriterionDefinition table[4];
    for (int i = 0; i < 3; ++i) {
        table[i].kind = i + 2;
        table[i].lower = float(i);
        table[i].upper = float(i + 10);
    }
    int counter = 0;
    ASSERT_TRUE(AddPredefinedFilter("Mine", "note", 1, 0, table, counter));
    ASSERT_TRUE(AddPredefinedFilter("Locked", "", 4, kFilterReadOnly, table, counter));
    EXPECT_EQ(counter, 2);
    EXPECT_EQ(Names(), (std::vector<std::string>{"Locked", "Mine"}));
    EXPECT_EQ(CurrentFilter()->name, "Mine"); // the first filter added to an empty list

    const DMFilter& mine = *FilterList()[1];
    ASSERT_EQ(mine.criteria.size(), 3u);
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(mine.criteria[i].kind, i + 2);
        EXPECT_EQ(mine.criteria[i].mode, 2);
        EXPECT_EQ(mine.criteria[i].locked, 0);
        EXPECT_GT(mine.criteria[i].dataMin, mine.criteria[i].dataMax);
    }
    EXPECT_EQ(mine.axisCriterion(FilterAxis::Z), &mine.criteria[2]);
    const DMFilter& locked = *FilterList()[0];
    EXPECT_EQ(locked.criteria[0].locked, 1);
    EXPECT_EQ(locked.axisCriterion(FilterAxis::X), nullptr);

    // A taken name changes nothing; a table that ends at once makes a filter with no criteria.
    EXPECT_FALSE(AddPredefinedFilter("Mine", "", 1, 0, table, counter));
    EXPECT_FALSE(AddPredefinedFilter("Other", "", 1, 0, nullptr, counter));
    EXPECT_EQ(counter, 2);
    ASSERT_TRUE(AddPredefinedFilter("Empty", "", 1, 0, &table[3], counter));
    EXPECT_TRUE(FilterList()[0]->criteria.empty());
    EXPECT_EQ(FilterList()[0]->axisCriterion(FilterAxis::X), nullptr);
}

TEST_F(DMFilterTest, UserFiltersGoBehindTheReadOnlyOnes)
{
    UserFilter("first");
    SetEditionOptionByte(2);
    LoadEditionFilters();
    UserFilter("second");
    EXPECT_EQ(Names(), (std::vector<std::string>{"Ludrin Ossery filter 1", "Ludrin Ossery filter 2",
                                                 "Ludrin Ossery filter 3", "second", "first"}));
    EXPECT_EQ(FindFilterPosition("second"), 4);
    EXPECT_EQ(FindFilterPosition("Second"), -1);
}

TEST_F(DMFilterTest, EditionFiltersFollowTheOption)
{
    SetEditionOptionByte(2);
    LoadEditionFilters();
    LoadEditionFilters();
    ASSERT_EQ(FilterList().size(), 3u);
    const DMFilter& valueGrowth = *FilterList()[0];
    EXPECT_EQ(valueGrowth.note, "Value/Growth");
    EXPECT_EQ(valueGrowth.flags, 12);
    EXPECT_EQ(valueGrowth.sourceKind, 1);
    ASSERT_EQ(valueGrowth.criteria.size(), 11u);
    const DMCriterion& turnover = valueGrowth.criteria[8];
    EXPECT_EQ(turnover.kind, 2);
    EXPECT_EQ(turnover.parameter, 4);
    EXPECT_EQ(turnover.setting, 0xFFFFFFFFu);
    EXPECT_EQ(turnover.secondSetting, 4);
    EXPECT_EQ(FilterList()[1]->criteria.size(), 6u);
    const DMCriterion& daysSinceLow = FilterList()[1]->criteria[4];
    EXPECT_EQ(daysSinceLow.firstDate, 0u);
    EXPECT_EQ(daysSinceLow.secondDate, 0u);
    EXPECT_EQ(daysSinceLow.secondSetting, 0);
    const DMFilter& momentum = *FilterList()[2];
    ASSERT_EQ(momentum.criteria.size(), 5u);
    EXPECT_EQ(momentum.criteria[0].firstDate, PeriodWord(PeriodUnit::Days, 20));
    EXPECT_EQ(momentum.criteria[0].secondDate, uint32_t((104 << 9) | (7 << 5) | 1)); // 2 August 2004
    EXPECT_EQ(momentum.criteria[3].firstDate, uint32_t((104 << 9) | 1));             // 2 January 2004
    EXPECT_EQ(momentum.criteria[4].setting, 1u | 20u << 4 | 60u << 18);
    EXPECT_EQ(momentum.criteria[0].upper, kNoUpperLimit);

    SetEditionOptionByte(0);
    LoadEditionFilters();
    EXPECT_TRUE(FilterList().empty());
    EXPECT_EQ(CurrentFilter(), nullptr);
}

TEST_F(DMFilterTest, RemovingAFilterMovesItsViewsAndTheCurrentFilterOn)
{
    SetEditionOptionByte(2);
    LoadEditionFilters();
    DMFilter* a = UserFilter("a");
    DMFilter* b = UserFilter("b");
    std::vector<std::pair<const DMFilter*, DMFilter*>> moves;
    SetFilterRemovedHook([&](const DMFilter* removed, DMFilter* replacement) { moves.emplace_back(removed, replacement); });
    SetCurrentFilter(b);

    RemoveDMFilter(b); // b is the first filter that is not the edition's: a takes its place
    ASSERT_EQ(moves.size(), 1u);
    EXPECT_EQ(moves[0].second, a);
    EXPECT_EQ(CurrentFilter(), a);
    RemoveDMFilter(a);
    EXPECT_EQ(moves[1].second, nullptr);
    EXPECT_EQ(CurrentFilter(), nullptr);
    RemoveDMFilter(nullptr);
    EXPECT_EQ(moves.size(), 2u);
    EXPECT_EQ(FilterList().size(), 3u);
}
