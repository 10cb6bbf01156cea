// The period option of the share statistics: how far back from the latest database date the period
// highs and lows reach.
#pragma once

#include <cstdint>

namespace qv {

struct StatisticsPeriodOption {
    uint16_t unit;   // 1 weekdays, 2 calendar days, 3 from the start of the year, 4 from a given date
    uint16_t count;  // days for units 1 and 2; a PackedDate for unit 4
};

// The option in force; the options pages edit it and then call RecomputeAllPeriodExtremes.
extern StatisticsPeriodOption StatisticsPeriod;

} // namespace qv
