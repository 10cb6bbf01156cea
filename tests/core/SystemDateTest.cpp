// Tests of today's date from the system clock, local-time conversions and the half-year report boundaries.
#include "core/SystemDate.h"

#include "core/Database.h"
#include "platform/Clock.h"
#include "support/FakeMessageBox.h"

#include <gtest/gtest.h>

using namespace qv;

namespace {
LocalDateTime At(int year, int month, int day, int hour = 10, int minute = 20, int second = 30)
{
    LocalDateTime t;
    t.year = year;
    t.month = month;
    t.day = day;
    t.hour = hour;
    t.minute = minute;
    t.second = second;
    return t;
}

// Sets the database's latest date for the life of the object.
struct LatestDate {
    explicit LatestDate(PackedDate d) : was(LatestDatabaseDate) { LatestDatabaseDate = d; }
    ~LatestDate() { LatestDatabaseDate = was; }
    PackedDate was;
};
} // namespace

TEST(SystemDate, ClockYearsUpTo2027AreAccepted)
{
    test::FakeMessageBox boxes;
    ResetClockWarning();
    for (int year : {1990, 2025, 2026, 2027}) {
        FixedClock clock(At(year, 12, 9, 19, 25, 50));
        ClockReading r;
        EXPECT_TRUE(ReadSystemClock(r)) << year;
        EXPECT_EQ(r.year0, year - 1900);
        EXPECT_EQ(r.month0, 11);
        EXPECT_EQ(r.day0, 8);
        EXPECT_EQ(r.hour * 3600 + r.minute * 60 + r.second, 19 * 3600 + 25 * 60 + 50);
        EXPECT_EQ(GetTodayDate(0), PackDate(9, 12, year));
    }
    EXPECT_TRUE(boxes.shown().empty());
}

TEST(SystemDate, ClockOutOfRangeWarnsOnceAndFallsBackToTheDatabaseDate)
{
    test::FakeMessageBox boxes;
    ResetClockWarning();
    LatestDate latest(PackDate(31, 12, 2027));
    for (int year : {2028, 1989}) {
        FixedClock clock(At(year, 6, 1));
        ClockReading r;
        EXPECT_FALSE(ReadSystemClock(r));
        EXPECT_EQ(r.year0, 127);
        EXPECT_EQ(r.month0, 11);
        EXPECT_EQ(r.day0, 30);
        EXPECT_EQ(r.hour, 0);
        EXPECT_EQ(GetTodayDate(1), PackDate(30, 12, 2027));
    }
    ASSERT_EQ(boxes.shown().size(), 1u);
    EXPECT_EQ(boxes.shown()[0].text, "Unable to read the system clock\n\nThe year may be out of range");
    EXPECT_EQ(boxes.shown()[0].icon, MsgIcon::Exclamation);
    ResetClockWarning();
}

TEST(SystemDate, TodayLessDaysRollsBackOverMonthsAndYears)
{
    FixedClock clock(At(2004, 3, 2));
    EXPECT_EQ(GetTodayDate(0), PackDate(2, 3, 2004));
    EXPECT_EQ(GetTodayDate(2), PackDate(29, 2, 2004));
    EXPECT_EQ(GetTodayDate(62), PackDate(31, 12, 2003));
    EXPECT_EQ(GetTodayDate(-28), PackDate(30, 3, 2004));
}

TEST(SystemDate, HalfYearBoundaries)
{
    struct Case {
        LocalDateTime today;
        PackedDate mode0, mode1;
    };
    const Case cases[] = {
        // January to June: the half-year that ended last 31 December.
        {At(2004, 3, 15), PackDate(2, 1, 2003), PackDate(31, 12, 2003)},
        // 31 December 2005 was a Saturday: Friday 30 December is the last trading day.
        {At(2006, 6, 30), PackDate(3, 1, 2005), PackDate(30, 12, 2005)},
        // July to December: 30 June of this year, stepped back from a weekend.
        {At(2026, 12, 9), PackDate(2, 1, 2026), PackDate(30, 6, 2026)},
        {At(2001, 7, 1), PackDate(2, 1, 2001), PackDate(29, 6, 2001)}, // 30 June 2001 a Saturday
        // 31 December 2000 was a Sunday; Friday 29 December is no holiday.
        {At(2001, 1, 5), PackDate(3, 1, 2000), PackDate(29, 12, 2000)},
    };
    for (const Case& c : cases) {
        FixedClock clock(c.today);
        EXPECT_EQ(GetLatestTradingDate(0), c.mode0) << c.today.year << "-" << c.today.month;
        EXPECT_EQ(GetLatestTradingDate(1), c.mode1) << c.today.year << "-" << c.today.month;
        EXPECT_EQ(GetLatestTradingDate(2), 0);
        EXPECT_EQ(GetLatestTradingDate(-1), 0);
    }
}

TEST(SystemDate, TimeValues)
{
    std::time_t t = 1000000000; // 9 September 2001, in every time zone within a day of UTC
    PackedDate d = PackedDateFromTime(t);
    EXPECT_EQ(FullYear(d), 2001);
    EXPECT_EQ(MonthOfYear(d), 9);
    EXPECT_LT(SecondsOfDayFromTime(t), 86400u);
    EXPECT_EQ(SecondsOfDayFromTime(t + 60) % 60, SecondsOfDayFromTime(t) % 60);
    // Beyond 2027 a date cannot be packed; a value past what local time can hold fails outright.
    EXPECT_EQ(PackedDateFromTime(std::time_t(4102444800)), kBadClockDate); // 2100
    constexpr std::time_t kHuge = std::time_t(1) << 62;
    EXPECT_EQ(PackedDateFromTime(kHuge), kBadClockDate);
    EXPECT_EQ(SecondsOfDayFromTime(kHuge), 65535u);
}
