// The modifier keys held with a key.
#include "views/KeyState.h"

namespace qv {

uint8_t ModifierState(const KeyState& keys)
{
    return uint8_t((keys.shift ? 1 : 0) | (keys.ctrl ? 2 : 0));
}

} // namespace qv
