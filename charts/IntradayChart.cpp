// The intraday chart's rules: setting fields, periods, days, period bars and the day bands.
#include "charts/IntradayChart.h"

#include "core/MovingAverage.h"
#include "core/StringPrintf.h"

#include <algorithm>
#include <cmath>

namespace qv {
namespace gs = graphsetting;
namespace {

constexpr int32_t kDaySeconds = 86400;
// Tenths of a minute, so that 2.5 stays exact.
constexpr std::array<int32_t, kBarPeriodCount> kBarPeriodTenths = {10, 20, 25, 30, 40, 50, 60, 100, 150, 200, 300, 600};

int32_t FloorTo(int32_t t, int32_t step) { return step <= 0 ? t : int32_t(std::floor(double(t) / step)) * step; }
int32_t CeilTo(int32_t t, int32_t step) { return step <= 0 ? t : int32_t(std::ceil(double(t) / step)) * step; }

int32_t IndexOf(int32_t time, int32_t start, int32_t period)
{
    return int32_t(std::trunc(double(time - start) / period + 0.5));
}

} // namespace

int32_t DaysViewedOf(const GraphSetting& s)
{
    return std::clamp<int32_t>(int32_t(gs::U8(s, intraday::kDaysViewed)) + 1, 1, kMaxDaysViewed);
}

int BarPeriodIndexOf(const GraphSetting& s)
{
    const uint32_t index = gs::U32(s, intraday::kBarPeriodIndex);
    return index < uint32_t(kBarPeriodCount) ? int(index) : kDefaultBarPeriod;
}

int32_t BarPeriodSeconds(int index)
{
    const int i = index >= 0 && index < kBarPeriodCount ? index : kDefaultBarPeriod;
    return kBarPeriodTenths[size_t(i)] * 6;
}

std::string BarPeriodTitle(int index)
{
    const int32_t tenths = BarPeriodSeconds(index) / 6;
    const std::string number = tenths % 10 ? StringPrintf("%d.%d", tenths / 10, tenths % 10)
                                           : StringPrintf("%d", tenths / 10);
    return number + " min. bars";
}

void TogglePriceStyle(GraphSetting& s, uint8_t style)
{
    gs::SetU8(s, intraday::kPriceStyle, gs::U8(s, intraday::kPriceStyle) == style ? 0 : style);
}

DayWindow ChooseDays(std::span<const PackedDate> days, int32_t daysViewed, PackedDate displayFrom)
{
    return SelectDayWindow(days, size_t(std::max(daysViewed, 1)), displayFrom);
}

DayStep StepDays(std::span<const PackedDate> days, size_t first, size_t count, bool shift, int direction)
{
    DayStep out;
    const int64_t n = int64_t(days.size());
    if (n == 0)
        return {1, 0, true};
    int64_t a = std::min<int64_t>(int64_t(first), n - 1);
    int64_t b = std::clamp<int64_t>(a + int64_t(std::max<size_t>(count, 1)) - 1, a, n - 1);
    if (shift) {
        if (direction > 0 && b < n - 1) {
            ++a;
            ++b;
        } else if (direction < 0 && a > 0) {
            --a;
            --b;
        } else {
            out.beep = true;
        }
    } else if (direction > 0) {
        // One more day, at the front; there is none before the first held day.
        if (a > 0)
            --a;
        else
            out.beep = true;
    } else if (direction < 0) {
        ++a;
    }
    int64_t viewed = b - a + 1;
    if (viewed > kMaxDaysViewed || viewed < 1) {
        out.beep = true;
        viewed = std::clamp<int64_t>(viewed, 1, kMaxDaysViewed);
        a = b - viewed + 1;
    }
    out.daysViewed = int32_t(viewed);
    out.displayFrom = b == n - 1 ? PackedDate(0) : days[size_t(a)];
    return out;
}

int32_t BarOfTime(const PeriodBars& bars, int32_t time)
{
    if (bars.bars.empty() || bars.period <= 0)
        return -1;
    const int32_t i = IndexOf(time, bars.start, bars.period);
    return i >= 0 && i < int32_t(bars.bars.size()) ? i : -1;
}

PeriodBars BuildPeriodBars(const PeriodBarInput& in, int32_t period)
{
    PeriodBars out;
    out.period = std::max(period, 1);
    const int32_t p = out.period;
    int32_t start = FloorTo(in.firstTick + p / 2, p);
    int32_t end = CeilTo(in.lastTick, p);
    if (in.selection == 1 || in.selection == 2) {
        const int32_t tickEnd = end;
        start = in.selectFrom;
        end = in.selectTo;
        // Today's bars stop at its last tick until the day reaches the selected end.
        if (in.today && tickEnd < end)
            end = tickEnd;
    }
    out.start = start;
    if (start > end || !in.quotes)
        return out;
    BarArray array;
    array.start = start;
    array.slotLength = p;
    array.bars.assign(size_t((end - start) / p + 1), Bar{});
    TicksToBars(*in.quotes, array, start - p / 2, end + p / 2, in.range, false);
    if (array.bars.empty())
        return out;
    out.bars = std::move(array.bars);
    const int32_t count = int32_t(out.bars.size());
    int32_t firstTrade = INT32_MAX, lastTrade = INT32_MIN;
    if (in.trades) {
        for (const TickItem& t : in.trades->items) {
            if (t.flags & (kItemFirstMissing | kItemFirstSpike))
                continue;
            firstTrade = std::min(firstTrade, t.time);
            lastTrade = std::max(lastTrade, t.time);
            const int32_t i = BarOfTime(out, t.time);
            if (i < 0)
                continue;
            Bar& bar = out.bars[size_t(i)];
            bar.high = std::max(bar.high, t.first);
            bar.low = bar.low > 0 ? std::min(bar.low, t.first) : t.first;
            if (!(t.flags & kItemSecondMissing))
                bar.volume += t.second;
        }
    }
    const bool quotesInside = !in.quotes->items.empty() && in.quotes->items.front().time <= end;
    out.visibleFirst = 0;
    out.visibleLast = quotesInside ? count - 1 : -1;
    if (firstTrade <= lastTrade) {
        const int32_t a = IndexOf(firstTrade, start, p), b = IndexOf(lastTrade, start, p);
        if (!(b < 0 || a >= count)) {
            out.tradeFirst = std::clamp(a, 0, count - 1);
            out.tradeLast = std::clamp(b, 0, count - 1);
        }
    }
    return out;
}

std::pair<int32_t, int32_t> MapTimeToBar(const PeriodBars& bars, int selection, int32_t from, int32_t to)
{
    const int32_t count = int32_t(bars.bars.size());
    if (count == 0)
        return {0, -1};
    if (selection == 0)
        return {0, count - 1};
    const int32_t a = IndexOf(from, bars.start, bars.period), b = IndexOf(to, bars.start, bars.period);
    if (b < 0 || a >= count)
        return {0, -1};
    return {std::clamp(a, 0, count - 1), std::clamp(b, 0, count - 1)};
}

std::vector<BandSpan> LayOutTimeAxis(const AxisHours& h, std::span<const DaySpan> days)
{
    std::vector<BandSpan> bands(days.size());
    const int32_t window = std::max(h.windowSeconds, 60);
    const int32_t lead = std::min(window / 16, 300), rounding = std::max(std::min(window / 4, 900), 1);
    const int32_t close = h.close == 0 ? kDaySeconds : h.close;
    int32_t dayStart = 0, dayEnd = kDaySeconds;
    if (h.dayHours == 1) {
        dayStart = h.open;
        dayEnd = close;
    } else if (h.dayHours == 2) {
        dayStart = std::min(h.userFrom, h.userTo);
        dayEnd = std::max(h.userFrom, h.userTo);
    }
    for (size_t i = 0; i < days.size(); ++i) {
        const DaySpan& d = days[i];
        BandSpan& b = bands[i];
        b.start = h.dayHours ? dayStart : std::max(FloorTo(d.firstTick, 900), dayStart);
        const int32_t last = d.today && h.latestTime >= 0 ? std::max(h.latestTime, d.lastTick) : d.lastTick;
        const int32_t rounded = std::min(CeilTo(last + lead, rounding), kDaySeconds);
        if (!h.dayHours)
            b.end = rounded;
        else if (d.today && h.latestTime >= 0 && !h.extendToday)
            b.end = std::clamp(rounded, dayStart, dayEnd);
        else
            b.end = dayEnd;
        b.end = std::max(b.end, b.start + 1);
        b.visibleStart = b.start;
        b.visibleEnd = b.end;
        b.visible = true;
    }
    if (!h.limited)
        return bands;
    // The last window-length seconds of the bands laid side by side.
    int32_t left = window;
    for (size_t i = bands.size(); i-- > 0;) {
        BandSpan& b = bands[i];
        if (left <= 0) {
            b.visible = false;
            continue;
        }
        b.visibleStart = std::max(b.start, b.end - left);
        left -= b.end - b.visibleStart;
    }
    return bands;
}

std::vector<std::pair<int32_t, int32_t>> LayOutBandPixels(std::span<const BandSpan> bands, int32_t left, int32_t right,
                                                          int separator)
{
    std::vector<std::pair<int32_t, int32_t>> out(bands.size(), {1, 0});
    int64_t seconds = 0;
    int visible = 0;
    for (const BandSpan& b : bands)
        if (b.visible) {
            seconds += b.visibleEnd - b.visibleStart;
            ++visible;
        }
    if (visible == 0 || seconds <= 0 || right <= left)
        return out;
    const int32_t gap = separator == 0 ? 0 : separator == 1 ? 1 : 6;
    const int32_t room = std::max<int32_t>(right - left - gap * (visible - 1), visible);
    int64_t before = 0;
    int seen = 0;
    for (size_t i = 0; i < bands.size(); ++i) {
        if (!bands[i].visible)
            continue;
        const int32_t x0 = left + int32_t(before * room / seconds) + gap * seen;
        before += bands[i].visibleEnd - bands[i].visibleStart;
        ++seen;
        const int32_t x1 = seen == visible ? right : left + int32_t(before * room / seconds) + gap * (seen - 1);
        out[i] = {x0, std::max(x0, x1)};
    }
    return out;
}

int32_t CheckTickOrder(std::span<const IntradayTick> ticks)
{
    uint32_t last = 0;
    for (size_t i = 0; i < ticks.size(); ++i) {
        if (ticks[i].Kind() != kTickTime)
            continue;
        if (ticks[i].value1 < last)
            return int32_t(i);
        last = ticks[i].value1;
    }
    return -1;
}

std::vector<float> VolumeSignalLine(const PeriodBars& bars, uint16_t period)
{
    std::vector<float> out;
    if (period == 0 || bars.bars.empty())
        return out;
    out.reserve(bars.bars.size());
    auto average = CreateMovingAverage(1, period, 0, 0);
    int32_t needed = 0, leadIn = 0;
    average->Prepare(needed, leadIn);
    average->Prime(bars.bars.front().volume);
    for (const Bar& bar : bars.bars) {
        out.push_back(float(average->Next(bar.volume)));
        average->DropOldest();
    }
    return out;
}

int32_t TradeDotDiameter(float volume, float averageVolume)
{
    if (!(volume > 0) || !(averageVolume > 0))
        return 4;
    const float ratio = volume / averageVolume;
    return ratio < 0.5f ? 4 : ratio <= 2 ? 6 : ratio <= 5 ? 8 : 10;
}

float AverageTradeVolume(const TickItemArray& trades)
{
    double sum = 0;
    size_t count = 0;
    for (const TickItem& t : trades.items)
        if (t.second > 0) {
            sum += t.second;
            ++count;
        }
    return count ? float(sum / double(count)) : 0.0f;
}

} // namespace qv
