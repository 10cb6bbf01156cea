// The rules of the data-mining view's graphs: the graph-settings record inside the 84-byte
// DataMiningGraph, histogram bins, axis ranges and ticks, scales, mark shapes, the Z size and colour
// coding, the sums behind the statistic lines, and the mouse's thresholds. The window only paints.
#pragma once

#include "core/ConfigRecords.h"

#include <array>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

namespace qv {

// Field offsets of the graph-settings record (u32 each) inside DataMiningGraph's 84 bytes; the bytes
// from 60 on are kept as they are.
namespace DataMiningGraphLayout {
constexpr size_t XHistogramColour = 0, XHistogramPen = 4, YHistogramColour = 8, YHistogramPen = 12;
constexpr size_t HistogramWord = 16;
constexpr size_t MarkFill = 20, MarkPen = 24, PositiveLow = 28, PositiveHigh = 32, NegativeLow = 36,
                 NegativeHigh = 40;
constexpr size_t ScatterWord = 44, Highlight = 48, RegressionPen = 52, MeanPen = 56;
constexpr size_t Used = 60;
} // namespace DataMiningGraphLayout
static_assert(DataMiningGraphLayout::Used <= DataMiningGraph::kSize);

// Bits of the histogram word.
enum HistogramBit : uint32_t {
    kHistXBars = 1u << 24,
    kHistYBars = 1u << 25,
    kHistXLine = 1u << 26,
    kHistYLine = 1u << 27,
    kHistXShown = 1u << 28,
    kHistYShown = 1u << 29,
};
// Bits of the scatter word.
enum ScatterBit : uint32_t {
    kScatterShown = 1u << 24,
    kScatterOutlined = 1u << 25,
    kScatterColourByZ = 1u << 26,
    kScatterSizeByZ = 1u << 27,
    kScatterFilled = 1u << 28,
    kStatLinesShown = 1u << 29,
    kStatRegression = 1u << 30,
    kStatMeans = 1u << 31,
};

enum class MarkShape : int { Square = 0, Circle, Diamond, Triangle, Cross, Plus, Point };

struct DataMiningGraphSettings {
    uint32_t xHistogramColour = 0, xHistogramPen = 0, yHistogramColour = 0, yHistogramPen = 0;
    int xBinWidth = 0, yBinWidth = 0, xSmoothing = 0, ySmoothing = 0; // 6-bit fields
    uint32_t histogramFlags = 0;                                        // HistogramBit
    uint32_t markFill = 0, markPen = 0, positiveLow = 0, positiveHigh = 0, negativeLow = 0, negativeHigh = 0;
    int markSize = 0, markShape = 0, smallestSize = 0, largestSize = 0; // 6-bit fields
    uint32_t scatterFlags = 0;                                          // ScatterBit
    uint32_t highlight = 0, regressionPen = 0, meanPen = 0;

    static DataMiningGraphSettings Read(const DataMiningGraph& record);
    // Writes the fields back; a 6-bit field above 63 is stored as 63, so it never spills into its
    // neighbour.
    void Write(DataMiningGraph& record) const;
    bool has(uint32_t histogramBit) const { return (histogramFlags & histogramBit) != 0; }
    bool scatter(uint32_t scatterBit) const { return (scatterFlags & scatterBit) != 0; }
};
// The record of a fresh configuration: the defaults of the three graph dialogs.
DataMiningGraphSettings DefaultDataMiningGraphSettings();

// An axis range; a minimum equal to the maximum is widened by 1 on each side.
struct AxisRange {
    double min = 0;
    double max = 1;
    double span() const { return max - min; }
};
AxisRange WidenedRange(double min, double max);

// Halves round away from zero.
long RoundHalfAway(double v);

// Bins of a histogram area: its width over the bin width (at least 1), times the zoom when printing.
int HistogramBinCount(int areaPixels, int binWidth, double zoom);
// Counts per bin; the bin of v is (v - min) x (n - 1) / (max - min) rounded, and values outside the
// bins are not counted. Values without `has` are left out.
std::vector<int> HistogramCounts(std::span<const float> values, std::span<const uint8_t> has, AxisRange range,
                                 int bins);

// The ticks of an axis: a step of a power of ten times 0.1, 0.2, 0.5, 1, 2 or 4 giving at most one tick
// every `minGap` pixels, and the first tick at or above the minimum.
struct AxisTicks {
    double step = 1;
    double first = 0;
};
AxisTicks ChooseTicks(AxisRange range, int pixels, int minGap = 40);
// A tick's label with as many decimals as the step needs: "0.5", "250"; ticks a hundred thousand
// apart or more in millions ("25m", "0.5m"), a thousand million apart or more in "bn".
std::string TickLabel(double value, double step);

// Pixels per unit in doubles: a range wider in units than the plot in pixels keeps its scale.
struct PlotScale {
    double left = 0, bottom = 0, width = 0, height = 0;
    AxisRange x, y;
    double xPerUnit() const { return x.span() != 0 ? width / x.span() : 0; }
    double yPerUnit() const { return y.span() != 0 ? height / y.span() : 0; }
    double px(double v) const { return left + (v - x.min) * xPerUnit(); }
    double py(double v) const { return bottom - (v - y.min) * yPerUnit(); }
    double valueX(double pixel) const { return xPerUnit() != 0 ? x.min + (pixel - left) / xPerUnit() : x.min; }
    double valueY(double pixel) const { return yPerUnit() != 0 ? y.min + (bottom - pixel) / yPerUnit() : y.min; }
    // The plot's edges are inside.
    bool inside(double pxv, double pyv) const
    {
        return pxv >= left && pxv <= left + width && pyv >= bottom - height && pyv <= bottom;
    }
};

// A mark's outline around (x, y) with size r: the points of the shape (square and circle: the two
// corners of their box; cross and plus: two lines as four points; point: the point).
struct MarkGeometry {
    MarkShape shape = MarkShape::Square;
    std::vector<std::array<int, 2>> points;
};
MarkGeometry MarkOutline(MarkShape shape, int x, int y, int r, bool pointDown);

// The Z coding: a mark's size from the Z range (triangles from 0 by |z| against the larger magnitude,
// pointing down for a negative z); the colour step 0-63 (0 when every Z is 0); the ramp's colour.
struct ZCoding {
    double zMin = 0, zMax = 0;
    double magnitude() const;
};
int ZMarkSize(const ZCoding& z, double value, int smallest, int largest, int baseSize, bool triangle);
int ZColourStep(const ZCoding& z, double value);
uint32_t RampColour(uint32_t from, uint32_t to, int step);

// The sums of the statistic lines over every row of the scatter graph, and the lines made from them;
// a line whose denominator is 0 is not drawn (none).
struct FitSums {
    double n = 0, x = 0, y = 0, xy = 0, xx = 0, yy = 0;
    void add(double vx, double vy);
};
struct FitLine {
    double slope = 0, intercept = 0;
};
std::optional<FitLine> RegressionYOnX(const FitSums& s);
std::optional<FitLine> RegressionXOnY(const FitSums& s);

// The mouse: the divider's split in thousandths, clamped to 100..800; the smallest rectangle that
// zooms (11 x 11); the largest movement that picks (under 10); the farthest pick (16 pixels); the
// narrowest range that still zooms (above 0.05).
int DividerSplit(int cursorY, int clientHeight);
constexpr int kZoomRectangleMinimum = 11;
constexpr int kPickMovementBelow = 10;
constexpr int kPickRadius = 16;
constexpr double kLeastZoomRange = 0.05;
bool RectangleZooms(int width, int height);
bool AxisZooms(AxisRange range);
// The index of the mark nearest the point within the pick radius, or -1.
int PickNearestMark(std::span<const std::array<int, 2>> marks, std::span<const uint8_t> drawn, int x, int y);

} // namespace qv
