// The plain line's geometry: extension by the style bits, visibility in the pane, point order.
#include "charts/LineStudyGeometry.h"

#include "charts/DrawingObjectHits.h"

#include <gtest/gtest.h>

namespace qv {
namespace {

TEST(LineStudyGeometry, ExtendedEndsAndMainSegmentFollowTheStyleBits)
{
    const PaneBox pane{0, 0, 400, 200};
    struct Case {
        ScreenPoint a, b;
        uint16_t style;
        ScreenPoint from, to;
        bool visible;
    } cases[] = {
        {{100, 100}, {200, 50}, 0, {100, 100}, {200, 50}, true},
        {{100, 100}, {200, 50}, kExtendRight, {100, 100}, {400, -50}, true},
        {{100, 100}, {200, 50}, kExtendLeft, {0, 150}, {200, 50}, true},
        // Wholly above the pane, and only its extension to the left comes down into it.
        {{300, -100}, {350, -150}, 0, {300, -100}, {350, -150}, false},
        {{300, -100}, {350, -150}, kExtendLeft, {0, 200}, {350, -150}, true},
        // An upright line keeps its points.
        {{50, 20}, {50, 180}, kExtendLeft | kExtendRight, {50, 20}, {50, 180}, true},
    };
    for (const Case& c : cases) {
        LineStudyFigure figure = ComputeLineStudyFigure(c.a, c.b, pane, c.style);
        EXPECT_EQ(figure.from, c.from) << c.style;
        EXPECT_EQ(figure.to, c.to) << c.style;
        EXPECT_EQ(figure.visible, c.visible) << c.a.x << "," << c.a.y << " style " << c.style;
    }
    LineStudyFigure both = ComputeLineStudyFigure({100, 100}, {200, 50}, pane, 0);
    EXPECT_EQ(both.leftEnd, (ScreenPoint{0, 150}));
    EXPECT_EQ(both.rightEnd, (ScreenPoint{400, -50}));
}

TEST(LineStudyGeometry, PointsInDateOrder)
{
    EXPECT_TRUE(LinePointsSwap(20, 10));
    EXPECT_FALSE(LinePointsSwap(10, 10));
    EXPECT_EQ(SwappedPart(1), 2);
    EXPECT_EQ(SwappedPart(2), 1);
    EXPECT_EQ(SwappedPart(9), 9);
    EXPECT_TRUE(LineBeforeChart(4, 5));
    EXPECT_FALSE(LineBeforeChart(5, 5));
}

} // namespace
} // namespace qv
