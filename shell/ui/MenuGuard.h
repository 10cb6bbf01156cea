// The program's menus and when they may be replaced. A menu that is open, or handling an event, may
// still be returned into (by a nested event loop that runs a dialog, by a signal that is still being
// emitted): menus are taken out of the bar, or deleted, only while none is.
#pragma once

#include <QMenu>
#include <QMenuBar>
#include <functional>

namespace qv {

// A popup menu that notes while it handles an event.
class CGuardedMenu : public QMenu {
public:
    using QMenu::QMenu;

protected:
    bool event(QEvent* event) override;
};

// The frame's menu bar, noting the same.
class CGuardedMenuBar : public QMenuBar {
public:
    using QMenuBar::QMenuBar;

protected:
    bool event(QEvent* event) override;
};

// Whether a popup is open or one of the program's menus is handling an event.
bool MenusInUse();

// Runs the work now when no menu is in use, else from the event loop once none is (the work is
// dropped with the context).
void WhenMenusIdle(QObject* context, std::function<void()> work);

// Connects the menu's items to run their commands from the event loop, after the menu has closed
// and returned: a command may start a modal loop, close the menu's window or rebuild the menus.
void RunChosenCommandsLater(QMenu& menu, QObject* context, std::function<void(uint32_t command)> run);

} // namespace qv
