// Number texts. Every text is built with bounded formatting, so no value, however large, can overrun.
#include "core/FormatNumber.h"

#include "core/StringPrintf.h"

#include <algorithm>
#include <cmath>

namespace qv {
namespace {

constexpr char kPound = '\xA3';

bool AllZeros(std::string_view digits)
{
    return std::all_of(digits.begin(), digits.end(), [](char c) { return c == '0' || c == '.'; });
}

// Splits a "%f" text into its sign and the rest, and drops the sign of a value that rounded to zero.
std::string_view SplitSign(std::string_view text, bool& negative)
{
    negative = !text.empty() && text[0] == '-';
    if (negative)
        text.remove_prefix(1);
    if (AllZeros(text))
        negative = false;
    return text;
}

} // namespace

FormatOptions& CurrentFormatOptions()
{
    static FormatOptions options;
    return options;
}

std::string GroupThousands(std::string_view digits)
{
    std::string out;
    out.reserve(digits.size() + digits.size() / 3);
    for (size_t i = 0; i < digits.size(); ++i) {
        if (i > 0 && (digits.size() - i) % 3 == 0)
            out += ',';
        out += digits[i];
    }
    return out;
}

std::string FormatAmount(double value)
{
    if (!std::isfinite(value))
        return {};
    std::string text = StringPrintf("%.2f", value);
    bool negative = false;
    std::string_view rest = SplitSign(text, negative);
    std::string_view whole = rest.substr(0, rest.size() - 3);
    std::string_view fraction = rest.substr(rest.size() - 3);
    std::string out = negative ? "-" : "";
    out += GroupThousands(whole);
    if (fraction != ".00")
        out += fraction;
    return out;
}

std::string FormatMoney(double value, bool decimals, bool allowFourDecimals)
{
    if (!std::isfinite(value))
        return {};
    bool brackets = CurrentFormatOptions().negativeMoneyInBrackets;
    double magnitude = std::fabs(value);
    std::string digits;
    if (!decimals) {
        digits = StringPrintf("%.f", magnitude);
    } else if (allowFourDecimals &&
               magnitude * 100 - std::floor(magnitude * 100 + 0.01) > 0.09) { // a fraction of a penny
        digits = StringPrintf("%.04f", magnitude);
    } else {
        digits = StringPrintf("%.02f", magnitude);
    }
    bool negative = value < 0 && !AllZeros(digits);
    size_t point = std::min(digits.find('.'), digits.size());
    std::string out;
    if (negative)
        out += brackets ? "(" : "-";
    out += kPound;
    out += GroupThousands(std::string_view(digits).substr(0, point));
    out += digits.substr(point);
    if (negative && brackets)
        out += ')';
    return out;
}

double FindMagnitude(double value, int& exponent)
{
    int best = 0;
    double power = 1.0;
    for (int e = 0; e <= 15 && power <= value; ++e, power *= 10.0) {
        if (e % 3 == 0)
            best = e;
    }
    exponent = best;
    return std::pow(10.0, best);
}

std::string_view GetMagnitudeWord(int exponent)
{
    switch (exponent) {
    case 3: return "thousands";
    case 6: return "millions";
    case 9: return "billions";
    case 12: return "trillions";
    default: return {};
    }
}

std::string FormatSignificantDigits(double value, int digits, double unit, int reserve)
{
    if (std::isnan(value))
        return {};
    if (digits <= 0)
        return FormatAmount(value);
    digits = std::min(digits, 18);
    reserve = std::clamp(reserve, 0, 16);
    const std::string stars(size_t(digits + 2 > 18 ? 18 : digits + 2), '*');
    // Too many whole digits in the unit for the width left beside the reserve.
    int width = 1;
    for (double q = value / unit; width < 16 - reserve; ++width) {
        q *= 0.1;
        if (!(q >= 1))
            break;
    }
    if (width >= 16 - reserve || !std::isfinite(value))
        return stars;

    const double limit = std::pow(10.0, digits);
    double w = value;
    int shifts = 0;
    while (w >= limit && shifts < 16 - digits) {
        w *= 0.1;
        ++shifts;
    }
    int places = 0;
    double rounded;
    if (shifts == 0) {
        double t = w;
        while (places < 2 && t * 10 < limit) {
            t *= 10;
            ++places;
        }
        double scale = std::pow(10.0, places);
        rounded = std::trunc(w * scale + 0.5);
        w = rounded / scale;
    } else {
        rounded = std::trunc(w + 0.5);
        w = rounded;
    }
    if (rounded == 0) {
        places = 0;
    } else if (shifts < reserve) {
        for (int k = shifts; k < reserve; ++k, ++places)
            w *= 0.1;
    } else {
        for (int k = reserve; k < shifts; ++k)
            w *= 10;
    }
    // The whole part is read back from the printed text so that it always matches the decimals.
    std::string text = StringPrintf("%*.*f", digits + 1, places, w);
    std::string_view trimmed = text;
    trimmed.remove_prefix(std::min(trimmed.find_first_not_of(' '), trimmed.size()));
    bool negative = false;
    std::string_view rest = SplitSign(trimmed, negative);
    size_t point = std::min(rest.find('.'), rest.size());
    std::string out = negative ? "-" : "";
    out += GroupThousands(rest.substr(0, point));
    out += rest.substr(point);
    return out;
}

std::string FormatClockTime(uint32_t seconds, bool twentyFourHour)
{
    if (seconds == 0)
        return {};
    uint32_t h = seconds / 3600, m = seconds % 3600 / 60, s = seconds % 60;
    if (twentyFourHour)
        return StringPrintf("%2u:%02u:%02u", h, m, s);
    uint32_t h12 = h % 12 == 0 ? 12 : h % 12;
    return StringPrintf("%2u:%02u:%02u %s", h12, m, s, h % 24 < 12 ? "AM" : "PM");
}

bool ParseDecimal(double& out, std::string_view text)
{
    size_t i = 0;
    auto skipBlanks = [&] {
        while (i < text.size() && text[i] == ' ')
            ++i;
    };
    auto isDigit = [&](size_t at) { return at < text.size() && text[at] >= '0' && text[at] <= '9'; };
    skipBlanks();
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
        negative = text[i++] == '-';
        skipBlanks();
    }
    double value = 0;
    while (isDigit(i))
        value = value * 10 + (text[i++] - '0');
    if (i < text.size() && text[i] == '.') {
        double scale = 1;
        for (++i; isDigit(i); ++i) {
            scale *= 10;
            value += (text[i] - '0') / scale;
        }
    }
    out = negative ? -value : value;
    skipBlanks();
    return i == text.size();
}

} // namespace qv
