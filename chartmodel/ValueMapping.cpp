// The value mapping of a chart's value axis.
#include "chartmodel/ValueMapping.h"

#include "chartmodel/GraphModel.h"

#include <algorithm>
#include <cmath>

namespace qv {
namespace {

// Rows beyond the pane are kept within this many pixels of it, so that a value far outside the
// range (or an infinity) still gives a row that a line can be drawn to.
constexpr double kRowSpan = 1 << 20;

struct LogScale {
    double eps;
    double Map(double x) const
    {
        double s = x < 0 ? -1.0 : 1.0;
        return s * std::log(std::max(std::fabs(x), eps) / eps);
    }
};

LogScale LogScaleOf(double lo, double hi)
{
    if (lo >= 1.0)
        return {1.0};
    return {std::max(0.001 * std::max(std::fabs(lo), std::fabs(hi)), 0.0001)};
}

int32_t LinearRow(double value, double lo, double hi, int32_t yTop, int32_t yBottom, bool clamp)
{
    if (clamp && value > hi)
        return yTop;
    if (clamp && value < lo)
        return yBottom;
    if (hi == lo)
        return 0;
    double row = yBottom - std::trunc((value - lo) * (yBottom - yTop) / (hi - lo) + 0.5);
    if (std::isnan(row))
        return yBottom;
    double top = std::min(yTop, yBottom) - kRowSpan;
    double bottom = std::max(yTop, yBottom) + kRowSpan;
    return int32_t(std::clamp(row, top, bottom));
}

} // namespace

int32_t MapValueToRow(const ValueRange* range, float value, bool clamp)
{
    if (!range)
        return 0;
    double lo = range->minimum;
    double hi = range->maximum;
    if (clamp && value > hi)
        return range->yTop;
    if (clamp && value < lo)
        return range->yBottom;
    if (range->flags & kRangeLogarithmic) {
        LogScale log = LogScaleOf(lo, hi);
        return LinearRow(log.Map(value), log.Map(lo), log.Map(hi), range->yTop, range->yBottom, clamp);
    }
    return LinearRow(value, lo, hi, range->yTop, range->yBottom, false);
}

float MapRowToValue(const ValueRange* range, int32_t row)
{
    if (!range)
        return 0.0f;
    double lo = range->minimum;
    double hi = range->maximum;
    double rows = double(range->yBottom) - range->yTop;
    if (range->flags & kRangeLogarithmic) {
        LogScale log = LogScaleOf(lo, hi);
        double fl = log.Map(lo);
        double fh = log.Map(hi);
        double mapped = (rows == 0 || fh == fl) ? fl : fl + (range->yBottom - row) / (rows / (fh - fl));
        double s = mapped < 0 ? -1.0 : 1.0;
        return float(s * log.eps * std::exp(std::fabs(mapped)));
    }
    if (rows == 0 || hi == lo)
        return float(lo);
    double value = lo + (range->yBottom - row) / (rows / (hi - lo));
    if (range->flags & kRangeWholeNumbers)
        value = std::trunc(value + 0.5);
    return float(value);
}

} // namespace qv
