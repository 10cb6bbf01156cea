// The criterion range strip's rules: value and pixel mapping on both scales, the handle limits, bounds
// drawn within the data range, and strips whose halves have no width.
#include "datamining/CriteriaRange.h"

#include <gtest/gtest.h>

#include <climits>
#include <cmath>

using namespace qv;

namespace {

// Width 214: usable 200, each half 100 pixels. Data 0..100 around an average of 20: the left half
// holds 5 pixels per unit, the right half 1.25.
DMCriterion Criterion(float lower, float upper)
{
    DMCriterion c;
    c.dataMin = 0;
    c.dataMax = 100;
    c.average = 20;
    c.lower = lower;
    c.upper = upper;
    c.mode = 2;
    return c;
}

TEST(CriteriaRangeTest, ValuesAndPixelsMapThroughBothHalves)
{
    const CriteriaRangeGeometry g = MeasureCriteriaRange(Criterion(10, 60), 214);
    EXPECT_DOUBLE_EQ(g.leftScale, 5);
    EXPECT_DOUBLE_EQ(g.rightScale, 1.25);
    struct Case {
        double value;
        RangeHandle handle;
        int pixel;
    } cases[] = {
        {0, RangeHandle::Lower, 3},     {10, RangeHandle::Lower, 53},  {20, RangeHandle::Lower, 103},
        {60, RangeHandle::Upper, 160},  {100, RangeHandle::Upper, 210}, {10.1, RangeHandle::Lower, 54}, // 53.5 rounds up
        {10.09, RangeHandle::Lower, 53},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(RangeValueToPixel(g, c.value, c.handle), c.pixel) << c.value;
        if (c.value == int(c.value)) {
            EXPECT_NEAR(RangePixelToValue(g, c.pixel, c.handle), c.value, 1e-9) << c.value;
        }
    }
    EXPECT_EQ(g.lowerX, 53);
    EXPECT_EQ(g.upperX, 160);
}

TEST(CriteriaRangeTest, HandlesStaySevenPixelsApartAndInsideTheStrip)
{
    DMCriterion c = Criterion(10, 60);
    CriteriaRangeGeometry g = MeasureCriteriaRange(c, 214);
    MoveRangeHandle(g, c, RangeHandle::Lower, 400);
    EXPECT_EQ(g.lowerX, g.upperX - kHandleSeparation);
    EXPECT_FLOAT_EQ(c.lower, c.upper) << "7 pixels apart the handles stand for the same value";
    MoveRangeHandle(g, c, RangeHandle::Lower, -50);
    EXPECT_EQ(g.lowerX, kLowerHandleOffset);
    EXPECT_FLOAT_EQ(c.lower, 0);
    MoveRangeHandle(g, c, RangeHandle::Upper, 0);
    EXPECT_EQ(g.upperX, g.lowerX + kHandleSeparation);
    MoveRangeHandle(g, c, RangeHandle::Upper, 1000);
    EXPECT_EQ(g.upperX, 214 - 4);
    g.lowerX = 10;
    g.upperX = 20;
    EXPECT_EQ(PickRangeHandle(g, 15), RangeHandle::Upper) << "a tie takes the upper";
    EXPECT_EQ(PickRangeHandle(g, 14), RangeHandle::Lower);
}

// Bounds outside the data range (open ones, or a narrower source in view) are drawn at the strip's
// ends and stay as stored; a drag sets only the handle it moves.
TEST(CriteriaRangeTest, BoundsOutsideTheDataRangeAreDrawnAtTheEndsAndKept)
{
    DMCriterion c = Criterion(kNoLowerLimit, 120);
    EXPECT_FLOAT_EQ(ShownLowerBound(c), 0);
    EXPECT_FLOAT_EQ(ShownUpperBound(c), 100);
    CriteriaRangeGeometry g = MeasureCriteriaRange(c, 214);
    EXPECT_EQ(g.lowerX, 3);
    EXPECT_EQ(g.upperX, 210);
    MoveRangeHandle(g, c, RangeHandle::Upper, 160);
    EXPECT_FLOAT_EQ(c.upper, 60);
    EXPECT_EQ(c.lower, kNoLowerLimit) << "the other bound stays open";

    DMCriterion unmeasured = Criterion(-5, 7);
    unmeasured.dataMin = kNoUpperLimit;
    unmeasured.dataMax = kNoLowerLimit;
    EXPECT_FLOAT_EQ(ShownLowerBound(unmeasured), -5);
    EXPECT_FLOAT_EQ(ShownUpperBound(unmeasured), 7);

    DMCriterion reversed = Criterion(60, 10);
    NormaliseSelectedRange(reversed);
    EXPECT_FLOAT_EQ(reversed.lower, 0);
    EXPECT_FLOAT_EQ(reversed.upper, 100);
}

TEST(CriteriaRangeTest, HalvesWithoutWidthPutTheirValuesAtTheMiddle)
{
    struct Case {
        const char* name;
        float dataMin, average, dataMax;
    } cases[] = {
        {"average on the minimum", 0, 0, 100},
        {"average on the maximum", 0, 100, 100},
        {"emptied range", kNoUpperLimit, 0, 0},
        {"one value", 5, 5, 5},
    };
    for (const Case& k : cases) {
        DMCriterion c = Criterion(k.dataMin, k.dataMax);
        c.dataMin = k.dataMin;
        c.dataMax = k.dataMax;
        c.average = k.average;
        const CriteriaRangeGeometry g = MeasureCriteriaRange(c, 214);
        EXPECT_GE(g.lowerX, 0) << k.name;
        EXPECT_LE(g.upperX, 214) << k.name;
        if (g.leftScale == 0) {
            EXPECT_EQ(RangeValueToPixel(g, k.average - 1, RangeHandle::Lower), 103) << k.name;
        }
        EXPECT_TRUE(std::isfinite(RangePixelToValue(g, 50, RangeHandle::Lower))) << k.name;
        EXPECT_TRUE(std::isfinite(RangePixelToValue(g, 150, RangeHandle::Upper))) << k.name;
    }
    // Bounds far outside a narrow range are drawn at its ends instead of overflowing an int.
    DMCriterion narrow = Criterion(-1e30f, 1e30f);
    narrow.dataMin = 0;
    narrow.average = 1e-6f;
    narrow.dataMax = 2e-6f;
    const CriteriaRangeGeometry g = MeasureCriteriaRange(narrow, 214);
    EXPECT_EQ(g.lowerX, kLowerHandleOffset);
    EXPECT_EQ(g.upperX, 214 - 4);
    EXPECT_EQ(RangeValueToPixel(g, 1e30, RangeHandle::Upper), 214) << "a raw value stays on the strip";
}

TEST(CriteriaRangeTest, StripTextsInOrder)
{
    DMCriterion c = Criterion(10, 60);
    EXPECT_EQ(RangeStripText(c, true), nullptr);
    c.locked = 1;
    EXPECT_STREQ(RangeStripText(c, true), "Criteria locked");
    EXPECT_STREQ(RangeStripText(c, false), "Criteria disabled");
    c.noData = 1;
    EXPECT_STREQ(RangeStripText(c, false), "No matching data");
}

} // namespace
