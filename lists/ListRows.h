// The rows of a share list: which database lines belong to each of the 35 fixed lists, the filters
// on top (new highs and lows, sector, stale lines), rebuilding a list's rows in name order and
// refilling a list with its current row kept.
//
// Rows come from three sources merged by name: the main record block, the imported items (the first
// extra item list) and the extra records the intraday code builds (the second extra item list).
// Index records are records whose flag word says the index market, or whose first line is of class 1.
// The investment-trust sectors are the sectors of the field table's "Sector" entry (25) whose name
// holds "Investment".
#pragma once

#include "core/RecordCursor.h"

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace qv {

struct Portfolio;
struct ShareList;

enum class RowSource : uint8_t { Main, Imported, Extra };

// The fixed list names ("All", "Shares", ... "U.K."); "" out of range.
const char* FixedListName(int32_t listNumber);

// Whether line `line` (sub-record `sub`) of `record` belongs to fixed list `listNumber`, before the
// filters.
bool LineInFixedList(int32_t listNumber, const uint8_t* record, const uint8_t* sub, RowSource source);

// The rows of a fixed list with the list's filters and the options, in name order.
struct RowFilter {
    int32_t listNumber = 0;
    int32_t sectorGroup = 0;
    int32_t sectorIndex = -1;
    bool sectorFilterOn = false;
    bool newHighs = false;
    bool newLows = false;
};
std::vector<RecordCursor> CollectListRows(const RowFilter& filter);

// Rebuilds the list's rows from the database for its list number (ShareList::word). With
// `resetLayout` the list first takes the database's field table and the layout of its setting
// (share-list tables when `firstLayoutSet`, else data-mining tables), and afterwards is sorted by
// its sort column. The row array grows while rows are written. False without a list.
bool RefreshListRows(ShareList* list, bool firstLayoutSet, bool resetLayout);

// The data-mining code refills the filter-driven portfolio: a list whose source it is and which is
// marked for refilling is refilled through this instead of from its list number.
using FilterPortfolioFill = std::function<void(Portfolio* portfolio)>;
void SetFilterPortfolioFill(FilterPortfolioFill fill);

// Refills the list and places its current row: the remembered row of its list number when it is
// still there, else the first row. A list that comes out empty falls back to "All"; when "All" is
// empty too the list is left empty (the view shows "No shares").
void RefillListSource(ShareList* list, bool rebuild);

// The rows of a fixed list with no filters (the market groups of the breadth series).
std::vector<RecordCursor> MarketGroupRowsOf(int32_t listNumber);
// A share's cell text in the lists' format for a field code ("59,570p" for the price): the indicator
// names take the other share's description of Correlation, Beta and "Rel. to" from it.
std::string ShareColumnText(const RecordCursor& share, uint32_t fieldCode);

} // namespace qv
