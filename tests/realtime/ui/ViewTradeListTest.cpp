// The trade list view on a store day written tick by tick: the rows it lists in each mode, its
// trade totals, the day commands, and price updates throttled to one rebuild a second.
#include "realtime/ui/ViewTradeList.h"

#include "core/ShareList.h"

#include <memory>

#include "platform/ByteOrder.h"
#include "realtime/store/RTTickCoding.h"
#include "tests/realtime/store/RTStoreFixture.h"
#include "tests/support/ui/Render.h"
#include "lists/ListColumnCommands.h"
#include "views/CommandUpdate.h"
#include "views/FrameState.h"

namespace qv {
namespace {

using test::kFri4;
using test::kMon7;

constexpr uint16_t kShare = 0x4001;

uint32_t g_now = 0;
uint32_t FakeClock() { return g_now; }

class ViewTradeListTest : public test::RTStoreTest {
protected:
    void SetUp() override
    {
        test::RTStoreTest::SetUp();
        TheRTStore().days = {kFri4, kMon7};
        WriteTicks(kMon7);
        g_now = 0;
    }
    void WriteTicks(PackedDate date)
    {
        RTDayRecord* day = GetRTDay(date, true);
        int32_t slot = -1;
        RTDayShareEntry& e = *GetRTDayShare(MakeRTKey(0, kShare), *day, slot, true);
        RTTickWriter w(e);
        w.Time(28800);
        w.PriceItem(0, 106, 0, 100, RTStoredTrade{105, 300, 0});
        w.Time(28900);
        w.PriceItem(0, 108, 0, 101, RTStoredTrade{101.5f, 100, 0});
        w.Time(29000);
        w.PriceItem(0, 107, 0, 99, std::nullopt);
    }
};

TEST_F(ViewTradeListTest, ListsTheDaysTradesAndQuotesByMode)
{
    CViewTradeList view(kMon7, false);
    view.resize(600, 200);
    view.ShowShare(kShare);
    view.OnRefresh();
    ASSERT_EQ(ShareListCount(view.list), 2) << "trades only";
    for (int32_t mode : {kTradeListQuotes, kTradeListBoth}) {
        view.list->tradeMarket = mode;
        view.BuildRows();
        EXPECT_EQ(ShareListCount(view.list), mode == kTradeListQuotes ? 3 : 5) << mode;
    }
    test::SaveRender(test::RenderWidget(view), "trade_list_both");
    view.SetMode(kTradeListQuotes);
    test::SaveRender(test::RenderWidget(view), "trade_list_quotes");
    view.SetMode(kTradeListTrades);
    TradeTotals t;
    EXPECT_TRUE(view.GetTradeTotals(t));
    EXPECT_EQ(t.count[0], 2u);
    EXPECT_EQ(t.count[1], 1u) << "105 is above the middle third of 100-106";
    EXPECT_EQ(t.count[2], 1u) << "101.5 is below the middle third of 101-108";
    EXPECT_EQ(t.latestTime, 28900u);
    // The change marks ride in the record's last four bytes.
    const uint8_t* second = nullptr;
    for (int i = 0; i < 2; ++i)
        if (LoadU32(view.list->entries[i].record) == 28900)
            second = view.list->entries[i].record;
    ASSERT_NE(second, nullptr);
    EXPECT_EQ(ChangeState(LoadU32(second + 28), kChangeOfferShift), 1);
    test::SaveRender(test::RenderWidget(view), "trade_list_trades");
}

TEST_F(ViewTradeListTest, PriceUpdatesRebuildAtMostOnceASecond)
{
    CViewTradeList view(kMon7, false);
    view.SetClock(FakeClock);
    view.ShowShare(kShare);
    g_now = 1500;
    EXPECT_TRUE(view.OnPriceUpdate()) << "a second after the last rebuild";
    g_now = 1700;
    EXPECT_FALSE(view.OnPriceUpdate());
    EXPECT_TRUE(view.refreshPending());
    g_now = 2200;
    view.OnFlushTimer();
    EXPECT_TRUE(view.refreshPending()) << "not yet a second";
    g_now = 2600;
    view.OnFlushTimer();
    EXPECT_FALSE(view.refreshPending()) << "the timer flushed it";
}

TEST_F(ViewTradeListTest, FollowsTheNewestDayUntilTheUserStepsBack)
{
    CViewTradeList view;
    view.SetClock(FakeClock);
    view.ShowShare(kShare);
    EXPECT_EQ(view.day(), kMon7);
    EXPECT_TRUE(view.followLatest());
    MainFrameState().activeView = &view;
    view.RunCommand(27202);
    EXPECT_EQ(view.day(), kFri4);
    EXPECT_FALSE(view.followLatest());
    EXPECT_EQ(ShareListCount(view.list), 0);
    view.RunCommand(27206);
    EXPECT_EQ(view.day(), kMon7);
    EXPECT_TRUE(view.followLatest());
    MainFrameState().activeView = nullptr;
}

// Every column of the "Add Column" menu can be added; a list of quotes alone leaves the trade columns
// out of the menu and does not add them.
TEST_F(ViewTradeListTest, AddsEachTradeColumnAndQuotesOnlyLeavesTheTradeColumnsOut)
{
    CViewTradeList view(kMon7, false);
    view.ShowShare(kShare);
    view.OnRefresh();
    MainFrameState().activeView = &view;
    const auto columns = [&view] { return ListColumnCount(view.list, view.kind); };
    for (uint32_t command : {26813u, 26814u, 26815u, 26816u, 26817u, 26818u, 26972u, 26824u, 26973u, 27092u, 26808u}) {
        CommandUi ui{command, false, std::nullopt, std::nullopt};
        ASSERT_TRUE(view.UpdateCommand(ui)) << command;
        EXPECT_TRUE(ui.enabled) << command;
        EXPECT_FALSE(ui.hidden) << command;
        const int before = columns();
        EXPECT_TRUE(view.RunCommand(command)) << command;
        EXPECT_EQ(columns(), before + 1) << command;
    }
    view.SetMode(kTradeListQuotes);
    for (uint32_t command : {26817u, 26818u, 26824u, 26821u, 26820u, 26972u, 26973u}) {
        CommandUi ui{command, false, std::nullopt, std::nullopt};
        ASSERT_TRUE(view.UpdateCommand(ui)) << command;
        EXPECT_TRUE(ui.hidden) << command;
        const int before = columns();
        view.RunCommand(command);
        EXPECT_EQ(columns(), before) << command;
    }
    CommandUi bid{26814, false, std::nullopt, std::nullopt};
    view.UpdateCommand(bid);
    EXPECT_FALSE(bid.hidden);
    EXPECT_TRUE(bid.enabled);
    MainFrameState().activeView = nullptr;
}

// A trade list opened in a window of its own has no linked list to follow: it shows the share of the
// view the user was on when asking for it, or, laid out again, the share its list was saved with.
TEST_F(ViewTradeListTest, ANewTradeListShowsTheShareOfTheViewItWasAskedFrom)
{
    CViewTradeList from(kMon7, false);
    from.ShowShare(kShare);
    MainFrameState().activeView = &from;
    CViewTradeList asked;
    MainFrameState().activeView = &asked;
    asked.OnRefresh();
    MainFrameState().activeView = nullptr;
    EXPECT_EQ(asked.share(), kShare);
    EXPECT_EQ(ShareListCount(asked.list), 2);

    // A window laid out again: its list holds the share it showed, whatever view was active.
    CViewTradeList restored;
    restored.AttachListSource(kFamilyTrades, nullptr, 0);
    restored.list->currentId = kShare;
    restored.OnRefresh();
    EXPECT_EQ(restored.share(), kShare);
}

// The frame takes a view off its list before deleting it, and another window may keep that list:
// the list must not keep rows in the records that go with the view.
TEST_F(ViewTradeListTest, ItsListKeepsNoRowsOnceTheViewGoes)
{
    auto view = std::make_unique<CViewTradeList>(kMon7, false);
    view->ShowShare(kShare);
    ShareList* kept = view->list;
    ASSERT_GT(ShareListCount(kept), 0);
    view->list = nullptr;
    view.reset();
    EXPECT_EQ(ShareListCount(kept), 0);
    EXPECT_EQ(kept->entries[0].record, nullptr);
}

} // namespace
} // namespace qv
