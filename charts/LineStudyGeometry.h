// The screen geometry every line study shares, and the plain line's figure: its points ordered by
// date, its ends extended to the pane's edges, whether it crosses the pane, and its main segment.
#pragma once

#include "chartmodel/LineObjects.h"

#include <cstdint>

namespace qv {

struct PaneBox {
    int32_t left = 0, top = 0, right = 0, bottom = 0;
};

struct LineStudyFigure {
    ScreenPoint first, second;
    ScreenPoint leftEnd, rightEnd; // the line through the points at the pane's left and right edges
    bool visible = false;          // the extended span crosses the pane
    ScreenPoint from, to;          // the main segment
};

// The points go in date order: true when the first lies later and the two (with a selected part 1 or
// 2) swap.
bool LinePointsSwap(int32_t firstDate, int32_t secondDate);
uint16_t SwappedPart(uint16_t part);
// A line whose later point lies before the first visible bar is not drawn.
inline bool LineBeforeChart(int32_t secondDate, int32_t firstVisibleBar) { return secondDate < firstVisibleBar; }

// Style bit 0 extends to the right edge, bit 1 to the left.
LineStudyFigure ComputeLineStudyFigure(ScreenPoint first, ScreenPoint second, const PaneBox& pane, uint16_t style);

} // namespace qv
