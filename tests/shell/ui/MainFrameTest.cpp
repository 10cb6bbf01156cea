// Tests of the main frame.
#include "shell/ui/MainFrame.h"

#include "chartmodel/ui/GraphViewWindow.h"

#include "core/ConfigState.h"
#include "core/Portfolio.h"
#include "core/ShareList.h"
#include "core/WindowLayouts.h"
#include "devtools/lib/ShareListChain.h"
#include "platform/ByteOrder.h"
#include "platform/MessageDispatch.h"
#include "resources/MessageIds.h"
#include "shell/KeyRouting.h"
#include "shell/KeyTable.h"
#include "shell/StatusPaneTexts.h"
#include "shell/TimerCallbacks.h"
#include "shell/ViewGroups.h"
#include "shell/ui/ContextHelpMode.h"
#include "shell/ui/MenuGuard.h"
#include "shell/ui/MenuWalk.h"
#include "shell/ui/ModalDialog.h"
#include "shell/ui/StatusBarEx.h"
#include "support/ui/Render.h"
#include "views/CommandUpdate.h"
#include "views/FrameState.h"
#include "views/ViewKinds.h"
#include "views/ui/ViewBaseWindow.h"

#include <QApplication>
#include <QDialog>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMenuBar>
#include <QMouseEvent>
#include <QKeyEvent>
#include <QPointer>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>
#include <algorithm>
#include <memory>
#include <vector>

using namespace qv;

namespace {

// Share records with an id at byte 2.
class Shares {
public:
    uint8_t* make(uint16_t id)
    {
        auto& r = store_.emplace_back(std::make_unique<uint8_t[]>(24));
        std::fill_n(r.get(), 24, uint8_t(0));
        StoreU16(&r[0], 24);
        StoreU16(&r[2], id);
        return r.get();
    }

private:
    std::vector<std::unique_ptr<uint8_t[]>> store_;
};

class Frame : public ::testing::Test {
protected:
    Frame()
    {
        KeyTable().clear();
        AddDefaultAccelerators(KeyTable(), true);
        MainWindowCreated = 1;
        frame = std::make_unique<CMainFrame>();
        frame->show();
        a = MakeList(0x4001);
        b = MakeList(0x4101);
    }
    ~Frame() override
    {
        frame.reset();
        DeliverPostedMessages();
        KeyTable().clear();
        SetFindShareDialog(nullptr);
        MainWindowCreated = 0;
        BusyFlag = DeferredFlag = 0;
        ModalCount = 0;
        dev::FreeShareListChain();
    }

    // A list of four shares from firstId up.
    ShareList* MakeList(uint16_t firstId)
    {
        ShareList* list = CreateShareList(8, 0, kFamilyShares, nullptr, true);
        for (int32_t i = 0; i < 4; ++i)
            list->entries[i] = RecordCursor{shares.make(uint16_t(firstId + i)), 0};
        list->last = 3;
        return list;
    }
    CViewBaseWnd* Open(int32_t kind, ShareList* list) { return OpenViewBaseWindow(*frame, kind, list); }
    void Activate(CViewBaseWnd* view)
    {
        frame->mdiArea()->setActiveSubWindow(qobject_cast<QMdiSubWindow*>(view->parentWidget()));
        QApplication::processEvents();
    }

    Shares shares;
    std::unique_ptr<CMainFrame> frame;
    ShareList* a = nullptr;
    ShareList* b = nullptr;
};

TEST_F(Frame, StatusBarPanesAndTheMenuBarFollowTheActiveKind)
{
    CStatusBarEx* status = frame->statusBarEx();
    ASSERT_NE(status, nullptr);
    EXPECT_EQ(status->PaneCount(), 4);
    EXPECT_EQ(status->PaneText(0), QStringLiteral("Ready"));
    EXPECT_EQ(status->Pane(2)->width(), 130);
    EXPECT_EQ(frame->MenuTitles(), (QStringList{"&File", "&Edit", "&View", "T&ools", "&Portfolio", "&Update",
                                                "&Help"}));

    CViewBaseWnd* list = Open(kViewList, a);
    Activate(list);
    EXPECT_EQ(MainFrameState().activeView, list);
    EXPECT_EQ(frame->MenuTitles(), (QStringList{"&File", "&Edit", "&View", "&List", "&Portfolio", "List &Tables",
                                                "T&ools", "&Update", "&Help"}));
    CViewBaseWnd* portfolio = Open(kViewPortfolio, b);
    Activate(portfolio);
    EXPECT_EQ(frame->MenuTitles(), (QStringList{"&File", "&Edit", "&View", "&Portfolio", "List &Tables", "T&ools",
                                                "&Update", "&Help"}));
    CViewBaseWnd* details = Open(kViewDetails, b);
    Activate(details);
    EXPECT_EQ(frame->SlotMenu(6)->title(), QStringLiteral("&Details"));
    EXPECT_EQ(frame->SlotMenu(7), nullptr);
    EXPECT_EQ(frame->SlotMenu(5)->title(), QStringLiteral("&Portfolio"));
    EXPECT_EQ(frame->SlotMenu(7), nullptr);
}

TEST_F(Frame, MovingTheCurrentShareTellsTheOtherViewsOfItsGroupOnly)
{
    CViewBaseWnd* listA = Open(kViewList, a);
    CViewBaseWnd* chartA = Open(kViewDailyChart, a);
    CViewBaseWnd* detailsA = Open(kViewDetails, a);
    CViewBaseWnd* listB = Open(kViewList, b);
    CViewBaseWnd* chartB = Open(kViewDailyChart, b);
    CViewBaseWnd* news = Open(kViewNews, nullptr);
    std::vector<CViewBaseWnd*> all{listA, chartA, detailsA, listB, chartB, news};
    auto resyncs = [&] {
        std::vector<int> n;
        for (auto* v : all)
            n.push_back(v->resyncs());
        return n;
    };
    auto refreshes = [&] {
        std::vector<int> n;
        for (auto* v : all)
            n.push_back(v->refreshes());
        return n;
    };
    EXPECT_EQ(news->list->family, kFamilyNews);
    EXPECT_EQ(listA->list, a);
    EXPECT_EQ(chartB->list, b);

    a->current = 2;
    listA->InvalidateLinkedViews(true, false);
    EXPECT_EQ(resyncs(), (std::vector<int>{0, 1, 1, 0, 0, 0}));

    // The refresh of the charts reaches both groups' charts and nothing else.
    UpdateAllViewGroups(kViewDailyChart, false, nullptr, false, false);
    DeliverPostedMessages();
    EXPECT_EQ(refreshes(), (std::vector<int>{0, 1, 0, 0, 1, 0}));

    // Held during a reload: nothing arrives, then or later.
    {
        RefreshHold hold;
        UpdateAllViewGroups(-1, true, nullptr, true, false);
    }
    DeliverPostedMessages();
    QApplication::processEvents();
    EXPECT_EQ(refreshes(), (std::vector<int>{0, 1, 0, 0, 1, 0}));
    UpdateAllViewGroups(-1, false, nullptr, false, false);
    DeliverPostedMessages();
    EXPECT_EQ(refreshes(), (std::vector<int>{1, 2, 1, 1, 2, 1}));

    // A window closed is gone from its group.
    delete chartA->parentWidget();
    int views = 0;
    for (CViewBase* v = a->views; v; v = v->nextInList)
        ++views;
    EXPECT_EQ(views, 2);
}

TEST_F(Frame, TypedKeysPostAcceleratorsOrFindAShare)
{
    CViewBaseWnd* listA = Open(kViewList, a);
    CViewBaseWnd* chartA = Open(kViewDailyChart, a);
    Activate(listA);
    listA->setFocus();

    QTest::keyClick(listA, Qt::Key_D, Qt::ControlModifier);
    DeliverPostedMessages();
    EXPECT_EQ(frame->commands(), QList<uint32_t>{25002});
    QTest::keyClick(listA, Qt::Key_D, Qt::ControlModifier | Qt::ShiftModifier);
    DeliverPostedMessages();
    EXPECT_EQ(frame->commands().size(), 1) << "Ctrl+Shift with no accelerator posts nothing";

    uint32_t seeded = 0;
    SetFindShareDialog([&](const std::string&, uint32_t character, bool seed, ShareList*) -> std::optional<int32_t> {
        seeded = seed ? character : 0;
        return 3;
    });
    QTest::keyClick(listA, Qt::Key_7);
    EXPECT_EQ(seeded, uint32_t('7'));
    EXPECT_EQ(a->current, 3);
    EXPECT_EQ(chartA->resyncs(), 1) << "the linked chart follows the share found";
    // "Ruth" typed: its capital opens the search with the R.
    seeded = 0;
    QTest::keyClick(listA, 'R', Qt::ShiftModifier);
    EXPECT_EQ(seeded, uint32_t('R'));
    // After a Ctrl shortcut the search of Tools > Find still opens: the Ctrl was that key's own.
    QTest::keyClick(listA, Qt::Key_D, Qt::ControlModifier);
    bool asked = false;
    SetFindShareDialog([&](const std::string&, uint32_t, bool, ShareList*) -> std::optional<int32_t> {
        asked = true;
        return std::nullopt;
    });
    EXPECT_TRUE(frame->OpenFindShare());
    EXPECT_TRUE(asked);
    asked = false;
    EXPECT_TRUE(frame->FindShareFromKey(0)) << "no modifier is left over from the last key";
    EXPECT_TRUE(asked);

    EXPECT_FALSE(frame->helpShown()) << "the new-features request at creation is not shown";
    QTest::keyClick(listA, Qt::Key_F1);
    EXPECT_EQ(frame->lastHelpText(), QStringLiteral("Help topic 0x2012E: List window"));
    EXPECT_TRUE(frame->helpShown()) << "help the user asks for shows the stand-in";
}

TEST_F(Frame, ALetterWithNoWindowOpenDoesNothing)
{
    bool asked = false;
    SetFindShareDialog([&](const std::string&, uint32_t, bool, ShareList*) -> std::optional<int32_t> {
        asked = true;
        return 0;
    });
    QTest::keyClick(frame->mdiArea(), Qt::Key_K);
    DeliverPostedMessages();
    EXPECT_FALSE(asked);
    EXPECT_TRUE(frame->commands().isEmpty());
    QTest::keyClick(frame->mdiArea(), Qt::Key_BracketRight);
    DeliverPostedMessages();
    EXPECT_EQ(frame->commands(), QList<uint32_t>{20618});
}

TEST_F(Frame, CloseAndViewRequestsWaitWhileBusyAndBeepWhileModal)
{
    ModalCount = 1;
    EXPECT_FALSE(frame->close());
    EXPECT_EQ(frame->beeps(), 1);
    ModalCount = 0;

    BusyFlag = 1;
    EXPECT_EQ(frame->ShowViewKind(kViewDailyChart, a->number), nullptr);
    EXPECT_FALSE(frame->close());
    EXPECT_TRUE(frame->isVisible());
    EXPECT_EQ(frame->mdiArea()->subWindowList().size(), 0);
    // Still busy: the close comes back and waits again.
    DeliverPostedMessages();
    EXPECT_TRUE(frame->isVisible());
    ASSERT_EQ(frame->mdiArea()->subWindowList().size(), 0);

    BusyFlag = 0;
    DeliverPostedMessages();
    ASSERT_EQ(frame->mdiArea()->subWindowList().size(), 1);
    auto* view = dynamic_cast<CViewBase*>(frame->mdiArea()->subWindowList()[0]->widget());
    ASSERT_NE(view, nullptr);
    EXPECT_EQ(view->kind, kViewDailyChart);
    EXPECT_EQ(view->list, a);
    EXPECT_FALSE(frame->isVisible()) << "the close happened by itself";
}

TEST_F(Frame, ProgressTextAndTheFrameTimer)
{
    frame->ShowProgress(QStringLiteral("Sorting shares"), 7, true);
    EXPECT_EQ(frame->statusBarEx()->PaneText(0), QStringLiteral("Sorting"));
    frame->ShowProgress(QString(), 0, false);
    EXPECT_EQ(frame->statusBarEx()->PaneText(0), QStringLiteral("Ready"));

    MainFrameTimerCallback(0, 25000);
    DeliverPostedMessages();
    EXPECT_EQ(frame->commands(), QList<uint32_t>{25000});
}

namespace {

// A chart whose drawing reports progress on the frame, as a chart does when it refills and sorts its
// share list while it draws; it counts the status bar's paints that happen inside its own.
class ProgressChart : public CGraphViewWnd {
public:
    ProgressChart(CMainFrame& frame, QWidget* parent)
        : CViewBase(kViewDailyChart), CViewGraphBase(kViewDailyChart), CGraphViewWnd(kViewDailyChart, parent),
          frame_(frame)
    {
        frame.statusBarEx()->installEventFilter(this);
    }
    int nestedPaints = 0;

protected:
    void DrawView(QPainter& painter) override
    {
        drawing_ = true;
        frame_.ShowProgress(QStringLiteral("Sorting shares"), 7, true);
        drawing_ = false;
        CGraphViewWnd::DrawView(painter);
    }
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (drawing_ && event->type() == QEvent::Paint)
            ++nestedPaints;
        return CGraphViewWnd::eventFilter(watched, event);
    }

private:
    CMainFrame& frame_;
    bool drawing_ = false;
};

} // namespace

TEST_F(Frame, ProgressShownFromInsideAChartPaintWaitsForTheNextPaint)
{
    // Painting the status bar there and then would end the chart's painter under it (a crash on X11).
    ProgressChart chart(*frame, frame->mdiArea()->viewport());
    chart.setGeometry(0, 0, 200, 150);
    chart.show();
    QApplication::processEvents();
    chart.nestedPaints = 0;
    chart.repaint();
    EXPECT_EQ(chart.nestedPaints, 0);
    EXPECT_EQ(frame->statusBarEx()->PaneText(0), QStringLiteral("Sorting"));
}

TEST_F(Frame, ViewsKeepOneCtrlTimerAndTheFrameKnowsTheActiveView)
{
    CViewBaseWnd* listA = Open(kViewList, a);
    CViewBaseWnd* chartA = Open(kViewDailyChart, a);
    Activate(listA);
    EXPECT_EQ(GetActiveChildView(*frame), listA);
    QTest::keyPress(listA, Qt::Key_Control);
    EXPECT_TRUE(listA->ctrlTimerRunning());
    QTest::keyRelease(listA, Qt::Key_Control);
    EXPECT_FALSE(listA->ctrlTimerRunning());
    QTest::keyPress(listA, Qt::Key_Control);
    QTest::keyClick(listA, Qt::Key_Space);
    EXPECT_FALSE(listA->ctrlTimerRunning()) << "another key stops it";
    QTest::keyPress(chartA, Qt::Key_Control);
    EXPECT_FALSE(chartA->ctrlTimerRunning()) << "charts keep their own keys";
    QTest::keyRelease(chartA, Qt::Key_Control);

    // The current share's texts go to panes 1 and 2.
    SetPaneTextSource(PaneTextSource{
        [](const RecordCursor&, ShareList*, int32_t code) { return code == 5 ? std::string("Main") : "Oil"; }, nullptr});
    ShowDetailStatusPanes(a, *frame->statusBarEx(), 2, false);
    EXPECT_EQ(frame->statusBarEx()->PaneText(1), QStringLiteral("Oil"));
    EXPECT_EQ(frame->statusBarEx()->PaneText(2), QStringLiteral("Main, Oil"));
    SetPaneTextSource({});
}

namespace {

QAction* FindCommand(QMenu* menu, uint32_t command)
{
    for (QAction* action : menu->actions()) {
        if (action->menu()) {
            if (QAction* found = FindCommand(action->menu(), command))
                return found;
        } else if (action->data().toUInt() == command) {
            return action;
        }
    }
    return nullptr;
}

} // namespace

TEST_F(Frame, MenusComeFromTheTablesWithUnhandledCommandsGreyed)
{
    QMenu* file = frame->menuBar()->actions()[0]->menu();
    ASSERT_NE(file, nullptr);
    QAction* exit = FindCommand(file, 57665);
    QAction* print = FindCommand(file, 26119);
    ASSERT_TRUE(exit && print);
    EXPECT_TRUE(exit->isEnabled());
    EXPECT_FALSE(print->isEnabled());
    EXPECT_EQ(print->text(), QStringLiteral("&Print...\tCtrl+P"));

    CViewBaseWnd* list = Open(kViewList, a);
    Activate(list);
    QMenu* listMenu = frame->SlotMenu(6);
    ASSERT_NE(listMenu, nullptr);
    QAction* design = FindCommand(listMenu, 25002);
    ASSERT_NE(design, nullptr);
    EXPECT_TRUE(design->text().startsWith(QStringLiteral("List desi&gn...")));
    EXPECT_FALSE(design->isEnabled());

    // With several windows the View popup starts with the window layouts and the Window popup is there.
    Config().optionsA.bytes[OptionBlockA::kMultipleWindows] = 1;
    WindowLayouts().layouts[1].name = "Charts";
    frame->ReloadMainMenu();
    QMenu* view = frame->menuBar()->actions()[2]->menu();
    EXPECT_EQ(view->actions()[0]->text(), QString::fromStdString(DefaultLayoutName(0)));
    EXPECT_EQ(view->actions()[1]->text(), QStringLiteral("Charts"));
    EXPECT_EQ(view->actions()[11]->data().toUInt(), 21158u);
    EXPECT_TRUE(frame->MenuTitles().contains(QStringLiteral("&Window")));
    Config().optionsA.bytes[OptionBlockA::kMultipleWindows] = 0;
    WindowLayouts().layouts[1].name.clear();
    frame->ReloadMainMenu();
    EXPECT_FALSE(frame->MenuTitles().contains(QStringLiteral("&Window")));

    int abouts = 0;
    ApplicationCommands().Add(57664, [&] { ++abouts; });
    frame->OnCommand(57664);
    EXPECT_EQ(abouts, 1);
    EXPECT_TRUE(frame->commands().isEmpty());
    ApplicationCommands().Remove(57664);
}

TEST_F(Frame, ASubmenuCommandRunsItsModalLoopAfterTheMenuHasReturnedWhileTheBarIsRebuilt)
{
    CViewBaseWnd* list = Open(kViewList, a);
    Activate(list);
    // An item of a sub-menu that nothing handles yet.
    std::vector<MenuCommandItem> items = OpenMenusAsUser(*frame->menuBar());
    auto chosen = std::find_if(items.begin(), items.end(), [](const MenuCommandItem& item) {
        return item.popups.size() == 2 && !item.action->isEnabled();
    });
    ASSERT_NE(chosen, items.end());
    const uint32_t command = chosen->command;
    const QString topTitle = chosen->popups[0]->text();
    QPointer<QMenu> top = chosen->popups[0]->menu();
    QPointer<QMenu> sub = chosen->popups[1]->menu();
    // The command stands for one whose dialog gives a view the focus back as it closes: the menus are
    // rebuilt, and the dialog's own loop runs deferred deletions, before the command returns.
    int runs = 0;
    bool menusInUse = true;
    bool replacedAtOnce = false;
    SetModalDialogRunner([](QDialog& dialog) { return dialog.exec(); });
    ApplicationCommands().Add(command, [&] {
        ++runs;
        menusInUse = MenusInUse();
        QDialog dialog(frame.get());
        QTimer::singleShot(0, &dialog, [&] {
            frame->ReloadMainMenu();
            QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
            replacedAtOnce = top.isNull() || !frame->menuBar()->actions().contains(top->menuAction());
            dialog.accept();
        });
        EXPECT_EQ(RunModalDialog(dialog), QDialog::Accepted);
    });
    ASSERT_TRUE(ChooseWithMouse(*frame->menuBar(), *chosen));
    EXPECT_EQ(runs, 0) << "the command waits until the menu has returned";
    EXPECT_TRUE(QTest::qWaitFor([&] { return runs == 1; }, 60000));
    SetModalDialogRunner(nullptr);
    EXPECT_FALSE(menusInUse);
    EXPECT_TRUE(replacedAtOnce) << "menus no one can return into are replaced at once";
    QApplication::processEvents();
    QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(top.isNull() && sub.isNull());
    QMenu* rebuilt = nullptr;
    for (QAction* action : frame->menuBar()->actions())
        if (action->text() == topTitle)
            rebuilt = action->menu();
    ASSERT_NE(rebuilt, nullptr);
    EXPECT_NE(FindCommand(rebuilt, command), nullptr);

    // With a popup open the menus stay as they are, and are replaced once it has closed.
    QPointer<QMenu> open = rebuilt;
    frame->menuBar()->setActiveAction(open->menuAction());
    ASSERT_TRUE(QTest::qWaitFor([&] { return open->isVisible(); }, 60000));
    frame->ReloadMainMenu();
    QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_FALSE(open.isNull());
    EXPECT_TRUE(frame->menuBar()->actions().contains(open->menuAction()));
    open->hide();
    EXPECT_TRUE(QTest::qWaitFor([&] {
        QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        return open.isNull();
    }, 60000));
    ApplicationCommands().Remove(command);
}

TEST_F(Frame, AMenuRebuildAskedForAsABarMenuClosesOnAClickWaitsForTheClickToBeHandled)
{
    CViewBaseWnd* list = Open(kViewList, a);
    Activate(list);
    QPointer<QMenu> listMenu = frame->SlotMenu(6);
    ASSERT_FALSE(listMenu.isNull());
    // An item of the menu that a handler of the test's own enables.
    QAction* item = nullptr;
    for (QAction* action : listMenu->actions()) {
        const uint32_t command = action->data().toUInt();
        if (item || action->menu() || command == 0 || QueryCommandUi(command).enabled)
            continue;
        ApplicationCommands().Add(command, [] {});
        if (QueryCommandUi(command).enabled)
            item = action;
        else
            ApplicationCommands().Remove(command);
    }
    ASSERT_NE(item, nullptr);
    const uint32_t command = item->data().toUInt();
    // The click that chooses an item first closes the menu, which gives the view the focus back and
    // asks for a rebuild while the click is still being handled; deferred deletions may run then.
    bool aliveWhileClosing = false;
    bool slotKept = false;
    QObject::connect(listMenu.data(), &QMenu::aboutToHide, frame.get(), [&] {
        frame->RebuildMenuBar();
        QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        aliveWhileClosing = !listMenu.isNull();
        slotKept = frame->SlotMenu(6) == listMenu.data();
    });
    frame->menuBar()->setActiveAction(listMenu->menuAction());
    ASSERT_TRUE(QTest::qWaitFor([&] { return listMenu->isVisible(); }, 60000));
    listMenu->setActiveAction(item);
    QTest::mouseClick(listMenu.data(), Qt::LeftButton, {}, listMenu->actionGeometry(item).center());
    EXPECT_TRUE(aliveWhileClosing);
    EXPECT_TRUE(slotKept) << "not rebuilt while the click is handled";
    EXPECT_TRUE(QTest::qWaitFor([&] {
        QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        return listMenu.isNull();
    }, 60000)) << "rebuilt once the click was handled";
    EXPECT_NE(frame->SlotMenu(6), nullptr);
    ApplicationCommands().Remove(command);
}

TEST_F(Frame, CommandsReachTheActiveViewFirstAndTheInfoCentreItemFollowsTheBrowser)
{
    CViewBaseWnd* listA = Open(kViewList, a);
    Activate(listA);
    frame->OnCommand(ID_REFRESH);
    EXPECT_EQ(listA->refreshes(), 1);
    frame->OnCommand(26119);
    EXPECT_EQ(frame->commands(), QList<uint32_t>{26119}) << "not a view's command";

    // The command lives in the View popup, before "Emai&l".
    auto infoCentre = [&] {
        QMenu* view = frame->menuBar()->actions()[2]->menu();
        QAction* item = FindCommand(view, 27130);
        QAction* email = FindCommand(view, 21108);
        if (!item)
            return false;
        EXPECT_EQ(item->text(), QStringLiteral("&InfoCentre"));
        EXPECT_EQ(view->actions().indexOf(item) + 1, view->actions().indexOf(email));
        return true;
    };
    frame->CheckBrowserVersion(std::string("11.0"), true);
    EXPECT_TRUE(infoCentre());
    frame->CheckBrowserVersion(std::string("3.0"), true);
    EXPECT_FALSE(infoCentre());
    frame->CheckBrowserVersion(std::string("11.0"), false);
    EXPECT_FALSE(infoCentre());
}

TEST_F(Frame, HelpOnTakesTheNextClickAsTheHelpRequest)
{
    auto ContextHelpActive = [this] { return frame->findChild<CContextHelpMode*>()->active(); };
    // Events as the application hands them out, through its filters.
    auto click = [](QWidget* w, QPoint at) {
        QMouseEvent press(QEvent::MouseButtonPress, at, w->mapToGlobal(at), Qt::LeftButton, Qt::LeftButton, {});
        QApplication::sendEvent(w, &press);
        QMouseEvent release(QEvent::MouseButtonRelease, at, w->mapToGlobal(at), Qt::LeftButton, Qt::NoButton, {});
        QApplication::sendEvent(w, &release);
    };
    CViewBaseWnd* listA = Open(kViewList, a);
    Activate(listA);
    CommandUi ui{57669, false, std::nullopt, std::nullopt};
    ASSERT_TRUE(frame->UpdateCommand(ui));
    EXPECT_TRUE(ui.enabled);

    // A click on a data window asks for its kind's topic and is not passed on.
    ASSERT_TRUE(frame->RunCommand(57669));
    EXPECT_TRUE(ContextHelpActive());
    click(listA, QPoint(5, 5));
    EXPECT_FALSE(ContextHelpActive());
    EXPECT_TRUE(frame->helpShown());
    EXPECT_EQ(frame->lastHelpText(), QStringLiteral("Help topic 0x2012E: List window"));

    // Esc leaves the mode without asking.
    ASSERT_TRUE(frame->RunCommand(57669));
    QKeyEvent escape(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
    QApplication::sendEvent(listA, &escape);
    EXPECT_FALSE(ContextHelpActive());
    EXPECT_EQ(frame->lastHelpText(), QStringLiteral("Help topic 0x2012E: List window"));

    // The next click is an ordinary one again.
    click(listA, QPoint(5, 5));
    EXPECT_FALSE(ContextHelpActive());
}

TEST_F(Frame, AMaximisedWindowsTitleNamesTheProgramOnce)
{
    frame->setWindowTitle(QStringLiteral("Quorvantis Pro"));
    CViewBaseWnd* listA = Open(kViewList, a);
    auto* child = qobject_cast<QMdiSubWindow*>(listA->parentWidget());
    ASSERT_NE(child, nullptr);
    child->setWindowTitle(QStringLiteral("Quorvantis Pro - List: All"));
    child->showMaximized();
    QApplication::processEvents();
    const QString title = frame->windowTitle();
    EXPECT_EQ(title.count(QStringLiteral("Quorvantis Pro")), 1) << title.toStdString();
    EXPECT_TRUE(title.contains(QStringLiteral("List: All"))) << "the child's part is still there: " << title.toStdString();
}

TEST_F(Frame, BarsAreLaidOutUnlessTheToolbarsAreLocked)
{
    EXPECT_FALSE(frame->barsNotYetDocked());
    SetToolbarsLockedQuery([] { return true; });
    EXPECT_FALSE(frame->RecalcBars(false));
    EXPECT_TRUE(frame->RecalcBars(true));
    SetToolbarsLockedQuery(nullptr);
    EXPECT_TRUE(frame->RecalcBars(false));
}

TEST(RecolourBitmap, ReplacesOneColourOrThatOfTheTopLeftPixel)
{
    QImage image(4, 2, QImage::Format_ARGB32);
    image.fill(qRgb(192, 192, 192));
    image.setPixel(1, 1, qRgb(0, 0, 0));
    RecolourBitmap(image, kTopLeftColour, qRgb(255, 0, 0));
    EXPECT_EQ(image.pixel(3, 0), qRgb(255, 0, 0));
    EXPECT_EQ(image.pixel(1, 1), qRgb(0, 0, 0));
    RecolourBitmap(image, qRgb(0, 0, 0), qRgb(0, 255, 0));
    EXPECT_EQ(image.pixel(1, 1), qRgb(0, 255, 0));
    EXPECT_EQ(image.pixel(0, 0), qRgb(255, 0, 0));
}

TEST_F(Frame, RendersWithChildWindowsAndStatusBar)
{
    ASSERT_TRUE(test::FontsAvailable()) << "no font: install fonts-dejavu-core and fontconfig";
    WindowNumberingOption = 1;
    Open(kViewList, a);
    Open(kViewDailyChart, a);
    Open(kViewPortfolio, b);
    CViewBaseWnd* details = Open(kViewDetails, b);
    frame->mdiArea()->tileSubWindows();
    Activate(details);
    frame->statusBarEx()->SetPaneText(1, QStringLiteral("Shell plc"));
    frame->statusBarEx()->SetPaneText(2, QStringLiteral("Oil & Gas"));
    frame->statusBarEx()->SetPaneText(3, QStringLiteral("Close 2,345.5p"));
    EXPECT_EQ(details->Title(), QStringLiteral("02 List: All (Linked)"));
    QImage image = test::RenderWidget(*frame);
    EXPECT_EQ(image.size(), frame->size());
    test::SaveRender(image, QStringLiteral("main-frame"));
    WindowNumberingOption = 0;
}

} // namespace

// A window whose list shows no portfolio names the current one in its caption: it is retitled when
// the current portfolio changes (or is renamed), once; a window showing a portfolio of its own is
// left to its own refreshes, whatever passing state its list is in.
TEST_F(Frame, CaptionsNamingTheCurrentPortfolioFollowItAndNoOthers)
{
    Portfolio growth, income;
    growth.name = "Growth";
    income.name = "Income";
    income.number = 1;
    ShareList* own = CreateShareList(8, 0, kFamilyShares, &income, true);
    CViewBaseWnd* chart = Open(kViewDailyChart, a);
    CViewBaseWnd* portfolioList = Open(kViewList, own);
    ShareList* currentBefore = CurrentShareList();
    const QString stale = QStringLiteral("stale");
    auto retitled = [&] {
        std::vector<bool> r{chart->windowTitle() != stale, portfolioList->windowTitle() != stale};
        chart->setWindowTitle(stale);
        portfolioList->setWindowTitle(stale);
        return r;
    };
    retitled();

    ShareList* current = CreateShareList(8, 0, kFamilyShares, &growth, true);
    CurrentShareList() = current;
    frame->FollowCurrentPortfolioInCaptions();
    EXPECT_EQ(retitled(), (std::vector<bool>{true, false}));
    frame->FollowCurrentPortfolioInCaptions();
    EXPECT_EQ(retitled(), (std::vector<bool>{false, false})) << "nothing changed";
    current->source = &income;
    frame->FollowCurrentPortfolioInCaptions();
    EXPECT_EQ(retitled(), (std::vector<bool>{true, false}));
    income.name = "Income 2026";
    frame->FollowCurrentPortfolioInCaptions();
    EXPECT_EQ(retitled(), (std::vector<bool>{true, false})) << "renamed";
    // A portfolio without a name goes by its number.
    growth.name = "";
    current->source = &growth;
    frame->FollowCurrentPortfolioInCaptions();
    retitled();
    growth.number = 5;
    frame->FollowCurrentPortfolioInCaptions();
    EXPECT_EQ(retitled(), (std::vector<bool>{true, false})) << "renumbered";
    CurrentShareList() = currentBefore;
    own->source = nullptr;
    current->source = nullptr;
}
