// The rules of dragging a day's prices on the chart: which part of a bar a point takes hold of, and
// how a value dragged to replaces that part of the day.
#pragma once

#include "core/DayRecord.h"

#include <cstdint>

namespace qv {

// The parts of a day the mouse can hold (the edited field; 1-5 match the chart's edit cursors).
enum PriceEditPart : uint32_t {
    kEditPartNone = 0,
    kEditPartBar = 1,
    kEditPartOpen = 2,
    kEditPartHigh = 3,
    kEditPartLow = 4,
    kEditPartClose = 5,
    kEditPartVolume = 6,
};

inline constexpr int32_t kEditGrabPixels = 8;      // above the high and below the low
inline constexpr int32_t kEditPointSquared = 128;  // a point is held nearer than this (squared pixels)
inline constexpr float kEditMaxVolume = 6e9f;
inline constexpr float kEditMaxPrice = 1e6f;

// A bar on the screen and the point over it. Rows grow downwards.
struct PriceEditBar {
    int32_t x = 0;               // the bar's centre
    int32_t halfWidth = 0;       // the open and close ticks lie this far left and right
    int32_t yOpen = 0, yHigh = 0, yLow = 0, yClose = 0;
    int style = 1;               // 0 close line, 1 OHLC, 2 HLC, 3 HL, 4 candlesticks
};

// The part of a bar of the price pane that the point holds: none outside the band from 8 pixels above
// the high to 8 below the low; the nearest of low, high, open and close within 128 squared pixels
// (the low only when it lies below the high, the open only for OHLC bars and candlesticks, the close
// not for HL bars, the close of a close line at the bar itself); else the bar as a whole.
uint32_t ChoosePriceEditPart(const PriceEditBar& bar, int32_t x, int32_t y);

// Puts the value (not below 0; volumes up to 6e9, prices up to 1e6) into the part of `day`, starting
// from `held`, the day as it was when the drag began, and `heldValue`, the value under the mouse then.
// The bar as a whole moves by the change of value, or, for a day without open, high and low, sets all
// four prices. An open or close beyond the high or low takes that limit with it; a high dragged below
// the other prices, or a low above them, takes them along.
void ApplyPriceEditDrag(DayRecord& day, const DayRecord& held, float heldValue, uint32_t part, double value);

} // namespace qv
