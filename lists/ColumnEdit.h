// Editing a column layout: adding a column from a catalogue template or a prepared record, removing,
// moving, renaming and sizing a column, and where the sort column goes meanwhile. Every function
// returns a new layout (with its terminator) or nothing when the edit is refused; the caller installs
// it with SetLayoutPointer.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string_view>
#include <vector>

namespace qv {

// The width a template's 12-point width gives on a screen: |width x h / 12| with
// h = MulDiv(points, dpi, 72), at least 10.
uint16_t ScaleTemplateWidth(int width12, int pointSize, int dpi);

struct AddColumnRequest {
    int insertAt = -1;        // column under the cursor; -1 or past the end appends
    int32_t parameter1 = 0;
    int32_t parameter2 = 0;
    int pointSize = 9;        // the list font's
    int dpi = 96;             // the view's screen
    int noteNumber = 1;       // the view's current note column
};
// A copy of the template put into the layout: parameters packed into the template's own bytes only,
// width scaled, kind 0x10 for parameter1 = -1, the note number, the up/down bit. Nothing when the
// layout already holds 120 columns or the template is not a column.
std::optional<std::vector<uint8_t>> AddTemplateColumn(std::span<const uint8_t> layout, std::span<const uint8_t> templ,
    const AddColumnRequest& request);

// A prepared record (an intraday column) inserted in front of `insertAt`, its width scaled.
std::optional<std::vector<uint8_t>> InsertColumnRecord(std::span<const uint8_t> layout, std::span<const uint8_t> record,
    int insertAt, int pointSize, int dpi);

// A record put in as it is (results columns keep their width 60 unscaled).
std::optional<std::vector<uint8_t>> InsertRecordAsIs(std::span<const uint8_t> layout, std::span<const uint8_t> record, int insertAt);

// A results column: kind 2, flags 1, format A 1, format B 2 (1 when the group's low three bits are
// set), width 60, the year byte after the flags, field code (group << 4) | (item & 15).
std::vector<uint8_t> ResultsColumnRecord(int itemGroup, int item, int8_t year);
// A results-change column: kind 0x84, the item code, width 70, the year byte (years back, growth span).
std::vector<uint8_t> ResultsChangeColumnRecord(int itemCode, uint8_t yearByte);

// A 27-byte field column for a field-table code: `narrow` from the entry's width flag (60, else 120).
std::vector<uint8_t> FieldColumnRecord(uint8_t code, bool narrow);

std::optional<std::vector<uint8_t>> RemoveColumn(std::span<const uint8_t> layout, int column);
// Moves a column to index `to` (clamped to the last column).
std::optional<std::vector<uint8_t>> MoveColumn(std::span<const uint8_t> layout, int from, int to);
// Replaces the column's own title; an empty title (or one equal to the default heading) removes it.
// A title that would take the record past 255 bytes is cut.
std::optional<std::vector<uint8_t>> RetitleColumn(std::span<const uint8_t> layout, int column, std::string_view title,
    std::string_view defaultHeading);
// Sets the width in place (at least 10).
void SetColumnWidth(uint8_t* def, int width);

// The signed sort number after a column is inserted at, removed from or moved between indexes.
// Removing the sorted column gives column 0 ascending (+1) and `unsorted` set.
int SortAfterInsert(int signedSort, int insertedAt);
int SortAfterRemove(int signedSort, int removed, bool& unsorted);
int SortAfterMove(int signedSort, int from, int to);
// The sort command: column n ascending, or descending when it is already sorted ascending.
int SortForColumnCommand(int signedSort, int column);

} // namespace qv
