// What the daily chart works out from its graph setting each time it is attached to its share: the
// chart kind flags of the price display style and the horizontal bar spacing.
#pragma once

#include <cstdint>

namespace qv {

struct GraphSetting;

// Chart kind flags.
constexpr uint32_t kChartPointFigure = 1;
constexpr uint32_t kChartBoxAxis = 2;      // x axis by box instead of by date
constexpr uint32_t kChartReversal = 4;     // Kagi, Renko, 3-line break

// Box option bit that draws the reversal charts against dates.
constexpr uint16_t kBoxOptionDatedReversal = 2;

// Styles below 6: 3 for point and figure (5), else 0; reversal styles: 4, plus 2 unless they are
// drawn against dates.
uint32_t ChartKindFlags(int style, bool boxesOnTimeAxis);

struct BarSpacing {
    int32_t step = 1;
    int32_t margin = 0;
};
// From the bar-spacing byte: the margin is the high nibble, the width of the low nibble's step
// (2, 4 .. 18; steps above 8 take 18), both times the smaller print scale, rounded half up; the
// step is the width plus both margins.
BarSpacing ComputeBarSpacing(uint8_t spacingByte, float scaleX, float scaleY);

struct EodAttachState {
    uint32_t kindFlags = 0;
    BarSpacing spacing;
    bool volumeShown = false;  // volume bars or the volume signal line
};
EodAttachState ComputeAttachState(const GraphSetting& setting, float scaleX, float scaleY);

} // namespace qv
