// The copied chart picture's rules: size choice, footer layout and export names.
#include "chartmodel/ChartCopy.h"

#include <gtest/gtest.h>

namespace qv {
namespace {

TEST(ChartCopy, SizeIsTheWindowsOrTheFixedSizeKeptInRange)
{
    struct Case {
        uint8_t window;
        int32_t w, h;
        int32_t expectW, expectH;
    } cases[] = {
        {1, 600, 400, 812, 530}, {0, 600, 400, 600, 400}, {0, 50, 9000, 100, 5000}, {0, 5001, 99, 5000, 100},
    };
    for (const Case& c : cases) {
        ClipboardCopyOptions options{c.window, c.w, c.h, 1};
        CopySize size = ChooseCopySize(options, 812, 530);
        EXPECT_EQ(size.width, c.expectW) << c.w;
        EXPECT_EQ(size.height, c.expectH) << c.h;
    }
}

TEST(ChartCopy, FooterAlignsWithThePlotOnWhiteAndInsideTheEdgesOnColour)
{
    int32_t left = 0, right = 0;
    FooterArea(0xFFFFFF, 60, 540, 600, left, right);
    EXPECT_EQ(left, 60);
    EXPECT_EQ(right, 540);
    FooterArea(0x203040, 60, 540, 600, left, right);
    EXPECT_EQ(left, 2);
    EXPECT_EQ(right, 598);
    // Only the colour counts: a high byte on a white word is still white.
    FooterArea(0x01FFFFFF, 60, 540, 600, left, right);
    EXPECT_EQ(left, 60);
}

TEST(ChartCopy, FooterPlacesTheNameRightAndDropsTheAddressWhenTooNarrow)
{
    FooterLayout wide = LayoutCopyFooter(400, 2, 598, 30, 40, 120);
    EXPECT_EQ(wide.stripTop, 385);
    EXPECT_EQ(wide.baseline, 396);
    EXPECT_EQ(wide.normalX, 558);
    EXPECT_EQ(wide.boldX, 528);
    EXPECT_TRUE(wide.showAddress);
    EXPECT_EQ(wide.addressX, 2);
    // The address ends exactly 10 pixels before the name: shown; one pixel less room: dropped.
    EXPECT_TRUE(LayoutCopyFooter(400, 0, 200, 30, 40, 120).showAddress);
    EXPECT_FALSE(LayoutCopyFooter(400, 0, 199, 30, 40, 120).showAddress);
}

TEST(ChartCopy, ExportNamesKeepAKnownFormOrTakeTheFiltersExtension)
{
    struct Case {
        const char* chosen;
        ExportForm filter;
        const char* expect;
        ExportForm form;
    } cases[] = {
        {"a.svg", ExportForm::Png, "a.svg", ExportForm::Svg}, {"a.PNG", ExportForm::Svg, "a.PNG", ExportForm::Png},
        {"chart", ExportForm::Svg, "chart.svg", ExportForm::Svg},
        {"chart.emf", ExportForm::Png, "chart.emf.png", ExportForm::Png},
    };
    for (const Case& c : cases) {
        ExportForm form{};
        EXPECT_EQ(ExportFileName(c.chosen, c.filter, form), c.expect);
        EXPECT_EQ(form, c.form) << c.chosen;
    }
    EXPECT_EQ(DefaultExportName("VOD: Vodafone: Daily"), "VOD_ Vodafone_ Daily");
    EXPECT_EQ(DefaultExportName("Ord 25p A/B - Weekly"), "Ord 25p A_B - Weekly");
}

} // namespace
} // namespace qv
