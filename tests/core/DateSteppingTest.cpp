// Stepping packed dates and the start dates of period settings.
#include "core/DateStepping.h"

#include <gtest/gtest.h>

using namespace qv;

namespace {

constexpr PackedDate D(int year, int month, int day)
{
    return uint16_t(((year - 1900) << 9) | ((month - 1) << 5) | (day - 1));
}

} // namespace

TEST(DateSteppingTest, AddToDateByUnit)
{
    struct Case {
        uint16_t from;
        int n, unit;
        uint16_t to;
    } cases[] = {
        {D(2005, 1, 31), 1, 2, D(2005, 2, 31)},   // the day number stays
        {D(2005, 1, 30), -2, 2, D(2004, 11, 30)}, // months carry back into the year before
        {D(2004, 11, 15), 3, 2, D(2005, 2, 15)},
        {D(2004, 2, 28), 1, 0, D(2004, 2, 29)},   // leap day
        {D(2003, 2, 28), 1, 0, D(2003, 3, 1)},
        {D(1900, 2, 28), 1, 0, D(1900, 3, 1)},    // 1900 has no leap day
        {D(2005, 1, 3), -1, 1, D(2004, 12, 27)},
        {D(1999, 12, 31), 1, 0, D(2000, 1, 1)},
        {D(2000, 3, 1), -1, 0, D(2000, 2, 29)},
        {D(2004, 2, 29), 1, 3, D(2005, 2, 29)},
        {D(2005, 6, 1), 7, 9, D(2005, 6, 1)},     // another unit
        {D(2027, 12, 31), 1, 0, D(2027, 12, 31)}, // beyond the packed years: unchanged
        {D(1900, 1, 1), -1, 2, D(1900, 1, 1)},
        {D(2020, 1, 1), 10, 3, D(2020, 1, 1)},
    };
    for (const auto& c : cases)
        EXPECT_EQ(AddToDate(c.from, c.n, c.unit), c.to) << c.from << " " << c.n << " " << c.unit;
}

TEST(DateSteppingTest, PeriodStartDateByUnit)
{
    uint16_t from = D(2005, 3, 15);
    struct Case {
        uint32_t period;
        int32_t start;
    } cases[] = {
        {D(2001, 1, 2), D(2001, 1, 2)},
        {0x20002, D(2005, 3, 1)},
        {0x30001, D(2005, 2, 15)},
        {0x40002, D(2003, 3, 15)},
        {0x50010, -16},
        {0x10005, D(2005, 3, 10)},
        {0x90001, D(2005, 3, 14)},
    };
    for (const auto& c : cases)
        EXPECT_EQ(PeriodStartDate(c.period, from), c.start) << std::hex << c.period;
}

TEST(DateSteppingTest, PeriodItemTexts)
{
    EXPECT_EQ(PeriodItemText(0, "5"), "5 days");
    EXPECT_EQ(PeriodItemText(2, "3"), "3 months");
    EXPECT_EQ(PeriodItemText(4, "10"), "10 percent");
    EXPECT_EQ(PeriodItemText(5, "7"), "7");
}
