// The 144-byte day summary at the start of a share's tick words: times of day, prices, extremes and
// the day's trades by class. Word layout in docs/DATA.md.
#pragma once

#include "realtime/store/RTDayRecord.h"

#include <array>
#include <cstdint>
#include <span>

namespace qv {

// Time slots of the summary.
enum RTSummarySlot : int {
    kRTSlotLatestRecord = 0,
    kRTSlotLatestTrade = 1,
    kRTSlotLatestQuote = 2,
    kRTSlotTradeHigh = 3,
    kRTSlotTradeLow = 4,
    kRTSlotTradeTime = 9, // the latest trade's time, which the trade-time columns read
    kRTSlotFirstTrade = 10,
    kRTSlotOpen = 11,
};
constexpr int kRTSummarySlots = 13;
constexpr uint16_t kRTAllSlotsMask = 0x1FFF;

// Trade classes.
constexpr uint8_t kRTTradeBuy = 0;
constexpr uint8_t kRTTradeSell = 1;
constexpr uint8_t kRTTradeUnknown = 2;

// A trade's class against the quote: above mid + band a buy, below mid - band a sell (band a sixth
// of the spread), unknown in between or without both sides of a quote.
uint8_t RTTradeClass(float price, float offer, float bid);

struct RTDaySummary {
    std::array<uint32_t, kRTSummarySlots> times{}; // seconds since midnight
    std::array<uint32_t, 3> tradeCounts{};         // buys, sells, unknown
    float previousClose = 0.0f;
    float tradeHigh = 0.0f, tradeLow = 0.0f;
    float midHigh = 0.0f, midLow = 0.0f;
    float offer = 0.0f, bid = 0.0f;
    float previousTrade = 0.0f;
    float open = 0.0f;
    float lastTrade = 0.0f;
    std::array<float, 3> values{};
    std::array<float, 3> volumes{};
    float lastVolume = 0.0f;
};

using RTSummaryWords = std::span<const uint32_t, kRTSummaryWords>;
RTDaySummary ReadRTDaySummary(RTSummaryWords words);
// Writes the fields into the words; words the summary does not name are left as they are.
void WriteRTDaySummary(const RTDaySummary& summary, std::span<uint32_t, kRTSummaryWords> words);
// A summary's time slot from its words: units of 2 s, with 21,600 added back when the slot's mask
// bit is clear.
uint32_t RTSummaryTime(RTSummaryWords words, int slot);
// The empty summary: zero words with every mask bit set.
std::array<uint32_t, kRTSummaryWords> EmptyRTSummaryWords();

// Folds one quote or trade at a time of day into a summary.
void AddRTSummaryQuote(RTDaySummary& summary, uint32_t time, float offer, float bid);
void AddRTSummaryTrade(RTDaySummary& summary, uint32_t time, float price, float volume);

} // namespace qv
