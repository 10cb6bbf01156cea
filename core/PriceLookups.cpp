// Single-day lookups in price streams.
#include "core/PriceLookups.h"

#include "core/MovingAverage.h"
#include "core/PriceCorrections.h"
#include "core/PriceDayWalker.h"
#include "core/PriceStatistics.h"
#include "core/PriceSubRecords.h"
#include "core/PriceWalkIndex.h"
#include "core/RecordAccess.h"
#include "platform/ByteOrder.h"

#include <algorithm>
#include <vector>

namespace qv {

namespace {

struct StreamSource {
    SubRecordSpan span;
    CorrectionCursor corrections;
    uint8_t kind = 0;
};

StreamSource OpenStream(uint8_t* record, uint32_t stream)
{
    StreamSource s;
    s.span = SubRecordOf(record, stream);
    if (s.span) {
        s.corrections = GetPriceCorrections(RecordId(record), stream);
        s.kind = s.span.sub[2];
    }
    return s;
}

PriceDayWalker Walker(const StreamSource& s, bool withCorrections = true)
{
    return PriceDayWalker(s.span.sub, s.span.end, withCorrections ? s.corrections : CorrectionCursor{});
}

using IndexPtr = std::shared_ptr<const PriceWalkIndex>;

// The stream's walk checkpoints, built now when none are kept for it; none for a stream with
// corrections.
IndexPtr IndexOf(const StreamSource& s)
{
    if (!s.corrections.empty())
        return nullptr;
    if (IndexPtr found = FindPriceWalkIndex(s.span.sub, s.span.end))
        return found;
    return BuildPriceWalkIndex(s.span.sub, s.span.end);
}

uint32_t CountDays(const StreamSource& s)
{
    PriceDayWalker w = Walker(s, false);
    uint32_t n = 0;
    while (w.next())
        ++n;
    return n;
}

} // namespace

const uint8_t* FindPriceOnDate(uint8_t* record, uint32_t stream, uint16_t date, bool keepLast, DayRecord* out)
{
    *out = DayRecord{};
    StreamSource s = OpenStream(record, stream);
    if (!s.span)
        return nullptr;
    PriceDayWalker w = Walker(s);
    if (date < w.firstDate())
        return s.span.sub + kSubRecordStream;
    bool unitTrust = s.kind == kUnitTrustKind;
    DayRecord before{};
    bool any = false;
    // Resume from the last checkpoint the walk below would have passed.
    if (IndexPtr index = IndexOf(s); index && index->ordered) {
        for (const PriceDayWalker& point : index->points) {
            if (point.day().date >= date || point.nextDate() > date)
                break;
            w = point;
            before = point.day();
            any = true;
        }
    }
    while (w.next()) {
        const DayRecord& day = w.day();
        if (day.date >= date || w.nextDate() > date) {
            if (unitTrust && day.date != date)
                *out = before;
            else
                *out = day;
            return w.position();
        }
        before = day;
        any = true;
    }
    if (any && (keepLast || unitTrust)) {
        *out = before;
        return w.position();
    }
    return nullptr;
}

float GetPriceOnDate(uint8_t* record, uint32_t stream, uint16_t date, bool keepLast)
{
    DayRecord day;
    FindPriceOnDate(record, stream, date, keepLast, &day);
    return day.close;
}

float GetRawPriceOnDate(uint8_t* record, uint32_t stream, uint16_t date, bool keepLast)
{
    DayRecord day;
    FindPriceOnDate(record, stream, date, keepLast, &day);
    SubRecordSpan span = SubRecordOf(record, stream);
    if (!span || day.unit == 0)
        return 0;
    int32_t scale = LoadI16(span.sub + kSubRecordScale);
    if (scale == 0)
        scale = 1;
    double divisor = scale > 0 ? double(scale) * day.unit : day.unit / -double(scale);
    return float(day.close / divisor);
}

void GetDayRecordFromEnd(uint8_t* record, uint32_t stream, uint32_t n, DayRecord* out)
{
    *out = DayRecord{};
    StreamSource s = OpenStream(record, stream);
    if (!s.span)
        return;
    IndexPtr index = IndexOf(s);
    uint32_t count = index ? index->days : CountDays(s);
    if (n >= count)
        return;
    PriceDayWalker w = Walker(s);
    uint32_t i = 0;
    // Without corrections the walk may start at the last checkpoint not past the day.
    for (size_t k = 0; index && k < index->points.size() && (k + 1) * kWalkCheckpointDays <= count - n; ++k) {
        w = index->points[k];
        i = uint32_t((k + 1) * kWalkCheckpointDays);
        *out = w.day();
    }
    for (; i < count - n && w.next(); ++i)
        *out = w.day();
}

float GetPriceDaysBack(uint8_t* record, uint32_t stream, uint32_t n)
{
    DayRecord day;
    GetDayRecordFromEnd(record, stream, n, &day);
    return day.close;
}

namespace {

// The mean of one figure of the last n days (only those days take corrections).
float AverageLastDays(uint8_t* record, uint32_t stream, uint32_t n, float DayRecord::*figure)
{
    StreamSource s = OpenStream(record, stream);
    if (!s.span || n == 0)
        return 0;
    IndexPtr index = IndexOf(s);
    uint32_t count = index ? index->days : CountDays(s);
    if (count <= n)
        return 0;
    PriceDayWalker w = Walker(s, false);
    uint32_t i = 0;
    // Without corrections the walk may start at the last checkpoint before the n days.
    for (size_t k = 0; index && k < index->points.size() && (k + 1) * kWalkCheckpointDays <= count - n; ++k) {
        w = index->points[k];
        i = uint32_t((k + 1) * kWalkCheckpointDays);
    }
    double sum = 0;
    for (; i < count; ++i) {
        if (i == count - n)
            w.setCorrections(s.corrections);
        if (!w.next())
            return 0;
        if (i >= count - n)
            sum += w.day().*figure;
    }
    return float(sum / n);
}

} // namespace

float AveragePriceLastDays(uint8_t* record, uint32_t stream, uint32_t n)
{
    return AverageLastDays(record, stream, n, &DayRecord::close);
}

float AverageVolumeLastDays(uint8_t* record, uint32_t stream, uint32_t n)
{
    return AverageLastDays(record, stream, n, &DayRecord::volume);
}

uint16_t GetLastPriceDate(uint8_t* record, uint32_t stream)
{
    StreamSource s = OpenStream(record, stream);
    if (!s.span)
        return 0;
    PriceDayWalker w(s.span.sub, s.span.end, s.corrections, true, 1);
    uint16_t last = 0;
    while (w.next()) {
        if (!IsMarkedDay(w.day()) && w.day().date != 0)
            last = w.day().date;
    }
    return last;
}

namespace {

// A walker of the stream whose next day is the first one after `start` or a day before it, from the
// stream's checkpoints.
PriceDayWalker WalkerAfter(const StreamSource& s, uint16_t start)
{
    PriceDayWalker w = Walker(s);
    if (IndexPtr index = IndexOf(s); index && index->ordered)
        for (const PriceDayWalker& point : index->points) {
            if (point.day().date > start)
                break;
            w = point;
        }
    return w;
}

} // namespace

float GetHighestHighBetween(uint8_t* record, uint32_t stream, uint16_t after, uint16_t before)
{
    StreamSource s = OpenStream(record, stream);
    if (!s.span)
        return 0;
    PriceDayWalker w = WalkerAfter(s, after);
    float high = 0;
    while (w.next()) {
        const DayRecord& day = w.day();
        if (day.date >= before)
            break;
        if (day.date > after && !IsMarkedDay(day) && day.high > high)
            high = day.high;
    }
    return high;
}

void GetHighLowInRange(uint8_t* record, uint32_t stream, uint16_t start, float* high, uint16_t* highDate, float* low,
                       uint16_t* lowDate)
{
    *high = *low = 0;
    *highDate = *lowDate = 0;
    StreamSource s = OpenStream(record, stream);
    if (!s.span)
        return;
    PriceDayWalker w = WalkerAfter(s, start);
    bool any = false;
    while (w.next()) {
        const DayRecord& day = w.day();
        if (day.date <= start)
            continue;
        if (!any || day.close >= *high) {
            *high = day.close;
            *highDate = day.date;
        }
        if (!any || day.close <= *low) {
            *low = day.close;
            *lowDate = day.date;
        }
        any = true;
    }
}

namespace {

// A simple average of `period` closes whose running sums are exact (SumsOfClosesExact): the sum of
// the window's closes taken afresh is the running sum, so the walk may start at the last checkpoint
// at least a window before the day. False when no checkpoint lies that far back (or the walk gives
// fewer days than the window), for the walk from the first day.
bool SimpleAverageFromCheckpoint(const PriceWalkIndex& index, int32_t when, int64_t target, int32_t period,
                                 float& average)
{
    // The last checkpoint the whole walk passes without stopping, as a close's walk finds it.
    int64_t passed = -1;
    if (when > 0) {
        if (!index.ordered)
            return false;
        while (passed + 1 < int64_t(index.points.size()) &&
               index.points[size_t(passed + 1)].nextDate() <= uint16_t(when))
            ++passed;
    } else {
        passed = std::min<int64_t>(int64_t(index.points.size()), (target + 1) / kWalkCheckpointDays) - 1;
    }
    // Every day from the start to the last one passed belongs to the walk: the window of `period`
    // days ending at or after that day begins at or after the start.
    const int64_t start = passed - (period + kWalkCheckpointDays - 1) / kWalkCheckpointDays;
    if (start < 0)
        return false;
    PriceDayWalker w = index.points[size_t(start)];
    int64_t fed = (start + 1) * kWalkCheckpointDays;
    std::vector<float> window(size_t(period), 0.0f);
    int64_t taken = 0;
    while (w.next()) {
        const DayRecord& day = w.day();
        if (when > 0 && day.date > uint16_t(when))
            break;
        window[size_t(taken++ % period)] = day.close;
        ++fed;
        if (fed - 1 == target || (when > 0 && w.nextDate() > uint16_t(when)))
            break;
    }
    if (taken < period)
        return false;
    double sum = 0;
    for (float close : window)
        sum += close;
    // The average's own reciprocal, as CMovingAverage multiplies by it.
    average = float(sum * (1.0 / period));
    return true;
}

} // namespace

MovingAverageCache::MovingAverageCache() = default;
MovingAverageCache::~MovingAverageCache() = default;

float GetMovingAverageAt(uint8_t* record, uint32_t stream, int32_t when, uint32_t spec, MovingAverageCache* cache)
{
    StreamSource s = OpenStream(record, stream);
    if (!s.span)
        return 0;
    uint32_t typeField = spec & 0x0F;
    int32_t period = int32_t(spec >> 16);
    StreamStatistics stats = ReadStreamStatistics(s.span.sub);
    bool lastDay = when == 0 || (when > 0 && uint16_t(when) == stats.lastDate);
    if (typeField == 0 && lastDay)
        return stats.lastClose;
    if (typeField != 0 && period < 5)
        return 0;

    // The day asked as a count of days from the first (a date is found while walking).
    const int32_t averageType = int32_t(typeField) - 1; // CreateMovingAverage makes any unnamed type simple
    const bool simple = typeField != 0 && (averageType < kExponentialAverage || averageType > kVariableAverage);
    IndexPtr index = typeField == 0 || when <= 0 || simple ? IndexOf(s) : nullptr;
    int64_t target = -1;
    if (when <= 0) {
        target = int64_t(index ? index->days : CountDays(s)) - 1 + when;
        if (target < 0)
            return 0;
    }

    if (simple && index && SumsOfClosesExact(*index, uint32_t(period))) {
        float average;
        if (SimpleAverageFromCheckpoint(*index, when, target, period, average))
            return average;
    }

    MovingAverageCache local;
    MovingAverageCache& c = cache ? *cache : local;
    if (typeField != 0) {
        if (!c.calculator || c.spec != spec) {
            c.calculator = CreateMovingAverage(int32_t(typeField) - 1, period, 0.0, 0);
            int32_t needed = 0, leadIn = 0;
            c.calculator->Prepare(needed, leadIn);
            c.spec = spec;
        } else {
            c.calculator->Reset();
        }
    }

    PriceDayWalker w = Walker(s);
    double value = 0;
    float close = 0;
    int64_t fed = 0;
    // A close alone may start at the last checkpoint the walk below would pass without stopping (any
    // other average, or a simple one whose sums may round, needs every close from the first: its
    // running sums are rounded as they go).
    if (typeField == 0 && index && index->ordered) {
        for (size_t k = 0; k < index->points.size(); ++k) {
            const PriceDayWalker& point = index->points[k];
            const int64_t days = int64_t(k + 1) * kWalkCheckpointDays;
            if (when > 0 ? point.nextDate() > uint16_t(when) : days > target)
                break;
            w = point;
            close = point.day().close;
            fed = days;
        }
    }
    while (w.next()) {
        const DayRecord& day = w.day();
        if (when > 0 && day.date > uint16_t(when))
            break;
        close = day.close;
        if (typeField != 0) {
            if (fed == 0)
                c.calculator->Prime(close);
            value = c.calculator->Next(close);
            c.calculator->DropOldest();
        }
        ++fed;
        if (fed - 1 == target || (when > 0 && w.nextDate() > uint16_t(when)))
            break;
    }
    if (fed == 0)
        return 0;
    if (typeField == 0)
        return close;
    return float(value);
}

} // namespace qv
