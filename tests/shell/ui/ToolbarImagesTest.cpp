// The program's toolbar picture strips: each size drawn when first asked for, and drawn again after a
// refresh that found names or colours changed.
#include "shell/ui/ToolbarImages.h"

#include "shell/UserToolbars.h"
#include "shell/ToolbarCatalogue.h"

#include <gtest/gtest.h>
#include <algorithm>
#include <numeric>
#include <random>

namespace qv {
namespace {

// The strip's first cell keeps a margin of the background at its top left corner.
QRgb Ground(uint8_t size) { return ProgramToolbarStrip(size).pixel(0, 0) & 0xFFFFFF; }

TEST(ToolbarImages, StripsAreDrawnWhenAskedForOnTheColourOfTheLastRefresh)
{
    const uint32_t saved = ProgramToolbars().background;
    ProgramToolbars().background = 0x0000FF; // red as 0x00BBGGRR
    MarkToolbarImagesStale();
    EXPECT_TRUE(RefreshToolbarImages());
    EXPECT_FALSE(RefreshToolbarImages());
    EXPECT_EQ(Ground(kButtonsLarge), 0xFF0000u);
    const qint64 drawn = ProgramToolbarStrip(kButtonsLarge).cacheKey();
    EXPECT_EQ(ProgramToolbarStrip(kButtonsLarge).cacheKey(), drawn); // not drawn again unasked

    ProgramToolbars().background = 0xFF0000; // blue
    EXPECT_FALSE(RefreshToolbarImages());     // nobody said it changed: the red strip stays
    EXPECT_EQ(Ground(kButtonsLarge), 0xFF0000u);
    MarkToolbarImagesStale();
    EXPECT_TRUE(RefreshToolbarImages());
    // The strip drawn before and those not drawn yet all come on the new colour.
    for (uint8_t size : {kButtonsLarge, kButtonsSmall, kButtonsWide})
        EXPECT_EQ(Ground(size), 0x0000FFu) << int(size);
    for (uint8_t size : {kButtonsLarge, kButtonsSmall, kButtonsWide}) {
        const QRect last = ToolbarImages::Cell(size, kButtonImageCount - 1);
        EXPECT_EQ(ProgramToolbarStrip(size).width(), ToolbarImages::StripWidth(size));
        EXPECT_EQ(ProgramToolbarStrip(size).height(), last.bottom() + 1);
    }

    ProgramToolbars().background = saved;
    MarkToolbarImagesStale();
}

// A picture comes out the same whatever was drawn before it: cells drawn in a shuffled order (each
// with its own painter) give the strip drawn from the first cell to the last.
TEST(ToolbarImages, CellsDrawnInAnyOrderGiveTheSameStrip)
{
    ToolbarSet set;
    set.background = 0x80C0A0;
    std::vector<int> order(kButtonImageCount);
    std::iota(order.begin(), order.end(), 0);
    std::shuffle(order.begin(), order.end(), std::mt19937(89));
    for (uint8_t size : {kButtonsLarge, kButtonsSmall, kButtonsWide}) {
        for (bool newMail : {false, true}) {
            ToolbarImages inOrder, shuffled;
            inOrder.Clear(size, set.background);
            shuffled.Clear(size, set.background);
            for (int i = 0; i < kButtonImageCount; ++i)
                inOrder.DrawCell(size, i, set, newMail);
            for (int i : order) {
                shuffled.DrawCell(size, i, set, newMail);
                shuffled.DrawCell(size, i, set, !newMail); // a drawn cell is not drawn again
            }
            EXPECT_EQ(shuffled.Strip(size), inOrder.Strip(size)) << int(size) << newMail;
        }
    }
}

} // namespace
} // namespace qv
