// The intraday alarm server's indicator pass over 300 watched shares with a day of 5-minute bars each
// (moving-average, MACD, RSI and stochastic tests all on): the time of a whole pass and of its
// longest timer step, which must stay within the 30 ms slice.
#include "core/ConfigState.h"
#include "realtime/alarms/AlarmServer.h"

#include <benchmark/benchmark.h>

#include <chrono>
#include <random>

namespace {

constexpr uint32_t kShares = 300;
constexpr int32_t kOpen = 8 * 3600, kBarLength = 300, kBars = 102; // 08:00 to 16:30

struct BenchMarket : qv::AlarmMarket {
    std::vector<std::vector<qv::AlarmBar>> days;
    std::vector<uint32_t> keys;
    BenchMarket()
    {
        std::mt19937 rng(5);
        std::normal_distribution<float> step(0.0f, 1.0f);
        for (uint32_t s = 0; s < kShares; ++s) {
            keys.push_back(0x4000 + s);
            std::vector<qv::AlarmBar> bars;
            float close = 500;
            for (int i = 0; i < kBars; ++i) {
                const float next = std::max(1.0f, close + step(rng));
                bars.push_back({close, std::max(close, next) + 0.5f, std::min(close, next) - 0.5f, next});
                close = next;
            }
            days.push_back(std::move(bars));
        }
    }
    int32_t ConnectionStep() const override { return 7; }
    uint32_t Now() const override { return 1700000000; }
    uint32_t Ticks() const override
    {
        using namespace std::chrono;
        return uint32_t(duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count());
    }
    uint32_t Today() const override { return 1; }
    uint32_t LatestTime(uint8_t) const override { return kOpen + kBars * kBarLength; }
    uint32_t OpenTime(uint8_t) const override { return kOpen; }
    std::string ZoneLabel(uint8_t) const override { return "GMT"; }
    bool Bars(uint32_t key, int32_t, int32_t, int32_t, std::vector<qv::AlarmBar>& out, int32_t& first) const override
    {
        out = days[key - 0x4000];
        first = kOpen;
        return true;
    }
    std::vector<uint32_t> UpdatesSince(uint16_t&) const override { return {}; }
    std::vector<uint32_t> SourceShares(qv::RTAlarmSettings&) const override { return keys; }
    bool Lines(std::vector<qv::ShareLine>&) const override { return true; }
};

void BM_IntradayAlarmIndicatorPass(benchmark::State& state)
{
    const qv::IntradayAlarmConfig saved = qv::Config().intradayAlarms;
    qv::RTAlarmSettings s = qv::RTAlarmSettings::Defaults();
    s.maOn = 1;
    s.macdLong = 26;
    s.rsiCount = 14;
    s.stochCount = 14;
    s.stochChecks = 3;
    s.barMinutes = 5;
    s.Store();
    qv::CAlarmServer server(std::make_unique<BenchMarket>());
    server.setTimer = nullptr;
    double longestMs = 0, steps = 0;
    for (auto _ : state) {
        server.ApplySettings(); // the pass starts at the next step
        server.alarms().Clear();
        do {
            const auto start = std::chrono::steady_clock::now();
            server.TimerStep();
            const double ms = std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
            longestMs = std::max(longestMs, ms);
            ++steps;
        } while (server.passRunning());
    }
    state.counters["longest_step_ms"] = longestMs;
    state.counters["steps_per_pass"] = steps / double(state.iterations());
    state.counters["shares"] = kShares;
    qv::Config().intradayAlarms = saved;
}
BENCHMARK(BM_IntradayAlarmIndicatorPass)->Unit(benchmark::kMillisecond);

} // namespace
