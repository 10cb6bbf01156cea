// The trade list view.
#include "realtime/ui/ViewTradeList.h"

#include "core/ColumnDef.h"
#include "core/DateText.h"
#include "core/Memory.h"
#include "core/RecordAccess.h"
#include "core/RecordLookup.h"
#include "core/ShareList.h"
#include "core/SystemDate.h"
#include "core/UpperHooks.h"
#include "lists/CellValue.h"
#include "lists/ColumnCatalogues.h"
#include "lists/ListSettings.h"
#include "lists/ListTitle.h"
#include "platform/ByteOrder.h"
#include "platform/MessageDispatch.h"
#include "portfolio/TransactionRows.h"
#include "realtime/TimerQueue.h"
#include "realtime/TradeListSource.h"
#include "realtime/feed/RTEngine.h"
#include "realtime/store/RTStore.h"
#include "realtime/ui/TradeDialogs.h"
#include "resources/MessageIds.h"
#include "shell/ui/FindShareDlg.h"
#include "shell/ui/MainFrame.h"
#include "shell/ui/ModalDialog.h"
#include "shell/ui/StatusBarEx.h"
#include "views/FrameState.h"
#include "views/ViewGroupFields.h"
#include "views/ViewKinds.h"
#include "views/ui/ViewClassRegistry.h"

#include <QDateTime>
#include <QMouseEvent>

#include <algorithm>

namespace qv {
namespace {

enum : uint32_t {
    kShowTrades = 26890,
    kShowQuotes = 26891,
    kShowBoth = 26893,
    kPreviousDay = 27202,
    kNextDay = 27203,
    kChooseDay = 27204,
    kLatestDay = 27206,
};
// The add-column commands of templates 5-11 (trade price to bought or sold), which a list of quotes
// alone has no use for.
constexpr uint32_t kTradeOnlyColumns[] = {26817, 26818, 26824, 26821, 26820, 26972, 26973};
constexpr uint32_t kRebuildGapMs = 1000;
constexpr uint32_t kFlushTimerMs = 500;
constexpr size_t kChangeMarks = 28;
static_assert(kChangeMarks + 4 == TradeLayout::Size);

uint32_t SteadyMs() { return uint32_t(QDateTime::currentMSecsSinceEpoch()); }

bool TradeOnlyColumn(uint32_t command)
{
    return std::ranges::find(kTradeOnlyColumns, command) != std::end(kTradeOnlyColumns);
}

// The share a trade list's view group names: the u16 at byte 2 of its trade block.
void NoteGroupShare(ShareList* list, uint16_t share)
{
    ViewGroupFields fields = GetViewGroupFields(list);
    if (!fields.tradeBlock)
        fields.tradeBlock = ProCalloc(1, 4, "Trade list");
    if (fields.tradeBlock)
        StoreU16(static_cast<uint8_t*>(fields.tradeBlock) + 2, share);
    SetViewGroupFields(list, fields);
}

uint8_t UnitOfShare(uint16_t share)
{
    RecordCursor cursor{FindShareRecord(share), 0};
    return cursor.record ? uint8_t(GetShareFieldType(&cursor, 0)) : uint8_t(7);
}

uint16_t ProgramCurrentShare()
{
    const RecordCursor* entry = CurrentEntry(CurrentShareList());
    return entry ? EntryRecordId(*entry) : 0;
}

} // namespace

void WriteTradeRecord(const TradeListRow& row, uint8_t* r)
{
    std::fill(r, r + TradeLayout::Size, 0);
    StoreU32(r + TradeLayout::Time, row.time);
    StoreF32(r + TradeLayout::Bid, row.bid);
    StoreF32(r + TradeLayout::Offer, row.offer);
    StoreF32(r + TradeLayout::Price, row.price);
    StoreF32(r + TradeLayout::Volume, row.IsTrade() ? float(row.volume) : -1.0f);
    r[TradeLayout::Class] = uint8_t(row.type & kTickKindMask);
    r[TradeLayout::TradeType] = uint8_t(row.first & 0x1F);
    r[TradeLayout::Flags] = (row.type & 0x4000) ? 1 : 0;
    r[TradeLayout::Direction] = uint8_t(row.direction);
    r[TradeLayout::Centre] = row.first;
    r[TradeLayout::Unit] = row.unit;
    StoreU32(r + kChangeMarks, row.change);
}

CViewTradeList::CViewTradeList(PackedDate day, bool followLatest, QWidget* parent)
    : CViewBase(kViewTradeList), CViewListBase(kViewTradeList, parent), followLatest_(followLatest)
{
    const PackedDate newest = NewestDay();
    day_ = !followLatest && day >= 1 && day <= newest && IsValidPackedDate(day) ? day : newest;
    // Made on a request, the view the user was on is still the active one: its share is the one
    // asked for, which a trade list in a window of its own has no linked list to follow.
    if (const CViewBase* from = MainFrameState().activeView; from && from->list) {
        uint32_t id = 0, sub = 0;
        GetViewShare(from->secondList ? from->secondList : from->list, &id, &sub);
        if (id <= 0xFFFF)
            askedShare_ = uint16_t(id);
    }
    AddCommandTarget(this);
}

CViewTradeList::~CViewTradeList()
{
    RemoveCommandTarget(this);
    TimerQueue().RemoveMessage(*this);
    if (watching_)
        FreeRTWatchList(watch_);
    ForgetRows();
}

// A list outlives the view that filled it (another window can keep it, and the frame takes the view
// off its list before deleting it): no list may keep rows in the records that go with the view.
void CViewTradeList::ForgetRows()
{
    if (!records_.empty())
        ForgetRowsWithin(records_.data(), records_.data() + records_.size(), list);
}

PackedDate CViewTradeList::NewestDay() const
{
    const PackedDate newest = NewestRTStoredDay();
    return newest ? newest : GetTodayDate(0);
}

int32_t CViewTradeList::mode() const { return list ? std::clamp(list->tradeMarket, 0, 2) : kTradeListTrades; }

void CViewTradeList::PickShare()
{
    uint32_t id = 0, sub = 0;
    if (secondList && secondList->family != kFamilyTrades)
        GetViewShare(secondList, &id, &sub);
    // Without a list to follow: the share its own list holds (a window laid out again keeps the one
    // it showed), else the one asked for, else the program's current share.
    if (id == 0 && share_ == 0)
        id = list && list->currentId ? list->currentId : askedShare_ ? askedShare_ : ProgramCurrentShare();
    if (id != 0 && id <= 0xFFFF && id != share_) {
        share_ = uint16_t(id);
        Watch();
    }
}

void CViewTradeList::Watch()
{
    if (!RTStoreExists())
        return;
    if (!watching_) {
        InitRTWatchList(this, targetId(), watch_);
        watching_ = true;
    }
    BeginRTWatchListUpdate(watch_, true);
    if (share_)
        AddRTWatchShare(ShareRef{nullptr, 0, share_}, watch_);
    EndRTWatchListUpdate(watch_);
}

void CViewTradeList::ShowShare(uint16_t share)
{
    share_ = share;
    Watch();
    BuildRows();
}

void CViewTradeList::ShowDay(PackedDate day)
{
    day_ = day;
    followLatest_ = day_ == NewestDay();
}

void CViewTradeList::SetMode(int32_t mode)
{
    if (!list)
        return;
    list->tradeMarket = mode;
    qv::SelectColumnSetting(list, kind, std::max(list->tableSetting, 0), false, false);
    RebuildAndRepaint();
}

void CViewTradeList::BuildRows()
{
    lastBuild_ = clock_ ? clock_() : SteadyMs();
    built_ = true;
    if (!list)
        AttachListSource(kFamilyTrades, nullptr, 0);
    if (!list)
        return;
    const std::vector<IntradayTick> ticks = ReadRTShareDayTicks(share_, day_);
    rows_ = BuildTradeListRows(ticks, mode(), UnitOfShare(share_));
    ForgetRows();
    records_.assign(rows_.size() * TradeLayout::Size, 0);
    std::vector<RecordCursor> cursors;
    cursors.reserve(rows_.size());
    for (size_t i = 0; i < rows_.size(); ++i) {
        WriteTradeRecord(rows_[i], records_.data() + i * TradeLayout::Size);
        cursors.push_back(RecordCursor{records_.data() + i * TradeLayout::Size, 0});
    }
    SetListRows(list, cursors);
    list->currentId = share_;
    NoteGroupShare(list, share_);
    list->firstVisible = 0;
    // Sorted in place by the list's column and direction; the trade layout stays.
    if (const auto& sort = CoreUpperHooks().sortList)
        sort(list, (list->sortColumn + 1) * list->sortDirection);
}

void CViewTradeList::RebuildAndRepaint()
{
    BuildRows();
    UpdateTitle();
    update();
}

void CViewTradeList::OnRefresh()
{
    if (!list)
        AttachListSource(kFamilyTrades, nullptr, 0);
    if (!list)
        return;
    PickShare();
    ApplyListSortSetting(list, 0);
    qv::SelectColumnSetting(list, kind, std::max(list->tableSetting, 0), false, false);
    BuildRows();
    CViewListBase::OnRefresh();
    UpdateTitle();
    update();
}

bool CViewTradeList::OnPriceUpdate()
{
    if (!list)
        return false;
    const uint32_t now = clock_ ? clock_() : SteadyMs();
    if (built_ && now - lastBuild_ < kRebuildGapMs) {
        pending_ = true;
        return false;
    }
    pending_ = false;
    const PackedDate newest = NewestDay();
    if (followLatest_ && newest > day_)
        day_ = newest;
    BuildRows();
    list->current = 0;
    update();
    return true;
}

void CViewTradeList::OnFlushTimer()
{
    const uint32_t now = clock_ ? clock_() : SteadyMs();
    if (pending_ && now - lastBuild_ > kRebuildGapMs)
        OnPriceUpdate();
}

intptr_t CViewTradeList::onProgramMessage(uint32_t message, uintptr_t wParam, intptr_t lParam)
{
    if (message == kMsgRTNewData) {
        OnPriceUpdate();
        return 0;
    }
    if (message == kMsgRTRefreshAll) {
        RebuildAndRepaint();
        return 0;
    }
    if (message == kWindowTimerMessage) {
        OnFlushTimer();
        return 0;
    }
    if (message == WM_COMMAND && (wParam & 0xFFFF) != ID_REFRESH && RunCommand(uint32_t(wParam & 0xFFFF)))
        return 1;
    return CViewListBase::onProgramMessage(message, wParam, lParam);
}

bool CViewTradeList::UpdateCommand(CommandUi& ui)
{
    if (MainFrameState().activeView != static_cast<const CViewBase*>(this))
        return false;
    const PackedDate newest = NewestDay();
    switch (ui.command) {
    case kShowTrades:
    case kShowQuotes:
    case kShowBoth:
        ui.enabled = true;
        ui.checked = int32_t(ui.command == kShowTrades ? 0 : ui.command == kShowQuotes ? 1 : 2) == mode();
        return true;
    case kPreviousDay:
    case kChooseDay: ui.enabled = true; return true;
    case kNextDay:
    case kLatestDay: ui.enabled = day_ < newest; return true;
    default: break;
    }
    if (mode() == kTradeListQuotes && TradeOnlyColumn(ui.command)) {
        ui.hidden = true;
        return true;
    }
    return UpdateListCommand(ui);
}

bool CViewTradeList::RunCommand(uint32_t command)
{
    if (MainFrameState().activeView != static_cast<const CViewBase*>(this))
        return false;
    const PackedDate newest = NewestDay();
    if (mode() == kTradeListQuotes && TradeOnlyColumn(command))
        return true;
    switch (command) {
    case kShowTrades: SetMode(kTradeListTrades); return true;
    case kShowQuotes: SetMode(kTradeListQuotes); return true;
    case kShowBoth: SetMode(kTradeListBoth); return true;
    case kPreviousDay:
        day_ = PreviousWeekday(day_, false);
        followLatest_ = false;
        RebuildAndRepaint();
        return true;
    case kNextDay:
        if (day_ >= newest)
            return true;
        ShowDay(NextWeekday(day_));
        RebuildAndRepaint();
        return true;
    case kChooseDay: ChooseDay(); return true;
    case kLatestDay:
        day_ = newest;
        followLatest_ = true;
        RebuildAndRepaint();
        return true;
    default: return RunListCommand(command);
    }
}

void CViewTradeList::ChooseDay()
{
    CTradeListDateDlg dialog(day_, NewestDay(), this);
    if (RunModalDialog(dialog) != QDialog::Accepted || dialog.day() == day_)
        return;
    ShowDay(dialog.day());
    RebuildAndRepaint();
}

bool CViewTradeList::GetTradeTotals(TradeTotals& out)
{
    const uint8_t unit = UnitOfShare(share_);
    if (mode() == kTradeListQuotes) {
        out = ReadRTTradeTotals(share_, day_, unit);
    } else {
        out = SumTradeTotals(rows_);
        out.share = share_;
        out.day = day_;
        out.unit = unit;
    }
    return out.count[0] > 0;
}

bool CViewTradeList::OnFindShareKey(uint32_t character)
{
    const bool letterOrDigit = (character >= 'A' && character <= 'Z') || (character >= 'a' && character <= 'z') ||
                               (character >= '0' && character <= '9');
    if (!letterOrDigit)
        return CViewListBase::OnFindShareKey(character);
    CFindShareDlg dialog(this);
    dialog.setFirstKey(character);
    if (dialog.run() != QDialog::Accepted || !dialog.chosen().record)
        return true;
    ShowShare(RecordId(dialog.chosen().record));
    InvalidateLinkedViews(false, false);
    UpdateTitle();
    update();
    return true;
}

int CViewTradeList::GetUpDownState(const uint8_t* column, int row, const CellValue&)
{
    const RecordCursor* entry = list ? ShareListEntry(list, row) : nullptr;
    if (!entry || !entry->record)
        return 0;
    const uint32_t change = LoadU32(entry->record + kChangeMarks);
    switch (ColumnDefCode(column)) {
    case 2: return ChangeState(change, kChangeBidShift);
    case 3: return ChangeState(change, kChangeMidShift);
    case 4: return ChangeState(change, kChangeOfferShift);
    default: return 0;
    }
}

bool CViewTradeList::HasUpDownColour(const uint8_t* column)
{
    return TradeColumnShowsMoves(ColumnDefCode(column));
}

void CViewTradeList::ShowStatusTexts()
{
    CViewListBase::ShowStatusTexts();
    auto* frame = dynamic_cast<CMainFrame*>(MainFrameTarget());
    if (frame && frame->statusBarEx() && active && list)
        frame->statusBarEx()->SetPaneText(3, QStringLiteral("Trade List"));
}

void CViewTradeList::AddTitleParts(ListTitleParts& parts) const
{
    if (const uint8_t* record = share_ ? FindShareRecord(share_) : nullptr)
        parts.shareName = std::string(GetRecordName(record));
    parts.longDate = FormatFullDate(day_);
}

void CViewTradeList::paintEvent(QPaintEvent* event)
{
    uint32_t id = 0, sub = 0;
    if (secondList && secondList->family != kFamilyTrades)
        GetViewShare(secondList, &id, &sub);
    if (id != 0 && id != share_) {
        PickShare();
        BuildRows();
    }
    CViewListBase::paintEvent(event);
}

void CViewTradeList::mouseDoubleClickEvent(QMouseEvent* event)
{
    const int y = event->position().toPoint().y();
    if (!list || y < headingTop_ || InHeadingBand(y)) {
        CViewListBase::mouseDoubleClickEvent(event);
        return;
    }
    CTradeSummaryDlg::Open(this, this);
}

void CViewTradeList::showEvent(QShowEvent* event)
{
    CViewListBase::showEvent(event);
    TimerQueue().AddMessage(*this, kFlushTimerMs);
}

void CViewTradeList::hideEvent(QHideEvent* event)
{
    TimerQueue().RemoveMessage(*this);
    CViewListBase::hideEvent(event);
}

void InstallTradeListViewClass()
{
    RegisterViewClass(kViewTradeList, [](int32_t) -> CViewBaseWnd* { return new CViewTradeList; });
}

} // namespace qv
