// Tests of little-endian reading and writing of stored files and of in-memory records, field by field.
#include "platform/ByteOrder.h"

#include <gtest/gtest.h>

using namespace qv;

TEST(ByteOrder, WriterAndReaderAgreeFieldByField)
{
    ByteWriter w;
    w.u8(0xAB);
    w.u16(0x1234);
    w.i16(-2);
    w.u32(0xDEADBEEF);
    w.i32(-100000);
    w.f32(1.5f);
    w.f64(-2.25);
    w.fixedText("EPIC", 6);
    w.cString("name");
    EXPECT_EQ(w.size(), 1u + 2 + 2 + 4 + 4 + 4 + 8 + 6 + 5);
    // Little-endian on disk whatever the host.
    EXPECT_EQ(w.data()[1], 0x34);
    EXPECT_EQ(w.data()[2], 0x12);

    ByteReader r(w.data());
    uint8_t a; uint16_t b; int16_t c; uint32_t d; int32_t e; float f; double g;
    std::string fixed, text;
    ASSERT_TRUE(r.u8(a) && r.u16(b) && r.i16(c) && r.u32(d) && r.i32(e) && r.f32(f) && r.f64(g)
                && r.fixedText(fixed, 6) && r.cString(text));
    EXPECT_EQ(a, 0xAB);
    EXPECT_EQ(b, 0x1234);
    EXPECT_EQ(c, -2);
    EXPECT_EQ(d, 0xDEADBEEFu);
    EXPECT_EQ(e, -100000);
    EXPECT_EQ(f, 1.5f);
    EXPECT_EQ(g, -2.25);
    EXPECT_EQ(fixed, "EPIC");
    EXPECT_EQ(text, "name");
    EXPECT_TRUE(r.atEnd());
}

TEST(ByteOrder, ShortReadFailsAndStaysFailed)
{
    const uint8_t bytes[] = {1, 2, 3};
    ByteReader r(bytes, sizeof bytes);
    uint16_t v = 0;
    EXPECT_TRUE(r.u16(v));
    uint32_t big = 77;
    EXPECT_FALSE(r.u32(big));
    EXPECT_EQ(big, 0u);
    uint8_t one = 9;
    EXPECT_FALSE(r.u8(one)); // one byte remains, but the reader has failed
    EXPECT_FALSE(r.ok());
    EXPECT_EQ(r.remaining(), 0u);
}

TEST(ByteOrder, LengthsPastTheEndAreRefused)
{
    const uint8_t bytes[] = {'a', 'b', 'c'};
    {
        ByteReader r(bytes, sizeof bytes);
        EXPECT_TRUE(r.take(4).empty());
        EXPECT_FALSE(r.ok());
    }
    {
        ByteReader r(bytes, sizeof bytes);
        std::string s;
        EXPECT_FALSE(r.cString(s)); // no NUL before the end
    }
    {
        ByteReader r(bytes, sizeof bytes);
        EXPECT_FALSE(r.skip(SIZE_MAX)); // no wrap-around
        ByteReader r2(bytes, sizeof bytes);
        EXPECT_FALSE(r2.seek(4));
        ByteReader r3(bytes, sizeof bytes);
        EXPECT_TRUE(r3.seek(3));
        EXPECT_TRUE(r3.atEnd());
    }
}

TEST(ByteOrder, FixedTextIsCutAndPadded)
{
    ByteWriter w;
    w.fixedText("ABCDEFGH", 4);
    ASSERT_EQ(w.size(), 4u);
    EXPECT_EQ(w.data()[3], 0);
    ByteReader r(w.data());
    std::string s;
    ASSERT_TRUE(r.fixedText(s, 4));
    EXPECT_EQ(s, "ABC");
}
