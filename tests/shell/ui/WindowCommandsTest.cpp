// Tests of the frame's window commands and its own messages on a real frame offscreen: new windows,
// arranging, linking, closing and maximising windows, the feed panes and the window menu.
#include "shell/ui/WindowCommands.h"

#include "core/ConfigRecords.h"
#include "core/ConfigState.h"
#include "core/ShareList.h"
#include "platform/MessageDispatch.h"
#include "resources/MessageIds.h"
#include "shell/FeedLevelPane.h"
#include "shell/FrameMessages.h"
#include "shell/WindowArrangement.h"
#include "shell/ui/ChildWindow.h"
#include "shell/ui/LinkWindowDlg.h"
#include "shell/ui/LinkWindowsDlg.h"
#include "shell/ui/MainFrame.h"
#include "shell/ui/SoftMenuQt.h"
#include "shell/ui/StatusBarEx.h"
#include "shell/ui/ViewRequests.h"
#include "shell/ui/WindowArranger.h"
#include "shell/ui/WindowFactory.h"
#include "support/ui/FactoryFrame.h"
#include "support/ui/Render.h"
#include "views/FrameState.h"
#include "views/ViewKinds.h"
#include "views/ui/ViewBaseWindow.h"

#include <QApplication>
#include <QLabel>
#include <QListWidget>
#include <QMdiArea>
#include <QMenu>
#include <QPushButton>
#include <QTest>
#include <gtest/gtest.h>
#include <memory>

using namespace qv;

namespace {

class WindowCommands : public test::FactoryFrame {
protected:
    WindowCommands() : FactoryFrame(1000, 760)
    {
        requests = std::make_unique<CViewRequests>(*frame, *factory);
        commands = std::make_unique<CWindowCommands>(*frame, *factory, *requests);
        commands->SetLinkChooser([this](const LinkDialogTexts&, bool) {
            ++linkDialogs;
            return linkChoice;
        });
    }
    ~WindowCommands() override
    {
        commands.reset();
        requests.reset();
        CurrentFeedLevels() = FeedLevels{};
        MainFrameSize() = FrameSizeState{};
    }

    // One list window over the left half of the area, active.
    CViewBase* Start()
    {
        factory->CloseAllWindows();
        Settle();
        std::vector<LayoutWindow> windows = BuildDefaultLayout(0, factory->ClientArea());
        windows.resize(1);
        windows[0].kind = kViewList;
        AreaRect area = factory->ClientArea();
        windows[0].left = windows[0].top = 0;
        windows[0].right = (area.right - area.left) / 2;
        windows[0].bottom = area.bottom - area.top;
        SetLayoutSlotWindows(0, windows);
        factory->CreateLayoutWindows();
        Settle();
        return MainFrameState().activeView;
    }
    void Settle()
    {
        QApplication::processEvents();
        DeliverPostedMessages();
        QApplication::processEvents();
    }
    void Activate(CViewBase* view)
    {
        MainFrameState().activeView = view;
        MainFrameState().activeKind = view->kind;
        frame->mdiArea()->setActiveSubWindow(CWindowFactory::ChildOf(view));
        MainFrameState().activeView = view;
    }
    // Runs the command as the menus do, once its rule enables it.
    bool Run(uint32_t command)
    {
        if (!QueryCommandUi(command).enabled)
            return false;
        frame->OnCommand(command);
        Settle();
        return true;
    }
    CViewBase* Active() const { return MainFrameState().activeView; }
    size_t Windows() const { return factory->Children().size(); }
    // An unlinked window of the kind, opened beside the active one.
    CViewBase* OpenAlone(uint32_t command)
    {
        Run(command);
        CViewBase* view = Active();
        requests->UnlinkActiveView();
        Settle();
        return Active() ? Active() : view;
    }

    std::unique_ptr<CViewRequests> requests;
    std::unique_ptr<CWindowCommands> commands;
    int linkDialogs = 0;
    int linkChoice = CLinkWindowsDlg::kChoiceBreakLink;
};

} // namespace

TEST_F(WindowCommands, NewWindowCommandsOpenTheirKindInTheFreeSpace)
{
    const struct {
        uint32_t command;
        int32_t kind;
    } cases[] = {{26832, kViewList},    {26833, kViewList},     {26834, kViewDailyChart}, {26836, kViewIntradayChart},
                 {26880, kViewDataMining}, {26838, kViewNews},  {26842, kViewPortfolio},  {26837, kViewDetails},
                 {26840, kViewTicker},  {26835, kViewTradeList}, {26841, kViewDealings}};
    for (const auto& c : cases) {
        Start();
        QRect first = factory->Children().front()->geometry();
        ASSERT_TRUE(Run(c.command)) << c.command;
        ASSERT_EQ(Windows(), 2u) << c.command;
        EXPECT_EQ(Active()->kind, c.kind) << c.command;
        CChildWindow* added = factory->Children().front();
        EXPECT_EQ(added->kind(), c.kind);
        if (c.kind != kViewTicker) {
            // The right half was the free space.
            EXPECT_EQ(added->geometry().left(), first.right() + 1) << c.command;
            EXPECT_FALSE(added->geometry().intersects(first)) << c.command;
        }
    }
    // Without a cash account the cash window asks to make one first.
    Start();
    ASSERT_TRUE(Run(26844));
    EXPECT_EQ(Windows(), 1u);
    EXPECT_TRUE(frame->commands().contains(kCommandCreateCashAccount));
}

TEST_F(WindowCommands, ANewWindowFromAChartGoesBelowIt)
{
    Start();
    requests->ShowViewKind(kViewDailyChart, 1, 0);
    Settle();
    CChildWindow* chart = factory->Children().front();
    chart->setGeometry(0, 0, 600, 300);
    requests->ShowViewKind(kViewDetails, 1, kRequestNewWindow);
    Settle();
    ASSERT_EQ(Windows(), 2u);
    EXPECT_EQ(factory->Children().front()->geometry().top(), 300);
    EXPECT_EQ(chart->geometry(), QRect(0, 0, 600, 300));
}

// A new window of a list or a portfolio shows what it was asked for in a group of its own: the
// window it was opened from, and the chart following that window, go on showing the FTSE 100 and
// their captions go on naming it, whichever of the two was active.
TEST_F(WindowCommands, ANewListOrPortfolioWindowLeavesTheActiveGroupShowingItsList)
{
    constexpr int32_t kFtse100 = 4;
    requests->SetPortfolioChooser([this] { return &portfolio; });
    // The caption less the program's name before it.
    auto caption = [](CViewBase* view) {
        const std::string title = dynamic_cast<CViewBaseWnd*>(view)->Title().toStdString();
        const size_t dash = title.find(" - ");
        return dash == std::string::npos ? title : title.substr(dash + 3);
    };
    const struct {
        uint32_t command;
        const char* caption;
    } cases[] = {{26833, "List: Shares"}, {26842, "Portfolio: Portfolio 1"}, {26845, "Portfolio: Portfolio 1"}};
    for (const auto& c : cases) {
        for (bool fromChart : {false, true}) {
            Start();
            requests->ShowViewKind(kViewList, kFtse100, 0);
            Settle();
            CViewBase* list = Active();
            requests->ShowViewKind(kViewDailyChart, kFtse100, kRequestNewWindow);
            Settle();
            CViewBase* chart = Active();
            ASSERT_TRUE(list && chart && list != chart);
            ASSERT_EQ(list->list->word, kFtse100);
            ShareList* group = ViewGroupOf(list);
            ASSERT_EQ(ViewGroupOf(chart), group) << "the chart follows the list";
            Activate(fromChart ? chart : list);
            ASSERT_TRUE(Run(c.command)) << c.command;
            ASSERT_EQ(Windows(), 3u) << c.command;
            CViewBase* added = Active();
            ASSERT_TRUE(added && added != list && added != chart) << c.command;
            EXPECT_NE(ViewGroupOf(added), group) << c.command << " from the chart " << fromChart;
            EXPECT_EQ(caption(added), c.caption) << c.command;
            EXPECT_EQ(GroupViewCount(group), 2) << c.command;
            EXPECT_EQ(group->word, kFtse100) << c.command;
            EXPECT_EQ(group->source, nullptr) << c.command;
            for (CViewBase* kept : {list, chart})
                EXPECT_EQ(caption(kept), "List: FTSE 100")
                    << c.command << " from the chart " << fromChart << ", window of kind " << kept->kind;
        }
    }
}

TEST_F(WindowCommands, ArrangeCommandsMoveTheWindows)
{
    EXPECT_FALSE(QueryCommandUi(26974).enabled) << "no active view";
    Start();
    Run(26834);
    Run(26838);
    Run(26880);
    ASSERT_EQ(Windows(), 4u);
    factory->Children()[0]->setGeometry(40, 500, 200, 120);
    const struct {
        uint32_t command;
        const char* render;
    } cases[] = {{26975, "arrange-cascade"}, {26977, "arrange-rows"}, {26976, "arrange-columns"}, {26974, "arrange-fill"}};
    ScreenRect area = ClientAreaRect(*factory);
    for (const auto& c : cases) {
        ASSERT_TRUE(Run(c.command)) << c.command;
        WindowChain chain = ChildWindowChain(*factory);
        WindowChain expected = chain;
        ArrangeWindows(c.command, expected, area);
        for (const ArrangedWindow& w : chain)
            EXPECT_TRUE(w.rect.right <= area.right && w.rect.bottom <= area.bottom) << c.command;
        // Arranging what is arranged changes nothing.
        for (const ArrangedWindow& w : chain)
            for (const ArrangedWindow& e : expected)
                if (e.tag == w.tag) {
                    EXPECT_TRUE(e.rect == w.rect) << c.command << " window " << w.tag;
                }
        if (test::FontsAvailable())
            test::SaveRender(test::RenderWidget(*frame), QString::fromLatin1(c.render));
    }
    // Filling leaves no gaps and no overlaps.
    int64_t covered = 0;
    for (const ArrangedWindow& w : ChildWindowChain(*factory))
        covered += w.rect.area();
    EXPECT_EQ(covered, area.area());
}

TEST_F(WindowCommands, LinkingMovesAWindowOrItsWholeGroup)
{
    CViewBase* a = Start();
    CViewBase* b = OpenAlone(26834);
    ASSERT_NE(ViewGroupOf(a), ViewGroupOf(b));
    Activate(a);
    ASSERT_TRUE(QueryCommandUi(kCommandLinkWindow).enabled);
    EXPECT_FALSE(QueryCommandUi(kCommandUnlinkWindow).enabled);

    // Alone in its group: no question, the window moves.
    ShareList* target = ViewGroupOf(b);
    commands->SetTargetChooser([&] { return target; });
    ASSERT_TRUE(Run(kCommandLinkWindow));
    EXPECT_EQ(linkDialogs, 0);
    EXPECT_EQ(GroupViewCount(target), 2);
    EXPECT_EQ(ViewGroupOf(Active()), target);
    EXPECT_TRUE(QueryCommandUi(kCommandUnlinkWindow).enabled);

    // A third window (a share's details, which follow the group) joins the group; then the group of
    // three moves together to a fourth window.
    Activate(b);
    Run(26837);
    ASSERT_EQ(GroupViewCount(target), 3);
    CViewBase* d = OpenAlone(26837);
    ShareList* lone = ViewGroupOf(d);
    ASSERT_EQ(GroupViewCount(lone), 1);
    Activate(b);
    target = lone;
    linkChoice = CLinkWindowsDlg::kChoiceLinkTogether;
    ASSERT_TRUE(Run(kCommandLinkWindow));
    EXPECT_EQ(linkDialogs, 1);
    EXPECT_NE(commands->lastLinkTexts().situation.find("and 1 other window.\n"), std::string::npos);
    int32_t together = 0;
    for (CChildWindow* child : factory->Children())
        together += ViewGroupOf(dynamic_cast<CViewBase*>(child->widget())) == ViewGroupOf(d);
    EXPECT_EQ(together, 4);

    // Cancel changes nothing.
    linkChoice = CLinkWindowsDlg::kChoiceNone;
    CViewBase* e = OpenAlone(26842);
    target = ViewGroupOf(e);
    Activate(d);
    Run(kCommandLinkWindow);
    EXPECT_EQ(GroupViewCount(target), 1);
}

TEST_F(WindowCommands, ALoneDealingsWindowJoinsTheActiveGroup)
{
    CViewBase* list = Start();
    Run(26841);
    CViewBase* dealings = Active();
    ASSERT_EQ(dealings->kind, kViewDealings);
    Activate(list);
    ShareList* source = ViewGroupOf(list);
    ShareList* target = ViewGroupOf(dealings);
    ASSERT_NE(source, target);
    commands->SetTargetChooser([&] { return target; });
    commands->OnLinkWindow();
    Settle();
    EXPECT_EQ(ViewGroupOf(dealings), source);
    EXPECT_EQ(Active(), list);
}

TEST_F(WindowCommands, CloseMaximiseAndCloseAll)
{
    Start();
    Run(26834);
    ASSERT_EQ(Windows(), 2u);
    CChildWindow* child = CWindowFactory::ChildOf(Active());
    ASSERT_TRUE(Run(kCommandMaximiseWindow));
    EXPECT_TRUE(child->isMaximized());
    QMenu* menu = commands->BuildWindowMenu();
    ASSERT_NE(menu, nullptr);
    EXPECT_EQ(menu->actions().at(menu->actions().size() - 4)->text(), QStringLiteral("Restore window"));
    delete menu;
    ASSERT_TRUE(Run(kCommandMaximiseWindow));
    EXPECT_FALSE(child->isMaximized());
    ASSERT_TRUE(Run(kCommandCloseWindow));
    EXPECT_EQ(Windows(), 1u);
    ASSERT_TRUE(Run(kCommandCloseAllWindows));
    EXPECT_EQ(Windows(), 0u);
    EXPECT_FALSE(QueryCommandUi(kCommandCloseWindow).enabled);
}

TEST_F(WindowCommands, ATickersWindowMenuLacksItsFirstTwoItems)
{
    Start();
    QMenu* list = commands->BuildWindowMenu();
    Run(26840);
    ASSERT_EQ(Active()->kind, kViewTicker);
    QMenu* ticker = commands->BuildWindowMenu();
    ASSERT_TRUE(list && ticker);
    EXPECT_EQ(ticker->actions().size(), list->actions().size() - 2);
    EXPECT_EQ(ticker->actions().front()->text(), list->actions().at(2)->text());
    EXPECT_FALSE(QueryCommandUi(kCommandMaximiseWindow).enabled);
    if (test::FontsAvailable()) {
        UpdateMenuCommands(*list);
        test::SaveRender(test::RenderWidget(*list), QStringLiteral("window-menu"));
    }
    delete list;
    delete ticker;
}

TEST_F(WindowCommands, FrameMessages)
{
    CViewBase* view = Start();
    CStatusBarEx* bar = frame->statusBarEx();
    ASSERT_EQ(bar->PaneCount(), 7);
    CurrentFeedLevels().connectionState = 7;
    SendProgramMessage(*frame, MSG_FEED_STATUS, 1, 42);
    EXPECT_EQ(bar->PaneText(kFeedStatusPane), QStringLiteral("Connected NYSE 42%"));
    SendProgramMessage(*frame, MSG_FEED_STATUS, 99, 43);
    EXPECT_EQ(bar->PaneText(kFeedStatusPane), QStringLiteral("Connected  43%"));
    SendProgramMessage(*frame, MSG_FEED_ICON, 12, 0);
    EXPECT_FALSE(qobject_cast<QLabel*>(bar->Pane(kFeedIconPane))->pixmap().isNull());
    if (test::FontsAvailable())
        test::SaveRender(test::RenderWidget(*bar), QStringLiteral("status-bar-feed-panes"));
    EXPECT_EQ(SendProgramMessage(*frame, WM_USER + 89), intptr_t(view->targetId()));

    // Closing a window by its id twice leaves the chain as the first time left it.
    Run(26834);
    uint32_t id = CWindowFactory::ChildOf(Active())->id();
    SendProgramMessage(*frame, MSG_CHILD_WINDOW_CLOSED, 0, intptr_t(id));
    size_t after = Windows();
    SendProgramMessage(*frame, MSG_CHILD_WINDOW_CLOSED, 0, intptr_t(id));
    EXPECT_EQ(Windows(), after);

    // With the real-time option off the feed messages are ignored.
    Config().optionsA.data()[OptionBlockA::kRealTimeOption] = 0;
    SendProgramMessage(*frame, MSG_FEED_STATUS, 2, 44);
    EXPECT_EQ(bar->PaneText(kFeedStatusPane), QStringLiteral("Connected  43%"));
    Config().optionsA.data()[OptionBlockA::kRealTimeOption] = 1;

    // Waiting for the frame to be active answers at once when no time is given.
    EXPECT_EQ(commands->WaitUntilActive(0), frame->isActiveWindow() ? 0 : -1);

    // 0x453 asks for the incoming message command.
    SendProgramMessage(*frame, MSG_INCOMING_MESSAGE);
    Settle();
    EXPECT_TRUE(frame->commands().contains(kCommandIncomingMessage));
}

TEST_F(WindowCommands, StatusPaneDoubleClicks)
{
    Start();
    CStatusBarEx* bar = frame->statusBarEx();
    CurrentFeedLevels().connectionState = 0;
    QTest::mouseDClick(bar->Pane(kFeedStatusPane), Qt::LeftButton);
    Settle();
    EXPECT_FALSE(frame->commands().contains(26894)) << "disconnected: nothing";
    CurrentFeedLevels().connectionState = 7;
    QTest::mouseDClick(bar->Pane(kFeedStatusPane), Qt::LeftButton);
    QTest::mouseDClick(bar->Pane(kFeedLevelPane), Qt::LeftButton);
    Settle();
    EXPECT_TRUE(frame->commands().contains(26894));
    EXPECT_TRUE(frame->commands().contains(27061));
    // A double-click elsewhere in the frame asks for nothing.
    int before = int(frame->commands().size());
    QTest::mouseDClick(frame->mdiArea()->viewport(), Qt::LeftButton);
    Settle();
    EXPECT_EQ(int(frame->commands().size()), before);
}

TEST_F(WindowCommands, LinkDialogsRender)
{
    LinkDialogTexts texts = MakeLinkDialogTexts("\"List: All\"", "\"Graph\"", "\"Details\"", 3, 1, false);
    CLinkWindowsDlg dialog(texts, false, frame.get());
    EXPECT_TRUE(dialog.togetherButton()->isEnabled());
    CLinkWindowsDlg conflict(texts, true, frame.get());
    EXPECT_FALSE(conflict.togetherButton()->isEnabled());
    QTest::mouseClick(dialog.breakButton(), Qt::LeftButton);
    EXPECT_EQ(dialog.choice(), CLinkWindowsDlg::kChoiceBreakLink);

    CViewBase* a = Start();
    OpenAlone(26834);
    Activate(a);
    CLinkWindowDlg chooser(a, [](const CViewBase* v) { return std::string("Quorvantis - ") + ViewKindClassName(v->kind); },
                           frame.get());
    ASSERT_EQ(chooser.list()->count(), 1);
    chooser.accept();
    EXPECT_EQ(chooser.result(), QDialog::Rejected) << "OK without a line keeps the dialog open";
    chooser.list()->setCurrentRow(0);
    chooser.accept();
    const std::vector<LinkCandidate> candidates =
        LinkWindowCandidates(a, [](const CViewBase* v) { return std::string("Quorvantis - ") + ViewKindClassName(v->kind); });
    ASSERT_EQ(candidates.size(), 1u);
    EXPECT_EQ(chooser.chosen(), candidates[0].list);
    if (!test::FontsAvailable())
        GTEST_SKIP() << "no fonts";
    test::SaveRender(test::RenderWidget(dialog), QStringLiteral("link-windows-dialog"));
    test::SaveRender(test::RenderWidget(chooser), QStringLiteral("link-window-chooser"));
}
