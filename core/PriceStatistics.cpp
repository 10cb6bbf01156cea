// Statistics of price sub-records and the statistics period.
#include "core/PriceStatistics.h"

#include "core/Database.h"
#include "core/PackedDate.h"
#include "core/PriceDayWalker.h"
#include "core/PriceStream.h"
#include "core/PriceWalkIndex.h"
#include "core/StatisticsPeriod.h"
#include "platform/ByteOrder.h"

#include <algorithm>
#include <cfloat>
#include <cmath>

namespace qv {

StatisticsPeriodOption StatisticsPeriod = {1, 260};

namespace {

constexpr float kLowestStart = -9e-37f;
constexpr float kHighestStart = FLT_MAX;

struct PeriodCache {
    bool valid = false;
    uint16_t latest = 0;
    uint16_t start = 0;
};

PeriodCache& Cache()
{
    static PeriodCache cache;
    return cache;
}

// Highs and lows of closes over the days after a start date; ties go to the later day.
struct Extremes {
    float high = kLowestStart;
    float low = kHighestStart;
    uint16_t highDate = 0;
    uint16_t lowDate = 0;
    bool any = false;

    void add(float close, uint16_t date)
    {
        any = true;
        if (close >= high) {
            high = close;
            highDate = date;
        }
        if (close <= low) {
            low = close;
            lowDate = date;
        }
    }
    // A high never raised above its start, and a low never lowered, are stored as 0.
    float storedHigh() const { return high < 0 ? 0 : high; }
    float storedLow() const { return low == kHighestStart ? 0 : low; }
};

// Makes the primed record the current one. Only what priming wrote moves: every way of decoding a day
// writes its prices, except the modes that decode nothing, whose days are left at zero as in a fresh
// history array.
void MovePrimedDay(DayRecord* area)
{
    area[0].unit = area[1].unit;
    area[0].modeMarks = area[1].modeMarks;
    area[0].date = area[1].date;
    area[0].weekday = area[1].weekday;
    if ((area[0].modeMarks & kDayModeBits) > 1) {
        area[0].open = area[0].high = area[0].low = area[0].close = area[0].volume = 0;
    }
}

void StorePeriod(uint8_t* sub, const Extremes& period)
{
    StoreF32(sub + kStatPeriodHigh, period.storedHigh());
    StoreF32(sub + kStatPeriodLow, period.storedLow());
    StoreU16(sub + kStatPeriodHighDate, period.highDate);
    StoreU16(sub + kStatPeriodLowDate, period.lowDate);
}

// Two closes of thousands of points carry their float rounding into the difference ("-166.9395" for a
// fall of 166.94): a change within that rounding of a whole number of price units is that number.
float CloseChange(float last, float previous, float unit)
{
    double change = double(last) - double(previous);
    if (unit <= 0)
        return float(change);
    double units = change / unit;
    double whole = std::round(units);
    double slack = (std::fabs(double(last)) + std::fabs(double(previous))) * FLT_EPSILON / unit + 0.01;
    return std::fabs(units - whole) <= slack ? float(whole * unit) : float(change);
}

} // namespace

StreamStatistics ReadStreamStatistics(const uint8_t* sub)
{
    StreamStatistics s;
    s.marketValue = LoadF32(sub + kStatMarketValue);
    s.lastClose = LoadF32(sub + kStatLastClose);
    s.change = LoadF32(sub + kStatChange);
    s.periodHigh = LoadF32(sub + kStatPeriodHigh);
    s.periodLow = LoadF32(sub + kStatPeriodLow);
    s.lastDate = LoadU16(sub + kStatLastDate);
    s.periodHighDate = LoadU16(sub + kStatPeriodHighDate);
    s.periodLowDate = LoadU16(sub + kStatPeriodLowDate);
    s.allTimeHigh = LoadF32(sub + kStatAllTimeHigh);
    s.allTimeLow = LoadF32(sub + kStatAllTimeLow);
    s.lastOpen = LoadF32(sub + kStatLastOpen);
    s.lastHigh = LoadF32(sub + kStatLastHigh);
    s.lastLow = LoadF32(sub + kStatLastLow);
    s.lastVolume = LoadF32(sub + kStatLastVolume);
    return s;
}


void ComputeStreamStatistics(uint8_t* sub, const uint8_t* subEnd, CorrectionCursor corrections)
{
    ComputeStreamStatisticsFrom(sub, subEnd, corrections, PeriodStart());
}

namespace {

// The figures the statistics room keeps, gathered day by day over the unmarked days.
struct StatisticsTally {
    uint16_t periodStart;
    Extremes period, allTime;
    float lastOpen = 0, lastHigh = 0, lastLow = 0, lastClose = 0, lastVolume = 0;
    float previousClose = 0, lastUnit = 0;
    uint16_t lastDate;

    StatisticsTally(uint16_t start, uint16_t firstDate) : periodStart(start), lastDate(firstDate) {}

    void add(const DayRecord& day)
    {
        if (IsMarkedDay(day))
            return;
        previousClose = lastClose;
        lastOpen = day.open;
        lastHigh = day.high;
        lastLow = day.low;
        lastClose = day.close;
        lastVolume = day.volume;
        lastUnit = day.unit;
        lastDate = day.date;
        if (lastDate > periodStart)
            period.add(day.close, day.date);
        allTime.add(day.close, day.date);
    }

    void store(uint8_t* sub) const
    {
        StoreF32(sub + kStatMarketValue, float(double(lastClose) * LoadF32(sub + 4) * 0.01));
        StoreF32(sub + kStatLastClose, lastClose);
        StoreF32(sub + kStatChange, previousClose == 0 ? 0.0f : CloseChange(lastClose, previousClose, lastUnit));
        StorePeriod(sub, period);
        StoreU16(sub + kStatLastDate, lastDate);
        StoreU16(sub + 42, 0x8001);
        sub[44] = 0x81;
        StoreU16(sub + 46, 0x8001);
        StoreF32(sub + kStatAllTimeHigh, allTime.any ? allTime.high : 0.0f);
        StoreF32(sub + kStatAllTimeLow, allTime.any ? allTime.low : 0.0f);
        StoreF32(sub + kStatLastOpen, lastOpen);
        StoreF32(sub + kStatLastHigh, lastHigh);
        StoreF32(sub + kStatLastLow, lastLow);
        StoreF32(sub + kStatLastVolume, lastVolume);
    }
};

// The statistics over the days DecodePriceMarker gives: days without data and marked days come as
// marked days at the close of the day before.
StatisticsTally TallyMarkedDays(const uint8_t* sub, const uint8_t* subEnd, CorrectionCursor corrections,
                                uint16_t periodStart)
{
    int32_t scale = LoadI16(sub + kSubRecordScale);
    uint16_t firstDate = LoadU16(sub + kSubRecordFirstDate);
    StatisticsTally tally(periodStart, firstDate);

    DayRecord area[2]{};
    area[0].unit = StartingUnit(scale);
    area[0].date = firstDate;
    // Marked days take the close of the day before; only that close is kept of it.
    DayRecord previous{};
    bool havePrevious = false;
    CorrectionCursor* cursor = corrections.empty() ? nullptr : &corrections;
    const uint8_t* p = sub + kSubRecordStream;
    int32_t price = 0, repeat = 0;
    while (!AtStreamEnd(p, subEnd, repeat)) {
        p = DecodePriceMarker(p, subEnd, area, havePrevious ? &previous : nullptr, price, repeat, scale, 0, cursor);
        const DayRecord& day = area[0];
        if (day.date == 0)
            break;
        tally.add(day);
        previous.close = day.close;
        havePrevious = true;
        if (area[1].date <= day.date)
            break;
        MovePrimedDay(area);
    }
    return tally;
}

} // namespace

void ComputeStreamStatisticsByMarkedDays(uint8_t* sub, const uint8_t* subEnd, CorrectionCursor corrections,
                                         uint16_t periodStart)
{
    if (subEnd - sub >= int(kSubRecordStream))
        TallyMarkedDays(sub, subEnd, corrections, periodStart).store(sub);
}

void ComputeStreamStatisticsFrom(uint8_t* sub, const uint8_t* subEnd, CorrectionCursor corrections,
                                 uint16_t periodStart)
{
    if (!corrections.empty()) {
        ComputeStreamStatisticsByMarkedDays(sub, subEnd, corrections, periodStart);
        return;
    }
    if (subEnd - sub < int(kSubRecordStream))
        return;
    // Without corrections one raw walk gives both the statistics and the walk checkpoints: the raw walk
    // leaves out the days without data that the marked walk keeps as marked days, and the tally skips
    // marked days, so both tally the same days.
    PriceWalkIndexBuilder index(sub, subEnd);
    StatisticsTally tally(periodStart, LoadU16(sub + kSubRecordFirstDate));
    PriceDayWalker w(sub, subEnd, CorrectionCursor{});
    constexpr uint32_t kRun = 128;
    DayRecord run[kRun + 1];
    for (;;) {
        const uint32_t n = w.nextRun(run, std::min(kRun, index.roomBeforeCheckpoint()));
        if (n == 0)
            break;
        for (uint32_t k = 0; k < n; ++k)
            tally.add(run[k]);
        index.addRun(run, n, w);
    }
    KeepPriceWalkIndex(sub, index.take());
    tally.store(sub);
}

void RecomputeSubRecordExtremes(uint8_t* sub, const uint8_t* subEnd, CorrectionCursor corrections, uint16_t start)
{
    if (subEnd - sub < int(kSubRecordStream))
        return;
    int32_t scale = LoadI16(sub + kSubRecordScale);
    DayRecord area[2]{};
    area[0].unit = StartingUnit(scale);
    area[0].date = LoadU16(sub + kSubRecordFirstDate);
    CorrectionCursor* cursor = corrections.empty() ? nullptr : &corrections;
    const uint8_t* p = sub + kSubRecordStream;
    int32_t price = 0, repeat = 0;
    Extremes period;
    while (!AtStreamEnd(p, subEnd, repeat)) {
        p = DecodePriceDay(p, subEnd, area, price, repeat, scale, 0, cursor);
        const DayRecord& day = area[0];
        if (day.date == 0)
            break;
        if (day.date > start)
            period.add(day.close, day.date);
        if (area[1].date <= day.date)
            break;
        MovePrimedDay(area);
    }
    StorePeriod(sub, period);
}

uint16_t DateBackFromLatest(uint32_t unit, int32_t count)
{
    uint16_t latest = LatestDatabaseDate;
    if (latest == 0)
        return 0;
    // Stepping further back than the first representable day gives that day.
    constexpr int32_t kDaysInRange = 128 * 366;
    switch (unit) {
    case 1: {
        uint16_t d = latest;
        for (int32_t i = 0; i < count && i < kDaysInRange; ++i) {
            uint16_t back = PreviousWeekday(d, false);
            if (back >= d)
                return 0;
            d = back;
        }
        return d;
    }
    case 2: {
        uint16_t d = latest;
        for (int32_t i = 0; i < count && i < kDaysInRange; ++i) {
            uint16_t back = PreviousDay(d);
            if (back >= d)
                return 0;
            d = back;
        }
        return d;
    }
    case 3: {
        int year = YearField(latest) - (MonthField(latest) < 3 ? 1 : 0);
        return year < 0 ? 0 : MakePackedDate(0, 0, year);
    }
    case 4:
        return count <= 0 ? 0 : uint16_t(count - 1);
    default:
        return 0;
    }
}

void SetStatisticsPeriod(StoredHighLowPeriod stored)
{
    if (stored.kind == 0 && stored.value == 0)
        return;
    switch (stored.kind) {
    case 1:
    case 2: StatisticsPeriod = {stored.kind, stored.value}; break;
    case 3: StatisticsPeriod = {3, 0}; break;
    case 4: StatisticsPeriod = {4, stored.value}; break;
    default: StatisticsPeriod = {0, 0}; break;
    }
    ResetPeriodStart();
}

StoredHighLowPeriod StoredStatisticsPeriod()
{
    switch (StatisticsPeriod.unit) {
    case 1:
    case 2: return {StatisticsPeriod.unit, StatisticsPeriod.count};
    case 3: return {3, 0};
    case 4: return {4, StatisticsPeriod.count};
    default: return {0, 1};
    }
}

uint16_t PeriodStart()
{
    PeriodCache& cache = Cache();
    if (!cache.valid || cache.latest != LatestDatabaseDate) {
        cache.start = DateBackFromLatest(StatisticsPeriod.unit, StatisticsPeriod.count);
        cache.latest = LatestDatabaseDate;
        cache.valid = true;
    }
    return cache.start;
}

void ResetPeriodStart() { Cache().valid = false; }

} // namespace qv
