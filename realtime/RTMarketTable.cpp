// The market table.
#include "realtime/RTMarketTable.h"

#include "core/LinesAndTextFiles.h"
#include "platform/ByteOrder.h"
#include "platform/MessageDispatch.h"
#include "realtime/RTFeedSettings.h"
#include "realtime/TradeListSource.h"
#include "realtime/feed/RTEngine.h"
#include "realtime/store/RTActiveShares.h"
#include "realtime/store/RTShareTable.h"

#include <algorithm>
#include <cmath>

namespace qv {
namespace {

constexpr uint32_t kNoticeMs = 16000;

using Guard = std::lock_guard<std::recursive_mutex>;

void Count(MarketBucket& bucket, int sign, int by)
{
    if (sign > 0)
        bucket.advancing = uint16_t(bucket.advancing + by);
    else if (sign < 0)
        bucket.declining = uint16_t(bucket.declining + by);
}

// The share's word stands in the buckets after its own up to `to`.
void CarryShare(MarketDay& day, CRTMarketTable::Entry::ShareState& s, int to)
{
    if (s.bucket < 0)
        return;
    for (int b = s.bucket + 1; b <= to; ++b)
        Count(day[size_t(b)], s.sign, 1);
    s.bucket = std::max(s.bucket, to);
}

} // namespace

int MarketBucketOf(int32_t secondsOfDay, int32_t offsetMinutes)
{
    const double bucket = std::round((double(secondsOfDay) + 60.0 * offsetMinutes) / 300.0);
    return int(std::clamp(bucket, 0.0, double(kMarketBuckets - 1)));
}

bool SaneQuote(float bid, float offer) { return bid > 0 && offer > 0 && offer >= bid && offer < 1.5f * bid; }

std::vector<uint8_t> PackMarketDay(const MarketDay& day)
{
    std::vector<uint8_t> out(kMarketBlobLength);
    StoreU32(out.data(), kMarketBlobLength);
    uint8_t* p = out.data() + 4;
    for (const MarketBucket& b : day) {
        StoreU16(p, b.advancing);
        StoreU16(p + 2, b.declining);
        StoreU16(p + 4, b.newHighs);
        StoreU16(p + 6, b.newLows);
        StoreF32(p + 8, b.upVolume);
        StoreF32(p + 12, b.downVolume);
        p += kMarketBucketBytes;
    }
    return out;
}

std::optional<MarketDay> UnpackMarketDay(std::span<const uint8_t> blob)
{
    if (blob.size() < kMarketBlobLength || LoadU32(blob.data()) != kMarketBlobLength)
        return std::nullopt;
    MarketDay day;
    const uint8_t* p = blob.data() + 4;
    for (MarketBucket& b : day) {
        b.advancing = LoadU16(p);
        b.declining = LoadU16(p + 2);
        b.newHighs = LoadU16(p + 4);
        b.newLows = LoadU16(p + 6);
        b.upVolume = LoadF32(p + 8);
        b.downVolume = LoadF32(p + 12);
        p += kMarketBucketBytes;
    }
    return day;
}

std::array<std::pair<uint32_t, uint32_t>, 19>& ExchangeTimesTable()
{
    static std::array<std::pair<uint32_t, uint32_t>, 19> table = [] {
        std::array<std::pair<uint32_t, uint32_t>, 19> t{};
        for (size_t i = 0; i < t.size(); ++i)
            t[i] = {DefaultMarketHours()[i].open, DefaultMarketHours()[i].close};
        return t;
    }();
    return table;
}

void CopyTradingTimesToMarketTable()
{
    const RTFeedSettings s = CurrentRTFeedSettings();
    // The stored minutes, as seconds.
    for (size_t i = 0; i < ExchangeTimesTable().size(); ++i)
        ExchangeTimesTable()[i] = {s.userOpen[i] / 60 * 60, s.userClose[i] / 60 * 60};
}

MarketDay& CRTMarketTable::Entry::Day()
{
    auto& day = days[size_t(current)];
    if (!day)
        day = std::make_unique<MarketDay>();
    return *day;
}

bool CRTMarketTable::Entry::Holds(uint32_t share) const
{
    return std::binary_search(source.shares.begin(), source.shares.end(), share);
}

void CRTMarketTable::Open(KeyedItemStore& store, const std::set<uint32_t>& used)
{
    Guard lock(mutex_);
    std::vector<KeyedItemKey> drop;
    std::vector<std::pair<KeyedItemKey, MarketDay>> keep;
    store.ForEachItem([&](const KeyedItemKey& key, const uint8_t* blob) {
        if (key.kind == kMarketOldItemKind || (key.kind == kMarketItemKind && !used.count(key.subKey))) {
            drop.push_back(key);
            return;
        }
        if (key.kind != kMarketItemKind)
            return;
        if (auto day = UnpackMarketDay(std::span(blob, BlobLength(blob))))
            keep.emplace_back(key, *day);
        else
            drop.push_back(key);
    });
    for (const KeyedItemKey& key : drop)
        store.SetItem(key.share, key.kind, key.subKey, nullptr);
    for (auto& [key, day] : keep) {
        Entry* e = FindEntry(uint16_t(key.share), key.subKey);
        if (!e) {
            MarketSource source;
            source.isPortfolio = (key.subKey & 0x80000000u) != 0;
            source.portfolio = uint16_t(key.subKey);
            source.listCode = source.isPortfolio ? 0 : key.subKey;
            e = &AddEntry(uint16_t(key.share), std::move(source));
        }
        e->Day() = day;
        e->loaded = true;
    }
}

void CRTMarketTable::Save(KeyedItemStore& store)
{
    Guard lock(mutex_);
    for (auto& [share, entries] : groups_)
        for (auto& e : entries) {
            if (!e->dirty)
                continue;
            std::vector<uint8_t> blob = PackMarketDay(e->Day());
            store.SetItem(share, kMarketItemKind, e->source.SubKey(), MakeBlob(std::span(blob).subspan(4)));
            e->dirty = false;
        }
}

CRTMarketTable::Entry& CRTMarketTable::AddEntry(uint16_t share, MarketSource source)
{
    Guard lock(mutex_);
    auto entry = std::make_unique<Entry>();
    entry->source = std::move(source);
    auto& group = groups_[share];
    group.push_back(std::move(entry));
    return *group.back();
}

CRTMarketTable::Entry* CRTMarketTable::FindEntry(uint16_t share, uint32_t subKey)
{
    Guard lock(mutex_);
    auto it = groups_.find(share);
    if (it == groups_.end())
        return nullptr;
    for (auto& e : it->second)
        if (e->source.SubKey() == subKey)
            return e.get();
    return nullptr;
}

CRTMarketTable::Entry* CRTMarketTable::FindSourceEntry(uint32_t subKey)
{
    Guard lock(mutex_);
    for (const auto& [share, entries] : groups_)
        for (const auto& e : entries)
            if (e->source.SubKey() == subKey)
                return e.get();
    return nullptr;
}

void CRTMarketTable::Tell(const Entry& e)
{
    if (post_)
        for (uint64_t window : e.watchers)
            post_(window, kMsgMarketChanged);
}

bool CRTMarketTable::DeleteEntry(uint16_t share, uint32_t subKey)
{
    Guard lock(mutex_);
    auto it = groups_.find(share);
    if (it == groups_.end())
        return false;
    auto& entries = it->second;
    auto e = std::find_if(entries.begin(), entries.end(), [&](const auto& x) { return x->source.SubKey() == subKey; });
    if (e == entries.end())
        return false;
    Tell(**e);
    entries.erase(e);
    if (entries.empty())
        groups_.erase(it);
    return true;
}

void CRTMarketTable::NameSources(const std::function<std::optional<std::string>(uint16_t number)>& portfolioName)
{
    Guard lock(mutex_);
    for (auto& [share, entries] : groups_)
        for (auto& e : entries)
            if (e->source.isPortfolio) {
                std::optional<std::string> name = portfolioName(e->source.portfolio);
                e->source.name = name ? "Port: " + *name : "deleted";
            }
}

size_t CRTMarketTable::DropEntries(const std::function<bool(uint16_t group, Entry& e)>& drop)
{
    Guard lock(mutex_);
    size_t removed = 0;
    for (auto g = groups_.begin(); g != groups_.end();) {
        auto& entries = g->second;
        for (auto e = entries.begin(); e != entries.end();) {
            if (!drop(g->first, **e)) {
                ++e;
                continue;
            }
            Tell(**e);
            e = entries.erase(e);
            ++removed;
        }
        g = entries.empty() ? groups_.erase(g) : std::next(g);
    }
    return removed;
}

size_t CRTMarketTable::RemoveShare(uint16_t number)
{
    return DropEntries([number](uint16_t group, Entry& e) {
        if (group != number && !(e.source.isPortfolio && e.source.portfolio == number))
            return false;
        e.source.name = "deleted";
        return true;
    });
}

size_t CRTMarketTable::ForgetPortfolio(uint16_t number)
{
    return DropEntries([number](uint16_t, Entry& e) {
        return e.source.isPortfolio && e.source.portfolio == number;
    });
}

CRTMarketTable::Entry& CRTMarketTable::SourceEntry(uint16_t group, MarketSource source)
{
    Guard lock(mutex_);
    std::sort(source.shares.begin(), source.shares.end());
    source.shares.erase(std::unique(source.shares.begin(), source.shares.end()), source.shares.end());
    for (auto& [share, entries] : groups_)
        for (auto& e : entries)
            if (e->source.SubKey() == source.SubKey()) {
                e->source.name = std::move(source.name);
                e->source.shares = std::move(source.shares);
                return *e;
            }
    return AddEntry(group, std::move(source));
}

void CRTMarketTable::Watch(Entry& entry, uint64_t window)
{
    Guard lock(mutex_);
    if (std::find(entry.watchers.begin(), entry.watchers.end(), window) == entry.watchers.end())
        entry.watchers.push_back(window);
}

void CRTMarketTable::Withdraw(uint64_t window)
{
    Guard lock(mutex_);
    for (auto& [share, entries] : groups_)
        for (auto& e : entries)
            std::erase(e->watchers, window);
}

void CRTMarketTable::AddTick(Entry& entry, uint32_t shareKey, uint32_t secondsOfDay, int32_t offsetMinutes, float bid,
                             float offer, float referencePrice, float tradeVolume, int exchange)
{
    Guard lock(mutex_);
    Entry::ShareState& s = entry.states[shareKey];
    MarketDay& day = entry.Day();
    const int b = std::max(MarketBucketOf(int32_t(secondsOfDay), offsetMinutes), s.bucket);
    // The table's day moves on to this bucket: every share's word runs on to it.
    if (b > entry.lastBucket) {
        for (auto& [key, other] : entry.states)
            CarryShare(day, other, b);
        entry.lastBucket = b;
    }
    MarketBucket& bucket = day[size_t(b)];
    // The share's earlier word in this bucket is replaced by the new one.
    if (s.bucket == b)
        Count(bucket, s.sign, -1);
    if (SaneQuote(bid, offer)) {
        const float mid = (bid + offer) / 2;
        const bool first = s.mid == 0;
        if (s.reference <= 0 || referencePrice > 0)
            s.reference = referencePrice > 0 ? referencePrice : mid;
        if (!first && mid > s.high && s.highBucket != b) {
            ++bucket.newHighs;
            s.highBucket = b;
        }
        if (!first && mid < s.low && s.lowBucket != b) {
            ++bucket.newLows;
            s.lowBucket = b;
        }
        s.high = first ? mid : std::max(s.high, mid);
        s.low = first ? mid : std::min(s.low, mid);
        s.mid = mid;
    }
    s.sign = int8_t(s.mid == 0 ? 0 : s.mid > s.reference ? 1 : s.mid < s.reference ? -1 : 0);
    s.bucket = b;
    Count(bucket, s.sign, 1);
    // A share met first in an earlier bucket than the table's latest stands in the buckets between.
    CarryShare(day, s, entry.lastBucket);
    // A trade counts only within its exchange's trading hours.
    const auto& hours = ExchangeTimesTable()[size_t(std::clamp(exchange, 0, 18))];
    if (tradeVolume > 0 && s.sign != 0 && secondsOfDay >= hours.first && secondsOfDay <= hours.second)
        (s.sign > 0 ? bucket.upVolume : bucket.downVolume) += tradeVolume;
    entry.dirty = entry.changed = true;
}

void CRTMarketTable::FeedTick(uint16_t share, uint32_t secondsOfDay, int32_t offsetMinutes, float bid, float offer,
                              float referencePrice, float tradeVolume, int exchange, uint32_t nowMs)
{
    Guard lock(mutex_);
    for (auto& [group, entries] : groups_)
        for (auto& e : entries)
            if (!e->building && e->Holds(share))
                AddTick(*e, share, secondsOfDay, offsetMinutes, bid, offer, referencePrice, tradeVolume, exchange);
    bool due = false;
    for (auto& [group, entries] : groups_)
        for (auto& e : entries)
            due |= e->changed && !e->watchers.empty();
    if (!due || !NoticeDue(nowMs))
        return;
    for (auto& [group, entries] : groups_)
        for (auto& e : entries)
            if (e->changed) {
                e->changed = false;
                Tell(*e);
            }
}

bool CRTMarketTable::NoticeDue(uint32_t nowMs)
{
    if (noticed_ && nowMs - lastNotice_ < kNoticeMs)
        return false;
    noticed_ = true;
    lastNotice_ = nowMs;
    return true;
}

void CRTMarketTable::NewDay(uint32_t nowMs)
{
    Guard lock(mutex_);
    const bool tell = NoticeDue(nowMs);
    for (auto& [share, entries] : groups_)
        for (auto& e : entries) {
            e->current ^= 1;
            e->days[size_t(e->current)] = std::make_unique<MarketDay>();
            e->days[size_t(e->current ^ 1)].reset();
            e->states.clear();
            e->lastBucket = -1;
            e->dirty = true;
            e->changed = !tell;
            if (tell)
                Tell(*e);
        }
}

CRTMarketTable& TheRTMarketTable()
{
    static CRTMarketTable table([](uint64_t window, uint32_t message) { PostProgramMessageTo(window, message); });
    return table;
}

namespace {

bool programTableOpen = false;

} // namespace

void OpenProgramMarketTable(const std::set<uint32_t>& used)
{
    if (programTableOpen)
        return;
    programTableOpen = true;
    MarketItemStore().Load("RTMarket.cfg");
    TheRTMarketTable().Open(MarketItemStore(), used);
}

bool ProgramMarketTableOpen() { return programTableOpen; }

bool SaveProgramMarketTable(bool exiting)
{
    if (!programTableOpen)
        return true;
    TheRTMarketTable().Save(MarketItemStore());
    return MarketItemStore().Save(exiting);
}

void AppendMarketReplayTicks(std::span<const IntradayTick> ticks, uint16_t share, float reference,
                             std::vector<MarketReplayTick>& out)
{
    MarketReplayTick tick;
    tick.share = share;
    tick.reference = reference;
    for (const IntradayTick& t : ticks) {
        switch (t.Kind()) {
        case kTickTime: tick.time = t.value1; break;
        case kTickQuote:
            tick.offer = t.F1();
            tick.bid = t.F2();
            tick.volume = 0;
            out.push_back(tick);
            break;
        case kTickTrade:
            tick.volume = t.F2();
            out.push_back(tick);
            tick.volume = 0;
            break;
        default: break;
        }
    }
}

void ReplayStoredMarketDay(uint32_t subKey, PackedDate day)
{
    CRTMarketTable& table = TheRTMarketTable();
    std::vector<uint32_t> shares;
    {
        Guard lock(table.mutex());
        CRTMarketTable::Entry* entry = table.FindSourceEntry(subKey);
        if (!entry)
            return;
        entry->building = true;
        shares = entry->source.shares;
    }
    // The store's own locks are taken share by share, never inside the table's.
    std::vector<MarketReplayTick> ticks;
    for (const uint32_t share : shares) {
        std::array<float, 7> summary{};
        const float reference = GetRTDaySummary(summary, MakeRTKey(0, uint16_t(share)), day) ? summary[6] : 0.0f;
        AppendMarketReplayTicks(ReadRTShareDayTicks(uint16_t(share), day), uint16_t(share), reference, ticks);
    }
    std::stable_sort(ticks.begin(), ticks.end(),
                     [](const MarketReplayTick& a, const MarketReplayTick& b) { return a.time < b.time; });
    Guard lock(table.mutex());
    CRTMarketTable::Entry* entry = table.FindSourceEntry(subKey);
    if (!entry)
        return;
    for (const MarketReplayTick& t : ticks)
        table.AddTick(*entry, t.share, t.time, 0, t.bid, t.offer, t.reference, t.volume, 0);
    entry->building = false;
}

} // namespace qv
