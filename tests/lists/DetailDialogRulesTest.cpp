// The detail chooser's selection list and the checks of the chart's default range.
#include "lists/DetailDialogRules.h"

#include <gtest/gtest.h>

#include <array>

using namespace qv;

TEST(DetailSelection, DefaultEndMarkAndDamagedLists)
{
    const auto def = DefaultDetailItems();
    EXPECT_EQ(def.size(), 26u);
    EXPECT_EQ(def.front(), 0);
    EXPECT_EQ(def.back(), 37);
    EXPECT_EQ(DetailItemsNotIncluded(def).size(), size_t(kDetailItemCount) - 26);
    EXPECT_EQ(WriteDetailSelection({}), std::vector<uint8_t>{255});
    const std::vector<uint8_t> stored = {5, 2, 9, 255, 7};
    EXPECT_EQ(ReadDetailSelection(stored), (std::vector<uint8_t>{5, 2, 9}));
    EXPECT_EQ(WriteDetailSelection(ReadDetailSelection(stored)), (std::vector<uint8_t>{5, 2, 9, 255}));
    // Indices beyond the table and repeats are dropped; a list without its end mark ends with the bytes.
    const std::vector<uint8_t> damaged = {63, 1, 1, 200, 62};
    EXPECT_EQ(ReadDetailSelection(damaged), (std::vector<uint8_t>{1, 62}));
    EXPECT_EQ(kDetailItemCodes[37], 115);
}

TEST(ChartRangeRecord, ReadsAndWritesEightBytes)
{
    const std::array<uint8_t, 8> bytes = {0x62, 0x00, 0x21, 0xA8, 0x0A, 0x00, 0x43, 0xA9};
    const ChartRange r = ReadChartRange(bytes);
    EXPECT_EQ(r.unit(), 2);
    EXPECT_TRUE(r.has(ChartRange::kCountUsed));
    EXPECT_TRUE(r.has(ChartRange::kStartUsed));
    EXPECT_FALSE(r.has(ChartRange::kLimited));
    EXPECT_EQ(r.count, 10);
    std::array<uint8_t, 8> back{};
    WriteChartRange(r, back);
    EXPECT_EQ(back, bytes);
}

TEST(ChartRangeRecord, SwitchesAndMissingDates)
{
    ChartRange r;
    r.flags = ChartRange::kLimited | ChartRange::kCountUsed | ChartRange::kStartUsed | ChartRange::kEndUsed;
    r = ApplyRangeSwitches(r);
    EXPECT_FALSE(r.has(ChartRange::kStartUsed));
    EXPECT_FALSE(r.has(ChartRange::kEndUsed));
    const ChartRange filled = FillRangeDates(ChartRange{0, 0, 5, PackDate(1, 1, 2004)}, PackDate(2, 1, 2004), PackDate(31, 12, 2004));
    EXPECT_EQ(filled.start, PackDate(2, 1, 2004));
    EXPECT_EQ(filled.end, PackDate(1, 1, 2004));
}

TEST(ChartRangeRecord, ChecksCountsDatesAndWorkingDays)
{
    const PackedDate last = PackDate(31, 12, 2004);
    const uint16_t dates = ChartRange::kLimited | ChartRange::kStartUsed | ChartRange::kEndUsed;
    const uint16_t count = ChartRange::kLimited | ChartRange::kCountUsed;
    // Monday 5 January 2004.
    const PackedDate monday = PackDate(5, 1, 2004);
    struct Case {
        ChartRange range;
        bool accepted;
        std::string message;
    } cases[] = {
        {{count | 0, 0, 4, 0}, false, "Enter a number between 5 and 5000"},
        {{count | 0, 0, 5, 0}, true, ""},
        {{count | 1, 0, 501, 0}, false, "Enter a number between 1 and 500"},
        {{count | 2, 0, 0, 0}, false, "Enter a number between 1 and 120"},
        {{count | 3, 0, 10, 0}, true, ""},
        // Three trading days after the start (Thursday) refused, four (Friday) accepted with any count.
        {{dates, monday, 0, PackDate(8, 1, 2004)}, false, "End date must be 5 working days after start date"},
        {{dates | ChartRange::kCountUsed, monday, 0, PackDate(9, 1, 2004)}, true, ""},
        // Across a weekend: Friday to the next Wednesday is four trading days after.
        {{dates, PackDate(9, 1, 2004), 0, PackDate(15, 1, 2004)}, true, ""},
        {{dates, PackDate(9, 1, 2004), 0, PackDate(14, 1, 2004)}, false, "End date must be 5 working days after start date"},
        {{ChartRange::kLimited | ChartRange::kStartUsed | ChartRange::kCountUsed, PackDate(3, 1, 2005), 20, 0}, true,
         "Warning: Start date is after the share's last price"},
    };
    for (const Case& c : cases) {
        const RangeCheck check = CheckChartRange(c.range, last);
        EXPECT_EQ(check.accepted, c.accepted) << c.message;
        EXPECT_EQ(check.message, c.message);
        EXPECT_FALSE(check.swapped);
    }
    const RangeCheck swapped = CheckChartRange({dates, PackDate(1, 6, 2004), 0, monday}, last);
    EXPECT_FALSE(swapped.accepted);
    EXPECT_TRUE(swapped.swapped);
    EXPECT_EQ(swapped.message, "End date swapped with start date");
    EXPECT_EQ(swapped.range.start, monday);
    EXPECT_EQ(swapped.range.end, PackDate(1, 6, 2004));
}

TEST(ShareDates, SortedWithoutEmptiesAtMostFifteen)
{
    std::vector<ShareDateRow> rows = {{"Year end", PackDate(31, 3, 2004)}, {"Next AGM", 0}, {"Ex-div", PackDate(1, 2, 2004)}};
    const auto sorted = SortShareDates(rows);
    ASSERT_EQ(sorted.size(), 2u);
    EXPECT_EQ(sorted[0].name, "Ex-div");
    std::vector<ShareDateRow> many(20, {"d", PackDate(1, 1, 2004)});
    EXPECT_EQ(SortShareDates(many).size(), 15u);
}
