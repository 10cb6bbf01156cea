// The calendar's tree and lookups, the two-digit year window, the day list and its window, the
// time axis's labels and its tick step.
#include "chartmodel/ChartCalendar.h"
#include "chartmodel/TimeTickLabels.h"

#include <gtest/gtest.h>

using namespace qv;

TEST(ChartCalendar, DatesBecomeSecondsFrom2000AndBackOverEveryDayTo2027)
{
    EXPECT_EQ(DateToCalendarIndex(PackDate(1, 1, 2000)), 0u);
    EXPECT_EQ(DateToCalendarIndex(PackDate(1, 3, 2000)), 60u * 86400) << "31 + 29 days";
    EXPECT_EQ(DateToCalendarIndex(PackDate(1, 3, 1999)), 60u * 86400) << "before 2000: its place within 2000";
    EXPECT_EQ(DateToCalendarIndex(PackDate(1, 1, 2001)), 366u * 86400);
    EXPECT_EQ(DateToCalendarIndex(PackDate(1, 3, 2001)), (366u + 59) * 86400);
    EXPECT_EQ(DateToCalendarIndex(PackDate(1, 1, 2005)), (5 * 365u + 2) * 86400) << "2000 and 2004 leap years";
    EXPECT_EQ(CountTreeLeaves(*BuildCalendar()[0]), 366u * 86400);
    EXPECT_EQ(CountTreeLeaves(*BuildCalendar()[1]), 365u * 86400);
    // Every day of 2000-2027, at 13:45:07, comes back as its fields.
    uint32_t expected = 0;
    for (PackedDate d = PackDate(1, 1, 2000);; d = NextDay(d)) {
        const uint32_t index = DateToCalendarIndex(d);
        ASSERT_EQ(index, expected) << FullYear(d) << "/" << MonthOfYear(d) << "/" << DayOfMonth(d);
        expected += 86400;
        const uint32_t fields = CalendarIndexToFields(index + 13 * 3600 + 45 * 60 + 7);
        ASSERT_EQ(fields, PackDateTimeFields(FullYear(d) - 2000, MonthOfYear(d) - 1, DayOfMonth(d) - 1, 13, 45, 7));
        if (d == PackDate(31, 12, 2027))
            break;
    }
}

TEST(ChartCalendar, TickPathsTakeTheUnitBelowTheLimitTimesAFittingMultiple)
{
    struct Case {
        uint32_t limit, step;
    };
    const Case cases[] = {{1, 1}, {45, 30}, {100, 60}, {900, 900}, {1000, 900}, {7200, 3600}, {50000, 43200},
                          {86400, 86400}, {200000, 86400}};
    for (const Case& c : cases)
        EXPECT_EQ(MakeTickPath(c.limit).Step(), c.step) << c.limit;
    EXPECT_EQ(MakeTickPath(0).Step(), 0u);
    EXPECT_EQ(MakeTickPath(900).levels.size(), 5u) << "year, month, day, hour, minute";
}

TEST(ChartCalendar, TwoDigitYearsDayListsAndTheirWindow)
{
    EXPECT_EQ(YearFromTwoDigits(PackDate(31, 12, 1999)), 99);
    EXPECT_EQ(YearFromTwoDigits(PackDate(1, 1, 2000)), 100);
    EXPECT_EQ(YearFromTwoDigits(PackDate(1, 1, 2027)), 127);
    EXPECT_EQ(YearFromTwoDigits(PackDate(1, 1, 1950)), 150);
    EXPECT_EQ(YearFromTwoDigits(PackDate(1, 1, 1960)), 60);

    const std::vector<PackedDate> table{5, 3, 5, 9};
    const std::vector<PackedDate> days = BuildSortedDayList(table);
    EXPECT_EQ(days, (std::vector<PackedDate>{3, 5, 9}));
    EXPECT_TRUE(BuildSortedDayList({}).empty());
    struct Case {
        size_t w;
        PackedDate target;
        DayWindow window;
    };
    const Case cases[] = {{2, 0, {1, 2}}, {2, 4, {1, 2}}, {2, 10, {2, 1}}, {2, 9, {1, 2}}, {5, 0, {0, 3}}, {2, 3, {0, 2}}};
    for (const Case& c : cases)
        EXPECT_EQ(SelectDayWindow(days, c.w, c.target), c.window) << c.w << " " << c.target;
    EXPECT_EQ(SelectDayWindow({}, 2, 0), DayWindow{});
}

TEST(TimeTickLabels, LabelsPrintWhatChangedWithTheCodeOfTheLastPart)
{
    const uint32_t base = PackDateTimeFields(26, 11, 9, 14, 30, 0); // 10/12/26 14:30:00
    struct Case {
        uint32_t value, previous, flags;
        const char* text;
        int code;
    };
    const Case cases[] = {
        {base, base, 0, "", 0},
        {base, PackDateTimeFields(26, 11, 8, 14, 30, 0), 0, "10 ", -3},
        {base, PackDateTimeFields(25, 10, 8, 9, 0, 0), 0, "10/12/26 14:30", -5},
        {PackDateTimeFields(26, 11, 9, 15, 0, 0), base, 0, "15:00", 0},
        {PackDateTimeFields(26, 11, 9, 15, 0, 0), base, kTickKeepZeroMinute, "15", -4},
        {PackDateTimeFields(26, 11, 9, 15, 0, 0), base, kTickKeepZeroMinute | kTickMinute, "15:00", 0},
        {PackDateTimeFields(26, 11, 9, 14, 30, 15), base, 0, ".15", -6},
        {PackDateTimeFields(26, 11, 9, 14, 30, 15), base, kTickNoSeconds, "", 0},
        {PackDateTimeFields(26, 11, 9, 14, 31, 15), base, 0, ":31", -5},
        {PackDateTimeFields(26, 11, 9, 14, 31, 15), base, kTickMinute, ":31.15", -6},
        {base, base, kTickDay | kTickMonth | kTickYear | kTickHour | kTickMinute | kTickSecond, "10/12/26 14:30.00", 0},
        {PackDateTimeFields(26, 0, 9, 14, 30, 0), base, 0, "/01 ", 0},
    };
    for (const Case& c : cases) {
        std::string text;
        EXPECT_EQ(FormatDateTimeTick(text, c.value, c.previous, c.flags), c.code) << c.text;
        EXPECT_EQ(text, c.text);
    }
    std::string text;
    EXPECT_EQ(FormatTimeTick(text, 14 << 12 | 30 << 6 | 15, 14 << 12 | 30 << 6, 0), -3);
    EXPECT_EQ(text, ".15");
    EXPECT_EQ(FormatTimeTick(text, 15 << 12, 14 << 12 | 30 << 6, 0), 0);
    EXPECT_EQ(text, "15:00");
    EXPECT_FALSE(FormatDateTick(text, base, base + 5));
    EXPECT_EQ(text, "");
    EXPECT_TRUE(FormatDateTick(text, base, PackDateTimeFields(26, 11, 8, 0, 0, 0)));
    EXPECT_EQ(text, "10/12/26");
}

TEST(TimeTickLabels, TheTickStepIsTheSmallestFittingMultipleAboveTheLimit)
{
    struct Case {
        uint32_t limit, step;
    };
    const Case cases[] = {{0, 0}, {86400, 0}, {90000, 0}, {900, 1440}, {3000, 0}, {20, 30}, {7, 15}, {50000, 0}};
    for (const Case& c : cases)
        EXPECT_EQ(GetTickStep(IntradayTickTable(), c.limit), c.step) << c.limit;
}
