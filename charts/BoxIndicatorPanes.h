// The two indicator types that turn their window into a chart of its own: point and figure (type 15)
// and equivolume (type 41). The routines work out the columns or boxes (and the pane's range) from
// the days and the pane's size; the drawer draws them with pens and brushes on the window's canvas
// and its own date labels under them.
#pragma once

#include "charts/IndicatorStudy.h"

#include <cstdint>
#include <span>
#include <string>

namespace qv {

class ChartCanvas;
struct GraphPane;
struct ValueRange;

// The room left at each side of a box pane.
constexpr int32_t kBoxPaneMargin = 4;

// The point-and-figure box: period 2 tenths in price units, or with a non-zero flags byte that many
// tenths of a percent of the visible span, rounded; never below 1.0.
double PointFigureBox(const IndicatorRecord& record, double span);

void DrawPointFigureIndicator(const IndicatorInput&, ValueRange&, IndicatorResult&, int);
void DrawEquiVolumeIndicator(const IndicatorInput&, ValueRange&, IndicatorResult&, int);
// The Kagi window (type 55): reversal period 3 in whole percent, of the price or (flags bit 0) of the
// visible range; laid out by its steps across the pane, or (flags bit 1) by the chart's own dates.
void DrawKagiIndicator(const IndicatorInput&, ValueRange&, IndicatorResult&, int);

struct BoxPaneLook {
    uint32_t background = 0xFFFFFF;
    uint32_t gridPen = 0;
    uint32_t textColour = 0;
};

// Draws what a box routine handed back in its pane.
void DrawBoxPane(ChartCanvas& canvas, const IndicatorResult& result, const IndicatorRecord& record,
                 const GraphPane& pane, const ValueRange& range, const BoxPaneLook& look);

// The pane's own date labels from (date, x) pairs: a change of year draws "'%02i " with a tick of
// half the tick length, a change of month only the month's abbreviation with a quarter tick.
void DrawPaneDateAxis(ChartCanvas& canvas, std::span<const PaneColumn> boxes, const GraphPane& pane, uint32_t colour,
                      int32_t tickLength = 8);

// The date label texts of an axis: "%i/%i/%02i", "'%02i ", the month's three letters, "%i ".
std::string DateLabelText(uint16_t date);
std::string YearLabelText(uint16_t date);
std::string MonthLabelText(uint16_t date);
std::string DayLabelText(uint16_t date);

} // namespace qv
