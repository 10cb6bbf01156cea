// The box and reversal chart builders over 1,000,000 daily records, and a full paint of a 25-year
// point-and-figure chart in the daily chart's harness (the target: under 16 ms).
#include "chartmodel/GraphSettingDefaults.h"
#include "chartmodel/GraphSettingLayout.h"
#include "chartmodel/ui/ViewGraphEODWindow.h"
#include "charts/BoxCharts.h"
#include "core/ConfigState.h"
#include "core/PackedDate.h"
#include "devtools/lib/SyntheticChart.h"

#include "BenchApplication.h"

#include <QImage>
#include <benchmark/benchmark.h>

namespace {

using namespace qv;

constexpr int kRecords = 1000000;

// n records of the synthetic walk on weekdays from 2 January 2002: 25 years for 6,250. Past that the
// 25 years' dates repeat (the packed dates end in 2027): the builders read dates only to label their
// points.
std::vector<DayRecord> WalkDays(int n)
{
    const dev::SyntheticBars bars = dev::MakeSyntheticBars(n);
    std::vector<DayRecord> days(static_cast<size_t>(n) + 1);
    PackedDate date = PackDate(2, 1, 2002);
    for (size_t i = 0; i < size_t(n); ++i) {
        date = i % 6250 == 0 ? PackDate(2, 1, 2002) : NextWeekday(date);
        days[i] = {bars.open[i], bars.high[i], bars.low[i], bars.close[i], bars.volume[i], 1.0f, {},
                   date, uint8_t(WeekdayOf(date) + 1), 0, 1, {}};
    }
    return days;
}

const std::vector<DayRecord>& MillionDays()
{
    static const std::vector<DayRecord> days = WalkDays(kRecords);
    return days;
}

void BM_BuildPointFigure(benchmark::State& state)
{
    const std::vector<DayRecord>& days = MillionDays();
    const BoxGrid grid = PointFigureGrid(days, 100, kBoxPercent);
    for (auto _ : state)
        benchmark::DoNotOptimize(BuildPointFigureColumns(days, grid, PointFigureOptions{}).data());
    state.SetItemsProcessed(state.iterations() * kRecords);
}
BENCHMARK(BM_BuildPointFigure)->Unit(benchmark::kMillisecond);

void BM_BuildKagi(benchmark::State& state)
{
    const std::vector<DayRecord>& days = MillionDays();
    for (auto _ : state)
        benchmark::DoNotOptimize(BuildKagiLines(days, KagiReversal{0.03f, true}).data());
    state.SetItemsProcessed(state.iterations() * kRecords);
}
BENCHMARK(BM_BuildKagi)->Unit(benchmark::kMillisecond);

void BM_BuildRenko(benchmark::State& state)
{
    const std::vector<DayRecord>& days = MillionDays();
    for (auto _ : state)
        benchmark::DoNotOptimize(BuildRenkoBricks(days, 200, kBoxPercent, false).data());
    state.SetItemsProcessed(state.iterations() * kRecords);
}
BENCHMARK(BM_BuildRenko)->Unit(benchmark::kMillisecond);

void BM_BuildLineBreak(benchmark::State& state)
{
    const std::vector<DayRecord>& days = MillionDays();
    for (auto _ : state)
        benchmark::DoNotOptimize(BuildLineBreakChart(days, 3).data());
    state.SetItemsProcessed(state.iterations() * kRecords);
}
BENCHMARK(BM_BuildLineBreak)->Unit(benchmark::kMillisecond);

// 25 years (6,250 days) as point and figure with the box grid, at 1600 x 1000: build and draw.
void BM_DailyChartPointFigure25Years(benchmark::State& state)
{
    BenchApplication();
    GraphSetting saved = Config().dailyGraphs.records[0];
    GraphSetting& setting = Config().dailyGraphs.records[0];
    InitGraphSetting(setting, false);
    graphsetting::SetU8(setting, graphsetting::kPriceDisplay, 5);
    graphsetting::SetU16(setting, graphsetting::kBoxValue, 100);
    graphsetting::SetU8(setting, graphsetting::kBoxValueOption, kBoxPercent);
    graphsetting::SetU16(setting, graphsetting::kBoxChartFlags, 0x20);
    // The 45-degree lines are traced on every paint: all four kinds.
    graphsetting::SetU32(setting, graphsetting::kSupportResist, 15);
    const std::vector<DayRecord> days = WalkDays(6250);
    CViewGraphEODWnd chart(0);
    chart.eod.SetHistory(days.data(), int32_t(days.size()), 1);
    for (auto _ : state) {
        QImage shown = chart.RenderToImage(1600, 1000);
        benchmark::DoNotOptimize(shown.bits());
    }
    state.counters["columns"] = double(chart.eod.boxPoints().empty() ? 0 : chart.eod.boxPoints().back().step + 1);
    Config().dailyGraphs.records[0] = saved;
}
BENCHMARK(BM_DailyChartPointFigure25Years)->Unit(benchmark::kMillisecond);

} // namespace
