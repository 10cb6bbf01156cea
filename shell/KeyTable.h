// The program-wide accelerator key table: a key (the upper-case character, punctuation keys stored
// as their characters) with Shift and Ctrl, giving a command; and the keys the program keeps.
#pragma once

#include "core/DefaultAccelerators.h"

#include <cstdint>
#include <vector>

namespace qv {

enum KeyModifier : uint8_t { kModNone = 0, kModShift = kAccelShift, kModCtrl = kAccelCtrl, kModBoth = 3 };

std::vector<AcceleratorKey>& KeyTable();
// The five keys the program keeps for itself (Ctrl+S, Ctrl+C, Ctrl+P, Ctrl+Z, Ctrl+Y).
const std::vector<AcceleratorKey>& FixedKeys();
// The same keys with their state: bit 0 set while a user key overrides the fixed key.
std::vector<AcceleratorKey>& MutableFixedKeys();

// The punctuation keys' virtual-key codes turned into their characters; other codes stay.
uint32_t OemKeyToChar(uint32_t key);

// The command of the first record with this key and modifier state, then of a fixed key that no
// user key overrides; 0 for none.
uint16_t FindAcceleratorCommand(uint32_t key, uint8_t modifiers);

} // namespace qv
