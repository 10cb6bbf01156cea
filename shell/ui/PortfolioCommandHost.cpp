// The frame's portfolio and cash-account commands.
#include "shell/ui/PortfolioCommandHost.h"

#include "core/CashAccounts.h"
#include "core/ShareList.h"
#include "core/StringPrintf.h"
#include "platform/MessageBox.h"
#include "platform/MessageDispatch.h"
#include "portfolio/PortfolioFile.h"
#include "portfolio/PortfolioRoutines.h"
#include "portfolio/UndoRing.h"
#include "resources/MessageIds.h"
#include "shell/FrameDialogSeams.h"
#include "shell/FrameMessages.h"
#include "shell/PortfolioAdd.h"
#include "shell/PortfolioCommands.h"
#include "shell/ViewGroups.h"
#include "shell/ui/MainFrame.h"
#include "shell/ui/ViewRequests.h"
#include "views/FrameState.h"
#include "views/CommandUpdate.h"
#include "views/ViewBase.h"
#include "views/ViewKinds.h"

namespace qv {
namespace {

constexpr uint32_t kCommandSelectPortfolio = 20805, kCommandSelectPortfolioBar = 26988;
constexpr uint32_t kCommandViewListPortfolio = 26985, kCommandViewCurrentPortfolioList = 26984;
constexpr uint32_t kCommandCurrentPortfolio = 20313, kCommandCurrentPortfolioBar = 26987;
constexpr uint32_t kCommandShowPortfolio = 20312;
constexpr uint32_t kCommandCreatePortfolio = 25011, kCommandNewGroupPortfolio = 26450;
constexpr uint32_t kCommandCopyPortfolio = 26095, kCommandCombinePortfolios = 26100;
constexpr uint32_t kCommandStandardFromPortfolio = 26597;
constexpr uint32_t kCommandDeletePortfolio = 20807;
constexpr uint32_t kCommandSelectCash = 26561, kCommandSelectCashBar = 26989;
constexpr uint32_t kCommandCurrentCash = 26562, kCommandCurrentCashBar = 26990;
constexpr uint32_t kCommandDeleteCash = 26578;
constexpr uint32_t kUndoNewPortfolio = 1, kUndoCopyPortfolio = 2, kUndoNewCash = 3, kUndoDeletePortfolio = 21,
                   kUndoDeleteCash = 23;

constexpr const char* kDeletePortfolioQuestion = "Are you sure you want to delete the portfolio %s?";
constexpr const char* kDeleteCashQuestion = "Are you sure you want to delete Cash Account %s?\n\nAll cash transactions will be lost.";

bool AskYesNo(const std::string& text)
{
    return ShowMessage(text, {}, MsgButtons::YesNo, MsgIcon::Question) == MsgAnswer::Yes;
}

CViewBase* ActiveView()
{
    return MainFrameState().activeView;
}

Portfolio* CurrentPortfolio()
{
    ShareList* list = CurrentShareList();
    return list ? list->source : nullptr;
}

bool NewCashDialogInstalled()
{
    NewCashAccountDialog dialog = SetNewCashAccountDialog({});
    bool installed = bool(dialog);
    SetNewCashAccountDialog(std::move(dialog));
    return installed;
}

bool InList(const CashAccount* account)
{
    for (CashAccount* a = CashAccounts().head; a; a = a->next)
        if (a == account)
            return true;
    return false;
}

} // namespace

CPortfolioCommandHost::CPortfolioCommandHost(CMainFrame& frame, CViewRequests& requests)
    : frame_(frame), requests_(requests)
{
    AddCommandTarget(this);
}

CPortfolioCommandHost::~CPortfolioCommandHost()
{
    RemoveCommandTarget(this);
}

void CPortfolioCommandHost::RefreshAllViews()
{
    UpdateAllViewGroups(-1, false, nullptr, true, false);
    InvalidateMatchingViews(ShareListChain(), false, -1, -1, 0xFFFFFFFF, nullptr);
    frame_.RebuildMenuBar();
}

bool CPortfolioCommandHost::UpdateCommand(CommandUi& ui)
{
    uint32_t c = ui.command;
    CViewBase* view = ActiveView();
    int32_t kind = view ? view->kind : -1;
    bool training = view && GetGraphViewOption(view) != 0;
    bool listKinds = (kind == 0 || kind == 9 || kind == 1 || kind == 3 || kind == 2) && view->list && !training;
    const FrameDialogSeams& seams = FrameDialogs();
    if (c >= kCommandFirstQuickPortfolio && c <= kCommandLastQuickPortfolio) {
        Portfolio* p = QuickPortfolio(c);
        ui.enabled = p && !training;
        ui.checked = p && p == CurrentPortfolio() && kind == kViewPortfolio;
        return true;
    }
    switch (c) {
    case kCommandUndoPortfolio: {
        UndoMenuState state = UndoCommandState(GetUndoRing(), BusyFlag != 0);
        ui.enabled = state.enabled && view;
        ui.text = state.text;
        return true;
    }
    case kCommandRedoPortfolio: {
        UndoMenuState state = RedoCommandState(GetUndoRing());
        ui.enabled = state.enabled && view && !BusyFlag;
        ui.text = state.text;
        return true;
    }
    case kCommandSelectPortfolio: ui.enabled = bool(seams.portfolioChooser); return true;
    case kCommandSelectPortfolioBar: ui.enabled = seams.portfolioChooser && requests_.CanShowCurrentShare(); return true;
    case kCommandViewListPortfolio: ui.enabled = seams.portfolioChooser && listKinds; return true;
    case kCommandViewCurrentPortfolioList:
        ui.enabled = listKinds;
        ui.checked = view && view->list && view->list->source;
        return true;
    case kCommandCurrentPortfolio: case kCommandCurrentPortfolioBar:
        ui.enabled = c == kCommandCurrentPortfolio || requests_.CanShowCurrentShare();
        ui.checked = kind == kViewPortfolio;
        return true;
    case kCommandShowPortfolio: ui.enabled = true; return true;
    case kCommandCreatePortfolio: ui.enabled = bool(seams.newPortfolio); return true;
    case kCommandNewGroupPortfolio: ui.enabled = bool(seams.newGroupPortfolio); return true;
    case kCommandCopyPortfolio:
        ui.enabled = seams.portfolioChooser && seams.newPortfolio && UserPortfolioExists();
        return true;
    case kCommandStandardFromPortfolio: ui.enabled = seams.newPortfolio && view && view->list && view->list->source; return true;
    case kCommandCombinePortfolios:
        ui.enabled = seams.portfolioChooser && kind == kViewPortfolio && PortfolioChain();
        return true;
    case kCommandDeletePortfolio: ui.enabled = seams.portfolioChooser && UserPortfolioExists(); return true;
    case kCommandRevertPortfolio: ui.enabled = seams.portfolioChooser && UserPortfolioExists(); return true;
    case kCommandNextPortfolio:
    case kCommandPreviousPortfolio: {
        Portfolio* p = kind == kViewPortfolio && view->list ? view->list->source : nullptr;
        ui.enabled = (c == kCommandNextPortfolio ? NextPortfolio(p) : PreviousPortfolio(p)) != nullptr;
        return true;
    }
    case kCommandSelectCash: ui.enabled = bool(seams.cashAccountChooser); return true;
    case kCommandSelectCashBar:
        ui.enabled = seams.cashAccountChooser && requests_.CanShowCurrentShare();
        return true;
    case kCommandCurrentCash: case kCommandCurrentCashBar:
        ui.enabled = CashAccounts().current && (c == kCommandCurrentCash || requests_.CanShowCurrentShare());
        ui.checked = kind == kViewCash;
        return true;
    case kCommandCreateCashAccount: ui.enabled = NewCashDialogInstalled(); return true;
    case kCommandDeleteCash: ui.enabled = seams.cashAccountChooser && CashAccounts().head; return true;
    default: return false;
    }
}

bool CPortfolioCommandHost::RunCommand(uint32_t command)
{
    CommandUi ui{command, false, std::nullopt, std::nullopt};
    if (!UpdateCommand(ui))
        return false;
    // A command greyed by its rule, or whose chooser is not installed, is taken and does nothing.
    if (!ui.enabled)
        return true;
    CViewBase* view = ActiveView();
    int32_t kind = view ? view->kind : -1;
    if (command >= kCommandFirstQuickPortfolio && command <= kCommandLastQuickPortfolio) {
        if (!ModalCount)
            ShowPortfolioStep(QuickPortfolio(command));
        return true;
    }
    FrameDialogSeams& seams = FrameDialogs();
    switch (command) {
    case kCommandUndoPortfolio: UndoPortfolioStep(); return true;
    case kCommandRedoPortfolio: RedoPortfolioStep(); return true;
    case kCommandSelectPortfolio: case kCommandSelectPortfolioBar: SelectPortfolio(kViewPortfolio); return true;
    case kCommandViewListPortfolio: SelectPortfolio(kind); return true;
    case kCommandViewCurrentPortfolioList: ShowPortfolio(view, nullptr, kind, 0); return true;
    case kCommandCurrentPortfolio:
    case kCommandCurrentPortfolioBar:
        if (kind == kViewPortfolio)
            SelectPortfolio(kViewPortfolio);
        if (!ActiveView() && command == kCommandCurrentPortfolio)
            requests_.ShowViewKind(kViewPortfolio, -1, 0, nullptr);
        else
            ShowPortfolio(ActiveView(), nullptr, kViewPortfolio, 0);
        return true;
    case kCommandShowPortfolio: ShowPortfolio(view, nullptr, kViewPortfolio, 0); return true;
    case kCommandCreatePortfolio: {
        PrepareUndoStep(0, nullptr, nullptr);
        Portfolio* p = seams.newPortfolio();
        if (!p)
            return true;
        selected_ = p;
        PushUndoStep(kUndoNewPortfolio, p);
        if (kind != kViewPortfolio)
            ShowPortfolio(view, p, kViewPortfolio, 0);
        else
            ShowPortfolioStep(p);
        return true;
    }
    case kCommandNewGroupPortfolio: {
        Portfolio* p = seams.newGroupPortfolio();
        if (p)
            ShowPortfolio(view, p, kViewPortfolio, 0);
        return true;
    }
    case kCommandCopyPortfolio: {
        if (BusyFlag || ModalCount)
            return true;
        bool deleteFlag = false;
        Portfolio* source = seams.portfolioChooser(3, deleteFlag);
        if (!source)
            return true;
        PrepareUndoStep(0, nullptr, nullptr);
        Portfolio* copy = seams.newPortfolio();
        if (!copy)
            return true;
        selected_ = copy;
        qv::CopyPortfolio(copy, source, 3);
        PushUndoStep(kUndoCopyPortfolio, copy);
        SavePortfolio(copy, true);
        return true;
    }
    case kCommandStandardFromPortfolio: MakeStandardPortfolio(view->list->source); return true;
    case kCommandCombinePortfolios: {
        bool deleteFlag = false;
        seams.portfolioChooser(4, deleteFlag);
        if (Portfolio* p = seams.portfolioChooser(4, deleteFlag))
            selected_ = p;
        return true;
    }
    case kCommandDeletePortfolio: {
        bool deleteFlag = true;
        Portfolio* p = seams.portfolioChooser(1, deleteFlag);
        if (!p)
            return true;
        selected_ = p;
        if (!AskYesNo(StringPrintf(kDeletePortfolioQuestion, p->name.c_str())))
            return true;
        DeleteChosenPortfolio(p);
        RefreshAllViews();
        return true;
    }
    case kCommandRevertPortfolio: RevertPortfolio(); return true;
    case kCommandNextPortfolio:
    case kCommandPreviousPortfolio: {
        if (ModalCount || kind != kViewPortfolio || !view->list)
            return true;
        Portfolio* p = view->list->source;
        ShowPortfolioStep(command == kCommandNextPortfolio ? NextPortfolio(p) : PreviousPortfolio(p));
        return true;
    }
    case kCommandSelectCash: case kCommandSelectCashBar: {
        CashAccount* account = seams.cashAccountChooser(0);
        if (!account)
            return true;
        CashAccounts().current = account;
        requests_.ShowViewKind(kViewCash, -1, 0, view);
        return true;
    }
    case kCommandCurrentCash: case kCommandCurrentCashBar:
        if (CashAccounts().current)
            requests_.ShowViewKind(kViewCash, -1, 0, nullptr);
        return true;
    case kCommandCreateCashAccount: {
        CashAccount* account = NewCashAccount({});
        if (!account)
            return true;
        PrepareAndPushUndoStep(kUndoNewCash, 0, nullptr, account);
        CashAccounts().current = account;
        requests_.ShowViewKind(kViewCash, -1, 0, view);
        return true;
    }
    case kCommandDeleteCash: {
        CashAccount* account = seams.cashAccountChooser(1);
        if (!account || !AskYesNo(StringPrintf(kDeleteCashQuestion, account->name.c_str())))
            return true;
        PrepareAndPushUndoStep(kUndoDeleteCash, 2, nullptr, account);
        if (CashAccounts().current == account)
            CashAccounts().current = nullptr;
        RemoveCashAccount(account);
        if (!CashAccounts().current)
            CashAccounts().current = CashAccounts().head;
        RefreshAllViews();
        return true;
    }
    default: return true;
    }
}

void CPortfolioCommandHost::ShowPortfolioStep(Portfolio* target)
{
    if (!target)
        return;
    ViewRequest request;
    request.kind = kViewPortfolio;
    request.view = ActiveView();
    request.source = target;
    request.flags = kRequestKeepPositions;
    CViewBase* shown = requests_.OpenViewForRequest(request);
    if (shown && shown->list && shown->list->source != target)
        SetShareListSource(shown->list, target, 0, 0, true, true);
    requests_.ActivateRequestedView(shown, request);
    if (shown && shown->list)
        PostListViewsRefresh(shown->list, false);
}

// The new portfolio keeps the name the user gave it; it takes the source's entries and becomes a
// standard portfolio, with no member list, whatever the source's kind.
void CPortfolioCommandHost::MakeStandardPortfolio(const Portfolio* source)
{
    if (BusyFlag || ModalCount)
        return;
    PrepareUndoStep(0, nullptr, nullptr);
    Portfolio* made = FrameDialogs().newPortfolio();
    if (!made)
        return;
    PortfolioName name = made->name;
    qv::CopyPortfolio(made, source, 3);
    made->name = name;
    made->type = kUserPortfolio;
    FreePortfolioMembers(made->members);
    selected_ = made;
    PushUndoStep(kUndoCopyPortfolio, made);
    SavePortfolio(made, true);
    RefreshAllViews();
}

void CPortfolioCommandHost::DeleteChosenPortfolio(Portfolio* p)
{
    CViewBase* view = ActiveView();
    bool shown = view && view->kind == kViewPortfolio && view->list && view->list->source == p;
    PrepareAndPushUndoStep(kUndoDeletePortfolio, 2, p, nullptr);
    DeletePortfolio(p);
    selected_ = nullptr;
    if (!shown) {
        FixCurrentPortfolio(0);
        return;
    }
    bool deleteFlag = false;
    Portfolio* other = FrameDialogs().portfolioChooser(0, deleteFlag);
    if (other)
        ShowPortfolio(view, other, kViewPortfolio, 0);
    else
        requests_.ShowListSameWindow(0);
}

void CPortfolioCommandHost::ShowPortfolio(CViewBase* view, Portfolio* portfolio, int32_t kind, uint32_t flags)
{
    if (ModalCount)
        return;
    if (!portfolio)
        portfolio = CurrentPortfolio();
    if (!portfolio && FrameDialogs().portfolioChooser) {
        bool deleteFlag = false;
        portfolio = FrameDialogs().portfolioChooser(0, deleteFlag);
    }
    if (!portfolio)
        portfolio = PortfolioChain();
    if (!portfolio)
        return;
    ViewRequest request;
    request.kind = kViewPortfolio;
    request.view = view ? view : ActiveView();
    request.flags = flags ? flags : kRequestKeepPositions;
    request.source = portfolio;
    CViewBase* shown = requests_.OpenViewForRequest(request);
    if (shown && shown->list && shown->list->source != portfolio) {
        // The user keeps looking at the same share where the portfolio holds it.
        const RecordCursor* entry = CurrentEntry(shown->list);
        const bool share = entry && entry->record;
        SetShareListSource(shown->list, portfolio, share ? EntryRecordId(*entry) : 0, share ? entry->count : 0, true,
                           true);
    }
    requests_.ActivateRequestedView(shown, request);
    if (shown && shown->list)
        PostListViewsRefresh(shown->list, false);
    // The lists above are refreshed only for another portfolio; a portfolio view made afresh over the
    // same one still sorts its rows by its table's sort column in its own refresh.
    if (shown && shown->list && shown->kind == kViewPortfolio)
        PostProgramMessage(*shown, WM_COMMAND, ID_REFRESH);
    if (shown && kind != kViewList && kind != kViewPortfolio && kind != kViewDataMining && kind >= 0)
        requests_.ShowViewKind(kind, -1, 0, shown);
}

void CPortfolioCommandHost::SelectPortfolio(int32_t kind)
{
    if (!FrameDialogs().portfolioChooser)
        NoteNothingToRun(kCommandSelectPortfolio);
    if (BusyFlag || ModalCount || !FrameDialogs().portfolioChooser)
        return;
    bool deleteFlag = true;
    Portfolio* chosen = FrameDialogs().portfolioChooser(0, deleteFlag);
    if (!chosen) {
        selected_ = CurrentPortfolio();
    } else if (deleteFlag) {
        if (AskYesNo(StringPrintf(kDeletePortfolioQuestion, chosen->name.c_str()))) {
            selected_ = chosen;
            DeleteChosenPortfolio(chosen);
            if (Portfolio* current = CurrentPortfolio(); current && current->type != kUserPortfolio)
                current->changed = 1;
        }
        return;
    } else {
        ShowPortfolio(ActiveView(), chosen, kind, 0);
    }
    CViewBase* view = ActiveView();
    if (view && view->kind == kViewPortfolio && view->list && !view->list->source)
        requests_.ShowListSameWindow(0);
    UpdateAllViewGroups(-1, false, CurrentPortfolio(), false, false);
}

void CPortfolioCommandHost::FixCurrentPortfolio(uint16_t number)
{
    ShareList* current = CurrentShareList();
    if (!current || current->source == selected_ || (current->source && !PortfolioInChain(current->source))) {
        if (current)
            current->source = nullptr;
        CViewBase* view = ActiveView();
        int32_t kind = view ? view->kind : -1;
        selected_ = nullptr;
        if (kind != kViewPortfolio && kind != kViewTransactions) {
            if (current)
                ShowDefaultPortfolio(current);
        } else {
            SelectPortfolio(kViewPortfolio);
            if (!current || !current->source)
                requests_.ShowListSameWindow(0);
        }
        return;
    }
    selected_ = FindPortfolioByNumber(number);
}

void CPortfolioCommandHost::UndoPortfolioStep()
{
    if (BusyFlag || ModalCount || !ActiveView())
        return;
    UndoRing& ring = GetUndoRing();
    if (ring.slot(ring.donePosition()).target == kUndoCashAccount) {
        bool done = ring.undo();
        CashAccountList& accounts = CashAccounts();
        if (!done || !accounts.current)
            accounts.current = InList(accounts.current) ? accounts.current : accounts.head;
    } else {
        bool done = true;
        for (int i = UndoRepeats(ring); i > 0; --i)
            done = ring.undo();
        if (!done)
            FixCurrentPortfolio(0);
    }
    AfterUndoOrRedo(false);
}

void CPortfolioCommandHost::RedoPortfolioStep()
{
    if (BusyFlag || ModalCount || !ActiveView())
        return;
    UndoRing& ring = GetUndoRing();
    const UndoSlot& next = ring.slot((ring.donePosition() + 1) % UndoRing::kSlots);
    if (next.target == kUndoCashAccount) {
        bool done = ring.redo();
        CashAccountList& accounts = CashAccounts();
        if (!done || !accounts.current)
            accounts.current = InList(accounts.current) ? accounts.current : accounts.head;
    } else {
        bool twice = next.kind() == kUndoKindKeptA || next.kind() == kUndoKindKeptB;
        bool done = ring.redo();
        if (twice && done)
            done = ring.redo();
        if (!done)
            FixCurrentPortfolio(0);
    }
    AfterUndoOrRedo(true);
}

void CPortfolioCommandHost::AfterUndoOrRedo(bool redo)
{
    CViewBase* view = ActiveView();
    if (redo && view && (view->kind == kViewPortfolio || view->kind == kViewTransactions || view->kind == kViewCash)) {
        SendProgramMessage(*view, WM_COMMAND, ID_REFRESH);
        view->InvalidateWindow();
    }
    Portfolio* current = CurrentPortfolio();
    if (current && (!redo || current->type == kGroupPortfolio)) {
        current->changed = 1;
        NotifyPortfolioChanged(current);
        MarkPortfoliosChanged(current);
    } else if (!redo && view && view->list) {
        PostListViewsRefresh(view->list, true);
    }
    InvalidateMatchingViews(ShareListChain(), false, -1, -1, 0xFFFFFFFF, nullptr);
    frame_.RefreshToolbars();
    frame_.RebuildMenuBar();
    frame_.update();
}

void CPortfolioCommandHost::RevertPortfolio()
{
    if (BusyFlag || ModalCount || !FrameDialogs().portfolioChooser)
        return;
    bool deleteFlag = false;
    Portfolio* p = FrameDialogs().portfolioChooser(5, deleteFlag);
    if (!p || !AskYesNo(StringPrintf(kRevertQuestion, p->name.c_str())))
        return;
    bool wasSelected = p == selected_;
    Portfolio* fresh = RevertPortfolioToSaved(p);
    if (!fresh)
        return;
    if (wasSelected)
        selected_ = fresh;
    RefreshAllViews();
}


} // namespace qv
