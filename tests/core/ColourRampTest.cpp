// Colour ramps and the thirds of a range.
#include "core/ColourRamp.h"

#include <gtest/gtest.h>

#include <vector>

using namespace qv;

TEST(ColourRampTest, StepsEachChannelAndStopsShortOfTheEnd)
{
    std::vector<uint32_t> out(5, 0xDEADBEEF);
    MakeColourGradient(0xFF0000, 0x0000FF, out, 4);
    EXPECT_EQ(out, (std::vector<uint32_t>{0xFF0000, 0xBF0040, 0x800080, 0x4000BF, 0xDEADBEEF}));

    std::vector<uint32_t> one(1);
    MakeColourGradient(0x102030, 0x405060, one, 1);
    EXPECT_EQ(one[0], 0x102030u);

    std::vector<uint32_t> untouched(2, 7);
    MakeColourGradient(0, 0xFFFFFF, untouched, 0);
    MakeColourGradient(0, 0xFFFFFF, untouched, -3);
    EXPECT_EQ(untouched, (std::vector<uint32_t>{7, 7}));

    std::vector<uint32_t> shortArray(2);
    MakeColourGradient(0, 0xFFFFFF, shortArray, 10); // writes no further than the array
    EXPECT_EQ(shortArray[1], 0x1A1A1Au);
}

TEST(ColourRampTest, CompareToMiddleThird)
{
    struct Case {
        double low, high, value;
        int result;
    } cases[] = {
        {0, 6, 4, 1}, {0, 6, 3, 0}, {0, 6, 2, 0}, {0, 6, 1.99, -1}, {0, 6, 5.5, 1}, {0, 6, -1, -1},
        {10, 10, 10, 1}, {-6, 0, -3, 0},
    };
    for (const auto& c : cases)
        EXPECT_EQ(CompareToMiddleThird(c.low, c.high, c.value), c.result) << c.low << " " << c.high << " " << c.value;
}
