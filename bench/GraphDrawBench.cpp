// Draws a daily chart's graph model into a 1600 x 1000 image: 2,500 candlesticks and a 2,500-point
// line in the price pane, a 2,500-column volume histogram below them.
#include "chartmodel/DataArray.h"
#include "chartmodel/GraphModel.h"
#include "chartmodel/SeriesLayout.h"
#include "chartmodel/ViewGraphBase.h"
#include "chartmodel/ui/GraphPainter.h"
#include "platform/ByteOrder.h"

#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdlib>
#include <random>

namespace {

using namespace qv;

constexpr int32_t kBars = 2500;
constexpr int kWidth = 1600;
constexpr int kHeight = 1000;

QGuiApplication& App()
{
    static int argc = 1;
    static char name[] = "qvbench";
    static char* argv[] = {name, nullptr};
    static QGuiApplication* app = [] {
        setenv("QT_QPA_PLATFORM", "offscreen", 0);
        return new QGuiApplication(argc, argv);
    }();
    return *app;
}

class BenchView : public CViewGraphBase {
public:
    BenchView() : CViewBase(0), CViewGraphBase(0) {}
    uint32_t BackgroundAtRow(int32_t) const override { return 0xFFFFFF; }
};

GraphPane* Pane(CViewGraphBase& view, uint32_t id, int top, int bottom)
{
    GraphPane* pane = view.AddPane(id);
    pane->visible = 1;
    pane->showTitles = 1;
    pane->left = 60;
    pane->right = kWidth - 60;
    pane->top = top;
    pane->bottom = bottom;
    return pane;
}

GraphSeries* Series(CViewGraphBase& view, TimeBand* band, GraphPane* pane, const char* title, float lo, float hi)
{
    GraphSeries* series = AddSeries(band, pane, 0);
    std::snprintf(series->title, kSeriesTitleSize, "%s", title);
    ValueRange* range = view.AddValueRange(series);
    range->minimum = lo;
    range->maximum = hi;
    range->yTop = pane->top;
    range->yBottom = pane->bottom;
    return series;
}

// Fills the bars of a random walk into the element and gives their low and high.
void FillBars(PlotElement* element, float& lo, float& hi)
{
    auto* data = static_cast<uint8_t*>(InitDataArray(element->values, kArrayBars, kBars, 0, 0));
    std::mt19937 rng(5);
    std::normal_distribution<float> step(0.0f, 2.0f);
    float close = 500;
    lo = close;
    hi = close;
    for (int32_t i = 0; i < kBars; ++i) {
        float open = close;
        close = std::max(10.0f, close + step(rng));
        float high = std::max(open, close) + 3;
        float low = std::min(open, close) - 3;
        float values[5] = {open, high, low, close, float(1000 + (i * 7919) % 5000)};
        for (int f = 0; f < 5; ++f)
            StoreF32(data + 20 * size_t(i) + 4 * size_t(f), values[f]);
        lo = std::min(lo, low);
        hi = std::max(hi, high);
    }
}

void BM_DrawGraph(benchmark::State& state)
{
    App();
    BenchView view;
    view.modeRecord.mask = kRedrawAll;
    view.labelBackground = 0xFFFFFF;
    view.barHalfWidth = 0;
    GraphPane* price = Pane(view, 1, 10, 760);
    GraphPane* volume = Pane(view, 2, 770, 990);
    TimeBand* band = NewTimeBand(0);
    band->shown = 1;
    band->left = price->left;
    band->right = price->right;
    band->scale = {0, 0, kBars - 1, price->left, price->right, nullptr};
    view.timeBands = band;

    float lo = 0, hi = 0;
    GraphSeries* candles = Series(view, band, price, "Price", 0, 1);
    FillBars(AddPlotElement(candles, 3, 0, 0x008000, 0, 2, 0x0000FF, 0, 0, 0), lo, hi);
    candles->range->minimum = lo;
    candles->range->maximum = hi;
    PlotElement* line = AddPlotElement(candles, 1, 0, 0xFF0000, 0, 1, 0, 0, 0, 0);
    line->values = candles->elements->next->values;
    line->values.ownsData = 0;
    line->values.flags = kSelectClose;
    GraphSeries* volumes = Series(view, band, volume, "Volume", 0, 6000);
    PlotElement* columns = AddPlotElement(volumes, 4, 0, 0x800000, 0, 1, 0, 0, 0, 0);
    columns->values = candles->elements->next->values;
    columns->values.ownsData = 0;
    columns->values.flags = kSelectVolume;

    QImage image(kWidth, kHeight, QImage::Format_RGB32);
    for (auto _ : state) {
        image.fill(Qt::white);
        QPainter painter(&image);
        GraphPainter graph(view, painter);
        graph.DrawGraph(0);
        graph.DrawGraph(1);
        graph.DrawQueuedLabels();
    }
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_DrawGraph)->Unit(benchmark::kMillisecond);

} // namespace
