// Qt menus from built soft menus: every command action carries its command id as data and takes its
// enabled and checked state from the command routing each time its menu opens.
#pragma once

#include "shell/SoftMenu.h"

#include <QString>
#include <cstdint>
#include <functional>

class QAction;
class QMenu;
class QMenuBar;
class QWidget;

namespace qv {

// A popup menu holding the entries (a bar's popups become sub-menus).
QMenu* CreateSoftQMenu(const QString& title, const std::vector<SoftMenuEntry>& entries, QWidget* parent);
QMenu* CreateSoftQMenu(const SoftMenuEntry& popup, QWidget* parent);
// The items of a registered popup menu for a window that runs them itself: each action carries its
// command, and a chosen one's command goes to `run`. No command routing sets their states; the
// caller does.
QMenu* CreateOwnSoftQMenu(uint32_t menuId, QWidget* parent, std::function<void(uint32_t command)> run);
// The popup of a registered menu as it goes into a menu-bar slot, built with the stored options and
// the program's keys.
QMenu* CreateBarPopupMenu(uint32_t menuId, QWidget* parent);
// Replaces the bar's menus with the built menu's popups.
void FillSoftMenuBar(QMenuBar& bar, const SoftMenu& menu);

// The command id an action carries, 0 for none.
uint32_t ActionCommand(const QAction* action);
// Sets the menu's command actions (not its sub-menus) from the command routing.
void UpdateMenuCommands(QMenu& menu);

} // namespace qv
