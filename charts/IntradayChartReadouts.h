// What the intraday chart reads out of its loaded days: the legend's six texts at the cursor and for
// the latest values, the status texts, the title's latest values, the average trade volume and the
// added graphs' values, found in the day sets the view holds.
#pragma once

#include "chartmodel/IntradayReadouts.h"
#include "chartmodel/LegendModel.h"

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace qv {

class CViewGraph;
class IntradayChartView;
struct GraphPane;
struct GraphSeries;
struct IntradayDaySet;
struct LineObject;

// A price or value as the chart writes it, and a volume scaled with "k", "m" or "b".
std::string IntradayValueText(float value);
std::string IntradayVolumeText(float value);

class IntradayChartReadouts {
public:
    IntradayChartReadouts(const CViewGraph& view, const IntradayChartView& chart) : view_(view), chart_(chart) {}

    // The latest mid, bid, offer and trade of the shown days and the latest day, and the price the
    // mid's change is taken from (title bit 7: the previous close, else the day's open).
    IntradayLatestValues LatestValues() const;
    // The average of the shown days' trade volumes; -1 without trades.
    int64_t AverageVolume() const;
    // The title options' latest values ("^^" before the bid and offer when a part precedes them).
    std::string TitleValues() const;

    // The six legend texts at a point of the chart, off the graph when the point is outside it or
    // on no day.
    std::array<std::string, kReadoutTexts> CursorTexts(int32_t x, int32_t y, bool inside) const;
    // The same for the latest values.
    std::array<std::string, kReadoutTexts> LatestTexts() const;
    // Status panes 1-3: "Cursor" and the time, the mid with bid and offer, the volume (the latest
    // values off the graph), with the selected line's trend rate after it ("No trend line" with the
    // latest values).
    void FillStatusTexts(std::array<std::string, 3>& texts, int32_t x, int32_t y, bool inside,
                         const LineObject* selectedLine) const;
    // "Trend " and the rate of a drawn line; empty when it has none.
    std::string TrendText(const LineObject& line) const;

    // Each added graph's name, pen and its values at the latest time and at the cursor time.
    std::vector<LegendIndicatorLine> AddedGraphLines(int32_t x, int32_t y, bool inside) const;
    // An added graph's value at a time of a day set: the last quote not before the graph's own start
    // of day, and past its data its last value; none without one.
    std::optional<float> AddedGraphValue(size_t graph, const IntradayDaySet& set, int32_t time) const;

private:
    struct Point {
        const IntradayDaySet* set = nullptr;
        int32_t time = 0;
        GraphPane* pane = nullptr;
        GraphSeries* series = nullptr;
    };
    std::optional<Point> PointAt(int32_t x, int32_t y) const;
    // The latest day: the separate latest set, else the last shown one.
    const IntradayDaySet* LatestSet() const;
    std::string PaneText(const Point& at, const IntradayReadoutValues& v) const;
    std::string SignalAt(const IntradayDaySet& set, int32_t time) const;

    const CViewGraph& view_;
    const IntradayChartView& chart_;
};

} // namespace qv
