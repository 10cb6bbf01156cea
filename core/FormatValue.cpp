// The cell and price formatter. The number is printed with bounded calls first; the length rules and
// the digit cut then work on that text, so a value as large as 3.4e38 is measured, never overrun.
#include "core/FormatValue.h"

#include "core/DigitRounding.h"
#include "core/FormatNumber.h"
#include "core/RecordAccess.h"
#include "core/StringPrintf.h"

#include <algorithm>
#include <cmath>

namespace qv {
namespace {

constexpr size_t kLongestValueText = 17;
constexpr char kQuarter = '\xBC', kHalf = '\xBD', kThreeQuarters = '\xBE';

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// Takes a fraction of about a quarter, a half or three quarters off the value as a glyph; other
// fractions stay in the value. Returns 0 when no glyph is taken.
char TakeFractionGlyph(double& v)
{
    double f = v - std::floor(v);
    if (f < 0.125 || f >= 0.875)
        return 0;
    v -= f;
    return f < 0.375 ? kQuarter : f < 0.625 ? kHalf : kThreeQuarters;
}

// Decimals that show the value without trailing zeros or a run of nines, at most four.
int AutomaticDecimals(double v)
{
    std::string s = StringPrintf("%.4f", v);
    int last = int(s.size()) - 1;
    int d = 4;
    if (last > 5) {
        d = 9 - last;
        last = 5;
    }
    char run = s[size_t(last)];
    if (run == '9' || run == '0') {
        while (last > 0 && s[size_t(last)] == run) {
            --d;
            --last;
        }
    }
    return std::clamp(d, 0, 4);
}

// Adds one to the digits before `end`, carrying leftwards over the point; a carry out of the first
// digit puts a "1" in front of it.
void RoundUpBefore(std::string& s, size_t end)
{
    size_t length = s.size();
    s.append(2, '\0'); // the end mark and room for a carried "1"
    s.resize(RoundUpDigitsBefore(s.data(), length, end, s.size()));
}

// Keeps `limit` significant digits of a printed number, rounding half up; integer digits after the cut
// become zeros and decimals after it are dropped.
void CutToSignificantDigits(std::string& s, uint32_t& limit)
{
    size_t i = 0;
    while (i < s.size() && !(s[i] >= '1' && s[i] <= '9'))
        ++i;
    if (i == s.size()) {
        s.resize(std::min<size_t>(s.size(), 1));
        return;
    }
    for (; i < s.size() && limit > 0; ++i) {
        if (IsDigit(s[i]))
            --limit;
    }
    const size_t cut = i;
    bool roundUp = cut < s.size() &&
                   ((IsDigit(s[cut]) && s[cut] >= '5') ||
                    (s[cut] == '.' && cut + 1 < s.size() && s[cut + 1] >= '5' && IsDigit(s[cut + 1])));
    size_t point = s.find('.', cut);
    if (point != std::string::npos) {
        std::fill(s.begin() + long(cut), s.begin() + long(point), '0');
        s.resize(point);
    } else if (s.find('.') == std::string::npos) {
        std::fill(s.begin() + long(cut), s.end(), '0');
    } else {
        s.resize(cut);
    }
    if (roundUp)
        RoundUpBefore(s, cut);
}

// Drops blanks and puts the thousands commas into the whole part (after any sign).
std::string Regroup(const std::string& s, bool separators)
{
    size_t point = std::min(s.find('.'), s.size());
    std::string sign, digits;
    for (size_t i = 0; i < point; ++i) {
        if (IsDigit(s[i]))
            digits += s[i];
        else if (s[i] != ' ')
            sign += s[i];
    }
    std::string out = sign;
    out += separators ? GroupThousands(digits) : digits;
    out.append(s, point, std::string::npos);
    return out;
}

bool OnlyZeros(const std::string& s)
{
    return std::all_of(s.begin(), s.end(), [](char c) { return c == '0' || c == ' ' || c == '.'; });
}

bool HasNonZeroDigit(const std::string& s)
{
    return std::any_of(s.begin(), s.end(), [](char c) { return c >= '1' && c <= '9'; });
}

} // namespace

int FormatValueText(ValueTextRequest& req)
{
    req.out.clear();
    req.suffix = 0;
    const float value = req.value;
    if (value == kNoValue || !std::isfinite(value))
        return 0;
    if (value == 0) {
        int zero = req.zeroMode & 3;
        if (zero != 0)
            req.out.push_back(zero == 2 ? '-' : '0');
        return int(req.out.size());
    }
    const bool negative = value < 0;
    double v = std::fabs(double(value));
    if (req.style & kStyleScaleSuffix) {
        for (char letter : {'k', 'm', 'b'}) {
            if (v < 1000)
                break;
            v *= 0.001;
            req.suffix = letter;
        }
    }
    char glyph = (req.style & kStyleFractionGlyph) ? TakeFractionGlyph(v) : 0;
    int decimals = req.autoDecimals ? AutomaticDecimals(v) : req.style & kStyleDecimalsMask;
    bool plus = (req.style & kStylePlusSign) && !negative;
    std::string s = StringPrintf(plus ? "%+5.*f" : "%5.*f", decimals, v);
    if (req.digitLimit && !req.autoDecimals)
        CutToSignificantDigits(s, req.digitLimit);
    if (s.size() > kLongestValueText) {
        req.suffix = 0;
        return 0;
    }
    std::string body = OnlyZeros(s) ? "0" : Regroup(s, req.noSeparators == 0);
    if (negative && (HasNonZeroDigit(body) || glyph))
        req.out.push_back('-');
    req.out += body;
    if (glyph)
        req.out += glyph;
    return int(req.out.size());
}

CurrencySymbols GetCurrencyUnitSymbols(int currency)
{
    switch (currency) {
    case 0: return {{'\xA3', 0}, 'p'};
    case 1: return {{'I', '\xA3'}, 'p'};
    case 3: return {{'$', 0}, 'c'};
    case 4: return {{'F', 'F'}, 0};
    case 5: return {{'D', 'M'}, 0};
    case 6: return {{CurrentFormatOptions().plainEuroSign ? 'E' : '\x80', 0}, 'c'};
    default: return {};
    }
}

std::string CurrentPriceText(const RecordCursor& share, double price)
{
    const char minor = GetCurrencyUnitSymbols(int(GetShareFieldType(&share, 0))).minor;
    return minor ? StringPrintf("Current price: %g %c", price, minor) : StringPrintf("Current price: %g", price);
}

int FormatPriceText(ValueTextRequest& req, const CurrencySymbols& symbols, int mode, bool percent,
                    bool percentUnscaled)
{
    const float value = req.value;
    req.out.clear();
    req.suffix = 0;
    if (value == kNoValue || !std::isfinite(value))
        return 0;
    if (value == 0) {
        int zero = req.zeroMode & 3;
        if (zero == 2)
            req.out.push_back('-');
        if (zero != 1)
            return int(req.out.size());
    }
    std::string text;
    double v = value;
    uint8_t style = req.style;
    if (v < 0) {
        v = -v;
        text = "-";
    } else if (style & kStylePlusSign) {
        text = "+";
    }
    char glyph = 0;
    if (percent) {
        if (percentUnscaled) {
            style = (style & 0x09) | 0x06;
        } else {
            v *= 0.01;
            style = (style & 0x0B) | 0x04;
        }
    } else if (v < 10) {
        style = (style & 0x0D) | 0x02;
    } else {
        if ((style & kStyleFractionGlyph) && mode != 2)
            glyph = TakeFractionGlyph(v);
        if (v < 99.5) {
            style &= 0x0F;
        } else if (mode == 2) {
            style = (style & 0xE1) | 0x01;
        } else {
            for (char c : symbols.major)
                if (c)
                    text += c;
            v *= 0.01;
            style = (style & 0xE2) | 0x02;
        }
    }
    // The sign is written above; the number itself must not carry a second one.
    style &= uint8_t(~kStylePlusSign);
    const bool nothingBefore = text.empty();
    bool numberWritten = false;
    if (v != 0) {
        ValueTextRequest number = req;
        number.value = float(v);
        number.style = style;
        numberWritten = FormatValueText(number) > 0;
        text += number.out;
        req.suffix = number.suffix;
        req.digitLimit = number.digitLimit;
    }
    if (text != "-") {
        if (glyph)
            text += glyph;
        if (req.suffix)
            text += req.suffix;
        if (symbols.minor && nothingBefore && numberWritten)
            text += symbols.minor;
    }
    req.out = text;
    return int(text.size());
}

} // namespace qv
