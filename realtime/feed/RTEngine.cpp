// The intraday engine's state, day roll-over, change marks, watch lists, recent trades and queries.
#include "realtime/feed/RTEngine.h"

#include "core/ReadersWriterLock.h"
#include "core/RecordLookup.h"
#include "core/TableLock.h"
#include "platform/DebugOutput.h"
#include "platform/MessageDispatch.h"
#include "realtime/FeedStates.h"
#include "realtime/IntradayState.h"
#include "realtime/RTMarketTable.h"
#include "realtime/TimerQueue.h"
#include "realtime/store/RTDaySummary.h"
#include "realtime/store/RTStore.h"
#include "realtime/store/RTTickCoding.h"

#include <algorithm>
#include <bit>
#include <chrono>
#include <cmath>
#include <limits>
#include <map>
#include <mutex>
#include <utility>

namespace qv {
namespace {

constexpr uint16_t kRTLoadRequested = 0x40;
// The day's high and low of each price register (offer, bid, trade, mid) in the summary words as
// the store places them: the trade's pair is 13 and 14, the mid's 17 and 18.
constexpr int kHighWord[4] = {11, 12, 13, 17};
constexpr int kLowWord[4] = {15, 16, 14, 18};
constexpr uint32_t kEarlierDayEnd = 59400; // 16:30

struct RecentRing {
    uint16_t lock = 0;
    std::array<RecentTrade, kRecentTrades> records{};
    uint16_t head = 0, tail = 0;
};
RecentRing& Ring()
{
    static RecentRing ring;
    return ring;
}

float F(uint32_t w) { return std::bit_cast<float>(w); }

// A change code of a new value against the old: 1 up, 2 down, 3 unchanged.
uint32_t Change(float now, float before) { return now > before ? 1 : now < before ? 2 : 3; }

bool Pounds(uint32_t key)
{
    const auto& hook = TheRTEngineHooks().pricedInPounds;
    return hook && hook(RTKeyShare(key));
}

RTDayShareEntry* EntryOf(RTDayRecord& day, uint32_t key)
{
    int32_t slot = -1;
    return GetRTDayShare(key, day, slot, false);
}

// The entry's summary words, rebuilt first when flagged; false when it has none.
bool SummaryOf(RTDayRecord& day, RTDayShareEntry& entry, std::array<uint32_t, kRTSummaryWords>& w)
{
    if ((entry.loadFlags & kRTLoadRebuildSummary) && RTConnectionStep() < kFeedBackfilling)
        RebuildRTSummary(entry, day);
    return GetRTSummaryBlock(&entry, w, day) == 0;
}

} // namespace

RTEngineHooks& TheRTEngineHooks()
{
    static RTEngineHooks hooks;
    return hooks;
}

RTEngine& TheRTEngine()
{
    static RTEngine engine;
    return engine;
}

void SetRTConnectionState(int32_t step)
{
    if (RTConnectionStep().exchange(step) == step)
        return;
    if (const auto& changed = TheRTEngineHooks().stepChanged)
        changed(step);
}

void ClearRTSourceTimes()
{
    for (auto& t : TheRTEngine().sourceLatest)
        t = 0;
}

RTDayRecord* BeginRTDay(PackedDate day, bool lock, bool notify)
{
    RTStore& s = TheRTStore();
    RTEngine& e = TheRTEngine();
    RTDayRecord* current = CurrentRTDay();
    if ((current && current->day == day) || !e.running || day == 0 || day <= s.newestDaySeen)
        return current && current->day == day ? current : nullptr;
    if (lock)
        LockRTExclusive();
    RTDayRecord* record = GetRTDay(day, true);
    for (RTExchangeDay& x : e.exchanges) {
        x.day = day;
        x.latestTime = 0;
        x.counters[0] = x.counters[1] = 0;
    }
    s.newestDaySeen = day;
    if (lock)
        UnlockRTExclusive();
    PurgeOldRTDays(lock);
    TheRTMarketTable().NewDay(SteadyTickCount());
    if (const auto& refresh = TheRTEngineHooks().refreshViews)
        refresh();
    ClearRTSourceTimes();
    if (notify) {
        if (const auto& post = TheRTEngineHooks().postToMainWindow)
            post(kMsgRTNewDay);
    }
    return record;
}

void MarkRTTickChange(RTActiveShare& share, uint32_t tick, int type, float value1, float value2, float previous1,
                      float previous2)
{
    if (type == 1) {
        share.changeFlags = (share.changeFlags & ~3u) | Change(value1, previous1);
        share.tradeChangeTick = tick;
        return;
    }
    uint32_t offer = Change(value1, previous1), bid = Change(value2, previous2);
    uint32_t both = Change(value1 + value2, previous1 + previous2);
    share.changeFlags = (share.changeFlags & 3u) | offer << 2 | bid << 4 | both << 6;
    share.quoteChangeTick = tick;
}

void RefreshRTSubscribers(RTActiveShare& share, bool trade)
{
    if (TheRTStore().playback || !TheRTEngine().running)
        return;
    share.needsReload = 1;
    share.secondFlags += trade ? 10 : 5;
    for (RTWatchList* list : share.subscribers) {
        if (!list)
            continue;
        list->dirty |= 1;
        list->newData = 1;
        PostRTViewMessage(*list, share.key, share.key, false);
    }
}

namespace {

// Posts held back by the update rate: per window, the newest parameter, sent by the flush.
struct HeldPosts {
    std::mutex mutex;
    std::map<uint64_t, uintptr_t> posts;
    bool scheduled = false;
};
HeldPosts& Held()
{
    static HeldPosts held;
    return held;
}

// The timer queue's worker: sends what waited, so that the last change always reaches its view.
void FlushHeldPosts(uint32_t, uint32_t)
{
    TimerQueue().RemoveCallback(FlushHeldPosts);
    std::map<uint64_t, uintptr_t> posts;
    {
        std::lock_guard guard(Held().mutex);
        posts.swap(Held().posts);
        Held().scheduled = false;
    }
    for (const auto& [target, parameter] : posts)
        PostProgramMessageTo(target, kMsgRTNewData, parameter);
}

// True when the window heard of new data less than the update rate's interval ago: the post then
// waits for the flush.
bool HoldPost(RTWatchList& list, uintptr_t parameter)
{
    const uint8_t rate = TheRTEngine().updateRate;
    if (!rate)
        return false;
    const uint32_t interval = 1000u / rate, now = SteadyTickCount();
    if (list.lastPostTick && now - list.lastPostTick < interval) {
        std::lock_guard guard(Held().mutex);
        Held().posts[list.targetId] = parameter;
        if (!std::exchange(Held().scheduled, true))
            TimerQueue().AddCallback(FlushHeldPosts, interval, 0);
        return true;
    }
    list.lastPostTick = now ? now : 1;
    return false;
}

} // namespace

void PostRTViewMessage(RTWatchList& list, uintptr_t parameter, uint32_t value, bool refresh)
{
    if (!list.windowLive || !list.targetId)
        return;
    try {
        if (refresh) {
            list.dirty = 1;
            PostProgramMessageTo(list.targetId, kMsgRTRefreshAll);
            return;
        }
        list.lastPosted = value;
        if (HoldPost(list, parameter))
            return;
        PostProgramMessageTo(list.targetId, kMsgRTNewData, parameter);
    } catch (...) {
        OutputDebugText("Exception RTMain - Post message");
    }
}

void ExpireRTTickFlags(RTActiveShare& share, uint32_t now, uint32_t& flags)
{
    uint32_t duration = uint32_t(TheRTEngine().highlightDuration) * 100;
    if (now - share.quoteChangeTick >= duration)
        flags &= 3u;
    if (now - share.tradeChangeTick >= duration)
        flags &= ~3u;
}

void InitRTWatchList(void* owner, uint64_t targetId, RTWatchList& list)
{
    LockRTExclusive();
    list = RTWatchList{};
    list.owner = owner;
    list.targetId = targetId;
    list.entries.reserve(25);
    list.windowLive = 1;
    list.countsAsLive = 1;
    auto& chain = TheRTStore().watchLists;
    chain.insert(chain.begin(), &list);
    UnlockRTExclusive();
}

void FreeRTWatchList(RTWatchList& list)
{
    LockRTExclusive();
    for (RTWatchEntry& e : list.entries)
        if (e.active)
            RemoveRTSubscriber(list, *e.active);
    auto& chain = TheRTStore().watchLists;
    chain.erase(std::remove(chain.begin(), chain.end(), &list), chain.end());
    list = RTWatchList{};
    PruneRTActiveShares();
    UnlockRTExclusive();
}

void BeginRTWatchListUpdate(RTWatchList& list, bool reset)
{
    if (!reset)
        return;
    LockRTExclusive();
    list.windowLive = 1;
    for (RTWatchEntry& e : list.entries)
        if (e.active)
            RemoveRTSubscriber(list, *e.active);
    list.entries.clear();
    list.count = 0;
    list.nextFree = 0;
    UnlockRTExclusive();
}

RTActiveShare* AddRTWatchShare(const ShareRef& ref, RTWatchList& list)
{
    uint32_t key = GetRTShareKey(ref);
    if (!key)
        return nullptr;
    LockRTExclusive();
    RTActiveShare* active = FindRTActiveShare(key);
    if (!active)
        active = CreateRTActiveShare(ref);
    auto it = std::find_if(list.entries.begin(), list.entries.end(),
                           [&](const RTWatchEntry& e) { return e.share == RTKeyShare(key) && e.exchange == (key >> 16); });
    if (it == list.entries.end()) {
        list.entries.push_back({RTKeyShare(key), 1, uint8_t(key >> 16), active});
        list.count = int32_t(list.entries.size());
    } else {
        it->active = active;
        it->reAdded = 1;
    }
    list.nextFree = int32_t(list.entries.size());
    if (active)
        AddRTSubscriber(list, *active);
    UnlockRTExclusive();
    return active;
}

void EndRTWatchListUpdate(RTWatchList& list)
{
    LockRTExclusive();
    list.count = list.nextFree;
    list.dirty = 0;
    PruneRTActiveShares();
    UnlockRTExclusive();
}

void AddRTRecentTrade(const RecentTrade& trade)
{
    RecentRing& r = Ring();
    TableLockGuard guard(&r.lock);
    r.records[r.head] = trade;
    r.head = uint16_t((r.head + 1) % kRecentTrades);
    if (r.head == r.tail)
        r.tail = uint16_t((r.tail + 1) % kRecentTrades);
}

void ClearRTRecentTrades()
{
    RecentRing& r = Ring();
    TableLockGuard guard(&r.lock);
    r.head = r.tail = 0;
}

std::vector<RecentTrade> RecentRTTrades()
{
    RecentRing& r = Ring();
    TableLockGuard guard(&r.lock);
    std::vector<RecentTrade> out;
    for (uint16_t i = r.tail; i != r.head; i = uint16_t((i + 1) % kRecentTrades))
        out.push_back(r.records[i]);
    return out;
}

uint16_t ReadRTRecentTrades(uint16_t from, std::vector<RecentTrade>& out)
{
    RecentRing& r = Ring();
    TableLockGuard guard(&r.lock);
    for (uint16_t i = uint16_t(from % kRecentTrades); i != r.head; i = uint16_t((i + 1) % kRecentTrades))
        out.push_back(r.records[i]);
    return r.head;
}

uint16_t RTRecentTradesWriteIndex()
{
    RecentRing& r = Ring();
    TableLockGuard guard(&r.lock);
    return r.head;
}

void PrepareRTDay(RTDayRecord& day)
{
    RTEngine& e = TheRTEngine();
    if (e.backfillRunning)
        return;
    uint32_t latest = 0;
    for (RTDayShareEntry& entry : day.entries) {
        entry.loadFlags |= kRTLoadRebuildSummary;
        if (entry.exchange == 0)
            latest = std::max(latest, std::min<uint32_t>(entry.lastRecordTime, 86400));
    }
    // Every exchange runs on London time here, so the rows share the time.
    for (RTExchangeDay& x : e.exchanges)
        x.latestTime = latest;
}

void RebuildRTSummary(RTDayShareEntry& entry, RTDayRecord& day)
{
    const uint32_t* words = GetRTShareTickData(entry, day, kRTLoadAllTicks);
    if (!words) {
        entry.loadFlags &= uint16_t(~kRTLoadRebuildSummary);
        return;
    }
    RTDaySummary old = ReadRTDaySummary(std::span<const uint32_t, kRTSummaryWords>(words, kRTSummaryWords));
    RTDaySummary s;
    s.previousClose = old.previousClose;
    bool keepOpen = (entry.flags & kRTEntryNotInDatabase) && (entry.flags & kRTEntryInstrumentApplied) &&
                    !(entry.loadFlags & 0x2);
    if (keepOpen) {
        s.open = old.open;
        s.times[kRTSlotOpen] = old.times[kRTSlotOpen];
    }
    size_t used = std::min<size_t>(entry.ticks.size(), std::max<uint32_t>(entry.tickCount, kRTSummaryWords));
    for (const RTStoredItem& item :
         ReadRTStoredTicks(std::span(words, used), entry.streamOffset, entry.loadFlags & kRTLoadPounds)) {
        if (item.kind == RTStoredItem::Quote)
            AddRTSummaryQuote(s, item.time, item.value1, item.value2);
        else if (item.kind == RTStoredItem::Trade)
            AddRTSummaryTrade(s, item.time, item.value1, item.value2);
    }
    WriteRTDaySummary(s, std::span<uint32_t, kRTSummaryWords>(entry.ticks.data(), kRTSummaryWords));
    entry.loadFlags &= uint16_t(~kRTLoadRebuildSummary);
}

bool GetRTDaySummaryEx(std::array<float, 11>& out, uint32_t key, PackedDate date)
{
    out.fill(0.0f);
    RTDayRecord* day = GetRTDay(date, false);
    RTDayShareEntry* entry = day ? EntryOf(*day, key) : nullptr;
    std::array<uint32_t, kRTSummaryWords> w{};
    if (!entry || !SummaryOf(*day, *entry, w))
        return false;
    float k = Pounds(key) ? 100.0f : 1.0f;
    out[0] = k * F(w[22]);
    out[3] = k * F(w[23]);
    if (w[19] && w[20])
        out[4] = k * (F(w[19]) + F(w[20])) / 2.0f;
    // Selector 0 reports the mid's extremes, any other the trades'.
    int r = TheRTEngine().exchanges[std::min<size_t>(entry->exchange, kRTExchanges - 1)].extremesSelector == 0 ? 3 : 2;
    out[1] = k * F(w[size_t(kHighWord[r])]);
    out[2] = k * F(w[size_t(kLowWord[r])]);
    out[6] = k * F(w[10]);
    out[5] = F(w[32]) + F(w[33]) + F(w[34]);
    for (float v : {out[0], out[3] ? out[3] : out[4]}) {
        if (v == 0.0f)
            continue;
        out[1] = std::max(out[1], v);
        out[2] = out[2] == 0.0f ? v : std::min(out[2], v);
    }
    out[7] = k * F(w[20]);
    out[8] = k * F(w[19]);
    out[9] = k * F(w[21]);
    out[10] = F(w[35]);
    return true;
}

bool GetRTDaySummary(std::array<float, 7>& out, uint32_t key, PackedDate day)
{
    std::array<float, 11> ex{};
    bool found = GetRTDaySummaryEx(ex, key, day);
    std::copy_n(ex.begin(), 7, out.begin());
    return found;
}

void DecodeIntradayColumnFlags(uint8_t letter, uint32_t option, uint32_t& first, uint32_t& second)
{
    first = second = 0;
    if (letter == 'I')
        second = (option >> 4) & 3;
    else if (letter == 'J')
        second = (option >> 2) & 3;
    else if (letter >= 'K' && letter <= 'N')
        second = (option >> 6) & 3;
    else if (letter >= 'P' && letter <= 'T')
        first = option & 3;
}

int GetRTColumnValue(int32_t daysBack, double& value, const ShareRef& ref, uint16_t kindWord, uint32_t option,
                     uint8_t* extra)
{
    value = 0;
    if (extra)
        *extra = 0;
    uint32_t key = GetRTShareKey(ref);
    RTDayRecord* day = key ? GetRTDayOfAge(daysBack > 0 ? -daysBack : daysBack) : nullptr;
    RTDayShareEntry* entry = day ? EntryOf(*day, key) : nullptr;
    std::array<uint32_t, kRTSummaryWords> w{};
    if (!entry || !SummaryOf(*day, *entry, w))
        return kRTValueNone;
    if ((entry->flags & kRTEntryNotInDatabase) && !(entry->flags & kRTEntryInstrumentApplied))
        return kRTValueNone;
    uint8_t letter = uint8_t(kindWord & 0xFF);
    uint32_t variant = option & 0xFF;
    uint32_t mode = (option >> 8) & 0xDF;
    bool pounds = Pounds(key);
    uint32_t latest = TheRTEngine().exchanges[std::min<size_t>(entry->exchange, kRTExchanges - 1)].latestTime;
    if (day != CurrentRTDay() || latest == 0)
        latest = std::max(RTSummaryTime(w, kRTSlotLatestRecord), day != CurrentRTDay() ? kEarlierDayEnd : 0u);
    int type = kRTValuePrice;
    int slot = -1;
    auto reg = [&](int r) -> double {
        switch (variant) {
        case 1: return F(w[size_t(kHighWord[r])]);
        case 2: return F(w[size_t(kLowWord[r])]);
        case 3: return double(F(w[size_t(kHighWord[r])])) - F(w[size_t(kLowWord[r])]);
        default: break;
        }
        if (r == 3)
            return w[19] && w[20] ? (double(F(w[19])) + F(w[20])) / 2.0 : 0.0;
        return F(w[r == 2 ? 23 : 19 + size_t(r)]); // the latest trade is word 23
    };
    switch (letter) {
    case 'G': value = F(w[22]); break;
    case 'H': value = F(w[23]); break;
    case 'I': value = F(w[20]); slot = kRTSlotLatestQuote; break; // the bid
    case 'J': value = reg(0); slot = kRTSlotLatestQuote; break;
    case 'K': value = reg(3); slot = kRTSlotLatestQuote; break;
    case 'L':
        type = kRTValueNumber;
        if (!w[19] || !w[20])
            return kRTValueZero;
        value = (double(F(w[19])) - F(w[20])) * 200.0 / (double(F(w[19])) + F(w[20]));
        break;
    case 'M': {
        double volume = double(F(w[32])) + F(w[33]) + F(w[34]);
        if (volume == 0.0) // nothing traded: no average
            return kRTValueNone;
        value = (double(F(w[29])) + F(w[30]) + F(w[31])) / volume;
        break;
    }
    case 'N': value = RTSummaryTime(w, 0); type = kRTValueTime; break;
    case 'O': value = double(latest) - RTSummaryTime(w, 0); type = kRTValueTime; break;
    case 'P': value = reg(2); slot = kRTSlotLatestTrade; break;
    case 'T': value = RTSummaryTime(w, kRTSlotTradeTime); type = kRTValueTime; break;
    case 'U': value = double(latest) - RTSummaryTime(w, kRTSlotTradeTime); type = kRTValueTime; break;
    case 'Q':
        type = kRTValueNumber;
        value = variant == 5   ? double(F(w[32])) + F(w[33]) + F(w[34])
                : variant >= 6 && variant <= 8 ? F(w[32 + variant - 6])
                : variant == 4 ? F(w[35])
                               : 0.0;
        return type;
    case 'R':
        type = kRTValueNumber;
        value = variant == 5   ? double(F(w[29])) + F(w[30]) + F(w[31])
                : variant >= 6 && variant <= 8 ? F(w[29 + variant - 6])
                : variant == 4 ? double(F(w[35])) * F(w[21])
                               : 0.0;
        break;
    case 'S':
        value = variant == 5   ? double(w[7]) + w[8] + w[9]
                : variant >= 6 && variant <= 8 ? double(w[7 + variant - 6])
                : variant == 4 ? 1.0
                               : 0.0;
        return kRTValueInteger;
    default: return kRTValueNone;
    }
    if (type != kRTValuePrice)
        return type;
    if (mode == 3 && slot >= 0) {
        value = RTSummaryTime(w, slot);
        return kRTValueTime;
    }
    if (mode == 4 && slot >= 0) {
        value = double(latest) - RTSummaryTime(w, slot);
        return kRTValueTime;
    }
    if (pounds)
        value *= 100.0;
    if (mode == 1 || mode == 2) {
        const auto& closeOf = TheRTEngineHooks().previousClose;
        double close = closeOf ? closeOf(RTKeyShare(key)) : 0.0;
        if (close == 0.0 || close > 9e9)
            return kRTValueZero;
        double diff = value - close;
        if (std::fabs(diff) < 2.0 * std::numeric_limits<float>::epsilon() * close)
            diff = 0.0;
        value = mode == 2 ? diff * 100.0 / close : diff;
        return mode == 2 ? kRTValueNumber : kRTValuePrice;
    }
    return type;
}

int GetRTTradeDirection(int32_t daysBack, const ShareRef& ref)
{
    const uint32_t key = GetRTShareKey(ref);
    RTDayRecord* day = key ? GetRTDayOfAge(daysBack > 0 ? -daysBack : daysBack) : nullptr;
    RTDayShareEntry* entry = day ? EntryOf(*day, key) : nullptr;
    std::array<uint32_t, kRTSummaryWords> w{};
    if (!entry || !SummaryOf(*day, *entry, w))
        return 2;
    // Words 23 and 21: the last trade's price and the one before it.
    const float last = F(w[23]), previous = F(w[21]);
    if (!(last > 0))
        return 2;
    if (!(previous > 0) || last == previous)
        return 0;
    return last > previous ? 1 : -1;
}

size_t BuildRTRequestList(RTDayRecord& day, uint32_t* keys, size_t limit)
{
    size_t n = 0;
    auto take = [&](uint32_t key) {
        if (n >= limit)
            return;
        int32_t slot = -1;
        RTDayShareEntry* entry = GetRTDayShare(key, day, slot, true);
        if (!entry || (entry->loadFlags & kRTLoadRequested))
            return;
        entry->loadFlags |= kRTLoadRequested;
        keys[n++] = key;
    };
    for (bool live : {true, false})
        for (const auto& a : TheRTStore().activeShares)
            if ((a->liveSubscribers > 0) == live)
                take(a->key);
    if (n)
        return n;
    const auto& ids = TheRTEngine().requestShares;
    size_t& cursor = TheRTEngine().requestCursor;
    for (size_t added = 0; cursor < ids.size() && added < 50 && n < limit; ++cursor, ++added)
        take(MakeRTKey(0, ids[cursor]));
    return n;
}

void ClearRTRequested(RTDayRecord& day)
{
    for (RTDayShareEntry& e : day.entries)
        e.loadFlags &= uint16_t(~kRTLoadRequested);
    TheRTEngine().requestCursor = 0;
}

size_t CountRTRequested(RTDayRecord& day)
{
    return size_t(std::count_if(day.entries.begin(), day.entries.end(),
                                [](const RTDayShareEntry& e) { return e.loadFlags & kRTLoadRequested; }));
}

} // namespace qv
