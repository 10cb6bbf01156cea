// The data-mining graphs' rules: the settings record, bins, ranges, ticks, marks, Z coding, the
// statistic lines and the mouse's thresholds.
#include "datamining/DataMiningGraphs.h"

#include "core/ConfigFamilies.h"
#include "core/ConfigState.h"
#include "platform/ByteOrder.h"

#include <gtest/gtest.h>

using namespace qv;

namespace {

TEST(DataMiningGraphs, TheSettingsRecordKeepsItsFieldsAndClampsTheSixBitOnes)
{
    DataMiningGraphSettings s = DefaultDataMiningGraphSettings();
    s.xSmoothing = 100; // the dialog allows up to 100
    s.markSize = 70;
    DataMiningGraph record;
    record.bytes.fill(0xEE);
    s.Write(record);
    const DataMiningGraphSettings back = DataMiningGraphSettings::Read(record);
    EXPECT_EQ(back.xSmoothing, 63);
    EXPECT_EQ(back.ySmoothing, 10) << "the neighbour of a clamped field is untouched";
    EXPECT_EQ(back.markSize, 63);
    EXPECT_EQ(back.markShape, 0);
    EXPECT_EQ(back.xBinWidth, 5);
    EXPECT_EQ(back.scatterFlags, s.scatterFlags);
    EXPECT_EQ(back.meanPen, s.meanPen);
    EXPECT_EQ(LoadU32(record.data() + DataMiningGraphLayout::HistogramWord) & 0x3F000, 63u << 12);
    EXPECT_EQ(record.bytes[DataMiningGraphLayout::Used], 0xEE) << "the rest of the record is kept";

    ConfigState state;
    ResetConfigFamily(state, ConfigFamily::DataMiningGraphs);
    const DataMiningGraphSettings fresh = DataMiningGraphSettings::Read(state.dataMiningGraphs.records[3]);
    EXPECT_EQ(fresh.xHistogramColour, 0x00F0CAA6u) << "light blue";
    EXPECT_EQ(fresh.markSize, 4);
    EXPECT_EQ(fresh.largestSize, 16);
    EXPECT_TRUE(fresh.scatter(kScatterShown));
    EXPECT_TRUE(fresh.has(kHistXShown) && fresh.has(kHistYShown));
    EXPECT_FALSE(fresh.scatter(kScatterColourByZ) || fresh.scatter(kScatterSizeByZ));
}

TEST(DataMiningGraphs, HistogramBins)
{
    const std::vector<float> values = {0, 10, 5, 2.5f, 7.5f, -2, 12, 3};
    const std::vector<uint8_t> has = {1, 1, 1, 1, 1, 1, 1, 0};
    // Five bins over 0..10: v x 4 / 10, halves away from zero (2.5 -> bin 1, 7.5 -> bin 3).
    EXPECT_EQ(HistogramCounts(values, has, {0, 10}, 5), (std::vector<int>{1, 1, 1, 1, 1}))
        << "the maximum falls in the last bin, outside values and rows without a value are not counted";
    EXPECT_EQ(RoundHalfAway(-2.5), -3);
    EXPECT_EQ(RoundHalfAway(2.5), 3);
    EXPECT_EQ(HistogramBinCount(100, 5, 1), 20);
    EXPECT_EQ(HistogramBinCount(100, 0, 1), 100) << "a bin at least one pixel wide";
    EXPECT_EQ(HistogramBinCount(100, 5, 2), 10);
}

TEST(DataMiningGraphs, RangesTicksAndLabelFormats)
{
    const AxisRange same = WidenedRange(7, 7);
    EXPECT_EQ(same.min, 6);
    EXPECT_EQ(same.max, 8);
    // Labels a person reads: never "1e+07, 1e+07, 2e+07" for ticks 5,000,000 apart.
    struct Case {
        double value, step;
        const char* label;
    };
    for (const Case& c : {Case{25e6, 5e6, "25m"}, Case{15e6, 5e6, "15m"}, Case{5e5, 1e5, "0.5m"},
                          Case{1.2e6, 2e5, "1.2m"}, Case{2e9, 1e9, "2bn"}, Case{250, 50, "250"}, Case{5, 1, "5"},
                          Case{0.5, 0.5, "0.5"}, Case{0.3, 0.1, "0.3"}, Case{0.04, 0.02, "0.04"},
                          Case{0.015, 0.005, "0.015"}, Case{-12, 4, "-12"}, Case{1e-12, 0.5, "0.0"}})
        EXPECT_EQ(TickLabel(c.value, c.step), c.label) << c.value << " by " << c.step;
    const AxisTicks t = ChooseTicks({0, 100}, 400, 40);
    EXPECT_EQ(t.step, 10);
    EXPECT_EQ(t.first, 0);
    const AxisTicks wide = ChooseTicks({-3, 997}, 200, 40);
    EXPECT_EQ(wide.step, 200);
    EXPECT_EQ(wide.first, 0);
    EXPECT_DOUBLE_EQ(ChooseTicks({0, 0.3}, 300, 50).step, 0.05);
}

TEST(DataMiningGraphs, ScalesInDoublesAndThePlotEdges)
{
    // Capitalisation-like units: far more units than pixels still place marks apart.
    PlotScale s{10, 110, 100, 100, {0, 1e6}, {0, 1}};
    EXPECT_DOUBLE_EQ(s.px(5e5), 60);
    EXPECT_DOUBLE_EQ(s.valueX(60), 5e5);
    EXPECT_DOUBLE_EQ(s.py(1), 10);
    EXPECT_TRUE(s.inside(10, 110)) << "the corner is on the edge";
    EXPECT_TRUE(s.inside(110, 10));
    EXPECT_FALSE(s.inside(9, 50)) << "one pixel out";
    EXPECT_FALSE(s.inside(50, 111));
}

TEST(DataMiningGraphs, MarksAndTheirZCoding)
{
    const MarkGeometry up = MarkOutline(MarkShape::Triangle, 50, 50, 8, false);
    const MarkGeometry down = MarkOutline(MarkShape::Triangle, 50, 50, 8, true);
    EXPECT_LT(up.points[0][1], 50) << "the tip above the point";
    EXPECT_GT(down.points[0][1], 50) << "a negative Z points the triangle down";
    EXPECT_EQ(MarkOutline(MarkShape::Square, 10, 10, 2, false).points,
              (std::vector<std::array<int, 2>>{{8, 8}, {13, 13}}));
    EXPECT_EQ(MarkOutline(MarkShape::Diamond, 10, 10, 2, false).points,
              (std::vector<std::array<int, 2>>{{12, 10}, {10, 14}, {8, 10}, {10, 6}}));

    const ZCoding z{-50, 100};
    EXPECT_EQ(ZColourStep(z, 100), 63);
    EXPECT_EQ(ZColourStep(z, 250), 63) << "the step stops at 63";
    EXPECT_EQ(ZColourStep(z, -50), 31);
    EXPECT_EQ(ZColourStep(ZCoding{0, 0}, 0), 0) << "every Z 0: step 0, no division";
    EXPECT_EQ(ZMarkSize(ZCoding{0, 0}, 0, 3, 16, 4, true), 4) << "every Z 0: the base size";
    EXPECT_EQ(ZMarkSize(ZCoding{0, 0}, 0, 3, 16, 4, false), 4);
    EXPECT_EQ(ZMarkSize(z, -50, 3, 16, 4, false), 3);
    EXPECT_EQ(ZMarkSize(z, 100, 3, 16, 4, false), 16);
    EXPECT_EQ(ZMarkSize(z, -50, 3, 16, 4, true), 8);
    EXPECT_EQ(RampColour(0x000000, 0xFF00FF, 63), 0xFF00FFu);
    EXPECT_EQ(RampColour(0x000000, 0xFF00FF, 99), 0xFF00FFu);
    EXPECT_EQ(RampColour(0x0000FF, 0x000000, 0), 0x0000FFu);
}

TEST(DataMiningGraphs, StatisticLines)
{
    FitSums s;
    for (double x : {1.0, 2.0, 3.0})
        s.add(x, 2 * x + 1);
    const auto yOnX = RegressionYOnX(s);
    ASSERT_TRUE(yOnX);
    EXPECT_DOUBLE_EQ(yOnX->slope, 2);
    EXPECT_DOUBLE_EQ(yOnX->intercept, 1);
    const auto xOnY = RegressionXOnY(s);
    ASSERT_TRUE(xOnY);
    EXPECT_DOUBLE_EQ(xOnY->slope, 0.5);
    EXPECT_DOUBLE_EQ(xOnY->intercept, -0.5);
    FitSums flat;
    flat.add(2, 1);
    flat.add(2, 5);
    EXPECT_FALSE(RegressionYOnX(flat)) << "every x the same: no line of Y on X";
    EXPECT_TRUE(RegressionXOnY(flat));
    EXPECT_FALSE(RegressionYOnX(FitSums{}));
}

TEST(DataMiningGraphs, MouseThresholds)
{
    EXPECT_EQ(DividerSplit(0, 600), 100);
    EXPECT_EQ(DividerSplit(600, 600), 800);
    EXPECT_EQ(DividerSplit(300, 600), 500);
    EXPECT_FALSE(RectangleZooms(10, 40));
    EXPECT_TRUE(RectangleZooms(11, 11));
    EXPECT_TRUE(RectangleZooms(-11, -11));
    EXPECT_FALSE(AxisZooms({0, 0.05}));
    EXPECT_TRUE(AxisZooms({0, 0.06}));
    const std::vector<std::array<int, 2>> marks = {{0, 0}, {100, 100}, {116, 50}};
    EXPECT_EQ(PickNearestMark(marks, {}, 100, 50), 2) << "16 pixels away picks";
    EXPECT_EQ(PickNearestMark(marks, {}, 99, 50), -1) << "17 pixels away does not";
    EXPECT_EQ(PickNearestMark(marks, std::vector<uint8_t>{1, 1, 0}, 100, 50), -1) << "a mark not drawn is not picked";
    EXPECT_EQ(PickNearestMark(marks, {}, 100, 90), 1);
}

} // namespace
