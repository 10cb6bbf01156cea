// Points per second of the series layout iterator over a million daily price records, for the
// close, the running high and the typical price.
#include "chartmodel/DataArray.h"
#include "chartmodel/GraphModel.h"
#include "chartmodel/SeriesLayout.h"
#include "platform/ByteOrder.h"

#include <benchmark/benchmark.h>
#include <random>

namespace {

using namespace qv;

constexpr int32_t kRecords = 1'000'000;

// A million daily records of a random walk; owned by the returned array.
DataArray& Prices()
{
    static DataArray prices = [] {
        DataArray a;
        auto* data = static_cast<uint8_t*>(InitDataArray(a, kArrayDaily, kRecords, 0, 0));
        std::mt19937 rng(11);
        std::normal_distribution<float> step(0.0f, 1.0f);
        float close = 500;
        for (int32_t i = 0; i < kRecords; ++i) {
            uint8_t* r = data + size_t(i) * kDailyRecordSize;
            float open = close;
            close = std::max(1.0f, close + step(rng));
            StoreF32(r, open);
            StoreF32(r + 4, std::max(open, close) + 1);
            StoreF32(r + 8, std::min(open, close) - 1);
            StoreF32(r + 12, close);
            StoreF32(r + 16, 1e6f);
            r[kDailyFlags] = 1;
        }
        return a;
    }();
    return prices;
}

// Arg: the selector bits.
void BM_NextSeriesPoint(benchmark::State& state)
{
    DataArray& prices = Prices();
    prices.flags = uint32_t(state.range(0));
    TimeScale scale = {0, 0, kRecords - 1, 0, kRecords - 1, nullptr};
    ValueRange range{};
    range.minimum = 0;
    range.maximum = 2000;
    range.yBottom = 1000;
    GraphSeries series{};
    series.timeScale = &scale;
    series.range = &range;
    PlotElement element{};
    element.series = &series;
    element.values = prices;
    element.values.ownsData = 0;
    CGraphSeriesLayout layout;
    int64_t drawn = 0;
    for (auto _ : state) {
        layout.Setup(element);
        SeriesPoint point;
        while (layout.Next(point))
            drawn += point.drawn;
        benchmark::DoNotOptimize(drawn);
    }
    state.SetItemsProcessed(int64_t(state.iterations()) * kRecords);
}

BENCHMARK(BM_NextSeriesPoint)
    ->Arg(kSelectClose)
    ->Arg(kSelectHigh | kSelectRunning)
    ->Arg(kSelectTypical)
    ->Unit(benchmark::kMillisecond);

} // namespace
