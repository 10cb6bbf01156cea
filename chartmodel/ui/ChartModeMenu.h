// A chart's popup menu by its number, with the items' states taken from that chart (whichever
// window the frame has active) and the chosen command run on it.
#pragma once

#include <cstdint>

class QPoint;

namespace qv {

class CViewGraphWnd;

inline constexpr uint8_t kPriceEditMenuFlags = 0x11;

void TrackChartMenuFor(CViewGraphWnd& chart, uint32_t menuId, uint8_t flags, const QPoint& global);

} // namespace qv
