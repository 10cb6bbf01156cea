// The details-view dialogs' rules and the range record's checks.
#include "lists/DetailDialogRules.h"

#include "core/StringPrintf.h"
#include "core/TradingCalendar.h"
#include "platform/ByteOrder.h"

#include <algorithm>

namespace qv {

const std::array<uint8_t, kDetailItemCount> kDetailItemCodes = {
    8,  50, 48, 49, 13, 40, 39, 41,  29, 43, 42, 44, 10, 34,  33,  35,  28,  12,  37,  36,  38,
    11, 47, 17, 18, 27, 19, 20, 21,  22, 70, 16, 14, 6,  5,   4,   2,   115, 9,   129, 23,  52,
    53, 65, 66, 67, 68, 58, 59, 60,  61, 97, 98, 101, 102, 103, 104, 105, 106, 108, 107, 110, 111};

namespace {

// Trading days from the start that the end must at least reach.
constexpr int kMinimumTradingDays = 5;

} // namespace

std::vector<uint8_t> DefaultDetailItems()
{
    std::vector<uint8_t> s = {0, 1, 2, 4, 8, 9, 12, 13, 16, 17, 21};
    for (uint8_t i = 23; i <= 37; ++i)
        s.push_back(i);
    return s;
}

std::vector<uint8_t> ReadDetailSelection(std::span<const uint8_t> bytes)
{
    std::vector<uint8_t> s;
    for (uint8_t b : bytes) {
        if (b == kDetailListEnd)
            break;
        if (b < kDetailItemCount && std::find(s.begin(), s.end(), b) == s.end())
            s.push_back(b);
    }
    return s;
}

std::vector<uint8_t> WriteDetailSelection(std::span<const uint8_t> selection)
{
    std::vector<uint8_t> out(selection.begin(), selection.end());
    out.push_back(kDetailListEnd);
    return out;
}

std::vector<uint8_t> DetailItemsNotIncluded(std::span<const uint8_t> selection)
{
    std::vector<uint8_t> out;
    for (uint8_t i = 0; i < kDetailItemCount; ++i) {
        if (std::find(selection.begin(), selection.end(), i) == selection.end())
            out.push_back(i);
    }
    return out;
}

ChartRange ReadChartRange(std::span<const uint8_t, kChartRangeBytes> b)
{
    return {LoadU16(b.data()), LoadU16(b.data() + 2), LoadU16(b.data() + 4), LoadU16(b.data() + 6)};
}

void WriteChartRange(const ChartRange& r, std::span<uint8_t, kChartRangeBytes> b)
{
    StoreU16(b.data(), r.flags);
    StoreU16(b.data() + 2, r.start);
    StoreU16(b.data() + 4, r.count);
    StoreU16(b.data() + 6, r.end);
}

ChartRange FillRangeDates(ChartRange range, PackedDate latestStart, PackedDate latestEnd)
{
    if (range.start == 0)
        range.start = latestStart;
    if (range.end == 0)
        range.end = latestEnd;
    return range;
}

ChartRange ApplyRangeSwitches(ChartRange range)
{
    if (range.has(ChartRange::kCountUsed) && range.has(ChartRange::kStartUsed) && range.has(ChartRange::kEndUsed)) {
        range.set(ChartRange::kStartUsed, false);
        range.set(ChartRange::kEndUsed, false);
    }
    return range;
}

std::pair<int, int> RangeCountLimits(int unit)
{
    switch (unit) {
    case 0: return {5, 5000};
    case 1: return {1, 500};
    case 2: return {1, 120};
    default: return {1, 10};
    }
}

RangeCheck CheckChartRange(const ChartRange& range, PackedDate lastPrice)
{
    RangeCheck r;
    r.range = range;
    const bool startUsed = range.has(ChartRange::kStartUsed);
    if (startUsed && range.has(ChartRange::kEndUsed)) {
        if (range.start > range.end) {
            std::swap(r.range.start, r.range.end);
            r.swapped = true;
            r.message = "End date swapped with start date";
            return r;
        }
        if (CountTradingDays(range.start, range.end) < kMinimumTradingDays) {
            r.message = "End date must be 5 working days after start date";
            return r;
        }
    } else if (range.has(ChartRange::kCountUsed)) {
        const auto [low, high] = RangeCountLimits(range.unit());
        if (range.count < low || range.count > high) {
            r.message = StringPrintf("Enter a number between %i and %i", low, high);
            return r;
        }
    }
    r.accepted = true;
    if (startUsed && range.start >= lastPrice)
        r.message = "Warning: Start date is after the share's last price";
    return r;
}

std::vector<ShareDateRow> SortShareDates(std::vector<ShareDateRow> rows)
{
    std::erase_if(rows, [](const ShareDateRow& r) { return r.date == 0; });
    std::stable_sort(rows.begin(), rows.end(), [](const ShareDateRow& a, const ShareDateRow& b) { return a.date < b.date; });
    if (rows.size() > size_t(kShareDateRows))
        rows.resize(size_t(kShareDateRows));
    return rows;
}

} // namespace qv
