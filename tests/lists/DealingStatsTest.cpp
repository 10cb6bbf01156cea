// Weekly dealing statistics: the weeks deals fall in, the tables, the series with their smoothing,
// the scale and the table lines.
#include "lists/DealingStats.h"

#include "core/CodedText.h"
#include "core/DateText.h"
#include "lists/DealingItem.h"
#include "lists/DirectorsDealings.h"
#include "support/DealingsSample.h"

#include <gtest/gtest.h>

using namespace qv;

namespace {

TEST(DealingStats, WeekRowsOfDates)
{
    EXPECT_EQ(kFirstWeekEnding, PackDate(28, 12, 1996));
    struct Case {
        PackedDate date;
        int row;
    };
    const Case cases[] = {
        {PackDate(27, 12, 1996), -1}, // before the first week
        {PackDate(28, 12, 1996), -1}, // a week-ending Saturday counts nowhere
        {PackDate(29, 12, 1996), 1},
        {PackDate(4, 1, 1997), -1},
        {PackDate(3, 1, 1997), 1},
        {PackDate(5, 1, 1997), 2},
        {PackDate(3, 12, 2026), 1562}, // far past the old 500 weeks
    };
    for (const Case& c : cases)
        EXPECT_EQ(WeekRowOfDate(c.date), c.row) << FormatDate(c.date);
}

struct Stats {
    std::vector<uint8_t> block;
    DealingsFileInfo info;
    CodingTables tables;
    WeeklyTables weekly;

    explicit Stats(const dev::DealingsFileSpec& spec)
    {
        EXPECT_EQ(ParseDealingsFile(dev::WriteDealingsFile(spec).bytes, block, info, tables), DealingsParse::Ok);
        weekly = BuildWeeklyTables(block.data(), info, tables);
    }
};

TEST(DealingStats, TablesCountSalesAndPurchasesPerGroup)
{
    dev::DealingsFileSpec spec = test::DealingsSample();
    dev::DealingItemSpec saturday = spec.items[0];
    saturday.head = false;
    saturday.date = PackDate(1, 3, 2025); // a Saturday
    dev::DealingItemSpec award = spec.items[0];
    award.head = false;
    award.dealType = "Award";
    spec.items.push_back(saturday);
    spec.items.push_back(award);
    const Stats s(spec);
    const int row = WeekRowOfDate(PackDate(3, 3, 2025));
    ASSERT_EQ(int(s.weekly.directors.size()), row + 1);
    EXPECT_EQ(s.weekly.first, row);
    EXPECT_EQ(s.weekly.last, row);
    EXPECT_EQ(s.weekly.directors[size_t(row)].weekEnding, PackDate(8, 3, 2025));
    EXPECT_EQ(s.weekly.directors[size_t(row)].sales, 1);
    EXPECT_FLOAT_EQ(s.weekly.directors[size_t(row)].salesValue, 125000);
    EXPECT_EQ(s.weekly.majorHolders[size_t(row)].purchases, 1);
    EXPECT_EQ(s.weekly.directors[size_t(row)].purchases, 0);

    const auto lines = WeeklyTableLines(s.weekly, true, true);
    ASSERT_EQ(lines.size(), 1u);
    EXPECT_EQ(lines[0], FormatDate(PackDate(8, 3, 2025)) + "\t1\t\xA3" "0.1m\t1\t\xA3" "0.0m");
    EXPECT_TRUE(WeeklyTableLines(s.weekly, false, false).empty());
}

TEST(DealingStats, SeriesSmoothingAndScale)
{
    // One director's sale in each of 20 weeks, a week apart.
    dev::DealingsFileSpec spec = test::DealingsSample();
    dev::DealingItemSpec sale = spec.items[0];
    spec.items = {};
    for (int w = 0; w < 20; ++w) {
        sale.head = w == 0;
        sale.date = PackedDate(DayNumberToDate(DateToDayNumber(PackDate(3, 3, 2025)) + 7 * w));
        sale.value = 1e6 * (w + 1);
        spec.items.push_back(sale);
    }
    const Stats s(spec);
    WeeklySeriesRequest request{true, true, false, false, s.weekly.first, s.weekly.last};
    WeeklySeries plain = BuildWeeklySeries(s.weekly, request);
    ASSERT_EQ(plain.sales.size(), 27u);
    EXPECT_EQ(plain.sales[6], -1); // before the first data week
    EXPECT_DOUBLE_EQ(plain.sales[7], 1);
    EXPECT_DOUBLE_EQ(plain.sales[26], 20);
    EXPECT_DOUBLE_EQ(plain.purchases[7], 0);

    request.smooth = true;
    WeeklySeries smooth = BuildWeeklySeries(s.weekly, request);
    // Smoothed values start 7 weeks after the first data week.
    EXPECT_EQ(smooth.sales[13], -1);
    EXPECT_DOUBLE_EQ(smooth.sales[14], (1 + 2 + 3 + 4 + 5 + 6 + 7 + 8) / 8.0);
    EXPECT_DOUBLE_EQ(smooth.sales[26], (13 + 14 + 15 + 16 + 17 + 18 + 19 + 20) / 8.0);

    const WeeklyScale scale = ScaleWeeklySeries(plain);
    EXPECT_TRUE(scale.valid);
    EXPECT_DOUBLE_EQ(scale.step, 10);
    EXPECT_EQ(scale.lines, 3);
    // Neither group: all zero, no log of 0.
    request = {false, false, false, false, s.weekly.first, s.weekly.last};
    EXPECT_FALSE(ScaleWeeklySeries(BuildWeeklySeries(s.weekly, request)).valid);
}

TEST(DealingStats, ZoomCaptionAndEmptyBlock)
{
    int first = 5, last = 50;
    EXPECT_FALSE(ZoomWeekRange(20, 30, first, last));
    EXPECT_EQ(first, 5);
    EXPECT_TRUE(ZoomWeekRange(31, 20, first, last));
    EXPECT_EQ(first, 20);
    EXPECT_EQ(last, 31);

    EXPECT_EQ(WeeklyStatsCaption(true, true), "Directors' Deals & Major Holdings' Deals");
    EXPECT_EQ(WeeklyStatsCaption(false, true), "Major Holdings' Deals");
    EXPECT_EQ(WeeklyStatsCaption(false, false), "Select Directors or Major Holdings below");

    const WeeklyTables none = BuildWeeklyTables(nullptr, {}, {});
    EXPECT_FALSE(none.hasData());
    EXPECT_EQ(none.directors.size(), 1u);
}

} // namespace
