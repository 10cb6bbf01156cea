// The box chart's placement: the column fit (centred or the last column at the right edge), the row
// fit narrowed over the last points, the zoom step clamped with the margin kept, the hit test, and
// the chart of each style from a setting.
#include "charts/BoxChartLayout.h"

#include "chartmodel/GraphSettingDefaults.h"
#include "chartmodel/GraphSettingLayout.h"
#include "support/IndicatorDays.h"

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
