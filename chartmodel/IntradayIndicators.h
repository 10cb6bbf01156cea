// The intraday chart's indicators: the calculator each indicator type runs on the period bars, and
// the fixed level lines its pane shows.
#pragma once

#include "chartmodel/IndicatorCalc.h"

#include <memory>
#include <vector>

namespace qv {

struct IndicatorRecord;

// By type: 2 RSI (the smoothed one when smoothing bits 0-1 are set, else Wilder's), 5 momentum, 8
// MACD, 11 price oscillator, 12 stochastic, 48 on-balance volume, 52 CCI, 53 Williams %R, 54
// directional movement, 57 average true range; any other type a moving average.
std::unique_ptr<CIndicatorCalc> CreateIntradayIndicatorCalc(const IndicatorRecord& settings, const Bar& first);

// The pane's level lines (at most five): RSI 70, 50, 30 (only 50 with option bit 2), momentum 100,
// stochastic 75 and 25, CCI -100 and 100, Williams %R -80 and -20, directional movement 25 and 20
// with option bit 2 (else none), every other type 0.
std::vector<float> IntradayIndicatorLevels(const IndicatorRecord& settings);

} // namespace qv
