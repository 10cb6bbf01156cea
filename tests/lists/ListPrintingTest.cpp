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

TEST(ListPrinting, GeometryRowsAndPages)
{
    const PrintPageGeometry g = ComputePrintPage(4800, 6800, 100, false);
    EXPECT_EQ(g.tableRight, 4600);
    EXPECT_EQ(g.footerY, 6300 + 150);
    EXPECT_EQ(g.tableBottom, 6300 - 300);
    EXPECT_EQ(g.footerX, 2400);
    EXPECT_EQ(ComputePrintPage(4800, 6800, 100, true).tableBottom, 6300);

    EXPECT_EQ(PrintPageTopRow(0, 40, 1, false), 0);
    EXPECT_EQ(PrintPageTopRow(0, 40, 3, false), 80);
    EXPECT_EQ(PrintPageTopRow(0, 40, 2, true), 0);
    EXPECT_EQ(PrintPageCount(81, 40, false, false), 3);
    EXPECT_EQ(PrintPageCount(80, 40, false, false), 2);
    EXPECT_EQ(PrintPageCount(0, 40, false, true), 2);
    EXPECT_EQ(PrintPageCount(500, 40, true, false), 1);
}
