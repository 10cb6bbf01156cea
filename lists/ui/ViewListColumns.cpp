// The list view's interaction: columns under the cursor, the context menus, the column and format
// commands, the mouse (selection, resize and move drags, double clicks, links), keys and the wheel.
#include "lists/ui/ViewListBase.h"

#include "core/ColumnDef.h"
#include "core/Document.h"
#include "core/PackedPen.h"
#include "core/ui/PenSelect.h"
#include "core/RecordAccess.h"
#include "core/RecordLookup.h"
#include "core/ShareList.h"
#include "core/ShareNotes.h"
#include "lists/AddColumnCommands.h"
#include "lists/ColumnCatalogues.h"
#include "lists/ColumnEdit.h"
#include "lists/ColumnFormatCommands.h"
#include "lists/ColumnHeading.h"
#include "lists/ColumnMenu.h"
#include "lists/ListColumnCommands.h"
#include "lists/ListSettings.h"
#include "lists/ListRows.h"
#include "lists/ListStyle.h"
#include "lists/RowSort.h"
#include "lists/ListViewOptions.h"
#include "lists/ui/ColumnDialogs.h"
#include "lists/ui/ListViewSeams.h"
#include "platform/Beep.h"
#include "platform/qt/QtText.h"
#include "resources/MessageIds.h"
#include "shell/CompanyLinks.h"
#include "shell/FrameDialogSeams.h"
#include "shell/ListTipRules.h"
#include "shell/ViewGroups.h"
#include "shell/ui/ModalDialog.h"
#include "shell/ui/PopupListTip.h"
#include "shell/ui/MenuGuard.h"
#include "shell/ui/SoftMenuQt.h"
#include "views/CommandUpdate.h"
#include "views/FrameState.h"

#include <QApplication>
#include <QContextMenuEvent>
#include <QCursor>
#include <QDateTime>
#include <QKeyEvent>
#include <QMenu>
#include <QMouseEvent>
#include <QPainter>
#include <QWheelEvent>

#include <array>

namespace qv {
namespace {

using namespace ColumnCommand;

constexpr int kMaxColumnsForAdd = 120;
constexpr int kMoveSlop = 2;

bool IsFormatCommand(uint32_t c)
{
    return (c >= LeftJustify && c <= CentreJustify) || c == ZeroBlank || c == ZeroAsZero || (c >= ZeroAsHyphen && c <= Thousands)
        || (c >= Fractions && c <= Decimals0 + 5) || (c >= Significant1 && c <= Significant1 + 4) || (c >= ManyDecimals && c <= UpDownArrow)
        || c == ArrowPlacement || c == ConsensusNumbers || c == ExchangeCode;
}

bool IsStructuralCommand(uint32_t c)
{
    return c == SetWidth || c == Rename || c == Remove || c == Sort || c == Move || c == Fit || c == ChangeContents
        || c == Borders;
}

// The catalogues a view kind adds columns from.
bool KindAddsFrom(int kind, const AddColumnCommand& c)
{
    if (c.route == AddColumnRoute::Separator)
        return kind == 1 || kind == 2 || kind == 6 || kind == 10;
    switch (c.catalogue) {
    case Catalogue::Shares: return kind == 1 || kind == 2 || kind == 6;
    case Catalogue::Transactions: return kind == 2 || kind == 4;
    case Catalogue::Dealings: return kind == 5;
    case Catalogue::Cash: return kind == 7;
    case Catalogue::News: return kind == 8;
    case Catalogue::Trades: return kind == 10;
    case Catalogue::HighLow: return kind == 1 || kind == 2 || kind == 6;
    }
    return false;
}

// The field tables' width flag: dates and currency units narrow, texts wide.
bool NarrowFieldColumn(int code)
{
    return (code >= 0x60 && code <= 0x6F) || code == 0x73 || code == 0x81;
}

bool CountsAsChecked(const uint8_t* def)
{
    const uint8_t kind = ColumnDefKind(def);
    return kind != kColumnResults && kind != kColumnResultsChange && kind != kColumnHolding && kind != kColumnCash;
}

constexpr int kTipDelayMs = 500;

// What the cell tip asks of a list view.
class ViewTip : public ListTipView {
public:
    ViewTip(const CViewListBase& view, const QFont& font, int margin) : view_(view), metrics_(font), margin_(margin) {}
    bool hasEntries() const override { return view_.list && ShareListCount(view_.list) > 0; }
    TipListKind listKind() const override
    {
        switch (view_.kind) {
        case 1: case 6: return TipListKind::PlainList;
        case 2: return TipListKind::Portfolio;
        case 4: return TipListKind::Transactions;
        case 8: return TipListKind::News;
        default: return TipListKind::Other;
        }
    }
    RecordCursor rowShare(int row) const override
    {
        const RecordCursor* entry = view_.list ? ShareListEntry(view_.list, row) : nullptr;
        return entry ? *entry : RecordCursor{};
    }
    int textWidth(const std::string& text) const override { return metrics_.horizontalAdvance(FromCp1252(text)); }
    int cellMargin() const override { return margin_; }
    std::string vgItem(int, int, PackedDate*) const override { return {}; }

private:
    const CViewListBase& view_;
    QFontMetrics metrics_;
    int margin_;
};

std::vector<uint8_t> ResultsChoiceRecord(const ResultsChoice& choice)
{
    return choice.change ? ResultsChangeColumnRecord(choice.item, uint8_t(choice.year))
                         : ResultsColumnRecord(choice.itemGroup, choice.item, choice.year);
}

// A column's stored parameters as (mode << 16) | value for its first and second date (a high/low
// column keeps its period kind and value in the first); bytes beyond the record read as zero.
std::pair<int32_t, int32_t> StoredDateParameters(const uint8_t* def)
{
    const auto at = [def](size_t k) -> int32_t {
        const size_t index = ColumnDefLayout::Parameters + 1 + k;
        return index < def[0] ? def[index] : 0;
    };
    const auto parameter = [&](size_t k) { return ((at(k) & 7) << 16) | at(k + 1) | (at(k + 2) << 8); };
    return {parameter(0), parameter(3)};
}

} // namespace

std::vector<ColumnSpan> CViewListBase::VisibleColumnSpans() const
{
    std::vector<ColumnSpan> spans;
    if (grid_.columnCount() == 0)
        return spans;
    const int lastBand = grid_.banded() ? grid_.firstBand() : (grid_.frozenPart() ? 1 : 0);
    for (int band = grid_.banded() ? grid_.firstBand() : 0; band <= lastBand; ++band) {
        const GridBand b = grid_.UpdateGridVisibleRange(band);
        for (int c = b.firstColumn; c <= b.lastColumn && c < grid_.columnCount(); ++c)
            spans.push_back({c, grid_.columnX(c) + b.xOffset, grid_.columnX(c + 1) + b.xOffset});
    }
    std::sort(spans.begin(), spans.end(), [](const ColumnSpan& a, const ColumnSpan& b) { return a.left < b.left; });
    return spans;
}

bool CViewListBase::InHeadingBand(int y) const
{
    return y >= headingTop_ && y < grid_.rowsTop();
}

int CViewListBase::RowFromPoint(QPoint point) const
{
    if (!list || point.y() < grid_.rowsTop())
        return -1;
    for (int i = 0; i < grid_.visibleRows(); ++i)
        if (point.y() >= grid_.RowTop(i) && point.y() < grid_.RowTop(i + 1)) {
            const int row = grid_.firstRow() + i;
            return row < ShareListCount(list) ? row : -1;
        }
    return -1;
}

void CViewListBase::SelectRowAt(QPoint point)
{
    const int row = RowFromPoint(point);
    if (row < 0 || row == list->current)
        return;
    list->current = row;
    CurrentRowChanged();
}

void CViewListBase::CurrentRowChanged()
{
    PublishCurrentShare();
    // The other views of the list follow its share (a trade list's rows are not shares).
    if (kind != 10)
        InvalidateLinkedViews(false, false);
    update();
}

// Context menu ------------------------------------------------------------------------------------

QMenu* CViewListBase::BuildContextMenu(QPoint point)
{
    if (!list || point.y() < headingTop_)
        return nullptr;
    std::vector<SoftMenuEntry> entries;
    if (InHeadingBand(point.y())) {
        const int column = ColumnFromPoint(VisibleColumnSpans(), point.x(), grid_.table().right);
        const uint8_t* def = column >= 0 && column < grid_.columnCount() ? grid_.column(column) : nullptr;
        if (!def || ListHeadingMenuId(kind) == 0)
            return nullptr;
        cursorColumn_ = column;
        entries = BuildColumnMenu(kind, def, HasUpDownColour(def));
    } else {
        cursorColumn_ = -1;
        bodyColumn_ = grid_.GridColumnFromX(point.x());
        const SoftMenu body = LoadSoftMenu(ListBodyMenuId(kind), true, 0xFF);
        if (body.entries.empty())
            return nullptr;
        entries = body.entries.front().items;
    }
    QMenu* menu = CreateSoftQMenu(QString(), entries, this);
    RunChosenCommandsLater(*menu, this, [this](uint32_t command) {
        if (!RunListCommand(command))
            RouteCommand(command);
    });
    return menu;
}

void CViewListBase::contextMenuEvent(QContextMenuEvent* event)
{
    QMenu* menu = BuildContextMenu(event->pos());
    if (!menu) {
        update();
        return;
    }
    update();
    menu->exec(event->globalPos());
    menu->deleteLater();
}

// Commands ----------------------------------------------------------------------------------------

bool CViewListBase::UpdateListCommand(CommandUi& ui)
{
    const uint32_t c = ui.command;
    const std::span<const uint8_t> layout = ListLayout(list, kind);
    const int count = ListColumnCount(list, kind);
    const uint8_t* def = list && cursorColumn_ >= 0 && cursorColumn_ < count ? GetColumnDef(layout.data(), cursorColumn_) : nullptr;
    if (IsFormatCommand(c) || IsStructuralCommand(c)) {
        if (def && def[0] < kColumnDefBytes)
            def = nullptr;
        const ColumnItemState state = ColumnFormatState(def, int(c), count);
        ui.enabled = state.enabled && def != nullptr;
        if (IsFormatCommand(c))
            ui.checked = state.checked;
        return true;
    }
    if (const AddColumnCommand* add = FindAddColumnCommand(int(c), kind)) {
        if (!KindAddsFrom(kind, *add))
            return false;
        ui.enabled = list && count < kMaxColumnsForAdd;
        // Without its dialogs (a build without the intraday views) the intraday column is greyed.
        if (add->route == AddColumnRoute::Intraday && !ColumnDialogs().intraday)
            ui.enabled = false;
        const int code = AddColumnCommandCode(*add);
        const int note = NoteCommandNumber(int(c));
        // A note column and a field column may share a code (the transactions' note and time).
        const bool addsNote = AddColumnCommandAddsNote(*add);
        bool checked = false;
        for (int i = 0; code >= 0 && i < count; ++i) {
            const uint8_t* column = GetColumnDef(layout.data(), i);
            if (column[0] >= kColumnDefBytes && ColumnDefCode(column) == code && CountsAsChecked(column)
                && (ColumnDefKind(column) == kColumnNote) == addsNote)
                checked = checked || note == 0 || column[ColumnDefLayout::FormatA] == note;
        }
        ui.checked = checked;
        return true;
    }
    if (UpdateListSourceCommand(ui))
        return true;
    if (c == 26228) {
        // Edit imported data hands over to the main window's editor (26214), live once that is.
        ui.enabled = list != nullptr && QueryCommandUi(26214).enabled;
        return true;
    }
    if (c == 26229) {
        ui.enabled = list && list->family != kFamilyTransactions && CurrentEntry(list) && NoteColumnToEdit() >= 0;
        return true;
    }
    if (c == 27200) {
        ui.enabled = CurrentListViewOptions().livePrices && kind != 7 && (kind == 10 || kind == 3 || ShareListCount(list) > 0) &&
                     FindCommandDialog(27200);
        return true;
    }
    if (c == 26170 || c == 20610 || c == 20607 || c == 20604 || c == 20605 || c == 20608 || c == 20609 || c == 26014
        || c == 26015 || c == 26016 || c == 26017 || c == 26018 || c == 26019 || c == 20616 || c == 20617 || c == 20600
        || c == 20601 || c == 26172 || c == 26173 || c == 20618 || c == 20619 || c == 27207 || c == 27208 || c == 20606
        || c == 20615) {
        ui.enabled = list != nullptr;
        return true;
    }
    return false;
}

bool CViewListBase::RunListCommand(uint32_t command)
{
    if (!list)
        return false;
    if (IsFormatCommand(command) || IsStructuralCommand(command))
        return RunColumnCommand(command);
    if (FindAddColumnCommand(int(command), kind))
        return RunAddColumnCommand(command);
    if (RunListSourceCommand(command))
        return true;
    switch (command) {
    case 26170: update(); return true;
    case 26228: RouteCommand(26214); return true;
    case 26229:
        if (const int column = NoteColumnToEdit(); column >= 0)
            EditNote(list->current, column);
        return true;
    case 27200:
        if (const CommandDialog* summary = FindCommandDialog(27200))
            (*summary)();
        return true;
    case 20606: LoopForward(); return true;
    case 20615: LoopBack(); return true;
    default: break;
    }
    return RunMoveCommand(command);
}

bool CViewListBase::RunAddColumnCommand(uint32_t command)
{
    const AddColumnCommand* add = FindAddColumnCommand(int(command), kind);
    if (!KindAddsFrom(kind, *add))
        return false;
    if (ListColumnCount(list, kind) >= kMaxColumnsForAdd)
        return true;
    AddColumnRequest request;
    request.insertAt = cursorColumn_;
    request.parameter1 = add->parameter1;
    request.pointSize = CurrentStyle().pointSize;
    request.dpi = logicalDpiY();
    if (const int note = NoteCommandNumber(int(command)))
        request.noteNumber = note;
    switch (add->route) {
    case AddColumnRoute::Template:
    case AddColumnRoute::Separator:
        AddListColumn(list, kind, CatalogueTemplate(add->catalogue, add->index), request);
        break;
    case AddColumnRoute::Field:
        AddListFieldColumn(list, kind, uint8_t(add->index), NarrowFieldColumn(add->index), cursorColumn_, request.pointSize, request.dpi);
        break;
    case AddColumnRoute::DateDialog: {
        const auto chosen = AskDateParameters(this, int(command), add->index, {0, 0});
        if (!chosen)
            return true;
        // The percentage variants mark their first date with bit 23.
        const bool percentage = add->index == 31 || add->index == 57;
        request.parameter1 = chosen->first | (percentage ? 1 << 23 : 0);
        request.parameter2 = chosen->second;
        AddListColumn(list, kind, CatalogueTemplate(add->catalogue, add->index), request);
        break;
    }
    case AddColumnRoute::Results: {
        // "Add Now" adds each column at once, the next one to its right.
        const auto add = [this](const ResultsChoice& choice) {
            if (AddListRecord(list, kind, ResultsChoiceRecord(choice), cursorColumn_) && cursorColumn_ >= 0)
                ++cursorColumn_;
            headings_.BuildHeadings(list, list->columnLayout);
            update();
            return ListColumnCount(list, kind);
        };
        const auto chosen = AskResultsColumn(this, int(command), nullptr, ListColumnCount(list, kind), add);
        if (!chosen)
            return true;
        AddListRecord(list, kind, ResultsChoiceRecord(*chosen), cursorColumn_);
        break;
    }
    case AddColumnRoute::HighLow: {
        const auto chosen = AskHighLowColumn(this, 0, 0, 0, 0);
        if (!chosen)
            return true;
        AddHighLowColumn(list, kind, *chosen, request);
        break;
    }
    case AddColumnRoute::Intraday: {
        const auto& ask = ColumnDialogs().intraday;
        if (!ask)
            return true;
        // Each column goes in front of the column under the cursor and becomes that column.
        ask(this, [this, &request](std::span<const uint8_t> record) {
            if (ListColumnCount(list, kind) >= kMaxColumnsForAdd ||
                !InsertListColumn(list, kind, record, cursorColumn_, request.pointSize, request.dpi))
                return false;
            headings_.BuildHeadings(list, list->columnLayout);
            update();
            return true;
        });
        return true;
    }
    }
    headings_.BuildHeadings(list, list->columnLayout);
    update();
    return true;
}

void CViewListBase::ColumnFormatChanged(int column)
{
    KeepLayoutEdit(list, kind);
    SendMessageToAllViews(kMsgColumnFormatChanged, uint16_t(column), 0, false, list->family, kind, list->tableSetting);
    update();
}

void CViewListBase::RemoveCursorColumn()
{
    const uint8_t* def = GetColumnDef(list->columnLayout, cursorColumn_);
    // A share notes column whose note set is empty goes without a question. (The notes of a
    // transactions list are its transactions' texts, which the transactions view removes.)
    const int note = ColumnDefKind(def) == kColumnNote && kind != 4 ? def[ColumnDefLayout::FormatA] : 0;
    NotesAnswer notes = NotesAnswer::Keep;
    if (note && NoteSetHasNotes(note))
        notes = AskNotesRemoval(CountOtherNoteColumns(kind, note, def));
    if (notes == NotesAnswer::Cancel)
        return;
    if (RemoveListColumn(list, kind, cursorColumn_))
        cursorColumn_ = -1;
    if (notes == NotesAnswer::Delete) {
        DeleteNoteSet(note);
        RedrawListViews(list, kind);
    }
    update();
}

bool CViewListBase::RunColumnCommand(uint32_t command)
{
    const int count = ListColumnCount(list, kind);
    if (cursorColumn_ < 0 || cursorColumn_ >= count)
        return true;
    auto* def = const_cast<uint8_t*>(GetColumnDef(ListLayout(list, kind).data(), cursorColumn_));
    if (def[0] < kColumnDefBytes)
        return true;
    if (ApplyColumnFormat(def, int(command))) {
        ColumnFormatChanged(cursorColumn_);
        return true;
    }
    switch (command) {
    case Remove:
        if (count > 1)
            RemoveCursorColumn();
        break;
    case Sort:
        SortListColumn(list, kind, SortForColumnCommand(ListSignedSort(list), cursorColumn_));
        update();
        break;
    case Fit: FitColumn(cursorColumn_); update(); break;
    case Rename: {
        const char* own = ColumnDefOwnTitle(def);
        const std::string defaultName = GetColumnHeading(list, def, true);
        const auto title = AskColumnName(this, GetColumnHeading(list, def, false), own ? own : "", defaultName);
        if (title)
            RetitleListColumn(list, kind, cursorColumn_, *title, defaultName);
        break;
    }
    case SetWidth: {
        const auto width = AskColumnNumber(this, "Set Column Width", "Enter the column width",
            "You can also resize the column with the left mouse button.", ColumnDefWidth(def), true);
        if (width)
            SetListColumnWidth(list, kind, cursorColumn_, *width);
        break;
    }
    case Move: {
        const auto position = AskColumnNumber(this, "Move this Column", "Enter the new column number",
            "You can also move the column by dragging with the left mouse button.", cursorColumn_ + 1, false);
        if (position && *position - 1 != cursorColumn_)
            MoveListColumn(list, kind, cursorColumn_, std::clamp(*position - 1, 0, count));
        break;
    }
    case ChangeContents: ChangeCursorColumnContents(def); break;
    case Borders: EditCursorColumnAppearance(def); break;
    default: break;
    }
    update();
    return true;
}

void CViewListBase::EditCursorColumnAppearance(uint8_t* def)
{
    const std::span<uint8_t, kColumnAppearanceBytes> bytes(def + ColumnDefLayout::Appearance, kColumnAppearanceBytes);
    const ListStyle style = CurrentStyle();
    CColumnStyleDlg dialog(UnpackColumnAppearance(bytes), style.text, style.background, this);
    const int column = cursorColumn_;
    // The preview draws the table with the dialog's settings put into the record for a moment.
    dialog.setPreviewSource([this, bytes, column](const ColumnAppearance& appearance, QSize size) {
        std::array<uint8_t, kColumnAppearanceBytes> saved{};
        std::copy(bytes.begin(), bytes.end(), saved.begin());
        PackColumnAppearance(appearance, bytes);
        const QImage table = RenderImage(this->size());
        std::copy(saved.begin(), saved.end(), bytes.begin());
        int centre = table.width() / 2;
        for (const ColumnSpan& span : VisibleColumnSpans())
            if (span.column == column)
                centre = (span.left + span.right) / 2;
        const int left = std::clamp(centre - size.width() / 2, 0, std::max(table.width() - size.width(), 0));
        return table.copy(left, 0, size.width(), size.height());
    });
    if (RunModalDialog(dialog) != QDialog::Accepted)
        return;
    PackColumnAppearance(dialog.appearance(), bytes);
    ColumnFormatChanged(column);
}

void CViewListBase::ChangeCursorColumnContents(const uint8_t* def)
{
    const int column = cursorColumn_;
    const uint8_t code = ColumnDefCode(def);
    const uint8_t columnKind = ColumnDefKind(def);
    AddColumnRequest request;
    request.insertAt = column;
    request.pointSize = CurrentStyle().pointSize;
    request.dpi = logicalDpiY();
    if (columnKind == kColumnResults || columnKind == kColumnResultsChange) {
        const auto chosen = AskResultsColumn(this, ChangeContents, def, ListColumnCount(list, kind), nullptr);
        if (chosen && RemoveListColumn(list, kind, column))
            AddListRecord(list, kind, ResultsChoiceRecord(*chosen), column);
        return;
    }
    const bool dated = columnKind == kColumnPriceHistory && (code == 30 || code == 31 || code == 56 || code == 57 || code == 87 || code == 88);
    if (dated) {
        const auto chosen = AskDateParameters(this, ChangeContents, code, StoredDateParameters(def));
        if (!chosen || !RemoveListColumn(list, kind, column))
            return;
        request.parameter1 = chosen->first | (code == 31 || code == 57 ? 1 << 23 : 0);
        request.parameter2 = chosen->second;
        AddListColumn(list, kind, CatalogueTemplate(Catalogue::Shares, code), request);
        return;
    }
    const auto stored = StoredDateParameters(def);
    const auto chosen = AskHighLowColumn(this, code, def[ColumnDefLayout::SubKind], stored.first >> 16, stored.first & 0xFFFF);
    if (chosen && RemoveListColumn(list, kind, column))
        AddHighLowColumn(list, kind, *chosen, request);
}

// Keys and scrolling ------------------------------------------------------------------------------

bool CViewListBase::OnFindShareKey(uint32_t character)
{
    const int before = list ? list->current : -1;
    const bool used = CViewBaseWnd::OnFindShareKey(character);
    if (list && list->current != before) {
        list->firstVisible = std::max(list->current - 4, 0);
        update();
    }
    return used;
}

void CViewListBase::ScrollRows(int delta)
{
    list->firstVisible = std::clamp(list->firstVisible + delta, 0, std::max(grid_.GetGridMaxFirstRow(), 0));
    update();
}

void CViewListBase::MoveSelection(int delta)
{
    const int count = ShareListCount(list);
    if (count == 0)
        return;
    const int before = list->current;
    list->current = std::clamp(list->current + delta, 0, count - 1);
    resync_ = kResyncScrollToSelection;
    if (list->current != before)
        CurrentRowChanged();
    update();
}

void CViewListBase::ScrollColumns(int delta)
{
    grid_.SetGridScrollPos(grid_.scrollPos() + delta);
    update();
}

bool CViewListBase::RunMoveCommand(uint32_t command)
{
    const int page = std::max(grid_.visibleRows() * 4 / 5, 1);
    const int count = ShareListCount(list);
    switch (command) {
    case 20610: ScrollRows(1); return true;
    case 20607: ScrollRows(-1); return true;
    case 20604: ScrollRows(-count); return true;
    case 20605: ScrollRows(count); return true;
    case 20608: ScrollRows(page); return true;
    case 20609: ScrollRows(-page); return true;
    case 26017: MoveSelection(1); return true;
    case 26016: MoveSelection(-1); return true;
    case 26018: MoveSelection(-count); return true;
    case 26019: MoveSelection(count); return true;
    case 26014: MoveSelection(page); return true;
    case 26015: MoveSelection(-page); return true;
    // Space and Shift+Space step to the next and previous share.
    case 20618: case 27207: MoveSelection(1); return true;
    case 20619: case 27208: MoveSelection(-1); return true;
    case 20617: MoveSelection(grid_.firstRow() + grid_.visibleRows() - 1 - list->current); return true;
    case 20616: MoveSelection(grid_.firstRow() - list->current); return true;
    // Left moves the horizontal position one column on, Right one back.
    case 20600: ScrollColumns(1); return true;
    case 20601: ScrollColumns(-1); return true;
    case 26172: ScrollColumns(std::max(grid_.GridColumnsPerPage(), 1)); return true;
    case 26173: ScrollColumns(-std::max(grid_.GridColumnsPerPage(), 1)); return true;
    default: return false;
    }
}

void CViewListBase::LoopForward()
{
    MessageTarget* frame = MainFrameTarget();
    if (!LoopForwardShowsNextKind(kind, CurrentListViewOptions().loopViews, CurrentEntry(list) != nullptr) || !frame) {
        SystemBeep();
        return;
    }
    // The list comes back with the share it left on at its top row.
    if (kind == 1 || kind == 2)
        list->firstVisible = std::max(list->current, 0);
    PostProgramMessage(*frame, WM_COMMAND, ID_NEXT_VIEW);
}

void CViewListBase::LoopBack()
{
    MessageTarget* frame = MainFrameTarget();
    if (frame && LoopBackShowsPreviousKind(kind, CurrentListViewOptions().loopViews, CurrentEntry(list) != nullptr))
        PostProgramMessage(*frame, WM_COMMAND, ID_PREVIOUS_VIEW);
}

void CViewListBase::keyPressEvent(QKeyEvent* event)
{
    static const std::pair<int, ListKey> kKeys[] = {{Qt::Key_Down, ListKey::Down}, {Qt::Key_Up, ListKey::Up},
        {Qt::Key_Home, ListKey::Home}, {Qt::Key_End, ListKey::End}, {Qt::Key_PageDown, ListKey::PageDown},
        {Qt::Key_PageUp, ListKey::PageUp}, {Qt::Key_Left, ListKey::Left}, {Qt::Key_Right, ListKey::Right},
        {Qt::Key_Space, ListKey::Space}, {Qt::Key_Return, ListKey::Enter}, {Qt::Key_Enter, ListKey::Enter},
        {Qt::Key_Escape, ListKey::Escape}};
    for (auto [key, listKey] : kKeys) {
        if (event->key() != key)
            continue;
        const int command = ListKeyCommand(listKey, event->modifiers() & Qt::ShiftModifier, event->modifiers() & Qt::ControlModifier);
        if (command && list && !RunListCommand(uint32_t(command)))
            RouteCommand(uint32_t(command));
        event->accept();
        return;
    }
    CViewBaseWnd::keyPressEvent(event);
}

void CViewListBase::wheelEvent(QWheelEvent* event)
{
    resize_ = {};
    move_ = {};
    if (!list)
        return;
    const int steps = ListWheel().add(event->angleDelta().y());
    if (steps == 0)
        return;
    if (event->modifiers() & Qt::ShiftModifier)
        MoveSelection(-steps);
    else if (!grid_.banded())
        ScrollRows(-steps);
}

// Mouse -------------------------------------------------------------------------------------------

void CViewListBase::mousePressEvent(QMouseEvent* event)
{
    setFocus();
    if (tip_)
        tip_->Hide();
    resize_ = {};
    move_ = {};
    const QPoint point = event->position().toPoint();
    if (!list || point.y() < headingTop_ || event->button() != Qt::LeftButton)
        return;
    if (!InHeadingBand(point.y())) {
        SelectRowAt(point);
        return;
    }
    const std::vector<ColumnSpan> spans = VisibleColumnSpans();
    const int edge = HitTestColumnEdge(spans, point.x());
    if (edge >= 0) {
        const auto span = std::find_if(spans.begin(), spans.end(), [edge](const ColumnSpan& s) { return s.column == edge; });
        if (span != spans.end()) {
            resize_ = {edge, span->left, point.x()};
            update();
        }
        return;
    }
    const int column = ColumnFromPoint(spans, point.x(), grid_.table().right);
    if (column < 0 || column >= grid_.columnCount())
        return;
    cursorColumn_ = column;
    move_ = {column, point.x(), point.x(), QDateTime::currentMSecsSinceEpoch()};
}

void CViewListBase::mouseMoveEvent(QMouseEvent* event)
{
    const QPoint point = event->position().toPoint();
    if (resize_.column >= 0) {
        resize_.lineX = point.x();
        update();
        return;
    }
    if (move_.column >= 0) {
        move_.lastX = point.x();
        update();
        return;
    }
    if (!list)
        return;
    Qt::CursorShape shape = Qt::ArrowCursor;
    if (InHeadingBand(point.y()) && HitTestColumnEdge(VisibleColumnSpans(), point.x()) >= 0)
        shape = Qt::SizeHorCursor;
    else if (const int row = RowFromPoint(point); row >= 0) {
        const int column = grid_.GridColumnFromX(point.x());
        const uint8_t* def = column >= 0 && column < grid_.columnCount() ? grid_.column(column) : nullptr;
        if (def && ColumnDefKind(def) == kColumnField && (ColumnDefCode(def) == 0x71 || ColumnDefCode(def) == 0x72)
            && !CellTextAt(row, def).empty())
            shape = Qt::PointingHandCursor;
    }
    setCursor(shape);
    TrackCellTip(point);
}

void CViewListBase::TrackCellTip(QPoint point)
{
    // A heading counts as row -2 here; the tip knows it as its header row.
    constexpr int kHeadingRow = -2;
    const bool heading = InHeadingBand(point.y());
    const int row = heading ? kHeadingRow : RowFromPoint(point);
    const int column = heading || row >= 0 ? grid_.GridColumnFromX(point.x()) : -1;
    if (row == tipRow_ && column == tipColumn_)
        return;
    tipRow_ = row;
    tipColumn_ = column;
    if (tip_)
        tip_->Hide();
    // "Enable Data Tips" cleared on the Lists page: no cell tips at all.
    if (!ListTipOption)
        return;
    if ((row < 0 && !heading) || column < 0 || column >= grid_.columnCount())
        return;
    const uint8_t* def = grid_.column(column);
    if (!def || def[0] < kColumnDefBytes)
        return;
    if (!tip_) {
        tip_ = new CPopupListTip();
        tip_->Create(0, 0, this);
    }
    const ListStyle style = CurrentStyle();
    tipView_ = std::make_unique<ViewTip>(*this, fonts_[0], style.whiteSpace);
    const auto spans = VisibleColumnSpans();
    const auto span = std::find_if(spans.begin(), spans.end(), [column](const ColumnSpan& s) { return s.column == column; });
    const int left = span != spans.end() ? span->left : grid_.columnX(column);
    const int width = span != spans.end() ? span->right - span->left : ColumnDefWidth(def);
    const int top = heading ? headingTop_ : grid_.RowTop(row - grid_.firstRow());
    tip_->SetCell(left, top, tipView_.get(), heading ? kTipHeaderRow : row, TipColumn{ColumnDefCode(def), ColumnDefKind(def)},
                  width, fonts_[0]);
    tip_->SetState(TipState{SortBusy != 0 || ReloadInProgress, WindowNumberingOption != 0, ListTipOption != 0});
    tip_->SetViewColours(ColourFromWord(style.background), ColourFromWord(style.text),
                         ColourFromWord(PenColourOf(style.horizontalPen)));
    tip_->SetRightLimit(rect().right() + 1);
    tip_->ShowAfter(kTipDelayMs);
}

void CViewListBase::leaveEvent(QEvent* event)
{
    // The tip itself standing over the cell makes some window systems report a leave while the
    // pointer still rests on the view; the tip stays for as long as it does.
    if (rect().contains(mapFromGlobal(QCursor::pos()))) {
        CViewBaseWnd::leaveEvent(event);
        return;
    }
    tipRow_ = tipColumn_ = -1;
    if (tip_)
        tip_->Hide();
    CViewBaseWnd::leaveEvent(event);
}

void CViewListBase::mouseReleaseEvent(QMouseEvent* event)
{
    const QPoint point = event->position().toPoint();
    if (resize_.column >= 0) {
        const ResizeDrag drag = resize_;
        resize_ = {};
        SetListColumnWidth(list, kind, drag.column, ResizedWidth(point.x(), drag.left));
        update();
        return;
    }
    if (move_.column < 0)
        return;
    const MoveDrag drag = move_;
    move_ = {};
    const bool moved = std::abs(point.x() - drag.startX) > kMoveSlop
        || QDateTime::currentMSecsSinceEpoch() - drag.pressTime > QApplication::doubleClickInterval();
    const int target = ColumnFromPoint(VisibleColumnSpans(), point.x(), grid_.table().right);
    if (const auto to = MoveDragTarget(drag.column, target, grid_.columnCount()); to && moved) {
        MoveListColumn(list, kind, drag.column, *to);
        cursorColumn_ = *to;
    }
    update();
}

void CViewListBase::mouseDoubleClickEvent(QMouseEvent* event)
{
    resize_ = {};
    move_ = {};
    const QPoint point = event->position().toPoint();
    if (!list || point.y() < headingTop_)
        return;
    if (InHeadingBand(point.y())) {
        const std::vector<ColumnSpan> spans = VisibleColumnSpans();
        if (const int edge = HitTestColumnEdge(spans, point.x()); edge >= 0) {
            FitColumn(edge);
            update();
            return;
        }
        const int column = ColumnFromPoint(spans, point.x(), grid_.table().right);
        if (column < 0 || column >= grid_.columnCount())
            return;
        if (ColumnMenuBits(MenuFamilyOfKind(kind), grid_.column(column)) & 1) {
            cursorColumn_ = column;
            RunColumnCommand(Sort);
        }
        return;
    }
    if (kind == 5 || kind == 7 || kind == 8 || kind == 10)
        return;
    const int row = RowFromPoint(point);
    const int column = grid_.GridColumnFromX(point.x());
    if (row < 0)
        return;
    if (column >= 0 && column < grid_.columnCount() && OpenCellLink(row, column))
        return;
    OpenRow(row);
}

bool CViewListBase::OpenCellLink(int row, int column)
{
    const uint8_t* def = grid_.column(column);
    if (ColumnDefKind(def) == kColumnNote) {
        EditNote(row, column);
        return true;
    }
    const uint8_t code = ColumnDefCode(def);
    if (ColumnDefKind(def) != kColumnField || (code != 0x71 && code != 0x72))
        return false;
    const std::string text = CellTextAt(row, def);
    if (text.empty())
        return false;
    ShellOpen(code == 0x71 ? WebsiteLink(text) : MailLink(text));
    return true;
}

int CViewListBase::NoteColumnToEdit() const
{
    const std::span<const uint8_t> layout = ListLayout(list, kind);
    const int count = ListColumnCount(list, kind);
    const auto isNote = [&](int column) {
        if (column < 0 || column >= count)
            return false;
        const uint8_t* def = GetColumnDef(layout.data(), column);
        return def[0] >= kColumnDefBytes && ColumnDefKind(def) == kColumnNote;
    };
    if (isNote(cursorColumn_))
        return cursorColumn_;
    if (isNote(bodyColumn_))
        return bodyColumn_;
    for (int column = 0; column < count; ++column)
        if (isNote(column))
            return column;
    return -1;
}

void CViewListBase::EditNote(int row, int column)
{
    const uint8_t* def = GetColumnDef(ListLayout(list, kind).data(), column);
    const RecordCursor* entry = ShareListEntry(list, row);
    // A transactions list's notes are its transactions' own texts, edited by the transactions view.
    if (!def || ColumnDefKind(def) != kColumnNote || !entry || !entry->record || list->family == kFamilyTransactions)
        return;
    const int note = def[ColumnDefLayout::FormatA];
    const uint16_t id = EntryRecordId(*entry);
    const uint8_t line = uint8_t(entry->count);
    const auto text = AskNote(this, GetColumnHeading(list, def, false), std::string(GetRecordName(entry->record)),
                              ShareNote(id, line, note));
    if (!text)
        return;
    if (!SetShareNote(id, line, note, *text))
        return;
    if (list->sortColumn == column)
        SortListColumn(list, kind, ListSignedSort(list));
    RedrawListViews(list, kind);
    update();
}

void CViewListBase::OpenRow(int row)
{
    const RecordCursor* entry = ShareListEntry(list, row);
    if (!entry || !entry->record)
        return;
    // An extra or imported item is edited rather than charted.
    if (IsMadeItemId(EntryRecordId(*entry))) {
        RouteCommand(26214);
        return;
    }
    MessageTarget* frame = MainFrameTarget();
    if (!CurrentListViewOptions().doubleClickOpens || !frame)
        return;
    list->current = row;
    list->currentId = EntryRecordId(*entry);
    list->currentSub = entry->count;
    // The chart opened from a row is the row's share, never a graph of the whole list.
    portfolioGraphMode = 0;
    update();
    PostProgramMessage(*frame, WM_COMMAND, ID_INTERNAL_508);
}

void CViewListBase::DrawDragMarks(QPainter& painter)
{
    const GridRect& table = grid_.table();
    if (resize_.column >= 0) {
        painter.setCompositionMode(QPainter::RasterOp_SourceXorDestination);
        painter.setPen(Qt::white);
        painter.drawLine(resize_.lineX, headingTop_, resize_.lineX, table.bottom);
        painter.setCompositionMode(QPainter::CompositionMode_SourceOver);
    }
    if (move_.column >= 0 && move_.lastX != move_.startX && move_.column < grid_.columnCount()) {
        const int width = grid_.columnX(move_.column + 1) - grid_.columnX(move_.column);
        const int left = move_.lastX - width / 2;
        painter.setPen(QPen(Qt::black, 1, Qt::DashLine));
        painter.setBrush(QColor(0, 0, 128, 60));
        painter.drawRect(left, headingTop_, width, grid_.rowsTop() - headingTop_ - 1);
    }
}

} // namespace qv
