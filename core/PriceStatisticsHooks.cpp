// The loader's calls into the price streams.
#include "core/PriceStatisticsHooks.h"

#include "core/Memory.h"
#include "core/PriceLookups.h"
#include "core/PriceSubRecords.h"
#include "core/RecordAccess.h"
#include "core/ShareStatistics.h"

namespace qv {

void FillBlockStatistics(uint8_t* block) { ComputeBlockStatistics(block); }

uint16_t FindLastPriceDate(uint8_t* record) { return GetLastPriceDate(record, 0); }

int32_t DecodeTradingCalendar(uint8_t* record, DayRecord** days)
{
    *days = nullptr;
    RecordCursor cursor{record, 0};
    int32_t count = DecodePriceHistory(&cursor, days, 0, true, true);
    if (count == 0) {
        ProFree(*days);
        *days = nullptr;
    }
    return count;
}

void FillRecordRatio(uint8_t* record) { UpdateRecordRatio(record, 0); }

} // namespace qv
