// Tests of the fixed market holidays and counting trading days between two dates.
#include "core/TradingCalendar.h"

#include <algorithm>
#include <gtest/gtest.h>

using namespace qv;

TEST(TradingCalendar, HolidayTableHoldsNinetyNineWeekdaysInOrder)
{
    auto holidays = MarketHolidays();
    ASSERT_EQ(holidays.size(), 99u);
    EXPECT_TRUE(std::is_sorted(holidays.begin(), holidays.end()));
    for (PackedDate d : holidays) {
        EXPECT_TRUE(IsValidPackedDate(d)) << d;
        EXPECT_LT(WeekdayOf(d), 5) << FullYear(d) << "-" << MonthOfYear(d) << "-" << DayOfMonth(d);
    }
    EXPECT_EQ(holidays.front(), PackDate(3, 1, 1994));
    EXPECT_EQ(holidays.back(), PackDate(27, 12, 2005));
    EXPECT_TRUE(IsMarketHoliday(PackDate(26, 5, 2003)));
    EXPECT_FALSE(IsMarketHoliday(PackDate(25, 5, 2003)));
    EXPECT_TRUE(IsMarketHoliday(PackDate(4, 6, 2002)));
    EXPECT_FALSE(IsMarketHoliday(PackDate(25, 12, 2006)));
}

TEST(TradingCalendar, CountTradingDays)
{
    struct Case {
        PackedDate from, to;
        int32_t count;
    };
    const Case cases[] = {
        {PackDate(8, 1, 1994), PackDate(14, 1, 1994), 6}, // Saturday counts, then Monday to Friday
        {PackDate(10, 1, 1994), PackDate(10, 1, 1994), 1},
        {PackDate(11, 1, 1994), PackDate(10, 1, 1994), 0},
        {0, PackDate(10, 1, 1994), 0},
        {PackDate(1, 1, 2026), PackDate(31, 12, 2026), 261},
        {PackDate(27, 12, 2027), kLastPackedDate, 5}, // walks off the end of the range and stops
    };
    for (const Case& c : cases)
        EXPECT_EQ(CountTradingDays(c.from, c.to), c.count) << c.from << " " << c.to;
}
