// Reading a share's trade list rows and trade totals for a day out of the intraday store.
#pragma once

#include "core/PackedDate.h"
#include "realtime/TradeListRows.h"

#include <cstdint>
#include <vector>

namespace qv {

// The newest day the intraday store holds; 0 when it holds none.
PackedDate NewestRTStoredDay();

// The share's ticks of the day, expanded into its active share under the store's exclusive lock;
// empty when the store holds nothing for it. With `again`, a day expanded before is expanded anew, so
// that the ticks the feed has added since come too.
std::vector<IntradayTick> ReadRTShareDayTicks(uint16_t share, PackedDate day, bool again = false);

// The share's trades of the day (the newest stored day for 0), priced in `unit`.
TradeTotals ReadRTTradeTotals(uint16_t share, PackedDate day, uint8_t unit);

} // namespace qv
