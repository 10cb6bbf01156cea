// Tests of the window factory.
#include "shell/ui/WindowFactory.h"

#include "core/CashAccounts.h"
#include "core/ConfigRecords.h"
#include "core/ConfigState.h"
#include "core/Portfolio.h"
#include "core/ShareList.h"
#include "core/TableLock.h"
#include "core/WindowLayoutFile.h"
#include "devtools/lib/TempFolder.h"
#include "platform/FileOps.h"
#include "platform/MessageDispatch.h"
#include "platform/Paths.h"
#include "resources/MessageIds.h"
#include "shell/KeyRouting.h"
#include "shell/LayoutStateHooks.h"
#include "shell/LayoutSwitch.h"
#include "shell/WindowLinking.h"
#include "shell/ui/ChildWindow.h"
#include "shell/ui/MainFrame.h"
#include "support/FakeMessageBox.h"
#include "support/ui/FactoryFrame.h"
#include "support/ui/Render.h"
#include "views/FrameState.h"
#include "views/ViewKinds.h"
#include "views/ui/ViewBaseWindow.h"
#include "views/ui/ViewClassRegistry.h"

#include <QApplication>
#include <QKeyEvent>
#include <QMdiArea>
#include <gtest/gtest.h>
#include <algorithm>
#include <map>
#include <memory>
#include <set>
#include <tuple>

using namespace qv;

namespace {

using Placed = std::tuple<int32_t, int, int, int, int>; // kind, left, top, right, bottom

class Layouts : public test::FactoryFrame {
protected:
    Layouts() : FactoryFrame(1100, 800) {}

    std::multiset<Placed> Open() const
    {
        std::multiset<Placed> placed;
        for (CChildWindow* c : factory->Children()) {
            QRect g = c->geometry();
            placed.insert({c->kind(), g.left(), g.top(), g.right() + 1, g.bottom() + 1});
        }
        return placed;
    }
    std::multiset<Placed> Expected(int index) const
    {
        std::multiset<Placed> placed;
        for (const LayoutWindow& w : BuildDefaultLayout(index, factory->ClientArea())) {
            // A cash window with no cash account to show opens as a list.
            const int32_t kind = w.kind == kViewCash && !CashAccounts().head ? kViewList : w.kind;
            placed.insert({kind, w.left, w.top, w.right, w.bottom});
        }
        return placed;
    }
    CChildWindow* ActiveList() const
    {
        for (CChildWindow* c : factory->Children())
            if (c->kind() == kViewList)
                return c;
        return nullptr;
    }
    void Settle()
    {
        QApplication::processEvents();
        DeliverPostedMessages();
    }

};

} // namespace

TEST_F(Layouts, EachDefaultLayoutOpensWithItsKindsAndRectangles)
{
    factory->CreateLayoutWindows();
    Settle();
    EXPECT_EQ(Open(), Expected(0));
    EXPECT_EQ(MainFrameState().activeKind, kViewList) << "the record with the active byte";
    // The list and the two charts linked to it share the first group; numbers run 0, 1, 2.
    std::set<int32_t> numbers;
    for (ShareList* l = ShareListChain(); l; l = l->next)
        numbers.insert(l->number);
    EXPECT_EQ(numbers, (std::set<int32_t>{0, 1, 2}));
    CViewBase* list = MainFrameState().activeView;
    ASSERT_NE(list, nullptr);
    int followers = 0;
    for (CViewBase* v = list->list->views; v; v = v->nextInList)
        ++followers;
    EXPECT_EQ(followers, 3);

    for (int index : {1, 2, 3, 4}) {
        factory->SelectLayout(index);
        Settle();
        EXPECT_EQ(WindowLayouts().current, index);
        EXPECT_EQ(Open(), Expected(index)) << "layout " << index;
    }
}

TEST_F(Layouts, SwitchingCapturesTheWindowsAndComesBack)
{
    factory->CreateLayoutWindows();
    Settle();
    CChildWindow* moved = nullptr;
    for (CChildWindow* c : factory->Children())
        if (c->kind() == kViewDailyChart)
            moved = c;
    ASSERT_NE(moved, nullptr);
    moved->setGeometry(40, 50, 300, 200);
    factory->SelectLayout(1);
    Settle();
    EXPECT_EQ(factory->Children().size(), 9u);
    factory->SelectLayout(1);
    EXPECT_EQ(factory->Children().size(), 9u) << "selecting the current layout does nothing";

    std::vector<LayoutWindow> saved = LayoutSlotWindows(0);
    ASSERT_EQ(saved.size(), 5u);
    for (const LayoutWindow& w : saved)
        EXPECT_GE(std::max(w.ownGroup, w.linkGroup), 1000) << "saved numbers are 1000 above the live ones";

    factory->SelectLayout(0);
    Settle();
    std::multiset<Placed> placed = Open();
    EXPECT_EQ(placed.count(Placed{kViewDailyChart, 40, 50, 340, 250}), 1u);
    EXPECT_EQ(placed.size(), 5u);

    test::SaveRender(test::RenderWidget(*frame), QStringLiteral("layout-main"));
    factory->SelectLayout(2);
    Settle();
    test::SaveRender(test::RenderWidget(*frame), QStringLiteral("layout-one-share"));
}

// A trade list comes back in the mode it was left in (trades, quotes, or both).
TEST_F(Layouts, ATradeListKeepsItsModeAcrossASwitch)
{
    auto tradeList = [this]() -> CViewBase* {
        for (CChildWindow* c : factory->Children())
            if (c->kind() == kViewTradeList)
                return dynamic_cast<CViewBase*>(c->widget());
        return nullptr;
    };
    factory->SelectLayout(2);
    Settle();
    CViewBase* view = tradeList();
    ASSERT_TRUE(view && view->list);
    view->list->tradeMarket = 2;
    factory->SelectLayout(0);
    Settle();
    const std::vector<LayoutWindow> saved = LayoutSlotWindows(2);
    const auto stored = std::find_if(saved.begin(), saved.end(), [](const LayoutWindow& w) { return w.kind == kViewTradeList; });
    ASSERT_NE(stored, saved.end());
    EXPECT_EQ(stored->tradeListMode, 2);
    factory->SelectLayout(2);
    Settle();
    view = tradeList();
    ASSERT_TRUE(view && view->list);
    EXPECT_EQ(view->list->tradeMarket, 2);
}

TEST_F(Layouts, AMaximisedWindowOpensAloneAndItsCaptionRelaysTheLayout)
{
    std::vector<LayoutWindow> windows = BuildDefaultLayout(0, factory->ClientArea());
    windows[2].maximised = 1;
    SetLayoutSlotWindows(0, windows);
    factory->CreateLayoutWindows();
    Settle();
    ASSERT_EQ(factory->Children().size(), 1u);
    CChildWindow* only = factory->Children()[0];
    EXPECT_EQ(only->kind(), kViewDailyChart);
    EXPECT_TRUE(only->isMaximized());
    EXPECT_TRUE(only->createdMaximised());

    frame->OnCommand(kCommandRelayLayout);
    Settle();
    EXPECT_EQ(factory->Children().size(), 5u);
    for (const LayoutWindow& w : LayoutSlotWindows(0))
        EXPECT_EQ(w.maximised, 0);
}

// Un-maximised by its restore button rather than its caption, the window alone relays the layout
// too; and a capture never drops the windows open for a stale maximised record.
TEST_F(Layouts, AMaximisedWindowRestoredAnyWayRelaysAndTheCaptureKeepsEveryOpenWindow)
{
    std::vector<LayoutWindow> windows = BuildDefaultLayout(0, factory->ClientArea());
    windows[2].maximised = 1;
    SetLayoutSlotWindows(0, windows);
    factory->CreateLayoutWindows();
    Settle();
    ASSERT_EQ(factory->Children().size(), 1u);
    factory->Children()[0]->showNormal();
    Settle();
    EXPECT_EQ(factory->Children().size(), 5u);
    EXPECT_EQ(Open(), Expected(0));

    windows[2].maximised = 1;
    SetLayoutSlotWindows(0, windows);
    factory->SaveCurrentLayout();
    std::vector<LayoutWindow> captured = LayoutSlotWindows(0);
    EXPECT_EQ(captured.size(), 5u) << "every open window, not the stale maximised record alone";
    for (const LayoutWindow& w : captured)
        EXPECT_EQ(w.maximised, 0);
}

TEST_F(Layouts, ALayoutSwitchDispatchesNothingWhileTheTableIsLocked)
{
    factory->CreateLayoutWindows();
    Settle();
    int searches = 0;
    bool lockedDuringSearch = true;
    SetFindShareDialog([&](const std::string&, uint32_t, bool, ShareList*) -> std::optional<int32_t> {
        ++searches;
        lockedDuringSearch = IsTableLocked(&ShareListTableLock);
        return std::nullopt;
    });
    // A key press waits in the queue when the switch starts.
    QApplication::postEvent(frame->mdiArea()->viewport(),
                            new QKeyEvent(QEvent::KeyPress, Qt::Key_B, Qt::NoModifier, QStringLiteral("b")));
    factory->SelectLayout(1);
    EXPECT_EQ(searches, 1) << "the key is handled once the switch has ended";
    EXPECT_FALSE(lockedDuringSearch);
    EXPECT_FALSE(IsTableLocked(&ShareListTableLock));
    EXPECT_EQ(LayoutSwitchRunning, 0);
}

TEST_F(Layouts, RealTimeOffOpensIntradayRecordsAsDailyChartsAndTickersAsLists)
{
    Config().optionsA.data()[OptionBlockA::kRealTimeOption] = 0;
    LayoutWindow ticker;
    ticker.kind = kViewTicker;
    ticker.ownGroup = 1001;
    ticker.right = 300;
    ticker.bottom = 120;
    std::vector<LayoutWindow> windows = BuildDefaultLayout(1, factory->ClientArea());
    windows.resize(2);
    windows.push_back(ticker);
    SetLayoutSlotWindows(0, windows);
    factory->CreateLayoutWindows();
    Settle();
    std::multiset<int32_t> kinds;
    for (CChildWindow* c : factory->Children())
        kinds.insert(c->kind());
    EXPECT_EQ(kinds, (std::multiset<int32_t>{kViewDailyChart, kViewDailyChart, kViewList}));
}

namespace {

// A cash view stand-in: it keeps the account number a layout gives it and answers it back.
class CashStandIn : public CViewBaseWnd {
public:
    explicit CashStandIn(int32_t kind) : CViewBase(kind), CViewBaseWnd(kind) {}
    uint32_t account = 0xDEAD;
};

} // namespace

TEST_F(Layouts, ACashWindowKeepsItsAccountAndFallsBackToAListWithoutAccounts)
{
    const ViewClassFactory saved =
        RegisterViewClass(kViewCash, [](int32_t kind) -> CViewBaseWnd* { return new CashStandIn(kind); });
    const LayoutStateHooks savedHooks = GetLayoutStateHooks();
    GetLayoutStateHooks().saveCashAccount = [](const CViewBase& view) {
        return dynamic_cast<const CashStandIn&>(view).account;
    };
    GetLayoutStateHooks().applyCashAccount = [](CViewBase& view, uint32_t number) {
        dynamic_cast<CashStandIn&>(view).account = number;
    };
    LayoutWindow cash;
    cash.kind = kViewCash;
    cash.ownGroup = 1001;
    cash.linkGroup = -1;
    cash.right = 300;
    cash.bottom = 200;
    cash.cashAccount = 2;
    auto openCash = [&] {
        SetLayoutSlotWindows(0, {cash});
        factory->CreateLayoutWindows();
        Settle();
        CashStandIn* found = nullptr;
        for (CChildWindow* c : factory->Children())
            if (c->kind() == kViewCash)
                found = dynamic_cast<CashStandIn*>(c->widget());
        return found;
    };

    EXPECT_EQ(openCash(), nullptr) << "no cash account: the window shows a list";
    EXPECT_EQ(factory->Children().size(), 1u);
    factory->CloseAllWindows();
    Settle();

    NewCashAccount("First");
    NewCashAccount("Second");
    CashStandIn* view = openCash();
    ASSERT_NE(view, nullptr);
    EXPECT_EQ(view->account, 2u) << "the record's account reaches the view";
    view->account = 1;
    factory->SaveCurrentLayout();
    const std::vector<LayoutWindow> stored = LayoutSlotWindows(0);
    ASSERT_EQ(stored.size(), 1u);
    EXPECT_EQ(stored[0].cashAccount, 1u) << "the view's account is saved";
    factory->CloseAllWindows();
    Settle();
    FreeCashAccounts();
    GetLayoutStateHooks() = savedHooks;
    RegisterViewClass(kViewCash, saved);
}

namespace {

// A daily graph stand-in keeping the option word a layout gives it.
class ChartStandIn : public CViewBaseWnd {
public:
    explicit ChartStandIn(int32_t kind) : CViewBase(kind), CViewBaseWnd(kind) {}
    uint32_t option = 0xDEAD;
};

} // namespace

// A daily graph's option word goes from its record into the view and from the view back into the
// record; while set, the window cannot be linked to another.
TEST_F(Layouts, ADailyGraphKeepsItsOptionWordWhichBarsLinkingIt)
{
    const ViewClassFactory saved =
        RegisterViewClass(kViewDailyChart, [](int32_t kind) -> CViewBaseWnd* { return new ChartStandIn(kind); });
    const LayoutStateHooks savedHooks = GetLayoutStateHooks();
    GetLayoutStateHooks().chartOption = [](const CViewBase& view) {
        const auto* chart = dynamic_cast<const ChartStandIn*>(&view);
        return chart ? chart->option : 0u;
    };
    GetLayoutStateHooks().applyChartOption = [](CViewBase& view, uint32_t word) {
        dynamic_cast<ChartStandIn&>(view).option = word;
    };
    LayoutWindow chart;
    chart.kind = kViewDailyChart;
    chart.ownGroup = 1001;
    chart.linkGroup = -1;
    chart.right = 300;
    chart.bottom = 200;
    chart.chartOption = 0x08;
    LayoutWindow list = chart;
    list.kind = kViewList;
    list.ownGroup = 1002;
    list.left = 300;
    list.right = 600;
    SetLayoutSlotWindows(0, {chart, list});
    factory->CreateLayoutWindows();
    Settle();
    ChartStandIn* view = nullptr;
    for (CChildWindow* c : factory->Children())
        if (auto* found = dynamic_cast<ChartStandIn*>(c->widget()))
            view = found;
    ASSERT_NE(view, nullptr);
    EXPECT_EQ(view->option, 0x08u) << "the record's word reaches the view";
    EXPECT_FALSE(CanLinkWindow(view)) << "a graph with its option word set is not linked";
    view->option = 0;
    EXPECT_TRUE(CanLinkWindow(view)) << "the list window is there to link with";
    view->option = 0x04;
    factory->SaveCurrentLayout();
    bool savedChart = false;
    for (const LayoutWindow& w : LayoutSlotWindows(0)) {
        if (w.kind == kViewDailyChart) {
            savedChart = true;
            EXPECT_EQ(w.chartOption, 0x04u) << "the view's word is saved";
        }
    }
    EXPECT_TRUE(savedChart);
    factory->CloseAllWindows();
    Settle();
    GetLayoutStateHooks() = savedHooks;
    RegisterViewClass(kViewDailyChart, saved);
}

TEST_F(Layouts, TickersKeepTheirHeightAndIdsAreNeverShared)
{
    Config().optionsA.data()[OptionBlockA::kRealTimeOption] = 1;
    LayoutWindow ticker;
    ticker.kind = kViewTicker;
    ticker.ownGroup = 1001;
    ticker.right = 300;
    ticker.bottom = 120;
    SetLayoutSlotWindows(0, {ticker});
    factory->CreateLayoutWindows();
    Settle();
    ASSERT_EQ(factory->Children().size(), 1u);
    CChildWindow* child = factory->Children()[0];
    EXPECT_EQ(child->fixedHeight(), 120);
    child->resize(400, 300);
    EXPECT_EQ(child->height(), 120);
    CViewBase* view = dynamic_cast<CViewBase*>(child->widget());
    ASSERT_NE(view, nullptr);
    EXPECT_EQ(view->list->family, kFamilyTicker);
    EXPECT_EQ(view->list->number, -1) << "a ticker joins no group";

    std::set<uint32_t> ids{child->id()};
    factory->SelectLayout(1);
    factory->SelectLayout(0);
    Settle();
    for (CChildWindow* c : factory->Children())
        EXPECT_TRUE(ids.insert(c->id()).second) << "ids of closed windows are not given again";
    auto* plain = new CChildWindow;
    plain->Create(frame->mdiArea(), QRect(0, 0, 20, 20), kViewList, false, true);
    EXPECT_GE(plain->width(), CChildWindow::kMinTrackWidth);
    EXPECT_GE(plain->height(), CChildWindow::kMinTrackHeight);
    plain->close();
}

TEST_F(Layouts, ResetAsksThenRebuildsTheDefaults)
{
    test::FakeMessageBox boxes;
    factory->CreateLayoutWindows();
    WindowLayouts().layouts[0].name = "Mine";
    boxes.queue(MsgAnswer::No);
    frame->OnCommand(kCommandResetLayouts);
    EXPECT_EQ(WindowLayouts().layouts[0].name, "Mine");
    EXPECT_EQ(boxes.texts().back(), "Are you sure you want to reset all your windows and layouts?");
    EXPECT_EQ(boxes.shown().back().defaultButton, 1) << "No is the default";
    boxes.queue(MsgAnswer::Yes);
    frame->OnCommand(kCommandResetLayouts);
    Settle();
    EXPECT_EQ(WindowLayouts().layouts[0].name, "Main layout");
    EXPECT_EQ(WindowLayouts().layouts[4].name, "Data Mining");
    EXPECT_EQ(WindowLayouts().layouts[5].name, "Layout 6");
    EXPECT_EQ(WindowLayouts().layouts[11].name, "Layout 12");
    EXPECT_EQ(WindowLayouts().current, 0);
    EXPECT_EQ(Open(), Expected(0));
}

TEST_F(Layouts, SavingTheLayoutsTakesTheWindowsAsTheyAreEvenBehindAHiddenFrame)
{
    dev::TempFolder dir;
    std::filesystem::path previous = ProgramFolder();
    SetProgramFolder(dir.path());
    factory->CreateLayoutWindows();
    Settle();
    for (CChildWindow* c : factory->Children())
        if (c->kind() == kViewIntradayChart && c->geometry().top() > 100)
            c->setGeometry(10, 20, 200, 150);
    frame->hide(); // as at exit, after the main window has closed
    ASSERT_TRUE(SaveViews(-1));
    WindowLayouts() = WindowLayoutSet{};
    LoadViews(-1, LayoutContextFromConfig(0));
    std::vector<LayoutWindow> loaded = LayoutSlotWindows(0);
    EXPECT_EQ(loaded.size(), 5u);
    bool found = false;
    for (const LayoutWindow& w : loaded)
        found |= w.kind == kViewIntradayChart && w.left == 10 && w.top == 20 && w.right == 210 && w.bottom == 170;
    EXPECT_TRUE(found);
    SetProgramFolder(previous);
}

// On a first start the single-window layout is made from the options, with no rectangle; laid out,
// it takes the area, so the next start keeps it rather than dropping it for the default.
TEST_F(Layouts, TheFirstStartsSingleWindowRecordSurvivesTheNextStart)
{
    dev::TempFolder dir;
    std::filesystem::path previous = ProgramFolder();
    SetProgramFolder(dir.path());
    WindowLayouts() = WindowLayoutSet{};
    LoadViews(-1, LayoutContextFromConfig(0));
    ASSERT_EQ(WindowLayouts().layouts[kSingleWindowLayout].windows.size(), 1u);
    const LayoutWindow fromOptions = LayoutSlotWindows(kSingleWindowLayout).front();
    ASSERT_LE(fromOptions.right, 0);
    factory->CreateLayoutWindows();
    Settle();
    ASSERT_TRUE(SaveViews(-1));
    const auto firstExit = ReadFileBytes(AppPath("View.cfg"));

    WindowLayouts() = WindowLayoutSet{};
    LoadViews(-1, LayoutContextFromConfig(0));
    ASSERT_EQ(LayoutSlotWindows(kSingleWindowLayout).size(), 1u);
    const LayoutWindow kept = LayoutSlotWindows(kSingleWindowLayout).front();
    EXPECT_EQ(kept.kind, fromOptions.kind);
    const AreaRect area = factory->ClientArea();
    EXPECT_EQ(std::tuple(kept.left, kept.top, kept.right, kept.bottom), std::tuple(area.left, area.top, area.right, area.bottom));
    factory->CloseAllWindows();
    factory->CreateLayoutWindows();
    Settle();
    ASSERT_TRUE(SaveViews(-1));
    EXPECT_EQ(ReadFileBytes(AppPath("View.cfg")), firstExit) << "the second exit writes what the first did";
    SetProgramFolder(previous);
}

TEST_F(Layouts, TheStartUpLayoutTakesTheAreaTheFrameShowsWith)
{
    // At start-up the layout is made before the frame is first shown.
    frame->hide();
    frame->resize(640, 480);
    const AreaRect area = factory->ClientArea();
    EXPECT_EQ(frame->size(), QSize(640, 480));
    frame->show();
    Settle();
    const QRect shown = frame->mdiArea()->viewport()->rect();
    EXPECT_EQ(area.left, 0);
    EXPECT_EQ(area.top, 0);
    EXPECT_EQ(area.right, shown.width());
    EXPECT_EQ(area.bottom, shown.height());
}

TEST_F(Layouts, WithoutMultipleWindowsOneBareWindowCoversTheArea)
{
    Config().optionsA.data()[OptionBlockA::kMultipleWindows] = 0;
    WindowLayouts().current = 2;
    factory->CreateLayoutWindows();
    Settle();
    EXPECT_EQ(WindowLayouts().current, kSingleWindowLayout);
    ASSERT_EQ(factory->Children().size(), 1u);
    CChildWindow* only = factory->Children()[0];
    EXPECT_EQ(only->kind(), kViewDailyChart);
    EXPECT_EQ(only->geometry(), frame->mdiArea()->viewport()->rect().adjusted(-2, -2, 2, 2))
        << "its edges lie outside the visible area";
    EXPECT_TRUE(only->windowFlags() & Qt::FramelessWindowHint);
    frame->resize(frame->size() + QSize(120, 80));
    Settle();
    EXPECT_EQ(only->geometry(), frame->mdiArea()->viewport()->rect().adjusted(-2, -2, 2, 2))
        << "it follows the area when the main window grows";
    factory->SelectLayout(-1);
    EXPECT_EQ(WindowLayouts().current, kSingleWindowLayout) << "-1 re-lays the single-window layout";
    EXPECT_EQ(factory->Children().size(), 1u);
}

TEST_F(Layouts, ACaptionDoubleClickSavesTheLayoutsAndMaximises)
{
    dev::TempFolder dir;
    std::filesystem::path previous = ProgramFolder();
    SetProgramFolder(dir.path());
    factory->CreateLayoutWindows();
    Settle();
    CChildWindow* list = ActiveList();
    ASSERT_NE(list, nullptr);
    list->CaptionDoubleClicked();
    Settle();
    EXPECT_TRUE(list->isMaximized());
    EXPECT_TRUE(std::filesystem::exists(dir.path() / "View.cfg")) << "command 26951 saved every layout";
    list->CaptionDoubleClicked();
    EXPECT_FALSE(list->isMaximized()) << "not created maximised: it is restored";
    EXPECT_EQ(factory->Children().size(), 5u);
    SetProgramFolder(previous);
}

namespace {

int focusedViews = 0;

class CountingView : public CViewBaseWnd {
public:
    using CViewBaseWnd::CViewBaseWnd;
    void OnSetFocus() override
    {
        ++focusedViews;
        CViewBaseWnd::OnSetFocus();
    }
};

} // namespace

TEST_F(Layouts, NoViewTakesTheFocusWhileTheClosedFramesWindowsGo)
{
    // The program's exit lets go of the lists and share data before the frame goes: a view activated
    // as the windows before it are deleted would read them.
    std::map<int32_t, ViewClassFactory> saved;
    for (const LayoutWindow& w : BuildDefaultLayout(0, factory->ClientArea()))
        if (!saved.count(w.kind))
            saved[w.kind] = RegisterViewClass(w.kind, [](int32_t kind) -> CViewBaseWnd* { return new CountingView(kind); });
    factory->CreateLayoutWindows();
    Settle();
    for (const auto& [kind, made] : saved)
        RegisterViewClass(kind, made);
    ASSERT_GT(focusedViews, 0) << "the layout's views are counting ones";
    ASSERT_TRUE(frame->close());
    Settle();
    focusedViews = 0;
    factory.reset();
    frame.reset();
    EXPECT_EQ(focusedViews, 0);
}

// A one-share window whose list a data-mining filter provides runs that filter into its own list
// when it is made; other windows and other providers do not.
TEST_F(Layouts, ARestoredOneShareWindowOfADataMiningFilterRunsTheFilter)
{
    std::vector<std::pair<int32_t, uint32_t>> runs; // the list's family and the filter's position
    RestoredFilterRun installed =
        SetRestoredFilterRun([&](ShareList* list, uint32_t position) { runs.push_back({list->family, position}); });
    const struct {
        int32_t kind, provider;
        bool runs;
    } cases[] = {{kViewDailyChart, kViewDataMining, true},
                 {kViewDailyChart, kViewList, false},
                 {kViewList, kViewDataMining, false}};
    for (const auto& c : cases) {
        LayoutWindow w;
        w.kind = c.kind;
        w.providerKind = c.provider;
        w.filterIndex = 3;
        w.ownGroup = 1001;
        w.right = 400;
        w.bottom = 300;
        SetLayoutSlotWindows(0, {w});
        runs.clear();
        factory->CreateLayoutWindows();
        Settle();
        EXPECT_EQ(runs.size(), c.runs ? 1u : 0u) << c.kind << " " << c.provider;
        if (!runs.empty()) {
            EXPECT_EQ(runs.front().second, 3u);
        }
        factory->CloseAllWindows();
        Settle();
    }
    SetRestoredFilterRun(std::move(installed));
}

// The start-up lays the default layout out before the frame shows; the area the frame then has
// (its bars, the window manager's placing) is the one the layout fills, until the user takes the
// windows over.
TEST_F(Layouts, ADefaultLayoutMadeBeforeTheFrameShowsFillsTheAreaItShowsWith)
{
    frame->hide();
    factory->CreateLayoutWindows();
    frame->resize(1300, 950);
    frame->show();
    Settle();
    const AreaRect shown = factory->ClientArea();
    EXPECT_GT(shown.right, 1100);
    EXPECT_EQ(Open(), Expected(0));

    // A window the user moved keeps its place, and so do the others, when the frame changes again.
    CChildWindow* moved = ActiveList();
    ASSERT_NE(moved, nullptr);
    moved->setGeometry(10, 20, 300, 200);
    std::multiset<Placed> before = Open();
    frame->resize(1000, 700);
    Settle();
    EXPECT_EQ(Open(), before);
}
