// Stepping a packed date by days, weeks, months or years, and the start date of a period setting.
#pragma once

#include "core/PackedDate.h"

#include <cstdint>
#include <string>

namespace qv {

// Units: 0 days, 1 weeks, 2 months, 3 years.
// Adds n units to a packed date. Months carry whole years both ways and keep the day number as it
// stands (31 January + 1 month is "31 February"). Another unit, or a result outside the packed
// years, gives the date unchanged.
PackedDate AddToDate(PackedDate date, int32_t n, int unit);

// A period word below 0x10000 is itself a packed date. Otherwise its high word is the unit (2 weeks,
// 3 months, 4 years, 5 a bare day count, others days) and its low word the count back from `from`;
// unit 5 gives -count for the caller to use as a day count.
int32_t PeriodStartDate(uint32_t period, PackedDate from);

// The value followed by " days", " weeks", " months", " years" or " percent" for unit 0-4; another
// unit gives the value alone.
std::string PeriodItemText(int unit, const std::string& value);

} // namespace qv
