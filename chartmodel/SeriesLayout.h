// The point-by-point walk over the data of one plot element: each call hands out one plot point,
// choosing which field of a price, tick or marker record to plot from the array's selector bits.
#pragma once

#include <cstdint>
#include <memory>

namespace qv {

struct DataArray;
struct PlotElement;
struct ValueRange;

// Selector bits of a data array's flags word.
enum SeriesSelector : uint32_t {
    kSelectOpen = 1u << 0,          // ticks: the mean of the two values
    kSelectHigh = 1u << 1,          // ticks: the second value
    kSelectLow = 1u << 2,           // ticks: the first value
    kSelectClose = 1u << 3,         // ticks: the first value
    kSelectVolume = 1u << 4,        // ticks: the second value
    kSelectMidpoint = 1u << 5,
    kSelectWeighted = 1u << 6,
    kSelectTypical = 1u << 7,
    kSelectSkipZero = 1u << 8,
    kSelectSkipNegative = 1u << 9,
    kSelectSkipCrossed = 1u << 14,  // ticks with the mean: an offer below the bid is not drawn
    kSelectFirstWordX = 1u << 15,
    kSelectKindMask = 1u << 17,
    kSelectPackedX = 1u << 18,
    kSelectRunning = 1u << 19,      // running maximum of the highs, minimum of the lows
    kSelectMarked = 1u << 20,       // the high or the low by the record's marks
};

struct SeriesPoint {
    int32_t x = 0;
    int32_t y = 0;
    float value = 0;
    bool drawn = false;
    int colour = 0;                  // colour index: 0-4 an element colour, -64 to -1 a gradient step
    int32_t index = 0;
    const uint8_t* record = nullptr;
};

class CGraphSeriesLayout {
public:
    CGraphSeriesLayout();
    ~CGraphSeriesLayout();
    CGraphSeriesLayout(const CGraphSeriesLayout&) = delete;
    CGraphSeriesLayout& operator=(const CGraphSeriesLayout&) = delete;

    // Clears the layout and frees its chain.
    void Init();
    // Binds the element's data (its second values for a second part) and lays it out on its series'
    // time scale; returns the number of points, 0 when the element has no data.
    int32_t Setup(const PlotElement& element);
    // Binds a data array; returns its count.
    int32_t Bind(const DataArray& array);
    // The next point; false when there are no more.
    bool Next(SeriesPoint& point);

    // The second part of a two-part element, or null, and the point it gave last.
    CGraphSeriesLayout* second() const { return next_.get(); }
    const SeriesPoint& secondPoint() const { return secondPoint_; }

    // Set by the chart views after Setup.
    bool spikeOption = false;
    bool fixedX = false;
    bool clampRows = false;
    // The colouring rule of the points (0 single colour) and its parameters: the swing class flags,
    // the signal value or gradient low, and the gradient high. Each drawn point is coloured against
    // the previous drawn one.
    uint32_t colourMode = 0;
    uint32_t classFlags = 0;
    float signalOrLow = 0;
    float gradientHigh = 0;
    // A signal per data index for the signal rule (mode 4) where each bar has its own; when set it
    // takes the place of `signalOrLow`.
    const float* pointSignals = nullptr;
    int32_t pointSignalCount = 0;
    // Marks per data index for the marks rule (mode 9) where they are kept apart from the items (the
    // swing chart's tops, 4, and bottoms, 8); when set they take the place of the items' own.
    const uint8_t* pointMarks = nullptr;
    int32_t pointMarkCount = 0;
    // Laid out by Setup; the tests and the chart views may set them for a bare array.
    double baseX = 0;
    double step = 1;
    int32_t firstIndex = 0;
    int32_t lastIndex = -1;
    int32_t displayStart = 0;
    int32_t currentIndex = 0;
    bool centred = false;
    const ValueRange* range = nullptr;
    float minimum;
    float maximum;

private:
    int32_t SetupPart(const PlotElement& element, bool secondPart);
    bool ValueOf(const uint8_t* item, double& x, float& value);
    bool TickValue(const uint8_t* item, double& x, float& value) const;
    bool DailyValue(const uint8_t* item, double& x, float& value);
    int ColourOf(const uint8_t* item, float value, int32_t index) const;

    std::unique_ptr<CGraphSeriesLayout> next_;
    bool secondPart_ = false;
    uint32_t type_ = 0;
    uint32_t selector_ = 0;
    uint32_t kindMask_ = 0;
    int32_t count_ = 0;
    const uint8_t* data_ = nullptr;
    float runningHigh_ = 0;
    float runningLow_ = 0;
    bool runningStarted_ = false;
    const uint8_t* previousRecord_ = nullptr;
    float previousValue_ = 0;
    SeriesPoint secondPoint_;
};

} // namespace qv
