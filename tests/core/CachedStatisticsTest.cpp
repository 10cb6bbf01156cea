// Volatility, correlation and beta against values worked out here from the closes alone.
#include "core/CachedStatistics.h"

#include "core/Database.h"
#include "core/RecordLookup.h"
#include "devtools/lib/PriceDatabase.h"
#include "platform/ByteOrder.h"
#include "shell/IdleWork.h"
#include "support/DatabaseFixture.h"
#include "support/PriceFixtures.h"

#include <gtest/gtest.h>

#include <cmath>
#include <random>

using namespace qv;
using namespace qv::test;

namespace {

constexpr uint16_t kShare = 0x4001;

dev::PriceHistory Closes(const std::vector<int32_t>& closes, int startDay = 0)
{
    dev::PriceHistory h;
    h.firstDate = WeekdaysAfter(Date(2020, 1, 6), startDay);
    for (int32_t c : closes) {
        dev::HistoryDay d;
        d.close = d.open = d.high = d.low = c;
        h.days.push_back(d);
    }
    return h;
}

dev::DbRecord RecordOf(uint16_t id, uint8_t kind, const std::vector<int32_t>& closes, int startDay = 0)
{
    dev::DbRecord r = dev::ShareRecord(id, "Item", 'O', "ITM");
    r.subRecords = {dev::PriceSubRecord(kind, 100, Closes(closes, startDay))};
    return r;
}

// Reference values from the closes.
double SampleSdOfLogReturns(const std::vector<int32_t>& c)
{
    std::vector<double> x;
    for (size_t i = 1; i < c.size(); ++i)
        x.push_back(std::log(double(c[i]) / c[i - 1]));
    double mean = 0;
    for (double v : x)
        mean += v / double(x.size());
    double ss = 0;
    for (double v : x)
        ss += (v - mean) * (v - mean);
    return std::sqrt(ss / double(x.size() - 1));
}

double PearsonOfReturns(const std::vector<int32_t>& a, const std::vector<int32_t>& b)
{
    std::vector<double> x, y;
    for (size_t i = 1; i < a.size(); ++i) {
        x.push_back(double(a[i] - a[i - 1]) / a[i - 1]);
        y.push_back(double(b[i] - b[i - 1]) / b[i - 1]);
    }
    double mx = 0, my = 0;
    for (size_t i = 0; i < x.size(); ++i) {
        mx += x[i] / double(x.size());
        my += y[i] / double(y.size());
    }
    double sxy = 0, sxx = 0, syy = 0;
    for (size_t i = 0; i < x.size(); ++i) {
        sxy += (x[i] - mx) * (y[i] - my);
        sxx += (x[i] - mx) * (x[i] - mx);
        syy += (y[i] - my) * (y[i] - my);
    }
    return sxy / std::sqrt(sxx * syy);
}

std::vector<int32_t> Walk(std::mt19937& rng, int n, int32_t start, int spread)
{
    std::vector<int32_t> c{start};
    while (int(c.size()) < n)
        c.push_back(std::max<int32_t>(1, c.back() + int32_t(rng() % unsigned(2 * spread + 1)) - spread));
    return c;
}

class Statistics : public DatabaseFixture {
protected:
    void LoadPair(const std::vector<int32_t>& market, const std::vector<int32_t>& share, int shareStart = 0)
    {
        Load(dev::WriteQuorvaDat(OneEntry({RecordOf(kMarketCalendarId, 1, market), RecordOf(kShare, 10, share, shareStart)})));
    }
    SubRecordSpan Share() { return SubRecordOf(FindShareRecord(kShare), 0); }
    RecordCursor ShareCursor() { return {FindShareRecord(kShare), 0}; }
};

} // namespace

TEST_F(Statistics, MatchTheirDefinitionsOnRandomWalks)
{
    std::mt19937 rng(7);
    for (int round = 0; round < 3; ++round) {
        auto market = Walk(rng, 300, 5000, 60);
        auto share = Walk(rng, 300, 400, 9);
        // Tie some of the share's moves to the market's so that the correlation is not near 0.
        for (size_t i = 1; i < share.size(); ++i)
            share[i] = std::max<int32_t>(1, share[i] + (market[i] - market[i - 1]) / 8 * (round == 1 ? -1 : 1));
        LoadPair(market, share);
        double sd = SampleSdOfLogReturns(share);
        double r = PearsonOfReturns(share, market);
        EXPECT_NEAR(CalcVolatility(Share(), {}), sd, 1e-9);
        EXPECT_NEAR(CalcCorrelation(Share(), {}), r, 1e-9);
        double beta = r * sd / SampleSdOfLogReturns(market);
        EXPECT_NEAR(CalcBeta(Share(), {}), beta, 1e-9);

        // The caches: scaled, rounded half away from zero, and stored.
        EXPECT_EQ(GetCachedVolatility(ShareCursor()), uint16_t(std::min(sd * 10000, 9999.0) + 0.5));
        EXPECT_EQ(GetCachedCorrelation(ShareCursor()), int8_t(std::lround(r * 100)));
        EXPECT_EQ(GetCachedBeta(ShareCursor()), int16_t(std::lround(beta * 100)));
        const uint8_t* sub = Share().sub;
        EXPECT_EQ(int8_t(sub[CachedStatisticsLayout::Correlation]), int8_t(std::lround(r * 100)));
        EXPECT_EQ(LoadI16(sub + CachedStatisticsLayout::Beta), int16_t(std::lround(beta * 100)));
        if (round == 1) {
            EXPECT_LT(r, 0);
        }
        FreeDatabase(true);
    }
}

TEST_F(Statistics, NeedTwentyChangesAndFiftyPairs)
{
    std::mt19937 rng(3);
    auto market = Walk(rng, 80, 5000, 50);
    struct Case {
        std::vector<int32_t> share;
        bool volatility, correlation;
    };
    auto share = [&](int n) { return Walk(rng, n, 300, 5); };
    for (const Case& c : {Case{share(20), false, false}, Case{share(21), true, false}, Case{share(50), true, false},
                          Case{share(51), true, true}}) {
        LoadPair(market, c.share);
        EXPECT_EQ(CalcVolatility(Share(), {}) != kNoStatistic, c.volatility) << c.share.size();
        EXPECT_EQ(CalcCorrelation(Share(), {}) != kNoStatistic, c.correlation) << c.share.size();
        // Too little history stores nothing and is tried again.
        if (!c.correlation) {
            EXPECT_EQ(GetCachedCorrelation(ShareCursor()), kCorrelationNoValue);
            EXPECT_EQ(GetCachedBeta(ShareCursor()), int16_t(kStatisticNoValue));
            EXPECT_EQ(int8_t(Share().sub[CachedStatisticsLayout::Correlation]), kCorrelationNotComputed);
            EXPECT_EQ(LoadU16(Share().sub + CachedStatisticsLayout::Beta), kStatisticNotComputed);
        }
        FreeDatabase(true);
    }
}

TEST_F(Statistics, ConstantPricesZeroClosesAndLargeValues)
{
    std::mt19937 rng(11);
    auto market = Walk(rng, 120, 5000, 50);
    LoadPair(market, std::vector<int32_t>(120, 250));
    EXPECT_EQ(CalcCorrelation(Share(), {}), 0.0);
    EXPECT_EQ(CalcVolatility(Share(), {}), 0.0);
    EXPECT_EQ(GetCachedBeta(ShareCursor()), 0);
    FreeDatabase(true);

    // Closes of 0 (which only a price correction can give) are skipped on both sides of their pairs
    // instead of making the volatility NaN; a first close of 0 leaves 49 pairs of 51 days.
    auto share = Walk(rng, 51, 300, 6);
    LoadPair(market, share);
    auto zeroClose = [](uint16_t date) {
        DayRecord day{};
        day.date = date;
        day.unit = 1;
        std::vector<uint8_t> bytes(kDayRecordSize);
        StoreDayRecord(bytes.data(), day);
        return bytes;
    };
    std::vector<uint8_t> first = zeroClose(WeekdaysAfter(Date(2020, 1, 6), 0));
    CorrectionCursor firstZero{first.data(), first.data() + first.size()};
    EXPECT_NE(CalcCorrelation(Share(), {}), kNoStatistic);
    EXPECT_EQ(CalcCorrelation(Share(), firstZero), kNoStatistic);
    std::vector<uint8_t> middle = zeroClose(WeekdaysAfter(Date(2020, 1, 6), 25));
    double v = CalcVolatility(Share(), CorrectionCursor{middle.data(), middle.data() + middle.size()});
    std::vector<double> x;
    for (size_t i = 1; i < share.size(); ++i) {
        if (i != 25 && i != 26)
            x.push_back(std::log(double(share[i]) / share[i - 1]));
    }
    double mean = 0, ss = 0;
    for (double d : x)
        mean += d / double(x.size());
    for (double d : x)
        ss += (d - mean) * (d - mean);
    EXPECT_NEAR(v, std::sqrt(ss / double(x.size() - 1)), 1e-9);
    FreeDatabase(true);

    // Wild swings: the volatility caps at 9999, the beta stays clear of the marks.
    std::vector<int32_t> wild;
    for (int i = 0; i < 120; ++i)
        wild.push_back(i % 2 ? 100000 : 10);
    std::vector<int32_t> calm;
    for (int i = 0; i < 120; ++i)
        calm.push_back(5000 + (i % 2 ? 1 : 0));
    LoadPair(calm, wild);
    EXPECT_EQ(GetCachedVolatility(ShareCursor()), 9999);
    EXPECT_EQ(GetCachedBeta(ShareCursor()), 32766);
}

TEST_F(Statistics, CorrelationMatchesShareDaysToTheNextCalendarDay)
{
    std::mt19937 rng(5);
    auto market = Walk(rng, 200, 5000, 60);
    // The share lists 30 days in: its days pair with the market days from there.
    std::vector<int32_t> share(market.begin() + 30, market.end());
    LoadPair(market, share, 30);
    EXPECT_NEAR(CalcCorrelation(Share(), {}), 1.0, 1e-12);
    EXPECT_EQ(GetCachedCorrelation(ShareCursor()), 100);
    // The market against itself is exactly 1 after clamping, so its beta is 1.
    EXPECT_LE(CalcCorrelation(SubRecordOf(FindRecordById(kMarketCalendarId, 0).record, 0), {}), 1.0);
}

TEST_F(Statistics, TheIdleWalkFillsEveryCache)
{
    std::mt19937 rng(9);
    auto market = Walk(rng, 150, 5000, 60);
    LoadPair(market, Walk(rng, 150, 300, 6));
    Idle() = IdleState{};
    for (int i = 0; i < 1000 && RunIdleWork(); ++i) {
    }
    for (uint16_t id : {kMarketCalendarId, kShare}) {
        const uint8_t* sub = SubRecordOf(FindRecordById(id, 0).record, 0).sub;
        EXPECT_NE(LoadU16(sub + CachedStatisticsLayout::Volatility), kStatisticNotComputed) << id;
        EXPECT_NE(int8_t(sub[CachedStatisticsLayout::Correlation]), kCorrelationNotComputed) << id;
        EXPECT_NE(LoadU16(sub + CachedStatisticsLayout::Beta), kStatisticNotComputed) << id;
    }
    EXPECT_EQ(LoadI16(SubRecordOf(FindRecordById(kMarketCalendarId, 0).record, 0).sub + CachedStatisticsLayout::Beta),
              100);
}
