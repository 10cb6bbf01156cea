// A cash account's statement: its own entries and the transactions that name it, in date order,
// each with the running balance written back into its record.
#pragma once

#include "core/RecordCursor.h"

#include <cstdint>
#include <vector>

namespace qv {

struct CashAccount;
struct Portfolio;

// Row kinds, kept in the row's count.
constexpr uint32_t kCashRowTransaction = 0;
constexpr uint32_t kCashRowEntry = 1;

struct CashStatement {
    std::vector<RecordCursor> rows; // {record bytes, kind}
    double balance = 0;
};

// The account's entries, then every transaction of the portfolios in the chain (groups left out)
// that names the account and moves cash, in date order (on one date the account's own entries
// first). Each row's running balance goes into its record: an entry's bytes 16-19, a transaction's
// field 104.
CashStatement BuildCashStatement(CashAccount& account, Portfolio* chain);

// Offset of the entry within the account's block, and the entry at a row; nothing for a row that
// is not one of the account's entries.
int64_t CashEntryOffset(const CashAccount& account, const RecordCursor& row);
// Removes the entry at the offset from the block (the entries behind it move up, the end byte
// included); false when no entry starts there.
bool RemoveCashEntry(CashAccount& account, uint32_t offset);

// Transactions of every portfolio that name the account but belong to another portfolio than
// `portfolioNumber`; with `clear` their cash account becomes none.
int CountForeignCashTransactions(uint32_t account, uint16_t portfolioNumber, Portfolio* chain, bool clear);

} // namespace qv
