// Column commands on a share list's layout.
#include "lists/ListColumnCommands.h"

#include "core/ColumnDef.h"
#include "core/Memory.h"
#include "core/ShareList.h"
#include "lists/ColumnCatalogues.h"
#include "lists/ListSettings.h"
#include "lists/RowSort.h"
#include "platform/MessageBox.h"
#include "shell/PortfolioAdd.h"
#include "shell/ViewGroups.h"

#include <algorithm>
#include <cstring>
#include <optional>
#include <string>

namespace qv {
namespace {

int MarketOf(const ShareList* list, int kind)
{
    return kind == kListKindTrades ? list->tradeMarket : 0;
}

void SetSignedSort(ShareList* list, int signedSort)
{
    list->sortColumn = (signedSort < 0 ? -signedSort : signedSort) - 1;
    list->sortDirection = signedSort < 0 ? -1 : 1;
}

bool Install(ShareList* list, int kind, const std::optional<std::vector<uint8_t>>& layout)
{
    if (!layout)
        return false;
    auto* buffer = static_cast<uint8_t*>(ProCalloc(uint32_t(layout->size()), 1, "column layout"));
    std::memcpy(buffer, layout->data(), layout->size());
    const uint8_t* old = SettingLayout(kind, list->tableSetting, MarketOf(list, kind));
    if (list->columnLayout != old)
        list->columnLayout = old;
    SetLayoutPointer(list, kind, buffer);
    list->columnLayout = SettingLayout(kind, list->tableSetting, MarketOf(list, kind));
    return true;
}

int ResolvedInsertion(const ShareList* list, int kind, int insertAt)
{
    const int count = ListColumnCount(list, kind);
    return insertAt < 0 || insertAt > count ? count : insertAt;
}

void AfterInsert(ShareList* list, int kind, int at)
{
    const int before = ListSignedSort(list);
    const int after = SortAfterInsert(before, at);
    if (after != before) {
        SetSignedSort(list, after);
        StoreSortColumn(list, kind);
    }
    RedrawListViews(list, kind);
}

} // namespace

std::span<const uint8_t> ListLayout(const ShareList* list, int kind)
{
    if (!list)
        return {};
    const uint8_t* layout = SettingLayout(kind, list->tableSetting, MarketOf(list, kind));
    if (!layout)
        return {};
    const size_t n = ValidateColumnLayout({layout, ProBlockSize(layout)});
    return {layout, n};
}

int ListColumnCount(const ShareList* list, int kind)
{
    const std::span<const uint8_t> layout = ListLayout(list, kind);
    return layout.empty() ? 0 : CountColumnDefs(layout.data());
}

int ListSignedSort(const ShareList* list)
{
    return (list->sortColumn + 1) * (list->sortDirection < 0 ? -1 : 1);
}

void RedrawListViews(ShareList* list, int kind)
{
    // The views of the layout rebuild their headings, then everything of the kind and setting redraws.
    constexpr uint32_t kListChangedMessage = 0x445;
    SendMessageToAllViews(kListChangedMessage, 0, 0, false, list->family, kind, list->tableSetting);
    InvalidateMatchingViews(ShareListChain(), false, kind, list->tableSetting, 0xFFFFFFFF, nullptr);
}

bool AddListColumn(ShareList* list, int kind, std::span<const uint8_t> templ, const AddColumnRequest& request)
{
    const std::span<const uint8_t> layout = ListLayout(list, kind);
    if (layout.empty())
        return false;
    const int at = ResolvedInsertion(list, kind, request.insertAt);
    if (!Install(list, kind, AddTemplateColumn(layout, templ, request)))
        return false;
    AfterInsert(list, kind, at);
    return true;
}

std::vector<uint8_t> PreparedIntradayColumn(std::span<const uint8_t> record)
{
    std::vector<uint8_t> out(record.begin(), record.end());
    constexpr size_t kForm = ColumnDefLayout::IntradayWord + 1;
    if (out.size() <= kForm || out[ColumnDefLayout::Kind] != kColumnIntraday)
        return out;
    const uint8_t form = out[kForm] & uint8_t(~0x20);
    // Percentages from the open or the close show their zero as "0".
    if (form == 1 || form == 2)
        out[ColumnDefLayout::FormatA] = 1;
    const uint8_t code = out[ColumnDefLayout::FieldCode];
    const bool change = form == 1 || form == 2 || form == 5 || form == 6;
    if ((code == 'K' && change) || (code == 'I' && form == 0))
        out[ColumnDefLayout::Align] |= 0x10;
    return out;
}

bool InsertListColumn(ShareList* list, int kind, std::span<const uint8_t> given, int insertAt, int pointSize, int dpi)
{
    const std::span<const uint8_t> layout = ListLayout(list, kind);
    if (layout.empty())
        return false;
    const std::vector<uint8_t> record = PreparedIntradayColumn(given);
    const int at = ResolvedInsertion(list, kind, insertAt);
    if (!Install(list, kind, InsertColumnRecord(layout, record, insertAt, pointSize, dpi)))
        return false;
    AfterInsert(list, kind, at);
    return true;
}

bool AddListFieldColumn(ShareList* list, int kind, uint8_t code, bool narrow, int insertAt, int pointSize, int dpi)
{
    const std::vector<uint8_t> record = FieldColumnRecord(code, narrow);
    AddColumnRequest request;
    request.insertAt = insertAt;
    request.pointSize = pointSize;
    request.dpi = dpi;
    return AddListColumn(list, kind, record, request);
}

bool AddListRecord(ShareList* list, int kind, std::span<const uint8_t> record, int insertAt)
{
    const std::span<const uint8_t> layout = ListLayout(list, kind);
    if (layout.empty())
        return false;
    const int at = ResolvedInsertion(list, kind, insertAt);
    if (!Install(list, kind, InsertRecordAsIs(layout, record, insertAt)))
        return false;
    AfterInsert(list, kind, at);
    return true;
}

bool AddHighLowColumn(ShareList* list, int kind, const HighLowChoice& choice, AddColumnRequest request)
{
    static constexpr int kShareTemplates[] = {19, 52, 54, 63};
    const int measure = std::clamp(choice.measure, 0, 3);
    const int side = choice.side != 0 ? 1 : 0;
    if (choice.family == 0) {
        request.parameter1 = request.parameter2 = 0;
        return AddListColumn(list, kind, CatalogueTemplate(Catalogue::Shares, kShareTemplates[measure] + side), request);
    }
    request.parameter1 = choice.parameter1;
    request.parameter2 = choice.parameter2;
    return AddListColumn(list, kind, CatalogueTemplate(Catalogue::HighLow, measure * 2 + side), request);
}

bool RemoveListColumn(ShareList* list, int kind, int column)
{
    const std::span<const uint8_t> layout = ListLayout(list, kind);
    if (!Install(list, kind, RemoveColumn(layout, column)))
        return false;
    bool unsorted = false;
    SetSignedSort(list, SortAfterRemove(ListSignedSort(list), column, unsorted));
    StoreSortColumn(list, kind);
    // Column 0 ascending is stored, but the rows are not sorted by anything shown: no triangle.
    if (unsorted)
        list->sortColumn = -1;
    RedrawListViews(list, kind);
    return true;
}

bool MoveListColumn(ShareList* list, int kind, int from, int to)
{
    const std::span<const uint8_t> layout = ListLayout(list, kind);
    if (from == to || !Install(list, kind, MoveColumn(layout, from, to)))
        return false;
    const int count = ListColumnCount(list, kind);
    SetSignedSort(list, SortAfterMove(ListSignedSort(list), from, std::min(to, count - 1)));
    StoreSortColumn(list, kind);
    RedrawListViews(list, kind);
    return true;
}

bool RetitleListColumn(ShareList* list, int kind, int column, std::string_view title, std::string_view defaultHeading)
{
    if (!Install(list, kind, RetitleColumn(ListLayout(list, kind), column, title, defaultHeading)))
        return false;
    RedrawListViews(list, kind);
    return true;
}

bool SetListColumnWidth(ShareList* list, int kind, int column, int width)
{
    const std::span<const uint8_t> layout = ListLayout(list, kind);
    if (layout.empty() || column < 0 || column >= CountColumnDefs(layout.data()))
        return false;
    SetColumnWidth(GetColumnDef(const_cast<uint8_t*>(layout.data()), column), width);
    KeepLayoutEdit(list, kind);
    RedrawListViews(list, kind);
    return true;
}

NotesAnswer AskNotesRemoval(int otherColumns)
{
    const MsgAnswer first = ShowMessage("Do you want to delete all attached notes?", {}, MsgButtons::YesNoCancel, MsgIcon::Question, 1);
    if (first == MsgAnswer::Cancel)
        return NotesAnswer::Cancel;
    if (first != MsgAnswer::Yes)
        return NotesAnswer::Keep;
    if (otherColumns == 0)
        return NotesAnswer::Delete;
    const std::string text = "This will delete notes used in " + std::to_string(otherColumns)
        + " other columns.\n\nAre you sure you want to delete these notes?";
    const MsgAnswer second = ShowMessage(text, {}, MsgButtons::YesNoCancel, MsgIcon::Question, 1);
    if (second == MsgAnswer::Cancel)
        return NotesAnswer::Cancel;
    return second == MsgAnswer::Yes ? NotesAnswer::Delete : NotesAnswer::Keep;
}

int CountOtherNoteColumns(int kind, int noteNumber, const uint8_t* excluded)
{
    int count = 0;
    for (int setting = 0; setting < kListSettings; ++setting) {
        const uint8_t* layout = SettingLayout(kind, setting);
        if (!layout)
            continue;
        for (int c = 0; c < CountColumnDefs(layout); ++c) {
            const uint8_t* def = GetColumnDef(layout, c);
            if (def != excluded && def[0] >= kColumnDefBytes && ColumnDefKind(def) == kColumnNote && def[ColumnDefLayout::FormatA] == noteNumber)
                ++count;
        }
    }
    return count;
}

void SortListColumn(ShareList* list, int kind, int signedSort)
{
    SortRows(list, signedSort, true);
    SetSignedSort(list, signedSort);
    StoreSortColumn(list, kind);
    RedrawListViews(list, kind);
}

} // namespace qv
