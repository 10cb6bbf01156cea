// Criteria and period words in words, long and short, for every kind.
#include "datamining/CriterionText.h"

#include "core/PackedDate.h"
#include "datamining/CriterionKinds.h"

#include <gtest/gtest.h>

using namespace qv;

namespace {

DMCriterion C(uint8_t kind, uint8_t parameter, uint32_t setting = 0, uint16_t secondSetting = 0,
              uint32_t firstDate = 0, uint32_t secondDate = 0)
{
    DMCriterion c;
    c.kind = kind;
    c.parameter = parameter;
    c.setting = setting;
    c.secondSetting = secondSetting;
    c.firstDate = firstDate;
    c.secondDate = secondDate;
    return c;
}

constexpr uint32_t Days(uint16_t n) { return PeriodWord(PeriodUnit::Days, n); }
constexpr uint32_t Weeks(uint16_t n) { return PeriodWord(PeriodUnit::Weeks, n); }
constexpr uint32_t Months(uint16_t n) { return PeriodWord(PeriodUnit::Months, n); }
constexpr uint32_t OnDate(uint16_t date) { return PeriodWord(PeriodUnit::Date, date); }
constexpr uint16_t kThirdJanuary1994 = PackDate(3, 1, 1994);

TEST(CriterionText, PeriodWords)
{
    struct Case {
        int32_t value;
        uint32_t unit;
        const char* longForm;
        const char* shortForm;
    };
    const Case cases[] = {
        {1, 1, "1 day ago", "1d ago"},      {2, 2, "2 weeks ago", "2wk ago"},   {1, 3, "1 month ago", "1m ago"},
        {3, 4, "3 years ago", "3yr ago"},   {-20, 5, "20 trading days ago", "20td ago"},
        {kThirdJanuary1994, 0, "3/1/94", "3/1/94"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(FormatPeriodWord(c.value, c.unit, true), c.longForm);
        EXPECT_EQ(FormatPeriodWord(c.value, c.unit, false), c.shortForm);
    }
}

TEST(CriterionText, EveryKindInBothForms)
{
    struct Case {
        DMCriterion criterion;
        const char* longForm;
        const char* shortForm;
    };
    const Case cases[] = {
        {C(3, 1), "P/E (Rolling1)", "P/E (Rolling1)"},
        {C(9, 0), "Number of shares", "Number of shares"},
        {C(11, 0), "Capitalisation", "Capitalisation"},
        {C(8, 2), "Consensus (Change)", "Consensus (Change)"},
        {C(13, 0, 0, 7), "Latest Profit Result", "Latest Profit Result"},
        {C(13, 5, 2, 0), "7 Years ago Interim EPS 2 years % change", "7yr ago Interim EPS 2yr %change"},
        {C(13, 3, 1, 8), "1 Year forecast Turnover 1 year % change", "1yr for. Turnover 1yr %change"},
        {C(14, AdvancedParameter(13, 0), 0, 4), "Latest ROCE Result", " ROCE "},
        {C(14, AdvancedParameter(6, 2), 1, 3), "1 Years ago PBV 1 year % change", "1yr ago PBV 1yr %chg"},
        {C(1, 0, 1 | 20u << 4, 0, Days(1)), "Simp.20 day  M.A. for 1 day ago", "M.A. 1d ago"},
        {C(1, 3, 2 | 50u << 4, 0, Weeks(2), Days(0)), "Exp.50 day  M.A. change between", "M.A. between"},
        {C(1, 6, 9 | 30u << 4, 0, Months(1)), "Simp.30 day  M.A. - Price (%) for 1 month ago", "M.A.-Price(%) 1m ago"},
        {C(1, 8, 3 | 20u << 4 | 60u << 18, 0, Days(5)), "Weight.20 day  M.A. - 60 day M.A. (%) for 5 days ago",
         "M.A.-M.A.(%) 5d ago"},
        {C(0, 0), "Last price(p)", "Last price"},
        {C(0, 1), "Price change (p)", "Price change"},
        {C(0, 3, 0, 0, Days(10)), "Price for 10 days ago", "Price for 10d ago"},
        {C(0, 5, 0, 0, Months(3)), "+/- % Price since 3 months ago", "% Price since 3m ago"},
        {C(0, 6, 0, 0, OnDate(kThirdJanuary1994), Weeks(2)), "Price between 3/1/94 & 2 weeks ago", "Price between"},
        {C(0, 8, 1, 0, 1u << 16 | 250), "250 td Price high", "250 td Price high"},
        {C(0, 8, 1, 0, 0), "Price high (all hist)", "Price high (all hist)"},
        {C(0, 8, 0, 0, 0), "Price high", "Price high"},
        {C(0, 12, 1, 0, 2u << 16 | 30), "Days since 30 d low", "Days since 30 d low"},
        {C(0, 10, 1, 0, 3u << 16), "% Fall since high (1st Jan)", "% Fall since high (1st Jan)"},
        {C(0, 13, 1, 0, 9u << 16 | kThirdJanuary1994), "% Rise since low (3/1/94)", "% Rise since low (3/1/94)"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(DescribeCriterion(c.criterion, true), c.longForm);
        EXPECT_EQ(DescribeCriterion(c.criterion, false), c.shortForm);
    }
    EXPECT_EQ(DescribeCriterion(C(15, 0), true), "");
}

} // namespace
