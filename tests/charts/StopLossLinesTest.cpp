// The stop-loss lines: the long, short and both-ways rules as a table over closes, a point only where
// the stop steps, the start day, the floor at 0, and the lines the masks and records ask for.
#include "charts/StopLossLines.h"
#include "support/IndicatorDays.h"

#include <gtest/gtest.h>

namespace qv {
namespace {

StopRecord Stop(uint16_t flags, float percent)
{
    StopRecord r;
    r.flags = flags;
    r.percent = percent;
    r.pen = 0xFF;
    return r;
}

std::vector<float> Stops(const StopLine& line)
{
    std::vector<float> v;
    for (const StopLinePoint& p : line.points)
        v.push_back(p.stop);
    return v;
}

TEST(StopLossLines, TheLongShortAndBothWaysRules)
{
    const std::vector<float> closes{100, 110, 105, 120, 90, 95};
    struct Case {
        uint16_t flags;
        std::vector<float> closes;
        std::vector<int32_t> records;
        std::vector<float> stops;
    } cases[] = {
        // Long: the floor 10% under the close, never lower.
        {0, closes, {0, 1, 3}, {90, 99, 108}},
        // Long, both ways: down to the ceiling when the close falls through it.
        {StopFlag::MoveBothWays, closes, {0, 1, 3, 4}, {90, 99, 108, 99}},
        // Short: the ceiling 10% over the close, never higher.
        {StopFlag::StopGain, closes, {0, 4}, {110, 99}},
        // Short, both ways: up to the floor when the close rises through it.
        {StopFlag::StopGain | StopFlag::MoveBothWays, {100, 125, 90}, {0, 1, 2}, {110, 112.5f, 99}},
    };
    for (const Case& c : cases) {
        const StopLine line = BuildStopLine(test::DaysOfCloses(c.closes), Stop(c.flags, 10), kDisplayEndOpen);
        std::vector<int32_t> records;
        for (const StopLinePoint& p : line.points)
            records.push_back(p.record);
        EXPECT_EQ(records, c.records) << c.flags;
        const std::vector<float> stops = Stops(line);
        ASSERT_EQ(stops.size(), c.stops.size()) << c.flags;
        for (size_t i = 0; i < stops.size(); ++i)
            EXPECT_FLOAT_EQ(stops[i], c.stops[i]) << c.flags << " " << i;
        EXPECT_FLOAT_EQ(line.last, c.stops.back()) << c.flags;
    }
}

TEST(StopLossLines, StepsStartDaysAndTheFloor)
{
    // Closes that only rise: a long stop steps up at every close.
    const std::vector<DayRecord> rising = test::DaysOfCloses({10, 11, 12, 13, 14});
    EXPECT_EQ(BuildStopLine(rising, Stop(0, 5), kDisplayEndOpen).points.size(), 5u);
    // Points after the last day drawn are left out, but the last value follows the data.
    const StopLine cut = BuildStopLine(rising, Stop(0, 5), rising[2].date);
    EXPECT_EQ(cut.points.size(), 3u);
    EXPECT_FLOAT_EQ(cut.last, 14 * 0.95f);
    // A start day after the data: no point, no value.
    StopRecord late = Stop(StopFlag::StartAtDate, 5);
    late.startDate = NextWeekday(rising[4].date);
    const StopLine none = BuildStopLine(rising, late, kDisplayEndOpen);
    EXPECT_TRUE(none.points.empty());
    EXPECT_EQ(none.last, -1.0f);
    // A start day within: the line starts there.
    late.startDate = rising[3].date;
    EXPECT_EQ(BuildStopLine(rising, late, kDisplayEndOpen).points.front().record, 3);
    // 100% or more: the long stop's floor is 0.
    const StopLine floor = BuildStopLine(rising, Stop(0, 150), kDisplayEndOpen);
    ASSERT_EQ(floor.points.size(), 1u);
    EXPECT_EQ(floor.points[0].stop, 0);
}

} // namespace
} // namespace qv
