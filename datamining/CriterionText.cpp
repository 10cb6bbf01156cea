// The words for criteria and period words.
#include "datamining/CriterionText.h"

#include "core/DateText.h"
#include "core/StringPrintf.h"
#include "datamining/CriterionKinds.h"

#include <array>
#include <cstdlib>

namespace qv {
namespace {

constexpr std::array<const char*, 6> kShortUnits = {"", "d", "wk", "m", "yr", "td"};
constexpr std::array<const char*, 6> kLongUnits = {"", "day", "week", "month", "year", "trading day"};

constexpr std::array<const char*, 11> kHeadlineYearsLong = {
    "7 Years ago", "6 Years ago", "5 Years ago", "4 Years ago", "3 Years ago", "2 Years ago",
    "1 Year ago",  "Latest",      "1 Year forecast", "2 Year forecast", "3 Year forecast"};
constexpr std::array<const char*, 11> kHeadlineYearsShort = {"7yr ago", "6yr ago", "5yr ago",  "4yr ago",
                                                             "3yr ago", "2yr ago", "1yr ago",  "Latest",
                                                             "1yr for.", "2yr for.", "3yr for."};
constexpr std::array<const char*, 6> kHeadlineChangesLong = {"Result",           "1 year % change",
                                                             "2 years % change", "3 years % change",
                                                             "4 years % change", "5 years % change"};
constexpr std::array<const char*, 6> kHeadlineChangesShort = {"Result",      "1yr %change", "2yr %change",
                                                              "3yr %change", "4yr %change", "5yr %change"};
constexpr std::array<const char*, 5> kAdvancedYearsLong = {"4 Years ago", "3 Years ago", "2 Years ago",
                                                           "1 Years ago", "Latest"};
constexpr std::array<const char*, 5> kAdvancedYearsShort = {"4yr ago", "3yr ago", "2yr ago", "1yr ago", ""};
constexpr std::array<const char*, 5> kAdvancedChangesLong = {"Result", "1 year % change", "2 year % change",
                                                             "3 year % change", "4 year % change"};
constexpr std::array<const char*, 5> kAdvancedChangesShort = {"", "1yr %chg", "2yr %chg", "3yr %chg", "4yr %chg"};

constexpr std::array<const char*, 9> kAverageLong = {
    "%s M.A. for %s",          "%s M.A. +/- since %s",    "%s M.A %% +/- change since", "%s M.A. change between",
    "%s M.A %% change between", "%s M.A. - price for %s",  "%s M.A. - Price (%%) for %s", "%s M.A. - %s day M.A. for %s",
    "%s M.A. - %s day M.A. (%%) for %s"};
constexpr std::array<const char*, 9> kAverageShort = {"M.A. %s",        "M.A. +/- %s",   "M.A %% +/- %s",
                                                      "M.A. between",   "M.A %% between", "M.A.-price %s",
                                                      "M.A.-Price(%%) %s", "M.A.-M.A. %s", "M.A.-M.A.(%%) %s"};
constexpr std::array<const char*, 8> kPriceLong = {"%s(p)", "%s (p)", "%s", "%s %s", "+/- %s %s (p)", "+/- %s %s",
                                                   "%s %s & %s", "%s %s & %s"};
constexpr std::array<const char*, 8> kPriceShort = {"%s", "%s", "%s", "%s %s", "%s %s", "%s %s", "%s", "%s"};
constexpr std::array<const char*, 6> kHighLow = {"%sPrice high%s",        "Days since %shigh%s",
                                                 "%% Fall since %shigh%s", "%sPrice low%s",
                                                 "Days since %slow%s",    "%% Rise since %slow%s"};

template <size_t N>
const char* Pick(const std::array<const char*, N>& table, uint32_t index)
{
    return index < N ? table[index] : "";
}

std::string Period(uint32_t word, bool longForm)
{
    return FormatPeriodWord(int32_t(word & 0xFFFF), word >> 16, longForm);
}

// Formats with up to three texts; placeholders beyond those a format holds are not printed.
std::string Words(const char* format, const std::string& a, const std::string& b = {}, const std::string& c = {})
{
    return StringPrintf(format, a.c_str(), b.c_str(), c.c_str());
}

std::string AverageText(const DMCriterion& c, bool longForm)
{
    const std::string first = Period(c.firstDate, longForm);
    const std::string second = Period(c.secondDate, longForm);
    const bool twoDates = c.parameter == 3 || c.parameter == 4;
    if (!longForm)
        return Words(Pick(kAverageShort, c.parameter), first, twoDates ? second : std::string());
    const uint32_t type = c.setting & 0x0F;
    const char* word = type == 2 ? "Exp." : type == 3 ? "Weight." : type == 4 ? "Tri." : type == 5 ? "Var." : "Simp.";
    const std::string prefix = StringPrintf("%s%d day ", word, int((c.setting >> 4) & 0x3FFF));
    if (c.parameter == 7 || c.parameter == 8)
        return Words(Pick(kAverageLong, c.parameter), prefix, std::to_string((c.setting >> 18) & 0x3FFF), first);
    return Words(Pick(kAverageLong, c.parameter), prefix, first, second);
}

std::string HighLowText(const DMCriterion& c, int index)
{
    std::string prefix, suffix;
    if (c.setting == 1) {
        const uint32_t unit = c.firstDate >> 16;
        const uint32_t count = c.firstDate & 0xFFFF;
        if (unit == 2)
            prefix = StringPrintf("%d d ", int(count));
        else if (unit == 1)
            prefix = StringPrintf("%d td ", int(count));
        else if (unit == 0)
            suffix = " (all hist)";
        else if (unit == 3)
            suffix = " (1st Jan)";
        else
            suffix = " (" + FormatDate(PackedDate(count)) + ")";
    }
    return Words(kHighLow[size_t(index)], prefix, suffix);
}

std::string PriceText(const DMCriterion& c, const char* name, bool longForm)
{
    if (c.parameter >= 8 && c.parameter < 14)
        return HighLowText(c, c.parameter - 8);
    const int dates = c.parameter < kPriceDatesUsed.size() ? kPriceDatesUsed[c.parameter] : 0;
    const std::string first = dates >= 1 ? Period(c.firstDate, longForm) : std::string();
    const std::string second = dates == 2 ? Period(c.secondDate, longForm) : std::string();
    return Words(longForm ? Pick(kPriceLong, c.parameter) : Pick(kPriceShort, c.parameter), name, first, second);
}

} // namespace

std::string FormatPeriodWord(int32_t value, uint32_t unit, bool longForm)
{
    const int n = std::abs(value);
    if (unit == 0)
        return StringPrintf("%s", FormatDate(PackedDate(n)).c_str());
    if (!longForm)
        return StringPrintf("%d%s ago", n, Pick(kShortUnits, unit));
    return StringPrintf(n == 1 ? "%d %s ago" : "%d %ss ago", n, Pick(kLongUnits, unit));
}

std::string DescribeCriterion(const DMCriterion& c, bool longForm)
{
    const CriterionKind* kind = CriterionKindOf(c.kind);
    if (!kind)
        return {};
    const char* name = c.parameter < kind->parameterCount ? kind->parameterNames[c.parameter] : "";
    switch (kind->valueClass) {
    case kValueColumn:
        if (kind->parameterCount < 2)
            return kind->name;
        return StringPrintf("%s (%s)", kind->name, name);
    case kValueHeadline:
        return StringPrintf("%s %s %s",
                            longForm ? Pick(kHeadlineYearsLong, c.secondSetting) : Pick(kHeadlineYearsShort, c.secondSetting),
                            name, longForm ? Pick(kHeadlineChangesLong, c.setting) : Pick(kHeadlineChangesShort, c.setting));
    case kValueAdvanced: {
        const int item = ShownAdvancedItem(c.parameter & 0x1F);
        const auto items = AdvancedResultItems();
        const char* variant = item < int(items.size()) ? items[size_t(item)].variants[c.parameter >> 5] : "";
        return StringPrintf("%s %s %s",
                            longForm ? Pick(kAdvancedYearsLong, c.secondSetting) : Pick(kAdvancedYearsShort, c.secondSetting),
                            variant, longForm ? Pick(kAdvancedChangesLong, c.setting) : Pick(kAdvancedChangesShort, c.setting));
    }
    case kValueMovingAverage: return AverageText(c, longForm);
    case kValuePrice: return PriceText(c, name, longForm);
    default: return {};
    }
}

std::span<const char* const> HeadlineYearWords() { return kHeadlineYearsLong; }
std::span<const char* const> HeadlineChangeWords() { return kHeadlineChangesLong; }
std::span<const char* const> AdvancedYearWords() { return kAdvancedYearsLong; }
std::span<const char* const> AdvancedChangeWords() { return kAdvancedChangesLong; }

} // namespace qv
