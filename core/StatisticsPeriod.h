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

// The global highs-and-lows setting as the configuration stores it: kind 0 all history, 1 trading
// days, 2 days (value the count), 3 since 1 January, 4 since a date (value the PackedDate).
struct StoredHighLowPeriod {
    uint16_t kind = 0;
    uint16_t value = 0;
};
// Puts a stored setting in force (the period start is worked out afresh); {0, 0}, never set, keeps
// the option. Kind 0 is stored with value 1 so that a chosen "All history" is told from nothing.
void SetStatisticsPeriod(StoredHighLowPeriod stored);
StoredHighLowPeriod StoredStatisticsPeriod();

} // namespace qv
