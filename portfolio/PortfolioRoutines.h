// Routines over the portfolio chain: emptying, deleting, copying and finding portfolios, group
// rebuilds, pointing lists at a default portfolio, and the entry counts after a load.
#pragma once

#include "core/Portfolio.h"

#include <cstdint>
#include <functional>

namespace qv {

struct ShareList;

// What deleting a portfolio needs of the toolbars and the view groups. An empty hook is skipped.
struct PortfolioRoutineHooks {
    // The toolbar shortcuts naming `removed` now name `replacement`.
    std::function<void(uint16_t removed, uint16_t replacement)> replaceShortcuts;
    // A list that showed the deleted portfolio now shows the default one: its views refresh.
    std::function<void(ShareList* list)> refreshGroup;
    // The portfolio of that number was deleted (the intraday market table drops its entries).
    std::function<void(uint16_t number)> portfolioDeleted;
};
PortfolioRoutineHooks& GetPortfolioRoutineHooks();

// Detaches the lists that show the portfolio, frees its entry array (replaced by an empty one
// unless for good) and its transaction, member and missing-share lists.
void ClearPortfolio(Portfolio* p, bool forGood);
// Unlinks, deletes the files of, empties and frees the portfolio; the lists that showed it show
// the default portfolio and their views are refreshed.
void DeletePortfolio(Portfolio* p);
// Points the list at the first user or group portfolio (or the second of the chain; nothing for
// a transactions list).
void ShowDefaultPortfolio(ShareList* list);
// Copies entries, missing shares, name, flags and type; the groups that include the destination
// are rebuilt.
void CopyPortfolio(Portfolio* destination, const Portfolio* source, uint32_t flags);
// Refills a group portfolio's entries from its members, each entry once.
void RebuildGroupPortfolio(Portfolio* group);
Portfolio* FindPortfolioByNumber(uint16_t number);
// The lowest number no portfolio uses; -1 when every number up to 999 is taken.
int32_t LowestFreePortfolioNumber();
// Sets every portfolio's positions from its entries after a load (the first is left alone).
void RecountPortfolioEntries();

} // namespace qv
