// The measuring studies' work per mouse move: the least-squares fit and channel of a regression and the
// quadrant's levels, labels and dotted regression across ten years of daily closes.
#include "charts/LineStudyFigures.h"

#include <algorithm>
#include <benchmark/benchmark.h>
#include <random>
#include <vector>

namespace {

constexpr size_t kTenYears = 2530;

// Closes as rows in hundredths of a pixel, a random walk.
const std::vector<double>& Rows()
{
    static const std::vector<double> rows = [] {
        std::mt19937 rng(7);
        std::normal_distribution<double> step(0.0, 150.0);
        std::vector<double> out(kTenYears);
        double row = 30000;
        for (double& r : out) {
            row = std::clamp(row + step(rng), 0.0, 60000.0);
            r = row;
        }
        return out;
    }();
    return rows;
}

void BM_RegressionRedraw(benchmark::State& state)
{
    const qv::PaneBox pane{0, 0, 1200, 600};
    for (auto _ : state) {
        std::vector<double> rows(Rows());
        const auto fit = qv::FitLeastSquares(rows);
        benchmark::DoNotOptimize(fit);
        benchmark::DoNotOptimize(qv::ChannelOffset(fit->s, 1));
        benchmark::DoNotOptimize(qv::ClipRay({0, qv::RoundHalfUp(fit->At(1) / 100)},
                                             {1200, qv::RoundHalfUp(fit->At(double(rows.size())) / 100)}, pane));
    }
}
BENCHMARK(BM_RegressionRedraw)->Unit(benchmark::kMicrosecond);

void BM_QuadrantRedraw(benchmark::State& state)
{
    const qv::PaneBox pane{0, 0, 1200, 600};
    for (auto _ : state) {
        const std::vector<double>& rows = Rows();
        const auto [low, high] = std::minmax_element(rows.begin(), rows.end());
        std::array<int32_t, qv::kQuadrantLevels.size()> ys{};
        for (size_t i = 0; i < ys.size(); ++i)
            ys[i] = qv::ScreenLevelY(int32_t(*high / 100), int32_t(*low / 100), qv::kQuadrantLevels[i]);
        qv::StudyShapes shapes;
        qv::AddLevelLines(ys, 0, 1200, pane, 0x1B, shapes);
        qv::AddLevelLabels(ys, qv::kQuadrantLevels, true, 0, 1200, 8, 13, shapes);
        std::vector<double> copy(rows);
        benchmark::DoNotOptimize(qv::FitLeastSquares(copy));
        benchmark::DoNotOptimize(shapes);
    }
}
BENCHMARK(BM_QuadrantRedraw)->Unit(benchmark::kMicrosecond);

} // namespace
