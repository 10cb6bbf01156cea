// Each drawing operation of the indicator windows over 1,000,000 daily records: the routine's one
// pass (values, range rule) and the line drawer over what it hands back, onto a canvas that draws
// nothing. Items are records.
#include "chartmodel/ChartCanvas.h"
#include "chartmodel/GraphModel.h"
#include "charts/IndicatorLineDrawer.h"
#include "charts/IndicatorRoutes.h"
#include "devtools/lib/SyntheticChart.h"

#include <benchmark/benchmark.h>
#include <cfloat>
#include <vector>

namespace {

using namespace qv;

constexpr int kRecords = 1000000;

class NullCanvas final : public ChartCanvas {
public:
    void ClipToPane(const GraphPane*) override {}
    void SelectPen(uint32_t) override {}
    void Line(int32_t, int32_t, int32_t x1, int32_t y1) override { sum += x1 + y1; }
    void FillRect(int32_t, int32_t top, int32_t, int32_t bottom, uint32_t) override { sum += top + bottom; }
    void PaneCaption(const GraphPane&, const std::string&, uint32_t) override {}
    int64_t sum = 0;
};

const std::vector<DayRecord>& Days()
{
    static const std::vector<DayRecord> days = [] {
        const dev::SyntheticBars bars = dev::MakeSyntheticBars(kRecords);
        std::vector<DayRecord> out(kRecords);
        for (size_t i = 0; i < out.size(); ++i) {
            out[i] = DayRecord{bars.open[i], bars.high[i], bars.low[i], bars.close[i], bars.volume[i], 1.0f, {}, 1, 1, 0, 1, {}};
        }
        return out;
    }();
    return days;
}

void BM_IndicatorDrawing(benchmark::State& state)
{
    const IndicatorRecord record = IndicatorRecord::Of(int(state.range(0)), 3, 14, 26, 9);
    const std::vector<DayRecord>& days = Days();
    std::vector<int32_t> xs(days.size());
    for (size_t i = 0; i < xs.size(); ++i)
        xs[i] = 1 + int32_t(i / 700);
    GraphPane pane{};
    pane.right = 1500;
    pane.bottom = 200;
    ValueRange range{};
    GraphSeries series{};
    series.pane = &pane;
    series.range = &range;
    PlotElement element{};
    element.series = &series;
    IndicatorDrawView view;
    view.shownDays = kRecords;
    view.xs = xs;
    view.right = 1500;
    view.barSpacing = 0.0015;
    NullCanvas canvas;
    for (auto _ : state) {
        range = ValueRange{FLT_MAX, -FLT_MAX, 0, 200, 0, 0, nullptr, nullptr};
        IndicatorInput in;
        in.record = record;
        in.days = days;
        IndicatorResult result;
        const IndicatorRoute& route = RouteOf(record.type);
        route.routine(in, range, result, route.variant);
        for (size_t i = 0; i < result.lines.size(); ++i) {
            IndicatorLineArgs line;
            line.element = &element;
            line.values = result.lines[i].values;
            line.histogram = result.lines[i].histogram;
            line.levels = result.levels;
            line.leadIn = result.lines[i].leadIn;
            line.attach = i == 0;
            DrawIndicatorLine(canvas, view, line);
        }
        benchmark::DoNotOptimize(canvas.sum);
    }
    FreeDataArray(element.second);
    state.SetItemsProcessed(state.iterations() * kRecords);
}
BENCHMARK(BM_IndicatorDrawing)
    ->ArgName("type")
    ->Arg(1)->Arg(2)->Arg(5)->Arg(8)->Arg(10)->Arg(11)->Arg(12)->Arg(14)->Arg(42)->Arg(43)->Arg(44)
    ->Arg(46)->Arg(47)->Arg(48)->Arg(51)->Arg(52)->Arg(53)->Arg(57)
    ->Arg(3)->Arg(4)->Arg(7)->Arg(9)->Arg(13)->Arg(17)->Arg(45)->Arg(49)->Arg(50)->Arg(54)
    ->Unit(benchmark::kMillisecond);

} // namespace
