// The portfolio view.
#include "portfolio/ui/ViewPort.h"

#include "core/DMFilter.h"
#include "core/ShareList.h"
#include "core/StringPrintf.h"
#include "core/ColumnDef.h"
#include "datamining/FilterEvaluation.h"
#include "lists/GraphSource.h"
#include "lists/ListPortfolioAdd.h"
#include "lists/ListSettings.h"
#include "lists/RowSort.h"
#include "lists/UpDownColour.h"
#include "platform/MessageBox.h"
#include "platform/MessageDispatch.h"
#include "portfolio/HoldingsPass.h"
#include "portfolio/PortfolioEntryEdits.h"
#include "portfolio/PortfolioFile.h"
#include "portfolio/PortfolioMaking.h"
#include "portfolio/PortfolioRoutines.h"
#include "portfolio/UndoRing.h"
#include "portfolio/ui/PortfolioChooser.h"
#include "portfolio/ui/PortfolioNameDlgs.h"
#include "portfolio/ui/ViewTran.h"
#include "resources/MessageIds.h"
#include "shell/FrameDialogSeams.h"
#include "views/FrameState.h"
#include "shell/LayoutSwitch.h"
#include "shell/PortfolioAdd.h"
#include "shell/ui/FindShareDlg.h"
#include "shell/ui/ModalDialog.h"
#include "views/ui/ViewClassRegistry.h"

#include <algorithm>

namespace qv {
namespace {

enum : uint32_t {
    kDeleteSelected = 20611,
    kDeleteAll = 20612,
    kDeleteBelow = 20613,
    kDeleteAbove = 20614,
    kRename = 20806,
    kAddShare = 20803,
    kGraphByCapital = 25005,
    kInvestmentInfo = 25094,
    kAlarmOptions = 26480,
    kAdjustGroup = 26499,
    kCopyTo = 26559,
    kMoveTo = 26560,
    kBuy = 25164,
    kSell = 25165,
    kDividend = 25166,
    kShowTransactions = 20320,
};
constexpr uint16_t kAlarmOptionsPage = 2;
constexpr uint8_t kInfoSet = 2, kInfoOn = 1;

CViewPort*& CurrentView()
{
    static CViewPort* view = nullptr;
    return view;
}

// The last choice of the investment-info byte, the default of lists that have not made one.
bool& InvestmentInfoDefault()
{
    static bool on = true;
    return on;
}

bool AskYesNo(const std::string& text, bool noDefault)
{
    return ShowMessage(text, {}, MsgButtons::YesNo, MsgIcon::Question, noDefault ? 1 : 0) == MsgAnswer::Yes;
}

Portfolio* FirstOrdinaryOrGroup()
{
    for (Portfolio* p = PortfolioChain(); p; p = p->next)
        if (p->type == kUserPortfolio || p->type == kGroupPortfolio)
            return p;
    return nullptr;
}

std::string StripLabel(const Portfolio& p)
{
    const char* first = p.type == kFilterPreset ? "Filter p" : p.type == kPresetList ? "Pre-set p" : "P";
    return std::string(first) + "ortfolio:";
}

void RefreshPortfolioFamilies()
{
    SendMessageToKind(4, WM_COMMAND, ID_REFRESH);
    SendMessageToKind(7, WM_COMMAND, ID_REFRESH);
}

} // namespace

CViewPort::CViewPort(QWidget* parent) : CViewBase(2), CViewListTop(2, parent)
{
    AddCommandTarget(this);
    if (!CurrentView())
        CurrentView() = this;
}

CViewPort::~CViewPort()
{
    RemoveCommandTarget(this);
    if (CurrentView() == this)
        CurrentView() = nullptr;
}

CViewPort* CViewPort::Current() { return CurrentView(); }

bool CViewPort::investmentInfo() const
{
    if (!list || !(list->viewState1 & kInfoSet))
        return InvestmentInfoDefault();
    return (list->viewState1 & kInfoOn) != 0;
}

int CViewPort::GetUpDownState(const uint8_t* column, int, const CellValue& value)
{
    return ShareListUpDownState(ColumnDefCode(column), value.value);
}

bool CViewPort::HasUpDownColour(const uint8_t* column) { return ShareListHasUpDownColour(const_cast<uint8_t*>(column)); }

void CViewPort::AttachPortfolio()
{
    if (!list)
        AttachListSource(kFamilyShares, nullptr, -1);
    if (!list)
        return;
    Portfolio* p = list->source;
    if (!p && CurrentShareList() && CurrentShareList()->source)
        p = CurrentShareList()->source;
    if (!p)
        p = FirstOrdinaryOrGroup();
    if (p && list->source != p) {
        // The share to stay on: the one the list shows (a view sharing the list may have taken the
        // portfolio off it at its refresh), else the one the list was made with (a window laid out
        // again), where the portfolio holds it; else the portfolio's own kept row.
        uint32_t id = 0, sub = 0;
        if (const RecordCursor* shown = CurrentEntry(list); shown && SourceHoldsEntry(p, EntryRecordId(*shown), shown->count)) {
            id = EntryRecordId(*shown);
            sub = shown->count;
        } else if (SourceHoldsEntry(p, list->currentId, list->currentSub)) {
            id = list->currentId;
            sub = list->currentSub;
        }
        SetShareListSource(list, p, id, sub, true, false);
    }
    qv::SelectColumnSetting(list, kind, -1, false, false);
}

void CViewPort::OnRefresh()
{
    if (PutOffRefresh())
        return;
    AttachPortfolio();
    Portfolio* p = portfolio();
    if (p && p->changed) {
        if (p->type == kGroupPortfolio)
            RebuildGroupPortfolio(p);
        if (p->type == kFilterPreset)
            FillFilterPortfolio(CurrentFilter(), p);
        if (p->type == kGroupPortfolio || p->type == kUserPortfolio)
            ReloadList(p);
        BuildHoldingRows(*p);
        p->changed = 0;
        RefreshPortfolioFamilies();
    }
    if (list && p) {
        uint32_t id = 0, sub = 0;
        if (RecordCursor* entry = CurrentEntry(list); entry || (entry = ShareListEntry(list, 0))) {
            id = EntryRecordId(*entry);
            sub = entry->count;
        }
        ResortShareList(list);
        SetShareListPosition(list, id, sub, false);
    }
    CViewListTop::OnRefresh();
    update();
}

intptr_t CViewPort::onProgramMessage(uint32_t message, uintptr_t wParam, intptr_t lParam)
{
    if (message == WM_COMMAND && (wParam & 0xFFFF) != ID_REFRESH && RunCommand(uint32_t(wParam & 0xFFFF)))
        return 1;
    return CViewListTop::onProgramMessage(message, wParam, lParam);
}

std::vector<HeaderItem> CViewPort::HeaderItems()
{
    const Portfolio* p = portfolio();
    if (!p || DataMiningRunBusy)
        return {};
    std::vector<HeaderItem> items{{StripLabel(*p), p->name.str()}};
    std::vector<HeaderItem> more;
    if (investmentInfo()) {
        if (p->transactions)
            more = PortfolioValueLine(*p, IncludeAttachedCashOption());
    } else {
        more = PortfolioListLine(list ? list->entries : nullptr, ShareListCount(list));
    }
    items.insert(items.end(), more.begin(), more.end());
    return items;
}

void CViewPort::paintEvent(QPaintEvent* event)
{
    if (list && list->filledMark == 0 && !list->source)
        OnRefresh();
    CViewListTop::paintEvent(event);
}

void CViewPort::focusInEvent(QFocusEvent* event)
{
    CurrentView() = this;
    CViewListTop::focusInEvent(event);
}

void CViewPort::focusOutEvent(QFocusEvent* event)
{
    KeepPosition();
    CViewListTop::focusOutEvent(event);
}

void CViewPort::KeepPosition()
{
    Portfolio* p = portfolio();
    if (!p || !list || DataMiningRunBusy)
        return;
    // The portfolio keeps the current share as an index into its own entries, which is how a list
    // made again from it (the view reopened after a Buy) finds that share; rows are sorted otherwise.
    p->current = GetSourceEntryIndex(p, CurrentEntry(list));
    p->last = std::max(ShareListCount(list) - 1, 0);
    p->firstVisible = list->firstVisible;
    SetSettingSort(kind, list->tableSetting, list->tradeMarket, (list->sortColumn + 1) * list->sortDirection);
}

bool CViewPort::UpdateCommand(CommandUi& ui)
{
    if (!IsActiveView())
        return false;
    if (UpdateTopCommand(ui))
        return true;
    const Portfolio* p = portfolio();
    const int entries = p ? int(CountPortfolioEntries(*p)) : 0;
    switch (ui.command) {
    case kDeleteSelected:
    case kDeleteAll:
    case kDeleteBelow:
    case kDeleteAbove: ui.enabled = entries > 0 && p->type == kUserPortfolio; return true;
    case kRename:
        ui.enabled = p && (p->type == kUserPortfolio || p->type == kGroupPortfolio) && PortfolioDialogsInstalled();
        return true;
    case kAddShare: {
        const Portfolio* current = CurrentShareList() ? CurrentShareList()->source : p;
        ui.enabled = current && (current->type == kUserPortfolio ||
                                 (current->type == kGroupPortfolio && current->members.get() != nullptr));
        return true;
    }
    case kBuy:
    case kSell:
    case kDividend: ui.enabled = entries > 0 && CurrentEntry(list) != nullptr; return true;
    case kGraphByCapital:
    case kCopyTo:
    case kMoveTo: ui.enabled = entries > 0 && ShareListCount(list) > 0; return true;
    case kInvestmentInfo:
        ui.enabled = true;
        ui.checked = investmentInfo();
        return true;
    case kAlarmOptions:
        ui.enabled = p && p->type == kPresetList && (p->number == kAlarmsNumber || p->number == kGlobalAlarmsNumber) &&
                     FrameDialogs().optionsSheet;
        return true;
    case kAdjustGroup: ui.enabled = p && p->type == kGroupPortfolio && PortfolioDialogsInstalled(); return true;
    default: return UpdateListCommand(ui);
    }
}

bool CViewPort::RunCommand(uint32_t command)
{
    if (!IsActiveView())
        return false;
    if (RunTopCommand(command))
        return true;
    switch (command) {
    case kDeleteSelected: DeleteSelected(false); return true;
    case kDeleteAll:
    case kDeleteBelow:
    case kDeleteAbove: DeleteRange(command); return true;
    case kRename: Rename(); return true;
    case kAddShare: AddShare(); return true;
    case kGraphByCapital: GraphWholeList(kSourceListWeighted); return true;
    case kInvestmentInfo: ToggleInvestmentInfo(); return true;
    case kAlarmOptions:
        if (FrameDialogs().optionsSheet && FrameDialogs().optionsSheet(kAlarmOptionsPage))
            ForceRefresh();
        return true;
    case kAdjustGroup: AdjustGroup(); return true;
    case kCopyTo: CopyOrMove(false); return true;
    case kMoveTo: CopyOrMove(true); return true;
    case kBuy: RecordPending(1); return true;
    case kSell: RecordPending(2); return true;
    case kDividend: RecordPending(3); return true;
    default: return RunListCommand(command);
    }
}

// The transactions view opens on this portfolio and records the transaction for the selected share.
void CViewPort::RecordPending(int type)
{
    const RecordCursor* entry = CurrentEntry(list);
    MessageTarget* frame = MainFrameTarget();
    if (!entry || !entry->record || !frame)
        return;
    PendingTransactionShare() = {EntryRecordId(*entry), uint8_t(entry->count)};
    SendProgramMessage(*frame, WM_COMMAND, kShowTransactions);
    CViewBase* shown = MainFrameState().activeView;
    if (shown && shown->kind == 4)
        PostProgramMessage(*shown, kMsgRecordPending, uintptr_t(type));
}

void CViewPort::ReloadList(Portfolio* p)
{
    const RecordCursor* entry = CurrentEntry(list);
    ReloadList(p, entry ? *entry : RecordCursor{});
}

void CViewPort::ReloadList(Portfolio* p, const RecordCursor& current)
{
    const uint32_t id = current.record ? EntryRecordId(current) : 0;
    SetShareListSource(list, p, id, current.record ? current.count : 0, true, false);
}

RecordCursor CViewPort::RowAfterRemoval(int first, int last) const
{
    const int rows = ShareListCount(list);
    if (last + 1 < rows)
        return list->entries[last + 1];
    if (first > 0 && first - 1 < rows)
        return list->entries[first - 1];
    return {};
}

void CViewPort::AfterRemoval(Portfolio* p, const RecordCursor& current)
{
    NotifyPortfolioChanged(p);
    ReloadList(p, current);
    KeepPosition();
    SavePortfolio(p, false);
    RefreshPortfolioFamilies();
    ForceRefresh();
}

void CViewPort::DeleteSelected(bool move)
{
    Portfolio* p = portfolio();
    RecordCursor* entry = CurrentEntry(list);
    if (!p || !entry || p->type != kUserPortfolio)
        return;
    if (!AskYesNo(EntryRemovalQuestion(*p, *entry, move), false))
        return;
    const RecordCursor next = RowAfterRemoval(list->current, list->current);
    PrepareUndoStep(kUndoChange, p, nullptr);
    RemovePortfolioEntries(*p, {*entry});
    PushUndoStep(kUndoStepRemoveShare, p);
    AfterRemoval(p, next);
}

// The rows are taken as the list shows them: all, those from the selected one down, or those down
// to it.
void CViewPort::DeleteRange(uint32_t command)
{
    Portfolio* p = portfolio();
    if (!p || p->type != kUserPortfolio || !list)
        return;
    const int rows = ShareListCount(list);
    const int selected = std::clamp(list->current, 0, std::max(rows - 1, 0));
    const char* question = nullptr;
    int first = 0, last = rows - 1;
    if (command == kDeleteAll) {
        question = "Are you sure you want to delete all entries?";
    } else if (command == kDeleteBelow) {
        question = "Are you sure you want to delete all entries below - including the selected entry?";
        first = selected;
    } else {
        question = "Are you sure you want to delete all entries above - including the selected entry?";
        last = selected;
    }
    const std::string text =
        std::string(question) + "\n\nAny associated transactions in this portfolio will also be deleted";
    if (!AskYesNo(text, true))
        return;
    std::vector<RecordCursor> gone;
    for (int row = first; row <= last; ++row)
        gone.push_back(list->entries[row]);
    const RecordCursor next = RowAfterRemoval(first, last);
    PrepareUndoStep(kUndoChange, p, nullptr);
    RemovePortfolioEntries(*p, gone);
    PushUndoStep(kUndoStepRemoveShares, p);
    AfterRemoval(p, next);
}

void CViewPort::Rename()
{
    Portfolio* p = portfolio();
    if (!p)
        return;
    PrepareUndoStep(kUndoChange, p, nullptr);
    if (!AskPortfolioName(*p, p->type == kGroupPortfolio ? kRenameGroup : kRenamePortfolio))
        return;
    ReloadList(p);
    PushUndoStep(kUndoStepRename, p);
    RefreshShareLists(ShareListChain());
    UpdateTitle();
}

void CViewPort::AddShare()
{
    CFindShareDlg dialog(this);
    if (dialog.run() != QDialog::Accepted || !dialog.chosen().record)
        return;
    if (AddToListPortfolio(list, dialog.chosen(), true) != 0)
        return;
    if (Portfolio* p = portfolio()) {
        SetShareListSource(list, p, 0, 0, true, false);
        NotifyPortfolioChanged(p);
    }
    list->current = list->firstVisible = 0;
    if (Portfolio* p = portfolio())
        p->current = p->firstVisible = 0;
    ForceRefresh();
}

void CViewPort::ToggleInvestmentInfo()
{
    const bool on = !investmentInfo();
    InvestmentInfoDefault() = on;
    if (list)
        list->viewState1 = uint8_t((list->viewState1 & ~(kInfoSet | kInfoOn)) | kInfoSet | (on ? kInfoOn : 0));
    RefreshShareLists(ShareListChain());
    update();
}

void CViewPort::AdjustGroup()
{
    Portfolio* p = portfolio();
    if (!p || p->type != kGroupPortfolio)
        return;
    CAdjustPortfolios dialog(*p, this);
    if (RunModalDialog(dialog) != QDialog::Accepted)
        return;
    p->changed = 1;
    SavePortfolio(p, false);
    ForceRefresh();
}

void CViewPort::CopyOrMove(bool move)
{
    Portfolio* p = portfolio();
    RecordCursor* entry = CurrentEntry(list);
    Portfolio* target = RunPortfolioChooser(move ? 8 : 7, false, this);
    if (!target || !p || !entry || target == p || p->type != kUserPortfolio)
        return;
    const RecordCursor chosen = *entry;
    if (move) {
        if (!AskYesNo(EntryRemovalQuestion(*p, chosen, true), false))
            return;
        PrepareUndoStep(kUndoChange, p, nullptr);
    }
    if (!CopyShareToPortfolio(*p, chosen, *target))
        return;
    NotifyPortfolioChanged(target);
    SavePortfolio(target, false);
    if (move) {
        const RecordCursor next = RowAfterRemoval(list->current, list->current);
        RemovePortfolioEntries(*p, {chosen});
        PushUndoStep(kUndoStepMoveShare, p);
        AfterRemoval(p, next);
    }
    RefreshListsOfPortfolio(target);
}

void InstallPortfolioViewClass()
{
    RegisterViewClass(2, [](int32_t) -> CViewBaseWnd* { return new CViewPort; });
    SetCurrentPortfolioViewSource([] {
        CurrentPortfolioView view;
        if (CViewPort* current = CViewPort::Current()) {
            view.exists = true;
            view.portfolio = current->portfolio();
        }
        return view;
    });
}

} // namespace qv
