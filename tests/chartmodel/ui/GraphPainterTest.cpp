// The drawing engine on hand-built chart models: a render of every plot style, pixel checks of the bar
// and candle geometry, the highlighted line, the gradient, the titles and the label table.
#include "chartmodel/ui/GraphPainter.h"

#include "chartmodel/BarColour.h"
#include "chartmodel/ChartLabels.h"
#include "chartmodel/DataArray.h"
#include "chartmodel/GraphSettingDefaults.h"
#include "chartmodel/GraphModel.h"
#include "chartmodel/SeriesLayout.h"
#include "chartmodel/ViewGraphBase.h"
#include "platform/ByteOrder.h"
#include "support/ui/Render.h"

#include <QImage>
#include <QPainter>
#include <QPdfWriter>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <functional>
#include <string>
#include <vector>

using namespace qv;

namespace {

constexpr uint32_t kRed = 0x0000FF;
constexpr uint32_t kBlue = 0xFF0000;
constexpr uint32_t kGreen = 0x008000;
constexpr uint32_t kBlack = 0;

struct Bar {
    float open, high, low, close, volume;
};

// A chart view whose background is white at every row.
class WhiteView : public CViewGraphBase {
public:
    WhiteView() : CViewBase(0), CViewGraphBase(0) {}
    uint32_t BackgroundAtRow(int32_t) const override { return 0xFFFFFF; }
};

// A chart of one pane and one band; series share the band's time scale of `count` bars.
class Chart {
public:
    Chart(int width, int height, int count) : image(width, height, QImage::Format_RGB32)
    {
        view.modeRecord.mask = kRedrawAll;
        view.labelBackground = 0xFFFFFF;
        view.baseTextSize = 10;
        view.textHeight = 14;
        view.digitWidth = 7;
        view.barHalfWidth = 2;
        pane = view.AddPane(1);
        pane->visible = 1;
        pane->showTitles = 1;
        pane->left = 10;
        pane->top = 10;
        pane->right = width - 10;
        pane->bottom = height - 10;
        view.titleOrigin = pane->left;
        band = NewTimeBand(0);
        band->shown = 1;
        band->left = pane->left;
        band->right = pane->right;
        band->next = view.timeBands;
        view.timeBands = band;
        double step = double(pane->right - pane->left) / count;
        band->scale.firstIndex = 0;
        band->scale.lastIndex = count - 1;
        band->scale.firstX = pane->left + int32_t(step / 2);
        band->scale.lastX = band->scale.firstX + int32_t(std::lround(step * (count - 1)));
        image.fill(Qt::white);
    }

    GraphSeries* AddSeriesOf(const char* title, float lo, float hi)
    {
        GraphSeries* series = AddSeries(band, pane, 0);
        std::strncpy(series->title, title, kSeriesTitleSize - 1);
        ValueRange* range = view.AddValueRange(series);
        range->minimum = lo;
        range->maximum = hi;
        range->yTop = pane->top;
        range->yBottom = pane->bottom;
        return series;
    }

    static PlotElement* Element(GraphSeries* series, uint32_t style, uint32_t flags, std::vector<uint32_t> colours)
    {
        colours.resize(5, colours.front());
        return AddPlotElement(series, style, flags, colours[0], 0, 5, colours[1], colours[2], colours[3], colours[4]);
    }

    static void Floats(PlotElement* element, const std::vector<float>& values)
    {
        auto* data = static_cast<uint8_t*>(InitDataArray(element->values, kArrayFloats, int32_t(values.size()), 0, 0));
        for (size_t i = 0; i < values.size(); ++i)
            StoreF32(data + 4 * i, values[i]);
    }

    static void Bars(PlotElement* element, const std::vector<Bar>& bars, uint32_t selector = kSelectClose)
    {
        auto* data = static_cast<uint8_t*>(InitDataArray(element->values, kArrayBars, int32_t(bars.size()), 0, 0));
        element->values.flags = selector;
        for (size_t i = 0; i < bars.size(); ++i) {
            const Bar& b = bars[i];
            for (int f = 0; f < 5; ++f)
                StoreF32(data + 20 * i + 4 * size_t(f), (&b.open)[f]);
        }
    }

    static void Triples(PlotElement* element, const std::vector<std::array<int32_t, 3>>& items, uint32_t type = kArrayTriples)
    {
        auto* data = static_cast<uint8_t*>(InitDataArray(element->values, type, int32_t(items.size()), 0, 0));
        for (size_t i = 0; i < items.size(); ++i)
            for (int f = 0; f < 3; ++f)
                StoreU32(data + 12 * i + 4 * size_t(f), uint32_t(items[i][size_t(f)]));
    }

    void Draw(const std::function<void(GraphPainter&)>& before = {})
    {
        QPainter painter(&image);
        GraphPainter graph(view, painter);
        graph.prepareLayout = prepare;
        if (before)
            before(graph);
        graph.DrawGraph(0);
        graph.DrawGraph(1);
        graph.DrawQueuedLabels();
    }

    int Row(float value) const { return view.ValueToY(view.valueRanges, value, false); }
    QRgb Pixel(int x, int y) const { return image.pixel(x, y); }

    WhiteView view;
    GraphPane* pane = nullptr;
    TimeBand* band = nullptr;
    QImage image;
    std::function<void(const PlotElement&, CGraphSeriesLayout&)> prepare;
};

QRgb Rgb(uint32_t word) { return qRgb(int(word & 0xFF), int((word >> 8) & 0xFF), int((word >> 16) & 0xFF)); }
bool IsWhite(QRgb c) { return c == qRgb(255, 255, 255); }

std::vector<Bar> Alternating(int n)
{
    std::vector<Bar> bars;
    for (int i = 0; i < n; ++i)
        bars.push_back(i % 2 == 0 ? Bar{40, 80, 20, 60, 10} : Bar{60, 80, 20, 40, 10});
    return bars;
}

// Colours the bars by close against open: rising in the first colour, falling in the second.
void CloseOpen(const PlotElement&, CGraphSeriesLayout& layout) { layout.colourMode = kColourCloseOpen; }

TEST(GraphPainter, EveryPlotStyleRenders)
{
    const int n = 24;
    std::vector<float> wave;
    std::vector<Bar> bars;
    for (int i = 0; i < n; ++i) {
        float v = 50 + 30 * std::sin(i / 3.0f);
        wave.push_back(v);
        bars.push_back({v - 4, v + 8, v - 9, i % 3 == 0 ? v - 6 : v + 4, float(10 + 4 * i)});
    }
    std::vector<QImage> tiles;
    for (uint32_t style = 1; style <= 12; ++style) {
        Chart chart(200, 140, n);
        chart.prepare = CloseOpen;
        GraphSeries* series = chart.AddSeriesOf(("Style " + std::to_string(style)).c_str(), 0, 100);
        PlotElement* e = Chart::Element(series, style, 0, {kRed, kBlue, kGreen, 0x00C0FF, 0xFF00C0});
        switch (style) {
        case 2:
            e->flags = 0x8000 | 0x10000;
            Chart::Bars(e, bars);
            break;
        case 3:
            Chart::Bars(e, bars);
            break;
        case 4:
            Chart::Bars(e, bars, kSelectVolume);
            chart.view.valueRanges->maximum = 120;
            break;
        case 6: {
            e->extra[0] = 8;
            e->extra[1] = 1;
            e->words[1] = 0;
            e->flags = 0x4000;
            auto* data = static_cast<uint8_t*>(InitDataArray(e->values, kArrayDaily, 6, 0, 0));
            const int32_t boxes[6] = {2, 8, 4, 10, 6, 12};
            for (int i = 0; i < 6; ++i) {
                StoreU32(data + 36 * size_t(i), uint32_t(i) << 5);
                StoreU32(data + 36 * size_t(i) + 4, uint32_t(i + 1) << 5);
                StoreU32(data + 36 * size_t(i) + 8, uint32_t(i));
                StoreU32(data + 36 * size_t(i) + 12, uint32_t(boxes[i]));
            }
            e->values.flags = kSelectClose;
            break;
        }
        case 8: {
            // Renko boxes: the bar index, the value and the running box count.
            std::vector<std::array<int32_t, 3>> items;
            for (int i = 0, running = 0; i < n; ++i) {
                running += 1 + (i % 4 == 0);
                int32_t value;
                float v = wave[size_t(i)];
                std::memcpy(&value, &v, 4);
                items.push_back({i, value, running});
            }
            Chart::Triples(e, items, kArrayKeyedTriples);
            break;
        }
        case 11:
            e->shape = 2 + (n % 3);
            e->colours[0] = 0x10000000 | kRed;
            Chart::Floats(e, wave);
            break;
        case 12:
            // Event bits as values on a range of 0-20, drawn with the default event settings.
            e->colours[0] = 0x50000000 | kBlack;
            e->values.flags = kSelectSkipZero;
            Chart::Floats(e, std::vector<float>(size_t(n), 0));
            for (int i = 2; i < n; i += 5)
                StoreF32(static_cast<uint8_t*>(e->values.data) + 4 * size_t(i), float(i % 2 ? 8 | 32 : 2 | 1024));
            chart.view.valueRanges->maximum = 2000;
            break;
        default:
            Chart::Floats(e, wave);
            break;
        }
        GraphSetting events;
        InitGraphSetting(events, false);
        chart.Draw([&](GraphPainter& graph) { graph.eventBlock = events.data() + 1732; });
        test::SaveRender(chart.image, QString("graph-style-%1").arg(style));
        tiles.push_back(chart.image);
        // Nothing is drawn outside the pane but the titles.
        for (int y = 0; y < chart.image.height(); ++y)
            for (int x : {0, 5, chart.image.width() - 5})
                ASSERT_TRUE(IsWhite(chart.Pixel(x, y))) << "style " << style << " at " << x << "," << y;
    }
    QImage sheet(4 * 200, 3 * 140, QImage::Format_RGB32);
    QPainter painter(&sheet);
    for (size_t i = 0; i < tiles.size(); ++i)
        painter.drawImage(int(i % 4) * 200, int(i / 4) * 140, tiles[i]);
    painter.end();
    test::SaveRender(sheet, "graph-styles");
}

TEST(GraphPainter, BarsNeverOverlapAndKeepTheirTicks)
{
    // Bars 9 pixels wide on a 6-pixel step would overlap: each is moved right of the previous one.
    const int n = 20;
    Chart chart(10 + 6 * n + 10, 120, n);
    chart.view.barHalfWidth = 4;
    chart.prepare = CloseOpen;
    GraphSeries* series = chart.AddSeriesOf("Bars", 0, 100);
    PlotElement* e = Chart::Element(series, 2, 0x8000 | 0x10000, {kRed, kBlue});
    Chart::Bars(e, Alternating(n));
    chart.Draw();
    test::SaveRender(chart.image.scaled(chart.image.size() * 4), "graph-bars-no-overlap");
    for (float value : {40.0f, 60.0f}) {
        int y = chart.Row(value);
        std::vector<QRgb> runs;
        bool inRun = false;
        for (int x = chart.band->left; x <= chart.band->right; ++x) {
            QRgb c = chart.Pixel(x, y);
            if (IsWhite(c)) {
                inRun = false;
                continue;
            }
            if (!inRun || runs.back() != c)
                runs.push_back(c);
            inRun = true;
        }
        // Every bar shows its tick on the row, in its own colour, set apart from its neighbours.
        ASSERT_GE(runs.size(), size_t(n - 1)) << value;
        for (size_t i = 0; i + 1 < runs.size(); ++i)
            EXPECT_NE(runs[i], runs[i + 1]) << "run " << i;
    }
    // The stroke runs from the high to the low.
    int x = chart.band->scale.firstX;
    EXPECT_EQ(chart.Pixel(x, chart.Row(79)), Rgb(kRed));
    EXPECT_EQ(chart.Pixel(x, chart.Row(21)), Rgb(kRed));
    // Open tick left of the first bar's stroke, close tick right of it.
    EXPECT_EQ(chart.Pixel(x - 2, chart.Row(40)), Rgb(kRed));
    EXPECT_TRUE(IsWhite(chart.Pixel(x - 2, chart.Row(60))));
    EXPECT_EQ(chart.Pixel(x + 2, chart.Row(60)), Rgb(kRed));
}

TEST(GraphPainter, RisingCandlesAreHollowAndThinBarsAreLines)
{
    Chart chart(200, 140, 4);
    chart.view.barHalfWidth = 8;
    GraphSeries* series = chart.AddSeriesOf("Candles", 0, 100);
    PlotElement* e = Chart::Element(series, 3, 0, {kBlue});
    Chart::Bars(e, {{30, 90, 10, 70, 0}, {70, 90, 10, 30, 0}, {30, 90, 10, 70, 0}, {70, 90, 10, 30, 0}});
    chart.Draw();
    test::SaveRender(chart.image, "graph-candles");
    int rising = chart.band->scale.firstX;
    int falling = rising + (chart.band->scale.lastX - chart.band->scale.firstX) / 3;
    int middle = chart.Row(50);
    EXPECT_TRUE(IsWhite(chart.Pixel(rising + 4, middle)));
    EXPECT_EQ(chart.Pixel(rising - 8, middle), Rgb(kBlue)); // the body's edge
    EXPECT_EQ(chart.Pixel(falling + 4, middle), Rgb(kBlue));
    EXPECT_EQ(chart.Pixel(rising, chart.Row(80)), Rgb(kBlue)); // the wick

    // Half-width 0: a candle under 2 pixels wide is its wick, a one-pixel line.
    Chart thin(200, 140, 4);
    thin.view.barHalfWidth = 0;
    PlotElement* t = Chart::Element(thin.AddSeriesOf("Thin", 0, 100), 3, 0, {kBlue});
    Chart::Bars(t, {{30, 90, 10, 70, 0}, {70, 90, 10, 30, 0}, {30, 90, 10, 70, 0}, {70, 90, 10, 30, 0}});
    thin.Draw();
    int x = thin.band->scale.firstX;
    for (float v : {85.0f, 50.0f, 15.0f}) {
        EXPECT_EQ(thin.Pixel(x, thin.Row(v)), Rgb(kBlue)) << v;
        EXPECT_TRUE(IsWhite(thin.Pixel(x - 1, thin.Row(v)))) << v;
        EXPECT_TRUE(IsWhite(thin.Pixel(x + 1, thin.Row(v)))) << v;
    }
}

TEST(GraphPainter, HighlightedLineIsLightenedInItsMiddle)
{
    Chart chart(200, 100, 10);
    GraphSeries* series = chart.AddSeriesOf("Highlight", 0, 100);
    // Style 5 with width field 4: a 5-pixel red line, then a 3-pixel one lightened.
    PlotElement* e = Chart::Element(series, 1, 0, {0x45000000 | kRed});
    Chart::Floats(e, std::vector<float>(10, 50));
    chart.Draw();
    test::SaveRender(chart.image, "graph-highlighted-line");
    int y = chart.Row(50);
    int x = 100;
    EXPECT_EQ(chart.Pixel(x, y), qRgb(255, 170, 170));
    EXPECT_EQ(chart.Pixel(x, y - 2), qRgb(255, 0, 0));
    EXPECT_EQ(chart.Pixel(x, y + 2), qRgb(255, 0, 0));
    EXPECT_TRUE(IsWhite(chart.Pixel(x, y - 4)));
}

TEST(GraphPainter, GraduatedColoursRunFromTheFourthColourToTheFifth)
{
    const int n = 16;
    Chart chart(10 + 8 * n + 10, 100, n);
    chart.view.barHalfWidth = 3;
    chart.prepare = [](const PlotElement&, CGraphSeriesLayout& layout) {
        layout.colourMode = kColourGraduated;
        layout.signalOrLow = 0;
        layout.gradientHigh = 160;
    };
    GraphSeries* series = chart.AddSeriesOf("Volume", 0, 200);
    PlotElement* e = Chart::Element(series, 4, 0, {kBlack, kBlack, kBlack, kBlue, kRed});
    std::vector<Bar> bars;
    for (int i = 0; i < n; ++i)
        bars.push_back({1, 1, 1, 1, float((i + 1) * 10)});
    Chart::Bars(e, bars, kSelectVolume);
    chart.Draw();
    test::SaveRender(chart.image.scaled(chart.image.size() * 3), "graph-gradient");
    int bottom = chart.pane->bottom - 1;
    QRgb first = chart.Pixel(chart.band->scale.firstX + 1, bottom);
    QRgb last = chart.Pixel(chart.band->scale.lastX, bottom);
    auto near = [](QRgb a, QRgb b) {
        return std::abs(qRed(a) - qRed(b)) + std::abs(qGreen(a) - qGreen(b)) + std::abs(qBlue(a) - qBlue(b)) < 40;
    };
    EXPECT_TRUE(near(first, Rgb(kBlue))) << std::hex << first;
    EXPECT_TRUE(near(last, Rgb(kRed))) << std::hex << last;
    QRgb middle = chart.Pixel(chart.band->scale.firstX + (chart.band->scale.lastX - chart.band->scale.firstX) / 2, bottom);
    EXPECT_GT(qRed(middle), 40);
    EXPECT_GT(qBlue(middle), 40);
}

TEST(GraphPainter, TitlesSayNoDataAndCarryTheUnitWord)
{
    Chart chart(300, 200, 5);
    chart.pane->titleUnitMode = 0;
    chart.pane->thousandsIndex = 2;
    GraphSeries* volume = chart.AddSeriesOf("Volume", 0, 100);
    Chart::Floats(Chart::Element(volume, 4, 0, {kGreen}), {10, 20, 30, 40, 50});
    GraphSeries* empty = chart.AddSeriesOf("Relative", FLT_MAX, -FLT_MAX);
    Chart::Floats(Chart::Element(empty, 1, 0, {kRed}), {1, 2, 3, 4, 5});
    QPainter painter(&chart.image);
    GraphPainter graph(chart.view, painter);
    graph.DrawGraph(0);
    std::vector<std::string> texts;
    std::vector<int32_t> tops;
    for (ChartLabel* l = chart.view.queuedLabels; l; l = l->next) {
        texts.push_back(l->text);
        tops.push_back(l->top);
    }
    ASSERT_EQ(texts.size(), 2u);
    EXPECT_EQ(texts[0], "Volume - millions");
    EXPECT_EQ(texts[1], "Relative - no data");
    EXPECT_EQ(tops[0], chart.pane->top + 1);
    EXPECT_GT(tops[1], tops[0]);
    graph.DrawQueuedLabels();
    painter.end();
    test::SaveRender(chart.image, "graph-titles");
    EXPECT_EQ(chart.view.queuedLabels, nullptr);
}

// Counts the pixels of a colour, give or take the font's smoothing.
int CountNear(const QImage& image, QRgb colour)
{
    int n = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x) {
            QRgb c = image.pixel(x, y);
            if (std::abs(qRed(c) - qRed(colour)) < 40 && std::abs(qGreen(c) - qGreen(colour)) < 40 &&
                std::abs(qBlue(c) - qBlue(colour)) < 40)
                ++n;
        }
    return n;
}

TEST(GraphPainter, LabelTableFirstOfEqualPrioritiesAndHigherPriorityWins)
{
    struct Case {
        const char* name;
        int32_t firstPriority;
        int32_t secondPriority;
        bool firstShown;
    };
    const Case cases[] = {{"equal", 3, 3, true}, {"later-higher", 0, 5, false}, {"later-lower", 5, 0, true}};
    for (const Case& c : cases) {
        Chart chart(200, 80, 1);
        QPainter painter(&chart.image);
        GraphPainter graph(chart.view, painter);
        ChartLabel* first = graph.DrawChartText(50, 30, "Label", kLabelLeft | kLabelTop, c.firstPriority, kRed, 12, 0xFFFFFF, nullptr);
        ChartLabel* second = graph.DrawChartText(52, 32, "Label", kLabelLeft | kLabelTop, c.secondPriority, kBlue, 12, 0xFFFFFF, nullptr);
        ASSERT_TRUE(first && second);
        ResolveLabelCollisions(chart.view.queuedLabels);
        EXPECT_EQ(first->drawn != 0, c.firstShown) << c.name;
        EXPECT_EQ(second->drawn != 0, !c.firstShown) << c.name;
        graph.DrawQueuedLabels();
        painter.end();
        test::SaveRender(chart.image, QString("graph-labels-%1").arg(c.name));
        if (!test::FontsAvailable())
            continue;
        EXPECT_EQ(CountNear(chart.image, Rgb(kRed)) > 0, c.firstShown) << c.name;
        EXPECT_EQ(CountNear(chart.image, Rgb(kBlue)) > 0, !c.firstShown) << c.name;
    }
}

TEST(GraphPainter, LabelsLeftOfTheClampBoundMoveRightKeepingTheirWidth)
{
    Chart chart(200, 80, 1);
    chart.view.labelClampLeft = 40;
    chart.view.labelClampRight = 190;
    QPainter painter(&chart.image);
    GraphPainter graph(chart.view, painter);
    ChartLabel* left = graph.DrawChartText(10, 20, "Clamped", kLabelLeft | kLabelTop | kLabelOpaque, 0, kBlack, 12, 0x00FFFF, nullptr);
    ChartLabel* right = graph.DrawChartText(195, 50, "Right", kLabelLeft | kLabelTop | kLabelOpaque, 0, kBlack, 12, 0x00FFFF, nullptr);
    ASSERT_TRUE(left && right);
    EXPECT_EQ(left->left, 40);
    int32_t width = left->right - left->left;
    EXPECT_GT(width, 0);
    EXPECT_EQ(right->right, 190);
    graph.DrawQueuedLabels();
    painter.end();
    test::SaveRender(chart.image, "graph-labels-clamp");
    // The opaque background starts at the bound and is as wide as the text.
    int y = 20 + 2;
    EXPECT_TRUE(IsWhite(chart.Pixel(39, y)));
    EXPECT_EQ(chart.Pixel(40, y), Rgb(0x00FFFF));
    EXPECT_EQ(chart.Pixel(40 + width - 1, y), Rgb(0x00FFFF));
    EXPECT_TRUE(IsWhite(chart.Pixel(40 + width, y)));
}

TEST(GraphPainter, LevelAndTimeLinesAndEndMarks)
{
    Chart chart(200, 140, 10);
    GraphSeries* series = chart.AddSeriesOf("Levels", 0, 100);
    Chart::Floats(Chart::Element(series, 1, 0, {kBlue}), std::vector<float>(10, 30));
    GridLine* level = AddGridLine(chart.pane->gridLines);
    level->value = 50;
    GridLine* tick = AddGridLine(chart.pane->gridLines);
    tick->value = 75;
    tick->flags = kGridTickLeft;
    GridLine* outside = AddGridLine(chart.pane->gridLines);
    outside->value = 150;
    chart.band->lineFrom = 0;
    chart.band->lineTo = 1;
    AddGridLinePixel(chart.band->timeLines, 0, 100);
    QPainter painter(&chart.image);
    GraphPainter graph(chart.view, painter);
    graph.DrawLevelLines(0xC0C0C0);
    graph.DrawTimeLines(kGreen);
    EXPECT_EQ(graph.DrawPaneEndMarks(chart.pane), chart.view.paneMargin);
    painter.end();
    test::SaveRender(chart.image, "graph-level-lines");
    EXPECT_EQ(chart.Pixel(60, chart.Row(50)), qRgb(192, 192, 192));
    EXPECT_EQ(chart.Pixel(chart.pane->left + 1, chart.Row(75)), qRgb(192, 192, 192));
    EXPECT_TRUE(IsWhite(chart.Pixel(60, chart.Row(75))));
    EXPECT_EQ(chart.Pixel(100, 40), Rgb(kGreen));
    EXPECT_EQ(chart.Pixel(chart.pane->right - 5, chart.pane->top + 5), qRgb(255, 0, 0));
    EXPECT_EQ(chart.Pixel(chart.pane->right - 5, chart.pane->bottom - 5), qRgb(0, 255, 0));
}

} // namespace

namespace {

TEST(GraphPainter, PrintingClampsValuesToThePaneInsteadOfClipping)
{
    for (bool printing : {false, true}) {
        Chart chart(200, 140, 3);
        GraphSeries* series = chart.AddSeriesOf("Print", 0, 100);
        Chart::Floats(Chart::Element(series, 1, 0, {kBlue}), {50, 5000, 50});
        chart.Draw([&](GraphPainter& graph) { graph.SetPrinting(printing); });
        test::SaveRender(chart.image, printing ? "graph-printing-clamped" : "graph-screen-clipped");
        int peak = chart.band->scale.firstX + (chart.band->scale.lastX - chart.band->scale.firstX) / 2;
        // Printed, the peak lies on the pane's top row; on screen the line leaves the pane before it.
        EXPECT_EQ(chart.Pixel(peak, chart.pane->top) == Rgb(kBlue), printing);
        for (int x = 0; x < chart.image.width(); ++x)
            ASSERT_TRUE(IsWhite(chart.Pixel(x, chart.pane->top - 2))) << x;
    }
    QTemporaryDir dir;
    QPdfWriter pdf(dir.filePath("chart.pdf"));
    Chart chart(200, 140, 3);
    Chart::Floats(Chart::Element(chart.AddSeriesOf("Pdf", 0, 100), 1, 0, {kBlue}), {50, 5000, 50});
    QPainter painter(&pdf);
    GraphPainter graph(chart.view, painter);
    EXPECT_TRUE(graph.printing());
    graph.DrawGraph(0);
    graph.DrawQueuedLabels();
    EXPECT_FALSE(painter.hasClipping());
}

} // namespace

namespace {

TEST(GraphPainter, ASingleColourDashedLineIsOnePathSoItsDashesRunOn)
{
    // Segments of 5 pixels against a dash period of 6: drawn one by one, every segment would start
    // with a dash and every vertex would be coloured.
    const int n = 40;
    Chart chart(10 + 5 * n + 10, 100, n);
    std::vector<float> zigzag(size_t(n), 50.0f);
    GraphSeries* series = chart.AddSeriesOf("Dashed", 0, 100);
    Chart::Floats(Chart::Element(series, 1, 0, {0x01000000 | kBlue}), zigzag);
    chart.Draw();
    test::SaveRender(chart.image.scaled(chart.image.size() * 3), "graph-dashed-line");
    CGraphSeriesLayout layout;
    layout.Setup(*series->elements);
    SeriesPoint point;
    int gaps = 0;
    while (layout.Next(point))
        gaps += IsWhite(chart.Pixel(point.x, point.y)) ? 1 : 0;
    EXPECT_GT(gaps, n / 6);
}

} // namespace

namespace {

// A quote at its pixel column.
struct Quote {
    int32_t x;
    float value;
};

// Tick items carry their pixel column: the series' scale only lets every item through.
void OwnColumns(GraphSeries* series, const Chart& chart)
{
    AddSeriesTimeScale(series, 1);
    *series->timeScale = {1, 0, 1 << 30, chart.band->left, chart.band->right, nullptr};
}

void Ticks(PlotElement* element, const std::vector<Quote>& quotes)
{
    auto* data = static_cast<uint8_t*>(InitDataArray(element->values, kArrayTicks, int32_t(quotes.size()), 0, 0));
    element->values.flags = kSelectLow;
    for (size_t i = 0; i < quotes.size(); ++i) {
        StoreU32(data + 16 * i, 0);
        StoreU32(data + 16 * i + 4, uint32_t(quotes[i].x));
        StoreF32(data + 16 * i + 8, quotes[i].value);
        StoreF32(data + 16 * i + 12, quotes[i].value);
    }
}

// A day's quotes as the intraday chart hands them to a filled band: tick items at their pixel columns,
// the last column holding a spike and the settled quote after it, the band running on to the pane's
// right edge as when the time axis reaches past the last quote.
TEST(GraphPainter, ALastColumnOfSeveralQuotesEndsAtTheLastQuoteAndABandRunsFlatFromIt)
{
    constexpr uint32_t kToTop = 1, kToBottom = 2, kStepped = 16;
    const std::vector<Quote> quotes = {{30, 50}, {70, 60}, {100, 45}, {120, 80}, {120, 40}};
    for (uint32_t side : {kToTop, kToBottom}) {
        Chart chart(200, 140, 2);
        GraphSeries* series = chart.AddSeriesOf("Band", 0, 100);
        OwnColumns(series, chart);
        Ticks(Chart::Element(series, 10, side | kStepped, {kBlue}), quotes);
        chart.Draw();
        test::SaveRender(chart.image, side == kToTop ? "graph-band-to-top" : "graph-band-to-bottom");
        const int last = chart.Row(40);
        // Filled on the band's side of the last row, clear on the other, all the way to the band's end.
        const int inside = side == kToTop ? last - 3 : last + 3, outside = side == kToTop ? last + 3 : last - 3;
        for (int x = 122; x < chart.band->right; ++x) {
            ASSERT_EQ(chart.Pixel(x, inside), Rgb(kBlue)) << "side " << side << " at " << x;
            ASSERT_TRUE(IsWhite(chart.Pixel(x, outside))) << "side " << side << " at " << x;
        }
        // Before the last column the band still steps from quote to quote.
        EXPECT_EQ(chart.Pixel(110, side == kToTop ? chart.Row(45) - 3 : chart.Row(45) + 3), Rgb(kBlue));
        EXPECT_TRUE(IsWhite(chart.Pixel(110, side == kToTop ? chart.Row(45) + 3 : chart.Row(45) - 3)));
    }
    // A line through the same quotes strokes its last column from the spike down to the last quote
    // (whose own pixel, the end of the line, is left out as every line end is).
    Chart chart(200, 140, 2);
    GraphSeries* series = chart.AddSeriesOf("Line", 0, 100);
    OwnColumns(series, chart);
    Ticks(Chart::Element(series, 1, kStepped, {kBlue}), quotes);
    chart.Draw();
    test::SaveRender(chart.image, "graph-line-last-column");
    for (float v : {75.0f, 60.0f, 50.0f, 42.0f})
        EXPECT_EQ(chart.Pixel(120, chart.Row(v)), Rgb(kBlue)) << v;
}

} // namespace
