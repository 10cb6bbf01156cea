// The graph setting defaults, the blocks' defaults, the special edition's presets and the default
// indicator line styles.
#include "chartmodel/GraphSettingDefaults.h"

#include "chartmodel/GraphSettingLayout.h"
#include "core/LinesAndTextFiles.h"
#include "platform/ByteOrder.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <initializer_list>

namespace qv {

using namespace graphsetting;

namespace {

void SetWords(GraphSetting& s, size_t at, std::initializer_list<uint32_t> words)
{
    for (uint32_t w : words) {
        SetU32(s, at, w);
        at += 4;
    }
}

// One field of the style block with its daily and intraday defaults.
struct StyleField {
    size_t offset;
    uint8_t width;
    uint32_t daily;
    uint32_t intraday;
};

constexpr StyleField kStyleFields[] = {
    {kShowFutureSecond, 2, 2, 1},
    {kShowFutureThird, 4, 3, 15},
    {kVolumePane, 1, 1, 0},
    {kPriceDisplay, 1, 1, 0},
    {kPriceTypeLine, 1, 3, 0},
    {kVolumeSignalPeriods, 2, 25, 10},
    {kPriceColourMode, 1, 2, 2},
    {kPriceColours + 0, 4, 0, 0x800000},
    {kPriceColours + 4, 4, 0x0000FF, 0x800000},
    {kPriceColours + 8, 4, 0x008000, 0x008000},
    {kPriceColours + 12, 4, 0x4080FF, 0xFF0000},
    {kPriceColours + 16, 4, 0x800000, 0xFF00FF},
    {kPriceTypeLinePen, 4, 0xFF0000, 0x008000},
    {kPriceLinesPen, 4, 0x008000, 0},
    {kVolumeUpColour, 4, 0, 0},
    {kVolumeDownColour, 4, 0x0000FF, 0},
    {kVolumeSignalPen, 4, 0xFF0000, 0xFF0000},
    {kGridDensityH, 4, 2, 2},
    {kGridDensityV, 4, 2, 2},
    {kGridPenV, 4, 0xC0C0C0, 0xC0C0C0},
    {kTickColour, 4, 0x800000, 0},
    {kGridPenH, 4, 0xC0C0C0, 0xC0C0C0},
    {kScaleTextColour, 4, 0x800000, 0x800000},
    {kFramePen, 4, 0, 0},
    {kBackground, 4, 0xFFFFFF, 0xFFFFFF},
    {kTitleTextColour, 4, 0x800000, 0x800000},
    {kTextBoxColour1, 4, 0, 0},
    {kTextBoxColour2, 4, 0xFFFFFF, 0xFFFFFF},
    {kTextBoxColour3, 4, 0x808080, 0x808080},
    {kNewObjectColour, 4, 0x0000FF, 0x0000FF},
    {kDisplayFlags, 2, 0x0010, 0x0010 | 0x0FCA},
    {kWhiteSpace, 1, 1, 1},
    {kDisplaySwitches + 0, 1, 0, 1},
    {kDisplaySwitches + 1, 1, 0, 1},
    {kDisplaySwitches + 2, 1, 0, 1},
    {kStyleValue3, 4, 0, 9},
    {kStylePen, 4, 0, 0x10FF0000},
    {kIntradayColours + 0, 4, 0, 0xFF0000},
    {kIntradayColours + 4, 4, 0, 0xFFE0A0},
    {kIntradayColours + 8, 4, 0, 0xFF0000},
    {kIntradayColours + 12, 4, 0, 0xFFF0E0},
    {kWatermarkColour, 4, 0xDCDCDC, 0xDCDCDC},
    {kIntradayValue1, 4, 0, 5},
    {kIntradaySwitches + 0, 1, 0, 1},
    {kIntradaySwitches + 1, 1, 0, 1},
    {kIntradayValues3 + 0, 1, 0, 3},
    {kIntradayValues3 + 1, 1, 0, 2},
    {kTradingDayStart, 4, 0, 28800},
    {kTradingDayEnd, 4, 0, 59400},
    {kScaleFlags, 2, 19, 19},
    {kVolumePaneHeight, 2, 200, 200},
    {kShadeTop, 4, 0xFFF0E0, 0xFFF0E0},
    {kShadeBottom, 4, 0xFFFFFF, 0xFFFFFF},
    {kStylePens + 0, 4, 0, 0x1000FF00},
    {kStylePens + 4, 4, 0, 0x100000FF},
    {kIntradayValue4, 2, 0, 770},
    {kWatermarks, 2, 1, 1},
    {kStyleColour1, 4, 0, 0x0000FF},
    {kStyleColour2, 4, 0xF0F0F0, 0xF0F0F0},
    {kStyleValue5, 2, 36, 36},
    {kVolumeColourMode, 1, 2, 0},
    {kFallMarkColour, 4, 0xC0C0FF, 0xC0C0FF},
    {kRiseMarkColour, 4, 0xC0FFC0, 0xC0FFC0},
    {kLatestPriceBack, 4, 0xE0E0E0, 0xE0E0E0},
    {kBoxValue, 2, 100, 0},
    {kBoxSizeSpace, 1, 34, 0},
    {kBoxValueOption, 1, 2, 0},
    {kReversal, 1, 3, 0},
    {kTextSize, 4, 10, 10},
    {kBoxUpPen, 4, 0, 0},
    {kBoxDownPen, 4, 0x0000FF, 0},
    {kLineBreakLines, 1, 3, 0},
    {kIntradayColours2 + 0, 4, 0, 0xFF0000},
    {kIntradayColours2 + 4, 4, 0, 0x00FF00},
};

void SetField(GraphSetting& s, const StyleField& f, uint32_t value)
{
    if (f.width == 1)
        SetU8(s, f.offset, uint8_t(value));
    else if (f.width == 2)
        SetU16(s, f.offset, uint16_t(value));
    else
        SetU32(s, f.offset, value);
}

void InitDateRange(GraphSetting& s)
{
    SetU16(s, kDateRangeFlags, 0);
    SetU16(s, kDateRangeStart, 0);
    SetU16(s, kDateRangeCount, 60);
    SetU16(s, kDateRangeEnd, 0);
}

void InitPivotBlock(GraphSetting& s, size_t at)
{
    SetWords(s, at, {0, 0, 0x02FF0000, 0xFFFF00, 0x0000FF, 0xFFFF00, 0x0000FF, 0, 0});
}

struct EventDefault {
    char letter;
    uint32_t colour1;
    uint32_t colour2;
    uint32_t pen;
};

constexpr EventDefault kEventDefaults[kEventCount] = {
    {'n', 0x40000000, 0xE0E0E0, 0x02000000}, {'X', 0x40400040, 0xFFDCFF, 0x02400040},
    {'A', 0x40404000, 0xFFFFDC, 0x02404000}, {'R', 0x40006000, 0xC8FF96, 0x02006000},
    {'D', 0x40800000, 0xFFDCDC, 0x02800000}, {'B', 0x40006000, 0xC8FF96, 0x02006000},
    {'S', 0x40000080, 0xDCDCFF, 0x02000080}, {'T', 0x40400040, 0xFFDCFF, 0x02400040},
    {'C', 0x40404000, 0xFFFFDC, 0x02404000}, {'E', 0x40800000, 0xFFDCDC, 0x02800000},
    {'I', 0x40FFFFFF, 0x000060, 0x02E0E0E0}, {'b', 0x40C8FF96, 0x006000, 0x0200FF00},
    {'s', 0x40DCDCFF, 0x000080, 0x020000FF}, {0, 0, 0, 0},
    {0, 0, 0, 0},                            {0, 0, 0, 0},
};

bool BytesDiffer(const GraphSetting& a, const GraphSetting& b, size_t at, size_t size)
{
    return std::memcmp(a.data() + at, b.data() + at, size) != 0;
}

// An indicator record of a preset: a locked type with its parameters, pens and window weight.
struct PresetIndicator {
    uint8_t type;
    uint8_t flags;
    std::array<int16_t, 4> params;
    std::array<uint32_t, kMaxLineStyles> pens;
    int16_t weight;
};

void WritePresetIndicator(GraphSetting& s, int window, const PresetIndicator& p, uint32_t styleKey)
{
    auto slot = IndicatorSlot(s, window, 0);
    std::fill(slot.begin(), slot.end(), uint8_t(0));
    slot[kSlotType] = p.type;
    slot[kSlotFlags] = p.flags;
    StoreU16(slot.data() + 2, 4);
    for (size_t i = 0; i < p.params.size(); ++i)
        StoreU16(slot.data() + 4 + 2 * i, uint16_t(p.params[i]));
    std::array<uint32_t, kMaxLineStyles> pens = p.pens;
    std::array<uint32_t, kMaxLineStyles> stored{};
    int n = LoadIndicatorLineStyles(stored, styleKey, p.type);
    std::copy_n(stored.begin(), n, pens.begin());
    for (size_t i = 0; i < pens.size(); ++i)
        StoreU32(slot.data() + 16 + 4 * i, pens[i]);
    StoreU16(slot.data() + kSlotHeightWeight, uint16_t(p.weight));
}

constexpr uint32_t kPresetTrendStyles = 0x10000;
constexpr uint32_t kPresetLineStyles = 0x20000;

void ClearForPreset(GraphSetting& s)
{
    std::fill_n(s.data() + kAddOnWindows, kAddOnWindowCount * kAddOnWindowSize, uint8_t(0));
    std::fill_n(s.data() + kAddedGraphs, kAddedGraphCount * kAddedGraphSize, uint8_t(0));
    std::fill_n(s.data() + kLineWords, 4 * kLines, uint8_t(0));
    SetU16(s, kDateRangeFlags, 0);
    SetU32(s, kPivot1 + kPivotFlags, 0);
    SetU32(s, kTrendShown, 1);
    SetU32(s, kConfidenceShown, 1);
    SetU32(s, kTrendDeviation, 4);
    SetU32(s, kTrendRange, 0);
    SetU32(s, kSwingFlags, 0);
    SetU16(s, kScaleFlags, uint16_t(U16(s, kScaleFlags) | 128));
    SetU16(s, kShowFutureBars, 1);
    SetU16(s, kShowFutureSecond, 2);
    SetU32(s, kShowFutureThird, 3);
    SetU8(s, kPriceDisplay, 1);
    SetU8(s, kPriceColourMode, 1);
    SetU8(s, kVolumeColourMode, 1);
    SetU16(s, kVolumePaneHeight, 100);
}

// The stored styles under (key, sub-key) replace up to two colour words of the record.
void ApplyStoredColours(GraphSetting& s, uint32_t key, uint32_t subKey, size_t first, size_t second)
{
    std::array<uint32_t, kMaxLineStyles> pens{};
    int n = LoadIndicatorLineStyles(pens, key, subKey);
    if (n >= 1)
        SetU32(s, first, pens[0]);
    if (n >= 2)
        SetU32(s, second, pens[1]);
}

// The default line styles by indicator type, for the light and the dark background.
struct LineStyleDefault {
    int n;
    std::array<uint32_t, kMaxLineStyles> light;
    std::array<uint32_t, kMaxLineStyles> dark;
};

constexpr LineStyleDefault kOneLine{1, {0x800000}, {0xFFC0C0}};

bool HasNoLineStyles(int type)
{
    return type == 31 || (type >= 32 && type <= 40);
}

LineStyleDefault DefaultLineStyles(int type)
{
    switch (type) {
    case 8:
        return {4, {0x800000, 0x02800000, 0x00FF00, 0x008000}, {0xFFC0C0, 0x02FFC0C0, 0x00FF00, 0xC8FF96}};
    case 9:
    case 12:
    case 46:
    case 47:
        return {2, {0x800000, 0x02800000}, {0xFFC0C0, 0x02FFC0C0}};
    case 15:
        return {2, {0x800000, 0x800000}, {0xFFC0C0, 0xFFC0C0}};
    case 54:
        return {4, {0x800000, 0x02000000, 0x020000FF, 0x02800000}, {0xFFC0C0, 0x0200FFFF, 0x020000FF, 0x02FFC0C0}};
    case 55:
        return {2, {0x20800000, 0x800000}, {0x20FFC0C0, 0xFFC0C0}};
    case 58:
        return {3, {0x000000, 0xFF0000, 0x0000FF}, {0x00FFFF, 0xFF0000, 0x0000FF}};
    default:
        return HasNoLineStyles(type) ? LineStyleDefault{0, {}, {}} : kOneLine;
    }
}

} // namespace

void InitTrendSettings(GraphSetting& record, bool intraday)
{
    SetWords(record, kTrends, {0, 0, 0xFF0000, 0x01FF0000, intraday ? 1u : 2u, 0, intraday ? 20u : 60u});
}

void InitMovingAverageLines(GraphSetting& record, bool intraday)
{
    if (intraday)
        SetWords(record, kLineWords, {0x18000005, 0x1800000A, 0x1800000F, 0x18000014});
    else
        SetWords(record, kLineWords, {0x18300014, 0x1830003C, 0x18300078, 0x183000FA});
    SetWords(record, kLineColours, {0x0000FF, 0x00FF00, 0xFF0000, 0xFFFF00});
    SetWords(record, kLineBandColours, {0x0000FF, 0x00FF00, 0xFF0000, 0xFFFF00});
}

void InitEventMarkerSettings(GraphSetting& record)
{
    std::fill_n(record.data() + kEvents, kEventsSize, uint8_t(0));
    for (int i = 0; i < kEventCount; ++i) {
        size_t at = EventEntry(i);
        const EventDefault& e = kEventDefaults[i];
        SetU8(record, at + kEventStyles, 1);
        SetU8(record, at + kEventStyles + 1, 4);
        SetU8(record, at + kEventLetter, uint8_t(e.letter));
        SetU32(record, at + kEventColour1, e.colour1);
        SetU32(record, at + kEventColour2, e.colour2);
        SetU32(record, at + kEventPen, e.pen);
    }
}

void InitSwingChartSettings(GraphSetting& record)
{
    SetWords(record, kSwing,
             {3190, 3, 0xFF0000, 0x0000FF, 0x00FF00, 0xFFF0F0, 0xF0F0FF, 0x41FF0000, 0x410000FF, 0x20FF0000,
              0x200000FF, 0x30FFFF00, 0x20FFFF00, 0x30FF00FF, 0x20FF00FF, 0x30000000, 0x30000000});
}

void InitPivotPointSettings(GraphSetting& record)
{
    InitPivotBlock(record, kPivot1);
    InitPivotBlock(record, kPivot2);
}

void InitSupportResistSettings(GraphSetting& record)
{
    SetWords(record, kSupportResist, {0, 0x0000FF, 0x0000FF, 0xFF0000, 0xFF0000});
}

void InitGraphSetting(GraphSetting& record, bool intraday)
{
    record.bytes.fill(0);
    InitDateRange(record);
    InitTrendSettings(record, intraday);
    InitMovingAverageLines(record, intraday);
    InitPivotPointSettings(record);
    InitSwingChartSettings(record);
    InitSupportResistSettings(record);
    InitEventMarkerSettings(record);
    for (const StyleField& f : kStyleFields)
        SetField(record, f, intraday ? f.intraday : f.daily);
    std::memcpy(record.data() + kFontFace, "Arial", 5);
}

bool GraphSettingDiffersFromDefault(const GraphSetting& record, bool intraday)
{
    GraphSetting defaults;
    InitGraphSetting(defaults, intraday);
    for (int w = 0; w < kAddOnWindowCount; ++w)
        for (int k = 0; k < kIndicatorsPerWindow; ++k)
            if (IndicatorSlot(record, w, k)[kSlotType] != 0)
                return true;
    for (int k = 0; k < kAddedGraphCount; ++k)
        if (AddedGraphInUse(record, k))
            return true;
    return BytesDiffer(record, defaults, kTrends, kTrendsSize) ||
           BytesDiffer(record, defaults, kDateRange, kDateRangeSize) ||
           BytesDiffer(record, defaults, kShowFutureBars, kStyleBlock - kShowFutureBars) ||
           BytesDiffer(record, defaults, kEvents, kEventsSize);
}

void InitVexaGraphSetting(GraphSetting& record, int preset)
{
    if (preset != 2 && preset != 3)
        return;
    const uint32_t key = uint32_t(preset);
    ClearForPreset(record);
    ApplyStoredColours(record, key, kPresetTrendStyles, kTrendPen, kConfidencePen);
    if (preset == 2) {
        WritePresetIndicator(record, 0, {8, 129, {12, 26, 9, 0}, {0xFF0000, 0x02008000, 0x00FF00, 0xC0DCC0}, 300}, key);
        WritePresetIndicator(record, 1, {12, 128, {21, 9, 2, 1}, {0x008000, 0x020000FF, 0, 0}, 200}, key);
        WritePresetIndicator(record, 2, {2, 128, {21, 0, 0, 0}, {0x0000FF, 0, 0, 0}, 150}, key);
        SetU32(record, kLineWords, 0xD820A014);
        SetU32(record, kLineColours, 0x00FF00);
        SetU32(record, kLineBandColours, 0x00FF00);
        ApplyStoredColours(record, key, kPresetLineStyles, kLineColours, kLineBandColours);
        return;
    }
    WritePresetIndicator(record, 0, {23, 128, {0, 0, 4, 0}, {0xFF0000, 0, 0, 0}, 300}, key);
    WritePresetIndicator(record, 1, {6, 128, {18, int16_t(uint16_t(46597)), 0, 0}, {0x008000, 0, 0, 0}, 200}, key);
}

void ClearRetiredLineField(GraphSetting&) {}
void ConvertOldIndicatorRecords(GraphSetting&) {}

int LoadIndicatorLineStyles(std::span<uint32_t, kMaxLineStyles> pens, uint32_t key, uint32_t type)
{
    const uint8_t* blob = LinesAndTextStore().GetItem(key, kLineStyleKind, type);
    uint32_t length = BlobLength(blob);
    if (length < 12)
        return 0;
    int n = int(std::min<uint32_t>((length - 8) / 4, kMaxLineStyles));
    for (int i = 0; i < n; ++i)
        pens[size_t(i)] = LoadU32(blob + 8 + 4 * size_t(i));
    return n;
}

void SaveIndicatorLineStyles(std::span<const uint32_t> pens, uint32_t key, uint32_t type)
{
    size_t n = std::min<size_t>(pens.size(), kMaxLineStyles);
    if (n == 0)
        return;
    Blob blob = MakeBlob(uint32_t(8 + 4 * n));
    StoreU32(blob.get() + 4, 0);
    for (size_t i = 0; i < n; ++i)
        StoreU32(blob.get() + 8 + 4 * i, pens[i]);
    LinesAndTextStore().SetItem(key, kLineStyleKind, type, std::move(blob));
}

void InitIndicatorLineStyles()
{
    constexpr int kFirstType = 1;
    constexpr int kLastType = 59;
    for (int type = kFirstType; type <= kLastType; ++type) {
        LineStyleDefault d = DefaultLineStyles(type);
        if (d.n == 0)
            continue;
        for (uint32_t key : {0u, 1u}) {
            if (LinesAndTextStore().GetItem(key, kLineStyleKind, uint32_t(type)))
                continue;
            const auto& pens = key == 0 ? d.light : d.dark;
            SaveIndicatorLineStyles(std::span<const uint32_t>(pens.data(), size_t(d.n)), key, uint32_t(type));
        }
    }
}

} // namespace qv
