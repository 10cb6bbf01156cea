// What the share lists use of the list-table engine: sorting a list by a column of its layout, the
// stored sort settings and the column layouts of the table settings (lists/ListSettings,
// lists/RowSort). A column comparison installed with SetListColumnLess, and a layout set with
// SetColumnLayout, stand in for the real ones (tests of the share lists).
#pragma once

#include "core/RecordAccess.h"

#include <cstdint>
#include <functional>

namespace qv {

struct ShareList;

// Sorts by column |n| - 1 of the list's layout (120 or more falls back to column 2), descending
// when n is negative; with keepNameOrder a column of field code 15 (the names, already in order)
// is not sorted. The first visible entry is the first entry afterwards in every case. Sorts with
// SortRows (forced) unless a column comparison is installed.
void SortListByColumn(bool keepNameOrder, ShareList* list, int signedColumn, bool flag);

// The signed sort setting of a table setting for a view kind (negative = descending, magnitude - 1
// = column); 0 for kinds without tables and settings never stored.
int GetSortColumn(int setting, int mode, int viewKind);
void SetSortColumn(int setting, int viewKind, int value);

// The column records of a table setting for a view kind, or null; a layout set with SetColumnLayout
// (the caller's buffer) takes the place of the setting's until it is set back to null.
const uint8_t* GetColumnLayout(int setting, int viewKind);
void SetColumnLayout(int setting, int viewKind, const uint8_t* layout);

// True when entry a sorts before entry b on the column.
using ListColumnLess = std::function<bool(const RecordCursor& a, const RecordCursor& b, int column)>;
void SetListColumnLess(ListColumnLess less);

} // namespace qv
