// One full paint of the chart view (layout, model build, value axes, drawing) of a synthetic chart
// with 2,500 bars, its volume and two add-on windows into a 1600 x 1000 image.
#include "chartmodel/ui/ViewGraphWindow.h"
#include "core/ConfigState.h"
#include "devtools/lib/SyntheticChart.h"

#include <QApplication>
#include <QImage>
#include <benchmark/benchmark.h>
#include <cstdlib>

namespace {

using namespace qv;

QApplication& App()
{
    static int argc = 1;
    static char name[] = "qvbench";
    static char* argv[] = {name, nullptr};
    static QApplication* app = [] {
        setenv("QT_QPA_PLATFORM", "offscreen", 0);
        return new QApplication(argc, argv);
    }();
    return *app;
}

void BM_ChartViewFullPaint(benchmark::State& state)
{
    App();
    GraphSetting saved = Config().dailyGraphs.records[0];
    dev::SetUpSyntheticSetting(Config().dailyGraphs.records[0]);
    dev::SyntheticChart<CViewGraphWnd> chart(2500);
    // A screen paint: the build goes to the off-screen image, which is then copied to the target.
    for (auto _ : state) {
        QImage shown = chart.RenderToImage(1600, 1000);
        benchmark::DoNotOptimize(shown.bits());
    }
    Config().dailyGraphs.records[0] = saved;
}
BENCHMARK(BM_ChartViewFullPaint)->Unit(benchmark::kMillisecond);

} // namespace
