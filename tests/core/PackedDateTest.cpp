// Tests of the 16-bit packed date.
#include "core/PackedDate.h"

#include <chrono>
#include <gtest/gtest.h>

using namespace qv;
namespace chr = std::chrono;

TEST(PackedDate, DayNumbersAndWeekdaysAgreeWithTheCivilCalendarOverTheWholeRange)
{
    const chr::sys_days epoch = chr::year{1900} / chr::January / 1;
    int32_t expected = 0;
    PackedDate previous = 0;
    for (chr::sys_days day = epoch; day <= chr::sys_days(chr::year{2027} / chr::December / 31);
         day += chr::days{1}, ++expected) {
        chr::year_month_day ymd{day};
        PackedDate d = PackDate(int(unsigned(ymd.day())), int(unsigned(ymd.month())), int(ymd.year()));
        ASSERT_EQ(DateToDayNumber(d), expected) << int(ymd.year()) << "-" << unsigned(ymd.month());
        ASSERT_EQ(DayNumberToDate(expected), d) << expected;
        ASSERT_EQ(WeekdayOf(d), int(chr::weekday{day}.iso_encoding()) - 1) << expected;
        if (expected > 0) {
            ASSERT_GT(d, previous);
            ASSERT_EQ(NextDay(previous), d) << expected;
            ASSERT_EQ(PreviousDay(d), previous) << expected;
        }
        previous = d;
    }
    EXPECT_EQ(previous, kLastPackedDate);
}

TEST(PackedDate, CalendarCases)
{
    struct Case {
        PackedDate date;
        int32_t dayNumber;
        int weekday;
        int week;
    };
    const Case cases[] = {
        {PackDate(1, 1, 1900), 0, 0, 1},
        {PackDate(28, 2, 1900), 58, 2, 9},
        {PackDate(1, 3, 1900), 59, 3, 9},
        {PackDate(31, 12, 1903), 1459, 3, 53},
        {PackDate(1, 1, 1904), 1460, 4, 0}, // a Friday: the year's first days belong to week 0
        {PackDate(29, 2, 1904), 1519, 0, 9},
        {PackDate(29, 2, 2000), 36583, 1, 9},
        {PackDate(3, 1, 1994), 34335, 0, 1},
        {PackDate(31, 12, 2027), 46750, 4, 52},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.date);
        EXPECT_EQ(DateToDayNumber(c.date), c.dayNumber);
        EXPECT_EQ(DayNumberToDate(c.dayNumber), c.date);
        EXPECT_EQ(WeekdayOf(c.date), c.weekday);
        EXPECT_EQ(WeekOfYear(c.date), c.week);
    }
    EXPECT_EQ(DaysBetween(PackDate(1, 3, 2004), PackDate(1, 3, 2003)), 366);
    EXPECT_EQ(DaysBetween(PackDate(1, 3, 2003), PackDate(1, 3, 2004)), 366);
    // Day numbers outside the packed range have no date.
    EXPECT_EQ(DayNumberToDate(-1), 0);
    EXPECT_EQ(DayNumberToDate(46751), 0);
}

TEST(PackedDate, SteppingAtTheEdgesOfMonthsYearsAndTheRange)
{
    EXPECT_EQ(NextDay(PackDate(28, 2, 1900)), PackDate(1, 3, 1900));
    EXPECT_EQ(NextDay(PackDate(28, 2, 2004)), PackDate(29, 2, 2004));
    EXPECT_EQ(NextDay(PackDate(31, 12, 1999)), PackDate(1, 1, 2000));
    EXPECT_EQ(PreviousDay(PackDate(1, 3, 2004)), PackDate(29, 2, 2004));
    EXPECT_EQ(PreviousDay(PackDate(1, 1, 2000)), PackDate(31, 12, 1999));
    // Nothing lies beyond the range: past the end is "no date", before the start stays put.
    EXPECT_EQ(NextDay(kLastPackedDate), 0);
    EXPECT_EQ(PreviousDay(kFirstPackedDate), kFirstPackedDate);
    // A damaged month field (12-15) neither reads past the month tables nor stops the walk.
    PackedDate damaged = MakePackedDate(30, 14, 100);
    EXPECT_EQ(NextDay(damaged), PackDate(1, 1, 2001));
    EXPECT_EQ(PreviousDay(MakePackedDate(0, 13, 100)), PackDate(31, 12, 2000));
    EXPECT_GT(DateToDayNumber(damaged), DateToDayNumber(PackDate(31, 12, 2000)));
}

TEST(PackedDate, WeekdaySteppingSkipsWeekendsAndOptionallyHolidays)
{
    EXPECT_EQ(NextWeekday(PackDate(7, 1, 1994)), PackDate(10, 1, 1994)); // Friday to Monday
    EXPECT_EQ(NextWeekday(PackDate(8, 1, 1994)), PackDate(10, 1, 1994)); // Saturday
    EXPECT_EQ(PreviousWeekday(PackDate(10, 1, 1994), false), PackDate(7, 1, 1994));
    // Tuesday 5 April 1994: Easter Monday, the weekend and Good Friday are passed over.
    EXPECT_EQ(PreviousWeekday(PackDate(5, 4, 1994), true), PackDate(31, 3, 1994));
    EXPECT_EQ(PreviousWeekday(PackDate(5, 4, 1994), false), PackDate(4, 4, 1994));
    // Christmas and New Year 1998/99: 25, 28 and 31 December and 1 January are all holidays.
    EXPECT_EQ(PreviousWeekday(PackDate(4, 1, 1999), true), PackDate(30, 12, 1998));
    EXPECT_EQ(PreviousWeekday(kFirstPackedDate, true), kFirstPackedDate);
    EXPECT_EQ(NextWeekday(kLastPackedDate), 0);
}

TEST(PackedDate, WeekdayCursorsKeepTheirCounterInStepWithTheCalendar)
{
    // Forward and backward over three weeks from a known and from an unknown counter.
    WeekdayCursor c{PackDate(29, 12, 1999), 0};
    for (int i = 0; i < 15; ++i) {
        c = NextWeekdayCursor(c);
        ASSERT_EQ(c.weekday, WeekdayOf(c.date) + 1) << i;
    }
    EXPECT_EQ(c.date, PackDate(19, 1, 2000));
    for (int i = 0; i < 15; ++i) {
        c = PreviousWeekdayCursor(c);
        ASSERT_EQ(c.weekday, WeekdayOf(c.date) + 1) << i;
    }
    EXPECT_EQ(c.date, PackDate(29, 12, 1999));
    // From a Monday backwards: Sunday (7) and Saturday (6) are passed, Friday gets 5.
    WeekdayCursor monday{PackDate(10, 1, 1994), 1};
    WeekdayCursor friday = PreviousWeekdayCursor(monday);
    EXPECT_EQ(friday.date, PackDate(7, 1, 1994));
    EXPECT_EQ(friday.weekday, 5);
    WeekdayCursor unknown{PackDate(9, 1, 1994), 0}; // a Sunday
    EXPECT_EQ(NextWeekdayCursor(unknown).date, PackDate(10, 1, 1994));
    EXPECT_EQ(NextWeekdayCursor(unknown).weekday, 1);
    EXPECT_EQ(PreviousWeekdayCursor(unknown).date, PackDate(7, 1, 1994));
    EXPECT_EQ(PreviousWeekdayCursor(unknown).weekday, 5);
    // Nothing follows the last representable day, a Friday, whatever the counter says.
    for (uint8_t counter : {0, 5, 3}) {
        WeekdayCursor end = NextWeekdayCursor({kLastPackedDate, counter});
        EXPECT_EQ(end.date, 0);
        EXPECT_EQ(end.weekday, 0);
    }
    EXPECT_EQ(NextWeekdayCursor({PackDate(30, 12, 2027), 4}).date, kLastPackedDate);
}

TEST(PackedDate, ValidDates)
{
    struct Case {
        int day0, month0, year;
        bool valid;
    };
    const Case cases[] = {
        {28, 1, 2000, true},  {28, 1, 0, true},    {28, 1, 99, false}, {27, 1, 99, true},
        {28, 1, 96, true},    {30, 2, 5, true},    {30, 3, 5, false},  {0, 0, 1960, true},
        {30, 11, 59, false},  {0, 0, 60, true},    {30, 11, 2025, true}, {0, 0, 2026, true},
        {30, 11, 2027, true}, {0, 0, 2028, false}, {0, 0, 27, true},   {0, 0, 28, false},
        {-1, 0, 2000, false}, {0, 12, 2000, false}, {0, -1, 2000, false},
    };
    for (const Case& c : cases)
        EXPECT_EQ(IsValidDate(c.day0, c.month0, c.year), c.valid) << c.day0 << " " << c.month0 << " " << c.year;

    EXPECT_TRUE(IsValidPackedDate(PackDate(31, 12, 2027)));
    EXPECT_TRUE(IsValidPackedDate(PackDate(1, 1, 2026)));
    EXPECT_TRUE(IsValidPackedDate(PackDate(1, 1, 1960)));
    EXPECT_FALSE(IsValidPackedDate(PackDate(31, 12, 1959)));
    EXPECT_FALSE(IsValidPackedDate(PackDate(29, 2, 1999)));
    EXPECT_FALSE(IsValidPackedDate(MakePackedDate(0, 12, 100)));
    EXPECT_FALSE(IsValidPackedDate(MakePackedDate(30, 3, 100))); // 31 April
}

TEST(PackedDate, TwoDigitYears)
{
    EXPECT_EQ(TwoDigitYear(PackDate(3, 1, 1994)), 94);
    EXPECT_EQ(TwoDigitYear(PackDate(3, 1, 2005)), 5);
    EXPECT_EQ(YearOfPackedDate(PackDate(3, 1, 2027)), 27);
    EXPECT_EQ(TwoDigitYear(PackDate(3, 1, 1900)), 0);
}
