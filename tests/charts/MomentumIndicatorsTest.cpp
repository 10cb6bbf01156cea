// The momentum and oscillator group of the indicator windows: each type's lines, lead-in, levels and
// range rule over one history, the edge cases of the group, and the rate of change and the up/down
// count against their public definitions.
#include "charts/PadValueRange.h"
#include "devtools/lib/SyntheticDays.h"
#include "support/IndicatorDays.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

namespace qv {
namespace {

using test::RunIndicator;

enum class Rule { Fixed, Data, DataSymmetric, AboutHundred, HoldsSeven };

struct RowCase {
    IndicatorRecord record;
    size_t lines;
    int32_t leadIn;
    std::vector<double> levels;
    Rule rule;
    float low = 0, high = 0;  // the fixed range before padding
    bool histogram = false;
};

// The range a row's rule gives over the values drawn, padded as the row says.
ValueRange Expected(const RowCase& c, const test::Run& run)
{
    ValueRange r{FLT_MAX, -FLT_MAX, 0, 100, 0, 0, nullptr, nullptr};
    for (const IndicatorLine& line : run.result.lines) {
        for (double v : line.values)
            if (!std::isnan(v)) {
                r.minimum = std::min(r.minimum, float(v));
                r.maximum = std::max(r.maximum, float(v));
            }
        for (double v : line.histogram) {
            r.minimum = std::min(r.minimum, float(v));
            r.maximum = std::max(r.maximum, float(v));
        }
    }
    switch (c.rule) {
    case Rule::Fixed:
        r.minimum = c.low;
        r.maximum = c.high;
        PadValueRange(r, nullptr, kPadMarginOnly);
        break;
    case Rule::Data: PadValueRange(r, nullptr, kPadMarginOnly); break;
    case Rule::DataSymmetric: PadValueRange(r, nullptr, kPadSymmetricZero); break;
    case Rule::AboutHundred:
        r.minimum = std::min(r.minimum, 99.0f);
        r.maximum = std::max(r.maximum, 101.0f);
        PadValueRange(r, nullptr, kPadSymmetricHundred);
        break;
    case Rule::HoldsSeven:
        r.minimum = std::min(r.minimum, -7.0f);
        r.maximum = std::max(r.maximum, 7.0f);
        PadValueRange(r, nullptr, kPadMarginOnly);
        break;
    }
    return r;
}

TEST(MomentumIndicators, EachTypeDrawsItsLinesLevelsAndRange)
{
    const std::vector<DayRecord> days = dev::MakeSyntheticDays(300);
    const RowCase cases[] = {
        {IndicatorRecord::Of(1, 0, 10), 1, 0, {0}, Rule::DataSymmetric},
        {IndicatorRecord::Of(2, 0, 14), 1, 14, {30, 50, 70}, Rule::Fixed, 0, 100},
        {IndicatorRecord::Of(5, 0, 10), 1, 0, {100}, Rule::AboutHundred},
        {IndicatorRecord::Of(8, 3, 12, 26, 9), 2, 0, {0}, Rule::DataSymmetric, 0, 0, true},
        {IndicatorRecord::Of(10, 0, 12), 1, 12, {0}, Rule::DataSymmetric},
        {IndicatorRecord::Of(11, 0, 5, 20), 1, 0, {0}, Rule::DataSymmetric},
        {IndicatorRecord::Of(12, 0, 14, 3, 3), 2, 0, {25, 50, 75}, Rule::Fixed, 0, 100},
        {IndicatorRecord::Of(14, 0), 1, 9, {-6, 0, 6}, Rule::HoldsSeven},
        {IndicatorRecord::Of(52, 0, 20), 1, 0, {-100, 0, 100}, Rule::DataSymmetric},
        {IndicatorRecord::Of(53, 0, 14), 1, 0, {-80, -20}, Rule::Fixed, -100, 0},
        {IndicatorRecord::Of(57, 0, 14), 1, 14, {}, Rule::Data},
    };
    for (RowCase c : cases) {
        c.record.pens = {0x11, 0x22, 0x33, 0x44};
        const test::Run run = RunIndicator(c.record, days, 100);
        const int type = c.record.type;
        ASSERT_EQ(run.result.lines.size(), c.lines) << type;
        EXPECT_EQ(run.result.levels, c.levels) << type;
        const IndicatorLine& first = run.result.lines[0];
        EXPECT_EQ(first.leadIn, c.leadIn) << type;
        EXPECT_EQ(first.pen, 0x11u) << type;
        EXPECT_EQ(first.values.size(), 200u) << type;  // one per day from the first visible
        EXPECT_EQ(first.histogram.size(), c.histogram ? 200u : 0u) << type;
        if (c.lines == 2) {
            EXPECT_EQ(run.result.lines[1].pen, 0x22u) << type;
            EXPECT_EQ(run.result.lines[1].values.size(), 200u) << type;
        }
        const ValueRange want = Expected(c, run);
        EXPECT_FLOAT_EQ(run.range.minimum, want.minimum) << type;
        EXPECT_FLOAT_EQ(run.range.maximum, want.maximum) << type;
    }
}

TEST(MomentumIndicators, AFixedRangeIsLeftAsItWas)
{
    const std::vector<DayRecord> days = dev::MakeSyntheticDays(120);
    ValueRange fixed{10, 20, 0, 100, 0, kRangeFixed, nullptr, nullptr};
    for (int type : {1, 2, 5, 8, 10, 11, 12, 14, 52, 53, 57}) {
        const test::Run run = RunIndicator(IndicatorRecord::Of(type, 3, 14, 26, 9), days, 0, -1, &fixed);
        EXPECT_TRUE(run.drawn()) << type;
        EXPECT_EQ(run.range.minimum, 10) << type;
        EXPECT_EQ(run.range.maximum, 20) << type;
    }
}

TEST(MomentumIndicators, NothingIsReadAfterTheLastDayDrawn)
{
    std::vector<DayRecord> days = dev::MakeSyntheticDays(300);
    std::vector<DayRecord> spoilt = days;
    for (size_t k = 201; k < spoilt.size(); ++k)
        spoilt[k].open = spoilt[k].high = spoilt[k].low = spoilt[k].close = 1e9f;
    for (int type : {1, 2, 5, 8, 10, 11, 12, 14, 52, 53, 57}) {
        const IndicatorRecord record = IndicatorRecord::Of(type, 3, 14, 26, 9);
        const test::Run a = RunIndicator(record, days, 50, 200);
        const test::Run b = RunIndicator(record, spoilt, 50, 200);
        ASSERT_TRUE(a.drawn()) << type;
        EXPECT_EQ(a.values().size(), 151u) << type;
        EXPECT_EQ(a.values(), b.values()) << type;
        EXPECT_EQ(a.range.maximum, b.range.maximum) << type;
    }
}

TEST(MomentumIndicators, TheGroupsEdgeCases)
{
    // A history shorter than the rate of change's period: no line (the window keeps its name).
    EXPECT_FALSE(RunIndicator(IndicatorRecord::Of(10, 0, 12), dev::MakeSyntheticDays(12)).drawn());
    EXPECT_TRUE(RunIndicator(IndicatorRecord::Of(10, 0, 12), dev::MakeSyntheticDays(13)).drawn());

    // RSI with flags bit 2 keeps only the 50 level; its first n days have no value.
    const test::Run rsi = RunIndicator(IndicatorRecord::Of(2, 4, 14), dev::MakeSyntheticDays(60));
    EXPECT_EQ(rsi.result.levels, std::vector<double>{50});
    EXPECT_EQ(rsi.values().size(), 46u);
    EXPECT_EQ(rsi.result.lines[0].leadIn, 14);

    // MACD with both flag bits clear: no line, no bars, a range of -1..1 before padding.
    const test::Run macd = RunIndicator(IndicatorRecord::Of(8, 0, 12, 26, 9), dev::MakeSyntheticDays(60));
    ASSERT_EQ(macd.result.lines.size(), 1u);
    EXPECT_FALSE(macd.result.lines[0].polyline);
    EXPECT_TRUE(macd.result.lines[0].histogram.empty());
    EXPECT_FLOAT_EQ(macd.range.minimum, -1.1f);
    EXPECT_FLOAT_EQ(macd.range.maximum, 1.1f);

    // Periods below 1 count as 1: no read before the first record.
    const test::Run roc = RunIndicator(IndicatorRecord::Of(10, 0, -5), test::DaysOfCloses({100, 110, 99}));
    ASSERT_TRUE(roc.drawn());
    EXPECT_NEAR(roc.values()[0], 10, 1e-4);
    EXPECT_EQ(roc.result.lines[0].leadIn, 1);
}

TEST(MomentumIndicators, RateOfChangeIsThePublicDefinitionAndSkipsAZeroBase)
{
    const std::vector<float> closes{100, 102, 0, 104, 99, 101, 97, 105};
    const test::Run run = RunIndicator(IndicatorRecord::Of(10, 0, 2), test::DaysOfCloses(closes));
    ASSERT_EQ(run.values().size(), closes.size() - 2);
    for (size_t k = 2; k < closes.size(); ++k) {
        const double base = closes[k - 2];
        if (base == 0)
            EXPECT_TRUE(std::isnan(run.values()[k - 2])) << k;
        else
            EXPECT_NEAR(run.values()[k - 2], (closes[k] - base) / base * 100, 1e-4) << k;
    }
    // The day without a value does not wreck the range.
    EXPECT_TRUE(std::isfinite(run.range.maximum));
    EXPECT_NEAR(run.range.maximum, 105.198, 1e-3);  // -100 on day 2, padded and made symmetric
}

TEST(MomentumIndicators, TheUpDownCountCoversTheLastNineSteps)
{
    // Rising closes stay at +9, in a range of at least -7..7.
    std::vector<float> rising;
    for (int i = 0; i < 40; ++i)
        rising.push_back(100.0f + float(i));
    const test::Run up = RunIndicator(IndicatorRecord::Of(14, 0), test::DaysOfCloses(rising));
    ASSERT_EQ(up.values().size(), 31u);
    for (double v : up.values())
        EXPECT_EQ(v, 9);
    EXPECT_LT(up.range.minimum, -7);
    EXPECT_GT(up.range.maximum, 9);

    // Against the count over the nine steps that end at each day.
    const std::vector<DayRecord> days = dev::MakeSyntheticDays(80);
    const test::Run run = RunIndicator(IndicatorRecord::Of(14, 0), days);
    ASSERT_EQ(run.values().size(), 71u);
    for (size_t k = 9; k < 80; ++k) {  // the history ends with a date-0 record
        int count = 0;
        for (size_t j = k - 8; j <= k; ++j)
            count += (days[j].close > days[j - 1].close) - (days[j].close < days[j - 1].close);
        EXPECT_EQ(run.values()[k - 9], count) << k;
    }
    EXPECT_FALSE(RunIndicator(IndicatorRecord::Of(14, 0), test::DaysOfCloses(std::vector<float>(9, 5))).drawn());
}

} // namespace
} // namespace qv
