// The feed decoder: records are parsed whole, then stored share by share under the exclusive lock.
#include "realtime/feed/FeedDecoder.h"

#include "realtime/feed/FeedLimits.h"

#include "core/ReadersWriterLock.h"
#include "core/TimeZones.h"
#include "platform/ByteOrder.h"
#include "realtime/feed/FeedRecord.h"
#include "realtime/feed/RTBackfill.h"
#include "realtime/RTMarketTable.h"
#include "realtime/TimerQueue.h"
#include "realtime/feed/RTEngine.h"
#include "realtime/store/RTDaySummary.h"
#include "realtime/store/RTStore.h"
#include "realtime/store/RTTickCoding.h"

#include <algorithm>
#include <chrono>
#include <optional>
#include <string>

namespace qv {
namespace {

constexpr double kPriceScales[8] = {1, 0.1, 0.01, 0.001, 0.0001, 0.00001, 0.000001, 0.0000001};
constexpr uint32_t kDaySeconds = 86400;

double SourceFactor(uint8_t source) { return source >= 1 && source <= 3 ? 100.0 : 1.0; }

uint32_t NowTick()
{
    using namespace std::chrono;
    return uint32_t(duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count());
}

struct ShareWork {
    RTDayShareEntry* entry = nullptr;
    RTInstrument* instrument = nullptr;
    RTActiveShare* active = nullptr;
    double scale = 1.0;
    uint32_t time = 0;
    bool trade = false;
};

// Finds or makes the share's entry; null when the store cannot take it.
RTDayShareEntry* EntryFor(RTDayRecord& day, uint16_t share, uint8_t source, RTInstrument*& instrument)
{
    RTShareTable& t = TheRTStore().table;
    uint32_t key = MakeRTKey(0, share);
    int32_t slot = -1;
    bool existed = GetRTDayShare(key, day, slot, false) != nullptr;
    RTDayShareEntry* entry = GetRTDayShare(key, day, slot, true);
    if (!entry)
        return nullptr;
    instrument = t.Instrument(t.keys[t.slotIndex[uint32_t(slot)]].instrument);
    if (!existed) {
        entry->exchange = instrument && instrument->exchange < kRTExchanges ? instrument->exchange : 0;
        entry->source = source;
        entry->flags = uint8_t((IsShareInDatabase(share) ? 0 : kRTEntryNotInDatabase) |
                               (instrument ? kRTEntryInstrumentApplied : 0) |
                               (instrument ? (instrument->priceScale & 7) << 5 : 0));
    }
    // A stored entry's words come in before anything is appended to them.
    if (entry->fileOffset && !(entry->loadFlags & kRTLoadAllTicks) && !GetRTShareTickData(*entry, day, kRTLoadAllTicks))
        return nullptr;
    return entry;
}

// The market table counts the share's quote and trade for the breadth windows of the sources that
// hold it; its buckets run on London's clock, the reference is the previous close the feed gave.
void CountInMarketTable(const ShareWork& w, float bid, float offer, float volume, const RTDaySummary& s,
                        PackedDate day)
{
    const int exchange = w.entry->exchange;
    const int32_t offset = GetMarketUtcBias(unsigned(exchange), day) - GetMarketUtcBias(0, day);
    TheRTMarketTable().FeedTick(RTKeyShare(w.entry->key), w.time, offset, bid, offer, s.previousClose, volume,
                                exchange, SteadyTickCount());
}

void StorePriceItem(const FeedRecord& rec, const FeedItem& item, ShareWork& w, RTTickWriter& writer, RTDaySummary& s,
                    PackedDate day)
{
    float bid = float(item.bid * w.scale), offer = float(item.offer * w.scale);
    float price = float(item.trade * w.scale);
    bool trade = item.code == 1 && item.trade && item.volume;
    float oldOffer = s.offer, oldBid = s.bid, oldTrade = s.lastTrade;
    if (offer || bid)
        AddRTSummaryQuote(s, w.time, offer, bid);
    if (trade)
        AddRTSummaryTrade(s, w.time, price, float(item.volume));
    if (item.hasOpen) {
        s.open = float(item.open * w.scale);
        s.times[kRTSlotOpen] = w.time;
    }
    if (item.hasClose) {
        s.previousClose = float(item.close * w.scale);
        if (w.instrument) {
            w.instrument->previousClose = s.previousClose;
            w.instrument->closeDate = PreviousWeekday(day, false);
        }
    }
    if (w.active) {
        uint32_t tick = NowTick();
        MarkRTTickChange(*w.active, tick, 2, offer, bid, oldOffer, oldBid);
        if (trade)
            MarkRTTickChange(*w.active, tick, 1, price, 0, oldTrade, 0);
    }
    std::optional<RTStoredTrade> stored;
    if (trade)
        stored = RTStoredTrade{price, item.volume, uint32_t(uint16_t(item.secondVolume))};
    // The first value stands for the bid when 0; both further prices keep their coded integers.
    float last = item.last ? float(item.last) : float(item.bid);
    writer.PriceItem(last, offer, float(item.first), bid, stored);
    w.trade |= trade;
    CountInMarketTable(w, bid, offer, trade ? float(item.volume) : 0.0f, s, day);
    if (trade) {
        AddRTRecentTrade({RTKeyShare(w.entry->key), w.time, price, s.open, s.lastTrade, float(item.volume),
                          uint8_t(w.entry->key >> 16)});
        ++TheFeedDecodeCounts().trades;
    }
    (void)rec;
}

// Kind-0 records address registers 1-3: a quote at one price, a trade with its volume, or a value
// (an index level) kept as the quote's further price.
void StoreRegisterItem(const FeedItem& item, ShareWork& w, RTTickWriter& writer, RTDaySummary& s)
{
    float price = float(item.registers[item.code - 1] * w.scale);
    if (!price)
        return;
    if (item.code == 3)
        ++TheFeedDecodeCounts().indexValues;
    std::optional<RTStoredTrade> stored;
    if (item.code == 2 && item.volume) {
        stored = RTStoredTrade{price, item.volume, 0};
        AddRTSummaryTrade(s, w.time, price, float(item.volume));
        w.trade = true;
    } else if (item.code == 1) {
        AddRTSummaryQuote(s, w.time, price, price);
    }
    writer.PriceItem(price, item.code == 1 ? price : s.offer, price, item.code == 1 ? price : s.bid, stored);
}

void StoreShare(RTDayRecord& day, const FeedRecord& rec, const FeedShareItems& share, bool catchUp)
{
    LockRTExclusive();
    ShareWork w;
    w.entry = EntryFor(day, share.share, rec.source, w.instrument);
    if (!w.entry) {
        UnlockRTExclusive();
        return;
    }
    RTDayShareEntry& e = *w.entry;
    // A day and a share's day hold at most the feed's ceilings: what comes past them is dropped.
    if (e.tickCount >= kFeedMaxShareDayWords || day.feedWords >= kFeedMaxDayWords) {
        UnlockRTExclusive();
        NoteFeedDrop(FeedLimit::LiveRecords);
        return;
    }
    const uint32_t wordsBefore = e.tickCount;
    if (rec.source == kFeedIndexSource && rec.kind)
        TheFeedDecodeCounts().indexValues += share.items.size();
    w.scale = kPriceScales[(e.flags >> 5) & 7] * SourceFactor(rec.source);
    w.time = rec.time20 / 20;
    w.active = FindRTActiveShare(e.key);
    RTTickWriter writer(e);
    RTDaySummary s = ReadRTDaySummary(std::span<const uint32_t, kRTSummaryWords>(e.ticks.data(), kRTSummaryWords));
    if (w.time != e.lastRecordTime) {
        writer.Time(w.time, catchUp);
        uint32_t& latest = TheRTEngine().exchanges[std::min<size_t>(e.exchange, kRTExchanges - 1)].latestTime;
        latest = std::max(latest, w.time);
    }
    for (const FeedItem& item : share.items) {
        if (rec.kind)
            StorePriceItem(rec, item, w, writer, s, rec.day);
        else
            StoreRegisterItem(item, w, writer, s);
    }
    TheFeedDecodeCounts().items += share.items.size();
    day.feedWords += e.tickCount - std::min(e.tickCount, wordsBefore);
    WriteRTDaySummary(s, std::span<uint32_t, kRTSummaryWords>(e.ticks.data(), kRTSummaryWords));
    e.loadFlags |= kRTLoadWritten | kRTLoadAllTicks;
    day.flags |= kRTLoadWritten;
    MarkRTCovered(day, rec.source, w.time);
    if (w.active && !share.items.empty())
        RefreshRTSubscribers(*w.active, w.trade);
    UnlockRTExclusive();
}

// The checks of a record's header that end the block; Complete when the record may be handled.
FeedBlockEnd CheckRecord(const FeedRecord& rec, bool catchUp)
{
    const RTEngine& e = TheRTEngine();
    if (rec.source >= 15)
        return FeedBlockEnd::BadSource;
    if (rec.source >= 1 && rec.source <= 9 && !(kFeedSourceMasks[rec.source] & e.enabledFeeds))
        return FeedBlockEnd::DisabledSource;
    if (rec.time20 / 20 > kDaySeconds)
        return FeedBlockEnd::TimeBeyondDay;
    if (catchUp && rec.day != TheFeedCatchUp().day)
        return FeedBlockEnd::OtherDay;
    return FeedBlockEnd::Complete;
}

void CountCatchUpBlock(std::span<const uint8_t> block)
{
    FeedCatchUp& c = TheFeedCatchUp();
    uint32_t blockTime = LoadU32(block.data() + 4);
    if (c.running && c.lastBlockTime && c.lastBlockTime < blockTime)
        c.remaining -= int32_t((blockTime - c.lastBlockTime) / 15);
    else
        c.remaining -= 1;
    c.lastBlockTime = blockTime;
}

// The catch-up day's records of one block: their first and last times and their sources.
struct BlockSpan {
    bool any = false;
    uint32_t first = 0, last = 0;
    uint16_t sources = 0;
};

// The server's catch-up runs on from where it had reached to the block's last record for every
// source but those the block's header says it lacks since the block before (bits 0-14); those run
// on again from the time its bits 15-31 give (seconds), when the block has it, or from a later
// block. A priority catch-up serves some shares only, so marks nothing; the rest of the day that
// follows it does.
void MarkCatchUpCoverage(uint32_t header, const BlockSpan& span)
{
    FeedCatchUp& c = TheFeedCatchUp();
    if (!c.running || c.priority || !span.any)
        return;
    const uint32_t lacking = header & 0x7FFF, servedAgainFrom = header >> 15;
    c.coveredSources |= span.sources;
    ExclusiveLockGuard lock(IntradayStoreLock());
    RTDayRecord* day = GetRTDay(c.day, false);
    for (int source = 0; source < 15; ++source) {
        if (!(c.coveredSources & (1u << source)))
            continue;
        uint32_t& to = c.coveredTo[size_t(source)];
        uint32_t from = to == kFeedNoCover ? span.first : std::min(to, span.last);
        if (lacking & (1u << source)) {
            if (servedAgainFrom > span.last) {
                to = kFeedNoCover;
                continue;
            }
            from = std::max(servedAgainFrom, span.first);
        }
        if (day)
            MarkRTCoveredRange(*day, source, from, span.last);
        to = span.last;
    }
}

FeedBlockResult HandleRecords(RTDayRecord* day, std::span<const uint8_t> block, bool catchUp, BlockSpan& span);

} // namespace

FeedCatchUp& TheFeedCatchUp()
{
    static FeedCatchUp state;
    return state;
}

FeedDecodeCounts& TheFeedDecodeCounts()
{
    static FeedDecodeCounts counts;
    return counts;
}

FeedBlockResult HandleFeedRecords(RTDayRecord* day, std::span<const uint8_t> block, bool catchUp)
{
    BlockSpan span;
    FeedBlockResult result = HandleRecords(day, block, catchUp, span);
    if (catchUp && block.size() >= kFeedBlockHeaderBytes)
        MarkCatchUpCoverage(LoadU32(block.data()), span);
    return result;
}

namespace {

FeedBlockResult HandleRecords(RTDayRecord* day, std::span<const uint8_t> block, bool catchUp, BlockSpan& span)
{
    FeedBlockResult result;
    size_t at = 0;
    uint32_t count = 1;
    if (catchUp) {
        if (block.size() < kFeedBlockHeaderBytes) {
            result.end = FeedBlockEnd::Short;
            return result;
        }
        CountCatchUpBlock(block);
        count = LoadU16(block.data() + 8);
        at = kFeedBlockHeaderBytes;
    }
    FeedRecord rec;
    for (uint32_t i = 0; i < count; ++i) {
        FeedParse parsed = ParseFeedRecord(block.subspan(at), rec);
        if (parsed != FeedParse::Ok) {
            result.end = parsed == FeedParse::Short ? FeedBlockEnd::Short : FeedBlockEnd::Damaged;
            return result;
        }
        at += rec.bytes;
        if ((result.end = CheckRecord(rec, catchUp)) != FeedBlockEnd::Complete)
            return result;
        FeedCatchUp& c = TheFeedCatchUp();
        if (catchUp && !c.sourceNoted) {
            c.sourceNoted = true;
            c.source = rec.source;
            c.blocksPerSource[rec.source] += 1;
        }
        std::atomic<uint32_t>& latest = TheRTEngine().sourceLatest[rec.source];
        latest = std::max(latest.load(), rec.time20 / 20);
        ++result.handled;
        if (rec.day == 0)
            continue;
        if (rec.day > TheRTStore().newestDaySeen)
            BeginRTDay(rec.day, true, true);
        if (!day || day->day != rec.day) {
            LockRTExclusive();
            day = GetRTDay(rec.day, true);
            UnlockRTExclusive();
        }
        if (!catchUp && rec.time20 == 0) {
            --result.handled;
            result.end = FeedBlockEnd::ZeroTime;
            return result;
        }
        if (!day)
            continue;
        if (catchUp) {
            const uint32_t time = rec.time20 / 20;
            span.first = span.any ? std::min(span.first, time) : time;
            span.last = std::max(span.last, time);
            span.any = true;
            span.sources = uint16_t(span.sources | (1u << rec.source));
        }
        for (const FeedShareItems& share : rec.shares)
            StoreShare(*day, rec, share, catchUp);
        ++TheFeedDecodeCounts().records;
    }
    return result;
}

} // namespace

bool HandleRTInstrumentRecord(std::span<const uint8_t> bytes)
{
    ByteReader r(bytes);
    uint32_t key = 0, value = 0;
    uint8_t shortLength = 0, longLength = 0, scale = 0, exchange = 0, marketType = 0, b1 = 0, b2 = 0;
    uint16_t sequence = 0;
    std::string shortName, longName;
    r.u32(key);
    r.u32(value);
    r.u8(shortLength);
    r.fixedText(shortName, shortLength);
    r.u16(sequence);
    r.u8(scale);
    r.u8(exchange);
    r.u8(marketType);
    r.u8(b1);
    r.u8(b2);
    r.u8(longLength);
    r.fixedText(longName, longLength);
    uint16_t share = RTKeyShare(key);
    if (!r.ok() || share == 0 || exchange >= kRTExchanges || (key >> 16) >= kRTExchanges)
        return false;
    LockRTExclusive();
    RTShareTable& t = TheRTStore().table;
    RTKeySlot at = FindRTKeySlot(t, key);
    if (!at.found && t.instrumentCount >= kFeedMaxInstruments) {
        UnlockRTExclusive();
        NoteFeedDrop(FeedLimit::Definitions);
        return false;
    }
    ShareRef ref{nullptr, uint8_t(key >> 16), share};
    int32_t slot = AddRTKey(t, key, at.slot, ref, true);
    RTInstrument* x = slot >= 0 ? t.Instrument(t.keys[t.slotIndex[uint32_t(slot)]].instrument) : nullptr;
    bool applied = x && (sequence > x->sequence || x->sequence == 0);
    if (applied) {
        x->share = share;
        x->shortName = uint32_t(AddRTName(t, shortName));
        x->longName = uint32_t(AddRTName(t, longName));
        x->definitionValue = value;
        x->sequence = sequence;
        x->exchange = exchange;
        x->marketType = marketType;
        x->priceScale = scale & 7;
        if (RTDayRecord* day = CurrentRTDay()) {
            int32_t s = slot;
            if (RTDayShareEntry* e = GetRTDayShare(key, *day, s, false)) {
                e->exchange = exchange;
                e->flags = uint8_t((e->flags & 0x1F) | kRTEntryInstrumentApplied | (x->priceScale << 5));
            }
        }
    }
    UnlockRTExclusive();
    if (applied && !IsShareInDatabase(share)) {
        if (const auto& extras = TheRTEngineHooks().instrumentsChanged)
            extras();
    }
    return x != nullptr;
}

} // namespace qv
