// The frame's window commands and its own messages.
#include "shell/ui/WindowCommands.h"

#include "core/CashAccounts.h"
#include "core/ConfigRecords.h"
#include "core/ConfigState.h"
#include "core/Portfolio.h"
#include "core/ShareList.h"
#include "platform/MessageBox.h"
#include "platform/MessageDispatch.h"
#include "platform/qt/QtText.h"
#include "realtime/feed/RTEngine.h"
#include "resources/MessageIds.h"
#include "shell/FeedConnectProgress.h"
#include "shell/FeedLevelPane.h"
#include "shell/FrameMessages.h"
#include "shell/LayoutSwitch.h"
#include "shell/PortfolioAdd.h"
#include "shell/StartupSteps.h"
#include "shell/SystemAccelerators.h"
#include "shell/ViewGroups.h"
#include "shell/ViewRequest.h"
#include "shell/ui/ChildWindow.h"
#include "shell/ui/LinkWindowDlg.h"
#include "shell/ui/LinkWindowsDlg.h"
#include "shell/ui/MainFrame.h"
#include "shell/ui/MenuGuard.h"
#include "shell/ui/SoftMenuQt.h"
#include "shell/ui/StatusBarEx.h"
#include "shell/ui/ViewRequests.h"
#include "shell/ui/WindowArranger.h"
#include "shell/ui/WindowFactory.h"
#include "views/FrameState.h"
#include "views/ViewKinds.h"
#include "views/ui/ViewBaseWindow.h"

#include <QApplication>
#include <QContextMenuEvent>
#include <QElapsedTimer>
#include <QLabel>
#include <QMdiArea>
#include <QMenu>
#include <QPainter>
#include <QPointer>
#include <QResizeEvent>
#include <QThread>
#include <utility>

namespace qv {
namespace {

constexpr int kSlideShowStopWaitMs = 100;
constexpr int kActiveWaitStepMs = 100;
constexpr uint32_t kDealingsDisplayBits = 0x60;
constexpr uint32_t kAllToolbars = 15;
constexpr uint32_t kCommandKeyboardAccelerators = 26409;

std::string ViewTitle(const CViewBase* view)
{
    auto* window = dynamic_cast<const CViewBaseWnd*>(view);
    if (!window)
        return {};
    if (CChildWindow* child = CWindowFactory::ChildOf(view))
        return ToCp1252(child->windowTitle());
    return ToCp1252(window->Title());
}

// The feed icons: a dot per state, grey when off, amber while it connects, green when connected.
QPixmap FeedIcon(int index)
{
    static const QColor kColours[kFeedIconCount] = {Qt::gray,         QColor(230, 160, 0), QColor(230, 160, 0),
                                                    QColor(230, 160, 0), QColor(230, 160, 0), QColor(230, 160, 0),
                                                    QColor(230, 160, 0), QColor(0, 160, 0),   QColor(0, 110, 200),
                                                    QColor(200, 0, 0)};
    QPixmap icon(12, 12);
    icon.fill(Qt::transparent);
    QPainter p(&icon);
    p.setRenderHint(QPainter::Antialiasing);
    p.setBrush(kColours[index]);
    p.setPen(Qt::NoPen);
    p.drawEllipse(1, 1, 10, 10);
    return icon;
}

// The first table-kind view of the group other than the view, else the list kind the group's source
// asks for.
int32_t LinkedShowKind(const ShareList* target, const CViewBase* view)
{
    for (const CViewBase* v = target->views; v; v = v->nextInList)
        if (v != view && IsTableViewKind(v->kind))
            return v->kind;
    return target->source ? kViewPortfolio : kViewList;
}

int32_t ShareListCountInChain()
{
    int32_t n = 0;
    for (ShareList* l = ShareListChain(); l; l = l->next)
        ++n;
    return n;
}

} // namespace

bool RealTimeOptionOn() { return Config().optionsA.data()[OptionBlockA::kRealTimeOption] != 0; }

CWindowCommands::CWindowCommands(CMainFrame& frame, CWindowFactory& factory, CViewRequests& requests)
    : frame_(frame), factory_(factory), requests_(requests)
{
    AddCommandTarget(this);
    QPointer<CWindowCommands> self(this);
    frame_.AddMessageHandler([self](uint32_t message, uintptr_t wParam, intptr_t lParam) {
        return self && self->OnMessage(message, wParam, lParam);
    });
    frame_.SetBeforeCommandHook([this](uint32_t command) {
        if (SystemAcceleratorCheckPending())
            CheckSystemAccelerator(command);
        if (command == kCommandStatusBarToggle)
            PostProgramMessage(frame_, MSG_RECALC_BARS);
    });
    frame_.installEventFilter(this);
    frame_.mdiArea()->viewport()->installEventFilter(this);
    WatchFeedPanes();
    chooseTarget_ = [this]() -> ShareList* {
        CLinkWindowDlg dialog(MainFrameState().activeView, &ViewTitle, &frame_);
        return dialog.Run();
    };
    chooseLink_ = [this](const LinkDialogTexts& texts, bool conflict) {
        CLinkWindowsDlg dialog(texts, conflict, &frame_);
        dialog.SetHelpHandler([this](uint32_t topic) { frame_.WinHelp(topic); });
        return dialog.Run();
    };
}

CWindowCommands::~CWindowCommands()
{
    frame_.SetBeforeCommandHook({});
    RemoveCommandTarget(this);
}

void CWindowCommands::WatchFeedPanes()
{
    CStatusBarEx* bar = frame_.statusBarEx();
    if (!bar || bar->PaneCount() <= kFeedIconPane)
        return;
    for (int pane : {kFeedStatusPane, kFeedLevelPane})
        bar->Pane(pane)->installEventFilter(this);
    SetFeedIcon(0);
}

bool CWindowCommands::UpdateCommand(CommandUi& ui)
{
    if (ui.command == kCommandStatusBarToggle) {
        ui.enabled = true;
        ui.checked = frame_.statusBar() && !frame_.statusBar()->isHidden();
        return true;
    }
    CViewBase* view = MainFrameState().activeView;
    WindowCommandFacts facts;
    facts.activeView = view != nullptr;
    facts.activeKind = view ? view->kind : -1;
    facts.hasCurrentShare = requests_.HasCurrentShare();
    facts.intradayAvailable = RealTimeOptionOn() && facts.hasCurrentShare;
    facts.canLink = CanLinkWindow(view);
    facts.canUnlink = CanUnlinkWindow(view);
    WindowCommandState state = WindowCommandUpdate(ui.command, facts);
    if (!state.handled)
        return false;
    ui.enabled = state.enabled;
    // A new transactions window needs a portfolio as the transactions command does.
    if (ui.command == kCommandNewTransactions)
        ui.enabled = ui.enabled && requests_.TransactionsPortfolioAtHand();
    ui.checked = state.checked;
    return true;
}

bool CWindowCommands::RunCommand(uint32_t command)
{
    if (IsArrangeCommand(command)) {
        ArrangeChildWindows(factory_, command);
        return true;
    }
    if (FindNewWindowCommand(command)) {
        OpenNewWindow(command);
        return true;
    }
    switch (command) {
    case ID_INTERNAL_508: {
        CViewBase* view = MainFrameState().activeView;
        if (!view || !view->list)
            return true;
        // A list that asked for the graph of the whole list passes its graph mode to the chart; a
        // transactions list charts only that (its rows are transactions, not shares to chart).
        const int32_t graphMode = view->portfolioGraphMode;
        if (view->list->family != kFamilyShares && graphMode == 0)
            return true;
        if (CViewBase* shown = requests_.ShowViewKind(kViewDailyChart, MainFrameState().listNumber, 0))
            shown->portfolioGraphMode = graphMode;
        return true;
    }
    case kCommandIntradayGraph:
    case kCommandIntradayGraphMenu: ShowIntradayGraph(false); return true;
    case kCommandIntradayGraphShift:
        ShowIntradayGraph(frame_.keyState().shift || (QGuiApplication::keyboardModifiers() & Qt::ShiftModifier));
        return true;
    case kCommandCloseWindow: CloseActiveWindow(); return true;
    case kCommandCloseAllWindows: factory_.ResetWindows(); return true;
    case kCommandMaximiseWindow: ToggleMaximised(); return true;
    case kCommandNothing: return true;
    case kCommandPostStatusToggle: PostProgramMessage(frame_, WM_COMMAND, kCommandStatusBarToggle); return true;
    case kCommandStatusBarToggle: ToggleStatusBar(); return true;
    case kCommandLinkWindow: OnLinkWindow(); return true;
    case kCommandUnlinkWindow: requests_.UnlinkActiveView(); return true;
    default: return false;
    }
}

void CWindowCommands::OpenNewWindow(uint32_t command)
{
    const NewWindowCommand* c = FindNewWindowCommand(command);
    switch (command) {
    case kCommandNewTransactions: requests_.ShowTransactions(true); return;
    case kCommandNewTradeList:
    case kCommandNewDealings: OpenRequestedWindow(c->kind); return;
    case kCommandNewCash:
        if (!CashAccounts().head) {
            PostProgramMessage(frame_, WM_COMMAND, kCommandCreateCashAccount);
            return;
        }
        break;
    case kCommandNewChosenPortfolio: {
        if (BusyFlag || DataMiningRunBusy)
            return;
        Portfolio* chosen = requests_.ChoosePortfolio();
        if (!chosen)
            return;
        CViewBase* shown = requests_.ShowViewKind(kViewPortfolio, -1, kRequestNewWindow | kRequestFreeSpace);
        if (!shown || !shown->list)
            return;
        SetShareListSource(shown->list, chosen, 0, 0, false, false);
        UpdateViewGroup(shown->list, -1, false, false);
        PostListViewsRefresh(shown->list, false);
        return;
    }
    default: break;
    }
    requests_.ShowViewKind(c->kind, c->listNumber, kRequestNewWindow | kRequestFreeSpace);
}

void CWindowCommands::OpenRequestedWindow(int32_t kind)
{
    ViewRequest request;
    request.kind = kind;
    request.view = MainFrameState().activeView;
    request.flags = kRequestNewWindow | kRequestFreeSpace;
    CViewBase* shown = requests_.OpenViewForRequest(request);
    if (shown && shown->list && kind == kViewDealings) {
        // The options packed from 0x20 (the three-way choice 2), less its display bits 0x20 and 0x40.
        DisplayOptions options;
        options.threeWay = 2;
        shown->list->viewState2 = uint8_t(PackDisplayFlags(options) & ~kDealingsDisplayBits);
    }
    requests_.ActivateRequestedView(shown, request);
}

void CWindowCommands::ShowIntradayGraph(bool newWindow)
{
    if (!requests_.HasCurrentShare())
        return;
    if (newWindow)
        requests_.ShowViewKind(kViewIntradayChart, 1, kRequestNewWindow);
    else
        requests_.ShowViewKind(kViewIntradayChart, MainFrameState().listNumber, 0);
}

void CWindowCommands::CloseActiveWindow()
{
    if (SlideShowRunning) {
        SlideShowRunning = 0;
        QThread::msleep(kSlideShowStopWaitMs);
    }
    CChildWindow* child = CWindowFactory::ChildOf(MainFrameState().activeView);
    if (child)
        QMetaObject::invokeMethod(child, &QWidget::close, Qt::QueuedConnection);
}

void CWindowCommands::ToggleMaximised()
{
    CChildWindow* child = CWindowFactory::ChildOf(MainFrameState().activeView);
    if (!child)
        return;
    if (child->isMaximized())
        child->showNormal();
    else
        child->showMaximized();
}

void CWindowCommands::ToggleStatusBar()
{
    if (QStatusBar* bar = frame_.statusBar())
        bar->setVisible(bar->isHidden());
}

void CWindowCommands::ReshowLinkedView(CViewBase* view, ShareList* target)
{
    int32_t kind = LinkedViewFollowKind(view->kind, LinkedShowKind(target, view), 0);
    if (kind >= 0 && kind != view->kind) {
        requests_.ShowViewKind(kind, -1, kRequestNoFollow, view);
        return;
    }
    PostProgramMessage(*view, WM_COMMAND, ID_REFRESH);
    view->InvalidateWindow();
    if (auto* window = dynamic_cast<CViewBaseWnd*>(view))
        window->UpdateTitle();
}

void CWindowCommands::OnLinkWindow()
{
    CViewBase* active = MainFrameState().activeView;
    if (!active || ShareListCountInChain() < 2)
        return;
    ShareList* source = ViewGroupOf(active);
    ShareList* target = chooseTarget_ ? chooseTarget_() : nullptr;
    // The dialog may have let windows close: the active view must still be the one asked about.
    if (!target || MainFrameState().activeView != active || target == source)
        return;
    int choice = CLinkWindowsDlg::kChoiceBreakLink;
    int32_t sourceCount = GroupViewCount(source);
    if (sourceCount > 1) {
        int32_t targetCount = GroupViewCount(target);
        bool conflict = (GroupLinkConflictMask(source) & GroupLinkConflictMask(target)) != 0;
        FreeUnusedViewGroups();
        const CViewBase* sourceNamed = GroupNamingView(source, active);
        const CViewBase* targetNamed = GroupNamingView(target, active);
        lastTexts_ = MakeLinkDialogTexts(WindowNameFromTitle(ViewTitle(active)),
                                         WindowNameFromTitle(sourceNamed ? ViewTitle(sourceNamed) : std::string()),
                                         WindowNameFromTitle(targetNamed ? ViewTitle(targetNamed) : std::string()),
                                         sourceCount, targetCount, conflict);
        choice = chooseLink_ ? chooseLink_(lastTexts_, conflict) : CLinkWindowsDlg::kChoiceNone;
        if (choice == CLinkWindowsDlg::kChoiceNone)
            return;
    }
    CViewBase* loneDealings = target->views && !target->views->nextInList ? target->views : nullptr;
    if (target->family == kFamilyDealings && source->family != kFamilyDealings && loneDealings &&
        !loneDealings->secondList) {
        LinkViewToGroup(loneDealings, source, source->word);
        PostProgramMessage(*loneDealings, WM_COMMAND, ID_REFRESH);
    } else if (choice == CLinkWindowsDlg::kChoiceLinkTogether) {
        std::vector<CViewBase*> moving;
        for (CViewBase* v = source->views; v; v = v->nextInList)
            moving.push_back(v);
        source->views = nullptr;
        for (CViewBase* v : moving) {
            v->nextInList = nullptr;
            LinkViewToGroup(v, target, target->word);
            ReshowLinkedView(v, target);
        }
    } else {
        requests_.UnlinkActiveView();
        CViewBase* view = MainFrameState().activeView;
        if (view) {
            LinkViewToGroup(view, target, target->word);
            ReshowLinkedView(view, target);
        }
    }
    RetitleGroup(target);
    InvalidateMatchingViews(ShareListChain(), false, -1, -1, 0xFFFFFFFF, nullptr);
}

bool CWindowCommands::OnMessage(uint32_t message, uintptr_t wParam, intptr_t lParam)
{
    switch (message) {
    case MSG_RECALC_BARS:
    case MSG_RECALC_BARS_LATER: frame_.RecalcBars(message == MSG_RECALC_BARS); return true;
    case MSG_FEED_ICON:
        if (RealTimeOptionOn())
            SetFeedIcon(FeedIconIndex(wParam));
        return true;
    case MSG_FEED_STATUS: {
        if (!RealTimeOptionOn() || !frame_.statusBarEx())
            return true;
        int32_t state = CurrentFeedLevels().connectionState;
        std::optional<std::string> text = FeedFailurePaneText(state, TheRTEngine().failure);
        if (!text)
            text = FeedStatusText(state, int32_t(wParam), int32_t(lParam), CurrentFeedStatus());
        if (text)
            frame_.statusBarEx()->SetPaneText(kFeedStatusPane, FromCp1252(*text));
        return true;
    }
    case MSG_INCOMING_MESSAGE: PostProgramMessage(frame_, WM_COMMAND, kCommandIncomingMessage); return true;
    case MSG_DATABASE_CHANGED: OnDatabaseChanged(); return true;
    case MSG_REPAINT_LEVEL_PANE:
        if (CStatusBarEx* bar = frame_.statusBarEx())
            if (QWidget* pane = bar->Pane(kFeedLevelPane))
                pane->update();
        return true;
    // The intraday history check (automatic purge or reminder) runs from the engine's new-day message
    // (shell/FeedClient); nothing posts this one.
    case MSG_CHECK_INTRADAY_HISTORY: return true;
    case MSG_REBUILD_LINE_ALARMS:
        if (const auto& rebuild = steps::UpperStartUpSteps().rebuildLineAlarms)
            rebuild();
        return true;
    default: return false;
    }
}

void CWindowCommands::OnDatabaseChanged()
{
    QApplication::setOverrideCursor(Qt::WaitCursor);
    CViewBase* view = MainFrameState().activeView;
    Portfolio* portfolio = nullptr;
    if (view && view->list) {
        uint32_t id = 0, sub = 0;
        GetViewShare(view->list, &id, &sub);
        view->list->currentId = id;
        view->list->currentSub = sub;
        portfolio = view->list->source;
    }
    UpdateAllViewGroups(-1, false, nullptr, true, false);
    NotifyPortfolioChanged(portfolio);
    InvalidateMatchingViews(ShareListChain(), false, -1, -1, 0xFFFFFFFF, nullptr);
    PostListViewsRefresh(ShareListChain(), false);
    QApplication::restoreOverrideCursor();
}

void CWindowCommands::SetFeedIcon(int index)
{
    CStatusBarEx* bar = frame_.statusBarEx();
    if (auto* label = bar ? qobject_cast<QLabel*>(bar->Pane(kFeedIconPane)) : nullptr)
        label->setPixmap(FeedIcon(index));
}

void CWindowCommands::OnSize(int width, int height)
{
    FrameSizeSteps steps =
        PlanFrameSize(MainFrameSize(), false, frame_.isMinimized(), int32_t(width), int32_t(height));
    if (steps.relayout)
        frame_.RecalcBars(true);
    if (steps.showToolbars) {
        frame_.ShowToolbarsForKind(kAllToolbars, true);
        // Showing the toolbars may ask for a re-layout of its own.
        if (std::exchange(MainFrameSize().relayoutPending, false))
            frame_.RecalcBars(true);
    }
    if (MultipleWindowsOn())
        return;
    // Without multiple windows the one window covers the area.
    if (CChildWindow* first = factory_.Children().empty() ? nullptr : factory_.Children().front())
        first->FitToClient();
}

QMenu* CWindowCommands::BuildWindowMenu()
{
    SoftMenu built = LoadSoftMenu(722, true, 0);
    if (built.entries.empty())
        return nullptr;
    CViewBase* view = MainFrameState().activeView;
    CChildWindow* child = CWindowFactory::ChildOf(view);
    std::vector<SoftMenuEntry> items =
        WindowMenuItems(built.entries.front().items, view ? view->kind : -1, child && child->isMaximized());
    QMenu* menu = CreateSoftQMenu(QStringLiteral("Window"), items, &frame_);
    RunChosenCommandsLater(*menu, this, [this](uint32_t command) { frame_.OnCommand(command); });
    return menu;
}

void CWindowCommands::ShowWindowMenu(const QPoint& globalPos)
{
    QMenu* menu = BuildWindowMenu();
    if (!menu)
        return;
    UpdateMenuCommands(*menu);
    if (!AutoAnswerMessages())
        menu->exec(globalPos);
    menu->deleteLater();
    if (MayPumpMessages())
        QApplication::processEvents(QEventLoop::AllEvents, 10);
}

int CWindowCommands::WaitUntilActive(int milliseconds)
{
    QElapsedTimer clock;
    clock.start();
    while (!frame_.isActiveWindow()) {
        if (clock.elapsed() >= milliseconds)
            return -1;
        QApplication::processEvents();
        DeliverPostedMessages();
        QThread::msleep(kActiveWaitStepMs);
    }
    return 0;
}

void CWindowCommands::CheckSystemAccelerator(uint32_t command)
{
    auto ask = [](const std::string& question) {
        return ShowMessage(question, {}, MsgButtons::YesNo, MsgIcon::Question, 1) == MsgAnswer::Yes;
    };
    // The key dialog is the toolbar code's "Keyboard accelerators" command, unless a test puts its own.
    auto openKeys = openKeysDialog_ ? openKeysDialog_ : [this] { frame_.OnCommand(kCommandKeyboardAccelerators); };
    qv::CheckSystemAccelerator(command, ask, openKeys);
}

bool CWindowCommands::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == &frame_ && event->type() == QEvent::Resize) {
        auto* resize = static_cast<QResizeEvent*>(event);
        OnSize(resize->size().width(), resize->size().height());
    } else if (watched == frame_.mdiArea()->viewport() && event->type() == QEvent::ContextMenu && MultipleWindowsOn()) {
        ShowWindowMenu(static_cast<QContextMenuEvent*>(event)->globalPos());
        return true;
    } else if (event->type() == QEvent::MouseButtonDblClick && RealTimeOptionOn()) {
        CStatusBarEx* bar = frame_.statusBarEx();
        int pane = !bar                                 ? -1
                   : watched == bar->Pane(kFeedLevelPane) ? kFeedLevelPane
                   : watched == bar->Pane(kFeedStatusPane) ? kFeedStatusPane
                                                          : -1;
        if (uint32_t command = StatusPaneDoubleClickCommand(pane, CurrentFeedLevels().connectionState))
            PostProgramMessage(frame_, WM_COMMAND, command);
        if (pane >= 0)
            return true;
    }
    return QObject::eventFilter(watched, event);
}

} // namespace qv
