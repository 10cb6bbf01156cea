// The fixed lists' members, their filters, the growing row array and the refill's current row.
#include "lists/ListRows.h"

#include "ListFixture.h"
#include "chartmodel/PortfolioSeriesCache.h"
#include "core/SectorFilter.h"
#include "lists/ListOptions.h"
#include "lists/ListSettings.h"
#include "views/ViewBase.h"

#include <gtest/gtest.h>

using namespace qv;
using namespace qv::test;

namespace {

using Names = std::vector<std::string>;

std::vector<FixtureShare> Shares()
{
    return {
        {0x4001, "Alpha Mining", {11}, MakeRecordFlags(kMarketMain, kIndexFtse100, false, false, true)},
        {0x4002, "Bravo Foods", {11}, MakeRecordFlags(kMarketMain, kIndexFtse250, true, true), 0, 0, kListDays - 1, 2000, -10},
        {0x4003, "Charlie Holdings", {11, 2}, MakeRecordFlags(kMarketAim, kIndexNone)},
        {0x4004, "Delta Trust", {10}, kRecordFlagsNone, 0, TrustSectorWord()},
        {0x4005, "Echo Gilt", {13}},
        {0x4006, "Foxtrot Old", {11}, MakeRecordFlags(kMarketMain, kIndexFtse100), 0, 0, 5},
        {0x4007, "Golf Dollar", {11}, kRecordFlagsNone, 1},
    };
}

class ListRows : public ListFixture {
protected:
    void SetUp() override
    {
        saved_ = SectorFilterDefaults();
        LoadShares(Shares());
    }
    void TearDown() override
    {
        SectorFilterDefaults() = saved_;
        CurrentListOptions() = ListOptions{};
        ForgetListRows();
    }

    Names Filled(int32_t number)
    {
        ShareList* list = NewList(number);
        RefreshListRows(list, true, false);
        return RowNames(list);
    }

    SectorFilter saved_;
};

TEST_F(ListRows, EachFixedListHoldsItsLines)
{
    const Names all = {"Alpha Mining", "Bravo Foods", "Charlie Holdings", "Charlie Holdings/1", "Delta Trust",
                       "Echo Gilt", "Golf Dollar", "~Market"};
    struct Case {
        int32_t number;
        Names rows;
    } cases[] = {
        {0, all},
        {1, {"Alpha Mining", "Bravo Foods", "Charlie Holdings", "Golf Dollar"}},
        {2, {"Delta Trust"}},
        {3, {"~Market"}},
        {4, {"Alpha Mining"}},
        {5, {"Bravo Foods"}},
        {8, {"Golf Dollar"}},
        {9, {"Charlie Holdings"}},
        {11, {"Charlie Holdings/1"}},
        {15, {"Delta Trust"}},
        {17, {"Alpha Mining", "Bravo Foods"}},
        {19, {"Bravo Foods"}},
        {20, {"Alpha Mining"}},
        {21, {"Bravo Foods"}},
        {22, {"Echo Gilt"}},
        {30, {"Golf Dollar"}},
        {10, {}},
    };
    for (const Case& c : cases)
        EXPECT_EQ(Filled(c.number), c.rows) << FixedListName(c.number);
    // "FTSE 350" is the union of "FTSE 100" and "FTSE 250".
    Names union100and250 = Filled(4);
    for (const std::string& n : Filled(5))
        union100and250.push_back(n);
    EXPECT_EQ(Filled(17), union100and250);
}

TEST_F(ListRows, OptionsAndFiltersNarrowTheRows)
{
    CurrentListOptions().trustsAreShares = true;
    EXPECT_EQ(Filled(1), (Names{"Alpha Mining", "Bravo Foods", "Charlie Holdings", "Delta Trust", "Golf Dollar"}));
    CurrentListOptions().showOldShares = true;
    EXPECT_EQ(Filled(4), (Names{"Alpha Mining", "Foxtrot Old"}));
    CurrentListOptions() = ListOptions{};

    // Filters come from the program-wide defaults unless each list keeps its own.
    SectorFilterDefaults() = SectorFilter{};
    SectorFilterDefaults().newHighsOnly = 1;
    EXPECT_EQ(Filled(1), (Names{"Alpha Mining", "Charlie Holdings", "Golf Dollar"}));
    SectorFilterDefaults() = SectorFilter{};
    SectorFilterDefaults().newLowsOnly = 1;
    EXPECT_EQ(Filled(1), (Names{"Bravo Foods"}));

    SectorFilterDefaults() = SectorFilter{};
    SectorFilterDefaults().sectorFilterOn = 1;
    SectorFilterDefaults().sectorGroup = 2025;
    SectorFilterDefaults().sectorIndex = TrustSectorWord() - 1;
    EXPECT_EQ(Filled(0), (Names{"Delta Trust"}));
    EXPECT_EQ(Filled(22), (Names{"Echo Gilt"})) << "gilts ignore the sector filter";
    SectorFilterDefaults().sectorIndex = -1;
    EXPECT_EQ(Filled(0).size(), 8u) << "no sector chosen: every line passes";
}

TEST_F(ListRows, RowArrayGrowsWhileRowsAreWritten)
{
    ShareList* list = NewList(0, 1);
    ASSERT_TRUE(RefreshListRows(list, true, false));
    EXPECT_EQ(ShareListCount(list), 8);
    EXPECT_GT(list->capacity, 8);
    EXPECT_EQ(list->rowsEnd, 8);
    EXPECT_EQ(list->filledMark, 1);
}

TEST_F(ListRows, RefillKeepsTheCurrentRowOrStartsAtTheFirst)
{
    ShareList* list = NewList(1);
    RefillListSource(list, true);
    RememberListRow(1, {0x4003, 0}); // the user moved to the third row
    RefillListSource(list, true);
    EXPECT_EQ(RowNames(list)[size_t(list->current)], "Charlie Holdings");
    EXPECT_EQ(list->firstVisible, 1);

    // Another list of the same number takes the remembered row.
    ShareList* other = NewList(1);
    RefillListSource(other, true);
    EXPECT_EQ(other->current, 2);

    // With no row remembered, a new list starts on the row another list of its number shows (one laid
    // out at its stored share without a refill), not on the first row.
    ForgetListRows();
    ShareList* laidOut = NewList(1);
    laidOut->currentId = 0x4003;
    laidOut->next = ShareListChain();
    ShareListChain() = laidOut;
    ShareList* fresh = NewList(1);
    RefillListSource(fresh, true);
    ShareListChain() = laidOut->next;
    EXPECT_EQ(RowNames(fresh)[size_t(fresh->current)], "Charlie Holdings");

    // The share leaves the list: the first row.
    SectorFilterDefaults() = SectorFilter{};
    SectorFilterDefaults().newLowsOnly = 1;
    RefillListSource(list, true);
    EXPECT_EQ(RowNames(list), (Names{"Bravo Foods"}));
    EXPECT_EQ(list->current, 0);
}

TEST_F(ListRows, AnEmptyListFallsBackToAllAndAnEmptyAllStaysEmpty)
{
    ShareList* list = NewList(10); // "Warrant": none here
    RefillListSource(list, true);
    EXPECT_EQ(list->word, 0);
    EXPECT_EQ(ShareListCount(list), 8);

    SectorFilterDefaults() = SectorFilter{};
    SectorFilterDefaults().sectorFilterOn = 1;
    SectorFilterDefaults().sectorGroup = 2025;
    SectorFilterDefaults().sectorIndex = 60; // no share has it
    ShareList* none = NewList(10);
    RefillListSource(none, true); // must not end the program (the fixture fails on a program end)
    EXPECT_EQ(none->word, 0);
    EXPECT_EQ(ShareListCount(none), 0);
    EXPECT_EQ(none->current, 0);
}

TEST_F(ListRows, NewsAndDealingsWindowsLeaveTheRowsToTheChartTheyFollow)
{
    // A layout attaches its news window last: the list still fills for the chart beside it.
    CViewBase chart(kListKindDailyChart), dealings(kListKindDealings), news(kListKindNews);
    ShareList* shared = NewList(0);
    shared->views = &news;
    news.nextInList = &dealings;
    dealings.nextInList = &chart;
    RefillListSource(shared, true);
    EXPECT_EQ(ShareListCount(shared), 8);
    EXPECT_EQ(shared->filledMark, 1);

    // A list only a news window follows is not filled from the share table.
    ShareList* newsOnly = NewList(0);
    news.nextInList = nullptr;
    newsOnly->views = &news;
    RefillListSource(newsOnly, true);
    EXPECT_EQ(ShareListCount(newsOnly), 0);
    shared->views = newsOnly->views = nullptr;
}

TEST_F(ListRows, MarketGroupsAreTheFixedLists)
{
    SetMarketGroupRows(MarketGroupRowsOf);
    std::vector<RecordCursor> rows = MarketGroupShares(4);
    ASSERT_EQ(rows.size(), 1u);
    EXPECT_EQ(RecordId(rows[0].record), 0x4001);
    SetMarketGroupRows(nullptr);
}

} // namespace
