// Line-study and pitchfork figures in screen space.
#include "charts/LineStudyFigures.h"

#include "chartmodel/ChartRoutines.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <limits>

namespace qv {
namespace {

constexpr std::array<double, 3> kArcRatios{0.382, 0.5, 0.618};
constexpr std::array<int32_t, 4> kGannFactors{2, 3, 4, 8};
constexpr int32_t kCoordinateLimit = 32767;
constexpr int32_t kMinGuideSpacing = 10;

bool InsideY(int32_t y, const PaneBox& pane) { return y > pane.top && y < pane.bottom; }

std::string Format(const char* format, double value)
{
    char text[64];
    std::snprintf(text, sizeof text, format, value);
    return text;
}

} // namespace

int32_t RoundHalfUp(double v) { return int32_t(std::floor(v + 0.5)); }

std::vector<StudyArc> FibonacciArcs(ScreenPoint p1, ScreenPoint p2)
{
    if (p1.x == p2.x || p1.y == p2.y || p1.x + p2.x >= kCoordinateLimit || p1.y + p2.y >= kCoordinateLimit)
        return {};
    const double d = std::hypot(double(p2.x - p1.x), double(p2.y - p1.y));
    std::vector<StudyArc> arcs;
    for (double r : kArcRatios)
        arcs.push_back({p2, RoundHalfUp(r * d), p2.y >= p1.y});
    return arcs;
}

std::optional<StudySegment> ClipRay(ScreenPoint start, ScreenPoint through, const PaneBox& pane)
{
    // The figures order their points by date, so every ray has a direction and runs rightwards; the
    // line through the points is cut at the start's x, which leaves the ray.
    if ((through.x == start.x && through.y == start.y) || through.x < start.x)
        return std::nullopt;
    const int32_t left = std::max(pane.left, start.x), right = pane.right + 1;
    if (left > right)
        return std::nullopt;
    LineSegment out{};
    if (!ClipLineToRect({start.x, start.y, through.x, through.y}, left, pane.top - 1, right, pane.bottom, out))
        return std::nullopt;
    return StudySegment{{out.x1, out.y1}, {out.x2, out.y2}};
}

void AddRatioRays(ScreenPoint p1, ScreenPoint p2, const PaneBox& pane, std::span<const double> ratios,
                  StudyShapes& shapes)
{
    for (double r : ratios)
        if (auto ray = ClipRay(p1, {p2.x, p1.y + RoundHalfUp((p2.y - p1.y) * r)}, pane))
            shapes.segments.push_back(*ray);
}

void AddGannRays(ScreenPoint p1, ScreenPoint p2, const PaneBox& pane, StudyShapes& shapes)
{
    for (int32_t k : kGannFactors) {
        if (auto ray = ClipRay(p1, {p2.x, p1.y + (p2.y - p1.y) * k}, pane))
            shapes.segments.push_back(*ray);
        if (auto ray = ClipRay(p1, {p1.x + (p2.x - p1.x) * k, p2.y}, pane))
            shapes.segments.push_back(*ray);
    }
}

int32_t ScreenLevelY(int32_t y1, int32_t y2, double level)
{
    const int64_t hundredths = int64_t(y2) * 100 + int64_t(std::llround((y1 - y2) * level));
    return int32_t(std::floor(double(hundredths) / 100 + 0.5));
}

void AddLevelLines(std::span<const int32_t> ys, int32_t startX, int32_t endX, const PaneBox& pane, uint32_t plainMask,
                   StudyShapes& shapes)
{
    for (size_t i = 0; i < ys.size(); ++i)
        if (InsideY(ys[i], pane))
            shapes.segments.push_back({{startX, ys[i]}, {endX, ys[i]}, !(plainMask & (1u << i))});
}

int LevelLabelPoints(std::span<const int32_t> ys, int labelPoints, int fontHeight)
{
    std::vector<int32_t> sorted(ys.begin(), ys.end());
    std::sort(sorted.begin(), sorted.end());
    int32_t gap = std::numeric_limits<int32_t>::max();
    for (size_t i = 1; i < sorted.size(); ++i)
        gap = std::min(gap, sorted[i] - sorted[i - 1]);
    if (fontHeight <= 0 || gap >= fontHeight)
        return 0;
    return std::max(2, labelPoints * gap / fontHeight);
}

void AddLevelLabels(std::span<const int32_t> ys, std::span<const double> values, bool percent, int32_t rightX,
                    int32_t leftX, int labelPoints, int fontHeight, StudyShapes& shapes)
{
    shapes.labelPoints = LevelLabelPoints(ys, labelPoints, fontHeight);
    for (size_t i = 0; i < ys.size() && i < values.size(); ++i) {
        const std::string text = Format(percent ? "%0.1f%%" : "%0.1f", values[i]);
        if (rightX >= 0)
            shapes.labels.push_back({{rightX, ys[i]}, text, true});
        if (leftX >= 0)
            shapes.labels.push_back({{leftX, ys[i]}, text, false});
    }
}

std::optional<LineFit> FitLeastSquares(std::span<const double> ys)
{
    const size_t count = ys.size();
    if (count < 2)
        return std::nullopt;
    const double n = double(count);
    double sx = 0, sy = 0, sxy = 0, sxx = 0, syy = 0;
    for (size_t i = 0; i < count; ++i) {
        const double x = double(i + 1), y = ys[i];
        sx += x, sy += y, sxy += x * y, sxx += x * x, syy += y * y;
    }
    LineFit fit;
    const double sxyDev = sxy - sx * sy / n;
    fit.b = sxyDev / (sxx - sx * sx / n);
    fit.a = (sy - fit.b * sx) / n;
    fit.s = count < 3 ? 0 : std::sqrt(std::fabs(syy - sy * sy / n - fit.b * sxyDev) / (n - 2));
    return fit;
}

int32_t ChannelOffset(double sHundredths, int32_t width) { return RoundHalfUp((width + 1) * 0.5 * sHundredths / 100); }

std::string PercentChangeLabel(double price1, double price2)
{
    const double change = price2 - price1;
    const double base = price1 < 0.001 ? 0.001 : price1;
    char text[96];
    std::snprintf(text, sizeof text, "  %+0.2f  (%+0.2f%%)  ", change, change * 100 / base);
    return text;
}

std::vector<int32_t> TimeGuideXs(int32_t x1, int32_t x2, int32_t end, const PaneBox& pane)
{
    const int32_t spacing = x2 - x1;
    std::vector<int32_t> xs;
    if (spacing < kMinGuideSpacing)
        return xs;
    for (int32_t x = x1; x < end; x += spacing)
        if (x > pane.left)
            xs.push_back(x);
    return xs;
}

std::vector<StudySegment> PitchforkLines(std::span<const ScreenPoint> points, const PaneBox& pane,
                                         std::array<ScreenPoint, 3>* farEnds)
{
    std::vector<StudySegment> lines;
    if (points.size() < 3) {
        for (const ScreenPoint& p : points)
            if (p.x < pane.right && InsideY(p.y, pane))
                lines.push_back({p, {pane.right, p.y}});
        return lines;
    }
    std::array<size_t, 3> order{0, 1, 2};
    std::stable_sort(order.begin(), order.end(), [&](size_t a, size_t b) { return points[a].x < points[b].x; });
    const ScreenPoint pivot = points[order[0]], high = points[order[2]], third = points[order[1]];
    const ScreenPoint middle{(high.x + third.x) / 2, (high.y + third.y) / 2};
    const int32_t dx = middle.x - pivot.x, dy = middle.y - pivot.y;
    const std::array<ScreenPoint, 3> starts{pivot, high, third};
    for (size_t i = 0; i < starts.size(); ++i) {
        const ScreenPoint s = starts[i];
        if (s.x >= pane.right)
            continue;
        if (auto ray = ClipRay(s, {s.x + dx, s.y + dy}, pane)) {
            lines.push_back(*ray);
            if (farEnds)
                (*farEnds)[i] = ray->to;
        }
    }
    return lines;
}

} // namespace qv
