// The demo dealings: thousands of entries of every category that the reader takes back.
#include "devtools/lib/DemoDealings.h"

#include "core/CodedText.h"
#include "lists/DealingItem.h"
#include "lists/DealingStats.h"
#include "lists/DirectorsDealings.h"
#include "lists/HoldList.h"

#include <gtest/gtest.h>

using namespace qv;
using namespace std::chrono;

TEST(DemoDealings, ReadBackWithEveryCategoryAndWeeklyData)
{
    const dev::DemoDatabase demo = dev::BuildDemoDatabase(sys_days{year{2026} / December / 8});
    const dev::DealingsFileSpec spec = dev::BuildDemoDealings(demo);
    EXPECT_GT(spec.items.size(), 2000u);
    std::vector<uint8_t> block;
    DealingsFileInfo info;
    CodingTables tables;
    ASSERT_EQ(ParseDealingsFile(dev::WriteDealingsFile(spec).bytes, block, info, tables), DealingsParse::Ok);
    EXPECT_EQ(size_t(info.entryCount), spec.items.size());

    std::vector<RecordCursor> rows = BuildHoldRows(block.data(), 0x0F, {}, [](uint16_t) {
        return reinterpret_cast<const uint8_t*>("");
    });
    const HoldCounts counts = CountHoldRows(rows);
    EXPECT_GT(counts.directorDeals, 500);
    EXPECT_GT(counts.directorHoldings, 300);
    EXPECT_GT(counts.majorDeals, 50);
    EXPECT_GT(counts.majorHoldings, 50);
    for (const RecordCursor& row : rows)
        ASSERT_TRUE(DecodeDealing(row.record - 1, info, tables).complete);

    // Every deal of the demo lies past the old 500 weeks and still counts.
    const WeeklyTables weekly = BuildWeeklyTables(block.data(), info, tables);
    ASSERT_TRUE(weekly.hasData());
    EXPECT_GT(weekly.first, 500);
}
