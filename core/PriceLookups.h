// Single-day lookups in a record's price streams. Each decodes with its own state, applies the
// stream's corrections and allocates nothing.
#pragma once

#include "core/DayRecord.h"

#include <cstdint>
#include <memory>

namespace qv {

class CMovingAverage;

constexpr uint8_t kUnitTrustKind = 14;

// The day for a date: the last day on or before it (decoding stops at the first day dated on or after
// the date, or whose next weekday is after it). On a unit-trust stream a day not exactly on the date
// leaves the day before as the result. Before the first day: zeros. At the end of the stream: the last
// day when keepLast is set or the stream is a unit trust's, else zeros and a null position. Returns
// the stream position after the day found.
const uint8_t* FindPriceOnDate(uint8_t* record, uint32_t stream, uint16_t date, bool keepLast, DayRecord* out);
// Lookups resume from each stream's walk checkpoints (core/PriceWalkIndex), built by the statistics
// pass or, failing that, by the first lookup that needs them; streams with corrections are walked
// whole so that an edit shows at once. Every lookup may run on any thread.

// The close of the day FindPriceOnDate finds (0 when it finds none).
float GetPriceOnDate(uint8_t* record, uint32_t stream, uint16_t date, bool keepLast);

// As GetPriceOnDate, as the price before any unit change: the stream's running integer over its scale.
float GetRawPriceOnDate(uint8_t* record, uint32_t stream, uint16_t date, bool keepLast);

// The day n days before the last (0 = the last); all zeros when n is not below the number of days.
void GetDayRecordFromEnd(uint8_t* record, uint32_t stream, uint32_t n, DayRecord* out);

// The close n days before the last; 0 when n is not below the number of days.
float GetPriceDaysBack(uint8_t* record, uint32_t stream, uint32_t n);

// Mean close of the last n days (n at least 1; only those days take corrections); 0 unless the stream
// has more than n days.
float AveragePriceLastDays(uint8_t* record, uint32_t stream, uint32_t n);
// Mean volume of the last n days, on the same terms.
float AverageVolumeLastDays(uint8_t* record, uint32_t stream, uint32_t n);

// Date of the last day that has a date and no mark.
uint16_t GetLastPriceDate(uint8_t* record, uint32_t stream);

// The highest daily high of the days after `after` and before `before`; 0 when no such day has a
// positive high.
float GetHighestHighBetween(uint8_t* record, uint32_t stream, uint16_t after, uint16_t before);

// Highest and lowest close after the start date with their dates (ties go to the later day); 0 when
// there is none.
void GetHighLowInRange(uint8_t* record, uint32_t stream, uint16_t start, float* high, uint16_t* highDate, float* low,
                       uint16_t* lowDate);

// The calculator GetMovingAverageAt keeps between calls with the same spec.
struct MovingAverageCache {
    MovingAverageCache();
    ~MovingAverageCache();
    std::unique_ptr<CMovingAverage> calculator;
    uint32_t spec = 0;
};

// The moving average of the closes up to a day: `when` above 0 is a date (the last day on or before
// it), 0 the last day and below 0 that many days before the last. `spec` is the period << 16 with the
// average's type + 1 in its low 4 bits; type field 0 gives the day's close (the stored last close for
// the last day). A period below 5 gives 0. The calculator is primed with the first close, so fewer days
// than the period still give an average. It is made into the cache on first use and reset on later
// uses; a null cache uses one of its own.
float GetMovingAverageAt(uint8_t* record, uint32_t stream, int32_t when, uint32_t spec, MovingAverageCache* cache);

} // namespace qv
