// Text box geometry: the font scale (magnitude of the height, 0 takes the zoom mean), the box from its
// anchor, its resizing by corners and edges, and the arrow's side, head and line.
#include "charts/TextBoxGeometry.h"

#include <gtest/gtest.h>

namespace qv {
namespace {

using namespace textbox;

TEST(TextBoxGeometry, TheScaleUsesTheHeightsMagnitudeAndNoHeightTakesTheZoom)
{
    EXPECT_DOUBLE_EQ(TextBoxScale(12, -16, 96, 1.0), 1.0);
    EXPECT_DOUBLE_EQ(TextBoxScale(12, 16, 96, 1.0), 1.0) << "a positive (cell) height gives no negative scale";
    EXPECT_DOUBLE_EQ(TextBoxScale(24, -16, 96, 1.0), 2.0);
    EXPECT_DOUBLE_EQ(TextBoxScale(12, 0, 96, 1.5), 1.5) << "no division by zero";
    // Doubling the point size doubles the box.
    const TextBoxBox small = TextBoxRect({100, 200}, 10, 20, 100, 50, TextBoxScale(10, -13, 96, 1));
    const TextBoxBox large = TextBoxRect({100, 200}, 10, 20, 100, 50, TextBoxScale(20, -13, 96, 1));
    EXPECT_NEAR(large.right - large.left, 2 * (small.right - small.left), 1);
    EXPECT_NEAR(large.bottom - large.top, 2 * (small.bottom - small.top), 1);
}

TEST(TextBoxGeometry, TheBoxHangsFromItsAnchorByItsOffsets)
{
    const TextBoxBox b = TextBoxRect({100, 200}, 10, -20, 100, 50, 1.5);
    EXPECT_EQ(b.left, 85);
    EXPECT_EQ(b.top, 230);
    EXPECT_EQ(b.right, 235);
    EXPECT_EQ(b.bottom, 305);
}

TEST(TextBoxGeometry, ANewBoxIsMovedOffThePanesEdgesByAsLittleAsItNeeds)
{
    const PaneBox pane{0, 0, 400, 300};
    struct Case {
        ScreenPoint anchor;
        double scale;
        std::array<int32_t, 2> offsets;
    };
    const Case cases[] = {
        {{100, 100}, 1.0, {0, 0}},    // room right and below: hangs from the anchor
        {{350, 100}, 1.0, {50, 0}},   // by the right edge: just far enough left
        {{390, 290}, 1.0, {90, 40}},  // in the corner: left and up
        {{390, 290}, 2.0, {95, 45}},  // twice the size: twice as far in pixels
        {{100, 280}, 0.5, {0, 9}},   // half the size: the offset counts in the box's units
    };
    for (const Case& c : cases) {
        EXPECT_EQ(FitTextBoxOffsets(c.anchor, 100, 50, c.scale, pane), c.offsets) << c.anchor.x << " " << c.scale;
        const TextBoxBox box = TextBoxRect(c.anchor, c.offsets[0], c.offsets[1], 100, 50, c.scale);
        EXPECT_LE(box.right, pane.right);
        EXPECT_LE(box.bottom, pane.bottom);
    }
    // A box wider than the pane keeps to its left edge; its height still fits.
    EXPECT_EQ(FitTextBoxOffsets({390, 290}, 100, 50, 5.0, pane), (std::array<int32_t, 2>{78, 48}));
}

TEST(TextBoxGeometry, TheArrowLeavesBySideOfTheAnchorWithItsHeadAndLine)
{
    const TextBoxBox box{100, 100, 200, 150};
    struct Case {
        ScreenPoint anchor;
        uint32_t style;
        uint32_t side;
        std::array<ScreenPoint, 3> head;
    } cases[] = {
        // Left and right styles follow the anchor's side; size index 0 is a head of 2.
        {{40, 120}, kArrowRight, kArrowLeft, {ScreenPoint{97, 118}, ScreenPoint{97, 122}, ScreenPoint{91, 120}}},
        {{260, 130}, kArrowLeft, kArrowRight, {ScreenPoint{202, 128}, ScreenPoint{202, 132}, ScreenPoint{208, 130}}},
        // Within the horizontal span: above or below.
        {{150, 40}, kArrowLeft, kArrowTop, {ScreenPoint{148, 97}, ScreenPoint{152, 97}, ScreenPoint{150, 91}}},
        {{150, 220}, kArrowRight, kArrowBottom, {ScreenPoint{148, 152}, ScreenPoint{152, 152}, ScreenPoint{150, 158}}},
        // Top and bottom styles look at y first, then x.
        {{40, 120}, kArrowTop, kArrowLeft, {ScreenPoint{97, 118}, ScreenPoint{97, 122}, ScreenPoint{91, 120}}},
        {{150, 220}, kArrowTop, kArrowBottom, {ScreenPoint{148, 152}, ScreenPoint{152, 152}, ScreenPoint{150, 158}}},
        // An anchor inside keeps the style's side.
        {{150, 120}, kArrowLeft, kArrowLeft, {ScreenPoint{97, 118}, ScreenPoint{97, 122}, ScreenPoint{91, 120}}},
    };
    for (const Case& c : cases) {
        const auto arrow = TextBoxArrowFigure(box, c.anchor, c.style, 0, 1.0);
        ASSERT_TRUE(arrow) << c.anchor.x << "," << c.anchor.y;
        EXPECT_EQ(arrow->side, c.side) << c.anchor.x << "," << c.anchor.y;
        EXPECT_EQ(arrow->head, c.head) << c.anchor.x << "," << c.anchor.y;
        EXPECT_EQ(arrow->from, c.anchor);
        EXPECT_EQ(arrow->to, (ScreenPoint{(c.head[0].x + c.head[1].x) / 2, (c.head[0].y + c.head[1].y) / 2}));
    }
    // The largest head is 5; no arrow for 1398, nor when the base's middle is the anchor.
    const auto big = TextBoxArrowFigure(box, {260, 130}, kArrowRight, 3, 2.0);
    ASSERT_TRUE(big);
    EXPECT_EQ(big->head[2].x, 200 + 40);
    EXPECT_FALSE(TextBoxArrowFigure(box, {40, 120}, kNoArrow, 0, 1.0));
    EXPECT_FALSE(TextBoxArrowFigure(box, {202, 130}, kArrowRight, 0, 1.0));
}

TEST(TextBoxGeometry, CornersAndEdgesResizeTheBoxButNeverTurnItInsideOut)
{
    const TextBoxBox box{100, 100, 200, 150};
    struct Case {
        uint16_t part;
        int32_t dx, dy;
        TextBoxBox expected;
    };
    const Case cases[] = {
        {1, -10, -5, {90, 95, 200, 150}},   {2, 10, -5, {100, 95, 210, 150}}, {3, 10, 5, {100, 100, 210, 155}},
        {4, -10, 5, {90, 100, 200, 155}},   {5, 30, -5, {100, 95, 200, 150}}, {6, 10, 30, {100, 100, 210, 150}},
        {7, 30, 5, {100, 100, 200, 155}},   {8, -10, 30, {90, 100, 200, 150}},
        {3, -500, -500, {100, 100, 110, 110}},  // dragged past the far corner: the minimum size
        {1, 500, 500, {190, 140, 200, 150}},
        {9, 10, 10, box}, {0, 10, 10, box},     // the body and no part: unchanged
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.part);
        EXPECT_EQ(ResizeTextBox(box, c.part, c.dx, c.dy, 10), c.expected);
    }
}

} // namespace
} // namespace qv
