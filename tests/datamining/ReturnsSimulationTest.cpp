// The returns simulation's core: one bin mapping for bars, labels and bands; the median and bands;
// the draws (fixed seed, uniform over every row, a zero return on the zero bin); preparation and its
// log over a writer-built database with prices in 1998-2001.
#include "datamining/ReturnsSimulation.h"

#include "devtools/lib/TempFolder.h"
#include "lists/ListRows.h"
#include "SimulationFixture.h"

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

namespace qv {
namespace {

TEST(ReturnsSimulation, OneMappingServesBinsLabelsAndBands)
{
    struct Case {
        double ret;
        int bin;
    } cases[] = {
        {0, kZeroReturnBin}, {-1, 0}, {-5, 0}, {0.05, 315}, {0.2, 360}, {1.0, 600},
        {1.0 / 600, 301},    // a half rounds away from zero
        {-1.0 / 600, 299},   // on both sides
        {10, kSimulationBins - 1},
    };
    for (const Case& c : cases)
        EXPECT_EQ(ReturnBin(c.ret), c.bin) << c.ret;
    // The labels and the bands read a bin back as the return that put a draw there.
    for (double percent : {-100.0, -50.0, 0.0, 5.0, 20.0, 50.0, 100.0, 150.0}) {
        EXPECT_EQ(PercentBin(percent), ReturnBin(percent / 100)) << percent;
        EXPECT_DOUBLE_EQ(BinReturnPercent(PercentBin(percent)), percent);
    }
}

TEST(ReturnsSimulation, MedianAndBandsCountTheBinsOnTheirSide)
{
    SimulationResult r;
    // Four draws each at -1/3%, 0%, 5%, 20%, 20 1/3%, 100% and 100 1/3%.
    for (int bin : {299, 300, 315, 360, 361, 600, 601})
        r.bins[size_t(bin)] = 4;
    CompleteSimulationFigures(r);
    EXPECT_DOUBLE_EQ(r.medianPercent, 20.0); // the fourth of seven bins takes the total past half
    const double each = 100.0 / 7;
    EXPECT_DOUBLE_EQ(r.bands[0], each);     // below 0%: only -1/3%
    EXPECT_DOUBLE_EQ(r.bands[1], 2 * each); // below 5%
    EXPECT_DOUBLE_EQ(r.bands[2], 3 * each); // above 20%: 20 1/3%, 100%, 100 1/3%
    EXPECT_DOUBLE_EQ(r.bands[3], 2 * each); // above 50%
    EXPECT_DOUBLE_EQ(r.bands[4], each);     // above 100%: only 100 1/3%
}

TEST(ReturnsSimulation, DrawsRepeatFromTheSeedAndContinueAfterIt)
{
    const std::vector<float> usable = {-0.4f, -0.1f, 0.0f, 0.05f, 0.3f, 0.7f, 1.1f};
    SimulationRandom a, b;
    SimulationResult first, again, second;
    int calls = 0;
    ASSERT_TRUE(RunReturnsSimulation(usable, 3, a, first, [&](int draw) {
        EXPECT_EQ(draw % 100, 0);
        ++calls;
        return true;
    }));
    EXPECT_EQ(calls, kSimulationDraws / 100);
    ASSERT_TRUE(RunReturnsSimulation(usable, 3, b, again));
    EXPECT_EQ(first.bins, again.bins);
    ASSERT_TRUE(RunReturnsSimulation(usable, 3, a, second));
    EXPECT_NE(first.bins, second.bins);
    uint64_t total = 0;
    for (uint32_t c : second.bins)
        total += c;
    EXPECT_EQ(total, uint64_t(kSimulationDraws));
    // A stop asked for by the window ends the run without figures.
    SimulationResult stopped;
    EXPECT_FALSE(RunReturnsSimulation(usable, 3, a, stopped, [](int draw) { return draw < 1000; }));
}

TEST(ReturnsSimulation, AZeroMeanLogReturnLandsOnTheZeroBin)
{
    SimulationRandom random;
    SimulationResult r;
    ASSERT_TRUE(RunReturnsSimulation({0.0f, 0.0f, 0.0f}, 2, random, r));
    EXPECT_EQ(r.bins[kZeroReturnBin], uint32_t(kSimulationDraws));
    EXPECT_DOUBLE_EQ(r.averagePercent, 0);
    EXPECT_DOUBLE_EQ(r.medianPercent, 0);
    EXPECT_EQ(SimulationRowFigures(r)[2], 0); // nothing below 0%
}

TEST(ReturnsSimulation, DrawsReachEveryRowOfALargeList)
{
    // Rows past 32,767 are drawn as often as the first ones.
    SimulationRandom random;
    constexpr size_t kRows = 100000;
    int high = 0;
    size_t largest = 0;
    for (int i = 0; i < 100000; ++i) {
        const size_t r = random.Below(kRows);
        ASSERT_LT(r, kRows);
        high += r >= kRows / 2;
        largest = std::max(largest, r);
    }
    EXPECT_GT(largest, kRows - 100);
    EXPECT_NEAR(high, 50000, 1000);
}

TEST(ReturnsSimulation, BarsAndCurveStayInsideThePlot)
{
    EXPECT_EQ(SimulationBarHeight(0, 400), 1);
    EXPECT_EQ(SimulationBarHeight(7, 400), 2);
    EXPECT_EQ(SimulationBarHeight(400000, 400), 400);
    std::array<uint32_t, kSimulationBins> bins{};
    bins[500] = 70; // height 9
    const std::vector<double> curve = SimulationCurve(bins, 400);
    EXPECT_DOUBLE_EQ(curve[500], 9.0 / 7);
    EXPECT_DOUBLE_EQ(curve[503], 9.0 / 7);
    EXPECT_DOUBLE_EQ(curve[504], 0);
}

TEST(ReturnsSimulation, PeriodsSelectionsAndTheNoPricesText)
{
    EXPECT_EQ(SimulationPeriodOf(0).first, PackDate(1, 12, 2000));
    EXPECT_EQ(SimulationPeriodOf(7).second, PackDate(1, 12, 2001));
    EXPECT_EQ(SimulationPeriodOf(2).first, PackDate(1, 12, 1998));
    const int kinds[5] = {4, 5, 6, 9, 4};
    for (int i = 0; i < 5; ++i)
        EXPECT_EQ(SimulationListKind(i), kinds[i]);
    EXPECT_EQ(NoPricesText(SimulationPeriodOf(0)), "No prices for this period: none of these shares has prices on "
                                                   "both 1 December 2000 and 1 December 2001.");
}

class SimulationPreparation : public test::SimulationFixture {};

TEST_F(SimulationPreparation, LogsThePricedSharesAndMarksTheOthers)
{
    LoadSimulationShares({{"Alpha", 100, 120, PackDate(1, 11, 2000)},
                          {"Late", 100, 150, PackDate(1, 6, 2001)}, // no price on 1 December 2000
                          {"Beta", 200, 100, PackDate(1, 11, 1998)}});
    dev::TempFolder folder{"mc"};
    const auto rows = CollectListRows(RowFilter{4});
    ASSERT_EQ(rows.size(), 3u);
    const PreparedReturns p = PrepareReturns(rows, SimulationPeriodOf(0), folder.path() / "MC.log");
    EXPECT_TRUE(p.logWritten);
    ASSERT_EQ(p.usable.size(), 2u);
    std::ifstream log(folder.path() / "MC.log", std::ios::binary);
    std::stringstream text;
    text << log.rdbuf();
    EXPECT_EQ(text.str(), "Alpha\t100\t120\rBeta\t200\t100\r");
    EXPECT_FLOAT_EQ(p.values[0], std::log(1.2f));
    EXPECT_EQ(p.values[1], kNoReturn);
    EXPECT_FLOAT_EQ(p.values[2], std::log(0.5f));
    // A log that cannot be made leaves the values as they are.
    const PreparedReturns noLog = PrepareReturns(rows, SimulationPeriodOf(0), folder.path() / "missing" / "MC.log");
    EXPECT_FALSE(noLog.logWritten);
    EXPECT_EQ(noLog.usable, p.usable);
}

} // namespace
} // namespace qv
