// The intraday chart's rules, without windows: the fields it reads of the intraday style block, the
// bar periods, the days chosen and stepped, the period bars of a day and the layout of the day bands
// on the time axis.
#pragma once

#include "chartmodel/ChartCalendar.h"
#include "chartmodel/GraphSettingLayout.h"
#include "chartmodel/IntradayTicks.h"
#include "core/PackedDate.h"

#include <array>
#include <cstdint>
#include <span>
#include <string>
#include <vector>

namespace qv {

// The intraday meanings of the style block's fields, where they differ from the daily chart's.
namespace intraday {
namespace gs = graphsetting;
constexpr size_t kRangeLimit = gs::kDateRangeFlags;        // u16, bit 0: limit the time range shown
constexpr size_t kRangeMinutes = gs::kDateRangeCount;      // u16, minutes of the limited range
constexpr size_t kDaySeparator = gs::kDisplaySwitches;     // u8: 0 none, 1 frame, 2 gap
constexpr size_t kDeSpike = gs::kDisplaySwitches + 1;      // u8: bit 0 on, bits 1-7 strength
constexpr size_t kDayHours = gs::kDisplaySwitches + 2;     // u8: 0 all day, 1 market hours, 2 user hours
constexpr size_t kDaysViewed = gs::kDisplaySwitch4;        // u8: days viewed - 1
constexpr size_t kShadeLevel = gs::kStyleValue3;           // u32
constexpr size_t kTradesPen = gs::kStylePen;               // u32
constexpr size_t kBidLinePen = gs::kIntradayColours;       // u32 each: bid line, bid shading, offer line,
constexpr size_t kBidShadePen = gs::kIntradayColours + 4;  // offer shading
constexpr size_t kOfferLinePen = gs::kIntradayColours + 8;
constexpr size_t kOfferShadePen = gs::kIntradayColours + 12;
constexpr size_t kBarPeriodIndex = gs::kIntradayValue1;    // u32, 0-11
constexpr size_t kPriceStyle = gs::kIntradaySwitches;      // u8: 0 none, 1 mid, 2 close, 3 OHLC, 4 candles
constexpr size_t kVolumeDisplay = gs::kIntradaySwitches + 1; // u8: 0 none, 1 trades, 2 period bars
constexpr size_t kDisplayFrom = gs::kIntradayValue2;       // u16 PackedDate, 0 = the latest day last
constexpr size_t kDataFlow = gs::kIntradayValues3;         // u8: bit 0 flowing, bits 1-7 analytic times
constexpr size_t kLabelReduction = gs::kIntradayValues3 + 1;
constexpr size_t kAnalyticFrom = gs::kTradingDayStart;     // i32 seconds of the day
constexpr size_t kAnalyticTo = gs::kTradingDayEnd;
constexpr size_t kBuyPen = gs::kStylePens;
constexpr size_t kSellPen = gs::kStylePens + 4;
constexpr size_t kTradesDisplay = gs::kIntradayValue4;     // u16: bits 0-3 0 none, 1 line, 2 dots; bit 8
                                                           // buy/sell colours; bit 9 size by volume
constexpr size_t kTitleOptions = gs::kWatermarks;          // u16
constexpr size_t kPrevClosePen = gs::kStyleColour1;        // u32: previous day's close
constexpr size_t kPrevHighPen = gs::kIntradayColours2;     // u32 each: previous day's high and low
constexpr size_t kPrevLowPen = gs::kIntradayColours2 + 4;
constexpr size_t kPivotSeries = gs::kPivot1;
constexpr size_t kPivotLevels = gs::kPivot2;

// Display flags (u16 at 1144).
enum DisplayFlags : uint16_t {
    kBidLine = 1 << 0,
    kBidShading = 1 << 1,
    kOfferLine = 1 << 2,
    kOfferShading = 1 << 3,
    kWatermarkShade = 1 << 4,
    kPrevHigh = 1 << 5,
    kVolumeByMove = 1 << 7,
    kVolumeSignal = 1 << 9,
    kExtendToLatest = 1 << 10,
    kSteppedLine = 1 << 11,
    kPrevClose = 1 << 12,
    kZoneLabel = 1 << 13,
    kExtendToday = 1 << 14,
    kPrevLow = 1 << 15,
};
enum TradesDisplay : uint16_t { kTradesLine = 1, kTradesDots = 2, kTradesByClass = 0x100, kTradesSized = 0x200 };
} // namespace intraday

// A sized trade dot's diameter in pixels: 4, 6, 8 or 10 as the trade is under half, up to twice, up
// to five times or over five times the day's average trade volume (none or an unknown volume: 4).
int32_t TradeDotDiameter(float volume, float averageVolume);
// The mean volume of the day's trades that have one; 0 when none has.
float AverageTradeVolume(const TickItemArray& trades);

constexpr int32_t kMaxDaysViewed = 10;
constexpr int kBarPeriodCount = 12;
constexpr int kDefaultBarPeriod = 5;

// Days viewed from the setting, held to 1-10.
int32_t DaysViewedOf(const GraphSetting& s);
// The bar period index; one beyond the table takes the default (5 minutes).
int BarPeriodIndexOf(const GraphSetting& s);
// The period of a table index in seconds (index 2: 150 s).
int32_t BarPeriodSeconds(int index);
// The title's period text: "5 min. bars", "2.5 min. bars".
std::string BarPeriodTitle(int index);
// Price display 1-4 (mid, close, OHLC, candles); the command sets it, or back to 0 when it holds it.
void TogglePriceStyle(GraphSetting& s, uint8_t style);

// The days shown: from the first day not before display-from (when it is set and not the last day),
// else the last days-viewed days.
DayWindow ChooseDays(std::span<const PackedDate> days, int32_t daysViewed, PackedDate displayFrom);

// One step of the days (shift: move both ends; else widen with +1, narrow with -1).
struct DayStep {
    int32_t daysViewed = 1;
    PackedDate displayFrom = 0;
    bool beep = false;
};
DayStep StepDays(std::span<const PackedDate> days, size_t first, size_t count, bool shift, int direction);

// A day's bars of one period: bar i stands at start + i x period and takes the ticks from half a
// period before that up to half a period after it.
struct PeriodBars {
    int32_t start = 0, period = 60;
    std::vector<Bar> bars;
    int32_t visibleFirst = 0, visibleLast = -1;
    int32_t tradeFirst = 0, tradeLast = -1;
};
// The bar of a time: (t - start) / period + 0.5, truncated; -1 outside the bars.
int32_t BarOfTime(const PeriodBars& bars, int32_t time);
// What one day's bars are built from: its items, cleaned price range and the span of its ticks, and
// the analytic time selection (0 all, 1 the shown hours from..to, 2 the user's times from..to).
struct PeriodBarInput {
    const TickItemArray* quotes = nullptr;
    const TickItemArray* trades = nullptr;
    const TickPriceRange* range = nullptr;
    int32_t firstTick = 0, lastTick = 0;
    int selection = 0;
    int32_t selectFrom = 0, selectTo = 0;
    bool today = false;
};
PeriodBars BuildPeriodBars(const PeriodBarInput& in, int32_t period);
// The bars of the analytic time selection: first and last index, or none (last < first).
std::pair<int32_t, int32_t> MapTimeToBar(const PeriodBars& bars, int selection, int32_t from, int32_t to);
// The volume signal line over the bars: an exponential average of their volumes over the period.
std::vector<float> VolumeSignalLine(const PeriodBars& bars, uint16_t period);

// The time window of the axis and each day's shown span (seconds of the day).
struct AxisHours {
    int32_t open = 0, close = 86400;       // market hours
    int32_t userFrom = 0, userTo = 86400;  // the second pair of times
    int dayHours = 0;                      // 0 all day, 1 market hours, 2 user hours
    int32_t latestTime = -1;               // today's latest time from the exchange, -1 unknown
    bool extendToday = false;              // display flag bit 14
    int32_t windowSeconds = 3600;          // the limited range's length
    bool limited = false;                  // range limit set and switched on
};
struct DaySpan {
    int32_t firstTick = 0, lastTick = 0;
    bool today = false;
};
struct BandSpan {
    int32_t start = 0, end = 0;            // seconds of the day shown
    int32_t visibleStart = 0, visibleEnd = 0;
    bool visible = false;
};
std::vector<BandSpan> LayOutTimeAxis(const AxisHours& hours, std::span<const DaySpan> days);
// Pixel extents [left, right] of the visible bands side by side over left..right, in proportion to
// their visible seconds, with a gap between them (separator 0 none, 1 one pixel, 2 wider); the last
// band ends at the right edge. Invisible bands get left > right.
std::vector<std::pair<int32_t, int32_t>> LayOutBandPixels(std::span<const BandSpan> bands, int32_t left,
                                                          int32_t right, int separator);

// Ticks that go back in time: the count of time stamps read before the first that decreases, or -1
// when every stamp is in order.
int32_t CheckTickOrder(std::span<const IntradayTick> ticks);

} // namespace qv
