// The box and reversal chart builders: snapping and the box grids as tables, and each builder against
// the public construction (close-method point and figure with a 3-box reversal, Kagi by a fixed and a
// percentage reversal, Renko with 2-box turns after the first move, three-line break), with their
// edge cases and texts.
#include "charts/BoxCharts.h"
#include "support/IndicatorDays.h"

#include <gtest/gtest.h>

#include <cmath>

namespace qv {
namespace {

struct Shape {
    uint32_t step;
    float price;
};

void ExpectShape(const std::vector<BoxChartPoint>& points, const std::vector<Shape>& want, const char* what)
{
    ASSERT_EQ(points.size(), want.size()) << what;
    for (size_t i = 0; i < want.size(); ++i) {
        EXPECT_EQ(points[i].step, want[i].step) << what << " point " << i;
        EXPECT_FLOAT_EQ(points[i].price, want[i].price) << what << " point " << i;
    }
}

TEST(BoxCharts, SnapToBoxFloorsAndCeilsOnTheGrid)
{
    struct Case {
        float size, price;
        bool down;
        float want;
    } cases[] = {
        {1, 2.5f, true, 2},   {1, 2.5f, false, 3},   {1, -2.5f, true, -3}, {1, -2.5f, false, -2},
        {0.5f, 3, true, 3},   {0.5f, 3, false, 3},   {0.25f, -1, true, -1}, {0, 7.3f, true, 7.3f},
        {2, 7, true, 6},      {2, 7, false, 8},
    };
    for (const Case& c : cases)
        EXPECT_FLOAT_EQ(SnapToBox(c.size, c.price, c.down), c.want) << c.size << " " << c.price << " " << c.down;
}

TEST(BoxCharts, TheGridsOfEachKind)
{
    std::vector<float> closes;
    for (int i = 0; i < 300; ++i)
        closes.push_back(100 + float(i % 20));
    const std::vector<DayRecord> days = test::DaysOfCloses(closes);
    EXPECT_FLOAT_EQ(PointFigureGrid(days, 250, kBoxFixed).SizeAt(50), 2.5f);
    const BoxGrid percent = PointFigureGrid(days, 200, kBoxPercent);
    EXPECT_TRUE(percent.percentage());
    EXPECT_FLOAT_EQ(percent.SizeAt(100), 2);
    // The recent range: highest high less lowest low of the last 250 days, x 10%.
    EXPECT_NEAR(PointFigureGrid(days, 1000, kBoxRangePercent).SizeAt(1), (119 * 1.01 - 99) * 0.1, 1e-3);
    // Variable boxes: lower bounds inclusive.
    const BoxGrid variable = PointFigureGrid(days, 100, kBoxVariable);
    EXPECT_FLOAT_EQ(variable.SizeAt(1), 0.25f);
    EXPECT_FLOAT_EQ(variable.SizeAt(0.99f), 0.125f);
    EXPECT_FLOAT_EQ(variable.SizeAt(24999), 50);
    EXPECT_FLOAT_EQ(variable.SizeAt(25000), 500);
    // Volatility classes.
    EXPECT_EQ(VolatilityClass(9.99), 0);
    EXPECT_EQ(VolatilityClass(10), 1);
    EXPECT_EQ(VolatilityClass(20), 2);
    EXPECT_EQ(VolatilityClass(50), 3);
    EXPECT_EQ(RecentVolatility(test::DaysOfCloses({100})).classIndex, 0);  // not a number: class 0
    // A zero close gives no change (never an infinity).
    EXPECT_TRUE(std::isfinite(RecentVolatility(test::DaysOfCloses({100, 0, 100, 101})).value));
    // A flat recent range gives a size of 0: no chart.
    const std::vector<DayRecord> flat = test::MakeDays({{10, 10, 10, 10, 1}, {10, 10, 10, 10, 1}, {10, 10, 10, 10, 1}});
    EXPECT_FALSE(PointFigureGrid(flat, 100, kBoxRangePercent).Valid());
    EXPECT_TRUE(BuildPointFigureColumns(flat, PointFigureGrid(flat, 100, kBoxRangePercent), {}).empty());
}

TEST(BoxCharts, PointAndFigureByCloseWithAThreeBoxReversal)
{
    const std::vector<DayRecord> days = test::DaysOfCloses({10, 11, 12, 13, 12, 11, 10, 9, 10, 11, 12, 12.5f});
    const std::vector<BoxChartPoint> columns = BuildPointFigureColumns(days, BoxGrid::Fixed(1), {3});
    // The first point alone in column 0; X's to 13; a 1- and 2-box fall change nothing; O's from 10
    // to 9; X's again at 12 (three boxes).
    ExpectShape(columns, {{0, 10}, {1, 11}, {1, 12}, {1, 13}, {2, 10}, {2, 9}, {3, 12}}, "columns");
    EXPECT_EQ(columns[3].lastDate, days[5].date);      // the days without a move join the point
    EXPECT_EQ(columns.back().lastDate, days[11].date);
    // Fewer than two points: no chart.
    EXPECT_TRUE(BuildPointFigureColumns(test::DaysOfCloses({10, 10.5f}), BoxGrid::Fixed(1), {3}).empty());
    // A percentage grid over a history whose lowest low is 0: no chart, never NaN.
    std::vector<DayRecord> zero = days;
    zero[4].low = 0;
    EXPECT_TRUE(BuildPointFigureColumns(zero, BoxGrid::Percent(2, 0), {3}).empty());
}

TEST(BoxCharts, PointAndFigureHighLowPriorityAndMerging)
{
    // With the high and low, a day that qualifies both ways continues a falling column.
    const std::vector<DayRecord> days = test::MakeDays(
        {{10, 10, 10, 10, 1}, {10, 10, 7, 7, 1}, {7, 14, 3, 8, 1}});
    PointFigureOptions hl{3, true, false};
    const std::vector<BoxChartPoint> both = BuildPointFigureColumns(days, BoxGrid::Fixed(1), hl);
    ASSERT_EQ(both.size(), 3u);
    EXPECT_FLOAT_EQ(both.back().price, 3);

    // One-box turns (reversal 1) merge into the column, but not two in a row; a move of several
    // boxes is one point.
    const std::vector<DayRecord> zigzag = test::DaysOfCloses({10, 12, 11, 12, 11, 13});
    PointFigureOptions plain{1, false, false}, merged{1, false, true};
    std::vector<uint32_t> a, b;
    for (const BoxChartPoint& p : BuildPointFigureColumns(zigzag, BoxGrid::Fixed(1), plain))
        a.push_back(p.step);
    for (const BoxChartPoint& p : BuildPointFigureColumns(zigzag, BoxGrid::Fixed(1), merged))
        b.push_back(p.step);
    EXPECT_EQ(a, (std::vector<uint32_t>{0, 1, 2, 3, 4, 5}));
    EXPECT_EQ(b, (std::vector<uint32_t>{0, 1, 2, 2, 3, 3}));
}

TEST(BoxCharts, KagiByAFixedAndAPercentageReversal)
{
    const std::vector<DayRecord> days = test::DaysOfCloses({10, 12, 11.5f, 13, 11.9f, 11, 12.5f});
    // Fixed 1: rises to 13, turns at 11.9 and falls on to 11, turns up at 12.5.
    ExpectShape(BuildKagiLines(days, {1.0f, false}), {{0, 10}, {1, 13}, {2, 11}, {3, 12.5f}}, "fixed");
    // 10% of the price: the fall to 11.9 (8.5%) does not turn, 11 (15%) does; 12.5 is 13.6% up.
    ExpectShape(BuildKagiLines(days, {0.1f, true}), {{0, 10}, {1, 13}, {2, 11}, {3, 12.5f}}, "percentage");
    ExpectShape(BuildKagiLines(days, {0.2f, true}), {{0, 10}, {1, 13}}, "20%");
    // The first move needs no threshold; constant closes give one point, no chart.
    ExpectShape(BuildKagiLines(test::DaysOfCloses({10, 10.01f}), {5.0f, false}), {{0, 10}, {1, 10.01f}}, "first");
    EXPECT_TRUE(BuildKagiLines(test::DaysOfCloses({10, 10, 10}), {1.0f, false}).empty());
    // The amount by kind.
    EXPECT_FLOAT_EQ(KagiReversalOf(days, 250, kBoxFixed).amount, 2.5f);
    EXPECT_TRUE(KagiReversalOf(days, 250, kBoxPercent).percentage);
    EXPECT_FLOAT_EQ(KagiReversalOf(days, 250, kBoxPercent).amount, 0.025f);
    EXPECT_FLOAT_EQ(KagiReversalOf(days, 250, kBoxVariable).amount, 1.0f);
}

TEST(BoxCharts, RenkoTurnsOnTwoBoxesAndItsFirstMoveDrawsOneBrickFewer)
{
    const std::vector<DayRecord> days = test::DaysOfCloses({10, 11, 12, 13, 12, 11, 10, 13});
    const std::vector<BoxChartPoint> bricks = BuildRenkoBricks(days, 100, kBoxFixed, false);
    // Up one box a day from 10: the first move draws no brick, then one a day; the one-box fall to
    // 12 does nothing, the two-box fall to 11 turns (one brick), 10 one more; 13 turns up three
    // boxes (two bricks).
    ExpectShape(bricks, {{0, 10}, {1, 11}, {2, 12}, {3, 13}, {4, 11}, {5, 10}, {7, 13}}, "renko");
    // A close on the grid snaps to itself both ways; the grid offset follows the first close.
    EXPECT_FLOAT_EQ(SnapToBox(0.5f, 12.5f, true), 12.5f);
    const std::vector<BoxChartPoint> offset = BuildRenkoBricks(test::DaysOfCloses({10.3f, 11.3f, 12.4f}), 100, kBoxFixed, false);
    ASSERT_EQ(offset.size(), 3u);
    EXPECT_NEAR(offset[2].price, 12.3f, 1e-4);
    // The align option puts the first brick on the grid.
    const std::vector<BoxChartPoint> aligned = BuildRenkoBricks(test::DaysOfCloses({10.3f, 11.3f, 12.4f}), 100, kBoxFixed, true);
    ASSERT_FALSE(aligned.empty());
    EXPECT_FLOAT_EQ(aligned[0].price, 10);
    // A box value of 0: no chart.
    EXPECT_TRUE(BuildRenkoBricks(days, 0, kBoxFixed, false).empty());
}

TEST(BoxCharts, LineBreakComparesWithTheStartOfTheLastLines)
{
    // A rising trend of t lines from 10 (each 1 up), then a close: the reference is the price of the
    // point min(t, 3) back from the last.
    for (int t = 1; t <= 5; ++t) {
        std::vector<float> closes{10};
        for (int i = 1; i <= t; ++i)
            closes.push_back(10.0f + float(i));
        const float reference = 10.0f + float(t - std::min(t, 3));
        std::vector<float> above = closes, below = closes;
        above.push_back(reference + 0.5f);
        below.push_back(reference - 0.5f);
        EXPECT_EQ(BuildLineBreakChart(test::DaysOfCloses(above), 3).size(), size_t(t + 1)) << t;
        EXPECT_EQ(BuildLineBreakChart(test::DaysOfCloses(below), 3).size(), size_t(t + 2)) << t;
    }
    // After 10, 13, 9.5, 9 a close of 12.5 starts no rising line: the falling lines reach 13.
    ExpectShape(BuildLineBreakChart(test::DaysOfCloses({10, 13, 9.5f, 9, 12.5f}), 3),
                {{0, 10}, {1, 13}, {2, 9.5f}, {3, 9}}, "three-line break");
    ExpectShape(BuildLineBreakChart(test::DaysOfCloses({10, 13, 9.5f, 9, 13.5f}), 3),
                {{0, 10}, {1, 13}, {2, 9.5f}, {3, 9}, {4, 13.5f}}, "reversal");
    // Closes within 0.001 of the last line never start one.
    EXPECT_TRUE(BuildLineBreakChart(test::DaysOfCloses({10, 10.0005f, 9.9995f}), 3).empty());
}

TEST(BoxCharts, TheParameterTexts)
{
    struct Case {
        uint8_t kind;
        const char* longForm;
        const char* shortForm;
    } cases[] = {
        {kBoxFixed, "2.50 box size, 3 reversal", "(2.50 box, 3 rev)"},
        {kBoxPercent, "2.50% box size, 3 reversal", "(2.50% box, 3 rev)"},
        {kBoxRangePercent, "2.50% range box size, 3 reversal", "(2.50% range box, 3 rev)"},
        {kBoxVariable, "Variable box size, 3 reversal", "(Variable box, 3 rev)"},
        {kBoxVolatility, "Volatility box size, 3 reversal", "(Volatility box, 3 rev)"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(FormatBoxSizeText(250, c.kind, 3, true), c.longForm);
        EXPECT_EQ(FormatBoxSizeText(250, c.kind, 3, false), c.shortForm);
    }
    EXPECT_EQ(FormatReversalChartText(6, 150, kBoxFixed, 3, true), "Kagi, 1.50 reversal");
    EXPECT_EQ(FormatReversalChartText(7, 150, kBoxPercent, 3, false), "(Renko, 1.50% rev)");
    EXPECT_EQ(FormatReversalChartText(6, 150, kBoxRangePercent, 3, true), "Kagi, 1.50% range reversal");
    EXPECT_EQ(FormatReversalChartText(8, 150, kBoxFixed, 3, true), "3-Line breakout");
    EXPECT_EQ(FormatReversalChartText(8, 150, kBoxFixed, 2, false), "(2-Line break)");
}

} // namespace
} // namespace qv
