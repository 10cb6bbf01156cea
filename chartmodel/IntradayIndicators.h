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

// One drawn output of an indicator: a line, or the bars of its values of one sign (+1 or -1) about
// zero, in one of the record's pens.
struct IntradayIndicatorLine {
    int output = 0;
    bool histogram = false;
    int sign = 0;
    uint32_t pen = 0;
    bool operator==(const IntradayIndicatorLine&) const = default;
};
// What a record draws of the calculator's outputs: MACD its line and signal with option bit 0 and its
// histogram (rising bars in pen 3, falling in pen 2) with bit 1; directional movement ADX with bit 1,
// +DI and -DI with bit 0 and ADXR with bit 2, in the pens the dialogs name (ADX, +DI, -DI, ADXR);
// every other type each of its outputs (at most four) as a line in the pen of its place.
std::vector<IntradayIndicatorLine> IntradayIndicatorLines(const IndicatorRecord& settings, int outputs);

} // namespace qv
