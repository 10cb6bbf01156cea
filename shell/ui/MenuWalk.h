// Walks the frame's menus as a user opens them: each popup announces it is about to show (which
// refreshes its items from the command routing) before its items and sub-menus are read.
#pragma once

#include <QString>
#include <cstdint>
#include <vector>

class QAction;
class QMenuBar;

namespace qv {

struct MenuCommandItem {
    QAction* action = nullptr;
    uint32_t command = 0;
    QString path; // "&View > &All", for messages
    std::vector<QAction*> popups; // the popups opened to reach the item, from the bar's down
};

// Every command item of the bar's menus, in menu order, each menu refreshed as it opens.
std::vector<MenuCommandItem> OpenMenusAsUser(QMenuBar& bar);

// Chooses the item as a user does with the mouse: the bar's popup opened, then each sub-menu, and
// a click on the item. The command runs once the menus have returned to the event loop. False when
// a popup did not open or the item is greyed.
bool ChooseWithMouse(QMenuBar& bar, const MenuCommandItem& item);

} // namespace qv
