// The figures of the line studies beyond the plain line and of the pitchfork, in screen space: the
// Fibonacci arcs, the rays of fans, Gann angles and speed lines, the level lines of retracements and
// quadrant lines with their labels, the least-squares fit of a regression, the percentage change label,
// the time guides and the pitchfork's lines.
#pragma once

#include "charts/LineStudyGeometry.h"

#include <array>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

namespace qv {

struct StudySegment {
    ScreenPoint from, to;
    bool dotted = false;     // the object's pen drawn dotted
    bool secondPen = false;  // the object's second pen (the regression channel)
    bool inverted = false;   // a thin line inverting what lies under it (a dragged study's time guides)
};
// Half of a circle: the half below the centre, or the half above.
struct StudyArc {
    ScreenPoint centre;
    int32_t radius = 0;
    bool below = true;
};
struct StudyLabel {
    ScreenPoint at;          // y: the middle of the text
    std::string text;
    bool endsAt = true;      // the text ends at x, else it starts there
    bool centred = false;    // centred on x, its bottom at y
};
// Everything one object draws besides its main segment.
struct StudyShapes {
    std::vector<StudySegment> segments;
    std::vector<StudyArc> arcs;
    std::vector<StudyLabel> labels;
    int labelPoints = 0;     // 0: the view's label font; else a smaller size for crowded levels
};

// [v]: v + 0.5 with the fraction dropped.
int32_t RoundHalfUp(double v);

// The arcs at 38.2, 50 and 61.8% of the points' distance round point 2; none for an upright or level
// pair or for coordinates whose sums reach 32767.
std::vector<StudyArc> FibonacciArcs(ScreenPoint p1, ScreenPoint p2);

// A ray from start through a second point, clipped (ClipLineToRect) to the pane as widened one pixel
// up and right and cut at the start's x; none when it misses, has no direction or runs leftwards. An
// upright ray crosses the whole height.
std::optional<StudySegment> ClipRay(ScreenPoint start, ScreenPoint through, const PaneBox& pane);
// Fans (0.382, 0.5, 0.618) and speed lines (0.333, 0.667): rays from point 1 through
// (x2, y1 + [(y2 - y1) x r]).
void AddRatioRays(ScreenPoint p1, ScreenPoint p2, const PaneBox& pane, std::span<const double> ratios,
                  StudyShapes& shapes);
inline constexpr std::array<double, 3> kFanRatios{0.382, 0.5, 0.618};
inline constexpr std::array<double, 2> kSpeedRatios{0.333, 0.667};
// Gann angles 2, 3, 4 and 8 on each side of the 1 by 1 line.
void AddGannRays(ScreenPoint p1, ScreenPoint p2, const PaneBox& pane, StudyShapes& shapes);

// The retracement levels in percent: 100 and 0 first.
inline constexpr std::array<double, 9> kRetracementLevels{100, 0, 23.6, 38.2, 50.0, 61.8, 161.8, 261.8, 423.6};
inline constexpr std::array<double, 5> kQuadrantLevels{0, 25, 50, 75, 100};
// A level's y spaced on the screen: y2 + (y1 - y2) x L / 100, worked in hundredths of a pixel.
int32_t ScreenLevelY(int32_t y1, int32_t y2, double level);
// A level's price: price 2 + (price 1 - price 2) x L / 100.
inline double LevelPrice(double price1, double price2, double level) { return price2 + (price1 - price2) * level / 100; }

// Level lines from startX to endX at each y strictly inside the pane; dotted for the levels the mask
// leaves out (bit i: level i drawn with the plain pen).
void AddLevelLines(std::span<const int32_t> ys, int32_t startX, int32_t endX, const PaneBox& pane, uint32_t plainMask,
                   StudyShapes& shapes);
// The labels of levels: "%0.1f%%" of percentages, else "%0.1f"; ending at rightX and/or starting at
// leftX (a negative x: none). Crowded levels take a smaller point size: labelPoints x gap / fontHeight,
// at least 2.
void AddLevelLabels(std::span<const int32_t> ys, std::span<const double> values, bool percent, int32_t rightX,
                    int32_t leftX, int labelPoints, int fontHeight, StudyShapes& shapes);
int LevelLabelPoints(std::span<const int32_t> ys, int labelPoints, int fontHeight);

// The least-squares line through y values at x = 1..n: the fitted value at x is a + b x; s the
// standard error over n - 2 (0 below three values).
struct LineFit {
    double a = 0, b = 0, s = 0;
    double At(double x) const { return a + b * x; }
};
std::optional<LineFit> FitLeastSquares(std::span<const double> ys);
// The regression's channel offset in pixels from s in hundredths of a pixel and the width field W.
int32_t ChannelOffset(double sHundredths, int32_t width);

// "  %+0.2f  (%+0.2f%%)  " of the change and its percentage, on a base of at least 0.001.
std::string PercentChangeLabel(double price1, double price2);

// Upright lines at x1, x1 + spacing, ... left of end and right of the pane's left edge; none closer than
// 10 pixels.
std::vector<int32_t> TimeGuideXs(int32_t x1, int32_t x2, int32_t end, const PaneBox& pane);

// The pitchfork's lines from its placed points: fewer than three give horizontal lines to the pane's
// right edge; three give the median from the pivot (the leftmost) toward the middle of the other two, and
// its parallels from them. farEnds gets each line's clipped far end.
std::vector<StudySegment> PitchforkLines(std::span<const ScreenPoint> points, const PaneBox& pane,
                                         std::array<ScreenPoint, 3>* farEnds);

} // namespace qv
