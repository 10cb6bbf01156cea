// Rules of the key editor: assigning a key to a command keeps the table free of duplicates both
// ways and never gives away a fixed key; which keys the key field takes; and the key texts that
// menu items show, read back into keys.
#pragma once

#include "core/DefaultAccelerators.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace qv {

enum class SetKeyResult { NoKey, FixedKey, Set };

// Sets key + modifiers for command: refused for no key and for a fixed key's pair; else the
// command's own record and any record of the same pair go, and the new record is appended.
SetKeyResult AssignKey(std::vector<AcceleratorKey>& table, uint16_t command, uint16_t key, uint8_t modifiers);
// Removes the command's record; false when it had none.
bool ClearKey(std::vector<AcceleratorKey>& table, uint16_t command);
// The record of the command, or null.
const AcceleratorKey* KeyOfCommand(const std::vector<AcceleratorKey>& table, uint16_t command);
// The command holding the pair, in the table first and then among the fixed keys; 0 for none.
uint16_t KeyHolder(const std::vector<AcceleratorKey>& table, uint16_t key, uint8_t modifiers);

// The key field refuses numeric-pad keys, F1-F12, comma, full stop, slash and backslash, any key
// with Shift and Ctrl together, and letters or digits without a modifier.
bool KeyFieldRefuses(uint32_t virtualKey, bool shift, bool ctrl);

// A key text as the editor lists it: "Ctrl + " / "Shift + " and the key (223 as "`").
std::string KeyText(const AcceleratorKey& key);

// A menu item's shortcut text ("F5", "Shift+F11", "Shift+Ctrl+F5", "Ctrl+P", "]") as a virtual
// key (letters and digits upper case, punctuation as its character) and modifiers.
struct ShortcutKey {
    uint32_t key = 0;
    uint8_t modifiers = 0;
    bool operator==(const ShortcutKey&) const = default;
};
std::optional<ShortcutKey> ParseShortcutText(std::string_view text);

} // namespace qv
