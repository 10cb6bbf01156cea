// Bar colouring rules, one member per record layout.
#include "chartmodel/BarColour.h"

#include "chartmodel/DataArray.h"
#include "platform/ByteOrder.h"

#include <algorithm>
#include <cmath>

namespace qv {
namespace {

constexpr uint8_t kDayValid = 1;
constexpr uint8_t kRecordEventA = 4;
constexpr uint8_t kRecordEventB = 8;

template <typename T>
int Compare(T value, T previous)
{
    return value > previous ? kColourUp : value < previous ? kColourDown : kColourEqual;
}

int VolumeAgainstSignal(float volume, float signal)
{
    if (!(volume > 0))
        return 0;
    return volume < signal ? 1 : 0;
}

// The rules shared by the daily and bar members.
int BarRule(const BarValues& bar, const BarValues* previous, uint32_t mode, uint32_t classFlags,
            float signalOrLow, float high)
{
    switch (mode) {
    case kColourCloseClose:
        return previous ? Compare(bar.close, previous->close) : 0;
    case kColourUpDown:
        return previous && bar.close < previous->close ? 1 : 0;
    case kColourCloseOpen:
        return Compare(bar.close, bar.open);
    case kColourVolumeVolume:
        return previous ? Compare(bar.volume, previous->volume) : 0;
    case kColourVolumeSignal:
        return VolumeAgainstSignal(bar.volume, signalOrLow);
    case kColourGraduated:
        return GraduatedIndex(bar.volume, signalOrLow, high);
    case kColourSwing:
        return previous ? ClassifyBar(bar.high, bar.low, bar.close, previous->high, previous->low, classFlags) : 0;
    default:
        return 0;
    }
}

} // namespace

void GetColourModeParams(uint32_t mode, int& first, int& last)
{
    first = 0;
    last = 0;
    switch (mode) {
    case kColourCloseClose:
    case kColourCloseOpen:
    case kColourVolumeVolume:
        last = 2;
        break;
    case kColourVolumeSignal:
    case kColourUpDown:
        last = 1;
        break;
    case kColourGraduated:
        first = 3;
        last = 4;
        break;
    case kColourSwing:
        last = 4;
        break;
    default:
        break;
    }
}

int ClassifyBar(float high, float low, float close, float previousHigh, float previousLow, uint32_t flags)
{
    if (high < previousHigh)
        return low > previousLow ? kColourInside : kColourDown;
    if (low > previousLow)
        return kColourUp;
    if (high > previousHigh && low < previousLow) {
        if (!(flags & 2))
            return kColourOutside;
        float middle = (high + low) / 2;
        return close > middle ? kColourUp : close == middle ? kColourOutside : kColourDown;
    }
    if (!(flags & 1))
        return kColourEqual;
    if (high > previousHigh)
        return kColourUp;
    return low == previousLow ? kColourEqual : kColourDown;
}

int GraduatedIndex(double value, double low, double high)
{
    double h = high - low;
    double k = 63;
    if (h > 0) {
        double raw = (value - low) * 63 / h;
        k = raw < 0 ? -std::floor(-raw + 0.5) : std::floor(raw + 0.5);
    }
    if (std::isnan(k))
        k = 0;
    return -1 - int(std::clamp(k, 0.0, 63.0));
}

int GetDailyBarColour(const uint8_t* record, const uint8_t* previous, uint32_t mode, uint32_t classFlags,
                      float signalOrLow, float high)
{
    uint8_t marks = record[kDailyFlags];
    bool upDownRule = mode == kColourCloseClose || mode == kColourUpDown;
    if (!upDownRule && !(marks & kDayValid))
        return 0;
    if (mode == kColourEvents)
        return (marks & kRecordEventA) ? 0 : (marks & kRecordEventB) ? 1 : 0;
    if (mode == kColourVolumeVolume && previous && !(previous[kDailyFlags] & kDayValid))
        return 0;
    BarValues bar = ReadBarValues(record);
    BarValues before;
    if (previous)
        before = ReadBarValues(previous);
    return BarRule(bar, previous ? &before : nullptr, mode, classFlags, signalOrLow, high);
}

int GetBarColour(const uint8_t* record, const uint8_t* previous, uint32_t mode, uint32_t classFlags,
                 float signalOrLow, float high)
{
    BarValues bar = ReadBarValues(record);
    BarValues before;
    if (previous)
        before = ReadBarValues(previous);
    return BarRule(bar, previous ? &before : nullptr, mode, classFlags, signalOrLow, high);
}

int GetIntradayBarColour(const uint8_t* record, const uint8_t* previous, uint32_t mode, float signalOrLow,
                         float high)
{
    float close = LoadF32(record + 16);
    float volume = LoadF32(record + 20);
    switch (mode) {
    case kColourCloseClose:
    case kColourCloseOpen:
    case kColourUpDown:
        return previous && close < LoadF32(previous + 16) ? 1 : 0;
    case kColourVolumeVolume:
        return previous ? Compare(volume, LoadF32(previous + 20)) : 0;
    case kColourVolumeSignal:
        return VolumeAgainstSignal(volume, signalOrLow);
    case kColourGraduated:
        return GraduatedIndex(volume, signalOrLow, high);
    default:
        return 0;
    }
}

int GetValueColour(float value, const float* previous, uint32_t mode, float signal)
{
    if (mode == kColourUpDown)
        return previous ? Compare(value, *previous) : 0;
    if (mode == kColourPositiveNegative)
        return value < signal ? 1 : 0;
    return 0;
}

int GetFourthFieldColour(const uint8_t* record, const uint8_t* previous, uint32_t mode, float low, float high)
{
    float field = LoadF32(record + 12);
    switch (mode) {
    case kColourVolumeVolume:
        return previous ? Compare(field, LoadF32(previous + 12)) : 0;
    case kColourGraduated:
        return GraduatedIndex(field, low, high);
    case kColourUpDown:
        return previous && field < LoadF32(previous + 12) ? 1 : 0;
    default:
        return 0;
    }
}

} // namespace qv
