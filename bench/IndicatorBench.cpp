// Cost per bar of each streaming indicator calculator, bar by bar and through the whole-series path,
// over random-walk series of 4,000 and 1,000,000 bars; and one breadth build over the demo database.
#include "chartmodel/IndicatorCalc.h"
#include "chartmodel/IndicatorRecord.h"
#include "chartmodel/PortfolioSeriesCache.h"
#include "core/Database.h"
#include "devtools/lib/PriceDatabase.h"

#include <algorithm>
#include <cmath>
#include <benchmark/benchmark.h>
#include <random>
#include <vector>

namespace {

const std::vector<qv::Bar>& Bars(size_t count)
{
    static std::vector<qv::Bar> bars = [] {
        // A geometric walk: 1% a day, wicks up to 1%, so that the price neither sticks at a floor nor
        // drifts out of float precision over a million bars.
        std::mt19937 rng(7);
        std::normal_distribution<double> step(0.0, 0.01);
        std::uniform_real_distribution<double> wick(0.0, 0.01);
        std::vector<qv::Bar> out(1'000'000);
        double close = 500;
        for (qv::Bar& b : out) {
            const double open = close;
            close *= std::exp(step(rng));
            b = {float(open), float(std::max(open, close) * (1 + wick(rng))),
                 float(std::min(open, close) * (1 - wick(rng))), float(close), float(1e5 * (1 + 100 * wick(rng)))};
        }
        return out;
    }();
    static std::vector<qv::Bar> shortBars(bars.begin(), bars.begin() + 4000);
    return count == bars.size() ? bars : shortBars;
}

// The usual settings of each calculator, by benchmark argument.
qv::IndicatorRecord Usual(int64_t which)
{
    switch (which) {
    case 0: return qv::IndicatorRecord::Of(2, 0, 14);            // RSI 14 (Wilder)
    case 1: return qv::IndicatorRecord::Of(2, 1, 14);            // RSI 14 with exponential averages
    case 2: return qv::IndicatorRecord::Of(8, 0, 12, 26, 9);     // MACD 12/26/9
    case 3: return qv::IndicatorRecord::Of(12, 0, 14, 3, 3);     // stochastic 14/3/3
    case 4: return qv::IndicatorRecord::Of(52, 0, 20);           // CCI 20
    case 5: return qv::IndicatorRecord::Of(54, 7, 14);           // ADM 14
    case 6: return qv::IndicatorRecord::Of(57, 0, 14);           // ATR 14
    case 7: return qv::IndicatorRecord::Of(53, 0, 14);           // Williams %R 14
    case 8: return qv::IndicatorRecord::Of(5, 0, 10);            // momentum 10
    case 9: return qv::IndicatorRecord::Of(48, 0, 0);            // on-balance volume
    case 10: return qv::IndicatorRecord::Of(11, 0, 5, 20, 1);    // price oscillator 5-20 exponential
    case 11: return qv::IndicatorRecord::Of(56, 0, 0);           // pivot points
    default: return qv::IndicatorRecord::Of(1, 0, 20);           // close less its 20-bar average
    }
}

const char* const kNames[] = {"rsi14_wilder", "rsi14_exp", "macd12_26_9", "stochastic14_3_3", "cci20", "adm14",
                              "atr14", "williams14", "momentum10", "obv", "price_osc5_20", "pivots", "close_less_sma20"};

void PerBar(benchmark::State& state, size_t bars)
{
    state.SetItemsProcessed(int64_t(state.iterations()) * int64_t(bars));
    state.counters["per_bar"] = benchmark::Counter(double(bars), benchmark::Counter::kIsIterationInvariantRate |
                                                                      benchmark::Counter::kInvert);
}

// Args: calculator, bars, whole series (1) or bar by bar (0).
void BM_Indicator(benchmark::State& state)
{
    const auto& bars = Bars(size_t(state.range(1)));
    const qv::IndicatorRecord settings = Usual(state.range(0));
    const bool series = state.range(2) != 0;
    state.SetLabel(kNames[state.range(0)]);
    std::vector<float> out(bars.size() * 5);
    for (auto _ : state) {
        state.PauseTiming();
        auto calc = qv::CreateIndicatorCalc(settings, bars[0]);
        state.ResumeTiming();
        if (series) {
            calc->AddSeries(bars.data(), bars.size(), out.data());
        } else {
            float total = 0;
            for (const qv::Bar& b : bars)
                total += calc->AddValue(b)[0];
            benchmark::DoNotOptimize(total);
        }
        benchmark::DoNotOptimize(out.data());
        state.PauseTiming();
        calc->Release();
        calc.reset();
        state.ResumeTiming();
    }
    PerBar(state, bars.size());
}
BENCHMARK(BM_Indicator)
    ->ArgNames({"calc", "bars", "series"})
    ->ArgsProduct({{0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12}, {4000, 1000000}, {1, 0}})
    ->Unit(benchmark::kMicrosecond);

// Building the breadth series of every line of the demo database ("All"), the span measured once.
void BM_BreadthBuildDemo(benchmark::State& state)
{
    using namespace std::chrono;
    static const std::vector<uint8_t> image =
        qv::dev::WriteQuorvaDat(qv::dev::DemoDbFile(qv::dev::BuildDemoDatabase(sys_days{year{2026} / December / 8})));
    qv::LoadDatabaseFromMemory(image, nullptr);
    qv::PortfolioSeriesCache cache;
    size_t days = 0;
    for (auto _ : state) {
        cache.Clear();
        qv::BreadthSeriesEntry* entry = cache.Add({false, 0, 0});
        qv::BuildPortfolioSeries(cache, *entry, false);
        days = entry->records.size();
    }
    state.counters["days"] = double(days);
    state.counters["lines"] = double(qv::MarketGroupShares(0).size());
    cache.Clear();
    qv::FreeDatabase(true);
}
BENCHMARK(BM_BreadthBuildDemo)->Unit(benchmark::kMillisecond);

} // namespace
