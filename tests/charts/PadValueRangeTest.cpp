// Padding of value ranges: margins, the logarithmic margins, empty spans, the modes and a fixed or
// inverted range.
#include "charts/PadValueRange.h"

#include "chartmodel/ChartRoutines.h"
#include "chartmodel/GraphModel.h"

#include <gtest/gtest.h>

namespace qv {
namespace {

TEST(PadValueRange, MarginsEmptySpansAndModes)
{
    struct Case {
        const char* what;
        float low, high;
        uint8_t flags;
        uint32_t mode;
        float wantLow, wantHigh;
    };
    const Case cases[] = {
        {"5% of the span each end", 0, 100, 0, 0, -5, 105},
        {"log: 10% above, 1% below", 0, 100, kRangeLogarithmic, 0, -1, 110},
        {"empty near 0 becomes -1..1", 0.0005f, 0.0005f, 0, 0, -1.1f, 1.1f},
        {"empty near 0 in mode 1 stays", 0, 0, 0, kPadFloorZero, 0, 0},
        {"empty positive: 5% each way", 100, 100, 0, 0, 94.5f, 105.5f},
        {"empty negative: 5% each way by sign", -100, -100, 0, 0, -105.5f, -94.5f},
        {"mode 1 clamps a negative minimum", 0, 100, 0, kPadFloorZero, 0, 105},
        {"mode 2 symmetric about 0", -10, 30, 0, kPadSymmetricZero, -32, 32},
        {"mode 4 symmetric about 100", 98, 110, 0, kPadSymmetricHundred, 89.4f, 110.6f},
        {"an inverted range is kept", 10, 5, 0, kPadSymmetricZero, 10, 5},
    };
    for (const Case& c : cases) {
        ValueRange r{};
        r.minimum = c.low;
        r.maximum = c.high;
        r.flags = c.flags;
        PadValueRange(r, nullptr, c.mode);
        EXPECT_NEAR(r.minimum, c.wantLow, 1e-3) << c.what;
        EXPECT_NEAR(r.maximum, c.wantHigh, 1e-3) << c.what;
    }
}

TEST(PadValueRange, SettingsCountOnlyWithTheirFlagAndMayFixTheRange)
{
    ScaleSettings settings;
    settings.marginPercent = 10;
    ValueRange r{};
    r.minimum = 0;
    r.maximum = 100;
    PadValueRange(r, &settings, 0);  // flag bit 0 clear: the 5% default
    EXPECT_FLOAT_EQ(r.maximum, 105);

    settings.flags = 1 | 2;
    settings.fixedMinimum = 20;
    settings.fixedMaximum = 40;
    r.minimum = 0;
    r.maximum = 100;
    PadValueRange(r, &settings, 0);
    EXPECT_FLOAT_EQ(r.minimum, 18);
    EXPECT_FLOAT_EQ(r.maximum, 42);
    EXPECT_TRUE(r.flags & kRangeFixed);
}

} // namespace
} // namespace qv
