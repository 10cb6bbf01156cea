// Where the cross hairs go over a chart: a vertical line at the mouse x through every pane (inside the
// plot only) and a horizontal line at the mouse y across the pane it lies in.
#pragma once

#include <cstdint>
#include <vector>

namespace qv {

struct GraphPane;

struct CrossHairLine {
    int32_t left = 0, top = 0, right = 0, bottom = 0; // inclusive pixels
};

// The lines for the point; the horizontal one is left out with `verticalOnly` and where the point
// lies in no pane. The caption strip takes neither.
std::vector<CrossHairLine> CrossHairLines(const GraphPane* panes, const int32_t plot[4], int32_t x, int32_t y,
                                          bool verticalOnly);

} // namespace qv
