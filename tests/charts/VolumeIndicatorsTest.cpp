// The volume group of the indicator windows: each type's lead-in, levels and lines over one history
// that starts with close-only days, the accumulation, money flow and on-balance volume against their
// public definitions, and the Chaikin oscillator, ease of movement and volume indices against the
// steps they are built from.
#include "charts/IndicatorWindows.h"
#include "charts/PadValueRange.h"
#include "devtools/lib/SyntheticDays.h"
#include "support/IndicatorDays.h"

#include <gtest/gtest.h>

#include <cmath>
#include <deque>

namespace qv {
namespace {

using test::DayPrices;
using test::MakeDays;
using test::RunIndicator;

// 200 days of which the first five know their close only (and no volume).
std::vector<DayRecord> History()
{
    std::vector<DayRecord> days = dev::MakeSyntheticDays(200);
    days.pop_back();
    for (size_t k = 0; k < 5; ++k) {
        days[k].modeMarks = 0;
        days[k].volume = 0;
    }
    return days;
}

TEST(VolumeIndicators, EachTypeStartsAtTheFirstFullDataDay)
{
    struct Case {
        IndicatorRecord record;
        int32_t leadIn;
        std::vector<double> levels;
        size_t lines;
        bool wholeNumbers;
        uint32_t pad;
    };
    const Case cases[] = {
        {IndicatorRecord::Of(42, 0), 5, {}, 1, true, kPadMarginOnly},
        {IndicatorRecord::Of(43, 0), 5, {0}, 1, true, kPadMarginOnly},
        {IndicatorRecord::Of(44, 0, 14), 5, {0}, 1, false, kPadSymmetricZero},
        {IndicatorRecord::Of(46, 0, 0, 10), 5, {}, 2, false, kPadMarginOnly},
        {IndicatorRecord::Of(47, 0, 0, 10), 5, {}, 2, false, kPadMarginOnly},
        {IndicatorRecord::Of(48, 0), 5, {0}, 1, true, kPadMarginOnly},
        {IndicatorRecord::Of(51, 0, 14), 19, {20, 80}, 1, false, kPadMarginOnly},
    };
    const std::vector<DayRecord> days = History();
    for (const Case& c : cases) {
        const int type = c.record.type;
        const test::Run run = RunIndicator(c.record, days);
        ASSERT_EQ(run.result.lines.size(), c.lines) << type;
        EXPECT_EQ(run.result.lines[0].leadIn, c.leadIn) << type;
        EXPECT_EQ(run.values().size(), size_t(200 - c.leadIn)) << type;
        EXPECT_EQ(run.result.levels, c.levels) << type;
        EXPECT_EQ(run.result.wholeNumbers, c.wholeNumbers) << type;
        // The range is the data's, padded by the type's mode.
        ValueRange want{FLT_MAX, -FLT_MAX, 0, 100, 0, 0, nullptr, nullptr};
        for (double v : run.values()) {
            want.minimum = std::min(want.minimum, float(v));
            want.maximum = std::max(want.maximum, float(v));
        }
        PadValueRange(want, nullptr, c.pad);
        EXPECT_FLOAT_EQ(run.range.minimum, want.minimum) << type;
        EXPECT_FLOAT_EQ(run.range.maximum, want.maximum) << type;
        // A share without a full-data day draws nothing.
        std::vector<DayRecord> closeOnly = days;
        for (DayRecord& d : closeOnly)
            d.modeMarks = 0;
        if (type != 48) {
            EXPECT_FALSE(RunIndicator(c.record, closeOnly).drawn()) << type;
        }
    }
}

TEST(VolumeIndicators, AccumulationIsThePublicDefinitionAndSkipsFlatDaysAndNegativeVolume)
{
    const std::vector<DayRecord> days = MakeDays({{10, 12, 8, 11, 100},
                                                  {11, 13, 10, 10, 200},
                                                  {10, 10, 10, 10, 500},   // high = low
                                                  {10, 14, 9, 13, -50},    // negative volume
                                                  {13, 15, 12, 15, 300}});
    const test::Run run = RunIndicator(IndicatorRecord::Of(42, 0), days);
    double ad = 0;
    std::vector<double> want;
    for (const DayRecord& d : days) {
        if (d.high != d.low && d.volume >= 0)
            ad += ((d.close - d.low) - (d.high - d.close)) / (d.high - d.low) * d.volume;
        want.push_back(ad);
    }
    ASSERT_EQ(run.values().size(), want.size());
    for (size_t k = 0; k < want.size(); ++k)
        EXPECT_NEAR(run.values()[k], want[k], 1e-9) << k;
}

TEST(VolumeIndicators, ChaikinAveragesStartAtTheFirstCloseAndAtZero)
{
    const std::vector<DayRecord> days = History();
    const test::Run ad = RunIndicator(IndicatorRecord::Of(42, 0), days);
    const test::Run run = RunIndicator(IndicatorRecord::Of(43, 0), days);
    ASSERT_EQ(run.values().size(), ad.values().size());
    double slow = days[5].close, fast = 0;
    for (size_t i = 0; i < ad.values().size(); ++i) {
        slow = ad.values()[i] * (2.0 / 11) + slow * (9.0 / 11);
        fast = fast / 2 + ad.values()[i] / 2;
        EXPECT_NEAR(run.values()[i], fast - slow, 1e-6 * std::max(1.0, std::fabs(fast))) << i;
    }
    // The first close dominates the first values.
    EXPECT_NEAR(run.values()[0], ad.values()[0] / 2 - (ad.values()[0] * 2 / 11 + days[5].close * 9 / 11), 1e-3);
}

TEST(VolumeIndicators, EaseOfMovementSkipsDaysWithoutVolumeAndFlatDaysAddZero)
{
    std::vector<DayPrices> prices{{10, 11, 9, 10, 0.5f},      // full data, volume below 1: lead-in
                                  {10, 12, 10, 11, 1000},
                                  {11, 11.0005f, 11, 11, 800}, // a range of 0.001 or less
                                  {11, 14, 11, 13, 0},         // no volume
                                  {13, 15, 12, 14, 1200}};
    const std::vector<DayRecord> days = MakeDays(prices);
    const test::Run run = RunIndicator(IndicatorRecord::Of(44, 0, 3), days);
    EXPECT_EQ(run.result.lines[0].leadIn, 1);
    ASSERT_EQ(run.values().size(), 4u);
    const double factor = 2.0 / 4;
    double previous = (11.0 + 9) / 2, smoothed = 0;
    for (size_t k = 1; k < days.size(); ++k) {
        const DayRecord& d = days[k];
        const double mid = (double(d.high) + d.low) / 2, span = double(d.high) - d.low;
        const double value = span > 0.001 && d.volume > 0 ? (mid - previous) / (d.volume / (span * 10000)) : 0;
        smoothed = value * factor + smoothed * (1 - factor);
        previous = mid;
        EXPECT_NEAR(run.values()[k - 1], smoothed, 1e-9) << k;
    }
    EXPECT_EQ(run.values()[1], run.values()[0] * 0.5);  // the flat day adds 0; smoothing runs on
    // A period below 1 counts as 1: no division by zero.
    EXPECT_TRUE(std::isfinite(RunIndicator(IndicatorRecord::Of(44, 0, -1), days).values().back()));
}

TEST(VolumeIndicators, VolumeIndicesMoveOnlyOnTheirDaysAndAverageFromLeadInPlusM)
{
    // Falling volume, then rising.
    const std::vector<DayRecord> days = MakeDays({{10, 11, 9, 10, 900},
                                                  {10, 12, 9, 12, 800},
                                                  {12, 13, 11, 11, 700},
                                                  {11, 15, 11, 14, 800},
                                                  {14, 15, 12, 12, 900},
                                                  {12, 13, 11, 13, 100}});
    const test::Run positive = RunIndicator(IndicatorRecord::Of(46, 0, 0, 2), days);
    const test::Run negative = RunIndicator(IndicatorRecord::Of(47, 0, 0, 2), days);
    std::vector<double> wantPositive{10, 10, 10}, wantNegative{10, 12, 11};
    wantPositive.push_back(10 + 10 * (14.0 - 11) / 11);
    wantPositive.push_back(wantPositive[3] + wantPositive[3] * (12.0 - 14) / 14);
    wantPositive.push_back(wantPositive[4]);
    wantNegative.push_back(11);
    wantNegative.push_back(11);
    wantNegative.push_back(11 + 11 * (13.0 - 12) / 12);
    for (size_t k = 0; k < days.size(); ++k) {
        EXPECT_NEAR(positive.values()[k], wantPositive[k], 1e-9) << k;
        EXPECT_NEAR(negative.values()[k], wantNegative[k], 1e-9) << k;
    }
    // The average of period 2 starts on day 2 (lead-in 0 + 2): the mean of days 1 and 2.
    const IndicatorLine& mean = negative.result.lines.at(1);
    EXPECT_EQ(mean.leadIn, 2);
    EXPECT_TRUE(mean.onlyAfterDrawn);
    ASSERT_EQ(mean.values.size(), 4u);
    for (size_t k = 2; k < days.size(); ++k)
        EXPECT_NEAR(mean.values[k - 2], (wantNegative[k] + wantNegative[k - 1]) / 2, 1e-9) << k;

    // A zero previous close leaves the index where it is.
    const std::vector<DayRecord> zero = MakeDays({{1, 1, 1, 1, 100}, {1, 1, 0, 0, 200}, {1, 2, 1, 2, 300}});
    const test::Run run = RunIndicator(IndicatorRecord::Of(46, 0, 0, 2), zero);
    EXPECT_EQ(run.values(), (std::vector<double>{1, 0, 0}));
    EXPECT_TRUE(std::isfinite(run.range.maximum));
}

TEST(VolumeIndicators, OnBalanceVolumeLeavesCloseOnlyDaysOutOfItsValuesAndCountsThemInItsLeadIn)
{
    const std::vector<DayRecord> days = MakeDays({{0, 0, 0, 10, 0, 0},
                                                  {10, 11, 9, 11, 100},
                                                  {0, 0, 0, 12, 0, 0},
                                                  {12, 13, 10, 10, 300},
                                                  {10, 11, 9, 10, 400},
                                                  {10, 12, 9, 12, 500}});
    const test::Run run = RunIndicator(IndicatorRecord::Of(48, 0), days);
    EXPECT_EQ(run.result.lines[0].leadIn, 2);
    // +100 (up), close-only day, -300 (down), unchanged, +500 (up).
    EXPECT_EQ(run.values(), (std::vector<double>{100, -200, -200, 300}));
}

TEST(VolumeIndicators, MoneyFlowIsThePublicIndexOverTheLastNDays)
{
    const std::vector<DayRecord> days = History();
    const int n = 14;
    const test::Run run = RunIndicator(IndicatorRecord::Of(51, 0, n), days);
    const size_t first = 5;
    auto typical = [&](size_t k) { return (days[k].high + days[k].low + days[k].close) * 0.33333334f; };
    ASSERT_EQ(run.values().size(), days.size() - first - n);
    for (size_t k = first + n; k < days.size(); ++k) {
        double up = 0, down = 0;
        for (size_t j = k - n + 1; j <= k; ++j) {
            const double flow = double(typical(j)) * days[j].volume;
            if (typical(j) > typical(j - 1))
                up += flow;
            else if (typical(j) < typical(j - 1))
                down += flow;
        }
        EXPECT_NEAR(run.values()[k - first - n], 100 - 100 / (1 + up / down), 1e-6) << k;
    }
    // Rising typical prices only: the index approaches 100 without reaching it; no flow at all gives 0.
    std::vector<float> rising;
    for (int i = 0; i < 30; ++i)
        rising.push_back(10.0f + float(i));
    const test::Run up = RunIndicator(IndicatorRecord::Of(51, 0, 5), test::DaysOfCloses(rising));
    EXPECT_GT(up.values().back(), 99.9);
    EXPECT_LT(up.values().back(), 100);
    const test::Run flat = RunIndicator(IndicatorRecord::Of(51, 0, 5), test::DaysOfCloses(std::vector<float>(30, 7)));
    EXPECT_EQ(flat.values().back(), 0);
    // The first full-data day at the very start and a period below 1: nothing read before the array.
    EXPECT_TRUE(RunIndicator(IndicatorRecord::Of(51, 0, 0), test::DaysOfCloses(rising)).drawn());
}

TEST(VolumeIndicators, TheVolumeWindowsColourModes)
{
    const uint32_t want[9] = {1, 3, 3, 3, 2, 5, 5, 2, 2};
    for (int mode = 0; mode < 9; ++mode)
        EXPECT_EQ(VolumeColourMode(mode), want[mode]) << mode;
}

} // namespace
} // namespace qv
