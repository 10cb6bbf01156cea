// The view base: attaching to a share list, the view chains, titles and re-syncing the group.
#include "views/ViewBase.h"

#include "core/ConfigState.h"
#include "core/RecordAccess.h"
#include "core/Database.h"
#include "core/Memory.h"
#include "core/Portfolio.h"
#include "core/SectorFilter.h"
#include "core/ShareList.h"
#include "core/StringPrintf.h"
#include "core/SystemDate.h"
#include "portfolio/TransactionRows.h"
#include "realtime/TradeListSource.h"
#include "resources/MessageIds.h"
#include "views/CommandUpdate.h"
#include "views/FrameState.h"
#include "views/ViewGroupFields.h"
#include "views/ViewKinds.h"

#include <algorithm>
#include <array>
#include <vector>

namespace qv {

uint8_t WindowNumberingOption = 0;
uint8_t ListTipOption = 1;
uint8_t DataMiningOwnSettingOption = 0;
std::string& ApplicationTitle()
{
    static std::string title = "Quorvantis";
    return title;
}

namespace {

constexpr int32_t kCapacitySlack = 4100;
constexpr uint32_t kRedrawReleased = 1098;

IntradayRowLoader intradayLoader = nullptr;

std::vector<CViewBase*>& LiveViews()
{
    static std::vector<CViewBase*> views;
    return views;
}

constexpr std::array<const char*, 35> kListNames{
    "All", "Shares", "Investment Trusts", "Indices", "FTSE 100", "FTSE 250", "FTSE SmallCap", "Fledgling",
    "Non-index", "AIM", "Warrant", "Preference", "Convertibles", "Income", "Capital", "Other", "Imports",
    "FTSE 350", "Unit Trusts", "TechMark", "FT 30", "TechMark 100", "Gilts", "Commodities", "Foreign Exchange",
    "Intraday Holding List", "Bonds", "Exchange Traded Funds", "LSE", "NASDAQ", "NYSE", "AMEX", "Europe", "U.S.",
    "U.K.",
};

void LinkAtHead(CViewBase* view, ShareList* list)
{
    for (CViewBase* v = list->views; v; v = v->nextInList)
        if (v == view)
            return;
    view->nextInList = list->views;
    list->views = view;
}

void UnlinkFrom(CViewBase* view, ShareList* list)
{
    for (CViewBase** link = &list->views; *link; link = &(*link)->nextInList) {
        if (*link == view) {
            *link = view->nextInList;
            view->nextInList = nullptr;
            return;
        }
    }
}

int32_t ChainLength(const ShareList* list)
{
    int32_t n = 0;
    for (const CViewBase* v = list ? list->views : nullptr; v; v = v->nextInList)
        ++n;
    return n;
}

// The row array is resized only when its capacity lies outside [capacity, capacity + slack].
void SizeRowArray(ShareList* list, int32_t capacity)
{
    if (!list->entries) {
        list->entries = static_cast<RecordCursor*>(ProCalloc(uint32_t(capacity) + 1, sizeof(RecordCursor), "View rows"));
        list->capacity = capacity + 1;
        MarkNeedsRefill(list);
        return;
    }
    if (list->capacity >= capacity && list->capacity <= capacity + kCapacitySlack)
        return;
    RecordCursor* old = list->entries;
    int32_t oldCapacity = list->capacity;
    int32_t newCapacity = capacity + 1;
    auto* grown = static_cast<RecordCursor*>(ProCalloc(uint32_t(newCapacity), sizeof(RecordCursor), "View rows"));
    std::copy_n(old, std::min(oldCapacity, newCapacity), grown);
    grown[newCapacity - 1] = RecordCursor{}; // the array stays ended by an empty entry
    for (Portfolio* p = PortfolioChain(); p; p = p->next)
        if (p->entries == old)
            p->entries = grown;
    ProFree(old);
    list->entries = grown;
    list->capacity = newCapacity;
    if (list->current >= newCapacity || list->firstVisible >= newCapacity || list->last >= newCapacity) {
        list->current = 0;
        list->firstVisible = 0;
        list->last = 0;
    }
}

bool ViewTakesSettingOfLinked(int32_t kind)
{
    return IsTableViewKind(kind);
}

} // namespace

CViewBase::CViewBase(int32_t viewKind) : MessageTarget(viewKind), kind(viewKind)
{
    viewDate = GetTodayDate(0);
    LiveViews().push_back(this);
}

CViewBase::~CViewBase()
{
    UnlinkViewFromLists(this);
    NoteViewFocusLost(this);
    std::erase(LiveViews(), this);
    list = nullptr;
    secondList = nullptr;
}

bool CViewBase::KeepsOwnSetting() const
{
    return IsChartViewKind(kind) || kind == kViewTicker || (kind == kViewDataMining && Config().dataMining.bytes[0] != 0);
}

void CViewBase::SelectColumnSetting(int32_t number, bool, bool)
{
    if (number < 0)
        return;
    if (KeepsOwnSetting())
        secondKey = number;
    else if (list)
        list->tableSetting = number;
}

void CViewBase::SetKind(int32_t viewKind)
{
    kind = viewKind;
    setTargetKind(viewKind);
}

void CViewBase::SetWindowState(bool exists, bool visible)
{
    windowExists_ = exists;
    windowVisible_ = visible;
}

intptr_t CViewBase::onProgramMessage(uint32_t message, uintptr_t wParam, intptr_t)
{
    if (message != WM_COMMAND)
        return 0;
    switch (wParam & 0xFFFF) {
    case ID_REFRESH: OnRefresh(); return 1;
    case kCommandNewHighs: OnToggleNewHighs(); return 1;
    case kCommandNewLows: OnToggleNewLows(); return 1;
    default: return 0;
    }
}

bool CViewBase::UpdateCommandUi(CommandUi& ui) const
{
    if (ui.command != kCommandNewHighs && ui.command != kCommandNewLows)
        return false;
    CommandState state = ui.command == kCommandNewHighs ? OnUpdateNewHighs() : OnUpdateNewLows();
    ui.enabled = state.enabled;
    ui.checked = state.checked;
    return true;
}

void CViewBase::OnRefresh() { InvalidateWindow(); }

void CViewBase::SetResyncCode(uint32_t) {}

bool CViewBase::GetTradeTotals(TradeTotals& out)
{
    out = TradeTotals{};
    const RecordCursor* entry = CurrentEntry(list);
    const RecordCursor share = entry && entry->record ? ShareOfRow(*list, *entry) : RecordCursor{};
    if (!share.record)
        return false;
    RecordCursor cursor = share;
    out = ReadRTTradeTotals(EntryRecordId(share), 0, uint8_t(GetShareFieldType(&cursor, 0)));
    return out.count[0] > 0;
}

bool CViewBase::OnFindShareKey(uint32_t character)
{
    FrameHooks* frame = MainFrameHooks();
    return frame && frame->FindShareFromKey(character);
}

void CViewBase::OnSetFocus()
{
    if (active) {
        NoteViewFocus(this, list ? list->word : -1);
        if (FrameHooks* frame = MainFrameHooks()) {
            frame->RebuildMenuBar();
            frame->RefreshToolbars();
        }
    }
    hasFocus = 1;
}

void CViewBase::OnKillFocus()
{
    hasFocus = 0;
    NoteViewFocusLost(this);
}

bool CViewBase::AttachListSource(int32_t sourceKind, Portfolio* source, int32_t capacity)
{
    if (capacity < 0)
        capacity = DatabaseElementCount + kCapacitySlack;
    if (list && list->family == sourceKind)
        capacity = std::max(capacity, list->capacity);
    if (!list || list->family != sourceKind)
        CreateListSource(this, capacity, sourceKind, source);
    if (!list)
        return false;

    UnlinkViewFromLists(this);
    if (secondList && secondList->family == list->family) {
        list = secondList;
        LinkAtHead(this, list);
        return true;
    }
    LinkAtHead(this, list);
    if (!source || list->family != kFamilyShares) {
        list->source = source;
        list->sourceNumber = source ? source->number : -1;
        if (sourceKind != kFamilyTicker)
            SizeRowArray(list, capacity);
    } else {
        SetShareListSource(list, source, 0, 0, false, false);
    }
    // A view sits in one chain only: that of the list it follows, when it follows one.
    if (secondList) {
        UnlinkFrom(this, list);
        LinkAtHead(this, secondList);
    }
    return true;
}

void CViewBase::InvalidateLinkedViews(bool resync, bool clear)
{
    ViewNode* others = GetOtherViewsOfList(this);
    for (ViewNode* n = others; n; n = n->next) {
        CViewBase* v = n->view;
        if (v->kind == kind && ViewTakesSettingOfLinked(v->kind))
            v->secondKey = secondKey;
        if (clear)
            v->intradayMark = 0;
        if (resync)
            v->SetResyncCode(HINT_REDO_EVERYTHING);
        v->InvalidateWindow();
    }
    FreeViewNodes(others);
}

void CViewBase::InvalidateAllViews()
{
    InvalidateWindow();
    InvalidateLinkedViews(true, false);
    const ShareList* mine = secondList ? secondList : list;
    for (ShareList* l = ShareListChain(); l; l = l->next) {
        if (l == mine)
            continue;
        for (CViewBase* v = l->views; v; v = v->nextInList)
            if (v->WindowExists() && v->WindowVisible())
                v->InvalidateWindow();
    }
}

void CViewBase::ForceRefresh()
{
    if (kind != kViewDataMining)
        MarkNeedsRefill(list);
    SendProgramMessage(*this, WM_COMMAND, ID_REFRESH);
    InvalidateWindow();
    InvalidateLinkedViews(true, false);
}

std::string CViewBase::GetSourceTitle(bool detail) const
{
    if (!list)
        return {};
    if (kind == kViewDataMining) {
        if (!GetDataMiningFilter())
            return "No filter selected";
        return "Filter " + GetDataMiningFilterName();
    }
    const Portfolio* source = list->source;
    bool userPortfolio = source && (source->type == kUserPortfolio || source->type == kGroupPortfolio);
    std::string title = userPortfolio ? "Portfolio" : "List";
    if (portfolioGraphMode == 4)
        title += " value";
    else if (portfolioGraphMode == 8)
        title += " profit/loss";
    title += ": ";
    if (userPortfolio)
        return title + PortfolioDisplayName(source);
    // A pre-set portfolio ("New Highs", "Alarms - Global") goes by its name; a fixed list by its
    // list number, its own or its source's.
    if (source && !source->name.empty())
        return title + source->name.str();
    title += ListCodeName(source ? source->number : list->word);
    (void)detail; // the list's description text comes with the list catalogue
    return title;
}

std::string CViewBase::DecorateTitle(const std::string& title) const
{
    if (!WindowNumberingOption)
        return ApplicationTitle() + " - " + title;
    const ShareList* numbered = list;
    bool linked = false;
    if (secondList && ChainLength(secondList) > 1) {
        numbered = secondList;
        linked = true;
    } else if (list && ChainLength(list) > 1) {
        linked = true;
    }
    std::string text = StringPrintf("%02d ", numbered ? numbered->number + 1 : 0) + title;
    return linked ? text + " (Linked)" : text;
}

ShareList* CViewBase::GetActiveShareList() const
{
    if (secondList && list && secondList->family == list->family)
        return secondList;
    return list;
}

int32_t CViewBase::GetSettingIndex() const
{
    if (!list || kind > 10 || kind < 0)
        return -1;
    if (IsOneShareViewKind(kind) || (kind == kViewDataMining && DataMiningOwnSettingOption))
        return secondKey;
    return list->tableSetting;
}

void CViewBase::FollowLinkedShare()
{
    if (!secondList || secondList->family == kFamilyShares || !list || !list->entries)
        return;
    uint32_t id = 0, sub = 0;
    GetViewShare(secondList, &id, &sub);
    if (id == list->currentId)
        return;
    list->currentId = id;
    int32_t count = ShareListCount(list);
    for (int32_t i = 0; i < count; ++i) {
        if (EntryRecordId(list->entries[i]) == id) {
            list->current = i;
            break;
        }
    }
    SendProgramMessage(*this, WM_COMMAND, ID_REFRESH);
}

bool CViewBase::IsNotCurrentRow(const RecordCursor* entry) const
{
    if (!entry)
        return true;
    if (!list)
        return false;
    return kind != kViewTradeList && entry != CurrentEntry(list);
}

bool CViewBase::ClearPendingRedraw()
{
    if (!redrawPending)
        return false;
    redrawPending = 0;
    if (MessageTarget* frame = MainFrameTarget())
        PostProgramMessage(*frame, kRedrawReleased);
    InvalidateWindow();
    return true;
}

void CViewBase::ToggleHighsLows(bool highs)
{
    if (!list)
        return;
    SectorFilter filter = SectorFilterOf(*list);
    bool on = highs ? !filter.newHighsOnly : !filter.newLowsOnly;
    filter.newHighsOnly = highs && on;
    filter.newLowsOnly = !highs && on;
    filter.sectorFilterOn = 0;
    SetSectorFilter(*list, filter);
    SaveSectorFilter(*list);
    ForceRefresh();
}

CViewBase::CommandState CViewBase::HighsLowsState(bool highs) const
{
    CommandState state;
    state.enabled = true;
    // Without lists keeping their own filters, the program-wide options decide.
    SectorFilter filter = FixedSectorFilter() && list ? SectorFilterOf(*list) : SectorFilterDefaults();
    state.checked = highs ? filter.newHighsOnly != 0 : filter.newLowsOnly != 0;
    state.pressed = filter.newHighsOnly || filter.newLowsOnly;
    return state;
}

bool CViewBase::LoadRowIntraday()
{
    intradayMark = 0;
    if (!list || !intradayLoader)
        return false;
    // The row's share by the list's family: a transaction's, a news story's, a dealing's share
    // number, a trade list's own share, else the row's record.
    uint32_t id = 0, sub = 0;
    GetViewShare(list, &id, &sub);
    return id != 0 && intradayLoader(list, id, sub);
}

void SetIntradayRowLoader(IntradayRowLoader loader) { intradayLoader = loader; }

uint8_t GetGraphViewOption(const CViewBase* view)
{
    return view && IsChartViewKind(view->kind) ? view->GraphTrainingMode() : 0;
}

bool HasParentLink(const CViewBase& view)
{
    return view.kind == kViewDailyChart && view.secondList && IsTableViewKind(view.previousListKind);
}

ShareList* CreateListSource(CViewBase* view, int32_t number, int32_t kind, Portfolio* source)
{
    if (!view)
        return nullptr;
    ShareList* old = view->list;
    if (old) {
        UnlinkFrom(view, old);
        view->list = nullptr;
        // Other views may still show the old list: free only what nothing else uses.
        if (IsViewGroupUnused(old))
            FreeViewGroup(old);
    }
    ShareList* list = CreateShareList(std::max(number, 1), 0, kind, kind == kFamilyShares ? nullptr : source, true);
    MarkNeedsRefill(list);
    view->list = list;
    LinkAtHead(view, list);
    return list;
}

void UnlinkViewFromLists(CViewBase* view)
{
    for (ShareList* l = ShareListChain(); l; l = l->next)
        UnlinkFrom(view, l);
    // A list taken out of the chain may still be named by the view.
    for (ShareList* l : {view->list, view->secondList})
        if (l)
            UnlinkFrom(view, l);
}

int32_t CountRowArrayUsers(const ShareList* list)
{
    if (!list || !list->entries)
        return 0;
    int32_t n = 0;
    for (const ShareList* l = ShareListChain(); l; l = l->next)
        n += l->entries == list->entries;
    for (const Portfolio* p = PortfolioChain(); p; p = p->next)
        n += p->entries == list->entries;
    return n;
}

bool IsViewGroupUnused(const ShareList* list)
{
    if (!list || list->views || list == CurrentShareList())
        return false;
    for (const CViewBase* v : LiveViews())
        if (v->list == list || v->secondList == list)
            return false;
    return true;
}

bool IsShareListLive(const ShareList* list)
{
    for (const ShareList* l = ShareListChain(); l; l = l->next)
        if (l == list)
            return true;
    return false;
}

int32_t CountLinkedViews(const CViewBase* view, const ShareList* list, uint32_t* kindMask)
{
    int32_t n = 0;
    uint32_t mask = 0;
    for (const CViewBase* v : LiveViews()) {
        if (v == view)
            continue;
        const ShareList* followed = v->secondList ? v->secondList : v->list;
        if (followed != list)
            continue;
        ++n;
        if (v->kind >= 0 && v->kind < 32)
            mask |= 1u << v->kind;
    }
    if (kindMask)
        *kindMask = mask;
    return n;
}

int32_t LiveViewCount() { return int32_t(LiveViews().size()); }
CViewBase* LiveView(int32_t index) { return LiveViews()[size_t(index)]; }

const char* ListCodeName(int32_t code)
{
    return code >= 0 && code < int32_t(kListNames.size()) ? kListNames[size_t(code)] : "";
}

std::string PortfolioDisplayName(const Portfolio* portfolio)
{
    if (!portfolio)
        return {};
    if (!portfolio->name.empty())
        return portfolio->name.str();
    return StringPrintf("Portfolio %u", unsigned(portfolio->number) + 1);
}

void ResizeBitSet(BitSet& set, uint16_t count)
{
    if (count == 0) {
        ProFree(set.bits);
        set = BitSet{};
        return;
    }
    uint32_t bytes = (uint32_t(count) + 7) / 8;
    if (count > set.capacity) {
        ProFree(set.bits);
        set.bits = static_cast<uint8_t*>(ProCalloc(bytes, 1, "Bit set"));
        set.capacity = uint16_t(std::min<uint32_t>(bytes * 8, 0xFFFF));
    }
    std::fill_n(set.bits, bytes, uint8_t(0));
    set.count = count;
}

uint8_t PackDisplayFlags(const DisplayOptions& o)
{
    uint8_t b = 0;
    b |= o.bit0 ? 0x01 : 0;
    b |= o.bit1 ? 0x02 : 0;
    b |= o.bit2 ? 0x04 : 0;
    b |= o.bit3 ? 0x08 : 0;
    b |= o.bit4 ? 0x10 : 0;
    b |= o.threeWay == 1 ? 0x40 : o.threeWay == 2 ? 0x20 : 0;
    return b;
}

ViewNode* GetOtherViewsOfList(const CViewBase* view)
{
    if (!view)
        return nullptr;
    const ShareList* list = view->secondList ? view->secondList : view->list;
    if (!list)
        return nullptr;
    ViewNode* head = nullptr;
    ViewNode** tail = &head;
    for (CViewBase* v = list->views; v; v = v->nextInList) {
        if (v == view)
            continue;
        auto* node = static_cast<ViewNode*>(ProCalloc(1, sizeof(ViewNode), "View list"));
        node->view = v;
        *tail = node;
        tail = &node->next;
    }
    return head;
}

void FreeViewNodes(ViewNode* nodes)
{
    while (nodes) {
        ViewNode* next = nodes->next;
        ProFree(nodes);
        nodes = next;
    }
}

bool ShareListHasOtherViews(const CViewBase* view)
{
    ViewNode* nodes = GetOtherViewsOfList(view);
    bool any = nodes != nullptr;
    FreeViewNodes(nodes);
    return any;
}

} // namespace qv
