// Decoding one share's intraday day of 20,000 ticks into items, cleaned prices, one-minute bars and
// a moving average: items per second.
#include "chartmodel/IntradayTicks.h"

#include <benchmark/benchmark.h>
#include <random>
#include <vector>

namespace {

struct DayTicks {
    std::vector<qv::IntradayTick> ticks;
    qv::TickCounts counts;
};

const DayTicks& Day()
{
    static const DayTicks day = [] {
        DayTicks d;
        std::mt19937 rng(11);
        std::normal_distribution<float> step(0.0f, 0.2f);
        float mid = 500;
        for (uint32_t i = 0; i < 20000; ++i) {
            qv::IntradayTick stamp;
            stamp.type = qv::kTickTime;
            stamp.value1 = 8 * 3600 + i * 30600 / 20000;
            d.ticks.push_back(stamp);
            mid = std::max(1.0f, mid + step(rng));
            qv::IntradayTick quote;
            quote.type = i % 3 == 0 ? qv::kTickTrade : qv::kTickQuote;
            quote.SetF(quote.type == qv::kTickQuote ? mid + 0.5f : mid, quote.type == qv::kTickQuote ? mid - 0.5f : 1000.0f);
            d.ticks.push_back(quote);
            (quote.type == qv::kTickQuote ? d.counts.quotes : d.counts.trades) += 1;
        }
        return d;
    }();
    return day;
}

void BM_DecodeIntradayTicks(benchmark::State& state)
{
    const DayTicks& d = Day();
    for (auto _ : state) {
        qv::IntradayDay day;
        day.slotLength = 60;
        day.averages = {{0, 20, {}}};
        qv::DecodeIntradayTicks(day, d.ticks, d.counts, qv::kDecodeBars | qv::kDecodeKeepQuotes, "bench");
        qv::ComputeBarAverages(day);
        benchmark::DoNotOptimize(day.bars.bars.data());
    }
    state.SetItemsProcessed(int64_t(state.iterations()) * int64_t(d.ticks.size()));
}
BENCHMARK(BM_DecodeIntradayTicks)->Unit(benchmark::kMicrosecond);

} // namespace
