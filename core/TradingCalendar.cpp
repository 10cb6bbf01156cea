// The market holiday table and trading-day counts.
#include "core/TradingCalendar.h"

#include <algorithm>
#include <array>

namespace qv {
namespace {

// (day, month) pairs per year. The late-May bank holiday of 2003 was Monday 26 May.
struct HolidayYear {
    int year;
    int count;
    int days[9][2];
};

constexpr HolidayYear kHolidayYears[] = {
    {1994, 8, {{3, 1}, {1, 4}, {4, 4}, {2, 5}, {30, 5}, {29, 8}, {26, 12}, {27, 12}}},
    {1995, 8, {{2, 1}, {14, 4}, {17, 4}, {8, 5}, {29, 5}, {28, 8}, {25, 12}, {26, 12}}},
    {1996, 8, {{1, 1}, {5, 4}, {8, 4}, {6, 5}, {27, 5}, {26, 8}, {25, 12}, {26, 12}}},
    {1997, 8, {{1, 1}, {28, 3}, {31, 3}, {5, 5}, {26, 5}, {25, 8}, {25, 12}, {26, 12}}},
    {1998, 9, {{1, 1}, {10, 4}, {13, 4}, {4, 5}, {25, 5}, {31, 8}, {25, 12}, {28, 12}, {31, 12}}},
    {1999, 9, {{1, 1}, {2, 4}, {5, 4}, {3, 5}, {31, 5}, {30, 8}, {27, 12}, {28, 12}, {31, 12}}},
    {2000, 8, {{3, 1}, {21, 4}, {24, 4}, {1, 5}, {29, 5}, {28, 8}, {25, 12}, {26, 12}}},
    {2001, 8, {{1, 1}, {13, 4}, {16, 4}, {7, 5}, {28, 5}, {27, 8}, {25, 12}, {26, 12}}},
    {2002, 9, {{1, 1}, {29, 3}, {1, 4}, {6, 5}, {3, 6}, {4, 6}, {26, 8}, {25, 12}, {26, 12}}},
    {2003, 8, {{1, 1}, {18, 4}, {21, 4}, {5, 5}, {26, 5}, {25, 8}, {25, 12}, {26, 12}}},
    {2004, 8, {{1, 1}, {9, 4}, {12, 4}, {3, 5}, {31, 5}, {30, 8}, {27, 12}, {28, 12}}},
    {2005, 8, {{3, 1}, {25, 3}, {28, 3}, {2, 5}, {30, 5}, {29, 8}, {26, 12}, {27, 12}}},
};

constexpr std::array<PackedDate, 99> BuildHolidays()
{
    std::array<PackedDate, 99> out{};
    size_t i = 0;
    for (const HolidayYear& y : kHolidayYears)
        for (int k = 0; k < y.count; ++k)
            out[i++] = PackDate(y.days[k][0], y.days[k][1], y.year);
    return out;
}

constexpr std::array<PackedDate, 99> kHolidays = BuildHolidays();

} // namespace

std::span<const PackedDate> MarketHolidays()
{
    return kHolidays;
}

bool IsMarketHoliday(PackedDate date)
{
    return std::binary_search(kHolidays.begin(), kHolidays.end(), date);
}

int32_t CountTradingDays(PackedDate from, PackedDate to)
{
    if (from == 0)
        return 0;
    int32_t count = 0;
    // NextWeekday gives 0 past the last representable day, which ends the walk.
    for (PackedDate d = from; d >= from && d <= to; d = NextWeekday(d))
        ++count;
    return count;
}

} // namespace qv
