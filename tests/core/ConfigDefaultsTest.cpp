// The default table style, ticker design and intraday alarm records.
#include "core/ConfigDefaults.h"

#include <gtest/gtest.h>

#include <cstring>

using namespace qv;

TEST(ConfigDefaults, TableStyleHoldsItsColoursFontAndBackground)
{
    TableStyle style;
    style.bytes.fill(0xEE);
    InitDefaultTableStyle(style);
    const uint8_t* p = style.data();
    EXPECT_EQ(LoadU32(p), 0xFFFFFFu);
    EXPECT_EQ(LoadU32(p + 4 * 3), 3u);
    EXPECT_EQ(LoadU32(p + 4 * 19), 0x30D030u);
    EXPECT_EQ(LoadU32(p + 4 * 30), 0xFF0000u);
    EXPECT_EQ(p[124], 0);
    // Read by the stored layout: 9 points as a word at 128, the face at 132, the alternate background
    // at 164 and the shading flag byte at 168.
    EXPECT_EQ(LoadU32(p + 128), 9u);
    EXPECT_STREQ(reinterpret_cast<const char*>(p + 132), "MS Sans Serif");
    EXPECT_EQ(LoadU32(p + 164), 0xF6F6F6u);
    EXPECT_EQ(p[168], 1);
    EXPECT_EQ(p[125], 0);
    EXPECT_EQ(p[169], 0);
    EXPECT_EQ(p[199], 0);

    SetFontInstalledCheck([](const char* face) { return std::strcmp(face, "Microsoft Sans Serif") == 0; });
    InitDefaultTableStyle(style);
    EXPECT_STREQ(reinterpret_cast<const char*>(style.data() + TableStyle::kFace), "Microsoft Sans Serif");
    SetFontInstalledCheck(nullptr);
}

TEST(ConfigDefaults, TickerWithAndWithoutTheOptionalLayout)
{
    TickerSetting ticker;
    SetDefaultTickerSettings(ticker);
    const uint8_t* p = ticker.data();
    EXPECT_EQ(LoadU16(p + TickerLayout::Size), 142);
    EXPECT_EQ(p[TickerLayout::Kind], 7);
    EXPECT_EQ(p[TickerLayout::Flags], 2);
    EXPECT_EQ(p[TickerLayout::LayoutBytes + 1], 2);
    EXPECT_EQ(LoadU32(p + TickerLayout::Colours + 4 * 9), 0x008000u);
    EXPECT_EQ(LoadU32(p + TickerLayout::Backgrounds + 4 * 5), 0xF0F0F0u);
    SetDefaultTickerSettings(ticker, false);
    EXPECT_EQ(ticker.bytes[TickerLayout::Flags], 0);
    EXPECT_EQ(ticker.bytes[TickerLayout::LayoutBytes], 0);
    EXPECT_EQ(LoadU32(ticker.data() + TickerLayout::Colours), 0x008000u);
}

TEST(ConfigDefaults, AlarmMovesAndIndicatorsFillTheirOwnParts)
{
    RTAlarmSettingsRecord settings;
    settings.bytes.fill(0x55);
    SetDefaultAlarmMoves(settings);
    const uint8_t* p = settings.data();
    EXPECT_EQ(LoadU32(p + AlarmSettingsLayout::Word), 1u);
    EXPECT_EQ(LoadF32(p + AlarmSettingsLayout::Moves), 5.0f);
    EXPECT_EQ(LoadF32(p + AlarmSettingsLayout::Moves + 5 * 16), -20.0f);
    EXPECT_EQ(LoadU32(p + AlarmSettingsLayout::Moves + 5 * 16 + 4), 10u);
    EXPECT_EQ(p[AlarmSettingsLayout::MoveBytes + 5], 44);
    EXPECT_FLOAT_EQ(LoadF32(p + AlarmSettingsLayout::Threshold), 0.1f);
    EXPECT_EQ(p[RTAlarmSettingsRecord::kOlderSize], 0x55); // the indicator part is not touched
    SetDefaultAlarmIndicators(settings);
    EXPECT_EQ(int16_t(LoadU16(p + AlarmSettingsLayout::Indicators)), -26);
    EXPECT_EQ(int16_t(LoadU16(p + AlarmSettingsLayout::Indicators + 2 * 14)), 3);
    EXPECT_EQ(p[155], 0);

    AlarmActionRecord actions;
    actions.bytes.fill(9);
    InitNamedSettingRecord(actions);
    EXPECT_EQ(actions.bytes[0], 1);
    EXPECT_EQ(actions.bytes[4], 0);
}
