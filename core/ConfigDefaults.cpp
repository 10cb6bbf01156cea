// Default records and column layouts for "Quorva.cfg".
#include "core/ConfigDefaults.h"

#include "platform/ByteOrder.h"

#include <algorithm>
#include <array>
#include <cstring>

namespace qv {
namespace {

// Colours are 0x00BBGGRR: 0x30D030 green, 0x0000FF red, 0xFF0000 blue.
constexpr std::array<uint32_t, TableStyle::kColourWords> kTableColours{
    0xFFFFFF, 0xFF0000, 0xFFE9CC, 3,        0,        1,        0xA4A0A0, 0xA4A0A0, 0xC0C0C0, 0,        128,
    0x808080, 0xC8FF96, 0xDCDCFF, 0xE0FFFF, 0x008000, 128,      0x008080, 0x0000FF, 0x30D030, 0x0000FF, 0xFF0000,
    0x30D030, 0x0000FF, 0xFF0000, 0x30D030, 0x0000FF, 0,        0x30D030, 0x0000FF, 0xFF0000};
constexpr uint32_t kTablePointSize = 9;
constexpr uint32_t kTableAlternateBackground = 0xF6F6F6;
constexpr uint8_t kTableShadeAlternate = 1;

// The ticker's looks: field mask, categories, the up, same and down colours, the no-data and
// excess backgrounds, six category text colours and six category backgrounds.
struct TickerLook {
    uint16_t fields;
    uint8_t categories;
    std::array<uint32_t, 5> colours;
    std::array<uint32_t, 6> text;
    uint32_t background;
};
constexpr TickerLook kLightTicker{0x8E, 7, {0x008000, 0x800000, 0x000080, 0xF0F0F0, 0xEEFFFF},
                                  {0x000000, 0x800000, 0x800080, 0x808000, 0x008080, 0x008000}, 0xF0F0F0};
constexpr TickerLook kDarkTicker{0x8E, 7, {0x00FF00, 0xFF6464, 0x0000FF, 0x000000, 0x404040},
                                 {0xFFFFFF, 0xFFFF00, 0xFF00FF, 0xFF8C8C, 0x00FFFF, 0x00FF00}, 0x000000};
constexpr uint8_t kTickerVariableSpeed = 1, kTickerSpeed = 3, kTickerWhiteSpace = 2, kTickerLayout = 3;

struct MoveRow {
    float percentage;
    uint32_t periods;
};
constexpr std::array<MoveRow, 6> kMoves{{{5, 1}, {10, 4}, {20, 10}, {-5, 1}, {-10, 4}, {-20, 10}}};
constexpr std::array<uint8_t, 6> kMoveBytes{0, 6, 0, 12, 0, 44};
constexpr float kMoveThreshold = 0.1f;
constexpr std::array<int16_t, 15> kIndicatorCrosses{-26, 13, 9, -20, 3, 30, 70, -20, 9, 2, 0, 30, 70, 0, 3};

bool (*g_fontInstalled)(const char*) = nullptr;

const char* TableFace()
{
    static constexpr const char* kNewFace = "Microsoft Sans Serif";
    return g_fontInstalled && g_fontInstalled(kNewFace) ? kNewFace : "MS Sans Serif";
}

} // namespace

void SetFontInstalledCheck(bool (*installed)(const char* face))
{
    g_fontInstalled = installed;
}

void InitDefaultTableStyle(TableStyle& style)
{
    style = TableStyle{};
    for (size_t i = 0; i < kTableColours.size(); ++i)
        style.setWord(4 * i, kTableColours[i]);
    style.setWord(TableStyle::kPointSize, kTablePointSize);
    const char* face = TableFace();
    std::memcpy(style.data() + TableStyle::kFace, face, std::min(std::strlen(face), TableStyle::kFaceSize - 1));
    style.setWord(TableStyle::kAlternateBackground, kTableAlternateBackground);
    style.bytes[TableStyle::kFlags] = kTableShadeAlternate;
}

void SetTickerLook(TickerSetting& ticker, bool dark)
{
    using namespace TickerLayout;
    const TickerLook& look = dark ? kDarkTicker : kLightTicker;
    uint8_t* p = ticker.data();
    StoreU16(p + FieldMask, look.fields);
    p[Categories] = look.categories;
    for (size_t i = 0; i < look.colours.size(); ++i)
        StoreU32(p + UpColour + 4 * i, look.colours[i]);
    for (size_t i = 0; i < look.text.size(); ++i) {
        StoreU32(p + CategoryText + 4 * i, look.text[i]);
        StoreU32(p + CategoryBackground + 4 * i, look.background);
    }
}

void SetDefaultTickerSettings(TickerSetting& ticker, bool withLayout)
{
    using namespace TickerLayout;
    ticker = TickerSetting{};
    SetTickerLook(ticker, false);
    if (!withLayout)
        return;
    uint8_t* p = ticker.data();
    p[Layout] = kTickerLayout;
    p[Flags] = kTickerVariableSpeed;
    p[Speed] = kTickerSpeed;
    p[WhiteSpace] = kTickerWhiteSpace;
}

void InitNamedSettingRecord(AlarmActionRecord& actions, std::optional<std::string>& logFile,
                            std::optional<std::string>& soundFile)
{
    actions = AlarmActionRecord{};
    actions.bytes[0] = 1;
    logFile = std::string();
    soundFile = std::string();
}

void SetDefaultAlarmMoves(RTAlarmSettingsRecord& settings)
{
    using namespace AlarmSettingsLayout;
    uint8_t* p = settings.data();
    std::fill(p, p + RTAlarmSettingsRecord::kOlderSize, 0);
    StoreU32(p + Flag, 0);
    StoreU32(p + Word, 1);
    for (size_t i = 0; i < kMoves.size(); ++i) {
        uint8_t* row = p + Moves + i * MoveRowSize;
        StoreF32(row, kMoves[i].percentage);
        StoreU32(row + 4, kMoves[i].periods);
        StoreU32(row + 8, 1);
        StoreU32(row + 12, 0);
    }
    std::copy(kMoveBytes.begin(), kMoveBytes.end(), p + MoveBytes);
    StoreF32(p + Threshold, kMoveThreshold);
}

void SetDefaultAlarmIndicators(RTAlarmSettingsRecord& settings)
{
    uint8_t* p = settings.data();
    std::fill(p + RTAlarmSettingsRecord::kOlderSize, p + RTAlarmSettingsRecord::kSize, 0);
    for (size_t i = 0; i < kIndicatorCrosses.size(); ++i)
        StoreU16(p + AlarmSettingsLayout::Indicators + 2 * i, uint16_t(kIndicatorCrosses[i]));
}

} // namespace qv
