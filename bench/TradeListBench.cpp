// Rebuilding a trade list's rows and totals over one share's day of 20,000 ticks (a time stamp before
// each quote or trade), in each of the three modes.
#include "realtime/TradeListRows.h"

#include <benchmark/benchmark.h>
#include <random>
#include <vector>

namespace {

const std::vector<qv::IntradayTick>& Day()
{
    static const std::vector<qv::IntradayTick> day = [] {
        std::vector<qv::IntradayTick> ticks;
        std::mt19937 rng(17);
        std::normal_distribution<float> step(0.0f, 0.2f);
        float mid = 500;
        for (uint32_t i = 0; i < 10000; ++i) {
            qv::IntradayTick stamp;
            stamp.type = qv::kTickTime;
            stamp.value1 = 8 * 3600 + i * 30600 / 10000;
            ticks.push_back(stamp);
            mid = std::max(1.0f, mid + step(rng));
            qv::IntradayTick tick;
            tick.type = i % 3 == 0 ? qv::kTickTrade : qv::kTickQuote;
            if (tick.type == qv::kTickQuote)
                tick.SetF(mid + 0.5f, mid - 0.5f);
            else
                tick.SetF(mid + step(rng), 1000.0f);
            ticks.push_back(tick);
        }
        ticks.push_back(qv::IntradayTick{});
        return ticks;
    }();
    return day;
}

void BM_TradeListRebuild(benchmark::State& state)
{
    const auto& ticks = Day();
    const int32_t mode = int32_t(state.range(0));
    for (auto _ : state) {
        std::vector<qv::TradeListRow> rows = qv::BuildTradeListRows(ticks, mode, 0);
        const qv::TradeTotals totals = qv::SumTradeTotals(rows);
        benchmark::DoNotOptimize(rows.data());
        benchmark::DoNotOptimize(totals.count[0]);
    }
    state.SetItemsProcessed(int64_t(state.iterations()) * int64_t(ticks.size()));
}
BENCHMARK(BM_TradeListRebuild)->Arg(qv::kTradeListTrades)->Arg(qv::kTradeListQuotes)->Arg(qv::kTradeListBoth)
    ->Unit(benchmark::kMillisecond);

} // namespace
