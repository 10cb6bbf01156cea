// Tests of the London market's trading days.
#include "devtools/lib/LondonCalendar.h"

#include <gtest/gtest.h>

using namespace qv::dev;
using namespace std::chrono;

TEST(LondonCalendar, BankHolidaysOfSomeYears)
{
    auto d = [](int y, unsigned m, unsigned day) { return sys_days{year{y} / month{m} / std::chrono::day{day}}; };
    struct {
        int year;
        std::vector<sys_days> want;
    } cases[] = {
        {2010, {d(2010, 1, 1), d(2010, 4, 2), d(2010, 4, 5), d(2010, 5, 3), d(2010, 5, 31), d(2010, 8, 30),
                d(2010, 12, 27), d(2010, 12, 28)}},
        {2011, {d(2011, 1, 3), d(2011, 4, 22), d(2011, 4, 25), d(2011, 4, 29), d(2011, 5, 2), d(2011, 5, 30),
                d(2011, 8, 29), d(2011, 12, 26), d(2011, 12, 27)}},
        {2020, {d(2020, 1, 1), d(2020, 4, 10), d(2020, 4, 13), d(2020, 5, 8), d(2020, 5, 25), d(2020, 8, 31),
                d(2020, 12, 25), d(2020, 12, 28)}},
        {2022, {d(2022, 1, 3), d(2022, 4, 15), d(2022, 4, 18), d(2022, 5, 2), d(2022, 6, 2), d(2022, 6, 3),
                d(2022, 8, 29), d(2022, 9, 19), d(2022, 12, 26), d(2022, 12, 27)}},
        {2026, {d(2026, 1, 1), d(2026, 4, 3), d(2026, 4, 6), d(2026, 5, 4), d(2026, 5, 25), d(2026, 8, 31),
                d(2026, 12, 25), d(2026, 12, 28)}},
    };
    for (const auto& c : cases)
        EXPECT_EQ(EnglandBankHolidays(c.year), c.want) << c.year;
    EXPECT_FALSE(IsLondonTradingDay(d(2026, 12, 12)));  // Saturday
    EXPECT_FALSE(IsLondonTradingDay(d(2026, 12, 28)));
    EXPECT_TRUE(IsLondonTradingDay(d(2026, 12, 29)));
}
