// Tests of date texts as lists, titles, charts and files show them, and of reading typed dates.
#include "core/DateText.h"

#include <gtest/gtest.h>

using namespace qv;

TEST(DateText, FixedForms)
{
    const PackedDate d = PackDate(3, 1, 1994);
    EXPECT_EQ(FormatDate(d), "3/1/94");
    EXPECT_EQ(FormatDate(PackDate(25, 12, 2005)), "25/12/05");
    EXPECT_EQ(FormatDateWithDay(d), "Mon 3/1/94");
    EXPECT_EQ(FormatDateWithWeek(d), "Mon 3/1/94  week 1");
    EXPECT_EQ(FormatLongDate(d), "Mon 3rd Jan 1994");
    EXPECT_EQ(FormatLongDate(PackDate(22, 2, 2027)), "Mon 22nd Feb 2027");
    EXPECT_EQ(FormatMonthShortYear(d), "Jan 94");
    EXPECT_EQ(FormatMonthShortYear(PackDate(9, 12, 2026)), "Dec 26");
    EXPECT_EQ(FormatTaxYear(d), "93/94");
    EXPECT_EQ(FormatTaxYear(PackDate(5, 4, 2000)), "99/00");
    EXPECT_EQ(FormatTaxYear(PackDate(5, 4, 2001)), "00/01");
    EXPECT_EQ(FormatMonthYear(4), "1994/95");
    EXPECT_EQ(FormatMonthYear(9), "1999/00");
    EXPECT_EQ(FormatMonthYear(36), "2026/27");
    EXPECT_EQ(FormatMonthYear(112), "2102/03");
}

TEST(DateText, DatesWithTheirDayCoverTheWholeRangeFrom1956)
{
    EXPECT_EQ(FormatDateWithDay(PackDate(1, 1, 1956)), ""); // just below the accepted range
    EXPECT_EQ(FormatDateWithDay(PackDate(2, 1, 1956)), "Mon 2/1/56");
    EXPECT_EQ(FormatDateWithDay(PackDate(31, 12, 2019)), "Tue 31/12/19");
    EXPECT_EQ(FormatDateWithDay(PackDate(1, 1, 2020)), "Wed 1/1/20");
    EXPECT_EQ(FormatDateWithDay(PackDate(9, 12, 2026)), "Wed 9/12/26");
    EXPECT_EQ(FormatDateWithDay(kLastPackedDate), "Fri 31/12/27");
    EXPECT_EQ(FormatDateWithDay(0xFFFF), "");
}

TEST(DateText, StyledDates)
{
    const PackedDate d = PackDate(3, 1, 1994);
    struct Case {
        int style;
        char sep;
        const char* text;
    };
    const Case cases[] = {
        {16, '/', "03/01/94"},     {0, '/', "030194"},        {16 | 1, '-', "01-03-94"},
        {16 | 2, '.', "94.01.03"}, {16 | 8, '/', "03/01/1994"}, {16 | 8 | 1, '/', "01/03/1994"},
        {16 | 8 | 2, '-', "1994-01-03"}, {8 | 2, '/', "19940103"}, {16 | 8 | 3, '/', "1994/01/03"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(FormatDateStyled(d, c.style, c.sep), c.text) << c.style;
    EXPECT_EQ(FormatDateStyled(PackDate(31, 12, 2027), 16 | 8, '/'), "31/12/2027");
}

TEST(DateText, NamesAndSuffixes)
{
    EXPECT_EQ(GetMonthName(0), "January");
    EXPECT_EQ(GetMonthName(11), "December");
    EXPECT_EQ(GetMonthName(-3), "January");
    EXPECT_EQ(GetMonthName(12), "");
    EXPECT_EQ(GetMonthNameOfDate(PackDate(1, 9, 2001)), "September");
    EXPECT_EQ(DayName(2), "Wednesday");
    EXPECT_EQ(DayAbbreviation(6), "Sun");
    EXPECT_EQ(DayAbbreviation(7), "");
    const std::pair<int, const char*> suffixes[] = {{1, "st"},  {2, "nd"},  {3, "rd"},  {4, "th"},
                                                    {10, "th"}, {11, "th"}, {12, "th"}, {13, "th"},
                                                    {21, "st"}, {22, "nd"}, {23, "rd"}, {31, "st"}};
    for (auto [day, suffix] : suffixes)
        EXPECT_EQ(OrdinalSuffix(day), suffix) << day;
}

TEST(DateText, ParsingTypedDates)
{
    struct Case {
        const char* text;
        PackedDate date;
    };
    const Case cases[] = {
        {"1/1/05", PackDate(1, 1, 2005)},
        {"31/2/99", 0},
        {"29/2/2000", PackDate(29, 2, 2000)},
        {"29/2/1900", 0},
        {" 3/1/1994", PackDate(3, 1, 1994)},
        {"1/1/60", PackDate(1, 1, 1960)},
        {"31/12/59", 0},
        {"1/1/2026", PackDate(1, 1, 2026)},
        {"31/12/27", PackDate(31, 12, 2027)},
        {"1/1/2028", 0},
        {"32/1/05", 0},
        {"0/1/05", 0},
        {"1/13/05", 0},
        {"1/1/", 0},
        {"1/1", 0},
        {"1-1-05", 0},
        {"", 0},
        {"1/1/-5", 0},
        {"99999999999999999999/1/05", 0},
    };
    for (const Case& c : cases)
        EXPECT_EQ(ParseDate(c.text), c.date) << c.text;
}

TEST(DateText, ParsingSixDigitDates)
{
    EXPECT_EQ(ParseYYMMDD("990230", 0), PackDate(2, 3, 1999));
    EXPECT_EQ(ParseYYMMDD("xx051231", 2), PackDate(31, 12, 2005));
    EXPECT_EQ(ParseYYMMDD("600101", 0), PackDate(1, 1, 1960));
    EXPECT_EQ(ParseYYMMDD("591231", 0), 0); // 2059: past the packed range
    EXPECT_EQ(ParseYYMMDD("27123", 0), 0);
    EXPECT_EQ(ParseYYMMDD("271231", 1), 0);
    EXPECT_EQ(ParseYYMMDD("271231", 7), 0);
    EXPECT_EQ(ParseYYMMDD("271331", 0), 0);
}
