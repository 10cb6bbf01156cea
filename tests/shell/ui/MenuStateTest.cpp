// Tests that every menu item of the real frame shows the state its handler's rule gives, in every
// default layout and every view kind reachable from it, read as a user opens the menus.
#include "core/WindowLayouts.h"
#include "platform/MessageDispatch.h"
#include "shell/LayoutWindow.h"
#include "shell/MenuBarPlan.h"
#include "shell/ui/ChildWindow.h"
#include "shell/ui/CommandSweep.h"
#include "shell/ui/FrameCommandHost.h"
#include "shell/ui/MainFrame.h"
#include "shell/ui/MenuWalk.h"
#include "shell/ui/ViewRequests.h"
#include "shell/ui/WindowFactory.h"
#include "portfolio/ui/PortfolioWindows.h"
#include "support/ui/FactoryFrame.h"
#include "support/ui/Render.h"
#include "views/CommandUpdate.h"
#include "views/ViewBase.h"
#include "views/ViewKinds.h"
#include "views/ui/ViewClassRegistry.h"
#include "chartmodel/ui/ViewGraphWindow.h"
#include "datamining/ui/ViewDataMining.h"
#include "lists/ui/ViewDetailWindow.h"
#include "lists/ui/ViewHoldWindow.h"
#include "news/ui/ViewNewsWindow.h"
#include "lists/ui/ViewList.h"

#include <QAction>
#include <QApplication>
#include <QFocusEvent>
#include <QMdiArea>
#include <QMenuBar>
#include <cstdlib>
#include <gtest/gtest.h>
#include <memory>
#include <optional>
#include <string>

using namespace qv;

namespace {

constexpr uint32_t kFrameOwn[] = {57665, 57667}; // exit, help topics
constexpr uint32_t kShowAll = 26991;
constexpr int kDefaultLayouts = 5;

class MenuState : public test::FactoryFrame {
protected:
    MenuState() : FactoryFrame(1000, 760)
    {
        // "Connect to real time feed" must find no server, whatever feed runs on this machine: a
        // feed thread left running would end the test program.
        if (const char* server = std::getenv("QV_FEED_SERVER"))
            feedServer_ = server;
        setenv("QV_FEED_SERVER", "127.0.0.1:1", 1);
        InstallPortfolioWindows();
        requests = std::make_unique<CViewRequests>(*frame, *factory);
        commands = std::make_unique<CFrameCommandHost>(*frame, *requests);
        for (int slot = 0; slot < kDefaultLayouts; ++slot)
            SetLayoutSlotWindows(slot, BuildDefaultLayout(slot, factory->ClientArea()));
        // Nothing is laid out yet, so that choosing layout 1 is a switch.
        WindowLayouts().current = kSingleWindowLayout;
    }
    ~MenuState() override
    {
        commands.reset();
        requests.reset();
        RemovePortfolioWindows();
        if (feedServer_)
            setenv("QV_FEED_SERVER", feedServer_->c_str(), 1);
        else
            unsetenv("QV_FEED_SERVER");
    }

    void Settle()
    {
        QApplication::processEvents();
        DeliverPostedMessages();
        QApplication::processEvents();
    }

    // The state each handler's own rule gives, asked in the routing order: the active view, the
    // frame, the view requests, the window layouts, then the other targets and the application;
    // grey when none answers.
    CommandUi Expected(uint32_t command) const
    {
        CommandUi ui{command, false, std::nullopt, std::nullopt};
        if (const CViewBase* view = MainFrameState().activeView; view && view->UpdateCommandUi(ui))
            return ui;
        for (uint32_t own : kFrameOwn)
            if (command == own) {
                ui.enabled = true;
                return ui;
            }
        CommandUiState request = requests->UpdateCommand(command);
        if (request.known) {
            ui.enabled = request.enabled;
            if (request.checkable)
                ui.checked = request.checked;
            return ui;
        }
        if (factory->UpdateCommand(ui))
            return ui;
        // None of the frame's: the program's other targets (the toolbars), then the application.
        return QueryCommandUi(command);
    }

    // Opens every menu and compares each item with its rule; returns how many items are enabled.
    int CheckMenus(const std::string& where)
    {
        int enabled = 0;
        for (const MenuCommandItem& item : OpenMenusAsUser(*frame->menuBar())) {
            CommandUi want = Expected(item.command);
            std::string path = where + ": " + item.path.toStdString() + " (" + std::to_string(item.command) + ")";
            EXPECT_EQ(item.action->isEnabled(), want.enabled) << path;
            EXPECT_EQ(item.action->isCheckable(), want.checked.has_value()) << path;
            if (want.checked) {
                EXPECT_EQ(item.action->isChecked(), *want.checked) << path;
            }
            enabled += want.enabled;
        }
        return enabled;
    }

    void ExpectKindMenus(const std::string& where)
    {
        int32_t kind = MainFrameState().activeKind;
        ASSERT_GE(kind, 0) << where;
        QStringList titles = frame->MenuTitles();
        EXPECT_TRUE(titles.contains(QString::fromLatin1(ViewMenuTitle(kind)))) << where << " kind " << kind;
        if (kind != kViewDetails) {
            EXPECT_TRUE(titles.contains(QString::fromLatin1(TablesMenuTitle(kind, false))))
                << where << " kind " << kind;
        }
    }

    std::unique_ptr<CViewRequests> requests;
    std::unique_ptr<CFrameCommandHost> commands;
    std::optional<std::string> feedServer_;
};

TEST_F(MenuState, EveryItemShowsItsHandlersRuleInEveryLayoutAndViewKind)
{
    const ViewClassFactory placeholder = RegisterViewClass(kViewDataMining, {});
    RegisterDataMiningView();
    for (int layout = 0; layout < kDefaultLayouts; ++layout) {
        factory->SelectLayout(layout);
        Settle();
        std::vector<CChildWindow*> children = factory->Children();
        ASSERT_FALSE(children.empty()) << "layout " << layout;
        for (CChildWindow* child : children) {
            frame->mdiArea()->setActiveSubWindow(child);
            Settle();
            std::string where = "layout " + std::to_string(layout) + " kind " + std::to_string(MainFrameState().activeKind);
            ExpectKindMenus(where);
            EXPECT_GT(CheckMenus(where), 0) << where;
        }
    }
    // Every kind the view requests reach from a window, switched in the same window.
    factory->SelectLayout(0);
    Settle();
    for (int32_t kind = 0; kind < kViewKindCount; ++kind) {
        requests->ShowViewKind(kind, -1, 0);
        Settle();
        std::string where = "switched to kind " + std::to_string(kind);
        ExpectKindMenus(where);
        CheckMenus(where);
    }
    RegisterViewClass(kViewDataMining, placeholder);
}

// Every enabled item, chosen as a user would in every default layout (dialogs cancelled), has work
// to run: a handler whose dialog or seam is missing would have greyed its item.
TEST_F(MenuState, NoEnabledItemHasNothingToRun)
{
    // The program's own view classes, so that the views' commands are those a user meets.
    std::vector<ViewClassFactory> previous;
    for (int32_t kind = 0; kind < kViewKindCount; ++kind)
        previous.push_back(RegisterViewClass(kind, {}));
    RegisterListViews();
    InstallDetailViewClass();
    InstallDealingsViewClass();
    InstallNewsViewClass();
    InstallChartViewClasses();
    RegisterDataMiningView();
    TakeCommandsWithNothingToRun();
    const CommandSweepResult result = RunCommandSweep(*frame);
    for (int32_t kind = 0; kind < kViewKindCount; ++kind)
        RegisterViewClass(kind, previous[size_t(kind)]);
    EXPECT_GT(result.commandsRun, 50);
    EXPECT_TRUE(result.idle.isEmpty()) << result.idle.join(QStringLiteral("; ")).toStdString();
    EXPECT_TRUE(TakeCommandsWithNothingToRun().empty());
}

TEST_F(MenuState, ASameWindowSwitchKeepsTheNewKindAndItsMenus)
{
    factory->SelectLayout(2); // one share: a graph first
    Settle();
    size_t windows = factory->Children().size();
    frame->OnCommand(kShowAll);
    Settle();
    EXPECT_EQ(factory->Children().size(), windows) << "the same window";
    ASSERT_NE(MainFrameState().activeView, nullptr);
    EXPECT_EQ(MainFrameState().activeKind, kViewList);
    QStringList titles = frame->MenuTitles();
    EXPECT_TRUE(titles.contains(QStringLiteral("&List"))) << titles.join(QLatin1Char(',')).toStdString();
    EXPECT_TRUE(titles.contains(QStringLiteral("List &Tables"))) << titles.join(QLatin1Char(',')).toStdString();
    CheckMenus("after View > All");
    const CViewBase* view = MainFrameState().activeView;
    EXPECT_EQ(view->DecorateTitle(view->GetSourceTitle(false)), "Quorvantis - List: All");
    test::SaveRender(test::RenderWidget(*frame), QStringLiteral("menu-state-after-view-all"));
}

TEST_F(MenuState, TheActiveViewsSettingIsCheckedAmongTwelve)
{
    factory->SelectLayout(0);
    Settle();
    int settings = 0, checked = 0;
    for (const MenuCommandItem& item : OpenMenusAsUser(*frame->menuBar())) {
        if (item.command >= 20500 && item.command <= 20511) {
            ++settings;
            checked += item.action->isChecked();
            EXPECT_TRUE(item.action->isEnabled()) << item.path.toStdString();
        }
    }
    EXPECT_EQ(settings, 12);
    EXPECT_EQ(checked, 1);
}

} // namespace

namespace {

TEST_F(MenuState, OpeningAMenuLeavesTheActiveViewForItsCommands)
{
    factory->SelectLayout(0);
    Settle();
    auto* view = dynamic_cast<QWidget*>(MainFrameState().activeView);
    ASSERT_NE(view, nullptr);
    int32_t kind = MainFrameState().activeKind;
    // A popup menu takes the keyboard: the view is still the one commands act on.
    QFocusEvent popup(QEvent::FocusOut, Qt::PopupFocusReason);
    QApplication::sendEvent(view, &popup);
    EXPECT_EQ(dynamic_cast<QWidget*>(MainFrameState().activeView), view);
    EXPECT_EQ(MainFrameState().activeKind, kind);
    // The keyboard going to another window of the program does make it forget the view.
    QFocusEvent other(QEvent::FocusOut, Qt::OtherFocusReason);
    QApplication::sendEvent(view, &other);
    EXPECT_EQ(MainFrameState().activeView, nullptr);
}

} // namespace
