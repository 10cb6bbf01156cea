// The box and reversal charts of the daily chart's price pane: the box grid of a setting (fixed,
// percentage, recent-range, variable and volatility boxes), the point-and-figure columns, Kagi lines,
// Renko bricks and the N-line break, all as arrays of 24-byte points, and the texts that describe
// them. Plain functions over the loaded days.
#pragma once

#include "chartmodel/BoxTable.h"
#include "core/DayRecord.h"

#include <cstdint>
#include <span>
#include <string>
#include <vector>

namespace qv {

// One point of a box or reversal chart (element type 7 of a data array: its first word is its key).
struct BoxChartPoint {
    uint32_t firstDate = 0;
    uint32_t lastDate = 0;
    uint32_t step = 0;  // the column (point and figure) or the horizontal step
    int32_t box = 0;    // the box number of its price
    float price = 0;    // snapped to the grid
    float volume = 0;   // of the days it covers
};
static_assert(sizeof(BoxChartPoint) == 24);

// Box kinds of the graph setting.
enum BoxKind : uint8_t {
    kBoxFixed = 0,
    kBoxPercent = 1,
    kBoxRangePercent = 2,
    kBoxVariable = 3,
    kBoxVolatility = 4,
};

// The box grid a chart is built on. Copies keep their own tables.
class BoxGrid {
public:
    BoxGrid() = default;
    // One band of `size` from 0.
    static BoxGrid Fixed(float size);
    // Boxes of `percent` of the price, numbered from `base`.
    static BoxGrid Percent(float percent, int32_t base);
    static BoxGrid Bands(std::span<const float> lows, std::span<const float> sizes);

    BoxTable Table() const;
    bool percentage() const { return percentage_; }
    float percent() const { return sizes_.empty() ? 0 : sizes_[0]; }
    // A grid that can number prices: every size above 0.
    bool Valid() const;
    float SizeAt(float price) const { return GetBoxSize(price, Table()); }
    int32_t BoxOf(float price) const { return PriceToBoxNumber(price, Table()); }

private:
    bool percentage_ = false;
    int32_t base_ = 0;
    std::vector<float> lows_, sizes_;
};

// The floor (down) or ceiling of the price on a grid of `size`; exact multiples are kept, size 0
// gives the price.
float SnapToBox(float size, float price, bool down);

// The daily percentage changes' volatility over the last min(250, n) records, sqrt(n) x (nQ - S^2) /
// (n (n - 1)), and its class by the thresholds 0, 10, 20, 50 (0 when it is not a number). Days after
// a zero close have no change.
struct Volatility {
    double value = 0;
    int classIndex = 0;
};
Volatility RecentVolatility(std::span<const DayRecord> days);
int VolatilityClass(double volatility);

// The history's figures the grids read: the lowest low of all records, the highest high and lowest
// low of the last min(250, n) records.
struct HistoryRange {
    float origin = 0;
    float recentHigh = 0, recentLow = 0;
};
HistoryRange RangeOfHistory(std::span<const DayRecord> days);

// The point-and-figure grid of box value (x 100) and kind.
BoxGrid PointFigureGrid(std::span<const DayRecord> days, uint16_t boxValue, uint8_t kind);

struct PointFigureOptions {
    int reversal = 3;
    bool highLow = false;   // the day's high and low instead of its close
    bool merge = false;     // one-box turns merge into their column
    int32_t endDate = 0x7FFFFFFF;
};
// The columns; fewer than 2 points, a grid that cannot number prices or an origin not above 0 in a
// percentage grid give none.
std::vector<BoxChartPoint> BuildPointFigureColumns(std::span<const DayRecord> days, const BoxGrid& grid,
                                                   const PointFigureOptions& options);

// The Kagi reversal of a setting: {amount, as a fraction of the price}.
struct KagiReversal {
    float amount = 1.0f;
    bool percentage = false;
};
KagiReversal KagiReversalOf(std::span<const DayRecord> days, uint16_t boxValue, uint8_t kind);
std::vector<BoxChartPoint> BuildKagiLines(std::span<const DayRecord> days, const KagiReversal& reversal,
                                          int32_t endDate = 0x7FFFFFFF);
// The Renko grid of box value (x 100), kind and the align option: its boxes and the offset of its
// lines from the grid's own (the first close's distance from a line, to 0.001; 0 for percentage boxes
// and aligned bricks). A brick's box number counts the grid's boxes below its price less the offset.
struct RenkoGrid {
    BoxGrid grid;
    float offset = 0;
};
RenkoGrid RenkoGridOf(std::span<const DayRecord> days, uint16_t boxValue, uint8_t kind, bool alignOption);
// Renko bricks of box value (x 100), kind and the align option (box options 0x20).
std::vector<BoxChartPoint> BuildRenkoBricks(std::span<const DayRecord> days, uint16_t boxValue, uint8_t kind,
                                            bool alignOption, int32_t endDate = 0x7FFFFFFF);
// The N-line break.
std::vector<BoxChartPoint> BuildLineBreakChart(std::span<const DayRecord> days, int lines,
                                               int32_t endDate = 0x7FFFFFFF);

// "%s box" ... with "%s size, %d reversal" (long) or "(%s, %d rev)" (short).
std::string FormatBoxSizeText(uint16_t boxValue, uint8_t kind, int reversal, bool longForm);
// "Kagi, %s reversal", "(Renko, %s rev)", "%d-Line breakout", "(%d-Line break)".
std::string FormatReversalChartText(int style, uint16_t boxValue, uint8_t kind, int lineCount, bool longForm);

} // namespace qv
