// Row sorting: ordering a share list's rows by any column of its layout, either way, with the
// program's comparisons and tie-breaks.
//
// A sort asks for a signed column n: column |n| - 1 is the key, n > 0 the natural order of the
// column's kind (numbers largest first, texts alphabetical), n < 0 its exact reverse. Keys that need
// computing are computed once per row into the row's sort slot (4 bytes at byte 16 of the row's
// sub-record) before the rows are ordered. Text keys in the slot are 32-bit indexes into the sort's
// own text pool (0: none) in place of pointers. Equal keys fall in storage order, or in name order
// when the ranking option is on and the list holds database rows.
//
// The quicksort takes the median of the first, middle and last rows as its pivot, so rows already in
// order or in reverse cost n log n; past 1000 levels the whole array is selection-sorted instead.
#pragma once

#include "core/RecordCursor.h"

#include <cstdint>
#include <string>
#include <vector>

namespace qv {

struct ShareList;

// One row while it is sorted: its entry, the address of its key and its name rank (0: none).
struct SortItem {
    RecordCursor entry;
    const uint8_t* key = nullptr;
    uint16_t rank = 0;
};
// The comparison: above 0 places a before b, below 0 b before a, 0 leaves them as they fall.
using RowCompare = int (*)(const SortItem& a, const SortItem& b);

// Key address of a sort: 0-32767 an offset in the row's record, kKeyIsEntry the entry itself,
// negative an offset in the row's sub-record (-16 the sort slot).
constexpr int32_t kKeyIsEntry = 32768;
constexpr int32_t kSortSlotKey = -16;

// What PrepareSortKeys chose for a column.
struct SortKeys {
    int32_t keyOffset = 0;
    RowCompare compare = nullptr;
};

// The program-wide busy and stop flags of long list operations.
extern uint8_t SortBusy;
extern uint8_t SortStop;

// Sorts the list's rows by signed column n. 1 when nothing was done (no list, no rows, or a sort
// already running, which is then asked to stop); otherwise whether the column's keys could be
// prepared. Changing only the sign of n reverses the rows without comparing.
int SortRows(ShareList* list, int n, bool force);

// Chooses the key address and comparison for a column record and fills the sort slots; false when
// the column cannot be sorted.
bool PrepareSortKeys(ShareList* list, const uint8_t* def, SortKeys& out);
// The column an intraday column of a small graph sorts by (a value column of the graph's own
// figure: the mid for a price line, the trade count for tick changes and thermographs, the volume for
// a buy/sell bar); empty for a column that shows a value.
std::vector<uint8_t> IntradaySortColumn(const uint8_t* def);

// Orders the rows of a null-ended row array; true.
bool SortRowArray(RecordCursor* rows, const SortKeys& keys, bool useRanks);

// Sorts [lo, hi] (inclusive); false when the depth ran out (the caller then selection-sorts).
bool QuickSortRows(SortItem* lo, SortItem* hi, int depth, RowCompare compare);
void SelectionSortRows(SortItem* lo, SortItem* hi, RowCompare compare);

// The name-rank table: one u16 per record id, the record's 1-based place in the alphabetical order
// of all names (case-insensitive). Built under the extra records' table lock when stale.
void BuildNameRankTable();
void MarkNameRanksStale();
uint16_t NameRank(uint16_t id);

// Where a sort shows its progress: "Sorting" at step 7 (forced) when it starts, an empty text at
// step 0 when it ends. The main frame installs its status-bar progress; none shows nothing.
using SortProgress = void (*)(const char* text, int step, bool force);
void SetSortProgress(SortProgress progress);

// The text pool of the sort in progress (text keys in slots index it).
std::vector<std::string>& SortTextPool();

// Divisors of money columns in dollars (currency 3) and euros (6): the options' exchange rates.
void SetSortMoneyDivisors(float dollar, float euro);

} // namespace qv
