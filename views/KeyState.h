// The modifier keys held with a key, as the frame's key rules and the views read them.
#pragma once

#include <cstdint>

namespace qv {

struct KeyState {
    bool ctrl = false;
    bool shift = false;
    bool rightAlt = false;
};

// 0, 1 with Shift, 2 with Ctrl, 3 with both.
uint8_t ModifierState(const KeyState& keys);

} // namespace qv
