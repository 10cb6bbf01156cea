// The intraday day's decoding into items, bars and averages.
#include "chartmodel/IntradayTicks.h"

#include "core/MovingAverage.h"
#include "core/StringPrintf.h"
#include "platform/MessageBox.h"

#include <algorithm>
#include <cmath>

namespace qv {
namespace {

constexpr int32_t kDaySeconds = 86400;
constexpr float kMissingBelow = 0.000001f;
constexpr const char* kCorruption = "There appears to be some corruption in your intraday data for %s.\r\nWe recommend "
                                    "that you backfill this day from the 'Update' menu (with overwrite ticked).";

std::string& LastReported()
{
    static std::string share;
    return share;
}

bool Missing(const TickItem& i) { return (i.flags & (kItemFirstMissing | kItemSecondMissing)) != 0; }

float Clamp(float v, const TickPriceRange* range)
{
    if (!range)
        return v;
    if (range->minimum > 0 && v < range->minimum)
        v = range->minimum;
    if (range->maximum > 0 && v > range->maximum)
        v = range->maximum;
    return v;
}

int32_t SlotOf(int32_t time, const BarArray& bars, bool noRounding)
{
    const double slot = double(time - bars.start) / bars.slotLength + (noRounding ? 0.0 : 0.5);
    return int32_t(std::trunc(slot));
}

} // namespace

void TickItemArray::Reserve(size_t n)
{
    items.clear();
    items.reserve(n);
    capacity = n;
}

bool TickItemArray::Append(const TickItem& item)
{
    if (items.size() >= capacity)
        return false;
    items.push_back(item);
    return true;
}

void AppendTickItem(TickItemArray& items, const IntradayTick& tick, int32_t time)
{
    if (time < 0 || time > kDaySeconds)
        return;
    const uint32_t cls = tick.tradeClass == 0 ? kItemBuy : tick.tradeClass == 1 ? kItemSell : kItemUnclassified;
    items.Append({cls, time, tick.F1(), tick.F2()});
}

void ResetTickCorruptionReport() { LastReported().clear(); }

bool SplitIntradayTicks(std::span<const IntradayTick> ticks, const TickCounts& counts, IntradaySeriesSet& set,
                        const std::string& shareName)
{
    set.quotes.Reserve(counts.quotes);
    set.others.Reserve(counts.others);
    set.trades.Reserve(counts.trades);
    int32_t time = 0;
    uint32_t lastStamp = 0;
    for (const IntradayTick& t : ticks) {
        switch (t.Kind()) {
        case kTickTime:
            if (t.value1 < lastStamp) {
                // Once per share: a later decode of the same share says nothing more.
                if (LastReported() != shareName) {
                    LastReported() = shareName;
                    ShowMessage(StringPrintf(kCorruption, shareName.c_str()), {}, MsgButtons::Ok, MsgIcon::Exclamation);
                }
                return false;
            }
            lastStamp = t.value1;
            time = int32_t(std::min<uint32_t>(t.value1, uint32_t(INT32_MAX)));
            break;
        case kTickQuote: AppendTickItem(set.quotes, t, time); break;
        case kTickOther: AppendTickItem(set.others, t, time); break;
        case kTickTrade: AppendTickItem(set.trades, t, time); break;
        default: break;
        }
    }
    return true;
}

void TickPriceRange::Widen(float v)
{
    minimum = std::min(minimum, v);
    maximum = std::max(maximum, v);
}

void CleanTickPrices(TickItemArray& array, int which, bool dropCrossed, TickPriceRange* range, float f, bool spikeRemoval)
{
    const uint32_t missingBit = which == 0 ? kItemFirstMissing : kItemSecondMissing;
    const uint32_t spikeBit = which == 0 ? kItemFirstSpike : kItemSecondSpike;
    auto widen = [range](float v) {
        if (range)
            range->Widen(v);
    };
    float p1 = -1, p2 = -1;
    size_t p1Item = 0;
    bool first = true;
    std::vector<TickItem>& items = array.items;
    for (size_t i = 0; i < items.size(); ++i) {
        TickItem& item = items[i];
        const float v = which == 0 ? item.first : item.second;
        item.flags &= ~(missingBit | spikeBit);
        if (v < kMissingBelow)
            item.flags |= missingBit;
        if (v <= 0 || (dropCrossed && item.first < item.second))
            continue;
        if (f <= 0) {
            widen(v);
            continue;
        }
        if (first || i + 1 == items.size()) {
            widen(v);
            first = false;
        }
        if (p2 > 0) {
            const float upper = f * std::max(p2, v), lower = std::min(p2, v) / f;
            const bool up = !(dropCrossed && which == 1) && p1 > upper;
            const bool down = !(dropCrossed && which == 0) && p1 < lower;
            if (up || down) {
                items[p1Item].flags |= spikeBit | (spikeRemoval ? missingBit : 0);
                p1 = v;
                p1Item = i;
                continue;
            }
            widen(p1);
        }
        p2 = p1;
        p1 = v;
        p1Item = i;
    }
}

void TicksToBars(const TickItemArray& array, BarArray& bars, int32_t from, int32_t to, const TickPriceRange* range,
                 bool noRounding)
{
    float last = -1;
    size_t c = 0;
    auto fillEmpty = [&bars](size_t begin, size_t end, float v) {
        for (size_t b = begin; b < end && b < bars.bars.size(); ++b)
            if (bars.bars[b].open == 0)
                bars.bars[b].open = bars.bars[b].high = bars.bars[b].low = bars.bars[b].close = v;
    };
    for (const TickItem& item : array.items) {
        if (Missing(item) || item.second > item.first)
            continue;
        if (item.time > to)
            break;
        const float v = Clamp((item.first + item.second) / 2, range);
        if (item.time < from) {
            last = v;
            continue;
        }
        const int32_t slot = SlotOf(item.time, bars, noRounding);
        if (slot < 0 || size_t(slot) >= bars.bars.size()) {
            last = v;
            continue;
        }
        if (size_t(slot) > c) {
            fillEmpty(c, size_t(slot), last > 0 ? last : v);
            c = size_t(slot);
        }
        Bar& bar = bars.bars[c];
        if (bar.open == 0)
            bar.open = v;
        bar.high = std::max(bar.high, v);
        bar.low = bar.low == 0 ? v : std::min(bar.low, v);
        bar.close = v;
        last = v;
    }
    if (last < 0) {
        bars.bars.clear();
        return;
    }
    fillEmpty(c, bars.bars.size(), last);
}

void MergeTickHighLow(const TickItemArray& array, BarArray& bars, int32_t from, int32_t to, const TickPriceRange* range,
                      bool noRounding)
{
    for (const TickItem& item : array.items) {
        if (item.time > to)
            break;
        if (item.time < from)
            continue;
        const int32_t slot = SlotOf(item.time, bars, noRounding);
        if (slot < 0 || size_t(slot) >= bars.bars.size())
            continue;
        Bar& bar = bars.bars[size_t(slot)];
        if (!(item.flags & kItemFirstMissing))
            bar.low = std::min(bar.low, Clamp(item.first, range));
        if (!(item.flags & kItemSecondMissing))
            bar.high = std::max(bar.high, Clamp(item.second, range));
    }
}

bool DecodeIntradayTicks(IntradayDay& day, std::span<const IntradayTick> ticks, const TickCounts& counts,
                         uint32_t flags, const std::string& shareName, bool spikeRemoval)
{
    day.range = {};
    IntradaySeriesSet set;
    const bool whole = SplitIntradayTicks(ticks, counts, set, shareName);
    for (int which : {0, 1}) {
        CleanTickPrices(set.quotes, which, true, &day.range, kSpikeFactor, spikeRemoval);
        CleanTickPrices(set.others, which, false, &day.range, kSpikeFactor, spikeRemoval);
    }
    day.bars = {};
    day.bars.slotLength = std::max(day.slotLength, 1);
    if ((flags & kDecodeBars) && !set.quotes.items.empty()) {
        const int32_t len = day.bars.slotLength;
        const int32_t first = day.startTime ? day.startTime : set.quotes.items.front().time;
        const int32_t lastTime = day.endTime ? day.endTime : set.quotes.items.back().time;
        const int32_t start = (first + len / 2) / len * len;
        const int32_t end = (lastTime + len - 1) / len * len;
        day.bars.start = start;
        day.bars.bars.assign(end < start ? 0 : size_t((end - start) / len + 1), Bar{});
        TicksToBars(set.quotes, day.bars, start, end, &day.range, false);
        MergeTickHighLow(set.others, day.bars, start, end, &day.range, false);
    }
    day.quoteItems = {};
    if (flags & kDecodeKeepQuotes)
        day.quoteItems = std::move(set.quotes);
    return whole;
}

void AverageBarCloses(const BarArray& bars, uint32_t type, uint32_t period, std::vector<float>& out, size_t firstSlot)
{
    out.clear();
    const size_t n = bars.bars.size();
    if (n == 0 || n <= firstSlot)
        return;
    std::unique_ptr<CMovingAverage> average = CreateMovingAverage(int32_t(type), int32_t(period), 0.0, 0);
    int32_t needed = 0, leadIn = 0;
    average->Prepare(needed, leadIn);
    const double seed = bars.bars[firstSlot].close;
    average->Prime(seed);
    out.assign(n, 0.0f);
    for (size_t i = 0; i < n; ++i) {
        if (i < firstSlot) {
            out[i] = float(seed);
            continue;
        }
        out[i] = float(average->Next(bars.bars[i].close));
        average->DropOldest();
    }
}

int32_t ComputeBarAverages(IntradayDay& day)
{
    const int32_t slot = std::max(0, (day.startTime - day.bars.start) / std::max(day.bars.slotLength, 1));
    if (size_t(slot) < day.bars.bars.size())
        for (BarAverage& a : day.averages)
            AverageBarCloses(day.bars, a.type, a.period, a.values, size_t(slot));
    return slot;
}

bool GetLatestQuote(IntradaySeriesSet& set, float& mid, float& bid, float& offer, int32_t& time)
{
    const auto& items = set.quotes.items;
    for (auto it = items.rbegin(); it != items.rend(); ++it) {
        if (Missing(*it) || it->first < it->second)
            continue;
        time = it->time + set.timeOffset;
        offer = it->first;
        bid = it->second;
        mid = (bid + offer) / 2;
        if (set.storedMid <= 0)
            set.storedMid = mid;
        if (set.storedPrice > 0)
            mid = set.storedPrice;
        return true;
    }
    return false;
}

bool GetLatestTrade(const IntradaySeriesSet& set, float& price, float& volume, int32_t& time)
{
    const auto& items = set.trades.items;
    for (auto it = items.rbegin(); it != items.rend(); ++it) {
        if (Missing(*it))
            continue;
        price = it->first;
        volume = it->second;
        time = it->time + set.timeOffset;
        return true;
    }
    return false;
}

uint32_t MakeSeriesKey(uint32_t kind, uint32_t field, uint32_t period, uint32_t subField, uint32_t flags)
{
    uint32_t k = ((((field & 15) + kind * 16) << 16) + (field < 3 ? period & 0xFFFF : 0)) << 6;
    k = (k + (subField & 63)) * 4;
    if (subField == 1 && (flags & 1))
        return k + ((flags & 8) ? 3 : 2);
    return k + ((flags & 8) ? 1 : 0);
}

} // namespace qv
