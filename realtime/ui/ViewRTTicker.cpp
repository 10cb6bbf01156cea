// The ticker view.
#include "realtime/ui/ViewRTTicker.h"

#include "core/ConfigDefaults.h"
#include "core/ConfigState.h"
#include "core/Portfolio.h"
#include "core/PriceStatistics.h"
#include "core/RecordAccess.h"
#include "core/RecordLookup.h"
#include "core/ShareList.h"
#include "platform/ByteOrder.h"
#include "realtime/IntradayState.h"
#include "realtime/ui/TickerComposer.h"
#include "realtime/ui/TickerDesignDlg.h"
#include "resources/MessageIds.h"
#include "shell/ViewGroups.h"
#include "shell/ui/ChildWindow.h"
#include "shell/ui/MainFrame.h"
#include "shell/ui/ModalDialog.h"
#include "shell/ui/SoftMenuQt.h"
#include "shell/ui/StatusBarEx.h"
#include "views/FrameState.h"
#include "views/ViewKinds.h"
#include "views/ui/ViewClassRegistry.h"

#include <QContextMenuEvent>
#include <QMdiArea>
#include <QMenu>
#include <QMouseEvent>
#include <QPainter>
#include <QTime>

#include <algorithm>
#include <cfloat>

namespace qv {
namespace {

constexpr uint32_t kCommandDesign = 25002, kCommandCloseTicker = 26853;
constexpr uint32_t kMsgRelayout = WM_USER + 76;
// The worker's note that a new image waits to be shown.
constexpr uint32_t kMsgTapeComposed = WM_USER + 0x7A1;
constexpr uint32_t kTickerMenu = 312;
constexpr int kBorder = 2;
constexpr uint32_t kSpeedChangeTenths = 7;

uint32_t TenthsNow() { return uint32_t(QTime::currentTime().msecsSinceStartOfDay() / 100) % kTenthsPerDay; }

TickerTape::ShareFacts FactsOf(uint16_t share)
{
    TickerTape::ShareFacts facts;
    uint8_t* record = FindShareRecord(share);
    if (!record || RecordLength(record) == 0)
        return facts;
    facts.named = !GetRecordName(record).empty();
    facts.typeWord = LoadU16(record + RecordLayout::TypeByte);
    const uint8_t* sub = GetSubRecord(RecordCursor{record, 0}, 0);
    facts.close = sub ? LoadF32(sub + kStatLastClose) : FLT_MAX;
    return facts;
}

} // namespace

CViewRTTicker::CViewRTTicker(QWidget* parent) : CViewBase(kViewTicker), CViewBaseWnd(kViewTicker, parent)
{
    settings_ = Config().tickers.records[0];
    readIndex_ = RTRecentTradesWriteIndex();
    setMouseTracking(false);
    // A one-line tape is far lower than other views: the frame sets the height.
    setMinimumSize(1, 1);
    AddCommandTarget(this);
    RecalcLayout();
}

CViewRTTicker::~CViewRTTicker()
{
    if (timerRegistered_)
        TimerQueue().RemoveCallback(*this);
    RemoveCommandTarget(this);
}

QString CViewRTTicker::Title() const { return QStringLiteral("Ticker"); }

QRect CViewRTTicker::TapeRect() const { return QRect(0, kBorder, width(), std::max(height() - kBorder, 1)); }

void CViewRTTicker::ApplySettingsLocked()
{
    composer_ = std::make_unique<TickerComposer>(settings_, TickerFont());
    tape_.SetMeasure([this](const TickerItem& item) { return composer_->Measure(item); });
    const TickerDesign design = ReadTickerDesign(settings_);
    const QRect tape = TapeRect();
    tape_.SetSettings(design, composer_->Cell(), 0, design.vertical() ? tape.height() : tape.width());
    speed_ = design.speed;
}

void CViewRTTicker::RebuildPortfolioFilter()
{
    const TickerDesign design = ReadTickerDesign(settings_);
    std::vector<uint16_t> shares;
    for (Portfolio* p = PortfolioChain(); p && design.portfolioFilter; p = p->next) {
        const bool wanted = ((design.portfolioFilter & 1) && p->number == design.portfolio1) ||
                            ((design.portfolioFilter & 2) && p->number == design.portfolio2);
        if (!wanted || !p->entries)
            continue;
        for (const RecordCursor* e = p->entries; e->record; ++e)
            shares.push_back(EntryRecordId(*e));
    }
    tape_.SetPortfolioShares(std::move(shares));
}

void CViewRTTicker::RecalcLayout()
{
    {
        std::lock_guard guard(lock_);
        ApplySettingsLocked();
        RebuildPortfolioFilter();
        layoutPending_ = true;
        pendingInterval_ = TickerInterval(ReadTickerDesign(settings_).layout, speed_);
    }
    update();
}

void CViewRTTicker::SetSettings(const TickerSetting& settings)
{
    {
        std::lock_guard guard(lock_);
        settings_ = settings;
    }
    RecalcLayout();
}

void CViewRTTicker::SelectColumnSetting(int32_t number, bool, bool)
{
    if (number >= 0 && size_t(number) < Config().tickers.records.size())
        secondKey = number;
    SetSettings(Config().tickers.records[size_t(std::clamp<int32_t>(secondKey, 0, int32_t(Config().tickers.records.size()) - 1))]);
}

void CViewRTTicker::OnRefresh()
{
    UpdateTitle();
    if (!timerRegistered_) {
        TimerQueue().AddCallback(*this, kFirstIntervalMs);
        timerRegistered_ = true;
    }
    std::lock_guard guard(lock_);
    RebuildPortfolioFilter();
}

void CViewRTTicker::onTimerTick(uint32_t)
{
    Tick(TenthsNow());
    PostProgramMessage(*this, kMsgTapeComposed);
}

void CViewRTTicker::ReadRing(uint32_t tenths)
{
    std::vector<RecentTrade> trades;
    readIndex_ = ReadRTRecentTrades(readIndex_, trades);
    for (const RecentTrade& trade : trades)
        tape_.AddTrade(trade, FactsOf(trade.share), tenths);
}

void CViewRTTicker::Tick(uint32_t tenths)
{
    uint32_t reinstall = 0, newInterval = 0;
    {
        std::lock_guard guard(lock_);
        tape_.FollowEngine(RTEngineState);
        if (initialised_) {
            const TickerDesign design = ReadTickerDesign(settings_);
            const int advice = tape_.Scroll(tenths, -TickerStep(design.layout, speed_), speed_);
            if (pendingInterval_) {
                reinstall = pendingInterval_;
                pendingInterval_ = 0;
            } else if (advice != 0 && design.variableSpeed() && TickerAge(tenths, lastSpeedChange_) > kSpeedChangeTenths) {
                speed_ = std::clamp(speed_ + advice, 1, 5);
                lastSpeedChange_ = tenths;
                newInterval = TickerInterval(design.layout, speed_);
            }
            if (!image_.isNull()) {
                composer_->Compose(image_, tape_);
                composed_ = true;
            }
        }
        ReadRing(tenths);
    }
    // The queue's own locked operations, never under the tape lock (the worker holds the queue's).
    if (reinstall)
        interval_ = reinstall;
    if (newInterval)
        interval_ = newInterval;
    if (!timerRegistered_)
        return;
    if (reinstall) {
        TimerQueue().RemoveCallback(*this);
        TimerQueue().AddCallback(*this, reinstall);
    } else if (newInterval) {
        TimerQueue().SetCallbackInterval(*this, newInterval);
    }
}

QImage CViewRTTicker::Compose()
{
    std::lock_guard guard(lock_);
    QImage image(TapeRect().size(), QImage::Format_RGB32);
    composer_->Compose(image, tape_);
    return image;
}

QSize CViewRTTicker::FrameSizeFor(const QSize& current, const QSize& nonClient, const QSize& mainClient) const
{
    const TickerDesign design = ReadTickerDesign(settings_);
    const int row = composer_ ? composer_->Cell().height : 20;
    if (design.vertical()) {
        QSize size = remembered_.isValid() ? remembered_
                                           : QSize(20 * (composer_ ? composer_->Cell().width : 10), mainClient.height() / 2) + nonClient;
        return size.expandedTo(current);
    }
    const int rows = design.layout == 0 ? row : design.layout == 1 ? 2 * row : 4 * row + 5;
    const int width = remembered_.isValid() ? remembered_.width() : mainClient.width() / 2 + nonClient.width();
    return QSize(std::max(width, current.width()), nonClient.height() + rows + kBorder);
}

// Outside the tape lock: sizing the frame sizes the view, whose resize takes the lock.
void CViewRTTicker::ResizeFrame()
{
    auto* child = qobject_cast<CChildWindow*>(parentWidget());
    if (!child || !child->mdiArea())
        return;
    QMdiArea* area = child->mdiArea();
    const bool wasActive = area->currentSubWindow() == child;
    const QSize wanted = FrameSizeFor(child->size(), nonClient_, area->viewport()->size());
    const bool vertical = ReadTickerDesign(settings_).vertical();
    child->SetFixedSize(0, vertical ? 0 : wanted.height());
    child->resize(wanted);
    // The frame that was the active one is activated again, and its tape takes the keyboard.
    if (!wasActive)
        return;
    if (area->currentSubWindow() != child)
        area->setActiveSubWindow(child);
    setFocus(Qt::OtherFocusReason);
}

void CViewRTTicker::RestoreFrame(const QRect& rect)
{
    QWidget* frame = parentWidget();
    if (!frame || !rect.isValid())
        return;
    if (auto* child = qobject_cast<CChildWindow*>(frame))
        child->SetFixedSize(0, ReadTickerDesign(settings_).vertical() ? 0 : rect.height());
    frame->setGeometry(rect);
    remembered_ = rect.size();
}

// The items lay out afresh from the head, which keeps its place.
void CViewRTTicker::ReplaceItemsLocked()
{
    auto& items = tape_.items();
    for (auto it = items.begin(); it != items.end(); ++it) {
        if (!tape_.design().vertical())
            it->length = std::max(composer_->Measure(*it), 1);
        if (it != items.begin())
            it->position = kTickerUnplaced;
    }
    if (!items.empty() && items.front().placed())
        tape_.PlaceItems(items.begin());
}

void CViewRTTicker::paintEvent(QPaintEvent*)
{
    if (!initialised_) {
        {
            std::lock_guard guard(lock_);
            initialised_ = true;
            image_ = QImage(TapeRect().size(), QImage::Format_RGB32);
        }
        RecalcLayout();
    }
    bool pending = false;
    {
        std::lock_guard guard(lock_);
        std::swap(pending, layoutPending_);
    }
    if (pending) {
        ResizeFrame();
        std::lock_guard guard(lock_);
        ReplaceItemsLocked();
    }
    QPainter painter(this);
    {
        // The worker's image as it stands: one blit. A paint without one composes it here.
        std::lock_guard guard(lock_);
        if (!composed_ || pending)
            composer_->Compose(image_, tape_);
        composed_ = false;
        painter.drawImage(TapeRect().topLeft(), image_);
    }
    const QColor border = active_ ? palette().color(QPalette::Active, QPalette::Highlight)
                                  : composer_->Colour(TickerLayout::NoDataBackground);
    painter.fillRect(QRect(0, 0, width(), kBorder), border);
}

void CViewRTTicker::resizeEvent(QResizeEvent* event)
{
    CViewBaseWnd::resizeEvent(event);
    // The frame has its new size once its view has: only then do the two give the frame's border.
    // A view not yet laid out into its frame would give a wrong border.
    auto* child = qobject_cast<CChildWindow*>(parentWidget());
    if (child && child->width() >= width() && child->height() >= height()) {
        remembered_ = child->size();
        nonClient_ = child->size() - size();
    }
    std::lock_guard guard(lock_);
    const QRect tape = TapeRect();
    image_ = QImage(tape.size(), QImage::Format_RGB32);
    tape_.SetVisibleRange(0, tape_.design().vertical() ? tape.height() : tape.width());
}

intptr_t CViewRTTicker::onProgramMessage(uint32_t message, uintptr_t wParam, intptr_t lParam)
{
    if (message == kMsgTapeComposed) {
        update();
        return 0;
    }
    if (message == kMsgRelayout) {
        SelectColumnSetting(-1, false, false);
        return 1;
    }
    if (message == kWindowTimerMessage) {
        Tick(TenthsNow());
        update();
        return 0;
    }
    if (message == WM_COMMAND && (wParam & 0xFFFF) != ID_REFRESH && RunCommand(uint32_t(wParam & 0xFFFF)))
        return 1;
    return CViewBaseWnd::onProgramMessage(message, wParam, lParam);
}

bool CViewRTTicker::UpdateCommand(CommandUi& ui)
{
    if (MainFrameState().activeView != static_cast<const CViewBase*>(this))
        return false;
    if (ui.command != kCommandDesign && ui.command != kCommandCloseTicker)
        return false;
    ui.enabled = true;
    return true;
}

bool CViewRTTicker::RunCommand(uint32_t command)
{
    if (MainFrameState().activeView != static_cast<const CViewBase*>(this))
        return false;
    switch (command) {
    case kCommandDesign: OpenDesign(); return true;
    case kCommandCloseTicker:
        if (QWidget* frame = parentWidget())
            QMetaObject::invokeMethod(frame, &QWidget::close, Qt::QueuedConnection);
        return true;
    default: return false;
    }
}

void CViewRTTicker::OpenDesign()
{
    const int32_t slot = std::clamp<int32_t>(secondKey, 0, int32_t(Config().tickers.records.size()) - 1);
    const std::string name = Config().tickers.names[size_t(slot)].value_or("Setting " + std::to_string(slot + 1));
    CTickerDesignDlg dialog(settings_, slot, this, name, window());
    RunModalDialog(dialog);
    if (!dialog.changed())
        return;
    // Every ticker on the same setting takes it again.
    SendMessageToViews(ShareListChain(), kMsgRelayout, 0, 0, false, kViewTicker, slot);
    SelectColumnSetting(slot, false, false);
    update();
}

void CViewRTTicker::OnSetFocus()
{
    CViewBaseWnd::OnSetFocus();
    auto* frame = dynamic_cast<CMainFrame*>(MainFrameTarget());
    if (frame && frame->statusBarEx())
        frame->statusBarEx()->SetPaneText(3, QStringLiteral("Ticker"));
}

void CViewRTTicker::focusInEvent(QFocusEvent* event)
{
    active_ = true;
    CViewBaseWnd::focusInEvent(event);
    update();
}

void CViewRTTicker::focusOutEvent(QFocusEvent* event)
{
    active_ = false;
    CViewBaseWnd::focusOutEvent(event);
    update();
}

// The tape drags its frame.
void CViewRTTicker::mousePressEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton)
        return CViewBaseWnd::mousePressEvent(event);
    dragging_ = true;
    dragStart_ = event->globalPosition().toPoint();
    setCursor(Qt::SizeAllCursor);
}

void CViewRTTicker::mouseMoveEvent(QMouseEvent* event)
{
    if (!dragging_)
        return;
    const QPoint now = event->globalPosition().toPoint();
    if (QWidget* frame = parentWidget())
        frame->move(frame->pos() + (now - dragStart_));
    dragStart_ = now;
}

void CViewRTTicker::mouseReleaseEvent(QMouseEvent* event)
{
    if (!dragging_)
        return CViewBaseWnd::mouseReleaseEvent(event);
    dragging_ = false;
    unsetCursor();
}

void CViewRTTicker::mouseDoubleClickEvent(QMouseEvent*) { OpenDesign(); }

void CViewRTTicker::contextMenuEvent(QContextMenuEvent* event)
{
    QMenu* menu = CreateBarPopupMenu(kTickerMenu, this);
    if (!menu)
        return;
    UpdateMenuCommands(*menu);
    const QAction* chosen = menu->exec(event->globalPos());
    const uint32_t command = chosen ? ActionCommand(chosen) : 0;
    menu->deleteLater();
    if (command)
        RouteCommand(command);
}

void InstallTickerViewClass()
{
    RegisterViewClass(kViewTicker, [](int32_t) -> CViewBaseWnd* { return new CViewRTTicker; });
}

} // namespace qv
