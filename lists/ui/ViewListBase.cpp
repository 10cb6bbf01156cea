// The list view engine: layout, paint into one image, title, list messages.
#include "lists/ui/ViewListBase.h"

#include "core/ColumnDef.h"
#include "core/ConfigDefaults.h"
#include "core/ConfigRecords.h"
#include "core/SectorFilter.h"
#include "core/ShareList.h"
#include "lists/ColumnFit.h"
#include "lists/ColumnHeading.h"
#include "lists/ListColumnCommands.h"
#include "lists/ListRows.h"
#include "lists/ListSettings.h"
#include "lists/ListStyle.h"
#include "lists/ListTitle.h"
#include "lists/ListViewOptions.h"
#include "lists/RowSort.h"
#include "platform/ByteOrder.h"
#include "platform/MessageDispatch.h"
#include "platform/qt/QtText.h"
#include "realtime/feed/RTEngine.h"
#include "realtime/store/RTStore.h"
#include "shell/ListTipRules.h"
#include "shell/StatusPaneTexts.h"
#include "shell/ui/MainFrame.h"
#include "shell/ui/StatusBarEx.h"
#include "views/FrameState.h"

#include <QMouseEvent>
#include <QPainter>
#include <QScrollBar>
#include <QStyle>
#include <QTimer>
#include <QWheelEvent>

#include <algorithm>
#include <chrono>

namespace qv {
namespace {

// An intraday column record: its days back at byte 29.
constexpr size_t kIntradayColumnBytes = 31;
constexpr size_t kIntradayDaysBack = 29;
constexpr uint8_t kFieldI = 'I';

// The clock the live re-sort throttle counts in: milliseconds, wrapping at 32 bits.
uint32_t TickMilliseconds()
{
    using namespace std::chrono;
    return uint32_t(duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count());
}

// The rows of the view's share list, formatted by the cell engine.
class ShareListRows : public ListRowSource {
public:
    ShareListRows(CViewListBase& view, ShareList* list) : view_(view), list_(list) {}
    int RowCount() const override { return ShareListCount(list_); }
    int CurrentRow() const override { return list_->current; }
    std::string CellText(int row, const uint8_t* column, CellValue& value) override
    {
        RecordCursor* entry = ShareListEntry(list_, row);
        if (!entry)
            return {};
        char text[kCellTextBytes];
        size_t n = FormatColumnValue(entry->record, entry->count, column, text, sizeof text, row + 1, list_, 0);
        value = LastCellValue();
        return std::string(text, n);
    }
    bool HasUpDownColour(const uint8_t* column) override { return view_.HasUpDownColour(column); }
    // An 'I' column's arrow is the share's last trade's direction.
    int UpDownState(const uint8_t* column, int row, const CellValue& value) override
    {
        const auto& direction = CurrentCellSources().intradayDirection;
        RecordCursor* entry = ShareListEntry(list_, row);
        if (ColumnDefCode(column) == kFieldI && direction && entry && list_->family == kFamilyShares &&
            column[ColumnDefLayout::Length] >= kIntradayColumnBytes)
            return direction(entry->record, LoadU16(column + kIntradayDaysBack));
        return view_.GetUpDownState(column, row, value);
    }
    int Family() const override { return list_->family; }
    int FlashState(int row, const uint8_t* column) override
    {
        const auto& flash = CurrentCellSources().intradayFlash;
        RecordCursor* entry = ShareListEntry(list_, row);
        return flash && entry && list_->family == kFamilyShares ? flash(entry->record, ColumnDefCode(column)) : 0;
    }
    bool GraphDay(int row, const uint8_t* column, IntradayGraphDay& day) override
    {
        const auto& read = CurrentCellSources().intradayDay;
        RecordCursor* entry = ShareListEntry(list_, row);
        if (!read || !entry || list_->family != kFamilyShares || column[ColumnDefLayout::Length] < kIntradayColumnBytes)
            return false;
        return read(entry->record, LoadU16(column + kIntradayDaysBack), day);
    }

private:
    CViewListBase& view_;
    ShareList* list_;
};

} // namespace

bool CViewListBase::HasHeaderStrip(int kind)
{
    return kind == 2 || kind == 4 || kind == 5 || kind == 7 || kind == 8;
}

CViewListBase::CViewListBase(int32_t kind, QWidget* parent) : CViewBase(kind), CViewBaseWnd(kind, parent)
{
    setAttribute(Qt::WA_OpaquePaintEvent);
    setAutoFillBackground(false);
    // The cursor shapes and the cell tip follow the mouse without a button held.
    setMouseTracking(true);
    vbar_ = new QScrollBar(Qt::Vertical, this);
    hbar_ = new QScrollBar(Qt::Horizontal, this);
    vbar_->hide();
    hbar_->hide();
    connect(vbar_, &QScrollBar::valueChanged, this, [this](int value) {
        if (settingBars_ || !list)
            return;
        list->firstVisible = value;
        update();
    });
    connect(hbar_, &QScrollBar::valueChanged, this, [this](int value) {
        if (settingBars_)
            return;
        grid_.SetGridScrollPos(value);
        update();
    });
}

CViewListBase::~CViewListBase()
{
    if (watching_)
        FreeRTWatchList(liveWatch_);
}

bool CViewListBase::ShowsIntradayColumns() const
{
    if (!list || !list->columnLayout)
        return false;
    for (int c = 0;; ++c) {
        const uint8_t* def = GetColumnDef(list->columnLayout, c);
        if (!def || def[0] == 0 || c >= kMaxLayoutColumns)
            return false;
        if (def[0] >= kColumnDefBytes && ColumnDefKind(def) == kColumnIntraday)
            return true;
    }
}

void CViewListBase::WatchVisibleRows()
{
    // The feed keeps exactly the shown shares of a table with intraday columns live.
    if (!list || !RTStoreExists() || (kind != 1 && kind != 2 && kind != 6) || list->family != kFamilyShares)
        return;
    if (!ShowsIntradayColumns() && !watching_)
        return;
    if (!watching_) {
        InitRTWatchList(this, targetId(), liveWatch_);
        watching_ = true;
    }
    BeginRTWatchListUpdate(liveWatch_, true);
    if (ShowsIntradayColumns()) {
        const int first = grid_.firstRow(), count = ShareListCount(list);
        for (int row = first; row < std::min(count, first + grid_.visibleRows() + 1); ++row)
            if (RecordCursor* entry = ShareListEntry(list, row))
                AddRTWatchShare(ShareRef{entry->record, 0, 0}, liveWatch_);
    }
    EndRTWatchListUpdate(liveWatch_);
}

void CViewListBase::SelectColumnSetting(int32_t number, bool deferredSort, bool reset)
{
    if (number < 0 || !list || KeepsOwnSetting()) {
        CViewBase::SelectColumnSetting(number, deferredSort, reset);
        return;
    }
    if (!qv::SelectColumnSetting(list, kind, number, deferredSort, reset).resetGrid)
        return;
    list->firstVisible = 0;
    grid_.SetGridScrollPos(0);
}

int CViewListBase::GetUpDownState(const uint8_t*, int, const CellValue&) { return 2; }

bool CViewListBase::HasUpDownColour(const uint8_t*) { return false; }

void CViewListBase::SetResyncCode(uint32_t code)
{
    CViewBaseWnd::SetResyncCode(code);
    resync_ = code;
}

void CViewListBase::NotifyListChanged(bool repaint)
{
    headings_.BuildHeadings(list, list ? list->columnLayout : nullptr);
    if (repaint)
        update();
}

intptr_t CViewListBase::onProgramMessage(uint32_t message, uintptr_t wParam, intptr_t lParam)
{
    switch (message) {
    case kMsgListChanged: NotifyListChanged(lParam == 0); return 0;
    case kMsgColumnFormatChanged: {
        int column = int(wParam & 0xFFFF);
        if (column < grid_.columnCount())
            for (int band = 0; band <= std::max(grid_.lastBand(), 1); ++band) {
                GridBand b = grid_.UpdateGridVisibleRange(band);
                update(QRect(grid_.columnX(column) + b.xOffset, 0, grid_.columnX(column + 1) - grid_.columnX(column), height()));
            }
        return 0;
    }
    case kMsgLiveTick:
        if (!CurrentListViewOptions().livePrices)
            return 0;
        if (list)
            if (int column = LiveResortColumn(liveResort_, *list, TickMilliseconds()))
                PostProgramMessage(*this, kMsgResortLater, uintptr_t(intptr_t(column)), 3);
        if (paintReady_ && (kind == 1 || kind == 2 || kind == 6))
            update();
        return 0;
    case kMsgResortLater: ResortByColumn(int(intptr_t(wParam)), (lParam & 2) != 0); return 0;

    case kMsgListRepaint:
        // Also new ticks for a shown share: the live cells are drawn again now, and once more when
        // their flash has run its time.
        update();
        if (watching_)
            QTimer::singleShot(int(TheRTEngine().highlightDuration) * 100 + 50, this, [this] { update(); });
        return 0;
    default: break;
    }
    return CViewBaseWnd::onProgramMessage(message, wParam, lParam);
}

void CViewListBase::ResortByColumn(int signedColumn, bool keepRow)
{
    if (!list || ShareListCount(list) == 0 || signedColumn == 0)
        return;
    const RecordCursor* entry = keepRow ? CurrentEntry(list) : nullptr;
    const uint32_t id = entry ? EntryRecordId(*entry) : 0;
    const uint32_t sub = entry ? entry->count : 0;
    SortListColumn(list, kind, signedColumn);
    if (entry) {
        list->current = FindListEntryIndex(list->entries, list->capacity, id, sub);
        SetResyncCode(kResyncScrollToSelection);
    } else {
        list->current = 0;
        list->firstVisible = 0;
    }
    update();
}

void CViewListBase::OnRefresh()
{
    paintReady_ = false;
    portfolioGraphMode = 0; // a graph of the whole list is asked for afresh
    CViewBaseWnd::OnRefresh();
}

int CViewListBase::SettingNumber() const
{
    return list ? std::clamp(list->tableSetting, 0, kListSettings - 1) : 0;
}

ListStyle CViewListBase::CurrentStyle() const
{
    if (const TableStyle* style = SettingStyle(kind, SettingNumber(), list ? list->tradeMarket : 0))
        return ReadListStyle(*style);
    TableStyle fallback;
    InitDefaultTableStyle(fallback);
    return ReadListStyle(fallback);
}

std::string CViewListBase::GetListTitle() const
{
    ListTitleParts parts;
    parts.viewKind = kind;
    parts.source = GetSourceTitle(false);
    if (list)
        parts.sector = FormatSectorFilterText(*list);
    parts.setting = "Table " + std::to_string(SettingNumber() + 1);
    parts.portfolio = list && list->source ? PortfolioDisplayName(list->source) : std::string();
    parts.windowNumbering = WindowNumberingOption != 0;
    parts.tradeMarket = list ? list->tradeMarket : 0;
    if (list)
        parts.dealingOptions = list->viewState2;
    parts.linkedHasSource = secondList && secondList->source;
    AddTitleParts(parts);
    return ListTitle(parts);
}

QString CViewListBase::Title() const
{
    if (!list)
        return CViewBaseWnd::Title();
    return FromCp1252(DecorateTitle(GetListTitle()));
}

bool CViewListBase::DrawInit(const QSize& size, bool onScreen)
{
    if (!list)
        return false;
    // A stored sort that differs from the rows' order, or rows not sorted since their fill,
    // re-sorts them; 0 and -1 never do.
    if (kind != 4) {
        int stored = GetSettingSort(kind, SettingNumber(), list->tradeMarket);
        int current = (list->sortColumn + 1) * list->sortDirection;
        if ((stored != current || !list->sorted) && stored != 0 && stored != -1)
            SortRows(list, stored, false);
    }
    ListStyle style = CurrentStyle();
    fonts_ = MakeListFonts(style, fixedPixels_);
    QFontMetrics metrics(fonts_[0]);
    rowHeight_ = metrics.height() + style.whiteSpace;
    headings_.BuildHeadings(list, list->columnLayout);
    auto* layout = const_cast<uint8_t*>(list->columnLayout);
    int rows = ShareListCount(list);
    if (style.wrapColumns)
        grid_.LayoutGridBanded(layout, rows, 0);
    else
        grid_.LayoutGridNormal(layout, CurrentListViewOptions().frozenColumns, rows, 0);
    headingTop_ = HasHeaderStrip(kind) ? rowHeight_ + 2 : 0;
    headings_.MeasureHeadingHeight(grid_, QtTextMetrics(fonts_[1]), onScreen);
    int extent = this->style()->pixelMetric(QStyle::PM_ScrollBarExtent);
    grid_.SetScrollBarSizes(extent, extent);
    grid_.SetGridFirstRow(list->firstVisible);
    grid_.FitGridToRect({0, 0, size.width(), size.height()}, headingTop_ + headings_.height, rowHeight_, !onScreen);
    grid_.SetGridFirstRow(list->firstVisible);
    if (resync_ == kResyncScrollToSelection || list->pendingScroll) {
        int visible = std::max(grid_.visibleRows(), 1);
        if (list->current < grid_.firstRow() || list->current >= grid_.firstRow() + visible)
            grid_.SetGridFirstRow(list->current - visible / 2);
        list->pendingScroll = 0;
    }
    resync_ = 0;
    list->firstVisible = grid_.firstRow();
    return true;
}

void CViewListBase::PaintTable(QPainter& painter, const QSize& size, bool onScreen)
{
    ops_.clear();
    if (!DrawInit(size, onScreen)) {
        painter.fillRect(QRect(QPoint(0, 0), size), Qt::white);
        painter.setPen(Qt::black);
        DrawNoData(painter, QRect(QPoint(0, 0), size), size.height() / 2 - painter.fontMetrics().height() / 2);
        return;
    }
    ListStyle style = CurrentStyle();
    if (headingTop_ > 0)
        ops_.push_back(FillOp(0, 0, size.width(), headingTop_, style.background));
    PlanTable(grid_, headings_, style, QtTextMetrics(fonts_[1]), headingTop_, onScreen, fonts_);
    const GridRect& table = grid_.table();
    if (table.right < size.width())
        ops_.push_back(FillOp(table.right, 0, size.width(), size.height(), 0xC8C8C8));
    if (table.bottom < size.height())
        ops_.push_back(FillOp(0, table.bottom, size.width(), size.height(), 0xC8C8C8));
    ReplayPaintOps(painter, ops_, fonts_);
    if (headingTop_ > 0)
        PaintHeaderStrip(painter, size, onScreen);
    live_.clear();
    paintReady_ = true;
    if (onScreen)
        WatchVisibleRows();
    PublishCurrentShare();
}

void CViewListBase::PublishCurrentShare()
{
    // Other views follow the current share of a share list.
    if ((kind == 1 || kind == 6) && list->windowSlot >= 0)
        if (RecordCursor* entry = CurrentEntry(list))
            PublishWindowShare(list->windowSlot, EntryRecordId(*entry), entry->count);
}

void CViewListBase::PlanTable(const ListGrid& grid, const ListHeadings& headings, const ListStyle& style,
                              const TextMetrics& bold, int headingTop, bool onScreen, const ListFonts& fonts,
                              const QPaintDevice* device)
{
    HeadingPaint heading;
    heading.top = headingTop;
    heading.viewKind = kind;
    heading.sortColumn = list->sortColumn;
    heading.sortDirection = list->sortDirection;
    heading.onScreen = onScreen;
    PlanHeadings(ops_, grid, headings, style, bold, heading);
    BodyPaint body;
    body.viewKind = kind;
    body.indices = kind == 1 && list->word == 3;
    body.onScreen = onScreen;
    body.windowNumbering = WindowNumberingOption != 0;
    body.rowCount = ShareListCount(list);
    body.textWidth = [&fonts, device](std::string_view text, int font) {
        const QFont& f = fonts[size_t(font) & 7];
        QFontMetrics metrics = device ? QFontMetrics(f, device) : QFontMetrics(f);
        return metrics.horizontalAdvance(FromCp1252(std::string(text)));
    };
    ShareListRows rows(*this, list);
    PlanBody(ops_, grid, style, rows, body);
}

QImage CViewListBase::RenderImage(const QSize& size)
{
    QImage image(size, QImage::Format_RGB32);
    QPainter painter(&image);
    PaintTable(painter, size, true);
    return image;
}

int CViewListBase::LiveRedraw(QImage& image)
{
    if (!list || !paintReady_)
        return 0;
    std::vector<PaintOp> ops;
    BodyPaint body;
    body.viewKind = kind;
    body.rowCount = ShareListCount(list);
    body.liveOnly = true;
    body.memory = &live_;
    ShareListRows rows(*this, list);
    PlanBody(ops, grid_, CurrentStyle(), rows, body);
    QPainter painter(&image);
    ReplayPaintOps(painter, ops, fonts_);
    return int(std::count_if(ops.begin(), ops.end(), [](const PaintOp& op) { return op.step == PaintStep::Fill; }));
}

void CViewListBase::PlaceScrollBars()
{
    settingBars_ = true;
    const GridRect& table = grid_.table();
    int extent = style()->pixelMetric(QStyle::PM_ScrollBarExtent);
    // A hidden table (a view that gives its whole area to something else) shows no bars over it.
    const bool tableShown = TableHeight() > 0;
    bool v = tableShown && grid_.verticalBar();
    bool h = tableShown && grid_.horizontalBar();
    if (v) {
        vbar_->setGeometry(width() - extent, 0, extent, table.bottom);
        vbar_->setRange(0, grid_.GetGridMaxFirstRow());
        vbar_->setPageStep(std::max(grid_.visibleRows() * 4 / 5, 1));
        vbar_->setValue(grid_.firstRow());
    }
    if (h) {
        hbar_->setGeometry(0, std::clamp(TableHeight(), extent, height()) - extent, table.right, extent);
        hbar_->setRange(0, grid_.GetGridMaxScrollPos());
        hbar_->setPageStep(std::max(grid_.GridColumnsPerPage(), 1));
        hbar_->setValue(grid_.scrollPos());
    }
    vbar_->setVisible(v);
    hbar_->setVisible(h);
    settingBars_ = false;
}

void CViewListBase::paintEvent(QPaintEvent*)
{
    const int tableHeight = std::clamp(TableHeight(), 0, height());
    QImage image(size(), QImage::Format_RGB32);
    {
        QPainter below(&image);
        if (tableHeight > 0)
            PaintTable(below, QSize(width(), tableHeight), true);
        if (tableHeight < height())
            PaintBelowTable(below, QRect(0, tableHeight, width(), height() - tableHeight));
    }
    QPainter painter(this);
    painter.drawImage(0, 0, image);
    DrawDragMarks(painter);
    painter.end();
    PlaceScrollBars();
    UpdateTitle();
    ShowStatusTexts();
}

void CViewListBase::OnSetFocus()
{
    CViewBaseWnd::OnSetFocus();
    ShowStatusTexts();
}

void CViewListBase::ShowStatusTexts()
{
    auto* frame = dynamic_cast<CMainFrame*>(MainFrameTarget());
    if (!frame || !frame->statusBarEx() || !active || !list)
        return;
    ShowDetailStatusPanes(list, *frame->statusBarEx(), kEpicPaneColumn, false);
    frame->statusBarEx()->SetPaneText(3, FromCp1252(GetSourceTitle(true)));
}

void CViewListBase::resizeEvent(QResizeEvent* event)
{
    CViewBaseWnd::resizeEvent(event);
    update();
}

int CViewListBase::FitColumn(int column)
{
    if (!list)
        return 0;
    const uint8_t* def = GetColumnDef(list->columnLayout, column);
    if (!def || def[0] < kColumnDefBytes)
        return 0;
    const ListStyle style = CurrentStyle();
    fonts_ = MakeListFonts(style, fixedPixels_);
    QtTextMetrics body(fonts_[0]);
    QtTextMetrics bold(fonts_[1]);
    FitMeasures measures{&body, &bold, WindowNumberingOption ? style.whiteSpace / 2 : style.whiteSpace, (def[ColumnDefLayout::Align] & 0x10) != 0};
    ShareListRows rows(*this, list);
    const int width = FitColumnWidth(rows, def, GetColumnHeading(list, def, true), measures);
    if (width == 0 || width == ColumnDefWidth(def))
        return 0;
    SetListColumnWidth(list, kind, column, width);
    return width;
}

std::string CViewListBase::CellTextAt(int row, const uint8_t* def)
{
    if (!list)
        return {};
    ShareListRows rows(*this, list);
    CellValue value;
    return rows.CellText(row, def, value);
}

} // namespace qv
