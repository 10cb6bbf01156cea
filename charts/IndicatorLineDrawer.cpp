// The indicator line drawer.
#include "charts/IndicatorLineDrawer.h"

#include "chartmodel/ChartCanvas.h"
#include "chartmodel/DataArray.h"
#include "chartmodel/GraphModel.h"
#include "chartmodel/ValueMapping.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <limits>

namespace qv {
namespace {

bool IsValue(double v) { return !std::isnan(v); }

size_t CountValues(std::span<const double> values)
{
    size_t n = 0;
    while (n < values.size() && !(values[n] >= kIndicatorEndMark))
        ++n;
    return n;
}

int32_t Row(const ValueRange& range, double v) { return MapValueToRow(&range, float(v), false); }

// The zero line's row, from the exact row rounded half away from zero.
int32_t ZeroRow(const ValueRange& range)
{
    if ((range.flags & kRangeLogarithmic) || !(range.minimum < range.maximum))
        return Row(range, 0.0);
    const double exact = range.yBottom - (0.0 - range.minimum) * double(range.yBottom - range.yTop) /
                                             (double(range.maximum) - range.minimum);
    return int32_t(std::round(exact));
}

void DrawLevels(ChartCanvas& canvas, const IndicatorDrawView& view, const ValueRange& range,
                std::span<const double> levels)
{
    canvas.SelectPen(view.levelColour);
    for (double level : levels) {
        if (!(level > range.minimum && level < range.maximum))
            continue;
        const int32_t y = Row(range, level);
        canvas.Line(view.left, y, view.right, y);
    }
}

} // namespace

int32_t HistogramHalfWidth(double barSpacing) { return barSpacing < 4 ? 0 : barSpacing < 8 ? 1 : 2; }

void AttachLineValues(PlotElement* element, std::span<const double> values, int32_t leadIn)
{
    if (!element)
        return;
    FreeDataArray(element->second);
    void* data = InitDataArray(element->second, kArrayDoubles, int32_t(values.size()), uint32_t(leadIn), 0);
    if (data)
        std::memcpy(data, values.data(), values.size() * sizeof(double));
}

double AttachedValueAt(const PlotElement& element, int32_t day, int32_t daysBeforeShown)
{
    const DataArray& a = element.second;
    if (a.type != kArrayDoubles || !a.data)
        return std::numeric_limits<double>::quiet_NaN();
    return LineValueAt(std::span<const double>(static_cast<const double*>(a.data), size_t(std::max(a.count, 0))),
                       int32_t(a.paramA), day, daysBeforeShown);
}

double LineValueAt(std::span<const double> values, int32_t leadIn, int32_t day, int32_t daysBeforeShown)
{
    // The first value sits on the first shown day, or later by what the lead-in leaves.
    const int32_t first = daysBeforeShown + std::max(leadIn - daysBeforeShown, 0);
    const int64_t i = int64_t(day) - first;
    if (i < 0 || i >= int64_t(values.size()) || values[size_t(i)] >= kIndicatorEndMark)
        return std::numeric_limits<double>::quiet_NaN();
    return values[size_t(i)];
}

int DrawIndicatorLine(ChartCanvas& canvas, const IndicatorDrawView& view, const IndicatorLineArgs& line)
{
    const PlotElement* element = line.element;
    if (view.shownDays <= 0 || !element || !element->series || !element->series->range)
        return 0;
    const ValueRange& range = *element->series->range;
    const size_t count = CountValues(line.values);
    if (count == 0 || !(range.minimum < range.maximum))
        return 0;
    // Days before the first shown one use up the lead-in; what is left moves the line right.
    const int32_t offset = std::max(line.leadIn - view.daysBeforeShown, 0);

    if (line.attach) {
        AttachLineValues(line.element, line.values.first(count), line.leadIn);
        const GraphSeries& series = *element->series;
        if (view.captions && series.pane)
            canvas.PaneCaption(*series.pane, view.buildCaption ? view.buildCaption(series) : series.title,
                               view.captionColour);
        DrawLevels(canvas, view, range, line.levels);
    }
    canvas.SelectPen(line.pen);

    auto xOf = [&](size_t i) -> int32_t {
        const size_t at = size_t(offset) + i;
        return at < view.xs.size() ? view.xs[at] : 0;
    };
    const bool polyline = (line.flags & kDrawPolyline) != 0;
    const bool bars = !line.histogram.empty();
    const int32_t half = HistogramHalfWidth(view.barSpacing);
    const int32_t zero = bars ? ZeroRow(range) : 0;
    const GraphPane* pane = element->series->pane;
    int32_t lastFilledRight = std::numeric_limits<int32_t>::min();
    bool penDown = false;
    int32_t px = 0, py = 0;
    for (size_t i = 0; i < count; ++i) {
        const int32_t x = xOf(i);
        if (x == 0)
            break;
        if (bars && i < line.histogram.size() && IsValue(line.histogram[i])) {
            int32_t left = x - half, right = x + 1 + half;
            if (pane)
                right = std::clamp(right, pane->left - 1, pane->right + 2);
            if (left >= lastFilledRight) {
                const double b = line.histogram[i];
                const int32_t y = Row(range, b);
                const uint32_t up = line.barsInPen ? line.pen : view.upColour;
                const uint32_t down = line.barsInPen ? line.pen : view.downColour;
                if (b > 0)
                    canvas.FillRect(left, y, right, zero, up & 0xFFFFFF);
                else
                    canvas.FillRect(left, zero, right, y + 1, down & 0xFFFFFF);
                lastFilledRight = right;
            }
            canvas.SelectPen(line.pen);
        }
        if (!polyline)
            continue;
        if (!IsValue(line.values[i])) {
            penDown = false;
            continue;
        }
        const int32_t y = Row(range, line.values[i]);
        if (penDown)
            canvas.Line(px, py, x, y);
        px = x;
        py = y;
        penDown = true;
    }
    return 1;
}

} // namespace qv
