// Arithmetic over packed dates. Every routine bounds the fields it reads, so a damaged date from a
// file gives a wrong date at worst, never a read outside the month tables or an endless walk.
#include "core/PackedDate.h"

#include "core/TradingCalendar.h"

namespace qv {
namespace {

constexpr int kMonthDays[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
constexpr int kDaysBeforeMonth[12] = {0, 31, 59, 90, 120, 151, 181, 212, 243, 273, 304, 334};
constexpr int kLastYearField = 127;

} // namespace

int DaysInMonth(int month0, int year0)
{
    if (month0 < 0 || month0 > 11)
        return 31;
    return kMonthDays[month0] + (month0 == 1 && IsLeapYearField(year0) ? 1 : 0);
}

int32_t DayNumberFromParts(int day0, int month0, int year0)
{
    // A month field of 12-15 (only a damaged date holds one) runs on into the next year.
    if (month0 > 11) {
        year0 += month0 / 12;
        month0 %= 12;
    }
    if (month0 < 0)
        month0 = 0;
    int32_t n = 365 * year0 + year0 / 4;
    if (month0 < 2 && IsLeapYearField(year0))
        n -= 1; // this year's leap day has not come yet
    return n + kDaysBeforeMonth[month0] + day0;
}

int32_t DateToDayNumber(PackedDate date)
{
    return DayNumberFromParts(DayField(date), MonthField(date), YearField(date));
}

PackedDate DayNumberToDate(int32_t n)
{
    if (n < 0 || n > DateToDayNumber(kLastPackedDate))
        return 0;
    // The year from the day count over 365.25, then the day within it.
    int y = int((n + 1) * 0.0027378507871321013);
    int r = n - (365 * y + (y - 1) / 4);
    int adjust = 0;
    if (r >= 59 && IsLeapYearField(y)) {
        if (r > 59)
            r -= 1;
        else
            adjust = -1; // 29 February
    }
    int k = 0;
    while (k < 12 && kDaysBeforeMonth[k] <= r)
        ++k;
    k += adjust;
    return MakePackedDate(r - kDaysBeforeMonth[k - 1], k - 1, y);
}

int WeekdayOf(PackedDate date)
{
    return DateToDayNumber(date) % 7;
}

int WeekOfYear(PackedDate date)
{
    PackedDate newYear = MakePackedDate(0, 0, YearField(date));
    int w1 = WeekdayOf(newYear);
    int week = (w1 + DateToDayNumber(date) - DateToDayNumber(newYear)) / 7;
    return w1 < 4 ? week + 1 : week; // a year starting Monday to Thursday owns its first week
}

int32_t DaysBetween(PackedDate a, PackedDate b)
{
    if (a > b)
        return DateToDayNumber(a) - DateToDayNumber(b);
    return DateToDayNumber(b) - DateToDayNumber(a);
}

PackedDate NextDay(PackedDate date)
{
    int d0 = DayField(date), m0 = MonthField(date), y = YearField(date);
    if (d0 + 1 < DaysInMonth(m0, y))
        return PackedDate(date + 1);
    if (m0 < 11)
        return MakePackedDate(0, m0 + 1, y);
    if (y >= kLastYearField)
        return 0;
    return MakePackedDate(0, 0, y + 1);
}

PackedDate PreviousDay(PackedDate date)
{
    int d0 = DayField(date), m0 = MonthField(date), y = YearField(date);
    if (d0 > 0)
        return PackedDate(date - 1);
    if (m0 > 0) {
        int prev = m0 > 11 ? 11 : m0 - 1; // a damaged month field steps back into December
        return MakePackedDate(DaysInMonth(prev, y) - 1, prev, y);
    }
    if (y == 0)
        return date;
    return MakePackedDate(30, 11, y - 1);
}

PackedDate NextWeekday(PackedDate date)
{
    do {
        date = NextDay(date);
    } while (WeekdayOf(date) > 4);
    return date;
}

PackedDate PreviousWeekday(PackedDate date, bool skipHolidays)
{
    for (;;) {
        PackedDate before = PreviousDay(date);
        if (before == date)
            return date; // nothing lies before 1 January 1900, a Monday
        date = before;
        if (WeekdayOf(date) > 4)
            continue;
        if (!skipHolidays || !IsMarketHoliday(date))
            return date;
    }
}

WeekdayCursor NextWeekdayCursor(WeekdayCursor c)
{
    if (c.weekday == 0) {
        c.date = NextWeekday(c.date);
        c.weekday = uint8_t(WeekdayOf(c.date) + 1);
    } else {
        c.date = NextDay(c.date);
        if (++c.weekday > 5) {
            c.date = c.date ? NextDay(c.date) : 0;
            c.date = c.date ? NextDay(c.date) : 0;
            c.weekday = 1;
        }
    }
    if (c.date == 0)
        return WeekdayCursor{}; // stepped past the last representable day
    return c;
}

WeekdayCursor PreviousWeekdayCursor(WeekdayCursor c)
{
    do {
        c.date = PreviousDay(c.date);
        if (c.weekday == 0) {
            c.weekday = uint8_t(WeekdayOf(c.date) + 1);
        } else if (--c.weekday == 0) {
            c.weekday = 7; // a Monday was left: Sunday
        }
    } while (c.weekday > 5);
    return c;
}

bool IsValidDate(int day0, int month0, int year)
{
    if (year >= 1951)
        year -= 1900;
    else if (year < 50)
        year += 100;
    if (year < 60 || year > kLastYearField || month0 < 0 || month0 > 11)
        return false;
    return day0 >= 0 && day0 < DaysInMonth(month0, year);
}

bool IsValidPackedDate(PackedDate date)
{
    int y = YearField(date);
    int accepted = y < 50 ? y + 100 : y;
    if (accepted < 60 || accepted > kLastYearField || MonthField(date) > 11)
        return false;
    return DayField(date) < DaysInMonth(MonthField(date), y);
}

int TwoDigitYear(PackedDate date)
{
    int y = YearField(date);
    return y > 99 ? y - 100 : y;
}

int YearOfPackedDate(PackedDate date)
{
    return TwoDigitYear(date);
}

} // namespace qv
