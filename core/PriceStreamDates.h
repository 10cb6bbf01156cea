// Stand-in date steps for the price stream until the packed-date helpers land; replaced by them.
#pragma once

#include <cstdint>

namespace qv::stream_dates {

inline int YearField(uint16_t d) { return d >> 9; }
inline int MonthField(uint16_t d) { return (d >> 5) & 0x0F; }
inline int DayField(uint16_t d) { return d & 0x1F; }
inline uint16_t Pack(int y, int m, int d) { return uint16_t((y << 9) | (m << 5) | d); }

inline bool LeapYearField(int y) { return y != 0 && y % 4 == 0; }

inline int MonthLength(int y, int m)
{
    static const int kLengths[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    return kLengths[m % 12] + (m == 1 && LeapYearField(y) ? 1 : 0);
}

inline int32_t DayNumber(uint16_t d)
{
    static const int kBefore[12] = {0, 31, 59, 90, 120, 151, 181, 212, 243, 273, 304, 334};
    int y = YearField(d), m = MonthField(d) % 12;
    int32_t n = 365 * y + y / 4;
    if (m < 2 && LeapYearField(y))
        --n;
    return n + kBefore[m] + DayField(d);
}

inline int WeekdayIndex(uint16_t d) { return DayNumber(d) % 7; }

inline uint16_t NextDay(uint16_t d)
{
    int y = YearField(d), m = MonthField(d), day = DayField(d);
    if (day + 1 < MonthLength(y, m))
        return Pack(y, m, day + 1);
    if (m >= 11)
        return Pack((y + 1) & 0x7F, 0, 0);
    return Pack(y, m + 1, 0);
}

inline uint16_t PreviousDay(uint16_t d)
{
    int y = YearField(d), m = MonthField(d), day = DayField(d);
    if (day > 0)
        return Pack(y, m, day - 1);
    if (m == 0)
        return Pack((y - 1) & 0x7F, 11, 30);
    return Pack(y, m - 1, MonthLength(y, m - 1) - 1);
}

inline uint16_t PreviousWeekday(uint16_t d)
{
    do
        d = PreviousDay(d);
    while (WeekdayIndex(d) >= 5);
    return d;
}

struct Cursor {
    uint16_t date;
    uint8_t counter;
};

inline Cursor NextWeekdayCursor(Cursor c)
{
    if (c.counter == 0) {
        do
            c.date = NextDay(c.date);
        while (WeekdayIndex(c.date) >= 5);
        c.counter = uint8_t(WeekdayIndex(c.date) + 1);
        return c;
    }
    c.date = NextDay(c.date);
    if (++c.counter > 5) {
        c.date = NextDay(NextDay(c.date));
        c.counter = 1;
    }
    return c;
}

} // namespace qv::stream_dates
