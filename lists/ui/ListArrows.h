// The up, same and down arrows of list cells: button images from masks, laid in the arrow's colour
// over the cell's.
#pragma once

#include <cstdint>

class QPainter;
class QRect;

namespace qv {

// Draws an up (1), down (-1) or same (any other) arrow filling the rectangle, on the background.
void DrawListArrow(QPainter& painter, const QRect& rect, int arrow, uint32_t colour, uint32_t back);

} // namespace qv
