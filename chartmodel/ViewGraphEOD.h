// The daily chart view: a chart view (CViewGraph, or its window) whose data hooks load the share's
// daily prices and build the price, average and volume series through EodChartView, and which runs
// the daily chart's own commands.
#pragma once

#include "chartmodel/EodChartView.h"
#include "chartmodel/EodTraining.h"
#include "chartmodel/PaneLayout.h"
#include "chartmodel/StopLossSettings.h"
#include "chartmodel/ViewGraph.h"
#include "chartmodel/ChartCanvas.h"
#include "chartmodel/AxisTicks.h"
#include "chartmodel/ChartNumbers.h"
#include "charts/ChartDrawingHooks.h"
#include "charts/DailyChartDrawing.h"
#include "charts/IndicatorWindows.h"
#include "charts/StopLossLines.h"
#include "core/KeyedItemStore.h"
#include "resources/MessageIds.h"

namespace qv {

template <typename Base>
class ViewGraphEODT : public ChartDrawingHooks<Base> {
public:
    explicit ViewGraphEODT(int32_t kind)
        : ChartDrawingHooks<Base>(kind), eod(*this), training(*this), drawing(*this, eod, [this]() -> std::optional<uint32_t> {
              StopShareKey share;
              if (!this->ShownShare(share))
                  return std::nullopt;
              return ShareItemKey(share.shareId, share.exchange);
          })
    {
        eod.indicatorReadout = [this](uint32_t paneId, int32_t day) { return indicators.CursorValues(paneId, day); };
        training.hitTest = [this](int32_t x, int32_t y) { return BarForTraining(x, y); };
        eod.trendLine = [this] { return drawing.PriceTrendLine(); };
    }

    intptr_t onProgramMessage(uint32_t message, uintptr_t wParam, intptr_t lParam) override
    {
        if (message == WM_COMMAND && RunModeCommand(uint32_t(wParam)))
            return 1;
        if (message == WM_COMMAND && (eod.RunCommand(uint32_t(wParam), ShiftHeld()) || drawing.RunCommand(uint32_t(wParam))))
            return 1;
        return Base::onProgramMessage(message, wParam, lParam);
    }
    bool UpdateCommandUi(CommandUi& ui) const override
    {
        return eod.priceEdit().UpdateCommand(ui) || training.UpdateCommand(ui) || eod.UpdateCommand(ui) ||
               drawing.UpdateCommand(ui) || Base::UpdateCommandUi(ui);
    }
    // While training, the next and previous share come from the training steps.
    void NextShare() override
    {
        if (!training.Next())
            Base::NextShare();
    }
    void PreviousShare() override
    {
        if (!training.Previous())
            Base::PreviousShare();
    }
    void OnDoubleClick(uint32_t keys, int32_t x, int32_t y) override
    {
        eod.OnDoubleClick();
        Base::OnDoubleClick(keys, x, y);
    }

    // The chart kind flags and bar spacing are worked out before the chart binds its source.
    void AttachGraphSource(void* dc, const GraphSetting* style, int32_t left, int32_t top, int32_t right,
                           int32_t bottom, int outputKind, int32_t margin, bool offscreen, bool addOns) override
    {
        this->styleRecord = style ? style : this->ActiveSetting();
        eod.Attach(this->horizontalScale, this->verticalScale, outputKind != 0);
        Base::AttachGraphSource(dc, style, left, top, right, bottom, outputKind, margin, offscreen, addOns);
    }
    // The legend follows the chart that takes the focus while the legend option is on.
    void OnSetFocus() override
    {
        Base::OnSetFocus();
        if (ChartOptions().legendShown)
            UpdateLegend();
    }

    // A click at either end of the plot scrolls the days by one.
    bool StepAtPlotEnd(int direction) override
    {
        if (!eod.ScrollRecords(direction, 1))
            return false;
        this->InvalidateWindow();
        return true;
    }
    // A drag over the time axis zooms to the dates under it.
    void SetTimeRangeFromX(int32_t x0, int32_t x1) override
    {
        if (eod.ZoomToDragRange(x0, x1))
            this->fullRange = 0;
    }

    EodChartView eod;
    EodTraining training;
    DailyChartDrawing drawing;
    IndicatorWindows indicators{*this, eod};
    StopLossLines stops;

protected:
    DailyChartDrawing& Drawing() override { return drawing; }
    const DailyChartDrawing& Drawing() const override { return drawing; }
    bool RunModeCommand(uint32_t command)
    {
        if (!eod.priceEdit().RunCommand(command) && !training.RunCommand(command))
            return false;
        // A mode turned on or off redraws the chart: price editing shows daily bars.
        this->CancelMode();
        return true;
    }
    int32_t BarForPriceEdit(int32_t x, int32_t y) override { return eod.priceEdit().HitTest(x, y); }
    void DragPriceEdit(int32_t x, int32_t y) override { eod.priceEdit().Drag(x, y); }
    void EndPriceEdit() override { eod.priceEdit().EndDrag(); }
    std::string SelectedRangeText() const override
    {
        const auto texts = eod.ZoomRangeTexts(this->selectionAnchors[0], this->selectionAnchors[1]);
        return texts[0] + "  " + texts[1];
    }
    virtual bool ShiftHeld() const { return false; }
    virtual void UpdateLegend() {}
    void LoadShareData() override
    {
        eod.trainingEnd = training.ShownDate();
        eod.LoadAndLayout();
        // With the chart at its last day, a shown mark outside the shown dates gives way to the first
        // mark inside them (or to the whole chart).
        if (this->trainingMode && eod.display().end == eod.lastPriceDate()) {
            const int32_t clamped = ClampTrainingMark(TrainingMarkTable(), training.cursor(), eod.display().start,
                                                      eod.display().end);
            if (clamped != training.cursor()) {
                training.cursor() = clamped;
                eod.trainingEnd = training.ShownDate();
                eod.LoadAndLayout();
            }
        }
        // Volume bars or the signal line; without prices or volume to show, the price pane takes the
        // volume pane's room.
        this->volumeShown = eod.volumeWanted() && eod.VolumeShowable();
        // The time axis keeps a row of its own below the panes, where nothing is drawn over it.
        this->bottomStrip = 1;
    }
    bool BuildSourceHistory() override { return eod.BuildSourceHistory(this->graphSourceKind); }
    void BuildTimeBands() override { eod.BuildTimeBand(); }
    void BuildSeries() override { eod.BuildSeries(); }
    // The market graphs draw in the indicator windows like any other type.
    GraphSeries* BuildMarketGraphSeries(int window, int index) override { return indicators.BuildSeries(window, index); }
    std::vector<std::string> WatermarkTexts(uint32_t paneId, uint16_t bits) const override
    {
        return eod.WatermarkTexts(paneId, bits);
    }
    bool LatestClose(float& value, std::string& text) const override
    {
        if (eod.days().empty() || this->graphSourceKind != 0)
            return false;
        const DayRecord& last = eod.days().back();
        value = last.close;
        text = FormatPriceInUnit(last.close, last.unit, eod.priceSymbol());
        return true;
    }
    char PriceSymbol() const override { return this->graphSourceKind == 0 ? eod.priceSymbol() : 0; }
    void PrepareColouring(const PlotElement& element, CGraphSeriesLayout& layout) const override
    {
        eod.PrepareColouring(element, layout);
        indicators.PrepareColouring(element, layout);
    }
    void BuildPriceLineOverlay(int line) override { eod.BuildAverage(line); }
    void DrawPriceOverlays() override
    {
        eod.BuildPivots();
        eod.BuildSwing();
    }
    // The swing chart's trend regions from bar edge to bar edge, over the price pane's height.
    void DrawPaneShading() override
    {
        GraphPane* pane = this->FindPane(kPanePrice);
        ChartCanvas* canvas = this->Canvas();
        if (!pane || !canvas || !this->timeBands || !pane->visible)
            return;
        TimeScale* scale = &this->timeBands->scale;
        const int32_t half = std::max((this->IndexToXScale(scale, 1) - this->IndexToXScale(scale, 0)) / 2, 0);
        canvas->ClipToPane(pane);
        for (const SwingShade& shade : eod.SwingShades()) {
            const int32_t left = this->IndexToXScale(scale, shade.firstBar) - half;
            const int32_t right = this->IndexToXScale(scale, shade.lastBar) + half + 1;
            canvas->FillRect(std::max(left, pane->left), pane->top, std::min(right, pane->right), pane->bottom,
                             shade.colour);
        }
        canvas->ClipToPane(nullptr);
    }
    void BuildAddOnSeries() override
    {
        // The series went with the model when it was freed; with bit 8 they are built again.
        if (this->modeRecord.mask & (kRedrawAddOnSeries | kRedrawFreeModel))
            indicators.ClearSeries();
        Base::BuildAddOnSeries();
    }
    // Each record's series keeps a range of its own, fitted by its type's rule: a series of the same
    // type earlier in the window is not shared.
    GraphSeries* BuildIndicatorSeries(int window, int row, GraphSeries*) override
    {
        return indicators.BuildSeries(window, row);
    }
    void ComputeValueRanges() override
    {
        Base::ComputeValueRanges();
        RebuildStopLines();
        // The indicator windows fit their ranges before the axes are drawn.
        indicators.Compute();
        if ((this->modeRecord.mask & kRedrawValueRanges) == 0)
            return;
        eod.JoinAddedGraphRanges();
        eod.LeaveTrainingRoom();
        eod.FloorVolumeRange();
        eod.FitBoxRange();
    }
    // The back layer ends with the stop-loss lines and the indicator windows' lines.
    void DrawGraphLayer(bool back) override
    {
        Base::DrawGraphLayer(back);
        if (!back) {
            DrawTrainingMarks();
            return;
        }
        ChartCanvas* canvas = this->Canvas();
        if (!canvas)
            return;
        DrawStopLines(*canvas);
        DrawFortyFiveDegreeLines(*canvas);
        indicators.Draw(*canvas);
    }
    void DrawFortyFiveDegreeLines(ChartCanvas& canvas)
    {
        const std::vector<EodChartView::ScreenLine> lines = eod.FortyFiveDegreeLines();
        if (lines.empty())
            return;
        canvas.ClipToPane(this->FindPane(kPanePrice));
        for (const EodChartView::ScreenLine& line : lines) {
            canvas.SelectPen(line.pen);
            canvas.Line(line.x0, line.y0, line.x1, line.y1);
        }
        canvas.ClipToPane(nullptr);
    }
    // Both stop lines again from the closes, on every redraw of a share's price pane.
    void RebuildStopLines()
    {
        stops.Clear();
        StopShareKey share;
        if (this->graphSourceKind != 0 || (eod.chartKind() & 2) || !this->timeBands || eod.days().empty())
            return;
        const bool shown = this->ShownShare(share);
        stops.Rebuild(eod.days(), this->SettingIndex(), shown ? std::optional<StopShareKey>(share) : std::nullopt,
                      eod.shownEnd());
    }
    void DrawStopLines(ChartCanvas& canvas)
    {
        GraphPane* pane = this->FindPane(kPanePrice);
        const TimeBand* band = this->timeBands;
        GraphSeries* series = band && pane ? FindSeries(this->timeBands, pane) : nullptr;
        const std::vector<FoldedBar>& bars = eod.bars();
        if (!series || !series->range || bars.empty() || eod.firstVisible() < 0)
            return;
        // A day's x is that of the bar that holds it.
        auto xOf = [this, &bars](int32_t record) {
            auto it = std::lower_bound(bars.begin(), bars.end(), record,
                                       [](const FoldedBar& b, int32_t r) { return b.last < r; });
            const int32_t bar = int32_t(std::min<ptrdiff_t>(it - bars.begin(), ptrdiff_t(bars.size()) - 1));
            return this->IndexToXScale(&this->timeBands->scale, bar);
        };
        stops.Draw(canvas, *pane, *series->range, xOf, eod.firstVisible() + eod.visibleCount() - 1);
    }

    // Training marks: where each is (kNoMarkX where it is not in the shown dates) and the training
    // cursor's x, the last shown bar, from which a new mark is dragged.
    std::array<int32_t, kTrainingMarkSlots> TrainingMarkXs() const
    {
        std::array<int32_t, kTrainingMarkSlots> xs;
        xs.fill(kNoMarkX);
        const TrainingMarks& marks = TrainingMarkTable();
        if (!this->timeBands)
            return xs;
        for (int32_t i = 0; i < marks.count; ++i) {
            const int32_t bar = eod.DateToBar(marks.marks[size_t(i)]);
            if (bar >= 0)
                xs[size_t(i)] = this->IndexToXScale(&this->timeBands->scale, bar);
        }
        return xs;
    }
    int32_t TrainingCursorX() const
    {
        if (!this->timeBands || eod.bars().empty())
            return kNoMarkX;
        return this->IndexToXScale(&this->timeBands->scale, int32_t(eod.bars().size()) - 1);
    }
    int32_t BarForTraining(int32_t x, int32_t y) const override
    {
        const GraphPane* pane = this->FindPane(kPanePrice);
        if (!this->trainingMode || !pane || eod.BoxMode())
            return -1;
        const auto xs = TrainingMarkXs();
        return HitTrainingMark(TrainingMarkTable(), xs, TrainingCursorX(), pane->top, x, y);
    }
    void StoreTrainingMark(int32_t bar) override
    {
        PlaceTrainingMark(TrainingMarkTable(), this->trainingMark, eod.BarToDate(bar), training.cursor());
    }
    void RemoveTrainingMark(int32_t, int32_t) override
    {
        qv::RemoveTrainingMark(TrainingMarkTable(), this->trainingMark, training.cursor());
    }
    // Red circles at the top of the price pane; the shown mark has a yellow centre. While the whole
    // chart shows and there is room for a mark, a white circle at the last bar is the cursor that a
    // new mark is dragged from.
    void DrawTrainingMarks()
    {
        const GraphPane* pane = this->FindPane(kPanePrice);
        ChartCanvas* canvas = this->Canvas();
        if (!this->trainingMode || !pane || !canvas || eod.BoxMode() || !this->timeBands)
            return;
        constexpr uint32_t kRed = 0x0000FF, kYellow = 0x00FFFF, kWhite = 0xFFFFFF;
        const int32_t top = pane->top;
        canvas->ClipToPane(nullptr);
        canvas->SelectPen(0);
        const TrainingMarks& marks = TrainingMarkTable();
        const auto xs = TrainingMarkXs();
        for (int32_t i = 0; i < marks.count; ++i) {
            const int32_t x = xs[size_t(i)];
            if (x == kNoMarkX)
                continue;
            canvas->Ellipse(x - 8, top - 7, x + 9, top + 9, kRed);
            if (i == training.cursor())
                canvas->Ellipse(x - 4, top - 3, x + 5, top + 5, kYellow);
        }
        const int32_t cursorX = TrainingCursorX();
        if (training.cursor() < 0 && marks.count < kTrainingMarkSlots && cursorX != kNoMarkX)
            canvas->Ellipse(cursorX - 8, top - 7, cursorX + 9, top + 9, kWhite);
    }

    // Point and figure on banded boxes labels its price rows band by band; the box grid's rows.
    std::vector<OwnAxisLabel> OwnValueAxis(const GraphPane& pane) const override
    {
        std::vector<OwnAxisLabel> labels;
        if (pane.id != kPanePrice)
            return labels;
        // Read as the ticked axis reads: pounds or the price's unit, thousands grouped.
        const bool pounds = this->paneAxis[kPanePrice].hundreds;
        const char symbol = PriceSymbol();
        const std::string suffix = pounds || !symbol ? std::string() : std::string(1, symbol);
        for (const BoxAxisLabel& label : eod.BoxAxisLabels(this->textHeight)) {
            std::string format;
            const double value = BuildNumberFormat(format, pounds ? label.value / 100 : label.value, 5, false, false, 0);
            labels.push_back({FormatAxisLabel(format, value, suffix), label.y});
        }
        return labels;
    }
    std::vector<int32_t> OwnGridRows(const GraphPane& pane) const override
    {
        return pane.id == kPanePrice ? eod.BoxGridRowLines() : std::vector<int32_t>();
    }
    // A click on a point-and-figure chart picks the box the readout counts from.
    void PlotClicked(int32_t x, int32_t y) override { eod.PickBox(x, y); }
    // A drag over a box chart moves its columns and boxes with the pointer.
    void BeginScrollDrag(int32_t x, int32_t y) override { eod.BeginBoxDrag(x, y); }
    void ScrollToPoint(int32_t x, int32_t y) override
    {
        if (eod.DragBoxesTo(x, y))
            this->RebuildNow();
    }

    void FillReadouts(std::array<std::string, 3>& texts) override
    {
        eod.FillStatusTexts(texts, this->MouseInside(), this->modeRecord.active && this->modeRecord.mode != 0);
    }
};

using CViewGraphEOD = ViewGraphEODT<CViewGraph>;

} // namespace qv
