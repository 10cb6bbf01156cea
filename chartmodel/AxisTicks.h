// The ticks of a chart's value axis at three levels (ticks, labels, grid lines), the printf format of
// its labels and the width of its widest label.
#pragma once

#include <cstdint>
#include <functional>
#include <string>

namespace qv {

struct TickLevel {
    int32_t count = 0;
    int32_t ratio = 0;   // level-1 steps in one step of this level
    int32_t offset = 0;  // level-1 steps from the first level-1 tick to the first tick of this level
    float step = 0;
    float first = 0;     // the highest tick value
};

struct AxisTickInput {
    int32_t height = 0;        // the pane's height in pixels
    int32_t tickSpacing = 1;   // 2/3 of the text height
    int32_t labelSpacing = 1;  // 3/2 of the text height
    int maxDecimals = 0;
    int gridDensity = 0;       // 0-3
    double low = 0;
    double high = 0;
    double offset = 0;         // added to every label value
    std::string suffix;
};

using TextWidthFn = std::function<int32_t(const std::string&)>;

// Fills the three levels and the label format; returns the width of the widest label ("9.9" when
// the pane is too low for ticks, the range empty or its top above 1e12).
int32_t ComputeAxisTicks(const AxisTickInput& in, std::string& format, TickLevel levels[3],
                         const TextWidthFn& textWidth);

// A label value printed with the axis format ("%d" prints the whole part).
std::string FormatAxisLabel(const std::string& format, double value, const std::string& suffix);

} // namespace qv
