// The results sheet: what each page hands over, and the rules that enable and reset its choices.
#include "lists/ResultsSheetRules.h"

#include <gtest/gtest.h>

using namespace qv;

TEST(ResultsSheetBasic, HandsOverYearCodeAndType)
{
    struct Case {
        BasicResultChoice choice;
        BasicHandOver handOver;
    } cases[] = {
        {{8, kFinal, kDividend, 0}, {0, 6, 0}},
        {{8, kYearEnd, kProfits, 0}, {0, 1, 0}},
        {{0, kInterim, kEps, 0}, {-8, 2 | 8, 0}},
        {{11, kYearEnd, kTurnover, 0}, {3, 4, 0}},
        {{5, kYearEnd, kProfits, kBasicDateType}, {-3, 0, 0}},
        {{5, kInterim, kProfits, kBasicDateType}, {-3, 8, 0}},
        {{7, kFinal, kDividend, 3}, {-1, 6, 3}},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(BasicToHandOver(c.choice), c.handOver) << c.choice.year << "/" << c.choice.figure;
        EXPECT_EQ(BasicFromHandOver(c.handOver), c.choice) << c.choice.year << "/" << c.choice.figure;
    }
}

TEST(ResultsSheetBasic, ForecastsAndEarlyYearsLimitTheChoices)
{
    // A forecast year takes away "Interim" and "Final".
    BasicResultChoice c{9, kInterim, kDividend, 0};
    EXPECT_FALSE(BasicInterimAllowed(c));
    EXPECT_FALSE(BasicFinalAllowed(c));
    EXPECT_EQ(ApplyBasicRules(c).period, kYearEnd);
    // "Final" only for dividends.
    EXPECT_EQ(ApplyBasicRules({8, kFinal, kEps, 0}).period, kYearEnd);
    // "8 years ago": only the result and the date.
    for (int type = 0; type < kBasicTypes; ++type)
        EXPECT_EQ(BasicTypeAllowed({0, 0, 0, 0}, type), type == 0 || type == kBasicDateType) << type;
    // A change too long for the year falls back to the longest allowed.
    EXPECT_EQ(ApplyBasicRules({3, 0, 0, 6}).type, 3);
    EXPECT_EQ(ApplyBasicRules({0, 0, 0, 4}).type, 0);
    EXPECT_EQ(ApplyBasicRules({11, 0, 0, 6}).type, 6);
}

TEST(ResultsSheetAdvanced, PriceRatiosAndDatesLimitYearAndType)
{
    // "Price to book value" with "2 years ago" moves to "Most recent" and the result.
    const AdvancedResultChoice ratio = ApplyAdvancedRules({2, 6, 2, 1});
    EXPECT_EQ(ratio.year, kAdvancedMostRecent);
    EXPECT_EQ(ratio.type, 0);
    // A date has no changes.
    EXPECT_EQ(ApplyAdvancedRules({4, kAdvancedDateItem, 1, 2}).type, 0);
    // An option beyond the item's count falls back to the first; items without options keep 0.
    EXPECT_EQ(ApplyAdvancedRules({4, 0, 3, 0}).option, 0);
    EXPECT_EQ(ApplyAdvancedRules({4, 5, 1, 0}).option, 0);
    // Change over n years needs the year n after "4 years ago".
    EXPECT_EQ(ApplyAdvancedRules({1, 14, 0, 4}).type, 1);
    EXPECT_TRUE(AdvancedTypeAllowed({4, 14, 0, 0}, 4));
}

TEST(ResultsSheetAdvanced, EveryOfferedPairHasADescription)
{
    for (int item = 0; item < kAdvancedItems; ++item) {
        const size_t count = AdvancedOptionLabels(item).size();
        for (size_t option = 0; option < std::max<size_t>(count, 1); ++option)
            EXPECT_FALSE(AdvancedDescription(item, int(option)).empty()) << item << "/" << option;
        EXPECT_TRUE(AdvancedDescription(item, kMaxResultOptions - 1).empty() || count == kMaxResultOptions);
    }
    EXPECT_EQ(AdvancedDescription(3, 2), "Price to turnover or price to sales ratio (PSR)");
    EXPECT_EQ(AdvancedDescription(13, 0), "Year-end date");
    EXPECT_EQ(AdvancedDescription(23, 1),
              "Net gearing: borrowings less cash as a % of shareholders' funds (excluding intangibles)");
    EXPECT_EQ(AdvancedOptionLabels(4).size(), 4u);
}

TEST(ResultsSheet, AddNowStopsAtTheColumnLimit)
{
    EXPECT_TRUE(AddNowAllowed(119));
    EXPECT_FALSE(AddNowAllowed(120));
}

// A sheet choice becomes a column, and the column fills the page back with the same choice; the
// advanced variants land on the item codes whose names they carry.
TEST(ResultsSheet, ChoicesBecomeColumnsAndComeBack)
{
    struct Case {
        AdvancedResultChoice choice;
        int code;
        uint8_t yearByte;
    } advanced[] = {
        {{kAdvancedMostRecent, 0, 0, 0}, 0, 0},
        {{kAdvancedMostRecent, 4, 1, 0}, 36, 0},     // "Interim dividend"
        {{kAdvancedMostRecent, 3, 2, 0}, 67, 0},     // "Price to turnover"
        {{kAdvancedMostRecent, 4, 3, 0}, 100, 0},    // "Dividend yield (yr end)"
        {{kAdvancedMostRecent, 13, 1, 0}, 45, 0},    // "Interim date"
        {{1, 23, 1, 1}, 55, 3 | 1 << 4},             // "Net gearing ex. (%)", 3 years back, 1 year's growth
    };
    for (const Case& c : advanced) {
        SCOPED_TRACE(c.code);
        const ResultsChoice column = ResultsChoiceOfAdvanced(c.choice);
        EXPECT_TRUE(column.change);
        EXPECT_EQ(column.item, c.code);
        EXPECT_EQ(uint8_t(column.year), c.yearByte);
        EXPECT_EQ(AdvancedOfResultsColumn(c.code, c.yearByte), c.choice);
    }
    const BasicResultChoice interimEps{6, kInterim, kEps, 2};
    const ResultsChoice column = ResultsChoiceOfBasic(interimEps);
    EXPECT_EQ(column, (ResultsChoice{2, 2 | 8, -2, false}));
    EXPECT_EQ(BasicOfResultsColumn((column.itemGroup << 4) | column.item, column.year), interimEps);
}
