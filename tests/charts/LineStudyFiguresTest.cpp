// The line studies' figures in pixels: arcs, rays, levels, the least-squares fit and its channel, the
// change label, the level labels' size, the time guides and the pitchfork.
#include "charts/LineStudyFigures.h"

#include <cmath>
#include <gtest/gtest.h>

#include <cmath>

namespace qv {
namespace {

const PaneBox kPane{0, 0, 1000, 600};

} // namespace

TEST(LineStudyFiguresTest, ArcsLieAtTheRatiosOfTheDistanceOnTheSideAwayFromPointOne)
{
    // Points 100 px apart (a 60-80-100 triangle).
    const std::vector<StudyArc> arcs = FibonacciArcs({100, 100}, {160, 180});
    ASSERT_EQ(arcs.size(), 3u);
    EXPECT_EQ(arcs[0].radius, 38);
    EXPECT_EQ(arcs[1].radius, 50);
    EXPECT_EQ(arcs[2].radius, 62);
    EXPECT_TRUE(arcs[0].below);
    EXPECT_EQ(arcs[0].centre, (ScreenPoint{160, 180}));
    EXPECT_FALSE(FibonacciArcs({100, 180}, {160, 100})[0].below);
    // No arcs for an upright or a level pair, nor for coordinates summing to 32767.
    EXPECT_TRUE(FibonacciArcs({100, 100}, {100, 200}).empty());
    EXPECT_TRUE(FibonacciArcs({100, 100}, {200, 100}).empty());
    EXPECT_TRUE(FibonacciArcs({100, 100}, {32667, 200}).empty());
}

TEST(LineStudyFiguresTest, FansSpeedLinesAndGannAnglesRunFromPointOneThroughTheirRatios)
{
    StudyShapes fans;
    AddRatioRays({100, 500}, {300, 100}, kPane, kFanRatios, fans);
    ASSERT_EQ(fans.segments.size(), 3u);
    // The 0.5 fan passes (300, 300) and runs on to one pixel above the pane.
    const StudySegment half = fans.segments[1];
    EXPECT_EQ(half.from, (ScreenPoint{100, 500}));
    EXPECT_EQ(half.to, (ScreenPoint{601, -1}));

    StudyShapes speed;
    AddRatioRays({100, 500}, {400, 200}, kPane, kSpeedRatios, speed);
    ASSERT_EQ(speed.segments.size(), 2u);
    // Through (400, 500 - [300 x 0.333]) = (400, 400): the ray rises a third as fast.
    EXPECT_EQ(speed.segments[0].to, (ScreenPoint{1001, 500 - 300}));

    StudyShapes gann;
    AddGannRays({100, 500}, {200, 400}, kPane, gann);
    ASSERT_EQ(gann.segments.size(), 8u);
    // 2 by 1 steep: through (200, 300), leaving by the top (one pixel above the pane).
    EXPECT_EQ(gann.segments[0].to, (ScreenPoint{351, -1}));
    // 1 by 2 flat: through (300, 400).
    EXPECT_EQ(gann.segments[1].to, (ScreenPoint{1001, 50}));
    // 8 by 1 both ways.
    EXPECT_EQ(gann.segments[6].to.y, -1);
    EXPECT_EQ(gann.segments[7].to, (ScreenPoint{1001, 387}));
}

TEST(LineStudyFiguresTest, RaysStartNoLeftOfThePaneAndMissingOrStillRaysAreNotDrawn)
{
    const std::optional<StudySegment> fromLeft = ClipRay({-100, 300}, {0, 300}, kPane);
    ASSERT_TRUE(fromLeft);
    EXPECT_EQ(fromLeft->from, (ScreenPoint{0, 300}));
    EXPECT_FALSE(ClipRay({100, 300}, {100, 300}, kPane));
    EXPECT_FALSE(ClipRay({100, 300}, {50, 300}, kPane)); // leftwards of its own start
    EXPECT_FALSE(ClipRay({100, 700}, {200, 800}, kPane));
    // An upright ray is the line through its points: it crosses the whole height, ending at the top.
    const std::optional<StudySegment> upright = ClipRay({100, 300}, {100, 200}, kPane);
    ASSERT_TRUE(upright);
    EXPECT_EQ(upright->from, (ScreenPoint{100, 600}));
    EXPECT_EQ(upright->to, (ScreenPoint{100, -1}));
    // A ray from right of the pane is not drawn; one entering from above starts at the top edge.
    EXPECT_FALSE(ClipRay({1100, 300}, {1200, 200}, kPane));
    EXPECT_EQ(ClipRay({100, -50}, {200, 50}, kPane)->from, (ScreenPoint{149, -1}));
}

TEST(LineStudyFiguresTest, RetracementLevelsOnTheScreenAndInPrice)
{
    // Levels above 100 lie beyond point 1 from point 2.
    EXPECT_EQ(ScreenLevelY(100, 300, 100), 100);
    EXPECT_EQ(ScreenLevelY(100, 300, 0), 300);
    EXPECT_EQ(ScreenLevelY(100, 300, 61.8), 176);
    EXPECT_EQ(ScreenLevelY(100, 300, 161.8), -24);
    EXPECT_DOUBLE_EQ(LevelPrice(200, 100, 50), 150);
    EXPECT_DOUBLE_EQ(LevelPrice(200, 100, 261.8), 361.8);

    std::array<int32_t, 9> ys{};
    for (size_t i = 0; i < ys.size(); ++i)
        ys[i] = ScreenLevelY(400, 500, kRetracementLevels[i]);
    StudyShapes shapes;
    AddLevelLines(ys, 50, 1000, kPane, 0x03, shapes);
    // 423.6 lands at 76, 261.8 at 238: all nine lie inside the pane; the outer two solid.
    ASSERT_EQ(shapes.segments.size(), 9u);
    EXPECT_FALSE(shapes.segments[0].dotted);
    EXPECT_FALSE(shapes.segments[1].dotted);
    EXPECT_TRUE(shapes.segments[2].dotted);
    // A level on the pane's edge is not drawn.
    StudyShapes edge;
    const std::array<int32_t, 2> onEdge{0, 600};
    AddLevelLines(onEdge, 0, 1000, kPane, 3, edge);
    EXPECT_TRUE(edge.segments.empty());
}

TEST(LineStudyFiguresTest, CrowdedLevelLabelsShrinkToAtLeastTwoPoints)
{
    const std::array<int32_t, 3> roomy{100, 130, 160}, crowded{100, 106, 160}, packed{100, 101, 160};
    EXPECT_EQ(LevelLabelPoints(roomy, 8, 13), 0);
    EXPECT_EQ(LevelLabelPoints(crowded, 8, 13), 3);
    EXPECT_EQ(LevelLabelPoints(packed, 8, 13), 2);
    StudyShapes shapes;
    const std::array<double, 3> values{23.6, 38.2, 50};
    AddLevelLabels(roomy, values, true, 200, 500, 8, 13, shapes);
    ASSERT_EQ(shapes.labels.size(), 6u);
    EXPECT_EQ(shapes.labels[0].text, "23.6%");
    EXPECT_TRUE(shapes.labels[0].endsAt);
    EXPECT_FALSE(shapes.labels[1].endsAt);
    StudyShapes prices;
    AddLevelLabels(roomy, values, false, 200, -1, 8, 13, prices);
    ASSERT_EQ(prices.labels.size(), 3u);
    EXPECT_EQ(prices.labels[1].text, "38.2");
}

TEST(LineStudyFiguresTest, LeastSquaresFitItsErrorAndTheChannel)
{
    // A public example: y = 2x + 1 with noise +1, -1, +1, -1.
    const std::vector<double> ys{4, 4, 8, 8};
    const std::optional<LineFit> fit = FitLeastSquares(ys);
    ASSERT_TRUE(fit);
    EXPECT_NEAR(fit->b, 1.6, 1e-9);
    EXPECT_NEAR(fit->a, 2.0, 1e-9);
    // Residuals 0.4, -1.2, 1.2, -0.4: Σr² = 3.2 over n - 2.
    EXPECT_NEAR(fit->s, std::sqrt(1.6), 1e-9);
    // Two bars: an exact line, error 0, the channel on the line.
    const std::vector<double> two{300, 500};
    EXPECT_EQ(FitLeastSquares(two)->s, 0);
    EXPECT_EQ(ChannelOffset(0, 1), 0);
    EXPECT_FALSE(FitLeastSquares(std::vector<double>{300}));
    // (W + 1) x 0.5 x s, s in hundredths of a pixel.
    EXPECT_EQ(ChannelOffset(1000, 1), 10);
    EXPECT_EQ(ChannelOffset(1000, 2), 15);
}

TEST(LineStudyFiguresTest, PercentageChangeLabelKeepsItsBlanksAndABaseOfAThousandth)
{
    EXPECT_EQ(PercentChangeLabel(200, 250), "  +50.00  (+25.00%)  ");
    EXPECT_EQ(PercentChangeLabel(250, 200), "  -50.00  (-20.00%)  ");
    EXPECT_EQ(PercentChangeLabel(0, 0.01), "  +0.01  (+1000.00%)  ");
}

TEST(LineStudyFiguresTest, TimeGuidesRepeatTheSpacingButNotCloserThanTenPixels)
{
    EXPECT_TRUE(TimeGuideXs(100, 109, 1000, kPane).empty());
    EXPECT_EQ(TimeGuideXs(100, 400, 1000, kPane), (std::vector<int32_t>{100, 400, 700}));
    EXPECT_EQ(TimeGuideXs(-200, 100, 401, kPane), (std::vector<int32_t>{100, 400}));
}

TEST(LineStudyFiguresTest, PitchforkRolesAndItsPartialForms)
{
    // Two points: horizontal lines to the right edge.
    const std::vector<ScreenPoint> two{{100, 300}, {200, 200}};
    const std::vector<StudySegment> flat = PitchforkLines(two, kPane, nullptr);
    ASSERT_EQ(flat.size(), 2u);
    EXPECT_EQ(flat[0].to, (ScreenPoint{1000, 300}));
    EXPECT_EQ(flat[1].from.y, flat[1].to.y);

    // Points in any order: the pivot is the leftmost; the median heads for the others' middle.
    const std::vector<ScreenPoint> three{{300, 200}, {100, 300}, {200, 400}};
    std::array<ScreenPoint, 3> ends{};
    const std::vector<StudySegment> fork = PitchforkLines(three, kPane, &ends);
    ASSERT_EQ(fork.size(), 3u);
    EXPECT_EQ(fork[0].from, (ScreenPoint{100, 300}));
    // Direction (150, 0): every line horizontal.
    for (const StudySegment& s : fork)
        EXPECT_EQ(s.from.y, s.to.y);
    EXPECT_EQ(ends[0], (ScreenPoint{1001, 300}));
    // All three on one x: upright lines, no division by zero.
    const std::vector<ScreenPoint> upright{{100, 100}, {100, 300}, {100, 500}};
    const std::vector<StudySegment> same = PitchforkLines(upright, kPane, nullptr);
    for (const StudySegment& s : same)
        EXPECT_EQ(s.from.x, s.to.x);
}

} // namespace qv
