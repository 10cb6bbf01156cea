// The 45-degree lines traced over point-and-figure columns: where each kind starts, what breaks it,
// which broken lines are kept and the open ones left at the end.
#include "charts/FortyFiveDegreeLines.h"

#include <gtest/gtest.h>

#include <tuple>

namespace qv {
namespace {

// Columns by their last box: 10 alone, X to 15, O to 12, X to 17, O to 14, X to 19, O to 14.
std::vector<BoxChartPoint> Columns()
{
    std::vector<BoxChartPoint> points;
    const int32_t boxes[] = {10, 15, 12, 17, 14, 19, 14};
    for (uint32_t step = 0; step < std::size(boxes); ++step)
        points.push_back({step, step, step, boxes[step], float(boxes[step]), 0});
    return points;
}

auto Key(const FortyFiveLine& l)
{
    return std::make_tuple(l.kind, l.startColumn, l.startBox, l.endColumn, l.endBox, l.open);
}

TEST(FortyFiveDegreeLines, EachKindStartsAtItsExtremeAndEndsWhereAColumnBreaksIt)
{
    using K = std::tuple<int, int32_t, int32_t, int32_t, int32_t, bool>;
    const std::vector<K> want = {
        // Bearish resistance: above the X tops 15 and 17 it falls into the next X column within 2
        // columns (dropped); from above 19 it is still open.
        {kBearishResistance, 5, 20, 6, 19, true},
        // Bearish support: from below the first X column's bottom (11) up to the last O column,
        // whose bottom 14 reaches it at 15.
        {kBearishSupport, 1, 10, 6, 15, false},
        // Bullish resistance: only the last O column's top leaves a line, open.
        {kBullishResistance, 6, 19, 6, 19, true},
        // Bullish support: from below the O bottom 12 to the break at column 6, then again under it.
        {kBullishSupport, 2, 11, 6, 15, false},
        {kBullishSupport, 6, 13, 6, 13, true},
    };
    std::vector<K> got;
    for (const FortyFiveLine& l : TraceFortyFiveDegreeLines(Columns(), 15))
        got.push_back(Key(l));
    EXPECT_EQ(got, want);
}

TEST(FortyFiveDegreeLines, OnlyTheEnabledKindsAndNothingWithoutColumns)
{
    const auto lines = TraceFortyFiveDegreeLines(Columns(), 1u << kBullishSupport);
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_EQ(lines[0].kind, kBullishSupport);
    EXPECT_TRUE(TraceFortyFiveDegreeLines(Columns(), 0).empty());
    EXPECT_TRUE(TraceFortyFiveDegreeLines({}, 15).empty());
    // A first column alone starts nothing.
    const BoxChartPoint one[] = {{1, 1, 0, 10, 10, 0}};
    EXPECT_TRUE(TraceFortyFiveDegreeLines(one, 15).empty());
}

} // namespace
} // namespace qv
