// The intraday chart of ten days of 20,000 ticks each (quotes and trades from 08:00 to 16:30) built and
// drawn into 1600 x 1000: the days split and cleaned, their bands and five-minute bars laid out, the
// mid line, the trades as dots by class, bid and offer shading and the volume pane.
#include "chartmodel/GraphSettingDefaults.h"
#include "core/ConfigState.h"
#include "realtime/ui/ViewGraphRTWindow.h"
#include "views/ViewKinds.h"

#include "BenchApplication.h"

#include <QImage>
#include <benchmark/benchmark.h>
#include <cmath>

namespace {

using namespace qv;

std::vector<IntradayTick> BenchDay(int day)
{
    std::vector<IntradayTick> ticks;
    ticks.reserve(20000);
    // 10,000 stamps, 6,667 quotes and 3,333 trades over 30,600 s.
    for (uint32_t i = 0; ticks.size() + 2 <= 20000; ++i) {
        IntradayTick stamp;
        stamp.type = kTickTime;
        stamp.value1 = 28800 + i * 30600 / 10000;
        ticks.push_back(stamp);
        const float mid = 200 + float(day) + 10 * std::sin(float(i) / 300);
        IntradayTick tick;
        if (i % 3 == 2) {
            tick.type = kTickTrade;
            tick.tradeClass = uint8_t(i % 3);
            tick.SetF(mid, float(100 + i % 900));
        } else {
            tick.type = kTickQuote;
            tick.SetF(mid + 0.25f, mid - 0.25f);
        }
        ticks.push_back(tick);
    }
    return ticks;
}

void BM_IntradayChartTenDays(benchmark::State& state)
{
    BenchApplication();
    GraphSetting saved = Config().intradayGraphs.records[0];
    GraphSetting& setting = Config().intradayGraphs.records[0];
    InitGraphSetting(setting, true);
    graphsetting::SetU8(setting, intraday::kDaysViewed, 9);
    std::vector<PackedDate> days;
    std::vector<std::vector<IntradayTick>> ticks;
    for (PackedDate d = PackDate(23, 2, 2026); days.size() < 10; d = NextWeekday(d)) {
        days.push_back(d);
        ticks.push_back(BenchDay(int(days.size())));
    }
    CViewGraphRTWnd chart(kViewIntradayChart);
    chart.chart.ShowShare({0x4001, 0, "Bench", {}});
    chart.chart.source.heldDays = [&days] { return days; };
    chart.chart.source.dayTicks = [&](uint16_t, PackedDate day) {
        return ticks[size_t(std::find(days.begin(), days.end(), day) - days.begin())];
    };
    chart.chart.source.latestTime = [](uint8_t, PackedDate) { return -1; };
    chart.chart.source.marketHours = [](uint8_t) { return std::make_pair(28800, 59400); };
    for (auto _ : state) {
        // Every paint loads the ten days again, as new data for the share makes it do.
        chart.chart.dataChanged = true;
        QImage shown = chart.RenderToImage(1600, 1000);
        benchmark::DoNotOptimize(shown.bits());
    }
    if (chart.chart.sets().size() != 10)
        state.SkipWithError("not ten days");
    Config().intradayGraphs.records[0] = saved;
}
BENCHMARK(BM_IntradayChartTenDays)->Unit(benchmark::kMillisecond);

} // namespace
