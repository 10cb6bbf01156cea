// Padding of value ranges.
#include "charts/PadValueRange.h"

#include "chartmodel/ChartRoutines.h"
#include "chartmodel/GraphModel.h"

#include <algorithm>
#include <cmath>

namespace qv {
namespace {

// An empty span: -1..1 around a value near 0, else 5% each way by the signs.
void WidenEmptySpan(double& low, double& high, uint32_t mode)
{
    if (std::fabs(low) < 0.001) {
        if (mode & kPadFloorZero)
            return;
        low = -1;
        high = 1;
        return;
    }
    low *= low > 0 ? 0.95 : 1.05;
    high *= high > 0 ? 1.05 : 0.95;
}

} // namespace

void PadValueRange(ValueRange& range, const ScaleSettings* settings, uint32_t mode)
{
    ScaleSettings defaults;
    InitScaleSettings(defaults, true);
    const ScaleSettings& scale = settings && (settings->flags & 1) ? *settings : defaults;
    if (scale.flags & 2) {
        range.minimum = scale.fixedMinimum;
        range.maximum = scale.fixedMaximum;
        range.flags |= kRangeFixed;
    }
    double low = range.minimum, high = range.maximum;
    if (high < low)
        return;
    if (high == low)
        WidenEmptySpan(low, high, mode);
    const double span = high - low;
    const double p = double(scale.marginPercent) / 100.0;
    if (range.flags & kRangeLogarithmic) {
        high += 2 * p * span;
        low -= 0.2 * p * span;
    } else {
        high += p * span;
        low -= p * span;
    }
    if ((mode & kPadFloorZero) && low < 0)
        low = 0;
    if (mode & kPadSymmetricZero) {
        high = std::max(high, -low);
        low = -high;
    }
    if (mode & kPadSymmetricHundred) {
        high = std::max(high, 200 - low);
        low = 200 - high;
    }
    range.minimum = float(low);
    range.maximum = float(high);
}

} // namespace qv
