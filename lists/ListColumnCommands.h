// The column commands of a list view carried out on its share list: the layout edit, installing the
// new layout for the list's setting (SetLayoutPointer), the sort column following, the stored sort
// byte and the redraw of every view of the same kind and setting.
#pragma once

#include "lists/ColumnEdit.h"

#include <cstdint>
#include <span>
#include <string_view>
#include <vector>

namespace qv {

struct ShareList;

// The layout the list's current setting of the kind uses, bounded by its sound length; empty when
// there is none.
std::span<const uint8_t> ListLayout(const ShareList* list, int kind);
int ListColumnCount(const ShareList* list, int kind);

bool AddListColumn(ShareList* list, int kind, std::span<const uint8_t> templ, const AddColumnRequest& request);
// Inserts a prepared record (an intraday column, through PreparedIntradayColumn) scaled to the font.
bool InsertListColumn(ShareList* list, int kind, std::span<const uint8_t> record, int insertAt, int pointSize, int dpi);
// An intraday column record as a table takes it in: a percentage form shows its zero as "0", and a
// change of the mid or a bid column gets the up/down arrow.
std::vector<uint8_t> PreparedIntradayColumn(std::span<const uint8_t> record);
// A field column of a field-table code; nothing for a code the table lacks (narrow: the entry's
// width flag).
bool AddListFieldColumn(ShareList* list, int kind, uint8_t code, bool narrow, int insertAt, int pointSize, int dpi);
// A prepared record put in unscaled (results columns).
bool AddListRecord(ShareList* list, int kind, std::span<const uint8_t> record, int insertAt);

// The high/low dialog's answer: family 0 adds shares template 19, 52, 54 or 63 (by measure) plus the
// side without parameters; family 1 high/low template measure x 2 + side with the two parameters.
struct HighLowChoice {
    int family = 0;
    int measure = 0;
    int side = 0;
    int32_t parameter1 = 0;
    int32_t parameter2 = 0;
};
bool AddHighLowColumn(ShareList* list, int kind, const HighLowChoice& choice, AddColumnRequest request);

bool RemoveListColumn(ShareList* list, int kind, int column);
bool MoveListColumn(ShareList* list, int kind, int from, int to);
bool RetitleListColumn(ShareList* list, int kind, int column, std::string_view title, std::string_view defaultHeading);
bool SetListColumnWidth(ShareList* list, int kind, int column, int width);
// Sets the signed sort, sorts the rows and stores the sort byte.
void SortListColumn(ShareList* list, int kind, int signedSort);
// The list's signed sort number, (column + 1) x direction.
int ListSignedSort(const ShareList* list);

// Removing a notes column: whether the notes go too. Asks "Do you want to delete all attached
// notes?" (No the default) and, on Yes with other columns showing the same notes, whether to delete
// those as well.
enum class NotesAnswer { Cancel, Keep, Delete };
NotesAnswer AskNotesRemoval(int otherColumns);
// Notes columns of the note number in all twelve layouts of the kind's family, but `excluded`.
int CountOtherNoteColumns(int kind, int noteNumber, const uint8_t* excluded);

// Redraws every view of the list's kind and setting.
void RedrawListViews(ShareList* list, int kind);

} // namespace qv
