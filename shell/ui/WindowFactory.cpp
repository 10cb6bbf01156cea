// Window factory and window layouts.
#include "shell/ui/WindowFactory.h"

#include "core/CashAccounts.h"
#include "core/ConfigRecords.h"
#include "core/ConfigState.h"
#include "core/Portfolio.h"
#include "core/ShareList.h"
#include "core/WindowLayoutFile.h"
#include "platform/MessageBox.h"
#include "platform/MessageDispatch.h"
#include "resources/MessageIds.h"
#include "shell/LayoutStateHooks.h"
#include "shell/LayoutSwitch.h"
#include "shell/PortfolioAdd.h"
#include "shell/ViewGroups.h"
#include "shell/ui/ChildWindow.h"
#include "shell/ui/MainFrame.h"
#include "views/FrameState.h"
#include "views/ViewGroupFields.h"
#include "views/ViewKinds.h"
#include "views/ui/ViewBaseWindow.h"
#include "views/ui/ViewClassRegistry.h"

#include <QEvent>
#include <QApplication>
#include <QLayout>
#include <QMdiArea>
#include <QScreen>
#include <algorithm>
#include <cstdlib>
#include <utility>

namespace qv {
namespace {

constexpr int32_t kNoGroup = -1;

bool RealTimeOn() { return Config().optionsA.data()[OptionBlockA::kRealTimeOption] != 0; }

Portfolio* PortfolioNumbered(int32_t number)
{
    for (Portfolio* p = PortfolioChain(); p; p = p->next)
        if (p->number == number)
            return p;
    return nullptr;
}

Portfolio* FirstPortfolioOfType(uint8_t type)
{
    for (Portfolio* p = PortfolioChain(); p; p = p->next)
        if (p->type == type)
            return p;
    return nullptr;
}

// The view's fallbacks when the data it shows is missing: portfolio and transactions views without
// any portfolio, and cash views without any cash account, show a list.
LayoutWindow WithFallbacks(LayoutWindow w)
{
    if ((w.kind == kViewPortfolio || w.kind == kViewTransactions) && !PortfolioChain()) {
        if (w.kind == kViewPortfolio)
            w.listTable = 0;
        w.kind = kViewList;
    }
    if (w.kind == kViewCash && !CashAccounts().head)
        w.kind = kViewList;
    return w;
}

void AttachToChain(CViewBase* view, ShareList* list)
{
    view->nextInList = list->views;
    list->views = view;
}

RestoredFilterRun& FilterRun()
{
    static RestoredFilterRun run;
    return run;
}

// The share list a window's record describes.
ShareList* CreateShareListForWindow(const LayoutWindow& r, int32_t family)
{
    Portfolio* portfolio = nullptr;
    if (r.portfolio >= 0) {
        portfolio = PortfolioNumbered(r.portfolio);
        if (!portfolio)
            portfolio = FirstPortfolioOfType(kPresetList);
    }
    if (r.providerKind == kViewList || r.providerKind == kViewDataMining)
        portfolio = nullptr;
    bool usesSource = portfolio && family == kFamilyShares && portfolio->type != kFilterPreset &&
                      portfolio->type != kGroupPortfolio;
    ShareList* list = CreateShareList(8, 0, family, usesSource || family == kFamilyTransactions ? portfolio : nullptr, true);
    list->currentId = r.shareId;
    list->currentSub = r.shareSub;
    list->tableSetting = r.setting;
    list->word = std::max(r.listTable, 0);
    list->number = r.ownGroup;
    list->sortDirection = r.signedSortColumn < 0 ? -1 : 1;
    if (r.signedSortColumn != 0)
        list->sortColumn = std::abs(r.signedSortColumn);
    SetViewGroupFields(list, [&] {
        ViewGroupFields fields = GetViewGroupFields(list);
        fields.builtFor = usesSource ? r.listTable : -1;
        return fields;
    }());
    if (usesSource)
        SetShareListPosition(list, r.shareId, r.shareSub, false);
    if (IsOneShareViewKind(r.kind) && r.providerKind == kViewDataMining && FilterRun()) {
        FilterRun()(list, r.filterIndex);
        SetShareListPosition(list, r.shareId, r.shareSub, false);
    }
    return list;
}

ShareList* FindList(int32_t number, int32_t family, bool sameFamily)
{
    for (ShareList* l = ShareListChain(); l; l = l->next)
        if (l->number == number && (l->family == family) == sameFamily)
            return l;
    return nullptr;
}

} // namespace

RestoredFilterRun SetRestoredFilterRun(RestoredFilterRun run) { return std::exchange(FilterRun(), std::move(run)); }

std::vector<LayoutWindow> LayoutSlotWindows(int slot)
{
    std::vector<LayoutWindow> v;
    for (const LayoutWindowRecord& r : WindowLayouts().layouts[size_t(slot)].windows)
        v.push_back(DecodeLayoutWindow(r));
    return v;
}

void SetLayoutSlotWindows(int slot, const std::vector<LayoutWindow>& windows)
{
    std::vector<LayoutWindowRecord>& records = WindowLayouts().layouts[size_t(slot)].windows;
    records.resize(windows.size());
    for (size_t i = 0; i < windows.size(); ++i)
        EncodeLayoutWindow(windows[i], records[i]);
}

namespace {

// Calls back after every resize of the watched widget.
class ResizeWatcher : public QObject {
public:
    ResizeWatcher(std::function<void()> resized, QObject* parent) : QObject(parent), resized_(std::move(resized)) {}

protected:
    bool eventFilter(QObject*, QEvent* event) override
    {
        if (event->type() == QEvent::Resize)
            resized_();
        return false;
    }

private:
    std::function<void()> resized_;
};

} // namespace

CWindowFactory::CWindowFactory(CMainFrame& frame) : frame_(frame)
{
    frame_.AddCommandHandler([this](uint32_t command) { return OnCommand(command); },
                             [this](CommandUi& ui) { return UpdateCommand(ui); });
    frame_.AddMessageHandler(
        [this](uint32_t message, uintptr_t wParam, intptr_t lParam) { return OnMessage(message, wParam, lParam); });
    // Until the frame has settled on the area it shows, a default layout made for it follows it.
    resizeWatcher_ = new ResizeWatcher([this] { FitDefaultLayoutsToArea(); }, frame_.mdiArea()->viewport());
    frame_.mdiArea()->viewport()->installEventFilter(resizeWatcher_);
    // Every save of the layouts, the one at exit too, takes the windows as they are.
    SetBeforeLayoutSaveHook([this] {
        FreeUnusedViewGroups();
        if (!LayoutSwitchRunning && !children_.empty())
            SaveCurrentLayout();
    });
}

CWindowFactory::~CWindowFactory()
{
    // The frame may outlive the factory: its resizes no longer reach it.
    delete resizeWatcher_;
    SetBeforeLayoutSaveHook({});
}

std::vector<CChildWindow*> CWindowFactory::Children() const
{
    std::vector<CChildWindow*> live;
    for (const QPointer<CChildWindow>& c : children_)
        // Closed windows are hidden; a hidden frame (at exit) still has its windows.
        if (c && !c->isHidden())
            live.push_back(c.data());
    return live;
}

AreaRect CWindowFactory::ClientArea() const
{
    if (frame_.isVisible()) {
        QRect r = frame_.mdiArea()->viewport()->rect();
        return {r.left(), r.top(), r.right() + 1, r.bottom() + 1};
    }
    // The start-up layout is made before the frame is first shown, when its client area has not been
    // laid out yet: lay the frame out at the size it will show with, so that the layout fills the area
    // a user sees (a frame larger than the screen is shown at the screen's size).
    // The frame's own placement is left as it was.
    const QSize placed = frame_.size();
    const Qt::WindowStates state = frame_.windowState();
    if (const QScreen* screen = frame_.screen()) {
        const QSize available = screen->availableGeometry().size();
        frame_.resize(state & Qt::WindowMaximized ? available : placed.boundedTo(available));
    }
    // A hidden frame's layout is not told of the resize: it would keep the client area it had.
    if (QLayout* layout = frame_.layout()) {
        layout->invalidate();
        layout->activate();
    }
    const QRect r = frame_.mdiArea()->contentsRect();
    frame_.resize(placed);
    // Resizing takes a maximised frame out of that state: it shows as it was placed.
    frame_.setWindowState(state);
    return {0, 0, r.width(), r.height()};
}

void CWindowFactory::FitDefaultLayoutsToArea()
{
    if (defaultSlots_.empty())
        return;
    const AreaRect area = ClientArea();
    if (!frame_.isVisible() || area.right <= area.left || area.bottom <= area.top ||
        (area.left == defaultArea_.left && area.top == defaultArea_.top && area.right == defaultArea_.right &&
         area.bottom == defaultArea_.bottom))
        return;
    // Once the user has opened, closed, moved or sized a window the layout is theirs.
    const std::vector<CChildWindow*> children = Children();
    bool untouched = children.size() == defaultWindows_;
    for (CChildWindow* child : children) {
        auto record = records_.find(child);
        const QRect placed = child->geometry();
        untouched = untouched && record != records_.end() && !child->isMaximized() &&
                    placed == QRect(record->second.left, record->second.top, record->second.width(),
                                    record->second.height());
    }
    if (!untouched) {
        defaultSlots_.clear();
        return;
    }
    defaultArea_ = area;
    const int current = WindowLayouts().current;
    for (int slot : defaultSlots_) {
        std::vector<LayoutWindow> windows = LayoutSlotWindows(slot);
        const std::vector<LayoutWindow> fitted = BuildDefaultLayout(slot, area);
        if (fitted.size() != windows.size())
            continue;
        const std::vector<LayoutWindow> before = windows;
        for (size_t i = 0; i < windows.size(); ++i) {
            windows[i].left = fitted[i].left;
            windows[i].top = fitted[i].top;
            windows[i].right = fitted[i].right;
            windows[i].bottom = fitted[i].bottom;
        }
        SetLayoutSlotWindows(slot, windows);
        if (slot != current)
            continue;
        // The windows made from the layout are known by the place they were given (a default
        // layout gives each window a place of its own).
        for (CChildWindow* child : children) {
            LayoutWindow& made = records_[child];
            for (size_t i = 0; i < before.size(); ++i) {
                const LayoutWindow& b = before[i];
                if (made.left != b.left || made.top != b.top || made.right != b.right || made.bottom != b.bottom)
                    continue;
                made.left = windows[i].left;
                made.top = windows[i].top;
                made.right = windows[i].right;
                made.bottom = windows[i].bottom;
                child->setGeometry(QRect(made.left, made.top, made.width(), made.height()));
                break;
            }
        }
    }
}

LayoutWindow CWindowFactory::RecordOf(const CChildWindow* child) const
{
    auto it = records_.find(child);
    return it == records_.end() ? LayoutWindow{} : it->second;
}

CChildWindow* CWindowFactory::ChildOf(const CViewBase* view)
{
    auto* widget = dynamic_cast<const QWidget*>(view);
    return widget ? qobject_cast<CChildWindow*>(widget->parentWidget()) : nullptr;
}

void CWindowFactory::AddChild(CChildWindow* child, const LayoutWindow& record)
{
    children_.insert(children_.begin(), child);
    records_[child] = record;
}

void CWindowFactory::PumpOnce()
{
    if (!MayPumpMessages())
        return;
    QApplication::processEvents();
    DeliverPostedMessages();
}

void CWindowFactory::AttachToGroups(CViewBase* view, const LayoutWindow& r)
{
    UnlinkViewFromLists(view);
    view->list = view->secondList = nullptr;
    int32_t family = GetViewKindFamily(r.kind);
    if (r.kind == kViewTicker) {
        ShareList* own = CreateShareList(0, 0, kFamilyTicker, nullptr, true);
        own->number = kNoGroup;
        own->tableSetting = r.graphSetting;
        view->list = own;
        AttachToChain(view, own);
        return;
    }
    ShareList* own = nullptr;
    ShareList* target = nullptr;
    if (r.ownGroup >= 0) {
        own = FindList(r.ownGroup, family, true);
        target = FindList(r.ownGroup, family, false);
    }
    if (!target && r.linkGroup >= 0)
        target = FindList(r.linkGroup, family, true);
    if (!target && r.linkGroup >= 0)
        target = FindList(r.linkGroup, family, false);
    if (!own) {
        own = CreateShareListForWindow(r, family);
        if (!target && r.linkGroup == r.ownGroup)
            target = own;
    }
    view->list = own;
    if (r.linkGroup >= 1 && !target) {
        AttachToChain(view, own);
        pendingLinks_[view] = r.linkGroup;
    } else if (r.linkGroup >= 1 && target) {
        if (target != own)
            view->secondList = target;
        AttachToChain(view, target);
    } else {
        AttachToChain(view, own);
    }
}

void CWindowFactory::ApplyKindState(CViewBase* view, const LayoutWindow& r)
{
    if (view->kind == kViewCash && GetLayoutStateHooks().applyCashAccount)
        GetLayoutStateHooks().applyCashAccount(*view, r.cashAccount);
    if (view->kind == kViewDailyChart && GetLayoutStateHooks().applyChartOption)
        GetLayoutStateHooks().applyChartOption(*view, r.chartOption);
    ShareList* list = view->list;
    if (!list)
        return;
    if (view->kind == kViewNews) {
        ViewGroupFields fields = GetViewGroupFields(list);
        fields.newsMode = r.newsMode;
        SetViewGroupFields(list, fields);
    }
    if (view->kind == kViewTradeList)
        list->tradeMarket = std::min<int32_t>(r.tradeListMode, 2);
    if (view->kind == kViewDealings)
        list->viewState2 = r.dealingsOption;
    else if (view->kind != kViewDailyChart && view->kind != kViewCash && view->kind != kViewNews &&
             view->kind != kViewTradeList)
        list->viewState2 = 0;
}

CViewBaseWnd* CWindowFactory::CreateViewWindow(const LayoutWindow& record, CChildWindow* child, bool activate)
{
    if (record.ownGroup == 0 || record.linkGroup == 0)
        return nullptr;
    LayoutWindow r = WithFallbacks(NormaliseForCreation(record, RealTimeOn()));
    bool multiple = MultipleWindowsOn();
    auto* view = CreateViewWindowForKind(r.kind);
    if (r.kind == kViewNews && multiple)
        view->newsRefreshPending = 1;
    MainFrameState().activeView = view;
    if (!child) {
        child = new CChildWindow;
        AddChild(child, r);
        child->setWidget(view);
        if (r.kind == kViewTicker)
            child->SetFixedSize(0, std::max(r.height(), CChildWindow::kMinTrackHeight));
        child->Create(frame_.mdiArea(), QRect(r.left, r.top, r.width(), r.height()), r.kind, false, multiple);
    } else {
        records_[child] = r;
        child->setWidget(view);
    }
    MainFrameState().activeKind = r.kind;
    view->secondKey = r.graphSetting;
    AttachToGroups(view, r);
    ShareList* own = view->list;
    if (own && own != view->secondList) {
        if (r.kind != kViewDealings && r.kind != kViewCash && r.kind != kViewNews && r.kind != kViewTradeList &&
            r.kind != kViewTicker)
            MainFrameState().listNumber = std::max(own->word, 0);
    }
    ApplyKindState(view, r);
    if (r.kind != kViewNews)
        PostProgramMessage(*view, WM_COMMAND, ID_REFRESH);
    view->windowId = child->id();
    view->UpdateTitle();
    RetitleGroup(view->secondList ? view->secondList : view->list);
    view->show();
    view->SetResyncCode(HINT_REDO_EVERYTHING);
    MainFrameState().activeView = view;
    if (activate)
        frame_.mdiArea()->setActiveSubWindow(child);
    return view;
}

void CWindowFactory::CreateLayoutWindows()
{
    WindowLayoutSet& set = WindowLayouts();
    bool multiple = MultipleWindowsOn();
    if (!multiple)
        set.current = kSingleWindowLayout;
    FreeUnusedViewGroups();
    AreaRect area = ClientArea();
    defaultSlots_.clear();
    defaultArea_ = area;
    for (int slot = 0; slot < kLayoutSlotCount; ++slot) {
        std::vector<LayoutWindow> windows = LayoutSlotWindows(slot);
        if (windows.empty()) {
            windows = BuildDefaultLayout(slot, area);
            if (!windows.empty() && !frame_.isVisible())
                defaultSlots_.push_back(slot);
        }
        // The single window made from the options has no rectangle of its own, and a load drops a
        // single-window record without one: it takes the area it fills, so the next start keeps it.
        if (slot == kSingleWindowLayout && !windows.empty() && (windows.front().right <= 0 || windows.front().bottom <= 0)) {
            windows.front().left = area.left;
            windows.front().top = area.top;
            windows.front().right = area.right;
            windows.front().bottom = area.bottom;
        }
        NormaliseLayoutLinks(windows);
        SetLayoutSlotWindows(slot, windows);
    }
    std::vector<LayoutWindow> windows = LayoutSlotWindows(set.current);
    CViewBaseWnd* toActivate = nullptr;
    CViewBaseWnd* first = nullptr;
    CViewBaseWnd* maximised = nullptr;
    pendingLinks_.clear();
    if (!multiple) {
        if (!windows.empty())
            first = CreateViewWindow(windows[0], nullptr, true);
    } else {
        CreationPlan plan = PlanLayoutCreation(windows);
        std::vector<int> order = plan.order;
        if (plan.maximised >= 0) {
            maximised = CreateViewWindow(windows[size_t(plan.maximised)], nullptr, false);
            if (!maximised)
                order = CreationOrderWithoutMaximised(windows);
            else
                order.clear();
            first = maximised;
        }
        for (int i : order) {
            CViewBaseWnd* view = CreateViewWindow(windows[size_t(i)], nullptr, false);
            if (!first)
                first = view;
            if (view && windows[size_t(i)].active)
                toActivate = view;
        }
    }
    PumpOnce();
    for (auto& [view, number] : pendingLinks_) {
        ShareList* target = FindList(number, -1, false);
        for (ShareList* l = ShareListChain(); l && !target; l = l->next)
            if (l->number == number)
                target = l;
        if (!target || target == view->list)
            continue;
        UnlinkViewFromLists(view);
        view->secondList = target;
        AttachToChain(view, target);
    }
    pendingLinks_.clear();
    FrameState& state = MainFrameState();
    if (state.activeView) {
        state.activeKind = state.activeView->kind;
        if (state.activeView->list)
            state.listNumber = state.activeView->list->word;
    }
    FreeUnusedViewGroups();
    RenumberShareLists(ShareListChain());
    if (multiple) {
        if (maximised) {
            if (CChildWindow* child = ChildOf(maximised))
                child->ShowCreatedMaximised();
        } else if (CViewBaseWnd* view = toActivate ? toActivate : first) {
            frame_.mdiArea()->setActiveSubWindow(ChildOf(view));
        }
    }
    for (CChildWindow* child : Children())
        if (auto* view = dynamic_cast<CViewBaseWnd*>(child->widget()))
            view->UpdateTitle();
    defaultWindows_ = Children().size();
    if (maximised || std::find(defaultSlots_.begin(), defaultSlots_.end(), set.current) == defaultSlots_.end())
        defaultSlots_.clear();
    ArmNewsRefreshTimer();
}

LayoutWindow CWindowFactory::SaveViewToLayoutRecord(CViewBase* view, bool isActive, bool isFirst)
{
    CChildWindow* child = ChildOf(view);
    LayoutWindow w = RecordOf(child);
    ShareList* own = view->list;
    ShareList* linked = view->secondList;
    w.kind = view->kind;
    if (own) {
        GroupNumbers g = SavedGroupNumbers(own->number, own->family, linked != nullptr, linked ? linked->number : -1,
                                           linked ? linked->family : -1, isFirst);
        w.ownGroup = g.own;
        w.linkGroup = g.link;
        uint32_t id = 0, sub = 0;
        if (own->family == kFamilyShares) {
            if (const RecordCursor* entry = CurrentEntry(own)) {
                id = EntryRecordId(*entry);
                sub = entry->count;
            } else {
                id = own->currentId;
                sub = own->currentSub;
            }
        } else {
            id = own->currentId;
            sub = own->currentSub;
        }
        w.shareId = id;
        w.shareSub = sub;
        w.setting = own->tableSetting;
        w.listTable = own->word;
        if (view->kind == kViewNews)
            w.newsMode = GetViewGroupFields(own).newsMode;
        if (view->kind == kViewTradeList)
            w.tradeListMode = uint8_t(std::clamp<int32_t>(own->tradeMarket, 0, 2));
    }
    if (view->kind == kViewCash && GetLayoutStateHooks().saveCashAccount)
        w.cashAccount = GetLayoutStateHooks().saveCashAccount(*view);
    if (view->kind == kViewDailyChart)
        w.chartOption = ChartOptionOf(*view);
    if (!linked)
        w.providerKind = -1;
    w.graphSetting = view->secondKey;
    w.maximised = 0;
    if (child) {
        QRect normal = child->geometry();
        if (child->isMaximized()) {
            w.maximised = 1;
            normal = QRect(w.left, w.top, w.width(), w.height());
        }
        w.left = normal.left();
        w.top = normal.top();
        w.right = normal.right() + 1;
        w.bottom = normal.bottom() + 1;
    }
    w.active = isActive;
    return w;
}

void CWindowFactory::SaveCurrentLayout()
{
    defaultSlots_.clear();
    WindowLayoutSet& set = WindowLayouts();
    std::vector<LayoutWindow> windows = LayoutSlotWindows(set.current);
    int maximised = -1;
    for (size_t i = 0; i < windows.size() && maximised < 0; ++i)
        if (windows[i].maximised == 1)
            maximised = int(i);
    for (ShareList* l = ShareListChain(); l; l = l->next)
        if (l->number >= 0)
            l->number += kSavedGroupOffset;
    NormaliseLayoutLinks(windows);
    // The current window, not the active one: at exit the frame is no longer active and its area
    // has no active window, yet the window the user left in front is the layout's active one.
    CViewBase* activeView = GetActiveChildView(frame_);
    if (!activeView)
        if (auto* current = qobject_cast<CChildWindow*>(frame_.mdiArea()->currentSubWindow()))
            activeView = dynamic_cast<CViewBase*>(current->widget());
    // The maximised record stands for the layout only while its window is the one open and still
    // maximised; otherwise the windows open are the layout, and none of them may be lost.
    const std::vector<CChildWindow*> open = Children();
    if (MultipleWindowsOn() && (open.size() != 1 || !open.front()->isMaximized()))
        maximised = -1;
    if (maximised >= 0 && MainFrameState().activeView) {
        windows[size_t(maximised)] = SaveViewToLayoutRecord(MainFrameState().activeView, true, true);
    } else {
        std::vector<CViewBase*> views;
        for (CChildWindow* child : Children())
            if (auto* view = dynamic_cast<CViewBase*>(child->widget()))
                views.push_back(view);
        std::vector<LayoutWindow> captured;
        std::vector<CViewBase*> saved;
        auto save = [&](CViewBase* v) {
            if (std::find(saved.begin(), saved.end(), v) != saved.end())
                return;
            saved.push_back(v);
            captured.push_back(SaveViewToLayoutRecord(v, v == activeView, captured.empty()));
        };
        for (ShareList* l = ShareListChain(); l; l = l->next) {
            for (CViewBase* v : views)
                if (v->list == l && !v->secondList)
                    save(v);
            for (CViewBase* v : views)
                if (v->list == l || v->secondList == l)
                    save(v);
        }
        windows = captured;
    }
    for (ShareList* l = ShareListChain(); l; l = l->next)
        if (l->number >= kSavedGroupOffset)
            l->number -= kSavedGroupOffset;
    SetLayoutSlotWindows(set.current, windows);
}

void CWindowFactory::CloseAllWindows()
{
    if (SlideShowRunning) {
        SlideShowRunning = 0;
        MainFrameState().activeView = nullptr;
    }
    for (const QPointer<CChildWindow>& child : children_) {
        if (!child)
            continue;
        if (auto* view = dynamic_cast<CViewBase*>(child->widget())) {
            UnlinkViewFromLists(view);
            view->list = view->secondList = nullptr;
        }
        child->setClosingSilently(true);
        child->close();
    }
    children_.clear();
    records_.clear();
    MainFrameState().activeView = nullptr;
    CurrentShareList() = nullptr;
    FreeUnusedViewGroups();
}

void CWindowFactory::ResetWindows()
{
    CurrentShareList() = nullptr;
    CloseAllWindows();
}

void CWindowFactory::ApplyLayout(int32_t portfolioNumber)
{
    CreateLayoutWindows();
    CViewBase* view = MainFrameState().activeView;
    const ShareList* list = view ? (view->list && view->list->source ? view->list : view->secondList) : nullptr;
    int32_t number = list && list->source ? list->source->number : portfolioNumber;
    PostListViewsRefresh(ShareListChain(), false);
    Portfolio* portfolio = number >= 0 ? PortfolioNumbered(number) : nullptr;
    if (portfolio && CurrentShareList())
        SetShareListSource(CurrentShareList(), portfolio, 0, 0, false, true);
}

void CWindowFactory::SelectLayout(int index)
{
    WindowLayoutSet& set = WindowLayouts();
    if (!MaySwitchLayout(index, set.current))
        return;
    {
        LayoutSwitchGuard guard;
        ShareList* current = CurrentShareList();
        int32_t portfolio = current ? current->sourceNumber : -1;
        if (index < 0)
            index = MultipleWindowsOn() ? 0 : kSingleWindowLayout;
        else
            SaveCurrentLayout();
        CurrentShareList() = nullptr;
        CloseAllWindows();
        set.current = index;
        ApplyLayout(portfolio);
    }
    frame_.RebuildMenuBar();
    // What waited while the lock was held runs now that it is free.
    PumpOnce();
}

void CWindowFactory::ClearLayoutTable()
{
    WindowLayoutSet& set = WindowLayouts();
    FreeLayouts(set, -1);
    for (WindowLayout& layout : set.layouts)
        layout = WindowLayout{};
}

bool CWindowFactory::OnCommand(uint32_t command)
{
    WindowLayoutSet& set = WindowLayouts();
    if (command >= kCommandFirstLayout && command <= kCommandLastLayout) {
        SelectLayout(int(command - kCommandFirstLayout));
        return true;
    }
    switch (command) {
    case kCommandSaveLayout:
        SaveCurrentLayout();
        SaveViews(set.current);
        return true;
    case kCommandSaveAllLayouts:
        SaveCurrentLayout();
        SaveViews(-1);
        return true;
    case kCommandRestoreLayout:
    case kCommandRestoreAllLayouts: {
        CloseAllWindows();
        LoadViews(command == kCommandRestoreLayout ? set.current : -1, LayoutContextFromConfig(0));
        const ShareList* current = CurrentShareList();
        ApplyLayout(current ? current->sourceNumber : -1);
        return true;
    }
    case kCommandResetLayouts: {
        if (ShowMessage("Are you sure you want to reset all your windows and layouts?", {}, MsgButtons::YesNo,
                        MsgIcon::Question, 1) != MsgAnswer::Yes)
            return true;
        ClearLayoutTable();
        AreaRect area = ClientArea();
        for (int slot = 0; slot < kUserLayoutCount; ++slot) {
            set.layouts[size_t(slot)].name = ResetLayoutName(slot);
            SetLayoutSlotWindows(slot, BuildDefaultLayout(slot, area));
        }
        SelectLayout(-1);
        return true;
    }
    case kCommandRelayLayout: {
        if (!MultipleWindowsOn())
            return true;
        CloseAllWindows();
        std::vector<LayoutWindow> windows = LayoutSlotWindows(set.current);
        for (LayoutWindow& w : windows)
            w.maximised = 0;
        SetLayoutSlotWindows(set.current, windows);
        const ShareList* current = CurrentShareList();
        ApplyLayout(current ? current->sourceNumber : -1);
        return true;
    }
    default: return false;
    }
}

bool CWindowFactory::UpdateCommand(CommandUi& ui) const
{
    uint32_t command = ui.command;
    if (command >= kCommandFirstLayout && command <= kCommandLastLayout) {
        ui.enabled = true;
        ui.checked = int(command - kCommandFirstLayout) == WindowLayouts().current;
        return true;
    }
    switch (command) {
    case kCommandSaveLayout:
    case kCommandSaveAllLayouts:
    case kCommandRestoreLayout:
    case kCommandRestoreAllLayouts:
    case kCommandResetLayouts:
    case kCommandRelayLayout: ui.enabled = true; return true;
    default: return false;
    }
}

bool CWindowFactory::OnMessage(uint32_t message, uintptr_t, intptr_t lParam)
{
    if (message != MSG_CHILD_WINDOW_CLOSED)
        return false;
    for (auto it = children_.begin(); it != children_.end(); ++it) {
        CChildWindow* child = it->data();
        if (!child || child->id() != uint32_t(lParam))
            continue;
        if (MainFrameState().activeView && ChildOf(MainFrameState().activeView) == child)
            MainFrameState().activeView = nullptr;
        records_.erase(child);
        children_.erase(it);
        break;
    }
    return true;
}

} // namespace qv
