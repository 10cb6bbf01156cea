// Date stepping over packed dates through their day numbers.
#include "core/DateStepping.h"

namespace qv {
namespace {

constexpr int kDaysBeforeMonth[12] = {0, 31, 59, 90, 120, 151, 181, 212, 243, 273, 304, 334};

int Year(uint16_t d) { return d >> 9; }
int Month0(uint16_t d) { return (d >> 5) & 0xF; }
int Day0(uint16_t d) { return d & 0x1F; }

uint16_t Pack(int year, int month0, int day0) { return uint16_t((year << 9) | (month0 << 5) | day0); }
bool YearFits(int year) { return year >= 0 && year <= 127; }

// Days since 1 January 1900 (1900 itself has no leap day).
int32_t DayNumber(int year, int month0, int day0)
{
    int32_t n = 365 * year + year / 4;
    if (month0 < 2 && year % 4 == 0 && year != 0)
        --n;
    return n + kDaysBeforeMonth[month0 % 12] + day0;
}

bool FromDayNumber(int32_t n, uint16_t& date)
{
    if (n < 0)
        return false;
    int year = int(n / 365);
    while (year > 0 && DayNumber(year, 0, 0) > n)
        --year;
    while (DayNumber(year + 1, 0, 0) <= n)
        ++year;
    if (!YearFits(year))
        return false;
    int32_t day = n - DayNumber(year, 0, 0);
    bool leap = year % 4 == 0 && year != 0;
    int month0 = 11;
    while (month0 > 0 && day < kDaysBeforeMonth[month0] + (leap && month0 >= 2 ? 1 : 0))
        --month0;
    day -= kDaysBeforeMonth[month0] + (leap && month0 >= 2 ? 1 : 0);
    date = Pack(year, month0, day);
    return true;
}

} // namespace

uint16_t AddToDate(uint16_t date, int32_t n, int unit)
{
    int year = Year(date), month0 = Month0(date), day0 = Day0(date);
    switch (unit) {
    case 0:
    case 1: {
        uint16_t result = date;
        int64_t days = int64_t(n) * (unit == 1 ? 7 : 1);
        if (days < -100000 || days > 100000)
            return date;
        return FromDayNumber(DayNumber(year, month0, day0) + int32_t(days), result) ? result : date;
    }
    case 2: {
        int64_t months = int64_t(year) * 12 + month0 + n;
        if (months < 0 || months / 12 > 127)
            return date;
        return Pack(int(months / 12), int(months % 12), day0);
    }
    case 3: {
        int64_t y = int64_t(year) + n;
        return y >= 0 && y <= 127 ? Pack(int(y), month0, day0) : date;
    }
    default: return date;
    }
}

int32_t PeriodStartDate(uint32_t period, uint16_t from)
{
    if (period < 0x10000)
        return int32_t(period);
    int32_t count = int32_t(period & 0xFFFF);
    switch (period >> 16) {
    case 2: return AddToDate(from, -count, 1);
    case 3: return AddToDate(from, -count, 2);
    case 4: return AddToDate(from, -count, 3);
    case 5: return -count;
    default: return AddToDate(from, -count, 0);
    }
}

std::string PeriodItemText(int unit, const std::string& value)
{
    static const char* const kUnits[] = {" days", " weeks", " months", " years", " percent"};
    return unit >= 0 && unit <= 4 ? value + kUnits[unit] : value;
}

} // namespace qv
