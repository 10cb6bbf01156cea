// The one drawer of every indicator line of the daily chart: a line (or a histogram with its line) of
// double values against the shown days, the pane's level lines, the hand-over of the values to the
// series' plot element (for the legend, readouts and hit tests) and the pane caption.
#pragma once

#include <cstdint>
#include <functional>
#include <span>
#include <string>

namespace qv {

class ChartCanvas;
struct GraphSeries;
struct PlotElement;

// The value that ends a value array (1.23e12 as a 32-bit float, widened). A value array may also
// simply end; a NaN inside it is a day without a value (the line lifts over it).
constexpr double kIndicatorEndMark = 1229999964160.0;

// Flag bit of DrawIndicatorLine: draw the polyline.
constexpr uint32_t kDrawPolyline = 2;

// What the drawer reads of the chart view.
struct IndicatorDrawView {
    int32_t shownDays = 0;         // nothing is drawn at 0
    int32_t daysBeforeShown = 0;   // loaded days before the first shown day
    std::span<const int32_t> xs;   // x of each shown day; a 0 entry ends it
    int32_t left = 0, right = 0;   // the drawing area
    double barSpacing = 0;         // pixels per day
    uint32_t upColour = 0, downColour = 0;
    uint32_t levelColour = 0;
    uint32_t captionColour = 0;
    bool captions = false;         // the chart shows captions in its panes
    // The caption of a pane from its series (the title with the chart's mode words).
    std::function<std::string(const GraphSeries&)> buildCaption;
};

struct IndicatorLineArgs {
    PlotElement* element = nullptr;
    uint32_t pen = 0;
    std::span<const double> levels;
    std::span<const double> values;
    int32_t leadIn = 0;            // days from the first loaded day without a value
    // The pane's first series: the values go to the element, and levels and caption are drawn.
    bool attach = false;
    uint32_t flags = kDrawPolyline;
    std::span<const double> histogram; // empty: no bars; else one bar per value of the line
    bool barsInPen = false;        // the bars in the pen's colour instead of the up and down colours
};

// Draws one line; 1 when it drew, 0 when a precondition fails (no shown days, no element, series or
// value range, an empty or inverted range, or no first value). The caller keeps its arrays.
int DrawIndicatorLine(ChartCanvas& canvas, const IndicatorDrawView& view, const IndicatorLineArgs& line);

// The element's second data array becomes an owned copy of the values (f64) with the lead-in as its
// first-day offset (paramA); a previous array of the element is freed first.
void AttachLineValues(PlotElement* element, std::span<const double> values, int32_t leadIn);

// The attached value of the element for a loaded day, or NaN without one.
double AttachedValueAt(const PlotElement& element, int32_t day, int32_t daysBeforeShown);
// The value of a line drawn with `leadIn` on a loaded day, or NaN without one.
double LineValueAt(std::span<const double> values, int32_t leadIn, int32_t day, int32_t daysBeforeShown);

// The histogram bars' half width for a bar spacing: 0 below 4 pixels, 1 from 4, 2 from 8.
int32_t HistogramHalfWidth(double barSpacing);

} // namespace qv
