// The chart view window: paint through an off-screen image, mouse and keys, printing.
#include "chartmodel/ui/ViewGraphWindow.h"

#include "chartmodel/AddOnZoom.h"
#include "chartmodel/ChartLabels.h"
#include "chartmodel/ChartModeStop.h"
#include "chartmodel/ChartToggles.h"
#include "chartmodel/CrossHairs.h"
#include "chartmodel/GraphDesign.h"
#include "chartmodel/GraphSettingLayout.h"
#include "chartmodel/IndicatorPlacement.h"
#include "chartmodel/LegendPlacement.h"
#include "chartmodel/PaneLayout.h"
#include "chartmodel/ui/ChartPicture.h"
#include "chartmodel/ui/ChartPopupMenu.h"
#include "chartmodel/ui/CrossHairsPainter.h"
#include "platform/Registry.h"
#include "chartmodel/ui/GraphLegend.h"
#include "chartmodel/ui/GraphCanvas.h"
#include "chartmodel/ui/GraphPainter.h"
#include "core/ShareList.h"
#include "core/ui/PenSelect.h"
#include "platform/MessageDispatch.h"
#include "platform/qt/QtText.h"
#include "resources/MessageIds.h"
#include "shell/LayoutSwitch.h"
#include "shell/ui/MainFrame.h"
#include "shell/ui/StatusBarEx.h"
#include "views/CommandUpdate.h"
#include "views/FrameState.h"
#include "views/ViewKinds.h"
#include "views/ui/ViewClassRegistry.h"

#include <QGuiApplication>
#include <QKeyEvent>
#include <QScreen>
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
constexpr uint32_t kCommandPrintPreview = 26117;
constexpr uint32_t kCommandPrint = 26119;
constexpr uint32_t kCommandCopyGraph = 26932;
constexpr uint32_t kCommandExportGraph = 27090;
constexpr uint32_t kCommandLogScale = 20223;
constexpr uint32_t kCommandTrendLines = 26540;
constexpr uint32_t kCommandLoopBack = 20615;
constexpr uint32_t kCommandReturnToList = 27031;
constexpr uint32_t kCommandExitEditMode = 27265;
constexpr uint32_t kCommandPreviousView = 505;
constexpr uint32_t kCommandLegend = 26061;
constexpr uint32_t kCommandCrossHairs = 26212;
constexpr uint32_t kCommandFirstShare = 20604;
constexpr uint32_t kCommandDeleteWindowUnderMouse = 26380;
constexpr uint32_t kCommandLastShare = 20605;
constexpr uint32_t kCommandZoomFirstWindow = 26529;
constexpr uint32_t kCommandZoomSizeFirst = 26507; // 70, 60, 50, 40 and 30 per cent

int32_t ZoomPercentOf(uint32_t command) { return 70 - 10 * int32_t(command - kCommandZoomSizeFirst); }
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
    CGraphLegend& legend = GraphLegendWindow();
    if (!OtherVisibleChartRemains(this)) {
        legend.Hide();
        return;
    }
    // The legend keeps its lines until another chart takes the focus, but no pointer to this one.
    if (legend.view() == static_cast<CViewGraphBase*>(this))
        legend.Bind(nullptr, nullptr);
}

intptr_t CViewGraphWnd::onProgramMessage(uint32_t message, uintptr_t wParam, intptr_t lParam)
{
    if (message == WM_COMMAND) {
        switch (wParam) {
        case kCommandCopyGraph: CopyGraphToClipboard(*this); return 1;
        case kCommandExportGraph: ExportGraphMetafile(*this); return 1;
        case kCommandPrint: PrintGraph(*this); return 1;
        case kCommandPrintPreview: PrintPreviewGraph(*this); return 1;
        case kCommandLogScale:
            ToggleLogScale(*ActiveSetting());
            NotifyGraphSettings(0);
            return 1;
        case kCommandTrendLines:
            ToggleTrendLines(*ActiveSetting(), SavedDisplayBits());
            NotifyGraphSettings(0);
            return 1;
        case kCommandReturnToList:
            // A graph opened from a list goes back to that list, as the next view kind does.
            if (HasParentLink(*this) && MainFrameTarget()) {
                StopChartMode();
                PostProgramMessage(*MainFrameTarget(), WM_COMMAND, ID_NEXT_VIEW);
                return 1;
            }
            StopChartMode();
            return 1;
        case kCommandLoopBack:
        case kCommandExitEditMode: StopChartMode(); return 1;
        case kCommandLegend: ToggleLegend(); return 1;
        case kCommandCrossHairs: ToggleCrossHairs(); return 1;
        case kCommandDeleteWindowUnderMouse:
            if (int window = AddOnWindowUnderMouse(); window >= 0) {
                DeleteAddOnWindow(*ActiveSetting(), window);
                NotifyGraphSettings(0);
            }
            return 1;
        case kCommandFirstShare: MoveToListEnd(false); return 1;
        case kCommandLastShare: MoveToListEnd(true); return 1;
        case kCommandIndicatorPopup:
        case kCommandMarketPopup:
            // The chosen command goes to this chart, whichever view the frame counts as active.
            ShowChartPopupMenu(ChartPopupMenuId(uint32_t(wParam), kind), this, [this](uint32_t command) {
                if (!onProgramMessage(WM_COMMAND, command, 0))
                    SendFrameCommand(command);
            });
            return 1;
        default: break;
        }
        if (wParam >= kCommandZoomFirstWindow && wParam < kCommandZoomFirstWindow + kLayoutAddOnWindows) {
            if (ToggleAddOnZoom(*ActiveSetting(), int(wParam - kCommandZoomFirstWindow), false))
                NotifyGraphSettings(0);
            return 1;
        }
        if (wParam >= kCommandZoomSizeFirst && wParam < kCommandZoomSizeFirst + 5) {
            ChartOptions().zoomPercent = ZoomPercentOf(uint32_t(wParam));
            if (ToggleAddOnZoom(*ActiveSetting(), AddOnWindowUnderMouse(), true))
                NotifyGraphSettings(0);
            return 1;
        }
    }
    return CViewGraph::onProgramMessage(message, wParam, lParam);
}

bool CViewGraphWnd::UpdateCommandUi(CommandUi& ui) const
{
    switch (ui.command) {
    case kCommandCopyGraph:
    case kCommandExportGraph:
    case kCommandPrint:
    case kCommandPrintPreview: ui.enabled = true; return true;
    case kCommandLogScale:
        ui.checked = LogScaleOn(*ActiveSetting());
        ui.enabled = graphSourceKind != 4 && graphSourceKind != 8 && !(viewFlags & 1);
        return true;
    case kCommandTrendLines:
        ui.checked = TrendLinesOn(*ActiveSetting());
        ui.enabled = true;
        return true;
    case kCommandLoopBack:
    case kCommandReturnToList:
    case kCommandExitEditMode: ui.enabled = true; return true;
    case kCommandFirstShare:
    case kCommandLastShare: ui.enabled = ShareListHasEntries(list); return true;
    case kCommandDeleteWindowUnderMouse: ui.enabled = !settingsLocked; return true;
    case kCommandLegend:
        ui.enabled = true;
        ui.checked = ChartOptions().legendShown != 0;
        return true;
    case kCommandIndicatorPopup:
    case kCommandMarketPopup: ui.enabled = ChartPopupMenuId(ui.command, kind) != 0; return true;
    case kCommandCrossHairs:
        ui.enabled = true;
        ui.checked = ChartOptions().crossHairs != 0;
        return true;
    default: break;
    }
    if (ui.command >= kCommandZoomFirstWindow && ui.command < kCommandZoomFirstWindow + kLayoutAddOnWindows) {
        int window = int(ui.command - kCommandZoomFirstWindow);
        ui.enabled = gs::IndicatorSlot(*ActiveSetting(), window, 0)[gs::kSlotType] != 0;
        ui.checked = AddOnWindowZoomed(*ActiveSetting(), window);
        return true;
    }
    if (ui.command >= kCommandZoomSizeFirst && ui.command < kCommandZoomSizeFirst + 5) {
        ui.enabled = true;
        ui.checked = ChartOptions().zoomPercent == ZoomPercentOf(ui.command);
        return true;
    }
    return CViewGraph::UpdateCommandUi(ui);
}

int CViewGraphWnd::AddOnWindowUnderMouse() const
{
    GraphPane* pane = nullptr;
    TimeBand* band = nullptr;
    GraphSeries* series = nullptr;
    HitTestPane(lastMouseX, lastMouseY, &pane, &band, &series);
    if (!pane || pane->id < kPaneFirstAddOn)
        return -1;
    return int(pane->id - kPaneFirstAddOn);
}

namespace {
constexpr const char* kLegendSection = "Settings";
constexpr const char* kLegendShownValue = "LegendShown";
} // namespace

void CViewGraphWnd::ToggleLegend()
{
    ChartOptions().legendShown = ChartOptions().legendShown ? 0 : 1;
    // The next start shows the legend at the first chart's first paint when it was on.
    Registry::Instance().setU32(kLegendSection, kLegendShownValue, ChartOptions().legendShown);
    if (!ChartOptions().legendShown) {
        GraphLegendWindow().Hide();
        return;
    }
    ShowLegendWindow();
    UpdateStatusTexts();
}

void CViewGraphWnd::ShowLegendAtFirstPaint()
{
    static bool asked = false;
    if (asked || SlideShowRunning || !isVisible())
        return;
    asked = true;
    ChartOptions().legendOnFirstPaint = uint8_t(Registry::Instance().getU32(kLegendSection, kLegendShownValue).value_or(0));
    if (ChartOptions().legendOnFirstPaint && !ChartOptions().legendShown)
        PostProgramMessage(*this, WM_COMMAND, kCommandLegend);
}

void CViewGraphWnd::ShowLegendWindow()
{
    CGraphLegend& legend = GraphLegendWindow();
    if (!legend.isVisible()) {
        const LegendSettings& saved = ProgramLegendSettings();
        QRect savedRect(QPoint(saved.left, saved.top), QPoint(saved.right - 1, saved.bottom - 1));
        bool onScreen = false;
        for (QScreen* screen : QGuiApplication::screens())
            onScreen = onScreen || screen->geometry().intersects(savedRect);
        QScreen* screen = QGuiApplication::primaryScreen();
        QPoint corner = mapToGlobal(QPoint(0, 0));
        LegendRect place = ChooseLegendRect(saved, onScreen, screen ? screen->geometry().width() : 1024, corner.x(),
                                            corner.y());
        legend.setGeometry(place.left, place.top, place.width, place.height);
    }
    legendSource_.intraday = kind == kViewIntradayChart;
    legendSource_.filterEvaluating = DataMiningRunBusy != 0;
    legendSource_.setting = ActiveSetting();
    legendSource_.settingName = SettingName();
    legendSource_.items = &ProgramLegendItems(legendSource_.intraday);
    FillLegendSource(legendSource_);
    legend.Bind(this, &legendSource_);
    legend.UpdateLegend(false);
    // A tool window belonging to the main window stays above it, also after a dialog closes.
    if (QWidget* top = window(); top != this && legend.parentWidget() != top) {
        const QRect place = legend.geometry();
        legend.setParent(top, Qt::Tool);
        legend.setGeometry(place);
    }
    legend.setAttribute(Qt::WA_ShowWithoutActivating);
    legend.show();
}

void CViewGraphWnd::MoveToListEnd(bool last)
{
    CancelMode();
    if (!ShareListHasEntries(list))
        return;
    if (list->changed)
        ResortShareList(list);
    int32_t at = -1;
    for (int32_t i = 0; i < list->capacity; ++i)
        if (list->entries[i].record) {
            at = i;
            if (!last)
                break;
        }
    if (at < 0)
        return;
    list->current = at;
    list->currentId = EntryRecordId(list->entries[at]);
    list->currentSub = list->entries[at].count;
    InvalidateLinkedViews(true, false);
    InvalidateWindow();
}

void CViewGraphWnd::StopChartMode()
{
    ChartModeState state;
    state.training = trainingMode != 0;
    state.priceEdit = priceEditMode != 0;
    state.drawingTool = modeRecord.active && modeRecord.mode >= kModeLineStudy && modeRecord.mode <= kModeGraphText;
    state.shareSource = graphSourceKind == 0;
    switch (StopChartModeStep(state)) {
    case ChartStopStep::EndTrainingAndPriceEdit:
        trainingMode = 0;
        trainingMark = -1;
        priceEditMode = 0;
        // Built again: price editing drew daily bars under its own caption.
        CancelMode();
        InvalidateWindow();
        return;
    case ChartStopStep::CancelTool: CancelMode(); return;
    case ChartStopStep::BackToList:
        if (MessageTarget* frame = MainFrameTarget())
            PostProgramMessage(*frame, WM_COMMAND, kCommandPreviousView);
        return;
    default: return;
    }
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
        AttachGraphSource(&painter, styleRecord ? styleRecord : ActiveSetting(), 0, 0, width(), height(), 0,
                                      margin, ChartOptions().flickerFree != 0, true);
        graph_.reset();
        device_ = target_ = nullptr;
    } else {
        PaintInto(painter, device);
    }
    if (!builtDirect_)
        painter.drawImage(0, 0, image_);
    ShowLegendAtFirstPaint();
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
    if (crossShown_)
        InvertCrossHairs(painter, CrossHairLines(panes, plotRect, cross_[0], cross_[1],
                                                 ChartOptions().verticalLineOnly != 0));
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

void CViewGraphWnd::DrawChartPicture(QPainter& painter, int w, int h)
{
    // The build runs only in a mode; a caller that holds none gets the redrawing mode for the picture.
    bool hold = !modeRecord.active;
    if (hold)
        SetMode(true, kModeRedrawing, 0, 0, 0xFFFF);
    device_ = target_ = &painter;
    int32_t margin = int32_t(gs::U8(*ActiveSetting(), gs::kWhiteSpace)) * 3 + 1;
    // As on the screen, a first build sizes the value axes; when they grew, build again over it.
    int32_t before = axisWidth;
    AttachGraphSource(&painter, ActiveSetting(), 0, 0, w, h, 0, margin, false, true);
    if (axisWidth != before)
        AttachGraphSource(&painter, ActiveSetting(), 0, 0, w, h, 0, margin, false, true);
    graph_.reset();
    device_ = target_ = nullptr;
    if (hold)
        SetMode(false, 0, 0, 0, 0xFFFF);
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
    if (backgroundKind != kShadedBackground)
        return;
    for (const GraphPane* pane = panes; pane; pane = pane->next) {
        if (!pane->visible || pane->id == kPaneCaption)
            continue;
        for (int32_t y = pane->top; y < pane->bottom; ++y)
            target_->fillRect(QRect(pane->left, y, pane->right - pane->left, 1), Colour(BackgroundAtRow(y)));
    }
}

void CViewGraphWnd::DrawCaptionLine()
{
    GraphPane* caption = FindPane(kPaneCaption);
    if (!target_ || !caption)
        return;
    QRect r(caption->left, caption->top, caption->right - caption->left, caption->bottom - caption->top);
    target_->setPen(Colour(gs::U32(*styleRecord, gs::kTitleTextColour)));
    target_->drawText(r, Qt::AlignLeft | Qt::AlignVCenter, FromCp1252(CaptionLeftText()));
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
        graph_->prepareLayout = [this](const PlotElement& element, CGraphSeriesLayout& layout) {
            PrepareColouring(element, layout);
        };
        graphTarget_ = target_;
    }
    return *graph_;
}

ChartCanvas* CViewGraphWnd::Canvas()
{
    if (!target_)
        return nullptr;
    GraphPainter& graph = Graph();
    canvas_ = std::make_unique<GraphCanvas>(graph, *target_);
    return canvas_.get();
}

void CViewGraphWnd::DrawGraphLayer(bool back)
{
    if (target_)
        Graph().DrawGraph(back ? 0 : 1);
}

void CViewGraphWnd::DrawPaneCaptions()
{
    if (!target_)
        return;
    const uint32_t colour = gs::U32(*styleRecord, gs::kTitleTextColour);
    for (const GraphPane* pane = panes; pane; pane = pane->next) {
        if (!pane->visible)
            continue;
        std::vector<GraphPainter::PaneCaptionLine> lines;
        for (const std::string& text : EmptyPaneCaption(*pane))
            lines.push_back({text, colour});
        if (!lines.empty())
            Graph().QueuePaneCaption(pane, lines);
    }
}

void CViewGraphWnd::DrawWatermarks()
{
    constexpr uint16_t kWatermarkShown = 16;
    if (!target_ || !(gs::U16(*styleRecord, gs::kDisplayFlags) & kWatermarkShown))
        return;
    const uint16_t bits = gs::U16(*styleRecord, gs::kWatermarks);
    target_->save();
    target_->setPen(Colour(gs::U32(*styleRecord, gs::kWatermarkColour)));
    for (const GraphPane* pane = panes; pane; pane = pane->next) {
        const std::vector<std::string> texts = pane->visible ? WatermarkTexts(pane->id, bits) : std::vector<std::string>{};
        if (texts.empty())
            continue;
        // Large and centred, one line per text, behind everything the pane draws.
        const QRect area(pane->left, pane->top, pane->right - pane->left, pane->bottom - pane->top);
        QFont font = labelFont_;
        font.setBold(true);
        font.setPixelSize(std::max(8, std::min(area.height() / (2 * int(texts.size()) + 1), area.width() / 8)));
        target_->setFont(font);
        QString joined;
        for (const std::string& text : texts)
            joined += (joined.isEmpty() ? QString() : QStringLiteral("\n")) + FromCp1252(text);
        target_->drawText(area, Qt::AlignCenter, joined);
    }
    target_->restore();
}

void CViewGraphWnd::DrawLatestPrice()
{
    const GraphPane* price = FindPane(kPanePrice);
    float close = 0;
    std::string text;
    if (!target_ || !(gs::U16(*styleRecord, gs::kScaleFlags) & kLatestPriceFlag) || !price || !price->firstSeries ||
        !price->firstSeries->range || IsRangeEmpty(*price->firstSeries->range) || !LatestClose(close, text))
        return;
    const int32_t y = ValueToY(price->firstSeries->range, close, false);
    if (y < price->top || y > price->bottom)
        return;
    // Ahead of the axis labels it would overlap, on its own background.
    Graph().DrawChartText(plotRect[2] + labelUnit / 2, y, text, kLabelLeft | kLabelCentreY | kLabelOpaque, 1,
                          gs::U32(*styleRecord, gs::kScaleTextColour), baseTextSize,
                          gs::U32(*styleRecord, gs::kLatestPriceBack) & 0xFFFFFF, nullptr);
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

void CViewGraphWnd::QueueAxisText(int32_t x, int32_t y, const std::string& text, uint32_t flags, int32_t priority)
{
    if (!target_)
        return;
    ChartLabel* label = Graph().DrawChartText(x, y, text, flags, priority, gs::U32(*styleRecord, gs::kScaleTextColour),
                                              baseTextSize, 0x1000000, nullptr);
    // Axis labels share one row: two that merely touch read as one ("11/12/26:06"), so each keeps
    // half a digit clear of the next.
    if (label)
        label->margin = std::max(label->margin, (digitWidth + 1) / 2);
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
        bar->FitPaneText(i + 1, FromCp1252(statusTexts[size_t(i)]));
    CGraphLegend& legend = GraphLegendWindow();
    if (ChartOptions().legendShown && legend.view() == this && legend.isVisible())
        ShowLegendWindow();
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
    MoveCrossHairs(p.x(), p.y());
}

void CViewGraphWnd::MoveCrossHairs(int32_t x, int32_t y)
{
    // Not while a pane is being resized: the chart is rebuilt under the mouse.
    const bool resizing = modeRecord.active && modeRecord.mode == kModeResizing && modeRecord.stage >= 3;
    const bool shown = ChartOptions().crossHairs != 0 && !resizing;
    if (shown == crossShown_ && (!shown || (cross_[0] == x && cross_[1] == y)))
        return;
    crossShown_ = shown;
    cross_[0] = x;
    cross_[1] = y;
    update();
}

void CViewGraphWnd::ToggleCrossHairs()
{
    ChartOptions().crossHairs = ChartOptions().crossHairs ? 0 : 1;
    MoveCrossHairs(lastMouseX, lastMouseY);
}

void CViewGraphWnd::enterEvent(QEnterEvent* event)
{
    mouseInside_ = true;
    CGraphViewWnd::enterEvent(event);
}

void CViewGraphWnd::leaveEvent(QEvent* event)
{
    mouseInside_ = false;
    if (crossShown_) {
        crossShown_ = false;
        update();
    }
    CGraphViewWnd::leaveEvent(event);
    UpdateStatusTexts();
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
