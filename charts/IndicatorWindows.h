// The daily chart's indicator windows: one series per used indicator record of the four add-on
// windows, the computation of each slot by its type's routine (IndicatorRoutes) and the drawing of
// what the routines hand back through the line drawer; the volume window builds plot elements of
// its own. The daily view owns one and calls it from the chart view's hooks.
#pragma once

#include "chartmodel/GraphSettingLayout.h"
#include "charts/IndicatorLineDrawer.h"
#include "charts/IndicatorStudy.h"

#include <array>
#include <cstdint>
#include <string>
#include <vector>

namespace qv {

class CViewGraph;
class CGraphSeriesLayout;
class ChartCanvas;
class EodChartView;
struct GraphSeries;
struct PlotElement;
struct TimeBand;
struct LegendSource;

// The volume window's colouring mode for the chart's bar-colouring mode: 0 gives 1, 1-3 give 3, 4 gives
// 2, 5 and 6 give 5, 7 and 8 give 2.
uint32_t VolumeColourMode(int barColouringMode);

// Another share's daily prices, by the id and count an indicator record names it with (the
// correlation, beta and relative types); empty when the database has no such share.
std::vector<DayRecord> LoadShareHistory(uint16_t id, uint32_t count);

class IndicatorWindows {
public:
    IndicatorWindows(CViewGraph& view, const EodChartView& eod) : view_(view), eod_(eod) {}

    // The series of every window are forgotten (the model's series are being rebuilt).
    void ClearSeries();
    // The series of record `row` of add-on window `window`: null for an unused record, or when the
    // window's first record is unused.
    GraphSeries* BuildSeries(int window, int row);
    // Fits and computes every used slot (windows top to bottom, slots from the last to the first):
    // after the value ranges, before the axes are drawn.
    void Compute();
    // Draws the computed lines, in the same order, so that a window's first record ends on top.
    void Draw(ChartCanvas& canvas);
    // The indicator lines of the legend: each drawn series' name, pen, and its value on the last
    // day shown and on the day under the cursor (-1 none).
    void FillLegend(LegendSource& source, int32_t cursorDay) const;
    // The cursor readout of the window shown in pane `paneId`: each drawn line's name and its value
    // on `day`, joined by two blanks; empty for a day without values.
    std::string CursorValues(uint32_t paneId, int32_t day) const;

    // The colouring of the volume window's bars, read by the painter as it lays them out; other
    // elements are left as they are.
    void PrepareColouring(const PlotElement& element, CGraphSeriesLayout& layout) const;

    // What the last Compute found (tests).
    const IndicatorResult* result(int window, int slot) const;
    GraphSeries* series(int window, int slot) const { return slots_[size_t(window)][size_t(slot)].series; }
    const IndicatorDrawView& drawView() const { return drawView_; }

private:
    struct Slot {
        GraphSeries* series = nullptr;
        IndicatorResult result;
        bool computed = false;
        bool drew = false;
    };
    bool Drawable() const;
    // A drawn slot's value on a day as the legend and the readout show it; empty where it has none.
    std::string ValueOn(const Slot& slot, int32_t day) const;
    bool SeriesAlive(const GraphSeries* series) const;
    void ComputeSlot(const GraphSetting& setting, int window, int slot);
    void BuildVolumeWindow(const IndicatorRecord& record, GraphSeries& series, bool first);
    void PrepareDrawView();
    // A window that is a chart of its own (point and figure, equivolume).
    void DrawPane(ChartCanvas& canvas, Slot& slot, const IndicatorRecord& record, const IndicatorDrawView& view,
                  bool first);
    const TimeBand* band() const;

    CViewGraph& view_;
    const EodChartView& eod_;
    std::array<std::array<Slot, graphsetting::kIndicatorsPerWindow>, graphsetting::kAddOnWindowCount> slots_{};
    std::vector<int32_t> xs_;
    IndicatorDrawView drawView_;
};

} // namespace qv
