// The price list's title, heads and rows.
#include "tools/PriceListRows.h"

#include "core/DateText.h"
#include "core/Memory.h"
#include "core/PriceCorrections.h"
#include "core/PriceSubRecords.h"
#include "platform/ByteOrder.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <set>

namespace qv {
namespace {

// The edited days: the dates of the stream's correction records.
std::set<PackedDate> EditedDays(const RecordCursor& share)
{
    std::set<PackedDate> dates;
    CorrectionCursor corrections = GetCursorCorrections(&share);
    for (const uint8_t* p = corrections.next; p && corrections.end - p >= ptrdiff_t(kDayRecordSize);
         p += kDayRecordSize) {
        const PackedDate date = LoadU16(p + 28);
        if (date == 0)
            break;
        dates.insert(date);
    }
    return dates;
}

std::string Printf(const char* format, double value)
{
    char text[64];
    std::snprintf(text, sizeof text, format, value);
    return text;
}

// Appends the day's cells; false when the day is left out (a missing day not asked for).
bool DayCells(const DayRecord& day, float unitOne, const PriceListMode& mode, double& previousClose, std::string& row)
{
    if (day.modeMarks & kDayMarkC) {
        if (!mode.options.daysWithoutData && !mode.editedPrices)
            return false;
        row += "\tMissing";
        return true;
    }
    if (day.modeMarks & kDayMarkA) {
        row += "\tClosed";
        return true;
    }
    if (day.modeMarks & kDayMarkF) {
        row += "\tSuspended";
        return true;
    }
    const double factor = unitOne != 0 ? double(day.unit) / unitOne : 1.0;
    const double f = mode.options.adjustment ? 1.0 : factor;
    const double close = day.close / f;
    if (mode.showOhlc())
        for (float price : {day.open, day.high, day.low, day.close})
            row += Printf("\t%.2f", price / f);
    else
        row += Printf("\t%.2f", close);
    if (mode.options.percentChange && previousClose != 0) {
        row += close >= previousClose ? "\t+ " : "\t- ";
        row += Printf("%.1f%%  ", std::fabs(close / previousClose - 1) * 100);
    }
    previousClose = close;
    if (mode.showVolume())
        row += "\t" + FormatPriceListVolume(f * day.volume);
    if (mode.options.adjustment && std::fabs(factor - 1) > 0.0001)
        row += Printf("\t(%.3f)", factor);
    return true;
}

} // namespace

PriceListOptions& PriceListSettings()
{
    static PriceListOptions options;
    return options;
}

uint8_t PackPriceListOptions(const PriceListOptions& o)
{
    const bool bits[8] = {o.ohlc, o.volume, o.percentChange, o.adjustment, o.separatorLines, o.oldestFirst,
                          o.daysWithoutData, o.editedOnly};
    uint8_t packed = 0;
    for (int i = 0; i < 8; ++i)
        packed |= uint8_t(bits[i] ? 1 << i : 0);
    return packed;
}

PriceListOptions UnpackPriceListOptions(uint8_t b)
{
    PriceListOptions o;
    o.ohlc = b & 1;
    o.volume = b & 2;
    o.percentChange = b & 4;
    o.adjustment = b & 8;
    o.separatorLines = b & 16;
    o.oldestFirst = b & 32;
    o.daysWithoutData = b & 64;
    o.editedOnly = b & 128;
    return o;
}

PriceListRect& PriceListWindowRect()
{
    static PriceListRect rect;
    return rect;
}

std::string PriceListTitle(const std::string& name, const PriceListMode& mode)
{
    std::string title = (mode.editedPrices || mode.options.editedOnly) ? "Edited " : "";
    title += "Price List for " + name + " - ";
    title += mode.showOhlc() ? "OHLC, " : "Closing price, ";
    if (mode.options.percentChange)
        title += "price change, ";
    if (mode.showVolume())
        title += "Volume, ";
    if (mode.options.adjustment)
        title += "Adjusted, ";
    title.resize(title.size() - 2);
    return title;
}

std::vector<std::string> PriceListHeads(const PriceListMode& mode)
{
    std::vector<std::string> heads;
    if (mode.showOhlc())
        heads = {"Open", "High", "Low"};
    heads.push_back("Close");
    if (mode.options.percentChange)
        heads.push_back("Change");
    if (mode.showVolume())
        heads.push_back("Volume");
    if (mode.options.adjustment)
        heads.push_back("Adjustment");
    return heads;
}

std::string FormatPriceListVolume(double volume)
{
    std::string digits = Printf("%.0f", std::max(0.0, volume));
    if (digits.size() > 5) {
        const bool raise = digits[5] == '9';
        std::fill(digits.begin() + 5, digits.end(), '0');
        // The fifth digit goes up by one, carrying into the digits before it.
        for (size_t i = 5; raise && i-- > 0;) {
            if (digits[i] != '9') {
                ++digits[i];
                break;
            }
            digits[i] = '0';
            if (i == 0)
                digits.insert(digits.begin(), '1');
        }
    }
    std::string grouped;
    for (size_t i = 0; i < digits.size(); ++i) {
        if (i > 0 && (digits.size() - i) % 3 == 0)
            grouped += ',';
        grouped += digits[i];
    }
    return grouped;
}

std::vector<PriceListRow> BuildPriceListRows(const RecordCursor& share, const PriceListMode& mode)
{
    std::vector<PriceListRow> rows;
    RecordCursor cursor = share;
    DayRecord* days = nullptr;
    const int32_t count = share.record ? DecodePriceHistory(&cursor, &days, 0, false, true) : 0;
    const std::set<PackedDate> edited = EditedDays(share);
    const uint8_t* sub = cursor.record ? GetSubRecord(cursor, cursor.count) : nullptr;
    const float unitOne = sub ? StartingUnit(LoadI16(sub + kSubRecordScale)) : 1.0f;
    double previousClose = 0;
    for (int32_t i = 0; i < count && days[i].date; ++i) {
        const DayRecord& day = days[i];
        PriceListRow row;
        row.date = day.date;
        row.edited = edited.count(day.date) != 0;
        if (mode.onlyEdited() && !row.edited)
            continue;
        char date[48];
        std::snprintf(date, sizeof date, "%s%.*s\t%02i/%02i/%02i", row.edited ? "*" : "",
                      int(DayAbbreviation(WeekdayOf(day.date)).size()), DayAbbreviation(WeekdayOf(day.date)).data(),
                      DayOfMonth(day.date), MonthOfYear(day.date), TwoDigitYear(day.date));
        row.text = date;
        if (DayCells(day, unitOne, mode, previousClose, row.text))
            rows.push_back(std::move(row));
    }
    ProFree(days);
    if (!mode.options.oldestFirst)
        std::reverse(rows.begin(), rows.end());
    if (rows.empty())
        rows.push_back({mode.onlyEdited() ? "No edited prices" : "No prices", 0, false});
    return rows;
}

} // namespace qv
