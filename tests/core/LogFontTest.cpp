// Stored font descriptions: the 60-byte record, faces and point sizes.
#include "core/LogFont.h"

#include <gtest/gtest.h>

#include <array>

using namespace qv;

TEST(LogFont, RecordRoundTripsFieldByField)
{
    LogFont font;
    font.height = -13;
    font.weight = 700;
    font.italic = 1;
    font.pitchAndFamily = 0x22;
    font.setFaceName("Arial");
    std::array<uint8_t, kLogFontSize> bytes{};
    WriteLogFont(bytes, font);
    EXPECT_EQ(bytes[0], 0xF3);
    EXPECT_EQ(bytes[16], 0xBC);
    EXPECT_EQ(bytes[28], 'A');
    LogFont back = ReadLogFont(bytes);
    EXPECT_EQ(back.height, -13);
    EXPECT_EQ(back.weight, 700);
    EXPECT_EQ(back.italic, 1);
    EXPECT_EQ(back.pitchAndFamily, 0x22);
    EXPECT_EQ(back.faceName(), "Arial");

    std::array<uint8_t, kLogFontSize> unterminated{};
    unterminated.fill('x');
    EXPECT_EQ(ReadLogFont(unterminated).faceName().size(), 31u); // a face without its end is cut
    LogFont longName;
    longName.setFaceName(std::string(50, 'y'));
    EXPECT_EQ(longName.faceName().size(), 31u);
}

TEST(LogFont, PointsAndHeights)
{
    EXPECT_EQ(HeightForPoints(10, 96), -13);
    EXPECT_EQ(HeightForPoints(12, 96), -16);
    LogFont font;
    font.height = -13;
    EXPECT_EQ(LogFontPoints(font, 96), 10);
    EXPECT_EQ(LogFontPoints(font, 0), 0);
}
