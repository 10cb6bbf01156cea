// The user toolbars on the main frame: carries out the toolbar set's layout with docked bars and
// floating tool windows, keeps the buttons' states current, shows the toolbar context menu and runs
// the toolbar and key commands (designer, defaults, sizes, colour, keys, show/hide, new, delete).
#pragma once

#include "views/CommandUpdate.h"

#include <QObject>
#include <QPoint>
#include <QPointer>
#include <map>
#include <vector>

class QMainWindow;
class QMenu;
class QTimer;
class QWidget;

namespace qv {

class CCustomToolBar;
class CToolbarButtons;

class CToolbarHost : public QObject, public CommandTarget {
public:
    explicit CToolbarHost(QMainWindow& frame);
    ~CToolbarHost() override;

    // Lays the toolbars of the active view kind out again: all of them when forced, else only when
    // their shown state disagrees with the kind.
    void Layout(bool force);
    void ShowForKind(int32_t viewKind);
    // Reads "Toolbar.cfg" again (trading the main bars), drops unavailable buttons, lays out.
    void ReloadToolbars();
    void RefreshButtons();
    // Whether a layout is running (the frame does not recalculate its bars meanwhile).
    static bool Locked();

    bool UpdateCommand(CommandUi& ui) override;
    bool RunCommand(uint32_t command) override;

    // The bars made by the last layout, docked and floating.
    std::vector<CToolbarButtons*> Bars() const;
    std::vector<CCustomToolBar*> DockedBars() const { return docked_; }
    std::vector<QWidget*> FloatingWindows() const;

    // The toolbar context menu over a button of the bar (-1: no button), pruned by that button.
    QMenu* BuildContextMenu(CToolbarButtons& bar, int button);

    // The code of the button the toolbar context menu was last opened over, -1 for none.
    int contextButtonCode() const { return menuButtonCode_; }

    // The frame's host, while one exists.
    static CToolbarHost* Instance();

protected:
    // A frame resized lays the bars out again once the resizing has settled.
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void ClearBars();
    // A docked bar the user dragged to another side takes its toolbar there.
    void FollowMovedBars();
    void ShowContextMenu(CToolbarButtons& bar, int button, const QPoint& globalPos);
    void SetButtonSize(uint8_t size);
    void RunDesigner();
    void NewToolbar();
    void DeleteToolbar();
    void DefaultToolbars();
    void ChooseColour();
    void EditKeys();
    void SetTargetPortfolio();

    QMainWindow& frame_;
    std::vector<CCustomToolBar*> docked_;
    std::vector<QPointer<QWidget>> floating_;
    std::map<const void*, QPoint> floatingPlaces_;
    QTimer* timer_;
    QTimer* resized_;
    int32_t viewKind_ = -1;
    int menuButtonCode_ = -1;
    int menuButtonEntry_ = -1;
};

} // namespace qv
