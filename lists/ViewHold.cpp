// The directors' dealings view's rules.
#include "lists/ViewHold.h"

#include "core/CodedText.h"
#include "core/ConfigRecords.h"
#include "core/ConfigState.h"
#include "core/DateText.h"
#include "core/RecordLookup.h"
#include "core/ShareList.h"
#include "lists/CellValue.h"
#include "lists/DealingCells.h"
#include "lists/DealingItem.h"
#include "lists/DirectorsDealings.h"
#include "platform/MessageDispatch.h"
#include "resources/MessageIds.h"

#include <algorithm>
#include <cstdio>

namespace qv {

bool& ExpandAbbreviations()
{
    static bool expand = false;
    return expand;
}

bool DealingsParentListMode() { return Config().optionsA.data()[OptionBlockA::kMultipleWindows] != 0; }

namespace {

const char* const kHoldHeadings[kHoldColumnCount] = {"No.",       "Deal Date", "Share name", "Investor name",
                                                     "Role",      "Deal type", "Deal size",  "Deal value"};
// The dealing field codes of the columns after the row number.
const int kHoldCodes[kHoldColumnCount] = {0, 3, 10, 1, 2, 4, 5, 7};

} // namespace

const char* HoldColumnHeading(int column)
{
    return column >= 0 && column < kHoldColumnCount ? kHoldHeadings[column] : "";
}

std::string HoldCellText(const uint8_t* dealing, int row, int column)
{
    if (column == 0)
        return std::to_string(row + 1);
    if (column < 0 || column >= kHoldColumnCount)
        return {};
    char text[kCellTextBytes];
    const size_t length = DealingCellText(dealing, kHoldCodes[column], text, sizeof text, nullptr);
    return std::string(text, length);
}

CViewHold::CViewHold() : CViewBase(5) {}

std::vector<RecordCursor> CViewHold::GetHoldParentRows()
{
    std::vector<RecordCursor> parent;
    const uint8_t limit = filter & kHoldLimitMask;
    ShareList* linked = secondList;
    if (limit == kHoldLimitShare && linked && linked->entries && linked->current >= 0) {
        const RecordCursor& row = linked->entries[linked->current];
        if (row.record) {
            selectedShareId = EntryRecordId(row);
            parent.push_back(row);
        }
        return parent;
    }
    if (limit != kHoldLimitParent || !linked || !linked->entries)
        return parent;
    for (const RecordCursor* e = linked->entries; e->record; ++e)
        parent.push_back(*e);
    return parent;
}

void CViewHold::BuildHoldList()
{
    if (!DealingsMainBlock)
        LoadDirDeal();
    lastParent_ = GetHoldParentRows();
    UnpackHoldFilter(filter);
    HoldLimitSource limit{selectedShareId, lastParent_};
    rows = BuildHoldRows(DealingsMainBlock, filter, limit, FindDealingShare);
    // Newest deals first, holdings (no date) last.
    const DealingsFileInfo& info = DealingsInfo();
    std::vector<std::pair<uint32_t, RecordCursor>> keyed;
    keyed.reserve(rows.size());
    for (const RecordCursor& row : rows)
        keyed.push_back({DealingDateKey(row.record - 1, info, DealingsCodingTables()), row});
    std::stable_sort(keyed.begin(), keyed.end(), [](const auto& a, const auto& b) { return a.first > b.first; });
    for (size_t i = 0; i < keyed.size(); ++i)
        rows[i] = keyed[i].second;
    currentRow = 0;
    firstVisible = 0;
    ++builds_;
    InvalidateWindow();
}

void CViewHold::OnRefresh()
{
    BuildHoldList();
}

intptr_t CViewHold::onProgramMessage(uint32_t message, uintptr_t wParam, intptr_t lParam)
{
    if (message == kMessageRetryHoldBuild) {
        BuildHoldList();
        return 1;
    }
    if (message == WM_COMMAND && RunFilterCommand(uint32_t(wParam & 0xFFFF)))
        return 1;
    return CViewBase::onProgramMessage(message, wParam, lParam);
}

std::optional<CViewBase::CommandState> CViewHold::CommandStateOf(uint32_t command) const
{
    const bool lockedToParent = DealingsParentListMode() && IsLinked();
    const uint8_t limit = filter & kHoldLimitMask;
    switch (command) {
    case kCommandExpandAbbreviations: return CommandState{true, ExpandAbbreviations(), false};
    case kCommandLatestHoldings: return CommandState{true, bool(filter & kHoldLatestOnly), false};
    case kCommandAllDealings: return CommandState{!lockedToParent, limit == 0, false};
    case kCommandParentDealings: return CommandState{!lockedToParent, limit == kHoldLimitParent, false};
    case kCommandShareDealings:
        return CommandState{IsLinked() || selectedShareId != 0, bool(filter & kHoldLimitShare), false};
    case kCommandDealingsOptions:
    case kCommandDealingsStats: return CommandState{true, false, false};
    default: return std::nullopt;
    }
}

void CViewHold::ApplyFilter(uint8_t newFilter)
{
    filter = newFilter;
    UnpackHoldFilter(filter);
    BuildHoldList();
}

bool CViewHold::RunFilterCommand(uint32_t command)
{
    switch (command) {
    case kCommandExpandAbbreviations:
        ExpandAbbreviations() = !ExpandAbbreviations();
        ForEachView([](CViewBase* view) {
            if (view->kind == 5)
                view->InvalidateWindow();
        });
        return true;
    case kCommandLatestHoldings: ApplyFilter(ToggleLatestOnly(filter)); return true;
    case kCommandAllDealings: ApplyFilter(ShowAllShares(filter)); return true;
    case kCommandParentDealings:
        ApplyFilter(ToggleParentLimit(filter, DealingsParentListMode(), selectedShareId != 0));
        return true;
    case kCommandShareDealings: ApplyFilter(LimitToSelectedShare(filter)); return true;
    default: return false;
    }
}

std::vector<std::string> CViewHold::HeaderItems() const
{
    std::vector<std::string> items;
    if ((filter & kHoldLimitShare) && selectedShareId) {
        const uint8_t* share = FindDealingShare(selectedShareId);
        if (share) {
            std::string name(1, ' ');
            name.append(GetRecordName(share));
            name.push_back(' ');
            items.push_back(std::move(name));
        }
    }
    const HoldCounts c = Counts();
    items.push_back(std::to_string(c.directorDeals) + " Directors' dealings");
    items.push_back(std::to_string(c.directorHoldings) + " Directors' holdings");
    items.push_back(std::to_string(c.majorDeals) + " Major holdings dealings");
    items.push_back(std::to_string(c.majorHoldings) + " Major holdings");
    return items;
}

std::array<std::string, 3> CViewHold::StatusTexts() const
{
    std::array<std::string, 3> panes;
    const uint8_t limit = filter & kHoldLimitMask;
    if (limit == kHoldLimitShare) {
        const uint8_t* share = selectedShareId ? FindDealingShare(selectedShareId) : nullptr;
        if (IsLinked() && share)
            panes[0] = "For " + std::string(GetRecordName(share));
    } else if (limit == kHoldLimitParent) {
        if (IsLinked())
            panes[0] = DealingsParentListMode() ? "Parent list" : "Current list or portfolio only";
    } else {
        panes[0] = "All shares";
    }
    panes[2] = (filter & kHoldLatestOnly) ? "Latest Director & Major holdings" : "Director & Major holdings";
    return panes;
}

bool CViewHold::ParentRowsChanged()
{
    const auto parent = GetHoldParentRows();
    if (parent.size() != lastParent_.size())
        return true;
    for (size_t i = 0; i < parent.size(); ++i)
        if (parent[i].record != lastParent_[i].record)
            return true;
    return false;
}

} // namespace qv
