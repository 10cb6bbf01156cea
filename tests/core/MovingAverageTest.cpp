// Tests of the moving-average family.
#include "core/MovingAverage.h"

#include "core/Memory.h"
#include "platform/ProgramExit.h"
#include "support/FakeMessageBox.h"

#include <algorithm>
#include <cmath>
#include <gtest/gtest.h>
#include <random>
#include <vector>

using namespace qv;

namespace {

std::vector<double> RandomWalk(size_t count, unsigned seed)
{
    std::mt19937 rng(seed);
    std::normal_distribution<double> step(0.0, 1.5);
    std::vector<double> out;
    double price = 250;
    for (size_t i = 0; i < count; ++i) {
        price = std::max(1.0, price + step(rng));
        out.push_back(price);
    }
    return out;
}

struct Output {
    std::vector<double> average, band;
};

// Runs a calculator the way every client does: Prepare, Prime with the first value, then Next and
// DropOldest for every value from the first on.
Output RunPrimed(int type, int period, const std::vector<double>& xs, double factor = 2.0, int envelope = 0)
{
    auto ma = CreateMovingAverage(type, period, factor, envelope);
    int32_t needed = 0, leadIn = 0;
    ma->Prepare(needed, leadIn);
    ma->Prime(xs[0]);
    Output out;
    for (double x : xs) {
        out.average.push_back(ma->Next(x));
        out.band.push_back(ma->GetBandWidth());
        ma->DropOldest();
    }
    return out;
}

// The series as the primed calculators see it: the first value stands for the values before it.
double At(const std::vector<double>& xs, long i)
{
    return xs[size_t(std::max(i, 0L))];
}

double ReferenceSimple(const std::vector<double>& xs, long t, int n)
{
    double sum = 0;
    for (int j = 0; j < n; ++j)
        sum += At(xs, t - j);
    return sum / n;
}

double ReferenceDeviation(const std::vector<double>& xs, long t, int n, double about)
{
    double q = 0;
    for (int j = 0; j < n; ++j)
        q += (At(xs, t - j) - about) * (At(xs, t - j) - about);
    return std::sqrt(q / n);
}

double ReferenceWeighted(const std::vector<double>& xs, long t, int n)
{
    double sum = 0;
    for (int j = 0; j < n; ++j)
        sum += (n - j) * At(xs, t - j);
    return sum / (n * (n + 1) / 2.0);
}

double ReferenceTriangular(const std::vector<double>& xs, long t, int n)
{
    int m = n / 2 + 1;
    double sum = 0;
    for (int j = 0; j < m; ++j)
        sum += ReferenceSimple(xs, t - j, m);
    return sum / m;
}

} // namespace

TEST(MovingAverage, SimpleWeightedAndTriangularMatchAPlainComputationOverALongSeries)
{
    const std::vector<double> xs = RandomWalk(5000, 11);
    for (int n : {1, 2, 3, 10, 21, 200}) {
        Output simple = RunPrimed(kSimpleAverage, n, xs);
        Output weighted = RunPrimed(kWeightedAverage, n, xs);
        Output triangular = RunPrimed(kTriangularAverage, n, xs);
        for (long t = 0; t < long(xs.size()); ++t) {
            double sma = ReferenceSimple(xs, t, n);
            ASSERT_NEAR(simple.average[size_t(t)], sma, 1e-8) << n << " " << t;
            ASSERT_NEAR(simple.band[size_t(t)], 2.0 * ReferenceDeviation(xs, t, n, sma), 1e-5) << n << " " << t;
            ASSERT_NEAR(weighted.average[size_t(t)], ReferenceWeighted(xs, t, n), 1e-8) << n << " " << t;
            ASSERT_NEAR(triangular.average[size_t(t)], ReferenceTriangular(xs, t, n), 1e-8) << n << " " << t;
        }
    }
}

TEST(MovingAverage, ExponentialMatchesAPlainComputationOverALongSeries)
{
    const std::vector<double> xs = RandomWalk(5000, 12);
    for (int n : {1, 2, 12, 26, 200}) {
        Output ema = RunPrimed(kExponentialAverage, n, xs, 0.05, 1);
        double alpha = 2.0 / (n + 1), e = xs[0];
        for (size_t t = 0; t < xs.size(); ++t) {
            e = (1 - alpha) * e + alpha * xs[t];
            ASSERT_NEAR(ema.average[t], e, 1e-9) << n << " " << t;
            ASSERT_NEAR(ema.band[t], 0.05 * e, 1e-9) << n << " " << t; // envelope band
        }
    }
}

TEST(MovingAverage, WarmUpWithRealValuesCoversTheFirstWindowExactly)
{
    const std::vector<double> xs = RandomWalk(300, 13);
    for (int type : {kSimpleAverage, kWeightedAverage, kTriangularAverage}) {
        for (int n : {2, 5, 10}) {
            auto ma = CreateMovingAverage(type, n, 1.0, 0);
            int32_t needed = 0, leadIn = -1;
            ma->Prepare(needed, leadIn);
            EXPECT_EQ(leadIn, 0);
            for (int32_t i = 0; i + 1 < needed; ++i)
                ma->WarmUp(i, xs[size_t(i)]);
            for (size_t t = size_t(needed - 1); t < xs.size(); ++t) {
                double got = ma->Next(xs[t]);
                ma->DropOldest();
                double want = type == kSimpleAverage   ? ReferenceSimple(xs, long(t), n)
                              : type == kWeightedAverage ? ReferenceWeighted(xs, long(t), n)
                                                         : ReferenceTriangular(xs, long(t), n);
                ASSERT_NEAR(got, want, 1e-9) << type << " " << n << " " << t;
            }
        }
    }
}

TEST(MovingAverage, FirstValuesWorkedByHand)
{
    struct Case {
        int type, period;
        std::vector<double> warmUp, next, expected;
    };
    const Case cases[] = {
        {kSimpleAverage, 3, {1, 2}, {3, 4, 8}, {2, 3, 5}},
        {kExponentialAverage, 3, {1, 2}, {3, 4}, {2.25, 3.125}}, // alpha 0.5, seeded by the 1
        {kWeightedAverage, 3, {1, 2}, {3, 4}, {14.0 / 6, 20.0 / 6}},
        {kTriangularAverage, 3, {1, 2}, {3, 5}, {2, 3.25}},      // inner window 2: (1.5 + 2.5) / 2
        {kTriangularAverage, 4, {1, 2, 3, 4}, {5}, {3}},         // weights 1 2 3 2 1 over 9
        {kExponentialAverage, 1, {}, {7, 9}, {7, 9}},
        {kWeightedAverage, 1, {}, {7, 9}, {7, 9}},
        {kTriangularAverage, 1, {}, {7, 9}, {7, 9}},
        {kSimpleAverage, 1, {}, {7, 9}, {7, 9}},
    };
    for (const Case& c : cases) {
        auto ma = CreateMovingAverage(c.type, c.period, 1.0, 0);
        int32_t needed = 0, leadIn = 0;
        ma->Prepare(needed, leadIn);
        ASSERT_EQ(size_t(needed - 1), c.warmUp.size()) << c.type << " " << c.period;
        for (size_t i = 0; i < c.warmUp.size(); ++i)
            ma->WarmUp(int32_t(i), c.warmUp[i]);
        for (size_t i = 0; i < c.next.size(); ++i) {
            EXPECT_DOUBLE_EQ(ma->Next(c.next[i]), c.expected[i]) << c.type << " " << c.period << " " << i;
            EXPECT_DOUBLE_EQ(ma->Average(), c.expected[i]);
            ma->DropOldest();
        }
    }
}

TEST(MovingAverage, TriangularWindowLengths)
{
    const std::pair<int, int> cases[] = {{1, 1}, {2, 3}, {3, 3}, {9, 9}, {10, 11}, {0, 1}, {-5, 1}};
    for (auto [period, needed] : cases) {
        auto ma = CreateMovingAverage(kTriangularAverage, period, 1.0, 0);
        int32_t n = 0, leadIn = 0;
        ma->Prepare(n, leadIn);
        EXPECT_EQ(n, needed) << period;
    }
}

TEST(MovingAverage, Bands)
{
    // The deviation band of 1, 2, 3 about 2 is sqrt(2/3); the envelope is factor times the average.
    auto simple = CreateMovingAverage(kSimpleAverage, 3, 2.0, 0);
    int32_t n = 0, leadIn = 0;
    simple->Prepare(n, leadIn);
    simple->WarmUp(0, 1);
    simple->WarmUp(1, 2);
    simple->Next(3);
    EXPECT_DOUBLE_EQ(simple->GetBandWidth(), 2.0 * std::sqrt(2.0 / 3.0));
    auto envelope = CreateMovingAverage(kWeightedAverage, 3, 0.1, 1);
    envelope->Prepare(n, leadIn);
    envelope->Prime(50);
    envelope->Next(50);
    EXPECT_DOUBLE_EQ(envelope->GetBandWidth(), 5.0);
    // The triangular's deviation band covers its inner window: 2 and 3 about 2.
    auto triangular = CreateMovingAverage(kTriangularAverage, 3, 1.0, 0);
    triangular->Prepare(n, leadIn);
    triangular->WarmUp(0, 1);
    triangular->WarmUp(1, 2);
    EXPECT_DOUBLE_EQ(triangular->Next(3), 2.0);
    EXPECT_DOUBLE_EQ(triangular->GetBandWidth(), std::sqrt(0.5));
}

TEST(MovingAverage, AFlatSeriesHasAZeroBandNeverANegativeRoot)
{
    for (double v : {5.0, 0.1, 1.0 / 3.0, 1e8 + 0.1, 123456.789}) {
        for (int type : {kSimpleAverage, kExponentialAverage, kWeightedAverage, kTriangularAverage,
                         kVariableAverage}) {
            auto ma = CreateMovingAverage(type, 7, 2.0, 0);
            int32_t n = 0, leadIn = 0;
            ma->Prepare(n, leadIn);
            ma->Prime(v);
            for (int i = 0; i < 50; ++i) {
                ASSERT_NEAR(ma->Next(v), v, 1e-9 * v) << type;
                double band = ma->GetBandWidth();
                ASSERT_FALSE(std::isnan(band)) << type << " " << v;
                ASSERT_NEAR(band, 0.0, 1e-4) << type << " " << v;
                ma->DropOldest();
            }
        }
    }
}

TEST(MovingAverage, VariableAverageFollowsTheEfficiencyOfTheMarket)
{
    auto ma = CreateMovingAverage(kVariableAverage, 10, 1.0, 0);
    int32_t needed = 0, leadIn = 0;
    ma->Prepare(needed, leadIn);
    EXPECT_EQ(needed, 21);
    EXPECT_EQ(leadIn, 10 - 21);
    ma->Prime(10);
    EXPECT_DOUBLE_EQ(ma->Next(10), 10); // flat: every ratio 1.0, the average stays put
    ma->DropOldest();
    // A jump of 10: the nine-value range equals the sum of changes, ratio 1, r = 1, k = 2/3 * 2/11.
    const double k = (2.0 / 3.0) * (2.0 / 11.0);
    double v1 = 10 + k * 10;
    EXPECT_NEAR(ma->Next(20), v1, 1e-12);
    ma->DropOldest();
    // Back down: changes 20 over a range of 10 give ratio 0.5 against an oldest ratio of 1: r = 0.5.
    double v2 = v1 + 0.5 * k * (10 - v1);
    EXPECT_NEAR(ma->Next(10), v2, 1e-12);
    ma->DropOldest();

    // Period 1: alpha is 1 and a flat series moves the average by k = 2/3 of the gap.
    auto fast = CreateMovingAverage(kVariableAverage, 1, 1.0, 0);
    fast->Prepare(needed, leadIn);
    EXPECT_EQ(leadIn, -20);
    fast->Prime(30);
    EXPECT_DOUBLE_EQ(fast->Next(30), 30);
}

TEST(MovingAverage, ResetStartsANewSeriesLikeAFreshCalculator)
{
    const std::vector<double> a = RandomWalk(200, 21), b = RandomWalk(200, 22);
    for (int type = 0; type <= 4; ++type) {
        Output fresh = RunPrimed(type, 14, b);
        auto ma = CreateMovingAverage(type, 14, 2.0, 0);
        int32_t n = 0, leadIn = 0;
        ma->Prepare(n, leadIn);
        for (const std::vector<double>* xs : {&a, &b}) {
            ma->Reset();
            ma->Prime((*xs)[0]);
            for (size_t t = 0; t < xs->size(); ++t) {
                double got = ma->Next((*xs)[t]);
                if (xs == &b) {
                    ASSERT_NEAR(got, fresh.average[t], 1e-9) << type << " " << t;
                }
                ma->DropOldest();
            }
        }
    }
}

TEST(MovingAverage, FactoryMakesEachTypeAndTreatsUnknownTypesAsSimple)
{
    EXPECT_NE(dynamic_cast<CSimpleMA*>(CreateMovingAverage(0, 5, 1, 0).get()), nullptr);
    EXPECT_NE(dynamic_cast<CExponentialMA*>(CreateMovingAverage(1, 5, 1, 0).get()), nullptr);
    EXPECT_NE(dynamic_cast<CWeightedMA*>(CreateMovingAverage(2, 5, 1, 0).get()), nullptr);
    EXPECT_NE(dynamic_cast<CTriangularMA*>(CreateMovingAverage(3, 5, 1, 0).get()), nullptr);
    EXPECT_NE(dynamic_cast<CVariableMA*>(CreateMovingAverage(4, 5, 1, 0).get()), nullptr);
    EXPECT_NE(dynamic_cast<CSimpleMA*>(CreateMovingAverage(5, 5, 1, 0).get()), nullptr);
    EXPECT_NE(dynamic_cast<CSimpleMA*>(CreateMovingAverage(-1, 5, 1, 0).get()), nullptr);
    EXPECT_EQ(CreateMovingAverage(0, 0, 1, 0)->Period(), 1);
}

TEST(MovingAverage, AFailedAllocationAsksToRetryOrEndsTheProgram)
{
    test::FakeMessageBox boxes;
    ThrowOnProgramEnd throwOnEnd;
    int failures = 1;
    SetAllocationFaultHook([&](size_t) { return failures-- > 0; });
    boxes.queue(MsgAnswer::Retry);
    auto ma = CreateMovingAverage(kSimpleAverage, 5, 1, 0);
    EXPECT_EQ(boxes.shown().size(), 1u);
    failures = 1;
    boxes.queue(MsgAnswer::Cancel);
    try {
        CreateMovingAverage(kWeightedAverage, 5, 1, 0);
        ADD_FAILURE() << "Cancel must end the program";
    } catch (const ProgramEnded& e) {
        EXPECT_EQ(e.code, 1);
    }
    SetAllocationFaultHook({});
}
