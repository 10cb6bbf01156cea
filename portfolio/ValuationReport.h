// The portfolio valuation report: each holding of a portfolio valued at a date, or at two dates with
// the change, with the attached cash accounts when asked for.
#pragma once

#include "core/PackedDate.h"

#include <functional>
#include <string>
#include <vector>

namespace qv {

struct Transaction;

// The report's settings, kept for the run.
struct ValuationSettings {
    PackedDate valuationDate = 0; // 0 until first set
    PackedDate comparisonDate = 0;
    bool useDate = false;         // false: the database's latest date
    bool compare = false;
    int changeAs = 0;             // 0 percent, 1 absolute change
    bool includeCash = false;
};
ValuationSettings& CurrentValuationSettings();

struct ValuationCash {
    std::string name;
    std::function<double(PackedDate)> balanceAt;
};

struct ValuationInputs {
    const Transaction* transactions = nullptr; // a portfolio's list: runs by share and line
    // The share's close in pence on or before the date; 0 when it has none or is gone.
    std::function<double(uint16_t shareId, uint8_t line, PackedDate date)> pricePence;
    std::vector<ValuationCash> cash; // the attached accounts
    bool includeCash = false;
};

// A weekend day or fixed market holiday moves back to the weekday before that is not one.
PackedDate ValuationDay(PackedDate date);
// The number held on the date by the run starting at `first` (the run ends with its 'Latest' row).
double HoldingAt(const Transaction* first, PackedDate date);

// The single-date report: four columns (stops 45, 65, 85 %).
std::vector<std::string> SingleDateValuation(const ValuationInputs& in, PackedDate date);
// The comparison report: six columns (stops 40, 50, 64, 74, 88 %); dates in either order.
std::vector<std::string> ComparisonValuation(const ValuationInputs& in, PackedDate first, PackedDate second,
                                             bool percent);

} // namespace qv
