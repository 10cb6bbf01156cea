// Where the loader meets the price streams: the statistics room of every sub-record, the market
// calendar's last date and trading days, and the earnings ratio of every record.
#pragma once

#include <cstdint>

namespace qv {

struct DayRecord;

// Fills the statistics room of every sub-record of every record of a loaded record block.
void FillBlockStatistics(uint8_t* block);
// The date of the last priced day of the record's first price stream; 0 when none.
uint16_t FindLastPriceDate(uint8_t* record);
// Decodes the record's first price stream into a new guarded-memory array (raw, with
// corrections); the number of days, with *days null when there are none.
int32_t DecodeTradingCalendar(uint8_t* record, DayRecord** days);
// Computes the record's earnings ratio fields (offsets 12-21).
void FillRecordRatio(uint8_t* record);

} // namespace qv
