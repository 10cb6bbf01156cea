// Menus built at run time from the menu tables: the menu model, the builder with its conditions,
// mode masks and includes, and the shortcut texts taken from the accelerator table.
#pragma once

#include "core/DefaultAccelerators.h"
#include "shell/SoftMenuItem.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace qv {

// One entry of a built menu: a command, a separator or a popup with its own entries. `flags` are
// the platform's menu flags (popup, separator, greyed, checked).
struct SoftMenuEntry {
    uint32_t flags = 0;
    uint32_t command = 0;
    std::string text; // Windows-1252
    std::vector<SoftMenuEntry> items;

    bool isPopup() const { return flags & kMenuPopup; }
    bool isSeparator() const { return flags & kMenuSeparator; }
    bool operator==(const SoftMenuEntry&) const = default;
};

// A built menu: a menu bar (its entries are the bar's popups) or a popup menu.
struct SoftMenu {
    bool popup = true;
    std::vector<SoftMenuEntry> entries;
    bool operator==(const SoftMenu&) const = default;
};

// What a build depends on besides the tables.
struct SoftMenuContext {
    bool realTime = false;
    bool multipleWindows = false;
    // The keys whose texts the items show; null or empty: the tables' own shortcut texts.
    const std::vector<AcceleratorKey>* keys = nullptr;
};

// The condition state word: 2 with the real-time option else 1, 4 with the multiple-windows
// option else 8, and 16.
uint8_t SoftMenuConditionState(bool realTime, bool multipleWindows);
// Whether a record's condition groups match the state word.
bool SoftMenuConditionsMatch(uint8_t control, uint8_t state);

// Builds the registered menu `menuId` for the caller's mode mask. An unregistered id gives an empty
// menu, and so does an include of one.
SoftMenu BuildSoftMenu(uint32_t menuId, bool popup, uint8_t mask, const SoftMenuContext& context);

// The program's keys for menus; the frame sets it to the key table once that is loaded.
void SetSoftMenuKeyTable(const std::vector<AcceleratorKey>* keys);
// The options of the loaded configuration and the program's keys.
SoftMenuContext CurrentSoftMenuContext();
// Builds with the current context.
SoftMenu LoadSoftMenu(uint32_t menuId, bool popup, uint8_t mask);

// The text an item shows: its label, and after a tab the key assigned to the command (through the
// alias table), else its own shortcut text when it has one.
std::string SoftMenuItemText(std::string_view tableText, uint32_t command, const std::vector<AcceleratorKey>* keys);
// The command whose key an item of `command` shows.
uint32_t SoftMenuAcceleratorAlias(uint32_t command);

// Inserts one command (text treated as by the builder) at `position` (at the end when past it).
void InsertSoftMenuItem(std::vector<SoftMenuEntry>& menu, size_t position, uint32_t flags, uint32_t command,
                        std::string_view text, const std::vector<AcceleratorKey>* keys);

} // namespace qv
