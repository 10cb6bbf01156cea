// The numbered tables and settings of every view kind as the frame's commands see them: their names,
// the menu texts of Setting 1-12, the configuration selectors of save and restore, the rename and
// copy rules and the update rule of the setting commands.
#pragma once

#include "core/ConfigState.h"

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace qv {

struct AcceleratorKey;
struct SoftMenuEntry;

constexpr uint32_t kCommandFirstSetting = 20500;
constexpr uint32_t kCommandLastSetting = 20511;
constexpr uint32_t kCommandToggleDataMiningMode = 616;
constexpr uint32_t kCommandSaveTable = 20400, kCommandSaveTransactionTable = 26025, kCommandSaveSetting = 26021;
constexpr uint32_t kCommandSaveAll = 20406, kCommandSaveAllSettings = 26020;
constexpr uint32_t kCommandRestoreTable = 20402, kCommandRestoreAll = 20407;
constexpr uint32_t kCommandRestoreTransactionTable = 26026, kCommandRestoreAllTransaction = 26028;
constexpr uint32_t kCommandRestoreSetting = 26023, kCommandRestoreAllSettings = 26022;
constexpr uint32_t kCommandRenameSetting = 509, kCommandRenameTable = 20404, kCommandRenameTransactionTable = 510;
constexpr uint32_t kCommandCopyTable = 20405, kCommandCopySetting = 26024, kCommandCopyTransactionTable = 26027;

// Which configuration a view has: its kind, the trade-list sub-kind of its list and whether the
// data-mining view shows its graph.
struct ConfigKind {
    int32_t kind = 1;
    int32_t tradeSubKind = 0;
    bool dataMiningGraph = false;
};

class CViewBase;

// The configuration kind of a view (the list tables without one), and the number of the setting or
// table it shows (-1 without a view).
ConfigKind ConfigKindOfView(const CViewBase* view);
int32_t ConfigNumberOfView(const CViewBase* view);

// Graph and ticker settings (kinds 0, 9, 11, and 6 in graph mode) against tables.
bool IsSettingKind(const ConfigKind& kind);

// The popup's rename command (509, 20404, 510) and its save-and-restore menu (417, 416, 418).
uint32_t RenameCommandOf(const ConfigKind& kind);
uint32_t SaveRestoreMenuOf(const ConfigKind& kind);

// The name slot of configuration `number` (0-11) of the kind, null outside 0-11. Kinds 1, 2, 3 and
// any unknown kind use the list tables.
std::optional<std::string>* ConfigurationName(ConfigState& state, const ConfigKind& kind, int32_t number);

// The name of configuration `number` of the kind ("Setting n" when it has none).
std::string SettingName(const ConfigState& state, const ConfigKind& kind, int32_t number);

// "Name \tF3" with every "&" doubled; a key of the table for command 20500 + number replaces the
// function-key text after the tab ("Ctrl+", "Shift+" and the key's character).
std::string FormatSettingMenuText(const ConfigState& state, const ConfigKind& kind, int32_t number,
                                  const std::vector<AcceleratorKey>& keys);

// The family bit that single-slot saves and restores of the kind's table or setting carry; 0 when
// the kind has none (a trade list of an unknown sub-kind, a setting command on a table kind).
// Transaction tables carry 0x4000 only when asked (the restore command); the table save of 20400
// counts them with the list tables.
uint32_t TableFamilyBit(const ConfigKind& kind, bool transactionsOwnFamily);
uint32_t SettingFamilyBit(const ConfigKind& kind);

// Protected configurations of the applied special edition: its list table (kinds 1 and 2) and its
// two daily graph settings may not be copied.
bool IsProtectedConfiguration(const ConfigState& state, const ConfigKind& kind, int32_t number);
inline constexpr const char* kProtectedCopyMessage = "Ludrin Ossery's settings may not be copied to another setting.";

// Copies configuration `from` of the kind onto `to` under the new name: a table's sort byte and
// column layout, a setting's record. False (nothing copied) onto itself or outside 0-11.
bool CopyConfiguration(ConfigState& state, const ConfigKind& kind, int32_t from, int32_t to, const std::string& name);

// The tables-and-settings popup of the kind: its title, Setting 1-12 with their names, the rename
// item, the "Save and Restore" submenu and, for data mining, the item that switches table and graph.
SoftMenuEntry BuildTablesPopup(const ConfigState& state, const ConfigKind& kind, const std::vector<AcceleratorKey>& keys);

// The update rule of Setting 1-12.
struct SettingFacts {
    bool hasView = false;
    int32_t kind = -1;
    bool hasList = false;
    bool training = false;
    int32_t current = -1; // the view's configuration number
};
struct SettingUi {
    bool enabled = false;
    std::optional<bool> checked;
};
SettingUi SettingCommandState(const SettingFacts& facts, int32_t number);

} // namespace qv
