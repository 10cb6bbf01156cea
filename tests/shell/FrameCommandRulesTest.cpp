// Tests of the update rules of the option, alarm, tool, news, web and real-time commands, and of
// the slide show's delay and stepping.
#include "shell/FrameCommandRules.h"

#include "core/ShareList.h"
#include "shell/SlideShow.h"
#include "views/ViewKinds.h"

#include <gtest/gtest.h>

using namespace qv;

namespace {

// A share list view with a current share.
FrameCommandFacts ShareView(int32_t kind = kViewList)
{
    FrameCommandFacts f;
    f.activeKind = kind;
    f.hasList = true;
    f.listFamily = kFamilyShares;
    f.hasCurrentEntry = f.hasCurrentShare = true;
    f.shareId = 0x4001;
    f.shareName = "Alpha Mining";
    f.shareCode = "ALM";
    f.canShowCurrentShare = true;
    f.entryRangeValid = true;
    return f;
}

template <typename Change>
FrameCommandFacts With(FrameCommandFacts f, Change change)
{
    change(f);
    return f;
}

} // namespace

TEST(FrameCommandRules, EnabledCheckedAndTextByViewListBusyModalTrainingAndFeedState)
{
    const FrameCommandFacts none;
    const FrameCommandFacts list = ShareView();
    const FrameCommandFacts training = With(ShareView(kViewDailyChart), [](auto& f) { f.training = true; });
    const FrameCommandFacts busy = With(list, [](auto& f) { f.busy = true; });
    const FrameCommandFacts modal = With(list, [](auto& f) { f.modal = true; });
    const FrameCommandFacts dealings = With(list, [](auto& f) { f.listFamily = kFamilyDealings; });
    const FrameCommandFacts imported = With(list, [](auto& f) { f.shareId = 0xF001; });
    const FrameCommandFacts ticker = With(list, [](auto& f) { f.activeKind = kViewTicker; });
    const FrameCommandFacts news = With(ShareView(kViewNews), [](auto& f) { f.hasShareIndex = true; });
    auto feed = [](int32_t state) { return With(FrameCommandFacts{}, [state](auto& f) { f.feedState = state; }); };
    auto engine = [](int32_t state, int32_t step) {
        return With(FrameCommandFacts{}, [state, step](auto& f) { f.engineState = state; f.feedState = step; });
    };
    struct Case {
        uint32_t command;
        FrameCommandFacts facts;
        bool enabled;
        std::optional<bool> checked;
        std::optional<std::string> text;
    } cases[] = {
        {21140, list, true, {}, {}},
        {21140, training, false, {}, {}},
        {21141, training, true, {}, {}},
        {26400, list, true, {}, "Edit alarms for Alpha Mining"},
        {26400, busy, false, {}, "Edit alarms"}, // never the table's bare "-"
        {26400, dealings, false, {}, "Edit alarms"},
        {26400, training, false, {}, "Edit alarms"},
        {21159, list, true, {}, {}},
        {21159, ticker, false, {}, {}},
        {21159, none, false, {}, {}},
        {21106, list, true, {}, {}},
        {21106, With(list, [](auto& f) { f.activeKind = kViewNews; }), false, {}, {}},
        {21117, list, true, {}, {}},
        {21117, modal, false, {}, {}},
        {21117, dealings, false, {}, {}},
        {26504, list, true, {}, {}},
        {26504, imported, false, {}, {}},
        {26504, dealings, false, {}, {}},
        {26504, With(list, [](auto& f) { f.activeKind = kViewTransactions; f.listFamily = kFamilyTransactions; f.hasCurrentShare = false; }), false, {}, {}},
        {27018, list, true, false, {}},
        {27018, news, true, true, {}},
        // A news view's own share (no share row behind its stories) edits that share's search text.
        {26701, With(news, [](auto& f) { f.hasCurrentShare = false; }), true, {}, {}},
        {26701, With(ShareView(kViewNews), [](auto& f) { f.hasCurrentShare = false; }), false, {}, {}},
        // Every story shown: the current story leads to its share's news.
        {26640, With(ShareView(kViewNews), [](auto& f) { f.hasCurrentShare = false; }), true, false, {}},
        {27018, training, false, false, {}},
        {27018, With(list, [](auto& f) { f.listFamily = kFamilyCash; f.shareSubId = 2; }), false, false, {}},
        {26730, list, true, {}, {}},
        {26730, busy, false, {}, {}},
        {26730, With(list, [](auto& f) { f.slideShowRunning = true; }), false, {}, {}},
        {26730, dealings, false, {}, {}},
        {26730, With(list, [](auto& f) { f.entryRangeValid = false; }), false, {}, {}},
        {26741, list, false, {}, {}},
        {26741, With(list, [](auto& f) { f.hasWebAddress = true; }), true, {}, {}},
        {27282, list, true, {}, {}},
        {27282, ShareView(kViewDailyChart), false, {}, {}},
        {26537, list, false, {}, {}},
        {26537, With(list, [](auto& f) { f.userPortfolioExists = true; }), true, {}, {}},
        {26650, With(none, [](auto& f) { f.notesVisible = true; }), true, true, {}},
        {26593, none, true, false, {}},
        // The connect command follows the engine, whatever the connection step shows.
        {26806, engine(0, 0), true, false, "Connect to real time feed"},
        {26806, engine(1, 3), true, true, "Disconnect from real time feed"},
        {26806, engine(1, 7), true, true, "Disconnect from real time feed"},
        {26806, engine(2, 2), false, false, "Connect to real time feed"},
        {26806, engine(3, 0), false, false, "Connect to real time feed"},
        {26806, engine(0, 7), true, false, "Connect to real time feed"},
        {26894, feed(7), true, {}, {}},
        {26894, feed(0), false, {}, {}},
        {26894, With(feed(7), [](auto& f) { f.backfillRunning = true; }), false, {}, {}},
        {27105, feed(7), false, {}, {}},
        {27105, feed(9), true, {}, {}},
        {26937, feed(0), true, {}, {}},
        {26937, feed(1), false, {}, {}},
        {26937, With(feed(7), [](auto& f) { f.purgeAllowed = false; }), false, {}, {}},
        {26935, With(none, [](auto& f) { f.recording = true; }), false, {}, {}},
        {26807, list, true, {}, {}},
        {26807, With(ShareView(kViewDailyChart), [](auto& f) { f.chartOptions = 0x08; }), false, {}, {}},
        {26848, list, true, {}, "Edit alarms for ALM"},
        {26848, dealings, false, {}, "Edit alarms"},
        {26848, training, false, {}, "Edit alarms for ALM"},
        {26849, training, false, {}, {}},
        {26849, none, true, {}, {}},
        {27036, none, true, {}, {}},
        {26057, list, true, {}, {}},
        {26057, ShareView(kViewDailyChart), true, {}, {}},
        {26057, training, false, {}, {}},
        {26057, busy, false, {}, {}},
        {26057, none, false, {}, {}},
        {26057, ShareView(kViewDealings), false, {}, {}},
        {26057, news, false, {}, {}},
        {26057, With(list, [](auto& f) { f.hasCurrentShare = false; }), false, {}, {}},
        {26055, ShareView(kViewTransactions), true, {}, {}},
        {26055, news, false, {}, {}},
        {26058, list, true, {}, {}},
        {26058, ShareView(kViewDealings), false, {}, {}},
        {26201, list, true, {}, {}},
        {26201, ShareView(kViewTransactions), false, {}, {}},
        {26201, With(list, [](auto& f) { f.hasCurrentEntry = false; }), false, {}, {}},
        {26198, none, true, {}, {}},
        {26198, training, false, {}, {}},
        {26210, busy, false, {}, {}},
        {26217, imported, true, {}, {}},
        {26217, list, false, {}, {}},
        {26214, With(imported, [](auto& f) { f.activeKind = kViewTradeList; }), false, {}, {}},
        {26214, With(imported, [](auto& f) { f.activeKind = kViewDetails; }), true, {}, {}},
        {26217, With(imported, [](auto& f) { f.training = true; }), false, {}, {}},
        {26217, With(imported, [](auto& f) { f.listFamily = kFamilyTransactions; }), false, {}, {}},
        {26218, none, false, {}, {}},
        {26218, With(none, [](auto& f) { f.importedItems = true; }), true, {}, {}},
    };
    for (const Case& c : cases) {
        std::optional<FrameCommandState> state = FrameCommandUpdate(c.command, c.facts);
        ASSERT_TRUE(state) << c.command;
        EXPECT_EQ(state->enabled, c.enabled) << c.command;
        EXPECT_EQ(state->checked, c.checked) << c.command;
        EXPECT_EQ(state->text, c.text) << c.command;
    }
    EXPECT_FALSE(FrameCommandUpdate(57665, list)) << "commands of other rules are left to them";
}

TEST(SlideShow, DelayOutsideOneToSixHundredTenthsBecomesTwoAndAHalfSeconds)
{
    for (int32_t setting : {0, -5, 601, 100000})
        EXPECT_EQ(SlideDelayTenths(setting), 25) << setting;
    for (int32_t setting : {1, 25, 600})
        EXPECT_EQ(SlideDelayTenths(setting), setting);
}

TEST(SlideShow, WithoutLoopItEndsOnItsStartEntry)
{
    // Five shares, started on the third.
    int32_t current = 2;
    int steps = 0;
    for (;; ++steps) {
        SlideStep step = NextSlide(current, 0, 4, 2, false);
        current = step.entry;
        if (step.stop)
            break;
    }
    EXPECT_EQ(current, 2);
    EXPECT_EQ(steps, 2);
    EXPECT_EQ(NextSlide(4, 0, 4, 2, true).entry, 0) << "a looping show starts again";
    EXPECT_FALSE(NextSlide(4, 0, 4, 2, true).stop);
    EXPECT_EQ(NextSlide(4, 0, 4, 9, false).entry, 0) << "a start past the last goes to the first";
}
