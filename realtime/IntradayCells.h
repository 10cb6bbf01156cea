// What a list table's intraday cells read of the intraday engine: a column's value in the list's own
// value types, the flash state of a live cell, and a day's ticks with the exchange's trading hours
// for the small graphs.
#pragma once

#include "realtime/store/RTActiveShares.h"

#include <cstdint>
#include <vector>

namespace qv {

// The list route's value types: 0 none, 1 a formatted number, 3 plain, 4 signed, 5 a time of day.
constexpr int kCellRouteNone = 0, kCellRouteNumber = 1, kCellRoutePlain = 3, kCellRouteSigned = 4, kCellRouteTime = 5;
// The route's type for a type of GetRTColumnValue (zero and none both show nothing).
int IntradayRouteType(int engineType);

// The value of intraday column `letter` for a database record, `daysBack` days back (either sign),
// with the column's option word (low byte the value kind, high byte the form), as a route type.
int IntradayCellValue(const uint8_t* record, int daysBack, int letter, uint16_t option, float& value);

// The arrow of a share's 'I' column: its last trade's direction, `daysBack` days back (either sign);
// 1 up, -1 down, 0 unchanged, 2 none.
int IntradayTradeDirection(const uint8_t* record, int daysBack);

// The flash state of a live cell of `letter` for the share: 1 up, 2 down, 3 same, 0 none. Marks
// older than the highlight duration (`nowMs` on the feed's millisecond tick) count as none.
int IntradayCellFlash(const uint8_t* record, int letter, uint32_t nowMs);
// The feed's millisecond tick, as the change marks carry it.
uint32_t IntradayNowMs();

// A share's day for a small graph: its ticks (ended without a type-0 tick) and the trading hours of
// its exchange in seconds of the day.
struct IntradayGraphDay {
    std::vector<IntradayTick> ticks;
    uint32_t open = 0, close = 0;
};
// The day `daysBack` weekdays before the current one (loaded when stored); false when the store has
// no such day or nothing for the share.
bool IntradayCellDay(const uint8_t* record, int daysBack, IntradayGraphDay& out);

} // namespace qv
