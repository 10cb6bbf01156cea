// Column headings by column kind.
#include "lists/ColumnHeading.h"

#include "core/ColumnDef.h"
#include "core/PackedDate.h"
#include "core/ShareList.h"
#include "core/StringPrintf.h"
#include "lists/FieldTable.h"
#include "lists/ResultsFigures.h"
#include "platform/ByteOrder.h"

#include <array>
#include <cstdlib>

namespace qv {
namespace {

constexpr size_t kMostIntradayHeading = 50;
constexpr uint8_t kPercentBit = 0x80;
constexpr uint8_t kUnitBits = 7;
constexpr int kTradingDayUnit = 5;

std::string (*g_intradayHeading)(const unsigned char*) = nullptr;

std::string Cut(std::string text, size_t most)
{
    if (text.size() > most)
        text.resize(most);
    return text;
}

std::string ShortDate(PackedDate d)
{
    return StringPrintf("%i/%i/%02i", DayOfMonth(d), MonthOfYear(d), TwoDigitYear(d));
}

const char* UnitName(int unit)
{
    static constexpr std::array<const char*, 5> kUnits = {"day", "week", "month", "year", "trading day"};
    return unit >= 1 && unit <= 5 ? kUnits[size_t(unit - 1)] : "";
}

const char* Plural(int count) { return count >= 2 ? "s" : ""; }

std::string FieldHeading(const ShareList* list, int code)
{
    switch (code) {
    case 0: return "No.";
    case 46: return "Correlation";
    case 92: return "Exchange";
    case 93: return "Extra Info.";
    default: break;
    }
    int family = list ? list->family : kFamilyShares;
    bool shareTable = family == kFamilyShares || family == kFamilyTicker;
    if (code >= 96)
        return Cut(DatabaseItemName(code), kMostHeadingName);
    if (code == 2 && shareTable)
        return Cut(DatabaseItemName(130), kMostHeadingName);
    return Cut(FamilyFieldName(family, code), kMostHeadingName);
}

std::string ResultsHeading(const uint8_t* def)
{
    int item = ColumnDefCode(def);
    int year = ColumnDefYear(def);
    int n = (item >> 4) & 15;
    const char* name = ResultsFigureItemName(item);
    std::string itemText = n == 0 ? std::string(name)
                           : n == 1 ? StringPrintf("%s %s", name, "Growth %")
                                    : StringPrintf("%s %i %s", name, n, "year's Growth%");
    const char* interim = (item & kResultsInterimBit) ? " interim" : "";
    if (year == 0)
        return StringPrintf("%s%s %s", "Most recent", interim, itemText.c_str());
    int years = std::abs(year);
    return StringPrintf("%i %s %s%s %s", years, years == 1 ? "year" : "years", year < 0 ? "ago" : "forecast",
                        interim, itemText.c_str());
}

std::string ResultsChangeHeading(const uint8_t* def)
{
    const char* name = ResultsItemName(ColumnDefCode(def));
    int yearByte = def[ColumnDefLayout::Option];
    int back = yearByte & 15;
    int span = (yearByte >> 4) & 15;
    std::string year = back == 0 ? "Most recent" : StringPrintf("%d year%s ago", back, Plural(back));
    if (span == 0)
        return StringPrintf("%s %s", year.c_str(), name);
    if (span == 1)
        return StringPrintf("%s %s %s", year.c_str(), name, "Growth %");
    return StringPrintf("%s %s %d year's Growth%%", year.c_str(), name, span);
}

// "12 days" style text of a date parameter: unit bits and count word at the given offsets.
struct DateParameter {
    int unit;
    int count;
};
DateParameter DateAt(const uint8_t* def, size_t unitAt, size_t countAt)
{
    if (def[0] < countAt + 2)
        return {0, 0};
    return {def[unitAt] & kUnitBits, LoadU16(def + countAt)};
}

std::string PriceOnDateHeading(const uint8_t* def, int code)
{
    using namespace ColumnDefLayout;
    const char* what = code == 87 ? "Volume" : "Price";
    const char* percent = def[0] > FirstUnit && (def[FirstUnit] & kPercentBit) ? "%" : "";
    DateParameter first = DateAt(def, FirstUnit, FirstCount);
    if (first.unit == 0)
        return StringPrintf("%s%s %s", what, percent, ShortDate(PackedDate(first.count)).c_str());
    return StringPrintf("%s%s %i %s%s ago", what, percent, first.count, UnitName(first.unit), Plural(first.count));
}

std::string BetweenDatesHeading(const uint8_t* def)
{
    using namespace ColumnDefLayout;
    const char* percent = def[0] > FirstUnit && (def[FirstUnit] & kPercentBit) ? "%" : "";
    DateParameter first = DateAt(def, FirstUnit, FirstCount);
    DateParameter second = DateAt(def, SecondUnit, SecondCount);
    std::string from = first.unit == 0
                           ? StringPrintf("Price%s between %s", percent, ShortDate(PackedDate(first.count)).c_str())
                           : StringPrintf("Price%s between %i %s%s", percent, first.count, UnitName(first.unit),
                                          Plural(first.count));
    std::string to = second.unit == 0 ? StringPrintf(" %s", ShortDate(PackedDate(second.count)).c_str())
                                      : StringPrintf("%i %s%s", second.count, UnitName(second.unit),
                                                     Plural(second.count)) + " ago";
    return StringPrintf("%s and %s", from.c_str(), to.c_str());
}

std::string HighLowHeading(const uint8_t* def)
{
    using namespace ColumnDefLayout;
    DateParameter period = DateAt(def, FirstUnit, FirstCount);
    int periodKind = def[0] > FirstUnit ? def[FirstUnit] : 0;
    int subKind = def[SubKind] & 7;
    const char* extreme = subKind % 2 == 0 ? "High" : "Low";
    std::string periodText;
    bool before = false;
    switch (periodKind) {
    case 1:
        periodText = StringPrintf("%d trading day", period.count);
        before = true;
        break;
    case 2:
        periodText = StringPrintf("%d day", period.count);
        before = true;
        break;
    case 3: periodText = "(since 1st Jan)"; break;
    case 4: periodText = StringPrintf("(since %s)", ShortDate(PackedDate(period.count)).c_str()); break;
    default: periodText = "(all history)"; break;
    }
    std::string measured = before ? StringPrintf("%s %s", periodText.c_str(), extreme)
                                  : StringPrintf("%s %s", extreme, periodText.c_str());
    switch (subKind / 2) {
    case 0: return measured;
    case 1: return "Date of " + measured;
    case 2: return "Days since " + measured;
    default: return StringPrintf("%s from %s", subKind == 6 ? "Fall%" : "Inc.%", measured.c_str());
    }
}

std::string PriceHistoryHeading(const uint8_t* def)
{
    int code = ColumnDefCode(def);
    switch (code) {
    case 88: return StringPrintf("%i day Volume Average", DateAt(def, ColumnDefLayout::FirstUnit,
                                                                 ColumnDefLayout::FirstCount).count);
    case 30: case 31: case 87: return PriceOnDateHeading(def, code);
    case 56: case 57: return BetweenDatesHeading(def);
    case 94: return HighLowHeading(def);
    default: return "";
    }
}

std::string PartnerViewHeading(int code)
{
    static constexpr std::array<const char*, 5> kNames = {"VG View", "VG View Date", "VG View Price",
                                                          "VG View Vol:Issue", "VG View Page"};
    return code < 5 ? kNames[size_t(code)] : "undefined";
}

int FamilyOfKind(uint8_t kind)
{
    switch (kind) {
    case kColumnHolding: return kFamilyTransactions;
    case kColumnCash: return kFamilyCash;
    case kColumnDealing: return kFamilyDealings;
    case kColumnNews: return kFamilyNews;
    default: return kFamilyTrades;
    }
}

} // namespace

void SetIntradayHeadingSource(std::string (*heading)(const unsigned char* column)) { g_intradayHeading = heading; }

std::string GetColumnHeading(const ShareList* list, const unsigned char* column, bool plain)
{
    if (!column || column[0] < kColumnDefBytes)
        return "";
    if (!plain) {
        if (const char* own = ColumnDefOwnTitle(column))
            return own;
    }
    uint8_t kind = ColumnDefKind(column);
    switch (kind) {
    case kColumnFormula: {
        const char* title = ColumnDefFormulaTitle(column);
        return title ? title : "";
    }
    case kColumnField: return FieldHeading(list, ColumnDefCode(column));
    case kColumnNote: return StringPrintf("Note %i", column[ColumnDefLayout::FormatA]);
    case kColumnResults: return ResultsHeading(column);
    case kColumnResultsChange: return ResultsChangeHeading(column);
    case kColumnPartnerView: return PartnerViewHeading(ColumnDefCode(column));
    case kColumnPriceHistory: return PriceHistoryHeading(column);
    case kColumnHolding: case kColumnCash: case kColumnDealing: case kColumnNews: case kColumnTrade:
        return Cut(FamilyFieldName(FamilyOfKind(kind), ColumnDefCode(column)), kMostHeadingName);
    case kColumnIntraday: return g_intradayHeading ? Cut(g_intradayHeading(column), kMostIntradayHeading) : "";
    default: return "";
    }
}

} // namespace qv
