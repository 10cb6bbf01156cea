// The window factory: every data window of the main frame is made here from a layout's window
// record, and whole layouts are laid out, captured, switched, saved and restored.
#pragma once

#include "shell/LayoutWindow.h"

#include <QPointer>
#include <functional>
#include <map>
#include <vector>

namespace qv {

struct ShareList;
class CMainFrame;
class CChildWindow;
class CViewBase;
class CViewBaseWnd;
struct CommandUi;

class CWindowFactory {
public:
    // Installs itself as the frame's handler of the layout commands and of closing child windows.
    explicit CWindowFactory(CMainFrame& frame);
    ~CWindowFactory();
    CWindowFactory(const CWindowFactory&) = delete;
    CWindowFactory& operator=(const CWindowFactory&) = delete;

    // Creates one window from a record (in the given child window, else a new one); null when the
    // record names group 0.
    CViewBaseWnd* CreateViewWindow(const LayoutWindow& record, CChildWindow* child, bool activate);
    void CreateLayoutWindows();
    void SaveCurrentLayout();
    // Switches to a layout; -1 re-lays the default.
    void SelectLayout(int index);
    void ApplyLayout(int32_t portfolioNumber);
    void CloseAllWindows();
    void ResetWindows();
    // Empties the twelve user layouts and the single-window layout's records.
    void ClearLayoutTable();

    bool OnCommand(uint32_t command);
    // The state of the layout commands' menu items: the current layout carries the check mark.
    bool UpdateCommand(CommandUi& ui) const;
    bool OnMessage(uint32_t message, uintptr_t wParam, intptr_t lParam);

    // The live child windows, newest first.
    std::vector<CChildWindow*> Children() const;
    AreaRect ClientArea() const;
    // The default layouts made before the frame first showed were built for the area it was
    // expected to have, which its bars and the window manager change as it shows: as the area
    // settles they are built again for it, and the windows made from the current one move there,
    // until the user opens, closes, moves or sizes a window or the layout is captured.
    void FitDefaultLayoutsToArea();
    // The record a child window was made from, updated when the layout is captured.
    LayoutWindow RecordOf(const CChildWindow* child) const;

    // The child window that holds a view, or null.
    static CChildWindow* ChildOf(const CViewBase* view);
    // Puts a new child window at the head of the chain; the view requests use it.
    void AddChild(CChildWindow* child, const LayoutWindow& record);

private:
    void PumpOnce();
    LayoutWindow SaveViewToLayoutRecord(CViewBase* view, bool isActive, bool isFirst);
    void AttachToGroups(CViewBase* view, const LayoutWindow& record);
    void ApplyKindState(CViewBase* view, const LayoutWindow& record);

    CMainFrame& frame_;
    std::vector<QPointer<CChildWindow>> children_;
    std::map<const CChildWindow*, LayoutWindow> records_;
    std::map<CViewBase*, int32_t> pendingLinks_;
    // The slots given default layouts by the last laying-out before the frame showed, and the
    // area they were built for.
    std::vector<int> defaultSlots_;
    AreaRect defaultArea_;
    size_t defaultWindows_ = 0; // the windows made from the current one
    QPointer<QObject> resizeWatcher_;
};

// A one-share window restored with a data-mining filter as the provider of its list first runs that
// filter (its 1-based position, 0 for the current filter) into the list; the data-mining code
// installs the run. Returns the run it replaces.
using RestoredFilterRun = std::function<void(ShareList* list, uint32_t filterPosition)>;
RestoredFilterRun SetRestoredFilterRun(RestoredFilterRun run);

// The window records of a layout slot, decoded, and written back.
std::vector<LayoutWindow> LayoutSlotWindows(int slot);
void SetLayoutSlotWindows(int slot, const std::vector<LayoutWindow>& windows);

} // namespace qv
