// The day summary's stored words and the rules that fill it.
#include "realtime/store/RTDaySummary.h"

#include <bit>

namespace qv {
namespace {

constexpr uint32_t kSlotBias = 21600; // in units of 2 s
constexpr size_t kMaskByte = 26;

float F(uint32_t w) { return std::bit_cast<float>(w); }
uint32_t W(float f) { return std::bit_cast<uint32_t>(f); }

uint16_t Half(RTSummaryWords words, size_t byte)
{
    uint32_t w = words[byte / 4];
    return uint16_t(byte % 4 ? w >> 16 : w);
}

void SetHalf(std::span<uint32_t, kRTSummaryWords> words, size_t byte, uint16_t v)
{
    uint32_t& w = words[byte / 4];
    w = byte % 4 ? (w & 0xFFFF) | (uint32_t(v) << 16) : (w & 0xFFFF0000u) | v;
}

} // namespace

uint8_t RTTradeClass(float price, float offer, float bid)
{
    if (offer == 0.0f || bid == 0.0f)
        return kRTTradeUnknown;
    float mid = (offer + bid) / 2.0f;
    float band = (offer - bid) / 6.0f;
    if (price > mid + band)
        return kRTTradeBuy;
    if (price < mid - band)
        return kRTTradeSell;
    return kRTTradeUnknown;
}

uint32_t RTSummaryTime(RTSummaryWords words, int slot)
{
    uint32_t units = Half(words, size_t(slot) * 2);
    bool low = (Half(words, kMaskByte) >> slot) & 1;
    return (low ? units : units + kSlotBias) * 2;
}

RTDaySummary ReadRTDaySummary(RTSummaryWords w)
{
    RTDaySummary s;
    for (int i = 0; i < kRTSummarySlots; ++i)
        s.times[i] = RTSummaryTime(w, i);
    for (int i = 0; i < 3; ++i) {
        s.tradeCounts[i] = w[7 + i];
        s.values[i] = F(w[29 + i]);
        s.volumes[i] = F(w[32 + i]);
    }
    s.previousClose = F(w[10]);
    s.tradeHigh = F(w[13]);
    s.tradeLow = F(w[14]);
    s.midHigh = F(w[17]);
    s.midLow = F(w[18]);
    s.offer = F(w[19]);
    s.bid = F(w[20]);
    s.previousTrade = F(w[21]);
    s.open = F(w[22]);
    s.lastTrade = F(w[23]);
    s.lastVolume = F(w[35]);
    return s;
}

void WriteRTDaySummary(const RTDaySummary& s, std::span<uint32_t, kRTSummaryWords> w)
{
    uint16_t mask = 0;
    for (int i = 0; i < kRTSummarySlots; ++i) {
        uint32_t units = std::min<uint32_t>(s.times[i] / 2, 2 * kSlotBias - 1);
        bool low = units < kSlotBias;
        mask |= uint16_t(low) << i;
        SetHalf(w, size_t(i) * 2, uint16_t(low ? units : units - kSlotBias));
    }
    SetHalf(w, kMaskByte, mask);
    for (int i = 0; i < 3; ++i) {
        w[7 + i] = s.tradeCounts[i];
        w[29 + i] = W(s.values[i]);
        w[32 + i] = W(s.volumes[i]);
    }
    w[10] = W(s.previousClose);
    w[13] = W(s.tradeHigh);
    w[14] = W(s.tradeLow);
    w[17] = W(s.midHigh);
    w[18] = W(s.midLow);
    w[19] = W(s.offer);
    w[20] = W(s.bid);
    w[21] = W(s.previousTrade);
    w[22] = W(s.open);
    w[23] = W(s.lastTrade);
    w[35] = W(s.lastVolume);
}

std::array<uint32_t, kRTSummaryWords> EmptyRTSummaryWords()
{
    std::array<uint32_t, kRTSummaryWords> w{};
    SetHalf(w, kMaskByte, kRTAllSlotsMask);
    return w;
}

void AddRTSummaryQuote(RTDaySummary& s, uint32_t time, float offer, float bid)
{
    s.times[kRTSlotLatestRecord] = std::max(s.times[kRTSlotLatestRecord], time);
    s.times[kRTSlotLatestQuote] = time;
    if (offer)
        s.offer = offer;
    if (bid)
        s.bid = bid;
    if (!offer || !bid)
        return;
    float mid = (offer + bid) / 2.0f;
    if (s.midHigh == 0.0f || mid > s.midHigh)
        s.midHigh = mid;
    if (s.midLow == 0.0f || mid < s.midLow)
        s.midLow = mid;
}

void AddRTSummaryTrade(RTDaySummary& s, uint32_t time, float price, float volume)
{
    if (price == 0.0f || volume == 0.0f)
        return;
    s.times[kRTSlotLatestRecord] = std::max(s.times[kRTSlotLatestRecord], time);
    s.times[kRTSlotLatestTrade] = time;
    s.times[kRTSlotTradeTime] = time;
    if (s.open == 0.0f) {
        s.open = price;
        s.times[kRTSlotOpen] = time;
        s.times[kRTSlotFirstTrade] = time;
    }
    if (s.tradeHigh == 0.0f || price > s.tradeHigh) {
        s.tradeHigh = price;
        s.times[kRTSlotTradeHigh] = time;
    }
    if (s.tradeLow == 0.0f || price < s.tradeLow) {
        s.tradeLow = price;
        s.times[kRTSlotTradeLow] = time;
    }
    uint8_t c = RTTradeClass(price, s.offer, s.bid);
    s.tradeCounts[c] += 1;
    s.values[c] += price * volume;
    s.volumes[c] += volume;
    s.previousTrade = s.lastTrade;
    s.lastTrade = price;
    s.lastVolume = volume;
}

} // namespace qv
