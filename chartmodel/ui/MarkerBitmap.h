// The 24 x 16 alarm-bell marker of a line study that carries an alarm.
#pragma once

#include <cstdint>

class QPainter;

namespace qv {

// Draws the bell centred on (x, y): the silhouette in the fill colour, then the outline in the
// outline colour; white pixels of both pictures leave the target as it was. The ringing bell has
// sound strokes at its sides.
void DrawMarkerBitmap(QPainter& painter, int x, int y, uint32_t outline, uint32_t fill, bool ringing);

} // namespace qv
