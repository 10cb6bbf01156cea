// The indicator line drawer on a fake view: its preconditions, where the line starts, the level
// lines, the histogram bars, the zero line, the caption and the values handed to the plot element.
#include "charts/IndicatorLineDrawer.h"

#include "chartmodel/DataArray.h"
#include "chartmodel/GraphModel.h"
#include "support/RasterCanvas.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <vector>

namespace qv {
namespace {

constexpr uint32_t kPen = 0x0000FF, kLevel = 0xC0C0C0, kUp = 0x00FF00, kDown = 0xFF0000;

// One pane 0..199 x 0..100 with a series, its range (0..100 on rows 100..0) and its element; days
// every 10 pixels from x = 10.
struct FakeIndicatorView {
    FakeIndicatorView()
    {
        pane.left = 0;
        pane.right = 199;
        pane.bottom = 100;
        range.minimum = 0;
        range.maximum = 100;
        range.yTop = 0;
        range.yBottom = 100;
        series.pane = &pane;
        series.range = &range;
        std::snprintf(series.title, sizeof series.title, "RSI");
        element.series = &series;
        for (int i = 0; i < 18; ++i)
            xs.push_back(10 + 10 * i);
        view.shownDays = int32_t(xs.size());
        view.xs = xs;
        view.left = 0;
        view.right = 199;
        view.barSpacing = 10;
        view.upColour = kUp;
        view.downColour = kDown;
        view.levelColour = kLevel;
        view.captionColour = 0x123456;
        line.element = &element;
        line.pen = kPen;
    }
    ~FakeIndicatorView() { FreeDataArray(element.second); }
    FakeIndicatorView(const FakeIndicatorView&) = delete;
    FakeIndicatorView& operator=(const FakeIndicatorView&) = delete;

    int Draw() { return DrawIndicatorLine(canvas, view, line); }

    GraphPane pane{};
    ValueRange range{};
    GraphSeries series{};
    PlotElement element{};
    std::vector<int32_t> xs;
    IndicatorDrawView view;
    IndicatorLineArgs line;
    test::RasterCanvas canvas{220, 120};
    std::vector<double> endOnly{kIndicatorEndMark, 5};
};

class IndicatorLineDrawer : public ::testing::Test, protected FakeIndicatorView {};

TEST_F(IndicatorLineDrawer, PreconditionsDrawNothingAndGiveZero)
{
    const std::vector<double> values{10, 20, 30};
    struct Case {
        const char* what;
        void (*spoil)(FakeIndicatorView&);
    };
    const Case cases[] = {
        {"no shown days", [](FakeIndicatorView& f) { f.view.shownDays = 0; }},
        {"no element", [](FakeIndicatorView& f) { f.line.element = nullptr; }},
        {"no series", [](FakeIndicatorView& f) { f.element.series = nullptr; }},
        {"no range", [](FakeIndicatorView& f) { f.series.range = nullptr; }},
        {"empty range", [](FakeIndicatorView& f) { f.range.maximum = f.range.minimum; }},
        {"inverted range", [](FakeIndicatorView& f) { std::swap(f.range.minimum, f.range.maximum); }},
        {"no values", [](FakeIndicatorView& f) { f.line.values = {}; }},
        {"only the end mark", [](FakeIndicatorView& f) { f.line.values = f.endOnly; }},
    };
    for (const Case& c : cases) {
        FakeIndicatorView f;
        f.line.values = values;
        f.line.attach = true;
        f.line.levels = values;
        f.view.captions = true;
        c.spoil(f);
        EXPECT_EQ(f.Draw(), 0) << c.what;
        EXPECT_EQ(f.canvas.lines + int(f.canvas.fills.size()) + int(f.canvas.captions.size()), 0) << c.what;
        EXPECT_EQ(f.element.second.data, nullptr) << c.what;
    }
}

TEST_F(IndicatorLineDrawer, ALeadInBeyondTheDaysBeforeTheRangeShiftsTheLineRight)
{
    const std::vector<double> values{50, 50, 50};
    line.values = values;
    struct Case {
        int32_t leadIn, daysBefore, firstX;
    };
    for (const Case& c : {Case{5, 3, 30}, Case{3, 3, 10}, Case{2, 40, 10}}) {
        test::RasterCanvas raster(220, 120);
        line.leadIn = c.leadIn;
        view.daysBeforeShown = c.daysBefore;
        ASSERT_EQ(DrawIndicatorLine(raster, view, line), 1);
        EXPECT_EQ(raster.FirstColumn(kPen), c.firstX) << c.leadIn << " " << c.daysBefore;
        EXPECT_EQ(raster.CountInRow(50, kPen), 21);
    }
}

TEST_F(IndicatorLineDrawer, LevelsStrictlyInsideTheRangeOnlyAndOnlyWithTheHandOver)
{
    const std::vector<double> values{50, 60};
    const std::vector<double> levels{0, 30, 100, 120, 70};
    line.values = values;
    line.levels = levels;
    ASSERT_EQ(Draw(), 1);
    EXPECT_EQ(canvas.Count(kLevel), 0);  // not handed over: no levels
    line.attach = true;
    ASSERT_EQ(Draw(), 1);
    EXPECT_EQ(canvas.CountInRow(70, kLevel), 200);  // 30
    EXPECT_EQ(canvas.CountInRow(30, kLevel), 200);  // 70
    EXPECT_EQ(canvas.Count(kLevel), 400);
}

TEST_F(IndicatorLineDrawer, HistogramBarsWidenWithTheSpacingAndNeverOverdraw)
{
    struct Case {
        double spacing;
        int width;
    };
    for (const Case& c : {Case{3, 1}, Case{4, 3}, Case{7.9, 3}, Case{8, 5}, Case{12, 5}}) {
        std::vector<int32_t> placed;
        for (int i = 0; i < 10; ++i)
            placed.push_back(10 + int32_t(std::lround(c.spacing * i)));
        const std::vector<double> values(10, 50), bars(10, 40);
        view.xs = placed;
        view.barSpacing = c.spacing;
        line.values = values;
        line.histogram = bars;
        test::RasterCanvas raster(220, 120);
        ASSERT_EQ(DrawIndicatorLine(raster, view, line), 1);
        ASSERT_EQ(raster.fills.size(), 10u) << c.spacing;
        for (const auto& f : raster.fills)
            EXPECT_EQ(f.right - f.left, c.width) << c.spacing;
        EXPECT_EQ(raster.overdrawn, 0);
    }
    // Days closer than a bar's width: the bar that would overlap the one before is left out.
    const std::vector<int32_t> crowded{10, 12, 20};
    const std::vector<double> values(3, 50), bars{40, -40, 40};
    view.xs = crowded;
    view.barSpacing = 4;
    line.values = values;
    line.histogram = bars;
    ASSERT_EQ(Draw(), 1);
    ASSERT_EQ(canvas.fills.size(), 2u);
    EXPECT_EQ(canvas.fills[1].left, 19);
    EXPECT_EQ(canvas.overdrawn, 0);
}

TEST_F(IndicatorLineDrawer, HistogramBarsStandOnTheZeroLineRoundedHalfAwayFromZero)
{
    // 0 on -1..3 over rows 10..0 lies at row 7.5: the zero line is row 8.
    range.minimum = -1;
    range.maximum = 3;
    range.yBottom = 10;
    const std::vector<double> values{0, 0}, bars{3, -1};
    line.values = values;
    line.histogram = bars;
    line.flags = 0;
    ASSERT_EQ(Draw(), 1);
    ASSERT_EQ(canvas.fills.size(), 2u);
    EXPECT_EQ(canvas.fills[0].top, 0);
    EXPECT_EQ(canvas.fills[0].bottom, 8);
    EXPECT_EQ(canvas.fills[0].colour, kUp);
    EXPECT_EQ(canvas.fills[1].top, 8);
    EXPECT_EQ(canvas.fills[1].bottom, 11);
    EXPECT_EQ(canvas.fills[1].colour, kDown);
    EXPECT_EQ(canvas.lines, 0);  // line mode 0: bars only
}

TEST_F(IndicatorLineDrawer, TheCaptionNeedsTheOptionAndTheHandOver)
{
    const std::vector<double> values{50, 60};
    line.values = values;
    view.buildCaption = [](const GraphSeries& s) { return std::string("Training: ") + s.title; };
    struct Case {
        bool captions, attach;
        size_t shown;
    };
    for (const Case& c : {Case{false, true, 0}, Case{true, false, 0}, Case{true, true, 1}}) {
        test::RasterCanvas raster(220, 120);
        view.captions = c.captions;
        line.attach = c.attach;
        ASSERT_EQ(DrawIndicatorLine(raster, view, line), 1);
        ASSERT_EQ(raster.captions.size(), c.shown);
        if (c.shown) {
            EXPECT_EQ(raster.captions[0], "Training: RSI");
            EXPECT_EQ(raster.captionColours[0], 0x123456u);
        }
    }
}

TEST_F(IndicatorLineDrawer, HandedOverValuesReachTheElementForTheLegendAndReadouts)
{
    const std::vector<double> values{11, 12, 13, kIndicatorEndMark, 99};
    line.values = values;
    line.attach = true;
    line.leadIn = 7;
    view.daysBeforeShown = 5;
    ASSERT_EQ(Draw(), 1);
    ASSERT_EQ(element.second.type, kArrayDoubles);
    ASSERT_EQ(element.second.count, 3);  // up to the end mark
    EXPECT_EQ(element.second.paramA, 7u);
    // Loaded day 7 is the first with a value.
    EXPECT_TRUE(std::isnan(AttachedValueAt(element, 6, 5)));
    EXPECT_EQ(AttachedValueAt(element, 7, 5), 11);
    EXPECT_EQ(AttachedValueAt(element, 9, 5), 13);
    EXPECT_TRUE(std::isnan(AttachedValueAt(element, 10, 5)));
    // A second hand-over replaces the first.
    const std::vector<double> again{1};
    line.values = again;
    ASSERT_EQ(Draw(), 1);
    EXPECT_EQ(element.second.count, 1);
}

TEST_F(IndicatorLineDrawer, ADayWithoutAValueBreaksTheLine)
{
    const std::vector<double> values{10, std::numeric_limits<double>::quiet_NaN(), 30, 40};
    line.values = values;
    ASSERT_EQ(Draw(), 1);
    EXPECT_EQ(canvas.lines, 1);  // only 30 to 40
    EXPECT_EQ(canvas.CountInColumn(20, kPen), 0);
}

} // namespace
} // namespace qv
