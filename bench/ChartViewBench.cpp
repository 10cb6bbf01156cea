// One full paint of the chart view (layout, model build, value axes, drawing) of a synthetic chart
// with 2,500 bars, its volume and two add-on windows into a 1600 x 1000 image.
#include "chartmodel/ui/ViewGraphWindow.h"
#include "core/ConfigState.h"
#include "chartmodel/GraphSettingDefaults.h"
#include "chartmodel/GraphSettingLayout.h"
#include "chartmodel/IndicatorRecord.h"
#include "chartmodel/ui/ViewGraphEODWindow.h"
#include "devtools/lib/SyntheticChart.h"
#include "devtools/lib/SyntheticDays.h"

#include "BenchApplication.h"

#include <QApplication>
#include <QImage>
#include <benchmark/benchmark.h>
#include <cstdlib>

namespace {

using namespace qv;

void BM_ChartViewFullPaint(benchmark::State& state)
{
    BenchApplication();
    GraphSetting saved = Config().dailyGraphs.records[0];
    dev::SetUpSyntheticSetting(Config().dailyGraphs.records[0]);
    dev::SyntheticChart<CViewGraphWnd> chart(2500);
    // A screen paint: the build goes to the off-screen image, which is then copied to the target.
    for (auto _ : state) {
        QImage shown = chart.RenderToImage(1600, 1000);
        benchmark::DoNotOptimize(shown.bits());
    }
    Config().dailyGraphs.records[0] = saved;
}
BENCHMARK(BM_ChartViewFullPaint)->Unit(benchmark::kMillisecond);

// The daily chart of ten years (2,500 days) with its four averages and their bands and four indicator
// windows (RSI 14, MACD 12/26/9 with its histogram, stochastic 14/3/3, volume with its average):
// build and draw.
void BM_DailyChartTenYears(benchmark::State& state)
{
    BenchApplication();
    GraphSetting saved = Config().dailyGraphs.records[0];
    GraphSetting& setting = Config().dailyGraphs.records[0];
    InitGraphSetting(setting, false);
    for (int line = 0; line < graphsetting::kLines; ++line)
        graphsetting::SetU32(setting, graphsetting::kLineWords + 4 * size_t(line),
                             graphsetting::LineWord(setting, line) | 0xC0000000u);
    const IndicatorRecord windows[4] = {IndicatorRecord::Of(2, 0, 14), IndicatorRecord::Of(8, 3, 12, 26, 9),
                                        IndicatorRecord::Of(12, 0, 14, 3, 3), IndicatorRecord::Of(58, 1, 0, 20)};
    for (int w = 0; w < 4; ++w) {
        IndicatorRecord record = windows[w];
        record.pens = {0x0000C0, 0xC00000, 0x008000, 0};
        record.heightWeight = 120;
        record.Write(graphsetting::IndicatorSlot(setting, w, 0));
    }
    const std::vector<DayRecord> days = dev::MakeSyntheticDays(2500);
    CViewGraphEODWnd chart(0);
    chart.eod.SetHistory(days.data(), int32_t(days.size()), 1);
    for (auto _ : state) {
        QImage shown = chart.RenderToImage(1600, 1000);
        benchmark::DoNotOptimize(shown.bits());
    }
    Config().dailyGraphs.records[0] = saved;
}
BENCHMARK(BM_DailyChartTenYears)->Unit(benchmark::kMillisecond);

} // namespace
