// The event marker's shape: a triangle up or down, a box or a cross, filled or outlined, with its
// letter sized to fit. The chart's markers and the event dialogs' samples draw through it.
#pragma once

#include <cstdint>

class QPainter;
class QRect;

namespace qv {

// An event entry (16 bytes) as the marker reads it: byte 0 the position flags (0 hidden), byte 1 the
// line flags (bit 0 filled), byte 2 the shape (2 triangle up, 3 triangle down, 4 box, 6 cross; any
// other code draws a box), byte 3 the letter (0 none); word 4 the letter's colour, word 8 the fill,
// word 12 the packed pen of the outline.
struct MarkerStyle {
    uint8_t lineFlags = 1;
    uint8_t shape = 4;
    char letter = 0;
    uint32_t letterColour = 0;
    uint32_t fill = 0xFFFFFF;
    uint32_t pen = 0;
};
MarkerStyle MarkerStyleOf(const uint8_t* entry);

// The point size of the letter in the box from the letter's size at 8 points:
// min(((box height + 2) x 8) / letter height + 1, (box width x 8) / letter width).
int MarkerLetterPoints(int boxWidth, int boxHeight, int letterWidth, int letterHeight);

// Draws the marker in the rectangle: the filled path, then the outline, then the letter when its size
// is above 4 points (above 2 for small markers). A cross runs one pixel outside the rectangle when
// flipped, one pixel inside otherwise.
void DrawMarkerBox(QPainter& painter, const QRect& rect, const MarkerStyle& marker, bool small, bool flip);

} // namespace qv
