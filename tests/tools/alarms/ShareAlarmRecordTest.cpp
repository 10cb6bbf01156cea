// Tests of the share alarm record's bytes, the store's alarms and the global rows.
#include "tools/alarms/ShareAlarmRecord.h"

#include "core/SettingRecordStore.h"
#include "platform/ByteOrder.h"

#include <gtest/gtest.h>

using namespace qv;

TEST(ShareAlarmRecord, FieldsLandAtTheirOffsetsAndReadBack)
{
    ShareAlarmRecord r = ShareAlarmRecord::Defaults(1000);
    r.decreaseOn = 1;
    r.riseOn[1] = 1;
    r.fallOn[2] = 1;
    r.stopOn = 1;
    r.stopCapped = 1;
    r.dateOn = 1;
    r.dealingsOn = 1;
    r.stopPercent = 12.5f;
    r.note = "watch";
    const std::vector<uint8_t> bytes = r.Write();
    ASSERT_EQ(bytes.size(), 84u + 5);
    EXPECT_EQ(LoadF32(&bytes[0]), 100.0f);
    EXPECT_EQ(LoadF32(&bytes[4]), 100.0f);
    EXPECT_EQ(bytes[8], 1);
    EXPECT_EQ(bytes[9], 0);
    EXPECT_EQ((std::vector<uint8_t>(bytes.begin() + 10, bytes.begin() + 20)),
              (std::vector<uint8_t>{0, 0, 1, 0, 1, 0, 1, 1, 1, 1}));
    EXPECT_EQ(LoadU16(&bytes[24]), 1007);
    EXPECT_EQ(LoadF32(&bytes[28]), 5.0f);
    EXPECT_EQ(LoadF32(&bytes[48]), 20.0f);
    EXPECT_EQ((std::vector<uint8_t>(bytes.begin() + 52, bytes.begin() + 58)), (std::vector<uint8_t>{1, 4, 10, 1, 4, 10}));
    EXPECT_EQ(LoadF32(&bytes[60]), 12.5f);
    for (size_t i : {20, 21, 22, 23, 26, 27, 58, 59, 64, 79, 85, 88})
        EXPECT_EQ(bytes[i], 0) << i;
    EXPECT_EQ(std::string(bytes.begin() + 80, bytes.begin() + 85), "watch");

    std::optional<ShareAlarmRecord> back = ShareAlarmRecord::Read(bytes);
    ASSERT_TRUE(back);
    EXPECT_EQ(back->Write(), bytes);
    EXPECT_EQ(back->note, "watch");
}

TEST(ShareAlarmRecord, ShortOrNoteOnlyRecords)
{
    EXPECT_FALSE(ShareAlarmRecord::Read(std::vector<uint8_t>(79)));
    ShareAlarmRecord noteOnly = ShareAlarmRecord::Defaults(0);
    noteOnly.note = "just a note";
    EXPECT_FALSE(noteOnly.anyAlarmOn());
    // A note running to the data's end, unterminated, is still read.
    std::vector<uint8_t> bytes = noteOnly.Write();
    bytes.resize(80 + 4);
    EXPECT_EQ(ShareAlarmRecord::Read(bytes)->note, "just");
}

TEST(ShareAlarmRecord, StoredRecordsBecomeTheAlarmsTested)
{
    ShareAlarmRecord r = ShareAlarmRecord::Defaults(0);
    r.increaseOn = 1;
    r.increaseLevel = 250;
    r.riseOn[0] = 1;
    const std::vector<uint8_t> bytes = r.Write();
    ASSERT_TRUE(SetSettingRecord(0x4002, 1, kShareAlarmSettingId, bytes.data(), uint32_t(bytes.size())));
    ASSERT_TRUE(SetSettingRecord(0x4003, 0, 3, bytes.data(), uint32_t(bytes.size()))); // an intraday record
    const std::vector<ShareAlarm> alarms = ReadStoredShareAlarms();
    DeleteSettingAll(kShareAlarmSettingId);
    DeleteSettingAll(3);
    ASSERT_EQ(alarms.size(), 1u);
    EXPECT_EQ(alarms[0].shareId, 0x4002);
    EXPECT_EQ(alarms[0].stream, 1);
    EXPECT_EQ(alarms[0].upperOn, 1);
    EXPECT_EQ(alarms[0].upper, 250.0f);
    EXPECT_EQ(alarms[0].rises[0].enabled, 1);
    EXPECT_EQ(alarms[0].rises[0].kind, 1);
    EXPECT_EQ(alarms[0].rises[0].threshold, 5.0f);
    EXPECT_EQ(alarms[0].falls[0].enabled, 0);
}

TEST(ShareAlarmRecord, GlobalRowsKeepFallsFirstInTheirBytes)
{
    std::vector<MoveCriterion> rows = DefaultGlobalAlarmRows();
    ASSERT_EQ(rows.size(), 6u);
    rows[0] = {1, 3, 255}; // a rise row at the top of the range a byte takes
    uint8_t bytes[kGlobalAlarmRowsSize];
    StoreGlobalAlarmRows(rows, bytes);
    EXPECT_EQ((std::vector<uint8_t>(bytes, bytes + kGlobalAlarmRowsSize)),
              (std::vector<uint8_t>{0, 10, 2, 0, 20, 5, 0, 40, 10, 1, 255, 3, 0, 20, 5, 0, 40, 10}));
    const std::vector<MoveCriterion> back = GlobalAlarmRows(bytes);
    for (size_t i = 0; i < 6; ++i) {
        EXPECT_EQ(back[i].enabled, rows[i].enabled) << i;
        EXPECT_EQ(back[i].kind, rows[i].kind) << i;
        EXPECT_EQ(back[i].threshold, rows[i].threshold) << i;
    }
}
