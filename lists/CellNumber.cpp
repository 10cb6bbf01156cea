// The cell number format, step by step, in fixed buffers.
#include "lists/CellNumber.h"

#include "core/DigitRounding.h"
#include "core/FormatValue.h"

#include <cmath>
#include <cstdarg>
#include <cstdio>
#include <algorithm>
#include <cstring>

namespace qv {
namespace {

using namespace CellFormatBits;

constexpr double kClampLimit = 9999999999.0;
constexpr double kPencePoundsLimit = 99.5;
constexpr int kPenceDecimals = 0, kPoundsDecimals = 2, kExportPoundsDecimals = 4, kExportPenceDecimals = 6;
constexpr int kSignificantPrintDecimals = 6;
constexpr double kHalfNudge = 1e-12;
constexpr size_t kNumberRoom = 80;
constexpr char kQuarter[] = "\xBC", kHalf[] = "\xBD", kThreeQuarters[] = "\xBE";
constexpr uint8_t kCodeAlwaysPounds = 70;
constexpr uint8_t kCodeSignificantMoney = 12;

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// The glyph of a fraction from a quarter to three quarters; a smaller or larger fraction has none and
// stays in the value, so that the decimals round it ("165.98" at no decimals is "166").
const char* FractionText(double whole, double value)
{
    double f = value - whole;
    if (f >= 0.125 && f < 0.375)
        return kQuarter;
    if (f >= 0.375 && f < 0.625)
        return kHalf;
    if (f >= 0.625 && f < 0.875)
        return kThreeQuarters;
    return "";
}

// Decimals chosen from the value: the "%.5f" text, at most seven digits of it, read back from its last
// decimal shown, trailing zeros (or a run of nines, which rounds away) each taking one decimal off.
// The scan starts at that decimal itself, so no trailing zero is left ("103.13", not "103.130").
int AutomaticDecimals(double v)
{
    char t[kNumberRoom];
    int length = std::snprintf(t, sizeof t, "%.5f", std::fabs(v));
    if (length <= 2 || length >= int(sizeof t))
        return 0;
    int p = length - 1, d = 5;
    if (length - 2 > 6) {
        d = 13 - length;
        p = 7;
    }
    const char run = t[p] == '9' ? '9' : '0';
    while (p >= 0 && t[p] == run) {
        --d;
        --p;
    }
    return d < 0 ? 0 : d > 4 ? 4 : d;
}

// Keeps `count` significant digits: later integer digits become "0", later decimals are dropped.
size_t CutSignificant(char* s, size_t length, int count, size_t room)
{
    size_t i = 0;
    while (i < length && !(s[i] >= '1' && s[i] <= '9'))
        ++i;
    if (i == length)
        return length;
    int kept = 0;
    for (; i < length && kept < count; ++i) {
        if (IsDigit(s[i]))
            ++kept;
    }
    size_t cut = i;
    size_t next = cut < length && s[cut] == '.' ? cut + 1 : cut;
    bool roundUp = next < length && IsDigit(s[next]) && s[next] > '4';
    size_t point = cut;
    while (point < length && s[point] != '.')
        ++point;
    bool cutInDecimals = false;
    for (size_t k = 0; k < cut; ++k)
        cutInDecimals = cutInDecimals || s[k] == '.';
    if (cutInDecimals) {
        length = cut;
    } else {
        for (size_t k = cut; k < point; ++k)
            s[k] = '0';
        length = point;
    }
    if (length > 0 && s[length - 1] == '.')
        --length;
    s[length] = 0;
    return roundUp ? RoundUpDigitsBefore(s, length, cut < length ? cut : length, room) : length;
}

// Drops blanks and the sign, and groups the integer digits by three when asked.
size_t Regroup(const char* s, size_t length, bool group, char* out, size_t room)
{
    size_t point = 0;
    while (point < length && s[point] != '.')
        ++point;
    size_t digits = 0;
    for (size_t i = 0; i < point; ++i)
        digits += IsDigit(s[i]) ? 1 : 0;
    size_t n = 0, seen = 0;
    for (size_t i = 0; i < point && n + 2 < room; ++i) {
        if (!IsDigit(s[i]))
            continue;
        if (group && seen > 0 && (digits - seen) % 3 == 0)
            out[n++] = ',';
        out[n++] = s[i];
        ++seen;
    }
    for (size_t i = point; i < length && n + 1 < room; ++i)
        out[n++] = s[i];
    out[n] = 0;
    return n;
}

} // namespace

void CellText::append(const char* text) { append(text, std::strlen(text)); }

void CellText::append(const char* text, size_t n)
{
    if (capacity_ == 0)
        return;
    size_t room = capacity_ - 1 - length_;
    if (n > room)
        n = room;
    std::memcpy(out_ + length_, text, n);
    length_ += n;
    out_[length_] = 0;
}

void CellText::printf(const char* format, ...)
{
    if (capacity_ == 0)
        return;
    va_list args;
    va_start(args, format);
    int n = std::vsnprintf(out_ + length_, capacity_ - length_, format, args);
    va_end(args);
    if (n > 0)
        length_ = std::min(capacity_ - 1, length_ + size_t(n));
}

CellSettings& CurrentCellSettings()
{
    static CellSettings settings;
    return settings;
}

size_t FormatCellNumber(char* out, size_t capacity, float value, const CellNumberFormat& f)
{
    CellText text(out, capacity);
    if (value == kCellNoValue || !std::isfinite(value))
        return 0;
    const CellSettings& settings = CurrentCellSettings();
    const bool exporting = settings.exportMode;
    CurrencySymbols symbols = f.money && !exporting ? GetCurrencyUnitSymbols(f.unit) : CurrencySymbols{};
    char prefix[3] = {symbols.major[0], symbols.major[1], 0};
    char suffix[2] = {symbols.minor, 0};
    if (!prefix[0] && prefix[1]) {
        prefix[0] = prefix[1];
        prefix[1] = 0;
    }
    double v = value;
    // A price that is not kept in quarters is shown by its decimals where the column asks for glyphs.
    const bool fractions = (f.formatB & Fractions) != 0;
    const bool glyphs = fractions && !exporting && f.unit != 2 && !f.exact;
    const bool significant = (f.formatB & Significant) != 0;
    const char* fraction = "";
    // The sign of the value itself: a fraction alone ("+\xBCp", "-\xBDp") keeps it.
    const bool below = value < 0, above = value > 0;
    if (glyphs) {
        double whole = std::trunc(v);
        fraction = FractionText(std::fabs(whole), std::fabs(v));
        if (*fraction)
            v = whole;
    }
    int decimals = f.formatB & Decimals;
    if (f.money) {
        int defaults;
        const uint8_t unitBits = f.formatA & MoneyUnit;
        if (exporting) {
            defaults = settings.exportKeepsPence ? kExportPenceDecimals : kExportPoundsDecimals;
            if (!settings.exportKeepsPence)
                v /= 100;
        } else if (unitBits == MoneyPence ||
                   (v >= -kPencePoundsLimit && v < kPencePoundsLimit && unitBits != MoneyPounds &&
                    f.code != kCodeAlwaysPounds)) {
            prefix[0] = 0;
            defaults = kPenceDecimals;
        } else {
            if (f.unit != 2)
                v /= 100;
            suffix[0] = 0;
            defaults = kPoundsDecimals;
        }
        if (fractions || (significant && f.code != kCodeSignificantMoney))
            decimals = defaults;
    }
    const bool cutSignificant = significant && (!f.money || f.code == kCodeSignificantMoney);
    if (v == 0 && !*fraction) {
        int zero = f.formatA & ZeroStyle;
        if (zero == 2)
            text.append('-');
        if (zero != 1)
            return text.size();
    }
    const char* letter = "";
    if (f.formatB & Scale) {
        for (const char* l : {"k", "m", "b"}) {
            if (std::fabs(v) < 1000)
                break;
            v *= 0.001;
            letter = l;
        }
    }
    if (f.clamp)
        v = v > kClampLimit ? 1e10 : v < -kClampLimit ? -1e10 : v;
    if ((f.formatA & AutoDecimals) || (fractions && (f.unit == 2 || (f.exact && !exporting))))
        decimals = AutomaticDecimals(v);
    if (cutSignificant)
        decimals = kSignificantPrintDecimals;
    const bool negative = v < 0 || (below && *fraction);
    const bool plus = (f.formatB & Plus) && (v > 0 || (above && *fraction));
    // Halves round away from zero: 99.5p is 0.995 pounds, which binary holds a hair below the half.
    const double magnitude = std::fabs(v) * (1 + kHalfNudge);
    char printed[kNumberRoom];
    int n = std::snprintf(printed, sizeof printed, plus ? "%+5.*f" : "%5.*f", decimals, magnitude);
    if (n <= 0 || n >= int(sizeof printed))
        return 0;
    // A value that is not zero is never shown as zero (a fall of a fifth of a penny as "0p"): it
    // takes the decimals that show it.
    if (!*fraction && value != 0 && std::strspn(printed, " +0.") == size_t(n)) {
        decimals = std::max(AutomaticDecimals(v), 1);
        n = std::snprintf(printed, sizeof printed, plus ? "%+5.*f" : "%5.*f", decimals, magnitude);
        if (n <= 0 || n >= int(sizeof printed))
            return 0;
    }
    size_t length = size_t(n);
    if (cutSignificant)
        length = CutSignificant(printed, length, f.formatB & Decimals, sizeof printed);
    char number[kNumberRoom];
    size_t numberLength = Regroup(printed, length, !exporting, number, sizeof number);
    const char* digits = number;
    if (*fraction && !prefix[0] && numberLength == 1 && number[0] == '0')
        digits = "";
    // A negative value puts its sign before the currency symbol ("-\xA31.23"); "+" stays with the number.
    bool nonZero = *fraction != 0;
    for (const char* p = digits; *p && !nonZero; ++p)
        nonZero = *p >= '1' && *p <= '9';
    if (negative && nonZero)
        text.append('-');
    text.append(prefix);
    if (plus)
        text.append('+');
    text.append(digits);
    text.append(fraction);
    text.append(suffix);
    text.append(letter);
    return text.size();
}

} // namespace qv
