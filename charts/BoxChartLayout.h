// Where a box or reversal chart sits on the price pane: the first visible column, the lowest visible
// box, the zoom step of the box size, the column and box under a point, and the chart built for a
// price display style from the setting's box fields.
#pragma once

#include "charts/BoxCharts.h"

#include <array>
#include <cstdint>
#include <functional>
#include <span>
#include <string>
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

// The point of `column` that holds `box`: with `byBox` (points that carry box numbers) the one whose
// boxes, from the point before it (not included) to its own, reach it; else the column's last point.
// Null when there is none.
const BoxChartPoint* FindBoxChartPoint(std::span<const BoxChartPoint> points, int32_t column, int32_t box,
                                       bool byBox);

// The step index of the first point whose last date is not before `date`; 0 when there is none.
int32_t StepIndexAtDate(std::span<const BoxChartPoint> points, int32_t date);

// The steps that a pane laid out by dates spans: those of its first and last shown dates, put at
// its left and right edge (never the same step at both).
struct StepSpan {
    int32_t firstStep = 0;
    int32_t lastStep = 1;
    int32_t left = 0;
    int32_t right = 0;
    int32_t XOf(int32_t step) const;
};
StepSpan BoxChartTimeScale(std::span<const BoxChartPoint> points, int32_t firstDate, int32_t lastDate, int32_t left,
                           int32_t right);

// The highest volume of a step in view, the volumes of a step's points added: by step index from
// `firstStep` to `lastStep` (point and figure), or else by date, the points that end after `firstDay`
// up to the first that starts after `lastDay`. 0 when none is in view.
struct BoxViewWindow {
    bool byStep = true;
    int32_t firstStep = 0, lastStep = 0;
    int32_t firstDay = 0, lastDay = 0;
};
float BoxVolumeHigh(std::span<const BoxChartPoint> points, const BoxViewWindow& window);

// The offsets after a drag of the pointer from `start` to `now`, from the offsets saved at its start.
// Each x is held within [left - 1, right + 2] and each y within [top - 1, bottom + 2] first. The box
// offset stays at 0 or above unless `belowZero`; when it is held at 0, the drag's start row moves to
// the pointer, so that dragging back up moves at once.
struct BoxDrag {
    int32_t startX = 0, startY = 0;
    int32_t savedColumn = 0, savedRow = 0;
};
struct BoxDragArea {
    int32_t left = 0, right = 0, top = 0, bottom = 0;
    int32_t columnWidth = 1;
    bool belowZero = false;
};
BoxHit DragBoxes(BoxDrag& drag, int32_t x, int32_t y, const BoxDragArea& area);

// A label of the banded price axis at row y; `bound` for a band's lower bound.
struct BoxAxisLabel {
    float value = 0;
    int32_t y = 0;
    bool bound = false;
};
// The labels of a banded grid (variable and volatility boxes) on a pane whose bottom row holds box
// `lowRow`, `columnWidth` pixels a box: every band's lower bound within the pane, and between them
// every k-th box from the bound up, k = max(1, 2 x text height / column width), the labels at least
// half a text height inside the pane. Top down.
std::vector<BoxAxisLabel> BoxPriceAxisLabels(const BoxGrid& grid, int32_t lowRow, int32_t columnWidth, int32_t top,
                                             int32_t bottom, int32_t textHeight);
// The y of the centre of box `box`, held within [top, bottom].
int32_t BoxValueToY(int32_t box, int32_t lowRow, int32_t columnWidth, int32_t top, int32_t bottom);

// The box grid's rows: a line at every box edge from the pane's bottom (the edges of the boxes whose
// centres BoxValueToY gives) to its top.
std::vector<int32_t> BoxGridRows(int32_t columnWidth, int32_t top, int32_t bottom);

// The texts under a box chart's columns, from the (first date, x) of each shown column: a change of
// year gives "'%02i ", a change of month alone the month's abbreviation. A label closer than `gap`
// pixels to the one before it is left out, unless it names a year and that one only a month, which it
// then takes the place of. The two ends' full dates are BoxChartEndDates.
struct BoxDateLabel {
    int32_t x = 0;
    std::string text;
    bool year = false;
};
std::vector<BoxDateLabel> BoxChartDateLabels(std::span<const std::pair<uint16_t, int32_t>> columns, int32_t gap = 0);
// "%i/%i/%02i" of the first shown column's first day and the last shown column's last day.
std::array<std::string, 2> BoxChartEndDates(std::span<const BoxChartPoint> shown);

// The readout of a pick on a point-and-figure chart, from the box clicked (column, box) to the box
// under the pointer: within one column "%d %s%s" (its boxes, "X" or "O", "'s" from 2 on), across a
// turn "1 %s + %d %s%s" (the first column's letter, then the boxes of the last column up to the
// pointer's); with the first column's first price and the last column's last price as "%s, %s - %s".
// Empty when a column holds no point.
struct BoxPick {
    int32_t column = 0;
    int32_t box = 0;
};
std::string DescribePointFigurePick(std::span<const BoxChartPoint> points, BoxPick from, BoxPick to,
                                    const std::function<std::string(float)>& price);
// "Box value, %s - %s": the low and high of the box.
std::string DescribeBoxValue(const BoxGrid& grid, int32_t box, const std::function<std::string(float)>& price);

// The labels of a drawing object on a box chart. "%+.2f p.col": the price change of a two-point
// object per column, "vertical" with both ends in one column.
std::string FormatBoxSlopeText(int32_t column1, float price1, int32_t column2, float price2);
// "Anchor date " and the first day of the column's first point with its day name; empty when no
// point stands in the column.
std::string FormatAnchorDateText(std::span<const BoxChartPoint> points, int32_t column);
// "%s value %0.1f": the column's first day and the value; on point and figure (a `grid` given) the
// value of the box that holds it.
std::string FormatAnchorValueText(std::span<const BoxChartPoint> points, int32_t column, float value,
                                  const BoxGrid* grid);

// The styles whose points carry box numbers (point and figure, Renko): their rows are fitted by box.
inline bool BoxIndexedRows(int style) { return style == 5 || style == 7; }

} // namespace qv
