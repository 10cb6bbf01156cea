// Small drawing and placement helpers shared by windows.
#pragma once

#include <QRect>

class QPainter;
class QWidget;

namespace qv {

// Two 2 x 2 squares at x and x + 4, in the painter's brush.
void DrawDoubleBar(QPainter& painter, int x, int y);

// A raised button edge: black along the right and bottom, 0x808080 inside it, and a light line
// along the top and left (with closeCorner the light lines meet at the top-left corner).
void Draw3DFrame(QPainter& painter, int left, int top, int right, int bottom, bool closeCorner);
// The same edge sunken: the light line on the right and bottom, black and 0x808080 inside the top
// and left.
void DrawSunkenFrame(QPainter& painter, int left, int top, int right, int bottom);

// A rectangle given in screen coordinates, moved into the client coordinates of the window's
// parent and kept inside it: right and bottom cut to the client size, left and top raised to 0.
QRect ClampRectToParent(const QWidget& window, const QRect& screenRect);

} // namespace qv
