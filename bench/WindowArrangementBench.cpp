// Cost of filling the window area with 30 windows: every move restarts the walk over the chain.
#include "shell/WindowArrangement.h"

#include <benchmark/benchmark.h>

namespace {

// 30 small windows spread over a 1600 x 1000 area in a 6 x 5 grid, each at a different offset in
// its cell so that the growing has work to do.
qv::WindowChain ThirtyWindows()
{
    qv::WindowChain chain;
    for (int32_t i = 0; i < 30; ++i) {
        int32_t col = i % 6, row = i / 6;
        int32_t x = col * 266 + (i * 37) % 120, y = row * 200 + (i * 53) % 90;
        chain.push_back({{x, y, x + 80, y + 70}, 1, false, uintptr_t(i)});
    }
    return chain;
}

const qv::ScreenRect kArea{0, 0, 1600, 1000};

} // namespace

static void BM_GrowAllWindows30(benchmark::State& state)
{
    const qv::WindowChain start = ThirtyWindows();
    for (auto _ : state) {
        qv::WindowChain chain = start;
        qv::GrowAllWindows(chain, kArea);
        benchmark::DoNotOptimize(chain.data());
    }
}
BENCHMARK(BM_GrowAllWindows30)->Unit(benchmark::kMillisecond);

static void BM_ArrangeFill30(benchmark::State& state)
{
    const qv::WindowChain start = ThirtyWindows();
    for (auto _ : state) {
        qv::WindowChain chain = start;
        qv::ArrangeWindows(qv::kCommandArrangeFill, chain, kArea);
        benchmark::DoNotOptimize(chain.data());
    }
}
BENCHMARK(BM_ArrangeFill30)->Unit(benchmark::kMillisecond);
