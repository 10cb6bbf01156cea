// What the intraday chart writes about its data: the trend rate of a drawn line, the title's latest
// values, the average trade volume, and which side of a drawn line the latest price stands on when an
// alarm is set on the line.
#pragma once

#include "chartmodel/IntradayTicks.h"

#include "core/PackedDate.h"

#include <array>
#include <cstdint>
#include <functional>
#include <span>
#include <string>

namespace qv {

struct ShareRef;

// The de-spike factor of the style block's byte 1148: bit 0 clear none (-1); bits 1-7 index 2.5, 1.1,
// 1.05, 1.025, 1.01 (a larger index takes the last).
float DeSpikeFactor(uint8_t setting);

// The ticks of the displayed days cleaned for drawing: each day's quotes on both sides and its trades
// (and, with trades shown, its third array) with the factor, widening the price range and the first
// and last times (the quotes', and the trades' too for OHLC or candles); the added graphs' items on
// both sides without touching the range. An empty range becomes 0 to 0.
struct CleanedTicks {
    TickPriceRange range;
    int32_t firstTime = -1, lastTime = -1;
};
CleanedTicks CleanTicks(std::span<IntradaySeriesSet* const> days, std::span<IntradaySeriesSet* const> added, float factor,
                        bool ohlcOrCandles, bool tradesShown, bool spikeRemoval);

// "%+.2f/hr" on a linear scale, "%+.2f%%/hr" (the hourly growth) on a log scale; "" when the anchors
// are not more than 1 s apart, or on a log scale when either value is 0 or below.
std::string FormatTrendRate(int64_t time1, double value1, int64_t time2, double value2, bool logScale);

// The legend's six read-out texts (time, mid with bid and offer, bid and offer, mid, volume, cursor)
// from values already written with the chart's number format; an empty text is a value there is none
// of. Off the graph they take their empty forms; `latest` heads the first text for the latest values.
struct IntradayReadoutValues {
    bool offGraph = false;
    bool latest = false;
    std::string time;      // FormatReadoutTime
    std::string pane;      // "Mid %s", "Volume %s" or "Value %s" of the pane under the cursor
    std::string mid, bid, offer;
    std::string volume, price, signal; // the trade's volume and price; the volume signal line's value
    std::string cursor;    // the bare value under the cursor
};
constexpr size_t kReadoutTexts = 6;
std::array<std::string, kReadoutTexts> IntradayReadoutTexts(const IntradayReadoutValues& v);
// "DD/MM/YYYY HH:MM.SS"
std::string FormatReadoutTime(PackedDate day, int32_t seconds);

// A drawing object's texts: its anchor's time ("Anchor time DD/MM/YYYY HH:MM.SS", the time alone for an
// object on the current day), a point's value ("NAME TIME - 0.000", or "NAME value 0.000" without a
// time) and the range it spans ("From ..." and "to ...").
std::string FormatAnchorTime(PackedDate day, int32_t seconds, bool currentDay);
std::string FormatPointValue(const std::string& name, const std::string& time, double value);
std::array<std::string, 2> FormatTimeRange(PackedDate fromDay, int32_t fromSeconds, PackedDate toDay, int32_t toSeconds);

// The title options word (u16 at byte 1238 of the graph setting): the bits the title values read.
enum IntradayTitleBit : uint16_t {
    kTitleLastMid = 1u << 1,
    kTitleAverageVolume = 1u << 3,
    kTitleMidChange = 1u << 6,
    kTitleFromPreviousClose = 1u << 7,
    kTitleChangeAsPercent = 1u << 8,
    kTitleBidOffer = 1u << 9,
};
// The chart's latest values; -1 where there is none.
struct IntradayLatestValues {
    float mid = -1, bid = -1, offer = -1;
    float trade = -1, volume = -1;
    int32_t quoteTime = -1, tradeTime = -1;
    float reference = -1; // the open, or the previous close, the mid's change is taken from
};
// The mark between title parts that starts a line of its own.
constexpr const char* kTitleLineBreak = "^^";
// The last mid, its change and the bid and offer, as the options ask, joined by a blank; the bid and
// offer go after "^^" when a part precedes them. Prices through `price` (the share's price format).
std::string BuildTitleValues(uint16_t options, const IntradayLatestValues& latest, const std::function<std::string(float)>& price);

// The average of the positive trade volumes, each cut to a whole number, by whole-number division;
// -1 when there are none.
int64_t AverageTradeVolume(std::span<const float> volumes);

// The side of a drawn line (two anchors of seconds of the day and values) the share's latest mid
// stands on: 1 below the line (or when the two do not compare), 3 at or above it, 0 when there is no
// latest mid or time of it. A line whose two ends share a time answers 1.
int LineAlarmSide(const ShareRef& share, int64_t time1, double value1, int64_t time2, double value2);
// The same for a given latest price and its time of day.
int LineSideOfPrice(double price, int64_t time, int64_t time1, double value1, int64_t time2, double value2);

} // namespace qv
