// The daily chart view: a chart view (CViewGraph, or its window) whose data hooks load the share's
// daily prices and build the price, average and volume series through EodChartView, and which runs
// the daily chart's own commands.
#pragma once

#include "chartmodel/EodChartView.h"
#include "chartmodel/PaneLayout.h"
#include "chartmodel/ViewGraph.h"
#include "resources/MessageIds.h"

namespace qv {

template <typename Base>
class ViewGraphEODT : public Base {
public:
    explicit ViewGraphEODT(int32_t kind) : Base(kind), eod(*this) {}

    intptr_t onProgramMessage(uint32_t message, uintptr_t wParam, intptr_t lParam) override
    {
        if (message == WM_COMMAND && eod.RunCommand(uint32_t(wParam), ShiftHeld()))
            return 1;
        return Base::onProgramMessage(message, wParam, lParam);
    }
    bool UpdateCommandUi(CommandUi& ui) const override
    {
        return eod.UpdateCommand(ui) || Base::UpdateCommandUi(ui);
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

protected:
    virtual bool ShiftHeld() const { return false; }
    void LoadShareData() override
    {
        eod.LoadAndLayout();
        // Without prices or volume to show, the price pane takes the volume pane's room.
        if (!eod.VolumeShowable())
            this->volumeShown = 0;
    }
    bool BuildSourceHistory() override { return eod.BuildSourceHistory(this->graphSourceKind); }
    void BuildTimeBands() override { eod.BuildTimeBand(); }
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
