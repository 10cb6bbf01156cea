// The results sheet's tables and rules.
#include "lists/ResultsSheetRules.h"

#include "core/ColumnDef.h"

#include <algorithm>
#include <array>

namespace qv {

namespace {

constexpr std::string_view kBasicYearNames[kBasicYears] = {
    "8 years ago", "7 years ago", "6 years ago", "5 years ago", "4 years ago", "3 years ago",
    "2 years ago", "1 year ago", "Most recent", "1 year forecast", "2 year forecast", "3 year forecast"};
constexpr std::string_view kBasicPeriodNames[] = {"Year end", "Interim", "Final"};
constexpr std::string_view kBasicFigureNames[] = {"Profits", "EPS", "Dividend", "Turnover"};
constexpr std::string_view kBasicTypeNames[kBasicTypes] = {
    "Result", "% change over previous year", "% change over previous 2 years",
    "% change over previous 3 years", "% change over previous 4 years", "% change over previous 5 years",
    "% change over previous 6 years", "Date"};
constexpr std::string_view kBasicFigureDescriptions[] = {"FRS3 pre-tax profits", "normalised EPS", "dividend",
                                                         "turnover"};

constexpr std::string_view kAdvancedYearNames[kAdvancedYears] = {"4 years ago", "3 years ago", "2 years ago",
                                                                 "1 year ago", "Most recent"};
constexpr std::string_view kAdvancedItemNames[kAdvancedItems] = {
    "Norm. pre-tax", "FRS3 pre-tax", "FRS3 post-tax", "Turnover", "Dividend", "Tax", "Book value",
    "Tang. book value", "Cash", "Cash flow", "Capex", "R && D", "Depreciation", "Date", "ROCE", "ROE",
    "Quick ratio", "Current ratio", "Operating margin", "Interest cover", "Interest paid", "Net borrowing",
    "Net current assets", "Net gearing", "Cash %", "Gross gearing", "Gross gear. < 5yrs", "Gross gear. < 1yr"};
constexpr std::string_view kAdvancedTypeNames[kAdvancedTypes] = {
    "Result", "% change over previous year", "% change over previous 2 years", "% change over previous 3 years",
    "% change over previous 4 years"};

struct ItemOptions {
    int count = 0;
    std::array<std::string_view, kMaxResultOptions> labels{};
    std::array<std::string_view, kMaxResultOptions> descriptions{};
};

constexpr std::string_view kIntangibles[2] = {"Including intangibles", "Excluding intangibles"};

// Labels and descriptions per item; items without options have one description for option 0.
constexpr std::array<ItemOptions, kAdvancedItems> kItems = {{
    {2, {"Norm. pre-tax profits", "Norm. pre-tax per share - EPS"},
     {"Normalised pre-tax profits (excludes non-trading, exceptional and extraordinary items)",
      "Normalised pre-tax profits per share (normalised EPS)"}},
    {2, {"FRS3 pre-tax profits", "FRS3 pre-tax per share - EPS"},
     {"FRS3 pre-tax profits (includes exceptional items)", "FRS3 pre-tax profits per share"}},
    {2, {"FRS3 post-tax profits", "FRS3 post-tax per share"},
     {"FRS3 profits after tax", "FRS3 profits after tax per share (FRS3 EPS)"}},
    {3, {"Turnover", "Turnover per share", "Price to turnover"},
     {"Turnover (sales)", "Turnover per share", "Price to turnover or price to sales ratio (PSR)"}},
    {4, {"Total dividend", "Interim dividend", "Final dividend", "Dividend yield (year end)"},
     {"Total dividend for the year", "Interim dividend", "Final dividend",
      "Dividend yield (calculated using price at year end)"}},
    {0, {}, {"Tax paid"}},
    {3, {"Book value (NAV)", "Book value per share (NAV ps)", "Price to book value"},
     {"Book value: net asset value (NAV)", "Book value per share: net asset value per share (NAV ps)",
      "Price to book value: price / net asset value per share"}},
    {3, {"Tangible book value", "Tang. book value per share", "Price to tang. book value"},
     {"Tangible book value: net asset value less intangibles", "Tangible book value per share",
      "Price to tangible book value per share"}},
    {3, {"Net cash", "Net cash per share", "Price to net cash"},
     {"Net cash: cash less borrowings", "Net cash per share", "Price to net cash per share"}},
    {3, {"Cash flow", "Cash flow per share", "Price to cash flow"},
     {"Cash flow from operating activities", "Cash flow per share", "Price to cash flow per share"}},
    {3, {"Capex (capital expenditure)", "Capex per share", "Price to capex"},
     {"Capital expenditure", "Capital expenditure per share", "Price to capital expenditure per share"}},
    {3, {"R && D", "R && D per share", "Price to R && D"},
     {"Research and development spending", "Research and development spending per share",
      "Price to research and development spending per share"}},
    {0, {}, {"Depreciation"}},
    {2, {"Year end", "Interim date"}, {"Year-end date", "Date of the interim results"}},
    {0, {}, {"Return on capital employed (ROCE)"}},
    {0, {}, {"Return on equity (ROE)"}},
    {0, {}, {"Quick ratio: current assets less stocks, divided by current liabilities"}},
    {0, {}, {"Current ratio: current assets divided by current liabilities"}},
    {0, {}, {"Operating margin: operating profit as a % of turnover"}},
    {0, {}, {"Interest cover: profit before interest divided by interest paid"}},
    {0, {}, {"Interest paid"}},
    {0, {}, {"Net borrowing: borrowings less cash"}},
    {0, {}, {"Net current assets: current assets less current liabilities"}},
    {2, {kIntangibles[0], kIntangibles[1]},
     {"Net gearing: borrowings less cash as a % of shareholders' funds (including intangibles)",
      "Net gearing: borrowings less cash as a % of shareholders' funds (excluding intangibles)"}},
    {0, {}, {"Cash as a % of market capitalisation"}},
    {2, {kIntangibles[0], kIntangibles[1]},
     {"Gross gearing: all borrowings as a % of shareholders' funds (including intangibles)",
      "Gross gearing: all borrowings as a % of shareholders' funds (excluding intangibles)"}},
    {2, {kIntangibles[0], kIntangibles[1]},
     {"Gross gearing of borrowings due within 5 years (including intangibles)",
      "Gross gearing of borrowings due within 5 years (excluding intangibles)"}},
    {2, {kIntangibles[0], kIntangibles[1]},
     {"Gross gearing of borrowings due within 1 year (including intangibles)",
      "Gross gearing of borrowings due within 1 year (excluding intangibles)"}},
}};

constexpr int kResultProfits = 1;
constexpr int kResultFinalDividend = 6;
constexpr int kResultInterimBit = 8;

bool IsForecastYear(int year) { return year > kBasicMostRecent; }

} // namespace

std::span<const std::string_view> BasicYearNames() { return kBasicYearNames; }
std::span<const std::string_view> BasicPeriodNames() { return kBasicPeriodNames; }
std::span<const std::string_view> BasicFigureNames() { return kBasicFigureNames; }
std::span<const std::string_view> BasicTypeNames() { return kBasicTypeNames; }
std::span<const std::string_view> AdvancedYearNames() { return kAdvancedYearNames; }
std::span<const std::string_view> AdvancedItemNames() { return kAdvancedItemNames; }
std::span<const std::string_view> AdvancedTypeNames() { return kAdvancedTypeNames; }

bool BasicInterimAllowed(const BasicResultChoice& c) { return !IsForecastYear(c.year); }

bool BasicFinalAllowed(const BasicResultChoice& c) { return !IsForecastYear(c.year) && c.figure == kDividend; }

bool BasicTypeAllowed(const BasicResultChoice& c, int type)
{
    if (type == 0 || type == kBasicDateType)
        return true;
    return type > 0 && type < kBasicDateType && c.year >= type;
}

BasicResultChoice ApplyBasicRules(BasicResultChoice c)
{
    c.year = std::clamp(c.year, 0, kBasicYears - 1);
    c.figure = std::clamp(c.figure, 0, 3);
    if ((c.period == kInterim && !BasicInterimAllowed(c)) || (c.period == kFinal && !BasicFinalAllowed(c)) ||
        c.period < 0 || c.period > kFinal)
        c.period = kYearEnd;
    if (c.type < 0 || c.type >= kBasicTypes)
        c.type = 0;
    if (!BasicTypeAllowed(c, c.type))
        c.type = std::min(c.year, kBasicDateType - 1);
    return c;
}

BasicHandOver BasicToHandOver(const BasicResultChoice& c)
{
    BasicHandOver h;
    h.yearOffset = c.year - kBasicMostRecent;
    const int interim = c.period == kInterim ? kResultInterimBit : 0;
    if (c.type == kBasicDateType) {
        h.resultCode = interim;
        h.type = 0;
        return h;
    }
    h.resultCode = c.period == kFinal ? kResultFinalDividend : (kResultProfits + c.figure) | interim;
    h.type = c.type;
    return h;
}

BasicResultChoice BasicFromHandOver(const BasicHandOver& h)
{
    BasicResultChoice c;
    c.year = std::clamp(h.yearOffset + kBasicMostRecent, 0, kBasicYears - 1);
    const int code = h.resultCode & 7;
    c.period = (h.resultCode & kResultInterimBit) ? kInterim : kYearEnd;
    if (code == 0) {
        c.type = kBasicDateType;
        return ApplyBasicRules(c);
    }
    if (code == kResultFinalDividend) {
        c.figure = kDividend;
        c.period = kFinal;
    } else {
        c.figure = std::clamp(code - kResultProfits, 0, 3);
    }
    c.type = h.type;
    return ApplyBasicRules(c);
}

std::string_view BasicDescriptionPeriod(int period)
{
    if (period == kInterim)
        return "Interim ";
    if (period == kFinal)
        return "Final ";
    return "";
}

std::string_view BasicFigureDescription(int figure)
{
    return figure >= 0 && figure < 4 ? kBasicFigureDescriptions[figure] : std::string_view{};
}

std::span<const std::string_view> AdvancedOptionLabels(int item)
{
    if (item < 0 || item >= kAdvancedItems)
        return {};
    const ItemOptions& o = kItems[size_t(item)];
    return std::span<const std::string_view>(o.labels.data(), size_t(o.count));
}

std::string_view AdvancedDescription(int item, int option)
{
    if (item < 0 || item >= kAdvancedItems || option < 0 || option >= kMaxResultOptions)
        return {};
    return kItems[size_t(item)].descriptions[size_t(option)];
}

bool AdvancedIsPriceRatio(const AdvancedResultChoice& c)
{
    return c.option == 2 && (c.item == 3 || (c.item >= 6 && c.item <= 11));
}

bool AdvancedYearAllowed(const AdvancedResultChoice& c, int year)
{
    return !AdvancedIsPriceRatio(c) || year == kAdvancedMostRecent;
}

bool AdvancedTypeAllowed(const AdvancedResultChoice& c, int type)
{
    if (type == 0)
        return true;
    if (AdvancedIsPriceRatio(c) || c.item == kAdvancedDateItem)
        return false;
    return type > 0 && type < kAdvancedTypes && c.year >= type;
}

AdvancedResultChoice ApplyAdvancedRules(AdvancedResultChoice c)
{
    c.item = std::clamp(c.item, 0, kAdvancedItems - 1);
    c.year = std::clamp(c.year, 0, kAdvancedYears - 1);
    const int count = kItems[size_t(c.item)].count;
    if (c.option < 0 || c.option >= std::max(count, 1))
        c.option = 0;
    if (!AdvancedYearAllowed(c, c.year))
        c.year = kAdvancedMostRecent;
    if (c.type < 0 || c.type >= kAdvancedTypes)
        c.type = 0;
    if (!AdvancedTypeAllowed(c, c.type))
        c.type = (AdvancedIsPriceRatio(c) || c.item == kAdvancedDateItem) ? 0 : std::min(c.year, kAdvancedTypes - 1);
    return c;
}

bool AddNowAllowed(int columnCount) { return columnCount < kMaxLayoutColumns; }

ResultsChoice ResultsChoiceOfBasic(const BasicResultChoice& c)
{
    const BasicHandOver h = BasicToHandOver(c);
    return ResultsChoice{h.type, h.resultCode, int8_t(h.yearOffset), false};
}

ResultsChoice ResultsChoiceOfAdvanced(const AdvancedResultChoice& c)
{
    const int back = kAdvancedMostRecent - c.year;
    return ResultsChoice{0, c.item + 32 * c.option, int8_t((c.type << 4) | back), true};
}

BasicResultChoice BasicOfResultsColumn(int fieldCode, int8_t year)
{
    return BasicFromHandOver(BasicHandOver{year, fieldCode & 15, (fieldCode >> 4) & 15});
}

AdvancedResultChoice AdvancedOfResultsColumn(int itemCode, uint8_t yearByte)
{
    AdvancedResultChoice c;
    c.item = std::clamp(itemCode % 32, 0, kAdvancedItems - 1);
    c.option = itemCode / 32;
    c.year = std::clamp(kAdvancedMostRecent - (yearByte & 15), 0, kAdvancedMostRecent);
    c.type = yearByte >> 4;
    return ApplyAdvancedRules(c);
}

} // namespace qv
