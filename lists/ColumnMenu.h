// The list table's context menus: the body or heading menu of a view kind, and the heading menu
// fitted to the column under the cursor (format submenus from menu 771 by the column's menu bits,
// items kept or removed by its kind and code).
#pragma once

#include "lists/ColumnFormatCommands.h"
#include "shell/SoftMenu.h"

#include <cstdint>

namespace qv {

// The body menu of a view kind (kind 2 by portfolio type: 3 gives 626, other typed ones 567); 0 none.
uint32_t ListBodyMenuId(int kind, int portfolioType = 0);
// The heading menu of a view kind; 0 none.
uint32_t ListHeadingMenuId(int kind);
// The family whose menu bits a view kind's columns take.
MenuFamily MenuFamilyOfKind(int kind);

// The popup entries of the heading menu for the column (`arrowAccepted`: the view colours its
// cells up and down, so "Show Up/Down arrow" is offered).
std::vector<SoftMenuEntry> BuildColumnMenu(int kind, const uint8_t* def, bool arrowAccepted);

} // namespace qv
