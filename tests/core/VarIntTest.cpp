#include "core/VarInt.h"

#include "core/PriceStream.h"

#include <gtest/gtest.h>

#include <random>

using namespace qv;

TEST(VarInt, LengthsFollowTheMagnitude)
{
    struct {
        int32_t value;
        int bytes;
    } cases[] = {{0, 1}, {-5, 1}, {31, 1}, {32, 2}, {100, 2}, {4095, 2}, {5000, 3}, {-70000, 3},
                 {0x7FFFF, 3}, {0x80000, 4}, {kVarIntLimit, 4}, {-kVarIntLimit, 4}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.value);
        uint8_t out[4];
        uint8_t* end = EncodeVarInt(c.value, out);
        ASSERT_NE(end, nullptr);
        EXPECT_EQ(end - out, c.bytes);
        const uint8_t* p = out;
        EXPECT_EQ(ReadStreamTokenAlone(p, end), c.value);
        EXPECT_EQ(p, end);
    }
}

TEST(VarInt, MagnitudesThatDoNotFitAreRejected)
{
    for (int32_t v : {1 << 26, -(1 << 26), INT32_MAX, INT32_MIN}) {
        uint8_t out[4] = {0xEE, 0xEE, 0xEE, 0xEE};
        EXPECT_EQ(EncodeVarInt(v, out), nullptr) << v;
        EXPECT_EQ(out[0], 0xEE);
    }
}

TEST(VarInt, RandomValuesRoundTrip)
{
    std::mt19937 rng(7);
    std::uniform_int_distribution<int32_t> dist(-kVarIntLimit, kVarIntLimit);
    for (int i = 0; i < 20000; ++i) {
        int32_t v = dist(rng) >> (rng() % 26);
        uint8_t out[4];
        uint8_t* end = EncodeVarInt(v, out);
        ASSERT_NE(end, nullptr);
        ASSERT_NE(out[0], 0x20) << "a negative zero would read as the end mark";
        const uint8_t* p = out;
        ASSERT_EQ(ReadStreamTokenAlone(p, end), v);
    }
}
