// The box and reversal chart builders.
#include "charts/BoxCharts.h"

#include "chartmodel/EodChart.h"
#include "core/StringPrintf.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <limits>

namespace qv {
namespace {

constexpr size_t kRecentDays = 250;

constexpr std::array<float, 11> kVariableLows = {0, 0.125f, 0.25f, 1, 5, 20, 100, 200, 500, 1000, 25000};
constexpr std::array<float, 11> kVariableSizes = {0.03125f, 0.0625f, 0.125f, 0.25f, 0.5f, 1, 2, 4, 5, 50, 500};
constexpr std::array<float, 10> kVolatilityLows = {0, 1.4f, 2.9f, 6, 14, 29, 60, 140, 290, 600};
constexpr std::array<std::array<float, 10>, 4> kVolatilitySizes = {{
    {0.005f, 0.0125f, 0.025f, 0.05f, 0.125f, 0.25f, 0.5f, 1.25f, 2.5f, 5},
    {0.01f, 0.025f, 0.05f, 0.1f, 0.25f, 0.5f, 1, 2.5f, 5, 10},
    {0.02f, 0.05f, 0.1f, 0.2f, 0.5f, 1, 2, 5, 10, 20},
    {0.04f, 0.1f, 0.2f, 0.4f, 1, 2, 4, 10, 20, 40},
}};

// The records read: up to a date-0 record or the first after the end date.
size_t RecordsUpTo(std::span<const DayRecord> days, int32_t endDate)
{
    size_t n = 0;
    while (n < days.size() && days[n].date != 0 && int32_t(days[n].date) <= endDate)
        ++n;
    return n;
}

size_t Records(std::span<const DayRecord> days) { return RecordsUpTo(days, std::numeric_limits<int32_t>::max()); }

BoxChartPoint FirstPoint(const DayRecord& day, int32_t box, float price)
{
    return {day.date, day.date, 0, box, price, 0};
}

// Each record's last date and volume join the last point.
void JoinDay(std::vector<BoxChartPoint>& points, const DayRecord& day)
{
    points.back().lastDate = day.date;
    points.back().volume += day.volume;
}

std::vector<BoxChartPoint> AtLeastTwo(std::vector<BoxChartPoint> points)
{
    if (points.size() < 2)
        points.clear();
    return points;
}

std::string BoxValueText(uint16_t boxValue) { return FormatPriceInUnit(boxValue * 0.01f, 0.01f); }

} // namespace

BoxGrid BoxGrid::Fixed(float size)
{
    BoxGrid g;
    g.lows_ = {0};
    g.sizes_ = {size};
    return g;
}

BoxGrid BoxGrid::Percent(float percent, int32_t base)
{
    BoxGrid g;
    g.percentage_ = true;
    g.base_ = base;
    g.lows_ = {0};
    g.sizes_ = {percent};
    return g;
}

BoxGrid BoxGrid::Bands(std::span<const float> lows, std::span<const float> sizes)
{
    BoxGrid g;
    g.lows_.assign(lows.begin(), lows.end());
    g.sizes_.assign(sizes.begin(), sizes.end());
    return g;
}

BoxTable BoxGrid::Table() const
{
    BoxTable t;
    t.percentage = percentage_ ? 1 : 0;
    t.bandCount = int32_t(lows_.size());
    t.baseBox = base_;
    t.bandLows = lows_.data();
    t.boxSizes = sizes_.data();
    return t;
}

bool BoxGrid::Valid() const
{
    if (sizes_.empty())
        return false;
    return std::all_of(sizes_.begin(), sizes_.end(), [](float s) { return s > 0 && std::isfinite(s); });
}

float SnapToBox(float size, float price, bool down)
{
    if (size == 0)
        return price;
    const double k = std::trunc(double(price) / size);
    if (float(k * size) == price)
        return price;
    const double at = down ? (price < 0 ? k - 1 : k) : (price < 0 ? k : k + 1);
    return float(at * size);
}

int VolatilityClass(double volatility)
{
    static constexpr double kThresholds[] = {0, 10, 20, 50};
    int c = 0;
    for (int i = 0; i < 4; ++i)
        if (kThresholds[i] <= volatility)
            c = i;
    return c;
}

Volatility RecentVolatility(std::span<const DayRecord> days)
{
    const size_t n = Records(days);
    const size_t start = n > kRecentDays ? n - kRecentDays : 0;
    double count = 0, s = 0, q = 0;
    for (size_t k = start; k < n; ++k) {
        const double previous = days[k > 0 ? k - 1 : k].close;
        // A day after a zero close has no change.
        if (previous == 0)
            continue;
        const double r = (days[k].close - previous) * 100 / previous;
        ++count;
        s += r;
        q += r * r;
    }
    Volatility v;
    v.value = count < 2 ? std::numeric_limits<double>::quiet_NaN()
                        : std::sqrt(count) * (count * q - s * s) / (count * (count - 1));
    v.classIndex = std::isnan(v.value) ? 0 : VolatilityClass(v.value);
    return v;
}

HistoryRange RangeOfHistory(std::span<const DayRecord> days)
{
    const size_t n = Records(days);
    HistoryRange r;
    if (n == 0)
        return r;
    r.origin = days[0].low;
    for (size_t k = 0; k < n; ++k)
        r.origin = std::min(r.origin, days[k].low);
    r.recentLow = days[n > kRecentDays ? n - kRecentDays : 0].low;
    for (size_t k = n > kRecentDays ? n - kRecentDays : 0; k < n; ++k) {
        r.recentHigh = std::max(r.recentHigh, days[k].high);
        r.recentLow = std::min(r.recentLow, days[k].low);
    }
    return r;
}

BoxGrid PointFigureGrid(std::span<const DayRecord> days, uint16_t boxValue, uint8_t kind)
{
    const float size = boxValue * 0.01f;
    const HistoryRange range = RangeOfHistory(days);
    switch (kind) {
    case kBoxPercent: {
        const int32_t lowest = BoxGrid::Percent(size, 0).BoxOf(range.origin);
        return BoxGrid::Percent(size, lowest <= 0 ? lowest : 0);
    }
    case kBoxRangePercent: return BoxGrid::Fixed((range.recentHigh - range.recentLow) * boxValue * 0.0001f);
    case kBoxVariable: return BoxGrid::Bands(kVariableLows, kVariableSizes);
    case kBoxVolatility:
        return BoxGrid::Bands(kVolatilityLows, kVolatilitySizes[size_t(RecentVolatility(days).classIndex)]);
    default: return BoxGrid::Fixed(size);
    }
}

std::vector<BoxChartPoint> BuildPointFigureColumns(std::span<const DayRecord> days, const BoxGrid& grid,
                                                   const PointFigureOptions& options)
{
    const size_t n = RecordsUpTo(days, options.endDate);
    if (n == 0 || !grid.Valid())
        return {};
    const bool percentage = grid.percentage();
    const double origin = RangeOfHistory(days).origin;
    const double step = std::log(1 + grid.percent() / 100.0);
    // A percentage grid measures from the lowest low: none above 0, no chart.
    if (percentage && !(origin > 0 && step > 0))
        return {};
    const int reversal = std::max(options.reversal, 1);
    std::vector<BoxChartPoint> points{FirstPoint(days[0], grid.BoxOf(days[0].close), days[0].close)};
    int32_t b = points[0].box;
    int d = 0;
    uint32_t column = 1;
    bool turned = false, turnMerged = false;
    int32_t turnBox = 0;
    for (size_t k = 0; k < n; ++k) {
        const DayRecord& day = days[k];
        const float hi = options.highLow ? day.high : day.close;
        const float lo = options.highLow ? day.low : day.close;
        bool rise = false, fall = false;
        float up = 0, dn = 0;
        int32_t nu = 0, nd = 0;
        // A price at or below 0 makes no move.
        if (hi > 0 && lo > 0) {
            if (percentage) {
                up = float(origin * std::exp(std::floor(std::log(hi / origin) / step) * step));
                dn = float(origin * std::exp(std::ceil(std::log(lo / origin) / step) * step));
            } else {
                up = SnapToBox(grid.SizeAt(hi), hi, true);
                dn = SnapToBox(grid.SizeAt(lo), lo, false);
            }
            nu = grid.BoxOf(up);
            nd = grid.BoxOf(dn);
            rise = nu - b >= (d >= 0 ? 1 : reversal);
            fall = b - nd >= (d <= 0 ? 1 : reversal);
        }
        if (rise && fall)
            (d < 0 ? rise : fall) = false;
        if (!rise && !fall) {
            JoinDay(points, day);
            continue;
        }
        const int direction = fall ? -1 : 1;
        if (direction != d && points.size() > 1) {
            // A one-box turn merges into its column, unless the turn before it merged.
            const bool merge = options.merge && turned && std::abs(points.back().box - turnBox) == 1 && !turnMerged;
            if (!merge)
                ++column;
            turnMerged = merge;
            turnBox = points.back().box;
            turned = true;
        }
        d = direction;
        b = fall ? nd : nu;
        points.push_back({day.date, day.date, column, b, fall ? dn : up, day.volume});
    }
    return AtLeastTwo(std::move(points));
}

KagiReversal KagiReversalOf(std::span<const DayRecord> days, uint16_t boxValue, uint8_t kind)
{
    switch (kind) {
    case kBoxFixed: return {boxValue * 0.01f, false};
    case kBoxPercent: return {boxValue * 0.0001f, true};
    case kBoxRangePercent: {
        const HistoryRange r = RangeOfHistory(days);
        return {(r.recentHigh - r.recentLow) * boxValue * 0.0001f, false};
    }
    default: return {1.0f, false};
    }
}

std::vector<BoxChartPoint> BuildKagiLines(std::span<const DayRecord> days, const KagiReversal& reversal,
                                          int32_t endDate)
{
    const size_t n = RecordsUpTo(days, endDate);
    if (n == 0)
        return {};
    std::vector<BoxChartPoint> points{FirstPoint(days[0], 0, days[0].close)};
    int d = 0;
    for (size_t k = 0; k < n; ++k) {
        const DayRecord& day = days[k];
        const float c = day.close, p = points.back().price;
        const float threshold = reversal.percentage ? reversal.amount * p : reversal.amount;
        auto append = [&] {
            points.push_back({day.date, day.date, uint32_t(points.size()), 0, c, 0});
        };
        if (k > 0 && c > 0) {
            if (d == 0) {
                if (c != p) {
                    d = c > p ? 1 : -1;
                    append();
                }
            } else if (d > 0) {
                if (c > p) {
                    points.back().price = c;
                } else if (p - c >= threshold) {
                    append();
                    d = -1;
                }
            } else {
                if (c <= p) {
                    points.back().price = c;
                } else if (c - p >= threshold) {
                    append();
                    d = 1;
                }
            }
        }
        JoinDay(points, day);
    }
    return AtLeastTwo(std::move(points));
}

RenkoGrid RenkoGridOf(std::span<const DayRecord> days, uint16_t boxValue, uint8_t kind, bool alignOption)
{
    RenkoGrid renko;
    if (days.empty())
        return renko;
    const HistoryRange range = RangeOfHistory(days);
    renko.grid = BoxGrid::Fixed(boxValue * 0.01f);
    if (kind == kBoxPercent) {
        const int32_t lowest = BoxGrid::Percent(boxValue * 0.01f, 0).BoxOf(range.origin);
        renko.grid = BoxGrid::Percent(boxValue * 0.01f, lowest < 1 ? lowest : 0);
    } else if (kind == kBoxRangePercent) {
        renko.grid = BoxGrid::Fixed((range.recentHigh - range.recentLow) * boxValue * 0.0001f);
    }
    const float first = days[0].close;
    const bool align = kind == kBoxFixed && alignOption;
    if (renko.grid.Valid() && first > 0 && !renko.grid.percentage() && !align) {
        const float size = renko.grid.SizeAt(first);
        renko.offset = float(std::trunc((first - std::trunc(first / size) * size) * 1000 + 0.5) * 0.001);
    }
    return renko;
}

std::vector<BoxChartPoint> BuildRenkoBricks(std::span<const DayRecord> days, uint16_t boxValue, uint8_t kind,
                                            bool alignOption, int32_t endDate)
{
    const size_t n = RecordsUpTo(days, endDate);
    if (n == 0)
        return {};
    const RenkoGrid renko = RenkoGridOf(days, boxValue, kind, alignOption);
    const BoxGrid& grid = renko.grid;
    const float offset = renko.offset;
    const float first = days[0].close;
    if (!grid.Valid() || !(first > 0))
        return {};
    const bool align = kind == kBoxFixed && alignOption;
    const float size0 = grid.SizeAt(first);
    const float price0 = align ? SnapToBox(size0, first + size0 / 2, true) : first;
    std::vector<BoxChartPoint> points{FirstPoint(days[0], grid.BoxOf(price0), price0)};
    uint32_t step = 1;
    float level = price0;
    int d = 0;
    for (size_t k = 0; k < n; ++k) {
        const DayRecord& day = days[k];
        const float c = day.close;
        const float size = grid.SizeAt(level);
        bool rise = false, fall = false;
        float up = 0, dn = 0;
        int32_t nu = 0, nd = 0;
        const int32_t b = points.back().box;
        if (c > 0 && size > 0) {
            up = SnapToBox(size, c - offset, true);
            dn = SnapToBox(size, c - offset, false);
            nu = grid.BoxOf(up);
            nd = grid.BoxOf(dn);
            rise = nu - b >= (d >= 0 ? 1 : 2);
            fall = b - nd >= (d <= 0 ? 1 : 2);
        }
        if (rise && fall)
            (d < 0 ? rise : fall) = false;
        if (!rise && !fall) {
            points.back().lastDate = day.date;
            continue;
        }
        const int direction = fall ? -1 : 1;
        const int32_t box = fall ? nd : nu;
        level = (fall ? dn : up) + offset;
        // A turn, or the chart's first move, draws one brick fewer than it moves.
        const int32_t bricks = std::abs(b - box) - (direction != d ? 1 : 0);
        step += uint32_t(std::max(bricks, 0));
        points.push_back({day.date, day.date, step, box, level, day.volume});
        d = direction;
    }
    return AtLeastTwo(std::move(points));
}

std::vector<BoxChartPoint> BuildLineBreakChart(std::span<const DayRecord> days, int lines, int32_t endDate)
{
    const size_t n = RecordsUpTo(days, endDate);
    if (n == 0)
        return {};
    const size_t count = size_t(std::max(lines, 1));
    std::vector<BoxChartPoint> points{FirstPoint(days[0], 0, days[0].close)};
    int d = 0;
    size_t t = 0;
    for (size_t k = 0; k < n; ++k) {
        const DayRecord& day = days[k];
        const float c = day.close, p = points.back().price;
        auto append = [&] { points.push_back({day.date, day.date, uint32_t(points.size()), 0, c, 0}); };
        if (k == 0 || std::fabs(p - c) <= 0.001f) {
            // The first day, or within 0.001 of the last line: no line.
        } else if (d == 0) {
            d = c > p ? 1 : -1;
            append();
            ++t;
        } else if (d * (p - c) < 0) {
            append();
            ++t;
        } else {
            // The reference is the start of the last min(t, N) lines of the trend.
            const size_t back = std::min(t, count);
            const size_t last = points.size() - 1;
            const float reference = points[last >= back ? last - back : 0].price;
            if ((d < 0 && c > reference) || (d > 0 && c < reference)) {
                append();
                d = -d;
                t = 1;
            }
        }
        JoinDay(points, day);
    }
    return AtLeastTwo(std::move(points));
}

std::string FormatBoxSizeText(uint16_t boxValue, uint8_t kind, int reversal, bool longForm)
{
    const std::string value = BoxValueText(boxValue);
    std::string size;
    switch (kind) {
    case kBoxFixed: size = StringPrintf("%s box", value.c_str()); break;
    case kBoxPercent: size = StringPrintf("%s%% box", value.c_str()); break;
    case kBoxRangePercent: size = StringPrintf("%s%% range box", value.c_str()); break;
    case kBoxVariable: size = "Variable box"; break;
    default: size = "Volatility box"; break;
    }
    return longForm ? StringPrintf("%s size, %d reversal", size.c_str(), reversal)
                    : StringPrintf("(%s, %d rev)", size.c_str(), reversal);
}

std::string FormatReversalChartText(int style, uint16_t boxValue, uint8_t kind, int lineCount, bool longForm)
{
    if (style == 8)
        return longForm ? StringPrintf("%d-Line breakout", lineCount) : StringPrintf("(%d-Line break)", lineCount);
    const char* name = style == 6 ? "Kagi" : "Renko";
    const std::string value = BoxValueText(boxValue);
    const std::string amount = kind == kBoxPercent        ? value + "%"
                               : kind == kBoxRangePercent ? value + "% range"
                                                          : value;
    return longForm ? StringPrintf("%s, %s reversal", name, amount.c_str())
                    : StringPrintf("(%s, %s rev)", name, amount.c_str());
}

} // namespace qv
