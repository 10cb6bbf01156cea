// Scales and coded values of single prices.
#include "core/ScaledPrice.h"

#include <gtest/gtest.h>

#include <limits>
#include <vector>

using namespace qv;

TEST(ScaledPriceTest, ScaleAndValue)
{
    struct Case {
        float price;
        int16_t scale;
        int32_t value;
    } cases[] = {
        {12.5f, 2, 25},          {0.1234f, 10000, 1234},  {1234567.f, -10, 123457}, {100.f, 1, 100},
        {0.25f, 4, 1},           {0.375f, 8, 3},          {1.1f, 10, 11},           {599999.f, 1, 599999},
        {600000.f, -10, 60000},  {123.45f, 100, 12345},   {0.00001234f, 1, 0},  {0.f, 1, 0},
        {300000.5f, 2, 600001},  {987654321.f, -10000, 98765},
    };
    for (const auto& c : cases) {
        auto s = ScalePrice(c.price);
        ASSERT_TRUE(s) << c.price;
        EXPECT_EQ(s->scale, c.scale) << c.price;
        EXPECT_EQ(s->value, c.value) << c.price;
    }
    for (float bad : {-1.f, std::numeric_limits<float>::infinity(), std::numeric_limits<float>::quiet_NaN(), 3e12f})
        EXPECT_FALSE(ScalePrice(bad)) << bad;
}

TEST(ScaledPriceTest, WritesScaleAndVariableLengthValue)
{
    std::vector<uint8_t> sub(100, 0xEE);
    uint8_t* end = FormatScaledPrice(sub.data(), sub.data() + 80, 12.5f);
    ASSERT_EQ(end, sub.data() + 81);
    EXPECT_EQ(sub[8], 2);
    EXPECT_EQ(sub[9], 0);
    EXPECT_EQ(sub[80], 25);
    end = FormatScaledPrice(sub.data(), sub.data() + 80, 1234567.f);
    ASSERT_EQ(end, sub.data() + 83);
    EXPECT_EQ(int16_t(sub[8] | sub[9] << 8), -10);
    // 123457 = 0x1E241: (m >> 14) | 0x80, ((m >> 7) & 0x7F) | 0x80, m & 0x7F
    EXPECT_EQ(sub[80], 0x87);
    EXPECT_EQ(sub[81], 0xC4);
    EXPECT_EQ(sub[82], 0x41);
    EXPECT_EQ(FormatScaledPrice(sub.data(), sub.data() + 80, -2.f), nullptr);
}
