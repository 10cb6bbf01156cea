// The swing chart's walk: two days of a direction turn the swing, an extension between cancels the
// count, the user's edits force turns and trend changes, events of one day and price merge, the
// stored edit list, and a long history's events.
#include "chartmodel/SwingChart.h"

#include "chartmodel/EodChart.h"
#include "chartmodel/GraphSettingDefaults.h"
#include "chartmodel/GraphSettingLayout.h"
#include "chartmodel/SwingOverlay.h"

#include <gtest/gtest.h>

#include <cmath>

namespace qv {
namespace {

// Days dated 1000 on, each from its high and low (close in the middle).
std::vector<DayRecord> Days(std::initializer_list<std::pair<float, float>> highLow)
{
    std::vector<DayRecord> days;
    uint16_t date = 1000;
    for (auto [high, low] : highLow) {
        DayRecord d{};
        d.high = high;
        d.low = low;
        d.open = d.close = (high + low) / 2;
        d.date = date++;
        days.push_back(d);
    }
    return days;
}

uint16_t FlagsOn(const SwingChart& chart, int32_t day)
{
    uint16_t flags = 0;
    for (const SwingEvent& e : chart.events)
        if (e.day == day)
            flags |= e.flags;
    return flags;
}

SwingChart Walk(const std::vector<DayRecord>& days, std::vector<SwingEdit> edits = {}, uint32_t flags = 1)
{
    return ComputeSwingChart(days, 1, 0xFFFF, flags, 0, edits);
}

// Falls for two days (a down swing and trend), then rises.
const std::vector<DayRecord> kDownThenUp = Days({{20, 18}, {19, 17}, {18, 16}, {17, 15}, {18, 16}, {19, 17}, {20, 18}});

TEST(SwingChart, TwoDaysOfADirectionTurnTheSwingAndMarkTheExtremeItLeft)
{
    const SwingChart chart = Walk(kDownThenUp);
    EXPECT_EQ(FlagsOn(chart, 2), kSwingDown | kTrendDown); // the second down day (1, 2)
    // Day 3 extends the down swing; days 4 and 5 rise: the swing turns up on day 5.
    EXPECT_EQ(FlagsOn(chart, 3), kSwingBottom);
    EXPECT_EQ(chart.marks[3], kMarkBottom);
    EXPECT_TRUE(FlagsOn(chart, 5) & kSwingUp);
    EXPECT_FALSE(FlagsOn(chart, 4) & kSwingUp);
    // The last swing's extreme is marked at the end.
    EXPECT_EQ(chart.marks[6], kMarkTop);
    EXPECT_TRUE(FlagsOn(chart, 6) & kSwingTop);
}

TEST(SwingChart, AnExtensionBetweenTheTwoDaysCancelsTheCount)
{
    // Down swing; day 4 rises (one up day), day 5 makes a new low (an extension), day 6 rises once.
    const SwingChart chart = Walk(Days({{20, 18}, {19, 17}, {18, 16}, {17, 15}, {18, 16}, {17.5f, 14}, {18, 16}}));
    for (int32_t day = 4; day <= 6; ++day)
        EXPECT_FALSE(FlagsOn(chart, day) & kSwingUp) << day;
    EXPECT_EQ(chart.marks[5], kMarkBottom);
}

TEST(SwingChart, EditsForceTurnsAndTrendChangesFromTheirDay)
{
    struct Case {
        SwingEdit edit;
        int32_t day;
        uint16_t expected;
    } cases[] = {
        // A down swing edit on a rising day turns the swing down at once.
        {{1006, kEditDownSwing}, 6, kSwingDown},
        // An up swing edit on a falling day of the down swing.
        {{1003, kEditUpSwing}, 3, kSwingUp},
        // An up trend edit turns the trend (and the down swing with it) on its day.
        {{1003, kEditUpTrend}, 3, kTrendUp | kSwingUp},
    };
    for (const Case& c : cases) {
        const SwingChart chart = Walk(kDownThenUp, {c.edit});
        EXPECT_EQ(FlagsOn(chart, c.day) & c.expected, c.expected) << c.edit.type;
    }
    // Without the edit the trend stays down all the way: the rise never passes a swing top.
    for (const SwingEvent& e : Walk(kDownThenUp).events)
        EXPECT_FALSE(e.flags & kTrendUp);
}

TEST(SwingChart, AnUpTrendEditChangesTheShadingFromItsDay)
{
    GraphSetting setting{};
    InitGraphSetting(setting, false);
    graphsetting::SetU32(setting, graphsetting::kSwingFlags, 1 | (3u << 16));
    std::vector<FoldedBar> bars;
    for (int32_t i = 0; i < int32_t(kDownThenUp.size()); ++i)
        bars.push_back({{}, i, i, kDownThenUp[size_t(i)].date});
    const std::vector<SwingShade> plain = SwingShading(setting, Walk(kDownThenUp), bars);
    ASSERT_EQ(plain.size(), 1u) << "down from the first turn to the end";
    EXPECT_EQ(plain[0].firstBar, 2);
    EXPECT_EQ(plain[0].colour, graphsetting::SwingWord(setting, 6) & 0xFFFFFF);
    const std::vector<SwingShade> edited = SwingShading(setting, Walk(kDownThenUp, {{1004, kEditUpTrend}}), bars);
    ASSERT_EQ(edited.size(), 2u);
    EXPECT_EQ(edited[0].lastBar, 3);
    EXPECT_EQ(edited[1].firstBar, 4);
    EXPECT_EQ(edited[1].lastBar, 6);
    EXPECT_EQ(edited[1].colour, graphsetting::SwingWord(setting, 5) & 0xFFFFFF);
}

TEST(SwingChart, PassingTheLastTopTurnsTheTrendUp)
{
    // Down to a bottom, a rally to a top at 19, a fall, then a rise past 19.
    const SwingChart chart = Walk(Days({{20, 18}, {19, 17}, {18, 16}, {17, 15}, {18, 16}, {19, 17}, {18, 16},
                                        {17, 15.5f}, {18, 16}, {19, 17}, {21, 19}}));
    ASSERT_TRUE(FlagsOn(chart, 5) & kSwingTop);
    int32_t trendUp = -1;
    for (const SwingEvent& e : chart.events)
        if (e.flags & kTrendUp) {
            trendUp = e.day;
            EXPECT_FLOAT_EQ(e.price, 19);
        }
    EXPECT_EQ(trendUp, 10);
}

TEST(SwingChart, EventsOfOneDayAndPriceMerge)
{
    std::vector<SwingEvent> events;
    AddSwingEvent(events, kSwingUp, 4, 10);
    AddSwingEvent(events, kTrendUp, 4, 10);
    AddSwingEvent(events, kSwingTop, 4, 11);
    AddSwingEvent(events, kSwingTop, 5, 11);
    ASSERT_EQ(events.size(), 3u);
    EXPECT_EQ(events[0].flags, kSwingUp | kTrendUp);
}

TEST(SwingChart, TheStoredEditListEndsAtADateOfZeroAndSortsByDate)
{
    std::vector<SwingEdit> edits{{1200, kEditUpTrend}, {1100, kEditDownSwing}, {1100, kEditUpSwing}};
    std::vector<uint8_t> bytes = WriteSwingEdits(edits);
    ASSERT_EQ(bytes.size(), 24u);
    bytes.resize(40, 0xEE);
    bytes[24] = bytes[25] = 0;
    const std::vector<SwingEdit> read = ReadSwingEdits(bytes);
    ASSERT_EQ(read.size(), 3u);
    std::vector<SwingEdit> sorted = read;
    SortSwingEdits(sorted);
    EXPECT_EQ(sorted[0].type, kEditDownSwing);
    EXPECT_EQ(sorted[1].type, kEditUpSwing);
    EXPECT_EQ(sorted[2].date, 1200);
    EXPECT_TRUE(ReadSwingEdits(std::vector<uint8_t>(7, 1)).empty()); // a short entry is no entry
}

TEST(SwingChart, AWavyHistoryGivesEventsInDayOrderInsideIt)
{
    std::vector<DayRecord> days;
    for (int i = 0; i < 400; ++i) {
        DayRecord d{};
        const float base = 100 + 10 * std::sin(float(i) / 7);
        d.high = base + 1;
        d.low = base - 1;
        d.close = base;
        d.date = uint16_t(2000 + i);
        days.push_back(d);
    }
    const SwingChart chart = ComputeSwingChart(days, 1, 0xFFFF, 0x10 | 1, 3, {});
    ASSERT_GT(chart.events.size(), 20u);
    for (size_t i = 0; i < chart.events.size(); ++i) {
        EXPECT_GE(chart.events[i].day, 0);
        EXPECT_LT(chart.events[i].day, 400);
        if (i > 0) {
            EXPECT_LE(chart.events[i - 1].day, chart.events[i].day);
        }
    }
    // Nothing past the last date to show.
    const SwingChart cut = ComputeSwingChart(days, 1, 2100, 1, 0, {});
    for (const SwingEvent& e : cut.events)
        EXPECT_LE(e.day, 100);
}

} // namespace
} // namespace qv
