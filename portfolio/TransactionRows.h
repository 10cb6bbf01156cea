// The rows of the transaction and cash views: which transactions a transactions view lists, the
// rows written into a share list, and a group copy's own record in its member portfolio.
#pragma once

#include "core/RecordCursor.h"

#include <vector>

namespace qv {

struct Portfolio;
struct ShareList;
struct Transaction;

// Every transaction in list order; with totals only just the 'Latest' rows; with held only the
// runs whose 'Latest' row holds no shares are left out.
std::vector<Transaction*> TransactionRowsOf(const Portfolio& portfolio, bool totalsOnly, bool heldOnly);

// The list's entries become the rows (the array grown as needed, ended by an empty entry) and its
// cursors are kept within them.
void SetListRows(ShareList* list, const std::vector<RecordCursor>& rows);
std::vector<RecordCursor> RowsOfTransactions(const std::vector<Transaction*>& records);
// Empties every list (those of the chain and `own`) whose rows lie in the bytes [begin, end): a view
// whose row records go calls it first, as any list may outlive it.
void ForgetRowsWithin(const void* begin, const void* end, ShareList* own);

// The share a row of the list stands for: in lists of share records the row itself; in transaction
// and cash lists the share the transaction names by its id and line. Nothing for a cash account's
// own entries, for news, trade and dealing rows, for an empty row, or when the share is not in the
// database.
RecordCursor ShareOfRow(const ShareList& list, const RecordCursor& row);

// The record of the member portfolio that a group's copy stands for: same share, line, date, time,
// type and member number; null when none.
Transaction* MemberRecordOf(const Portfolio& member, const Transaction& copy);

} // namespace qv
