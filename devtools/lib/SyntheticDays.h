// A synthetic daily price history for tests, renders and benchmarks of the daily chart: the random
// walk of SyntheticChart.h as daily records on consecutive weekdays from 2 January 2015, ended by a
// date-0 record.
#pragma once

#include "core/DayRecord.h"
#include "core/PackedDate.h"
#include "devtools/lib/SyntheticChart.h"

#include <vector>

namespace qv::dev {

inline std::vector<DayRecord> MakeSyntheticDays(int n)
{
    const SyntheticBars bars = MakeSyntheticBars(n);
    std::vector<DayRecord> days(size_t(n) + 1);
    PackedDate date = PackDate(2, 1, 2015);
    for (size_t i = 0; i < size_t(n); ++i, date = NextWeekday(date))
        days[i] = {bars.open[i], bars.high[i], bars.low[i], bars.close[i], bars.volume[i], 1.0f, {},
                   date, uint8_t(WeekdayOf(date) + 1), 0, 1, {}};
    return days;
}

} // namespace qv::dev
