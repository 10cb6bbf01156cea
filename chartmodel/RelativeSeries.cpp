// Relative closes.
#include "chartmodel/RelativeSeries.h"

#include <cmath>
#include <limits>

namespace qv {

std::vector<double> BuildRelativeValues(std::span<const DayRecord> own, std::span<const DayRecord> comparison)
{
    std::vector<double> values;
    double base = 0;
    size_t j = 0;
    for (const DayRecord& day : own) {
        if (day.date == 0)
            break;
        // The comparison's last record on or before the day.
        while (j < comparison.size() && comparison[j].date != 0 && comparison[j].date <= day.date)
            ++j;
        const double c2 = j > 0 ? double(comparison[j - 1].close) : 0.0;
        if (c2 == 0) {
            values.push_back(std::numeric_limits<double>::quiet_NaN());
            continue;
        }
        if (base == 0)
            base = c2;
        values.push_back(base * day.close / c2);
    }
    return values;
}

std::vector<DayRecord> BuildRelativeSeries(std::span<const DayRecord> own, std::span<const DayRecord> comparison)
{
    const std::vector<double> values = BuildRelativeValues(own, comparison);
    std::vector<DayRecord> out;
    for (size_t k = 0; k < values.size(); ++k) {
        if (std::isnan(values[k]))
            continue;
        DayRecord d{};
        d.date = own[k].date;
        d.close = float(values[k]);
        out.push_back(d);
    }
    return out;
}

} // namespace qv
