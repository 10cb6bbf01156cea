// The daily chart's readout texts: the status readouts of the last day (price, OHLC, volume, trend)
// and the cursor readout of the point under the mouse, as the frame's panes and the legend show them.
#pragma once

#include "core/DayRecord.h"
#include "core/PackedDate.h"

#include <array>
#include <cstdint>
#include <string>

namespace qv {

struct EodReadoutTexts {
    std::string price, ohlc, volume, trend, cursor;
};

// A trend line of the price pane, from (date1, value1) to (date2, value2).
struct TrendLineEnds {
    PackedDate date1 = 0, date2 = 0;
    float value1 = 0, value2 = 0;
    bool logScale = false;
};

struct EodReadoutInput {
    const DayRecord* days = nullptr;
    int32_t count = 0;
    const float* signal = nullptr;     // the volume signal per record; null while the signal line is off
    const TrendLineEnds* trend = nullptr;
    char minor = 0;                    // the minor currency symbol prices carry ('p'), 0 none
    bool weekly = false;               // the history holds one price a week
};

// The last day's readouts; "No price data", "No OHLC data", "No volume data" and "No trend line"
// where there is nothing to show.
EodReadoutTexts LatestReadouts(const EodReadoutInput& in);

enum class CursorPane { None, Price, Volume, Indicator };
struct CursorPoint {
    CursorPane pane = CursorPane::None;
    int32_t record = -1;               // the record under the cursor; -1 none
    float value = 0;                   // the value under the cursor on its pane's scale
    int32_t visibleBars = 0;
    // Over an indicator window: its lines' values on the record, and whether its scale counts
    // whole volumes.
    std::string indicatorValues;
    bool wholeNumbers = false;
};
// The readouts of the point: "Cursor (%s, %s)" with the record's date and the value under the
// cursor, and the record's price, OHLC and volume; over an indicator window the value is shown with
// two decimals and the window's values on the record lead the trend text; off the graph
// "Cursor (Off graph)", the "No ... selected" texts and the visible bar count as "%d trading days"
// (or weeks).
EodReadoutTexts CursorReadouts(const EodReadoutInput& in, const CursorPoint& point);

// The texts the legend lists: the latest values, and the cursor values in the order price, OHLC,
// volume, cursor (the order in which a chart that the mouse left resets them).
std::array<std::string, 4> LatestLegendTexts(const EodReadoutTexts& latest);
std::array<std::string, 4> CursorLegendTexts(const EodReadoutTexts& cursor);

} // namespace qv
