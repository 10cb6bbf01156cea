// Tests of view requests in the active window and the commands built on them.
#include "shell/ui/ViewRequests.h"
#include "views/CommandUpdate.h"

#include "chartmodel/ui/ViewGraphEODWindow.h"
#include "core/Portfolio.h"
#include "core/RecordLists.h"
#include "core/RecordLookup.h"
#include "core/SectorFilter.h"
#include "core/ShareList.h"
#include "lists/ListFixture.h"
#include "lists/ListOptions.h"
#include "lists/ui/ViewList.h"
#include "platform/MessageDispatch.h"
#include "resources/MessageIds.h"
#include "shell/ui/ChildWindow.h"
#include "shell/ui/MainFrame.h"
#include "shell/ui/PortfolioCommandHost.h"
#include "shell/ui/WindowFactory.h"
#include "support/ui/FactoryFrame.h"
#include "views/FrameState.h"
#include "views/ViewBase.h"
#include "views/ViewKinds.h"
#include "views/ui/ViewBaseWindow.h"
#include "views/ui/ViewClassRegistry.h"

#include <QApplication>
#include <QMdiArea>
#include <gtest/gtest.h>
#include <memory>
#include <vector>

using namespace qv;

namespace {

// "Current Portfolio" on its toolbar and key (F11).
constexpr uint32_t kCommandCurrentPortfolioBar = 26987;

class Requests : public test::FactoryFrame {
protected:
    Requests() : FactoryFrame(1000, 760)
    {
        requests = std::make_unique<CViewRequests>(*frame, *factory);
        requests->SetPortfolioChooser([this] { return chosen; });
    }
    ~Requests() override { requests.reset(); }

    // Lays out one window of the kind (the main layout when linked), active, with four shares in
    // its list.
    CViewBase* Start(int32_t kind, bool linked = false)
    {
        factory->CloseAllWindows();
        Settle();
        std::vector<LayoutWindow> windows = BuildDefaultLayout(0, factory->ClientArea());
        if (!linked) {
            windows.resize(1);
            windows[0].kind = kind;
        }
        SetLayoutSlotWindows(0, windows);
        factory->CreateLayoutWindows();
        Settle();
        CViewBase* view = MainFrameState().activeView;
        EXPECT_NE(view, nullptr);
        ShareList* list = view->list;
        if (!list->entries)
            return view;
        for (int32_t i = 0; i < 4; ++i)
            list->entries[i] = RecordCursor{Share(uint16_t(100 + i)), 0};
        list->current = 1;
        list->last = 3;
        return view;
    }
    void Settle()
    {
        QApplication::processEvents();
        DeliverPostedMessages();
        QApplication::processEvents();
    }
    int32_t ActiveKind() const
    {
        CViewBase* view = MainFrameState().activeView;
        return view ? view->kind : -1;
    }
    size_t Windows() const { return factory->Children().size(); }
    CChildWindow* ActiveChild() const { return CWindowFactory::ChildOf(MainFrameState().activeView); }

    Portfolio* chosen = nullptr;
    std::unique_ptr<CViewRequests> requests;
};

// The frame's requests and portfolio commands, with real list views over a small database of four
// shares, so that a fixed list has rows of its own to show.
class RequestsOnShares : public Requests {
protected:
    RequestsOnShares() : portfolios(*frame, *requests)
    {
        // The lists' filter defaults, whatever an earlier test in the process chose (the menu
        // sweep leaves "New Lows" on).
        SectorFilterDefaults() = SectorFilter{};
        LoadDatabaseFromMemory(test::ListSharesFile(test::FourListShares()), nullptr);
        previous = RegisterViewClass(kViewList, [](int32_t kind) -> CViewBaseWnd* { return new CViewList(kind); });
    }
    ~RequestsOnShares() override
    {
        factory->CloseAllWindows();
        QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        RegisterViewClass(kViewList, previous);
        ForgetListRows();
        FreeSettingLayouts();
        FreeDatabase(true);
    }

    CPortfolioCommandHost portfolios;
    ViewClassFactory previous;
};

} // namespace

TEST_F(Requests, CurrentShareCommandsFillTheActiveWindowOrOpenANewOne)
{
    struct Case {
        uint32_t command;
        bool linked;
        bool shift;
        int32_t kind;
        bool newWindow;
    };
    for (const Case& c : std::vector<Case>{
             {kCommandGraphCurrent, false, false, kViewDailyChart, false},
             {kCommandShowDetailsBar, false, false, kViewDetails, false},
             {kCommandDataMining, false, false, kViewDataMining, false},
             {kCommandNews, false, false, kViewNews, false},
             {kCommandNews, true, false, kViewNews, true},
             {kCommandDealings, true, false, kViewDealings, true},
             {kCommandTicker, false, false, kViewTicker, false},
             {kCommandTransactions, false, false, kViewTransactions, false},
             {kCommandTransactions, false, true, kViewTransactions, true},
             {ShowListCommandId(4), false, true, kViewList, true},
             {ShowListSameWindowCommandId(9, 1), false, true, kViewList, false},
         }) {
        chosen = &portfolio;
        Start(kViewList, c.linked);
        CChildWindow* before = ActiveChild();
        size_t windows = Windows();
        frame->NoteKeyState(KeyState{false, c.shift, false});
        frame->OnCommand(c.command);
        Settle();
        frame->NoteKeyState(KeyState{});
        EXPECT_EQ(ActiveKind(), c.kind) << c.command;
        EXPECT_EQ(Windows(), windows + (c.newWindow ? 1 : 0)) << c.command;
        EXPECT_EQ(ActiveChild() == before, !c.newWindow) << c.command;
        EXPECT_EQ(before->isVisible(), true) << c.command;
    }
}

// "News" shows every story: a news view limited to one share (by "Share's News") is set back to all,
// whether the command opens the news view or finds it active.
TEST_F(Requests, NewsShowsEveryStoryAfterAShareLimit)
{
    ViewRequestHooks& hooks = GetViewRequestHooks();
    const auto kept = hooks.limitNewsToShare;
    std::vector<std::pair<int32_t, uint32_t>> limits; // the view's kind and the share it is limited to
    hooks.limitNewsToShare = [&](CViewBase* view, uint32_t share) { limits.push_back({view->kind, share}); };
    Start(kViewList);
    requests->ShowShareNews(); // "Share's News"
    Settle();
    ASSERT_EQ(ActiveKind(), kViewNews);
    ASSERT_EQ(limits.size(), 1u);
    EXPECT_NE(limits[0].second, 0u);
    frame->OnCommand(kCommandNews);
    Settle();
    frame->OnCommand(kCommandNewsBar);
    Settle();
    EXPECT_EQ(limits, (std::vector<std::pair<int32_t, uint32_t>>{
                          limits[0], {kViewNews, 0}, {kViewNews, 0}}));
    hooks.limitNewsToShare = kept;
}

// "Directors' dealings" on a dealings view: one limited to a share (bit 6) or to its selection (bit
// 5 alone) shows every share again; one showing them all, or a busy program, is left alone.
TEST_F(Requests, DealingsOnADealingsViewShowsEveryShareAgain)
{
    ViewRequestHooks& hooks = GetViewRequestHooks();
    const auto kept = hooks.limitDealingsToShare;
    std::vector<uint16_t> limits;
    hooks.limitDealingsToShare = [&](CViewBase*, uint16_t share) { limits.push_back(share); };
    struct Case {
        uint8_t flags;
        bool busy;
        uint8_t after;
        bool shownAll;
    };
    for (const Case& c : {Case{0x1A, false, 0x1A, false}, Case{0x5A, false, 0x1A, true},
                          Case{0x3A, false, 0x1A, true}, Case{0x7A, false, 0x1A, true},
                          Case{0x5A, true, 0x5A, false}}) {
        SCOPED_TRACE(int(c.flags));
        CViewBase* view = Start(kViewDealings);
        ASSERT_EQ(ActiveKind(), kViewDealings);
        view->list->viewState2 = c.flags;
        limits.clear();
        BusyFlag = c.busy ? 1 : 0;
        frame->OnCommand(kCommandDealings);
        BusyFlag = 0;
        Settle();
        EXPECT_EQ(view->list->viewState2, c.after);
        EXPECT_EQ(limits, c.shownAll ? std::vector<uint16_t>{0} : std::vector<uint16_t>{});
    }
    hooks.limitDealingsToShare = kept;
}

TEST_F(Requests, TheNewViewKeepsTheShareAndTheOldViewGoes)
{
    CViewBase* list = Start(kViewList);
    CChildWindow* child = ActiveChild();
    frame->OnCommand(kCommandShowDetails);
    Settle();
    CViewBase* details = MainFrameState().activeView;
    ASSERT_NE(details, list);
    EXPECT_EQ(child->widget(), dynamic_cast<QWidget*>(details));
    ASSERT_NE(details->list, nullptr);
    EXPECT_EQ(details->list->family, kFamilyShares);
    EXPECT_EQ(EntryRecordId(*CurrentEntry(details->list)), 101) << "the same share";
    // The window stays the active one, so the view that took it over is active (its readouts reach
    // the status bar) without an activation of its own.
    EXPECT_EQ(details->active, 1);
    EXPECT_TRUE(dynamic_cast<QWidget*>(details)->hasFocus()) << "and the keyboard";
}

TEST_F(Requests, AViewReplacedInItsWindowStaysOwnedByTheWindow)
{
    Start(kViewList);
    CChildWindow* child = ActiveChild();
    frame->OnCommand(kCommandTicker);
    Settle();
    ASSERT_EQ(ActiveKind(), kViewTicker);
    for (QWidget* top : QApplication::topLevelWidgets())
        EXPECT_EQ(dynamic_cast<CViewBase*>(top), nullptr) << "a view lost its window";
    size_t owned = child->findChildren<CViewBaseWnd*>().size();
    EXPECT_GE(owned, 1u);
}

TEST_F(Requests, GraphOnADailyGraphTogglesTheLogScaleAndCyclingRunsRound)
{
    Start(kViewDailyChart);
    frame->OnCommand(kCommandGraphCurrent); // no chart offers a log scale: nothing is asked of it
    Settle();
    EXPECT_EQ(ActiveKind(), kViewDailyChart);
    EXPECT_FALSE(frame->commands().contains(kCommandLogScale));
    int switched = 0;
    ApplicationCommands().Add(kCommandLogScale, [&switched] { ++switched; });
    frame->OnCommand(kCommandGraphCurrent);
    Settle();
    ApplicationCommands().Remove(kCommandLogScale);
    EXPECT_EQ(ActiveKind(), kViewDailyChart);
    EXPECT_EQ(switched, 1);

    Start(kViewList);
    std::vector<int32_t> seen;
    for (int i = 0; i < 3; ++i) {
        frame->OnCommand(kCommandNextViewKind);
        Settle();
        seen.push_back(ActiveKind());
    }
    EXPECT_EQ(seen, (std::vector<int32_t>{kViewDailyChart, kViewDetails, kViewList}));
    seen.clear();
    for (int i = 0; i < 3; ++i) {
        frame->OnCommand(kCommandPreviousViewKind);
        Settle();
        seen.push_back(ActiveKind());
    }
    EXPECT_EQ(seen, (std::vector<int32_t>{kViewDetails, kViewDailyChart, kViewList}));
    EXPECT_EQ(Windows(), 1u);
}

TEST_F(Requests, ListSwitchesAndUseKeepTheRightKind)
{
    CViewBase* list = Start(kViewList);
    list->list->word = 4;
    MainFrameState().listNumber = 4;
    list->list->sectorIndex = 7;
    list->list->sectorFilterOn = 1;
    frame->OnCommand(ShowListCommandId(4));
    Settle();
    EXPECT_EQ(MainFrameState().activeView, list) << "the list already shows FTSE 100";
    EXPECT_EQ(list->list->sectorIndex, -1);
    EXPECT_EQ(list->list->sectorFilterOn, 0);

    EXPECT_EQ(requests->ShowViewKind(kViewList, 4, 0), nullptr) << "same kind and number: nothing to do";
    EXPECT_TRUE(requests->UpdateCommand(ShowListCommandId(4)).checked);
    EXPECT_FALSE(requests->UpdateCommand(ShowListCommandId(16)).enabled) << "no imported items";
    ImportedItemCount = 1;
    EXPECT_TRUE(requests->UpdateCommand(ShowListCommandId(16)).enabled);
    ImportedItemCount = 0;

    Start(kViewDailyChart);
    frame->OnCommand(UseListCommandId(9));
    Settle();
    EXPECT_EQ(ActiveKind(), kViewDailyChart);
    EXPECT_EQ(MainFrameState().activeView->list->word, 9);
    EXPECT_EQ(MainFrameState().listNumber, 9);
    EXPECT_EQ(Windows(), 1u);
}

TEST_F(Requests, TransactionsAskForAPortfolioAndCancelChangesNothing)
{
    CViewBase* list = Start(kViewList);
    chosen = nullptr;
    frame->OnCommand(kCommandTransactions);
    Settle();
    EXPECT_EQ(MainFrameState().activeView, list);
    EXPECT_EQ(ActiveKind(), kViewList);
}

TEST_F(Requests, ATickerAlwaysOpensANewWindowAndBusyRequestsComeBack)
{
    Start(kViewTicker);
    EXPECT_EQ(ActiveKind(), kViewTicker);
    frame->OnCommand(kCommandShowDetails);
    Settle();
    EXPECT_EQ(ActiveKind(), kViewDetails);
    EXPECT_EQ(Windows(), 2u);

    Start(kViewList);
    BusyFlag = 1;
    EXPECT_EQ(requests->ShowViewKind(kViewDailyChart, 3, 0), nullptr);
    EXPECT_EQ(DeferredFlag, 1);
    EXPECT_EQ(ActiveKind(), kViewList);
    BusyFlag = 0;
    Settle();
    EXPECT_EQ(ActiveKind(), kViewDailyChart) << "carried out once the build ends";
}

TEST_F(Requests, ANewWindowFirstRestoresTheMaximisedOne)
{
    Start(kViewList);
    CChildWindow* first = ActiveChild();
    first->showMaximized();
    Settle();
    ASSERT_TRUE(first->isMaximized());
    frame->NoteKeyState(KeyState{false, true, false});
    frame->OnCommand(ShowListCommandId(4));
    frame->NoteKeyState(KeyState{});
    Settle();
    ASSERT_EQ(Windows(), 2u);
    EXPECT_NE(ActiveChild(), first);
    EXPECT_FALSE(first->isMaximized());
    EXPECT_FALSE(ActiveChild()->isMaximized());
}

TEST_F(Requests, ADealingsViewAskedForTakesTheDisplayOptionsLastChosenOnEveryShare)
{
    ViewRequestHooks& hooks = GetViewRequestHooks();
    const auto kept = hooks.dealingsDisplayFlags;
    hooks.dealingsDisplayFlags = [] { return uint8_t(0x5A); }; // latest only, two categories, one share
    Start(kViewList);
    CViewBase* shown = requests->ShowViewKind(kViewDealings, -1, 0);
    ASSERT_NE(shown, nullptr);
    ASSERT_NE(shown->list, nullptr);
    EXPECT_EQ(shown->list->viewState2, 0x1A) << "the one-share limit is the request's to set";
    hooks.dealingsDisplayFlags = kept;
}

TEST_F(Requests, APortfolioARequestWorksInBecomesCurrentAndAnotherWindowKeepsItsOwn)
{
    Portfolio other;
    other.number = 1;
    portfolio.next = &other;
    CViewBase* view = Start(kViewList);
    SetShareListSource(view->list, &other, 0, 0, true, false);
    ShareList* elsewhere = CreateShareList(1, 0, kFamilyShares, &portfolio, true);
    CurrentShareList() = elsewhere;

    CViewBase* details = requests->ShowViewKind(kViewDetails, -1, 0);
    ASSERT_NE(details, nullptr);
    EXPECT_EQ(details->list->source, &other) << "the details walk the list's portfolio";
    ASSERT_NE(CurrentShareList(), nullptr);
    EXPECT_EQ(CurrentShareList()->source, &other) << "which becomes the current portfolio";
    EXPECT_NE(CurrentShareList(), details->list);
    // The old current list is left alone: freed once no window shows it, else still on its portfolio.
    if (IsShareListLive(elsewhere)) {
        EXPECT_EQ(elsewhere->source, &portfolio) << "a list that showed the old one keeps it";
    }

    // A graph from the details of a list without a portfolio looks for none.
    DropListSource(details->list);
    ShareList* current = CurrentShareList();
    requests->ShowViewKind(kViewDailyChart, -1, 0);
    EXPECT_EQ(CurrentShareList(), current);
    factory->CloseAllWindows();
    portfolio.next = nullptr;
}

TEST_F(Requests, LinkedViewsFollowAndUnlinkingLeavesThemBehind)
{
    Start(kViewList, true);
    CViewBase* list = MainFrameState().activeView;
    ShareList* group = list->list;
    frame->OnCommand(kCommandViewCurrentList);
    Settle();
    int32_t charts = 0;
    for (CViewBase* v = group->views; v; v = v->nextInList)
        charts += IsChartViewKind(v->kind);
    EXPECT_EQ(charts, 2) << "graphs linked to the list refresh and stay graphs";

    // Unlinking a linked chart gives it its own list.
    CViewBase* chart = nullptr;
    for (CViewBase* v = group->views; v; v = v->nextInList)
        if (v->kind == kViewDailyChart)
            chart = v;
    ASSERT_NE(chart, nullptr);
    frame->mdiArea()->setActiveSubWindow(CWindowFactory::ChildOf(chart));
    Settle();
    MainFrameState().activeView = chart;
    frame->OnCommand(kCommandUnlink);
    Settle();
    CViewBase* alone = MainFrameState().activeView;
    ASSERT_NE(alone, nullptr);
    EXPECT_EQ(alone->kind, kViewDailyChart);
    EXPECT_NE(alone->list, group);
    EXPECT_EQ(alone->secondList, nullptr);
    int32_t left = 0;
    for (CViewBase* v = group->views; v; v = v->nextInList)
        ++left;
    EXPECT_EQ(left, 2) << "the list and the intraday graph stay linked";
    EXPECT_FALSE(requests->UnlinkActiveView()) << "an unlinked view cannot be unlinked";
}

TEST_F(RequestsOnShares, AFixedListShownAfterAnEmptyPortfolioShowsItsOwnRows)
{
    // The list window shows list 0, then the empty current portfolio takes over the same list, then
    // the "All shares" button and the graph key follow.
    Start(kViewList);
    frame->OnCommand(ShowListCommandId(0));
    Settle();
    ShareList* shown = MainFrameState().activeView->list;
    ASSERT_EQ(shown->word, 0);
    int32_t all = ShareListCount(shown);
    ASSERT_GE(all, 4);
    frame->OnCommand(kCommandCurrentPortfolioBar);
    Settle();
    ASSERT_EQ(ActiveKind(), kViewPortfolio);
    EXPECT_EQ(ShareListCount(MainFrameState().activeView->list), 0) << "the portfolio is empty";

    frame->OnCommand(ShowListCommandId(0));
    Settle();
    ASSERT_EQ(ActiveKind(), kViewList);
    ShareList* list = MainFrameState().activeView->list;
    EXPECT_EQ(list->source, nullptr);
    ASSERT_EQ(ShareListCount(list), all) << "the rows of list 0, not the portfolio's";
    uint32_t current = EntryRecordId(*CurrentEntry(list));

    frame->OnCommand(kCommandGraphCurrentBar);
    Settle();
    ASSERT_EQ(ActiveKind(), kViewDailyChart);
    const RecordCursor* share = CurrentEntry(MainFrameState().activeView->list);
    ASSERT_NE(share, nullptr);
    EXPECT_EQ(EntryRecordId(*share), current) << "the graph shows the list's current share";
}

TEST_F(RequestsOnShares, TheCurrentPortfolioShownFromAListKeepsTheListsShare)
{
    Start(kViewList);
    frame->OnCommand(ShowListCommandId(0));
    Settle();
    const uint16_t charlie = 0x4003;
    for (uint16_t id : {uint16_t(0x4001), charlie, uint16_t(0x4004)})
        AddPortfolioEntry(portfolio, FindRecordById(id, 0));
    ShareList* list = MainFrameState().activeView->list;
    SetShareListPosition(list, charlie, 0, false);
    ASSERT_EQ(EntryRecordId(*CurrentEntry(list)), charlie);
    frame->OnCommand(kCommandCurrentPortfolioBar);
    Settle();
    ASSERT_EQ(ActiveKind(), kViewPortfolio);
    ShareList* shown = MainFrameState().activeView->list;
    ASSERT_EQ(shown->source, &portfolio);
    ASSERT_NE(CurrentEntry(shown), nullptr);
    EXPECT_EQ(EntryRecordId(*CurrentEntry(shown)), charlie);
    factory->CloseAllWindows();
    ResetPortfolioEntries(portfolio);
}

TEST_F(RequestsOnShares, UseListOnAChartFollowingAnEmptyPortfolioGivesItTheListsRows)
{
    ViewClassFactory plain = RegisterViewClass(kViewDailyChart, [](int32_t kind) -> CViewBaseWnd* {
        return new CViewGraphEODWnd(kind);
    });
    Start(kViewList);
    frame->OnCommand(ShowListCommandId(0));
    Settle();
    const int32_t all = ShareListCount(MainFrameState().activeView->list);
    ASSERT_GE(all, 4);
    frame->OnCommand(kCommandCurrentPortfolioBar);
    Settle();
    frame->OnCommand(kCommandGraphCurrentBar);
    Settle();
    ASSERT_EQ(ActiveKind(), kViewDailyChart);
    ASSERT_EQ(ShareListCount(MainFrameState().activeView->list), 0) << "the chart follows the empty portfolio";

    frame->OnCommand(UseListCommandId(0));
    Settle();
    ASSERT_EQ(ActiveKind(), kViewDailyChart);
    // The chart fills a fixed list no list window fills as it lays itself out for painting.
    if (auto* chart = dynamic_cast<QWidget*>(MainFrameState().activeView))
        chart->repaint();
    ShareList* list = MainFrameState().activeView->list;
    EXPECT_EQ(list->source, nullptr);
    EXPECT_EQ(ShareListCount(list), all) << "the rows of list 0, not the portfolio's";
    // The chart took the current portfolio's list to list 0; the current portfolio stays.
    ASSERT_NE(CurrentShareList(), nullptr);
    EXPECT_NE(CurrentShareList(), list);
    EXPECT_EQ(CurrentShareList()->source, &portfolio);
    frame->OnCommand(kCommandCurrentPortfolioBar);
    Settle();
    ASSERT_EQ(ActiveKind(), kViewPortfolio);
    EXPECT_EQ(MainFrameState().activeView->list->source, &portfolio);
    factory->CloseAllWindows();
    QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    RegisterViewClass(kViewDailyChart, plain);
}

// "Share's Directors' Dealings" opens the current share's dealings in the same window, and "Return to
// previous screen" brings back the list at that share.
TEST_F(RequestsOnShares, AShareDealingsOpenInTheWindowAndReturnToTheRowTheyCameFrom)
{
    ViewRequestHooks& hooks = GetViewRequestHooks();
    const ViewRequestHooks saved = hooks;
    std::vector<uint16_t> limited;
    hooks.limitDealingsToShare = [&limited](CViewBase* view, uint16_t id) {
        limited.push_back(id);
        view->list->viewState2 = id ? 0x4F : 0x0F;
    };
    CViewBase* view = Start(kViewList);
    view->list->filledMark = 0; // the database's own rows, not the test's stand-ins
    view->OnRefresh();
    Settle();
    ASSERT_GE(ShareListCount(view->list), 3);
    view->list->current = 2;
    const uint16_t share = EntryRecordId(*CurrentEntry(view->list));
    CChildWindow* child = ActiveChild();
    EXPECT_TRUE(requests->UpdateCommand(kCommandSelectedDealings).enabled);
    EXPECT_FALSE(requests->UpdateCommand(kCommandSelectedDealings).checked);

    frame->OnCommand(kCommandSelectedDealings);
    Settle();
    EXPECT_EQ(ActiveKind(), kViewDealings);
    EXPECT_EQ(ActiveChild(), child);
    EXPECT_EQ(limited, std::vector<uint16_t>{share});
    EXPECT_EQ(MainFrameState().activeView->returnPoint.kind, kViewList);
    const CommandUiState back = requests->UpdateCommand(kCommandSelectedDealingsB);
    EXPECT_TRUE(back.enabled);
    EXPECT_TRUE(back.checked);

    frame->OnCommand(kCommandSelectedDealingsB);
    Settle();
    EXPECT_EQ(ActiveKind(), kViewList);
    EXPECT_EQ(ActiveChild(), child);
    ASSERT_NE(CurrentEntry(MainFrameState().activeView->list), nullptr);
    EXPECT_EQ(EntryRecordId(*CurrentEntry(MainFrameState().activeView->list)), share);
    EXPECT_EQ(limited.size(), 1u) << "returning asks nothing of the dealings";
    hooks = saved;
}
