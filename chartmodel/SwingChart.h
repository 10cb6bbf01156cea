// The swing chart of the daily price pane: the swing and trend turns, the swing tops and bottoms, the
// signal days with their order levels and the stops, worked out day by day from a share's days and
// the user's swing edits. The names follow the design dialog: a swing turns after two days of its
// direction (events 1 and 2, "Up swing", "Down swing"); the trend turns when a swing top or bottom
// is passed (events 0x10 and 0x20, "Up trend", "Down trend").
#pragma once

#include "core/DayRecord.h"

#include <cstdint>
#include <span>
#include <vector>

namespace qv {

enum SwingEventFlags : uint16_t {
    kSwingUp = 0x1,
    kSwingDown = 0x2,
    kSwingTop = 0x4,
    kSwingBottom = 0x8,
    kTrendUp = 0x10,
    kTrendDown = 0x20,
    kSignalHigh = 0x40,      // the high of a signal day in a down swing of an up trend (buy level)
    kSignalNextLow = 0x80,   // and its low (the stop below once bought)
    kSignalLow = 0x100,      // the low of a signal day in an up swing of a down trend (sell level)
    kSignalNextHigh = 0x200, // and its high (the stop above once sold)
    kOrderUp = 0x400,
    kOrderDown = 0x800,
    kStopBelowPassed = 0x1000,
    kStopAbovePassed = 0x2000,
};

// One event: 12 bytes as the chart's three-field items hold them (flags, day index, price).
struct SwingEvent {
    uint16_t flags = 0;
    int32_t day = 0;
    float price = 0;
};
// Adds an event; one for the same day and price as the last ORs its flags into it.
void AddSwingEvent(std::vector<SwingEvent>& events, uint16_t flags, int32_t day, float price);

// The user's edit of one day: its types as the edit dialog names them.
enum SwingEditType : uint32_t {
    kEditUpSwing = 1,
    kEditDownSwing = 2,
    kEditUpTrend = 16,
    kEditDownTrend = 32,
};
struct SwingEdit {
    uint16_t date = 0;
    uint32_t type = 0;
};
inline constexpr size_t kSwingEditSize = 8;
// The stored list (8-byte entries: u16 date, two spare bytes, u32 type) up to the first date of 0,
// and back.
std::vector<SwingEdit> ReadSwingEdits(std::span<const uint8_t> bytes);
std::vector<uint8_t> WriteSwingEdits(std::span<const SwingEdit> edits);
// Ascending dates; equal dates keep their order.
void SortSwingEdits(std::vector<SwingEdit>& edits);

// Day marks left for the bar colouring: the day made a swing top or a swing bottom.
enum SwingDayMark : uint8_t { kMarkTop = 4, kMarkBottom = 8 };

struct SwingChart {
    std::vector<SwingEvent> events;
    std::vector<uint8_t> marks; // one per day of the history
};

// The swing chart of the days from `first` (the day before it is the first day of comparison) while
// the date is not after `lastDate`. `flags` is the swing block's flag word, `dayChoice` its day word.
SwingChart ComputeSwingChart(std::span<const DayRecord> days, int32_t first, int32_t lastDate, uint32_t flags,
                             uint32_t dayChoice, std::span<const SwingEdit> edits);

} // namespace qv
