// Single-day lookups in a record's price streams. Each decodes with its own state, applies the
// stream's corrections and allocates nothing.
#pragma once

#include "core/DayRecord.h"

#include <cstdint>

namespace qv {

constexpr uint8_t kUnitTrustKind = 14;

// The day for a date: the last day on or before it (decoding stops at the first day dated on or after
// the date, or whose next weekday is after it). On a unit-trust stream a day not exactly on the date
// leaves the day before as the result. Before the first day: zeros. At the end of the stream: the last
// day when keepLast is set or the stream is a unit trust's, else zeros and a null position. Returns
// the stream position after the day found.
const uint8_t* FindPriceOnDate(uint8_t* record, uint32_t stream, uint16_t date, bool keepLast, DayRecord* out);

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

// Date of the last day that has a date and no mark.
uint16_t GetLastPriceDate(uint8_t* record, uint32_t stream);

// Highest and lowest close after the start date with their dates (ties go to the later day); 0 when
// there is none.
void GetHighLowInRange(uint8_t* record, uint32_t stream, uint16_t start, float* high, uint16_t* highDate, float* low,
                       uint16_t* lowDate);

} // namespace qv
