// The texts of the summary of trades: a day's trade counts, volumes and values split into buys,
// sells and unknowns, with common display units, percentages of the total and the time and date lines.
#pragma once

#include "realtime/TradeListRows.h"

#include <array>
#include <cstdint>
#include <span>
#include <string>

namespace qv {

// The summary's two options (bit 0 and bit 1 of the caller's flags).
constexpr uint32_t kSummarySignificant = 1, kSummaryPercentages = 2;

// What the summary needs besides the totals.
struct TradeSummaryContext {
    std::string shareName;       // the share's name for the caption
    bool newsView = false;       // a news view without a share says so
    int32_t zoneOffset = 0;      // seconds from the stored times to the market's
    std::string zoneName;        // the market zone's standard or daylight name on the day
    uint32_t referenceTime = 0;  // the market's reference time, shown when there are no trades
    std::string currencySymbol;  // of the share's price type
};

// A common unit for figures: the scale they are divided by and its word ("thousands" ...).
struct DisplayUnit {
    double scale = 1;
    std::string word;
};
// The unit of the figure above zero whose scaled figure is smallest; none (scale 1) without one.
DisplayUnit CommonDisplayUnit(std::span<const double> figures);

// "(%u%%)": the part's whole percentage of the total, truncated; empty for a zero total.
std::string PercentOfTotal(double part, double total);

struct TradeSummaryTable {
    std::string caption;            // the share's name, " - ", and the dialog's caption
    std::string message;            // set when there is nothing to show
    std::string timeLine, dateLine;
    std::array<std::string, 3> headings;            // count, volume, value
    std::array<std::array<std::string, 3>, 4> cells; // rows total, buy, sell, unknown
    std::array<std::array<std::string, 3>, 4> percents; // buy, sell and unknown rows
};
inline constexpr const char* kTradeSummaryRows[4] = {"Total", "Buy", "Sell", "Unknown"};
inline constexpr const char* kTradeSummaryCaption = "Summary of Trades";

TradeSummaryTable FormatTradeSummary(const TradeTotals& totals, const TradeSummaryContext& context, uint32_t options);

// The shown time of a stored time moved by the zone offset; a negative offset applies only when it
// keeps the time at or above zero.
uint32_t ShiftedTradeTime(uint32_t time, int32_t offset);

} // namespace qv
