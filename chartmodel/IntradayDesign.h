// The intraday graph design dialog's controls as data: each control's id, page, text and the field of
// the graph setting's intraday style block (bytes 1044-1459) it edits, how a control reads and writes
// its field, and the Light and Dark schemes.
#pragma once

#include "core/ConfigRecords.h"

#include <cstddef>
#include <cstdint>
#include <vector>

namespace qv::intradaydesign {

constexpr size_t kStyleBlockStart = 1044;
constexpr size_t kStyleBlockEnd = 1460; // the pivot records follow
constexpr int kPages = 6;
constexpr const char* kPageTitles[kPages] = {"Price", "Trades", "Time", "Lines && Text", "Style", "Analytics"};

enum class Kind : uint8_t {
    Check,  // ticked while (field & mask) != 0; ticking sets `value` into the mask's bits
    Radio,  // chosen while (field & mask) == value
    Pen,    // a style button: the u32 pen word at `at`
    Slider, // (field & mask) >> shift
    Number, // an edit of the u16 at `at`
    List,   // a list index: the field at `at` (width 1 or 4)
    Date,   // the u16 PackedDate at `at`
    Time,   // the i32 seconds of the day at `at`
};

struct Control {
    int id;
    Kind kind;
    int page;
    const char* text;
    size_t at;
    uint8_t width; // 1, 2 or 4 bytes
    uint32_t mask;
    uint32_t value; // a radio's value, a check's bits when ticked
    uint8_t shift = 0;
};

// Every control bound to a field, page by page.
const std::vector<Control>& Controls();
const Control* FindControl(int id);

// A control's state read from the record (a check 0/1, a radio 0/1, a pen word, a slider or list
// position, a number, a date or a time), and written back.
int64_t ControlValue(const GraphSetting& s, const Control& c);
void SetControlValue(GraphSetting& s, const Control& c, int64_t value);

// The two fixed schemes of "Light default" and "Dark default": the look only; days viewed,
// display-from, time range, bar period, analytic times, de-spike and the sliders stay.
void ApplyScheme(GraphSetting& s, bool dark);

// Copies the style block (bytes 1044-1459) from one record into another.
void CopyStyleBlock(const GraphSetting& from, GraphSetting& to);

// The id of the control with the trades pen, whose label names the trades split by class.
constexpr int kTradesPen = 3287;
// "Unknowns" when trades are split by class (Dots, or Line with Buy/Sell), else "Trades".
const char* TradesPenLabel(const GraphSetting& s);
// Trade display bits (u32 at 1236): 0-3 none, line, dots; 8 buy/sell; 9 show size.
constexpr size_t kTrades = 1236;
constexpr uint32_t kTradesLine = 1, kTradesDots = 2, kTradesBuySell = 0x100, kTradesShowSize = 0x200;
// The width bits of a pen word and width 3 in them.
constexpr uint32_t kPenWidthBits = 0xF0000000, kPenWidth3 = 0x20000000;
// Ticking "Show size": pens of no width yet get width 3.
void WidenTradePens(GraphSetting& s);

} // namespace qv::intradaydesign
