// Changes to a portfolio's entries as the portfolio view makes them: removing entries with their
// transactions, copying a share with its transactions to another portfolio, and the figures of the
// list line that the view's header strip shows when it does not sum the investments.
#pragma once

#include "portfolio/HeaderStrip.h"
#include "core/Portfolio.h"

#include <string>
#include <vector>

namespace qv {

// Whether the portfolio holds transactions of the entry's share and line (any line for imported
// items, ids 0xF000 and up).
bool HasShareTransactions(const Portfolio& portfolio, const RecordCursor& entry);
// Unlinks and frees them; true when any went (the portfolio is then marked changed).
bool RemoveShareTransactions(Portfolio& portfolio, const RecordCursor& entry);
// Removes the entries and their transactions; the current and first-visible rows step back when
// they point past the new end. The portfolio is marked changed.
void RemovePortfolioEntries(Portfolio& portfolio, const std::vector<RecordCursor>& entries);
// "Are you sure you want to delete this entry?" (or move), naming the transactions when there are any.
std::string EntryRemovalQuestion(const Portfolio& portfolio, const RecordCursor& entry, bool move);

// Adds the entry to the target and copies its transactions there in list order, each copy with
// no cash account and the target's number; false when the target is the source or not ordinary.
bool CopyShareToPortfolio(const Portfolio& source, const RecordCursor& entry, Portfolio& target);

// The list line: "No. in Portfolio", "Av. price" with the average change in pence and percent, "Cap"
// and "Av. Cap"; nothing for an empty list. A missing figure counts as 0.
std::vector<HeaderItem> PortfolioListLine(const RecordCursor* entries, int count);

} // namespace qv
