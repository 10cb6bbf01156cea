// The graph design rules: corrections on opening, the box-value and reversal checks, the Light and
// Dark defaults, the filled-pen rule and the two margins.
#include "chartmodel/GraphDesign.h"

#include "chartmodel/GraphSettingDefaults.h"
#include "chartmodel/GraphSettingLayout.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

using namespace qv;
using namespace qv::graphsetting;
namespace gd = qv::graphdesign;

TEST(GraphDesignRules, CorrectionsOnOpening)
{
    EXPECT_EQ(gd::CorrectTimeScale(8), 8);
    EXPECT_EQ(gd::CorrectTimeScale(9), 0);
    EXPECT_EQ(gd::CorrectReversal(0), 1);
    EXPECT_EQ(gd::CorrectReversal(11), 10);
    EXPECT_DOUBLE_EQ(gd::CorrectBoxValue(0.0), 0.01);
    EXPECT_DOUBLE_EQ(gd::CorrectBoxValue(655.35), 500);
    EXPECT_EQ(gd::CorrectPage(5), 5);
    EXPECT_EQ(gd::CorrectPage(6), 0);
}

TEST(GraphDesignRules, BoxValueBoundsFollowTheOption)
{
    struct Case {
        double value;
        int option;
        bool valid;
    } cases[] = {
        {150, gd::kBoxOptionPercentOfValue, false}, {150, 0, true}, {99, 1, true},  {500, 0, true},
        {500.01, 0, false},                         {0.01, 2, true}, {0.009, 0, false},
    };
    for (const Case& c : cases)
        EXPECT_EQ(gd::BoxValueValid(c.value, c.option), c.valid) << c.value << " option " << c.option;
    EXPECT_EQ(gd::BoxValueLimit(1), 99);
    EXPECT_EQ(gd::BoxValueLimit(4), 500);
    // Stored x 100 without losing a hundredth to the binary fraction.
    EXPECT_EQ(gd::StoredBoxValue(0.29), 29);
    EXPECT_EQ(gd::StoredBoxValue(1.0), 100);
    EXPECT_FALSE(gd::ReversalValid(11));
    EXPECT_TRUE(gd::ReversalValid(10));
    EXPECT_EQ(gd::ReversalOffset(gd::kPriceDisplayLineBreak), kLineBreakLines);
    EXPECT_EQ(gd::ReversalOffset(gd::kPriceDisplayPointFigure), kReversal);
}

TEST(GraphDesignRules, LightAndDarkDefaults)
{
    GraphSetting r{};
    InitGraphSetting(r, false);
    SetU32(r, kGridPenV, 0x02C0C0C0 | (2u << 28));   // dotted, wider
    SetU32(r, kFramePen, 0x01000000);
    SetU32(r, kGridDensityH, 0);
    SetU8(r, kPriceLines, 7);
    gd::ApplyColourDefaults(r, false);
    EXPECT_EQ(U32(r, kGridPenV) & 0x07FFFFFFu, 0xC0C0C0u);
    EXPECT_EQ(U32(r, kFramePen), 0u);
    EXPECT_EQ(U32(r, kGridDensityH), 2u);
    EXPECT_EQ(U32(r, kGridDensityV), 2u);
    EXPECT_EQ(U8(r, kWhiteSpace), 1);
    EXPECT_EQ(U8(r, kPriceDisplay), 1);
    EXPECT_EQ(U8(r, kPriceLines), 0);
    EXPECT_EQ(U8(r, kPriceTypeLine), 3);
    EXPECT_EQ(U16(r, kVolumeSignalPeriods), 25);
    EXPECT_EQ(U8(r, kVolumePane) & 3, 1);
    EXPECT_EQ(U8(r, kShadedFrames), 0);
    EXPECT_EQ(U32(r, kBackground) & 0xFFFFFF, 0xFFFFFFu);
    EXPECT_EQ(U32(r, kWatermarkColour) & 0xFFFFFF, 0xDCDCDCu);

    gd::ApplyColourDefaults(r, true);
    EXPECT_EQ(U8(r, kShadedFrames), 4);
    EXPECT_EQ(U32(r, kBackground) & 0xFFFFFF, 0u);
    EXPECT_EQ(U32(r, kScaleTextColour) & 0xFFFFFF, 0x4080FFu);
    EXPECT_EQ(U32(r, kTitleTextColour) & 0xFFFFFF, 0x00FFFFu);
    EXPECT_EQ(PriceColour(r, 2) & 0xFFFFFF, 0xC8FF96u);
}

TEST(GraphDesignRules, LeavingCloseLineTurnsFilledPriceColoursSolid)
{
    GraphSetting r{};
    SetU32(r, kPriceColours, 0x050000FF);
    SetU32(r, kPriceColours + 4, 0x01008000);
    gd::SolidifyFilledPriceColours(r);
    EXPECT_EQ(PriceColour(r, 0), 0x000000FFu);
    EXPECT_EQ(PriceColour(r, 1), 0x01008000u);
}

TEST(GraphDesignRules, PreviewMarginIsNarrowerThanTheView)
{
    GraphSetting r{};
    SetU8(r, kWhiteSpace, 2);
    SetU32(r, kFramePen, 0);
    EXPECT_EQ(gd::PreviewMargin(r), 5);
    EXPECT_EQ(gd::ViewMargin(r), 7);
}

TEST(GraphDesignRules, FontFaceIsCutAndTerminated)
{
    GraphSetting r{};
    std::memset(r.data() + kFontFace, 'x', kFontFaceSize);
    gd::SetChartFontFace(r, std::string(40, 'A').c_str());
    const char* face = reinterpret_cast<const char*>(r.data() + kFontFace);
    EXPECT_EQ(std::string(face), std::string(31, 'A'));
    EXPECT_EQ(r.bytes[kFontFace + 31], 0);
    gd::SetChartFontFace(r, "Arial");
    EXPECT_STREQ(face, "Arial");
    EXPECT_EQ(r.bytes[kFontFace + 31], 0);
}
