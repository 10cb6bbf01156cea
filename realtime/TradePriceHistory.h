// The trade price history: a plain text dump of a share's ticks of one day, a line per tick.
#pragma once

#include "core/PackedDate.h"
#include "realtime/store/RTActiveShares.h"

#include <span>
#include <string>
#include <vector>

namespace qv {

// The lines of a day's ticks (read up to the end record): "New date = ", an empty line, then a line
// per time, quote and trade; "No intraday information" without ticks.
std::vector<std::string> TradePriceHistoryLines(std::span<const IntradayTick> ticks, PackedDate day);

// The lines of the share's newest stored day.
std::vector<std::string> ReadTradePriceHistory(uint16_t share);

} // namespace qv
