// Shared chart routines: percentage bands, stop labels, pen metrics, average lag, line colours,
// line clipping and scale settings.
#include "chartmodel/ChartRoutines.h"

#include "chartmodel/ChartMath.h"
#include "chartmodel/ChartNumbers.h"
#include "core/MovingAverage.h"
#include "core/StringPrintf.h"
#include "platform/ByteOrder.h"

#include <algorithm>
#include <cfloat>
#include <cmath>

namespace qv {
namespace {

constexpr uint32_t kLinePalette[24] = {
    0x800000, 0x008000, 0x000080, 0xC00000, 0x00C000, 0x0000C0, 0x808000, 0x0080C0,
    0x80C000, 0x8000C0, 0xC08000, 0x00C080, 0x808080, 0xC000C0, 0xC0C000, 0x008080,
    0x800080, 0x00C0C0, 0x8040C0, 0x80C040, 0xC08040, 0x4080C0, 0xC04080, 0x40C080,
};
int lineColourCounter = 0;

std::string NumberText(float value, int decimals)
{
    std::string text;
    FormatChartValueText(text, value, decimals, false, false, 0);
    return text;
}

int32_t RoundToPixel(double v) { return SaturatingTrunc32(v + 0.5); }

} // namespace

float ClampToPercentBand(float reference, float value, float percent, int side, bool both)
{
    float lower = std::max(0.0f, (100 - percent) * reference / 100);
    float upper = std::max(0.0f, (100 + percent) * reference / 100);
    if (side == 0) {
        if (value < lower || value < 0)
            return lower;
        if (both && value > upper)
            return upper;
        return value;
    }
    if (value > upper)
        return upper;
    if (both && (value < lower || value < 0))
        return lower;
    return value;
}

StopRecord ReadStopRecord(const uint8_t* bytes)
{
    return {LoadU16(bytes), LoadU16(bytes + 2), LoadU32(bytes + 4), LoadF32(bytes + 8), LoadU32(bytes + 12)};
}

void WriteStopRecord(const StopRecord& stop, uint8_t* bytes)
{
    StoreU16(bytes, stop.flags);
    StoreU16(bytes + 2, stop.startDate);
    StoreU32(bytes + 4, stop.pen);
    StoreF32(bytes + 8, stop.percent);
    StoreU32(bytes + 12, stop.startTime);
}

void FormatStopLabel(std::string& text, const StopRecord* stop, float stopValue, const char* label)
{
    text.clear();
    if (!stop)
        return;
    std::string value = stopValue > 0 ? NumberText(stopValue, 3) : std::string();
    text = StringPrintf("%s%% %s Stop-%s %s", NumberText(stop->percent, 2).c_str(), label ? label : "",
                        (stop->flags & 1) ? "gain" : "loss", value.c_str());
}

PenMetrics GetPenDashMetrics(uint32_t pen, float scale)
{
    static constexpr int kStart[8] = {-1, -1, -2, -2, -3, -3, -4, -4};
    static constexpr int kEnd[8] = {1, 2, 2, 3, 3, 4, 4, 5};
    int w = (pen & 0x80000000u) ? 0 : int((pen >> 28) & 7);
    return {SaturatingTrunc32((w + 1) * double(scale) + 0.5), SaturatingTrunc32(kStart[w] * double(scale) - 0.5),
            SaturatingTrunc32(kEnd[w] * double(scale) + 0.5)};
}

int32_t MeasureAverageLag(CMovingAverage& average, int32_t valuesNeeded)
{
    average.Prime(1.0);
    for (int32_t i = 1; i <= valuesNeeded - 1; ++i) {
        average.Next(double(i) * i);
        average.DropOldest();
    }
    double previous = 0;
    int32_t count = 0;
    for (int32_t k = valuesNeeded - 2; k >= 1; --k) {
        double v = average.Next(double(k) * k);
        if (v < previous)
            break;
        average.DropOldest();
        ++count;
        previous = v;
    }
    average.Reset();
    return count;
}

uint32_t PickLineColour(uint32_t background)
{
    int sum = int(background & 0xFF) + int((background >> 8) & 0xFF) + int((background >> 16) & 0xFF);
    uint32_t colour = kLinePalette[lineColourCounter];
    lineColourCounter = (lineColourCounter + 1) % 24;
    return sum <= 382 ? (~colour & 0xFFFFFF) : colour;
}

void ResetLineColourCounter() { lineColourCounter = 0; }

bool ClipLineToRect(const LineSegment& s, int32_t left, int32_t top, int32_t right, int32_t bottom,
                    LineSegment& out)
{
    int32_t yMin = std::min(top, bottom);
    int32_t yMax = std::max(top, bottom);
    out = s;
    double dx = double(s.x2) - s.x1;
    double dy = double(s.y2) - s.y1;
    double m = dx == 0 ? FLT_MAX : dy == 0 ? 0.0 : dy / dx;
    if (std::fabs(m) > 1e6) {
        out.y1 = s.y1 < s.y2 ? yMin : yMax;
        out.y2 = out.y1 < s.y2 ? yMax : yMin;
        return left <= s.x1 && s.x1 <= right;
    }
    if (std::fabs(m) < 1e-6) {
        out.x1 = left;
        out.x2 = right;
        return yMin <= s.y1 && s.y1 <= yMax;
    }
    if (left == right)
        return false;
    double b = s.y1 - m * s.x1;
    int32_t yl = RoundToPixel(m * left + b);
    int32_t yr = RoundToPixel(m * right + b);
    out = {left, yl, right, yr};
    if (yl >= yMin && yl <= yMax && yr >= yMin && yr <= yMax)
        return true;
    if ((yl <= yMin && yr <= yMin) || (yl >= yMax && yr >= yMax))
        return false;
    int32_t xa = RoundToPixel((yMax - b) / m);
    int32_t xb = RoundToPixel((yMin - b) / m);
    LineSegment low = {xa, yMax, 0, 0};
    LineSegment high = {xb, yMin, 0, 0};
    const LineSegment& first = xa < xb ? low : high;
    const LineSegment& second = xa < xb ? high : low;
    if (first.x1 > left) {
        out.x1 = first.x1;
        out.y1 = first.y1;
    }
    if (second.x1 < right) {
        out.x2 = second.x1;
        out.y2 = second.y1;
    }
    return true;
}

void InitScaleSettings(ScaleSettings& settings, bool narrowMargin)
{
    settings = ScaleSettings{};
    settings.marginPercent = narrowMargin ? 5 : 25;
}

bool ScaleSettingsChanged(const ScaleSettings& settings)
{
    return settings.flags >= 2 || settings.marginPercent != 5 || settings.word3 != 0;
}

} // namespace qv
