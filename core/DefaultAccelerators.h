// The keyboard accelerator record and the program's default keys.
#pragma once

#include <cstdint>
#include <vector>

namespace qv {

constexpr uint8_t kAccelShift = 1;
constexpr uint8_t kAccelCtrl = 2;

// 8 bytes in memory and in the toolbar file: key (the upper-case character), modifiers, state
// flags, command id and two reserved bytes.
struct AcceleratorKey {
    uint16_t key = 0;
    uint8_t modifiers = 0;
    uint8_t state = 0;
    uint16_t command = 0;
    uint16_t reserved = 0;
    bool operator==(const AcceleratorKey&) const = default;
};
static_assert(sizeof(AcceleratorKey) == 8);

// Appends the default keys: the eight basic keys when asked (Ctrl+P, Ctrl+D, Ctrl+B, Ctrl+A, "]",
// "[", Ctrl+Z, Ctrl+Y), then Ctrl+1 to Ctrl+6 and Shift+1 to Shift+6.
void AddDefaultAccelerators(std::vector<AcceleratorKey>& table, bool withBasicKeys);

} // namespace qv
