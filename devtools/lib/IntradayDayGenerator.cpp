// Invented intraday days: a bridge from the open to the close through the day's extremes, with
// quotes around it and trades at either side or inside the spread.
#include "devtools/lib/IntradayDayGenerator.h"

#include "realtime/RTFeedSettings.h"
#include "realtime/store/RTDaySummary.h"
#include "realtime/store/RTTickCoding.h"

#include <algorithm>
#include <cmath>
#include <random>

namespace qv::dev {
namespace {

constexpr uint32_t kOpenTime = 8 * 3600;
constexpr uint32_t kCloseTime = 16 * 3600 + 30 * 60;

double Uniform(std::mt19937& rng) { return double(rng()) / 4294967296.0; }

float Tick(float price) { return price < 10.0f ? 0.01f : price < 100.0f ? 0.05f : price < 1000.0f ? 0.25f : 1.0f; }

float RoundTo(float v, float step) { return std::max(step, std::round(v / step) * step); }

} // namespace

std::vector<IntradayEvent> GenerateIntradayDay(uint16_t share, PackedDate day, const IntradayDayPrices& p)
{
    std::mt19937 rng((uint32_t(share) << 16) ^ day ^ 0x5EED1A7u);
    int count = 80 + int(Uniform(rng) * 160);
    std::vector<uint32_t> times(static_cast<size_t>(count));
    for (uint32_t& t : times)
        t = kOpenTime + uint32_t(Uniform(rng) * (kCloseTime - kOpenTime));
    std::sort(times.begin(), times.end());
    times.front() = kOpenTime;
    times.back() = kCloseTime;
    // The high and the low fall at two points of the day; the path runs straight between the open,
    // the extremes and the close, with noise that stays inside the range.
    size_t hi = 1 + size_t(Uniform(rng) * (count - 2)), lo = 1 + size_t(Uniform(rng) * (count - 2));
    if (hi == lo)
        lo = hi == 1 ? 2 : hi - 1;
    std::vector<std::pair<size_t, float>> knots = {{0, p.open}, {hi, p.high}, {lo, p.low}, {size_t(count - 1), p.close}};
    std::sort(knots.begin(), knots.end());
    float tick = Tick(p.close);
    float spreadSteps = 1.0f + float(int(Uniform(rng) * 4));
    std::vector<IntradayEvent> out;
    out.reserve(size_t(count));
    for (size_t i = 0; i < size_t(count); ++i) {
        auto next = std::find_if(knots.begin(), knots.end(), [&](const auto& k) { return k.first >= i; });
        auto prev = next == knots.begin() ? next : next - 1;
        float mid = next->second;
        if (next->first != i && prev != next) {
            float f = float(i - prev->first) / float(next->first - prev->first);
            mid = prev->second + (next->second - prev->second) * f;
            mid += float((Uniform(rng) - 0.5) * 0.002) * mid;
            mid = std::clamp(mid, p.low, p.high);
        }
        float half = tick * spreadSteps / 2.0f;
        IntradayEvent e;
        e.time = times[i];
        e.bid = RoundTo(mid - half, tick);
        e.offer = std::max(RoundTo(mid + half, tick), e.bid + tick);
        e.trade = i == 0 || i + 1 == size_t(count) || Uniform(rng) < 0.6;
        if (e.trade) {
            double side = Uniform(rng);
            e.price = i == 0 ? p.open : i + 1 == size_t(count) ? p.close
                                        : side < 0.4 ? e.offer : side < 0.8 ? e.bid : RoundTo(mid, tick);
            double size = std::exp(6.0 + Uniform(rng) * 4.5);
            e.volume = std::max<uint32_t>(100, uint32_t(size / 100.0) * 100);
        }
        out.push_back(e);
    }
    return out;
}

std::vector<IntradayEvent> AsIndexValues(const std::vector<IntradayEvent>& events, uint32_t open, uint32_t close)
{
    std::vector<IntradayEvent> out;
    out.reserve(events.size());
    const double scale = double(close - open) / double(kCloseTime - kOpenTime);
    for (const IntradayEvent& e : events) {
        IntradayEvent v;
        v.time = open + uint32_t(std::lround(double(e.time - std::min(e.time, kOpenTime)) * scale));
        v.bid = v.offer = std::round((e.bid + e.offer) * 50.0f) / 100.0f;
        out.push_back(v);
    }
    return out;
}

void WriteIntradayEntry(RTDayShareEntry& entry, const std::vector<IntradayEvent>& events, float previousClose)
{
    RTTickWriter writer(entry);
    RTDaySummary summary;
    summary.previousClose = previousClose;
    for (const IntradayEvent& e : events) {
        writer.Time(e.time);
        std::optional<RTStoredTrade> trade;
        if (e.trade)
            trade = RTStoredTrade{e.price, e.volume, 0};
        writer.PriceItem(0, e.offer, 0, e.bid, trade);
        AddRTSummaryQuote(summary, e.time, e.offer, e.bid);
        if (e.trade)
            AddRTSummaryTrade(summary, e.time, e.price, float(e.volume));
    }
    WriteRTDaySummary(summary, std::span<uint32_t, kRTSummaryWords>(entry.ticks.data(), kRTSummaryWords));
    entry.loadFlags |= kRTLoadWritten | kRTLoadAllTicks;
}

RTDayRecord MakeIntradayDay(PackedDate day, RTShareTable& table, const std::vector<IntradayShareSpec>& shares)
{
    RTDayRecord record;
    record.version = 5;
    record.day = day;
    // Shares without names are the database's; the others get instrument records by force.
    RTDatabaseLookup previous = SetRTDatabaseLookup([](uint16_t) { return true; });
    for (const IntradayShareSpec& spec : shares) {
        bool instrument = !spec.shortName.empty();
        RTKeySlot at = FindRTKeySlot(table, spec.key);
        if (!at.found) {
            ShareRef ref{nullptr, uint8_t(spec.key >> 16), RTKeyShare(spec.key)};
            AddRTKey(table, spec.key, at.slot, ref, instrument);
            at = FindRTKeySlot(table, spec.key);
            uint32_t keyEntry = table.slotIndex[at.slot];
            if (RTInstrument* x = table.Instrument(table.keys[keyEntry].instrument)) {
                x->shortName = uint32_t(AddRTName(table, spec.shortName));
                x->longName = uint32_t(AddRTName(table, spec.longName));
                x->previousClose = spec.prices.previousClose;
                x->closeDate = PreviousWeekday(day, false);
                x->sequence = 1;
            }
        }
        uint32_t keyEntry = table.slotIndex[at.slot];
        RTDayShareEntry& entry = record.AddEntry(keyEntry, spec.key);
        entry.flags = instrument ? kRTEntryNotInDatabase | kRTEntryInstrumentApplied : 0;
        std::vector<IntradayEvent> events = GenerateIntradayDay(RTKeyShare(spec.key), day, spec.prices);
        if (spec.index) {
            const MarketHours& hours = DefaultMarketHours()[std::min<size_t>(spec.exchange, size_t(kMarketHoursExchanges) - 1)];
            events = AsIndexValues(events, hours.open, hours.close);
            entry.exchange = spec.exchange;
            entry.source = kIndexValueSource;
        }
        WriteIntradayEntry(entry, events, spec.prices.previousClose);
    }
    SetRTDatabaseLookup(previous);
    ResetRTDayWork(record);
    return record;
}

} // namespace qv::dev
