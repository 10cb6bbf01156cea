// The rules of the end-of-day chart: display range, bar scale, folding, ranges, texts and time axis.
#include "chartmodel/EodChart.h"

#include "core/DateStepping.h"
#include "core/DateText.h"
#include "core/FormatNumber.h"
#include "core/FormatValue.h"
#include "core/StringPrintf.h"
#include "core/TradingCalendar.h"

#include <algorithm>
#include <array>
#include <cfloat>
#include <cmath>

namespace qv {
namespace {

// The factor of the reduce command, in single precision as the setting always had it.
constexpr float kReduceFactor = 0.667f;

int32_t CountDays(const DayRecord* days, int32_t count)
{
    int32_t n = 0;
    while (n < count && days[n].date != 0)
        ++n;
    return n;
}

int32_t DaysFromTo(int32_t a, int32_t b) { return DateToDayNumber(PackedDate(b)) - DateToDayNumber(PackedDate(a)); }

bool RangeAgreesWithDisplay(const DateRangeSetting& s, const DisplayRange& display, int32_t lastPriceDate)
{
    return (s.word & kRangeLimitOn) &&
           (display.end == s.end || !(s.word & kRangeEndFixed) || display.end == lastPriceDate);
}

uint16_t ClampLength(int64_t length) { return uint16_t(std::clamp<int64_t>(length, 1, 0xFFFF)); }

} // namespace

void ComputeDisplayRange(DateRangeSetting& s, const DayRecord* days, int32_t count, DisplayRange& display)
{
    const int32_t n = days ? CountDays(days, count) : 0;
    const int32_t first = n ? days[0].date : 0;
    const int32_t last = n ? days[n - 1].date : 0;
    if (!(s.word & kRangeLimitOn) || n == 0) {
        display = {first, last};
        return;
    }
    const int unit = s.word & kRangeUnitBits;
    if (unit == 0 && s.length < 5)
        s.length = 5;
    if (!(s.word & (kRangeHasLength | kRangeStartFixed | kRangeEndFixed)))
        s.word |= kRangeHasLength;
    const bool hasLength = s.word & kRangeHasLength, startFixed = s.word & kRangeStartFixed,
               endFixed = s.word & kRangeEndFixed;
    int32_t start = first, end = last;
    if (hasLength && !startFixed) {
        if (endFixed && s.end < end)
            end = s.end;
        start = AddToDate(PackedDate(end), -int32_t(s.length), unit);
    } else if (startFixed && !endFixed) {
        start = s.start;
        if (hasLength)
            end = AddToDate(PackedDate(start), s.length, unit);
    } else if (startFixed && endFixed) {
        start = s.start;
        end = s.end;
    } else if (endFixed) {
        end = s.end;
    }
    end = std::min(end, last);
    auto atOrAfter = std::find_if(days, days + n, [start](const DayRecord& d) { return d.date >= start; });
    if (atOrAfter != days + n)
        start = atOrAfter->date;
    for (int32_t i = n - 1; i >= 0; --i)
        if (days[i].date <= end) {
            end = days[i].date;
            break;
        }
    const bool sameAsShown = display.start != display.end && display.start == start && display.end == end;
    if (sameAsShown || display.start == display.end) {
        display = {first, last};
        return;
    }
    display = {std::clamp(start, first, last), std::clamp(end, first, last)};
}

void ApplyRangeLimit(DateRangeSetting& s, int32_t months, const DisplayRange& display, int32_t lastPriceDate)
{
    uint16_t w = s.word & uint16_t(~kRangeUnitBits);
    if (!(s.word & kRangeLimitOn))
        w = 0;
    else if ((s.word & kRangeEndFixed) && display.end != s.end && display.end != lastPriceDate)
        w = 0;
    if (display.end != lastPriceDate) {
        s.end = uint16_t(display.end);
        w |= kRangeEndFixed;
    } else {
        w &= uint16_t(~kRangeEndFixed);
    }
    if ((w & kRangeStartFixed) && (w & kRangeEndFixed))
        w &= uint16_t(~kRangeStartFixed);
    const bool years = months % 12 == 0;
    s.length = ClampLength(years ? months / 12 : months);
    s.word = uint16_t((years ? 3 : 2) | w | kRangeLimitOn | kRangeHasLength);
}

bool IsRangeLimit(const DateRangeSetting& s, int32_t months)
{
    if ((s.word & (kRangeLimitOn | kRangeHasLength)) != (kRangeLimitOn | kRangeHasLength))
        return false;
    const int unit = s.word & kRangeUnitBits;
    // A whole number of years is checked only when stored as years.
    return (unit == 2 && months % 12 != 0 && s.length == months) || (unit == 3 && months % 12 == 0 && s.length == months / 12);
}

bool ChangeVisibleRange(DateRangeSetting& s, bool increase, const DisplayRange& display, int32_t firstPriceDate,
                        int32_t lastPriceDate)
{
    if (increase && !(display.start > firstPriceDate))
        return false;
    const int32_t shownDays = DaysFromTo(display.start, display.end);
    int64_t length = s.length;
    if (!RangeAgreesWithDisplay(s, display, lastPriceDate)) {
        s.word = increase ? uint16_t(kRangeLimitOn | kRangeHasLength) : 0;
        length = increase ? shownDays : 1;
    }
    if (display.end == lastPriceDate) {
        s.word &= uint16_t(increase ? ~(kRangeEndFixed | kRangeUnitBits) : ~kRangeEndFixed);
        length = increase ? shownDays : 1;
    } else {
        s.word |= kRangeEndFixed;
        s.end = uint16_t(display.end);
    }
    const float factor = increase ? 1.5f : kReduceFactor;
    if ((s.word & kRangeStartFixed) && (s.word & kRangeEndFixed)) {
        s.word = kRangeLimitOn | kRangeHasLength | kRangeEndFixed;
        length = int64_t(float(DaysFromTo(s.start, s.end)) * factor);
    } else if (increase) {
        length = int64_t(float(length) * factor);
    } else if (length < 2) {
        s.word = uint16_t((s.word & ~0x7F) | kRangeLimitOn | kRangeHasLength);
        length = int64_t(float(shownDays) * factor);
    } else {
        length = int64_t(std::round(float(length) * factor));
    }
    s.word &= uint16_t(~kRangeStartFixed);
    s.length = ClampLength(length);
    return true;
}

int32_t AxisEndWithFuture(const FutureSetting& future, const DisplayRange& display, int32_t lastShown)
{
    if (!future.on)
        return lastShown;
    int unit = future.unit;
    int32_t amount = future.amount;
    if (unit == 4) {
        amount = std::min(amount, 75);
        amount = DaysFromTo(display.start, display.end) * amount / (100 - amount);
        unit = 0;
    }
    return AddToDate(PackedDate(lastShown), amount, unit);
}

int32_t DynamicBarCode(int32_t n, double pixelsPerRecord, int32_t smallestWidth)
{
    if (smallestWidth <= 0)
        return 1;
    const int32_t fit = int32_t(std::trunc(n * pixelsPerRecord)) / smallestWidth;
    int32_t days = fit != 0 ? int32_t(double(n) / fit + 0.9) : n;
    days = std::max(days, 1);
    return days < 5 ? days : (days - 1) / 5 + 5;
}

int32_t DaysPerBar(int32_t code) { return code <= 4 ? std::max(code, 1) : (code - 4) * 5; }

BarScale ComputeBarScale(const BarScaleInput& in)
{
    BarScale out;
    const int32_t width = in.paneRight - in.paneLeft;
    if (width <= 50 || in.visibleCount <= 0)
        return out;
    if (in.boxWidth > 0) {
        out.lastBarIndex = std::max(in.lastBarIndex, 1);
        out.pixelsPerBar = in.boxWidth;
        out.leftMargin = out.rightMargin = 0;
        out.firstX = in.paneLeft + in.boxWidth / 2 - in.boxFirstColumn * in.boxWidth;
        out.code = 0;
        out.drawWidth = std::max(in.boxWidth - 2 * in.boxMargin, 1);
        return out;
    }
    int32_t smallest = 0;
    if (in.style != 0 && in.fromMarkedVisible > 0) {
        const int32_t w = in.penWidth;
        smallest = in.style == 4 ? 3 * w + 2 : in.style == 3 ? w + 2 : w + 3 * in.tickWidth + 1;
        out.rightMargin = smallest / 2;
        if (in.firstVisibleMarked)
            out.leftMargin = (in.style == 4 || in.style == 1) ? smallest / 2 : w;
    }
    out.lastBarIndex = std::max(in.lastBarIndex, 1);
    out.pixelsPerBar = double(width - out.leftMargin - out.rightMargin) / out.lastBarIndex;
    out.firstX = in.paneLeft + out.leftMargin;
    if (in.priceEdit)
        out.code = 1;
    else if (in.barCode == 0)
        out.code = smallest ? DynamicBarCode(in.fromMarkedVisible, out.pixelsPerBar, smallest) : 1;
    else
        out.code = in.barCode;
    const int32_t limit = int32_t(in.printScale * (in.style == 4 ? 48 : 16));
    auto drawWidth = [&] {
        return std::clamp(int32_t(std::lround(DaysPerBar(out.code) * out.pixelsPerBar * 0.4)), 0, limit);
    };
    out.drawWidth = drawWidth();
    if (!smallest)
        return out;
    // A bar reaches half its drawn width (and its right pixel) either side of its x: the margins keep
    // the first and last bars whole inside the band. Wider margins only narrow the bars.
    const int32_t half = std::max(out.drawWidth / 2, 1);
    const int32_t left = in.firstVisibleMarked ? std::max(out.leftMargin, half + 1) : out.leftMargin;
    const int32_t right = std::max(out.rightMargin, half + 2);
    if (left == out.leftMargin && right == out.rightMargin)
        return out;
    out.leftMargin = left;
    out.rightMargin = right;
    out.pixelsPerBar = double(width - left - right) / out.lastBarIndex;
    out.firstX = in.paneLeft + left;
    out.drawWidth = drawWidth();
    return out;
}

bool StartsNewWeek(const DayRecord& day, const DayRecord& next)
{
    return next.date == 0 || DaysFromTo(day.date, next.date) > 5 || next.weekday <= day.weekday;
}

std::vector<FoldedBar> FoldBars(const DayRecord* days, int32_t count, int32_t first, int32_t shownEnd, int32_t code)
{
    std::vector<FoldedBar> bars;
    if (!days || code < 1)
        return bars;
    const int32_t weeks = code >= 5 ? code - 4 : 0;
    int32_t inBar = 0, weekEnds = 0;
    for (int32_t i = std::max(first, 0); i < count && days[i].date != 0 && days[i].date <= shownEnd; ++i) {
        const DayRecord& d = days[i];
        if (inBar == 0) {
            bars.push_back({{d.open, d.high, d.low, d.close, d.volume}, i, i, d.date});
        } else {
            BarValues& b = bars.back().values;
            b.high = std::max(b.high, d.high);
            b.low = std::min(b.low, d.low);
            b.close = d.close;
            b.volume += d.volume;
            bars.back().last = i;
        }
        ++inBar;
        const bool weekEnd = i + 1 >= count || StartsNewWeek(d, days[i + 1]);
        weekEnds += weekEnd ? 1 : 0;
        if (weeks ? weekEnds >= weeks : inBar >= code) {
            inBar = 0;
            weekEnds = 0;
        }
    }
    return bars;
}

PriceRange GetPriceRange(const DayRecord* days, int32_t count, int32_t firstVisible, int32_t lastDate, int style,
                         bool trainingShown, bool scaleBit80)
{
    PriceRange r;
    for (int32_t i = std::max(firstVisible, 0); days && i < count && days[i].date != 0 && days[i].date <= lastDate;
         ++i) {
        r.low = std::min(r.low, days[i].close);
        r.high = std::max(r.high, days[i].close);
        if (style >= 1 && style <= 4 && HasOhlc(days[i])) {
            r.low = std::min(r.low, days[i].low);
            r.high = std::max(r.high, days[i].high);
        }
    }
    if (!trainingShown)
        return r;
    if (r.Empty())
        return {1, 100};
    if (scaleBit80) {
        r.high *= 1.4f;
        r.low *= 0.8333333f;
    } else {
        const float middle = (r.high + r.low) / 2, half = 0.75f * (r.high - r.low);
        r.high = middle + half;
        r.low = middle - half;
    }
    r.low = std::max(r.low, 1.0f);
    return r;
}

std::string NoDataMessage(const NoDataInput& in)
{
    static const char* const kNoPricesInRange = "No prices in the current range^^(Double-click to show the full range)";
    std::string message;
    if (!in.hasPriceStream && !in.graphKindBits)
        message = "Not enough data";
    if (!in.pricesArray || in.count > 0) {
        if (in.pricesArray && in.count > 0 && in.visible == 0)
            message = kNoPricesInRange;
        if (!in.hasRecord)
            message = "Not enough data within the current range";
        if (in.startAfterEnd)
            message = in.limitOn ? kNoPricesInRange : "Not enough data";
    }
    if (in.pricesArray && in.count == 0)
        message = "No price data";
    return message;
}

std::vector<std::string> SplitChartText(const std::string& text)
{
    std::vector<std::string> lines;
    size_t from = 0;
    for (size_t at; (at = text.find("^^", from)) != std::string::npos; from = at + 2)
        lines.push_back(text.substr(from, at - from));
    lines.push_back(text.substr(from));
    return lines;
}

int32_t PositionKeyToDate(int32_t key)
{
    const int32_t date = key >> 8;
    return (key & 0xFF) >= 201 ? NextWeekday(PackedDate(date)) : date;
}

int32_t XToBarIndex(int32_t x, int32_t bandLeft, double pixelsPerBar, int32_t lastBarIndex)
{
    if (pixelsPerBar <= 0)
        return 0;
    return std::clamp(int32_t((x - bandLeft) / pixelsPerBar), 0, std::max(lastBarIndex, 0));
}

int32_t XTableIndex(const int32_t* table, int32_t count, int32_t x)
{
    if (!table || count <= 0)
        return 0;
    const int32_t* after = std::upper_bound(table, table + count, x);
    return after == table ? 0 : int32_t(after - table) - 1;
}

int32_t XTableFraction(const int32_t* table, int32_t count, int32_t index, int32_t x)
{
    if (!table || index < 0 || index + 1 >= count)
        return 0;
    const int32_t gap = table[index + 1] - table[index];
    if (gap <= 0)
        return 0;
    return std::clamp(int32_t(int64_t(x - table[index]) * 255 / gap), 0, 254);
}

int32_t XTableX(const int32_t* table, int32_t count, int32_t index, int32_t fraction)
{
    if (!table || count <= 0)
        return 0;
    index = std::clamp(index, 0, count - 1);
    if (index + 1 >= count)
        return table[index];
    return table[index] + int32_t(int64_t(table[index + 1] - table[index]) * fraction / 255);
}

CursorStep StepCursor(const CursorStepInput& in, int32_t x, int direction)
{
    const double half = in.pixelsPerBar / 2;
    if (direction < 0 && x - in.bandLeft <= half && in.canScrollBack)
        return {x, -1};
    if (direction > 0 && in.bandRight - x <= half && in.canScrollOn)
        return {x, 1};
    int32_t next = x + direction;
    if (in.pixelsPerBar > 1 && in.table && in.count > 0) {
        const int32_t index = XTableIndex(in.table, in.count, x);
        const int32_t neighbour = std::clamp(index + direction, 0, in.count - 1);
        next = in.table[neighbour];
        // Right of the bar's own x, a step left first goes back to it.
        if (direction < 0 && x > in.table[index])
            next = in.table[index];
    }
    if (direction > 0)
        next = std::max(next, x + 1);
    else
        next = std::min(next, x - 1);
    return {std::clamp(next, in.bandLeft, in.bandRight), 0};
}

std::string GetTrendRateText(PackedDate date1, float value1, PackedDate date2, float value2, bool logScale)
{
    const int32_t n = std::max(CountTradingDays(date1, date2) - 1, 0);
    if (n <= 1)
        return {};
    if (!logScale)
        return StringPrintf("%+.2f p.a.", (double(value2) - value1) * 250 / n);
    if (value1 <= 0 || value2 <= 0)
        return {};
    return StringPrintf("%+.2f%% p.a.", (std::exp(std::log(double(value2) / value1) * 250 / n) - 1) * 100);
}

std::string GetBarPeriodLabel(int32_t code, bool dynamic)
{
    std::string label = code < 5 ? StringPrintf("%d day bars", code) : StringPrintf("%d week bars", code - 4);
    return dynamic ? label + " (dyn.)" : label;
}

std::string ZoomRangeText(bool from, PackedDate date)
{
    return StringPrintf(from ? "From %i/%i/%02i" : "To %i/%i/%02i", DayOfMonth(date), MonthOfYear(date), TwoDigitYear(date));
}

std::string FormatPriceInUnit(float value, float unit, char minor)
{
    const int decimals = unit >= 1 || unit <= 0 ? 0 : unit >= 0.1f ? 1 : unit >= 0.01f ? 2 : 4;
    const std::string digits = StringPrintf("%.*f", decimals, std::fabs(double(value)));
    const size_t point = digits.find('.');
    const bool negative = value < 0 && digits.find_first_not_of("0.") != std::string::npos;
    const bool pounds = minor == kPoundSign;
    return (negative ? "-" : "") + (pounds ? std::string(1, minor) : "") + GroupThousands(digits.substr(0, point)) +
           (point == std::string::npos ? "" : digits.substr(point)) + (minor && !pounds ? std::string(1, minor) : "");
}

std::string PriceReadoutText(const DayRecord& day, const DayRecord* previous, char minor)
{
    const bool suspended = (day.modeMarks & kDayMarkF) != 0;
    const float change = previous ? day.close - previous->close : 0.0f;
    std::string price = FormatPriceInUnit(day.close, day.unit, minor);
    if (change == 0)
        price += suspended ? " (Susp.)" : " no change";
    else
        price += "  " + std::string(change > 0 ? "+" : "") + FormatPriceInUnit(change, day.unit, minor) +
                 (suspended ? " (Susp.)" : "");
    return FormatDate(day.date) + ", " + price;
}

std::string OhlcReadoutText(const DayRecord& day, char minor)
{
    return "OHLC " + FormatPriceInUnit(day.open, day.unit, minor) + ", " + FormatPriceInUnit(day.high, day.unit, minor) +
           ", " + FormatPriceInUnit(day.low, day.unit, minor) + ", " + FormatPriceInUnit(day.close, day.unit, minor);
}

std::string VolumeAmountText(float volume)
{
    // As the lists show amounts: whole numbers below a thousand, then one decimal and "k", "m" or "b".
    if (std::fabs(volume) < 1000)
        return StringPrintf("%.0f", double(volume));
    ValueTextRequest request;
    request.value = volume;
    request.style = kStyleScaleSuffix | 1;
    FormatValueText(request);
    return request.suffix ? request.out + request.suffix : request.out;
}

std::string VolumeReadoutText(float volume) { return "Volume " + VolumeAmountText(volume); }

PriceSummary GetPriceSummary(const DayRecord* days, int32_t count, int32_t firstDate, int32_t lastDate)
{
    PriceSummary s;
    for (int32_t i = 0; days && i < count && days[i].date != 0; ++i) {
        const DayRecord& d = days[i];
        if (d.date < firstDate || d.date > lastDate)
            continue;
        if (s.days++ == 0)
            s.open = d.close;
        s.high = std::max(s.high, d.high);
        s.low = std::min(s.low, d.low);
        s.close = d.close;
        s.volume += d.volume;
    }
    return s;
}

int TimeAxisLevel(int32_t tradingDays, int32_t slots)
{
    static constexpr std::array<int32_t, 8> kDays = {2, 8, 50, 120, 360, 720, 2400, 4800};
    static constexpr std::array<int32_t, 8> kPerSlot = {1, 2, 4, 30, 90, 180, 365, 1825};
    const int32_t perSlot = tradingDays / std::max(slots, 1);
    const int l0 = int(std::count_if(kDays.begin(), kDays.end(), [&](int32_t v) { return tradingDays > v; }));
    const int l1 = int(std::count_if(kPerSlot.begin(), kPerSlot.end(), [&](int32_t v) { return perSlot > v; }));
    const int top = std::max(l0, l1);
    if (top - l1 >= 3)
        return l1 + 1;
    if (top - l1 < 2) {
        if (top == 8)
            return 7;
        if (l1 <= 1)
            return 1;
    }
    return (l1 + top) / 2;
}

std::vector<AxisLabel> TimeAxisLabels(const std::vector<std::pair<PackedDate, int32_t>>& dated, int level, int gridMode)
{
    static const char* const kMonths[12] = {"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                            "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};
    std::vector<AxisLabel> labels;
    PackedDate previous = 0;
    uint8_t previousWeekday = 0;
    int dayCount = 0;
    for (const auto& [date, x] : dated) {
        const uint8_t weekday = uint8_t(WeekdayOf(date) + 1);
        AxisLabel label{x, {}, 0, 0, false};
        const int month0 = MonthField(date), year = TwoDigitYear(date);
        if (previous != 0 && YearField(date) != YearField(previous)) {
            label.kind = 2;
            label.text = StringPrintf("'%02i ", year);
            label.tick = (level < 6 ? 2 : 1) + (level < 4) + (level > 3 && year % 5 == 0) + (level >= 6 && year % 10 == 0);
        } else if (previous != 0 && month0 != MonthField(previous)) {
            const bool shown = level < 4 || (level == 4 && month0 % 3 == 0) || (level == 5 && month0 % 6 == 0);
            if (shown) {
                label.kind = 1;
                label.text = std::string(kMonths[month0]) + " ";
                label.tick = (level < 3 ? 2 : 1) + (level >= 1 && level <= 4 && month0 % 6 == 0) +
                             (level >= 1 && level <= 3 && month0 % 3 == 0);
            }
            dayCount = 0;
        } else {
            const bool newWeek = previous == 0 || weekday <= previousWeekday || DaysFromTo(previous, date) > 5;
            const bool shown = level == 0 || (level == 1 && dayCount % 2 == 0) || (level == 2 && newWeek);
            if (shown) {
                label.text = StringPrintf("%i ", DayOfMonth(date));
                label.tick = 1;
            }
            ++dayCount;
        }
        if (!label.text.empty()) {
            const int threshold = (label.kind == 2 ? 2 : 3) - gridMode;
            label.grid = gridMode >= 0 && label.tick > threshold;
            labels.push_back(std::move(label));
        }
        previous = date;
        previousWeekday = weekday;
    }
    return labels;
}

} // namespace qv
