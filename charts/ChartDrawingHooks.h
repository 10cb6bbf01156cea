// The chart view's drawing hooks handed to the chart's DailyChartDrawing: the daily and the intraday
// chart views both derive from this, each giving its own drawing.
#pragma once

#include "charts/DailyChartDrawing.h"
#include "chartmodel/LineObjects.h"

#include <string>

namespace qv {

template <typename Base>
class ChartDrawingHooks : public Base {
public:
    explicit ChartDrawingHooks(int32_t kind) : Base(kind) {}

protected:
    virtual DailyChartDrawing& Drawing() = 0;
    virtual const DailyChartDrawing& Drawing() const = 0;

    void ReloadPaneLineObjects() override { Drawing().Reload(); }
    void FillObjectReadout(ModeReadoutInput& in) const override { Drawing().FillReadout(in); }
    void DrawingPress(uint32_t keys, int32_t x, int32_t y) override { Drawing().Press(keys, x, y); }
    void DrawingMove(uint32_t keys, int32_t x, int32_t y) override { Drawing().Move(keys, x, y); }
    bool DrawingRelease(uint32_t keys, int32_t x, int32_t y) override { return Drawing().Release(keys, x, y); }
    bool DrawingIdlePress(uint32_t keys, int32_t x, int32_t y) override { return Drawing().IdlePress(keys, x, y); }
    void DrawingDeselect() override { Drawing().Deselect(); }
    std::string DrawingTitle() const override
    {
        const LineObject* selected = Drawing().selected();
        return !selected ? std::string() : selected->kind == LineObjectKind::Text ? "Text edit" : "Line study";
    }
};

} // namespace qv
