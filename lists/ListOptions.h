// The option values the list rows and the row sort read, with their defaults in one place, and the
// program's memory of each fixed list's current row.
//
// Defaults: stale days 30 (a line whose last price is more than 30 days older than the database's
// latest date is dropped), old shares not shown, investment trusts not counted as "Shares", ranking
// off (equal keys keep storage order), the sector filter and the current row shared by all lists of
// one number (the per-list options off).
#pragma once

#include <cstdint>

namespace qv {

struct ListOptions {
    int32_t staleDays = 30;
    bool showOldShares = false;
    bool trustsAreShares = false;
    bool ranking = false;             // equal sort keys in alphabetical order of the shares' names
    bool perListSettings = false;     // each list keeps its own sector filter
    bool perListCurrentRow = false;   // each list keeps its own current row
};
ListOptions& CurrentListOptions();

constexpr int kFixedListCount = 35;

// The current row remembered for a fixed list number: {record id, line}; {0, 0} when none.
struct RememberedRow {
    uint32_t id = 0;
    uint32_t line = 0;
};
RememberedRow RememberedListRow(int32_t listNumber);
void RememberListRow(int32_t listNumber, RememberedRow row);
void ForgetListRows();

} // namespace qv
