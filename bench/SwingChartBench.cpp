// The swing chart's walk over 25 years of daily prices with the extended method, as a chart redraw
// does it.
#include "chartmodel/SwingChart.h"

#include <benchmark/benchmark.h>
#include <random>
#include <vector>

namespace {

constexpr size_t kTwentyFiveYears = 25 * 253;

const std::vector<qv::DayRecord>& Days()
{
    static const std::vector<qv::DayRecord> days = [] {
        std::mt19937 rng(11);
        std::normal_distribution<float> step(0.0f, 1.5f);
        std::vector<qv::DayRecord> out(kTwentyFiveYears);
        float close = 200;
        for (size_t i = 0; i < out.size(); ++i) {
            close = std::max(close + step(rng), 5.0f);
            out[i].close = out[i].open = close;
            out[i].high = close + 1;
            out[i].low = close - 1;
            out[i].date = uint16_t(1000 + i);
        }
        return out;
    }();
    return days;
}

void BM_SwingChart25Years(benchmark::State& state)
{
    const std::vector<qv::SwingEdit> edits{{3000, qv::kEditUpTrend}, {5000, qv::kEditDownSwing}};
    for (auto _ : state)
        benchmark::DoNotOptimize(qv::ComputeSwingChart(Days(), 0, 0xFFFF, 1 | 0x10 | 0x40, 3, edits));
}
BENCHMARK(BM_SwingChart25Years)->Unit(benchmark::kMicrosecond);

} // namespace
