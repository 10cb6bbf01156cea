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
};

// Every command item of the bar's menus, in menu order, each menu refreshed as it opens.
std::vector<MenuCommandItem> OpenMenusAsUser(QMenuBar& bar);

} // namespace qv
