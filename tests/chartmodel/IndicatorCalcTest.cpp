// Tests the streaming indicator calculators against references written here from the textbook
// definitions and the calculators' own rules, and their whole-series path against the bar-by-bar one.
#include "chartmodel/IndicatorCalc.h"
#include "chartmodel/IndicatorRecord.h"
#include "chartmodel/WindowExtremes.h"
#include "core/MovingAverage.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <bit>
#include <cmath>
#include <cstring>
#include <deque>
#include <limits>
#include <random>
#include <vector>

namespace qv {
namespace {

std::vector<Bar> RandomBars(size_t count, uint32_t seed, double start = 100)
{
    std::mt19937 rng(seed);
    std::normal_distribution<double> step(0, 1);
    std::uniform_real_distribution<double> wick(0, 1.5);
    std::vector<Bar> bars;
    double close = start;
    for (size_t i = 0; i < count; ++i) {
        const double open = close;
        close = std::max(1.0, close + step(rng));
        const double high = std::max(open, close) + wick(rng), low = std::max(0.5, std::min(open, close) - wick(rng));
        bars.push_back({float(open), float(high), float(low), float(close), float(1000 + 10 * i)});
    }
    return bars;
}

// Every output of every bar, bar by bar.
std::vector<std::vector<float>> Outputs(CIndicatorCalc& calc, const std::vector<Bar>& bars)
{
    std::vector<std::vector<float>> out;
    for (const Bar& b : bars) {
        const float* v = calc.AddValue(b);
        out.emplace_back(v, v + calc.OutputCount());
    }
    return out;
}

std::vector<std::vector<float>> Outputs(const IndicatorRecord& settings, const std::vector<Bar>& bars)
{
    auto calc = CreateIndicatorCalc(settings, bars[0]);
    auto out = Outputs(*calc, bars);
    calc->Release();
    return out;
}

// pandas' ewm(adjust=False): y0 = x0, then y += a (x - y).
struct Ewm {
    double a, y;
    bool started = false;
    Ewm(int n) : a(2.0 / (n + 1)), y(0) {}
    double operator()(double x)
    {
        y = started ? y + a * (x - y) : x;
        started = true;
        return y;
    }
};

double RsiOf(double u, double d)
{
    return d == 0 ? (u == 0 ? 50 : 100) : 100 - 100 / (1 + u / d);
}

double Clamp100(double v)
{
    return v > 0 ? std::min(v, 100.0) : 0;
}

// The plain run, then a copy of it for each odd run, inserted at every one of the places.
std::vector<std::vector<float>> WithOddRuns(const std::vector<float>& plain, const std::vector<std::vector<float>>& odds,
                                            std::initializer_list<size_t> places)
{
    std::vector<std::vector<float>> sequences{plain};
    for (const std::vector<float>& odd : odds) {
        std::vector<float> values = plain;
        for (size_t at : places)
            values.insert(values.begin() + ptrdiff_t(at), odd.begin(), odd.end());
        sequences.push_back(values);
    }
    return sequences;
}

TEST(IndicatorCalc, MacdIsThreeExponentialAveragesCutToSixDecimals)
{
    const auto bars = RandomBars(3000, 1);
    const auto out = Outputs(IndicatorRecord::Of(8, 0, 12, 26, 9), bars);
    Ewm fast(12), slow(26), signal(9);
    fast(bars[0].close);
    slow(bars[0].close);
    signal(0);
    auto cut = [](double v) { return std::trunc(v * 1e6) / 1e6; };
    for (size_t i = 0; i < bars.size(); ++i) {
        const double m = fast(bars[i].close) - slow(bars[i].close);
        const double s = signal(m);
        EXPECT_NEAR(out[i][0], cut(m), 3e-6) << i;
        EXPECT_NEAR(out[i][1], cut(s), 3e-6) << i;
        EXPECT_NEAR(out[i][2], cut(m - s), 3e-6) << i;
    }
}

// The calculator carries only the smoothing of its three exponential averages: its outputs are
// those of the whole averages, bit for bit, bar by bar and over a series, at any periods.
TEST(IndicatorCalc, MacdGivesTheOutputsOfItsThreeWholeAveragesBitForBit)
{
    const auto bars = RandomBars(100000, 89, 5000);
    auto average = [](int32_t period, double first) {
        auto a = CreateMovingAverage(kExponentialAverage, std::max(period, 1), 0, 0);
        int32_t needed = 0, leadIn = 0;
        a->Prepare(needed, leadIn);
        a->Prime(first);
        return a;
    };
    auto next = [](CMovingAverage& a, double v) {
        const double r = a.Next(v);
        a.DropOldest();
        return r;
    };
    // Toward zero through a whole number: a small negative value is cut to +0.
    auto cut = [](double v) {
        const double scaled = v * 1000000;
        return float((std::fabs(scaled) < 4503599627370496.0 ? double(int64_t(scaled)) : scaled) * 0.000001);
    };
    const int32_t periods[][3] = {{12, 26, 9}, {1, 1, 1}, {2, 3, 1}, {0, -4, 2}, {50, 200, 30}};
    for (const auto& p : periods) {
        SCOPED_TRACE(testing::Message() << p[0] << "/" << p[1] << "/" << p[2]);
        auto fast = average(p[0], bars[0].close), slow = average(p[1], bars[0].close), signal = average(p[2], 0);
        const IndicatorRecord settings = IndicatorRecord::Of(8, 0, int16_t(p[0]), int16_t(p[1]), int16_t(p[2]));
        const auto byBar = Outputs(settings, bars);
        auto calc = CreateIndicatorCalc(settings, bars[0]);
        std::vector<float> series(bars.size() * 3);
        calc->AddSeries(bars.data(), 1000, series.data());
        calc->AddSeries(bars.data() + 1000, bars.size() - 1000, series.data() + 3000);
        for (size_t i = 0; i < bars.size(); ++i) {
            const double m = next(*fast, bars[i].close) - next(*slow, bars[i].close);
            const double s = next(*signal, m);
            const float want[3] = {cut(m), cut(s), cut(m - s)};
            for (int j = 0; j < 3; ++j) {
                ASSERT_EQ(std::memcmp(&byBar[i][j], &want[j], 4), 0) << "bar " << i << " output " << j;
                ASSERT_EQ(std::memcmp(&series[3 * i + j], &want[j], 4), 0) << "bar " << i << " output " << j;
            }
        }
        calc->Release();
    }
}

TEST(IndicatorCalc, MacdCutKeepsLargeValues)
{
    // Closes of a million pence move the averages apart by far more than 2147.48.
    std::vector<Bar> bars{{1e6f, 1e6f, 1e6f, 1e6f, 0}, {2e6f, 2e6f, 2e6f, 2e6f, 0}};
    const auto out = Outputs(IndicatorRecord::Of(8, 0, 12, 26, 9), bars);
    const double m = (1e6 + 2.0 / 13 * 1e6) - (1e6 + 2.0 / 27 * 1e6);
    EXPECT_NEAR(out[1][0], m, 0.01);
    EXPECT_GT(out[1][0], 2147.49);
}

TEST(IndicatorCalc, RsiWithAveragesMatchesRollingAndExponentialMeans)
{
    const auto bars = RandomBars(2000, 2);
    for (int flags : {1, 2}) {
        const int n = 14;
        const auto out = Outputs(IndicatorRecord::Of(2, flags, n), bars);
        const double seed = 0.01 * bars[0].close;
        std::deque<double> ups(n - 1, seed), downs(n - 1, seed);
        Ewm eu(n), ed(n);
        eu(seed);
        ed(seed);
        double previous = bars[0].close;
        for (size_t i = 0; i < bars.size(); ++i) {
            const double d = bars[i].close - previous;
            previous = bars[i].close;
            const double up = std::max(d, 0.0), down = std::max(-d, 0.0);
            double u, v;
            if (flags == 1) {
                u = eu(up);
                v = ed(down);
            } else {
                ups.push_back(up);
                downs.push_back(down);
                if (ups.size() > size_t(n)) {
                    ups.pop_front();
                    downs.pop_front();
                }
                u = 0;
                v = 0;
                for (double x : ups)
                    u += x / n;
                for (double x : downs)
                    v += x / n;
            }
            ASSERT_NEAR(out[i][0], Clamp100(RsiOf(u, v)), 2e-3) << "flags " << flags << " bar " << i;
        }
    }
}

// The Wilder RSI as its rules give it, step by step.
std::vector<double> WilderRsiByRules(const std::vector<Bar>& bars, int n)
{
    std::vector<double> out;
    double su = 0.01 * bars[0].close, sd = su, previous = bars[0].close;
    for (int k = 0; k < int(bars.size()); ++k) {
        const double d = bars[size_t(k)].close - previous;
        previous = bars[size_t(k)].close;
        const double up = std::max(d, 0.0), down = std::max(-d, 0.0);
        double rsi;
        if (k < n) {
            su += up;
            sd += down;
            rsi = (RsiOf(su / n, sd / n) * k + 50.0 * (n - k)) / n;
        } else {
            if (k == n) {
                su /= n;
                sd /= n;
            }
            su = ((n - 1) * su + up) / n;
            sd = ((n - 1) * sd + down) / n;
            rsi = RsiOf(su, sd);
        }
        out.push_back(Clamp100(rsi));
    }
    return out;
}

// The textbook Wilder RSI: the first averages are the means of the first n moves.
std::vector<double> TextbookWilderRsi(const std::vector<Bar>& bars, int n)
{
    std::vector<double> out(bars.size(), NAN);
    double gain = 0, loss = 0;
    for (size_t i = 1; i < bars.size(); ++i) {
        const double d = double(bars[i].close) - bars[i - 1].close;
        const double up = std::max(d, 0.0), down = std::max(-d, 0.0);
        if (i <= size_t(n)) {
            gain += up / n;
            loss += down / n;
        } else {
            gain = (gain * (n - 1) + up) / n;
            loss = (loss * (n - 1) + down) / n;
        }
        if (i >= size_t(n))
            out[i] = loss == 0 ? 100 : 100 - 100 / (1 + gain / loss);
    }
    return out;
}

TEST(IndicatorCalc, WilderRsiFollowsItsRulesAndSettlesOnTheTextbookForm)
{
    const int n = 14;
    const auto bars = RandomBars(3000, 3);
    const auto out = Outputs(IndicatorRecord::Of(2, 0, n), bars);
    const auto rules = WilderRsiByRules(bars, n);
    const auto textbook = TextbookWilderRsi(bars, n);
    EXPECT_EQ(out[0][0], 50.0f);
    for (size_t i = 0; i < bars.size(); ++i) {
        ASSERT_NEAR(out[i][0], rules[i], 1e-3) << i;
        if (i >= size_t(10 * n)) {
            ASSERT_NEAR(out[i][0], textbook[i], 1e-3) << i;
        }
    }
    // The period constructor is the same calculator.
    CWilderRSICalc byPeriod(n, bars[0].close);
    EXPECT_EQ(Outputs(byPeriod, bars), out);
    EXPECT_EQ(byPeriod.Name(), "14 RSI (Wilder)");
}

TEST(IndicatorCalc, AverageTrueRangeStartsAtZeroThenTheMeanAndSettlesOnTheTextbookForm)
{
    const int n = 14;
    const auto bars = RandomBars(3000, 4);
    const auto out = Outputs(IndicatorRecord::Of(57, 0, n), bars);
    std::vector<double> ranges;
    double previousClose = bars[0].close;
    for (const Bar& b : bars) {
        ranges.push_back(std::max({std::fabs(double(b.high) - b.low), std::fabs(double(b.high) - previousClose),
                                   std::fabs(previousClose - double(b.low))}));
        previousClose = b.close;
    }
    double mean = 0;
    for (int i = 0; i < n; ++i) {
        EXPECT_EQ(out[size_t(i)][0], 0.0f);
        mean += ranges[size_t(i)] / n;
    }
    EXPECT_NEAR(out[size_t(n)][0], mean, 1e-5);
    // Textbook: the first average is the mean of the true ranges of bars 1..n, then Wilder's smoothing.
    double textbook = 0;
    for (size_t i = 1; i < bars.size(); ++i) {
        textbook = i <= size_t(n) ? textbook + ranges[i] / n : (textbook * (n - 1) + ranges[i]) / n;
        if (i >= size_t(10 * n)) {
            ASSERT_NEAR(out[i][0], textbook, 1e-3) << i;
        }
    }
}

TEST(IndicatorCalc, MomentumAgainstTheCloseNBarsBefore)
{
    const int n = 10;
    auto bars = RandomBars(500, 5);
    const auto out = Outputs(IndicatorRecord::Of(5, 0, n), bars);
    for (size_t i = 0; i < bars.size(); ++i) {
        const double then = i >= size_t(n) ? bars[i - n].close : bars[0].close;
        ASSERT_NEAR(out[i][0], 100.0 * bars[i].close / then, 1e-3) << i;
    }
    // A stored close of 0 gives no ratio: the line holds its previous value.
    bars[20].close = 0;
    const auto held = Outputs(IndicatorRecord::Of(5, 0, n), bars);
    EXPECT_EQ(held[30][0], held[29][0]);
    EXPECT_TRUE(std::isfinite(held[20][0]));
    EXPECT_EQ(held[20][0], 0.0f);
}

// Highest high and lowest low over the window after bar k: the construction bar's values, then
// every bar, the last n of them.
std::pair<double, double> Window(const std::vector<Bar>& bars, size_t k, int n)
{
    std::vector<const Bar*> values{&bars[0]};
    for (size_t i = 0; i <= k; ++i)
        values.push_back(&bars[i]);
    double hi = -1e30, lo = 1e30;
    for (size_t i = values.size() - std::min(values.size(), size_t(n)); i < values.size(); ++i) {
        hi = std::max(hi, double(values[i]->high));
        lo = std::min(lo, double(values[i]->low));
    }
    return {hi, lo};
}

TEST(WindowExtremes, MatchBruteForceOnTiesRunsAndRandomValues)
{
    std::mt19937 rng(12);
    std::vector<std::vector<float>> sequences{
        {5, 5, 5, 4, 5, 3, 3, 6, 6, 6, 2, 2},     // ties leaving one copy at a time
        {9, 8, 7, 6, 5, 4, 3, 2, 1, 0, -1, -2},   // every push moves the highest out
        {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12},  // and the lowest
    };
    std::vector<float> random(500);
    for (float& v : random)
        v = float(rng() % 7);
    sequences.push_back(random);
    for (int n : {1, 2, 3, 5, 14}) {
        for (const auto& values : sequences) {
            WindowExtremes window(n, 4.5f);
            std::vector<float> seen{4.5f};
            for (float v : values) {
                window.Push(v);
                seen.push_back(v);
                const auto first = seen.end() - std::min<ptrdiff_t>(ptrdiff_t(seen.size()), n);
                ASSERT_EQ(window.Highest(), *std::max_element(first, seen.end())) << n;
                ASSERT_EQ(window.Lowest(), *std::min_element(first, seen.end())) << n;
            }
        }
    }
}

// The series runs against Push, bit for bit, where the order of comparing decides: +0 and -0 (equal,
// yet one of them is kept), a NaN (after which Push's extreme may even outlive the values), and plain
// values on both sides of them, in runs of several lengths so that a run starts with either about.
TEST(WindowExtremes, SeriesRunsGivePushsBitsWithSignedZerosAndNaN)
{
    const float nan = std::numeric_limits<float>::quiet_NaN();
    std::mt19937 rng(5);
    std::vector<float> plain(300);
    for (float& v : plain)
        v = float(1 + rng() % 9);
    std::vector<std::vector<float>> sequences =
        WithOddRuns(plain, {{0.0f, -0.0f, -0.0f, 0.0f}, {nan}, {-0.0f, 3, nan, 0.0f, -0.0f}}, {40, 41, 150, 260});
    std::vector<float> zeros(200);
    for (float& v : zeros)
        v = rng() % 2 ? 0.0f : -0.0f;
    sequences.push_back(zeros);
    auto bits = [](float v) { return std::bit_cast<uint32_t>(v); };
    for (int n : {1, 2, 5, 14}) {
        for (size_t run : {size_t(1), size_t(7), size_t(64)}) {
            for (const auto& values : sequences) {
                for (float start : {4.5f, 0.0f, -0.0f}) {
                    WindowExtremes pushed(n, start), highs(n, start), lows(n, start);
                    std::vector<float> highest(values.size()), lowest(values.size());
                    for (size_t i = 0; i < values.size(); i += run) {
                        const size_t count = std::min(run, values.size() - i);
                        highs.PushSeriesHighest(&values[i], sizeof(float), count, &highest[i]);
                        lows.PushSeriesLowest(&values[i], sizeof(float), count, &lowest[i]);
                    }
                    for (size_t i = 0; i < values.size(); ++i) {
                        pushed.Push(values[i]);
                        ASSERT_EQ(bits(highest[i]), bits(pushed.Highest())) << n << " " << run << " " << i;
                        ASSERT_EQ(bits(lowest[i]), bits(pushed.Lowest())) << n << " " << run << " " << i;
                    }
                    // The windows go on as Push's would.
                    for (float v : {2.0f, -0.0f, 0.0f, 8.0f}) {
                        pushed.Push(v);
                        highs.Push(v);
                        lows.Push(v);
                        ASSERT_EQ(bits(highs.Highest()), bits(pushed.Highest())) << n << " " << run;
                        ASSERT_EQ(bits(lows.Lowest()), bits(pushed.Lowest())) << n << " " << run;
                    }
                }
            }
        }
    }
}

TEST(IndicatorCalc, WilliamsRAndStochasticWindowsMatchBruteForce)
{
    const auto bars = RandomBars(400, 6);
    const int n = 14, slowing = 3, dPeriod = 3;
    const auto r = Outputs(IndicatorRecord::Of(53, 0, n), bars);
    const auto fast = Outputs(IndicatorRecord::Of(12, 0, n, dPeriod, 1), bars);
    const auto slow = Outputs(IndicatorRecord::Of(12, 0, n, dPeriod, slowing), bars);
    std::deque<double> c(slowing, bars[0].close), h(slowing, bars[0].high), l(slowing, bars[0].low);
    std::deque<double> ks(dPeriod - 1, 50.0);
    for (size_t k = 0; k < bars.size(); ++k) {
        auto [hi, lo] = Window(bars, k, n);
        ASSERT_NEAR(r[k][0], -100 * (hi - bars[k].close) / (hi - lo), 1e-3) << k;
        ASSERT_NEAR(fast[k][0], 100 * (bars[k].close - lo) / (hi - lo), 1e-3) << k;
        c.push_back(bars[k].close);
        h.push_back(hi);
        l.push_back(lo);
        c.pop_front();
        h.pop_front();
        l.pop_front();
        auto mean = [](const std::deque<double>& d) {
            double s = 0;
            for (double x : d)
                s += x;
            return s / double(d.size());
        };
        const double kSlow = 100 * (mean(c) - mean(l)) / (mean(h) - mean(l));
        ASSERT_NEAR(slow[k][0], kSlow, 1e-3) << k;
        ks.push_back(kSlow);
        if (ks.size() > size_t(dPeriod))
            ks.pop_front();
        ASSERT_NEAR(slow[k][1], mean(ks), 1e-3) << k;
    }
}

// CCI by its rules: the mean over this bar and up to n - 1 before, the mean deviation over up to n
// typical prices before this bar.
std::vector<double> CciByRules(const std::vector<double>& tp, int n)
{
    std::vector<double> out;
    for (size_t k = 0; k < tp.size(); ++k) {
        const size_t inMean = std::min(k, size_t(n - 1)), inDev = std::min(k, size_t(n));
        double mean = tp[k];
        for (size_t j = 1; j <= inMean; ++j)
            mean += tp[k - j];
        mean /= double(inMean + 1);
        double dev = 0;
        for (size_t j = 1; j <= inDev; ++j)
            dev += std::fabs(tp[k - j] - mean);
        dev = inDev ? dev / double(inDev) * 0.015 : 0;
        out.push_back(dev > 0.000001 ? (tp[k] - mean) / dev : 0);
    }
    return out;
}

TEST(IndicatorCalc, CciFollowsItsFormulaAndIsTheTextbookCciOnARepeatingSeries)
{
    const int n = 20;
    auto bars = RandomBars(300, 7);
    auto typical = [&] {
        std::vector<double> tp;
        for (const Bar& b : bars)
            tp.push_back((double(b.close) + b.low + b.high) / 3);
        return tp;
    };
    auto out = Outputs(IndicatorRecord::Of(52, 0, n), bars);
    auto rules = CciByRules(typical(), n);
    EXPECT_EQ(out[0][0], 0.0f);
    for (size_t k = 0; k < bars.size(); ++k)
        ASSERT_NEAR(out[k][0], rules[k], 1e-3 * std::max(1.0, std::fabs(rules[k]))) << k;

    // A series whose typical prices repeat every n bars: the textbook CCI (mean and mean deviation
    // over the last n typical prices, this bar's included).
    for (size_t i = size_t(n); i < bars.size(); ++i)
        bars[i] = bars[i - n];
    out = Outputs(IndicatorRecord::Of(52, 0, n), bars);
    const auto tp = typical();
    for (size_t k = size_t(n); k < bars.size(); ++k) {
        double mean = 0, dev = 0;
        for (size_t j = 0; j < size_t(n); ++j)
            mean += tp[k - j] / n;
        for (size_t j = 0; j < size_t(n); ++j)
            dev += std::fabs(tp[k - j] - mean) / n;
        ASSERT_NEAR(out[k][0], (tp[k] - mean) / (0.015 * dev), 1e-3) << k;
    }
}

// Directional movement by its rules, with Wilder's divisions as written.
std::vector<std::array<double, 4>> AdmByRules(const std::vector<Bar>& bars, int n)
{
    std::vector<std::array<double, 4>> out;
    double p = 0, m = 0, t = 0, x = 0;
    std::vector<double> ring(size_t(n), 0);
    size_t index = 0;
    Bar prev = bars[0];
    for (int k = 0; k < int(bars.size()); ++k) {
        const Bar& b = bars[size_t(k)];
        const double tr = k == 0 ? 0 : std::max({std::fabs(double(b.high) - b.low), std::fabs(double(b.high) - prev.close),
                                                 std::fabs(double(b.low) - prev.close)});
        const double up = std::fabs(double(b.high) - prev.high), dn = std::fabs(double(b.low) - prev.low);
        const double pdm = (up >= dn || b.low > prev.low) && b.high >= prev.high ? up : 0;
        const double mdm = up <= dn && b.low <= prev.low ? dn : 0;
        if (k <= n) {
            p += pdm;
            m += mdm;
            t += tr;
        } else {
            p = p - p / n + pdm;
            m = m - m / n + mdm;
            t = t - t / n + tr;
        }
        double pdi = t > 0.001 ? 100 * p / t : 0, mdi = t > 0.001 ? 100 * m / t : 0;
        const double dx = pdi + mdi > 0.0001 ? 100 * std::fabs(pdi - mdi) / (pdi + mdi) : 0;
        double adx;
        if (k < n) {
            x += dx;
            adx = x / (k + 1);
        } else {
            if (k == n)
                x /= n;
            x = ((n - 1) * x + dx) / n;
            adx = x;
        }
        ring[index] = adx;
        index = (index + 1) % size_t(n);
        double adxr = (adx + ring[index]) * 0.5;
        if (k < n) {
            pdi *= double(k) / n;
            mdi *= double(k) / n;
        }
        if (k < 2 * n) {
            adx *= double(k) / (2 * n);
            adxr *= double(k) / (2 * n);
        }
        out.push_back({pdi, mdi, adx, adxr});
        prev = b;
    }
    return out;
}

TEST(IndicatorCalc, DirectionalMovementFollowsItsRulesInWholeNumbers)
{
    const int n = 14;
    const auto bars = RandomBars(2000, 8);
    const auto out = Outputs(IndicatorRecord::Of(54, 7, n), bars);
    const auto rules = AdmByRules(bars, n);
    EXPECT_EQ(out[0], (std::vector<float>{0, 0, 0, 0}));
    int offByOne = 0;
    for (size_t k = 0; k < bars.size(); ++k) {
        for (size_t j = 0; j < 4; ++j) {
            const double expected = std::trunc(rules[k][j] + 0.5);
            EXPECT_EQ(out[k][j], std::trunc(out[k][j])) << k;
            // The calculator smooths with a product by 1/n: a value on a half may round the other way.
            ASSERT_LE(std::fabs(out[k][j] - expected), 1.0) << k << " output " << j;
            offByOne += out[k][j] != expected;
        }
    }
    EXPECT_LT(offByOne, 10);

    // Whole-number ranges that widen both ways at once: up and down moves tie, and both count.
    std::vector<Bar> ties;
    std::mt19937 rng(13);
    for (int i = 0; i < 200; ++i) {
        const float mid = float(50 + int(rng() % 5));
        const float half = float(1 + (i % 3));
        ties.push_back({mid, mid + half, mid - half, mid, 1});
    }
    const auto tied = Outputs(IndicatorRecord::Of(54, 7, 5), ties);
    const auto tiedRules = AdmByRules(ties, 5);
    for (size_t k = 0; k < ties.size(); ++k)
        for (size_t j = 0; j < 4; ++j)
            ASSERT_LE(std::fabs(tied[k][j] - std::trunc(tiedRules[k][j] + 0.5)), 1.0) << k << " output " << j;
}

TEST(IndicatorCalc, OnBalanceVolumePivotsAndThePriceLessItsAverage)
{
    const std::vector<Bar> bars{{10, 12, 9, 11, 100}, {11, 13, 10, 12, 50}, {12, 12, 10, 11, 30},
                                {11, 11, 10, 11, 70}, {11, 15, 11, 14, 20}};
    const auto obv = Outputs(IndicatorRecord::Of(48, 0, 0), bars);
    const float expectedObv[] = {0, 50, 20, 20, 40};
    for (size_t i = 0; i < bars.size(); ++i)
        EXPECT_EQ(obv[i][0], expectedObv[i]) << i;

    // Bar 2 against bar 1 (high 13, low 10, close 12), bar 2 opening at 12.
    struct Pivot {
        int mode;
        double p;
    } pivots[] = {{0, (12 + 10 + 13) / 3.0}, {1, (12 + 10 + 13 + 12) / 4.0}, {2, (10 + 13 + 12) / 3.0}, {3, 0}};
    for (const Pivot& c : pivots) {
        const auto out = Outputs(IndicatorRecord::Of(56, c.mode, 0), bars);
        const double p = c.p;
        const float expected[] = {float(p), float(2 * p - 10), float(2 * p - 13), float(p + 3), float(p - 3)};
        for (size_t j = 0; j < 5; ++j)
            EXPECT_NEAR(out[2][j], expected[j], 1e-5) << "mode " << c.mode << " output " << j;
    }
    // Mode 1 takes the current bar's open: another open moves the pivot.
    auto moved = bars;
    moved[2].open = 20;
    EXPECT_NEAR(Outputs(IndicatorRecord::Of(56, 1, 0), moved)[2][0], (12 + 10 + 13 + 20) / 4.0, 1e-5);

    // Any other type: the close less its 3-bar simple average primed with the first close.
    const auto ma = Outputs(IndicatorRecord::Of(1, 0, 3), bars);
    EXPECT_NEAR(ma[1][0], 12 - (11 + 11 + 12) / 3.0, 1e-5);
    EXPECT_NEAR(ma[4][0], 14 - (11 + 11 + 14) / 3.0, 1e-5);
}

TEST(IndicatorCalc, EdgeCases)
{
    const std::vector<Bar> flat(50, Bar{10, 10, 10, 10, 5});
    for (int flags : {0, 1, 2})
        for (const auto& v : Outputs(IndicatorRecord::Of(2, flags, 14), flat))
            EXPECT_EQ(v[0], 50.0f) << flags;
    for (const auto& v : Outputs(IndicatorRecord::Of(53, 0, 14), flat))
        EXPECT_EQ(v[0], -100.0f);
    for (const auto& v : Outputs(IndicatorRecord::Of(52, 0, 14), flat))
        EXPECT_EQ(v[0], 0.0f);

    // With simple averages a series that only rises reaches 100 once the primed down moves have left.
    std::vector<Bar> rising;
    for (int i = 0; i < 40; ++i)
        rising.push_back({float(10 + i), float(10 + i), float(10 + i), float(10 + i), 1});
    const auto rsi = Outputs(IndicatorRecord::Of(2, 2, 14), rising);
    EXPECT_LT(rsi[12][0], 100.0f);
    EXPECT_EQ(rsi[14][0], 100.0f);
}

TEST(IndicatorCalc, StoredPeriodsBelowOneCountAsOne)
{
    const auto bars = RandomBars(100, 9);
    for (int type : {2, 5, 8, 11, 12, 52, 53, 54, 57, 1}) {
        for (int period : {0, -7}) {
            const auto out = Outputs(IndicatorRecord::Of(type, type == 2 ? 1 : 0, period, period, period, period), bars);
            const auto one = Outputs(IndicatorRecord::Of(type, type == 2 ? 1 : 0, 1, 1, type == 11 ? period : 1, period), bars);
            for (size_t i = 0; i < bars.size(); ++i)
                for (size_t j = 0; j < out[i].size(); ++j)
                    ASSERT_TRUE(std::isfinite(out[i][j])) << type;
            EXPECT_EQ(out, one) << "type " << type << " period " << period;
        }
    }
}

TEST(IndicatorCalc, WholeSeriesPathGivesTheSameValuesBitForBit)
{
    const auto bars = RandomBars(1500, 10);
    const IndicatorRecord settings[] = {
        IndicatorRecord::Of(2, 0, 14), IndicatorRecord::Of(2, 1, 14), IndicatorRecord::Of(2, 2, 14), IndicatorRecord::Of(57, 0, 14), IndicatorRecord::Of(8, 0, 12, 26, 9),
        IndicatorRecord::Of(5, 0, 10), IndicatorRecord::Of(11, 0, 5, 20, 1), IndicatorRecord::Of(11, 0, 5, 20, 4), IndicatorRecord::Of(12, 0, 14, 3, 3, 1),
        IndicatorRecord::Of(53, 0, 14), IndicatorRecord::Of(48, 0, 0), IndicatorRecord::Of(52, 0, 20), IndicatorRecord::Of(54, 7, 14), IndicatorRecord::Of(1, 0, 20),
        IndicatorRecord::Of(56, 1, 0),
    };
    for (const IndicatorRecord& s : settings) {
        const auto byBar = Outputs(s, bars);
        auto calc = CreateIndicatorCalc(s, bars[0]);
        const size_t k = size_t(calc->OutputCount());
        std::vector<float> series(bars.size() * k);
        // In two calls, so that a series can continue where another stopped.
        calc->AddSeries(bars.data(), 700, series.data());
        calc->AddSeries(bars.data() + 700, bars.size() - 700, series.data() + 700 * k);
        for (size_t i = 0; i < bars.size(); ++i)
            for (size_t j = 0; j < k; ++j)
                ASSERT_EQ(series[i * k + j], byBar[i][j]) << "type " << int(s.type) << " bar " << i;
        EXPECT_EQ(std::vector<float>(calc->Outputs(), calc->Outputs() + k), byBar.back());
        calc->Release();
        EXPECT_EQ(calc->Outputs(), nullptr);
        EXPECT_TRUE(calc->Name().empty());
        EXPECT_EQ(calc->AddValue(bars[0]), nullptr);
    }
}

// Two walks of 100,000 bars made from the generator's raw numbers only (no library distribution), so
// that they are the same wherever the tests run: a geometric walk in floats, and a walk in whole pence
// with flat bars, equal highs and lows, ties between the up and down moves and days without volume.
std::vector<Bar> FixedWalk(bool pence)
{
    std::mt19937 rng(pence ? 2 : 1);
    auto unit = [&rng] { return double(rng()) / 4294967296.0; };
    std::vector<Bar> bars;
    double close = pence ? 500 : 5000;
    for (int i = 0; i < 100000; ++i) {
        const double open = close;
        if (pence) {
            close = std::max(1.0, close + double(int(rng() % 7) - 3) * double(rng() % 3 == 0));
            const double high = std::max(open, close) + double(rng() % 3), low = std::max(1.0, std::min(open, close) - double(rng() % 3));
            bars.push_back({float(open), float(high), float(low), float(close), float(rng() % 4 == 0 ? 0 : rng() % 100000)});
        } else {
            close *= 1 + 0.02 * (unit() - 0.5);
            const double high = std::max(open, close) * (1 + 0.01 * unit()), low = std::min(open, close) * (1 - 0.01 * unit());
            bars.push_back({float(open), float(high), float(low), float(close), float(1e5 * (1 + 100 * unit()))});
        }
    }
    return bars;
}

// Every calculator's outputs over both walks, held to a fingerprint of their bits taken before the
// calculators were made faster: a faster form must give the same values to the last bit.
TEST(IndicatorCalc, OutputsStayTheSameBitForBitOverTwoWalks)
{
    struct Case {
        IndicatorRecord settings;
        uint64_t walk, pence; // FNV-1a of every output's bits, bar after bar
    };
    const Case cases[] = {
        {IndicatorRecord::Of(2, 0, 14), 0x7de0feb505a5745eull, 0x3df3804055970a52ull},          {IndicatorRecord::Of(2, 0, 1), 0x81f71749453e37e7ull, 0x48d474dcb9245f25ull},
        {IndicatorRecord::Of(2, 0, 50), 0xcfa41b377fb440a6ull, 0x6aefd2f11c01c28bull},          {IndicatorRecord::Of(2, 1, 14), 0x8645598d4446621eull, 0x9bfa7b6ff0e89628ull},
        {IndicatorRecord::Of(2, 2, 14), 0x4fe6f1c2a0629332ull, 0x3fa9f66152288a4cull},          {IndicatorRecord::Of(8, 0, 12, 26, 9), 0x89c2c2eabc8e081aull, 0xf6e8f2e886920042ull},
        {IndicatorRecord::Of(8, 0, 2, 3, 1), 0xe2b10f8839f1d12dull, 0x5d3508ad75e1299dull},     {IndicatorRecord::Of(8, 0, 50, 200, 30), 0x34dcdba8a085f34ull, 0xe38da83ef80b556bull},
        {IndicatorRecord::Of(12, 0, 14, 3, 3), 0xae635332bb6d87afull, 0xebbc23008e7a5701ull},   {IndicatorRecord::Of(12, 0, 5, 1, 1), 0x8146b9e4803a2fa5ull, 0x5333279a2016ac15ull},
        {IndicatorRecord::Of(12, 0, 14, 3, 3, 1), 0x5eabdbba956b3f43ull, 0x30e6619a8938969ull}, {IndicatorRecord::Of(52, 0, 20), 0x203ab5a8073a7edfull, 0xd95c27c249926286ull},
        {IndicatorRecord::Of(52, 0, 5), 0x14ba76cf4282dd9aull, 0x3c1bb96d9b93bd5eull},          {IndicatorRecord::Of(54, 7, 14), 0x95f93109f78319abull, 0x8340156387cb2962ull},
        {IndicatorRecord::Of(54, 7, 1), 0xffd8d6e505fb25b5ull, 0x20c9b2f80ff06322ull},          {IndicatorRecord::Of(54, 7, 2), 0x5299a345eab56ec9ull, 0x2fac7f0465baf853ull},
        {IndicatorRecord::Of(54, 7, 30), 0x7a5cb8b2a856755eull, 0x312f3c18158abb20ull},         {IndicatorRecord::Of(57, 0, 14), 0x4b2d41821d3cd8b4ull, 0xee986936539c2838ull},
        {IndicatorRecord::Of(57, 0, 1), 0x634b008eb643b02dull, 0x5823365ced83355ull},          {IndicatorRecord::Of(53, 0, 14), 0x5873c4494d2cd85dull, 0x83b054f52354faedull},
        {IndicatorRecord::Of(53, 0, 1), 0x4c84f977e6608f47ull, 0xdc6bf97aa7b644ffull},          {IndicatorRecord::Of(53, 0, 50), 0xb5411a22e7d241bcull, 0x30de84b22274347aull},
        {IndicatorRecord::Of(5, 0, 10), 0xe5845b10673a53d9ull, 0xc03ca1e639457df1ull},          {IndicatorRecord::Of(5, 0, 1), 0x6196acc479fa0373ull, 0xbf43d71af57d4350ull},
        {IndicatorRecord::Of(48, 0, 0), 0x8ef4b02be49d7afeull, 0x2a26dff68a8217fbull},          {IndicatorRecord::Of(11, 0, 5, 20, 1), 0xabea965f6277777full, 0xbce0f4c6f9a4b3b0ull},
        {IndicatorRecord::Of(11, 0, 20, 5, 0), 0xccdeb88afc2f3854ull, 0x38692521d28eb5efull},   {IndicatorRecord::Of(56, 0, 0), 0x2b5cce03ef85205ull, 0x6548fd24291804caull},
        {IndicatorRecord::Of(56, 1, 0), 0x30e753669caf0745ull, 0xb9936fb9bca5b0d9ull},          {IndicatorRecord::Of(56, 2, 0), 0x1eabf58a5787769dull, 0x90389bd1aed65723ull},
        {IndicatorRecord::Of(1, 0, 20), 0x16e63d7e907824f5ull, 0xcb66263483d29bfcull},          {IndicatorRecord::Of(1, 0, 3), 0x7ec415ab6e456bceull, 0x2781034bd7f6cd3ull},
    };
    const std::vector<Bar> walks[] = {FixedWalk(false), FixedWalk(true)};
    for (const Case& c : cases) {
        const IndicatorRecord& s = c.settings;
        SCOPED_TRACE(testing::Message() << "type " << int(s.type) << " flags " << int(s.flags) << " periods "
                                        << s.period1 << "/" << s.period2 << "/" << s.period3 << "/" << s.period4);
        for (int w = 0; w < 2; ++w) {
            const std::vector<Bar>& bars = walks[w];
            auto calc = CreateIndicatorCalc(s, bars[0]);
            const size_t k = size_t(calc->OutputCount());
            std::vector<float> series(bars.size() * k);
            // In three calls, the first shorter than any period here, so that a series goes on from
            // another however short.
            calc->AddSeries(bars.data(), 5, series.data());
            calc->AddSeries(bars.data() + 5, 772, series.data() + 5 * k);
            calc->AddSeries(bars.data() + 777, bars.size() - 777, series.data() + 777 * k);
            calc->Release();
            auto byBar = CreateIndicatorCalc(s, bars[0]);
            uint64_t hash = 14695981039346656037ull;
            for (size_t i = 0; i < bars.size(); ++i) {
                const float* v = byBar->AddValue(bars[i]);
                ASSERT_EQ(std::memcmp(v, &series[i * k], 4 * k), 0) << "bar " << i;
                for (size_t j = 0; j < 4 * k; ++j) {
                    hash ^= reinterpret_cast<const uint8_t*>(v)[j];
                    hash *= 1099511628211ull;
                }
            }
            byBar->Release();
            EXPECT_EQ(hash, w == 0 ? c.walk : c.pence) << (w == 0 ? "walk" : "pence") << std::hex << " 0x" << hash;
        }
    }
}

// The close less its simple average against CSimpleMA itself, bit for bit, through series of runs of
// several lengths and bar by bar, where the whole-series path's guessed sums must give way: closes of
// +0 and -0, a NaN, an infinity, and closes of wildly different sizes whose sums are not exact.
TEST(IndicatorCalc, CloseLessSimpleAverageKeepsTheAveragesBitsWhereSumsAreNotExact)
{
    const float nan = std::numeric_limits<float>::quiet_NaN(), inf = std::numeric_limits<float>::infinity();
    std::mt19937 rng(9);
    std::vector<float> plain(700);
    for (float& v : plain)
        v = float(100 + rng() % 5000) / 7;
    std::vector<std::vector<float>> sequences = WithOddRuns(
        plain, {{0.0f, -0.0f, -0.0f}, {nan}, {inf}, {1e30f, 3e-20f, 7.0f, -1e30f}}, {3, 300, 301, 520});
    std::vector<float> zeros(300);
    for (float& v : zeros)
        v = rng() % 3 == 0 ? 0.0f : rng() % 2 ? -0.0f : 5.0f;
    sequences.push_back(zeros);
    auto bits = [](float v) { return std::bit_cast<uint32_t>(v); };
    for (int n : {1, 2, 3, 20, 300}) {
        for (size_t run : {size_t(1), size_t(5), size_t(1000)}) {
            for (const auto& values : sequences) {
                std::vector<Bar> bars;
                for (float v : values)
                    bars.push_back({v, v, v, v, 1});
                auto average = CreateMovingAverage(kSimpleAverage, n, 0, 0);
                int32_t needed = 0, leadIn = 0;
                average->Prepare(needed, leadIn);
                average->Prime(bars[0].close);
                auto series = CreateIndicatorCalc(IndicatorRecord::Of(1, 0, n), bars[0]);
                auto byBar = CreateIndicatorCalc(IndicatorRecord::Of(1, 0, n), bars[0]);
                std::vector<float> out(bars.size());
                for (size_t i = 0; i < bars.size(); i += run)
                    series->AddSeries(&bars[i], std::min(run, bars.size() - i), &out[i]);
                for (size_t i = 0; i < bars.size(); ++i) {
                    const float want = float(bars[i].close - average->Next(bars[i].close));
                    average->DropOldest();
                    ASSERT_EQ(bits(out[i]), bits(want)) << n << " " << run << " " << i;
                    ASSERT_EQ(bits(byBar->AddValue(bars[i])[0]), bits(want)) << n << " " << run << " " << i;
                }
            }
        }
    }
}

TEST(MovingAverageSeries, EveryTypeGivesTheSameAveragesAndStateAsValueByValue)
{
    std::vector<double> values;
    for (const Bar& b : RandomBars(2000, 11, 5000))
        values.push_back(b.close);
    for (int type = 0; type <= 4; ++type) {
        for (int period : {1, 10, 30}) {
            auto one = CreateMovingAverage(type, period, 2.0, 0);
            auto series = CreateMovingAverage(type, period, 2.0, 0);
            int32_t needed = 0, leadIn = 0;
            one->Prepare(needed, leadIn);
            series->Prepare(needed, leadIn);
            one->Prime(values[0]);
            series->Prime(values[0]);
            std::vector<double> out(values.size()), bands(values.size());
            series->NextSeries(values.data(), out.data(), 1, bands.data());
            series->NextSeries(values.data() + 1, out.data() + 1, 999, bands.data() + 1);
            series->NextSeries(values.data() + 1000, out.data() + 1000, values.size() - 1000);
            for (size_t i = 0; i < values.size(); ++i) {
                ASSERT_EQ(out[i], one->Next(values[i])) << type << " " << period << " " << i;
                if (i < 1000) {
                    ASSERT_EQ(bands[i], one->GetBandWidth()) << type << " " << period << " " << i;
                }
                one->DropOldest();
            }
            EXPECT_EQ(series->Average(), one->Average());
            EXPECT_EQ(series->GetBandWidth(), one->GetBandWidth()) << type;
            EXPECT_EQ(series->Next(values[5]), one->Next(values[5])) << type;
        }
    }
}

} // namespace
} // namespace qv
