// The frame's window commands and its own messages: new windows of every kind, closing, maximising,
// arranging and linking windows, the status-bar toggle; the private messages 0x442-0x459, the feed
// panes and their double-clicks, sizing, the window menu on the client area, waiting until the
// frame is active, and the system accelerator check before commands.
#pragma once

#include "shell/WindowLinking.h"
#include "views/CommandUpdate.h"

#include <QObject>
#include <QPoint>
#include <functional>

class QMenu;

namespace qv {

class CMainFrame;
class CWindowFactory;
class CViewRequests;
struct ShareList;

class CWindowCommands : public QObject, public CommandTarget {
    Q_OBJECT
public:
    // Installs itself on the frame: a command target, a message handler, the check before every
    // command, and the watches on the frame's size, client area and feed panes.
    CWindowCommands(CMainFrame& frame, CWindowFactory& factory, CViewRequests& requests);
    ~CWindowCommands() override;

    bool UpdateCommand(CommandUi& ui) override;
    bool RunCommand(uint32_t command) override;
    bool OnMessage(uint32_t message, uintptr_t wParam, intptr_t lParam);

    void OnLinkWindow();
    void OnSize(int width, int height);
    // The window menu for the active window, as the client area's context menu shows it.
    QMenu* BuildWindowMenu();
    void ShowWindowMenu(const QPoint& globalPos);
    // Pumps messages until the frame is the active window or the time has passed: 0 when active.
    int WaitUntilActive(int milliseconds);
    void CheckSystemAccelerator(uint32_t command);

    // The dialogs, replaceable for tests: the target chooser (null on Cancel), the link choice
    // (-1 on Cancel), the yes/no question of the accelerator check, and the keys dialog.
    using TargetChooser = std::function<ShareList*()>;
    using LinkChooser = std::function<int(const LinkDialogTexts& texts, bool conflict)>;
    void SetTargetChooser(TargetChooser chooser) { chooseTarget_ = std::move(chooser); }
    void SetLinkChooser(LinkChooser chooser) { chooseLink_ = std::move(chooser); }
    void SetKeysDialog(std::function<void()> open) { openKeysDialog_ = std::move(open); }

    // The texts the last link dialog showed.
    const LinkDialogTexts& lastLinkTexts() const { return lastTexts_; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void OpenNewWindow(uint32_t command);
    void OpenRequestedWindow(int32_t kind);
    void ShowIntradayGraph(bool newWindow);
    void CloseActiveWindow();
    void ToggleMaximised();
    void ToggleStatusBar();
    void ReshowLinkedView(CViewBase* view, ShareList* target);
    void OnDatabaseChanged();
    void SetFeedIcon(int index);
    void WatchFeedPanes();

    CMainFrame& frame_;
    CWindowFactory& factory_;
    CViewRequests& requests_;
    TargetChooser chooseTarget_;
    LinkChooser chooseLink_;
    std::function<void()> openKeysDialog_;
    LinkDialogTexts lastTexts_;
};

// Whether the real-time option is on.
bool RealTimeOptionOn();

} // namespace qv
