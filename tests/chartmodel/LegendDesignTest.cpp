// The legend design rules: grey ticks, and the item and colour defaults.
#include "chartmodel/LegendDesign.h"

#include <gtest/gtest.h>

namespace ld = qv::legenddesign;

TEST(LegendDesignRules, GreyTicksForSelectedItemsThatDoNotApply)
{
    EXPECT_EQ(ld::ShownTick(true, false), ld::Tick::Grey);
    EXPECT_EQ(ld::ShownTick(true, true), ld::Tick::On);
    EXPECT_EQ(ld::ShownTick(false, false), ld::Tick::Off);
}

TEST(LegendDesignRules, DarkPairsSwapTheLightOnes)
{
    EXPECT_EQ(ld::PairDefault(0, false).text, 0x000060u);
    EXPECT_EQ(ld::PairDefault(0, true).text, 0xE0E0FFu);
    EXPECT_EQ(ld::PairDefault(3, true).background, 0x000000u);
    // Items default: name, list, sector, index, main graph, four add-ons, relative, four averages.
    EXPECT_EQ(ld::kItemsDefault, (1u | 8 | 16 | 64 | (0x1Fu << 12) | (1u << 17) | (0xFu << 22)));
}
