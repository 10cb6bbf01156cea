// The box chart's placement on the price pane, its zoom, hit test and the chart of a style.
#include "charts/BoxChartLayout.h"

#include "chartmodel/GraphModel.h"
#include "chartmodel/GraphSettingLayout.h"
#include "charts/BoxIndicatorPanes.h"
#include "core/DateText.h"
#include "core/StringPrintf.h"

#include <algorithm>
#include <cmath>

namespace qv {
namespace gs = graphsetting;
namespace {

constexpr uint16_t kMergeOneBoxTurns = 1;
constexpr uint16_t kHighLowPrices = 8;
constexpr uint16_t kRoundToGrid = 0x20;

} // namespace

int32_t FitBoxColumns(int32_t lastStep, int32_t fit, int32_t offset)
{
    if (offset != kBoxAuto)
        return offset;
    const int32_t columns = lastStep + 1;
    return columns < fit ? (columns - fit) / 2 : columns - fit;
}

int32_t FitBoxRows(std::span<const BoxChartPoint> points, int32_t columns, int32_t rows, int32_t offset,
                   bool belowZero)
{
    if (offset == kBoxAuto && !points.empty()) {
        const int32_t reach = std::max(rows - 2, 0);
        const int32_t last = points.back().box;
        int32_t lo = last - reach, hi = last + reach;
        const int64_t firstShown = int64_t(points.back().step) - columns + 1;
        for (auto it = points.rbegin(); it != points.rend() && int64_t(it->step) >= firstShown; ++it) {
            if (it->box < lo || it->box > hi)
                break;
            hi = std::min(hi, it->box + reach);
            lo = std::max(lo, it->box - reach);
        }
        offset = lo - (lo - hi + rows) / 2;
    } else if (offset == kBoxAuto) {
        offset = 0;
    }
    return belowZero ? offset : std::max(offset, 0);
}

uint8_t ZoomBoxStep(uint8_t spacingByte, int delta)
{
    const int step = std::clamp((spacingByte & 15) + delta, 0, 8);
    return uint8_t((spacingByte & 0xF0) | step);
}

BoxHit BoxHitTest(int32_t x, int32_t y, int32_t firstX, int32_t firstColumn, int32_t columnWidth, int32_t bottom,
                  int32_t rowOffset)
{
    const int32_t w = std::max(columnWidth, 1);
    BoxHit hit;
    const int32_t dx = x - firstX + w / 2;
    hit.column = firstColumn + (dx >= 0 ? dx / w : -((-dx + w - 1) / w));
    const int32_t dy = bottom - y;
    hit.box = rowOffset + (dy >= 0 ? dy / w : -((-dy + w - 1) / w));
    return hit;
}

const BoxChartPoint* FindBoxChartPoint(std::span<const BoxChartPoint> points, int32_t column, int32_t box,
                                       bool byBox)
{
    const BoxChartPoint* last = nullptr;
    for (size_t i = 0; i < points.size(); ++i) {
        const BoxChartPoint& p = points[i];
        if (int64_t(p.step) < column)
            continue;
        if (int64_t(p.step) > column)
            break;
        last = &p;
        if (!byBox)
            continue;
        const int32_t from = i == 0 ? p.box : points[i - 1].box;
        const bool holds = p.box == box || (p.box > from ? box > from && box < p.box : box < from && box > p.box);
        if (holds)
            return &p;
    }
    return byBox ? nullptr : last;
}

int32_t StepIndexAtDate(std::span<const BoxChartPoint> points, int32_t date)
{
    auto it = std::find_if(points.begin(), points.end(),
                           [date](const BoxChartPoint& p) { return int64_t(p.lastDate) >= date; });
    return it == points.end() ? 0 : int32_t(it->step);
}

int32_t StepSpan::XOf(int32_t step) const
{
    const double perStep = double(right - left) / std::max(lastStep - firstStep, 1);
    return left + int32_t(std::lround((step - firstStep) * perStep));
}

StepSpan BoxChartTimeScale(std::span<const BoxChartPoint> points, int32_t firstDate, int32_t lastDate, int32_t left,
                           int32_t right)
{
    StepSpan span;
    span.left = left;
    span.right = right;
    span.firstStep = StepIndexAtDate(points, firstDate);
    // A last date past every point ends on the last step.
    span.lastStep = !points.empty() && int64_t(points.back().lastDate) < lastDate ? int32_t(points.back().step)
                                                                                   : StepIndexAtDate(points, lastDate);
    if (span.lastStep <= span.firstStep)
        span.lastStep = span.firstStep + 1;
    return span;
}

float BoxVolumeHigh(std::span<const BoxChartPoint> points, const BoxViewWindow& window)
{
    // The volume pane draws a bar per step: the points of one column count together.
    float high = 0, column = 0;
    for (size_t i = 0; i < points.size(); ++i) {
        const BoxChartPoint& p = points[i];
        if (window.byStep ? int64_t(p.step) > window.lastStep : int64_t(p.firstDate) > window.lastDay)
            break;
        const bool counts = window.byStep ? int64_t(p.step) >= window.firstStep : int64_t(p.lastDate) > window.firstDay;
        if (!counts)
            continue;
        column = i > 0 && points[i - 1].step == p.step ? column + p.volume : p.volume;
        high = std::max(high, column);
    }
    return high;
}

BoxHit DragBoxes(BoxDrag& drag, int32_t x, int32_t y, const BoxDragArea& area)
{
    const int32_t w = std::max(area.columnWidth, 1);
    auto holdX = [&](int32_t v) { return std::clamp(v, area.left - 1, area.right + 2); };
    auto holdY = [&](int32_t v) { return std::clamp(v, area.top - 1, area.bottom + 2); };
    BoxHit offsets;
    offsets.column = drag.savedColumn + (holdX(drag.startX) - holdX(x)) / w;
    offsets.box = drag.savedRow + (holdY(y) - holdY(drag.startY)) / w;
    if (offsets.box <= 0 && !area.belowZero) {
        offsets.box = 0;
        drag.savedRow = 0;
        drag.startY = y;
    }
    return offsets;
}

int32_t BoxValueToY(int32_t box, int32_t lowRow, int32_t columnWidth, int32_t top, int32_t bottom)
{
    const double y = bottom - (double(box) - lowRow + 0.5) * columnWidth;
    return int32_t(std::clamp<double>(std::floor(y + 0.5), top, bottom));
}

std::vector<BoxAxisLabel> BoxPriceAxisLabels(const BoxGrid& grid, int32_t lowRow, int32_t columnWidth, int32_t top,
                                             int32_t bottom, int32_t textHeight)
{
    std::vector<BoxAxisLabel> labels;
    const BoxTable table = grid.Table();
    const int32_t w = std::max(columnWidth, 1);
    // A grid of one band or of percentages keeps the ticked axis.
    if (table.percentage || table.bandCount < 2 || !grid.Valid())
        return labels;
    const int32_t k = std::max(1, 2 * textHeight / w);
    const int32_t topBox = lowRow + (bottom - top) / w;
    auto inside = [&](int32_t box) {
        const double y = bottom - (double(box) - lowRow + 0.5) * w;
        return y >= top + textHeight / 2.0 && y <= bottom - textHeight / 2.0;
    };
    auto add = [&](float value, int32_t box, bool bound) {
        if (inside(box))
            labels.push_back({value, BoxValueToY(box, lowRow, w, top, bottom), bound});
    };
    for (int32_t band = table.bandCount - 1; band >= 0; --band) {
        const float low = table.bandLows[band], size = table.boxSizes[band];
        const int32_t first = grid.BoxOf(low);
        if (first > topBox)
            continue;
        const int32_t next = band + 1 < table.bandCount ? grid.BoxOf(table.bandLows[band + 1]) : topBox + 1;
        // The boxes between this bound and the next, top down, then the bound itself.
        const int32_t last = std::min(next - 1, topBox);
        for (int32_t j = (last - first) / k; j >= 1; --j)
            if (first + j * k < next)
                add(low + float(j * k) * size, first + j * k, false);
        add(low, first, true);
        if (first < lowRow)
            break;
    }
    return labels;
}

std::vector<int32_t> BoxGridRows(int32_t columnWidth, int32_t top, int32_t bottom)
{
    std::vector<int32_t> rows;
    const int32_t w = std::max(columnWidth, 1);
    for (int32_t y = bottom - w; y > top; y -= w)
        rows.push_back(y);
    return rows;
}

std::vector<BoxDateLabel> BoxChartDateLabels(std::span<const std::pair<uint16_t, int32_t>> columns, int32_t gap)
{
    std::vector<BoxDateLabel> labels;
    auto add = [&](BoxDateLabel label) {
        if (labels.empty() || label.x - labels.back().x >= gap)
            labels.push_back(std::move(label));
        else if (label.year && !labels.back().year)
            labels.back() = std::move(label);
    };
    for (size_t i = 1; i < columns.size(); ++i) {
        const uint16_t before = columns[i - 1].first, date = columns[i].first;
        if ((date >> 9) != (before >> 9))
            add({columns[i].second, YearLabelText(date), true});
        else if (((date >> 5) & 15) != ((before >> 5) & 15))
            add({columns[i].second, MonthLabelText(date), false});
    }
    return labels;
}

std::array<std::string, 2> BoxChartEndDates(std::span<const BoxChartPoint> shown)
{
    if (shown.empty())
        return {};
    return {DateLabelText(uint16_t(shown.front().firstDate)), DateLabelText(uint16_t(shown.back().lastDate))};
}

std::string FormatBoxSlopeText(int32_t column1, float price1, int32_t column2, float price2)
{
    if (column1 == column2)
        return "vertical";
    return StringPrintf("%+.2f p.col", (double(price2) - price1) / (double(column2) - column1));
}

namespace {

const BoxChartPoint* FirstOfColumn(std::span<const BoxChartPoint> points, int32_t column)
{
    auto it = std::find_if(points.begin(), points.end(),
                           [column](const BoxChartPoint& p) { return int64_t(p.step) >= column; });
    return it == points.end() || int64_t(it->step) != column ? nullptr : &*it;
}

} // namespace

namespace {

// The last point of each column up to `column`: whether the column rose from the one before it and
// the box it started from (the first column's one point both starts and ends it).
struct ColumnSpan {
    const BoxChartPoint* first = nullptr;
    const BoxChartPoint* last = nullptr;
    bool rises = true;
    int32_t start = 0;
};
ColumnSpan SpanOf(std::span<const BoxChartPoint> points, int32_t column)
{
    ColumnSpan span;
    const BoxChartPoint* before = nullptr;
    for (const BoxChartPoint& p : points) {
        if (int64_t(p.step) < column) {
            before = &p;
            continue;
        }
        if (int64_t(p.step) > column)
            break;
        if (!span.first)
            span.first = &p;
        span.last = &p;
    }
    if (!span.first)
        return span;
    span.rises = !before || span.last->box > before->box;
    span.start = before ? before->box + (span.rises ? 1 : -1) : span.first->box;
    return span;
}

std::string Boxes(int32_t count, bool rises)
{
    return StringPrintf("%d %s%s", count, rises ? "X" : "O", count >= 2 ? "'s" : "");
}

} // namespace

std::string DescribePointFigurePick(std::span<const BoxChartPoint> points, BoxPick from, BoxPick to,
                                    const std::function<std::string(float)>& price)
{
    if (to.column < from.column)
        std::swap(from, to);
    const ColumnSpan first = SpanOf(points, from.column), last = SpanOf(points, to.column);
    if (!first.first || !last.first)
        return {};
    std::string extent;
    if (from.column == to.column)
        extent = Boxes(std::abs(to.box - from.box) + 1, first.rises);
    else
        extent = StringPrintf("1 %s + ", first.rises ? "X" : "O") + Boxes(std::abs(to.box - last.start) + 1, last.rises);
    return extent + ", " + price(first.first->price) + " - " + price(last.last->price);
}

std::string DescribeBoxValue(const BoxGrid& grid, int32_t box, const std::function<std::string(float)>& price)
{
    ValueRange range{};
    GetBoxPriceRange(range, 0, 1, grid.Table(), 1.0f, box);
    if (IsRangeEmpty(range))
        return {};
    return "Box value, " + price(range.minimum) + " - " + price(range.maximum);
}

std::string FormatAnchorDateText(std::span<const BoxChartPoint> points, int32_t column)
{
    const BoxChartPoint* point = FirstOfColumn(points, column);
    return point ? "Anchor date " + FormatDateWithDay(PackedDate(point->firstDate)) : std::string();
}

std::string FormatAnchorValueText(std::span<const BoxChartPoint> points, int32_t column, float value,
                                  const BoxGrid* grid)
{
    const BoxChartPoint* point = FirstOfColumn(points, column);
    if (!point)
        return {};
    if (grid && grid->Valid() && !grid->percentage())
        value = SnapToBox(grid->SizeAt(value), value, true);
    return StringPrintf("%s value %0.1f", FormatDate(PackedDate(point->firstDate)).c_str(), double(value));
}

std::vector<BoxChartPoint> BuildBoxChart(std::span<const DayRecord> days, const GraphSetting& setting, int style,
                                         int32_t endDate, BoxGrid& grid)
{
    grid = {};
    const uint16_t value = gs::U16(setting, gs::kBoxValue);
    const uint8_t kind = std::min<uint8_t>(gs::U8(setting, gs::kBoxValueOption), kBoxVolatility);
    const uint16_t options = gs::U16(setting, gs::kBoxChartFlags);
    switch (style) {
    case 5: {
        grid = PointFigureGrid(days, value, kind);
        PointFigureOptions o;
        o.reversal = std::max<int>(gs::U8(setting, gs::kReversal), 1);
        o.highLow = (options & kHighLowPrices) != 0;
        o.merge = (options & kMergeOneBoxTurns) != 0;
        o.endDate = endDate;
        return BuildPointFigureColumns(days, grid, o);
    }
    case 6: return BuildKagiLines(days, KagiReversalOf(days, value, kind), endDate);
    case 7: return BuildRenkoBricks(days, value, kind, (options & kRoundToGrid) != 0, endDate);
    case 8: return BuildLineBreakChart(days, std::max<int>(gs::U8(setting, gs::kLineBreakLines), 1), endDate);
    default: return {};
    }
}

} // namespace qv
