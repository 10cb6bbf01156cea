// Value-axis ticks, labels and grid lines.
#include "chartmodel/AxisTicks.h"

#include "core/FormatNumber.h"

#include "chartmodel/ChartNumbers.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

namespace qv {
namespace {

constexpr int32_t kMaxTicks = 63;
constexpr double kTopLimit = 1e12;
constexpr double kNudge = 0.0001;

// The largest multiple of step not above x (x itself for a zero step).
double FloorMultiple(double x, double step)
{
    return step == 0 ? x : std::floor(x / step) * step;
}

// (value x 10000 + 1) / step1, truncated, then divided by 10000 in whole numbers.
int32_t StepRatio(double value, double step1)
{
    auto scaled = int64_t((value * 10000 + 1) / step1);
    return int32_t(scaled / 10000);
}

// The smallest multiple of step above value + 0.0001; truncation towards zero below 0.
double NextMultipleAbove(double value, double step)
{
    double q = (value + kNudge) / step;
    return (value >= 0 ? std::floor(q) + 1 : std::trunc(q) + 1) * step;
}

} // namespace

std::string FormatAxisLabel(const std::string& format, double value, const std::string& suffix)
{
    char text[64];
    if (format == "%d")
        std::snprintf(text, sizeof text, "%d", int(value));
    else
        std::snprintf(text, sizeof text, format.c_str(), value);
    // Thousands are grouped as the lists group them.
    const std::string printed = text;
    const size_t digits = printed.find_first_of("0123456789");
    if (digits == std::string::npos)
        return printed + suffix;
    const size_t end = printed.find_first_not_of("0123456789", digits);
    const size_t stop = end == std::string::npos ? printed.size() : end;
    return printed.substr(0, digits) + GroupThousands(printed.substr(digits, stop - digits)) + printed.substr(stop) +
           suffix;
}

int32_t ComputeAxisTicks(const AxisTickInput& in, std::string& format, TickLevel levels[3],
                         const TextWidthFn& textWidth)
{
    for (int i = 0; i < 3; ++i)
        levels[i] = {};
    int32_t h = in.height;
    double low = in.low;
    double high = in.high;
    if (h < in.tickSpacing || !(low < high) || high > kTopLimit)
        return textWidth("9.9");

    TickLevel& t1 = levels[0];
    int32_t c1 = std::min(h / std::max(in.tickSpacing, 1), kMaxTicks);
    double step1 = NiceAxisStep(low, high, c1, in.maxDecimals);
    t1.count = int32_t((high - low) / (step1 > 0 ? step1 : 1));
    t1.step = float(step1);
    t1.ratio = 1;
    double first1 = FloorMultiple(high, step1);
    t1.first = float(first1);
    if (!(step1 > 0))
        return textWidth("9.9");

    TickLevel& t2 = levels[1];
    int32_t c2 = std::min(h / std::max(in.labelSpacing, 1), kMaxTicks);
    double s = NiceAxisStep(low, high, c2, in.maxDecimals);
    t2.step = float(s);
    t2.ratio = StepRatio(std::max(s, step1), step1);
    double step2 = BuildNumberFormat(format, float(t2.ratio * step1), in.maxDecimals, false, false, 0);
    t2.step = float(step2);
    double x = first1 + kNudge;
    double first2 = FloorMultiple(x, step2);
    t2.first = float(first2);
    t2.offset = int32_t((x - first2) / step1);

    TickLevel& t3 = levels[2];
    double v = in.gridDensity > 0 ? step1 : 0;
    if (in.gridDensity < 3 && step2 > 0)
        v = NextMultipleAbove(v, step2);
    if (in.gridDensity < 2 && step2 > 0)
        v = NextMultipleAbove(v, step2);
    t3.ratio = StepRatio(v, step1);
    double step3 = t3.ratio * step1;
    t3.step = float(step3);
    double first3 = FloorMultiple(x, step3);
    t3.first = float(first3);
    t3.offset = int32_t((x - first3) / step1);

    int32_t lowWidth = textWidth(FormatAxisLabel(format, low + in.offset, in.suffix));
    int32_t highWidth = textWidth(FormatAxisLabel(format, high + in.offset, in.suffix));
    return std::max(lowWidth, highWidth);
}

} // namespace qv
