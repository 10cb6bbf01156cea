// What an indicator window's drawing routine is given and what it hands back: the record and the
// loaded days in, the value arrays with their pens, lead-ins and levels out, and the pane's value
// range fitted by the type's rule. The routines are plain functions over the days; the window's
// drawer (IndicatorLineDrawer) draws what they hand back.
#pragma once

#include "chartmodel/EodChart.h"
#include "chartmodel/IndicatorRecord.h"
#include "core/DayRecord.h"

#include <cstdint>
#include <functional>
#include <span>
#include <string>
#include <vector>

namespace qv {

struct ValueRange;
class PortfolioSeriesCache;

// Another share's daily history by the two values of an indicator record that name it (the record
// id, then the count FindRecordById takes); empty when the share is gone or has no prices.
using ShareHistoryLoader = std::function<std::vector<DayRecord>(uint16_t id, uint32_t count)>;

struct IndicatorInput {
    IndicatorRecord record;
    std::span<const DayRecord> days;   // the loaded history; a date-0 record also ends it
    int32_t firstVisibleDate = 0;      // values are kept from this day on
    int32_t lastDate = kDisplayEndOpen; // no later day is read
    int32_t shownDays = 0;             // the days the chart draws (0: every day read from the first visible)
    ShareHistoryLoader loadShare;      // the correlation, beta and relative types' other share
    PortfolioSeriesCache* breadth = nullptr; // the market-breadth series (none: the program's cache)
    int32_t paneLeft = 0, paneRight = 0;     // the window's pixels (the box panes lay out in them)
    int32_t paneTop = 0, paneBottom = 0;
};

// One column of a point-and-figure pane, or one box of an equivolume pane.
struct PaneColumn {
    int32_t date = 0;              // the first day it holds
    double boxes = 0;              // point and figure: the signed box count (X's up, O's down)
    double volume = 0;             // equivolume: the volume of its last day
    float open = 0, high = 0, low = 0, close = 0; // equivolume
    int32_t left = 0, right = 0;   // its x in pixels
    int32_t record = -1;           // Kagi: the record of its first day
};

struct IndicatorLine {
    std::vector<double> values;        // one per kept day; NaN a day without a value
    std::vector<double> histogram;     // empty, or one bar per value
    uint32_t pen = 0;
    int32_t leadIn = 0;                // days from the first loaded day without a value
    bool polyline = true;
    bool onlyAfterDrawn = false;       // drawn only when the line before it drew
    bool barsInPen = false;            // the histogram's bars in the pen's colour, not up and down
};

struct IndicatorResult {
    // The first line carries the levels and goes to the series when it is its pane's first.
    std::vector<IndicatorLine> lines;
    std::vector<double> levels;
    bool wholeNumbers = false;         // the pane shows whole numbers when this is its first series
    int decimals = -1;                 // else the pane's decimals when this is its first series (-1 kept)
    std::string title;                 // the series' name when the routine names it (else the record's)
    // A pane of its own (point and figure 15, equivolume 41; 0 lines): its columns or boxes, and
    // the point-and-figure box size and base level.
    int paneKind = 0;
    std::vector<PaneColumn> boxes;
    double boxSize = 0, baseLevel = 0;
};

// A routine: fits `range` (unless it carries the fixed flag) and fills `out`; `variant` tells the
// members of a shared routine apart.
using IndicatorRoutine = void (*)(const IndicatorInput& in, ValueRange& range, IndicatorResult& out, int variant);

// The records read: up to the first date-0 record or the first after the last day drawn.
int32_t RecordsRead(const IndicatorInput& in);
// The first record with open, high, low, close and volume before `end`; `end` when none.
int32_t FirstFullDataRecord(const IndicatorInput& in, int32_t end);

// The members of the momentum and oscillator group and of the volume group.
void DrawOscillator(const IndicatorInput&, ValueRange&, IndicatorResult&, int);
void DrawRsi(const IndicatorInput&, ValueRange&, IndicatorResult&, int);
void DrawMomentum(const IndicatorInput&, ValueRange&, IndicatorResult&, int);
void DrawMacd(const IndicatorInput&, ValueRange&, IndicatorResult&, int);
void DrawPriceRoc(const IndicatorInput&, ValueRange&, IndicatorResult&, int);
void DrawPriceOscillator(const IndicatorInput&, ValueRange&, IndicatorResult&, int);
void DrawStochastic(const IndicatorInput&, ValueRange&, IndicatorResult&, int);
void DrawUpDownCount(const IndicatorInput&, ValueRange&, IndicatorResult&, int);
void DrawCci(const IndicatorInput&, ValueRange&, IndicatorResult&, int);
void DrawWilliamsR(const IndicatorInput&, ValueRange&, IndicatorResult&, int);
void DrawAverageTrueRange(const IndicatorInput&, ValueRange&, IndicatorResult&, int);
// variant 42 accumulation/distribution, 43 the Chaikin oscillator
void DrawAccumulation(const IndicatorInput&, ValueRange&, IndicatorResult&, int);
void DrawEaseOfMovement(const IndicatorInput&, ValueRange&, IndicatorResult&, int);
// variant 1 the positive volume index, 0 the negative
void DrawVolumeIndex(const IndicatorInput&, ValueRange&, IndicatorResult&, int);
void DrawOnBalanceVolume(const IndicatorInput&, ValueRange&, IndicatorResult&, int);
void DrawMoneyFlow(const IndicatorInput&, ValueRange&, IndicatorResult&, int);

// The trend, volatility and statistics group.
void DrawTicks(const IndicatorInput&, ValueRange&, IndicatorResult&, int);
void DrawVolatility(const IndicatorInput&, ValueRange&, IndicatorResult&, int);
// variant 6 correlation, 16 beta, 17 standard deviation
void DrawStatistics(const IndicatorInput&, ValueRange&, IndicatorResult&, int);
void DrawVhf(const IndicatorInput&, ValueRange&, IndicatorResult&, int);
void DrawTrix(const IndicatorInput&, ValueRange&, IndicatorResult&, int);
void DrawCoppock(const IndicatorInput&, ValueRange&, IndicatorResult&, int);
void DrawMassIndex(const IndicatorInput&, ValueRange&, IndicatorResult&, int);
// variant 0 the swing index, 1 the swing accumulation
void DrawSwingIndex(const IndicatorInput&, ValueRange&, IndicatorResult&, int);
void DrawDirectionalMovement(const IndicatorInput&, ValueRange&, IndicatorResult&, int);
// The relative-strength pane: the share's closes against another share's.
void DrawRelative(const IndicatorInput&, ValueRange&, IndicatorResult&, int);
// The market-breadth types 18-30 from the cached series of their market or portfolio.
void DrawBreadth(const IndicatorInput&, ValueRange&, IndicatorResult&, int);

} // namespace qv
