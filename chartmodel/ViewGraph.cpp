// The chart view: paint and build, pane layout, value axes, resizing, the mouse protocol, the title
// and the settings-changed broadcast.
#include "chartmodel/ViewGraph.h"

#include "chartmodel/AddOnZoom.h"
#include "chartmodel/ChartNumbers.h"
#include "chartmodel/EodAttachState.h"
#include "chartmodel/GraphDesign.h"
#include "chartmodel/GraphSettingLayout.h"
#include "chartmodel/IndicatorPlacement.h"
#include "chartmodel/IndicatorRecord.h"
#include "chartmodel/IndicatorTable.h"
#include "chartmodel/SeriesLayout.h"
#include "chartmodel/ValueMapping.h"
#include "core/Captions.h"
#include "core/PackedPen.h"
#include "core/ConfigState.h"
#include "core/SectorFilter.h"
#include "core/ShareList.h"
#include "core/VexaEdition.h"
#include "platform/Beep.h"
#include "resources/MessageIds.h"
#include "shell/ViewGroups.h"
#include "views/CommandUpdate.h"
#include "views/FrameState.h"
#include "views/ViewKinds.h"

#include <algorithm>
#include <bit>
#include <cfloat>
#include <chrono>
#include <cmath>
#include <cstring>
#include <optional>

namespace qv {
namespace gs = graphsetting;
namespace {

constexpr uint32_t kIdleMask = 0xFFFF;
constexpr uint32_t kHoverMask = 0x1E00;
constexpr uint32_t kScrollMask = 0x1C00;
constexpr uint32_t kLineMask = 0x400;
constexpr int32_t kResizeZone = 4;
constexpr int32_t kMinSelection = 4;
constexpr int32_t kMinRangeUnits = 300;
constexpr int32_t kMaxGridLines = 64;
constexpr int32_t kTrainingEndZone = 5;
constexpr float kHundredsAbove = 1000;
constexpr uint32_t kKeyShift = 16;
constexpr uint32_t kRangePercent = 8;
constexpr uint32_t kLabelLeftOfPlot = 40;
constexpr uint32_t kLabelRightOfPlot = 36;
constexpr const char* kNoPriceData = "No price data";

bool IsResizable(uint32_t paneId) { return paneId == kPaneVolume || paneId >= kPaneFirstAddOn; }

bool IsChartKind(int32_t kind) { return kind == kViewDailyChart || kind == kViewIntradayChart; }

void WidenRange(ValueRange& range, float value)
{
    if (value == FLT_MAX || !std::isfinite(value))
        return;
    range.minimum = std::min(range.minimum, value);
    range.maximum = std::max(range.maximum, value);
}

constexpr uint32_t kBarFieldSelectors = kSelectOpen | kSelectHigh | kSelectLow | kSelectClose | kSelectVolume;

void WidenFromArray(ValueRange& range, const DataArray& array)
{
    if (!array.data)
        return;
    uint32_t size = DataArrayElementSize(array.type);
    const auto* bytes = static_cast<const uint8_t*>(array.data);
    for (int32_t i = 0; i < array.count; ++i) {
        const uint8_t* element = bytes + size_t(i) * size;
        if (array.type == kArrayFloats) {
            float v;
            std::memcpy(&v, element, sizeof v);
            // A value the series leaves undrawn does not widen the range.
            if (((array.flags & kSelectSkipZero) && v == 0) || ((array.flags & kSelectSkipNegative) && v < 0))
                continue;
            WidenRange(range, v);
        } else if (array.type == kArrayBars && (array.flags & kBarFieldSelectors)) {
            // A line or histogram over bars plots one field: the first the selector names.
            const int field = std::countr_zero(array.flags & kBarFieldSelectors);
            float v;
            std::memcpy(&v, element + 4 * field, sizeof v);
            WidenRange(range, v);
        } else if (array.type == kArrayBars || array.type == kArrayDaily) {
            BarValues bar = ReadBarValues(element);
            WidenRange(range, bar.low);
            WidenRange(range, bar.high);
        }
    }
}

} // namespace

ChartViewOptions& ChartOptions()
{
    static ChartViewOptions options;
    return options;
}

uint32_t& SavedDisplayBits()
{
    static uint32_t word = 0;
    return word;
}

PrintGeometry ComputePrintGeometry(const DrawDevice& device)
{
    PrintGeometry g{device.clientWidth, device.clientHeight, 1.0f, 1.0f};
    if (!device.printer)
        return g;
    g.width = device.printableWidth;
    g.height = device.printableHeight;
    if (device.clientWidth > 0)
        g.horizontal = float(device.printableWidth) / float(device.clientWidth);
    if (device.clientHeight > 0)
        g.vertical = float(device.printableHeight) / float(device.clientHeight);
    return g;
}

bool OtherVisibleChartRemains(const CViewBase* self)
{
    bool found = false;
    ForEachView([&](CViewBase* view) {
        if (view != self && IsChartKind(view->kind) && view->WindowExists() && view->WindowVisible())
            found = true;
    });
    return found;
}

void ToggleMovingAverageWord(GraphSetting& setting, int line, uint32_t& savedWord)
{
    if (line < 0 || line >= gs::kLines)
        return;
    size_t at = gs::kLineWords + 4 * size_t(line);
    uint32_t word = gs::U32(setting, at);
    uint32_t bits = word >> 30;
    int shift = 2 * line;
    if (bits != 0) {
        savedWord = (savedWord & ~(3u << shift)) | (((bits >> 1) | ((bits & 1) << 1)) << shift);
        gs::SetU32(setting, at, word & 0x3FFFFFFF);
        return;
    }
    uint32_t slot = (savedWord >> shift) & 3;
    uint32_t restored = slot == 0 ? 0x80000000u : ((slot & 1) << 31) | ((slot >> 1) << 30);
    gs::SetU32(setting, at, word | restored);
}

CViewGraph::CViewGraph(int32_t viewKind) : CViewBase(viewKind), CViewGraphBase(viewKind)
{
    paneAxis[kPaneVolume].maxDecimals = 0;
}

CViewGraph::~CViewGraph() { FreeQueuedLabels(); }

uint64_t CViewGraph::NowMs() const
{
    using namespace std::chrono;
    return uint64_t(duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count());
}

int32_t CViewGraph::SettingIndex() const { return std::clamp<int32_t>(secondKey, 0, int32_t(kSettingSlots) - 1); }

GraphSetting* CViewGraph::ActiveSetting() const
{
    ConfigState& config = Config();
    auto& family = kind == kViewIntradayChart ? config.intradayGraphs : config.dailyGraphs;
    return &family.records[size_t(SettingIndex())];
}

std::string CViewGraph::SettingName() const
{
    ConfigState& config = Config();
    auto& family = kind == kViewIntradayChart ? config.intradayGraphs : config.dailyGraphs;
    return family.names[size_t(SettingIndex())].value_or("");
}

bool CViewGraph::ComputeSettingsLocked() const
{
    if (kind != kViewDailyChart || !VexaSettingsApplied())
        return false;
    const auto& bytes = Config().optionsA.bytes;
    int32_t index = SettingIndex();
    return bytes[OptionBlockA::kEditionGraphSlot1] == index || bytes[OptionBlockA::kEditionGraphSlot2] == index;
}

int32_t CViewGraph::TextWidth(const std::string& text) const
{
    return int32_t(text.size()) * std::max(digitWidth, 1);
}

// ---- Paint and build ------------------------------------------------------------------------------

void CViewGraph::AttachStyle()
{
    styleRecord = privateCopyOn ? &privateCopy : ActiveSetting();
}

void CViewGraph::OnDraw(void* dc, const DrawDevice& device)
{
    if (list && ShareListHasEntries(list))
        FollowLinkedShare();
    const ChartModeRecord& m = modeRecord;
    if (m.active && m.mode == kModeRedrawing)
        return;
    if (m.active && (m.mode == kModeTimeRange || m.mode == kModeResizing) && m.stage > 2)
        return;
    if (ClearPendingRedraw())
        return;
    settingsLocked = ComputeSettingsLocked();
    if (SettingIndex() != lastDrawnSetting)
        CancelMode();
    AttachStyle();

    ChartModeRecord saved = modeRecord;
    bool tool = IsDrawingTool();
    if (!saved.active || saved.stage == 1 || (tool && saved.stage == 2) ||
        (saved.mode == kModeEditPrice && saved.stage == 3))
        SetMode(true, kModeRedrawing, 0, 0, kIdleMask);

    PrintGeometry geometry = ComputePrintGeometry(device);
    horizontalScale = geometry.horizontal;
    verticalScale = geometry.vertical;
    pendingChangeMs = 0;
    int32_t margin = graphdesign::ViewMargin(*styleRecord);
    AttachGraphSource(dc, styleRecord, 0, 0, geometry.width, geometry.height, 0, margin,
                      ChartOptions().flickerFree != 0 && !device.printer, true);

    if (saved.active && (saved.stage == 1 || (tool && saved.stage == 2)))
        SetMode(true, saved.mode, saved.subtype, saved.stage, saved.mask);
    else if (modeRecord.mode == kModeRedrawing || (modeRecord.active && modeRecord.mode == kModeIdle))
        SetMode(false, 0, 0, 0, kIdleMask);
    UpdateTitle();
    paintDC = nullptr;
    lastDrawnSetting = SettingIndex();

    if (ViewUnderMouse() == this)
        OnMouseMove(0, lastMouseX, lastMouseY);
    else if (!ViewUnderMouse() && active)
        UpdateStatusTexts();
}

void CViewGraph::AttachGraphSource(void* dc, const GraphSetting* style, int32_t left, int32_t top, int32_t right,
                                   int32_t bottom, int outputKind, int32_t margin, bool offscreen, bool addOns)
{
    styleRecord = style ? style : ActiveSetting();
    const GraphSetting& s = *styleRecord;
    labelUnit = outputKind == 1 ? 8 : outputKind == 2 ? 5 : 8;
    // Every output, the graph design's preview too, shows the style's own background: a dark style's
    // preview on white would hide its light lines.
    backgroundColour = gs::U32(s, gs::kBackground);
    backgroundKind = gs::U8(s, gs::kShadedFrames);
    shadeColours[0] = gs::U32(s, gs::kShadeTop) & 0xFFFFFF;
    shadeColours[1] = gs::U32(s, gs::kShadeBottom) & 0xFFFFFF;
    // Hollow candle bodies are filled with the background.
    labelBackground = backgroundColour;
    uint8_t flagsByte = uint8_t(gs::U16(s, gs::kDisplayFlags));
    priceShown = 1;
    addOnsShown = addOns ? 1 : 0;
    volumeShown = (gs::U8(s, gs::kVolumePane) & 1) != 0;
    topStrip = (flagsByte & 1) != 0;
    stripShown = (flagsByte & 2) != 0;
    bottomStrip = (flagsByte & 4) != 0;
    uint8_t display = gs::U8(s, gs::kPriceDisplay);
    // Charts laid out by boxes, not by dates: a drag moves over their columns and boxes.
    const bool dated = (gs::U16(s, gs::kBoxChartFlags) & kBoxOptionDatedReversal) != 0;
    boxChart = display <= 8 && (ChartKindFlags(display, dated) & kChartBoxAxis) && graphSourceKind == 0;
    viewFlags = (viewFlags & ~3u) | (boxChart ? 3u : 0u);
    uint16_t scaleFlags = gs::U16(s, gs::kScaleFlags);
    leftLabels = (scaleFlags & 1) != 0;
    rightLabels = (scaleFlags & 2) != 0;
    int density = int(std::min<uint32_t>(gs::U32(s, gs::kGridDensityH), 3));
    for (auto& axis : paneAxis)
        axis.gridDensity = density;
    paneMargin = margin;
    outerRect[0] = left;
    outerRect[1] = top;
    outerRect[2] = right;
    outerRect[3] = bottom;
    offscreenAllowed = offscreen;
    paintDC = dc;
    RebuildModel();
    BuildAndDraw(dc, outputKind);
}

uint32_t CViewGraph::BackgroundAtRow(int32_t y) const
{
    if (backgroundKind != kShadedBackground)
        return backgroundColour & 0xFFFFFF;
    for (const GraphPane* pane = panes; pane; pane = pane->next) {
        if (!pane->visible || pane->id == kPaneCaption || y < pane->top || y >= pane->bottom)
            continue;
        const int32_t height = std::max(pane->bottom - pane->top - 1, 1);
        return BlendColour(shadeColours[0], shadeColours[1], double(y - pane->top) / height);
    }
    return backgroundColour & 0xFFFFFF;
}

PaneLayoutInput CViewGraph::LayoutInput() const
{
    PaneLayoutInput in;
    in.left = plotRect[0];
    in.top = plotRect[1];
    in.right = plotRect[2];
    in.bottom = plotRect[3];
    in.textHeight = std::max(textHeight, 1);
    in.labelHeight = std::max(textHeight, 1);
    in.margin = paneMargin;
    in.priceShown = priceShown;
    in.volumeShown = volumeShown;
    in.addOnsShown = addOnsShown && graphSourceKind == 0 && !boxChart;
    in.stripShown = stripShown;
    in.stripAtBottom = stripAtBottom;
    in.topStrip = topStrip;
    in.bottomStrip = bottomStrip;
    in.zoomPercent = ChartOptions().zoomPercent;
    const GraphSetting& s = styleRecord ? *styleRecord : *ActiveSetting();
    in.volumeMille = gs::U16(s, gs::kVolumePaneHeight);
    const GraphSetting& setting = *ActiveSetting();
    for (int w = 0; w < kLayoutAddOnWindows; ++w) {
        auto slot = gs::IndicatorSlot(setting, w, 0);
        in.windowInUse[size_t(w)] = slot[gs::kSlotType] != 0;
        in.windowMille[size_t(w)] = int16_t(LoadU16(slot.data() + gs::kSlotHeightWeight));
    }
    return in;
}

const GraphPane* CViewGraph::LowestPane() const
{
    const GraphPane* lowest = nullptr;
    for (const GraphPane* pane = panes; pane; pane = pane->next)
        if (pane->visible && pane->id != kPaneCaption && (!lowest || pane->bottom > lowest->bottom))
            lowest = pane;
    return lowest;
}

void CViewGraph::CreatePanes()
{
    PaneLayoutResult layout = ComputePaneLayout(LayoutInput());
    for (int id = kLayoutPanes - 1; id >= int(kPaneFirstAddOn); --id)
        if (layout.panes[size_t(id)].shown && !FindPane(uint32_t(id)))
            AddPane(uint32_t(id));
    for (uint32_t id : {kPaneStrip, kPaneVolume, kPanePrice, kPaneCaption})
        if (layout.panes[id].shown && !FindPane(id))
            AddPane(id);
}

void CViewGraph::ApplyLayout(const PaneLayoutResult& layout)
{
    shareHeight = layout.shareHeight;
    for (GraphPane* pane = panes; pane; pane = pane->next) {
        if (pane->id >= uint32_t(kLayoutPanes))
            continue;
        const PaneRect& r = layout.panes[pane->id];
        pane->visible = r.shown;
        pane->left = r.left;
        pane->top = r.top;
        pane->right = r.right;
        pane->bottom = r.bottom;
    }
}

void CViewGraph::LayoutPanes()
{
    if ((modeRecord.mask & (kRedrawLayout | kRedrawLayoutAlt)) == 0)
        return;
    int32_t tick = std::max(2 * textHeight / 3, 1);
    int32_t label = std::max(3 * textHeight / 2, 1);
    for (auto& axis : paneAxis) {
        axis.tickSpacing = tick;
        axis.labelSpacing = label;
    }
    if (modeRecord.mask & kRedrawClearPaneLists)
        FreePanes();
    for (GraphPane* pane = panes; pane; pane = pane->next)
        pane->flagA = pane->flagC = 0;
    CreatePanes();
    ApplyLayout(ComputePaneLayout(LayoutInput()));
    SetPaneTitles();
}

void CViewGraph::SetPaneTitles()
{
    const GraphSetting& s = styleRecord ? *styleRecord : *ActiveSetting();
    const bool addOnTitles = (gs::U16(s, gs::kScaleFlags) & kAddOnTitlesFlag) != 0;
    // Titles start inside the plot, clear of the value axis labels.
    titleOrigin = plotRect[0];
    for (GraphPane* pane = panes; pane; pane = pane->next) {
        pane->showTitles = pane->id == kPanePrice || pane->id == kPaneVolume ||
                           (pane->id >= kPaneFirstAddOn && addOnTitles);
        // The volume and add-on titles name the unit of an axis counted in thousands or more.
        if (pane->id == kPaneVolume || pane->id >= kPaneFirstAddOn)
            pane->titleUnitMode = 0;
    }
}

std::vector<std::string> CViewGraph::EmptyPaneCaption(const GraphPane& pane) const
{
    if (pane.id < kPaneFirstAddOn || pane.id >= uint32_t(kLayoutPanes) || !pane.showTitles)
        return {};
    for (const TimeBand* band = timeBands; band; band = band->next)
        for (const GraphSeries* series = band->series; series; series = series->next)
            if (series->pane == &pane)
                return {};
    std::vector<std::string> lines;
    const GraphSetting& setting = *ActiveSetting();
    const int window = int(pane.id - kPaneFirstAddOn);
    for (int k = 0; k < gs::kIndicatorsPerWindow; ++k) {
        const auto slot = gs::IndicatorSlot(setting, window, k);
        if (slot[gs::kSlotType] != 0)
            lines.push_back(GetIndicatorName(IndicatorRecord::Read(slot)) + " - no data");
    }
    return lines;
}

bool CViewGraph::PriceInHundreds() const
{
    GraphPane* price = FindPane(kPanePrice);
    if (!ChartOptions().hundreds || !price || !price->firstSeries || !price->firstSeries->range)
        return false;
    for (uint8_t unit : {1, 6, 12, 16, 17})
        if (currencyUnit == unit)
            return false;
    const ValueRange& range = *price->firstSeries->range;
    return !IsRangeEmpty(range) && range.maximum > kHundredsAbove;
}

void CViewGraph::MeasureAxisLabels(bool afterBuild)
{
    paneAxis[kPanePrice].hundreds = PriceInHundreds();
    int32_t width = TextWidth("99");
    for (GraphPane* pane = panes; pane; pane = pane->next)
        if (pane->visible && pane->firstSeries && pane->firstSeries->range)
            width = std::max(width, DrawValueAxis(pane, false));
    if (afterBuild) {
        // The panes are laid out by now: a wider axis than the layout allowed for is taken up by
        // the next paint, which measures the ranges this build leaves.
        if (width > axisWidth) {
            axisWidth = width;
            InvalidateWindow();
        }
        return;
    }
    axisWidth = width;
    int32_t left = outerRect[0] + (leftLabels ? axisWidth + labelUnit : labelUnit);
    int32_t right = outerRect[2] - (rightLabels ? axisWidth + labelUnit : labelUnit);
    plotRect[0] = std::min(left, right);
    plotRect[1] = outerRect[1] + paneMargin;
    plotRect[2] = right;
    plotRect[3] = outerRect[3] - paneMargin;
}

void CViewGraph::ComputeValueRanges()
{
    if ((modeRecord.mask & kRedrawValueRanges) == 0)
        return;
    for (ValueRange* range = valueRanges; range; range = range->next) {
        range->minimum = FLT_MAX;
        range->maximum = -FLT_MAX;
    }
    for (TimeBand* band = timeBands; band; band = band->next)
        for (GraphSeries* series = band->series; series; series = series->next) {
            if (!series->range || !series->pane || !series->pane->visible)
                continue;
            for (PlotElement* e = series->elements; e; e = e->next) {
                WidenFromArray(*series->range, e->values);
                WidenFromArray(*series->range, e->second);
            }
        }
    int32_t inset = std::max(labelUnit / 2, 1);
    for (ValueRange* range = valueRanges; range; range = range->next) {
        if (!range->series || !range->series->pane)
            continue;
        const GraphPane* pane = range->series->pane;
        range->yTop = pane->top + inset;
        range->yBottom = std::max(pane->bottom - inset, range->yTop + 1);
    }
}

std::string CViewGraph::BuildPaneCaption(const GraphSeries& series) const
{
    std::string title(series.title, strnlen(series.title, kSeriesTitleSize));
    // The first series of a pane counted in thousands or more names the unit, as the titles do.
    if (series.pane && series.pane->firstSeries == &series && series.pane->titleUnitMode == 0)
        title += PaneUnitSuffix(series.pane->thousandsIndex);
    if (trainingMode && trainingMark >= 0)
        return "Training: " + title;
    if (priceEditMode)
        return "Edit Mode: " + title;
    return title;
}

void CViewGraph::BuildAddOnSeries()
{
    if ((modeRecord.mask & kRedrawAddOnSeries) == 0 || graphSourceKind != 0)
        return;
    const GraphSetting& setting = *ActiveSetting();
    for (int w = 0; w < gs::kAddOnWindowCount; ++w) {
        GraphSeries* built[gs::kIndicatorsPerWindow] = {};
        for (int r = 0; r < gs::kIndicatorsPerWindow; ++r) {
            uint8_t type = gs::IndicatorSlot(setting, w, r)[gs::kSlotType];
            if (type == 0)
                continue;
            GraphSeries* earlier = nullptr;
            for (int k = 0; k < r && !earlier; ++k)
                if (built[k] && gs::IndicatorSlot(setting, w, k)[gs::kSlotType] == type)
                    earlier = built[k];
            const bool breadth = type >= IndicatorType::FirstBreadth && type <= IndicatorType::LastBreadth;
            built[r] = breadth ? BuildMarketGraphSeries(w, r) : BuildIndicatorSeries(w, r, earlier);
        }
    }
}

void CViewGraph::BuildAndDraw(void* dc, int outputKind)
{
    if (!modeRecord.active || !dc)
        return;
    bool offscreen = outputKind == 0 && offscreenAllowed && BeginOffscreen();
    MeasureAxisLabels(false);
    FreeQueuedLabels();
    FreeForRebuild(false);
    LoadShareData();
    LayoutPanes();
    BuildTimeBands();
    BuildSeries();
    if (addOnsShown && !boxChart) {
        BuildPriceOverlaySteps();
        BuildAddOnSeries();
        if (modeRecord.mask & kRedrawAddOnSeries)
            for (int line = 0; line < 5; ++line)
                BuildPriceLineOverlay(line);
        DrawPriceOverlays();
    }
    if (addOnsShown && !IsDrawingTool())
        ReloadPaneLineObjects();
    ComputeValueRanges();
    MeasureAxisLabels(true);
    BuildAxes();
    BuildFinalSteps();

    FillBackground(backgroundColour);
    bool plotEmpty = plotRect[2] <= plotRect[0] || plotRect[3] <= plotRect[1];
    if (!plotEmpty) {
        if (topStrip)
            DrawCaptionLine();
        bool reversed = false;
        for (TimeBand* band = timeBands; band; band = band->next)
            reversed |= band->right < band->left;
        if (!reversed) {
            DrawPaneShading();
            for (GraphPane* pane = panes; pane; pane = pane->next)
                if (pane->visible && pane->firstSeries && pane->firstSeries->range)
                    DrawValueAxis(pane, true);
            GraphPane* price = FindPane(kPanePrice);
            if (!timeBands || !noDataText.empty()) {
                if (price)
                    DrawNoData(*price, noDataText.empty() ? kNoPriceData : noDataText);
            } else {
                DrawWatermarks();
                // The grid lies under the series: drawn over them in its solid pen it would hide a bar
                // standing on a month line and cut the indicator lines that run along a level.
                DrawLevelLines();
                DrawTimeLines();
                DrawGraphLayer(true);
                DrawPaneCaptions();
                if (!(trainingMode && trainingMark >= 0))
                    DrawLatestPrice();
                BuildLegendData();
                DrawGraphLayer(false);
                DrawLineObjects();
            }
            DrawPaneFrames(-1);
        }
        DrawQueuedLabels();
        fullRedraw = 0;
    }
    if (offscreen)
        EndOffscreen();
    DrawCrossHairs();
}

// ---- Value axis -----------------------------------------------------------------------------------

int32_t CViewGraph::DrawValueAxis(GraphPane* pane, bool draw)
{
    if (!pane || !pane->firstSeries || !pane->firstSeries->range)
        return 0;
    const ValueRange* first = pane->firstSeries->range;
    const ValueRange* second = nullptr;
    for (GraphSeries* s = pane->firstSeries->next; s && !second; s = s->next)
        if (s->pane == pane && s->range && s->range != first && (s->range->flags & kRangePercent))
            second = s->range;
    bool twoPasses = second && rightLabels;
    int32_t width = 0;
    const std::vector<OwnAxisLabel> own = OwnValueAxis(*pane);
    if (!own.empty()) {
        width = DrawOwnValueAxis(pane, own, draw);
    } else {
        DrawAxisPass(pane, first, (first->flags & kRangePercent) != 0, false, twoPasses, draw, width);
        if (twoPasses)
            DrawAxisPass(pane, second, true, true, true, draw, width);
    }
    if (draw)
        for (int32_t row : OwnGridRows(*pane))
            AddGridLinePixel(pane->gridLines, kGridEveryPane, row);
    return width;
}

int32_t CViewGraph::DrawOwnValueAxis(GraphPane* pane, const std::vector<OwnAxisLabel>& labels, bool draw)
{
    int32_t width = 0;
    for (const OwnAxisLabel& label : labels)
        width = std::max(width, TextWidth(label.text));
    if (!draw)
        return width;
    pane->fixedLevelCount = FreeGridLines(pane->gridLines, true);
    for (const OwnAxisLabel& label : labels) {
        if (leftLabels)
            QueueChartText(plotRect[0] - labelUnit / 2, label.row, label.text, kLabelLeftOfPlot);
        if (rightLabels)
            QueueChartText(plotRect[2] + labelUnit / 2, label.row, label.text, kLabelRightOfPlot);
        AddGridLinePixel(pane->gridLines, kGridTickLeft, label.row);
        AddGridLinePixel(pane->gridLines, kGridTickRight, label.row);
    }
    return width;
}

void CViewGraph::DrawAxisPass(GraphPane* pane, const ValueRange* range, bool percent, bool secondPass,
                              bool twoPasses, bool draw, int32_t& width)
{
    PaneAxisState& axis = paneAxis[std::min<size_t>(pane->id, kLayoutPanes - 1)];
    double low = range->minimum;
    double high = range->maximum;
    double scale = 1;
    AxisTickInput in;
    in.height = pane->bottom - pane->top;
    in.tickSpacing = axis.tickSpacing;
    in.labelSpacing = axis.labelSpacing;
    in.maxDecimals = axis.maxDecimals;
    in.gridDensity = axis.gridDensity;
    // Only a pane of whole numbers is counted in thousands; one whose indicator changed is not.
    if (!percent)
        pane->thousandsIndex = 0;
    if (percent) {
        double base = std::fabs(range->spare);
        if (base == 0)
            return;
        scale = 100 / base;
        in.offset = -100;
        in.suffix = "%";
    } else if (axis.hundreds) {
        scale = 0.01;
    } else if (pane->id == kPanePrice) {
        // Prices read as prices: "72,000p".
        if (const char symbol = PriceSymbol())
            in.suffix = std::string(1, symbol);
    } else if (axis.maxDecimals == 0) {
        GetThousandsScale(std::max(std::fabs(low), std::fabs(high)), axis.factor, axis.power);
        scale = 1 / axis.factor;
        // The pane's title names the unit its axis is counted in.
        pane->thousandsIndex = axis.power;
    }
    in.low = low * scale;
    in.high = high * scale;
    bool leftPass = !secondPass && leftLabels;
    bool rightPass = rightLabels && (secondPass || !twoPasses);

    std::string format;
    TickLevel levels[3];
    width = std::max(width, ComputeAxisTicks(in, format, levels, [this](const std::string& t) { return TextWidth(t); }));
    if (!draw || levels[0].count < 1 || levels[0].count > 63 || !(levels[0].step > 0.00001f))
        return;
    if (!secondPass)
        pane->fixedLevelCount = FreeGridLines(pane->gridLines, true);

    int32_t counter2 = levels[1].offset;
    int32_t counter3 = levels[2].offset;
    int gridLines = 0;
    int32_t stopRow = pane->bottom - labelUnit / 2;
    for (double v = levels[0].first;; v -= levels[0].step) {
        if (std::fabs(v) < 0.00001)
            v = 0;
        if (v < in.low)
            break;
        int32_t row = ValueToY(range, float(v / scale), true);
        if (row >= stopRow)
            break;
        if (counter2 == 0) {
            std::string text = FormatAxisLabel(format, v + in.offset, in.suffix);
            if (leftPass)
                QueueChartText(plotRect[0] - labelUnit / 2, row, text, kLabelLeftOfPlot);
            if (rightPass)
                QueueChartText(plotRect[2] + labelUnit / 2, row, text, kLabelRightOfPlot);
            counter2 = levels[1].ratio;
        }
        if (!secondPass) {
            if (axis.gridDensity > 0 && counter3 == 0 && gridLines < kMaxGridLines) {
                AddGridLinePixel(pane->gridLines, kGridEveryPane, row);
                ++gridLines;
                counter3 = levels[2].ratio;
            } else {
                AddGridLinePixel(pane->gridLines, kGridTickLeft, row);
            }
            if (!twoPasses)
                AddGridLinePixel(pane->gridLines, kGridTickRight, row);
        } else {
            AddGridLinePixel(pane->gridLines, kGridTickRight, row);
        }
        --counter2;
        --counter3;
    }
}

// ---- Resizing -------------------------------------------------------------------------------------

void CViewGraph::ResizePane(int32_t, int32_t y)
{
    GraphPane* pane = FindPane(resizePaneId);
    if (!pane || !(modeRecord.mode == kModeResizing && modeRecord.stage >= 3))
        return;
    if (pane->id == kPaneVolume) {
        GraphPane* price = FindPane(kPanePrice);
        int32_t priceTop = price ? price->top : pane->top;
        GraphSetting& style = privateCopyOn ? privateCopy : *ActiveSetting();
        gs::SetU16(style, gs::kVolumePaneHeight, uint16_t(ResizeVolumeMille(pane->bottom, priceTop, y)));
        return;
    }
    if (pane->id >= kPaneFirstAddOn)
        ResizeAddOnWindow(int(pane->id - kPaneFirstAddOn), pane->bottom, y);
}

void CViewGraph::ResizeAddOnWindow(int window, int32_t paneBottom, int32_t y)
{
    GraphSetting& setting = *ActiveSetting();
    std::array<int32_t, kLayoutAddOnWindows> mille{};
    std::array<bool, kLayoutAddOnWindows> inUse{};
    for (int w = 0; w < kLayoutAddOnWindows; ++w) {
        auto slot = gs::IndicatorSlot(setting, w, 0);
        inUse[size_t(w)] = slot[gs::kSlotType] != 0;
        mille[size_t(w)] = int16_t(LoadU16(slot.data() + gs::kSlotHeightWeight));
    }
    UnzoomForResize(mille, inUse);
    int32_t others = 0;
    for (int w = 0; w < kLayoutAddOnWindows; ++w)
        if (inUse[size_t(w)])
            others += mille[size_t(w)];
    mille[size_t(window)] =
        ResizeAddOnMille(paneBottom, shareHeight, y, mille[size_t(window)], others);
    for (int w = 0; w < kLayoutAddOnWindows; ++w)
        if (inUse[size_t(w)])
            StoreU16(gs::IndicatorSlot(setting, w, 0).data() + gs::kSlotHeightWeight, uint16_t(mille[size_t(w)]));
}

// ---- Mouse protocol -------------------------------------------------------------------------------

bool CViewGraph::IsDrawingTool() const
{
    return modeRecord.active && modeRecord.mode >= kModeLineStudy && modeRecord.mode <= kModeGraphText;
}

bool CViewGraph::DragInProgress() const { return modeRecord.active && modeRecord.stage >= 4; }

int32_t CViewGraph::ClampX(int32_t x) const { return std::clamp(x, plotRect[0], std::max(plotRect[0], plotRect[2])); }

bool CViewGraph::CancelMode()
{
    if (modeRecord.active && modeRecord.mode == kModeRedrawing)
        return false;
    SetMode(false, 0, 0, 0, kIdleMask);
    DrawingDeselect();
    UpdateCursor(false);
    return true;
}

void CViewGraph::HoverDetect(uint32_t keys, int32_t x, int32_t y)
{
    const ChartModeRecord& m = modeRecord;
    bool hoverMode = (m.mode == kModeResizing && m.stage == 1) ||
                     ((m.mode == kModePreviousShare || m.mode == kModeNextShare) && m.stage == 1) ||
                     (m.mode == kModeEditPrice && m.stage == 1);
    if ((keys & kMouseKeyShift) || (m.active && !hoverMode))
        return;
    GraphPane* pane = nullptr;
    TimeBand* band = nullptr;
    GraphSeries* series = nullptr;
    HitTestPane(x, y, &pane, &band, &series);
    uint32_t mode = 0, subtype = 0, stage = 0, mask = kIdleMask;
    int32_t bar = -1;
    if (pane && IsResizable(pane->id) && y >= pane->top && y < pane->top + kResizeZone) {
        mode = kModeResizing, stage = 1, mask = kHoverMask;
    } else if (priceEditMode && (bar = BarForPriceEdit(x, y)) >= 0) {
        mode = kModeEditPrice, stage = 1, mask = kHoverMask;
        subtype = priceEditField >= 2 && priceEditField <= 5 ? priceEditField - 1 : 0;
    } else if (!pane && panes && x >= 0 && y >= 0) {
        // A point off the window (the mouse not over it yet) lies in no zone.
        int32_t firstTop = INT32_MAX;
        // The caption strip belongs to the zone: the zone ends at the top of the first pane below it.
        for (GraphPane* p = panes; p; p = p->next)
            if (p->visible && p->id != kPaneCaption)
                firstTop = std::min(firstTop, p->top);
        if (y < firstTop && x < plotRect[0])
            mode = kModePreviousShare, stage = 1;
        else if (y < firstTop && x > plotRect[2])
            mode = kModeNextShare, stage = 1;
    }
    if (mode == m.mode && subtype == m.subtype && stage == m.stage && (m.active != 0) == (mode != 0))
        return;
    if (mode == 0)
        CancelMode();
    else {
        SetMode(true, mode, subtype, stage, mask);
        UpdateCursor(false);
    }
}

void CViewGraph::OnMouseMove(uint32_t keys, int32_t x, int32_t y)
{
    if (!mouseTracked_) {
        TrackMouseLeave();
        mouseTracked_ = true;
    }
    if (modeRecord.active && ViewUnderMouse() != this)
        UpdateCursor(true);
    SetViewUnderMouse(this);

    const ChartModeRecord m = modeRecord;
    if (m.active) {
        switch (m.mode) {
        case kModePending:
            if (viewFlags & 1) {
                SetMode(true, kModeScrolling, 0, 3, kScrollMask);
                UpdateCursor(false);
                // The drag runs from where the button went down.
                BeginScrollDrag(lastMouseX, lastMouseY);
                ScrollToPoint(x, y);
                break;
            }
            SetMode(true, kModeTimeRange, 0, 3, kIdleMask);
            UpdateCursor(false);
            selectionAnchors[1] = ClampX(x);
            InvertSelectionBar(selectionAnchors[0], selectionAnchors[1]);
            break;
        case kModeTimeRange:
            InvertSelectionBar(selectionAnchors[0], selectionAnchors[1]);
            selectionAnchors[1] = ClampX(x);
            InvertSelectionBar(selectionAnchors[0], selectionAnchors[1]);
            modeRecord.stage = 4;
            break;
        case kModeResizing:
            if (m.stage >= 3) {
                ResizePane(x, y);
                lastMouseX = x;
                lastMouseY = y;
                RebuildNow();
            }
            break;
        case kModeScrolling: ScrollToPoint(x, y); break;
        case kModeEditPrice:
            if (m.stage >= 3) {
                DragPriceEdit(x, y);
                // The dragged day changes the series and their ranges: the whole model is built anew.
                modeRecord.mask = kIdleMask;
                RebuildNow();
            }
            break;
        case kModeLineStudy:
        case kModePitchfork:
        case kModeGraphText: DrawingMove(keys, x, y); break;
        case kModeTraining:
            // The training cursor line follows the mouse; the bar under it is where the mark goes.
            if (ClampX(x) != selectionAnchors[1])
                InvertSelectionBar(ClampX(x), ClampX(x) + 1);
            break;
        case kModeIdle:
        case kModePreviousShare:
        case kModeNextShare: break;
        default: CancelMode(); break;
        }
    }
    HoverDetect(keys, x, y);
    lastMouseX = x;
    lastMouseY = y;
    if (modeRecord.mode != kModeTimeRange)
        selectionAnchors[1] = ClampX(x);
    if (active)
        UpdateStatusTexts();
}

void CViewGraph::OnLButtonDown(uint32_t keys, int32_t x, int32_t y)
{
    const ChartModeRecord m = modeRecord;
    if (m.active) {
        switch (m.mode) {
        case kModeEditPrice:
            if (m.stage == 1 && BarForPriceEdit(x, y) >= 0)
                modeRecord.stage = 3;
            break;
        case kModeResizing:
            if (m.stage == 1) {
                GraphPane* pane = nullptr;
                TimeBand* band = nullptr;
                GraphSeries* series = nullptr;
                HitTestPane(x, y, &pane, &band, &series);
                if (pane) {
                    resizePaneId = pane->id;
                    resizeStartY = pane->top;
                    modeRecord.stage = 3;
                }
            }
            break;
        case kModeNextShare: NextShare(); break;
        case kModePreviousShare: PreviousShare(); break;
        case kModeIdle:
        case kModePending: break;
        case kModeLineStudy:
        case kModePitchfork:
        case kModeGraphText: DrawingPress(keys, x, y); break;
        default: CancelMode(); break;
        }
    } else {
        BeforeIdlePress();
        selectionAnchors[0] = selectionAnchors[1] = ClampX(x);
        if (graphSourceKind == 0 && trainingMode) {
            int32_t bar = BarForTraining(x, y);
            if (bar >= 0) {
                trainingMark = bar;
                SetMode(true, kModeTraining, 0, 4, kIdleMask);
                InvertSelectionBar(ClampX(x), ClampX(x) + 1);
            }
        }
        const bool drawing = !modeRecord.active && graphSourceKind == 0 && DrawingIdlePress(keys, x, y);
        if (!drawing && !modeRecord.active && PressEndMark(x, y)) {
            lastMouseX = x;
            lastMouseY = y;
            return;
        }
        if (!modeRecord.active)
            SetMode(true, kModePending, 0, 0, kIdleMask);
    }
    UpdateCursor(false);
    CaptureMouse(true);
    lastMouseX = x;
    lastMouseY = y;
}

void CViewGraph::OnLButtonUp(uint32_t keys, int32_t x, int32_t y)
{
    CaptureMouse(false);
    if (!active)
        return;
    if (selectionAnchors[0] > selectionAnchors[1])
        std::swap(selectionAnchors[0], selectionAnchors[1]);
    bool settingChanged = false;
    const ChartModeRecord m = modeRecord;
    switch (m.active ? m.mode : kModeIdle) {
    case kModePending: {
        int32_t cx = ClampX(x);
        if (!(cx <= plotRect[0] && StepAtPlotEnd(-1)) && !(cx >= plotRect[2] && StepAtPlotEnd(1))) {
            PlotClicked(x, y);
            CancelMode();
        }
        break;
    }
    case kModeTimeRange: SetTimeRangeFromX(selectionAnchors[0], selectionAnchors[1]); break;
    case kModeResizing: settingChanged = true; break;
    case kModeTraining:
        // A release near the plot's right end takes the mark away instead of placing it.
        if (x <= plotRect[2] - kTrainingEndZone)
            StoreTrainingMark(XToBar(ClampX(x)));
        else
            RemoveTrainingMark(x, y);
        trainingMark = -1;
        settingChanged = true;
        break;
    case kModeEditPrice:
        EndPriceEdit();
        priceEditField = 0;
        break;
    case kModeLineStudy:
    case kModePitchfork:
    case kModeGraphText:
        if (DrawingRelease(keys, x, y)) {
            UpdateCursor(false);
            InvalidateWindow();
            return;
        }
        break;
    case kModeIdle:
    case kModePreviousShare:
    case kModeNextShare: return;
    default: break;
    }
    SetMode(true, kModeIdle, 0, 0, kIdleMask);
    UpdateCursor(false);
    if (settingChanged)
        NotifyGraphSettings(0);
    InvalidateWindow();
}

bool CViewGraph::StepAtPlotEnd(int direction)
{
    int32_t& end = shownRange[direction < 0 ? 0 : 1];
    if (end == 0)
        return false;
    end = ScrollShownRange(end + direction);
    return true;
}

int EndMarkAt(const GraphPane& pane, int32_t margin, int32_t x, int32_t y)
{
    if (!pane.visible || !pane.flagC || pane.id < kPaneFirstAddOn || pane.id >= uint32_t(kLayoutPanes))
        return 0;
    const int32_t right = pane.right - margin, left = right - kEndMarkSize;
    if (x < left || x >= right)
        return 0;
    const int32_t top = pane.top + margin, bottom = pane.bottom - margin;
    if (y >= top && y < top + kEndMarkSize)
        return 1;
    if (y >= bottom - kEndMarkSize && y < bottom)
        return 2;
    return 0;
}

bool CViewGraph::PressEndMark(int32_t x, int32_t y)
{
    GraphSetting* setting = ActiveSetting();
    for (const GraphPane* pane = panes; pane && setting; pane = pane->next) {
        const int mark = EndMarkAt(*pane, paneMargin, x, y);
        if (mark == 0)
            continue;
        const int window = int(pane->id - kPaneFirstAddOn);
        if (mark == 1 && !settingsLocked)
            DeleteAddOnWindow(*setting, window);
        else if (mark == 2)
            ToggleAddOnZoom(*setting, window, false);
        else
            return true;
        NotifyGraphSettings(0);
        InvalidateWindow();
        return true;
    }
    return false;
}

void CViewGraph::OnDoubleClick(uint32_t, int32_t x, int32_t y)
{
    const ChartModeRecord m = modeRecord;
    if (m.active && m.mode == kModeEditPrice && m.stage == 1) {
        if (BarForPriceEdit(x, y) >= 0)
            SetMode(false, 0, 0, 0, kIdleMask);
        return;
    }
    if (m.active && m.mode != kModeIdle) {
        if (m.mode == kModePreviousShare)
            PreviousShare();
        else if (m.mode == kModeNextShare)
            NextShare();
        else
            CancelMode();
        if (modeRecord.active && modeRecord.mode != kModeIdle)
            return;
        if (m.mode == kModePreviousShare || m.mode == kModeNextShare)
            return;
    }
    shownRange[0] = shownRange[1] = 0;
    fullRange = !fullRange;
    rangeBounds[0] = rangeBounds[1] = 0x7FFFFFFF;
    InvalidateWindow();
}

void CViewGraph::OnMouseWheel(int32_t delta)
{
    uint64_t now = NowMs();
    if (wheelHandled && now - lastWheelMs < kWheelGapMs)
        return;
    wheelHandled = 1;
    lastWheelMs = now;
    if (delta > 0)
        PreviousShare();
    else if (delta < 0)
        NextShare();
}

void CViewGraph::OnKeyDown(uint32_t keyCode)
{
    if (keyCode == kKeyShift)
        OnMouseMove(kMouseKeyShift, lastMouseX, lastMouseY);
}

void CViewGraph::OnKeyUp(uint32_t keyCode)
{
    if (keyCode == kKeyShift)
        OnMouseMove(0, lastMouseX, lastMouseY);
}

void CViewGraph::MoveInList(int step)
{
    uint32_t pending = step < 0 ? kModePreviousShare : kModeNextShare;
    if (modeRecord.active && modeRecord.mode != pending)
        CancelMode();
    if (!ShareListHasEntries(list)) {
        SystemBeep();
        return;
    }
    if (list->changed)
        ResortShareList(list);
    int32_t next = list->current + step;
    if (next < 0 || next >= list->capacity || !list->entries[next].record) {
        SystemBeep();
        return;
    }
    list->current = next;
    list->currentId = EntryRecordId(list->entries[next]);
    list->currentSub = list->entries[next].count;
    InvalidateLinkedViews(true, false);
    InvalidateWindow();
}

void CViewGraph::PreviousShare() { MoveInList(-1); }
void CViewGraph::NextShare() { MoveInList(1); }

void CViewGraph::XRangeToIndexRange(int32_t x0, int32_t x1, int32_t& first, int32_t& last) const
{
    int32_t lo = FirstDataIndex();
    int32_t hi = std::max(LastDataIndex(), lo);
    first = std::clamp(XToBar(ClampX(std::min(x0, x1))), lo, hi);
    last = std::clamp(XToBar(ClampX(std::max(x0, x1))), lo, hi);
}

void CViewGraph::SetTimeRangeFromX(int32_t x0, int32_t x1)
{
    if (std::abs(x1 - x0) <= kMinSelection)
        return;
    int32_t first = 0, last = 0;
    XRangeToIndexRange(x0, x1, first, last);
    if (last - first < kMinRangeUnits) {
        last = first + kMinRangeUnits;
        int32_t end = LastDataIndex();
        if (end > FirstDataIndex() && last > end) {
            first = std::max(FirstDataIndex(), end - kMinRangeUnits);
            last = end;
        }
    }
    shownRange[0] = first;
    shownRange[1] = last;
    fullRange = 0;
}

// ---- Title and status texts -----------------------------------------------------------------------

std::string CViewGraph::BuildTitle() const
{
    std::string prefix = kind == kViewIntradayChart ? "Intraday Graph - " : "Graph - ";
    if (SlideShowRunning)
        return DecorateTitle(prefix + "Slide Show");
    if (std::string editing = DrawingTitle(); !editing.empty())
        return DecorateTitle(prefix + editing);
    std::string source = GetSourceTitle(false);
    std::string name = SettingName();
    if (list->family == 2 || list->family == 4)
        return DecorateTitle(prefix + name + " - " + source);
    std::string sector = FormatSectorFilterText(*list);
    std::optional<std::string> own;
    if (list->source)
        own = PortfolioDisplayName(list->source);
    std::optional<std::string> current;
    if (CurrentShareList() && CurrentShareList()->source)
        current = PortfolioDisplayName(CurrentShareList()->source);
    return DecorateTitle(prefix + source + " - " + sector + " - " + name + " - " + GetPortfolioCaption(own, current));
}

void CViewGraph::UpdateTitle()
{
    if (!list)
        return;
    std::string title = BuildTitle();
    if (title == cachedTitle)
        return;
    cachedTitle = title;
    SetFrameTitle(title);
}

void CViewGraph::UpdateStatusTexts()
{
    GetModeName(statusTexts[0], modeRecord.mode, modeRecord.subtype);
    statusTexts[1].clear();
    statusTexts[2].clear();
    if (modeRecord.active && modeRecord.mode == kModeTimeRange) {
        const auto texts = TimeRangeStatusTexts(selectionAnchors[0], selectionAnchors[1]);
        statusTexts[1] = texts[0];
        statusTexts[2] = texts[1];
    } else {
        FillReadouts(statusTexts);
    }
    ModeReadout(statusTexts);
    ShowStatusTexts();
}

std::array<std::string, 2> CViewGraph::TimeRangeStatusTexts(int32_t x0, int32_t x1) const
{
    int32_t first = 0, last = 0;
    XRangeToIndexRange(x0, x1, first, last);
    return {"Anchor time " + std::to_string(first), std::to_string(first) + " - " + std::to_string(last)};
}

void CViewGraph::AttachSource()
{
    graphSourceKind = uint32_t(portfolioGraphMode);
    if (graphSourceKind != 0 && !BuildSourceHistory())
        graphSourceKind = 0;
    readoutParts[1] = DescribeGraphSource();
    UpdateTitle();
}

void CViewGraph::OnRefresh()
{
    AttachSource();
    InvalidateWindow();
}

// ---- Settings broadcast and commands --------------------------------------------------------------

intptr_t CViewGraph::onProgramMessage(uint32_t message, uintptr_t wParam, intptr_t lParam)
{
    if (message == MSG_GRAPH_REFRESH_FLAG) {
        refreshFlag = 1;
        return 0;
    }
    if (message == MSG_SETTINGS_CHANGED) {
        if (pendingChangeMs == 0)
            pendingChangeMs = std::max<uint64_t>(NowMs(), 1);
        if (!DragInProgress())
            InvalidateWindow();
        return 0;
    }
    if (message == MSG_GRAPH_SETTINGS_TIMEOUT) {
        if (pendingChangeMs != 0 && NowMs() - pendingChangeMs >= kSettingsWaitMs && !hasFocus) {
            CancelMode();
            InvalidateWindow();
        }
        return 0;
    }
    if (message == WM_COMMAND && wParam >= kCommandFirstMovingAverage && wParam <= kCommandLastMovingAverage) {
        ToggleMovingAverage(int(wParam - kCommandFirstMovingAverage));
        return 1;
    }
    if (message == WM_COMMAND && OnIndicatorCommand(uint32_t(wParam & 0xFFFF)))
        return 1;
    return CViewBase::onProgramMessage(message, wParam, lParam);
}

void CViewGraph::NotifyGraphSettings(uint32_t mask)
{
    if (mask == 0) {
        SendMessageToViews(ShareListChain(), MSG_SETTINGS_CHANGED, 0, 0, true, kind, SettingIndex());
        return;
    }
    for (int32_t bit = 0; bit < int32_t(kSettingSlots); ++bit)
        if (mask & (1u << bit))
            SendMessageToViews(ShareListChain(), MSG_SETTINGS_CHANGED, 0, 0, true, kind, bit);
}

void CViewGraph::ToggleMovingAverage(int line)
{
    ToggleMovingAverageWord(*ActiveSetting(), line, SavedDisplayBits());
    NotifyGraphSettings(0);
}

bool CViewGraph::UpdateCommandUi(CommandUi& ui) const
{
    if (ui.command < kCommandFirstMovingAverage || ui.command > kCommandLastMovingAverage)
        return UpdateIndicatorCommandUi(ui);
    int line = int(ui.command - kCommandFirstMovingAverage);
    uint32_t word = gs::LineWord(*ActiveSetting(), line);
    ui.checked = (word >> 30) != 0;
    ui.enabled = !(viewFlags & 2) && !ComputeSettingsLocked();
    return true;
}

} // namespace qv
