// Invented intraday days: a share's quotes and trades over London hours around its daily prices,
// the same for the same share and day, written into day entries through the stored tick coding.
#pragma once

#include "core/PackedDate.h"
#include "realtime/store/RTDayRecord.h"
#include "realtime/store/RTShareTable.h"

#include <cstdint>
#include <string>
#include <vector>

namespace qv::dev {

struct IntradayEvent {
    uint32_t time = 0; // seconds since midnight
    float offer = 0, bid = 0;
    bool trade = false;
    float price = 0;
    uint32_t volume = 0;
};

// The day's prices the events follow: they open at `open`, touch `high` and `low` and end at `close`.
struct IntradayDayPrices {
    float previousClose = 0;
    float open = 0, high = 0, low = 0, close = 0;
};

// Quotes and trades from 08:00 to 16:30 in time order, deterministic per share and day.
std::vector<IntradayEvent> GenerateIntradayDay(uint16_t share, PackedDate day, const IntradayDayPrices& prices);

// An index's day from a share's events: its value (the mid, to the hundredth) without bid, offer or
// trades, its times moved from London's hours onto the market's hours (open and close in seconds).
std::vector<IntradayEvent> AsIndexValues(const std::vector<IntradayEvent>& events, uint32_t open, uint32_t close);
// The feed's source of index values.
constexpr uint8_t kIndexValueSource = 9;

// Codes the events into the entry's tick words and fills its summary.
void WriteIntradayEntry(RTDayShareEntry& entry, const std::vector<IntradayEvent>& events, float previousClose);

// A share of an invented day: in the database, or an instrument the feed defines.
struct IntradayShareSpec {
    uint32_t key = 0;
    IntradayDayPrices prices;
    std::string shortName, longName; // instruments only
    // An index: its values alone over the market's hours, from the index source, on that exchange.
    bool index = false;
    uint8_t exchange = 0;
};

// Adds the instruments' keys, records and names to the table (once), then makes the day.
RTDayRecord MakeIntradayDay(PackedDate day, RTShareTable& table, const std::vector<IntradayShareSpec>& shares);

} // namespace qv::dev
