// Tests of the time field's rules: reading typed times, the chooser grid and its limits, pairs, and
// the trading-times list rows.
#include "shell/TimeFieldRules.h"
#include "shell/TimesListRules.h"

#include <gtest/gtest.h>

using namespace qv;

namespace {

TEST(TimeFieldRules, TypedTimesReadAsTheFieldShowsThem)
{
    struct Case {
        const char* text;
        const char* shown;
    };
    for (const Case& c : std::vector<Case>{
             {"7:5", "07:05"},
             {"24:30", "24:00"},
             {"25:00", "00:00"},
             {"09:59", "09:59"},
             {"9:60", "09:00"},
             {"12", "12:00"},
             {"", "00:00"},
             {":30", "00:30"},
             {"0730", "00:00"},   // 730 hours
             {"10:3099", "10:00"}, // only "10:309" is read: minutes 309
             {"1.45", "01:45"},   // any one character divides
         })
        EXPECT_EQ(FormatTimeOfDay(ParseTimeText(c.text)), c.shown) << c.text;
    EXPECT_EQ(ParseTimeText("24:00"), kSecondsPerDay);
}

TEST(TimeFieldRules, TheChooserGridRepeatsEachColumnsLastTime)
{
    EXPECT_EQ(ChooserTime(0, 0), 0);
    EXPECT_EQ(ChooserTime(0, 12), 6 * 3600);
    EXPECT_EQ(ChooserTime(1, 0), 6 * 3600);
    EXPECT_EQ(ChooserTime(3, 12), kSecondsPerDay);
    const ChooserMetrics m{3, 50, 16};
    struct Case {
        int x, y, time;
    };
    for (const Case& c : std::vector<Case>{
             {3, 3, 0},
             {52, 20, 1800},
             {53, 3, 6 * 3600},
             {202, 3 + 13 * 16 - 1, kSecondsPerDay},
             {2, 10, -1},
             {40, 3 + 13 * 16, -1},  // below the last row: not a time of the next column
             {203, 10, -1},
         })
        EXPECT_EQ(ChooserHitTime(m, c.x, c.y), c.time) << c.x << "," << c.y;
}

TEST(TimeFieldRules, TheLimitBoundsTheChoice)
{
    EXPECT_FALSE(ChooserAllows(9 * 3600, 9 * 3600, false));
    EXPECT_TRUE(ChooserAllows(9 * 3600 + 1800, 9 * 3600, false));
    EXPECT_FALSE(ChooserAllows(9 * 3600, 9 * 3600, true));
    EXPECT_TRUE(ChooserAllows(8 * 3600 + 1800, 9 * 3600, true));
    EXPECT_FALSE(ChooserAllows(17 * 3600, 9 * 3600, true));
    EXPECT_TRUE(ChooserAllows(0, kNoTimeLimit, false));
    EXPECT_TRUE(ChooserAllows(kSecondsPerDay, kNoTimeLimit, true));
}

TEST(TimeFieldRules, APairKeepsItsStartBeforeItsEnd)
{
    EXPECT_EQ(OrderTimePair(true, 17 * 3600, 8 * 3600).own, 8 * 3600);
    EXPECT_EQ(OrderTimePair(true, 17 * 3600, 8 * 3600).partner, 17 * 3600);
    EXPECT_EQ(OrderTimePair(false, 8 * 3600, 17 * 3600).own, 17 * 3600);
    EXPECT_EQ(OrderTimePair(false, 8 * 3600, 17 * 3600).partner, 8 * 3600);
    EXPECT_EQ(OrderTimePair(true, 8 * 3600, 17 * 3600).own, 8 * 3600);
}

TEST(TimesListRules, RowsSplitBandAndClampTheirDivider)
{
    EXPECT_EQ(SplitTimesRow("London opens\tGMT").label, "London opens");
    EXPECT_EQ(SplitTimesRow("London opens\tGMT").suffix, "GMT");
    EXPECT_EQ(SplitTimesRow("No tab").label, "No tab");
    EXPECT_EQ(SplitTimesRow("No tab").suffix, "");
    EXPECT_EQ(TimesColumnText(8 * 3600 + 5 * 60, "GMT"), " 08:05 GMT");
    EXPECT_EQ(TimesColumnText(16 * 3600 + 30 * 60, ""), " 16:30 ");
    for (int row : {0, 1, 4, 5, 8})
        EXPECT_TRUE(IsBandRow(row)) << row;
    for (int row : {2, 3, 6, 7})
        EXPECT_FALSE(IsBandRow(row)) << row;
    EXPECT_EQ(BandColour(0xFFFFFF, 0x000000), 0xBFBFBFu);
    EXPECT_EQ(BandColour(0xFFFFFF, 0xD77800), 0xF5DDBFu);
    EXPECT_EQ(ClampDivider(-40, 200), 10);
    EXPECT_EQ(ClampDivider(120, 200), 120);
    EXPECT_EQ(ClampDivider(250, 200), 190);
    EXPECT_TRUE(NearDivider(95, 100));
    EXPECT_FALSE(NearDivider(94, 100));
}

} // namespace
