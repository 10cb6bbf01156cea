// The chart view window: paint through an off-screen image, mouse and keys, printing.
#include "chartmodel/ui/ViewGraphWindow.h"

#include "chartmodel/GraphDesign.h"
#include "chartmodel/GraphSettingLayout.h"
#include "chartmodel/ui/GraphLegend.h"
#include "chartmodel/ui/GraphPainter.h"
#include "core/ui/PenSelect.h"
#include "platform/qt/QtText.h"
#include "shell/ui/MainFrame.h"
#include "shell/ViewKinds.h"
#include "shell/ui/StatusBarEx.h"
#include "shell/ui/ViewClassRegistry.h"

#include <QKeyEvent>
#include <QMdiSubWindow>
#include <QMouseEvent>
#include <QPainter>
#include <QPrinter>
#include <QWheelEvent>
#include <algorithm>
#include <cfloat>
#include <cmath>
#include <cstring>

namespace qv {
namespace gs = graphsetting;
namespace {

constexpr int kDefaultPoints = 8;
constexpr uint32_t kKeyShiftCode = 16;

QColor Colour(uint32_t word) { return ColourFromWord(word & 0xFFFFFF); }

} // namespace

CViewGraphWnd::CViewGraphWnd(int32_t kind, QWidget* parent)
    : CViewBase(kind), CViewGraphBase(kind), CGraphViewWnd(kind, parent), CViewGraph(kind)
{
    setAttribute(Qt::WA_OpaquePaintEvent);
    setFocusPolicy(Qt::StrongFocus);
}

CViewGraphWnd::~CViewGraphWnd()
{
    if (!OtherVisibleChartRemains(this) && GraphLegendWindow().view())
        GraphLegendWindow().Hide();
}

intptr_t CViewGraphWnd::onProgramMessage(uint32_t message, uintptr_t wParam, intptr_t lParam)
{
    return CViewGraph::onProgramMessage(message, wParam, lParam);
}

void CViewGraphWnd::OnRefresh()
{
    CGraphViewWnd::OnRefresh();
    CViewGraph::OnRefresh();
}

void CViewGraphWnd::UpdateTitle()
{
    if (!list) {
        CGraphViewWnd::UpdateTitle();
        return;
    }
    cachedTitle.clear();
    CViewGraph::UpdateTitle();
}

// ---- Painting -------------------------------------------------------------------------------------

void CViewGraphWnd::DrawView(QPainter& painter)
{
    DrawDevice device{false, width(), height(), 0, 0};
    if (image_.size() != size())
        image_ = QImage(size(), QImage::Format_RGB32), image_.fill(Qt::white);
    builtDirect_ = false;
    if (forceBuild_) {
        // A resize drag rebuilds on every move, past the paint's own refusal during the drag.
        forceBuild_ = false;
        device_ = target_ = &painter;
        int32_t margin = graphdesign::ViewMargin(*ActiveSetting());
        CViewGraph::AttachGraphSource(&painter, styleRecord ? styleRecord : ActiveSetting(), 0, 0, width(), height(), 0,
                                      margin, ChartOptions().flickerFree != 0, true);
        graph_.reset();
        device_ = target_ = nullptr;
    } else {
        PaintInto(painter, device);
    }
    if (!builtDirect_)
        painter.drawImage(0, 0, image_);
    if (selectionShown_) {
        // The bar crosses every shown pane below the caption strip.
        painter.setCompositionMode(QPainter::RasterOp_SourceXorDestination);
        int32_t x0 = std::min(selection_[0], selection_[1]);
        int32_t x1 = std::max(selection_[0], selection_[1]);
        for (GraphPane* pane = panes; pane; pane = pane->next)
            if (pane->visible && pane->id != kPaneCaption)
                painter.fillRect(QRect(x0, pane->top, std::max(x1 - x0, 1), pane->bottom - pane->top + 1), Qt::white);
        painter.setCompositionMode(QPainter::CompositionMode_SourceOver);
    }
}

void CViewGraphWnd::PaintInto(QPainter& painter, const DrawDevice& device)
{
    device_ = target_ = &painter;
    printing_ = device.printer;
    OnDraw(&painter, device);
    graph_.reset();
    printing_ = false;
    device_ = target_ = nullptr;
}

QImage CViewGraphWnd::RenderToImage(int w, int h)
{
    resize(w, h);
    QImage out(w, h, QImage::Format_RGB32);
    out.fill(Qt::white);
    QPainter painter(&out);
    // A first paint sizes the value axes by its ranges; when they grew, paint again as the screen would.
    int32_t before = axisWidth;
    DrawView(painter);
    if (axisWidth != before)
        DrawView(painter);
    return out;
}

void CViewGraphWnd::PrintChart(QPrinter& printer)
{
    {
        QPainter painter(&printer);
        PrintChart(painter, printer.pageLayout().paintRectPixels(printer.resolution()).size());
    }
    // The end of printing: the views of this kind and setting repaint with the screen's geometry.
    NotifyGraphSettings(0);
}

void CViewGraphWnd::PrintChart(QPainter& painter, const QSize& printable)
{
    DrawDevice device{true, width(), height(), printable.width(), printable.height()};
    PaintInto(painter, device);
}

void CViewGraphWnd::AttachGraphSource(void* dc, const GraphSetting* style, int32_t left, int32_t top, int32_t right,
                                      int32_t bottom, int outputKind, int32_t margin, bool offscreen, bool addOns)
{
    const GraphSetting& s = style ? *style : *ActiveSetting();
    char face[gs::kFontFaceSize + 1] = {};
    std::memcpy(face, s.data() + gs::kFontFace, gs::kFontFaceSize);
    int points = int(gs::U32(s, gs::kTextSize));
    if (points <= 0 || points > 72)
        points = kDefaultPoints;
    labelFontFace = face[0] ? face : "Arial";
    baseTextSize = points;
    labelClampLeft = left;
    labelClampRight = right;
    labelDevice_ = device_ ? device_->device() : nullptr;
    int dpi = labelDevice_ ? labelDevice_->logicalDpiY() : 96;
    labelFont_ = QFont(QString::fromLatin1(labelFontFace.c_str()));
    labelFont_.setPixelSize(std::max(1, int(std::lround(double(points) * dpi / 72.0))));
    QFontMetrics metrics(labelFont_, labelDevice_);
    textHeight = std::max(metrics.height(), 1);
    digitWidth = std::max(metrics.horizontalAdvance(QLatin1Char('9')), 1);
    CViewGraph::AttachGraphSource(dc, style, left, top, right, bottom, outputKind, margin, offscreen, addOns);
}

int32_t CViewGraphWnd::TextWidth(const std::string& text) const
{
    return QFontMetrics(labelFont_, labelDevice_).horizontalAdvance(FromCp1252(text));
}

bool CViewGraphWnd::BeginOffscreen()
{
    if (!device_ || device_->device() == &image_)
        return false;
    if (image_.size() != QSize(outerRect[2], outerRect[3]))
        image_ = QImage(std::max(outerRect[2], 1), std::max(outerRect[3], 1), QImage::Format_RGB32);
    imagePainter_ = new QPainter(&image_);
    target_ = imagePainter_;
    return true;
}

void CViewGraphWnd::EndOffscreen()
{
    graph_.reset();
    delete imagePainter_;
    imagePainter_ = nullptr;
    target_ = device_;
}

void CViewGraphWnd::FillBackground(uint32_t colour)
{
    if (!target_)
        return;
    builtDirect_ = target_ == device_;
    target_->setFont(labelFont_);
    target_->fillRect(QRect(outerRect[0], outerRect[1], outerRect[2] - outerRect[0], outerRect[3] - outerRect[1]),
                      Colour(colour));
}

void CViewGraphWnd::DrawCaptionLine()
{
    GraphPane* caption = FindPane(kPaneCaption);
    if (!target_ || !caption)
        return;
    QRect r(caption->left, caption->top, caption->right - caption->left, caption->bottom - caption->top);
    target_->setPen(Colour(gs::U32(*styleRecord, gs::kTitleTextColour)));
    target_->drawText(r, Qt::AlignLeft | Qt::AlignVCenter, FromCp1252(SettingName()));
    target_->drawText(r, Qt::AlignRight | Qt::AlignVCenter, FromCp1252(readoutParts[1]));
}

void CViewGraphWnd::DrawNoData(const GraphPane& pane, const std::string& text)
{
    if (!target_)
        return;
    target_->setPen(Colour(gs::U32(*styleRecord, gs::kScaleTextColour)));
    target_->drawText(QRect(pane.left, pane.top, pane.right - pane.left, pane.bottom - pane.top), Qt::AlignCenter,
                      FromCp1252(text));
}

GraphPainter& CViewGraphWnd::Graph()
{
    if (!graph_ || graphTarget_ != target_) {
        graph_ = std::make_unique<GraphPainter>(*this, *target_);
        graph_->SetPrinting(printing_);
        graph_->eventBlock = styleRecord ? ActiveSetting()->data() + gs::kEvents : nullptr;
        graphTarget_ = target_;
    }
    return *graph_;
}

void CViewGraphWnd::DrawGraphLayer(bool back)
{
    if (target_)
        Graph().DrawGraph(back ? 0 : 1);
}

void CViewGraphWnd::DrawLevelLines()
{
    if (target_)
        Graph().DrawLevelLines(gs::U32(*styleRecord, gs::kGridPenH));
}

void CViewGraphWnd::DrawTimeLines()
{
    if (target_)
        Graph().DrawTimeLines(gs::U32(*styleRecord, gs::kGridPenV));
}

void CViewGraphWnd::DrawPaneFrames(int32_t colour)
{
    if (!target_)
        return;
    uint32_t pen = colour >= 0 ? uint32_t(colour) : gs::U32(*styleRecord, gs::kFramePen);
    target_->setPen(Colour(pen));
    target_->setBrush(Qt::NoBrush);
    for (GraphPane* pane = panes; pane; pane = pane->next) {
        if (!pane->visible || pane->id == kPaneCaption)
            continue;
        target_->drawRect(pane->left, pane->top, pane->right - pane->left, pane->bottom - pane->top);
        // The end marks of the add-on windows are for the mouse: on the screen only.
        if (pane->id >= kPaneFirstAddOn && !printing_)
            Graph().DrawPaneEndMarks(pane);
    }
}

void CViewGraphWnd::QueueChartText(int32_t x, int32_t y, const std::string& text, uint32_t flags)
{
    if (target_)
        Graph().DrawChartText(x, y, text, flags, 0, gs::U32(*styleRecord, gs::kScaleTextColour), baseTextSize,
                              0x1000000, nullptr);
}

void CViewGraphWnd::DrawQueuedLabels()
{
    if (target_)
        Graph().DrawQueuedLabels();
}

void CViewGraphWnd::InvertSelectionBar(int32_t x0, int32_t x1)
{
    if (selectionShown_ && selection_[0] == x0 && selection_[1] == x1) {
        selectionShown_ = false;
    } else {
        selectionShown_ = true;
        selection_[0] = x0;
        selection_[1] = x1;
    }
    update();
}

void CViewGraphWnd::RebuildNow()
{
    forceBuild_ = true;
    repaint();
}

void CViewGraphWnd::SetFrameTitle(const std::string& title)
{
    QString text = FromCp1252(title);
    setWindowTitle(text);
    if (auto* sub = qobject_cast<QMdiSubWindow*>(parentWidget()))
        sub->setWindowTitle(text);
}

void CViewGraphWnd::ShowStatusTexts()
{
    auto* frame = qobject_cast<CMainFrame*>(window());
    CStatusBarEx* bar = frame ? frame->statusBarEx() : nullptr;
    if (!bar)
        return;
    for (int i = 0; i < 3 && i + 1 < bar->PaneCount(); ++i)
        bar->SetPaneText(i + 1, FromCp1252(statusTexts[size_t(i)]));
}

// ---- Mouse and keys -------------------------------------------------------------------------------

uint32_t CViewGraphWnd::MouseKeys(Qt::KeyboardModifiers modifiers) const
{
    uint32_t keys = 0;
    if (modifiers & Qt::ShiftModifier)
        keys |= kMouseKeyShift;
    if (modifiers & Qt::ControlModifier)
        keys |= kMouseKeyControl;
    return keys;
}

void CViewGraphWnd::mouseMoveEvent(QMouseEvent* event)
{
    QPoint p = event->position().toPoint();
    uint32_t keys = MouseKeys(event->modifiers()) | ((event->buttons() & Qt::LeftButton) ? kMouseKeyLeft : 0);
    OnMouseMove(keys, p.x(), p.y());
}

void CViewGraphWnd::mousePressEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton) {
        CGraphViewWnd::mousePressEvent(event);
        return;
    }
    QPoint p = event->position().toPoint();
    OnLButtonDown(MouseKeys(event->modifiers()) | kMouseKeyLeft, p.x(), p.y());
}

void CViewGraphWnd::mouseReleaseEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton)
        return;
    QPoint p = event->position().toPoint();
    if (selectionShown_)
        InvertSelectionBar(selection_[0], selection_[1]);
    OnLButtonUp(MouseKeys(event->modifiers()), p.x(), p.y());
}

void CViewGraphWnd::mouseDoubleClickEvent(QMouseEvent* event)
{
    QPoint p = event->position().toPoint();
    OnDoubleClick(MouseKeys(event->modifiers()), p.x(), p.y());
}

void CViewGraphWnd::wheelEvent(QWheelEvent* event)
{
    OnMouseWheel(event->angleDelta().y());
    event->accept();
}

void CViewGraphWnd::keyPressEvent(QKeyEvent* event)
{
    if (event->key() == Qt::Key_Shift) {
        OnKeyDown(kKeyShiftCode);
        return;
    }
    CGraphViewWnd::keyPressEvent(event);
}

void CViewGraphWnd::keyReleaseEvent(QKeyEvent* event)
{
    if (event->key() == Qt::Key_Shift) {
        OnKeyUp(kKeyShiftCode);
        return;
    }
    CGraphViewWnd::keyReleaseEvent(event);
}

void CViewGraphWnd::showEvent(QShowEvent* event)
{
    CGraphViewWnd::showEvent(event);
    windowShown = 1;
}

void CViewGraphWnd::hideEvent(QHideEvent* event)
{
    windowShown = 0;
    CGraphViewWnd::hideEvent(event);
}

void InstallChartViewClasses()
{
    for (int32_t kind : {kViewDailyChart, kViewIntradayChart})
        RegisterViewClass(kind, [](int32_t k) -> CViewBaseWnd* { return new CViewGraphWnd(k); });
}

} // namespace qv
