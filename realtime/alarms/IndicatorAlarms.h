// The indicator crosses of the intraday alarms over one share's bars: moving-average golden and dead
// crosses, MACD crosses, RSI level crosses and the stochastic oscillator's level and signal crosses.
#pragma once

#include "realtime/RTFeedSettings.h"

#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace qv {

struct AlarmBar {
    float open = 0, high = 0, low = 0, close = 0;
};

struct BarSeries {
    std::span<const AlarmBar> bars;
    int32_t firstTime = 0; // the first bar's time of day, seconds
    int32_t barLength = 300;
    int32_t startTime = 0; // crosses are reported from the bar of this time on
    // The bar of the start time (0 when it lies before the first bar).
    size_t StartIndex() const;
    uint32_t TimeOf(size_t index) const { return uint32_t(barLength * int32_t(index) + firstTime); }
};

struct IndicatorCross {
    int32_t kind = 0;
    uint32_t time = 0; // time of day
    std::string text;
    bool operator==(const IndicatorCross&) const = default;
};

// Which tests are on: the moving-average cross, or a positive MACD, RSI or stochastic count.
bool AnyIndicatorTestOn(const RTAlarmSettings& settings);

// Every test that is on, in order: moving averages, MACD, RSI, stochastic.
std::vector<IndicatorCross> FindIndicatorCrosses(const BarSeries& series, const RTAlarmSettings& settings,
                                                 std::string_view zone);

std::vector<IndicatorCross> MacdCrosses(const BarSeries& series, const RTAlarmSettings& s, std::string_view zone);
std::vector<IndicatorCross> RsiCrosses(const BarSeries& series, const RTAlarmSettings& s, std::string_view zone);
std::vector<IndicatorCross> StochasticCrosses(const BarSeries& series, const RTAlarmSettings& s, std::string_view zone);
std::vector<IndicatorCross> AverageCrosses(const BarSeries& series, const RTAlarmSettings& s, std::string_view zone);

} // namespace qv
