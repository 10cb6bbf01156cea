// The Add Criteria dialog's rules: controls by kind and parameter, the moving-average setting word with
// its clamps, and each kind's choice kept while the dialog is open.
#include "datamining/AddCriteriaRules.h"

#include "datamining/CriterionKinds.h"

#include <gtest/gtest.h>

using namespace qv;

namespace {

TEST(AddCriteriaRulesTest, ControlsFollowKindAndParameter)
{
    struct Case {
        uint8_t kind;
        int parameter;
        bool parameterList, average, results, variants, first, second, lookBack;
    } cases[] = {
        {kPriceKind, 0, true, false, false, false, false, false, false},  // Last price
        {kPriceKind, 3, true, false, false, false, true, false, false},   // Price for
        {kPriceKind, 6, true, false, false, false, true, true, false},    // Price between
        {kPriceKind, 8, true, false, false, false, false, false, true},   // Price high
        {kMovingAverageKind, 3, true, true, false, false, true, true, false},
        {3, 0, true, false, false, false, false, false, false},           // P/E
        {9, 0, false, false, false, false, false, false, false},          // Number of shares
        {13, 0, true, false, true, false, false, false, false},           // Headline Result
        {kAdvancedResultKind, 3, true, false, true, true, false, false, false},  // Turnover: 3 variants
        {kAdvancedResultKind, 13, true, false, true, false, false, false, false}, // ROCE: none
    };
    for (const Case& c : cases) {
        const AddCriteriaControls k = AddCriteriaControlsFor(c.kind, c.parameter);
        const std::string at = std::to_string(c.kind) + "/" + std::to_string(c.parameter);
        EXPECT_EQ(k.parameterList, c.parameterList) << at;
        EXPECT_EQ(k.averageGroup, c.average) << at;
        EXPECT_EQ(k.resultLists, c.results) << at;
        EXPECT_EQ(k.variantList, c.variants) << at;
        EXPECT_EQ(k.firstDate, c.first) << at;
        EXPECT_EQ(k.secondDate, c.second) << at;
        EXPECT_EQ(k.lookBack, c.lookBack) << at;
    }
    EXPECT_EQ(ResultYearWords(kValueHeadline).size(), 11u);
    EXPECT_STREQ(ResultYearWords(kValueAdvanced)[0], "4 Years ago");
    EXPECT_STREQ(ResultTypeWords(kValueHeadline)[1], "1 year % change");
    EXPECT_TRUE(ResultYearWords(kValueColumn).empty());
}

TEST(AddCriteriaRulesTest, MovingAverageSettingWord)
{
    struct Case {
        int type, one, two;
        int storedTwo;
    } cases[] = {{0, 20, 60, 60}, {1, 50, 3, 5}, {4, 9999, 9000, 8000}, {2, 5, 8000, 8000}};
    for (const Case& c : cases) {
        const uint32_t word = MovingAverageSetting({c.type, c.one, c.two});
        EXPECT_EQ(word, (uint32_t(c.storedTwo) << 18) + (uint32_t(c.one) << 4) + uint32_t(c.type + 1));
        const MovingAverageChoice back = UnpackMovingAverageSetting(word);
        EXPECT_EQ(back.typeIndex, c.type);
        EXPECT_EQ(back.periodOne, c.one);
        EXPECT_EQ(back.periodTwo, c.storedTwo);
    }
    EXPECT_EQ(PeriodWord(PeriodUnit::TradingDays, 15), 0x5000Fu);
}

TEST(AddCriteriaRulesTest, EachKindKeepsItsChoice)
{
    KindChoiceMemory memory;
    EXPECT_FALSE(memory.Recall(kMovingAverageKind).set);
    memory.Remember(kMovingAverageKind, 6, MovingAverageSetting({1, 30, 90}));
    memory.Remember(3, 2, 0);
    const auto ma = memory.Recall(kMovingAverageKind);
    EXPECT_TRUE(ma.set);
    EXPECT_EQ(ma.parameter, 6);
    EXPECT_EQ(UnpackMovingAverageSetting(ma.setting).periodTwo, 90);
    EXPECT_EQ(memory.Recall(3).parameter, 2);
    EXPECT_FALSE(memory.Recall(200).set);
}

} // namespace
