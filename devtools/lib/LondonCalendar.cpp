// Bank holidays of England and Wales by rule, with the one-off days.
#include "devtools/lib/LondonCalendar.h"

#include <algorithm>

namespace qv::dev {

namespace {

using namespace std::chrono;

sys_days Day(int y, unsigned m, unsigned d) { return sys_days{year{y} / month{m} / day{d}}; }

bool IsWeekend(sys_days d) { return weekday{d}.iso_encoding() >= 6; }

sys_days FirstMonday(int y, unsigned m) { return sys_days{year{y} / month{m} / Monday[1]}; }
sys_days LastMonday(int y, unsigned m) { return sys_days{year{y} / month{m} / Monday[last]}; }

// Easter Sunday by the anonymous Gregorian computus.
sys_days EasterSunday(int y)
{
    int a = y % 19, b = y / 100, c = y % 100, d = b / 4, e = b % 4;
    int f = (b + 8) / 25, g = (b - f + 1) / 3, h = (19 * a + b - d - g + 15) % 30;
    int i = c / 4, k = c % 4, l = (32 + 2 * e + 2 * i - h - k) % 7;
    int m = (a + 11 * h + 22 * l) / 451;
    int month = (h + l - 7 * m + 114) / 31, day = (h + l - 7 * m + 114) % 31 + 1;
    return Day(y, unsigned(month), unsigned(day));
}

// Moves a fixed-date holiday that falls on a weekend to the next free weekday.
sys_days Substitute(sys_days d, const std::vector<sys_days>& taken)
{
    while (IsWeekend(d) || std::find(taken.begin(), taken.end(), d) != taken.end())
        d += days{1};
    return d;
}

} // namespace

std::vector<sys_days> EnglandBankHolidays(int y)
{
    std::vector<sys_days> h;
    h.push_back(Substitute(Day(y, 1, 1), h));
    sys_days easter = EasterSunday(y);
    h.push_back(easter - days{2});
    h.push_back(easter + days{1});
    // Early May: first Monday, moved to VE day's Friday in its 75th year.
    h.push_back(y == 2020 ? Day(2020, 5, 8) : FirstMonday(y, 5));
    // Spring: last Monday of May, moved for the jubilees.
    if (y == 2002)
        h.insert(h.end(), {Day(2002, 6, 3), Day(2002, 6, 4)});
    else if (y == 2012)
        h.insert(h.end(), {Day(2012, 6, 4), Day(2012, 6, 5)});
    else if (y == 2022)
        h.insert(h.end(), {Day(2022, 6, 2), Day(2022, 6, 3)});
    else
        h.push_back(LastMonday(y, 5));
    h.push_back(LastMonday(y, 8));
    std::vector<sys_days> christmas;
    christmas.push_back(Substitute(Day(y, 12, 25), christmas));
    christmas.push_back(Substitute(Day(y, 12, 26), christmas));
    h.insert(h.end(), christmas.begin(), christmas.end());
    if (y == 1999)
        h.push_back(Day(1999, 12, 31));
    if (y == 2011)
        h.push_back(Day(2011, 4, 29));
    if (y == 2022)
        h.push_back(Day(2022, 9, 19));
    if (y == 2023)
        h.push_back(Day(2023, 5, 8));
    std::sort(h.begin(), h.end());
    return h;
}

bool IsLondonTradingDay(sys_days d)
{
    if (IsWeekend(d))
        return false;
    // Days are mostly asked for in order: keep the holidays of the last year asked.
    thread_local int cachedYear = 0;
    thread_local std::vector<sys_days> holidays;
    int y = int(year_month_day{d}.year());
    if (y != cachedYear) {
        holidays = EnglandBankHolidays(y);
        cachedYear = y;
    }
    return std::find(holidays.begin(), holidays.end(), d) == holidays.end();
}

} // namespace qv::dev
