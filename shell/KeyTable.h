// The program-wide accelerator key table: a key (the upper-case character, punctuation keys stored
// as their characters) with Shift and Ctrl, giving a command.
#pragma once

#include <cstdint>
#include <vector>

namespace qv {

enum KeyModifier : uint8_t { kModNone = 0, kModShift = 1, kModCtrl = 2, kModBoth = 3 };

// 8 bytes, the same in memory and in "Toolbar.cfg".
struct KeyRecord {
    uint16_t key = 0;
    uint8_t modifiers = 0;
    uint8_t state = 0;     // fixed keys: bit 0 set when a user key overrides it
    uint16_t command = 0;
    uint16_t reserved = 0;
};
static_assert(sizeof(KeyRecord) == 8);

std::vector<KeyRecord>& KeyTable();
// The five keys the program keeps for itself (Ctrl+S, Ctrl+C, Ctrl+P, Ctrl+Z, Ctrl+Y).
const std::vector<KeyRecord>& FixedKeys();
// Appends the default keys; the eight letter and bracket keys only when asked for.
void AddDefaultAccelerators(bool letterKeys);

// The punctuation keys' virtual-key codes turned into their characters; other codes stay.
uint32_t OemKeyToChar(uint32_t key);

// The command of the first record with this key and modifier state, then of a fixed key that no
// user key overrides; 0 for none.
uint16_t FindAcceleratorCommand(uint32_t key, uint8_t modifiers);

} // namespace qv
