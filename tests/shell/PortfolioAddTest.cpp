// Tests of adding shares to a user portfolio and of the refresh broadcasts over the share lists.
#include "shell/PortfolioAdd.h"

#include "core/Memory.h"
#include "core/Portfolio.h"
#include "core/ShareList.h"
#include "devtools/lib/ShareListChain.h"
#include "platform/ByteOrder.h"
#include "platform/MessageDispatch.h"
#include "portfolio/UndoRing.h"
#include "resources/MessageIds.h"
#include "support/FakeMessageBox.h"
#include "views/ViewBase.h"
#include "views/ViewKinds.h"

#include <gtest/gtest.h>
#include <memory>
#include <vector>

using namespace qv;

namespace {

class CountingView : public CViewBase {
public:
    explicit CountingView(int32_t kind) : CViewBase(kind) {}
    void OnRefresh() override { ++refreshes; }
    int refreshes = 0;
};

std::vector<RecordCursor> Entries(const Portfolio* p)
{
    std::vector<RecordCursor> v;
    for (uint32_t i = 0; p->entries && i < PortfolioEntrySlots(*p) && p->entries[i].record; ++i)
        v.push_back(p->entries[i]);
    return v;
}

class PortfolioAdd : public ::testing::Test {
protected:
    PortfolioAdd()
    {
        GetUndoRing().clear();
        PortfolioAddHooks hooks = DefaultPortfolioAddHooks();
        hooks.save = [this](Portfolio*) { ++saves; };
        hooks.pushUndo = [this](uint32_t kind, Portfolio* p) {
            kinds.push_back(kind);
            PushUndoStep(kind, p);
        };
        hooks.newPortfolio = [this](const char*) { return made; };
        hooks.chooseMember = [this](Portfolio*) { return member; };
        SetPortfolioAddHooks(hooks);
        portfolio.number = 3;
        PortfolioChain() = &portfolio;
    }
    ~PortfolioAdd() override
    {
        DeliverPostedMessages();
        SetPortfolioAddHooks(DefaultPortfolioAddHooks());
        GetUndoRing().clear();
        AddToPortfolioConfirmOption = 0;
        PortfolioChain() = nullptr;
        CurrentShareList() = nullptr;
        views.clear();
        dev::FreeShareListChain();
        ProFree(portfolio.entries);
    }
    RecordCursor Share(uint16_t id, uint32_t sub = 0)
    {
        auto& r = records.emplace_back(std::make_unique<uint8_t[]>(16));
        std::fill_n(r.get(), 16, uint8_t(0));
        StoreU16(r.get(), 16);
        StoreU16(r.get() + 2, id);
        return {r.get(), sub};
    }
    CountingView& Open(int32_t kind, ShareList* list)
    {
        auto& view = *views.emplace_back(std::make_unique<CountingView>(kind));
        view.list = list;
        view.nextInList = list->views;
        list->views = &view;
        return view;
    }

    Portfolio portfolio;
    Portfolio* made = nullptr;
    Portfolio* member = nullptr;
    int saves = 0;
    std::vector<uint32_t> kinds;
    test::FakeMessageBox boxes;
    std::vector<std::unique_ptr<uint8_t[]>> records;
    std::vector<std::unique_ptr<CountingView>> views;
};

} // namespace

TEST_F(PortfolioAdd, EntryArrayGrowsBySixtyFourBytesAndRefusesDuplicates)
{
    RecordCursor a = Share(10);
    EXPECT_EQ(AddPortfolioEntry(&portfolio, a, false), 1);
    EXPECT_EQ(portfolio.entryBytes, 8 * sizeof(RecordCursor)) << "64 stored bytes: eight 8-byte entries";
    EXPECT_EQ(AddPortfolioEntry(&portfolio, a, true), 0);
    EXPECT_EQ(AddPortfolioEntry(&portfolio, {a.record, 1}, false), 1) << "another sub-record is another entry";
    for (uint16_t id = 11; id < 15; ++id)
        AddPortfolioEntry(&portfolio, Share(id), false);
    EXPECT_EQ(PortfolioEntrySlots(portfolio), 8u) << "six entries fit";
    EXPECT_EQ(saves, 0);
    EXPECT_EQ(AddPortfolioEntry(&portfolio, Share(20), true), 1);
    EXPECT_EQ(PortfolioEntrySlots(portfolio), 16u) << "the seventh grows the array first";
    EXPECT_EQ(portfolio.last, 6);
    EXPECT_EQ(portfolio.entries[7].record, nullptr);
    EXPECT_EQ(saves, 1);
}

TEST_F(PortfolioAdd, ConfirmationFollowsTheOption)
{
    struct Case {
        uint32_t option;
        int32_t count;
        bool asks;
    };
    for (const Case& c : std::vector<Case>{{0x4000 + 10, 9, false}, {0x4000 + 10, 10, true},
                                           {0x8000, 1, true}, {0, 500, false}, {10, 500, false}}) {
        AddToPortfolioConfirmOption = c.option;
        size_t before = boxes.shown().size();
        if (c.asks)
            boxes.queue(MsgAnswer::Yes);
        EXPECT_TRUE(AskAddToPortfolio(&portfolio, c.count));
        EXPECT_EQ(boxes.shown().size() - before, c.asks ? 1u : 0u) << c.option << " " << c.count;
    }
    AddToPortfolioConfirmOption = 0x8000;
    boxes.queue(MsgAnswer::No);
    EXPECT_FALSE(AskAddToPortfolio(&portfolio, 1));
    EXPECT_EQ(boxes.texts().back(), "Do you want to add this share to 'Portfolio 4' portfolio?");
    boxes.queue(MsgAnswer::Yes);
    AskAddToPortfolio(&portfolio, 10);
    EXPECT_EQ(boxes.texts().back(), "Do you want to add these 10 shares to 'Portfolio 4' portfolio?");
}

TEST_F(PortfolioAdd, AddingRunsUndoAndRedo)
{
    ShareList* list = CreateShareList(8, 0, kFamilyShares, &portfolio, true);
    CountingView& table = Open(kViewPortfolio, list);
    AddPortfolioEntry(&portfolio, Share(1), false);

    RecordCursor run[4] = {Share(2), Share(3), Share(4), {}};
    AddToPortfolioConfirmOption = 0x4000 + 3;
    boxes.queue(MsgAnswer::No);
    EXPECT_FALSE(AddSharesToPortfolio(&portfolio, &run[0], &run[3], ""));
    EXPECT_EQ(Entries(&portfolio).size(), 1u) << "No leaves the portfolio as it was";
    EXPECT_TRUE(kinds.empty());

    boxes.queue(MsgAnswer::Yes);
    EXPECT_TRUE(AddSharesToPortfolio(&portfolio, &run[0], &run[3], ""));
    EXPECT_EQ(Entries(&portfolio).size(), 4u);
    EXPECT_EQ(saves, 1) << "a run is saved once";
    EXPECT_GT(table.invalidations(), 0);
    EXPECT_EQ(ShareListCount(list), 4) << "the list of the portfolio was reloaded";
    DeliverPostedMessages();
    EXPECT_GT(table.refreshes, 0);

    EXPECT_TRUE(AddShareToPortfolio(&portfolio, Share(5), ""));
    EXPECT_FALSE(AddShareToPortfolio(&portfolio, run[0], "")) << "already present";
    EXPECT_EQ(kinds, (std::vector<uint32_t>{kUndoAddShares, kUndoAddShare}));
    ASSERT_TRUE(GetUndoRing().undo());
    EXPECT_EQ(Entries(&portfolio).size(), 4u);
    ASSERT_TRUE(GetUndoRing().undo());
    EXPECT_EQ(Entries(&portfolio).size(), 1u) << "the run goes in one step";
    ASSERT_TRUE(GetUndoRing().redo());
    EXPECT_EQ(Entries(&portfolio).size(), 4u);
    ASSERT_TRUE(GetUndoRing().redo());
    EXPECT_EQ(Entries(&portfolio).size(), 5u);
    EXPECT_EQ(EntryRecordId(Entries(&portfolio).back()), 5);
}

TEST_F(PortfolioAdd, GroupPortfoliosAddToTheChosenMemberAndNoPortfolioMakesOne)
{
    Portfolio group;
    group.type = kGroupPortfolio;
    EXPECT_FALSE(AddShareToPortfolio(&group, Share(1), "")) << "Cancel in the member dialog";
    member = &portfolio;
    EXPECT_TRUE(AddShareToPortfolio(&group, Share(1), ""));
    EXPECT_EQ(Entries(&portfolio).size(), 1u);
    EXPECT_EQ(group.entries, nullptr);

    EXPECT_FALSE(AddShareToPortfolio(nullptr, Share(2), "")) << "Cancel when naming a new portfolio";
    Portfolio fresh;
    made = &fresh;
    EXPECT_TRUE(AddShareToPortfolio(nullptr, Share(2), ""));
    EXPECT_EQ(LastChosenPortfolio(), &fresh);
    EXPECT_EQ(AddToListPortfolio(nullptr, Share(3), false), 0);
    EXPECT_EQ(Entries(&fresh).size(), 2u);
    ProFree(fresh.entries);
    LastChosenPortfolio() = nullptr;
}

TEST_F(PortfolioAdd, NewAndGroupChoicesAreOfferedOnlyWithTheirDialogs)
{
    Portfolio group;
    group.type = kGroupPortfolio;
    EXPECT_TRUE(CanAddToPortfolio(nullptr));
    EXPECT_TRUE(CanAddToPortfolio(&group));
    // Without the portfolio dialogs the two choices would do nothing: they are not offered.
    SetPortfolioAddHooks(DefaultPortfolioAddHooks());
    EXPECT_FALSE(CanAddToPortfolio(nullptr));
    EXPECT_FALSE(CanAddToPortfolio(&group));
    EXPECT_TRUE(CanAddToPortfolio(&portfolio));
}

TEST_F(PortfolioAdd, MatchingViewsByKindSettingAndPortfolio)
{
    ShareList* plain = CreateShareList(8, 0, kFamilyShares, nullptr, true);
    ShareList* ported = CreateShareList(8, 0, kFamilyShares, &portfolio, true);
    ported->tableSetting = 2;
    CountingView& list = Open(kViewList, plain);
    CountingView& table = Open(kViewPortfolio, ported);
    CountingView& trans = Open(kViewTransactions, ported);
    CountingView& hidden = Open(kViewList, ported);
    hidden.SetWindowState(true, false);
    trans.windowId = 7;
    struct Case {
        int32_t kind, setting;
        uint32_t id;
        const Portfolio* port;
        std::vector<int> repaints; // list, table, trans, hidden
    };
    for (const Case& c : std::vector<Case>{{kViewList, -1, 0xFFFFFFFF, nullptr, {1, 1, 0, 0}},
                                           {kViewPortfolio, -1, 0xFFFFFFFF, nullptr, {1, 1, 0, 0}},
                                           {-1, 2, 0xFFFFFFFF, nullptr, {0, 1, 1, 0}},
                                           {-1, -1, 7, nullptr, {0, 0, 1, 0}},
                                           {-1, -1, 0xFFFFFFFF, &portfolio, {0, 1, 1, 0}}}) {
        std::vector<int> before{list.invalidations(), table.invalidations(), trans.invalidations(),
                                hidden.invalidations()};
        InvalidateMatchingViews(ShareListChain(), false, c.kind, c.setting, c.id, c.port);
        std::vector<int> after{list.invalidations(), table.invalidations(), trans.invalidations(),
                               hidden.invalidations()};
        for (size_t i = 0; i < after.size(); ++i)
            EXPECT_EQ(after[i] - before[i], c.repaints[i]) << c.kind << " " << i;
    }
    portfolio.changed = 1;
    InvalidateMatchingViews(ported, true, kViewTransactions, -1, 0xFFFFFFFF, &portfolio);
    EXPECT_EQ(trans.reload, 1);
}

TEST_F(PortfolioAdd, ListViewsRefreshReachesNewsAndOneShareDealings)
{
    ShareList* news = CreateShareList(8, 0, kFamilyNews, nullptr, true);
    news->viewState1 = 1;
    ShareList* dealings = CreateShareList(8, 0, kFamilyDealings, nullptr, true);
    dealings->viewState2 = 0x20 | 0x80;
    ShareList* quietDealings = CreateShareList(8, 0, kFamilyDealings, nullptr, true);
    quietDealings->viewState2 = 0x60;
    ShareList* target = CreateShareList(8, 0, kFamilyShares, &portfolio, true);
    CountingView& follower = Open(kViewNews, news);
    follower.secondList = target;
    CountingView& newsView = Open(kViewNews, news);
    CountingView& dealingsView = Open(kViewDealings, dealings);
    CountingView& quiet = Open(kViewDealings, quietDealings);

    PostListViewsRefresh(target, false);
    DeliverPostedMessages();
    EXPECT_EQ(CurrentShareList(), target);
    // The news list's newest view follows another list, so the next one is told.
    EXPECT_EQ(std::vector<int>({follower.refreshes, newsView.refreshes, dealingsView.refreshes, quiet.refreshes}),
              std::vector<int>({0, 1, 1, 0}));
    PostListViewsRefresh(target, false);
    DeliverPostedMessages();
    EXPECT_EQ(newsView.refreshes, 1) << "the same source again only becomes current";
    PostListViewsRefresh(target, true);
    DeliverPostedMessages();
    EXPECT_EQ(newsView.refreshes, 2);
}
