// The intraday chart's pivot series and moving averages over two days of period bars: each bar's
// levels from the bar before, every day afresh unless the data flows on, and averages that restart
// with the day or run on over it.
#include "charts/IntradayStudies.h"

#include <gtest/gtest.h>

namespace qv {
namespace {

PeriodBars Bars(std::initializer_list<Bar> bars)
{
    PeriodBars out;
    out.start = 28800;
    out.period = 300;
    out.bars = bars;
    return out;
}

const PeriodBars kDay1 = Bars({{10, 12, 8, 11, 0}, {11, 13, 9, 12, 0}, {12, 16, 11, 15, 0}});
const PeriodBars kDay2 = Bars({{15, 17, 14, 16, 0}, {16, 18, 15, 17, 0}});

TEST(IntradayStudiesTest, PivotLevelsComeFromTheBarBeforeAndRestartEachDayUnlessFlowing)
{
    const PeriodBars* days[] = {&kDay1, &kDay2};
    // The pivot, its first resistance (bit 1) and its second support (bit 4), in that order.
    const uint8_t mask = 0b10011;
    const auto apart = PivotSeriesLines(days, 0, mask, false);
    ASSERT_EQ(apart.size(), 2u);
    ASSERT_EQ(apart[0].size(), 3u);
    // Bar 1 from bar 0 (high 12, low 8, close 11): pivot 31/3, R1 2p - 8, S2 p - 4.
    const float p = 31.0f / 3;
    EXPECT_FLOAT_EQ(apart[0][0][1], p);
    EXPECT_FLOAT_EQ(apart[0][1][1], 2 * p - 8);
    EXPECT_FLOAT_EQ(apart[0][2][1], p - 4);
    for (const auto& line : apart[0])
        EXPECT_EQ(line[0], 0.0f) << "the first bar of the day has no bar before it";
    for (const auto& line : apart[1])
        EXPECT_EQ(line[0], 0.0f) << "a new day starts afresh";
    EXPECT_FLOAT_EQ(apart[1][0][1], (17.0f + 14 + 16) / 3);

    const auto flowing = PivotSeriesLines(days, 0, mask, true);
    EXPECT_FLOAT_EQ(flowing[1][0][0], (16.0f + 11 + 15) / 3) << "the day's first bar from the day before's last";
    EXPECT_EQ(flowing[0][0][0], 0.0f);
    EXPECT_TRUE(PivotSeriesLines(days, 0, 0, true)[0].empty()) << "no mask, no lines";
}

TEST(IntradayStudiesTest, AveragesRestartWithTheDayOrRunOnOverIt)
{
    const PeriodBars both = Bars({{0, 0, 0, 11, 0}, {0, 0, 0, 12, 0}, {0, 0, 0, 15, 0}, {0, 0, 0, 16, 0}, {0, 0, 0, 17, 0}});
    // Shown, simple, over 2 bars.
    const uint32_t word = 0x80000000u | 2;
    const PeriodBars* days[] = {&kDay1, &kDay2};
    const PeriodBars* second[] = {&kDay2};
    const PeriodBars* joined[] = {&both};
    const auto apart = MovingAverageLines(days, word, false);
    const auto flowing = MovingAverageLines(days, word, true);
    const auto alone = MovingAverageLines(second, word, false);
    const auto whole = MovingAverageLines(joined, word, false);
    ASSERT_EQ(apart.size(), 2u);
    ASSERT_EQ(apart[1].size(), 1u) << "no bands asked for";
    EXPECT_EQ(apart[1][0], alone[0][0]) << "the second day on its own";
    EXPECT_EQ(flowing[1][0][0], whole[0][0][3]);
    EXPECT_EQ(flowing[1][0][1], whole[0][0][4]);
    EXPECT_NE(flowing[1][0][0], apart[1][0][0]);
    EXPECT_FLOAT_EQ(whole[0][0][4], 16.5f);
}

TEST(IntradayStudiesTest, AveragesLeaveOutTheLeadInWhenAskedAndDrawTheirBands)
{
    const PeriodBars* days[] = {&kDay1};
    // Over 3 bars, with bands (bit 30) of an envelope (bit 29) 10% wide.
    const uint32_t word = 0x80000000u | 1u << 30 | 1u << 29 | 10u << 12 | 3;
    const auto shown = MovingAverageLines(days, word, false);
    ASSERT_EQ(shown[0].size(), 3u);
    EXPECT_NE(shown[0][0][0], 0.0f) << "the lead-in is drawn unless the word holds it back";
    for (size_t i = 0; i < 3; ++i) {
        EXPECT_GT(shown[0][1][i], shown[0][0][i]);
        EXPECT_LT(shown[0][2][i], shown[0][0][i]);
    }
    const auto held = MovingAverageLines(days, word | 1u << 28 | 1u << 27, false);
    EXPECT_EQ(held[0][0][0], 0.0f);
    EXPECT_EQ(held[0][1][0], 0.0f);
    EXPECT_NE(held[0][0][2], 0.0f) << "a whole period by the third bar";
    EXPECT_EQ(held[0][0][2], shown[0][0][2]);
}

} // namespace
} // namespace qv
