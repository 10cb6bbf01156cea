// Small price histories and a runner for the indicator routines' tests.
#pragma once

#include "chartmodel/GraphModel.h"
#include "charts/IndicatorRoutes.h"
#include "core/PackedDate.h"

#include <cfloat>
#include <vector>

namespace qv::test {

struct DayPrices {
    float open, high, low, close, volume;
    uint8_t mode = 1;   // 1 full data, 0 close only
};

// Consecutive weekdays from 5 January 2015.
inline std::vector<DayRecord> MakeDays(const std::vector<DayPrices>& prices)
{
    std::vector<DayRecord> days;
    PackedDate date = PackDate(5, 1, 2015);
    for (const DayPrices& p : prices) {
        DayRecord d{};
        d.open = p.open;
        d.high = p.high;
        d.low = p.low;
        d.close = p.close;
        d.volume = p.volume;
        d.unit = 1;
        d.date = date;
        d.modeMarks = p.mode;
        days.push_back(d);
        date = NextWeekday(date);
    }
    return days;
}

// Full-data days from closes: high and low 1% about the close, volume 1000.
inline std::vector<DayRecord> DaysOfCloses(const std::vector<float>& closes)
{
    std::vector<DayPrices> prices;
    for (float c : closes)
        prices.push_back({c, c * 1.01f, c * 0.99f, c, 1000});
    return MakeDays(prices);
}

struct Run {
    ValueRange range{FLT_MAX, -FLT_MAX, 0, 100, 0, 0, nullptr, nullptr};
    IndicatorResult result;
    bool drawn() const { return !result.lines.empty(); }
    const std::vector<double>& values(size_t line = 0) const { return result.lines.at(line).values; }
};

// The type's routine over the days; values kept from day `firstVisible` up to day `last` (-1: all).
inline Run RunIndicator(const IndicatorRecord& record, const std::vector<DayRecord>& days, int firstVisible = 0,
                        int last = -1, const ValueRange* start = nullptr)
{
    Run run;
    if (start)
        run.range = *start;
    IndicatorInput in;
    in.record = record;
    in.days = days;
    in.firstVisibleDate = days.empty() ? 0 : days[size_t(firstVisible)].date;
    if (last >= 0)
        in.lastDate = days[size_t(last)].date;
    const IndicatorRoute& route = RouteOf(record.type);
    route.routine(in, run.range, run.result, route.variant);
    return run;
}

} // namespace qv::test
