// Small routines the chart Parts share: the percentage band clamp, the stop-loss label, the pixel
// metrics of a packed pen, the lag of a moving average, the colour offered for a new line, the run of
// a line to a rectangle's edges, and the pane scale settings.
#pragma once

#include <cstdint>
#include <string>

namespace qv {

class CMovingAverage;

// The value kept within per cent of the reference: side 0 tests the lower bound first, side 1 the
// upper; the second bound is tested only when `both` is set. Bounds are never below 0.
float ClampToPercentBand(float reference, float value, float percent, int side, bool both);

// A stop-loss or stop-gain line (16 bytes as stored).
struct StopRecord {
    uint16_t flags = 0;      // bit 0 stop-gain
    uint16_t startDate = 0;
    uint32_t pen = 0;
    float percent = 0;
    uint32_t startTime = 0;
    bool operator==(const StopRecord&) const = default;
};
constexpr size_t kStopRecordSize = 16;
StopRecord ReadStopRecord(const uint8_t* bytes);
void WriteStopRecord(const StopRecord& stop, uint8_t* bytes);

// "<per cent>% <label> Stop-gain|loss <value>"; empty without a stop record.
void FormatStopLabel(std::string& text, const StopRecord* stop, float stopValue, const char* label);

struct PenMetrics {
    int32_t width = 0;
    int32_t start = 0;       // offsets that keep a line drawn with the pen inside its bounds
    int32_t end = 0;
};
// Width fields 8-15 (bit 31 set) count as 0.
PenMetrics GetPenDashMetrics(uint32_t pen, float scale);

// The number of bars by which the average keeps rising after its input turns down; N is the values
// needed that Prepare gave for the same object. The object is reset afterwards.
int32_t MeasureAverageLag(CMovingAverage& average, int32_t valuesNeeded);

// The next colour of the 24-colour palette for a new line, inverted on a dark background.
uint32_t PickLineColour(uint32_t background);
// Starts the palette again (for tests).
void ResetLineColourCounter();

struct LineSegment {
    int32_t x1, y1, x2, y2;
};
// The part of the whole line through the segment's points that lies in the rectangle; false when the
// line misses it.
bool ClipLineToRect(const LineSegment& segment, int32_t left, int32_t top, int32_t right, int32_t bottom,
                    LineSegment& out);

// Pane scale settings (24 bytes, kept by the chart views for a pane's value axis).
struct ScaleSettings {
    uint32_t word0 = 0;
    uint16_t flags = 0;      // bit 1 a fixed range
    uint32_t marginPercent = 0;
    uint32_t word3 = 0;
    float fixedMinimum = 0;
    float fixedMaximum = 0;
};
constexpr size_t kScaleSettingsSize = 24;
void InitScaleSettings(ScaleSettings& settings, bool narrowMargin);
bool ScaleSettingsChanged(const ScaleSettings& settings);

} // namespace qv
