// Finding, checking, greying and deleting entries of a built menu by command id, with the tidying of
// separators, and the text listing of a built menu.
#pragma once

#include "shell/SoftMenu.h"

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace qv {

// Called with the menu that holds the entry and the entry's position in it.
using MenuEntryAction = std::function<void(std::vector<SoftMenuEntry>& menu, size_t position)>;

// Whether `command` occurs in the menu or its sub-menus. `itemAction` gets every entry of the
// command; `popupAction` every popup entry, at any level, that contains it. Entries are visited from
// the last to the first, so an action may delete the entry it is given.
bool FindMenuItem(std::vector<SoftMenuEntry>& menu, uint32_t command, const MenuEntryAction& popupAction,
                  const MenuEntryAction& itemAction);

// Checks (kMenuChecked) or unchecks every popup entry that contains the command.
void CheckMenuItemById(std::vector<SoftMenuEntry>& menu, uint32_t command, uint32_t checkFlags);
// Greys (kMenuGrayed) or enables every popup entry that contains the command.
void EnableMenuItemById(std::vector<SoftMenuEntry>& menu, uint32_t command, uint32_t enableFlags);
// Deletes every popup entry that contains the command.
void DeleteSubMenuContaining(std::vector<SoftMenuEntry>& menu, uint32_t command);
// Deletes the command wherever it is.
void DeleteMenuItemById(std::vector<SoftMenuEntry>& menu, uint32_t command);
// Deletes one entry and the separator its going would leave at an end or doubled.
void DeleteMenuItemAndSeparator(std::vector<SoftMenuEntry>& menu, size_t position);

// One line per entry, indented by level: "text = id" for a command (a tab shown as "\t", bytes
// above 127 as "\xNN"), "text:" for a popup, "--------" for a separator, with " [greyed]" and
// " [checked]" marks.
std::string DumpSoftMenu(const SoftMenu& menu);

} // namespace qv
