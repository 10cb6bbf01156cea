// The returns simulation's 400,000 draws of one run at N = 5 over 3,000 shares' log returns, without
// pumping or repainting.
#include "datamining/ReturnsSimulation.h"

#include <benchmark/benchmark.h>

#include <random>

namespace {

void BM_ReturnsSimulationRun(benchmark::State& state)
{
    std::mt19937 rng(2026);
    std::normal_distribution<float> returns(0.05f, 0.3f);
    std::vector<float> usable(3000);
    for (float& v : usable)
        v = returns(rng);
    qv::SimulationRandom random;
    qv::SimulationResult result;
    for (auto _ : state) {
        qv::RunReturnsSimulation(usable, 5, random, result);
        benchmark::DoNotOptimize(result.bins.data());
    }
}
BENCHMARK(BM_ReturnsSimulationRun)->Unit(benchmark::kMillisecond);

} // namespace
