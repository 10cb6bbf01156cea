// The rows of a trade list: one share's day of intraday ticks turned into trade and quote rows with
// the bid and offer in force, each trade's likely direction and the up/down marks of bid, mid and
// offer; and the day's trade totals split into buys, sells and unknowns.
#pragma once

#include "core/PackedDate.h"
#include "realtime/store/RTActiveShares.h"

#include <cstdint>
#include <span>
#include <vector>

namespace qv {

// The trade list's modes (ShareList::tradeMarket).
constexpr int32_t kTradeListTrades = 0;
constexpr int32_t kTradeListQuotes = 1;
constexpr int32_t kTradeListBoth = 2;

// The change marks: three 2-bit fields, bits 0-1 bid, 2-3 mid, 4-5 offer.
constexpr uint32_t kChangeSame = 0, kChangeUp = 1, kChangeNone = 2, kChangeDown = 3;
constexpr int kChangeBidShift = 0, kChangeMidShift = 2, kChangeOfferShift = 4;

struct TradeListRow {
    uint32_t time = 0;    // the day's last time tick before this tick
    float bid = -1;       // in force; negative: none
    float offer = -1;
    float price = 0;      // trade rows
    int32_t volume = 0;   // trade rows, truncated
    uint16_t type = 0;    // the tick's type word (low 5 bits: 2 quote, 3 trade)
    uint8_t unit = 7;     // the share's price currency; 7 when unknown
    int8_t direction = 0; // trade rows: 1 buy, -1 sell, 0 unknown
    uint8_t first = 0;    // the tick's first byte
    uint32_t change = 0;  // the change marks

    bool IsTrade() const { return (type & kTickKindMask) == kTickTrade; }
};

// The rows of a day's ticks (read up to the end record) in the mode, priced in `unit`.
std::vector<TradeListRow> BuildTradeListRows(std::span<const IntradayTick> ticks, int32_t mode, uint8_t unit);

// 1 buy, -1 sell, 0 unknown: a price above the middle third of the spread is a buy, below it a sell.
int8_t TradeDirection(float bid, float offer, float price);

// A change field as a signed state: 1 up, -1 down, 0 unchanged, -2 no value.
int ChangeState(uint32_t change, int shift);

// Whether prices in the currency are kept in pence (or cents), so that a value needs the 0.01.
bool PricedInMinorUnits(uint8_t unit);

// Slots of the totals: all trades, buys, sells, unknowns.
struct TradeTotals {
    uint32_t count[4] = {};
    double volume[4] = {};
    double value[4] = {};
    uint32_t latestTime = 0;
    uint16_t share = 0;   // the share and day the totals are of; 0 when none
    PackedDate day = 0;
    uint8_t unit = 7;     // the share's price currency
};
TradeTotals SumTradeTotals(std::span<const TradeListRow> rows);

} // namespace qv
