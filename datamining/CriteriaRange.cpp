// The criterion range strip's mapping between values and pixels, and its drag limits.
#include "datamining/CriteriaRange.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

namespace qv {
namespace {

// Pixels per unit over a span; 0 when the span has no width or is not a number.
double ScaleOver(double pixels, double span)
{
    if (!(span > 0) || !std::isfinite(span))
        return 0;
    const double scale = pixels / span;
    return std::isfinite(scale) ? scale : 0;
}

int HandleOffset(RangeHandle handle) { return handle == RangeHandle::Lower ? kLowerHandleOffset : kUpperHandleOffset; }

} // namespace

CriteriaRangeGeometry MeasureCriteriaRange(const DMCriterion& c, int clientWidth)
{
    CriteriaRangeGeometry g;
    g.clientWidth = std::max(clientWidth, 0);
    g.half = std::max(clientWidth - kRangeStripMargin, 0) / 2.0;
    g.dataMin = c.dataMin;
    g.dataMax = c.dataMax;
    g.average = c.average;
    g.leftScale = ScaleOver(g.half, g.average - g.dataMin);
    g.rightScale = ScaleOver(g.half, g.dataMax - g.average);
    g.lowerX = RangeValueToPixel(g, ShownLowerBound(c), RangeHandle::Lower);
    g.upperX = RangeValueToPixel(g, ShownUpperBound(c), RangeHandle::Upper);
    return g;
}

int RangeValueToPixel(const CriteriaRangeGeometry& g, double value, RangeHandle handle)
{
    double x = g.half;
    if (value < g.average && g.leftScale > 0)
        x = (value - g.dataMin) * g.leftScale;
    else if (value >= g.average && g.rightScale > 0)
        x = g.half + (value - g.average) * g.rightScale;
    x += HandleOffset(handle);
    if (!std::isfinite(x))
        x = value < g.average ? 0 : g.clientWidth;
    return int(std::round(std::clamp(x, 0.0, double(g.clientWidth))));
}

double RangePixelToValue(const CriteriaRangeGeometry& g, int x, RangeHandle handle)
{
    const double at = x - HandleOffset(handle);
    if (at < g.half)
        return g.leftScale > 0 ? at / g.leftScale + g.dataMin : g.average;
    return g.rightScale > 0 ? (at - g.half) / g.rightScale + g.average : g.average;
}

void NormaliseSelectedRange(DMCriterion& c)
{
    if (c.upper >= c.lower)
        return;
    c.lower = c.dataMin;
    c.upper = c.dataMax;
}

namespace {

float WithinDataRange(const DMCriterion& c, float bound)
{
    if (!(c.dataMin <= c.dataMax))
        return bound;
    return std::min(std::max(bound, c.dataMin), c.dataMax);
}

} // namespace

float ShownLowerBound(const DMCriterion& c) { return WithinDataRange(c, c.lower); }
float ShownUpperBound(const DMCriterion& c) { return WithinDataRange(c, c.upper); }

void OpenCriterionRange(DMCriterion& c)
{
    c.lower = kNoLowerLimit;
    c.upper = kNoUpperLimit;
}

RangeHandle PickRangeHandle(const CriteriaRangeGeometry& g, int x)
{
    return std::abs(x - g.lowerX) < std::abs(x - g.upperX) ? RangeHandle::Lower : RangeHandle::Upper;
}

void MoveRangeHandle(CriteriaRangeGeometry& g, DMCriterion& c, RangeHandle handle, int mouseX)
{
    if (handle == RangeHandle::Lower) {
        g.lowerX = std::max(std::min(mouseX, g.upperX - kHandleSeparation), kLowerHandleOffset);
        c.lower = float(RangePixelToValue(g, g.lowerX, RangeHandle::Lower));
        return;
    }
    g.upperX = std::min(std::max(mouseX, g.lowerX + kHandleSeparation), g.clientWidth - 4);
    c.upper = float(RangePixelToValue(g, g.upperX, RangeHandle::Upper));
}

const char* RangeStripText(const DMCriterion& c, bool enabled)
{
    if (c.noData)
        return "No matching data";
    if (!enabled)
        return "Criteria disabled";
    if (c.locked)
        return "Criteria locked";
    return nullptr;
}

} // namespace qv
