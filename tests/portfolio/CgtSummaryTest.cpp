// The tax-year summary, the tax tables as text, the indicative tax take and the tax-year menu texts.
#include "portfolio/CgtSummary.h"

#include "CgtScript.h"
#include "core/DateText.h"

#include <gtest/gtest.h>

namespace qv {
namespace {

using test::CgtRow;
using test::CgtScript;

std::string Summary(const std::vector<CgtRow>& rows, int taxYear, float manual = -1)
{
    CgtScript script(rows);
    script.inputs.manualLosses[size_t(CgtTableYear(taxYear) % kCgtTableYears)] = manual;
    CgtPassResult result = script.Run({0, CgtTableYear(taxYear), false});
    CgtSummaryInput input;
    input.transactions = script.inputs.transactions;
    input.manualLosses = script.inputs.manualLosses;
    input.lossesCarried = result.lossesCarried;
    input.taxYear = taxYear;
    return CgtTaxYearSummary(input);
}

TEST(CgtSummary, Texts)
{
    struct Case {
        const char* name;
        std::vector<CgtRow> rows;
        int taxYear;
        float manual;
        std::string text;
    };
    const Case cases[] = {
        {"no sales",
         {{"1/6/2001", 1, 1000, 1}, {"8/12/2026", kLatestRowType, 1000, 1, 0, 0, 1, 0, 0, 0, 1000}},
         11, -1,
         "Tax for tax year 2001/02\n\nCapital losses from previous years \xA3" "0.00\n\n\nNo sales so no CGT liability\n"
         "\n\nCapital losses carried forward \xA3" "0.00\n\n"},
        {"losses only",
         {{"1/6/2000", 1, 1000, 3}, {"1/6/2001", 2, 1000, 1}, {"8/12/2026", kLatestRowType, 0, 1}},
         11, -1,
         "Tax for tax year 2001/02\n\nCapital losses from previous years \xA3" "0.00\n\nShare name\tNumber sold\t"
         "Chargeable gain\nALPHA\t1000\t\xA3" "0.00\n\nNo chargeable gain\n\n\nCapital losses carried forward "
         "\xA3" "2,000.00\n\n"},
        {"a gain below the exemption gives no tax",
         {{"1/6/2000", 1, 1000, 1}, {"1/6/2001", 2, 1000, 2}, {"8/12/2026", kLatestRowType, 0, 1}},
         11, -1,
         "Tax for tax year 2001/02\n\nCapital losses from previous years \xA3" "0.00\n\nShare name\tNumber sold\t"
         "Chargeable gain\nALPHA\t1000\t\xA3" "1,000.00\n\nTotal chargeable gain\t\t\xA3" "1,000.00\nAfter CGT "
         "exemption \xA3" "7,500\t\t\xA3" "0.00\n\nTax if starting at Basic rate (20%)\t\t\xA3" "0.00\nTax if at "
         "Higher rate (40%)\t\t\xA3" "0.00\n\nCapital losses carried forward \xA3" "0.00\n\n"},
        {"2004/05 is estimated; a manual amount overrides",
         {{"1/6/2000", 1, 10000, 1}, {"1/6/2004", 2, 10000, 3}, {"8/12/2026", kLatestRowType, 0, 1}},
         14, 100,
         "Tax for tax year 2004/05\n\nCapital losses from previous years \xA3" "100.00 (override)\n\nShare name\t"
         "Number sold\tChargeable gain\nALPHA\t10000\t\xA3" "17,910.00\n\nTotal chargeable gain\t\t\xA3" "17,910.00\n"
         "After CGT exemption \xA3" "8,200*\t\t\xA3" "9,710.00\n\nTax if starting at Basic rate (20%*)\t\t\xA3"
         "1,942.00\nTax if at Higher rate (40%*)\t\t\xA3" "3,884.00\n\n* Estimated\n\nCapital losses carried forward "
         "\xA3" "0.00\n\n"},
        {"a later year takes 2008/09's estimated rates",
         {{"1/6/2020", 1, 1000, 1}, {"1/6/2026", 2, 1000, 2}, {"8/12/2026", kLatestRowType, 0, 1}},
         36, -1,
         "Tax for tax year 2026/27\n\nCapital losses from previous years \xA3" "0.00\n\nShare name\tNumber sold\t"
         "Chargeable gain\nALPHA\t1000\t\xA3" "800.00\n\nTotal chargeable gain\t\t\xA3" "800.00\nAfter CGT "
         "exemption \xA3" "8,200*\t\t\xA3" "0.00\n\nTax if starting at Basic rate (20%*)\t\t\xA3" "0.00\nTax if at "
         "Higher rate (40%*)\t\t\xA3" "0.00\n\n* Estimated\n\nCapital losses carried forward \xA3" "0.00\n\n"},
        {"2009/10 brings in 2008/09's loss and carries what the gain above the exemption leaves",
         {{"1/6/2007", 1, 1000, 10},
          {"1/6/2008", 2, 1000, 7},
          {"8/12/2026", kLatestRowType, 0, 1},
          {"1/5/2009", 1, 1000, 10, 0, 0, 2},
          {"1/7/2009", 2, 1000, 20, 0, 0, 2},
          {"8/12/2026", kLatestRowType, 0, 1, 0, 0, 2}},
         19, -1,
         "Tax for tax year 2009/10\n\nCapital losses from previous years \xA3" "3,000.00\n\nShare name\tNumber sold\t"
         "Chargeable gain\nBETA\t1000\t\xA3" "8,200.00\n\nTotal chargeable gain\t\t\xA3" "8,200.00\nAfter CGT "
         "exemption \xA3" "8,200*\t\t\xA3" "0.00\n\nTax if starting at Basic rate (20%*)\t\t\xA3" "0.00\nTax if at "
         "Higher rate (40%*)\t\t\xA3" "0.00\n\n* Estimated\n\nCapital losses carried forward \xA3" "1,200.00\n\n"},
        {"a holding standing at a loss is not a loss carried forward",
         {{"1/5/2025", 1, 1000, 10}, {"1/10/2025", 2, 500, 8}, {"8/12/2026", kLatestRowType, 500, 4, 0, 0, 1, 0, 0, 0, 2000}},
         35, -1,
         "Tax for tax year 2025/26\n\nCapital losses from previous years \xA3" "0.00\n\nShare name\tNumber sold\t"
         "Chargeable gain\nALPHA\t500\t\xA3" "0.00\n\nNo chargeable gain\n\n\nCapital losses carried forward "
         "\xA3" "1,000.00\n\n"},
        {"the year of today brings in the year before's loss",
         {{"1/5/2025", 1, 1000, 10}, {"1/10/2025", 2, 500, 8}, {"8/12/2026", kLatestRowType, 500, 4, 0, 0, 1, 0, 0, 0, 2000}},
         36, -1,
         "Tax for tax year 2026/27\n\nCapital losses from previous years \xA3" "1,000.00\n\n\nNo sales so no CGT "
         "liability\n\n\nCapital losses carried forward \xA3" "1,000.00\n\n"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(Summary(c.rows, c.taxYear, c.manual), c.text) << c.name;
}

// Before April 1998 the pass has already used the exemption: the summary does not take it off again.
TEST(CgtSummary, EarlyYearsKeepTheirNetGain)
{
    const std::string text =
        Summary({{"1/6/1990", 1, 10000, 1}, {"1/6/1995", 2, 10000, 3}, {"8/12/2026", kLatestRowType, 0, 1}}, 5);
    // 10,000 x (3 - 1 x 149.8 / 126.7) less the 6,000 exemption the pass has used.
    EXPECT_NE(text.find("Total chargeable gain\t\t\xA3" "12,176.79\nAfter CGT exemption \xA3" "6,000\t\t\xA3"
                        "12,176.79\n\nTax if starting at Basic rate (25%)\t\t\xA3" "3,044.20\n"),
              std::string::npos)
        << text;
}

// The summary and the tax display tax a year's gain alike: both read the one rate table, so the
// 2004/05 gain of 18,000 (9,800 above the exemption) is £1,960 at the 20 % CGT basic rate in both.
TEST(CgtSummary, AgreesWithTheTaxDisplay)
{
    CgtScript script({{"1/6/2000", 1, 10000, 1}, {"1/6/2004", 2, 10000, 3}, {"8/12/2026", kLatestRowType, 0, 1}});
    CgtPassResult result = script.Run({0, 14, false});
    CgtSummaryInput input;
    input.transactions = script.inputs.transactions;
    input.manualLosses = script.inputs.manualLosses;
    input.lossesCarried = result.lossesCarried;
    input.taxYear = 14;
    const std::string summary = CgtTaxYearSummary(input);
    EXPECT_NE(summary.find("Tax if starting at Basic rate (20%*)\t\t\xA3" "1,960.00\nTax if at Higher rate (40%*)\t\t\xA3"
                           "3,920.00"),
              std::string::npos)
        << summary;
    TaxTakeInput take;
    take.yearGains = result.yearGains;
    take.today = PackDate(1, 6, 2009); // n = 24: 2004/05 is an ordinary row
    const std::vector<std::string> lines = TaxTakeLines(take);
    EXPECT_EQ(lines[3 + 14], "Year 2004/05\t\xA3" "8,200 \t\xA3" "18,000\t\xA3" "1,960\t\xA3" "3,920");
}

TEST(CgtSummary, IgnoredSalesAreLeftOut)
{
    const std::string text = Summary({{"1/6/2000", 1, 1000, 1},
                                      {"1/6/2001", 2, 1000, 20, 0, TransactionFlag::IgnoreInGains},
                                      {"8/12/2026", kLatestRowType, 0, 1}},
                                     11);
    EXPECT_NE(text.find("No sales so no CGT liability"), std::string::npos) << text;
}

TEST(CgtTablesText, RpiAndFactors)
{
    const std::vector<std::string> rpi = [] {
        std::vector<std::string> lines;
        const std::string text = CgtRpiTableText(false);
        for (size_t at = 0, end; at < text.size(); at = end + 1) {
            end = text.find('\n', at);
            lines.push_back(text.substr(at, end - at));
        }
        return lines;
    }();
    ASSERT_EQ(rpi.size(), 18u);
    EXPECT_EQ(rpi[0], "Year\tJan\tFeb\tMar\tApr\tMay\tJun\tJul\tAug\tSep\tOct\tNov\tDec");
    EXPECT_EQ(rpi[1].substr(0, 13), "1982\t\t\t79.44\t");
    EXPECT_EQ(rpi[5].substr(0, 11), "1986\t96.25\t");
    EXPECT_EQ(rpi[6].substr(0, 10), "1987\t100.0");
    EXPECT_EQ(rpi[17], "1998\t159.5\t160.3\t160.8\t162.6");
    EXPECT_EQ(CgtRpiTableCaption(false), "RPI figures used for Capital Gains Tax pre April 1998");

    const std::string factors = CgtRpiTableText(true);
    EXPECT_NE(factors.find("\n1982\t\t\t1.047\t1.006\t"), std::string::npos) << factors;
    EXPECT_NE(factors.find("\n1993\t0.179\t0.171\t0.167\t0.156\t0.152\t"), std::string::npos) << factors;
    EXPECT_NE(factors.find("\n1998\t0.019\t0.014\t0.011\t0.000\n"), std::string::npos) << factors;
    EXPECT_NE(factors.find("\nThis the ratio by which the cost base can be increased.\nSo if a share was purchased in "
                           "May 93 for a total cost of \xA3" "1,000 and sold after April 98\n           the cost base is "
                           "(1+0.15) x \xA3" "1,000 = \xA3" "1,150"),
              std::string::npos);
    EXPECT_EQ(CgtRpiTableCaption(true), "RPI figures used for Capital Gains Tax post April 1998");
}

TEST(CgtTablesText, TaperAndRates)
{
    const std::string taper = CgtTaperTableText();
    EXPECT_EQ(taper.rfind("Capital Gains Tax taper for non-business assets\n\t  0\t  1\t  2\t  3\t  4\t  5\t  6\t  7\t  8\t"
                          "  9\t  10\n",
                          0),
              0u);
    EXPECT_NE(taper.find("\n\t100%\t100%\t100%\t95%\t90%\t85%\t80%\t75%\t70%\t65%\t60%\n\nNote: From 6 April 2000 AIM"),
              std::string::npos) << taper;
    EXPECT_NE(taper.find("\t100%\t92.5%\t85%\t77.5%"), std::string::npos);
    EXPECT_NE(taper.find("after 6 April 2002\n\t  0"), std::string::npos);

    const std::string rates = CgtExemptionTableText();
    EXPECT_EQ(rates.substr(0, rates.find("\n\n")),
              "Year\t1990/91\t1991/92\t1992/93\nCGT Exemption\t\xA3" "5,000\t\xA3" "5,500\t\xA3" "5,800\nLower rate\t\t\t"
              "20% \xA3" "0-\xA3" "2,000\nBasic rate\t25% \xA3" "1-\xA3" "20,700\t25% \xA3" "1-\xA3" "20,700\t25% \xA3"
              "2,001-\xA3" "23,700\nHigher rate\t40% Over \xA3" "20,700\t40% Over \xA3" "20,700\t40% Over \xA3" "23,700");
    EXPECT_NE(rates.find("Year\t2002/03\t2003/04\t2004/05\n"), std::string::npos);
    const std::string note = "\n\nNote that from 2000/2001 the Basic rate for CGT is 20%";
    EXPECT_EQ(rates.substr(rates.size() - note.size()), note);
}

TEST(CgtSummary, MenuTextsCountCalendarYears)
{
    struct Case {
        PackedDate today;
        std::string previous, current, following;
        int currentYear;
    };
    const Case cases[] = {
        {PackDate(31, 12, 2024), "Tax year 22/23", "Tax year 23/24\t, (comma)", "Tax year 24/25", 33},
        {PackDate(31, 12, 2025), "Tax year 23/24", "Tax year 24/25\t, (comma)", "Tax year 25/26", 34},
        {PackDate(1, 1, 2000), "Tax year 98/99", "Tax year 99/00\t, (comma)", "Tax year 00/01", 9},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(CgtSummaryMenuText(c.today, -1), c.previous);
        EXPECT_EQ(CgtSummaryMenuText(c.today, 0), c.current);
        EXPECT_EQ(CgtSummaryMenuText(c.today, 1), c.following);
        EXPECT_EQ(CgtSummaryYearOf(c.today, 0), c.currentYear) << FormatDate(c.today);
    }
    EXPECT_EQ(CgtSummaryCaption(36), "Tax for tax year 2026/27");
}

TEST(CgtTaxTake, RowsPlanningResidualAndTheCheckBoxes)
{
    TaxTakeInput in;
    in.name = "All";
    in.today = PackDate(1, 6, 2001); // n = 16: rows 0-15, "Planning" before row 12, row 15 the residual
    in.yearGains[11] = 10000;
    in.yearGains[13] = 1000;
    in.residual = 20000;
    std::vector<std::string> lines = TaxTakeLines(in);
    ASSERT_EQ(lines.size(), 3u + 16 + 1 + 4);
    EXPECT_EQ(lines[0], "Indicative tax take for All");
    EXPECT_EQ(lines[2], "\tExemption\tTaxable\tBasic rate\tHigher rate");
    EXPECT_EQ(lines[3], "Year 1990/91\t\xA3" "5,000 \t\xA3" "0\t\xA3" "0\t\xA3" "0");
    // 2001/02: 10,000 - 7,500 = 2,500 taxable at 20 % and 40 %.
    EXPECT_EQ(lines[14], "Year 2001/02\t\xA3" "7,500 \t\xA3" "10,000\t\xA3" "500\t\xA3" "1,000");
    EXPECT_EQ(lines[15], "Planning");
    EXPECT_EQ(lines[16], "Year 2002/03\t\xA3" "7,700*\t\xA3" "0\t\xA3" "0\t\xA3" "0");
    EXPECT_EQ(lines[19], "Residual\t\xA3" "8,400\t\xA3" "20,000\t\xA3" "2,320\t\xA3" "4,640");
    EXPECT_EQ(lines[21], "These figures assume that the tax rate starts either at the bottom of the Basic rate");
    EXPECT_EQ(lines[23], "Most tax payer will pay between the two figures.");

    in.ignoreExemption = true;
    EXPECT_EQ(TaxTakeLines(in)[14], "Year 2001/02\t\xA3" "7,500 \t\xA3" "10,000\t\xA3" "2,000\t\xA3" "4,000");
    in.doubleExemption = true; // no effect while the exemption is ignored
    EXPECT_EQ(TaxTakeLines(in)[14], "Year 2001/02\t\xA3" "7,500 \t\xA3" "10,000\t\xA3" "2,000\t\xA3" "4,000");
    in.ignoreExemption = false;
    EXPECT_EQ(TaxTakeLines(in)[14], "Year 2001/02\t\xA3" "7,500 \t\xA3" "10,000\t\xA3" "0\t\xA3" "0");

    // No gains in the three planning years: those rows and "Planning" are left out.
    in.yearGains[13] = 0;
    lines = TaxTakeLines(in);
    ASSERT_EQ(lines.size(), 3u + 13 + 4);
    EXPECT_EQ(lines[15].substr(0, 9), "Residual\t");
    // Today in 2026/27: every year to today's is a row, and the residual is taxed at the carried-on
    // rates (one exemption): 9,000 - 8,200 = 800 at 20 % and 40 %; 20,000 - 8,200 = 11,800 likewise.
    in.doubleExemption = false;
    in.today = PackDate(10, 12, 2026);
    in.yearGains[36] = 9000;
    lines = TaxTakeLines(in);
    ASSERT_EQ(lines.size(), 3u + 37 + 1 + 4);
    EXPECT_EQ(lines[39], "Year 2026/27\t\xA3" "8,200 \t\xA3" "9,000\t\xA3" "160\t\xA3" "320");
    EXPECT_EQ(lines[40], "Residual\t\xA3" "8,200\t\xA3" "20,000\t\xA3" "2,360\t\xA3" "4,720");
}

} // namespace
} // namespace qv
