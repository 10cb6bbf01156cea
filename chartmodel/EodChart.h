// The rules of the end-of-day chart as plain functions: the display range from the graph setting's
// date-range fields and the range commands, the future extension of the time axis, the bar scale and
// the dynamic time per bar, multi-day bars, the price range, the "no data" texts, position keys, the
// trend rate and bar-period texts, and the time axis labels.
#pragma once

#include "chartmodel/DataArray.h"
#include "core/DayRecord.h"
#include "core/PackedDate.h"

#include <cstdint>
#include <string>
#include <vector>

namespace qv {

// Bits of the date-range word.
constexpr uint16_t kRangeUnitBits = 15;
constexpr uint16_t kRangeLimitOn = 16;
constexpr uint16_t kRangeHasLength = 32;
constexpr uint16_t kRangeStartFixed = 64;
constexpr uint16_t kRangeEndFixed = 128;
constexpr int32_t kDisplayEndOpen = 0x7FFFFFFF;

// The four date-range fields of a graph setting.
struct DateRangeSetting {
    uint16_t word = 0;
    uint16_t start = 0;
    uint16_t length = 60;
    uint16_t end = 0;
};

// The view's display range: first and last date shown; 0 and kDisplayEndOpen mean the whole history.
struct DisplayRange {
    int32_t start = 0;
    int32_t end = kDisplayEndOpen;
};

// A day with prices: open, high and low are all there (a close-only day has none of them).
inline bool HasOhlc(const DayRecord& day) { return day.open > 0 && day.high > 0 && day.low > 0; }

// Works the display range out from the setting over the loaded days (ended by a date-0 record or by
// count); may store a day length raised to 5 and the length bit.
void ComputeDisplayRange(DateRangeSetting& setting, const DayRecord* days, int32_t count, DisplayRange& display);

// The range-limit commands: a limit of n months, stored as years when n is a multiple of 12.
void ApplyRangeLimit(DateRangeSetting& setting, int32_t months, const DisplayRange& display, int32_t lastPriceDate);
// The checked state of a range-limit command.
bool IsRangeLimit(const DateRangeSetting& setting, int32_t months);
// Reduce (to 0.667) or increase (to 1.5 times) the visible range; false when increase cannot.
bool ChangeVisibleRange(DateRangeSetting& setting, bool increase, const DisplayRange& display,
                        int32_t firstPriceDate, int32_t lastPriceDate);

// The future fields of a graph setting.
struct FutureSetting {
    uint16_t on = 0;
    uint16_t unit = 2;   // 0 days, 1 weeks, 2 months, 3 years, 4 percentage of the graph width
    uint16_t amount = 3;
};
// The end of the time axis for the last shown date.
int32_t AxisEndWithFuture(const FutureSetting& future, const DisplayRange& display, int32_t lastShown);

// The dynamic time per bar: n records from the first marked visible one at pixelsPerRecord, bars at
// least smallestWidth wide; a code of 1-4 days, or 5 and above for (code - 4) weeks.
int32_t DynamicBarCode(int32_t n, double pixelsPerRecord, int32_t smallestWidth);
// Trading days per bar of a bar code.
int32_t DaysPerBar(int32_t code);

struct BarScaleInput {
    int32_t paneLeft = 0, paneRight = 0;
    int32_t visibleCount = 0;
    int32_t lastBarIndex = 0;
    int32_t fromMarkedVisible = 0;     // visible records from the first marked visible one; 0 none
    bool firstVisibleMarked = false;
    int style = 1;                     // price display style 0-8
    // Box-indexed charts (styles 5-8 by columns): the column width from the box layout, its margin
    // and the first shown column; the band's full width, no bar code.
    int32_t boxWidth = 0;
    int32_t boxMargin = 0;
    int32_t boxFirstColumn = 0;
    int32_t penWidth = 1;              // widest price pen in pixels
    int32_t tickWidth = 1;
    uint8_t barCode = 0;               // the setting's; 0 dynamic
    bool priceEdit = false;
    double printScale = 1;
};
struct BarScale {
    double pixelsPerBar = 0;
    int32_t lastBarIndex = 0;
    int32_t firstX = 0;                // x of record index 0 of the visible range
    int32_t code = 1;                  // the effective bar code
    int32_t drawWidth = 0;
    int32_t leftMargin = 1, rightMargin = 1;
};
BarScale ComputeBarScale(const BarScaleInput& in);

// The new-week rule of the bar roll-up: the record after `day` starts a new week.
bool StartsNewWeek(const DayRecord& day, const DayRecord& next);

// A multi-day bar: its prices and the indexes of its first and last day in the source.
struct FoldedBar {
    BarValues values;
    int32_t first = 0, last = 0;
    uint16_t date = 0;                 // the first day's
};
// Folds the days from `first` while their date is not 0 and not after shownEnd into bars of the code
// (2-4 days, 5 and above (code - 4) weeks). The source days are not touched.
std::vector<FoldedBar> FoldBars(const DayRecord* days, int32_t count, int32_t first, int32_t shownEnd, int32_t code);

struct PriceRange {
    float low = 3.4028235e38f;
    float high = -3.4028235e38f;
    bool Empty() const { return !(low <= high); }
};
// The price range of the visible days up to lastDate: closes, and the highs and lows of days with
// prices for the bar styles 1-4. With a training mark shown, the range leaves room: empty gives
// 1..100; scaleBit80 multiplies by 1.4 and 0.8333333, else 1.5 times about the middle; low at least 1.
PriceRange GetPriceRange(const DayRecord* days, int32_t count, int32_t firstVisible, int32_t lastDate, int style,
                         bool trainingShown, bool scaleBit80);

// The texts that replace the chart, in the order they are tested (the last that applies wins).
struct NoDataInput {
    bool hasPriceStream = true;
    bool graphKindBits = false;        // graph kind has bit 4 or 8
    bool pricesArray = false;
    int32_t count = 0;
    int32_t visible = 0;
    bool hasRecord = true;
    bool startAfterEnd = false;
    bool limitOn = false;
};
std::string NoDataMessage(const NoDataInput& in);
// The lines of a painted chart text ("^^" breaks a line).
std::vector<std::string> SplitChartText(const std::string& text);

// Position keys: date << 8 plus the position in the bar in 255ths.
inline int32_t DateToPositionKey(int32_t date) { return date << 8; }
// The date of a key: the next weekday when the fraction is 201 or more.
int32_t PositionKeyToDate(int32_t key);
// x to bar index, truncated, within 0 .. lastBarIndex; 0 for a pane without bars.
int32_t XToBarIndex(int32_t x, int32_t bandLeft, double pixelsPerBar, int32_t lastBarIndex);

// The x table: one x pixel per bar in ascending order. The bar under x is the last whose x is not
// right of x (0 left of the first); the fraction is the position from it towards the next bar in
// 255ths (0-254); and back, the x of a bar and a fraction.
int32_t XTableIndex(const int32_t* table, int32_t count, int32_t x);
int32_t XTableFraction(const int32_t* table, int32_t count, int32_t index, int32_t x);
int32_t XTableX(const int32_t* table, int32_t count, int32_t index, int32_t fraction);

// A keyboard step of the mouse pointer by one bar. Within half a bar of the band's left edge a step
// left scrolls back by one record when the display can go back (scroll -1), and within half a bar of
// the right edge a step right scrolls on when it can (scroll +1); otherwise the pointer goes to the x
// of the neighbouring bar (one pixel where bars are a pixel wide or less), inside the band and at
// least one pixel from where it was.
struct CursorStep {
    int32_t x = 0;
    int scroll = 0;
};
struct CursorStepInput {
    const int32_t* table = nullptr;
    int32_t count = 0;
    int32_t bandLeft = 0, bandRight = 0;
    double pixelsPerBar = 0;
    bool canScrollBack = false, canScrollOn = false;
};
CursorStep StepCursor(const CursorStepInput& in, int32_t x, int direction);

// "+10.00 p.a." (linear) or "+10.00% p.a." (log); empty over a day or less or for a value not above 0
// on a log scale.
std::string GetTrendRateText(PackedDate date1, float value1, PackedDate date2, float value2, bool logScale);
// "%d day bars" / "%d week bars", with " (dyn.)" for the dynamic choice.
std::string GetBarPeriodLabel(int32_t code, bool dynamic);
// "From %i/%i/%02i" and "To %i/%i/%02i".
std::string ZoomRangeText(bool from, PackedDate date);

// Readouts of a day: "%s, %s" (date, close and its change, " no change", " (Susp.)"), "OHLC " and the
// four prices, "Volume %s%s%s"; prices with the decimals of the day's price unit.
// Prices read as the lists show them: thousands grouped and, for a share priced in pence or cents,
// the minor currency symbol ("16,712p"); kPoundSign goes in front, for money in pounds ("\xA3" "55,508").
constexpr char kPoundSign = '\xA3';
std::string FormatPriceInUnit(float value, float unit, char minor = 0);
std::string PriceReadoutText(const DayRecord& day, const DayRecord* previous, char minor = 0);
std::string OhlcReadoutText(const DayRecord& day, char minor = 0);
std::string VolumeReadoutText(float volume);
// A volume as the lists show amounts: "950", "12.3k", "1.2m".
std::string VolumeAmountText(float volume);

// Totals of the days from a first date to a last date (inclusive).
struct PriceSummary {
    float open = 0, high = -3.4028235e38f, low = 3.4028235e38f, close = 0, volume = 0;
    int32_t days = 0;
};
PriceSummary GetPriceSummary(const DayRecord* days, int32_t count, int32_t firstDate, int32_t lastDate);

// Time axis: the label level of D trading days over `slots` label places.
int TimeAxisLevel(int32_t tradingDays, int32_t slots);
struct AxisLabel {
    int32_t x = 0;
    std::string text;
    int tick = 0;                      // length in tick units
    int kind = 0;                      // 0 day, 1 month, 2 year
    bool grid = false;
};
// Labels of the dated x positions at a level; gridMode < 0 draws no grid lines.
std::vector<AxisLabel> TimeAxisLabels(const std::vector<std::pair<PackedDate, int32_t>>& dated, int level, int gridMode);

} // namespace qv
