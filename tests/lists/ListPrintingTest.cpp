// List printing's footer, page geometry and page rows.
#include "lists/ListPrinting.h"

#include <gtest/gtest.h>

using namespace qv;

TEST(ListPrinting, FooterWithoutZeroPadding)
{
    LocalDateTime at;
    at.year = 2004;
    at.month = 3;
    at.day = 2;
    at.hour = 9;
    at.minute = 5;
    EXPECT_EQ(PrintFooterText(3, at), "Page 3  9:5  2/3/2004");
    at.hour = 23;
    at.minute = 59;
    at.day = 31;
    at.month = 12;
    EXPECT_EQ(PrintFooterText(12, at), "Page 12  23:59  31/12/2004");
}

TEST(ListPrinting, PageGeometry)
{
    const PrintPageGeometry g = ComputePrintPage(4800, 6800, 100, false);
    EXPECT_EQ(g.tableRight, 4600);
    EXPECT_EQ(g.footerY, 6300 + 150);
    EXPECT_EQ(g.tableBottom, 6300 - 100);
    EXPECT_EQ(g.footerX, 2400);
    EXPECT_EQ(ComputePrintPage(4800, 6800, 100, true).tableBottom, 6300);
}

TEST(ListPrinting, PagesOfListsAndDataMiningViews)
{
    struct Case {
        int rowPages;
        bool hasOwnPage;
        bool dataMining;
        DataMiningPrintOptions options;
        int pages;
        bool own;
    };
    const Case cases[] = {
        {3, false, false, {}, 3, false},
        {0, false, false, {}, 1, false},                // an empty list still prints its headings
        {3, true, false, {true, true}, 3, false},       // only data-mining views have an own page
        {3, false, true, {true, true}, 3, false},       // a data-mining view without one prints its rows
        {3, true, true, {false, true}, 3, false},
        {3, true, true, {true, true}, 4, true},
        {3, true, true, {true, false}, 1, true},        // the own page alone
        {3, true, true, {false, false}, 3, false},      // nothing asked: the rows
    };
    for (const Case& c : cases) {
        const ListPrintPlan plan = PlanListPrint(c.rowPages, c.hasOwnPage, c.dataMining ? &c.options : nullptr);
        EXPECT_EQ(plan.pages, c.pages) << c.rowPages << c.hasOwnPage << c.dataMining;
        EXPECT_EQ(plan.ownFirstPage, c.own) << c.rowPages << c.hasOwnPage << c.dataMining;
    }
    ListPrintPlan own;
    own.ownFirstPage = true;
    EXPECT_EQ(own.rowPage(1), 0);
    EXPECT_EQ(own.rowPage(2), 1);
    EXPECT_EQ(ListPrintPlan{}.rowPage(2), 2);
}

TEST(ListPrinting, ScaleAndPrintFontSize)
{
    EXPECT_EQ(PrintingScale(1200, 96), 900);
    EXPECT_EQ(PrintingScale(96, 96), 72);
    EXPECT_EQ(PrintingScale(0, 96), 72);
    EXPECT_EQ(PrintFontPoints(0, 9), 9);         // the screen rule
    EXPECT_EQ(PrintFontPoints(0x80 | 14, 9), 9); // bit 7: the screen's fonts
    EXPECT_EQ(PrintFontPoints(14, 9), 14);
}
