// The daily chart's event array: sorted by date, no repeats, room doubling; the events it gathers.
#include "chartmodel/EventArray.h"

#include "chartmodel/GraphSettingDefaults.h"
#include "chartmodel/GraphSettingLayout.h"
#include "core/ConfigRecords.h"
#include "core/DateStepping.h"

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

} // namespace
} // namespace qv
