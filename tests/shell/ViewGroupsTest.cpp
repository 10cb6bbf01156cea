// Tests of view groups.
#include "shell/ViewGroups.h"

#include "core/ConfigState.h"
#include "core/Memory.h"
#include "core/Portfolio.h"
#include "core/ShareList.h"
#include "devtools/lib/ShareListChain.h"
#include "platform/ByteOrder.h"
#include "platform/MessageDispatch.h"
#include "resources/MessageIds.h"
#include "shell/TimerCallbacks.h"
#include "views/ViewBase.h"
#include "views/ViewKinds.h"

#include <gtest/gtest.h>
#include <memory>
#include <vector>

using namespace qv;

namespace {

// A view that counts the refresh commands and the other messages it receives.
class CountingView : public CViewBase {
public:
    explicit CountingView(int32_t kind) : CViewBase(kind) {}
    intptr_t onProgramMessage(uint32_t message, uintptr_t wParam, intptr_t lParam) override
    {
        if (message != WM_COMMAND)
            ++others;
        return CViewBase::onProgramMessage(message, wParam, lParam);
    }
    void OnRefresh() override { ++refreshes; }
    int refreshes = 0;
    int others = 0;
};

class ViewGroups : public ::testing::Test {
protected:
    ViewGroups() { ClearTimerCallbacks(); }
    ~ViewGroups() override
    {
        DeliverPostedMessages();
        views.clear();
        ClearTimerCallbacks();
        RefreshHoldFlag = 0;
        Config().optionsA.data()[OptionBlockA::kMultipleWindows] = 0;
        dev::FreeShareListChain();
        CurrentShareList() = nullptr;
    }

    ShareList* NewList(int32_t family = kFamilyShares)
    {
        return CreateShareList(8, 0, family, nullptr, true);
    }
    // A view of the kind attached to the list.
    CountingView& Open(int32_t kind, ShareList* list)
    {
        auto& view = *views.emplace_back(std::make_unique<CountingView>(kind));
        view.list = list;
        view.nextInList = list->views;
        list->views = &view;
        return view;
    }
    uint8_t* Record(uint16_t length)
    {
        auto& r = records.emplace_back(std::make_unique<uint8_t[]>(length));
        std::fill_n(r.get(), length, uint8_t(0));
        StoreU16(r.get(), length);
        return r.get();
    }
    std::vector<int> Refreshes()
    {
        std::vector<int> counts;
        for (auto& v : views)
            counts.push_back(v->refreshes);
        return counts;
    }

    std::vector<std::unique_ptr<uint8_t[]>> records;
    std::vector<std::unique_ptr<CountingView>> views;
};

TEST_F(ViewGroups, RefreshReachesTheMatchingViewsOfTheMatchingGroupsOnly)
{
    Portfolio port;
    port.number = 5;
    ShareList* a = NewList();
    ShareList* b = NewList();
    b->source = &port;
    Open(kViewList, a);
    Open(kViewDailyChart, a);
    Open(kViewList, b);
    Open(kViewDetails, b);
    CountingView& gone = Open(kViewList, b);
    gone.SetWindowState(false, false);

    struct Case {
        int32_t kind;
        const Portfolio* source;
        std::vector<int> refreshes;
    };
    for (const Case& c : std::vector<Case>{
             {-1, nullptr, {1, 1, 1, 1, 0}},
             {kViewList, nullptr, {1, 0, 1, 0, 0}},
             {-1, &port, {0, 0, 1, 1, 0}},
             {kViewDetails, &port, {0, 0, 0, 1, 0}},
         }) {
        for (auto& v : views)
            v->refreshes = 0;
        UpdateAllViewGroups(c.kind, false, c.source, true, false);
        EXPECT_EQ(Refreshes(), std::vector<int>(5, 0)) << "the refresh is posted, not sent";
        DeliverPostedMessages();
        EXPECT_EQ(Refreshes(), c.refreshes) << c.kind;
    }
    EXPECT_EQ(b->changed, 1);
    EXPECT_EQ(GetViewGroupFields(a).builtFor, -1);
}

TEST_F(ViewGroups, HeldRefreshesAreDroppedNotQueued)
{
    ShareList* a = NewList();
    Open(kViewList, a);
    {
        RefreshHold hold;
        UpdateAllViewGroups(-1, true, nullptr, false, false);
        EXPECT_EQ(PendingTimerCallbacks(), 0);
    }
    DeliverPostedMessages();
    EXPECT_EQ(Refreshes(), std::vector<int>{0});
    UpdateAllViewGroups(-1, false, nullptr, false, false);
    DeliverPostedMessages();
    EXPECT_EQ(Refreshes(), std::vector<int>{1});
}

TEST_F(ViewGroups, AViewWithoutAListIsSkippedAndItsChainGoesOn)
{
    ShareList* a = NewList();
    CountingView& listless = Open(kViewList, a);
    Open(kViewList, a);
    listless.list = nullptr;
    UpdateAllViewGroups(-1, false, nullptr, false, false);
    DeliverPostedMessages();
    EXPECT_EQ(Refreshes(), (std::vector<int>{0, 1}));
}

TEST_F(ViewGroups, NewsViewsWaitForOneTimerEntry)
{
    Config().optionsA.data()[OptionBlockA::kMultipleWindows] = 1;
    ShareList* news = NewList(kFamilyNews);
    CountingView& view = Open(kViewNews, news);
    CountingView& list = Open(kViewList, NewList());

    UpdateAllViewGroups(-1, true, nullptr, false, false);
    DeliverPostedMessages();
    EXPECT_EQ(view.refreshes, 0);
    EXPECT_EQ(view.newsRefreshPending, 1);
    EXPECT_EQ(list.refreshes, 1);
    EXPECT_EQ(PendingTimerCallbacks(RefreshNewsViewsTimer), 1);

    // A second refresh inside the 250 ms posts at once and leaves one entry waiting.
    UpdateAllViewGroups(-1, true, nullptr, false, false);
    DeliverPostedMessages();
    EXPECT_EQ(view.refreshes, 1);
    EXPECT_EQ(PendingTimerCallbacks(RefreshNewsViewsTimer), 1);

    RunTimerCallbacks();
    DeliverPostedMessages();
    EXPECT_EQ(view.refreshes, 2) << "one post from the timer";
    EXPECT_EQ(view.newsRefreshPending, 0);
    EXPECT_EQ(PendingTimerCallbacks(), 0) << "the entry removed itself";
    RunTimerCallbacks();
    DeliverPostedMessages();
    EXPECT_EQ(view.refreshes, 2);
}

TEST_F(ViewGroups, NewsViewsAreLeftAloneWithOneWindowAndTheEntryIsArmedWithoutLists)
{
    ShareList* news = NewList(kFamilyNews);
    CountingView& view = Open(kViewNews, news);
    UpdateAllViewGroups(-1, true, nullptr, false, false);
    DeliverPostedMessages();
    EXPECT_EQ(view.refreshes, 0);
    EXPECT_EQ(view.newsRefreshPending, 0);
    RunTimerCallbacks();
    DeliverPostedMessages();
    EXPECT_EQ(view.refreshes, 1);

    views.clear();
    dev::FreeShareListChain();
    UpdateAllViewGroups(-1, true, nullptr, false, false);
    EXPECT_EQ(PendingTimerCallbacks(RefreshNewsViewsTimer), 1);
}

TEST_F(ViewGroups, ResetChartsClearsTheRecomputeMarkOfChartsOnly)
{
    ShareList* a = NewList();
    CountingView& chart = Open(kViewIntradayChart, a);
    CountingView& table = Open(kViewList, a);
    chart.recomputeMarker = table.recomputeMarker = 1;
    UpdateAllViewGroups(kViewList, false, nullptr, false, true);
    EXPECT_EQ(chart.recomputeMarker, 0);
    EXPECT_EQ(table.recomputeMarker, 1);
}

TEST_F(ViewGroups, SendingFiltersByWindowVisibilityKindAndKey)
{
    ShareList* a = NewList();
    ShareList* b = NewList();
    CountingView& hidden = Open(kViewList, a);
    hidden.SetWindowState(true, false);
    CountingView& chart = Open(kViewDailyChart, a);
    chart.secondKey = 3;
    CountingView& gone = Open(kViewDailyChart, b);
    gone.SetWindowState(false, false);
    CountingView& other = Open(kViewDailyChart, b);
    other.secondKey = 4;

    auto counts = [&] { return std::vector<int>{hidden.others, chart.others, gone.others, other.others}; };
    SendMessageToViews(ShareListChain(), MSG_SETTINGS_CHANGED, 0, 0, false, -1, -1);
    EXPECT_EQ(counts(), (std::vector<int>{1, 1, 0, 1}));
    SendMessageToViews(ShareListChain(), MSG_SETTINGS_CHANGED, 0, 0, true, -1, -1);
    EXPECT_EQ(counts(), (std::vector<int>{1, 2, 0, 2}));
    SendMessageToViews(ShareListChain(), MSG_SETTINGS_CHANGED, 0, 0, true, kViewDailyChart, 3);
    EXPECT_EQ(counts(), (std::vector<int>{1, 3, 0, 2}));
    // Starting at a later group leaves the earlier ones out (b was created last, so it heads the chain).
    SendMessageToViews(a, MSG_SETTINGS_CHANGED, 0, 0, false, -1, -1);
    EXPECT_EQ(counts(), (std::vector<int>{2, 4, 0, 2}));

    a->tableSetting = 2;
    SendMessageToAllViews(MSG_SETTINGS_CHANGED, 0, 0, false, kFamilyShares, -1, 2);
    EXPECT_EQ(counts(), (std::vector<int>{3, 5, 0, 2}));
}

TEST_F(ViewGroups, CurrentShareByFamily)
{
    struct Case {
        int32_t family;
        std::vector<std::pair<size_t, uint8_t>> bytes; // record bytes
        uint16_t length;
        uint32_t storedId, storedSub;
        uint32_t id, sub;
    };
    const std::vector<Case> cases{
        {kFamilyShares, {{2, 0x34}, {3, 0x42}}, 24, 0, 0, 0x4234, 2},
        {kFamilyTransactions, {{8, 0x11}, {9, 0x40}, {10, 7}}, 24, 0, 0, 0x4011, 7},
        {kFamilyTransactions, {{8, 0x11}, {9, 0x40}, {10, 7}}, 10, 0, 0, 0, 0},
        // 15 bits at bit 4 of the big-endian bytes 9-11: 0x4321 << 5 is 0x086420.
        {kFamilyDealings, {{9, 0x08}, {10, 0x64}, {11, 0x20}}, 24, 0, 0, 0x4321, 0},
        {kFamilyDealings, {{9, 0x08}, {10, 0x64}, {11, 0x20}}, 24, 0x4555, 1, 0x4555, 1},
        {kFamilyCash, {{8, 0x22}, {9, 0x40}}, 24, 0, 0, 0x4022, 0},
        {kFamilyNews, {{28, 0x99}, {29, 0x41}}, 40, 0, 0, 0x4199, 0},
        {kFamilyNews, {{28, 0x99}, {29, 0x41}}, 40, 0x4001, 3, 0x4001, 3},
        {kFamilyNews, {{28, 0x99}, {29, 0x41}}, 30, 0, 0, 0, 0},
        {kFamilyTicker, {{2, 0x34}}, 24, 0, 0, 0, 0},
    };
    for (const Case& c : cases) {
        ShareList* list = NewList(c.family == kFamilyTicker ? kFamilyShares : c.family);
        list->family = c.family;
        uint8_t* r = Record(40);
        for (auto [at, value] : c.bytes)
            r[at] = value;
        StoreU16(r, c.length);
        ASSERT_NE(list->entries, nullptr);
        list->entries[0] = RecordCursor{r, 2};
        list->current = 0;
        list->currentId = c.storedId;
        list->currentSub = c.storedSub;
        uint32_t id = 99, sub = 99;
        GetViewShare(list, &id, &sub);
        EXPECT_EQ(id, c.id) << "family " << c.family;
        EXPECT_EQ(sub, c.sub) << "family " << c.family;
    }
    uint32_t id = 9;
    GetViewShare(nullptr, &id, nullptr);
    EXPECT_EQ(id, 0u);
}

TEST_F(ViewGroups, TradeListsReadTheShareFromTheirTradeBlock)
{
    ShareList* list = NewList(kFamilyTrades);
    list->entries[0] = RecordCursor{Record(24), 0};
    list->currentSub = 4;
    auto* block = static_cast<uint8_t*>(ProCalloc(1, 8, "test"));
    StoreU16(block + 2, 0x4777);
    ViewGroupFields fields = GetViewGroupFields(list);
    fields.tradeBlock = block;
    SetViewGroupFields(list, fields);
    uint32_t id = 0, sub = 0;
    GetViewShare(list, &id, &sub);
    EXPECT_EQ(id, 0x4777u);
    EXPECT_EQ(sub, 4u);
    FreeViewGroup(list);
    EXPECT_EQ(GetViewGroupFields(list).tradeBlock, nullptr);
}

TEST_F(ViewGroups, GroupNumbersFillTheFirstGap)
{
    EXPECT_EQ(NextFreeGroupNumber(), 0);
    ShareList* first = NewList();
    EXPECT_EQ(first->number, 0);
    EXPECT_EQ(NextFreeGroupNumber(), 1);
    ShareList* second = NewList();
    ShareList* third = NewList();
    EXPECT_EQ(NextFreeGroupNumber(), 3);
    third->number = 3;
    EXPECT_EQ(NextFreeGroupNumber(), 2);
    (void)second;
}

TEST_F(ViewGroups, UnusedGroupsAreFreedAndTheRestKeptInOrder)
{
    Portfolio port;
    ShareList* shown = NewList();
    ShareList* followed = NewList();
    ShareList* current = NewList();
    ShareList* shared = NewList();
    ShareList* unused = NewList();
    Open(kViewList, shown);
    CountingView& follower = Open(kViewDailyChart, shown);
    follower.secondList = followed;
    CurrentShareList() = current;
    // A portfolio sharing a freed list's rows keeps them.
    port.entries = shared->entries;
    PortfolioChain() = &port;

    int calls = 0;
    static int* lockCalls = nullptr;
    lockCalls = &calls;
    SetViewGroupWalkLock([] { ++*lockCalls; }, [] { ++*lockCalls; });
    FreeUnusedViewGroups();
    SetViewGroupWalkLock(nullptr, nullptr);
    EXPECT_EQ(calls, 2);

    std::vector<ShareList*> left;
    for (ShareList* l = ShareListChain(); l; l = l->next)
        left.push_back(l);
    EXPECT_EQ(left, (std::vector<ShareList*>{current, followed, shown}));
    (void)unused;
    EXPECT_NE(port.entries, nullptr);
    ProFree(port.entries);
    PortfolioChain() = nullptr;
    CurrentShareList() = nullptr;
}

} // namespace
