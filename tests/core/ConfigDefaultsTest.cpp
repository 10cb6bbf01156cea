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
    using namespace TickerLayout;
    TickerSetting ticker;
    SetDefaultTickerSettings(ticker);
    const uint8_t* p = ticker.data();
    EXPECT_EQ(LoadU16(p + FieldMask), 0x8E) << "EPIC, Price, change since open, Volume";
    EXPECT_EQ(p[Categories], 7);
    EXPECT_EQ(p[Layout], 3);
    EXPECT_EQ(p[Flags], 1) << "variable speed";
    EXPECT_EQ(p[Speed], 3);
    EXPECT_EQ(p[WhiteSpace], 2);
    EXPECT_EQ(LoadU32(p + UpColour), 0x008000u);
    EXPECT_EQ(LoadU32(p + SameColour), 0x800000u);
    EXPECT_EQ(LoadU32(p + DownColour), 0x000080u);
    EXPECT_EQ(LoadU32(p + ExcessBackground), 0xEEFFFFu);
    EXPECT_EQ(LoadU32(p + CategoryText), 0u) << "Indices in black";
    EXPECT_EQ(LoadU32(p + CategoryText + 4 * 5), 0x008000u);
    EXPECT_EQ(LoadU32(p + CategoryBackground + 4 * 5), 0xF0F0F0u);
    EXPECT_EQ(p[PortfolioFilter], 0);
    SetDefaultTickerSettings(ticker, false);
    EXPECT_EQ(ticker.bytes[Layout], 0);
    EXPECT_EQ(ticker.bytes[Speed], 0);
    EXPECT_EQ(LoadU16(ticker.data() + FieldMask), 0x8E);
}

TEST(ConfigDefaults, TheDarkTickerLookKeepsLayoutSpeedAndFlags)
{
    using namespace TickerLayout;
    TickerSetting ticker;
    SetDefaultTickerSettings(ticker);
    ticker.bytes[Layout] = 1;
    ticker.bytes[Flags] = 2;
    SetTickerLook(ticker, true);
    const uint8_t* p = ticker.data();
    EXPECT_EQ(LoadU32(p + UpColour), 0x00FF00u);
    EXPECT_EQ(LoadU32(p + SameColour), 0xFF6464u) << "RGB(100,100,255)";
    EXPECT_EQ(LoadU32(p + NoDataBackground), 0u);
    EXPECT_EQ(LoadU32(p + ExcessBackground), 0x404040u);
    EXPECT_EQ(LoadU32(p + CategoryText), 0xFFFFFFu);
    EXPECT_EQ(LoadU32(p + CategoryText + 4 * 3), 0xFF8C8Cu) << "RGB(140,140,255)";
    EXPECT_EQ(LoadU32(p + CategoryBackground + 4 * 2), 0u);
    EXPECT_EQ(p[Layout], 1);
    EXPECT_EQ(p[Flags], 2);
    EXPECT_EQ(p[Speed], 3);
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
    std::optional<std::string> logFile = "old.log", soundFile;
    InitNamedSettingRecord(actions, logFile, soundFile);
    EXPECT_EQ(actions.bytes[0], 1);
    EXPECT_EQ(actions.bytes[4], 0);
    EXPECT_EQ(logFile, std::string());
    EXPECT_EQ(soundFile, std::string());
}
