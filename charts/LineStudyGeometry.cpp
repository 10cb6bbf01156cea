// Line-study screen geometry: extension to the pane's edges and the visibility test.
#include "charts/LineStudyGeometry.h"

#include "charts/DrawingObjectHits.h"

#include <algorithm>
#include <cmath>

namespace qv {
namespace {

ScreenPoint AtX(ScreenPoint a, ScreenPoint b, int32_t x)
{
    if (a.x == b.x)
        return {x, a.y};
    double y = a.y + double(b.y - a.y) * double(x - a.x) / double(b.x - a.x);
    return {x, int32_t(std::lround(y))};
}

// Liang-Barsky: some part of the segment lies inside the box (edges included).
bool SegmentMeetsBox(ScreenPoint a, ScreenPoint b, const PaneBox& box)
{
    double t0 = 0, t1 = 1;
    double dx = b.x - a.x, dy = b.y - a.y;
    const double p[4] = {-dx, dx, -dy, dy};
    const double q[4] = {double(a.x - box.left), double(box.right - a.x), double(a.y - box.top),
                         double(box.bottom - a.y)};
    for (int i = 0; i < 4; ++i) {
        if (p[i] == 0) {
            if (q[i] < 0)
                return false;
            continue;
        }
        double t = q[i] / p[i];
        if (p[i] < 0)
            t0 = std::max(t0, t);
        else
            t1 = std::min(t1, t);
        if (t0 > t1)
            return false;
    }
    return true;
}

} // namespace

bool LinePointsSwap(int32_t firstDate, int32_t secondDate) { return firstDate > secondDate; }

uint16_t SwappedPart(uint16_t part) { return part == 1 ? 2 : part == 2 ? 1 : part; }

LineStudyFigure ComputeLineStudyFigure(ScreenPoint first, ScreenPoint second, const PaneBox& pane, uint16_t style)
{
    LineStudyFigure figure;
    figure.first = first;
    figure.second = second;
    if (first.x == second.x) {
        // An upright line has no edge on its own line: it ends at its points.
        figure.leftEnd = first;
        figure.rightEnd = second;
    } else {
        figure.leftEnd = AtX(first, second, pane.left);
        figure.rightEnd = AtX(first, second, pane.right);
    }
    figure.from = (style & kExtendLeft) ? figure.leftEnd : first;
    figure.to = (style & kExtendRight) ? figure.rightEnd : second;
    figure.visible = SegmentMeetsBox(figure.from, figure.to, pane);
    return figure;
}

} // namespace qv
