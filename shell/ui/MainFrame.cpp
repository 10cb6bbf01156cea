// Main frame window.
#include "shell/ui/MainFrame.h"

#include "core/ConfigRecords.h"
#include "core/ConfigState.h"
#include "core/Portfolio.h"
#include "core/RegistrySettings.h"
#include "core/ShareList.h"
#include "platform/qt/PaintScope.h"
#include "platform/qt/QtText.h"
#include "resources/MessageIds.h"
#include "shell/BrowserCheck.h"
#include "shell/HelpTopics.h"
#include "shell/KeyEditing.h"
#include "shell/KeyRouting.h"
#include "shell/KeyTable.h"
#include "shell/MenuBarPlan.h"
#include "shell/ProgressText.h"
#include "shell/SoftMenu.h"
#include "shell/WindowLinking.h"
#include "shell/ui/ContextHelpMode.h"
#include "shell/ui/MenuBarBuilder.h"
#include "shell/ui/MenuGuard.h"
#include "shell/ui/SoftMenuQt.h"
#include "shell/ui/StatusBarEx.h"
#include "shell/ui/ToolbarHost.h"
#include "views/ViewKinds.h"
#include "views/ui/KeyCodes.h"
#include "views/ui/ViewBaseWindow.h"
#include "views/ui/ViewClassRegistry.h"

#include <QAbstractEventDispatcher>
#include <QApplication>
#include <QIcon>
#include <QPixmap>
#include <QCloseEvent>
#include <QElapsedTimer>
#include <QKeyEvent>
#include <QLayout>
#include <QLabel>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMenuBar>
#include <QVBoxLayout>
#include <utility>

namespace qv {
namespace {

constexpr uint32_t kCommandExit = 57665;
constexpr uint32_t kCommandHelpTopics = 57667;
constexpr uint32_t kCommandContextHelp = 57669;
constexpr uint32_t kVirtualKeyF1 = 0x70;
constexpr uint32_t kAllToolbars = 15;
constexpr uint32_t kMessageActiveViewWindow = WM_USER + 89;

ToolbarsLockedFn toolbarsLocked = &CToolbarHost::Locked;

uint32_t TickCount()
{
    static QElapsedTimer clock = [] {
        QElapsedTimer t;
        t.start();
        return t;
    }();
    return uint32_t(clock.elapsed());
}

// The normal rectangle of the window is kept as "WinCoord" for the next start.
void StorePlacement(const QMainWindow& window)
{
    WindowPlacement placement;
    QRect r = window.normalGeometry();
    placement.showCommand = window.isMaximized() ? 3 : 1;
    placement.normalLeft = r.left();
    placement.normalTop = r.top();
    placement.normalRight = r.right() + 1;
    placement.normalBottom = r.bottom() + 1;
    WindowCoordinates(true, placement);
    SaveDebugAndEmailSettings();
}

CViewBase* ViewOf(QMdiSubWindow* window)
{
    return window ? dynamic_cast<CViewBase*>(window->widget()) : nullptr;
}

ShareList* ListNumbered(int32_t number, int32_t family)
{
    for (ShareList* l = ShareListChain(); l; l = l->next)
        if (l->number == number && l->family == family)
            return l;
    return nullptr;
}

// While a child window is maximised the multiple-document area titles the frame "FRAME - [CHILD]";
// the child's own copy of the program's name is taken out of it.
class FrameTitleFilter : public QObject {
public:
    using QObject::QObject;
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        auto* widget = qobject_cast<QWidget*>(watched);
        if (event->type() != QEvent::WindowTitleChange || !widget)
            return false;
        const std::string title = widget->windowTitle().toStdString();
        const std::string shorter = MaximisedFrameTitle(title);
        if (shorter != title)
            widget->setWindowTitle(QString::fromStdString(shorter));
        return false;
    }
};

} // namespace

CMainFrame::CMainFrame(QWidget* parent) : QMainWindow(parent), mdi_(new QMdiArea(this))
{
    setWindowTitle(QStringLiteral("Quorvantis"));
    setMenuBar(new CGuardedMenuBar(this));
    setCentralWidget(mdi_);
    setMinimumSize(640, 480);
    resize(1024, 720);
    MainFrameTarget() = this;
    MainFrameHooks() = this;
    AddCommandTarget(this);
    // Keys typed in the empty client area go to the frame's key handling.
    mdi_->installEventFilter(this);
    mdi_->viewport()->installEventFilter(this);
    connect(mdi_, &QMdiArea::subWindowActivated, this, &CMainFrame::OnSubWindowActivated);
    // A command chosen from the menus runs once the menu has closed and returned to the event loop:
    // it may run a dialog's modal loop, or replace the menus it was chosen from.
    connect(menuBar(), &QMenuBar::triggered, this, [this](QAction* action) {
        if (uint32_t command = ActionCommand(action))
            QMetaObject::invokeMethod(this, [this, command] { OnCommand(command); }, Qt::QueuedConnection);
    });
    if (QAbstractEventDispatcher* dispatcher = QAbstractEventDispatcher::instance(thread()))
        connect(dispatcher, &QAbstractEventDispatcher::aboutToBlock, this,
                [this] { FollowCurrentPortfolioInCaptions(); });
    new CContextHelpMode([this](uint32_t request) { WinHelp(request); }, this);
    installEventFilter(new FrameTitleFilter(this));
    toolbars_ = new CToolbarHost(*this);
    CreateBars(true);
    RebuildMenuBar();
    // The new-features topic opened at creation is a context request, not the user's: with no help
    // file to open it is noted and not shown.
    WinHelp(kHelpNewFeatures, false);
}

CMainFrame::~CMainFrame()
{
    // The child windows go first, while the frame's state is still there for them to leave. None is
    // activated as those before it go: at the exit the lists and share data a view reads are gone.
    disconnect(mdi_, &QMdiArea::subWindowActivated, this, &CMainFrame::OnSubWindowActivated);
    for (QMdiSubWindow* sub : mdi_->subWindowList())
        delete sub;
    if (MainFrameTarget() == this)
        MainFrameTarget() = nullptr;
    if (MainFrameHooks() == this)
        MainFrameHooks() = nullptr;
    MainFrameState() = FrameState{};
}

bool CMainFrame::CreateBars(bool createStatusBar)
{
    BuildMainMenuBar(*menuBar(), infoCentreShown_);
    slots_.clear();
    if (!createStatusBar)
        return true;
    status_ = new CStatusBarEx(this);
    setStatusBar(status_);
    // With the real-time option the feed has its state text, level and icon panes.
    bool realTime = Config().optionsA.data()[OptionBlockA::kRealTimeOption] != 0;
    if (!(realTime ? status_->SetPanes({0, 1, 2, 3, 4, 5, 6}, {200, 165, 130, 190, 160, 60, 24})
                   : status_->SetPanes({0, 1, 2, 3}, {200, 165, 130, 190})))
        return false;
    status_->SetPaneText(0, QString::fromLatin1(kIdlePromptReady));
    ShowToolbarsForKind(kAllToolbars, true);
    RecalcBars(false); // locked toolbars keep their places; that is no failure
    return true;
}

void CMainFrame::ShowToolbarsForKind(uint32_t, bool)
{
    if (barsNotYetDocked_) {
        setDockOptions(dockOptions() | QMainWindow::AllowNestedDocks);
        barsNotYetDocked_ = false;
    }
    if (toolbars_)
        toolbars_->ShowForKind(MainFrameState().activeKind);
}

void CMainFrame::FollowCurrentPortfolioInCaptions()
{
    // Runs on every idle: the current portfolio and what its caption is made of are compared as they
    // stand, and a caption is built only when one of them changed (another portfolio, a renumbering,
    // a rename). No single notice covers every path that selects, renames or drops it.
    const ShareList* current = CurrentShareList();
    const Portfolio* source = current ? current->source : nullptr;
    if (source == captionPortfolio_ &&
        (!source || (source->number == captionNumber_ && source->name.str() == captionName_)))
        return;
    captionPortfolio_ = source;
    captionNumber_ = source ? source->number : 0;
    captionName_ = source ? source->name.str() : std::string();
    // A window showing a portfolio of its own names that one; its refreshes retitle it.
    for (QMdiSubWindow* sub : mdi_->subWindowList())
        if (auto* view = dynamic_cast<CViewBaseWnd*>(sub->widget()); view && view->list && !view->list->source)
            view->UpdateTitle();
}

void CMainFrame::RefreshToolbars()
{
    if (toolbars_)
        toolbars_->ShowForKind(MainFrameState().activeKind);
}

bool CMainFrame::RecalcBars(bool force)
{
    if (!force && toolbarsLocked && toolbarsLocked())
        return false;
    ShowToolbarsForKind(kAllToolbars, true);
    if (QLayout* frameLayout = layout())
        frameLayout->activate();
    if (QMdiSubWindow* first = mdi_->subWindowList().value(0, nullptr))
        first->update();
    return true;
}

void SetToolbarsLockedQuery(ToolbarsLockedFn query) { toolbarsLocked = query; }

void CMainFrame::ReloadMainMenu()
{
    mainMenuReloadPending_ = true;
    RebuildMenuBar();
}

QMenu* CMainFrame::SlotMenu(int slot) const
{
    QAction* action = slots_.value(slot, nullptr);
    return action ? action->menu() : nullptr;
}

QStringList CMainFrame::MenuTitles() const
{
    QStringList titles;
    for (QAction* action : menuBar()->actions())
        titles << action->text();
    return titles;
}

void CMainFrame::SetSlot(int slot, QMenu* menu, int position)
{
    QList<QAction*> bar = menuBar()->actions();
    QAction* before = position < bar.size() ? bar[position] : nullptr;
    slots_[slot] = before ? menuBar()->insertMenu(before, menu) : menuBar()->addMenu(menu);
}

void CMainFrame::RebuildMenuBar()
{
    // A menu that is open or handling an event may still be returned into: the menus are replaced
    // once none is, as they stand then.
    if (MenusInUse()) {
        if (!std::exchange(menuRebuildPending_, true))
            WhenMenusIdle(this, [this] {
                if (menuRebuildPending_)
                    RebuildMenuBar();
            });
        return;
    }
    menuRebuildPending_ = false;
    if (std::exchange(mainMenuReloadPending_, false))
        CreateBars(false);
    ReplaceViewMenus();
}

void CMainFrame::ReplaceViewMenus()
{
    const FrameState& state = MainFrameState();
    int32_t kind = state.activeKind;
    const Portfolio* portfolio = state.activeView && state.activeView->list ? state.activeView->list->source : nullptr;
    int32_t portfolioKind = portfolio ? portfolio->type : 0;
    const CViewBase* view = state.activeView;
    MenuBarPlan plan = PlanMenuBar(kind, portfolioKind, view && HasParentLink(*view));
    for (int slot : {kViewMenuSlot, kTablesMenuSlot, kPortfolioMenuSlot}) {
        if (QAction* action = slots_.take(slot)) {
            QMenu* menu = action->menu();
            menuBar()->removeAction(action);
            // Deleted later: the rebuild can run while Qt walks the frame's children. No menu is in
            // use, and this one is out of the bar, so nothing can return into it meanwhile.
            menu->deleteLater();
        }
    }
    if (plan.viewMenu)
        SetSlot(kViewMenuSlot, BuildViewMenu(plan.viewMenu, kind, this), kViewMenuPosition);
    if (plan.tablesMenu && kind >= 0)
        SetSlot(kTablesMenuSlot, BuildTablesMenu(kind, this), kTablesMenuPosition);
    if (plan.portfolioMenu)
        SetSlot(kPortfolioMenuSlot, BuildViewMenu(kGeneralPortfolioMenu, kind, this), kPortfolioMenuPosition);
    menuBar()->update();
}

void CMainFrame::CheckBrowserVersion(const std::optional<std::string>& version, bool infoCentreReady)
{
    infoCentreReady_ = infoCentreReady;
    bool show = ShowInfoCentreItem(BrowserVersionUsable(version), infoCentreReady);
    if (show == infoCentreShown_)
        return;
    infoCentreShown_ = show;
    ReloadMainMenu();
}

uint32_t CMainFrame::WinHelp(uint32_t data, bool show)
{
    uint32_t topic = MapHelpRequest(data, MainFrameState().activeKind);
    lastHelpText_ = FromCp1252(HelpTopicText(topic));
    if (!show)
        return topic;
    // Until there is a help viewer, a small window says which topic was asked for.
    if (!helpWindow_) {
        helpWindow_ = new QWidget(this, Qt::Tool);
        helpWindow_->setWindowTitle(QStringLiteral("Quorvantis Help"));
        helpText_ = new QLabel(helpWindow_);
        auto* layout = new QVBoxLayout(helpWindow_);
        layout->addWidget(helpText_);
    }
    helpText_->setText(lastHelpText_);
    helpWindow_->show();
    return topic;
}

bool CMainFrame::helpShown() const { return helpWindow_ && helpWindow_->isVisible(); }

void CMainFrame::ShowProgress(const QString& text, int step, bool force)
{
    if (!status_)
        return;
    std::optional<std::string> shown =
        MainProgressText().Show(ToCp1252(text), step, force, TickCount());
    if (!shown)
        return;
    status_->SetPaneText(0, FromCp1252(*shown));
    if (PaintScope::Active())
        status_->update();
    else
        status_->repaint();
}

intptr_t CMainFrame::OnDeferredViewRequest(int32_t kind, int32_t listNumber)
{
    ShowViewKind(kind, listNumber);
    return 1;
}

CViewBaseWnd* CMainFrame::ShowViewKind(int32_t kind, int32_t listNumber)
{
    if (DeferViewRequestWhileBusy(kind, listNumber))
        return nullptr;
    int32_t family = GetViewKindFamily(kind);
    if (family < 0)
        return nullptr;
    return OpenViewBaseWindow(*this, kind, ListNumbered(listNumber, family));
}

intptr_t CMainFrame::onProgramMessage(uint32_t message, uintptr_t wParam, intptr_t lParam)
{
    for (const MessageHandler& handler : messageHandlers_)
        if (handler(message, wParam, lParam))
            return 0;
    switch (message) {
    case WM_CLOSE: close(); return 0;
    case WM_COMMAND: OnCommand(uint32_t(wParam & 0xFFFF)); return 0;
    case MSG_VIEW_REQUEST_DEFERRED: return OnDeferredViewRequest(int32_t(wParam), int32_t(lParam));
    case kMessageActiveViewWindow: {
        // The active view's window, as the message target that reaches it.
        CViewBase* view = MainFrameState().activeView;
        return view ? intptr_t(view->targetId()) : 0;
    }
    default: return 0;
    }
}

bool CMainFrame::UpdateOwnCommand(CommandUi& ui) const
{
    switch (ui.command) {
    case kCommandExit:
    case kCommandHelpTopics:
    case kCommandContextHelp: ui.enabled = true; return true;
    default: return false;
    }
}

bool CMainFrame::RunOwnCommand(uint32_t command)
{
    switch (command) {
    case kCommandExit: close(); return true;
    case kCommandHelpTopics: WinHelp(kHelpFrameRequest); return true;
    case kCommandContextHelp: findChild<CContextHelpMode*>(QString(), Qt::FindDirectChildrenOnly)->Enter(); return true;
    default: return false;
    }
}

bool CMainFrame::UpdateCommand(CommandUi& ui)
{
    const CViewBase* view = MainFrameState().activeView;
    if (view && view->UpdateCommandUi(ui))
        return true;
    if (UpdateOwnCommand(ui))
        return true;
    for (const HandlerEntry& handler : commandHandlers_)
        if (handler.update && handler.update(ui))
            return true;
    return false;
}

bool CMainFrame::RunCommand(uint32_t command)
{
    // The active view has the first chance at a command, then the frame, then its handlers.
    CViewBase* view = MainFrameState().activeView;
    if (view && SendProgramMessage(*view, WM_COMMAND, command) != 0)
        return true;
    if (RunOwnCommand(command))
        return true;
    for (const HandlerEntry& handler : commandHandlers_)
        if (handler.run(command))
            return true;
    return false;
}

void CMainFrame::OnCommand(uint32_t command)
{
    if (beforeCommand_)
        beforeCommand_(command);
    // The frame is one of the command targets; the application's own handlers come last.
    if (RouteCommand(command))
        return;
    commands_.push_back(command);
}

void CMainFrame::OnSubWindowActivated(QMdiSubWindow* window)
{
    for (QMdiSubWindow* sub : mdi_->subWindowList())
        if (CViewBase* view = ViewOf(sub))
            view->active = sub == window;
    // The panes that show a view's texts start empty for the new view, never another's.
    for (int pane = 1; pane <= 3; ++pane)
        status_->SetPaneText(pane, QString());
    CViewBase* view = ViewOf(window);
    if (view) {
        view->OnSetFocus();
        return;
    }
    NoteViewFocusLost(nullptr);
    RebuildMenuBar();
}

bool CMainFrame::HandleViewKey(uint32_t key)
{
    if (key == kVirtualKeyF1) {
        WinHelp(kHelpFrameRequest);
        return true;
    }
    if (RouteViewKey(
            key, keys_, [this](uint32_t k) { return FindShareFromKey(k); },
            [this](uint32_t command) { PostProgramMessage(*this, WM_COMMAND, command); }))
        return true;
    // Keys the menu tables show beside their items and no key table binds. A letter or digit typed
    // alone is never one: it starts the find-a-share search with itself.
    const bool plainCharacter = ModifierState(keys_) == 0 && ((key >= 'A' && key <= 'Z') || (key >= '0' && key <= '9'));
    if (plainCharacter)
        return false;
    uint32_t command = MenuKeyCommand(key >= 128 ? OemKeyToChar(key) : key, ModifierState(keys_));
    if (command == 0)
        return false;
    PostProgramMessage(*this, WM_COMMAND, command);
    return true;
}

namespace {

uint32_t FindMenuKey(const QMenu& menu, const ShortcutKey& wanted)
{
    for (QAction* action : menu.actions()) {
        if (action->menu()) {
            if (uint32_t command = FindMenuKey(*action->menu(), wanted))
                return command;
            continue;
        }
        QString text = action->text();
        qsizetype tab = text.indexOf(QLatin1Char('\t'));
        if (tab < 0)
            continue;
        for (const QString& part : text.mid(tab + 1).split(QStringLiteral(" or "))) {
            std::optional<ShortcutKey> shown = ParseShortcutText(part.toStdString());
            if (shown && *shown == wanted) {
                // Items that show one key for the same work run the command the key belongs to.
                uint32_t command = SoftMenuAcceleratorAlias(action->data().toUInt());
                return command && QueryCommandUi(command).enabled ? command : 0;
            }
        }
    }
    return 0;
}

} // namespace

uint32_t CMainFrame::MenuKeyCommand(uint32_t key, uint8_t modifiers) const
{
    ShortcutKey wanted{key, modifiers};
    // The active view's own menus first: where they show a key the general menus show too, the
    // view's meaning holds.
    for (QAction* slot : slots_)
        if (slot->menu())
            if (uint32_t command = FindMenuKey(*slot->menu(), wanted))
                return command;
    for (QAction* action : menuBar()->actions())
        if (action->menu())
            if (uint32_t command = FindMenuKey(*action->menu(), wanted))
                return command;
    return 0;
}

bool CMainFrame::OpenFindShare()
{
    CViewBase* view = MainFrameState().activeView;
    return CarryOutFindShare(view, PlanFindShare(0, KeyState{}, view, false), 0, [this] { Beep(); });
}

bool CMainFrame::FindShareFromKey(uint32_t character)
{
    CViewBase* view = MainFrameState().activeView;
    FindSharePlan plan = PlanFindShare(character, keys_, view, false);
    return CarryOutFindShare(view, plan, character, [this] { Beep(); });
}

void CMainFrame::Beep()
{
    ++beeps_;
    QApplication::beep();
}

bool CMainFrame::RouteKeyEvent(QKeyEvent* event)
{
    keys_ = KeyStateOf(*event);
    uint32_t key = WindowsKeyCode(*event);
    uint32_t character = FindShareCharacter(*event);
    bool used = (key != 0 && HandleViewKey(key)) || (character != 0 && FindShareFromKey(character));
    // The modifiers belong to this key alone: a command chosen later from a menu sees none.
    keys_ = KeyState{};
    return used;
}

void CMainFrame::keyPressEvent(QKeyEvent* event)
{
    // With a view active the view routes its own keys.
    if (!MainFrameState().activeView && RouteKeyEvent(event))
        return;
    QMainWindow::keyPressEvent(event);
}

bool CMainFrame::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::KeyPress && (watched == mdi_ || watched == mdi_->viewport()))
        if (RouteKeyEvent(static_cast<QKeyEvent*>(event)))
            return true;
    return QMainWindow::eventFilter(watched, event);
}

void CMainFrame::closeEvent(QCloseEvent* event)
{
    switch (DecideClose()) {
    case CloseDecision::Beep:
        Beep();
        event->ignore();
        return;
    case CloseDecision::Repost: event->ignore(); return;
    case CloseDecision::Close: break;
    }
    if (SlideShowRunning) {
        SlideShowRunning = 0;
        MainFrameState().activeView = nullptr;
    }
    if (helpWindow_)
        helpWindow_->close();
    StorePlacement(*this);
    event->accept();
}

void RecolourBitmap(QImage& bitmap, int64_t from, QRgb to)
{
    if (bitmap.isNull())
        return;
    if (bitmap.format() != QImage::Format_ARGB32 && bitmap.format() != QImage::Format_RGB32)
        bitmap = bitmap.convertToFormat(QImage::Format_ARGB32);
    QRgb match = from == kTopLeftColour ? bitmap.pixel(0, 0) : QRgb(from);
    for (int y = 0; y < bitmap.height(); ++y) {
        auto* line = reinterpret_cast<QRgb*>(bitmap.scanLine(y));
        for (int x = 0; x < bitmap.width(); ++x)
            if ((line[x] & 0xFFFFFF) == (match & 0xFFFFFF))
                line[x] = (line[x] & 0xFF000000) | (to & 0xFFFFFF);
    }
}

CViewBase* GetActiveChildView(const CMainFrame& frame) { return ViewOf(frame.mdiArea()->activeSubWindow()); }

CViewBaseWnd* OpenViewBaseWindow(CMainFrame& frame, int32_t kind, ShareList* list)
{
    auto* view = CreateViewWindowForKind(kind);
    view->list = list;
    view->AttachListSource(GetViewKindFamily(kind), list ? list->source : nullptr, 0);
    QMdiSubWindow* sub = frame.mdiArea()->addSubWindow(view);
    sub->setAttribute(Qt::WA_DeleteOnClose);
    sub->setProperty("serial", ++MainFrameState().windowCounter);
    QPixmap noIcon(16, 16);
    noIcon.fill(Qt::transparent);
    sub->setWindowIcon(QIcon(noIcon));
    RetitleGroup(view->secondList ? view->secondList : view->list);
    sub->resize(360, 220);
    sub->show();
    frame.mdiArea()->setActiveSubWindow(sub);
    return view;
}

} // namespace qv
