// A window that grows while shown is moved back inside its screen's available area.
#include "shell/ui/ScreenFit.h"

#include <gtest/gtest.h>

using namespace qv;

namespace {

TEST(ScreenFit, AFrameMovesOnlyAsFarAsItMustToLieInside)
{
    const QRect area(0, 0, 1600, 1000);
    const struct {
        const char* what;
        QRect frame;
        QPoint to;
    } cases[] = {
        {"inside: stays", {100, 100, 480, 480}, {100, 100}},
        {"grown past the bottom: up until its bottom is the area's", {560, 260, 480, 773}, {560, 227}},
        {"past the right and the bottom", {1400, 900, 480, 300}, {1120, 700}},
        {"above and left of the area", {-50, -20, 480, 300}, {0, 0}},
        {"taller than the area: its top on the area's top", {100, 300, 480, 1200}, {100, 0}},
    };
    for (const auto& c : cases)
        EXPECT_EQ(KeptInside(c.frame, area), c.to) << c.what;
    EXPECT_EQ(KeptInside({10, 900, 100, 200}, QRect(0, 30, 800, 570)), QPoint(10, 400)) << "an area below a panel";
}

} // namespace
