// The 45-degree support and resistance lines of a point-and-figure chart: traced over its columns
// each time the chart is drawn, never stored, selected or saved.
#pragma once

#include "charts/BoxCharts.h"

#include <cstdint>
#include <span>
#include <vector>

namespace qv {

// The four kinds, by their bit in the setting's enable word.
enum FortyFiveKind : int {
    kBearishResistance = 0,  // falls from one box above the top of a rising (X) column
    kBearishSupport = 1,     // rises from one box below the bottom of a rising (X) column
    kBullishResistance = 2,  // falls from one box above the top of a falling (O) column
    kBullishSupport = 3,     // rises from one box below the bottom of a falling (O) column
};

// One traced line from (column, box) to (column, box); `open` when no column has broken it yet, so
// that it runs on to the right.
struct FortyFiveLine {
    int kind = 0;
    int32_t startColumn = 0, startBox = 0;
    int32_t endColumn = 0, endBox = 0;
    bool open = false;
};

// The lines of the kinds whose bits are set in `enabled` (low 4 bits). Each kind traces one line at a
// time: a support line rises a box a column and is broken by a column whose lowest box reaches down
// to it, a resistance line falls a box a column and is broken by a column whose highest box reaches
// up to it. A broken line that spans more than 2 columns is kept (ending at the breaking column) and
// the kind starts again, at the breaking column itself when that qualifies. What is left unbroken
// after the last column is kept whatever its length, open to the right. The first column (one point,
// no direction) starts no line.
std::vector<FortyFiveLine> TraceFortyFiveDegreeLines(std::span<const BoxChartPoint> points, uint32_t enabled);

} // namespace qv
