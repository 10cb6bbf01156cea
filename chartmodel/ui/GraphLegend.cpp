// The graph legend window and the legend box.
#include "chartmodel/ui/GraphLegend.h"

#include "chartmodel/LegendSettings.h"
#include "chartmodel/LegendStyleStore.h"
#include "chartmodel/ViewGraph.h"
#include "chartmodel/ViewGraphBase.h"
#include "core/PackedPen.h"
#include "core/ui/PenSelect.h"
#include "platform/qt/QtText.h"
#include "resources/MessageIds.h"

#include <QApplication>
#include <QCloseEvent>
#include <QFontMetrics>
#include <QMouseEvent>
#include <QPainter>
#include <QPointer>
#include <QScrollBar>

#include <algorithm>
#include <utility>

namespace qv {
namespace {

constexpr uint32_t kCommandToggleLegend = 26061;
constexpr int kScrollBarWidth = 16;
constexpr int kScrollBarId = 1975;

LegendMarkerDrawer markerDrawer;

int PenWidth(const QPainter& painter, uint32_t word) { return MakePackedPen(DeviceOf(painter), word).width(); }

bool Printing(const QPainter& painter) { return DeviceOf(painter).printing; }

void DrawMarkerSample(QPainter& painter, const QRect& cell, uint32_t pen, int32_t value)
{
    if (markerDrawer) {
        markerDrawer(painter, cell, pen, value);
        return;
    }
    int side = std::max(3, cell.height() / 2);
    QRect box(cell.center().x() - side / 2, cell.center().y() - side / 2, side, side);
    painter.fillRect(box, ColourFromWord(PenColourOf(pen)));
}

// The samples of a line in a cell of width w and height 2h whose left is x and whose middle row is y.
void DrawSamples(QPainter& painter, const LegendLine& line, int x, int y, int w, int h)
{
    int n = line.sampleCount;
    if (n <= 0)
        return;
    PenObject pen;
    if (line.hasValues()) {
        int each = w / n;
        for (int i = 0; i < n; ++i)
            DrawMarkerSample(painter, QRect(x + i * each, y - h, each, 2 * h), line.pens[size_t(i)],
                             line.values[size_t(i)]);
        return;
    }
    if (n == 1) {
        SelectPackedPen(painter, pen, line.pens[0]);
        painter.drawLine(x, y, x + w, y);
        ReleasePen(painter, pen);
        return;
    }
    int total = 0;
    for (int i = 0; i < n; ++i)
        total += PenWidth(painter, line.pens[size_t(i)]) + 1;
    int gap = std::min((2 * h - 4 - total) / (n - 1), Printing(painter) ? 10 : 5);
    if (gap < 1 || (line.flags & kLegendSamplesSloped)) {
        int each = 3 * w / (4 * n);
        int left = (line.flags & kLegendSamplesLeft) ? x : x + (w - each * n) / 2;
        for (int i = 0; i < n; ++i) {
            SelectPackedPen(painter, pen, line.pens[size_t(i)]);
            painter.drawLine(left + i * each, y + 3 * h / 4, left + (i + 1) * each, y - 3 * h / 4);
            ReleasePen(painter, pen);
        }
        return;
    }
    int height = total + gap * (n - 1);
    int row = y - height / 2;
    for (int i = 0; i < n; ++i) {
        int width = PenWidth(painter, line.pens[size_t(i)]);
        SelectPackedPen(painter, pen, line.pens[size_t(i)]);
        painter.drawLine(x, row + width / 2, x + w, row + width / 2);
        ReleasePen(painter, pen);
        row += width + 1 + gap;
    }
}

// Draws the lines from `from` on, one per lineHeight from top, texts at textX; samples in cells of
// 6 character widths, the text moved on by 7. With colour pairs each section's rows take its pair's
// background over rowWidth and its text colour; without, black text.
void DrawLines(QPainter& painter, const LegendModel& legend, int from, int textX, int top, int lineHeight,
               int charWidth, int bottom, const legenddesign::ColourPair* pairs = nullptr, int rowWidth = 0)
{
    const QFontMetrics metrics = painter.fontMetrics();
    int row = top;
    for (int section = kLegendLatest; section <= kLegendItems; ++section) {
        if (legend.first(section) < 0)
            continue;
        for (int i = std::max(legend.first(section), from); i <= legend.last(section); ++i) {
            if (row > bottom)
                return;
            const LegendLine& line = legend.lines()[size_t(i)];
            int x = textX;
            if (pairs)
                painter.fillRect(QRect(0, row, rowWidth, lineHeight), ColourFromWord(pairs[section].background));
            if (section == kLegendItems && line.sampleCount > 0) {
                int cellHeight = int(0.8 * lineHeight);
                DrawSamples(painter, line, x, row + lineHeight / 2, 6 * charWidth, cellHeight / 2);
                x += 7 * charWidth;
            }
            painter.setPen(pairs ? ColourFromWord(pairs[section].text) : QColor(Qt::black));
            painter.drawText(x, row + metrics.ascent(), FromCp1252(line.text));
            row += lineHeight;
        }
    }
}

} // namespace

void SetLegendMarkerDrawer(LegendMarkerDrawer drawer) { markerDrawer = std::move(drawer); }

void DrawLegendBox(QPainter& painter, const LegendModel& legend, int fontHeight, int x, int y)
{
    if (legend.lines().empty())
        return;
    painter.save();
    QFont font(QStringLiteral("Arial"));
    font.setPixelSize(std::max(1, fontHeight));
    painter.setFont(font);
    QFontMetrics metrics(font);
    int cw = metrics.horizontalAdvance(QLatin1Char('0'));
    int ch = metrics.height();
    int width = metrics.horizontalAdvance(QStringLiteral("_Graph Legend_"));
    for (const LegendLine& line : legend.lines())
        width = std::max(width, metrics.horizontalAdvance(FromCp1252(line.text)) + 2 * cw +
                                    (line.sampleCount > 0 ? 7 * cw : 0));
    QRect box(QPoint(x, y), QPoint(x + width + cw, y + int(legend.lines().size() + 1) * ch + 8));
    painter.fillRect(box, Qt::white);
    painter.setPen(Qt::black);
    painter.setBrush(Qt::NoBrush);
    painter.drawRect(box.adjusted(0, 0, -1, -1));
    QRect inner = box.adjusted(2, 2, -2, -2);
    painter.drawRect(inner.adjusted(0, 0, -1, -1));
    painter.drawText(x + 2 + cw, y + 2 + metrics.ascent(), QStringLiteral("Graph Legend"));
    int rule = y + 2 + ch + 2;
    painter.drawLine(inner.left(), rule, inner.right(), rule);
    DrawLines(painter, legend, 0, x + 2 + cw, rule + 2, ch, cw, box.bottom());
    painter.restore();
}

CGraphLegend::CGraphLegend(QWidget* parent) : QWidget(parent, Qt::Tool)
{
    setAttribute(Qt::WA_ShowWithoutActivating);
    setAttribute(Qt::WA_OpaquePaintEvent);
    setFocusPolicy(Qt::NoFocus);
    setWindowTitle(QStringLiteral("Graph Legend"));
    ApplyHeightLimits();
    scrollBar_ = new QScrollBar(Qt::Vertical, this);
    scrollBar_->setObjectName(QStringLiteral("scroll%1").arg(kScrollBarId));
    scrollBar_->setFocusPolicy(Qt::NoFocus);
    scrollBar_->hide();
    connect(scrollBar_, &QScrollBar::valueChanged, this, [this](int value) {
        firstVisible_ = value;
        update();
    });
}

CGraphLegend::~CGraphLegend() = default;

void CGraphLegend::Bind(CViewGraphBase* view, const LegendSource* source)
{
    view_ = view;
    source_ = source;
}

void CGraphLegend::UpdateLegend(bool omitTopLines)
{
    static const LegendSource kNothing;
    model_.Update(source_ ? *source_ : kNothing, omitTopLines);
    if (!omitTopLines && !model_.title().empty())
        setWindowTitle(FromCp1252(model_.title()));
    Layout();
    update();
}

void CGraphLegend::Hide()
{
    SaveLegendPlace(ProgramLegendSettings());
    view_ = nullptr;
    source_ = nullptr;
    hide();
}

void CGraphLegend::ApplySettings()
{
    ApplyHeightLimits();
    Layout();
    update();
}

void CGraphLegend::ApplyHeightLimits()
{
    const LegendSettings& settings = ProgramLegendSettings();
    if (settings.fixedHeight && settings.storedHeight >= 1) {
        setMinimumHeight(settings.storedHeight);
        setMaximumHeight(settings.storedHeight);
        return;
    }
    setMinimumSize(20, 50);
    setMaximumHeight(QWIDGETSIZE_MAX);
}

QFont CGraphLegend::LegendFont() const
{
    const LegendSettings& settings = ProgramLegendSettings();
    return QFont(FromCp1252(settings.fontFace), std::max(1, settings.fontPoints));
}

int CGraphLegend::LineHeight() const
{
    return std::max(1, QFontMetrics(LegendFont()).height() + ProgramLegendSettings().lineSpacing - 2);
}

void CGraphLegend::StorePlace()
{
    if (!isVisible())
        return;
    LegendSettings& settings = ProgramLegendSettings();
    QRect frame = frameGeometry();
    settings.placed = true;
    settings.left = frame.left();
    settings.top = frame.top();
    settings.right = frame.right() + 1;
    settings.bottom = frame.bottom() + 1;
}

void CGraphLegend::Layout()
{
    int lines = int(model_.lines().size());
    visibleLines_ = std::max(0, (height() - ProgramLegendSettings().lineSpacing) / LineHeight());
    if (lines <= visibleLines_) {
        scrollBar_->hide();
        firstVisible_ = 0;
        return;
    }
    scrollBar_->setGeometry(width() - kScrollBarWidth, 0, kScrollBarWidth, height());
    scrollBar_->setRange(0, lines - visibleLines_);
    scrollBar_->setPageStep(std::max(1, visibleLines_));
    scrollBar_->setSingleStep(1);
    firstVisible_ = std::clamp(firstVisible_, 0, lines - visibleLines_);
    scrollBar_->setValue(firstVisible_);
    scrollBar_->show();
}

void CGraphLegend::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.fillRect(rect(), Qt::white);
    QFont font = LegendFont();
    painter.setFont(font);
    int cw = QFontMetrics(font).horizontalAdvance(QLatin1Char('0'));
    int rowWidth = scrollBar_->isVisible() ? width() - kScrollBarWidth : width();
    DrawLines(painter, model_, firstVisible_, cw, ProgramLegendSettings().lineSpacing, LineHeight(), cw, height(),
              ProgramLegendStyle().pairs, rowWidth);
}

void CGraphLegend::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    Layout();
    StorePlace();
}

void CGraphLegend::moveEvent(QMoveEvent* event)
{
    QWidget::moveEvent(event);
    StorePlace();
}

void CGraphLegend::mousePressEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton)
        return QWidget::mousePressEvent(event);
    dragging_ = true;
    dragOffset_ = event->globalPosition().toPoint() - frameGeometry().topLeft();
    setCursor(Qt::SizeAllCursor);
}

void CGraphLegend::mouseMoveEvent(QMouseEvent* event)
{
    if (dragging_)
        move(event->globalPosition().toPoint() - dragOffset_);
}

void CGraphLegend::mouseReleaseEvent(QMouseEvent* event)
{
    dragging_ = false;
    unsetCursor();
    QWidget::mouseReleaseEvent(event);
}

void CGraphLegend::ForwardKey(QKeyEvent* event)
{
    if (auto* target = dynamic_cast<QWidget*>(view_))
        QApplication::sendEvent(target, event);
}

void CGraphLegend::keyPressEvent(QKeyEvent* event) { ForwardKey(event); }
void CGraphLegend::keyReleaseEvent(QKeyEvent* event) { ForwardKey(event); }

void CGraphLegend::wheelEvent(QWheelEvent* event)
{
    if (scrollBar_->isVisible())
        QApplication::sendEvent(scrollBar_, event);
}

void CGraphLegend::closeEvent(QCloseEvent* event)
{
    event->ignore();
    // Closed along with the main window it stands over (the program exiting): the legend option is
    // left as it is, so that the next start shows the legend again.
    SaveLegendPlace(ProgramLegendSettings());
    if (const QWidget* over = parentWidget(); over && !over->isVisible()) {
        hide();
        return;
    }
    // With no chart bound (its chart closed) the option goes off here, or the next chart to take the
    // focus would show the legend again.
    if (view_)
        SendProgramMessage(*view_, WM_COMMAND, kCommandToggleLegend);
    else
        ChartOptions().legendShown = 0;
    hide();
}

CGraphLegend& GraphLegendWindow()
{
    // The window is given to the main window it stands over, and goes with it: a later chart makes
    // another.
    static QPointer<CGraphLegend> legend;
    static bool styled = false;
    if (!std::exchange(styled, true)) {
        ApplyStoredLegendStyle(ProgramLegendSettings());
        LoadStoredLegendPlace(ProgramLegendSettings());
    }
    if (!legend)
        legend = new CGraphLegend;
    return *legend;
}

} // namespace qv
