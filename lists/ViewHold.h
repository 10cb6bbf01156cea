// The directors' dealings view (view kind 5) without its window: the filter byte, the rows it builds
// from the dealings block, its commands' states and effects, the header strip's counts and the status
// texts.
#pragma once

#include "core/RecordCursor.h"
#include "lists/HoldList.h"
#include "portfolio/HeaderStrip.h"
#include "views/ViewBase.h"

#include <array>
#include <optional>
#include <string>
#include <vector>

namespace qv {

// The view's commands.
constexpr uint32_t kCommandExpandAbbreviations = 26132;
constexpr uint32_t kCommandLatestHoldings = 26263;
constexpr uint32_t kCommandAllDealings = 26970;
constexpr uint32_t kCommandParentDealings = 26130;
constexpr uint32_t kCommandShareDealings = 26971;
constexpr uint32_t kCommandDealingsOptions = 26264;
constexpr uint32_t kCommandDealingsStats = 26481;
constexpr uint32_t kMessageRetryHoldBuild = 0x432;

// The program-wide expand-abbreviations flag, and the parent-list mode: the limit then follows the
// list or chart the view is linked to. We take the mode from the multiple-windows option, under which
// views link to their parent lists.
bool& ExpandAbbreviations();
bool DealingsParentListMode();

// The filter byte a list (or a layout's window) keeps for its dealings view. A byte that names no
// category would show nothing at all, as the default dealings byte packed without the categories
// does: it takes the default's categories and keeps its limit and latest-only bit.
uint8_t ListFilterByte(uint8_t stored);

class CViewHold : public virtual CViewBase {
public:
    CViewHold();

    uint8_t filter = kHoldDefaultFilter;
    uint16_t selectedShareId = 0;
    // The last build's rows in date order (newest deals first, holdings last); the list's entries
    // hold them in the list's sort.
    std::vector<RecordCursor> rows;

    // Rebuilds the rows from the block under the filter, in date order, puts them into the list and
    // sorts the list by the setting's stored sort; loads the block first when it is missing.
    void BuildHoldList();
    // The list's sort as the stored signed sort (column + 1) x direction of the dealings setting,
    // which the next build and the next dealings view start from.
    void RememberSort() const;
    // The parent rows the limit compares with (and, in selected-share mode with a linked parent, the
    // parent's current share as the selected share).
    std::vector<RecordCursor> GetHoldParentRows();
    // Takes the list's filter byte (when it holds one), the dealings table setting with its layout and
    // stored sort, then builds.
    void OnRefresh() override;
    intptr_t onProgramMessage(uint32_t message, uintptr_t wParam, intptr_t lParam) override;

    // The state of one of the view's commands; nothing for other commands.
    std::optional<CommandState> CommandStateOf(uint32_t command) const;
    // Carries out a filter command (the dialogs are the window's); false for other commands.
    bool RunFilterCommand(uint32_t command);
    // Stores a new filter byte, unpacks it and rebuilds.
    void ApplyFilter(uint8_t newFilter);

    HoldCounts Counts() const { return CountHoldRows(rows); }
    // The header strip's items: the share's name in selected-share mode, then each caption with its
    // count.
    std::vector<HeaderItem> HeaderCounts() const;
    // Status panes 1-3.
    std::array<std::string, 3> StatusTexts() const;
    // Shown in the first pane while the pointer is over the header strip: the list window's title with
    // the function key of its list number, as "List 2 ( F3)"; empty without a list.
    std::string HeaderKeyName() const;
    // True when the parent rows differ from those of the last build.
    bool ParentRowsChanged();

    bool IsLinked() const { return secondList != nullptr; }
    int builds() const { return builds_; }

private:
    std::vector<RecordCursor> lastParent_;
    int builds_ = 0;
};

} // namespace qv
