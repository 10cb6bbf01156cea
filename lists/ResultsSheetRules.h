// The results sheet's choices and rules: the headline page (year, period, figure, type) with what it
// hands to the list view, and the advanced page (year, item, option, type) with its option labels
// and descriptions.
#pragma once

#include <cstdint>
#include <span>
#include <string_view>

namespace qv {

inline constexpr int kBasicYears = 12;        // 0 "8 years ago" .. 8 "Most recent" .. 11 "3 year forecast"
inline constexpr int kBasicMostRecent = 8;
inline constexpr int kBasicTypes = 8;         // 0 result, 1-6 % change over n years, 7 date
inline constexpr int kBasicDateType = 7;
enum BasicPeriod : int { kYearEnd = 0, kInterim = 1, kFinal = 2 };
enum BasicFigure : int { kProfits = 0, kEps = 1, kDividend = 2, kTurnover = 3 };

struct BasicResultChoice {
    int year = kBasicMostRecent;
    int period = kYearEnd;
    int figure = kProfits;
    int type = 0;
    bool operator==(const BasicResultChoice&) const = default;
};

// What the list view is handed: year offset -8..3, result code, type.
struct BasicHandOver {
    int yearOffset = 0;
    int resultCode = 0;
    int type = 0;
    bool operator==(const BasicHandOver&) const = default;
};

bool BasicInterimAllowed(const BasicResultChoice& c);
bool BasicFinalAllowed(const BasicResultChoice& c);
bool BasicTypeAllowed(const BasicResultChoice& c, int type);
// Applies the page's rules after a click: disabled periods fall back to "Year end", a type not allowed
// for the year to the largest allowed change.
BasicResultChoice ApplyBasicRules(BasicResultChoice c);
BasicHandOver BasicToHandOver(const BasicResultChoice& c);
BasicResultChoice BasicFromHandOver(const BasicHandOver& h);
// The bold line: " Interim dividend", " FRS3 pre-tax profits", ...
std::string_view BasicDescriptionPeriod(int period);
std::string_view BasicFigureDescription(int figure);

inline constexpr int kAdvancedYears = 5;      // 0 "4 years ago" .. 4 "Most recent"
inline constexpr int kAdvancedMostRecent = 4;
inline constexpr int kAdvancedItems = 28;
inline constexpr int kAdvancedTypes = 5;
inline constexpr int kAdvancedDateItem = 13;
inline constexpr int kMaxResultOptions = 5;

struct AdvancedResultChoice {
    int year = kAdvancedMostRecent;
    int item = 0;
    int option = 0;
    int type = 0;
    bool operator==(const AdvancedResultChoice&) const = default;
};

std::span<const std::string_view> BasicYearNames();
std::span<const std::string_view> BasicPeriodNames();
std::span<const std::string_view> BasicFigureNames();
std::span<const std::string_view> BasicTypeNames();
std::span<const std::string_view> AdvancedYearNames();
std::span<const std::string_view> AdvancedItemNames();
std::span<const std::string_view> AdvancedTypeNames();
// The labels of an item's options (none for items without options).
std::span<const std::string_view> AdvancedOptionLabels(int item);
// The description of an (item, option) pair; empty when it has none.
std::string_view AdvancedDescription(int item, int option);

bool AdvancedIsPriceRatio(const AdvancedResultChoice& c);
bool AdvancedYearAllowed(const AdvancedResultChoice& c, int year);
bool AdvancedTypeAllowed(const AdvancedResultChoice& c, int type);
AdvancedResultChoice ApplyAdvancedRules(AdvancedResultChoice c);

// The column a page's choice stands for. Headline page: a results column (kind 2) of field code
// (item group << 4) | item, where the group is the type and the item the result code, with the year
// offset as its year byte. Advanced page (`change`): a results-change column (kind 0x84) of item code
// item + 32 x option (each variant of an item sits 32 codes on) whose year byte holds the years back
// in its low nibble and the growth span in its high nibble.
struct ResultsChoice {
    int itemGroup = 0;
    int item = 0;
    int8_t year = 0;
    bool change = false;
    bool operator==(const ResultsChoice&) const = default;
};
ResultsChoice ResultsChoiceOfBasic(const BasicResultChoice& c);
ResultsChoice ResultsChoiceOfAdvanced(const AdvancedResultChoice& c);
// The pages filled back from an existing column's field code and year byte.
BasicResultChoice BasicOfResultsColumn(int fieldCode, int8_t year);
AdvancedResultChoice AdvancedOfResultsColumn(int itemCode, uint8_t yearByte);

// "Add Now" stays enabled while the table has fewer than 120 columns.
bool AddNowAllowed(int columnCount);

} // namespace qv
