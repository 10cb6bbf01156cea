// The box chart's placement: the column fit (centred or the last column at the right edge), the row
// fit narrowed over the last points, the zoom step clamped with the margin kept, the hit test, and
// the chart of each style from a setting.
#include "charts/BoxChartLayout.h"

#include "chartmodel/GraphSettingDefaults.h"
#include "chartmodel/GraphSettingLayout.h"
#include "core/DateText.h"
#include "core/StringPrintf.h"
#include "support/IndicatorDays.h"

#include <array>

#include <gtest/gtest.h>

namespace qv {
namespace {

namespace gs = graphsetting;

TEST(BoxChartLayout, FitBoxColumnsCentresAShortChartAndRightAlignsALongOne)
{
    struct Case {
        int32_t lastStep, fit, offset, want;
    };
    const Case cases[] = {
        {3, 10, kBoxAuto, -3},   // 4 columns of 10: (4 - 10) / 2
        {9, 10, kBoxAuto, 0},    // exactly full
        {24, 10, kBoxAuto, 15},  // the last column at the right edge
        {24, 10, 7, 7},          // a scrolled offset stays
        {0, 1, kBoxAuto, 0},
    };
    for (const Case& c : cases)
        EXPECT_EQ(FitBoxColumns(c.lastStep, c.fit, c.offset), c.want) << c.lastStep << " of " << c.fit;
}

std::vector<BoxChartPoint> Boxes(std::initializer_list<std::pair<uint32_t, int32_t>> steps)
{
    std::vector<BoxChartPoint> points;
    for (auto [step, box] : steps)
        points.push_back({0, 0, step, box, 0, 0});
    return points;
}

TEST(BoxChartLayout, FitBoxRowsCentresTheLastPointsAndKeepsAboveZero)
{
    // 20 rows: the window starts at the last box +- 18 and narrows over the points shown: boxes
    // 40-50 leave [32, 58], and the offset 35 centres them (35-55).
    const auto points = Boxes({{0, 100}, {1, 40}, {2, 44}, {3, 50}});
    EXPECT_EQ(FitBoxRows(points, 3, 20, kBoxAuto, false), 35);
    // The walk stops at box 100, outside the window, whether or not its column is shown.
    EXPECT_EQ(FitBoxRows(points, 10, 20, kBoxAuto, false), 35);
    // 10 rows: box 40 lies outside 50 +- 8 and stops the walk; 44-50 are centred.
    EXPECT_EQ(FitBoxRows(points, 3, 10, kBoxAuto, false), 42);
    // A chart near 0 is not moved below it, unless the view may (kind 8).
    const auto low = Boxes({{0, 1}, {1, 3}});
    EXPECT_EQ(FitBoxRows(low, 5, 20, kBoxAuto, false), 0);
    EXPECT_LT(FitBoxRows(low, 5, 20, kBoxAuto, true), 0);
    EXPECT_EQ(FitBoxRows(low, 5, 20, 6, false), 6);
    EXPECT_EQ(FitBoxRows(low, 5, 20, -4, false), 0);
}

TEST(BoxChartLayout, ZoomStepsClampToZeroToEightAndKeepTheMargin)
{
    uint8_t spacing = 0x30;
    for (int i = 0; i < 9; ++i)
        spacing = ZoomBoxStep(spacing, 1);
    EXPECT_EQ(spacing, 0x38);
    spacing = ZoomBoxStep(spacing, -20);
    EXPECT_EQ(spacing, 0x30);
}

TEST(BoxChartLayout, HitTestFindsTheColumnAndBoxUnderAPoint)
{
    // Columns 10 pixels wide, column 5's centre at x 105; rows from the bottom at 300, lowest box 20.
    struct Case {
        int32_t x, y, column, box;
    };
    const Case cases[] = {
        {105, 295, 5, 20}, {100, 290, 5, 21}, {99, 301, 4, 19}, {134, 200, 8, 30}, {91, 300, 4, 20},
    };
    for (const Case& c : cases) {
        const BoxHit hit = BoxHitTest(c.x, c.y, 105, 5, 10, 300, 20);
        EXPECT_EQ(hit.column, c.column) << c.x;
        EXPECT_EQ(hit.box, c.box) << c.y;
    }
}

// Points of (step, box), their first and last dates given as day numbers.
std::vector<BoxChartPoint> Dated(std::initializer_list<std::array<uint32_t, 4>> rows)
{
    std::vector<BoxChartPoint> points;
    for (const auto& r : rows)
        points.push_back({r[0], r[1], r[2], int32_t(r[3]), float(r[3]), float(r[3])});
    return points;
}

TEST(BoxChartLayout, StepsAtDatesSpanAPaneLaidOutByDate)
{
    // {first date, last date, step, box (also price and volume)}
    const auto points = Dated({{10, 12, 0, 1}, {13, 20, 1, 2}, {21, 21, 2, 3}, {22, 30, 3, 4}});
    struct Case {
        int32_t date, step;
    };
    const Case cases[] = {{0, 0}, {12, 0}, {13, 1}, {19, 1}, {21, 2}, {25, 3}, {30, 3}, {31, 0}};
    for (const Case& c : cases)
        EXPECT_EQ(StepIndexAtDate(points, c.date), c.step) << c.date;
    EXPECT_EQ(StepIndexAtDate({}, 5), 0);
    // Steps 1 to 3 across 100 to 400: 150 pixels a step.
    const StepSpan span = BoxChartTimeScale(points, 15, 26, 100, 400);
    EXPECT_EQ(span.firstStep, 1);
    EXPECT_EQ(span.lastStep, 3);
    EXPECT_EQ(span.XOf(1), 100);
    EXPECT_EQ(span.XOf(2), 250);
    EXPECT_EQ(span.XOf(3), 400);
    // A last date past the chart ends on its last step; one step never spans nothing.
    EXPECT_EQ(BoxChartTimeScale(points, 15, 99, 100, 400).lastStep, 3);
    const StepSpan one = BoxChartTimeScale(points, 22, 30, 0, 100);
    EXPECT_EQ(one.lastStep - one.firstStep, 1);
}

TEST(BoxChartLayout, VolumeRangeByStepOrByDateAddsAColumnsPoints)
{
    // Column 1 holds two points (volumes 2 and 3): its bar is 5 high.
    const auto points = Dated({{10, 12, 0, 1}, {13, 14, 1, 2}, {15, 20, 1, 3}, {21, 21, 2, 4}, {22, 30, 3, 9}});
    struct Case {
        BoxViewWindow window;
        float high;
    };
    const Case cases[] = {
        {{true, 0, 1, 0, 0}, 5},    // columns 0-1
        {{true, 2, 2, 0, 0}, 4},    // column 2 alone
        {{true, 5, 9, 0, 0}, 0},    // nothing in view
        {{false, 0, 0, 12, 21}, 5}, // the days 13-21: column 1 and 2
        {{false, 0, 0, 14, 21}, 4}, // a point counts when it ends after the first day
        {{false, 0, 0, 0, 30}, 9},
    };
    for (const Case& c : cases)
        EXPECT_EQ(BoxVolumeHigh(points, c.window), c.high) << c.window.byStep << " " << c.window.firstStep;
}

TEST(BoxChartLayout, DraggingMovesTheOffsetsWithThePointer)
{
    const BoxDragArea area{0, 500, 0, 300, 10, false};
    BoxDrag drag{250, 150, 20, 5};
    struct Case {
        int32_t x, y, column, box;
    };
    // Right and down move to earlier columns and higher boxes; the pointer is held near the pane.
    const Case cases[] = {{230, 150, 22, 5}, {250, 180, 20, 8}, {280, 120, 17, 2}, {900, 150, -5, 5}};
    for (const Case& c : cases) {
        BoxDrag d = drag;
        const BoxHit at = DragBoxes(d, c.x, c.y, area);
        EXPECT_EQ(at.column, c.column) << c.x;
        EXPECT_EQ(at.box, c.box) << c.y;
    }
    // Held at box 0, the drag starts again from the pointer: back down moves at once.
    EXPECT_EQ(DragBoxes(drag, 250, 90, area).box, 0);
    EXPECT_EQ(DragBoxes(drag, 250, 100, area).box, 1);
    // A view that may go below 0 is not held.
    BoxDrag free{250, 150, 20, 5};
    EXPECT_EQ(DragBoxes(free, 250, 90, {0, 500, 0, 300, 10, true}).box, -1);
}

TEST(BoxChartLayout, BandedAxisLabelsEveryBandBoundAndEveryKthBoxBetween)
{
    // Boxes of 1 from 0, 2 from 10 (box 10), 5 from 20 (box 15); 10 pixels a box, 20 rows.
    const float lows[] = {0, 10, 20}, sizes[] = {1, 2, 5};
    const BoxGrid grid = BoxGrid::Bands(lows, sizes);
    ASSERT_EQ(grid.BoxOf(10), 10);
    ASSERT_EQ(grid.BoxOf(20), 15);
    // A text height of 15 labels every 3rd box: 0, 3, 6, 9 would skip the bound at box 10, which is
    // labelled all the same. Box 0's label would stand within half a text height of the bottom.
    const auto labels = BoxPriceAxisLabels(grid, 0, 10, 0, 200, 15);
    struct Want {
        float value;
        int32_t y;
        bool bound;
    };
    const Want want[] = {{35, 15, false}, {20, 45, true}, {16, 65, false}, {10, 95, true},
                         {9, 105, false}, {6, 135, false}, {3, 165, false}};
    ASSERT_EQ(labels.size(), std::size(want));
    for (size_t i = 0; i < labels.size(); ++i) {
        EXPECT_FLOAT_EQ(labels[i].value, want[i].value) << i;
        EXPECT_EQ(labels[i].y, want[i].y) << i;
        EXPECT_EQ(labels[i].bound, want[i].bound) << i;
    }
    // Scrolled up to box 11: the lowest labels leave, the rows follow.
    const auto up = BoxPriceAxisLabels(grid, 11, 10, 0, 200, 15);
    ASSERT_FALSE(up.empty());
    EXPECT_FLOAT_EQ(up.back().value, 16);
    EXPECT_EQ(up.back().y, BoxValueToY(13, 11, 10, 0, 200));
    // One-band and percentage grids have the ticked axis.
    EXPECT_TRUE(BoxPriceAxisLabels(BoxGrid::Fixed(1), 0, 10, 0, 200, 15).empty());
    EXPECT_TRUE(BoxPriceAxisLabels(BoxGrid::Percent(2, 0), 0, 10, 0, 200, 15).empty());
}

TEST(BoxChartLayout, BoxRowsAndTheirGridLines)
{
    // The centre of a box, held within the pane.
    EXPECT_EQ(BoxValueToY(20, 20, 10, 0, 300), 295);
    EXPECT_EQ(BoxValueToY(22, 20, 10, 0, 300), 275);
    EXPECT_EQ(BoxValueToY(10, 20, 10, 0, 300), 300);
    EXPECT_EQ(BoxValueToY(90, 20, 10, 0, 300), 0);
    // Grid rows on the box edges between them.
    EXPECT_EQ(BoxGridRows(10, 0, 45), (std::vector<int32_t>{35, 25, 15, 5}));
    EXPECT_TRUE(BoxGridRows(10, 0, 10).empty());
}

uint16_t Day(int yearField, int month0, int day0) { return uint16_t(yearField << 9 | month0 << 5 | day0); }

TEST(BoxChartLayout, DateLabelsMarkEachNewYearAndMonthAndTheEndsInFull)
{
    const std::pair<uint16_t, int32_t> columns[] = {
        {Day(106, 10, 3), 10}, {Day(106, 10, 20), 20}, {Day(106, 11, 1), 30}, {Day(107, 0, 4), 40}, {Day(107, 2, 0), 50}};
    const auto labels = BoxChartDateLabels(columns);
    ASSERT_EQ(labels.size(), 3u);
    EXPECT_EQ(labels[0].x, 30);
    EXPECT_EQ(labels[0].text, "Dec");  // a month within the year: its abbreviation, not the year
    EXPECT_FALSE(labels[0].year);
    EXPECT_EQ(labels[1].text, "'07 ");
    EXPECT_TRUE(labels[1].year);
    EXPECT_EQ(labels[2].text, "Mar");
    // Kept 15 pixels apart: December gives way to the year, March is too close to it.
    const auto spaced = BoxChartDateLabels(columns, 15);
    ASSERT_EQ(spaced.size(), 1u);
    EXPECT_EQ(spaced[0].text, "'07 ");
    EXPECT_EQ(spaced[0].x, 40);
    const auto points = Dated({{Day(106, 10, 3), Day(106, 10, 9), 0, 1}, {Day(107, 2, 0), Day(107, 2, 14), 1, 2}});
    EXPECT_EQ(BoxChartEndDates(points), (std::array<std::string, 2>{"4/11/06", "15/3/07"}));
}

TEST(BoxChartLayout, TheBoxUnderThePointerIsFoundInItsColumn)
{
    // Column 0 at box 10, column 1 rising to 14 in two points, column 2 falling to 11.
    const auto points = Boxes({{0, 10}, {1, 12}, {1, 14}, {2, 11}});
    struct Case {
        int32_t column, box;
        int point;  // index, -1 none
    };
    const Case cases[] = {{0, 10, 0}, {0, 11, -1}, {1, 11, 1}, {1, 12, 1}, {1, 13, 2}, {1, 14, 2},
                          {1, 15, -1}, {2, 13, 3}, {2, 11, 3}, {2, 14, -1}, {3, 11, -1}};
    for (const Case& c : cases) {
        const BoxChartPoint* p = FindBoxChartPoint(points, c.column, c.box, true);
        EXPECT_EQ(p ? int(p - points.data()) : -1, c.point) << c.column << "/" << c.box;
    }
    // Charts without box rows take the column's last point.
    EXPECT_EQ(FindBoxChartPoint(points, 1, 99, false), &points[2]);
    EXPECT_EQ(FindBoxChartPoint(points, 7, 0, false), nullptr);
}

TEST(BoxChartLayout, DrawingObjectLabelsOnBoxCharts)
{
    EXPECT_EQ(FormatBoxSlopeText(2, 100, 6, 110), "+2.50 p.col");
    EXPECT_EQ(FormatBoxSlopeText(6, 110, 2, 100), "+2.50 p.col");
    EXPECT_EQ(FormatBoxSlopeText(2, 100, 4, 97), "-1.50 p.col");
    EXPECT_EQ(FormatBoxSlopeText(3, 100, 3, 120), "vertical");
    const auto points = Dated({{Day(107, 2, 0), Day(107, 2, 4), 0, 1}, {Day(107, 2, 5), Day(107, 2, 9), 1, 2}});
    EXPECT_EQ(FormatAnchorDateText(points, 1), "Anchor date " + FormatDateWithDay(PackedDate(Day(107, 2, 5))));
    EXPECT_EQ(FormatAnchorDateText(points, 4), "");
    EXPECT_EQ(FormatAnchorValueText(points, 0, 123.46f, nullptr), "1/3/07 value 123.5");
    // Point and figure names the value of the box that holds it.
    const BoxGrid grid = BoxGrid::Fixed(2);
    EXPECT_EQ(FormatAnchorValueText(points, 0, 123.46f, &grid), "1/3/07 value 122.0");
}

TEST(BoxChartLayout, APointAndFigurePickCountsItsBoxesAcrossATurn)
{
    // Column 0 at box 10, column 1 rising to 14 in two points, column 2 falling to 11; prices = boxes.
    const auto points = Dated({{1, 1, 0, 10}, {2, 2, 1, 12}, {3, 3, 1, 14}, {4, 4, 2, 11}});
    auto price = [](float v) { return StringPrintf("%g", double(v)); };
    struct Case {
        BoxPick from, to;
        const char* want;
    };
    const Case cases[] = {
        {{1, 11}, {1, 13}, "3 X's, 12 - 14"},
        {{1, 12}, {1, 12}, "1 X, 12 - 14"},
        {{2, 13}, {2, 11}, "3 O's, 11 - 11"},
        {{1, 12}, {2, 12}, "1 X + 2 O's, 12 - 11"},   // column 2 starts a box under 14
        {{2, 12}, {1, 12}, "1 X + 2 O's, 12 - 11"},   // picked right to left
        {{0, 10}, {2, 11}, "1 X + 3 O's, 10 - 11"},
        {{1, 12}, {5, 12}, ""},
    };
    for (const Case& c : cases)
        EXPECT_EQ(DescribePointFigurePick(points, c.from, c.to, price), c.want) << c.from.column << "-" << c.to.column;
    EXPECT_EQ(DescribeBoxValue(BoxGrid::Fixed(2), 5, price), "Box value, 10 - 12");
    EXPECT_EQ(DescribeBoxValue(BoxGrid(), 5, price), "");
}

TEST(BoxChartLayout, EachStyleBuildsItsChartFromTheSetting)
{
    GraphSetting setting{};
    InitGraphSetting(setting, false);
    gs::SetU16(setting, gs::kBoxValue, 100);   // 1p boxes and reversal
    gs::SetU8(setting, gs::kBoxValueOption, 0);
    gs::SetU8(setting, gs::kReversal, 3);
    gs::SetU8(setting, gs::kLineBreakLines, 3);
    std::vector<float> closes;
    for (int i = 0; i < 300; ++i)
        closes.push_back(100.0f + 20.0f * float((i / 25) % 2 ? 25 - i % 25 : i % 25) / 5.0f + float(i) * 0.05f);
    const std::vector<DayRecord> days = test::DaysOfCloses(closes);
    BoxGrid grid;
    for (int style = 5; style <= 8; ++style) {
        const auto points = BuildBoxChart(days, setting, style, 0x7FFFFFFF, grid);
        EXPECT_GE(points.size(), 2u) << style;
        EXPECT_EQ(grid.Valid(), style == 5) << style;
    }
    EXPECT_TRUE(BuildBoxChart(days, setting, 4, 0x7FFFFFFF, grid).empty());
    // An end date before the second day leaves too little for a chart.
    EXPECT_TRUE(BuildBoxChart(days, setting, 6, int32_t(days[0].date), grid).empty());
}

} // namespace
} // namespace qv
