// What an indicator window's drawing routine is given and what it hands back: the record and the
// loaded days in, the value arrays with their pens, lead-ins and levels out, and the pane's value
// range fitted by the type's rule. The routines are plain functions over the days; the window's
// drawer (IndicatorLineDrawer) draws what they hand back.
#pragma once

#include "chartmodel/EodChart.h"
#include "chartmodel/IndicatorRecord.h"
#include "core/DayRecord.h"

#include <cstdint>
#include <span>
#include <vector>

namespace qv {

struct ValueRange;

struct IndicatorInput {
    IndicatorRecord record;
    std::span<const DayRecord> days;   // the loaded history; a date-0 record also ends it
    int32_t firstVisibleDate = 0;      // values are kept from this day on
    int32_t lastDate = kDisplayEndOpen; // no later day is read
};

struct IndicatorLine {
    std::vector<double> values;        // one per kept day; NaN a day without a value
    std::vector<double> histogram;     // empty, or one bar per value
    uint32_t pen = 0;
    int32_t leadIn = 0;                // days from the first loaded day without a value
    bool polyline = true;
    bool onlyAfterDrawn = false;       // drawn only when the line before it drew
};

struct IndicatorResult {
    // The first line carries the levels and goes to the series when it is its pane's first.
    std::vector<IndicatorLine> lines;
    std::vector<double> levels;
    bool wholeNumbers = false;         // the pane shows whole numbers when this is its first series
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

} // namespace qv
