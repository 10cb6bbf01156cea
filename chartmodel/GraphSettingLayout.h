// The byte layout of the 1992-byte graph setting record: a named offset for every field of its
// tables, the sub-blocks (date range, trends, add-on windows, added graphs, pivot, support and
// resistance, swing, events) and accessors that read and write the fields little-endian. The
// indicator records of the add-on windows are handed out as raw 52-byte slots.
#pragma once

#include "core/ConfigRecords.h"
#include "platform/ByteOrder.h"

#include <cstddef>
#include <cstdint>
#include <span>

namespace qv::graphsetting {

// Moving-average lines and their colours.
constexpr size_t kLineWords = 0;          // 4 x u32 packed line words
constexpr size_t kLineColours = 16;       // 4 x u32
constexpr size_t kLineBandColours = 32;   // 4 x u32
constexpr int kLines = 4;

// Default date range (8 bytes).
constexpr size_t kDateRange = 48;
constexpr size_t kDateRangeFlags = 48;    // u16: bits 0-3 unit, 5 limit by count, 6 start, 7 end
constexpr size_t kDateRangeStart = 50;    // u16 PackedDate
constexpr size_t kDateRangeCount = 52;    // u16
constexpr size_t kDateRangeEnd = 54;      // u16 PackedDate
constexpr size_t kDateRangeSize = 8;

// "Display trends" block (7 words).
constexpr size_t kTrends = 56;
constexpr size_t kTrendShown = 56;
constexpr size_t kConfidenceShown = 60;
constexpr size_t kTrendPen = 64;
constexpr size_t kConfidencePen = 68;
constexpr size_t kTrendDeviation = 72;    // index 0-5 into 0.5 .. 3.0
constexpr size_t kTrendRange = 76;        // 0 displayed data, 1 all data, 2 last N periods
constexpr size_t kTrendPeriods = 80;
constexpr size_t kTrendsSize = 28;

// Four add-on windows of four 52-byte indicator records each.
constexpr size_t kAddOnWindows = 84;
constexpr int kAddOnWindowCount = 4;
constexpr int kIndicatorsPerWindow = 4;
constexpr size_t kIndicatorSlotSize = 52;
constexpr size_t kAddOnWindowSize = kIndicatorsPerWindow * kIndicatorSlotSize;
// Offsets within an indicator slot that the model itself reads.
constexpr size_t kSlotType = 0;           // u8, 0 an empty slot
constexpr size_t kSlotFlags = 1;          // u8, bit 7 locked
constexpr size_t kSlotHeightWeight = 40;  // i16, record 0 of a window only

// Five added-graph records.
constexpr size_t kAddedGraphs = 916;
constexpr int kAddedGraphCount = 5;
constexpr size_t kAddedGraphSize = 24;
constexpr size_t kAddedGraphInUse = 22;   // u16 within the record

// "Show Future".
constexpr size_t kShowFutureBars = 1036;  // u16
constexpr size_t kShowFutureSecond = 1038; // u16
constexpr size_t kShowFutureThird = 1040; // u32

// The style block, from here to the pivot blocks.
constexpr size_t kStyleBlock = 1044;
constexpr size_t kVolumePane = 1044;      // u8: bit 0 histogram, bit 1 signal line
constexpr size_t kPriceDisplay = 1045;    // u8: 0 close line .. 8 three-line break
constexpr size_t kPriceLines = 1046;      // u8: bit 0 close, 1 high, 2 low
constexpr size_t kPriceTypeLine = 1047;   // u8: 0 median, 1 weighted, 2 typical, 3 none
constexpr size_t kVolumeSignalPeriods = 1048; // u16
constexpr size_t kBarPeriod = 1050;       // u8
constexpr size_t kPriceColourMode = 1051; // u8: colouring mode 0-6
constexpr size_t kPriceColours = 1052;    // 5 x u32, the price colour scheme
constexpr int kPriceColourCount = 5;
constexpr size_t kPriceTypeLinePen = 1072;
constexpr size_t kPriceLinesPen = 1076;
constexpr size_t kVolumeUpColour = 1080;
constexpr size_t kVolumeDownColour = 1084;
constexpr size_t kVolumeSignalPen = 1088;
constexpr size_t kGridDensityH = 1092;    // u32 0-3
constexpr size_t kGridDensityV = 1096;    // u32 0-3
constexpr size_t kGridPenV = 1100;
constexpr size_t kTickColour = 1104;
constexpr size_t kGridPenH = 1108;
constexpr size_t kScaleTextColour = 1112;
constexpr size_t kFramePen = 1116;
constexpr size_t kBackground = 1120;
constexpr size_t kTitleTextColour = 1124;
constexpr size_t kTextBoxColour1 = 1128;
constexpr size_t kTextBoxColour2 = 1132;
constexpr size_t kTextBoxColour3 = 1136;
constexpr size_t kNewObjectColour = 1140;
constexpr size_t kDisplayFlags = 1144;    // u16: bit 4 watermark
constexpr size_t kWhiteSpace = 1146;      // u8 0-5
constexpr size_t kDisplaySwitches = 1147; // 3 x u8
constexpr size_t kDisplaySwitch4 = 1150;  // u8
constexpr size_t kStyleValues = 1152;     // 2 x u32
constexpr size_t kStyleValue3 = 1160;     // u32
constexpr size_t kStylePen = 1164;        // u32
constexpr size_t kIntradayColours = 1168; // 4 x u32
constexpr size_t kWatermarkColour = 1184;
constexpr size_t kIntradayValue1 = 1188;  // u32
constexpr size_t kIntradaySwitches = 1192; // 2 x u8
constexpr size_t kIntradayValue2 = 1194;  // u16
constexpr size_t kIntradayValues3 = 1196; // 2 x u8
constexpr size_t kTradingDayStart = 1200; // u32 seconds after midnight
constexpr size_t kTradingDayEnd = 1204;   // u32
constexpr size_t kScaleFlags = 1208;      // u16
constexpr size_t kShadedFrames = 1210;    // u8
constexpr size_t kVolumePaneHeight = 1212; // u16 thousandths
constexpr size_t kStyleValue4 = 1216;     // u16
constexpr size_t kShadeTop = 1220;
constexpr size_t kShadeBottom = 1224;
constexpr size_t kStylePens = 1228;       // 2 x u32
constexpr size_t kIntradayValue4 = 1236;  // u16
constexpr size_t kWatermarks = 1238;      // u16
constexpr size_t kStyleColour1 = 1240;
constexpr size_t kStyleColour2 = 1244;
constexpr size_t kStyleValue5 = 1248;     // u16
constexpr size_t kVolumeColourMode = 1250; // u8: 0 price scheme, 1 one colour, 2 volume, 3 price move
constexpr size_t kFallMarkColour = 1252;
constexpr size_t kRiseMarkColour = 1256;
constexpr size_t kLatestPriceBack = 1260;
constexpr size_t kBoxValue = 1264;        // u16, x 100
constexpr size_t kBoxSizeSpace = 1266;    // u8: low 4 bits box size, high 4 bits white space
constexpr size_t kFontFlags = 1267;       // u8: 1 bold, 2 italic, 4 underline
constexpr size_t kBoxValueOption = 1268;  // u8
constexpr size_t kReversal = 1269;        // u8
constexpr size_t kBoxChartFlags = 1270;   // u16
constexpr size_t kTextSize = 1272;        // u32 points
constexpr size_t kFontFace = 1276;        // 32 chars
constexpr size_t kFontFaceSize = 32;
constexpr size_t kBoxUpPen = 1308;
constexpr size_t kBoxDownPen = 1312;
constexpr size_t kLineBreakLines = 1316;  // u8
constexpr size_t kIntradayColours2 = 1372; // 2 x u32

// Pivot blocks (9 words each).
constexpr size_t kPivot1 = 1460;
constexpr size_t kPivot2 = 1496;
constexpr size_t kPivotSize = 36;
constexpr size_t kPivotMethod = 0;
constexpr size_t kPivotFlags = 4;
constexpr size_t kPivotPens = 8;          // 5 x u32

// 45-degree support and resistance lines: seven words, of which the defaults fill the first five (flag
// word and four pens).
constexpr size_t kSupportResist = 1532;
constexpr int kSupportResistWords = 7;
constexpr size_t kSupportResistSize = 4 * kSupportResistWords;

// Swing block: 26 words, of which the defaults fill the first 17.
constexpr size_t kSwing = 1560;
constexpr int kSwingBlockWords = 26;
constexpr size_t kSwingSize = 4 * kSwingBlockWords;
constexpr size_t kSwingFlags = 1560;
constexpr size_t kSwingDays = 1564;
constexpr int kSwingWords = 17;

// Event block: a word, then sixteen 16-byte entries.
constexpr size_t kEvents = 1732;
constexpr size_t kEventsSize = 260;
constexpr size_t kEventEntries = 1736;
constexpr size_t kEventEntrySize = 16;
constexpr int kEventCount = 16;
constexpr size_t kEventShown = 0;         // u8
constexpr size_t kEventStyles = 1;        // 2 x u8
constexpr size_t kEventLetter = 3;        // char
constexpr size_t kEventColour1 = 4;       // u32, bit 30 set
constexpr size_t kEventColour2 = 8;
constexpr size_t kEventPen = 12;

static_assert(kLineBandColours + 4 * kLines == kDateRange);
static_assert(kDateRange + kDateRangeSize == kTrends);
static_assert(kTrends + kTrendsSize == kAddOnWindows);
static_assert(kAddOnWindows + kAddOnWindowCount * kAddOnWindowSize == kAddedGraphs);
static_assert(kAddedGraphs + kAddedGraphCount * kAddedGraphSize == kShowFutureBars);
static_assert(kAddedGraphs + kAddedGraphInUse == GraphSetting::kMarkerEntries);
static_assert(kShowFutureThird + 4 == kStyleBlock);
static_assert(kPriceColours + 4 * 10 == kGridDensityH);
static_assert(kFontFace + kFontFaceSize == kBoxUpPen);
static_assert(kPivot1 + kPivotSize == kPivot2);
static_assert(kPivot2 + kPivotSize == kSupportResist);
static_assert(kSupportResist + kSupportResistSize == kSwing);
static_assert(kSwing + kSwingSize <= kEvents);
static_assert(kEventEntries + kEventCount * kEventEntrySize == kEvents + kEventsSize);
static_assert(kEvents + kEventsSize == GraphSetting::kSize);

inline uint8_t U8(const GraphSetting& s, size_t at) { return s.bytes[at]; }
inline uint16_t U16(const GraphSetting& s, size_t at) { return LoadU16(s.data() + at); }
inline uint32_t U32(const GraphSetting& s, size_t at) { return LoadU32(s.data() + at); }
inline void SetU8(GraphSetting& s, size_t at, uint8_t v) { s.bytes[at] = v; }
inline void SetU16(GraphSetting& s, size_t at, uint16_t v) { StoreU16(s.data() + at, v); }
inline void SetU32(GraphSetting& s, size_t at, uint32_t v) { StoreU32(s.data() + at, v); }

// The 52 bytes of indicator record `index` of add-on window `window`.
inline std::span<uint8_t, kIndicatorSlotSize> IndicatorSlot(GraphSetting& s, int window, int index)
{
    size_t at = kAddOnWindows + size_t(window) * kAddOnWindowSize + size_t(index) * kIndicatorSlotSize;
    return std::span<uint8_t, kIndicatorSlotSize>(s.data() + at, kIndicatorSlotSize);
}
inline std::span<const uint8_t, kIndicatorSlotSize> IndicatorSlot(const GraphSetting& s, int window, int index)
{
    size_t at = kAddOnWindows + size_t(window) * kAddOnWindowSize + size_t(index) * kIndicatorSlotSize;
    return std::span<const uint8_t, kIndicatorSlotSize>(s.data() + at, kIndicatorSlotSize);
}
inline std::span<uint8_t, kAddedGraphSize> AddedGraph(GraphSetting& s, int k)
{
    return std::span<uint8_t, kAddedGraphSize>(s.data() + kAddedGraphs + size_t(k) * kAddedGraphSize,
                                               kAddedGraphSize);
}
inline bool AddedGraphInUse(const GraphSetting& s, int k)
{
    return U16(s, kAddedGraphs + size_t(k) * kAddedGraphSize + kAddedGraphInUse) != 0;
}

inline uint32_t LineWord(const GraphSetting& s, int i) { return U32(s, kLineWords + 4 * size_t(i)); }
inline uint32_t LineColour(const GraphSetting& s, int i) { return U32(s, kLineColours + 4 * size_t(i)); }
inline uint32_t LineBandColour(const GraphSetting& s, int i) { return U32(s, kLineBandColours + 4 * size_t(i)); }
inline uint32_t PriceColour(const GraphSetting& s, int i) { return U32(s, kPriceColours + 4 * size_t(i)); }
// Word i (0-16) of the swing block.
inline uint32_t SwingWord(const GraphSetting& s, int i) { return U32(s, kSwing + 4 * size_t(i)); }
inline size_t EventEntry(int i) { return kEventEntries + size_t(i) * kEventEntrySize; }

// The fields of a packed moving-average line word.
struct LineWordFields {
    bool shown;
    bool bandShown;
    bool envelope;             // envelope rather than Bollinger band
    int period;                // bits 0-11
    int envelopePercent;       // bits 12-19
    int deviationCode;         // bits 20-22; the band is (code + 1) / 2 deviations
    int averageType;           // bits 23-26
};
inline LineWordFields DecodeLineWord(uint32_t w)
{
    return {(w >> 31) != 0,       ((w >> 30) & 1) != 0, ((w >> 29) & 1) != 0, int(w & 0xFFF),
            int((w >> 12) & 0xFF), int((w >> 20) & 7),   int((w >> 23) & 0xF)};
}

} // namespace qv::graphsetting
