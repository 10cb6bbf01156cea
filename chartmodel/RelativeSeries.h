// A share's closes relative to another share's: the series the relative-strength pane draws and the
// relative price array the price pane shows for the chart's relative added graph.
#pragma once

#include "core/DayRecord.h"

#include <span>
#include <vector>

namespace qv {

// One value per record of `own` (up to a date-0 record): b x close / c2, where c2 is the comparison's
// close on the record's day or the last before it, and b the first such c2. A record before the
// comparison's history, or whose c2 is 0, has no value (NaN).
std::vector<double> BuildRelativeValues(std::span<const DayRecord> own, std::span<const DayRecord> comparison);

// The relative price array: a record per record of `own` with only the date and the close (its
// relative value) filled; records without a value are left out.
std::vector<DayRecord> BuildRelativeSeries(std::span<const DayRecord> own, std::span<const DayRecord> comparison);

} // namespace qv
