// The graph design dialog's rules over a graph setting record.
#include "chartmodel/GraphDesign.h"

#include "chartmodel/GraphSettingLayout.h"
#include "core/PackedPen.h"

#include <cstring>

namespace qv::graphdesign {

using namespace graphsetting;

int CorrectTimeScale(int stored) { return stored > 8 || stored < 0 ? 0 : stored; }
int CorrectReversal(int stored) { return stored < 1 ? 1 : (stored > 10 ? 10 : stored); }
double CorrectBoxValue(double value) { return value < 0.01 ? 0.01 : (value > 500 ? 500 : value); }
int CorrectPage(int stored) { return stored > 5 || stored < 0 ? 0 : stored; }
bool IsBoxChart(int priceDisplay) { return priceDisplay >= kPriceDisplayPointFigure; }

int BoxValueLimit(int boxOption) { return boxOption == kBoxOptionPercentOfValue ? 99 : 500; }
bool BoxValueValid(double value, int boxOption) { return value >= 0.01 && value <= BoxValueLimit(boxOption); }
uint16_t StoredBoxValue(double value) { return uint16_t(value * 100 + 0.1); }
bool ReversalValid(int value) { return value >= 1 && value <= 10; }
size_t ReversalOffset(int priceDisplay) { return priceDisplay == kPriceDisplayLineBreak ? kLineBreakLines : kReversal; }

void SolidifyFilledPriceColours(GraphSetting& record)
{
    for (int i = 0; i < kPriceColourCount; ++i) {
        size_t at = kPriceColours + 4 * size_t(i);
        uint32_t word = U32(record, at);
        if (PenStyleOf(word) == PenNull)
            SetU32(record, at, word & ~(7u << 24));
    }
}

namespace {

struct ColourDefault {
    size_t at;
    uint32_t light, dark;
};

constexpr ColourDefault kColourDefaults[] = {
    {kPriceColours + 0, 0x000000, 0x00FFFF},  {kPriceColours + 4, 0x0000FF, 0x0000FF},
    {kPriceColours + 8, 0x008000, 0xC8FF96},  {kPriceColours + 12, 0x4080FF, 0x4080FF},
    {kPriceColours + 16, 0x800000, 0xFF0000}, {kBoxUpPen, 0x000000, 0x00FFFF},
    {kBoxDownPen, 0x0000FF, 0x0000FF},        {kPriceLinesPen, 0x008000, 0x00FFFF},
    {kPriceTypeLinePen, 0xFF0000, 0xF0CAA6},  {kTickColour, 0x800000, 0x4080FF},
    {kLatestPriceBack, 0xE0E0E0, 0x800000},   {kVolumeUpColour, 0x000000, 0x4080FF},
    {kVolumeDownColour, 0x000000, 0x4080FF},  {kVolumeSignalPen, 0xFF0000, 0xFF0000},
    {kGridPenV, 0xC0C0C0, 0x808080},          {kGridPenH, 0xC0C0C0, 0x808080},
    {kFramePen, 0x000000, 0xFFFFFF},          {kTitleTextColour, 0x800000, 0x00FFFF},
    {kScaleTextColour, 0x800000, 0x4080FF},   {kBackground, 0xFFFFFF, 0x000000},
    {kShadeTop, 0xFFF0E0, 0x802010},          {kShadeBottom, 0xFFFFFF, 0x000000},
    {kWatermarkColour, 0xDCDCDC, 0x808080},
};

void ClearPenStyle(GraphSetting& record, size_t at) { SetU32(record, at, U32(record, at) & ~(7u << 24)); }

} // namespace

void ApplyColourDefaults(GraphSetting& record, bool dark)
{
    SetU32(record, kGridDensityH, 2);
    SetU32(record, kGridDensityV, 2);
    SetU8(record, kWhiteSpace, 1);
    ClearPenStyle(record, kGridPenV);
    ClearPenStyle(record, kGridPenH);
    ClearPenStyle(record, kFramePen);
    SetU8(record, kPriceDisplay, 1);
    SetU8(record, kPriceLines, 0);
    SetU8(record, kPriceTypeLine, 3);
    SetU16(record, kVolumeSignalPeriods, 25);
    SetU8(record, kVolumePane, uint8_t((U8(record, kVolumePane) | 1) & ~2));
    SetU8(record, kShadedFrames, dark ? 4 : 0);
    for (const ColourDefault& c : kColourDefaults) {
        uint32_t word = U32(record, c.at);
        SetU32(record, c.at, (word & 0xFF000000u) | (dark ? c.dark : c.light));
    }
}

int PreviewMargin(const GraphSetting& record)
{
    return U8(record, kWhiteSpace) * 2 + DecodePackedPen(PenDevice{}, U32(record, kFramePen), false).width;
}

int ViewMargin(const GraphSetting& record) { return U8(record, kWhiteSpace) * 3 + 1; }

int ApplyDisplayChoice(GraphSetting& record, int display)
{
    constexpr uint16_t kGridBit = 32;
    auto clearStyle = [&record](size_t at) { SetU32(record, at, U32(record, at) & 0xFFFFFF); };
    if (display == kPriceDisplayKagi) {
        if ((U32(record, kBoxDownPen) & 0xFF000000u) == 0)
            SetU32(record, kBoxUpPen, (U32(record, kBoxUpPen) & ~0xF0000000u) | (2u << 28));
        return CorrectReversal(U8(record, kReversal));
    }
    if (display != kPriceDisplayPointFigure && display != kPriceDisplayRenko && display != kPriceDisplayLineBreak)
        return CorrectReversal(U8(record, kReversal));
    clearStyle(kBoxUpPen);
    clearStyle(kBoxDownPen);
    if (display == kPriceDisplayLineBreak)
        return kDefaultReversal;
    SetU16(record, kBoxChartFlags, uint16_t(U16(record, kBoxChartFlags) | kGridBit));
    return CorrectReversal(U8(record, kReversal));
}

namespace {
bool Percent(int boxOption) { return boxOption == kBoxOptionPercentOfValue || boxOption == 2; }
} // namespace

const char* BoxValueCaption(int boxOption) { return Percent(boxOption) ? "% Box" : "Box value"; }

const char* ReversalCaption(int display, int boxOption)
{
    if (display != kPriceDisplayKagi)
        return "Reversal";
    return Percent(boxOption) ? "% Rev." : "Rev. value";
}

const char* GridCaption(int display) { return display == kPriceDisplayKagi ? "Round to grid" : "Grid"; }

void SetChartFontFace(GraphSetting& record, const char* face)
{
    char* out = reinterpret_cast<char*>(record.data() + kFontFace);
    std::memset(out, 0, kFontFaceSize);
    std::strncpy(out, face, kFontFaceSize - 1);
}

} // namespace qv::graphdesign
