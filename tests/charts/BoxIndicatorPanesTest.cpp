// The point-and-figure and equivolume indicator panes: the box, the columns and their turns, the
// square boxes and the stretch, the equivolume widths and merging, and what the drawer puts on the
// pane, with its own date labels.
#include "charts/BoxIndicatorPanes.h"
#include "chartmodel/GraphModel.h"
#include "chartmodel/ValueMapping.h"
#include "support/IndicatorDays.h"
#include "support/RasterCanvas.h"

#include <cmath>
#include <gtest/gtest.h>

#include <cmath>

namespace qv {
namespace {

test::Run RunPane(const IndicatorRecord& record, const std::vector<DayRecord>& days, int32_t width = 600,
                  int32_t height = 200, int firstVisible = 0)
{
    test::Run run;
    IndicatorInput in;
    in.record = record;
    in.days = days;
    in.firstVisibleDate = days[size_t(firstVisible)].date;
    in.paneLeft = 0;
    in.paneRight = width;
    in.paneTop = 0;
    in.paneBottom = height;
    const IndicatorRoute& route = RouteOf(record.type);
    EXPECT_EQ(route.family, IndicatorFamily::Pane);
    route.routine(in, run.range, run.result, route.variant);
    run.range.yTop = 0;
    run.range.yBottom = height;
    return run;
}

std::vector<double> Counts(const test::Run& run)
{
    std::vector<double> counts;
    for (const PaneColumn& b : run.result.boxes)
        counts.push_back(b.boxes);
    return counts;
}

TEST(BoxIndicatorPanes, ThePointAndFigureBox)
{
    struct Case {
        int flags, tenths;
        double span, box;
    } cases[] = {
        {0, 25, 500, 2.5},  // tenths of a price unit
        {0, 5, 500, 1.0},   // never below 1
        {1, 20, 300, 6.0},  // 2% of the span, rounded
        {1, 20, 40, 1.0},   // a span narrower than 100 / 2 still gives 1
        {1, 25, 333, 8.0},
    };
    for (const Case& c : cases)
        EXPECT_DOUBLE_EQ(PointFigureBox(IndicatorRecord::Of(15, c.flags, 0, c.tenths, 3), c.span), c.box)
            << c.flags << " " << c.tenths << " " << c.span;
}

TEST(BoxIndicatorPanes, ColumnsGrowAndTurnByTheReversal)
{
    // Box 1, reversal 3, from a base of 100.
    const IndicatorRecord record = IndicatorRecord::Of(15, 0, 0, 10, 3);
    const std::vector<DayRecord> days = test::DaysOfCloses({100.4f, 101, 102, 103.5f, 104, 102, 100.5f, 104.2f});
    const test::Run run = RunPane(record, days);
    EXPECT_EQ(run.result.title, "Point & Fig. (Box 1, Reversal 3)");
    EXPECT_DOUBLE_EQ(run.result.baseLevel, 100);
    // Up 3 at 103.5, 1 more at 104; 100.5 turns down 3; 104.2 turns up 3 again.
    EXPECT_EQ(Counts(run), (std::vector<double>{4, -3, 3}));
    EXPECT_EQ(run.result.boxes[0].date, days[0].date);
    EXPECT_EQ(run.result.boxes[1].date, days[6].date);
    EXPECT_EQ(run.result.boxes[2].date, days[7].date);
    // Square boxes: each column is one box wide from the left margin.
    const double boxPixels = 200 * 1.0 / (double(run.range.maximum) - run.range.minimum);
    EXPECT_EQ(run.result.boxes[0].left, kBoxPaneMargin);
    EXPECT_NEAR(run.result.boxes[1].left - run.result.boxes[0].left, boxPixels, 1);

    // Moves of less than the reversal never start a column; a first move down turns the first
    // column itself.
    EXPECT_EQ(Counts(RunPane(record, test::DaysOfCloses({100, 101, 99.5f, 101.9f}))), std::vector<double>{0});
    const test::Run down = RunPane(record, test::DaysOfCloses({100, 96, 95}));
    EXPECT_EQ(Counts(down), std::vector<double>{-5});
    EXPECT_EQ(down.result.boxes[0].date, test::DaysOfCloses({100, 96}).at(1).date);
}

TEST(BoxIndicatorPanes, ManyColumnsStretchTheRangeAboutTheBase)
{
    // A zigzag of many turns in a narrow pane: the boxes shrink until the columns fit.
    std::vector<float> closes;
    for (int i = 0; i < 120; ++i)
        closes.push_back(i % 2 ? 110.0f : 100.0f);
    const test::Run run = RunPane(IndicatorRecord::Of(15, 0, 0, 10, 3), test::DaysOfCloses(closes), 200, 300);
    ASSERT_GT(run.result.boxes.size(), 100u);
    EXPECT_LE(run.result.boxes.back().right, 200 - 4 * kBoxPaneMargin + 1);
    EXPECT_LT(run.range.minimum, 99);
    // A flat view keeps a range of a box either side, never a span of 0.
    const test::Run flat = RunPane(IndicatorRecord::Of(15, 0, 0, 10, 3), test::DaysOfCloses({50, 50, 50}));
    EXPECT_GT(flat.range.maximum, flat.range.minimum);
    EXPECT_TRUE(std::isfinite(flat.range.maximum));
}

TEST(BoxIndicatorPanes, PointAndFigureDrawsXsOsOrLines)
{
    const IndicatorRecord record = [] {
        IndicatorRecord r = IndicatorRecord::Of(15, 0, 0, 10, 3);
        r.pens = {0x0000FF, 0x00FF00, 0, 0};
        return r;
    }();
    GraphPane pane{};
    pane.left = 0;
    pane.right = 600;
    pane.top = 0;
    pane.bottom = 200;
    const BoxPaneLook look{0xFFFFFF, 0x808080, 0};
    const test::Run run = RunPane(record, test::DaysOfCloses({100, 104, 100, 104}));
    test::RasterCanvas canvas(600, 200);
    DrawBoxPane(canvas, run.result, record, pane, run.range, look);
    EXPECT_GT(canvas.Count(0x0000FF), 20);        // X's
    EXPECT_GT(canvas.Count(0xFFFFFF), 20);        // O's, filled with the background
    EXPECT_GT(canvas.CountInRow(MapValueToRow(&run.range, float(run.result.baseLevel), false), 0x808080), 100);

    // Boxes under 2 pixels: each column is one line.
    std::vector<float> closes;
    for (int i = 0; i < 300; ++i)
        closes.push_back(i % 2 ? 400.0f : 100.0f);
    const test::Run tiny = RunPane(record, test::DaysOfCloses(closes), 600, 200);
    test::RasterCanvas lines(600, 200);
    DrawBoxPane(lines, tiny.result, record, pane, tiny.range, look);
    EXPECT_EQ(lines.Count(0xFFFFFF), 0);
    EXPECT_GT(lines.Count(0x0000FF), 100);
}

TEST(BoxIndicatorPanes, EquivolumeWidthsFollowTheVolume)
{
    const std::vector<DayRecord> days = test::MakeDays(
        {{10, 12, 9, 11, 100}, {11, 13, 10, 12, 300}, {12, 14, 11, 11.5f, 600}, {11, 12, 10, 11, 0, 0}});
    const test::Run run = RunPane(IndicatorRecord::Of(41, 0), days, 1008);
    ASSERT_EQ(run.result.boxes.size(), 3u);  // the close-only day is skipped
    // (1008 - 2 margins) / 1000 volume: one pixel per unit of volume.
    EXPECT_EQ(run.result.boxes[0].left, 4);
    EXPECT_EQ(run.result.boxes[0].right, 104);
    EXPECT_EQ(run.result.boxes[1].right, 404);
    EXPECT_EQ(run.result.boxes[2].right, 1004);
    EXPECT_EQ(run.result.decimals, 3);

    // Thin days merge until their box reaches 3 pixels: their spans join the next day's.
    const std::vector<DayRecord> thin =
        test::MakeDays({{10, 20, 9, 11, 1}, {11, 13, 5, 12, 1}, {12, 14, 11, 11.5f, 998}});
    const test::Run merged = RunPane(IndicatorRecord::Of(41, 0), thin, 1008);
    ASSERT_EQ(merged.result.boxes.size(), 1u);
    EXPECT_EQ(merged.result.boxes[0].high, 20);
    EXPECT_EQ(merged.result.boxes[0].low, 5);
    EXPECT_EQ(merged.result.boxes[0].date, thin[0].date);

    // No volume in view: no width to share, an empty pane.
    const test::Run none = RunPane(IndicatorRecord::Of(41, 0), test::MakeDays({{10, 12, 9, 11, 0}, {11, 13, 10, 12, 0}}));
    EXPECT_TRUE(none.result.boxes.empty());
}

TEST(BoxIndicatorPanes, TheKagiWindowTurnsOnItsReversalAndSpansThePane)
{
    const std::vector<DayRecord> days = test::DaysOfCloses({100, 120, 114, 130, 110, 104, 125});
    // 10% of the price: 114 is 5% down (no turn), 110 is 15% down, 125 is 20% up.
    const test::Run run = RunPane(IndicatorRecord::Of(55, 0, 0, 0, 10), days, 408);
    std::vector<float> prices;
    for (const PaneColumn& c : run.result.boxes)
        prices.push_back(c.close);
    EXPECT_EQ(prices, (std::vector<float>{100, 130, 104, 125}));
    EXPECT_EQ(run.result.boxes.front().left, kBoxPaneMargin);
    EXPECT_EQ(run.result.boxes.back().left, 408 - kBoxPaneMargin);
    // 10 whole percent of the visible range (about 35) is 3.5: every fall of 4 or more turns.
    const test::Run ofRange = RunPane(IndicatorRecord::Of(55, 1, 0, 0, 10), days, 408);
    EXPECT_EQ(ofRange.result.boxes.size(), 6u);
    // Constant closes: one point, no chart.
    EXPECT_TRUE(RunPane(IndicatorRecord::Of(55, 0, 0, 0, 3), test::DaysOfCloses({5, 5, 5})).result.boxes.empty());
}

TEST(BoxIndicatorPanes, ThePanesDateAxis)
{
    GraphPane pane{};
    pane.right = 400;
    pane.bottom = 100;
    std::vector<PaneColumn> boxes(4);
    boxes[0].date = PackDate(30, 11, 2015);
    boxes[1].date = PackDate(15, 12, 2015);
    boxes[2].date = PackDate(20, 12, 2015);
    boxes[3].date = PackDate(4, 1, 2016);
    for (size_t i = 0; i < boxes.size(); ++i)
        boxes[i].left = int32_t(10 + 50 * i);
    test::RasterCanvas canvas(400, 100);
    DrawPaneDateAxis(canvas, boxes, pane, 0x123456);
    ASSERT_EQ(canvas.texts.size(), 2u);
    EXPECT_EQ(canvas.texts[0].text, "Dec");  // a month change within the year: the abbreviation
    EXPECT_EQ(canvas.texts[1].text, "'16 ");
    // Crowded, a month gives way to the year after it, whichever comes first.
    boxes.erase(boxes.begin() + 2);
    for (size_t i = 0; i < boxes.size(); ++i)
        boxes[i].left = int32_t(10 + 12 * i);
    test::RasterCanvas crowded(400, 100);
    DrawPaneDateAxis(crowded, boxes, pane, 0x123456);
    ASSERT_EQ(crowded.texts.size(), 1u);
    EXPECT_EQ(crowded.texts[0].text, "'16 ");
    EXPECT_EQ(DateLabelText(PackDate(4, 1, 2016)), "4/1/16");
    EXPECT_EQ(DayLabelText(PackDate(9, 3, 2016)), "9 ");
}

} // namespace
} // namespace qv
