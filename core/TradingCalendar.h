// The fixed market holidays and counting trading days between two dates.
#pragma once

#include "core/PackedDate.h"

#include <cstdint>
#include <span>

namespace qv {

// The 99 fixed London market holidays of 1994 to 2005, in date order.
std::span<const PackedDate> MarketHolidays();
bool IsMarketHoliday(PackedDate date);

// Dates visited stepping from `from` by NextWeekday while within [from, to]; `from` itself counts even
// on a weekend. 0 when `from` is 0.
int32_t CountTradingDays(PackedDate from, PackedDate to);

} // namespace qv
