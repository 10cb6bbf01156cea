// View requests in the active window and the current-share and list-switch commands.
#include "shell/ui/ViewRequests.h"

#include "views/CommandUpdate.h"

#include "core/Portfolio.h"
#include "core/RecordLists.h"
#include "core/RecordLookup.h"
#include "core/SectorFilter.h"
#include "core/ShareList.h"
#include "core/ViewSettings.h"
#include "platform/MessageDispatch.h"
#include "portfolio/PortfolioRoutines.h"
#include "platform/qt/QtText.h"
#include "resources/MessageIds.h"
#include "shell/PortfolioAdd.h"
#include "shell/ViewGroups.h"
#include "shell/ui/ChildWindow.h"
#include "shell/ui/MainFrame.h"
#include "shell/ui/ModalDialog.h"
#include "shell/ui/WindowArranger.h"
#include "shell/ui/WindowCommands.h"
#include "shell/ui/WindowFactory.h"
#include "views/FrameState.h"
#include "views/ViewGroupFields.h"
#include "views/ViewKinds.h"
#include "views/ui/ViewBaseWindow.h"
#include "views/ui/ViewClassRegistry.h"

#include <QGuiApplication>
#include <utility>
#include <QMdiArea>

namespace qv {

uint8_t CViewRequests::TransactionsDisplaySwitch = 0;
uint8_t CViewRequests::UnpricedSharesSwitch = 0;
uint8_t CViewRequests::DataMiningDisplayA = 0;
uint8_t CViewRequests::DataMiningDisplayB = 0;

namespace {

// The dealings filter's bit for one share's dealings.
constexpr uint8_t kDealingsOneShareBit = 0x40;

bool SetsListNumber(int32_t kind)
{
    return kind != kViewDealings && kind != kViewCash && kind != kViewNews && kind != kViewTradeList &&
           kind != kViewTicker;
}

void JoinChain(CViewBase* view, ShareList* list)
{
    UnlinkViewFromLists(view);
    view->list = list;
    view->nextInList = list->views;
    list->views = view;
}

bool IsLinked(const CViewBase* view)
{
    return view && (view->secondList || ShareListHasOtherViews(view));
}

Portfolio* FirstPortfolio()
{
    for (Portfolio* p = PortfolioChain(); p; p = p->next)
        if (p->type == kUserPortfolio)
            return p;
    return PortfolioChain();
}

// The current portfolio's list made anew, without views, for `source` at the share `position`
// shows: a view may then take the old one elsewhere (another list, another portfolio) without
// taking the current portfolio with it.
ShareList* RemakeCurrentPortfolioList(Portfolio* source, ShareList* position)
{
    ShareList* made = CreateShareList(1, 0, kFamilyShares, source, true);
    if (made && position)
        StoreShareListPosition(made, position, false);
    if (made)
        PostListViewsRefresh(made, false);
    return made;
}

} // namespace

ShareList* FindViewListOfKind(const CViewBase* view, int32_t family)
{
    if (!view)
        return nullptr;
    if (view->list && view->list->family == family)
        return view->list;
    if (view->secondList && view->secondList->family == family)
        return view->secondList;
    const ShareList* group = view->secondList ? view->secondList : view->list;
    for (const CViewBase* v = group ? group->views : nullptr; v; v = v->nextInList)
        if (v->list && v->list->family == family)
            return v->list;
    return nullptr;
}

bool UnlinkView(CViewBase* view)
{
    if (!view || !view->list || (!view->secondList && !ShareListHasOtherViews(view)))
        return false;
    UnlinkViewFromLists(view);
    view->list = view->secondList = nullptr;
    return true;
}

namespace {

// The item of 20318 and 27013: "Current " and the active view's source.
std::string CurrentListText(const CViewBase* view)
{
    return "Current " + (view ? view->GetSourceTitle(false) : std::string());
}

} // namespace

CViewRequests::CViewRequests(CMainFrame& frame, CWindowFactory& factory) : frame_(frame), factory_(factory)
{
    frame_.AddCommandHandler([this](uint32_t command) { return OnCommand(command); },
                             [this](CommandUi& ui) {
                                 CommandUiState state = UpdateCommand(ui.command);
                                 if (!state.known)
                                     return false;
                                 ui.enabled = state.enabled;
                                 if (state.checkable)
                                     ui.checked = state.checked;
                                 if (ui.command == kCommandViewCurrentList || ui.command == kCommandViewCurrentListBar)
                                     ui.text = CurrentListText(MainFrameState().activeView);
                                 return true;
                             });
    frame_.AddMessageHandler(
        [this](uint32_t message, uintptr_t wParam, intptr_t lParam) { return OnMessage(message, wParam, lParam); });
}

bool CViewRequests::ShiftHeld() const
{
    return frame_.keyState().shift || (QGuiApplication::keyboardModifiers() & Qt::ShiftModifier);
}

CViewBase* CViewRequests::ShowViewKind(int32_t kind, int32_t number, uint32_t flags, CViewBase* view)
{
    if (ModalCount)
        return nullptr;
    ViewRequest request;
    request.kind = kind;
    request.number = number;
    request.view = view ? view : MainFrameState().activeView;
    request.flags = flags;
    // The kind the new view returns to. The request's own current number is reused for the
    // frame's list number on the way, which is a list and not a kind, so it is kept apart here.
    int32_t returnKind = -1;
    if (!(flags & kRequestNewWindow) && request.view)
        returnKind = RequestCurrentNumber(flags, request.view->kind, request.view->previousListKind);
    request.currentNumber = returnKind;
    if (kind == kViewDealings && request.view) {
        request.flags |= kRequestUseGivenList;
        request.list = request.view->list;
    }
    CViewBase* shown = OpenViewForRequest(request);
    // A dealings view asked for starts from the display options last chosen, on every share.
    const ViewRequestHooks& hooks = GetViewRequestHooks();
    if (shown && kind == kViewDealings && shown->list && hooks.dealingsDisplayFlags)
        shown->list->viewState2 = uint8_t(hooks.dealingsDisplayFlags() & ~kDealingsOneShareBit);
    if (shown && kind == kViewPortfolio && shown->list) {
        Portfolio* portfolio = shown->list->source;
        if (!portfolio && CurrentShareList())
            portfolio = CurrentShareList()->source;
        if (!portfolio)
            portfolio = FirstPortfolio();
        if (portfolio)
            SetShareListSource(shown->list, portfolio, 0, 0, false, false);
        PostListViewsRefresh(shown->list, false);
    }
    ActivateRequestedView(shown, request);
    if (shown)
        shown->previousListKind = (request.flags & kRequestNewWindow) ? -1 : returnKind;
    return shown;
}

CViewBase* CViewRequests::ShowKindForCurrent(int32_t kind)
{
    return ShowViewKind(kind, MainFrameState().listNumber, 0);
}

void CViewRequests::PickRequestList(ShareList* found, ViewRequest& request)
{
    CViewBase* v = MainFrameState().activeView;
    request.list = v && v->secondList ? v->secondList : found;
    request.currentNumber = MainFrameState().listNumber;
    request.linkResult = request.list && v ? CountLinkedViews(v, request.list, nullptr) : 0;
    if (request.linkResult == 0)
        request.list = nullptr;
    bool oneShareFromTable = v && IsOneShareViewKind(v->kind) && IsTableViewKind(v->previousListKind) &&
                             v->previousListKind != request.kind;
    if (IsTableViewKind(request.kind) && v &&
        ((IsTableViewKind(v->kind) && v->kind != request.kind) || oneShareFromTable)) {
        request.currentNumber = -1;
        request.list = nullptr;
    }
}

CViewBase* CViewRequests::OpenViewForRequest(ViewRequest& request)
{
    if (BusyFlag || ModalCount) {
        DeferViewRequestWhileBusy(request.kind, request.number);
        return nullptr;
    }
    request.oldKind = -1;
    request.currentNumber = -1;
    if (!(request.flags & kRequestUseGivenList))
        request.list = nullptr;
    int32_t family = GetViewKindFamily(request.kind);
    if (family < 0)
        return nullptr;
    CViewBase* old = request.view;
    ShareList* found = nullptr;
    CChildWindow* child = nullptr;
    int32_t reference = -1;
    if (!old || old->kind == kViewTicker) {
        request.flags |= kRequestNewWindow;
    } else {
        request.oldKind = old->kind;
        reference = RequestReferenceKind(old->kind, old->previousListKind);
        found = FindViewListOfKind(old, family);
        child = CWindowFactory::ChildOf(old);
        if (!child)
            request.flags |= kRequestNewWindow;
    }
    bool newWindow = request.flags & kRequestNewWindow;
    // A new window does not open maximised over the one it came from.
    if (CChildWindow* oldChild = newWindow && old ? CWindowFactory::ChildOf(old) : nullptr;
        oldChild && oldChild->isMaximized())
        oldChild->showNormal();
    if (!newWindow) {
        if (!(request.flags & kRequestUseGivenList))
            PickRequestList(found, request);
        int32_t listFamily = found ? found->family : -1;
        if (found && RequestChangesNothing(request.kind, request.oldKind, request.number, MainFrameState().listNumber,
                                           listFamily, family))
            return nullptr;
    }
    // A new window of a list or a portfolio shows the one asked for, which its group does not: it
    // starts a group of its own, or the group's windows would go on showing their rows under the
    // new one's name. A new chart or details window joins the group and follows its share.
    ShareList* joined = newWindow && IsNonNewsTableViewKind(request.kind) ? nullptr : found;
    // The list joined goes with the new view; the current portfolio's list must not go with it.
    ShareList* current = CurrentShareList();
    if (joined && current && (joined == current || (joined->source && joined->source == current->source)))
        current = RemakeCurrentPortfolioList(joined->source, joined);
    // The portfolio the request works in becomes the current portfolio. A window that shows another
    // portfolio keeps it: the current portfolio takes a list of its own rather than that window's.
    if (!request.source && !(request.flags & kRequestKeepOwnList) &&
        RequestLooksForSource(request.kind, reference, found && found->source))
        request.source = found && found->source ? found->source : current ? current->source : nullptr;
    if (request.source && (!current || request.source != current->source))
        RemakeCurrentPortfolioList(request.source, found && found->source == request.source ? found : nullptr);
    if (!IsChartViewKind(request.kind))
        SlideShowRunning = 0;
    MainFrameState().activeKind = request.kind;

    CViewBase* view = nullptr;
    if (!newWindow && old->kind == request.kind) {
        UnlinkViewFromLists(old);
        old->list = nullptr;
        view = old;
    } else {
        if (request.kind == kViewPortfolio && !PortfolioChain()) {
            request.kind = kViewList;
            request.number = 0;
        }
        auto* window = CreateViewWindowForKind(request.kind);
        view = window;
        if (newWindow) {
            child = new CChildWindow;
            LayoutWindow record;
            record.kind = request.kind;
            CChildWindow* source = (request.flags & kRequestFreeSpace) ? nullptr : CWindowFactory::ChildOf(old);
            QRect place = PlaceNewWindow(factory_, source);
            record.left = place.left();
            record.top = place.top();
            record.right = place.right() + 1;
            record.bottom = place.bottom() + 1;
            factory_.AddChild(child, record);
            child->setWidget(window);
            child->Create(frame_.mdiArea(), QRect(record.left, record.top, record.width(), record.height()),
                          request.kind, false, MultipleWindowsOn());
        } else {
            window->hide();
            QWidget* previous = child->widget();
            child->setWidget(window);
            // The window gives up its old view; keep it owned by the window, hidden, so that a view
            // the switch does not close (a ticker's list) goes with its window and is never lost.
            if (previous) {
                previous->setParent(child);
                previous->hide();
            }
        }
        window->windowId = child->id();
    }
    request.childWindow = child;

    ShareList* oldList = old ? old->list : nullptr;
    if (!joined || joined->family != family || family == kFamilyTicker) {
        view->list = nullptr;
        view->AttachListSource(family, request.source, 0);
        if (!newWindow && !(request.flags & kRequestKeepPositions) && oldList && view->list)
            StoreShareListPosition(view->list, oldList, family == kFamilyShares && joined);
    } else {
        StoreShareListPosition(joined, nullptr, false);
        JoinChain(view, joined);
        if (request.number >= 0)
            joined->word = request.number;
    }
    if (newWindow)
        view->previousListKind = -1;
    return view;
}

void CViewRequests::ActivateRequestedView(CViewBase* view, ViewRequest& request)
{
    if (!view)
        return;
    auto* window = dynamic_cast<CViewBaseWnd*>(view);
    if (!view->list) {
        if (window)
            window->close();
        return;
    }
    bool takeRequestList = request.list && request.list != view->list &&
                           request.list->family == view->list->family && !(request.flags & kRequestUseGivenList);
    if (takeRequestList)
        view->secondList = request.list;
    MainFrameState().listNumber = view->list->word;
    CViewBase* old = request.view;
    if (!(request.flags & kRequestNewWindow) && old && old != view && view->list->family != kFamilyTicker) {
        // A chart replaced in its window leaves its setting for the next chart made there.
        if (old->KeepsOwnSetting() && old->list)
            SetViewSettingIndex(old->kind, old->list->word, old->secondKey);
        UnlinkViewFromLists(old);
        old->list = old->secondList = nullptr;
        if (auto* oldWindow = dynamic_cast<CViewBaseWnd*>(old)) {
            oldWindow->hide();
            oldWindow->close();
        }
    }
    // The old view's window losing the focus on the way may have cleared the frame's view and kind.
    MainFrameState().activeView = view;
    MainFrameState().activeKind = view->kind;
    // A view switched into the active window has no activation of its own to tell it.
    view->active = 1;
    int32_t number = std::max(request.number, 0);
    if (SetsListNumber(request.kind) && request.number >= 0) {
        view->list->word = number;
        MainFrameState().listNumber = number;
    }
    // A view made for the request that keeps a setting of its own (a chart, the ticker) takes the
    // one last chosen for its kind; list tables keep theirs with their list.
    if (view != old && view->KeepsOwnSetting())
        view->SelectColumnSetting(GetViewSettingIndex(view->kind, view->list->word), false, false);
    SyncSourceCursors(view->list);
    PostProgramMessage(*view, WM_COMMAND, ID_REFRESH);
    if (window) {
        window->show();
        window->UpdateTitle();
        if (CChildWindow* child = CWindowFactory::ChildOf(view)) {
            frame_.mdiArea()->setActiveSubWindow(child);
            // A view swapped into the window that was already active gets no activation of its own.
            view->active = frame_.mdiArea()->activeSubWindow() == child;
            // Nor the keyboard: the old view that had it is gone.
            if (view->active)
                window->setFocus(Qt::OtherFocusReason);
        }
    }
    frame_.RebuildMenuBar();
    view->SetResyncCode(HINT_REDO_EVERYTHING);
    view->InvalidateWindow();
    if (!(request.flags & (kRequestNoFollow | kRequestNewWindow)))
        FollowLinkedViews(view, request);
}

void CViewRequests::FollowLinkedViews(CViewBase* view, const ViewRequest& request)
{
    std::vector<CViewBase*> others;
    ViewNode* nodes = GetOtherViewsOfList(view);
    for (ViewNode* n = nodes; n; n = n->next)
        others.push_back(n->view);
    FreeViewNodes(nodes);
    for (CViewBase* other : others) {
        if (other->list && other->list != view->list && other->list->source != view->list->source && view->list->source)
            SetShareListSource(other->list, view->list->source, 0, 0, false, false);
        int32_t kind = LinkedViewFollowKind(other->kind, request.kind, request.flags);
        if (kind >= 0) {
            ShareList* before = other->list;
            Portfolio* source = before ? before->source : nullptr;
            ShowViewKind(kind, request.number, kRequestNoFollow, other);
            // The switched view took the current portfolio's list with it: the current portfolio
            // keeps its own list (the first portfolio's when the switched list had none).
            if (before && before == CurrentShareList()) {
                ShareList* made = RemakeCurrentPortfolioList(source ? source : FirstPortfolio(), nullptr);
                if (made)
                    PostListViewsRefresh(made, true);
            }
            continue;
        }
        PostProgramMessage(*other, WM_COMMAND, ID_REFRESH);
        if (IsTableViewKind(request.kind))
            other->previousListKind = request.kind;
        other->InvalidateWindow();
    }
    FreeUnusedViewGroups();
}

bool CViewRequests::UnlinkActiveView()
{
    CViewBase* view = MainFrameState().activeView;
    if (!view)
        return false;
    int32_t kind = view->kind;
    int32_t number = view->list ? view->list->word : 0;
    Portfolio* source = view->list ? view->list->source : nullptr;
    uint8_t dealings = view->list ? uint8_t(view->list->viewState2 & 0x9F) : 0;
    const int32_t ownSetting = view->secondKey;
    if (!UnlinkView(view))
        return false;
    ViewRequest request;
    request.kind = kind;
    request.number = number;
    request.view = view;
    request.flags = kRequestKeepPositions;
    view->kind = -1; // a new view of the same kind is built
    CViewBase* shown = OpenViewForRequest(request);
    if (!shown)
        return false;
    if (kind == kViewDealings)
        shown->list->viewState2 = dealings;
    if (IsPortfolioViewKind(kind) && source)
        SetShareListSource(shown->list, source, 0, 0, false, false);
    request.flags |= kRequestNoFollow;
    ActivateRequestedView(shown, request);
    // The window made anew keeps the setting it showed.
    if (shown->KeepsOwnSetting())
        shown->SelectColumnSetting(ownSetting, false, false);
    InvalidateMatchingViews(ShareListChain(), false, -1, -1, 0xFFFFFFFF, nullptr);
    return true;
}

bool CViewRequests::HasCurrentShare() const
{
    const CViewBase* view = MainFrameState().activeView;
    ShareList* list = view ? (view->secondList ? view->secondList : view->list) : nullptr;
    if (!list)
        return false;
    const RecordCursor* entry = CurrentEntry(list);
    return entry && entry->record && list->current >= 0 && list->current <= list->last;
}

bool CViewRequests::CanShowCurrentShare() const
{
    const CViewBase* view = MainFrameState().activeView;
    if (!view || !view->list || view->kind == kViewTicker)
        return false;
    return !IsChartViewKind(view->kind) || !view->GraphTrainingMode();
}

CommandUiState CViewRequests::UpdateCommand(uint32_t id) const
{
    CommandFacts f;
    const CViewBase* view = MainFrameState().activeView;
    switch (id) {
    case kCommandNextViewKind:
    case kCommandPreviousViewKind: {
        bool cycles = view && view->list &&
                      CycleViewKind(id == kCommandNextViewKind, view->kind,
                                    view->secondList && IsTableViewKind(view->previousListKind),
                                    view->previousListKind, view->list->source != nullptr) >= 0;
        return {true, cycles && !BusyFlag, false, false};
    }
    case kCommandUnlink: return {true, IsLinked(view), false, false};
    case kCommandFindShare:
        // In a news view Find searches the news, and is offered only where that search is.
        if (view && view->kind == kViewNews)
            return {true, !BusyFlag && QueryCommandUi(kCommandSearchNews).enabled, false, false};
        break;
    default: break;
    }
    f.busy = BusyFlag != 0;
    f.importedItems = ImportedItemCount > 0;
    f.dealingsLoaded = GetViewRequestHooks().dealingsLoaded && GetViewRequestHooks().dealingsLoaded();
    f.transactionsPortfolio = TransactionsPortfolioAtHand();
    f.unpricedShares = UnpricedSharesSwitch;
    f.realTime = RealTimeOptionOn();
    f.hasCurrentShare = HasCurrentShare();
    f.canShowCurrentShare = CanShowCurrentShare();
    if (view) {
        f.activeKind = view->kind;
        f.graphTraining = IsChartViewKind(view->kind) && view->GraphTrainingMode();
        f.tickerPreviousList = view->previousListKind;
    }
    if (view && view->list) {
        ShareList* list = view->list;
        f.hasList = true;
        f.listHasCurrent = CurrentEntry(list) != nullptr;
        f.listFamily = list->family;
        f.listNumber = list->word;
        f.listHasSource = list->source != nullptr;
        f.dealingsFlags = list->viewState2;
        f.tradeMarket = list->tradeMarket;
    }
    return CommandUpdateState(id, f);
}

void CViewRequests::ShowShareNews()
{
    CViewBase* view = MainFrameState().activeView;
    const ViewRequestHooks& hooks = GetViewRequestHooks();
    if (BusyFlag || ModalCount)
        return;
    if (view && view->kind == kViewNews) {
        if (hooks.switchNewsShare)
            hooks.switchNewsShare(view);
        return;
    }
    const RecordCursor* entry = view && view->list ? CurrentEntry(view->list) : nullptr;
    const uint32_t share = entry && entry->record ? EntryRecordId(*entry) : 0;
    CViewBase* shown = ShowKindForCurrent(kViewNews);
    if (shown && shown->kind == kViewNews && hooks.limitNewsToShare)
        hooks.limitNewsToShare(shown, share);
}

void CViewRequests::ShowPortfolioNews()
{
    if (BusyFlag || ModalCount)
        return;
    CViewBase* shown = ShowViewKind(kViewNews, -1, kRequestCopyGroupMask | kRequestKeepPositions);
    if (!shown || shown->kind != kViewNews || !shown->list)
        return;
    // The list keeps the mode for a layout saved with the view: its shares, not one share or the alarms.
    ViewGroupFields fields = GetViewGroupFields(shown->list);
    fields.newsMode = (fields.newsMode | news_mode::kCurrentList) & ~(news_mode::kOneShare | news_mode::kAlarms);
    SetViewGroupFields(shown->list, fields);
    if (GetViewRequestHooks().showListNews)
        GetViewRequestHooks().showListNews(shown);
}

void CViewRequests::ShowSelectedShareDealings()
{
    CViewBase* view = MainFrameState().activeView;
    const ViewRequestHooks& hooks = GetViewRequestHooks();
    if (!view || !view->list || BusyFlag || ModalCount || !hooks.limitDealingsToShare)
        return;
    if (view->kind == kViewDealings) {
        if (view->returnPoint.kind >= 0) {
            ReturnFromDealings(view);
            return;
        }
        const bool oneShare = view->list->viewState2 & 0x40;
        const uint16_t share = oneShare || !hooks.dealingsRowShare ? 0 : hooks.dealingsRowShare(view);
        if (oneShare || share)
            hooks.limitDealingsToShare(view, share);
        return;
    }
    const RecordCursor* entry = CurrentEntry(view->list);
    if (!entry || !entry->record)
        return;
    CViewBase::ReturnPoint back;
    back.kind = view->kind;
    back.listNumber = view->list->word;
    back.sourceNumber = view->list->source ? view->list->source->number : -1;
    back.shareId = EntryRecordId(*entry);
    back.sub = entry->count;
    back.previousListKind = view->previousListKind;
    StoreShareListPosition(view->list, nullptr, true);
    CViewBase* shown = ShowViewKind(kViewDealings, -1, 0, view);
    if (!shown || shown->kind != kViewDealings)
        return;
    shown->returnPoint = back;
    hooks.limitDealingsToShare(shown, uint16_t(back.shareId));
}

void CViewRequests::ReturnFromDealings(CViewBase* dealings)
{
    const CViewBase::ReturnPoint back = std::exchange(dealings->returnPoint, CViewBase::ReturnPoint{});
    Portfolio* source = back.sourceNumber >= 0 ? FindPortfolioByNumber(uint16_t(back.sourceNumber)) : nullptr;
    if (source && back.kind == kViewList)
        source = nullptr;
    MainFrameState().listNumber = back.listNumber;
    CViewBase* shown = ShowViewKind(back.kind, back.listNumber, 0, dealings);
    if (!shown || !shown->list)
        return;
    if (source) {
        SetShareListSource(shown->list, source, back.shareId, back.sub, false, false);
    } else {
        shown->list->word = back.listNumber;
        SetShareListPosition(shown->list, back.shareId, back.sub, true);
    }
    shown->previousListKind = back.previousListKind;
    PostProgramMessage(*shown, WM_COMMAND, ID_REFRESH);
    shown->InvalidateWindow();
}

void CViewRequests::ShowShareDates()
{
    const CViewBase* view = MainFrameState().activeView;
    const RecordCursor* entry = view && view->list ? CurrentEntry(view->list) : nullptr;
    if (!entry || !entry->record || !GetViewRequestHooks().showShareDates)
        return;
    GetViewRequestHooks().showShareDates(*entry, &frame_);
}

ViewRequestHooks& GetViewRequestHooks()
{
    static ViewRequestHooks hooks;
    return hooks;
}

void CViewRequests::CycleKind(bool next)
{
    CViewBase* view = MainFrameState().activeView;
    if (!view || !view->list)
        return;
    bool parentLink = view->secondList && IsTableViewKind(view->previousListKind);
    int32_t kind = CycleViewKind(next, view->kind, parentLink, view->previousListKind, view->list->source != nullptr);
    if (kind < 0)
        return;
    StoreShareListPosition(view->list, nullptr, true);
    ShowViewKind(kind, MainFrameState().listNumber, 0);
}

bool CViewRequests::TransactionsPortfolioAtHand() const
{
    const CViewBase* view = MainFrameState().activeView;
    const Portfolio* own = view && view->list ? view->list->source : nullptr;
    return bool(chooser_) || (own && (own->type == kUserPortfolio || own->type == kGroupPortfolio));
}

void CViewRequests::ShowTransactions(bool newWindow)
{
    if (ModalCount)
        return;
    CViewBase* view = MainFrameState().activeView;
    bool shift = newWindow || ShiftHeld();
    if (view && view->kind == kViewTransactions && !shift) {
        TransactionsDisplaySwitch ^= 1;
        view->InvalidateWindow();
        return;
    }
    Portfolio* portfolio = view && view->list ? view->list->source : nullptr;
    if (!portfolio || (portfolio->type != kUserPortfolio && portfolio->type != kGroupPortfolio))
        portfolio = chooser_ ? chooser_() : nullptr;
    if (!portfolio) {
        if (!chooser_)
            NoteNothingToRun(kCommandTransactions);
        return;
    }
    ViewRequest request;
    request.kind = kViewTransactions;
    request.number = -1;
    request.view = view;
    request.flags = shift ? kRequestNewWindow : 0;
    request.source = portfolio;
    CViewBase* shown = OpenViewForRequest(request);
    if (shown && shown->list)
        SetShareListSource(shown->list, portfolio, 0, 0, true, false);
    ActivateRequestedView(shown, request);
}

void CViewRequests::ShowList(int32_t number) { ShowListIn(number, ShiftHeld()); }

void CViewRequests::ShowListSameWindow(int32_t number) { ShowListIn(number, false); }

void CViewRequests::ShowListIn(int32_t number, bool newWindow)
{
    CViewBase* view = MainFrameState().activeView;
    if (view && view->kind == kViewList && view->list && view->list->word == number && !newWindow) {
        // The list already shown: its sector filter is cleared and kept as the default.
        ShareList* list = view->list;
        list->sectorIndex = -1;
        list->sectorFilterOn = list->newHighsOnly = list->newLowsOnly = 0;
        SaveSectorFilter(*list);
        PostProgramMessage(frame_, WM_COMMAND, ID_REFRESH);
        view->InvalidateWindow();
        view->InvalidateLinkedViews(true, false);
        return;
    }
    CViewBase* shown = ShowViewKind(kViewList, number, newWindow ? kRequestNewWindow : 0);
    if (shown)
        shown->InvalidateLinkedViews(true, false);
}

void CViewRequests::UseList(int32_t number)
{
    CViewBase* view = MainFrameState().activeView;
    if (BusyFlag || ModalCount || !view || !view->list)
        return;
    CViewBase* shown = nullptr;
    if (IsListViewKind(view->kind)) {
        shown = ShowViewKind(kViewList, number, kRequestKeepOwnList);
    } else {
        int32_t kind = view->kind;
        MainFrameState().listNumber = number;
        if (view->list->source && view->list == CurrentShareList())
            RemakeCurrentPortfolioList(view->list->source, view->list);
        DropListSource(view->list);
        view->list->sourceNumber = -1;
        view->list->word = number;
        view->previousListKind = kViewList;
        view->kind = -1;
        shown = ShowViewKind(kind, number, kRequestKeepOwnList, view);
    }
    if (shown) {
        shown->previousListKind = kViewList;
        shown->InvalidateLinkedViews(true, false);
    }
}

void CViewRequests::RepaintKind(int32_t kind)
{
    InvalidateMatchingViews(ShareListChain(), false, kind, -1, 0xFFFFFFFF, nullptr);
}

void CViewRequests::OnListCommand(const ListCommand& command)
{
    switch (command.family) {
    case ListCommandFamily::Show: ShowList(command.number); break;
    case ListCommandFamily::ShowSameWindow: ShowListSameWindow(command.number); break;
    case ListCommandFamily::Use: UseList(command.number); break;
    case ListCommandFamily::None: break;
    }
}

bool CViewRequests::OnCommand(uint32_t command)
{
    CViewBase* view = MainFrameState().activeView;
    int32_t activeKind = view ? view->kind : -1;
    switch (command) {
    case kCommandGraphCurrent:
    case kCommandGraphCurrentBar:
        // On a chart of the current share the command switches its log scale, where the chart offers it.
        if (activeKind == kViewDailyChart && HasCurrentShare()) {
            if (QueryCommandUi(kCommandLogScale).enabled)
                PostProgramMessage(frame_, WM_COMMAND, kCommandLogScale);
        } else {
            ShowKindForCurrent(kViewDailyChart);
        }
        return true;
    case kCommandViewCurrentList:
    case kCommandViewCurrentListBar:
        if (!HasCurrentShare())
            return true;
        if (view->list->source) {
            Portfolio* source = view->list->source;
            if (CViewBase* shown = ShowViewKind(kViewPortfolio, -1, 0))
                SetShareListSource(shown->list, source, 0, 0, false, false);
        } else {
            ShowViewKind(kViewList, view->list->word, 0);
        }
        return true;
    case kCommandShowDetails:
    case kCommandShowDetailsBar: ShowKindForCurrent(kViewDetails); return true;
    case kCommandShareDates: ShowShareDates(); return true;
    case kCommandTransactions:
    case kCommandTransactionsBar:
    case kCommandReviewTransactions: ShowTransactions(); return true;
    case kCommandDataMining:
    case kCommandDataMiningBar:
        if (activeKind != kViewDataMining) {
            ShowKindForCurrent(kViewDataMining);
        } else {
            DataMiningDisplayA = DataMiningDisplayB = 1;
            view->InvalidateWindow();
        }
        return true;
    case kCommandNews:
    case kCommandNewsBar: {
        if (IsLinked(view))
            ShowViewKind(kViewNews, -1, kRequestNewWindow);
        else if (activeKind == kViewNews)
            PostProgramMessage(*view, WM_COMMAND, ID_REFRESH);
        else
            ShowKindForCurrent(kViewNews);
        // The news list shows every story, whichever share a news view was limited to before.
        CViewBase* shown = MainFrameState().activeView;
        if (shown && shown->kind == kViewNews && GetViewRequestHooks().limitNewsToShare)
            GetViewRequestHooks().limitNewsToShare(shown, 0);
        return true;
    }
    case kCommandDealings:
    case kCommandDealingsBar:
        if (activeKind == kViewDealings) {
            // A dealings view limited to one share (bit 6) or to its selection (bit 5 alone) shows
            // every share again; one that shows them all already is left as it is.
            uint8_t& flags = view->list->viewState2;
            if ((flags & 0x60) == 0 || BusyFlag || ModalCount)
                return true;
            flags &= 0x9F;
            if (GetViewRequestHooks().limitDealingsToShare)
                GetViewRequestHooks().limitDealingsToShare(view, 0);
            PostProgramMessage(*view, WM_COMMAND, ID_REFRESH);
        } else if (IsLinked(view)) {
            ShowViewKind(kViewDealings, -1, kRequestNewWindow);
        } else {
            ShowKindForCurrent(kViewDealings);
        }
        return true;
    case kCommandSelectedDealings:
    case kCommandSelectedDealingsB:
    case kCommandReturnDealings:
        if (!UpdateCommand(command).enabled)
            return true;
        ShowSelectedShareDealings();
        return true;
    case kCommandTradeList:
    case kCommandTradeListB:
    case kCommandTradeListBar:
        if (!UpdateCommand(command).enabled)
            return true;
        if (activeKind == kViewTradeList)
            PostProgramMessage(*view, WM_COMMAND, ID_REFRESH);
        else if (IsLinked(view))
            ShowViewKind(kViewTradeList, -1, kRequestNewWindow);
        else
            ShowKindForCurrent(kViewTradeList);
        return true;
    case kCommandTicker:
        if (activeKind == kViewTicker)
            PostProgramMessage(*view, WM_COMMAND, ID_REFRESH);
        else
            ShowKindForCurrent(kViewTicker);
        return true;
    case kCommandFindShare:
        if (BusyFlag || ModalCount || !view || !view->list)
            return true;
        if (activeKind == kViewNews) {
            SendProgramMessage(frame_, WM_COMMAND, kCommandSearchNews);
            return true;
        }
        frame_.OpenFindShare();
        if (MainFrameState().activeView == view && view->list)
            view->list->firstVisible = std::max(view->list->current - 4, 0);
        return true;
    case kCommandUnpricedShares:
        if (!view)
            return true;
        UnpricedSharesSwitch ^= 1;
        if (GetViewRequestHooks().showHistoricShares)
            GetViewRequestHooks().showHistoricShares(UnpricedSharesSwitch != 0);
        RepaintKind(-1);
        return true;
    case kCommandNextViewKind: CycleKind(true); return true;
    case kCommandPreviousViewKind: CycleKind(false); return true;
    case kCommandUnlink: UnlinkActiveView(); return true;
    default: break;
    }
    ListCommand list = LookupListCommand(command);
    if (list.family == ListCommandFamily::None)
        return false;
    OnListCommand(list);
    return true;
}

bool CViewRequests::OnMessage(uint32_t message, uintptr_t wParam, intptr_t lParam)
{
    if (message != MSG_VIEW_REQUEST_DEFERRED)
        return false;
    ShowViewKind(int32_t(wParam), int32_t(lParam), 0);
    return true;
}

} // namespace qv
