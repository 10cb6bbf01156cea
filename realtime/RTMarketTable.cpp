// The market table.
#include "realtime/RTMarketTable.h"

#include "core/LinesAndTextFiles.h"
#include "platform/ByteOrder.h"
#include "realtime/RTFeedSettings.h"

#include <algorithm>
#include <cmath>

namespace qv {
namespace {

constexpr uint32_t kNewDayNoticeMs = 16000;

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

void CRTMarketTable::Open(KeyedItemStore& store, const std::set<uint32_t>& used)
{
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
    auto entry = std::make_unique<Entry>();
    entry->source = std::move(source);
    auto& group = groups_[share];
    group.push_back(std::move(entry));
    return *group.back();
}

CRTMarketTable::Entry* CRTMarketTable::FindEntry(uint16_t share, uint32_t subKey)
{
    auto it = groups_.find(share);
    if (it == groups_.end())
        return nullptr;
    for (auto& e : it->second)
        if (e->source.SubKey() == subKey)
            return e.get();
    return nullptr;
}

const CRTMarketTable::Entry* CRTMarketTable::FindSourceEntry(uint32_t subKey) const
{
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
    for (auto& [share, entries] : groups_)
        for (auto& e : entries)
            if (e->source.isPortfolio) {
                std::optional<std::string> name = portfolioName(e->source.portfolio);
                e->source.name = name ? "Port: " + *name : "deleted";
            }
}

size_t CRTMarketTable::RemoveShare(uint16_t number)
{
    size_t removed = 0;
    for (auto g = groups_.begin(); g != groups_.end();) {
        auto& entries = g->second;
        for (auto e = entries.begin(); e != entries.end();) {
            if (g->first == number || ((*e)->source.isPortfolio && (*e)->source.portfolio == number)) {
                (*e)->source.name = "deleted";
                Tell(**e);
                e = entries.erase(e);
                ++removed;
            } else {
                ++e;
            }
        }
        g = entries.empty() ? groups_.erase(g) : std::next(g);
    }
    return removed;
}

void CRTMarketTable::AddTick(Entry& entry, uint32_t shareKey, uint32_t secondsOfDay, int32_t offsetMinutes, float bid,
                             float offer, float referencePrice, float tradeVolume, int exchange)
{
    Entry::ShareState& s = entry.states[shareKey];
    MarketDay& day = entry.Day();
    const int b = MarketBucketOf(int32_t(secondsOfDay), offsetMinutes);
    MarketBucket& bucket = day[size_t(b)];
    // The share's earlier word in this bucket is replaced by the new one: each bucket counts a share
    // by its mid at the bucket's end.
    if (s.bucket == b) {
        if (s.sign > 0)
            --bucket.advancing;
        else if (s.sign < 0)
            --bucket.declining;
    }
    if (SaneQuote(bid, offer)) {
        const float mid = (bid + offer) / 2;
        const bool first = s.mid == 0;
        if (s.reference <= 0)
            s.reference = referencePrice > 0 ? referencePrice : mid;
        if (referencePrice > 0)
            s.reference = referencePrice;
        const bool newBucket = s.bucket != b;
        if (newBucket)
            s.high_ = s.low_ = false;
        if (!first && mid > s.high && !s.high_) {
            ++bucket.newHighs;
            s.high_ = true;
        }
        if (!first && mid < s.low && !s.low_) {
            ++bucket.newLows;
            s.low_ = true;
        }
        s.high = first ? mid : std::max(s.high, mid);
        s.low = first ? mid : std::min(s.low, mid);
        s.mid = mid;
    }
    s.sign = int8_t(s.mid > s.reference ? 1 : s.mid < s.reference ? -1 : 0);
    if (s.mid == 0)
        s.sign = 0;
    s.bucket = b;
    if (s.sign > 0)
        ++bucket.advancing;
    else if (s.sign < 0)
        ++bucket.declining;
    // A trade counts only within its exchange's trading hours.
    const auto& hours = ExchangeTimesTable()[size_t(std::clamp(exchange, 0, 18))];
    if (tradeVolume > 0 && s.sign != 0 && secondsOfDay >= hours.first && secondsOfDay <= hours.second)
        (s.sign > 0 ? bucket.upVolume : bucket.downVolume) += tradeVolume;
    entry.dirty = true;
}

void CRTMarketTable::NewDay(uint32_t nowMs)
{
    const bool tell = !noticed_ || nowMs - lastNewDayNotice_ >= kNewDayNoticeMs;
    for (auto& [share, entries] : groups_)
        for (auto& e : entries) {
            e->current ^= 1;
            e->days[size_t(e->current)] = std::make_unique<MarketDay>();
            e->days[size_t(e->current ^ 1)].reset();
            e->states.clear();
            e->dirty = true;
            if (tell)
                Tell(*e);
        }
    if (tell) {
        noticed_ = true;
        lastNewDayNotice_ = nowMs;
    }
}

CRTMarketTable& TheRTMarketTable()
{
    static CRTMarketTable table;
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

} // namespace qv
