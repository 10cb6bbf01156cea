// The box chart's placement on the price pane, its zoom, hit test and the chart of a style.
#include "charts/BoxChartLayout.h"

#include "chartmodel/GraphSettingLayout.h"

#include <algorithm>

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
