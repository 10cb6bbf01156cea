// The DDE price server's model: the topic table of shares that advise links follow, with their item
// codes and link counts; the values of items; and the pushes after a refresh or an intraday price
// change. It runs on the user-interface thread; the transport (shell/DdeService.h) feeds it.
#pragma once

#include "core/RecordCursor.h"
#include "platform/MessageDispatch.h"
#include "realtime/FeedStates.h"
#include "shell/DdeItems.h"

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace qv {

// The last day's prices of a share's price stream.
struct DdeLastDay {
    float open = 0;
    float high = 0;
    float low = 0;
    float close = 0;
    float volume = 0;
    uint16_t date = 0; // PackedDate; 0 when the stream has no priced day
};

// What the intraday code offers the server; the real-time subsystem fills it in. Share keys are
// share id + sub-id << 16.
class DdeIntradayFeed {
public:
    virtual ~DdeIntradayFeed() = default;
    // The feed's connection state; 7 is connected.
    virtual int connectionState() const = 0;
    // The share's change marks (its flag word), or nothing when it is not active in the store.
    virtual std::optional<uint32_t> changeMarks(uint32_t shareKey) = 0;
    virtual void clearChangeMarks(uint32_t shareKey) = 0;
    // Which of an item's price columns changed; 0 and 3 mean none that matters.
    virtual int decodeColumnFlags(uint8_t field, uint32_t marks) = 0;
    virtual DdeValue columnValue(uint32_t shareKey, uint8_t field, uint32_t qualifier) = 0;
    // Replaces the shares watched for the server (the store's shared lock is the feed's business).
    virtual void setWatchList(const std::vector<uint32_t>& shareKeys) = 0;
    // The server's message target, to which the feed posts 0x444.
    virtual void attachTarget(uint64_t) {}
};

// Where the server meets the rest of the program.
struct DdeHooks {
    // The last day of a share's price stream; false when it has none.
    std::function<bool(const RecordCursor&, DdeLastDay&)> lastDay;
    // The refresh-hold flag: a database load, an import or a layout switch runs.
    std::function<bool()> refreshHeld;
    // The real-time option (byte 474 of the first option block).
    std::function<bool()> realTimeOn;
    DdeIntradayFeed* feed = nullptr;
    // A share whose last price is older than this many days is passed over for a topic.
    int staleShareDays = 30;
    // Names of shares of type 0-10 start with the type's letter and " - ".
    bool typePrefix = false;
};

// The hooks as the program has them: the last day from the price streams, the real-time option from
// the configuration, the refresh-hold flag (or a reload of all data) as the hold, and no feed until
// the real-time code sets one.
DdeHooks DefaultDdeHooks();

// Addresses one link's item in the topic table, whatever has happened to the database since.
struct DdeLinkKey {
    uint16_t shareId = 0;
    uint32_t subId = 0;
    DdeItemCode item;
};

// A share that advise links follow. Its id is kept in both states, so that nothing ever reads
// through a record pointer that a reload may have freed: the record is found again by id before
// every push.
struct DdeTopicEntry {
    uint8_t* record = nullptr;      // null while detached
    uint16_t shareId = 0;
    uint32_t subId = 0;
    std::vector<DdeItemCode> items; // each with its link count
};

class CDDEServer : public MessageTarget {
public:
    // Posts an advise under a topic and item text to the links that follow them.
    using AdvisePoster = std::function<void(std::string_view topic, std::string_view item)>;

    CDDEServer(DdeHooks hooks, AdvisePoster poster);

    // WM_COMMAND 504 refreshes; message 0x444 reports intraday price changes.
    intptr_t onProgramMessage(uint32_t message, uintptr_t wParam, intptr_t lParam) override;

    // The share a topic names: the first share entry whose exchange and code match and whose last
    // price is recent enough.
    std::optional<RecordCursor> FindDdeTopicShare(std::string_view topic) const;
    // Exchange code, "_" and share code.
    std::string GetDdeTopicName(const RecordCursor& share) const;

    // The value of an item, or nothing when it is refused (unknown topic or item, detached, held).
    std::optional<DdeValue> GetDdeItemValue(std::string_view topic, std::string_view item);
    // The bytes of an item in a served format (0 text, 1 "XlTable", 2 "Rich Text Format"); nothing
    // for another format, the "System" topic or a refused value.
    std::optional<std::string> RenderDdeItem(std::string_view topic, std::string_view item, int formatKind);

    // Counts a link on the item; nothing when refused.
    std::optional<DdeLinkKey> AddAdviseLink(std::string_view topic, std::string_view item);
    // Takes one link off the item; an item without links leaves, and a topic without items.
    bool RemoveAdviseLink(const DdeLinkKey& key);

    // Before the database is rebuilt: the entries keep share ids instead of records.
    void DetachItems();
    // After a refresh: finds every entry's record again (a reload may have replaced them), clears the
    // detached state and posts every end-of-day item.
    void OnRefresh();
    // After an intraday price change: posts the intraday items whose columns changed.
    void OnPriceUpdate();

    bool detached() const { return detached_; }
    const std::vector<DdeTopicEntry>& topics() const { return topics_; }
    DdeHooks& hooks() { return hooks_; }

private:
    struct ResolvedItem {
        RecordCursor share;
        DdeItemCode code;
    };

    bool refusedForNow();
    // The share and item code a request names; nothing when it is refused.
    std::optional<ResolvedItem> resolveItem(std::string_view topic, std::string_view item);
    bool realTimeOn() const;
    DdeValue ItemValue(const RecordCursor& share, const DdeItemCode& code) const;
    void postAdvise(uint16_t shareId, uint32_t subId, const DdeItemCode& code);
    void rebuildWatchList();
    void reattach();

    DdeHooks hooks_;
    AdvisePoster poster_;
    std::vector<DdeTopicEntry> topics_;
    bool detached_ = false;
    bool priceUpdatePending_ = false;
};

constexpr uint32_t MSG_DDE_PRICE_UPDATE = 0x444; // WM_USER + 68, posted by the feed

} // namespace qv
