// The frame's rules without windows: keys, help topics, progress text, menu slots, close and
// deferred requests, and the feed-level pane.
#include "core/Memory.h"
#include "core/ShareList.h"
#include "platform/MessageDispatch.h"
#include "resources/MessageIds.h"
#include "shell/BrowserCheck.h"
#include "shell/FeedLevelPane.h"
#include "shell/HelpTopics.h"
#include "shell/KeyRouting.h"
#include "shell/KeyTable.h"
#include "shell/MenuBarPlan.h"
#include "shell/ProgressText.h"
#include "shell/ViewGroups.h"
#include "views/FrameState.h"
#include "views/ViewBase.h"
#include "views/ViewKinds.h"

#include "support/RecordingTarget.h"

#include <gtest/gtest.h>
#include <vector>

using namespace qv;

namespace {

class KeyRoutes : public ::testing::Test {
protected:
    KeyRoutes()
    {
        KeyTable().clear();
        AddDefaultAccelerators(KeyTable(), true);
    }
    ~KeyRoutes() override { KeyTable().clear(); }

    // The command posted (0 none), whether the key was used and whether find-share was tried.
    struct Result {
        uint32_t posted = 0;
        bool used = false;
        bool findTried = false;
    };
    Result Route(uint32_t key, KeyState keys, bool findAnswer = true)
    {
        Result r;
        r.used = RouteViewKey(
            key, keys, [&](uint32_t) { r.findTried = true; return findAnswer; },
            [&](uint32_t command) { r.posted = command; });
        return r;
    }
};

TEST_F(KeyRoutes, ModifiersPunctuationAndTheTable)
{
    const KeyState none, ctrl{true, false, false}, shift{false, true, false}, both{true, true, false};
    const KeyState rightAlt{false, false, true}, altBoth{true, true, true};
    struct Case {
        uint32_t key;
        KeyState keys;
        uint32_t posted;
        bool used;
    };
    const std::vector<Case> cases{
        {'D', ctrl, 25002, true},
        {'1', ctrl, 26731, true},
        {'6', shift, 26748, true},
        {0xDD, none, 20618, true},   // "]" by its virtual-key code
        {0xDB, none, 20619, true},   // "["
        {'S', ctrl, 26265, true},    // a fixed key
        {'A', none, 0, false},       // letters and digits start the find instead
        {'7', none, 0, false},
        {'Q', ctrl, 0, false},       // no accelerator
        {'D', both, 0, false},       // both held: nothing is looked up
        {8, ctrl, 0, false},         // below 32
        {0xBA, shift, 0, false},     // ";" with Shift has no record
    };
    for (const Case& c : cases) {
        Result r = Route(c.key, c.keys);
        EXPECT_EQ(r.posted, c.posted) << c.key;
        EXPECT_EQ(r.used, c.used) << c.key;
        EXPECT_FALSE(r.findTried) << c.key;
    }
    EXPECT_EQ(ModifierState(both), 3);

    // Right Alt tries the find first; with Ctrl and Shift too its answer is the result.
    Result r = Route('K', altBoth, true);
    EXPECT_TRUE(r.findTried);
    EXPECT_TRUE(r.used);
    r = Route('K', altBoth, false);
    EXPECT_FALSE(r.used);
    r = Route('D', KeyState{true, false, true}, false);
    EXPECT_TRUE(r.findTried);
    EXPECT_EQ(r.posted, 25002u);
    r = Route(' ', rightAlt);
    EXPECT_FALSE(r.findTried) << "the key must be 33 or more";
}

TEST_F(KeyRoutes, AUserKeyOverridingAFixedOneWins)
{
    KeyTable().clear();
    AcceleratorKey user;
    user.key = 'S';
    user.modifiers = kModCtrl;
    user.command = 25555;
    KeyTable().push_back(user);
    EXPECT_EQ(FindAcceleratorCommand('S', kModCtrl), 25555);
    EXPECT_EQ(FindAcceleratorCommand('C', kModCtrl), 26932);
    EXPECT_EQ(OemKeyToChar(0xDE), uint32_t('#'));
    EXPECT_EQ(OemKeyToChar(0x41), 0x41u);
}

TEST(FindShareKeys, WhoSearchesForWhat)
{
    CViewBase list(kViewList), dealings(kViewDealings), cash(kViewCash), news(kViewNews), graph(kViewDailyChart);
    CViewBase listless(kViewList);
    ShareList* shares = CreateShareList(4, 0, kFamilyShares, nullptr, false);
    for (CViewBase* v : {&list, &dealings, &cash, &news, &graph})
        v->list = shares;
    const KeyState none, shift{false, true, false}, ctrl{true, false, false}, rightAlt{false, false, true};
    struct Case {
        uint32_t character;
        KeyState keys;
        const CViewBase* view;
        bool parentLinked;
        FindShareAction action;
        bool seed;
    };
    const std::vector<Case> cases{
        {'7', none, &list, false, FindShareAction::FindShare, true},
        {'b', none, &list, false, FindShareAction::FindShare, true},
        {0, none, &list, false, FindShareAction::FindShare, true},
        {'B', rightAlt, &list, false, FindShareAction::FindShare, false},
        {'R', shift, &list, false, FindShareAction::FindShare, true}, // a capital starts the search with it
        {'B', ctrl, &list, false, FindShareAction::Refuse, false},
        {'-', none, &list, false, FindShareAction::Refuse, false},
        {'B', none, nullptr, false, FindShareAction::Refuse, false},
        {'B', none, &listless, false, FindShareAction::Refuse, false},
        {'B', none, &cash, false, FindShareAction::Refuse, false},
        {'B', none, &news, false, FindShareAction::Refuse, false},
        {'B', none, &dealings, false, FindShareAction::FindInvestor, true},
        {'B', none, &graph, true, FindShareAction::Beep, true},
        {'B', none, &graph, false, FindShareAction::FindShare, true},
    };
    for (const Case& c : cases) {
        FindSharePlan plan = PlanFindShare(c.character, c.keys, c.view, c.parentLinked);
        EXPECT_EQ(plan.action, c.action) << c.character;
        if (plan.action != FindShareAction::Refuse) {
            EXPECT_EQ(plan.seed, c.seed) << c.character;
        }
    }
    for (CViewBase* v : {&list, &dealings, &cash, &news, &graph})
        v->list = nullptr;
    ProFree(shares->entries);
    ProFree(shares);
}

class HelpTopics : public ::testing::Test {
protected:
    HelpTopics() { ResetCommandNames(); }
    ~HelpTopics() override { ResetCommandNames(); }
};

TEST_F(HelpTopics, FrameTopicsFollowTheViewKindAndCommandsAddTheBase)
{
    struct Case {
        uint32_t data;
        int32_t kind;
        uint32_t topic;
    };
    for (const Case& c : std::vector<Case>{
             {0x20000, 1, 0x2012E},  // F1 with a list view active
             {0x20000, 3, 0x20130},  // the details page
             {0x20000, 5, 0x20132},  // the dealings view
             {0x20000, -1, 0x20000},
             {0x2012C, 8, 0x20135},
             {26121, 3, 0x16609},
             {0x16609, 3, 0x16609},
             {0x30000, 3, 0x30000},
         })
        EXPECT_EQ(MapHelpRequest(c.data, c.kind), c.topic) << c.data;

    EXPECT_EQ(HelpTopicText(0x16609), "Help topic 0x16609: Information about new features");
    EXPECT_EQ(HelpTopicText(0x2012E), "Help topic 0x2012E: List window");
    EXPECT_EQ(HelpTopicText(0x20130), "Help topic 0x20130: Details window");
    EXPECT_EQ(HelpTopicText(0x20132), "Help topic 0x20132: Dealings window");
    EXPECT_EQ(HelpTopicText(0x10000 + 31111), "Help topic 0x17987: Command 31111");
    RegisterCommandName(31111, "Sort the table");
    EXPECT_EQ(HelpTopicText(0x10000 + 31111), "Help topic 0x17987: Sort the table");
}

class Progress : public ::testing::Test {
protected:
    Progress() { MainWindowCreated = 1; }
    ~Progress() override
    {
        MainWindowCreated = 0;
        SlideShowRunning = 0;
        MainFrameState() = FrameState{};
    }
    ProgressText progress;
};

TEST_F(Progress, ShownEveryThousandthCallAndNoMoreOftenThanEvery250Ms)
{
    int shown = 0;
    uint32_t now = 5000;
    std::optional<std::string> last;
    for (int i = 0; i < 1001; ++i)
        if (auto text = progress.Show("Sorting", 4, false, now))
            ++shown, last = text;
    EXPECT_EQ(shown, 1) << "the 1001st call";
    EXPECT_EQ(*last, "Sort.");
    for (int i = 0; i < 1001; ++i)
        if (progress.Show("Sorting", 4, false, now + 100))
            ++shown;
    EXPECT_EQ(shown, 1) << "within 250 ms of the last showing";
    EXPECT_EQ(progress.Show("Sorting", 40, false, now + 250), "Sorting..") << "step beyond the text";

    // Forcing shows at once and starts the dots again; the dots run up to 21 and wrap.
    EXPECT_EQ(progress.Show("Sorting", 7, true, now), "Sorting");
    for (int i = 1; i <= 21; ++i)
        EXPECT_EQ(progress.Show("Loading", 7, true, now)->size(), 7u) << i;
    std::string longest;
    ProgressText dots;
    for (int i = 0; i < 22; ++i) {
        for (int j = 0; j < 1000; ++j)
            dots.Show("x", 1, false, 0);
        longest = *dots.Show("x", 1, false, uint32_t(i) * 1000);
    }
    EXPECT_EQ(longest, "x");
    EXPECT_EQ(dots.dots(), 0);
}

TEST_F(Progress, TheIdlePromptComesBackAtOnceAndNothingShowsBeforeTheWindow)
{
    EXPECT_EQ(progress.Show("", 0, false, 0), kIdlePromptReady);
    SlideShowRunning = 1;
    EXPECT_EQ(progress.Show("", 0, false, 0), "Slide show running - press Esc to stop");
    SlideShowRunning = 0;
    MainWindowCreated = 0;
    EXPECT_FALSE(progress.Show("Sorting", 3, true, 0));
}

TEST(MenuBar, SlotsFollowTheActiveKind)
{
    struct Case {
        int32_t kind;
        int32_t portfolioKind;
        bool parentLinked;
        uint32_t viewMenu;
        bool tables, portfolio;
    };
    for (const Case& c : std::vector<Case>{
             {-1, 0, false, 0, true, true},
             {0, 0, false, 301, true, true},
             {0, 0, true, 767, true, true},
             {1, 0, false, 302, true, true},
             {2, 0, false, 303, true, false},
             {2, 3, false, 626, true, false},
             {2, 1, false, 567, true, false},
             {3, 0, false, 304, false, true},
             {11, 0, false, 312, true, true},
         }) {
        MenuBarPlan plan = PlanMenuBar(c.kind, c.portfolioKind, c.parentLinked);
        EXPECT_EQ(plan.viewMenu, c.viewMenu) << c.kind;
        EXPECT_EQ(plan.tablesMenu, c.tables) << c.kind;
        EXPECT_EQ(plan.portfolioMenu, c.portfolio) << c.kind;
    }
    PlanMenuBar(1, 0, false);
    MenuBarPlan toGraph = PlanMenuBar(9, 0, false);
    EXPECT_TRUE(toGraph.graphMenu);
    EXPECT_TRUE(toGraph.graphMenuChanged);
    EXPECT_FALSE(PlanMenuBar(0, 0, false).graphMenuChanged);
    EXPECT_STREQ(ViewMenuTitle(4), "Tran&saction");
}

TEST(FrameClose, BeepsWhileModalRepostsWhileBusyAndDefersRequests)
{
    test::RecordingTarget frame(1);
    MainFrameTarget() = &frame;
    ModalCount = 1;
    BusyFlag = 1;
    EXPECT_EQ(DecideClose(), CloseDecision::Beep);
    ModalCount = 0;
    EXPECT_EQ(DecideClose(), CloseDecision::Repost);
    EXPECT_EQ(DeferredFlag, 1);
    EXPECT_TRUE(DeferViewRequestWhileBusy(kViewDailyChart, 3));
    DeliverPostedMessages();
    ASSERT_EQ(frame.received.size(), 2u);
    EXPECT_EQ(frame.received[0].message, WM_CLOSE);
    EXPECT_EQ(frame.received[1].message, MSG_VIEW_REQUEST_DEFERRED);
    EXPECT_EQ(frame.received[1].wParam, 0u);
    EXPECT_EQ(frame.received[1].lParam, 3);
    BusyFlag = 0;
    DeferredFlag = 0;
    EXPECT_EQ(DecideClose(), CloseDecision::Close);
    EXPECT_FALSE(DeferViewRequestWhileBusy(1, 0));
    MainFrameTarget() = nullptr;
}

TEST(FeedLevelPane, BarsShowLevelsInUseAndWanted)
{
    // Disconnected: five navy one-pixel bars whatever the words say.
    std::vector<LevelBlock> off = FeedLevelBlocks(0x3FF, 0x155, 3);
    ASSERT_EQ(off.size(), 5u);
    for (int i = 0; i < 5; ++i) {
        EXPECT_EQ(off[size_t(i)].x, 1 + 5 * i);
        EXPECT_EQ(off[size_t(i)].top, 11);
        EXPECT_EQ(off[size_t(i)].bottom, 12);
        EXPECT_EQ(off[size_t(i)].colour, kLevelNavy);
    }
    // Bar 0 reads bits 8-9, bar 1 bits 0-1. In use: bar 0 level 1, bar 1 level 0; wanted 3 and 2.
    uint32_t inUse = 1u << 8;
    uint32_t wanted = 3u << 8 | 2u;
    std::vector<LevelBlock> on = FeedLevelBlocks(wanted, inUse, kFeedConnected);
    ASSERT_EQ(on.size(), 7u);
    EXPECT_EQ(on[0].top, 8);
    EXPECT_EQ(on[1].top, 2);
    EXPECT_EQ(on[1].bottom, 8);
    EXPECT_EQ(on[1].colour, kLevelWhite);
    EXPECT_EQ(on[2].top, 11);
    EXPECT_EQ(on[3].top, 5);
    EXPECT_EQ(on[3].colour, kLevelRed);
    EXPECT_EQ(FeedLevelOfBar(0xFF, 4), 3);
}

} // namespace

namespace {

TEST(BrowserCheck, VersionTexts)
{
    struct Case {
        std::optional<std::string> version;
        bool usable;
    };
    for (const Case& c : std::vector<Case>{
             {"11.0.9600", true}, {"6.0.2800", true}, {"4.72", true}, {"3.02", false},
             {"0.9", false}, {"123.1", false}, {"11", false}, {std::nullopt, false}, {"", false},
         })
        EXPECT_EQ(BrowserVersionUsable(c.version), c.usable) << c.version.value_or("(none)");
    EXPECT_FALSE(ShowInfoCentreItem(true, false));
    EXPECT_TRUE(ShowInfoCentreItem(true, true));
}

} // namespace
