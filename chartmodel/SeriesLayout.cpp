// The series layout iterator: one plot point per call from bars, prices, ticks or marker records.
#include "chartmodel/SeriesLayout.h"

#include "chartmodel/BarColour.h"
#include "chartmodel/ChartMath.h"
#include "chartmodel/DataArray.h"
#include "chartmodel/GraphModel.h"
#include "chartmodel/ValueMapping.h"
#include "platform/ByteOrder.h"

#include <algorithm>
#include <cfloat>
#include <cmath>

namespace qv {
namespace {

// The swing chart's day marks that the marks rule reads.
constexpr uint8_t kMarksTop = 4, kMarksBottom = 8;

constexpr uint32_t kSelectorBits = 0x3FFu | kSelectSkipCrossed | kSelectFirstWordX | kSelectKindMask |
                                   kSelectPackedX | kSelectRunning | kSelectMarked;

// Tick item flags.
constexpr uint32_t kTickFirstMissing = 1;
constexpr uint32_t kTickSecondMissing = 2;
constexpr uint32_t kTickFirstSpike = 4;
constexpr uint32_t kTickSecondSpike = 8;

// Daily record flag byte.
constexpr uint8_t kDailyRestart = 2;
constexpr uint8_t kDailyMarkHigh = 4;
constexpr uint8_t kDailyMarkLow = 8;

} // namespace

CGraphSeriesLayout::CGraphSeriesLayout() { Init(); }
CGraphSeriesLayout::~CGraphSeriesLayout() = default;

void CGraphSeriesLayout::Init()
{
    next_.reset();
    secondPart_ = false;
    spikeOption = false;
    fixedX = false;
    clampRows = false;
    colourMode = 0;
    classFlags = 0;
    signalOrLow = 0;
    gradientHigh = 0;
    pointSignals = nullptr;
    pointSignalCount = 0;
    baseX = 0;
    step = 1;
    firstIndex = 0;
    lastIndex = -1;
    displayStart = 0;
    currentIndex = 0;
    centred = false;
    range = nullptr;
    minimum = FLT_MAX;
    maximum = -FLT_MAX;
    type_ = 0;
    selector_ = 0;
    kindMask_ = 0;
    count_ = 0;
    data_ = nullptr;
    runningStarted_ = false;
    secondPoint_ = {};
}

int32_t CGraphSeriesLayout::Bind(const DataArray& array)
{
    type_ = array.type;
    selector_ = array.flags & kSelectorBits;
    kindMask_ = array.kindMask;
    count_ = array.data ? std::max(array.count, 0) : 0;
    data_ = static_cast<const uint8_t*>(array.data);
    runningStarted_ = false;
    previousRecord_ = nullptr;
    return count_;
}

int32_t CGraphSeriesLayout::Setup(const PlotElement& element)
{
    Init();
    return SetupPart(element, false);
}

int32_t CGraphSeriesLayout::SetupPart(const PlotElement& element, bool secondPart)
{
    secondPart_ = secondPart;
    if (Bind(secondPart ? element.second : element.values) == 0)
        return 0;
    if (!secondPart && (element.flags & kElementTwoPart) && element.second.data && element.second.count > 0) {
        next_ = std::make_unique<CGraphSeriesLayout>();
        next_->SetupPart(element, true);
    }
    const GraphSeries* series = element.series;
    range = series ? series->range : nullptr;
    minimum = range ? range->minimum : 0;
    maximum = range ? range->maximum : 0;
    centred = (element.flags & kElementCentred) != 0;
    const TimeScale* scale = series ? series->timeScale : nullptr;
    int32_t start = scale ? scale->firstIndex : 0;
    int32_t shown = scale ? scale->lastIndex - scale->firstIndex + 1 : count_;
    // Items that carry their own x (events, markers) are not one a bar: every one is walked, however
    // many bars the scale has.
    if (type_ == kArrayTriples) {
        start = 0;
        shown = count_;
    }
    firstIndex = start;
    lastIndex = start + shown - 1;
    displayStart = start + (secondPart ? int32_t(element.words[0]) : 0);
    currentIndex = start;
    step = 1;
    if (scale && scale->lastIndex != scale->firstIndex)
        step = double(scale->lastX - scale->firstX) / (double(scale->lastIndex) - scale->firstIndex);
    baseX = scale ? scale->firstX - double(scale->firstIndex) * step : 0;
    return count_;
}

bool CGraphSeriesLayout::TickValue(const uint8_t* item, double& x, float& value) const
{
    uint32_t flags = LoadU32(item);
    if ((selector_ & kSelectKindMask) && !(flags & kindMask_))
        return false;
    uint32_t firstOut = kTickFirstMissing | (spikeOption ? kTickFirstSpike : 0);
    uint32_t secondOut = kTickSecondMissing | (spikeOption ? kTickSecondSpike : 0);
    bool firstMissing = (flags & firstOut) != 0;
    bool secondMissing = (flags & secondOut) != 0;
    float first = LoadF32(item + 8);
    float second = LoadF32(item + 12);
    if ((selector_ & (kSelectHigh | kSelectVolume)) && secondMissing)
        return false;
    if ((selector_ & (kSelectLow | kSelectClose)) && firstMissing)
        return false;
    if (selector_ & kSelectOpen) {
        if (firstMissing || secondMissing)
            return false;
        if ((selector_ & kSelectSkipCrossed) && first < second)
            return false;
    }
    if (selector_ & (kSelectHigh | kSelectVolume))
        value = second;
    else if (selector_ & (kSelectLow | kSelectClose))
        value = first;
    else if (selector_ & kSelectOpen)
        value = (first + second) / 2;
    x = LoadI32(item + 4);
    return true;
}

bool CGraphSeriesLayout::DailyValue(const uint8_t* item, double& x, float& value)
{
    BarValues bar = ReadBarValues(item);
    uint8_t marks = item[kDailyFlags];
    if (!runningStarted_ || (marks & kDailyRestart)) {
        runningHigh_ = bar.high;
        runningLow_ = bar.low;
        runningStarted_ = true;
    }
    runningHigh_ = std::max(runningHigh_, bar.high);
    runningLow_ = std::min(runningLow_, bar.low);
    uint32_t s = selector_;
    if (s & kSelectOpen)
        value = bar.open;
    else if (s & kSelectHigh)
        value = (s & kSelectRunning) ? runningHigh_ : bar.high;
    else if (s & kSelectLow)
        value = (s & kSelectRunning) ? runningLow_ : bar.low;
    else if (s & kSelectClose)
        value = bar.close;
    else if (s & kSelectVolume)
        value = bar.volume;
    else if (s & kSelectMidpoint)
        value = (bar.high + bar.low) / 2;
    else if (s & kSelectWeighted)
        value = (2 * bar.close + bar.high + bar.low) / 4;
    else if (s & kSelectTypical)
        value = (bar.close + bar.high + bar.low) * 0.33333334f;
    else if (s & kSelectMarked) {
        if (marks & kDailyMarkHigh)
            value = bar.high;
        else if (marks & kDailyMarkLow)
            value = bar.low;
        else
            return false;
    } else
        value = 0;
    if (s & kSelectPackedX) {
        uint32_t word = LoadU32(item + kDailyXWord);
        x = std::floor(((word & 0xFFFF) + (word >> 16)) / 2.0 + 0.5) + displayStart;
    }
    return true;
}

bool CGraphSeriesLayout::ValueOf(const uint8_t* item, double& x, float& value)
{
    switch (type_) {
    case kArrayFloats:
        value = LoadF32(item);
        return true;
    case kArrayDoubles:
        value = float(LoadF64(item));
        return true;
    case kArrayBars: {
        value = 0;
        for (int bit = 0; bit < 5; ++bit)
            if (selector_ & (1u << bit)) {
                value = LoadF32(item + 4 * bit);
                break;
            }
        return true;
    }
    case kArrayTicks:
        return TickValue(item, x, value);
    case kArrayDaily:
        return DailyValue(item, x, value);
    case kArrayKeyed24:
        value = LoadF32(item + ((selector_ & kSelectVolume) ? 20 : 16));
        if (selector_ & kSelectPackedX)
            x = LoadU32(item + 8);
        else if (!fixedX)
            x = double(LoadU32(item + ((selector_ & kSelectFirstWordX) ? 0 : 4))) * 256;
        return true;
    case kArrayTriples:
        if ((selector_ & kSelectKindMask) && !(LoadU16(item) & kindMask_))
            return false;
        value = LoadF32(item + 8);
        x = LoadU32(item + 4);
        return true;
    case kArrayKeyedTriples:
        value = LoadF32(item + 4);
        x = double(LoadU32(item)) * 256;
        return true;
    default:
        return false;
    }
}

int CGraphSeriesLayout::ColourOf(const uint8_t* item, float value, int32_t index) const
{
    if (colourMode == kColourSingle)
        return 0;
    float signalOrLow = this->signalOrLow;
    if (colourMode == kColourVolumeSignal && pointSignals)
        signalOrLow = index >= 0 && index < pointSignalCount ? pointSignals[index] : 0.0f;
    if (colourMode == kColourEvents && pointMarks) {
        const uint8_t marks = index >= 0 && index < pointMarkCount ? pointMarks[index] : 0;
        return (marks & kMarksTop) ? 0 : (marks & kMarksBottom) ? 1 : 0;
    }
    switch (type_) {
    case kArrayDaily:
        return GetDailyBarColour(item, previousRecord_, colourMode, classFlags, signalOrLow, gradientHigh);
    case kArrayBars:
        return GetBarColour(item, previousRecord_, colourMode, classFlags, signalOrLow, gradientHigh);
    case kArrayKeyed24:
        return GetIntradayBarColour(item, previousRecord_, colourMode, signalOrLow, gradientHigh);
    case kArrayTicks:
        return GetFourthFieldColour(item, previousRecord_, colourMode, signalOrLow, gradientHigh);
    default:
        return GetValueColour(value, previousRecord_ ? &previousValue_ : nullptr, colourMode, signalOrLow);
    }
}

bool CGraphSeriesLayout::Next(SeriesPoint& point)
{
    point = {};
    if (!data_ || count_ == 0 || type_ == kArrayWords || DataArrayElementSize(type_) == 0)
        return false;
    if (!secondPart_ && (currentIndex < 0 || currentIndex >= count_ || currentIndex < firstIndex ||
                         currentIndex > lastIndex))
        return false;
    int32_t index = std::clamp(currentIndex, firstIndex, std::max(firstIndex, lastIndex));
    index = std::clamp(index, 0, count_ - 1);
    double x = baseX + (double(displayStart) - firstIndex + index) * step;
    if (centred)
        x += step / 2;
    if (next_ && !next_->Next(secondPoint_))
        return false;
    uint32_t size = DataArrayElementSize(type_);
    const uint8_t* item = data_ + size_t(index) * size;
    float value = 0;
    point.drawn = ValueOf(item, x, value);
    ++currentIndex;
    if ((selector_ & kSelectSkipNegative) && value < 0)
        point.drawn = false;
    if ((selector_ & kSelectSkipZero) && value == 0)
        point.drawn = false;
    point.x = SaturatingTrunc32(x);
    point.value = value;
    point.index = index;
    point.record = item;
    point.y = MapValueToRow(range, value, clampRows);
    if (point.drawn) {
        point.colour = ColourOf(item, value, index);
        previousRecord_ = item;
        previousValue_ = value;
    }
    return true;
}

} // namespace qv
