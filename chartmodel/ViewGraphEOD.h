// The daily chart view: a chart view (CViewGraph, or its window) whose data hooks load the share's
// daily prices and build the price, average and volume series through EodChartView, and which runs
// the daily chart's own commands.
#pragma once

#include "charts/DailyChartDrawing.h"
#include "chartmodel/EodChartView.h"
#include "chartmodel/KeyedItemStore.h"
#include "chartmodel/StopLossSettings.h"
#include "chartmodel/PaneLayout.h"
#include "chartmodel/ViewGraph.h"
#include "resources/MessageIds.h"

namespace qv {

template <typename Base>
class ViewGraphEODT : public Base {
public:
    explicit ViewGraphEODT(int32_t kind)
        : Base(kind), eod(*this), drawing(*this, eod, [this]() -> std::optional<uint32_t> {
              StopShareKey share;
              if (!this->ShownShare(share))
                  return std::nullopt;
              return ShareItemKey(share.shareId, share.exchange);
          })
    {
    }

    intptr_t onProgramMessage(uint32_t message, uintptr_t wParam, intptr_t lParam) override
    {
        if (message == WM_COMMAND && (eod.RunCommand(uint32_t(wParam), ShiftHeld()) || drawing.RunCommand(uint32_t(wParam))))
            return 1;
        return Base::onProgramMessage(message, wParam, lParam);
    }
    bool UpdateCommandUi(CommandUi& ui) const override
    {
        return eod.UpdateCommand(ui) || drawing.UpdateCommand(ui) || Base::UpdateCommandUi(ui);
    }
    void OnDoubleClick(uint32_t keys, int32_t x, int32_t y) override
    {
        eod.OnDoubleClick();
        Base::OnDoubleClick(keys, x, y);
    }

    // A drag over the time axis zooms to the dates under it.
    void SetTimeRangeFromX(int32_t x0, int32_t x1) override
    {
        if (eod.ZoomToDragRange(x0, x1))
            this->fullRange = 0;
    }

    EodChartView eod;
    DailyChartDrawing drawing;

protected:
    virtual bool ShiftHeld() const { return false; }
    void LoadShareData() override
    {
        eod.LoadAndLayout();
        // Without prices or volume to show, the price pane takes the volume pane's room.
        if (!eod.VolumeShowable())
            this->volumeShown = 0;
    }
    void BuildTimeBands() override { eod.BuildTimeBand(); }
    void ReloadPaneLineObjects() override { drawing.Reload(); }
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
    void FillReadouts(std::array<std::string, 3>& texts) override
    {
        const std::array<std::string, 2> readouts = eod.Readouts(this->lastMouseX);
        texts[1] = readouts[0];
        texts[2] = readouts[1];
    }
};

using CViewGraphEOD = ViewGraphEODT<CViewGraph>;

} // namespace qv
