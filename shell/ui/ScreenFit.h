// Keeping a window that grows while shown inside its screen's available area.
#pragma once

#include <QPoint>
#include <QRect>

class QWidget;

namespace qv {

// Where a frame goes to lie inside the area: moved up and left only as far as needed; a frame larger
// than the area keeps its top-left corner on the area's.
QPoint KeptInside(const QRect& frame, const QRect& area);
// Moves a visible top-level window (its frame) back inside the available area of its screen.
void KeepOnScreen(QWidget& window);

} // namespace qv
