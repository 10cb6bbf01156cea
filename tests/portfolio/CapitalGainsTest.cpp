// The capital gains pass on scripted portfolios: the gains per disposal and per tax year, the
// matching rules of each era, losses and the exemption, and the lines that explain them.
#include "portfolio/CapitalGains.h"

#include "CgtScript.h"

#include <gtest/gtest.h>

#include <cmath>
#include <iterator>
#include <optional>
#include <random>

namespace qv {
namespace {

using test::CgtRow;
using test::CgtScript;

constexpr uint8_t kIgnore = TransactionFlag::IgnoreInGains;
constexpr uint8_t kSmall = TransactionFlag::SmallReceipt;

struct RowGain {
    size_t row;
    double before;
    std::optional<double> after = std::nullopt;
};
struct YearGain {
    int year;
    double gain;
};

struct CgtCase {
    const char* name;
    std::vector<CgtRow> rows;
    std::vector<RowGain> rowGains;
    std::vector<YearGain> yearGains;
    std::vector<const char*> lines;    // texts the portfolio history shows
    std::vector<const char*> notLines; // texts it must not show
};

void ExpectMoney(double expected, double actual, const std::string& what)
{
    if (expected == kCgtNotCalculated) {
        EXPECT_EQ(float(actual), kCgtNotCalculated) << what;
        return;
    }
    EXPECT_NEAR(actual, expected, 0.02) << what;
}

void RunCase(const CgtCase& c)
{
    SCOPED_TRACE(c.name);
    CgtScript script(c.rows);
    CgtPassResult result = script.Run({0, -1, true});
    for (const RowGain& g : c.rowGains) {
        ExpectMoney(g.before, script.Before(g.row), "CGT before losses of row " + std::to_string(g.row));
        if (g.after)
            ExpectMoney(*g.after, script.After(g.row), "CGT after losses of row " + std::to_string(g.row));
    }
    for (const YearGain& y : c.yearGains)
        ExpectMoney(y.gain, result.yearGains[size_t(y.year)], "gains of year " + std::to_string(y.year));
    for (const char* text : c.lines)
        EXPECT_NE(result.report.find(text), std::string::npos) << text << "\n" << result.report;
    for (const char* text : c.notLines)
        EXPECT_EQ(result.report.find(text), std::string::npos) << text << "\n" << result.report;
}

// Gains of the identification rules, before and after April 1998.
TEST(CapitalGainsTest, MatchingRules)
{
    const CgtCase cases[] = {
        {"May 1993 cost indexed by 1.152, four years of taper at 90%",
         {{"1/5/1993", 1, 1000, 1}, {"6/4/2001", 2, 1000, 3}},
         {{1, (3000 - 1152) * 0.9, (3000 - 1152) * 0.9}},
         {{11, (3000 - 1152) * 0.9}},
         {"New indexed cost of 'S104 holding' (\xA3" "1,000.00 x 1.152)", "Year 4 of taper: 90%"},
         {}},
        {"a pool of two purchases indexed to 1990 and to April 1998, part sold in 2001",
         {{"1/5/1986", 1, 1000, 1.5}, {"1/2/1990", 1, 500, 2}, {"1/6/2001", 2, 1200, 4}},
         // (1,500 x 120.2 / 97.85 + 1,000) x 1.353 x 1,200 / 1,500 = 3,076.85; 90% of 4,800 less that.
         {{2, (4800 - 3076.85) * 0.9}},
         {{11, (4800 - 3076.85) * 0.9}},
         {"New indexed cost of 'S104 holding' (\xA3" "1,500.00 x 120.2 / 97.85)\t\xA3" "1,842.62",
          "Indexed cost of 1,200 shares (\xA3" "3,846.06 x 1200 / 1500)\t\xA3" "3,076.85"},
         {}},
        {"a pool last indexed at a 1995 sale is frozen with the June 1995 factor",
         {{"1/5/1993", 1, 1000, 1}, {"1/6/1995", 2, 400, 2}, {"6/4/2001", 2, 600, 3}},
         // 600 x 149.8 / 141.1 = 637.00, x 1.085 = 691.14
         {{2, (1800 - 691.14) * 0.9}},
         {},
         {"Jun 95 RPI indexation adjustment 0.085"},
         {}},
        {"taper capped at ten years",
         {{"1/5/1993", 1, 1000, 1}, {"1/6/2008", 2, 1000, 3}},
         {{1, (3000 - 1152) * 0.6}},
         {{18, (3000 - 1152) * 0.6}},
         {"Year 10 of taper: 60%"},
         {}},
        {"bought after April 1998 and sold within a year: all chargeable",
         {{"1/6/1999", 1, 1000, 1}, {"1/3/2000", 2, 1000, 2}},
         {{1, 1000, 1000}},
         {{9, 1000}},
         {"Year 0 of taper: 100%"},
         {}},
        {"a rebuy on day 30 is matched with the sale",
         {{"1/6/1999", 1, 1000, 1}, {"1/5/2000", 2, 1000, 2}, {"31/5/2000", 1, 1000, 1.5}},
         {{1, 500, 500}},
         {{10, 500}},
         {"Match 1,000 share purchase and sale within 30 days 31/5/00"},
         {"Identify 1,000 shares purchased 1/6/99"}},
        {"a rebuy on day 31 is not",
         {{"1/6/1999", 1, 1000, 1}, {"1/5/2000", 2, 1000, 2}, {"1/6/2000", 1, 1000, 1.5}},
         {{1, 1000, 1000}},
         {{10, 1000}},
         {"Identify 1,000 shares purchased 1/6/99"},
         {"within 30 days"}},
        {"same-day purchases amalgamated, then matched on the same day before the pool",
         {{"1/6/1999", 1, 1000, 5}, {"1/6/2000", 1, 500, 1}, {"1/6/2000", 1, 500, 2}, {"1/6/2000", 2, 600, 3}},
         {{3, 1800 - 900, 900}},
         {{10, 900}},
         {"Amalgamate share purchases and sales on same day", "Match 600 share purchase and sale on same day"},
         {}},
        {"last in, first out after April 1998",
         {{"1/6/1999", 1, 1000, 1}, {"1/6/2000", 1, 1000, 2}, {"1/6/2001", 2, 1500, 3}},
         // 1,000 of June 2000 (one year: 100%), then 500 of June 1999 (two years: 100%).
         {{2, (3000 - 2000) + (1500 - 500)}},
         {{11, 2000}},
         {"Identify 1,000 shares purchased 1/6/00", "Identify 500 shares purchased 1/6/99"},
         {}},
        {"a 1995 sale with a rebuy the next day leaves the rebuy in the pool",
         {{"1/6/1993", 1, 1000, 1}, {"1/6/1995", 2, 1000, 2}, {"2/6/1995", 1, 1000, 2}, {"1/7/1996", 2, 1000, 2}},
         {{1, 2000 - 1000 * 149.8 / 141.0}, {3, 0, 0}},
         {},
         {"No chargeable gain or loss"},
         {"within 10 days"}},
        {"a buy five days before a 1995 sale is matched within 10 days",
         {{"1/6/1993", 1, 1000, 1}, {"27/5/1995", 1, 500, 1.8}, {"1/6/1995", 2, 500, 2}, {"1/7/1996", 2, 1000, 2}},
         {{2, 100}},
         {},
         {"Match 500 share purchase and sale within 10 days 27/5/95", "Identify 1,000 shares with 'S104 holding'"},
         {"UNABLE"}},
        {"a fall in the RPI leaves the indexed pool cost as it is",
         {{"15/12/1992", 1, 1000, 1}, {"20/1/1993", 2, 1000, 1.005}},
         {{1, 5}},
         {},
         {},
         {}},
        {"a split scales the lots made before it",
         {{"1/6/1999", 1, 1000, 2}, {"1/7/1999", 13, 0, 0, 0, 0, 1, 0, 0, 0, 2}, {"1/6/2000", 2, 2000, 1.5}},
         {{2, 1000}},
         {},
         {"Identify 2,000 shares purchased 1/6/99"},
         {}},
        {"a disposal larger than every source counts the rest as gain",
         {{"1/6/1999", 1, 100, 1}, {"1/6/2000", 2, 1000, 2}},
         {{1, 100 + 1800}},
         {},
         {"UNABLE TO IDENTIFY 900 SHARES"},
         {}},
        {"the ignore flag leaves both outputs not calculated",
         {{"1/6/1999", 1, 1000, 1}, {"1/6/2000", 2, 1000, 2, 0, kIgnore}},
         {{1, kCgtNotCalculated, kCgtNotCalculated}},
         {},
         {"Ignore sale 1,000 shares value \xA3" "2,000.00"},
         {}},
        {"disposals before 6 April 1990 are not calculated",
         {{"1/6/1985", 1, 1000, 1}, {"1/6/1989", 2, 500, 2}, {"1/6/1989", 2, 500, 3}},
         {{1, kCgtNotCalculated, kCgtNotCalculated}},
         {},
         {"Chargeable gains not calculated pre-1990"},
         {}},
        {"the '1982 holding' takes the lower of its two gains",
         {{"1/1/1980", 1, 1000, 0.5, 0, 0, 1, 0, 1.0}, {"1/6/1995", 2, 1000, 3}},
         {{1, 3000 - 1000 * 149.8 / 79.44}},
         {},
         {"Alternative 2 - 1982 valuation", "Take lower gain"},
         {}},
        {"pre-1965 shares without election: the lowest of three gains",
         {{"1/1/1960", 1, 1000, 0.5, 0, 0, 1, 0.8f, 1.0f}, {"1/6/1991", 2, 1000, 3}},
         {{1, 3000 - 1000 * 134.1 / 79.44}},
         {},
         {"Alternative 3 - 1982 valuation", "Take lowest gain"},
         {}},
        {"pre-1965 shares with a gain on one base and a loss on another",
         {{"1/1/1960", 1, 1000, 0.5, 0, 0, 1, 0.8f, 4.0f}, {"1/6/1991", 2, 1000, 3}},
         {{1, 0}},
         {},
         {"No gain/no loss"},
         {}},
        {"a missing 1982 value counts as 0",
         {{"1/1/1960", 1, 1000, 0.5, 0, 0, 1, 0.8f, 0}, {"1/6/1991", 2, 1000, 0.4}},
         // Cost 500 and 800 give losses, a 1982 cost of 0 a gain: no gain, no loss.
         {{1, 0}},
         {},
         {"Alternative 3 - 1982 valuation: \xA3" "0.00"},
         {}},
        {"a small receipt reduces the cost instead of being a disposal",
         {{"1/6/2000", 1, 2000, 1}, {"1/12/2000", 5, 0, 100, 0, kSmall}, {"1/7/2001", 2, 2000, 1.5}},
         {{2, 3000 - 1900}},
         {{11, 1100}},
         {"Disposal designated as a small receipt", "new value\t\xA3" "1,900.00"},
         {"Received"}},
    };
    for (const CgtCase& c : cases)
        RunCase(c);
}

// A capital receipt without shares takes cost x A / (A + B), B the value of the rest of the holding.
TEST(CapitalGainsTest, CapitalReceiptTakesItsShareOfTheCost)
{
    CgtScript script({{"1/6/1999", 1, 1000, 1}, {"1/6/2000", 5, 0, 200}, {"1/6/2001", 2, 1000, 2}});
    script.inputs.price = [](uint16_t, uint8_t, PackedDate) { return 1.8; };
    CgtPassResult result = script.Run({0, -1, true});
    EXPECT_NEAR(script.Before(1), 200 - 1000 * 200.0 / 2000, 0.01);
    EXPECT_NEAR(script.Before(2), 2000 - 900, 0.01);
    EXPECT_NE(result.report.find("Value of holding (1,000 x \xA3" "1.80)\t\xA3" "1,800.00"), std::string::npos)
        << result.report;
}

// Years to 1997/98: this year's losses first, then the exemption, then brought-forward losses down
// to the exemption; the taper years spare the exemption from brought-forward losses.
TEST(CapitalGainsTest, LossesAndExemption)
{
    const CgtCase cases[] = {
        {"brought-forward losses only take the gains above the exemption",
         {{"1/5/1994", 1, 1000, 3}, {"20/5/1994", 2, 1000, 1}, // 1994/95 loss of 2,000
          {"1/5/1995", 1, 1000, 1}, {"20/5/1995", 2, 1000, 11}, // 1995/96 gain of 10,000
          {"1/5/1995", 1, 1000, 4, 0, 0, 2}, {"20/5/1995", 2, 1000, 1, 0, 0, 2}}, // and a loss of 3,000
         {{1, -2000, 0}, {3, 10000, 0}, {5, -3000, 0}},
         {{4, 0}, {5, 0}},
         {"Offset \xA3" "3,000.00 against losses", "Offset \xA3" "1,000.00 against losses"},
         {}},
        {"this year's losses are used in full even where the exemption covers the gains",
         {{"1/5/1995", 1, 1000, 1}, {"20/5/1995", 2, 1000, 5}, {"1/5/1996", 1, 1000, 1}, {"20/5/1996", 2, 1000, 8},
          {"1/5/1995", 1, 1000, 2, 0, 0, 2}, {"20/5/1995", 2, 1000, 1, 0, 0, 2}},
         // 1995/96: 4,000 - 1,000 under the exemption, nothing carried; 1996/97: 7,000 - 6,300.
         {{1, 4000, 0}, {3, 7000, 700}, {5, -1000, 0}},
         {{5, 0}, {6, 700}},
         {},
         {}},
        {"taper year: brought-forward losses spare the exemption and the rest is carried",
         {{"1/6/1999", 1, 1000, 3}, {"1/6/2000", 2, 1000, 1}, // 2000/01 loss of 2,000
          {"1/6/2000", 1, 1000, 1, 0, 0, 2}, {"1/3/2002", 2, 1000, 9, 0, 0, 2}}, // 2001/02 gain of 8,000
         {{1, -2000}, {3, 8000, 7500}},
         {{11, 7500}},
         {"Don't apply losses to first \xA3" "7,500.00 as below CGT allowance", "Carry \xA3" "1,500.00 loss forward"},
         {}},
        {"taper year: this year's losses go to the gain with the highest taper first",
         {{"1/6/1993", 1, 1000, 1}, {"1/6/2001", 2, 1000, 5}, // pre-1998 pool, 4 years: 90%
          {"1/6/2000", 1, 1000, 1, 0, 0, 2}, {"1/7/2001", 2, 1000, 3, 0, 0, 2}, // one year: 100%
          {"1/6/2000", 1, 1000, 3, 0, 0, 3}, {"1/8/2001", 2, 1000, 2, 0, 0, 3}}, // a loss of 1,000
         {{3, 2000, 1000}},
         {{11, (5000 - 1153) * 0.9 + 1000}}, // June 1993: 1.153
         {"Offset loss \xA3" "1,000.00 (this year) to generate lower gain"},
         {}},
        {"losses are never indexed or tapered",
         {{"1/6/1993", 1, 1000, 3}, {"1/6/2002", 2, 1000, 1}},
         {{1, -2000}},
         {},
         {"No taper or indexing for losses\t-\xA3" "2,000.00", "Chargeable loss (\xA3" "1,000.00 - \xA3" "3,000.00)"},
         {"Year"}},
    };
    for (const CgtCase& c : cases)
        RunCase(c);
}

TEST(CapitalGainsTest, ManualLossesReplaceTheCarriedAmountOnlyWhenNotNegative)
{
    std::vector<CgtRow> rows = {{"1/5/1994", 1, 1000, 3}, {"20/5/1994", 2, 1000, 1},
                                {"1/5/1995", 1, 1000, 1}, {"20/5/1995", 2, 1000, 9}};
    struct {
        float manual;
        double after;
    } const table[] = {{-1, 8000 - 6000 - 2000}, {0, 8000 - 6000}, {500, 8000 - 6000 - 500}};
    for (auto [manual, after] : table) {
        CgtScript script(rows);
        script.inputs.manualLosses[5] = manual;
        script.Run();
        EXPECT_NEAR(script.After(3), after, 0.01) << manual;
    }
}

TEST(CapitalGainsTest, ValuationRowGivesThePotentialGainWithoutTouchingTheYears)
{
    CgtScript script({{"1/6/1999", 1, 1000, 1},
                      {"1/6/2002", 2, 500, 2},
                      {"8/12/2026", 15, 500, 3, 0, 0, 1, 0, 0, 0, 1500}});
    CgtPassResult result = script.Run({1, -1, false});
    EXPECT_NEAR(result.yearGains[12], 500 * 0.95, 0.01);
    EXPECT_NEAR(result.valuationGain, 1000 * 0.6, 0.01);
    EXPECT_NE(result.report.find("Balance"), std::string::npos) << result.report;
    EXPECT_NE(result.report.find("Potential chargeable gain\t\t\xA3" "600.00"), std::string::npos) << result.report;
}

// The valuation year comes after the taper years and takes the losses they carry out of 2008/09.
TEST(CapitalGainsTest, ValuationYearTakesTheLossesCarriedOutOfTheTaperYears)
{
    CgtScript script({{"1/6/1999", 1, 1000, 1},
                      {"8/12/2026", 15, 1000, 2, 0, 0, 1, 0, 0, 0, 2000},
                      {"1/6/2004", 1, 100, 5, 0, 0, 2},
                      {"1/6/2005", 2, 100, 3, 0, 0, 2}});
    CgtPassResult result = script.Run();
    EXPECT_NEAR(result.lossesCarried[18], 200, 0.01);
    EXPECT_NEAR(result.valuationGain, 1000 * 0.6 - 200, 0.01);
    // The valuation's use of them is potential: the years still carry them.
    EXPECT_NEAR(result.lossesCarried[36], 200, 0.01);
}

// Every tax year after 2008/09 is its own year, up to the tax year of today: its gains after the
// exemption and the losses brought in, and what it carries forward.
TEST(CapitalGainsTest, LaterTaxYearsSetOffTheirOwnLosses)
{
    struct Year {
        int year;
        double gain;
        double carried;
    };
    struct Case {
        const char* name;
        std::vector<CgtRow> rows;
        std::vector<Year> years;
        std::vector<const char*> lines;
        double valuationGain = 0;
    };
    const std::vector<CgtRow> langford = {{"1/5/2021", 1, 1000, 10, 0, 0, 1},
                                          {"1/2/2022", 2, 1000, 8, 0, 0, 1},
                                          {"1/5/2022", 1, 1000, 10, 0, 0, 2},
                                          {"1/9/2022", 2, 1000, 25, 0, 0, 2}};
    std::vector<CgtRow> langfordBoughtAgain = langford;
    langfordBoughtAgain.push_back({"1/12/2026", 1, 500, 30, 0, 0, 2});
    langfordBoughtAgain.push_back({"8/12/2026", kLatestRowType, 500, 32, 0, 0, 2, 0, 0, 0, 16000});
    const Case cases[] = {
        {"a 2008/09 loss used in 2009/10 above the exemption, the rest carried on",
         {{"1/6/2007", 1, 1000, 10, 0, 0, 1},
          {"1/6/2008", 2, 1000, 7, 0, 0, 1},
          {"1/5/2009", 1, 1000, 10, 0, 0, 2},
          {"1/7/2009", 2, 1000, 20, 0, 0, 2}},
         {{18, 0, 3000}, {19, 8200, 1200}, {20, 0, 1200}, {36, 0, 1200}},
         {"Don't apply losses to first \xA3" "8,200.00 as below CGT allowance", "Chargeable gain 2009/10"}},
        {"a 2015/16 loss carried to 2021/22",
         {{"1/6/2015", 1, 1000, 5, 0, 0, 1},
          {"1/12/2015", 2, 1000, 4, 0, 0, 1},
          {"1/5/2021", 1, 100, 10, 0, 0, 2},
          {"1/6/2021", 2, 100, 100, 0, 0, 2}},
         {{25, 0, 1000}, {30, 0, 1000}, {31, 8200, 200}, {36, 0, 200}},
         {"Carry \xA3" "1,000.00 loss forward", "Chargeable gain 2021/22"}},
        {"a sale within 2022/23 less a 2021/22 loss",
         langford,
         {{31, 0, 2000}, {32, 13000, 0}, {36, 0, 0}},
         {"Chargeable gain 2022/23\t\t\xA3" "13,000.00"}},
        {"the same after buying more in December 2026",
         langfordBoughtAgain,
         {{31, 0, 2000}, {32, 13000, 0}, {36, 0, 0}},
         {"Chargeable gain 2022/23\t\t\xA3" "13,000.00"},
         1000},
        {"a 2025/26 loss and a holding standing at a loss",
         {{"1/5/2025", 1, 1000, 10, 0, 0, 1},
          {"1/10/2025", 2, 500, 8, 0, 0, 1},
          {"8/12/2026", kLatestRowType, 500, 4, 0, 0, 1, 0, 0, 0, 2000}},
         {{35, 0, 1000}, {36, 0, 1000}},
         {"Chargeable loss 2025/26\t-\xA3" "1,000.00", "Carry \xA3" "1,000.00 loss forward"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        CgtScript script(c.rows);
        CgtPassResult result = script.Run({0, -1, true});
        for (const Year& y : c.years) {
            EXPECT_NEAR(result.yearGains[size_t(y.year)], y.gain, 0.01) << "gains of year " << y.year;
            EXPECT_NEAR(result.lossesCarried[size_t(y.year)], y.carried, 0.01) << "carried out of year " << y.year;
        }
        EXPECT_NEAR(result.valuationGain, c.valuationGain, 0.01);
        for (const char* text : c.lines)
            EXPECT_NE(result.report.find(text), std::string::npos) << text << "\n" << result.report;
        EXPECT_EQ(result.report.find("2010/11"), std::string::npos) << result.report;
    }
    // The holding's unrealised loss (500 shares cost 5,000 pounds, valued 2,000) shows in the share's
    // history as a potential loss, and is carried nowhere (2026/27 carries only the 2025/26 loss).
    CgtScript script(cases[4].rows);
    const std::string history = script.Run({1, -1, false}).report;
    EXPECT_NE(history.find("Potential chargeable loss\t-\xA3" "3,000.00"), std::string::npos) << history;
}

// The years run to today's tax year even without a disposal in it, and to a later-dated disposal's.
TEST(CapitalGainsTest, YearsRunToTodayOrTheLastDisposal)
{
    CgtScript script({{"1/6/2015", 1, 1000, 5}, {"1/12/2015", 2, 1000, 4}});
    script.inputs.today = ParseDate("1/6/2018");
    CgtPassResult result = script.Run();
    EXPECT_NEAR(result.lossesCarried[28], 1000, 0.01); // 2018/19
    EXPECT_NEAR(result.lossesCarried[29], 0, 0.01);
    script.inputs.today = ParseDate("1/6/2013");
    result = script.Run();
    EXPECT_NEAR(result.lossesCarried[25], 1000, 0.01);
    EXPECT_NEAR(result.lossesCarried[26], 0, 0.01);
}

TEST(CapitalGainsTest, ReportOrdersLinesByDateAndLeavesValuationOutOfThePortfolioHistory)
{
    CgtScript script({{"1/6/1999", 1, 1000, 1}, {"1/6/2000", 2, 1000, 2}, {"8/12/2026", 15, 0, 0}});
    CgtPassResult history = script.Run({0, -1, true});
    EXPECT_EQ(history.title, "Capital Gains Report ");
    EXPECT_EQ(history.report.rfind("Capital Gains Report \nDate\tDescription\tIntermediate\tChargeable\n"
                                   "\t\tcalculation\tGain\n1/6/99\tALPHA\n",
                                   0),
              0u)
        << history.report;
    EXPECT_LT(history.report.find("1/6/99"), history.report.find("1/6/00"));
    EXPECT_EQ(history.report.find("Balance"), std::string::npos);
    CgtPassResult silent = CapitalGainsReport(script.inputs, {}, false);
    EXPECT_TRUE(silent.report.empty());
    EXPECT_NEAR(silent.yearGains[10], 1000, 0.01);
}

// Amalgamated receipts without shares keep their price rather than dividing 0 by 0.
TEST(CapitalGainsTest, TwoReceiptsOnOneDayKeepFiniteGains)
{
    CgtScript script({{"1/6/1999", 1, 1000, 1}, {"1/6/2000", 5, 0, 100}, {"1/6/2000", 5, 0, 50}});
    script.inputs.price = [](uint16_t, uint8_t, PackedDate) { return 1.0; };
    script.Run();
    EXPECT_TRUE(std::isfinite(script.Before(1)));
    EXPECT_NEAR(script.Before(1), 150 - 1000 * 150.0 / 1150, 0.01);
}

// Any mix of types, dates, flags and odd numbers leaves every disposal with a finite gain or the
// not-calculated mark, and the report assembles.
TEST(CapitalGainsTest, RandomPortfoliosGiveFiniteGains)
{
    std::mt19937 random(54);
    const char* dates[] = {"1/1/1960", "6/4/1965", "1/3/1982", "6/4/1982", "15/6/1988", "6/4/1990", "1/1/1993",
                           "1/5/1995", "17/3/1998", "1/4/1998", "6/4/1998", "1/6/2001", "5/4/2009", "1/1/2015"};
    const int types[] = {1, 2, 3, 4, 5, 6, 8, 10, 11, 12, 13, 14};
    const uint8_t flags[] = {0, 0, 0, kIgnore, kSmall, TransactionFlag::IgnorePounds};
    for (int portfolio = 0; portfolio < 200; ++portfolio) {
        std::vector<CgtRow> rows;
        for (uint16_t share = 1; share <= 2; ++share) {
            for (const char* date : dates) {
                if (random() % 2)
                    continue;
                CgtRow row{date, types[random() % std::size(types)], double(random() % 4) * 250,
                           0.5 * double(random() % 5)};
                row.flags = flags[random() % std::size(flags)];
                row.share = share;
                row.value1965 = float(random() % 3);
                row.value1982 = float(random() % 3);
                row.base = uint8_t(random() % 3);
                row.extra = float(random() % 3);
                rows.push_back(row);
            }
            rows.push_back({"8/12/2026", kLatestRowType, double(random() % 3) * 100, 1, 0, 0, share, 0, 0, 0, 100});
        }
        CgtScript script(rows);
        script.inputs.price = [](uint16_t, uint8_t, PackedDate) { return 0.0; };
        CgtPassResult result = script.Run({0, -1, true});
        for (size_t i = 0; i < rows.size(); ++i) {
            float before = script.Before(i), after = script.After(i);
            EXPECT_TRUE(std::isfinite(before) || before == kNotComputed) << portfolio << " row " << i;
            EXPECT_TRUE(std::isfinite(after) || after == kNotComputed) << portfolio << " row " << i;
        }
        for (double gain : result.yearGains)
            EXPECT_TRUE(std::isfinite(gain)) << portfolio;
        EXPECT_TRUE(std::isfinite(result.valuationGain)) << portfolio;
        EXPECT_FALSE(result.report.empty());
    }
}

} // namespace
} // namespace qv
