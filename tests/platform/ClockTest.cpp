// Tests of today's date and the time of day, through one source that tests can replace.
#include "platform/Clock.h"

#include <gtest/gtest.h>

using namespace qv;

TEST(Clock, TestsSetToday)
{
    auto real = NowLocal();
    EXPECT_GE(real.year, 2024);
    {
        FixedClock clock({2026, 12, 9, 14, 30, 5, 0, 3});
        EXPECT_EQ(NowLocal().day, 9);
        clock.set({2027, 1, 4, 8, 0, 0, 0, 1});
        EXPECT_EQ(NowLocal().year, 2027);
    }
    EXPECT_GE(NowLocal().year, 2024);
}
