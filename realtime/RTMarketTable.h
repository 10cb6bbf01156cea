// `CRTMarketTable`: the market breadth of share sources (portfolios and share-list classes) through
// the day, in 288 five-minute buckets of advancing, declining, new-high and new-low counts and the
// advancing and declining volume, kept in "RTMarket.cfg" as kind-4 items. The exchanges' trading
// times (`ExchangeTimesTable`) bound the volume a trade adds.
#pragma once

#include "core/KeyedItemStore.h"
#include "core/PackedDate.h"

#include <array>
#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <optional>
#include <set>
#include <span>
#include <string>
#include <vector>

namespace qv {

struct IntradayTick;

constexpr size_t kMarketBuckets = 288;
constexpr size_t kMarketBucketBytes = 16;
constexpr uint32_t kMarketBlobLength = 4 + kMarketBuckets * kMarketBucketBytes; // 4612
constexpr uint16_t kMarketItemKind = 4;
constexpr uint16_t kMarketOldItemKind = 3;
constexpr uint32_t kMsgMarketChanged = 1099;

struct MarketBucket {
    uint16_t advancing = 0, declining = 0, newHighs = 0, newLows = 0;
    float upVolume = 0, downVolume = 0;
    bool operator==(const MarketBucket&) const = default;
};
using MarketDay = std::array<MarketBucket, kMarketBuckets>;

// (seconds of the day + 60 x the exchange's offset in minutes) / 300, rounded, held to 0-287.
int MarketBucketOf(int32_t secondsOfDay, int32_t offsetMinutes);
// A quote sets the running mid only when both prices are positive, the offer is not below the bid
// and the offer is less than 1.5 times the bid.
bool SaneQuote(float bid, float offer);
// The kind-4 blob: u32 4612, then the buckets field by field; nothing for a blob of another length.
std::vector<uint8_t> PackMarketDay(const MarketDay& day);
std::optional<MarketDay> UnpackMarketDay(std::span<const uint8_t> blob);

// The exchanges' trading times in seconds of the day (open, close), from the settings' minutes.
std::array<std::pair<uint32_t, uint32_t>, 19>& ExchangeTimesTable();
void CopyTradingTimesToMarketTable();

struct MarketSource {
    std::string name;       // "Port: %s", "deleted", or a share-list class's name
    bool isPortfolio = false;
    uint16_t portfolio = 0;
    uint32_t listCode = 0;
    std::vector<uint32_t> shares; // share numbers, ascending
    uint8_t flag = 0;
    // The item's sub-key: a portfolio's number with the top bit, else the list code.
    uint32_t SubKey() const { return isPortfolio ? 0x80000000u | portfolio : listCode; }
};

class CRTMarketTable {
public:
    struct Entry {
        MarketSource source;
        std::array<std::unique_ptr<MarketDay>, 2> days;
        int current = 0;
        bool dirty = false, loaded = false;
        bool building = false; // the day's stored ticks are being counted in; the feed's wait
        bool changed = false;           // ticks counted since the watchers were last told
        std::vector<uint64_t> watchers; // window ids told of changes
        // A share's running mid against its reference and the bucket its word stands in up to now.
        struct ShareState {
            float reference = 0, mid = 0, high = 0, low = 0;
            int bucket = -1, highBucket = -1, lowBucket = -1;
            int8_t sign = 0;
        };
        std::map<uint32_t, ShareState> states;
        int lastBucket = -1; // the latest bucket a tick reached today
        MarketDay& Day();
        bool Holds(uint32_t share) const;
    };
    using Poster = std::function<void(uint64_t window, uint32_t message)>;

    explicit CRTMarketTable(Poster post = {}) : post_(std::move(post)) {}

    // The feed thread counts ticks while the user-interface thread reads, saves and changes the
    // entries: both hold this lock (every member below takes it itself; a reader of an entry's days
    // holds it across the reading).
    std::recursive_mutex& mutex() const { return mutex_; }

    // Opening: items of kind 3 go, and kind-4 items whose source no intraday graph setting uses
    // (their sub-keys not in `used`); every other kind-4 item loads into an entry of its group.
    void Open(KeyedItemStore& store, const std::set<uint32_t>& used);
    // Writes each dirty entry's current day as a kind-4 item.
    void Save(KeyedItemStore& store);

    Entry& AddEntry(uint16_t share, MarketSource source);
    Entry* FindEntry(uint16_t share, uint32_t subKey);
    // The first entry of any group for a source's sub-key; null when none holds it.
    Entry* FindSourceEntry(uint32_t subKey);
    // Drops the entry, telling every window that watched it (1099).
    bool DeleteEntry(uint16_t share, uint32_t subKey);
    // A deleted portfolio: its entries are named "deleted" and dropped from every group, and the group
    // keyed by its number goes.
    size_t RemoveShare(uint16_t number);
    // A changed portfolio: its entries are dropped (their watchers told), so a breadth pane counts the
    // portfolio's present shares when it next asks; groups and other sources stay.
    size_t ForgetPortfolio(uint16_t number);
    // After a database load: portfolio sources are named "Port: " and the portfolio's name, or
    // "deleted" when it is gone.
    void NameSources(const std::function<std::optional<std::string>(uint16_t number)>& portfolioName);

    // The entry a breadth study of `source` reads: the one that holds the source in any group (an
    // entry loaded from the file learns its name and shares here), else a new one in the group.
    Entry& SourceEntry(uint16_t group, MarketSource source);
    // The window hears of the entry's changes (1099) until it withdraws from every entry.
    void Watch(Entry& entry, uint64_t window);
    void Withdraw(uint64_t window);

    // One tick of a source's share: a quote (bid, offer) and a trade's volume at a time of day. Every
    // share keeps its word in the buckets after its last tick up to the latest bucket met, so a
    // bucket counts each share by its mid at the bucket's end; a tick older than the share's word
    // counts in the share's bucket.
    void AddTick(Entry& entry, uint32_t shareKey, uint32_t secondsOfDay, int32_t offsetMinutes, float bid, float offer,
                 float referencePrice, float tradeVolume, int exchange);
    // A tick of the feed: every entry whose source holds the share counts it; the watchers of the
    // entries changed hear of it (1099) at most once every 16 s.
    void FeedTick(uint16_t share, uint32_t secondsOfDay, int32_t offsetMinutes, float bid, float offer,
                  float referencePrice, float tradeVolume, int exchange, uint32_t nowMs);
    // A new day: the buffers swap and the new one starts empty; watchers hear of it at most every 16 s.
    void NewDay(uint32_t nowMs);

    size_t groupCount() const { return groups_.size(); }

private:
    void Tell(const Entry& e);
    // Drops every entry `drop` picks from every group, telling its watchers; an emptied group goes.
    size_t DropEntries(const std::function<bool(uint16_t group, Entry& e)>& drop);
    // True (and the time noted) when the watchers may be told now.
    bool NoticeDue(uint32_t nowMs);
    mutable std::recursive_mutex mutex_;
    std::map<uint16_t, std::vector<std::unique_ptr<Entry>>> groups_;
    Poster post_;
    uint32_t lastNotice_ = 0;
    bool noticed_ = false;
};

// A stored tick of a source's share, to be counted into an entry.
struct MarketReplayTick {
    uint32_t time = 0;
    uint16_t share = 0;
    float bid = 0, offer = 0, volume = 0, reference = 0;
};
// The share's stored ticks of the day as replay ticks (quotes with their bid and offer, trades with
// their volume and the share's last quote), against the reference given.
void AppendMarketReplayTicks(std::span<const IntradayTick> ticks, uint16_t share, float reference,
                             std::vector<MarketReplayTick>& out);

// The program's table; it posts 1099 to the watching windows through the program's message queue.
CRTMarketTable& TheRTMarketTable();

// The program's table opens once, with the first intraday chart: "RTMarket.cfg" is read into the
// market item store and the table opened over the sources in use. Saving writes the table's changed
// days back through the store, only once it was opened; at exit the store's items are freed.
void OpenProgramMarketTable(const std::set<uint32_t>& used);
bool ProgramMarketTableOpen();
bool SaveProgramMarketTable(bool exiting);
// A new entry of the program's table counts the day's ticks the store already holds for the source's
// shares, in time order across the shares; the feed's ticks wait meanwhile (those stored while the
// shares are read are not counted).
void ReplayStoredMarketDay(uint32_t subKey, PackedDate day);

} // namespace qv
