// The daily chart view: a chart view (CViewGraph, or its window) whose data hooks load the share's
// daily prices and build the price, average and volume series through EodChartView, and which runs
// the daily chart's own commands.
#pragma once

#include "chartmodel/EodChartView.h"
#include "chartmodel/EodTraining.h"
#include "chartmodel/PaneLayout.h"
#include "chartmodel/StopLossSettings.h"
#include "chartmodel/ViewGraph.h"
#include "charts/DailyChartDrawing.h"
#include "core/KeyedItemStore.h"
#include "resources/MessageIds.h"

namespace qv {

template <typename Base>
class ViewGraphEODT : public Base {
public:
    explicit ViewGraphEODT(int32_t kind)
        : Base(kind), eod(*this), training(*this), drawing(*this, eod, [this]() -> std::optional<uint32_t> {
              StopShareKey share;
              if (!this->ShownShare(share))
                  return std::nullopt;
              return ShareItemKey(share.shareId, share.exchange);
          })
    {
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
        eod.Attach(this->horizontalScale, this->verticalScale);
        Base::AttachGraphSource(dc, style, left, top, right, bottom, outputKind, margin, offscreen, addOns);
    }
    // The legend follows the chart that takes the focus while the legend option is on.
    void OnSetFocus() override
    {
        Base::OnSetFocus();
        if (ChartOptions().legendShown)
            UpdateLegend();
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

protected:
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
    // The mouse is over the chart: the cursor readout describes the point under it.
    virtual bool MouseInside() const { return true; }
    void LoadShareData() override
    {
        eod.LoadAndLayout();
        // Volume bars or the signal line; without prices or volume to show, the price pane takes the
        // volume pane's room.
        this->volumeShown = eod.volumeWanted() && eod.VolumeShowable();
    }
    bool BuildSourceHistory() override { return eod.BuildSourceHistory(this->graphSourceKind); }
    void BuildTimeBands() override { eod.BuildTimeBand(); }
    void ReloadPaneLineObjects() override { drawing.Reload(); }
    void FillObjectReadout(ModeReadoutInput& in) const override { drawing.FillReadout(in); }
    void DrawingPress(uint32_t keys, int32_t x, int32_t y) override { drawing.Press(keys, x, y); }
    void DrawingMove(uint32_t keys, int32_t x, int32_t y) override { drawing.Move(keys, x, y); }
    bool DrawingRelease(uint32_t keys, int32_t x, int32_t y) override { return drawing.Release(keys, x, y); }
    bool DrawingIdlePress(uint32_t keys, int32_t x, int32_t y) override { return drawing.IdlePress(keys, x, y); }
    void DrawingDeselect() override { drawing.Deselect(); }
    std::string DrawingTitle() const override
    {
        const LineObject* selected = drawing.selected();
        return !selected ? std::string() : selected->kind == LineObjectKind::Text ? "Text edit" : "Line study";
    }
    void BuildSeries() override { eod.BuildSeries(); }
    void BuildPriceLineOverlay(int line) override { eod.BuildAverage(line); }
    void DrawPriceOverlays() override { eod.BuildPivots(); }
    void ComputeValueRanges() override
    {
        Base::ComputeValueRanges();
        if ((this->modeRecord.mask & kRedrawValueRanges) == 0)
            return;
        eod.JoinAddedGraphRanges();
        eod.FloorVolumeRange();
    }
    void FillReadouts(std::array<std::string, 3>& texts) override
    {
        eod.FillStatusTexts(texts, MouseInside(), this->modeRecord.active && this->modeRecord.mode != 0);
    }
};

using CViewGraphEOD = ViewGraphEODT<CViewGraph>;

} // namespace qv
