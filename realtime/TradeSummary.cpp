// The summary of trades' texts.
#include "realtime/TradeSummary.h"

#include "core/DateText.h"
#include "core/FormatNumber.h"
#include "core/StringPrintf.h"

#include <algorithm>
#include <cmath>

namespace qv {
namespace {

std::string WholeNumber(double value) { return GroupThousands(StringPrintf("%.0f", std::floor(value))); }

// Three significant figures of the value in the unit: 2.50, 12.5, 125, 1,250.
std::string ThreeFigures(double value, const DisplayUnit& unit)
{
    const double scaled = value / unit.scale;
    if (!(scaled > 0))
        return "0";
    const int decimals = std::max(0, 2 - int(std::floor(std::log10(scaled))));
    const std::string text = StringPrintf("%.*f", decimals, scaled);
    const size_t point = text.find('.');
    return GroupThousands(text.substr(0, point)) + (point == std::string::npos ? "" : text.substr(point));
}

std::string Figure(double value, const DisplayUnit& unit, bool significant, bool money)
{
    if (significant)
        return ThreeFigures(value, unit);
    return money ? FormatAmount(value) : WholeNumber(value);
}

std::string UnitHeading(const char* name, const std::string& symbol, const DisplayUnit& unit, bool units)
{
    std::string inside = symbol;
    if (units && !unit.word.empty())
        inside += (inside.empty() ? "" : " ") + unit.word;
    return inside.empty() ? std::string(name) : std::string(name) + " (" + inside + ")";
}

std::string ClockText(uint32_t t) { return StringPrintf("%02u:%02u:%02u", t / 3600 % 24, t / 60 % 60, t % 60); }

} // namespace

DisplayUnit CommonDisplayUnit(std::span<const double> figures)
{
    DisplayUnit unit;
    double smallest = 0;
    for (double figure : figures) {
        if (!(figure > 0))
            continue;
        int exponent = 0;
        const double scale = FindMagnitude(figure, exponent);
        const double scaled = figure / scale;
        if (smallest == 0 || scaled < smallest) {
            smallest = scaled;
            unit = DisplayUnit{scale, std::string(GetMagnitudeWord(exponent))};
        }
    }
    return unit;
}

std::string PercentOfTotal(double part, double total)
{
    if (!(total > 0))
        return {};
    return StringPrintf("(%u%%)", unsigned(part * 100 / total));
}

uint32_t ShiftedTradeTime(uint32_t time, int32_t offset)
{
    if (offset < 0 && uint32_t(-offset) > time)
        return time;
    return uint32_t(int64_t(time) + offset);
}

TradeSummaryTable FormatTradeSummary(const TradeTotals& totals, const TradeSummaryContext& context, uint32_t options)
{
    TradeSummaryTable table;
    table.caption = context.shareName.empty() ? std::string(kTradeSummaryCaption)
                                              : context.shareName + " - " + kTradeSummaryCaption;
    const bool trades = totals.share != 0 && totals.count[0] > 0;
    if (!trades)
        table.message = context.newsView && totals.share == 0 ? "No company selected" : "No trade data available";
    const uint32_t time = trades ? ShiftedTradeTime(totals.latestTime, context.zoneOffset) : context.referenceTime;
    table.timeLine = totals.day ? ClockText(time) + " " + context.zoneName : ClockText(time) + "    ";
    if (totals.day)
        table.dateLine = FormatFullDate(totals.day);
    if (!trades)
        return table;

    const bool significant = options & kSummarySignificant;
    const bool percentages = options & kSummaryPercentages;
    const DisplayUnit none;
    const DisplayUnit volumeUnit = significant ? CommonDisplayUnit(totals.volume) : none;
    const DisplayUnit valueUnit = significant ? CommonDisplayUnit(totals.value) : none;
    table.headings = {"Count", UnitHeading("Volume", "", volumeUnit, significant),
                      UnitHeading("Value", context.currencySymbol, valueUnit, significant)};
    for (size_t row = 0; row < 4; ++row) {
        table.cells[row] = {WholeNumber(totals.count[row]), Figure(totals.volume[row], volumeUnit, significant, false),
                            Figure(totals.value[row], valueUnit, significant, true)};
        if (row == 0 || !percentages)
            continue;
        table.percents[row] = {PercentOfTotal(totals.count[row], totals.count[0]),
                               PercentOfTotal(totals.volume[row], totals.volume[0]),
                               PercentOfTotal(totals.value[row], totals.value[0])};
    }
    return table;
}

} // namespace qv
