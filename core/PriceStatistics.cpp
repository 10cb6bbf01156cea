// Statistics of price sub-records and the statistics period.
#include "core/PriceStatistics.h"

#include "core/Database.h"
#include "core/PackedDate.h"
#include "core/PriceStream.h"
#include "core/StatisticsPeriod.h"
#include "platform/ByteOrder.h"

#include <cfloat>

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

void StorePeriod(uint8_t* sub, const Extremes& period)
{
    StoreF32(sub + kStatPeriodHigh, period.storedHigh());
    StoreF32(sub + kStatPeriodLow, period.storedLow());
    StoreU16(sub + kStatPeriodHighDate, period.highDate);
    StoreU16(sub + kStatPeriodLowDate, period.lowDate);
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
    if (subEnd - sub < int(kSubRecordStream))
        return;
    uint16_t periodStart = PeriodStart();
    int32_t scale = LoadI16(sub + kSubRecordScale);
    uint16_t firstDate = LoadU16(sub + kSubRecordFirstDate);

    DayRecord area[2]{};
    area[0].unit = StartingUnit(scale);
    area[0].date = firstDate;
    DayRecord previous{};
    bool havePrevious = false;
    CorrectionCursor* cursor = corrections.empty() ? nullptr : &corrections;
    const uint8_t* p = sub + kSubRecordStream;
    int32_t price = 0, repeat = 0;

    Extremes period, allTime;
    DayRecord last{};
    float previousClose = 0;
    uint16_t lastDate = firstDate;
    while (!AtStreamEnd(p, subEnd, repeat)) {
        p = DecodePriceMarker(p, subEnd, area, havePrevious ? &previous : nullptr, price, repeat, scale, 0, cursor);
        const DayRecord& day = area[0];
        if (day.date == 0)
            break;
        if (!IsMarkedDay(day)) {
            previousClose = last.close;
            last = day;
            lastDate = day.date;
            if (lastDate > periodStart)
                period.add(day.close, day.date);
            allTime.add(day.close, day.date);
        }
        previous = day;
        havePrevious = true;
        if (area[1].date <= day.date)
            break;
        area[0] = area[1];
        area[1] = DayRecord{};
    }

    StoreF32(sub + kStatMarketValue, float(double(last.close) * LoadF32(sub + 4) * 0.01));
    StoreF32(sub + kStatLastClose, last.close);
    StoreF32(sub + kStatChange, previousClose == 0 ? 0.0f : last.close - previousClose);
    StorePeriod(sub, period);
    StoreU16(sub + kStatLastDate, lastDate);
    StoreU16(sub + 42, 0x8001);
    sub[44] = 0x81;
    StoreU16(sub + 46, 0x8001);
    StoreF32(sub + kStatAllTimeHigh, allTime.any ? allTime.high : 0.0f);
    StoreF32(sub + kStatAllTimeLow, allTime.any ? allTime.low : 0.0f);
    StoreF32(sub + kStatLastOpen, last.open);
    StoreF32(sub + kStatLastHigh, last.high);
    StoreF32(sub + kStatLastLow, last.low);
    StoreF32(sub + kStatLastVolume, last.volume);
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
        area[0] = area[1];
        area[1] = DayRecord{};
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
