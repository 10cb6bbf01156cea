// The transactions view.
#include "portfolio/ui/ViewTran.h"

#include "core/ColumnDef.h"
#include "core/RecordLookup.h"
#include "core/ShareList.h"
#include "core/TransactionTypes.h"
#include "lists/ColumnHeading.h"
#include "lists/ListColumnCommands.h"
#include "lists/ListSettings.h"
#include "lists/ui/ListViewSeams.h"
#include "platform/ByteOrder.h"
#include "platform/MessageBox.h"
#include "platform/MessageDispatch.h"
#include "portfolio/HoldingsPass.h"
#include "portfolio/PortfolioFile.h"
#include "portfolio/PortfolioRoutines.h"
#include "portfolio/TransactionRecording.h"
#include "portfolio/TransactionRows.h"
#include "portfolio/UndoRing.h"
#include "portfolio/ui/PortfolioChooser.h"
#include "portfolio/ui/RecordTransaction.h"
#include "resources/MessageIds.h"
#include "shell/LayoutSwitch.h"
#include "shell/PortfolioAdd.h"
#include "views/FrameState.h"
#include "views/ui/ViewClassRegistry.h"

#include <QMouseEvent>

#include <algorithm>

namespace qv {
namespace {

namespace L = TransactionLayout;

enum : uint32_t {
    kEdit = 25033,
    kDelete = 25163,
    kDeleteSelected = 20611,
    kEditNote = 26203,
    kTotalsOnly = 26102,
    kHeldOnly = 26541,
    kCopyTo = 26557,
    kMoveTo = 26558,
    kShowShareName = 25101,
    kAddShareName = 26039,
    kCurrentPortfolio = 20313,
};
constexpr uint8_t kGainsBefore = 20, kGainsAfter = 21;
constexpr uint32_t kShareCgtHistory = 26302;
constexpr int kCopyToMode = 7, kMoveToMode = 8;
constexpr uint16_t kNoCashAccount = 0xFFFF;

const struct {
    uint32_t command;
    int type;
} kRecordCommands[] = {{25034, 1},  {25035, 2},  {25037, 3},  {25183, 4},  {25154, 5},  {25156, 6},
                       {25157, 7},  {26550, 8},  {26551, 9},  {26552, 10}, {26556, 11}, {26553, 12},
                       {26555, 13}, {26554, 14}, {26882, 16}, {26883, 17}, {26884, 18}, {26885, 19},
                       {26886, 20}, {26887, 21}};

int RecordTypeOf(uint32_t command)
{
    for (const auto& r : kRecordCommands)
        if (r.command == command)
            return r.type;
    return 0;
}

bool AskYesNo(const std::string& text)
{
    return ShowMessage(text, {}, MsgButtons::YesNo, MsgIcon::Question) == MsgAnswer::Yes;
}

} // namespace

PendingTransaction& PendingTransactionShare()
{
    static PendingTransaction pending;
    return pending;
}

bool& CViewTran::TotalsOnly()
{
    static bool on = false;
    return on;
}

bool& CViewTran::HeldOnly()
{
    static bool on = false;
    return on;
}

CViewTran::CViewTran(QWidget* parent) : CViewBase(4), CViewListTop(4, parent) { AddCommandTarget(this); }

CViewTran::~CViewTran() { RemoveCommandTarget(this); }

Portfolio* CViewTran::AttachPortfolio()
{
    if (!list)
        AttachListSource(kFamilyTransactions, nullptr, -1);
    if (!list)
        return nullptr;
    Portfolio* p = list->source;
    if (!p && CurrentShareList())
        if (Portfolio* current = CurrentShareList()->source;
            current && (current->type == kUserPortfolio || current->type == kGroupPortfolio))
            p = current;
    if (p != list->source) {
        list->source = p;
        list->sourceNumber = p ? p->number : -1;
    }
    qv::SelectColumnSetting(list, kind, -1, false, false);
    return p;
}

void CViewTran::OnRefresh()
{
    if (PutOffRefresh())
        return;
    reload = 0;
    Portfolio* p = AttachPortfolio();
    if (!list)
        return;
    if (p && p->changed) {
        if (p->type == kGroupPortfolio)
            RebuildGroupPortfolio(p);
        BuildHoldingRows(*p);
        p->changed = 0;
    }
    const std::vector<RecordCursor> rows =
        p ? RowsOfTransactions(TransactionRowsOf(*p, TotalsOnly(), HeldOnly())) : std::vector<RecordCursor>{};
    SetListRows(list, rows);
    CViewListTop::OnRefresh();
    update();
}

void CViewTran::paintEvent(QPaintEvent* event)
{
    if (list && reload)
        OnRefresh();
    CViewListTop::paintEvent(event);
}

std::vector<HeaderItem> CViewTran::HeaderItems()
{
    const Portfolio* p = portfolio();
    if (!p || DataMiningRunBusy)
        return {};
    std::vector<HeaderItem> items{{"Transactions for Portfolio:", p->name.str()}};
    if (p->transactions) {
        std::vector<HeaderItem> more = PortfolioValueLine(*p, IncludeAttachedCashOption());
        items.insert(items.end(), more.begin(), more.end());
    }
    return items;
}

Transaction* CViewTran::CurrentRecord() const
{
    const Portfolio* p = portfolio();
    RecordCursor* entry = CurrentEntry(list);
    if (!p || !entry || !entry->record)
        return nullptr;
    for (Transaction* t = p->transactions; t; t = t->next)
        if (t->bytes.data() == entry->record)
            return t;
    return nullptr;
}

bool CViewTran::CurrentRowEditable() const
{
    const Transaction* t = CurrentRecord();
    return t && t->type() != kLatestRowType && !TotalsOnly();
}

intptr_t CViewTran::onProgramMessage(uint32_t message, uintptr_t wParam, intptr_t lParam)
{
    if (message == kMsgRecordPending) {
        if (recordingPending_)
            return 0;
        recordingPending_ = true;
        const PendingTransaction pending = PendingTransactionShare();
        RecordTransaction(AttachPortfolio(), int(wParam), pending.shareId, pending.line, 0, nullptr, this);
        recordingPending_ = false;
        if (MessageTarget* frame = MainFrameTarget())
            PostProgramMessage(*frame, WM_COMMAND, kCurrentPortfolio);
        return 1;
    }
    if (message == WM_COMMAND && (wParam & 0xFFFF) != ID_REFRESH && RunCommand(uint32_t(wParam & 0xFFFF)))
        return 1;
    return CViewListTop::onProgramMessage(message, wParam, lParam);
}

bool CViewTran::OnFindShareKey(uint32_t character)
{
    Portfolio* p = portfolio();
    if (!p)
        return false;
    RecordTransaction(p, 1, 0, 0, character, nullptr, this);
    return true;
}

bool CViewTran::UpdateCommand(CommandUi& ui)
{
    if (!IsActiveView())
        return false;
    if (UpdateTopCommand(ui))
        return true;
    const Portfolio* p = portfolio();
    if (RecordTypeOf(ui.command)) {
        ui.enabled = p != nullptr;
        return true;
    }
    switch (ui.command) {
    case kEdit:
    case kDelete:
    case kDeleteSelected:
    case kCopyTo:
    case kMoveTo: ui.enabled = CurrentRowEditable(); return true;
    case kEditNote: {
        // Only a note column has a note to edit.
        ui.enabled = false;
        const int column = cursorColumn();
        const std::span<const uint8_t> layout = ListLayout(list, kind);
        if (column >= 0 && column < ListColumnCount(list, kind))
            if (const uint8_t* def = GetColumnDef(layout.data(), column); def && ColumnDefKind(def) == kColumnNote) {
                ui.text = "Edit: " + GetColumnHeading(list, def, true);
                ui.enabled = CurrentRowEditable();
            }
        return true;
    }
    case kTotalsOnly:
        ui.enabled = true;
        ui.checked = TotalsOnly();
        return true;
    case kHeldOnly:
        ui.enabled = true;
        ui.checked = HeldOnly();
        return true;
    case kShowShareName: {
        CommandUi add;
        add.command = kAddShareName;
        UpdateListCommand(add);
        ui.enabled = add.enabled;
        ui.checked = add.checked;
        return true;
    }
    default: return UpdateListCommand(ui);
    }
}

bool CViewTran::RunCommand(uint32_t command)
{
    if (!IsActiveView())
        return false;
    if (RunTopCommand(command))
        return true;
    Portfolio* p = portfolio();
    if (const int type = RecordTypeOf(command)) {
        const Transaction* t = CurrentRecord();
        RecordTransaction(p, type, t ? t->shareId() : 0, t ? t->line() : 0, 0, nullptr, this);
        return true;
    }
    switch (command) {
    case kEdit:
        if (CurrentRowEditable())
            RecordTransaction(p, kEditTransaction, 0, 0, 0, CurrentRecord(), this);
        return true;
    case kDelete:
    case kDeleteSelected: Delete(); return true;
    case kEditNote: {
        const int column = cursorColumn();
        EditNote(column);
        return true;
    }
    case kTotalsOnly:
        TotalsOnly() = !TotalsOnly();
        SendMessageToKind(kind, WM_COMMAND, ID_REFRESH);
        return true;
    case kHeldOnly:
        HeldOnly() = !HeldOnly();
        if (p)
            p->changed = 1;
        SendMessageToKind(kind, WM_COMMAND, ID_REFRESH);
        return true;
    case kCopyTo: CopyOrMove(false); return true;
    case kMoveTo: CopyOrMove(true); return true;
    case kShowShareName: return RunListCommand(kAddShareName);
    default: return RunListCommand(command);
    }
}

void CViewTran::Delete()
{
    Portfolio* p = portfolio();
    if (!p || !CurrentRowEditable())
        return;
    if (!AskYesNo("Are you sure you want to delete this transaction?"))
        return;
    DeleteTransaction(*p, CurrentRecord());
    SavePortfolio(p, false);
    OnRefresh();
}

void CViewTran::EditNote(int column)
{
    Portfolio* p = portfolio();
    Transaction* t = CurrentRecord();
    const std::span<const uint8_t> layout = ListLayout(list, kind);
    if (!p || !t || !CurrentRowEditable() || column < 0 || column >= ListColumnCount(list, kind))
        return;
    const uint8_t* def = GetColumnDef(layout.data(), column);
    if (!def || ColumnDefKind(def) != kColumnNote)
        return;
    const int note = std::clamp<int>(def[ColumnDefLayout::FormatA], 1, L::TextCount - 1);
    auto fields = DecodeTransaction(t->bytes);
    if (!fields)
        return;
    const auto text = AskNote(this, GetColumnHeading(list, def, false), fields->texts[0], fields->texts[size_t(note)]);
    if (!text)
        return;
    fields->texts[size_t(note)] = *text;
    PrepareUndoStep(kUndoChange, p, nullptr);
    if (!StoreTransaction(*p, *fields, t))
        return;
    PushUndoStep(kUndoStepRecordTransaction, p);
    SavePortfolio(p, false);
    OnRefresh();
}

void CViewTran::CopyOrMove(bool move)
{
    Portfolio* p = portfolio();
    Transaction* t = CurrentRecord();
    if (!p || !t || !CurrentRowEditable())
        return;
    Portfolio* target = RunPortfolioChooser(move ? kMoveToMode : kCopyToMode, false, this);
    if (!target)
        return;
    const uint16_t owner = p->type == kGroupPortfolio ? LoadU16(&t->bytes[L::MemberPortfolio]) : p->number;
    if (target->number == owner || target == p)
        return;
    auto fields = DecodeTransaction(t->bytes);
    if (!fields)
        return;
    const RecordCursor entry{FindShareRecord(fields->shareId), fields->line};
    if (entry.record)
        AddPortfolioEntry(target, entry, false);
    fields->cashAccount = kNoCashAccount;
    fields->portfolioNumber = target->number;
    StoreTransaction(*target, *fields, nullptr);
    NotifyPortfolioChanged(target);
    SavePortfolio(target, false);
    RefreshListsOfPortfolio(target);
    if (move) {
        DeleteTransaction(*p, t);
        SavePortfolio(p, false);
    }
    OnRefresh();
}

int CViewTran::CurrentShareId() const
{
    const Transaction* t = CurrentRecord();
    return t ? t->shareId() : 0;
}

void CViewTran::OpenCell(int row, int column)
{
    Portfolio* p = portfolio();
    if (!p || !list || row < 0 || row >= ShareListCount(list))
        return;
    list->current = row;
    const std::span<const uint8_t> layout = ListLayout(list, kind);
    const uint8_t* def = column >= 0 && column < ListColumnCount(list, kind) ? GetColumnDef(layout.data(), column) : nullptr;
    if (def && ColumnDefKind(def) == kColumnField &&
        (ColumnDefCode(def) == kGainsBefore || ColumnDefCode(def) == kGainsAfter)) {
        RunTopCommand(kShareCgtHistory);
        return;
    }
    if (!CurrentRowEditable()) {
        ShowMessage("'Latest' rows can not be edited");
        return;
    }
    if (def && ColumnDefKind(def) == kColumnNote) {
        EditNote(column);
        return;
    }
    RecordTransaction(p, kEditTransaction, 0, 0, 0, CurrentRecord(), this);
}

void CViewTran::mouseDoubleClickEvent(QMouseEvent* event)
{
    const QPoint point = event->position().toPoint();
    const int row = RowFromPoint(point);
    if (row < 0) {
        CViewListTop::mouseDoubleClickEvent(event);
        return;
    }
    OpenCell(row, grid_.GridColumnFromX(point.x()));
}

void InstallTransactionViewClass()
{
    RegisterViewClass(4, [](int32_t) -> CViewBaseWnd* { return new CViewTran; });
}

} // namespace qv
