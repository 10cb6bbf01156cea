// One ticker step with 500 trades waiting behind a full tape: the tape's scroll (placing, moving,
// ageing) and the image composed from the items on show, at speed 5 (4 pixels every 5 ms).
#include "bench/BenchApplication.h"
#include "core/ConfigDefaults.h"
#include "realtime/TickerTape.h"
#include "realtime/ui/TickerComposer.h"

#include <benchmark/benchmark.h>

namespace {

void BM_TickerStepWith500Waiting(benchmark::State& state)
{
    qv::BenchApplication();
    qv::TickerSetting setting;
    qv::SetDefaultTickerSettings(setting);
    setting.bytes[qv::TickerLayout::Layout] = 0;
    setting.bytes[qv::TickerLayout::Categories] = 0x3F;
    const qv::TickerComposer composer(setting, qv::TickerFont());
    qv::TickerTape tape;
    tape.SetMeasure([&composer](const qv::TickerItem& item) { return composer.Measure(item); });
    tape.SetSettings(qv::ReadTickerDesign(setting), composer.Cell(), 0, 800);
    tape.FollowEngine(1);
    QImage image(800, 30, QImage::Format_RGB32);
    uint32_t t = 0;
    uint16_t next = 0;
    for (auto _ : state) {
        state.PauseTiming();
        // Keep 500 waiting: every share is new, so nothing merges.
        while (tape.items().size() < 520) {
            qv::RecentTrade trade;
            trade.share = uint16_t(0x4000 + next++ % 0x3000);
            trade.price = 100 + float(t % 50);
            trade.open = 100;
            trade.volume = 5000;
            tape.AddTrade(trade, qv::TickerTape::ShareFacts{true, 0, 99}, t % 20);
        }
        state.ResumeTiming();
        benchmark::DoNotOptimize(tape.Scroll(t % 20, -qv::TickerStep(0, 5), 5));
        composer.Compose(image, tape);
        ++t;
    }
}
BENCHMARK(BM_TickerStepWith500Waiting)->Unit(benchmark::kMicrosecond);

} // namespace
