// Where a box or reversal chart sits on the price pane: the first visible column, the lowest visible
// box, the zoom step of the box size, the column and box under a point, and the chart built for a
// price display style from the setting's box fields.
#pragma once

#include "charts/BoxCharts.h"

#include <cstdint>
#include <span>
#include <vector>

namespace qv {

struct GraphSetting;

// An offset still to be worked out from the chart.
constexpr int32_t kBoxAuto = 0x7FFFFFFF;

// The first visible column: the given offset, or with it auto, the chart centred when fewer than
// `fit` columns (last step + 1) fill the area, else its last column at the right edge.
int32_t FitBoxColumns(int32_t lastStep, int32_t fit, int32_t offset);

// The lowest visible box of a chart whose points carry box numbers, `rows` boxes tall, its last
// `columns` columns shown: the given offset, or with it auto, the window of the last points' boxes
// narrowed from the last point back and centred; not below 0 unless `belowZero`.
int32_t FitBoxRows(std::span<const BoxChartPoint> points, int32_t columns, int32_t rows, int32_t offset,
                   bool belowZero);

// The bar-spacing byte zoomed by `delta` steps: the low 4 bits clamped to 0-8, the margin kept.
uint8_t ZoomBoxStep(uint8_t spacingByte, int delta);

// The column and box under (x, y): `firstX` the x of column `firstColumn`'s centre.
struct BoxHit {
    int32_t column = 0;
    int32_t box = 0;
};
BoxHit BoxHitTest(int32_t x, int32_t y, int32_t firstX, int32_t firstColumn, int32_t columnWidth,
                  int32_t bottom, int32_t rowOffset);

// The chart of price display style 5-8 over the days up to endDate, by the setting's box value,
// kind, reversal, box options and line count; `grid` gets the point-and-figure grid (others: empty).
std::vector<BoxChartPoint> BuildBoxChart(std::span<const DayRecord> days, const GraphSetting& setting, int style,
                                         int32_t endDate, BoxGrid& grid);

// The box number of a point as a brick count of styles 7 and 8 (Renko's steps, line break's lines).
inline bool BoxIndexedRows(int style) { return style == 5 || style == 7; }

} // namespace qv
