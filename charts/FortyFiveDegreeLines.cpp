// Tracing the 45-degree lines over point-and-figure columns.
#include "charts/FortyFiveDegreeLines.h"

#include <algorithm>

namespace qv {
namespace {

struct Column {
    int32_t step = 0;
    int32_t low = 0, high = 0;
    bool rising = true;
    bool lone = false;  // the first point alone, of no direction
};

// Each column's lowest and highest box: a column starts one box beyond the last box of the column
// before it (the first column holds its one point).
std::vector<Column> ColumnsOf(std::span<const BoxChartPoint> points)
{
    std::vector<Column> columns;
    int32_t previousLast = 0;
    for (size_t i = 0; i < points.size(); ++i) {
        const BoxChartPoint& p = points[i];
        if (columns.empty() || int32_t(p.step) != columns.back().step) {
            if (!columns.empty())
                previousLast = points[i - 1].box;
            Column c;
            c.step = int32_t(p.step);
            c.lone = columns.empty();
            c.rising = p.box > previousLast;
            const int32_t from = columns.empty() ? p.box : previousLast + (c.rising ? 1 : -1);
            c.low = std::min(from, p.box);
            c.high = std::max(from, p.box);
            columns.push_back(c);
            continue;
        }
        columns.back().low = std::min(columns.back().low, p.box);
        columns.back().high = std::max(columns.back().high, p.box);
    }
    return columns;
}

bool Rises(int kind) { return kind == kBearishSupport || kind == kBullishSupport; }

// The column that starts a line of the kind, and where.
bool Starts(int kind, const Column& c, int32_t& box)
{
    const bool fromRising = kind == kBearishResistance || kind == kBearishSupport;
    if (c.lone || c.rising != fromRising)
        return false;
    box = Rises(kind) ? c.low - 1 : c.high + 1;
    return true;
}

bool Breaks(int kind, const Column& c, int32_t lineBox)
{
    return Rises(kind) ? c.low <= lineBox : c.high >= lineBox;
}

} // namespace

std::vector<FortyFiveLine> TraceFortyFiveDegreeLines(std::span<const BoxChartPoint> points, uint32_t enabled)
{
    std::vector<FortyFiveLine> lines;
    const std::vector<Column> columns = ColumnsOf(points);
    for (int kind = 0; kind < 4; ++kind) {
        if (!(enabled & (1u << kind)))
            continue;
        bool tracing = false;
        FortyFiveLine line;
        line.kind = kind;
        const int32_t slope = Rises(kind) ? 1 : -1;
        for (const Column& c : columns) {
            if (tracing) {
                const int32_t at = line.startBox + slope * (c.step - line.startColumn);
                if (!Breaks(kind, c, at)) {
                    line.endColumn = c.step;
                    line.endBox = at;
                    continue;
                }
                if (c.step - line.startColumn > 2) {
                    line.endColumn = c.step;
                    line.endBox = at;
                    lines.push_back(line);
                }
                tracing = false;
            }
            if (Starts(kind, c, line.startBox)) {
                line.startColumn = line.endColumn = c.step;
                line.endBox = line.startBox;
                tracing = true;
            }
        }
        if (tracing) {
            line.open = true;
            lines.push_back(line);
        }
    }
    return lines;
}

} // namespace qv
