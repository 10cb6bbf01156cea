// The trend, volatility and statistics group of the indicator windows: each type's lines, lead-in,
// levels and range rule over one history, the values against their public definitions (or the
// group's own seeding where it has one), and the group's edge cases.
#include "charts/PadValueRange.h"
#include "charts/StudyPass.h"
#include "devtools/lib/SyntheticDays.h"
#include "support/IndicatorDays.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <deque>
#include <numeric>

namespace qv {
namespace {

using test::RunIndicator;

constexpr uint16_t kOtherId = 0x4321;

// A runner whose other share (correlation, beta) is `other`, or none.
test::Run RunAgainst(IndicatorRecord record, const std::vector<DayRecord>& days, const std::vector<DayRecord>* other,
                     int firstVisible = 0)
{
    test::Run run;
    IndicatorInput in;
    in.record = record;
    in.days = days;
    in.firstVisibleDate = days[size_t(firstVisible)].date;
    in.loadShare = [other](uint16_t id, uint32_t) {
        return other && id == kOtherId ? *other : std::vector<DayRecord>{};
    };
    const IndicatorRoute& route = RouteOf(record.type);
    route.routine(in, run.range, run.result, route.variant);
    return run;
}

IndicatorRecord Against(int type, int n)
{
    IndicatorRecord r = IndicatorRecord::Of(type, 0, n, int16_t(kOtherId), 0);
    return r;
}

// Another walk on the same days: the closes of a later stretch of a longer history.
std::vector<DayRecord> OtherDays(const std::vector<DayRecord>& days)
{
    const size_t n = days.size() - 1;
    const std::vector<DayRecord> longer = dev::MakeSyntheticDays(int(2 * n));
    std::vector<DayRecord> other = days;
    for (size_t k = 0; k < n; ++k) {
        other[k].close = longer[n + k].close;
        other[k].open = longer[n + k].open;
    }
    return other;
}

std::vector<float> Closes(const std::vector<DayRecord>& days)
{
    std::vector<float> c;
    for (const DayRecord& d : days)
        if (d.date != 0)
            c.push_back(d.close);
    return c;
}

double SampleSd(const std::vector<double>& x)
{
    const double mean = std::accumulate(x.begin(), x.end(), 0.0) / double(x.size());
    double s = 0;
    for (double v : x)
        s += (v - mean) * (v - mean);
    return std::sqrt(s / double(x.size() - 1));
}

double PopulationSd(const std::vector<double>& x)
{
    const double mean = std::accumulate(x.begin(), x.end(), 0.0) / double(x.size());
    double s = 0;
    for (double v : x)
        s += (v - mean) * (v - mean);
    return std::sqrt(s / double(x.size()));
}

double Pearson(const std::vector<double>& a, const std::vector<double>& b)
{
    const double ma = std::accumulate(a.begin(), a.end(), 0.0) / double(a.size());
    const double mb = std::accumulate(b.begin(), b.end(), 0.0) / double(b.size());
    double ab = 0, aa = 0, bb = 0;
    for (size_t i = 0; i < a.size(); ++i) {
        ab += (a[i] - ma) * (b[i] - mb);
        aa += (a[i] - ma) * (a[i] - ma);
        bb += (b[i] - mb) * (b[i] - mb);
    }
    return ab / std::sqrt(aa * bb);
}

enum class Rule { Own, Data, SymmetricWithZero, DataWithZero, UnitFixed };

struct RowCase {
    IndicatorRecord record;
    size_t lines;
    int32_t leadIn;
    std::vector<double> levels;
    Rule rule;
};

ValueRange Expected(Rule rule, const test::Run& run)
{
    ValueRange r{FLT_MAX, -FLT_MAX, 0, 100, 0, 0, nullptr, nullptr};
    for (double v : run.result.lines[0].values)
        if (!std::isnan(v)) {
            r.minimum = std::min(r.minimum, float(v));
            r.maximum = std::max(r.maximum, float(v));
        }
    switch (rule) {
    case Rule::Own: break;
    case Rule::Data: PadValueRange(r, nullptr, kPadMarginOnly); break;
    case Rule::SymmetricWithZero:
        r.minimum = std::min(r.minimum, 0.0f);
        r.maximum = std::max(r.maximum, 0.0f);
        PadValueRange(r, nullptr, kPadSymmetricZero);
        break;
    case Rule::DataWithZero:
        r.minimum = std::min(r.minimum, 0.0f);
        r.maximum = std::max(r.maximum, 0.0f);
        PadValueRange(r, nullptr, kPadMarginOnly);
        break;
    case Rule::UnitFixed:
        r.minimum = 0;
        r.maximum = 1;
        PadValueRange(r, nullptr, kPadMarginOnly);
        break;
    }
    return r;
}

TEST(TrendIndicators, EachTypeDrawsItsLinesLevelsAndRange)
{
    const std::vector<DayRecord> days = dev::MakeSyntheticDays(700);
    const std::vector<DayRecord> other = OtherDays(days);
    const RowCase cases[] = {
        {IndicatorRecord::Of(3, 0), 1, 0, {0}, Rule::Own},
        {IndicatorRecord::Of(4, 0, 20), 1, 20, {}, Rule::Data},
        {Against(6, 20), 1, 20, {0}, Rule::SymmetricWithZero},
        {IndicatorRecord::Of(7, 0, 28), 1, 28, {0.5}, Rule::UnitFixed},
        {IndicatorRecord::Of(9, 0, 12, 9), 2, 0, {0}, Rule::Data},
        {IndicatorRecord::Of(13, 0), 1, 291 + 207, {0}, Rule::Data},
        {Against(16, 20), 1, 20, {0}, Rule::SymmetricWithZero},
        {IndicatorRecord::Of(17, 0, 20), 1, 19, {}, Rule::DataWithZero},
        {IndicatorRecord::Of(45, 0, 25), 1, 25 + 18, {}, Rule::Data},
        {IndicatorRecord::Of(49, 0, 30), 1, 1, {0}, Rule::Own},
        {IndicatorRecord::Of(50, 0, 30), 1, 1, {0}, Rule::Data},
        {IndicatorRecord::Of(54, 7, 14), 4, 0, {20, 25}, Rule::Own},
    };
    for (RowCase c : cases) {
        c.record.pens = {0x11, 0x22, 0x33, 0x44};
        const test::Run run = RunAgainst(c.record, days, &other, 0);
        const int type = c.record.type;
        ASSERT_EQ(run.result.lines.size(), c.lines) << type;
        EXPECT_EQ(run.result.levels, c.levels) << type;
        const IndicatorLine& first = run.result.lines[0];
        EXPECT_EQ(first.leadIn, c.leadIn) << type;
        // One value per record from the first with a value: it lies at its own record's x.
        EXPECT_EQ(first.values.size(), days.size() - 1 - size_t(c.leadIn)) << type;
        EXPECT_FALSE(std::isnan(first.values.front())) << type;
        for (size_t i = 0; i < c.lines; ++i)
            EXPECT_EQ(run.result.lines[i].pen, c.record.pens[i]) << type;
        if (c.rule == Rule::Own)
            continue;
        const ValueRange want = Expected(c.rule, run);
        EXPECT_FLOAT_EQ(run.range.minimum, want.minimum) << type;
        EXPECT_FLOAT_EQ(run.range.maximum, want.maximum) << type;
    }
}

TEST(TrendIndicators, ValuesFollowTheirDefinitions)
{
    const std::vector<DayRecord> days = dev::MakeSyntheticDays(200);
    const std::vector<DayRecord> other = OtherDays(days);
    const std::vector<float> c = Closes(days), c2 = Closes(other);
    const int n = 15;
    const test::Run vol = RunIndicator(IndicatorRecord::Of(4, 0, n), days);
    const test::Run sd = RunIndicator(IndicatorRecord::Of(17, 0, n), days);
    const test::Run vhf = RunIndicator(IndicatorRecord::Of(7, 0, n), days);
    const test::Run cor = RunAgainst(Against(6, n), days, &other);
    const test::Run beta = RunAgainst(Against(16, n), days, &other);
    for (size_t k = size_t(n); k < c.size(); ++k) {
        std::vector<double> logs, closes, a, b, logs2;
        for (size_t j = k + 1 - size_t(n); j <= k; ++j) {
            logs.push_back(std::log(double(c[j]) / c[j - 1]));
            logs2.push_back(std::log(double(c2[j]) / c2[j - 1]));
            a.push_back((double(c[j]) - c[j - 1]) / c[j - 1]);
            b.push_back((double(c2[j]) - c2[j - 1]) / c2[j - 1]);
        }
        for (size_t j = k + 1 - size_t(n); j <= k; ++j)
            closes.push_back(c[j]);
        const size_t i = k - size_t(n);
        EXPECT_NEAR(vol.values()[i], 100 * SampleSd(logs), 1e-9) << k;
        EXPECT_NEAR(sd.values()[i + 1], PopulationSd(closes), 1e-6) << k;
        EXPECT_NEAR(cor.values()[i], Pearson(a, b), 1e-9) << k;
        EXPECT_NEAR(beta.values()[i], Pearson(a, b) * SampleSd(logs) / SampleSd(logs2), 1e-9) << k;
        double moves = 0;
        for (size_t j = k + 1 - size_t(n); j <= k; ++j)
            moves += std::fabs(double(c[j]) - c[j - 1]);
        const auto [lo, hi] = std::minmax_element(closes.begin(), closes.end());
        EXPECT_NEAR(vhf.values()[i], (*hi - *lo) / moves, 1e-9) << k;
    }
}

TEST(TrendIndicators, TrixAndMassIndexFollowTheirOwnSeeding)
{
    const std::vector<DayRecord> days = dev::MakeSyntheticDays(150);
    const test::Run trix = RunIndicator(IndicatorRecord::Of(9, 0, 10, 5), days);
    const double a = 2.0 / 11, s = 2.0 / 6;
    double e1 = days[0].close, e2 = e1, e3 = e1, previous = e1, signal = 0;
    for (size_t k = 0; k < 149; ++k) {
        e1 = days[k].close * a + e1 * (1 - a);
        e2 = e2 * (1 - a) + e1 * a;
        e3 = e3 * (1 - a) + e2 * a;
        const double t = (e3 - previous) / e3 * 100;
        signal = t * s + signal * (1 - s);
        previous = e3;
        EXPECT_NEAR(trix.values(0)[k], t, 1e-12) << k;
        EXPECT_NEAR(trix.values(1)[k], signal, 1e-12) << k;
    }
    EXPECT_TRUE(trix.result.lines[1].onlyAfterDrawn);

    // The mass index over n ratios from the first full-data record, seeded with its close.
    std::vector<DayRecord> mixed = days;
    for (int k = 0; k < 5; ++k)
        mixed[size_t(k)].modeMarks = 0;
    const int n = 9;
    const test::Run mass = RunIndicator(IndicatorRecord::Of(45, 0, n), mixed);
    EXPECT_EQ(mass.result.lines[0].leadIn, 5 + n + 18);
    std::vector<double> ratios;
    double m1 = mixed[5].close, m2 = m1;
    for (size_t k = 5; k < 149; ++k) {
        const double span = std::max(double(mixed[k].high) - mixed[k].low, 0.001);
        m1 = span * 0.2 + m1 * 0.8;
        m2 = m2 * 0.8 + m1 * 0.2;
        ratios.push_back(m1 / m2);
        if (k < size_t(5 + n + 18))
            continue;
        const double sum = std::accumulate(ratios.end() - n, ratios.end(), 0.0);
        EXPECT_NEAR(mass.values()[k - size_t(5 + n + 18)], sum, 1e-9) << k;
    }
}

TEST(TrendIndicators, SwingIndexIsWildersFormula)
{
    const std::vector<DayRecord> days = dev::MakeSyntheticDays(80);
    const double limit = 25;
    const test::Run si = RunIndicator(IndicatorRecord::Of(49, 0, 25), days);
    const test::Run acc = RunIndicator(IndicatorRecord::Of(50, 0, 25), days);
    double total = 0;
    for (size_t k = 1; k < 79; ++k) {
        const double c1 = days[k - 1].close, o1 = days[k - 1].open;
        const double h = days[k].high, l = days[k].low, cl = days[k].close, op = days[k].open;
        const double a = std::fabs(h - c1), b = std::fabs(l - c1), cr = std::fabs(h - l);
        const double kk = std::max(a, b);
        double r = a > b ? (a > cr ? a - 0.5 * b : cr) : (b > cr ? b - 0.5 * a : cr);
        r += 0.25 * std::fabs(c1 - o1);
        const double want = 50 * ((cl - c1) + 0.5 * (cl - op) + 0.25 * (c1 - o1)) / r * kk / limit;
        total += want;
        EXPECT_NEAR(si.values()[k - 1], want, 1e-9) << k;
        EXPECT_NEAR(acc.values()[k - 1], total, 1e-9) << k;
    }
}

TEST(TrendIndicators, TheGroupsEdgeCases)
{
    const std::vector<DayRecord> days = dev::MakeSyntheticDays(120);
    // Correlation with itself 1, with its mirror -1, with a constant 0 (the 1e-07 rule).
    std::vector<DayRecord> mirror = days, flat = days;
    for (size_t k = 1; k + 1 < days.size(); ++k) {
        const double r = (double(days[k].close) - days[k - 1].close) / days[k - 1].close;
        mirror[k].close = float(mirror[k - 1].close * (1 - r));
    }
    for (DayRecord& d : flat)
        if (d.date != 0)
            d.close = 50;
    const test::Run self = RunAgainst(Against(6, 10), days, &days);
    const test::Run mirrored = RunAgainst(Against(6, 10), days, &mirror);
    const test::Run constant = RunAgainst(Against(6, 10), days, &flat);
    const test::Run beta = RunAgainst(Against(16, 10), days, &flat);
    for (double v : self.values())
        EXPECT_NEAR(v, 1, 1e-9);
    for (double v : mirrored.values())
        EXPECT_NEAR(v, -1, 1e-4);
    for (double v : constant.values())
        EXPECT_EQ(v, 0);
    // Beta against a flat share is 0.
    for (double v : beta.values())
        EXPECT_EQ(v, 0);
    // A second share that is gone: no line (the pane keeps its caption); read as u16 (0xB605 is
    // the FTSE 100's, -18939 signed).
    EXPECT_FALSE(RunAgainst(Against(6, 10), days, nullptr).drawn());
    IndicatorRecord ftse = Against(6, 10);
    ftse.period2 = int16_t(uint16_t(46597));
    uint16_t asked = 0;
    IndicatorInput in;
    in.record = ftse;
    in.days = days;
    in.loadShare = [&](uint16_t id, uint32_t) {
        asked = id;
        return days;
    };
    test::Run asking;
    DrawStatistics(in, asking.range, asking.result, 6);
    EXPECT_EQ(asked, 0xB605);

    // The SD of equal closes is 0, its range 0..0 before padding.
    const test::Run sd = RunIndicator(IndicatorRecord::Of(17, 0, 5), flat);
    for (double v : sd.values())
        EXPECT_EQ(v, 0);
    ValueRange zero{0, 0, 0, 100, 0, 0, nullptr, nullptr};
    PadValueRange(zero, nullptr, kPadMarginOnly);
    EXPECT_EQ(sd.range.minimum, zero.minimum);
    EXPECT_EQ(sd.range.maximum, zero.maximum);

    // VHF without movement is 1.
    const test::Run still = RunIndicator(IndicatorRecord::Of(7, 0, 10), flat);
    for (double v : still.values())
        EXPECT_EQ(v, 1.0);

    // Coppock: nothing at 291 records; its first value is the average of the raw values from
    // record 292 on.
    EXPECT_FALSE(RunIndicator(IndicatorRecord::Of(13, 0), dev::MakeSyntheticDays(292)).drawn());
    const std::vector<DayRecord> long_ = dev::MakeSyntheticDays(600);
    const test::Run coppock = RunIndicator(IndicatorRecord::Of(13, 0), long_);
    ASSERT_TRUE(coppock.drawn());
    double weighted = 0, weights = 0;
    for (int j = 0; j < 208; ++j) {
        const size_t k = size_t(291 + j);
        const double cl = long_[k].close;
        weighted += (j + 1) * ((cl - long_[k - 230].close) + (cl - long_[k - 291].close)) / cl * 100;
        weights += j + 1;
    }
    EXPECT_NEAR(coppock.values()[0], weighted / weights, 1e-6);

    // Swing: a day with high = low = previous close and close = open gives R = 0.001, a finite 0.
    const std::vector<DayRecord> level = test::MakeDays({{100, 100, 100, 100, 10}, {100, 100, 100, 100, 10}});
    const test::Run swing = RunIndicator(IndicatorRecord::Of(49, 0, 10), level);
    ASSERT_TRUE(swing.drawn());
    EXPECT_EQ(swing.values()[0], 0);

    // Volatility and the statistics take a period below 2 as 2 (no division by 0).
    const test::Run vol = RunIndicator(IndicatorRecord::Of(4, 0, 1), days);
    EXPECT_EQ(vol.result.lines[0].leadIn, 2);
    for (double v : vol.values())
        EXPECT_TRUE(std::isfinite(v));
    // A zero close adds no term: no infinities anywhere.
    std::vector<DayRecord> gap = days;
    gap[40].close = 0;
    for (int type : {4, 6, 16}) {
        const test::Run run = RunAgainst(Against(type, 10), gap, &gap);
        for (double v : run.values())
            EXPECT_TRUE(std::isfinite(v)) << type;
    }
}

TEST(TrendIndicators, TicksCountFromTheFirstVisibleDay)
{
    const std::vector<DayRecord> days = test::DaysOfCloses({10, 11, 12, 11, 11, 13, 14, 12});
    // From record 0: its own close is the one before, so it is no step.
    const test::Run all = RunIndicator(IndicatorRecord::Of(3, 0), days);
    EXPECT_EQ(all.values(), (std::vector<double>{0, 1, 2, 1, 1, 2, 3, 2}));
    EXPECT_EQ(all.result.lines[0].histogram, all.values());
    EXPECT_TRUE(all.result.lines[0].barsInPen);
    EXPECT_FLOAT_EQ(all.range.maximum, 6);
    EXPECT_FLOAT_EQ(all.range.minimum, -6);
    // Scrolled: the count starts again, against the close of the day before.
    const test::Run later = RunIndicator(IndicatorRecord::Of(3, 0), days, 3);
    EXPECT_EQ(later.values(), (std::vector<double>{-1, -1, 0, 1, 0}));
    EXPECT_EQ(later.result.decimals, 3);
    // No change in view: R is 1, never 0.
    const test::Run flat = RunIndicator(IndicatorRecord::Of(3, 0), test::DaysOfCloses({5, 5, 5}));
    EXPECT_FLOAT_EQ(flat.range.maximum, 1);
    EXPECT_FLOAT_EQ(flat.range.minimum, -1);
}

TEST(TrendIndicators, DirectionalMovementDrawsTheLinesItsFlagsAsk)
{
    const std::vector<DayRecord> days = dev::MakeSyntheticDays(100);
    IndicatorRecord r = IndicatorRecord::Of(54, 1, 14);
    r.pens = {1, 2, 3, 4};
    int outputs = 0;
    std::vector<Bar> bars;
    for (size_t k = 0; k + 1 < days.size(); ++k)
        bars.push_back({days[k].open, days[k].high, days[k].low, days[k].close, days[k].volume});
    const std::vector<float> calc = StudyPass::Run(r, bars, outputs);
    const test::Run di = RunIndicator(r, days);
    ASSERT_EQ(di.result.lines.size(), 2u);
    // +DI (the calculator's output 0) with the second pen, -DI (output 1) with the third: the pens
    // the dialogs call "+DI" and "-DI".
    EXPECT_EQ(di.result.lines[0].pen, 2u);
    EXPECT_EQ(di.result.lines[1].pen, 3u);
    EXPECT_FLOAT_EQ(float(di.values(0)[50]), calc[50 * size_t(outputs) + 0]);
    EXPECT_FLOAT_EQ(float(di.values(1)[50]), calc[50 * size_t(outputs) + 1]);
    EXPECT_TRUE(di.result.levels.empty());
    r.flags = 2;
    const test::Run adx = RunIndicator(r, days);
    ASSERT_EQ(adx.result.lines.size(), 1u);
    EXPECT_EQ(adx.result.lines[0].pen, 1u);
    EXPECT_FLOAT_EQ(float(adx.values()[50]), calc[50 * size_t(outputs) + 2]);
    r.flags = 0;
    EXPECT_FALSE(RunIndicator(r, days).drawn());
}

} // namespace
} // namespace qv
