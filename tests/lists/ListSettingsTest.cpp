// The settings of each list view kind: sort bytes, shared and replaced layouts, the trade list's
// market, the deferred sort of a list build and the live re-sort throttle.
#include "lists/ListSettings.h"

#include "ListFixture.h"
#include "core/ColumnDef.h"
#include "core/ConfigState.h"
#include "lists/ListRows.h"

#include <gtest/gtest.h>

#include <cstring>

using namespace qv;
using namespace qv::test;

namespace {

class ListSettings : public ListFixture {
protected:
    void SetUp() override { saved_ = Config(); }
    void TearDown() override
    {
        for (ShareList* list : lists_)
            Unchain(list);
        FreeSettingLayouts();
        Config() = saved_;
    }

    ShareList* Chained(int32_t number)
    {
        ShareList* list = NewList(number);
        list->next = ShareListChain();
        ShareListChain() = list;
        return list;
    }
    static void Unchain(ShareList* list)
    {
        for (ShareList** link = &ShareListChain(); *link; link = &(*link)->next)
            if (*link == list) {
                *link = list->next;
                return;
            }
    }

    ConfigState saved_;
};

TEST_F(ListSettings, SortBytesGiveColumnAndDirection)
{
    Config().listTables.designs[3].sort = -3;
    ShareList* list = NewList(0);
    SettingSelection s = SelectColumnSetting(list, kListKindShares, 3, true, true);
    EXPECT_EQ(list->sortColumn, 2);
    EXPECT_EQ(list->sortDirection, -1);
    EXPECT_TRUE(s.resetGrid);
    EXPECT_EQ(s.style, &Config().listTables.styles[3]);
    EXPECT_EQ(list->deferredSort, 1);
    EXPECT_EQ(CurrentSettingOf(list, kListKindShares), 3);

    Config().listTables.designs[5].sort = 0;
    SelectColumnSetting(list, kListKindShares, 5, false, false);
    EXPECT_EQ(list->sortColumn, -1) << "0: unsorted";

    list->sortColumn = 4;
    list->sortDirection = -1;
    StoreSortColumn(list, kListKindShares);
    EXPECT_EQ(Config().listTables.designs[5].sort, -5);

    // Transactions and cash have no sort bytes: switching settings never sorts them.
    Config().tranTables.designs[2].sort = 4;
    SelectColumnSetting(list, kListKindTransactions, 2, false, false);
    EXPECT_EQ(list->sortColumn, -1);
    StoreSortColumn(list, kListKindTransactions);
    EXPECT_EQ(Config().tranTables.designs[2].sort, 4);
    EXPECT_EQ(GetSettingSort(kListKindCash, 0), 0);
    EXPECT_EQ(SelectColumnSetting(nullptr, kListKindShares, 1, false, false).style, nullptr);
}

TEST_F(ListSettings, ViewsOfOneSettingShareOneLayoutAndAReplacementIsFreedOnce)
{
    ShareList* a = Chained(0);
    ShareList* b = Chained(4);
    ShareList* c = Chained(0);
    SelectColumnSetting(a, kListKindShares, 4, false, false);
    SelectColumnSetting(b, kListKindShares, 4, false, false);
    SelectColumnSetting(c, kListKindShares, 2, false, false);
    ASSERT_NE(a->columnLayout, nullptr);
    EXPECT_EQ(a->columnLayout, b->columnLayout);
    int before = CountColumnDefs(a->columnLayout);

    // Adding a column in one view: a new buffer for the setting, taken over by every list using it.
    std::vector<uint8_t> grown(a->columnLayout, a->columnLayout + ValidateColumnLayout({a->columnLayout, 4096}) - 1);
    AppendColumnDef(grown, ColumnOf(kColumnField, 17));
    grown.push_back(0);
    auto* buffer = static_cast<uint8_t*>(ProCalloc(uint32_t(grown.size()), 1, "Column layout"));
    std::memcpy(buffer, grown.data(), grown.size());
    const uint8_t* other = c->columnLayout;
    SetLayoutPointer(a, kListKindShares, buffer);
    EXPECT_EQ(a->columnLayout, buffer);
    EXPECT_EQ(b->columnLayout, buffer);
    EXPECT_EQ(c->columnLayout, other);
    EXPECT_EQ(CountColumnDefs(b->columnLayout), before + 1);
    EXPECT_EQ(Config().listTables.designs[4].chain, grown) << "the configuration saves the new layout";
    EXPECT_EQ(SettingLayout(kListKindShares, 4), buffer);
}

TEST_F(ListSettings, TradeListsResetAStrayMarketAndKeepTheirWord)
{
    ShareList* list = NewList(0);
    list->tradeMarket = 3;
    Config().tradeTables[0 * kListSettings + 1].record.bytes[TradeTableRecord::kSortByte] = uint8_t(-2);
    SelectColumnSetting(list, kListKindTrades, 1, false, false);
    EXPECT_EQ(list->tradeMarket, 0);
    EXPECT_EQ(list->sortColumn, 1);
    EXPECT_EQ(list->sortDirection, -1);
    EXPECT_NE(list->columnLayout, SettingLayout(kListKindTrades, 1, 2));
    TradeSetting(2, 11).realtimeWord = 0xABCD;
    EXPECT_EQ(TradeSetting(2, 11).realtimeWord, 0xABCDu);
}

// In the data-mining view's graph mode "Setting n" chooses the current graph record; the table stays.
TEST_F(ListSettings, TheDataMiningGraphModePicksTheGraphRecord)
{
    const DataMiningOptions saved = Config().dataMining;
    ShareList* list = NewList(0);
    SelectColumnSetting(list, kListKindDataMining, 2, false, false);
    Config().dataMining.bytes[0] = 1;
    SelectColumnSetting(list, kListKindDataMining, 5, false, false);
    EXPECT_EQ(Config().dataMining.bytes[2], 5);
    EXPECT_EQ(list->tableSetting, 2);
    SelectColumnSetting(list, kListKindDataMining, -1, false, false);
    EXPECT_EQ(Config().dataMining.bytes[2], 5) << "a refresh keeps the graph record";
    Config().dataMining.bytes[0] = 0;
    SelectColumnSetting(list, kListKindDataMining, 7, false, false);
    EXPECT_EQ(list->tableSetting, 7);
    EXPECT_EQ(Config().dataMining.bytes[2], 5);
    Config().dataMining = saved;
}

TEST_F(ListSettings, LiveResortWaitsFiveMinutesAcrossTheTickWrap)
{
    std::vector<uint8_t> layout;
    AppendColumnDef(layout, ColumnOf(kColumnField, 15));
    AppendColumnDef(layout, ColumnOf(kColumnIntraday, 1));
    layout.push_back(0);
    ShareList* list = NewList(0);
    list->columnLayout = layout.data();
    list->sortColumn = 1;
    list->sortDirection = -1;
    LiveResortClock clock;
    auto sixteenth = [&](uint32_t now) {
        int column = 0;
        for (int i = 0; i < 16; ++i)
            column = LiveResortColumn(clock, *list, now);
        return column;
    };
    uint32_t start = 0xFFFF0000u;
    EXPECT_EQ(sixteenth(start), -2);
    EXPECT_EQ(sixteenth(start + 1000), 0);
    EXPECT_EQ(sixteenth(start + 300000), -2) << "the tick count wrapped past zero";
    list->sortColumn = 0;
    EXPECT_EQ(sixteenth(start + 900000), 0) << "not a live column";
}

TEST_F(ListSettings, DeferredSortFindsTheCurrentRowAgain)
{
    std::vector<FixtureShare> shares = {{0x4001, "A", {11}}, {0x4002, "B", {11}}, {0x4003, "C", {11}}};
    shares[0].start = 500;
    shares[2].start = 2000;
    LoadShares(shares);
    std::vector<uint8_t> layout;
    AppendColumnDef(layout, ColumnOf(kColumnField, 15));
    AppendColumnDef(layout, ColumnOf(kColumnField, 17));
    layout.push_back(0);
    ShareList* list = NewList(0);
    RefreshListRows(list, true, false);
    list->columnLayout = layout.data();
    list->sortColumn = 1;
    list->current = 0; // "A", cheapest
    EXPECT_FALSE(ContinueListBuild(list)) << "no deferred sort asked";
    list->deferredSort = 1;
    ASSERT_TRUE(ContinueListBuild(list));
    EXPECT_EQ(EntryRecordId(list->entries[list->current]), 0x4001);
    EXPECT_EQ(list->current, ShareListCount(list) - 1);
    EXPECT_EQ(list->deferredSort, 0);
    EXPECT_EQ(list->pendingScroll, 1);
}

} // namespace
