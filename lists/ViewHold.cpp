// The directors' dealings view's rules.
#include "lists/ViewHold.h"

#include "core/CodedText.h"
#include "core/ConfigRecords.h"
#include "core/ConfigState.h"
#include "core/DateText.h"
#include "core/RecordLookup.h"
#include "core/ShareList.h"
#include "core/TextHelpers.h"
#include "lists/CellValue.h"
#include "lists/DealingCells.h"
#include "lists/DealingItem.h"
#include "lists/DirectorsDealings.h"
#include "lists/ListSettings.h"
#include "platform/MessageDispatch.h"
#include "resources/MessageIds.h"

#include <algorithm>
#include <cstdlib>
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

uint8_t ListFilterByte(uint8_t stored)
{
    constexpr uint8_t kCategories = kHoldDirectorDeals | kHoldDirectorHoldings | kHoldMajorDeals | kHoldMajorHoldings;
    return (stored & kCategories) ? stored : uint8_t(stored | (kHoldDefaultFilter & kCategories));
}

CViewHold::CViewHold() : CViewBase(5) {}

std::vector<RecordCursor> CViewHold::GetHoldParentRows()
{
    std::vector<RecordCursor> parent;
    const uint8_t limit = HoldLimit(filter);
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
    dateOrder_ = rows;
    if (list)
        SortHoldRows(list->sortColumn, list->sortDirection);
    currentRow = 0;
    firstVisible = 0;
    ++builds_;
    InvalidateWindow();
}

void CViewHold::SortHoldRows(int column, int direction)
{
    if (column < 0 || column >= kHoldColumnCount)
        column = 0;
    direction = direction < 0 ? -1 : 1;
    if (list) {
        list->sortColumn = column;
        list->sortDirection = direction;
    }
    // The row-number column is the build's own (date) order.
    if (column == 0) {
        if (dateOrder_.size() == rows.size())
            rows = dateOrder_;
        if (direction < 0)
            std::reverse(rows.begin(), rows.end());
        return;
    }
    struct Keyed {
        float value;
        std::string text;
        RecordCursor row;
    };
    std::vector<Keyed> keyed;
    keyed.reserve(rows.size());
    const DealingsFileInfo& info = DealingsInfo();
    for (const RecordCursor& row : rows) {
        char text[kCellTextBytes];
        float value = 0;
        const size_t length = DealingCellText(row.record, kHoldCodes[column], text, sizeof text, &value);
        if (column == 1)
            value = float(DealingDateKey(row.record - 1, info, DealingsCodingTables()));
        keyed.push_back({value, std::string(text, length), row});
    }
    // Dates, sizes and values order by their figures, the texts by their letters.
    const bool byValue = column == 1 || column == 6 || column == 7;
    std::stable_sort(keyed.begin(), keyed.end(), [&](const Keyed& a, const Keyed& b) {
        const int order = byValue ? (a.value < b.value ? -1 : a.value > b.value ? 1 : 0) : a.text.compare(b.text);
        return direction > 0 ? order < 0 : order > 0;
    });
    for (size_t i = 0; i < keyed.size(); ++i)
        rows[i] = keyed[i].row;
}

void CViewHold::SortByHeading(int column)
{
    const bool same = list && list->sortColumn == column;
    SortHoldRows(column, same ? -list->sortDirection : 1);
    currentRow = 0;
    firstVisible = 0;
    InvalidateWindow();
}

void CViewHold::RememberSort() const
{
    StoreSortColumn(list, kListKindDealings);
}

void CViewHold::OnRefresh()
{
    if (list) {
        if (list->viewState2)
            filter = ListFilterByte(list->viewState2);
        const int stored = GetSettingSort(kListKindDealings, list->tableSetting);
        list->sortColumn = stored == 0 ? 0 : std::abs(stored) - 1;
        list->sortDirection = stored < 0 ? -1 : 1;
    }
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
    const uint8_t limit = HoldLimit(filter);
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
    // The list keeps the filter byte: layouts store it with the window and restore it from there.
    if (list)
        list->viewState2 = filter;
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

std::string CViewHold::HeaderKeyName() const
{
    if (!list)
        return {};
    return FormatKeyName(list->number, false, GetSourceTitle(false));
}

std::array<std::string, 3> CViewHold::StatusTexts() const
{
    std::array<std::string, 3> panes;
    const uint8_t limit = HoldLimit(filter);
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
