// The intraday chart's add-on windows: each indicator record of the setting computed bar by bar over
// the shown days' period bars, one series per day in its window with the window's level lines, and
// the market-breadth records over the real-time market table.
#pragma once

#include <cstdint>
#include <vector>

namespace qv {

class CViewGraph;
class IntradayChartView;
struct GraphSeries;
struct IntradayDaySet;
struct IndicatorRecord;

// One output line of an indicator over a day's bars of the analytic selection: the values of bars
// first..last (first > last: none).
struct IntradayIndicatorDay {
    int32_t first = 0, last = -1;
    std::vector<std::vector<float>> outputs;
};
// The record's calculator run over each day's bars within the selection (0 all, 1 the day's shown
// hours, 2 from..to seconds of the day); with `flowing` it runs on across the days, else it starts
// again on each day.
std::vector<IntradayIndicatorDay> ComputeIntradayIndicator(const IndicatorRecord& record,
                                                           const std::vector<const IntradayDaySet*>& days,
                                                           bool flowing, int selection, int32_t from, int32_t to);

class IntradayIndicatorPanes {
public:
    IntradayIndicatorPanes(CViewGraph& view, const IntradayChartView& chart) : view_(view), chart_(chart) {}

    // Record `row` of add-on window `window`: a series per shown day in the window, its outputs in
    // the record's pens, the level lines of its type set on the window when it is the window's first
    // series; the first series made, or none.
    GraphSeries* AddIndicatorPane(int window, int row);
    // A market-breadth record: a series per shown day over the market table's five-minute buckets of
    // the record's source, titled with the source's name, or "building list..." while the table has
    // no entry for it.
    GraphSeries* AddBreadthPane(int window, int row);

private:
    CViewGraph& view_;
    const IntradayChartView& chart_;
};

} // namespace qv
