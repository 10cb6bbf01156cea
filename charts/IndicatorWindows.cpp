// The daily chart's indicator windows.
#include "charts/IndicatorWindows.h"

#include "chartmodel/BarColour.h"
#include "chartmodel/ChartCanvas.h"
#include "chartmodel/EodChart.h"
#include "chartmodel/EodChartView.h"
#include "chartmodel/GraphModel.h"
#include "chartmodel/IndicatorTable.h"
#include "chartmodel/LegendModel.h"
#include "core/MovingAverage.h"
#include "chartmodel/PaneLayout.h"
#include "chartmodel/SeriesLayout.h"
#include "chartmodel/StudyKey.h"
#include "chartmodel/ViewGraph.h"
#include "charts/BoxIndicatorPanes.h"
#include "charts/IndicatorRoutes.h"
#include "charts/PadValueRange.h"
#include "core/Memory.h"
#include "core/PriceSubRecords.h"
#include "core/RecordAccess.h"
#include "core/StringPrintf.h"

#include <cfloat>
#include <cmath>
#include <cstdio>
#include <cstring>

namespace qv {
namespace gs = graphsetting;
namespace {

constexpr int kDefaultDecimals = 2;
constexpr uint16_t kTitlesOnAddOns = 0x10;

IndicatorRecord RecordOf(const GraphSetting& setting, int window, int slot)
{
    return IndicatorRecord::Read(gs::IndicatorSlot(setting, window, slot));
}

std::string ValueText(double v) { return std::isnan(v) ? std::string() : StringPrintf("%.2f", v); }

} // namespace

// Another share's daily prices, by the id and count an indicator record names it with.
std::vector<DayRecord> LoadShareHistory(uint16_t id, uint32_t count)
{
    RecordCursor cursor = FindRecordById(id, count);
    std::vector<DayRecord> days;
    if (!cursor.record || RecordLength(cursor.record) == 0)
        return days;
    DayRecord* decoded = nullptr;
    const int32_t n = DecodePriceHistory(&cursor, &decoded, 0, false, true);
    for (int32_t i = 0; decoded && i < n && decoded[i].date != 0; ++i)
        days.push_back(decoded[i]);
    ProFree(decoded);
    return days;
}

uint32_t VolumeColourMode(int mode)
{
    static constexpr uint32_t kModes[9] = {1, 3, 3, 3, 2, 5, 5, 2, 2};
    return mode >= 0 && mode < 9 ? kModes[mode] : 1;
}

void IndicatorWindows::ClearSeries()
{
    for (auto& window : slots_)
        for (Slot& slot : window)
            slot = Slot{};
}

GraphSeries* IndicatorWindows::BuildSeries(int window, int row)
{
    const GraphSetting& setting = *view_.ActiveSetting();
    TimeBand* band = view_.timeBands;
    GraphPane* pane = view_.FindPane(kPaneFirstAddOn + uint32_t(window));
    const IndicatorRecord record = RecordOf(setting, window, row);
    // A window is used only when its first record is.
    if (!band || !pane || record.type == 0 || RecordOf(setting, window, 0).type == 0)
        return nullptr;
    GraphSeries* series = AddSeries(band, pane, MakeStudyKey(pane->id, &record));
    AddPlotElement(series, 1, 0, record.pens[0], 0, 1, 0, 0, 0, 0);
    if (!series->range)
        view_.AddValueRange(series);
    slots_[size_t(window)][size_t(row)].series = series;
    return series;
}

bool IndicatorWindows::SeriesAlive(const GraphSeries* series) const
{
    for (const TimeBand* band = view_.timeBands; band && series; band = band->next)
        for (const GraphSeries* s = band->series; s; s = s->next)
            if (s == series)
                return true;
    return false;
}

const TimeBand* IndicatorWindows::band() const { return view_.timeBands; }

bool IndicatorWindows::Drawable() const
{
    return view_.graphSourceKind == 0 && view_.addOnsShown && !(eod_.chartKind() & 2) && eod_.bars().size() >= 2 &&
           eod_.firstVisible() >= 0 && view_.timeBands;
}

void IndicatorWindows::Compute()
{
    for (auto& window : slots_)
        for (Slot& slot : window) {
            slot.result = {};
            slot.computed = slot.drew = false;
            if (!SeriesAlive(slot.series))
                slot.series = nullptr;
        }
    if (!Drawable())
        return;
    PrepareDrawView();
    const GraphSetting& setting = *view_.ActiveSetting();
    for (int w = 0; w < gs::kAddOnWindowCount; ++w) {
        view_.paneAxis[size_t(kPaneFirstAddOn) + size_t(w)].maxDecimals = kDefaultDecimals;
        if (RecordOf(setting, w, 0).type == 0)
            continue;
        for (int s = gs::kIndicatorsPerWindow - 1; s >= 0; --s)
            ComputeSlot(setting, w, s);
    }
}

void IndicatorWindows::ComputeSlot(const GraphSetting& setting, int window, int slotIndex)
{
    Slot& slot = slots_[size_t(window)][size_t(slotIndex)];
    const IndicatorRecord record = RecordOf(setting, window, slotIndex);
    GraphSeries* series = slot.series;
    if (record.type == 0 || !series || !series->pane || !series->firstElement || !series->range)
        return;
    ValueRange& range = *series->range;
    if (!(range.flags & kRangeFixed)) {
        range.minimum = FLT_MAX;
        range.maximum = -FLT_MAX;
    }
    std::snprintf(series->title, sizeof series->title, "%s", GetIndicatorName(record).c_str());
    const bool first = series->pane->firstSeries == series;
    const IndicatorRoute& route = RouteOf(record.type);
    if ((route.family == IndicatorFamily::Lines || route.family == IndicatorFamily::Pane) && route.routine) {
        IndicatorInput in;
        in.record = record;
        in.days = std::span<const DayRecord>(eod_.days());
        in.firstVisibleDate = eod_.days()[size_t(eod_.firstVisible())].date;
        in.lastDate = eod_.shownEnd();
        in.shownDays = eod_.visibleCount();
        in.loadShare = LoadShareHistory;
        in.paneLeft = band() ? band()->left : series->pane->left;
        in.paneRight = band() ? band()->right : series->pane->right;
        in.paneTop = range.yTop;
        in.paneBottom = range.yBottom;
        route.routine(in, range, slot.result, route.variant);
        slot.computed = true;
        if (!slot.result.title.empty())
            std::snprintf(series->title, sizeof series->title, "%s", slot.result.title.c_str());
    } else if (route.family == IndicatorFamily::VolumeWindow) {
        BuildVolumeWindow(record, *series, first);
        slot.result.wholeNumbers = true;
        slot.drew = true;
    }
    const int decimals = slot.result.wholeNumbers ? 0 : slot.result.decimals;
    if (first && decimals >= 0)
        view_.paneAxis[std::min<size_t>(series->pane->id, kLayoutPanes - 1)].maxDecimals = decimals;
}

void IndicatorWindows::BuildVolumeWindow(const IndicatorRecord& record, GraphSeries& series, bool)
{
    const std::vector<DayRecord>& days = eod_.days();
    const std::vector<FoldedBar>& bars = eod_.bars();
    int32_t firstFull = 0;
    while (firstFull < int32_t(days.size()) && !IsFullDataDay(days[size_t(firstFull)]))
        ++firstFull;
    if (firstFull >= int32_t(days.size()))
        return;
    const int32_t n = int32_t(bars.size());
    float highest = 0, lowest = FLT_MAX;
    for (const FoldedBar& b : bars) {
        highest = std::max(highest, b.values.volume);
        lowest = std::min(lowest, b.values.volume);
    }
    ValueRange& range = *series.range;
    if (!(range.flags & kRangeFixed)) {
        range.minimum = 0;
        range.maximum = highest;
        PadValueRange(range, nullptr, kPadFloorZero);
    }
    // The first element becomes the histogram; a line element follows it for the average.
    PlotElement* bars_ = series.firstElement;
    PlotElement* average = bars_ == series.elements ? AddPlotElement(&series, 1, 0, record.pens[1], 0, 1, 0, 0, 0, 0)
                                                    : series.elements;
    bars_->style = 4;
    const GraphSetting& look = view_.StyleRecord() ? *view_.StyleRecord() : *view_.ActiveSetting();
    if (record.period3 == 0) {
        bars_->colourCount = gs::kPriceColourCount;
        for (int i = 0; i < gs::kPriceColourCount; ++i)
            bars_->colours[i] = gs::PriceColour(look, i);
        const int mode = gs::U8(look, gs::kPriceColourMode);
        bars_->aux = VolumeColourMode(mode);
        if (mode == kColourGraduated) {
            std::memcpy(&bars_->extra[0], &lowest, sizeof lowest);
            std::memcpy(&bars_->extra[1], &highest, sizeof highest);
        }
    } else if (record.period3 >= 2) {
        bars_->colourCount = 3;
        bars_->colours[0] = bars_->colours[2] = record.pens[0];
        bars_->colours[1] = record.pens[2];
        bars_->aux = record.period3 == 2 ? 3 : 2;
    } else {
        bars_->colourCount = 1;
        bars_->colours[0] = record.pens[0];
        bars_->aux = 0;
    }
    // Bar items rather than bare volumes, so that the colouring rules can read the prices too.
    FreeDataArray(bars_->values);
    eod_.FillBarArray(bars_->values, kSelectVolume);

    FreeDataArray(average->values);
    average->colours[0] = record.pens[1];
    if (!(record.flags & 1) || record.period2 <= 1)
        return;
    auto ema = CreateMovingAverage(kExponentialAverage, record.period2, 0, 0);
    int32_t needed = 0, leadIn = 0;
    ema->Prepare(needed, leadIn);
    ema->Prime(days[size_t(firstFull)].volume);
    std::vector<float> perDay(days.size(), 0.0f);
    for (size_t k = size_t(firstFull); k < days.size(); ++k) {
        perDay[k] = float(ema->Next(days[k].volume));
        ema->DropOldest();
    }
    auto* out = static_cast<float*>(InitDataArray(average->values, kArrayFloats, n, 0, 0));
    average->values.flags = kSelectSkipZero;
    // A bar of several days holds their summed volume: its average is the daily average at its middle
    // day times its days, as the price pane's volume signal takes it, so that the line runs through
    // the bars.
    for (int32_t i = 0; i < n; ++i) {
        const FoldedBar& bar = bars[size_t(i)];
        const size_t middle = size_t((bar.first + bar.last + 1) / 2);
        out[i] = middle < perDay.size() ? perDay[middle] * float(bar.last - bar.first + 1) : 0.0f;
    }
}

void IndicatorWindows::PrepareColouring(const PlotElement& element, CGraphSeriesLayout& layout) const
{
    const GraphSetting& setting = *view_.ActiveSetting();
    for (int w = 0; w < gs::kAddOnWindowCount; ++w)
        for (int s = 0; s < gs::kIndicatorsPerWindow; ++s) {
            const GraphSeries* series = slots_[size_t(w)][size_t(s)].series;
            if (!series || series->firstElement != &element || element.style != 4 ||
                RouteOf(RecordOf(setting, w, s).type).family != IndicatorFamily::VolumeWindow)
                continue;
            layout.colourMode = element.aux;
            if (element.aux == kColourGraduated) {
                std::memcpy(&layout.signalOrLow, &element.extra[0], sizeof layout.signalOrLow);
                std::memcpy(&layout.gradientHigh, &element.extra[1], sizeof layout.gradientHigh);
            }
            // With the chart colouring by volume against its average, each bar is held against the
            // window's own average line where it has one.
            const PlotElement* average = series->elements;
            const GraphSetting& look = view_.StyleRecord() ? *view_.StyleRecord() : setting;
            if (RecordOf(setting, w, s).period3 == 0 && gs::U8(look, gs::kPriceColourMode) == kColourVolumeSignal &&
                average && average != &element && average->values.count == element.values.count &&
                average->values.type == kArrayFloats && average->values.data) {
                layout.colourMode = kColourVolumeSignal;
                layout.pointSignals = static_cast<const float*>(average->values.data);
                layout.pointSignalCount = average->values.count;
            }
            return;
        }
}

void IndicatorWindows::PrepareDrawView()
{
    const std::vector<FoldedBar>& bars = eod_.bars();
    const TimeBand* band = view_.timeBands;
    xs_.assign(size_t(eod_.visibleCount()), 0);
    const int32_t first = eod_.firstVisible();
    // The days of a bar of several days are spread over the bar's width.
    for (size_t b = 0; b < bars.size(); ++b) {
        const int32_t x = view_.IndexToXScale(&band->scale, int32_t(b));
        const int32_t next = view_.IndexToXScale(&band->scale, int32_t(b) + 1);
        const int32_t days = bars[b].last - bars[b].first + 1;
        for (int32_t d = bars[b].first; d <= bars[b].last; ++d)
            if (d - first >= 0 && d - first < int32_t(xs_.size()))
                xs_[size_t(d - first)] = x + int32_t((int64_t(next) - x) * (d - bars[b].first) / days);
    }
    const GraphSetting& look = view_.StyleRecord() ? *view_.StyleRecord() : *view_.ActiveSetting();
    drawView_ = IndicatorDrawView{};
    drawView_.shownDays = eod_.visibleCount();
    drawView_.daysBeforeShown = first;
    drawView_.xs = xs_;
    drawView_.left = band->left;
    drawView_.right = band->right;
    drawView_.barSpacing = eod_.scale().pixelsPerBar / std::max<int32_t>(DaysPerBar(eod_.scale().code), 1);
    drawView_.upColour = gs::U32(look, gs::kVolumeUpColour);
    drawView_.downColour = gs::U32(look, gs::kVolumeDownColour);
    drawView_.levelColour = gs::U32(look, gs::kGridPenH);
    drawView_.captionColour = gs::U32(look, gs::kTitleTextColour);
    drawView_.captions = (gs::U16(look, gs::kScaleFlags) & kTitlesOnAddOns) != 0;
    drawView_.buildCaption = [this](const GraphSeries& s) { return view_.BuildPaneCaption(s); };
}

void IndicatorWindows::Draw(ChartCanvas& canvas)
{
    if (!Drawable())
        return;
    const GraphSetting& setting = *view_.ActiveSetting();
    for (int w = 0; w < gs::kAddOnWindowCount; ++w)
        for (int s = gs::kIndicatorsPerWindow - 1; s >= 0; --s) {
            Slot& slot = slots_[size_t(w)][size_t(s)];
            if (!slot.computed || !slot.series)
                continue;
            const bool first = slot.series->pane->firstSeries == slot.series;
            // Where the model titles the pane with its series' names, the drawer adds no caption.
            IndicatorDrawView view = drawView_;
            view.captions = drawView_.captions && !slot.series->pane->showTitles;
            if (slot.result.paneKind != 0) {
                DrawPane(canvas, slot, RecordOf(setting, w, s), view, first);
                continue;
            }
            if (slot.result.lines.empty())
                continue;
            canvas.ClipToPane(slot.series->pane);
            int drew = 0;
            for (size_t i = 0; i < slot.result.lines.size(); ++i) {
                const IndicatorLine& line = slot.result.lines[i];
                if (line.onlyAfterDrawn && (!drew || IsRangeEmpty(*slot.series->range)))
                    continue;
                IndicatorLineArgs args;
                args.element = slot.series->firstElement;
                args.pen = line.pen;
                args.values = line.values;
                args.leadIn = line.leadIn;
                args.flags = line.polyline ? kDrawPolyline : 0;
                args.histogram = line.histogram;
                args.barsInPen = line.barsInPen;
                if (i == 0) {
                    args.levels = slot.result.levels;
                    args.attach = first;
                }
                drew = DrawIndicatorLine(canvas, view, args);
                if (i == 0)
                    slot.drew = drew != 0;
            }
            canvas.ClipToPane(nullptr);
        }
}

void IndicatorWindows::DrawPane(ChartCanvas& canvas, Slot& slot, const IndicatorRecord& record,
                                const IndicatorDrawView& view, bool first)
{
    const GraphSeries& series = *slot.series;
    canvas.ClipToPane(series.pane);
    if (first && view.captions)
        canvas.PaneCaption(*series.pane, view.buildCaption ? view.buildCaption(series) : series.title,
                           view.captionColour);
    const GraphSetting& look = view_.StyleRecord() ? *view_.StyleRecord() : *view_.ActiveSetting();
    BoxPaneLook colours;
    colours.background = gs::U32(look, gs::kBackground);
    colours.gridPen = gs::U32(look, gs::kGridPenH);
    colours.textColour = gs::U32(look, gs::kScaleTextColour);
    // A Kagi window on the chart's own time scale places each point at its first day.
    if (slot.result.paneKind == 55 && (record.flags & 2))
        for (PaneColumn& c : slot.result.boxes) {
            const int32_t shown = c.record - view.daysBeforeShown;
            const int32_t at = std::clamp<int32_t>(shown, 0, int32_t(view.xs.size()) - 1);
            c.left = view.xs.empty() ? c.left : shown < 0 ? view.left : view.xs[size_t(at)];
        }
    DrawBoxPane(canvas, slot.result, record, *series.pane, *series.range, colours);
    slot.drew = !slot.result.boxes.empty();
    // The element keeps the table for the readout: (box count or volume, first date, left x) per
    // column or box, ended by the end mark, 65535 and the pane's right edge.
    std::vector<double> table;
    for (const PaneColumn& c : slot.result.boxes) {
        table.push_back(slot.result.paneKind == 15 ? c.boxes : slot.result.paneKind == 55 ? c.close : c.volume);
        table.push_back(c.date);
        table.push_back(c.left);
    }
    if (first && slot.drew) {
        table.insert(table.end(), {kIndicatorEndMark, 65535.0, double(series.pane->right)});
        AttachLineValues(series.firstElement, table, 0);
    }
    canvas.ClipToPane(nullptr);
}

void IndicatorWindows::FillLegend(LegendSource& source, int32_t cursorDay) const
{
    source.indicators.clear();
    for (const auto& window : slots_)
        for (const Slot& slot : window) {
            if (!slot.drew || !slot.series || !slot.series->firstElement)
                continue;
            LegendIndicatorLine line;
            line.name = slot.series->title;
            line.pen = slot.series->firstElement->colours[0];
            line.latest = ValueOn(slot, drawView_.daysBeforeShown + drawView_.shownDays - 1);
            if (cursorDay >= 0)
                line.cursor = ValueOn(slot, cursorDay);
            source.indicators.push_back(std::move(line));
        }
}

std::string IndicatorWindows::ValueOn(const Slot& slot, int32_t day) const
{
    const PlotElement& e = *slot.series->firstElement;
    // The volume window plots the days' volumes themselves.
    if (e.style == 4 && e.values.type == kArrayBars) {
        const std::vector<DayRecord>& days = eod_.days();
        return day >= 0 && day < int32_t(days.size()) ? VolumeAmountText(days[size_t(day)].volume) : std::string();
    }
    if (!slot.computed || slot.result.lines.empty())
        return {};
    const IndicatorLine& line = slot.result.lines[0];
    return ValueText(LineValueAt(line.values, line.leadIn, day, drawView_.daysBeforeShown));
}

std::string IndicatorWindows::CursorValues(uint32_t paneId, int32_t day) const
{
    if (paneId < kPaneFirstAddOn || paneId >= kPaneFirstAddOn + uint32_t(gs::kAddOnWindowCount))
        return {};
    std::string text;
    for (const Slot& slot : slots_[paneId - kPaneFirstAddOn]) {
        if (!slot.drew || !slot.series || !slot.series->firstElement)
            continue;
        const std::string value = ValueOn(slot, day);
        if (value.empty())
            continue;
        text += (text.empty() ? "" : "  ") + std::string(slot.series->title) + " " + value;
    }
    return text;
}

const IndicatorResult* IndicatorWindows::result(int window, int slot) const
{
    const Slot& s = slots_[size_t(window)][size_t(slot)];
    return s.computed ? &s.result : nullptr;
}

} // namespace qv
