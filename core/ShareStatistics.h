// Derived values of the database records: each record's price/earnings ratio, and the options
// that it and the high/low lists read.
#pragma once

#include <cstdint>

namespace qv {

// Units of the currency to the pound, the program's one set of rates: the Currency options page edits
// the first two, and every ratio, results figure and formula converts with them. A rate of 0 or less
// converts nothing (a ratio that needs it is 0). Start-up gives a configuration without rates 1.44,
// 1.75, 2.23 and 2.1; the last two are kept as stored.
struct ExchangeRates {
    float euro = 0;
    float usDollar = 0;
    float third = 0;
    float fourth = 0;
};
ExchangeRates& GetExchangeRates();

// How far back the New Highs and New Lows look: mode 1 `days` before the latest database date,
// modes 2 and 3 a stored date each, otherwise the latest database date itself.
struct HighLowOption {
    uint8_t mode = 0;
    uint16_t days = 0;
    uint16_t firstDate = 0;
    uint16_t secondDate = 0;
};
HighLowOption& GetHighLowOption();

// Result currencies the ratio converts from.
constexpr uint32_t kCurrencyUsDollar = 3;
constexpr uint32_t kCurrencyEuro = 6;
constexpr uint16_t kHighestRatio = 50000;

// Sets the record's earnings value (offset 12), the earnings item's date and tail (16) and the
// ratio (20) from its last results item and the close of sub-record `stream`.
void UpdateRecordRatio(uint8_t* record, uint32_t stream);
// The same for every record of the main block.
void UpdateAllRecordRatios();
// The date the high/low lists count from.
uint16_t HighLowBaseDate();

} // namespace qv
