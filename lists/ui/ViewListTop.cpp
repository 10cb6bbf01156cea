// The header strip and the portfolio graph commands of portfolio-type list views.
#include "lists/ui/ViewListTop.h"

#include "core/RecordAccess.h"
#include "core/ShareList.h"
#include "lists/GraphSource.h"
#include "platform/DebugOutput.h"
#include "platform/MessageDispatch.h"
#include "platform/qt/QtText.h"
#include "resources/MessageIds.h"
#include "shell/LayoutSwitch.h"
#include "views/FrameState.h"
#include "core/Portfolio.h"
#include "views/CommandUpdate.h"

#include <QApplication>
#include <QPainter>

namespace qv {
namespace {

constexpr uint32_t kGraphValue = 25095;
constexpr uint32_t kGraphProfit = 25096;

QColor Colour(unsigned word) { return QColor(int(word & 0xFF), int((word >> 8) & 0xFF), int((word >> 16) & 0xFF)); }

} // namespace

CViewListTop::CViewListTop(int32_t kind, QWidget* parent) : CViewBase(kind), CViewListBase(kind, parent) {}

Portfolio* CViewListTop::portfolio() const { return list ? list->source : nullptr; }

QRect CViewListTop::BeginHeaderPaint(QPainter& painter, const QSize& size, bool onScreen)
{
    const QRect strip(0, 0, size.width(), std::max(headingTop_ - 2, 1));
    if (onScreen) {
        painter.fillRect(strip, Colour(kHeaderStripColour));
        painter.setPen(Colour(0x808080));
        painter.drawLine(strip.bottomLeft(), strip.bottomRight());
        painter.setPen(Qt::white);
        painter.drawLine(strip.topLeft(), strip.topRight());
    }
    QFont bold = fonts_[0];
    bold.setBold(true);
    if (!bold.bold())
        OutputDebugText("Failed to select List Bold Font (Draw 5)");
    painter.setFont(bold);
    painter.setPen(Qt::white);
    painter.setBackgroundMode(Qt::TransparentMode);
    return strip;
}

void CViewListTop::DrawHeaderItems(QPainter& painter, const QRect& strip, const std::vector<HeaderItem>& items)
{
    const int gap = QFontMetrics(fonts_[0]).height();
    headerItems_ = items;
    headerPlaces_ = DrawStripItems(painter, strip, items, gap, true);
}

std::vector<HeaderPlacement> CViewListTop::DrawStripItems(QPainter& painter, const QRect& strip,
                                                          const std::vector<HeaderItem>& items, int gap, bool onScreen)
{
    const QFontMetrics metrics = onScreen ? QFontMetrics(painter.font()) : QFontMetrics(painter.font(), painter.device());
    std::vector<HeaderPlacement> places = PlaceHeaderItems(
        items, gap, strip.right(), [&](const std::string& text) { return metrics.horizontalAdvance(FromCp1252(text)); });
    painter.save();
    painter.setClipRect(strip);
    const int baseline = strip.top() + (strip.height() + metrics.ascent() - metrics.descent()) / 2;
    for (size_t i = 0; i < places.size(); ++i) {
        const HeaderPlacement& place = places[i];
        // On paper there is no grey strip or box behind the figures, so the labels print black too.
        if (place.labelDrawn) {
            painter.setPen(onScreen ? Qt::white : Qt::black);
            painter.drawText(strip.left() + place.labelX, baseline, FromCp1252(items[i].label));
        }
        if (onScreen)
            painter.fillRect(QRect(QPoint(strip.left() + place.boxLeft, strip.top() + 2),
                                   QPoint(strip.left() + place.boxRight, strip.bottom() - 2)),
                             Colour(kHeaderValueColour));
        painter.setPen(Qt::black);
        painter.drawText(strip.left() + place.valueX, baseline, FromCp1252(items[i].value));
    }
    painter.restore();
    return places;
}

void CViewListTop::PaintHeaderStrip(QPainter& painter, const QSize& size, bool onScreen)
{
    const QRect strip = BeginHeaderPaint(painter, size, onScreen);
    DrawHeaderItems(painter, strip, HeaderItems());
}

void CViewListTop::PrintHeaderStrip(QPainter& painter, const QRect& strip, const QFont& listFont)
{
    // The gap is the printed list font's height, which is the screen's scaled to the printer.
    QFont bold = listFont;
    bold.setBold(true);
    painter.save();
    painter.setFont(bold);
    painter.setBackgroundMode(Qt::TransparentMode);
    DrawStripItems(painter, strip, HeaderItems(), QFontMetrics(listFont, painter.device()).height(), false);
    painter.restore();
}

int CViewListTop::CurrentShareId() const
{
    const RecordCursor* entry = list ? CurrentEntry(list) : nullptr;
    return entry && entry->record ? RecordId(entry->record) : 0;
}

QString CViewListTop::listFontFace() const { return fonts_[0].family(); }

namespace {

TopCommandUpdate topCommandUpdate = nullptr;
TopCommandRun topCommandRun = nullptr;

} // namespace

void SetTopCommandHandlers(TopCommandUpdate update, TopCommandRun run)
{
    topCommandUpdate = update;
    topCommandRun = run;
}

bool CViewListTop::UpdateTopCommand(CommandUi& ui)
{
    if (topCommandUpdate && topCommandUpdate(*this, ui))
        return true;
    if (ui.command != kGraphValue && ui.command != kGraphProfit)
        return false;
    const Portfolio* p = portfolio();
    ui.enabled = p && p->transactions;
    return true;
}

bool CViewListTop::RunTopCommand(uint32_t command)
{
    if (topCommandRun && topCommandRun(*this, command))
        return true;
    if (command != kGraphValue && command != kGraphProfit)
        return false;
    GraphPortfolio(command == kGraphProfit);
    return true;
}

void CViewListTop::GraphPortfolio(bool profit)
{
    if (!portfolio())
        return;
    QApplication::setOverrideCursor(Qt::WaitCursor);
    GraphWholeList(profit ? kSourcePortfolioProfit : kSourcePortfolioValue);
    QApplication::restoreOverrideCursor();
}

bool CViewListTop::PutOffRefresh()
{
    refreshPending_ = DataMiningRunBusy != 0;
    if (refreshPending_)
        PostProgramMessage(*this, WM_COMMAND, ID_REFRESH);
    return refreshPending_;
}

bool CViewListTop::IsActiveView() const
{
    return MainFrameState().activeView == static_cast<const CViewBase*>(this);
}

} // namespace qv
