// The indicator crosses of the intraday alarms on synthetic bars: which bar, what time, what text.
#include "realtime/alarms/IndicatorAlarms.h"

#include "realtime/alarms/AlarmRules.h"

#include <gtest/gtest.h>

using namespace qv;

namespace {

std::vector<AlarmBar> Bars(const std::vector<float>& closes)
{
    std::vector<AlarmBar> bars;
    for (float c : closes)
        bars.push_back({c, c + 0.5f, c - 0.5f, c});
    return bars;
}

constexpr int32_t kFirst = 8 * 3600, kLength = 300;

BarSeries Series(const std::vector<AlarmBar>& bars, int32_t startBar = 0)
{
    return BarSeries{bars, kFirst, kLength, kFirst + startBar * kLength};
}

RTAlarmSettings AllOff()
{
    RTAlarmSettings s = RTAlarmSettings::Defaults();
    s.maOn = 0;
    return s;
}

const std::vector<float> kVee = {20, 19, 18, 17, 16, 15, 14, 13, 12, 14, 16, 18, 20, 22, 21, 20, 19, 18, 17};

// A rise that turns at 28 and falls through the averages at bar 10.
const std::vector<float> kPeak = {20, 21, 22, 23, 24, 25, 26, 27, 28, 25, 22, 19, 16, 13, 14, 15, 16};

} // namespace

TEST(IndicatorAlarms, MovingAverageGoldenAndDeadCrossesAtTheCrossingBar)
{
    RTAlarmSettings s = AllOff();
    s.maOn = 1;
    s.shortCount = 2;
    s.longCount = 4;
    s.triggerLevel = 1;
    const auto up = Bars(kVee), down = Bars(kPeak);
    const uint32_t at = kFirst + 10 * kLength; // 8:50
    EXPECT_EQ(AverageCrosses(Series(up), s, "GMT"),
              (std::vector<IndicatorCross>{{kAlarmGoldenCross, at, "Golden cross at 8:50 GMT"}}));
    EXPECT_EQ(AverageCrosses(Series(down), s, "GMT"),
              (std::vector<IndicatorCross>{{kAlarmDeadCross, at, "Dead cross at 8:50 GMT"}}));
    EXPECT_TRUE(AverageCrosses(Series(up, 11), s, "GMT").empty()) << "before the evaluation start";
    s.maCrossFlags = 2;
    EXPECT_TRUE(AverageCrosses(Series(up), s, "GMT").empty()) << "golden crosses not checked";
    EXPECT_EQ(FindIndicatorCrosses(Series(down), s, "GMT").size(), 1u);
}

TEST(IndicatorAlarms, MacdCrossesWhereTheSignFlipsAndNeedsThreeBars)
{
    RTAlarmSettings s = AllOff();
    s.macdLong = 6;
    s.macdShort = 3;
    s.macdSignal = 2;
    std::vector<float> closes;
    for (int i = 0; i < 20; ++i)
        closes.push_back(100 - i);
    for (int i = 0; i < 20; ++i)
        closes.push_back(81 + 2 * i);
    const auto bars = Bars(closes);
    const auto crosses = MacdCrosses(Series(bars, 10), s, "GMT");
    ASSERT_EQ(crosses.size(), 1u);
    const int32_t index = (int32_t(crosses[0].time) - kFirst) / kLength;
    EXPECT_GT(index, 19);
    EXPECT_LT(index, 24) << "soon after the turn";
    EXPECT_EQ((int32_t(crosses[0].time) - kFirst) % kLength, 0);
    EXPECT_EQ(crosses[0].text, "MACD cross at " + AlarmTimeText(crosses[0].time, "GMT"));
    EXPECT_TRUE(MacdCrosses(Series(bars, index + 1), s, "GMT").empty());
    EXPECT_TRUE(MacdCrosses(Series(Bars({1, 2, 3}), 1), s, "GMT").empty()) << "fewer than three bars after the start";
    s.macdLong = -6;
    EXPECT_TRUE(FindIndicatorCrosses(Series(bars, 10), s, "GMT").empty()) << "stored negative: off";
}

TEST(IndicatorAlarms, RsiCrossesItsLevelsOnceEachWay)
{
    RTAlarmSettings s = AllOff();
    s.rsiCount = 5;
    for (int16_t smoothing : {1, 2, 3}) {
        s.rsiSmoothing = smoothing;
        std::vector<float> closes;
        for (int i = 0; i < 20; ++i)
            closes.push_back(i % 2 ? 101.0f : 100.0f);
        for (int i = 0; i < 10; ++i)
            closes.push_back(102.0f + 3 * i);
        for (int i = 0; i < 15; ++i)
            closes.push_back(128.0f - 4 * i);
        const auto crosses = RsiCrosses(Series(Bars(closes), 5), s, "GMT");
        ASSERT_EQ(crosses.size(), 2u) << smoothing;
        EXPECT_EQ(crosses[0].text.rfind("RSI crossed 70% at ", 0), 0u);
        EXPECT_EQ(crosses[1].text.rfind("RSI crossed 30% at ", 0), 0u);
        EXPECT_GE(crosses[0].time, uint32_t(kFirst + 20 * kLength));
        EXPECT_LT(crosses[0].time, crosses[1].time);
        EXPECT_GE(crosses[1].time, uint32_t(kFirst + 30 * kLength));
    }
}

TEST(IndicatorAlarms, StochasticLevelAndSignalCrossesByTheirChecks)
{
    RTAlarmSettings s = AllOff();
    s.stochCount = 5;
    std::vector<float> closes;
    for (int i = 0; i < 12; ++i)
        closes.push_back(100.0f + (i % 2));
    for (int i = 0; i < 10; ++i)
        closes.push_back(102.0f + 2 * i);
    for (int i = 0; i < 10; ++i)
        closes.push_back(120.0f - 3 * i);
    const auto bars = Bars(closes);
    s.stochChecks = 1;
    const auto levels = StochasticCrosses(Series(bars, 3), s, "GMT");
    ASSERT_FALSE(levels.empty());
    EXPECT_EQ(levels[0].text.rfind("Stoch. osc. level cross 70% at ", 0), 0u);
    EXPECT_EQ(levels.back().text.rfind("Stoch. osc. level cross 30% at ", 0), 0u);
    s.stochChecks = 2;
    const auto signalCrosses = StochasticCrosses(Series(bars, 3), s, "GMT");
    ASSERT_FALSE(signalCrosses.empty());
    for (const IndicatorCross& c : signalCrosses) {
        EXPECT_EQ(c.kind, kAlarmStochastic);
        EXPECT_EQ(c.text.rfind("Stoch. osc. signal cross at ", 0), 0u);
    }
    s.stochChecks = 0;
    EXPECT_TRUE(StochasticCrosses(Series(bars, 3), s, "GMT").empty());
}
