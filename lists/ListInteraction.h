// The list table's interaction rules without a window: which column or edge a point hits, where a
// move or resize drag ends, the wheel accumulator, and the links a cell opens.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>

namespace qv {

// A column as drawn: its index in the layout and its left and right edges in client pixels.
struct ColumnSpan {
    int column;
    int left;
    int right;
};

// The column whose interior holds x (4 pixels after the left edge and 5 before the right edge
// excluded); right of the last column but before tableRight - 4, the index after the last column;
// else -1.
int ColumnFromPoint(std::span<const ColumnSpan> columns, int x, int tableRight);
// The column whose right edge x is on: within 5 pixels right of a left edge, the column left of it;
// within 6 pixels of a right edge, that column; else -1. The caller checks the heading band.
int HitTestColumnEdge(std::span<const ColumnSpan> columns, int x);

// The width a resize drag gives when released at lineX.
int ResizedWidth(int lineX, int columnLeft);
// Where a move drag released on `target` (ColumnFromPoint's answer) puts column `from`: nothing when
// released on itself or off the table; past the last column, the last place.
std::optional<int> MoveDragTarget(int from, int target, int columnCount);

// The wheel's accumulated delta, shared by every list: each full 120 units is one row step.
class WheelAccumulator {
public:
    // Adds a delta and returns the whole steps to take (positive for a forward turn).
    int add(int delta);
    void reset() { remainder_ = 0; }

private:
    int remainder_ = 0;
};
WheelAccumulator& ListWheel();

// The partner's search page for a text, the text percent-encoded.
std::string PartnerSearchLink(std::string_view text);
// The keys of the list tables' key table.
enum class ListKey { Down, Up, Home, End, PageDown, PageUp, Left, Right, Space, Enter, Escape };
// The command a key sends (0 for none).
int ListKeyCommand(ListKey key, bool shift, bool ctrl);

// Loop back (command 20615): whether a view of `kind` hands the window back to the previous view kind
// (command 505 to the main window): the loop option on and a current row, and not a dealings,
// cash, news or trade list (5, 7, 8, 10).
bool LoopBackShowsPreviousKind(int32_t kind, bool loopOption, bool hasCurrentRow);
// Loop forward (command 20606): whether a view of `kind` hands the window on to the next view kind
// (command 506): the loop option on and a current row, and not a dealings list (5).
bool LoopForwardShowsNextKind(int32_t kind, bool loopOption, bool hasCurrentRow);

constexpr std::string_view kPartnerServer = "http://partner.example.com";

} // namespace qv
