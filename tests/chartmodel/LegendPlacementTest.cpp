// The legend window's opening place by desktop width, or its saved place while on a screen.
#include "chartmodel/LegendPlacement.h"

#include <gtest/gtest.h>

namespace qv {
namespace {

TEST(LegendPlacement, DesktopWidthChoosesOffsetAndSize)
{
    struct Case {
        int32_t desktop;
        LegendRect rect;
    } cases[] = {
        {640, {130, 226, 150, 120}},  {799, {130, 226, 150, 120}},  {800, {132, 228, 180, 150}},
        {1023, {132, 228, 180, 150}}, {1024, {140, 232, 220, 160}}, {1279, {140, 232, 220, 160}},
        {1280, {140, 232, 240, 175}}, {3840, {140, 232, 240, 175}},
    };
    for (const Case& c : cases)
        EXPECT_EQ(DefaultLegendRect(c.desktop, 100, 200), c.rect) << c.desktop;
}

TEST(LegendPlacement, SavedPlaceOnlyWhileOnAScreen)
{
    LegendSettings saved;
    saved.placed = true;
    saved.left = 500;
    saved.top = 50;
    saved.right = 700;
    saved.bottom = 210;
    EXPECT_EQ(ChooseLegendRect(saved, true, 1920, 0, 0), (LegendRect{500, 50, 200, 160}));
    EXPECT_EQ(ChooseLegendRect(saved, false, 1920, 0, 0), (LegendRect{40, 32, 240, 175}));
    saved.placed = false;
    EXPECT_EQ(ChooseLegendRect(saved, true, 1000, 0, 0), (LegendRect{32, 28, 180, 150}));
}

} // namespace
} // namespace qv
