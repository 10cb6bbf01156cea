// The daily chart's trailing stop-loss lines over the price pane: the general line, whose settings all
// charts share, and the share's own, each shown on the graph settings their mask bits name. Both are
// rebuilt from the closes on every redraw of the price pane; a line has a point only where it steps.
#pragma once

#include "chartmodel/ChartRoutines.h"
#include "chartmodel/StopLossSettings.h"
#include "core/DayRecord.h"

#include <cstdint>
#include <functional>
#include <optional>
#include <span>
#include <vector>

namespace qv {

class ChartCanvas;
struct GraphPane;
struct ValueRange;

struct StopLinePoint {
    int32_t record = 0;
    float stop = 0;
};

struct StopLine {
    std::vector<StopLinePoint> points; // where the stop steps, up to the last day drawn
    float last = -1.0f;                // the stop after the last record of the data; -1 none
};

// The stop after a price: a long stop (below the price) never falls unless it may move both ways,
// then only down to the band's ceiling; a short stop is its mirror. A stop of 100% or more has its
// floor at 0. A previous stop below 0 is none yet.
float NextStop(float close, float previous, const StopRecord& settings);

// One line from its settings over the days (up to a date-0 record): from the start day when flags
// bit 2 asks, each close's stop kept within the percentage band by the long or short rule.
StopLine BuildStopLine(std::span<const DayRecord> days, const StopRecord& settings, int32_t lastDrawn);

class StopLossLines {
public:
    // Both lines again: the share's own when the individual mask has the setting's bit and the
    // share has a record, the general one when the general mask has it.
    void Rebuild(std::span<const DayRecord> days, int settingIndex, const std::optional<StopShareKey>& share,
                 int32_t lastDrawn);
    void Clear();
    // Draws both lines in the price pane: level from each point to the next, then the step.
    void Draw(ChartCanvas& canvas, const GraphPane& pane, const ValueRange& range,
              const std::function<int32_t(int32_t record)>& xOfRecord, int32_t lastRecord) const;

    const StopRecord* generalSettings() const { return general_ ? &*general_ : nullptr; }
    const StopRecord* shareSettings() const { return share_ ? &*share_ : nullptr; }
    float generalValue() const { return generalLine_.last; }
    float shareValue() const { return shareLine_.last; }
    const StopLine& generalLine() const { return generalLine_; }
    const StopLine& shareLine() const { return shareLine_; }

private:
    std::optional<StopRecord> general_, share_;
    StopLine generalLine_, shareLine_;
};

} // namespace qv
