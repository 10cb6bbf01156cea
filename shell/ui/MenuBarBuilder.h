// Builds the menus the frame puts in its menu bar: the main menu (300) and each view kind's menu from
// the menu tables, and the tables-and-settings popup.
#pragma once

#include <QString>
#include <cstdint>

class QMenu;
class QMenuBar;
class QWidget;

namespace qv {

// Every menu action carries its command id as data; the frame routes triggered actions by it.
// With the multiple-windows option the View popup starts with the twelve window layouts; the
// "&InfoCentre" command is there only when `showInfoCentre`.
void BuildMainMenuBar(QMenuBar& bar, bool showInfoCentre);
QMenu* BuildViewMenu(uint32_t menuId, int32_t kind, QWidget* parent);
QMenu* BuildTablesMenu(int32_t kind, QWidget* parent);

} // namespace qv
