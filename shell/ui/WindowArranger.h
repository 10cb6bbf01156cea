// The window arrangement carried out on the frame's child windows: the live windows become a chain
// of rectangles, the rules of the arrangement move them, and the windows follow.
#pragma once

#include "shell/WindowArrangement.h"

#include <QRect>

namespace qv {

class CWindowFactory;
class CChildWindow;

// The live child windows, newest first, each tagged with its window.
WindowChain ChildWindowChain(const CWindowFactory& factory);
ScreenRect ClientAreaRect(const CWindowFactory& factory);
// Moves every window of the chain whose rectangle differs from its place.
void MoveChildWindows(const WindowChain& chain);
// One of the four arrange commands over the frame's windows (maximised windows are restored first).
void ArrangeChildWindows(CWindowFactory& factory, uint32_t command);
// Where a new window goes: into free space, or, near a source window, beyond it or in half of it
// (the source window then keeps the other half); else the default place.
QRect PlaceNewWindow(CWindowFactory& factory, CChildWindow* source);

} // namespace qv
