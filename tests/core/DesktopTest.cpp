// The desktop rectangle over all monitors and the font test, against a fake display.
#include "core/Desktop.h"

#include "support/FakeDisplay.h"

#include <gtest/gtest.h>

using namespace qv;

TEST(DesktopTest, UnionOfMonitorsElseTheDesktopWindow)
{
    test::FakeDisplay display;
    EXPECT_EQ(GetMonitorWorkArea(), (ScreenRect{0, 0, 1024, 768})) << "no enumeration";
    display.monitors = std::vector<ScreenRect>{};
    EXPECT_EQ(GetMonitorWorkArea(), (ScreenRect{0, 0, 1024, 768})) << "nothing enumerated";
    display.monitors = std::vector<ScreenRect>{{0, 0, 1920, 1080}, {-1280, 200, 0, 1224}, {1920, -300, 3000, 500}};
    EXPECT_EQ(GetMonitorWorkArea(), (ScreenRect{-1280, -300, 3000, 1224}));
}

TEST(DesktopTest, FontFacesAreCutTo31Characters)
{
    test::FakeDisplay display;
    display.families = {"Arial", std::string(31, 'F')};
    EXPECT_TRUE(FontExists("Arial"));
    EXPECT_FALSE(FontExists("Nothing Like It"));
    EXPECT_TRUE(FontExists(std::string(40, 'F')));
    EXPECT_EQ(display.asked.back().size(), 31u);
}
