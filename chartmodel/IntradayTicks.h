// A share's intraday day turned into the chart's arrays: the ticks split by type into time-stamped
// items, missing and spike prices marked, the quotes folded into bars of a fixed slot length, moving
// averages over the bars' closes, the latest quote and trade, and the series keys of price and
// volume series. Every array is sized by the day's counts and never written past them.
#pragma once

#include "chartmodel/IndicatorCalc.h"
#include "realtime/store/RTActiveShares.h"

#include <cfloat>
#include <cstdint>
#include <span>
#include <string>
#include <vector>

namespace qv {

enum TickItemFlags : uint32_t {
    kItemFirstMissing = 1,
    kItemSecondMissing = 2,
    kItemFirstSpike = 4,
    kItemSecondSpike = 8,
    kItemBuy = 16,
    kItemSell = 32,
    kItemUnclassified = 64,
};

struct TickItem {
    uint32_t flags = 0;
    int32_t time = 0;
    float first = 0, second = 0;
};

// Items with room for as many as the day's count of their type; an append past it is refused.
struct TickItemArray {
    std::vector<TickItem> items;
    size_t capacity = 0;
    void Reserve(size_t n);
    bool Append(const TickItem& item);
};

// The share's ticks by type: quotes (offer, bid), the third kind (lows and highs) and trades.
struct IntradaySeriesSet {
    uint16_t share = 0;
    int32_t currentSlot = -1;
    int32_t timeOffset = 0;
    float storedMid = 0, storedPrice = 0;
    TickItemArray quotes, others, trades;
};

struct TickCounts {
    size_t quotes = 0, others = 0, trades = 0;
};

// Splits the ticks; false at a time stamp earlier than the one before it (the corruption message is
// shown then, once per share until another share is reported). Times outside 0-86400 are dropped.
bool SplitIntradayTicks(std::span<const IntradayTick> ticks, const TickCounts& counts, IntradaySeriesSet& set,
                        const std::string& shareName);
void AppendTickItem(TickItemArray& items, const IntradayTick& tick, int32_t time);
// Forgets the share last reported (tests).
void ResetTickCorruptionReport();

struct TickPriceRange {
    float minimum = FLT_MAX, maximum = -FLT_MAX;
    void Widen(float v);
};

// Marks missing (below 0.000001) and spike values of the first (which 0) or second value; with
// dropCrossed, crossed quotes are skipped, offers are tested only upwards and bids only downwards.
// Spikes are marked missing too when spikeRemoval is set. Usable values widen the range.
void CleanTickPrices(TickItemArray& items, int which, bool dropCrossed, TickPriceRange* range, float spikeFactor,
                     bool spikeRemoval);

struct BarArray {
    std::vector<Bar> bars;
    int32_t start = 0;      // the first slot's start, seconds
    int32_t slotLength = 60;
};
// Builds the bars from the quote items' mid prices; an empty bar takes the last mid before it.
void TicksToBars(const TickItemArray& items, BarArray& bars, int32_t from, int32_t to, const TickPriceRange* range,
                 bool noRounding);
// Lowers the bars' lows to the items' first values and raises their highs to the second values.
void MergeTickHighLow(const TickItemArray& items, BarArray& bars, int32_t from, int32_t to, const TickPriceRange* range,
                      bool noRounding);

struct BarAverage {
    uint32_t type = 0, period = 0;
    std::vector<float> values;
};
struct IntradayDay {
    int32_t slotLength = 60;
    int32_t startTime = 0, endTime = 0; // 0: the first and last quote
    TickPriceRange range;
    TickItemArray quoteItems;
    BarArray bars;
    std::vector<BarAverage> averages;
};
constexpr uint32_t kDecodeBars = 1, kDecodeKeepQuotes = 2;
constexpr float kSpikeFactor = 2.5f;
// The whole pipeline for one share and day; false after a corruption (what came before it is used).
bool DecodeIntradayTicks(IntradayDay& day, std::span<const IntradayTick> ticks, const TickCounts& counts,
                         uint32_t flags, const std::string& shareName, bool spikeRemoval = false);
// One value per bar: the moving average of the closes from the first slot on, the close of that slot
// before it; nothing when there are no bars past the first slot.
void AverageBarCloses(const BarArray& bars, uint32_t type, uint32_t period, std::vector<float>& out, size_t firstSlot);
// The slot of the day's start time; every average from it when it lies inside the bars.
int32_t ComputeBarAverages(IntradayDay& day);

// The newest quote missing neither value and not crossed, and the newest trade missing neither.
bool GetLatestQuote(IntradaySeriesSet& set, float& mid, float& bid, float& offer, int32_t& time);
bool GetLatestTrade(const IntradaySeriesSet& set, float& price, float& volume, int32_t& time);

// The key of a price or volume series: kind 1 price, 2 volume.
uint32_t MakeSeriesKey(uint32_t kind, uint32_t field, uint32_t period, uint32_t subField, uint32_t flags);

} // namespace qv
