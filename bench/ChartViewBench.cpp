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
#include "chartmodel/PortfolioSeriesCache.h"
#include "core/Database.h"
#include "devtools/lib/PriceDatabase.h"

#include "BenchApplication.h"

#include <QApplication>
#include <QImage>
#include <benchmark/benchmark.h>
#include <chrono>
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

// The same chart over the demo database with the windows that read other series: directional
// movement (ADX, the DI lines and ADXR), the correlation with the FTSE 100, VHF 28 and new highs less
// lows of the FTSE 100, whose breadth series is built once before the paints and then cached.
void BM_DailyChartTenYearsStudies(benchmark::State& state)
{
    using namespace std::chrono;
    BenchApplication();
    static const std::vector<uint8_t> image =
        dev::WriteQuorvaDat(dev::DemoDbFile(dev::BuildDemoDatabase(sys_days{year{2026} / December / 8})));
    LoadDatabaseFromMemory(image, nullptr);
    GraphSetting saved = Config().dailyGraphs.records[0];
    GraphSetting& setting = Config().dailyGraphs.records[0];
    InitGraphSetting(setting, false);
    const IndicatorRecord windows[4] = {IndicatorRecord::Of(54, 7, 14), IndicatorRecord::Of(6, 0, 20, 0xB605 - 0x10000),
                                        IndicatorRecord::Of(7, 0, 28), IndicatorRecord::Of(23, 0, 0, 0, 4)};
    for (int w = 0; w < 4; ++w) {
        IndicatorRecord record = windows[w];
        record.pens = {0x0000C0, 0xC00000, 0x008000, 0x808000};
        record.heightWeight = 120;
        record.Write(graphsetting::IndicatorSlot(setting, w, 0));
    }
    // The synthetic days on the demo's own weekdays, so that the index and the breadth meet them.
    std::vector<DayRecord> days = dev::MakeSyntheticDays(2500);
    PackedDate date = PackDate(3, 1, 2016);
    for (DayRecord& d : days)
        if (d.date != 0) {
            d.date = date;
            date = NextWeekday(date);
        }
    CViewGraphEODWnd chart(0);
    chart.eod.SetHistory(days.data(), int32_t(days.size()), 1);
    QImage first = chart.RenderToImage(1600, 1000);
    benchmark::DoNotOptimize(first.bits());
    for (auto _ : state) {
        QImage shown = chart.RenderToImage(1600, 1000);
        benchmark::DoNotOptimize(shown.bits());
    }
    Config().dailyGraphs.records[0] = saved;
    SeriesCache().Clear();
    FreeDatabase(true);
}
BENCHMARK(BM_DailyChartTenYearsStudies)->Unit(benchmark::kMillisecond);

} // namespace
