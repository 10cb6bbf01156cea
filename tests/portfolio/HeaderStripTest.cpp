// Tests of the header strip's placement rules.
#include "portfolio/HeaderStrip.h"

#include <gtest/gtest.h>

using namespace qv;

namespace {

// Every character is 10 pixels wide; the gap is 8.
int Width(const std::string& text) { return int(text.size()) * 10; }

TEST(HeaderStrip, AnEmptyLabelJoinsItsValueAndItemsPastTheRightEdgeAreLeftOut)
{
    const std::vector<HeaderItem> items = {{"Value", "12.00"}, {"", "+1.00"}, {"Profit", "3"}, {"Charges", "1.00"}};
    auto places = PlaceHeaderItems(items, 8, 1000, Width);
    ASSERT_EQ(places.size(), 4u);
    // "Value" at 8, its value after the label and two gaps, its box one gap either side.
    EXPECT_TRUE(places[0].labelDrawn);
    EXPECT_EQ(places[0].labelX, 8);
    EXPECT_EQ(places[0].valueX, 8 + 50 + 16);
    EXPECT_EQ(places[0].boxLeft, places[0].valueX - 8);
    EXPECT_EQ(places[0].boxRight, places[0].valueX + 50 + 8);
    // The joined value starts three gaps after the value before: boxes one gap apart.
    EXPECT_FALSE(places[1].labelDrawn);
    EXPECT_EQ(places[1].valueX, places[0].valueX + 50 + 3 * 8);
    EXPECT_EQ(places[1].boxLeft - places[0].boxRight, 8);
    EXPECT_EQ(places[2].labelX, places[1].valueX + 50 + 4 * 8);

    // With the right edge just past the second item the rest is not placed.
    places = PlaceHeaderItems(items, 8, places[2].labelX - 1, Width);
    EXPECT_EQ(places.size(), 2u);
    EXPECT_TRUE(PlaceHeaderItems({}, 8, 1000, Width).empty());
}

} // namespace
