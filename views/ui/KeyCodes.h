// Qt key events in the terms of the frame's key rules: the virtual-key code the rules and the key
// table use, the modifier keys, and the character a key types for the find-a-share search.
#pragma once

#include "views/KeyState.h"

#include <cstdint>

class QKeyEvent;

namespace qv {

// 0 for keys the rules do not know.
uint32_t WindowsKeyCode(const QKeyEvent& event);
KeyState KeyStateOf(const QKeyEvent& event);
// A letter or digit typed, else 0.
uint32_t FindShareCharacter(const QKeyEvent& event);

} // namespace qv
