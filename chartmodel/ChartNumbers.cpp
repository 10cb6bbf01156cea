// Chart number formats, rounding, thousands scaling and axis steps. Values are worked in doubles and
// 64-bit integers, so a volume in the billions or a price at several decimals never overflows.
#include "chartmodel/ChartNumbers.h"

#include "chartmodel/ChartMath.h"
#include "core/StringPrintf.h"

#include <cmath>

namespace qv {
namespace {

constexpr int kSignificantDigits = 7;
constexpr size_t kScaledTextLimit = 31;

int ThousandsPower(double value)
{
    int power = 0;
    double x = std::fabs(value) * 0.001;
    while (x >= 4 && power < 3) {
        ++power;
        x *= 0.001;
    }
    return power;
}

} // namespace

int64_t KeepSignificantDigits(double value)
{
    int64_t n = SaturatingTrunc64(value);
    if (n < 10)
        return n;
    int64_t limit = 10000000; // 10^7
    int64_t scale = 1;
    while (n / scale >= limit)
        scale *= 10;
    return n / scale * scale;
}

double RoundToDecimals(double value, int& decimals)
{
    if (decimals < 0)
        decimals = 0;
    double p = std::pow(10.0, decimals);
    int64_t n = SaturatingTrunc64(value * p + 0.5);
    double result = double(n) / p;
    int64_t m = KeepSignificantDigits(double(n));
    while (decimals > 0 && m % 10 == 0) {
        --decimals;
        m /= 10;
    }
    return result;
}

double RoundedDifference(float a, float b, int decimals)
{
    double p = decimals <= 0 ? 1.0 : std::pow(10.0, decimals);
    int64_t ka = KeepSignificantDigits(double(SaturatingTrunc64(double(a) * p + 0.5)));
    int64_t kb = KeepSignificantDigits(double(SaturatingTrunc64(double(b) * p + 0.5)));
    return double(ka - kb) / p;
}

double BuildNumberFormat(std::string& format, float value, int decimals, bool plusSign, bool zeroFill,
                         int minDecimals)
{
    int d = decimals <= minDecimals ? minDecimals : decimals;
    double s = value < 0 ? -1.0 : 1.0;
    double a = std::fabs(double(value));
    if (d <= 0) {
        format = "%d";
        return std::trunc(a + 0.1) * s;
    }
    if (a < std::pow(0.1, d)) {
        a = 0;
        d = minDecimals;
        s = 1.0;
    } else if (a > std::pow(10.0, d)) {
        d = 0;
    } else {
        a = RoundToDecimals(a, d);
    }
    format = StringPrintf("%s%d%s", plusSign && a > 0 ? (zeroFill ? "%+0." : "%+.") : (zeroFill ? "%0." : "%."),
                          d > minDecimals ? d : minDecimals, "f");
    return a * s;
}

void FormatChartValueText(std::string& text, float value, int decimals, bool plusSign, bool zeroFill,
                          int minDecimals)
{
    std::string format;
    double shown = BuildNumberFormat(format, value, decimals, plusSign, zeroFill, minDecimals);
    if (format == "%d") {
        text = StringPrintf("%lld", static_cast<long long>(SaturatingTrunc64(shown)));
        return;
    }
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wformat-nonliteral"
    text = StringPrintf(format.c_str(), shown);
#pragma GCC diagnostic pop
}

void FormatScaled(std::string& text, float value, bool useDivisor, bool fixedScale, int32_t divisor,
                  int minDecimals, int decimals, bool plusSign)
{
    double shown = value;
    const char* suffix = "";
    if (fixedScale) {
        if (useDivisor && divisor != 0)
            shown = double(value) / divisor;
    } else {
        static const char* const kSuffixes[] = {"", "k", "m", "b"};
        int power = ThousandsPower(value);
        shown = double(value) / std::pow(1000.0, power);
        suffix = kSuffixes[power];
    }
    std::string number;
    FormatChartValueText(number, float(shown), decimals, plusSign, true, minDecimals);
    if (number.size() > kScaledTextLimit)
        number.resize(kScaledTextLimit);
    text = number + suffix;
}

double ScaleWithSuffix(double value, const char*& suffix)
{
    if (std::fabs(value) * 1e-9 > 1) {
        value *= 1e-9;
        suffix = "b";
    }
    if (std::fabs(value) * 1e-6 > 1) {
        value *= 1e-6;
        suffix = "m";
    } else if (std::fabs(value) * 0.001 > 1) {
        value *= 0.001;
        suffix = "k";
    }
    return value;
}

std::string PaneUnitSuffix(int power)
{
    static constexpr const char* kUnitWords[4] = {"", "thousands", "millions", "billions"};
    const int unit = power < 0 ? 0 : power > 3 ? 3 : power;
    return unit > 0 ? std::string(" - ") + kUnitWords[unit] : std::string();
}

void GetThousandsScale(double value, double& factor, int& power)
{
    power = ThousandsPower(value);
    factor = std::pow(1000.0, power);
}

double NiceAxisStep(double low, double high, int n, int maxDecimals)
{
    if (!std::isfinite(low) || !std::isfinite(high))
        return 0;
    double raw = (high - low) / ((n <= 0 ? 1 : n) + 1);
    if (!(raw > 0) || !std::isfinite(raw))
        return 0;
    if (raw < 1 && maxDecimals == 0)
        return 1;
    double m = raw;
    int e = 0;
    while (m > 10) {
        m *= 0.1;
        ++e;
    }
    while (m <= 1) {
        m *= 10;
        --e;
    }
    if (maxDecimals > 0 && -e > maxDecimals) {
        m = 10;
        e = -1 - maxDecimals;
    }
    double mantissa = m <= 2 ? 2 : m <= 5 ? 5 : 10;
    return mantissa * std::pow(10.0, e);
}

} // namespace qv
