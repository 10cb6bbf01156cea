// The pre-set portfolios the program fills from the database: New Highs and New Lows.
#pragma once

#include "core/Portfolio.h"

namespace qv {

// Adds every (record, sub-record) of the main block whose period high (or low) date is on or after
// the high/low base date.
void FillHighLowPortfolio(Portfolio* p, bool highs);
void FillNewLows(Portfolio* p);
void FillNewHighs(Portfolio* p);
// Empties and refills the pre-set "New Lows" and "New Highs" portfolios of the chain.
void UpdatePresetPortfolios();

} // namespace qv
