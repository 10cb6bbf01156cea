// The embedded RPI series against the published file, the indexation factors and the date indexes.
#include "portfolio/CgtTables.h"

#include <gtest/gtest.h>

#include <cmath>
#include <fstream>
#include <string>

namespace qv {
namespace {

struct PublishedMonth {
    int year, month;
    std::string rpiText;
    double rpi;
};

std::vector<PublishedMonth> ReadPublishedRpi()
{
    std::ifstream in(QV_SOURCE_DIR "/tests/portfolio/data/rpi-1982-1998.csv");
    std::string line;
    std::getline(in, line);
    EXPECT_EQ(line, "month,rpi");
    std::vector<PublishedMonth> out;
    while (std::getline(in, line)) {
        if (line.empty())
            continue;
        PublishedMonth m{std::stoi(line.substr(0, 4)), std::stoi(line.substr(5, 2)), line.substr(8), 0};
        m.rpi = std::stod(m.rpiText);
        out.push_back(m);
    }
    return out;
}

TEST(CgtTablesTest, EmbeddedRpiIsThePublishedSeries)
{
    auto published = ReadPublishedRpi();
    ASSERT_EQ(published.size(), size_t(kRpiMonths));
    for (size_t i = 0; i < published.size(); ++i) {
        const PublishedMonth& m = published[i];
        int index = CgtMonthIndex(PackDate(1, m.month, m.year));
        EXPECT_EQ(index, int(i)) << m.year << "-" << m.month;
        EXPECT_EQ(RpiOfMonth(index), m.rpi) << m.year << "-" << m.month;
    }
}

// Every factor published for disposals in April 1998, recomputed from the series as text.
TEST(CgtTablesTest, FactorsRecomputeFromTheFile)
{
    auto published = ReadPublishedRpi();
    const double april1998 = published.back().rpi;
    for (size_t i = 0; i + 1 < published.size(); ++i) {
        double expected = std::round((april1998 - published[i].rpi) / published[i].rpi * 1000) / 1000;
        EXPECT_DOUBLE_EQ(IndexationFactor(int(i)), expected) << published[i].year << "-" << published[i].month;
    }
    struct {
        int day, month, year;
        double factor;
    } const anchors[] = {{15, 3, 1982, 1.047}, {30, 4, 1982, 1.006}, {1, 1, 1987, 0.626},
                         {31, 7, 1990, 0.282}, {1, 5, 1993, 0.152}, {20, 4, 1998, 0}};
    for (auto a : anchors)
        EXPECT_DOUBLE_EQ(IndexationFactor(CgtMonthIndex(PackDate(a.day, a.month, a.year))), a.factor)
            << a.month << "/" << a.year;
}

TEST(CgtTablesTest, MonthAndTaxYearIndexes)
{
    EXPECT_EQ(CgtMonthIndex(PackDate(1, 1, 1970)), 0);
    EXPECT_EQ(CgtMonthIndex(PackDate(1, 6, 2005)), kRpiMonths - 1);
    EXPECT_EQ(CgtTaxYearIndex(PackDate(5, 4, 1991)), 0);
    EXPECT_EQ(CgtTaxYearIndex(PackDate(6, 4, 1991)), 1);
    EXPECT_EQ(CgtTaxYearIndex(PackDate(5, 4, 2010)), 19);
    EXPECT_EQ(CgtTaxYearIndex(PackDate(6, 4, 2012)), 22);
    EXPECT_EQ(CgtTaxYearIndex(PackDate(31, 12, 2027)), kCgtLastTaxYear);
    EXPECT_EQ(CgtTaxYearIndex(CgtDate::Valuation), kCgtValuationYear);
    EXPECT_LT(CgtTaxYearIndex(PackDate(5, 4, 1990)), 0);
    EXPECT_EQ(NonBusinessTaper(4), 90);
    EXPECT_EQ(NonBusinessTaper(14), 60);
    // 2008/09's figures carry on for the later years.
    EXPECT_EQ(AnnualExemption(19), 8200);
    EXPECT_EQ(CgtRatesOfYear(36).basicBand, 30500);
    EXPECT_EQ(CgtRatesOfYear(36).higherRate, 40);
}

// The rate a gain is taxed at from the bottom of the basic-rate band is the income tax basic rate up to
// 1999/2000 and 20 % from 2000/01, whatever the income tax table says; above the band the higher rate.
TEST(CgtTablesTest, TaxOnATaxableGain)
{
    const struct {
        int year;
        double taxable;
        int basicRate;
        double atBasic;
        double atHigher;
    } cases[] = {
        {5, 30000, 25, 7500 + 5700 * 0.15, 12000},   // 1995/96: band 24,300
        {9, 10000, 23, 2300, 4000},                  // 1999/2000, the last year at the income tax rate
        {10, 10000, 20, 2000, 4000},                 // 2000/01: the table says 22 %
        {10, 30000, 20, 6000 + 1600 * 0.2, 12000},   // band 28,400
        {36, 40000, 20, 8000 + 9500 * 0.2, 16000},   // 2026/27 on 2008/09's band of 30,500
        {18, 0, 20, 0, 0},
    };
    for (const auto& c : cases) {
        const CgtTaxTake tax = CgtTaxOn(c.year, c.taxable);
        EXPECT_EQ(tax.basicRate, c.basicRate) << c.year;
        EXPECT_NEAR(tax.atBasic, c.atBasic, 1e-6) << c.year << " " << c.taxable;
        EXPECT_NEAR(tax.atHigher, c.atHigher, 1e-6) << c.year << " " << c.taxable;
    }
}

} // namespace
} // namespace qv
