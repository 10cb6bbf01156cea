// The study keys the settings use and the lines-and-text store's clean-up: unused keys lose their
// blobs, intraday drawings on days no longer held are dropped.
#include "chartmodel/StudyKeyCollector.h"

#include "chartmodel/ChartCalendar.h"
#include "chartmodel/GraphSettingLayout.h"
#include "chartmodel/IndicatorRecord.h"
#include "chartmodel/IntradayTicks.h"
#include "chartmodel/LineObjects.h"
#include "chartmodel/StudyKey.h"
#include "platform/ByteOrder.h"

#include <cstring>
#include <gtest/gtest.h>

using namespace qv;

namespace {

Blob Packed(LineObjectList& list)
{
    std::vector<uint8_t> packed = PackLineObjects(list);
    FreeLineObjectList(list);
    Blob blob = MakeBlob(uint32_t(packed.size()));
    std::memcpy(blob.get(), packed.data(), packed.size());
    return blob;
}

Blob Dummy() { return MakeBlob(std::vector<uint8_t>(8, 1)); }

std::vector<LineObjectKind> KindsOf(const uint8_t* blob)
{
    LineObjectList list;
    UnpackLineObjects(list, std::span(blob, BlobLength(blob)));
    std::vector<LineObjectKind> kinds;
    for (LineObject* o = list.head; o; o = o->next)
        kinds.push_back(o->kind);
    FreeLineObjectList(list);
    return kinds;
}

} // namespace

TEST(StudyKeyCollector, TheSettingsGiveTheirIndicatorAndBoxChartKeys)
{
    NamedRecordFamily<GraphSetting> daily, intraday;
    IndicatorRecord::Of(2, 0, 14).Write(graphsetting::IndicatorSlot(daily.records[3], 1, 2));
    uint8_t* box = daily.records[4].data();
    box[graphsetting::kPriceDisplay] = 5;
    StoreU16(box + graphsetting::kBoxValue, 100);
    box[graphsetting::kReversal] = 3;
    box[graphsetting::kBoxValueOption] = 1;
    box[graphsetting::kVolumePane] = 1;
    const StudyKeySets keys = GatherStudyKeys(daily, intraday);
    EXPECT_TRUE(keys.daily.count(0x060E0000u)) << "an RSI of 14";
    EXPECT_TRUE(keys.daily.count(0x01000000u));
    EXPECT_TRUE(keys.daily.count(0x02000000u));
    EXPECT_FALSE(keys.intraday.count(0x060E0000u));
    EXPECT_EQ(keys.box, (std::set<uint32_t>{MakeSeriesKey(1, 1, 100, 3, 0), MakeSeriesKey(2, 1, 100, 3, 0)}));
}

// The market table keeps the sources the intraday breadth studies show: a portfolio by its number,
// a list by its group; other indicators and the daily settings name none.
TEST(StudyKeyCollector, TheIntradayBreadthStudiesNameTheMarketSourcesInUse)
{
    NamedRecordFamily<GraphSetting> daily, intraday;
    IndicatorRecord::Of(18, 1, 0, 0, 0, 9).Write(graphsetting::IndicatorSlot(intraday.records[0], 0, 0));
    IndicatorRecord::Of(30, 0, 0, 0, 0x82).Write(graphsetting::IndicatorSlot(intraday.records[2], 1, 1));
    IndicatorRecord::Of(2, 1, 14, 0, 5, 7).Write(graphsetting::IndicatorSlot(intraday.records[2], 1, 2));
    IndicatorRecord::Of(20, 0, 0, 0, 3).Write(graphsetting::IndicatorSlot(daily.records[0], 0, 0));
    EXPECT_EQ(MarketSourcesInUse(intraday), (std::set<uint32_t>{2, 0x80000009u}));
    EXPECT_TRUE(MarketSourcesInUse(daily).count(3)) << "the family given is the one read";
}

TEST(StudyKeyCollector, UnusedKeysLoseTheirBlobsAndStaleIntradayObjectsAreDropped)
{
    NamedRecordFamily<GraphSetting> daily, intraday;
    const StudyKeySets keys = GatherStudyKeys(daily, intraday);
    const PackedDate held = PackDate(8, 12, 2026), gone = PackDate(4, 12, 2026);
    const uint32_t heldTime = DateToCalendarIndex(held) + 10 * 3600, goneTime = DateToCalendarIndex(gone) + 10 * 3600;

    KeyedItemStore store;
    store.SetItem(0x4001, 0, 0x01000000, Dummy());
    store.SetItem(0x4001, 0, 0x060E0000, Dummy()); // an RSI no daily setting holds any more
    store.SetItem(0x4001, 5, MakeSeriesKey(1, 1, 100, 3, 0), Dummy());
    LineObjectList objects;
    StoreU32(AddTextObject(objects)->stored.data() + 8, heldTime);
    StoreU32(AddTextObject(objects)->stored.data() + 8, goneTime);
    LineObject* study = AddLineObject(objects, 1, 0xFF);
    StoreI32(study->point(0), int32_t(heldTime));
    StoreI32(study->point(1), int32_t(heldTime + 600));
    study->setAlarm(0x23);
    store.SetItem(0x4002, 1, 0x01000000, Packed(objects));

    EXPECT_EQ(CollectStudyKeys(store, keys, std::vector<PackedDate>{held, PackDate(9, 12, 2026)}), 3u);
    EXPECT_TRUE(store.GetItem(0x4001, 0, 0x01000000));
    EXPECT_FALSE(store.GetItem(0x4001, 0, 0x060E0000));
    EXPECT_FALSE(store.GetItem(0x4001, 5, MakeSeriesKey(1, 1, 100, 3, 0))) << "no box chart set up";
    const uint8_t* kept = store.GetItem(0x4002, 1, 0x01000000);
    ASSERT_TRUE(kept);
    EXPECT_EQ(KindsOf(kept), (std::vector{LineObjectKind::LineStudy, LineObjectKind::Text}));
    LineObjectList list;
    UnpackLineObjects(list, std::span(kept, BlobLength(kept)));
    for (LineObject* o = list.head; o; o = o->next)
        if (o->kind == LineObjectKind::LineStudy)
            EXPECT_EQ(o->alarm(), 3) << "the alarm word cut to its two low bits";
        else
            EXPECT_EQ(o->penOrTime(), heldTime);
    FreeLineObjectList(list);

    // A line drawn on today, which the store holds only from its first written tick, stays.
    const PackedDate today = PackDate(10, 12, 2026);
    LineObjectList todays;
    LineObject* line = AddLineObject(todays, 0, 0xFF);
    StoreI32(line->point(0), int32_t(DateToCalendarIndex(today) + 36000));
    StoreI32(line->point(1), int32_t(DateToCalendarIndex(today) + 43200));
    line->setAlarm(3);
    store.SetItem(0x4004, 1, 0x01000000, Packed(todays));
    EXPECT_EQ(CollectStudyKeys(store, keys, DrawingDays({held}, today)), 0u);
    EXPECT_EQ(KindsOf(store.GetItem(0x4004, 1, 0x01000000)), (std::vector{LineObjectKind::LineStudy}));
    EXPECT_TRUE(DrawingDays({}, today).empty()) << "no held days: nothing is pruned";

    // Without held days the intraday drawings stay as they are.
    LineObjectList again;
    StoreU32(AddTextObject(again)->stored.data() + 8, goneTime);
    store.SetItem(0x4003, 1, 0x01000000, Packed(again));
    EXPECT_EQ(CollectStudyKeys(store, keys, {}), 0u);
    EXPECT_TRUE(store.GetItem(0x4003, 1, 0x01000000));
}
