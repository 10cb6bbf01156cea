// The main frame: one multiple-document window that holds every child window of the program, with
// the status bar, the menu bar swapped by the active view kind, the keys typed in views or the empty
// client area, help, the progress text and the close and view requests put off while busy.
#pragma once

#include "platform/MessageDispatch.h"
#include "views/CommandUpdate.h"
#include "views/FrameState.h"

#include <QImage>
#include <QMainWindow>
#include <QMap>
#include <functional>
#include <optional>
#include <string>
#include <vector>

class QMdiArea;
class QMdiSubWindow;
class QMenu;
class QAction;
class QLabel;

namespace qv {

class CStatusBarEx;
class CViewBase;
class CViewBaseWnd;
struct ShareList;
struct Portfolio;
class CToolbarHost;

class CMainFrame : public QMainWindow, public MessageTarget, public FrameHooks, public CommandTarget {
    Q_OBJECT
public:
    explicit CMainFrame(QWidget* parent = nullptr);
    ~CMainFrame() override;

    QMdiArea* mdiArea() const { return mdi_; }
    CStatusBarEx* statusBarEx() const { return status_; }

    // Program messages: WM_CLOSE, WM_COMMAND and the deferred view request 0x434.
    intptr_t onProgramMessage(uint32_t message, uintptr_t wParam, intptr_t lParam) override;

    // CommandTarget: the commands the frame routes, in one order for running and for the menus'
    // state: the active view first, then the frame's own commands, then its command handlers.
    bool UpdateCommand(CommandUi& ui) override;
    bool RunCommand(uint32_t command) override;

    // FrameHooks.
    void RebuildMenuBar() override;
    void RefreshToolbars() override;
    bool HandleViewKey(uint32_t key) override;
    bool FindShareFromKey(uint32_t character) override;
    // Tools > Find: the search with no typed character, whatever keys were last held.
    bool OpenFindShare();
    void NoteKeyState(const KeyState& keys) override { keys_ = keys; }
    void Beep() override;

    bool CreateBars(bool createStatusBar);
    // Shows the toolbars of the mask that belong to the active view kind; the first call enables
    // docking on every side.
    void ShowToolbarsForKind(uint32_t mask, bool show);
    // Lays the bars out again; unless forced, nothing happens while the toolbars are locked.
    bool RecalcBars(bool force);
    bool barsNotYetDocked() const { return barsNotYetDocked_; }
    // The main menu built afresh with the view menus (once no menu is in use: see RebuildMenuBar).
    void ReloadMainMenu();
    // The help request mapped to its topic and, when asked, shown; returns the topic.
    uint32_t WinHelp(uint32_t data, bool show = true);
    bool helpShown() const;
    void ShowProgress(const QString& text, int step, bool force);
    // Replays a view request that was put off while busy.
    intptr_t OnDeferredViewRequest(int32_t kind, int32_t listNumber);
    // Shows a view of the kind for the list numbered listNumber (a new list when none has it) in a
    // new child window; put off while busy.
    CViewBaseWnd* ShowViewKind(int32_t kind, int32_t listNumber);

    // Shows the "&InfoCentre" item (command 27130) with a usable browser and a ready InfoCentre,
    // and removes it otherwise. The browser's version is read by the InfoCentre code.
    void CheckBrowserVersion(const std::optional<std::string>& version, bool infoCentreReady);
    // The InfoCentre store's two ready flags, as last reported.
    bool InfoCentreReady() const { return infoCentreReady_; }
    // Routes a command as the menus and keys do: the frame's routing, then the application's.
    void OnCommand(uint32_t command);

    // Handlers of commands the frame's own code does not know (window layouts, view requests...),
    // asked after the active view; and of program messages, asked first. True when handled. A
    // handler's update answers, for the commands it runs, the state their menu items show; a
    // command it runs without answering for it stays grey.
    using CommandHandler = std::function<bool(uint32_t command)>;
    using CommandUpdater = std::function<bool(CommandUi& ui)>;
    using MessageHandler = std::function<bool(uint32_t message, uintptr_t wParam, intptr_t lParam)>;
    void AddCommandHandler(CommandHandler handler, CommandUpdater update = {})
    {
        commandHandlers_.push_back({std::move(handler), std::move(update)});
    }
    void AddMessageHandler(MessageHandler handler) { messageHandlers_.push_back(std::move(handler)); }
    // Before the objects that installed handlers go (the program's exit): the frame asks none of
    // them again, whatever it still does while it closes.
    void RemoveHandlers()
    {
        commandHandlers_.clear();
        messageHandlers_.clear();
        beforeCommand_ = nullptr;
    }
    // Called with every command before it is routed (the system accelerator check).
    void SetBeforeCommandHook(std::function<void(uint32_t command)> hook) { beforeCommand_ = std::move(hook); }
    const KeyState& keyState() const { return keys_; }
    // The user toolbars on the frame.
    CToolbarHost* toolbars() const { return toolbars_; }
    // Windows whose list shows no portfolio of its own name the current portfolio in their
    // captions: when that name has changed since the last call, they are retitled. Called when the
    // event loop has run out of work, so what a command leaves in passing is never shown.
    void FollowCurrentPortfolioInCaptions();
    // The enabled command of the menu bar item whose shown key is key + modifiers, or 0.
    uint32_t MenuKeyCommand(uint32_t key, uint8_t modifiers) const;

    // The menu in a menu-bar slot (5, 6, 7), or null.
    QMenu* SlotMenu(int slot) const;
    QStringList MenuTitles() const;
    // The commands the frame received and did not handle itself, in order.
    const QList<uint32_t>& commands() const { return commands_; }
    QString lastHelpText() const { return lastHelpText_; }
    int beeps() const { return beeps_; }

protected:
    void closeEvent(QCloseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void OnSubWindowActivated(QMdiSubWindow* window);
    void SetSlot(int slot, QMenu* menu, int position);
    bool RouteKeyEvent(QKeyEvent* event);
    void ReplaceViewMenus();

    QMdiArea* mdi_;
    CStatusBarEx* status_ = nullptr;
    CToolbarHost* toolbars_ = nullptr;
    QMap<int, QAction*> slots_;
    bool infoCentreShown_ = false;
    bool infoCentreReady_ = false;
    // Rebuilds asked for while a menu is in use wait until none is (shell/ui/MenuGuard.h).
    bool menuRebuildPending_ = false;
    bool mainMenuReloadPending_ = false;
    QWidget* helpWindow_ = nullptr;
    QLabel* helpText_ = nullptr;
    KeyState keys_;
    bool barsNotYetDocked_ = true;
    QList<uint32_t> commands_;
    bool RunOwnCommand(uint32_t command);
    bool UpdateOwnCommand(CommandUi& ui) const;

    struct HandlerEntry {
        CommandHandler run;
        CommandUpdater update;
    };
    std::vector<HandlerEntry> commandHandlers_;
    std::vector<MessageHandler> messageHandlers_;
    std::function<void(uint32_t)> beforeCommand_;
    QString lastHelpText_;
    int beeps_ = 0;
    // The current portfolio the captions were last made with (null: none selected), with the number
    // and name its caption was made from: checked on every idle, so without building a caption.
    const Portfolio* captionPortfolio_ = nullptr;
    uint16_t captionNumber_ = 0;
    std::string captionName_;
};

// Whether the user toolbars are locked; the toolbar code answers once it exists.
using ToolbarsLockedFn = bool (*)();
void SetToolbarsLockedQuery(ToolbarsLockedFn query);

// Replaces in place every pixel of the colour from (the top-left pixel's colour when from is -1) by
// the colour to.
constexpr int64_t kTopLeftColour = -1;
void RecolourBitmap(QImage& bitmap, int64_t from, QRgb to);

// The active view of the frame's active child window, or null.
CViewBase* GetActiveChildView(const CMainFrame& frame);

// Puts a view window of the kind in a new child window of the frame.
CViewBaseWnd* OpenViewBaseWindow(CMainFrame& frame, int32_t kind, ShareList* list);

} // namespace qv
