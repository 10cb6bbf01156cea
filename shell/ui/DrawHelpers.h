// Small drawing and placement helpers shared by windows.
#pragma once

#include <QRect>

class QPainter;
class QWidget;

namespace qv {

// Two 2 x 2 squares at x and x + 4, in the painter's brush.
void DrawDoubleBar(QPainter& painter, int x, int y);

// A rectangle given in screen coordinates, moved into the client coordinates of the window's
// parent and kept inside it: right and bottom cut to the client size, left and top raised to 0.
QRect ClampRectToParent(const QWidget& window, const QRect& screenRect);

} // namespace qv
