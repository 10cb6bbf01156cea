// The colour of each bar or value of a chart series by a colouring rule: up or down against the
// previous bar or the open, by volume, against a signal, graduated, by swing class or by event mark.
// The result is a colour index: 0-4 one of a plot element's colours, -64 to -1 a gradient step.
#pragma once

#include <cstdint>

namespace qv {

enum ColourMode : uint32_t {
    kColourSingle = 0,
    kColourCloseClose = 1,
    kColourCloseOpen = 2,
    kColourVolumeVolume = 3,
    kColourVolumeSignal = 4,
    kColourGraduated = 5,
    kColourSwing = 6,
    kColourUpDown = 7,
    kColourPositiveNegative = 8,
    kColourEvents = 9,
};

enum ColourIndex : int {
    kColourUp = 0,
    kColourDown = 1,
    kColourEqual = 2,
    kColourInside = 3,
    kColourOutside = 4,
};

// The colour slots the mode needs: (0, 2) modes 1-3, (0, 1) modes 4 and 7, (3, 4) mode 5, (0, 4)
// mode 6, else (0, 0).
void GetColourModeParams(uint32_t mode, int& first, int& last);

// Swing class 0-4 of a bar against the previous one. Flag bit 0 splits equal highs or lows, bit 1
// splits outside bars by the close.
int ClassifyBar(float high, float low, float close, float previousHigh, float previousLow, uint32_t flags);

// Gradient index -1 - k of a value between low and high, k = 0-63.
int GraduatedIndex(double value, double low, double high);

// One member per record layout. `signalOrLow` is the signal value (mode 4) or the gradient's low
// (mode 5); `high` the gradient's high. The previous record may be null.
int GetDailyBarColour(const uint8_t* record, const uint8_t* previous, uint32_t mode, uint32_t classFlags,
                      float signalOrLow, float high);
int GetBarColour(const uint8_t* record, const uint8_t* previous, uint32_t mode, uint32_t classFlags,
                 float signalOrLow, float high);
int GetIntradayBarColour(const uint8_t* record, const uint8_t* previous, uint32_t mode, float signalOrLow,
                         float high);
int GetValueColour(float value, const float* previous, uint32_t mode, float signal);
int GetFourthFieldColour(const uint8_t* record, const uint8_t* previous, uint32_t mode, float low, float high);

} // namespace qv
