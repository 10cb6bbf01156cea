// Tests of the main frame's rules for its own messages, sizing, window menu and window commands.
#include "shell/FrameMessages.h"
#include "views/ViewKinds.h"

#include <gtest/gtest.h>

namespace qv {
namespace {

TEST(FrameMessages, FeedStatusTexts)
{
    FeedStatus plain, news, brief;
    news.newsFetching = true;
    brief.shortStatus = true;
    const struct {
        int32_t state, exchange, percent;
        const FeedStatus* status;
        const char* text; // null: the pane keeps its text
    } cases[] = {
        {0, 0, 0, &plain, "Disconnected LSE  0%"},
        {7, 1, 100, &plain, "Connected NYSE 100%"},
        {7, 0, 40, &news, "Backfilling news 40%"},
        {8, 14, 5, &plain, "Backfilling WRLD  5%"},
        {8, 0, -1, &plain, nullptr},
        {7, 0, -1, &plain, "Connected LSE -1%"},
        {9, 7, 55, &brief, "Backfill ENXTI 55%"},
        {8, 15, 10, &plain, "Backfilling  10%"},  // no word outside 0-14
        {8, -1, 10, &plain, "Backfilling  10%"},
        {10, 0, 10, &plain, nullptr},
    };
    for (const auto& c : cases) {
        std::optional<std::string> text = FeedStatusText(c.state, c.exchange, c.percent, *c.status);
        if (!c.text)
            EXPECT_FALSE(text) << c.state << ' ' << c.percent;
        else
            EXPECT_EQ(text.value_or("<none>"), c.text);
    }
    EXPECT_EQ(FeedIconIndex(9), 9);
    EXPECT_EQ(FeedIconIndex(10), 0);
}

TEST(FrameMessages, StatusPaneDoubleClicks)
{
    EXPECT_EQ(StatusPaneDoubleClickCommand(kFeedLevelPane, 0), 27061u);
    EXPECT_EQ(StatusPaneDoubleClickCommand(kFeedStatusPane, 0), 0u) << "disconnected: nothing";
    EXPECT_EQ(StatusPaneDoubleClickCommand(kFeedStatusPane, 6), 0u);
    EXPECT_EQ(StatusPaneDoubleClickCommand(kFeedStatusPane, 7), 26894u);
    EXPECT_EQ(StatusPaneDoubleClickCommand(kFeedStatusPane, 9), 27105u);
    EXPECT_EQ(StatusPaneDoubleClickCommand(3, 7), 0u);
}

TEST(FrameMessages, SizingStoresOnlyUsableNewSizes)
{
    const struct {
        const char* name;
        FrameSizeState before;
        bool suspended, minimised;
        int32_t w, h;
        FrameSizeSteps steps;
        int32_t storedW, storedH;
        bool skipAfter, pendingAfter;
    } cases[] = {
        {"new size", {800, 600, false, false}, false, false, 1024, 700, {false, true, true}, 1024, 700, false, false},
        {"100 wide", {800, 600, false, false}, false, false, 100, 700, {}, 800, 600, false, false},
        {"101 wide", {800, 600, false, false}, false, false, 101, 700, {false, true, true}, 101, 700, false, false},
        {"100 high", {800, 600, false, false}, false, false, 900, 100, {}, 800, 600, false, false},
        {"same size", {800, 600, false, true}, false, false, 800, 600, {true, false, false}, 800, 600, false, false},
        {"minimised", {800, 600, false, false}, false, true, 900, 700, {}, 800, 600, false, false},
        {"suspended", {800, 600, false, true}, true, false, 900, 700, {true, false, false}, 800, 600, false, false},
        {"pending first", {800, 600, false, true}, false, false, 900, 700, {true, false, false}, 800, 600, false, false},
        {"skip once", {800, 600, true, false}, false, false, 900, 700, {false, true, false}, 800, 600, false, false},
    };
    for (const auto& c : cases) {
        FrameSizeState state = c.before;
        FrameSizeSteps steps = PlanFrameSize(state, c.suspended, c.minimised, c.w, c.h);
        EXPECT_EQ(steps.relayout, c.steps.relayout) << c.name;
        EXPECT_EQ(steps.showToolbars, c.steps.showToolbars) << c.name;
        EXPECT_EQ(steps.stored, c.steps.stored) << c.name;
        EXPECT_EQ(state.storedWidth, c.storedW) << c.name;
        EXPECT_EQ(state.storedHeight, c.storedH) << c.name;
        EXPECT_EQ(state.skipStoreOnce, c.skipAfter) << c.name;
        EXPECT_EQ(state.relayoutPending, c.pendingAfter) << c.name;
    }
}

TEST(FrameMessages, WindowMenuIsPrunedByKind)
{
    std::vector<SoftMenuEntry> items(4);
    items[0].text = "Change List";
    items[1].text = "Change Window";
    items[2].text = "New Window";
    items[3].command = kCommandMaximiseWindow;
    items[3].text = "Maximise window";
    const struct {
        int32_t kind;
        const char* first;
    } cases[] = {{kViewTicker, "New Window"},      {kViewNews, "Change Window"}, {kViewTradeList, "Change Window"},
                 {kViewTransactions, "Change Window"}, {kViewList, "Change List"},  {kViewDailyChart, "Change List"}};
    for (const auto& c : cases)
        EXPECT_EQ(WindowMenuItems(items, c.kind, false).front().text, c.first) << c.kind;
    EXPECT_EQ(WindowMenuItems(items, kViewList, true).back().text, "Restore window");
    EXPECT_EQ(WindowMenuItems(items, kViewList, false).back().text, "Maximise window");
}

TEST(FrameMessages, WindowCommandRules)
{
    WindowCommandFacts none;
    WindowCommandFacts ticker{true, kViewTicker, true, true, false, false};
    WindowCommandFacts intraday{true, kViewIntradayChart, true, false, true, true};
    EXPECT_FALSE(WindowCommandUpdate(26974, none).enabled);
    EXPECT_TRUE(WindowCommandUpdate(26976, ticker).enabled);
    EXPECT_FALSE(WindowCommandUpdate(kCommandCloseWindow, none).enabled);
    EXPECT_TRUE(WindowCommandUpdate(kCommandMaximiseWindow, none).enabled);
    EXPECT_FALSE(WindowCommandUpdate(kCommandMaximiseWindow, ticker).enabled);
    EXPECT_EQ(WindowCommandUpdate(kCommandIntradayGraph, intraday).checked, true);
    EXPECT_EQ(WindowCommandUpdate(kCommandIntradayGraph, ticker).checked, false);
    EXPECT_FALSE(WindowCommandUpdate(kCommandIntradayGraphMenu, intraday).enabled);
    EXPECT_TRUE(WindowCommandUpdate(kCommandIntradayGraph, intraday).enabled);
    EXPECT_TRUE(WindowCommandUpdate(kCommandLinkWindow, intraday).enabled);
    EXPECT_FALSE(WindowCommandUpdate(kCommandUnlinkWindow, ticker).enabled);
    for (uint32_t id : {26832u, 26833u, 26834u, 26835u, 26836u, 26837u, 26838u, 26840u, 26841u, 26842u, 26843u,
                        26844u, 26845u, 26880u, 26831u, 26948u, 26755u})
        EXPECT_TRUE(WindowCommandUpdate(id, none).enabled) << id;
    EXPECT_FALSE(WindowCommandUpdate(20316, none).handled);
}

} // namespace
} // namespace qv
