// The cash account view.
#include "portfolio/ui/ViewCash.h"

#include "core/CashAccounts.h"
#include "core/Portfolio.h"
#include "core/ShareList.h"
#include "core/StringPrintf.h"
#include "core/SystemDate.h"
#include "lists/ListSettings.h"
#include "platform/MessageBox.h"
#include "platform/MessageDispatch.h"
#include "platform/qt/QtText.h"
#include "portfolio/CashEntry.h"
#include "portfolio/PortfolioRoutines.h"
#include "portfolio/TransactionRows.h"
#include "portfolio/UndoRing.h"
#include "portfolio/ui/CashDialogs.h"
#include "portfolio/ui/PortfolioNameDlgs.h"
#include "resources/MessageIds.h"
#include "shell/LayoutStateHooks.h"
#include "shell/LayoutSwitch.h"
#include "shell/ui/MainFrame.h"
#include "shell/ui/ModalDialog.h"
#include "shell/ui/StatusBarEx.h"
#include "views/FrameState.h"
#include "views/ui/ViewClassRegistry.h"

#include <QMouseEvent>

#include <algorithm>
#include <cstring>

namespace qv {
namespace {

enum : uint32_t {
    kAddCredit = 26572,
    kAddDebit = 26573,
    kDeleteEntry = 26575,
    kEditEntry = 26576,
    kRename = 26579,
    kAttach = 26601,
    kAddInterest = 26602,
    kAddCharge = 26603,
};
constexpr uint32_t kUndoStepAccount = kUndoKindNamedAccount;
constexpr int kTransactionsKind = 4;

bool InAccountList(const CashAccount* account)
{
    for (const CashAccount* a = CashAccounts().head; a; a = a->next)
        if (a == account)
            return true;
    return false;
}

std::string TextOf(const uint8_t* bytes, size_t size) { return std::string(reinterpret_cast<const char*>(bytes), strnlen(reinterpret_cast<const char*>(bytes), size)); }

} // namespace

CashAccount*& LastShownCashAccount()
{
    static CashAccount* account = nullptr;
    return account;
}

CViewCash::CViewCash(QWidget* parent) : CViewBase(7), CViewListTop(7, parent) { AddCommandTarget(this); }

CViewCash::~CViewCash() { RemoveCommandTarget(this); }

uint32_t CViewCash::LayoutAccount() const { return account_ ? account_->number : 0; }

void CViewCash::ApplyLayoutAccount(uint32_t number)
{
    account_ = CashAccounts().head;
    for (CashAccount* a = CashAccounts().head; a; a = a->next)
        if (a->number == number)
            account_ = a;
}

void CViewCash::PickAccount()
{
    // The frame's choice of an account comes first; a view keeps its own until then.
    CashAccount* chosen = CashAccounts().current;
    if (InAccountList(chosen))
        account_ = chosen;
    else if (!InAccountList(account_))
        account_ = InAccountList(LastShownCashAccount()) ? LastShownCashAccount() : CashAccounts().head;
    LastShownCashAccount() = account_;
}

void CViewCash::OnRefresh()
{
    if (PutOffRefresh())
        return;
    reload = 0;
    const uint8_t busy = DataMiningRunBusy;
    DataMiningRunBusy = 1;
    if (!list)
        AttachListSource(kFamilyCash, nullptr, -1);
    PickAccount();
    statement_ = account_ ? BuildCashStatement(*account_, PortfolioChain()) : CashStatement{};
    if (list) {
        SetListRows(list, statement_.rows);
        qv::SelectColumnSetting(list, kind, -1, false, false);
    }
    DataMiningRunBusy = busy;
    CViewListTop::OnRefresh();
    update();
}

void CViewCash::paintEvent(QPaintEvent* event)
{
    if (list && (reload || !list->filledMark))
        OnRefresh();
    CViewListTop::paintEvent(event);
}

// The panes name the account shown and the kind of view; nothing of a share applies here.
void CViewCash::ShowStatusTexts()
{
    auto* frame = dynamic_cast<CMainFrame*>(MainFrameTarget());
    if (!frame || !frame->statusBarEx() || !active)
        return;
    CStatusBarEx& bar = *frame->statusBarEx();
    bar.SetPaneText(1, account_ ? FromCp1252(account_->name) : QString());
    bar.SetPaneText(2, QString());
    bar.SetPaneText(3, QStringLiteral("Cash account"));
}

std::vector<HeaderItem> CViewCash::HeaderItems()
{
    if (!account_)
        return {{"", "No Cash account"}};
    std::vector<HeaderItem> items{{"Cash account:", account_->name},
                                  {" Balance", StringPrintf("\xA3%.2f", statement_.balance)}};
    if (account_->kind >= 0)
        if (const Portfolio* p = FindPortfolioByNumber(uint16_t(account_->kind)))
            items.push_back({" Exclusive to", StringPrintf("%s portfolio", p->name.c_str())});
    return items;
}

intptr_t CViewCash::onProgramMessage(uint32_t message, uintptr_t wParam, intptr_t lParam)
{
    if (message == WM_COMMAND && (wParam & 0xFFFF) != ID_REFRESH && RunCommand(uint32_t(wParam & 0xFFFF)))
        return 1;
    return CViewListTop::onProgramMessage(message, wParam, lParam);
}

int64_t CViewCash::CurrentEntryOffset() const
{
    const RecordCursor* entry = CurrentEntry(list);
    return account_ && entry ? CashEntryOffset(*account_, *entry) : -1;
}

bool CViewCash::UpdateCommand(CommandUi& ui)
{
    if (!IsActiveView())
        return false;
    switch (ui.command) {
    case kAddCredit:
    case kAddDebit:
    case kAddInterest:
    case kAddCharge:
    case kRename:
    case kAttach: ui.enabled = account_ != nullptr; return true;
    case kDeleteEntry:
    case kEditEntry: ui.enabled = CurrentEntryOffset() >= 0; return true;
    default: return UpdateListCommand(ui);
    }
}

bool CViewCash::RunCommand(uint32_t command)
{
    if (!IsActiveView())
        return false;
    switch (command) {
    case kAddCredit: AddEntry(kCashCredit); return true;
    case kAddDebit: AddEntry(kCashDebit); return true;
    case kAddInterest: AddEntry(kCashInterest); return true;
    case kAddCharge: AddEntry(kCashCharge); return true;
    case kDeleteEntry: DeleteCurrentEntry(); return true;
    case kEditEntry: EditCurrentEntry(); return true;
    case kRename: Rename(); return true;
    case kAttach: ChangeAttachment(); return true;
    default: return RunListCommand(command);
    }
}

// The dialog's description (up to 200 characters) is kept as the entry's note, and its reference
// in the entry's 20-byte description field with room for its NUL.
bool CViewCash::StoreEntry(const CashEntryAnswer& answer)
{
    CashEntryFields f;
    f.type = answer.type;
    f.date = answer.date;
    f.amount = float(answer.amount);
    std::memcpy(f.description.data(), answer.reference.data(),
                std::min(answer.reference.size(), CashEntryLayout::DescriptionSize - 1));
    f.note = answer.description;
    auto bytes = EncodeCashEntry(f);
    return bytes && AddCashEntry(account_->data, account_->dataSize, *bytes);
}

void CViewCash::AfterEntryChange()
{
    OnRefresh();
    PushUndoStep(kUndoStepAccount, nullptr);
    SendMessageToKind(kind, WM_COMMAND, ID_REFRESH);
}

void CViewCash::AddEntry(uint8_t type)
{
    if (!account_)
        return;
    CashEntryAnswer start;
    start.date = GetTodayDate(0);
    start.type = type;
    CCashCredit dialog(start, false, this);
    if (RunModalDialog(dialog) != QDialog::Accepted)
        return;
    PrepareUndoStep(kUndoChange, nullptr, account_);
    if (!StoreEntry(dialog.answer()))
        return;
    AfterEntryChange();
}

void CViewCash::EditCurrentEntry()
{
    const RecordCursor* row = CurrentEntry(list);
    if (!account_ || !row || !row->record)
        return;
    const int64_t offset = CurrentEntryOffset();
    if (offset < 0 || row->record[CashEntryLayout::Type] > kCashCharge) {
        ShowMessage("Only cash transactions can be changed here.\n\nThis can only be edited from the transaction screen.",
                    {}, MsgButtons::Ok, MsgIcon::Information);
        return;
    }
    auto entry = DecodeCashEntry({row->record, account_->dataSize - uint32_t(offset)});
    if (!entry)
        return;
    CashEntryAnswer start;
    start.date = entry->date;
    start.amount = entry->amount;
    start.type = entry->type;
    start.description = entry->note;
    start.reference = TextOf(entry->description.data(), entry->description.size());
    CCashCredit dialog(start, true, this);
    if (RunModalDialog(dialog) != QDialog::Accepted)
        return;
    PrepareUndoStep(kUndoChange, nullptr, account_);
    if (!RemoveCashEntry(*account_, uint32_t(offset)) || !StoreEntry(dialog.answer()))
        return;
    AfterEntryChange();
}

void CViewCash::DeleteCurrentEntry()
{
    const int64_t offset = CurrentEntryOffset();
    if (!account_ || offset < 0)
        return;
    if (ShowMessage("Are you sure you want to delete this transaction?", {}, MsgButtons::OkCancel,
                    MsgIcon::Question) != MsgAnswer::Ok)
        return;
    PrepareUndoStep(kUndoChange, nullptr, account_);
    if (!RemoveCashEntry(*account_, uint32_t(offset)))
        return;
    PushUndoStep(kUndoStepAccount, nullptr);
    SendMessageToKind(kind, WM_COMMAND, ID_REFRESH);
    OnRefresh();
}

void CViewCash::Rename()
{
    if (!account_)
        return;
    CNewName dialog(QStringLiteral("Choose a new name for the Cash Account"), QString(), account_->name, true, this);
    if (RunModalDialog(dialog) != QDialog::Accepted || dialog.name().empty())
        return;
    PrepareUndoStep(kUndoChange, nullptr, account_);
    account_->name = dialog.name();
    PushUndoStep(kUndoStepAccount, nullptr);
    SendMessageToKind(kind, WM_COMMAND, ID_REFRESH);
}

void CViewCash::ChangeAttachment()
{
    if (!account_)
        return;
    CCashAttachPortfolio dialog(account_->kind, this);
    if (RunModalDialog(dialog) != QDialog::Accepted)
        return;
    const int32_t chosen = dialog.answer();
    int cleared = 0;
    if (chosen >= 0) {
        const int count = CountForeignCashTransactions(account_->number, uint16_t(chosen), PortfolioChain(), false);
        if (count > 0) {
            const std::string head = count == 1 ? std::string("There is 1 transaction")
                                                : StringPrintf("There are %i transactions", count);
            const MsgAnswer a = ShowMessage(
                head + " that would not belong to this attached cash account.\n\nDo you want to remove these entries "
                       "from the cash account?\n\nPress 'Yes' to remove them, 'No' to leave them in them and 'Cancel' "
                       "to cancel the change.",
                {}, MsgButtons::YesNoCancel, MsgIcon::Question);
            if (a == MsgAnswer::Cancel)
                return;
            if (a == MsgAnswer::Yes)
                cleared = CountForeignCashTransactions(account_->number, uint16_t(chosen), PortfolioChain(), true);
        }
    }
    account_->kind = chosen;
    if (cleared > 0) {
        for (Portfolio* p = PortfolioChain(); p; p = p->next)
            p->changed = 1;
        SendMessageToKind(kTransactionsKind, WM_COMMAND, ID_REFRESH);
    }
    OnRefresh();
}

void CViewCash::mouseDoubleClickEvent(QMouseEvent* event)
{
    const int row = RowFromPoint(event->position().toPoint());
    if (row < 0 || !list) {
        CViewListTop::mouseDoubleClickEvent(event);
        return;
    }
    list->current = row;
    EditCurrentEntry();
}

void InstallCashViewClass()
{
    RegisterViewClass(7, [](int32_t) -> CViewBaseWnd* { return new CViewCash; });
    GetLayoutStateHooks().saveCashAccount = [](const CViewBase& view) {
        const auto* cash = dynamic_cast<const CViewCash*>(&view);
        return cash ? cash->LayoutAccount() : 0u;
    };
    GetLayoutStateHooks().applyCashAccount = [](CViewBase& view, uint32_t number) {
        if (auto* cash = dynamic_cast<CViewCash*>(&view))
            cash->ApplyLayoutAccount(number);
    };
}

} // namespace qv
