// The pre-set portfolios the program fills from the database: New Highs, New Lows and the alarms.
#pragma once

#include "core/Portfolio.h"

namespace qv {

// Adds every (record, sub-record) of the main block whose period high (or low) date is on or after
// the high/low base date.
void FillHighLowPortfolio(Portfolio* p, bool highs);
void FillNewLows(Portfolio* p);
void FillNewHighs(Portfolio* p);
// Empties and refills the pre-set "New Lows", "New Highs", "Alarms" and "Alarms - Global" portfolios.
void UpdatePresetPortfolios();
// Only "Alarms" (after a share alarm changed) or only "Alarms - Global" (after the global rows changed).
void UpdateShareAlarmPortfolio();
void UpdateGlobalAlarmPortfolio();

} // namespace qv
