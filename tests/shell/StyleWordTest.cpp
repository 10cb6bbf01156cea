// The line and dot bits of packed style words.
#include "shell/StyleWord.h"

#include <gtest/gtest.h>

using namespace qv;

TEST(StyleWord, LineBits)
{
    LineStyleBits bits = ReadLineBits(0x23000000);
    EXPECT_EQ(bits.style, 3);
    EXPECT_EQ(bits.thickness, 3);
    EXPECT_EQ(bits.bandEdge, 1);
    EXPECT_EQ(PackLineBits({5, 4, 2}), 0x3D000000u);
    EXPECT_EQ(PackLineBits({1, 4, 2}), 0x31000000u); // the band edge only for bands
    // A width field of 8 or more reads as 0 or less, draws 1 wide, and is written back as it was.
    for (uint32_t word : {0x80000000u, 0xF5000000u, 0x7D000000u}) {
        LineStyleBits read = ReadLineBits(word);
        EXPECT_EQ(PackLineBits(read), word & 0xFF000000u) << std::hex << word;
        EXPECT_GE(DrawnThickness(read.thickness), 1);
    }
    EXPECT_EQ(ReadLineBits(0xF0000000).thickness, 0);
}

TEST(StyleWord, DotBits)
{
    DotStyleBits bits = ReadDotBits(0x32000000);
    EXPECT_EQ(bits.style, 2);
    EXPECT_EQ(bits.size, 3);
    EXPECT_EQ(PackDotBits({1, 5}), 0x51000000u);
    EXPECT_EQ(ReadDotBits(0x90000000).size, -7);
    EXPECT_EQ(DrawnDotSize(-7), 0);
    EXPECT_EQ(PackDotBits(ReadDotBits(0x91000000)), 0x91000000u);
}

TEST(StyleWord, BandTintAndPlainColours)
{
    EXPECT_EQ(BandTint(0x000000), 0xAAAAAAu);
    EXPECT_EQ(BandTint(0xFFFFFF), 0xFFFFFFu);
    EXPECT_EQ(BandTint(0x0000FF), 0xAAAAFFu);
    EXPECT_TRUE(IsPlainColour(0xFFFFFF));
    EXPECT_FALSE(IsPlainColour(0xFF000000));
    EXPECT_FALSE(IsPlainColour(0x1000000));
}
