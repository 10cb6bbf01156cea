// Stop records: their bytes, the masks in the option block, the share's records in the setting record
// store, the adjust step with its clamps and the "Apply to" text.
#include "chartmodel/StopLossSettings.h"

#include "core/ConfigState.h"
#include "core/SettingRecordStore.h"

#include <gtest/gtest.h>

using namespace qv;

namespace {

class StopLossSettings : public ::testing::Test {
protected:
    void SetUp() override
    {
        Config() = ConfigState{};
        SettingRecords().load({});
    }
    void TearDown() override
    {
        Config() = ConfigState{};
        SettingRecords().load({});
    }
    StopShareKey share{1234, 1};
};

} // namespace

TEST_F(StopLossSettings, RecordBytesAndOptionBlockPlaces)
{
    StopRecord r{StopFlag::StopGain | StopFlag::StartAtDate | 0x20, 0x1234, 0x0100FF00, 2.5f, 36000};
    auto bytes = StopRecordBytes(r);
    EXPECT_EQ(bytes[0], 0x25);
    EXPECT_EQ(bytes[2], 0x34);
    EXPECT_EQ(bytes[3], 0x12);
    EXPECT_EQ(ReadStopRecord(bytes.data()), r);

    SetGlobalStopRecord(false, r);
    SetGlobalStopMask(false, 0x0005);
    SetIndividualStopMask(true, 0x0800);
    SetNewStopRecordPen(0xABCDEF);
    const uint8_t* b = Config().optionsB.data();
    EXPECT_EQ(b[400], 0x05);
    EXPECT_EQ(b[407], 0x08);
    EXPECT_EQ(b[408], 0xEF);
    EXPECT_EQ(b[412], 0x25);
    EXPECT_EQ(GlobalStopRecord(false), r);
    EXPECT_EQ(GlobalStopMask(true), 0);
}

TEST_F(StopLossSettings, AdjustFromShareGlobalOrDefaults)
{
    // No record anywhere: the defaults, without the step.
    SetNewStopRecordPen(0x00FF00);
    StopRecord first = AdjustShareStop(share, false, 3, -1.0f, 0x2000);
    EXPECT_FLOAT_EQ(first.percent, 10.0f);
    EXPECT_EQ(first.flags, StopFlag::MoveBothWays);
    EXPECT_EQ(first.startDate, 0x2000);
    EXPECT_EQ(first.pen, 0x00FF00u);
    EXPECT_EQ(IndividualStopMask(false), 1u << 3);
    ASSERT_TRUE(ShareStopRecord(share, false));

    // From the share's record: 0.5 less 1 stops at 0.01; 79.5 plus 1 at 80.
    StopRecord r = *ShareStopRecord(share, false);
    r.percent = 0.5f;
    StoreShareStopRecord(share, false, r);
    EXPECT_FLOAT_EQ(AdjustShareStop(share, false, 3, StopAdjustStep(true, false, false), 0).percent, 0.01f);
    r.percent = 79.5f;
    StoreShareStopRecord(share, false, r);
    EXPECT_FLOAT_EQ(AdjustShareStop(share, false, 3, StopAdjustStep(false, false, false), 0).percent, 80.0f);

    // From the global record of the kind, with the step.
    StopShareKey other{77, 0};
    SetGlobalStopRecord(true, StopRecord{0, 0, 0, 2.0f, 0});
    EXPECT_NEAR(AdjustShareStop(other, true, 0, StopAdjustStep(false, false, true), 0).percent, 2.1f, 1e-5);
    EXPECT_FALSE(ShareStopRecord(other, false));

    // Shift reverses: the decrease command with Shift lowers the percentage.
    EXPECT_LT(StopAdjustStep(false, true, false), 0.0f);
    EXPECT_GT(StopAdjustStep(true, true, true), 0.0f);
}

TEST_F(StopLossSettings, DeleteAllKeepsTheIntradayGlobalRecord)
{
    StopRecord global{0, 0, 0, 3.0f, 0};
    SetGlobalStopRecord(true, global);
    EXPECT_FALSE(AnyShareStopRecord(true));
    StoreShareStopRecord(share, true, StopRecord{});
    StoreShareStopRecord(share, false, StopRecord{});
    SetIndividualStopMask(true, 0xFFF);
    EXPECT_TRUE(AnyShareStopRecord(true));
    DeleteAllShareStopRecords(true);
    EXPECT_FALSE(AnyShareStopRecord(true));
    EXPECT_TRUE(AnyShareStopRecord(false));
    EXPECT_EQ(IndividualStopMask(true), 0);
    EXPECT_EQ(GlobalStopRecord(true), global);
}

TEST(StopLossTexts, ApplyTextAndPercentCheck)
{
    EXPECT_EQ(StopApplyText(4095, 2), "Apply to all settings");
    EXPECT_EQ(StopApplyText(0, 2), "No settings");
    EXPECT_EQ(StopApplyText(4, 2), "Apply to this setting only");
    EXPECT_EQ(StopApplyText(5, 2), "Apply to several settings");
    EXPECT_EQ(StopApplyText(1, 2), "Apply to several settings");
    EXPECT_EQ(StopMenuText(false, false, StopRecord{StopFlag::StopGain, 0, 0, 1.0f, 0}), "Stop gain - This Share");
    EXPECT_EQ(StopMenuText(false, false, std::nullopt), "");
    EXPECT_DOUBLE_EQ(CheckStopPercent(0.005), 10.0);
    EXPECT_DOUBLE_EQ(CheckStopPercent(99.5), 10.0);
    EXPECT_DOUBLE_EQ(CheckStopPercent(0.01), 0.01);
    EXPECT_DOUBLE_EQ(CheckStopPercent(99), 99.0);
}
