// Placeholders until the price streams are decoded: no statistics, no calendar, no ratio.
#include "core/PriceStatisticsHooks.h"

namespace qv {

void FillBlockStatistics(uint8_t*) {}

uint16_t FindLastPriceDate(uint8_t*) { return 0; }

int32_t DecodeTradingCalendar(uint8_t*, DayRecord** days)
{
    *days = nullptr;
    return 0;
}

void FillRecordRatio(uint8_t*) {}

} // namespace qv
