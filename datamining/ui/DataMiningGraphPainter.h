// Paints the data-mining view's graph area: the X and Y histograms, the scatter graph with its Z coding,
// the statistic lines, the axes, the Z legend, the status line and the empty states, by the rules of
// datamining/DataMiningGraphs. The view, its printing and `qvtool render-dm` paint through here.
#pragma once

#include "core/DMFilter.h"
#include "datamining/DataMiningGraphs.h"

#include <QRect>

#include <array>
#include <cstdint>
#include <vector>

class QPainter;

namespace qv {

// One row of the table: its X, Y and Z values and whether the getter gave each.
struct GraphRowValues {
    float x = 0, y = 0, z = 0;
    uint8_t hasX = 0, hasY = 0, hasZ = 0;
};

struct GraphPaintInput {
    const DMFilter* filter = nullptr;
    DataMiningGraphSettings settings;
    std::vector<GraphRowValues> rows; // the rows listed, in table order
    int sourceRows = 0;               // the rows of the filter's source
    int currentRow = -1;
    AxisRange x, y;                   // the axis ranges in force (zoomed or not)
    double zoom = 1.0;                // applied to bin widths when printing
    bool focusMark = false;           // the keyboard focus is on the graph area
};

// What the paint leaves for the mouse and the status line.
struct GraphPaintResult {
    PlotScale scale;                               // of the scatter plot (or the histograms' axes)
    QRect plot;                                    // the plot rectangle; empty without one
    std::vector<std::array<int, 2>> marks;         // each row's mark position
    std::vector<uint8_t> drawn;                    // each row's mark drawn inside the plot
    int displayed = 0;
    const char* emptyText = nullptr;               // the empty state shown, if any
};

GraphPaintResult PaintDataMiningGraphs(QPainter& painter, const QRect& area, const GraphPaintInput& input);

// The status line at the foot of the area, and the Z legend ("" when none is shown).
std::string GraphStatusLine(const GraphPaintInput& input, int displayed);
std::string ZLegendText(const GraphPaintInput& input);

} // namespace qv
