// The 16-bit packed date: day numbers, weekdays, week numbers and weekday stepping.
#pragma once

#include <cstdint>

namespace qv {

// Bits 9-15 year - 1900 (so 1900-2027), bits 5-8 month - 1, bits 0-4 day - 1. Numeric order is date
// order; 0 stands for "no date" in most callers.
using PackedDate = uint16_t;

// A date with its weekday counter (1 Monday .. 5 Friday, 0 not yet known), as day records carry it.
struct WeekdayCursor {
    PackedDate date = 0;
    uint8_t weekday = 0;
};

inline constexpr PackedDate kFirstPackedDate = 0;      // 1 January 1900
inline constexpr PackedDate kLastPackedDate = 0xFF7E;  // 31 December 2027
inline constexpr PackedDate kBadClockDate = 0xFFFF;    // clock or time value that cannot be read

constexpr PackedDate MakePackedDate(int day0, int month0, int year0)
{
    return PackedDate(((year0 & 0x7F) << 9) | ((month0 & 0x0F) << 5) | (day0 & 0x1F));
}
// From a calendar date: day 1-31, month 1-12, year 1900-2027.
constexpr PackedDate PackDate(int day, int month, int year)
{
    return MakePackedDate(day - 1, month - 1, year - 1900);
}
constexpr int DayField(PackedDate d) { return d & 0x1F; }          // day - 1
constexpr int MonthField(PackedDate d) { return (d >> 5) & 0x0F; } // month - 1
constexpr int YearField(PackedDate d) { return d >> 9; }           // year - 1900
constexpr int DayOfMonth(PackedDate d) { return DayField(d) + 1; }
constexpr int MonthOfYear(PackedDate d) { return MonthField(d) + 1; }
constexpr int FullYear(PackedDate d) { return YearField(d) + 1900; }

// 1900 is no leap year; every fourth year from 1904 on is (2000 included).
constexpr bool IsLeapYearField(int year0) { return year0 != 0 && year0 % 4 == 0; }
// Days of month m0 (0-11) in year field year0.
int DaysInMonth(int month0, int year0);

// Days since 1 January 1900 (day 0, a Monday).
int32_t DayNumberFromParts(int day0, int month0, int year0);
int32_t DateToDayNumber(PackedDate date);
// The date of a day number; numbers outside the packed range give 0.
PackedDate DayNumberToDate(int32_t dayNumber);

// 0 Monday .. 4 Friday, 5 Saturday, 6 Sunday.
int WeekdayOf(PackedDate date);
int WeekOfYear(PackedDate date);
// Days between two dates in either order, never negative.
int32_t DaysBetween(PackedDate a, PackedDate b);

// The next calendar day; 0 past 31 December 2027.
PackedDate NextDay(PackedDate date);
// The calendar day before; 1 January 1900 stays where it is.
PackedDate PreviousDay(PackedDate date);
// The next Monday-Friday date strictly after the date.
PackedDate NextWeekday(PackedDate date);
// The previous Monday-Friday date strictly before it; skipHolidays also steps over the market holidays.
PackedDate PreviousWeekday(PackedDate date, bool skipHolidays);
// {0, 0} once the step would pass 31 December 2027.
WeekdayCursor NextWeekdayCursor(WeekdayCursor cursor);
WeekdayCursor PreviousWeekdayCursor(WeekdayCursor cursor);

// day0 = day - 1, month0 = month - 1, year as typed: two digits (below 50 is 20xx) or four.
bool IsValidDate(int day0, int month0, int year);
bool IsValidPackedDate(PackedDate date);

// The two-digit year ("yy"): the year field, less 100 above 99.
int TwoDigitYear(PackedDate date);
int YearOfPackedDate(PackedDate date);

} // namespace qv
