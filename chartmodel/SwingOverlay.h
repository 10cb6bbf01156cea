// The swing chart over the daily price pane: its dots, order marks, swing and Manhattan lines as plot
// elements of the price series, and the trend regions shaded behind the bars.
#pragma once

#include "chartmodel/SwingChart.h"

#include <cstdint>
#include <functional>
#include <vector>

namespace qv {

struct FoldedBar;
struct GraphSeries;
struct GraphSetting;

// The bar that holds the day: the first bar whose last day is not before it; -1 when the day lies
// before the first bar or after the last.
int32_t BarOfDay(const std::vector<FoldedBar>& bars, int32_t day);

// Adds the elements the swing block's flags ask for over the events that fall in the bars; the
// elements' items hold the x of the event's bar.
void AddSwingOverlay(GraphSeries* series, const GraphSetting& setting, const SwingChart& chart,
                     const std::vector<FoldedBar>& bars, const std::function<int32_t(int32_t bar)>& barX);

// A trend region: from the bar of a trend change to the bar of the next one (the last bar when none),
// in the up or down region's colour.
struct SwingShade {
    int32_t firstBar = 0;
    int32_t lastBar = 0;
    uint32_t colour = 0;
};
// The regions that the flags shade (bit 16 up, bit 17 down), each clipped to the bars; a region that
// began before the first bar starts there.
std::vector<SwingShade> SwingShading(const GraphSetting& setting, const SwingChart& chart,
                                     const std::vector<FoldedBar>& bars);

} // namespace qv
