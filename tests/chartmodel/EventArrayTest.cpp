// The daily chart's event array: sorted by date, no repeats, room doubling; the events it gathers.
#include "chartmodel/EventArray.h"

#include "chartmodel/GraphSettingDefaults.h"
#include "chartmodel/GraphSettingLayout.h"
#include "core/ConfigRecords.h"
#include "core/DateStepping.h"
#include "core/Portfolio.h"
#include "core/RecordAccess.h"
#include "core/RecordCursor.h"
#include "platform/ByteOrder.h"
#include "portfolio/Transaction.h"

#include <gtest/gtest.h>

namespace qv {
namespace {

namespace gs = graphsetting;

TEST(EventArray, SortedWithoutRepeatsAndDoubling)
{
    EventArray events;
    EXPECT_EQ(events.capacity(), 10);
    // Dates out of order, one repeat of date and marker, one date twice with another marker.
    const uint32_t dates[] = {50, 10, 30, 20, 40, 60, 15, 25, 35, 45, 55};
    for (uint32_t d : dates)
        EXPECT_TRUE(events.AddEvent(d, float(d), EventMarkerOffset(8)));
    EXPECT_FALSE(events.AddEvent(30, 99, EventMarkerOffset(8)));
    EXPECT_TRUE(events.AddEvent(30, 31, EventMarkerOffset(4)));
    EXPECT_EQ(events.count(), 12);
    EXPECT_EQ(events.capacity(), 20);
    const std::vector<ChartEventEntry> entries = events.Entries();
    for (size_t i = 1; i < entries.size(); ++i)
        EXPECT_LE(entries[i - 1].date, entries[i].date) << i;
    // The later event of the same date comes after the earlier one; prices travel with their dates.
    EXPECT_EQ(entries[4].date, 30u);
    EXPECT_EQ(entries[4].price, 30.0f);
    EXPECT_EQ(entries[5].marker, EventMarkerOffset(4));
    EXPECT_EQ(EventMarkerIndex(entries[5].marker), 4);
}

TEST(EventArray, PriceScaleChangesWhenTheirMarkerIsShown)
{
    GraphSetting setting{};
    InitGraphSetting(setting, false);
    std::vector<DayRecord> days(6);
    PackedDate date = PackDate(6, 1, 2020);
    for (size_t i = 0; i < days.size(); ++i, date = NextWeekday(date)) {
        days[i].date = date;
        days[i].close = 100.0f + float(i);
        days[i].unit = i < 3 ? 1.0f : 0.5f;
    }
    days[5].unit = 0.25f;
    EventArray hidden;
    GatherChartEvents(hidden, setting, days.data(), 6, nullptr);
    EXPECT_EQ(hidden.count(), 0);

    gs::SetU8(setting, gs::EventEntry(8) + gs::kEventShown, 1);
    EventArray events;
    GatherChartEvents(events, setting, days.data(), 6, nullptr);
    ASSERT_EQ(events.count(), 2);
    EXPECT_EQ(events.At(0).date, days[3].date);
    EXPECT_EQ(events.At(0).price, 103.0f);
    EXPECT_EQ(events.At(1).date, days[5].date);
    EXPECT_EQ(events.At(1).marker, EventMarkerOffset(8));
}

TEST(EventArray, TheSharesTransactionsInThePortfolio)
{
    GraphSetting setting{};
    InitGraphSetting(setting, false);
    for (int marker : {5, 6, 7})
        gs::SetU8(setting, gs::EventEntry(marker) + gs::kEventShown, 1);
    std::vector<DayRecord> days(10);
    PackedDate date = PackDate(6, 1, 2020);
    for (size_t i = 0; i < days.size(); ++i, date = NextWeekday(date)) {
        days[i].date = date;
        days[i].close = 100.0f + float(i);
        days[i].unit = 1;
    }
    // A sale, a purchase, another share's purchase, a dividend and the 'Latest' row.
    struct Row {
        uint16_t share;
        uint8_t type;
        size_t day;
    };
    const Row rows[] = {{0x4001, 2, 7}, {0x4001, 1, 2}, {0x4002, 1, 3}, {0x4001, 5, 5}, {0x4001, 15, 9}};
    std::vector<Transaction> transactions(std::size(rows));
    for (size_t i = 0; i < transactions.size(); ++i) {
        TransactionFields fields;
        fields.shareId = rows[i].share;
        fields.type = rows[i].type;
        fields.date = days[rows[i].day].date;
        transactions[i].bytes = *EncodeTransaction(fields);
        transactions[i].next = i + 1 < transactions.size() ? &transactions[i + 1] : nullptr;
    }
    Portfolio portfolio;
    portfolio.transactions = &transactions[0];
    std::vector<uint8_t> record(64, 0);
    StoreU16(record.data() + RecordLayout::Length, 64);
    StoreU16(record.data() + RecordLayout::Id, 0x4001);
    const RecordCursor share{record.data(), 0};

    EventArray events;
    GatherChartEvents(events, setting, days.data(), 10, &share, &portfolio);
    ASSERT_EQ(events.count(), 3);
    EXPECT_EQ(events.At(0).date, days[2].date);
    EXPECT_EQ(events.At(0).marker, EventMarkerOffset(5));
    EXPECT_EQ(events.At(0).price, 102.0f);
    EXPECT_EQ(events.At(1).marker, EventMarkerOffset(7));
    EXPECT_EQ(events.At(2).marker, EventMarkerOffset(6));
}

} // namespace
} // namespace qv
