// The momentum ratios over runs of bars, both vector widths, written into and around the caches.
#include "chartmodel/MomentumRatios.h"

#include "chartmodel/IndicatorCalc.h"
#include "chartmodel/IndicatorRecord.h"

#include <gtest/gtest.h>

#include <bit>
#include <cstdint>
#include <limits>
#include <random>
#include <vector>

using namespace qv;

namespace {

std::vector<Bar> BarsOf(const std::vector<float>& closes)
{
    std::vector<Bar> bars;
    for (float c : closes)
        bars.push_back({c, c, c, c, 1});
    return bars;
}

std::vector<float> Closes(size_t count, uint32_t seed)
{
    std::mt19937 rng(seed);
    std::vector<float> closes(count);
    for (float& c : closes)
        c = float(1 + rng() % 100000) / 7;
    return closes;
}

} // namespace

// Every output against float(100.0 * close / then), bit for bit, at every alignment of the outputs;
// a 0 of either sign among the divisors, and only that, refuses the run.
TEST(MomentumRatios, GiveTheBarByBarBitsAtBothWidthsInAndAroundTheCaches)
{
    const float nan = std::numeric_limits<float>::quiet_NaN(), inf = std::numeric_limits<float>::infinity();
    struct Case {
        const char* name;
        std::vector<float> closes;
        bool refused;
    };
    std::vector<Case> cases{{"plain", Closes(300, 1), false}};
    auto with = [](std::vector<float> closes, size_t at, std::vector<float> values) {
        for (float v : values)
            closes[at++] = v;
        return closes;
    };
    // Odd values as closes and divisors; a 0 only among the last closes, which divide nothing.
    cases.push_back({"odd values", with(with(Closes(300, 2), 150, {nan, inf, -inf, 1e-40f, 3e38f, -5, 1e-30f}), 295, {-0.0f, 0.0f}), false});
    cases.push_back({"a zero divisor late", with(Closes(300, 3), 250, {0.0f}), true});
    cases.push_back({"a negative zero divisor", with(Closes(300, 4), 100, {-0.0f}), true});
    cases.push_back({"a zero divisor in the first bars", with(Closes(300, 5), 0, {0.0f}), true});
    const size_t n = 10;
    for (const Case& c : cases) {
        const std::vector<Bar> bars = BarsOf(c.closes);
        const size_t count = bars.size() - n;
        for (VectorWidth width : {VectorWidth::Widest, VectorWidth::Narrow}) {
            for (bool pastCaches : {false, true}) {
                for (size_t shift = 0; shift < 4; ++shift) {
                    SCOPED_TRACE(testing::Message() << c.name << " width " << int(width) << " past caches "
                                                    << pastCaches << " shift " << shift);
                    std::vector<float> out(count + 4);
                    float* at = out.data() + shift;
                    ASSERT_EQ(MomentumRatios(bars.data() + n, n, count, at, pastCaches, width), !c.refused);
                    EndWritesPastCaches();
                    if (c.refused)
                        continue;
                    for (size_t i = 0; i < count; ++i) {
                        const float want = float(100.0 * bars[n + i].close / bars[i].close);
                        ASSERT_EQ(std::bit_cast<uint32_t>(at[i]), std::bit_cast<uint32_t>(want)) << i;
                    }
                }
            }
        }
    }
}

// A series long enough to be written around the caches, with closes of 0 in it, against the line bar
// by bar: the value held past a 0 carries across the blocks.
TEST(MomentumRatios, ALongSeriesWithZeroClosesMatchesTheLineBarByBar)
{
    std::vector<float> closes = Closes(300000, 6);
    for (size_t at : {size_t(3), size_t(1000), size_t(1001), size_t(262143), size_t(299990)})
        closes[at] = 0;
    const std::vector<Bar> bars = BarsOf(closes);
    const IndicatorRecord settings = IndicatorRecord::Of(5, 0, 10);
    auto series = CreateIndicatorCalc(settings, bars[0]);
    std::vector<float> out(bars.size());
    series->AddSeries(bars.data(), bars.size(), out.data());
    auto byBar = CreateIndicatorCalc(settings, bars[0]);
    for (size_t i = 0; i < bars.size(); ++i)
        ASSERT_EQ(std::bit_cast<uint32_t>(out[i]), std::bit_cast<uint32_t>(byBar->AddValue(bars[i])[0])) << i;
    EXPECT_EQ(std::bit_cast<uint32_t>(series->Outputs()[0]), std::bit_cast<uint32_t>(out.back()));
}
