// The directors' dealings view's rules.
#include "lists/ViewHold.h"


#include "core/CodedText.h"
#include "core/ConfigRecords.h"
#include "core/ConfigState.h"
#include "core/DateText.h"
#include "core/RecordAccess.h"
#include "core/RecordLookup.h"
#include "core/ShareList.h"
#include "core/TextHelpers.h"
#include "lists/CellValue.h"
#include "lists/DealingCells.h"
#include "lists/DealingItem.h"
#include "lists/DirectorsDealings.h"
#include "lists/ListSettings.h"
#include "lists/ListSort.h"
#include "portfolio/TransactionRows.h"
#include "platform/MessageDispatch.h"
#include "resources/MessageIds.h"
#include "views/ViewGroupFields.h"

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
    if (limit == kHoldLimitShare && linked) {
        // The linked window's share, whatever its rows are (a news or trade list names it its own way).
        uint32_t id = 0, sub = 0;
        GetViewShare(linked, &id, &sub);
        const RecordCursor row = id && id <= 0xFFFF ? FindRecordById(uint16_t(id), sub) : RecordCursor{};
        if (row.record) {
            selectedShareId = uint16_t(id);
            parent.push_back(row);
        }
        return parent;
    }
    // Only a list of shares gives shares: news, trade and transaction rows are records of their own.
    if (limit != kHoldLimitParent || !linked || linked->family != kFamilyShares || !linked->entries)
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
    ++builds_;
    if (list) {
        list->current = list->firstVisible = 0;
        SetListRows(list, rows);
        list->sorted = 0;
        // The number column keeps the date order the build gives.
        const int stored = GetSettingSort(kListKindDealings, list->tableSetting);
        if (list->columnLayout && stored != 0 && stored != 1 && stored != -1)
            SortListByColumn(false, list, stored, true);
        list->sortColumn = stored == 0 ? 0 : std::abs(stored) - 1;
        list->sortDirection = stored < 0 ? -1 : 1;
        list->current = list->firstVisible = 0;
    }
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
        list->viewState2 = filter;
        list->family = kFamilyDealings;
        qv::SelectColumnSetting(list, kListKindDealings, -1, false, false);
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

std::vector<HeaderItem> CViewHold::HeaderCounts() const
{
    std::vector<HeaderItem> items;
    if ((filter & kHoldLimitShare) && selectedShareId) {
        const uint8_t* share = FindDealingShare(selectedShareId);
        if (share)
            items.push_back({std::string(), std::string(GetRecordName(share))});
    }
    const HoldCounts c = Counts();
    items.push_back({"Directors' dealings", std::to_string(c.directorDeals)});
    items.push_back({"Directors' holdings", std::to_string(c.directorHoldings)});
    items.push_back({"Major holdings dealings", std::to_string(c.majorDeals)});
    items.push_back({"Major holdings", std::to_string(c.majorHoldings)});
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
