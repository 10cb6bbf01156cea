// Cost per bar of each moving-average type over a million bars, at a short and a long period.
#include "core/MovingAverage.h"

#include <algorithm>
#include <benchmark/benchmark.h>
#include <random>
#include <vector>

namespace {

constexpr size_t kBars = 1'000'000;

const std::vector<double>& Closes()
{
    static const std::vector<double> closes = [] {
        std::mt19937 rng(5);
        std::normal_distribution<double> step(0.0, 1.0);
        std::vector<double> out(kBars);
        double price = 500;
        for (double& c : out) {
            price = std::max(1.0, price + step(rng));
            c = price;
        }
        return out;
    }();
    return closes;
}

void PerBar(benchmark::State& state)
{
    // Shown as time per bar ("6.1ns").
    state.counters["per_bar"] = benchmark::Counter(
        double(kBars), benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
    state.SetItemsProcessed(int64_t(state.iterations()) * int64_t(kBars));
}

// Args: type, period, with band (0 or 1).
void BM_MovingAverage(benchmark::State& state)
{
    const auto& closes = Closes();
    auto ma = qv::CreateMovingAverage(int32_t(state.range(0)), int32_t(state.range(1)), 2.0, 0);
    int32_t needed = 0, leadIn = 0;
    ma->Prepare(needed, leadIn);
    const bool band = state.range(2) != 0;
    for (auto _ : state) {
        ma->Reset();
        ma->Prime(closes[0]);
        double total = 0;
        for (double c : closes) {
            total += ma->Next(c);
            if (band)
                total += ma->GetBandWidth();
            ma->DropOldest();
        }
        benchmark::DoNotOptimize(total);
    }
    PerBar(state);
}
BENCHMARK(BM_MovingAverage)
    ->ArgNames({"type", "period", "band"})
    ->ArgsProduct({{0, 1, 2, 3, 4}, {10, 200}, {0}})
    ->Args({0, 20, 1})
    ->Args({3, 20, 1})
    ->Unit(benchmark::kMillisecond);

// The whole-series path: one call over the closes, the same averages bit for bit.
void BM_MovingAverageSeries(benchmark::State& state)
{
    const auto& closes = Closes();
    auto ma = qv::CreateMovingAverage(int32_t(state.range(0)), int32_t(state.range(1)), 2.0, 0);
    int32_t needed = 0, leadIn = 0;
    ma->Prepare(needed, leadIn);
    std::vector<double> out(closes.size()), bands(state.range(2) ? closes.size() : 0);
    for (auto _ : state) {
        ma->Reset();
        ma->Prime(closes[0]);
        ma->NextSeries(closes.data(), out.data(), closes.size(), bands.empty() ? nullptr : bands.data());
        benchmark::DoNotOptimize(out.data());
        benchmark::DoNotOptimize(bands.data());
    }
    PerBar(state);
}
BENCHMARK(BM_MovingAverageSeries)
    ->ArgNames({"type", "period", "band"})
    ->ArgsProduct({{0, 1, 2, 3, 4}, {10, 200}, {0}})
    ->Args({0, 20, 1})
    ->Args({1, 20, 1})
    ->Unit(benchmark::kMillisecond);

// A plain loop over the same closes: the floor a streaming average is measured against.
void BM_PlainSimpleAverageLoop(benchmark::State& state)
{
    const auto& closes = Closes();
    const size_t n = size_t(state.range(0));
    for (auto _ : state) {
        double sum = closes[0] * double(n), total = 0;
        for (size_t i = 0; i < closes.size(); ++i) {
            sum += closes[i] - (i >= n ? closes[i - n] : closes[0]);
            total += sum / double(n);
        }
        benchmark::DoNotOptimize(total);
    }
    PerBar(state);
}
BENCHMARK(BM_PlainSimpleAverageLoop)->Arg(10)->Arg(200)->Unit(benchmark::kMillisecond);

} // namespace
