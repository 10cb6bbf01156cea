// The log-scale and trend-line toggles: a second use restores what the first removed.
#include "chartmodel/ChartToggles.h"

#include "chartmodel/GraphSettingLayout.h"

#include <gtest/gtest.h>

namespace qv {
namespace {

namespace gs = graphsetting;

TEST(ChartToggles, LogScaleFlipsBitSevenOnly)
{
    GraphSetting s{};
    gs::SetU16(s, gs::kScaleFlags, 3);
    ToggleLogScale(s);
    EXPECT_TRUE(LogScaleOn(s));
    EXPECT_EQ(gs::U16(s, gs::kScaleFlags), 0x83);
    ToggleLogScale(s);
    EXPECT_EQ(gs::U16(s, gs::kScaleFlags), 3);
}

TEST(ChartToggles, TrendLinesComeBackAsTheyWere)
{
    struct Case {
        uint32_t trend, confidence;
    } cases[] = {{1, 0}, {0, 1}, {1, 1}};
    for (const Case& c : cases) {
        GraphSetting s{};
        gs::SetU32(s, gs::kTrendShown, c.trend);
        gs::SetU32(s, gs::kConfidenceShown, c.confidence);
        uint32_t saved = 0x000000FF; // the moving averages' bits stay
        ToggleTrendLines(s, saved);
        EXPECT_FALSE(TrendLinesOn(s));
        EXPECT_EQ(saved & 0xFF, 0xFFu);
        ToggleTrendLines(s, saved);
        EXPECT_EQ(gs::U32(s, gs::kTrendShown), c.trend);
        EXPECT_EQ(gs::U32(s, gs::kConfidenceShown), c.confidence);
    }
    // Nothing saved: the first line alone.
    GraphSetting off{};
    uint32_t none = 0;
    ToggleTrendLines(off, none);
    EXPECT_EQ(gs::U32(off, gs::kTrendShown), 1u);
    EXPECT_EQ(gs::U32(off, gs::kConfidenceShown), 0u);
}

} // namespace
} // namespace qv
