// Active shares (one per subscribed share, holding that share's days expanded into ticks) and the
// watch lists through which consumers subscribe them.
#pragma once

#include "core/PackedDate.h"
#include "realtime/store/RTShareTable.h"

#include <cstdint>
#include <memory>
#include <vector>

namespace qv {

// Tick kinds (the low 5 bits of the type) and the roll-up's flagged kinds.
constexpr uint16_t kTickEnd = 0;
constexpr uint16_t kTickTime = 1;
constexpr uint16_t kTickQuote = 2;
constexpr uint16_t kTickTrade = 3;
constexpr uint16_t kTickOther = 5;
constexpr uint16_t kTickMarkedTrade = 35;  // 0x23
constexpr uint16_t kTickBarAverage = 675;  // 0x2A3
constexpr uint16_t kTickKindMask = 0x1F;

struct IntradayTick {
    uint8_t source = 0;
    uint8_t tradeClass = 2; // 0 buy, 1 sell, 2 unknown
    uint16_t type = 0;
    uint32_t value1 = 0; // a time of day, or an f32
    uint32_t value2 = 0;

    uint16_t Kind() const { return type & kTickKindMask; }
    float F1() const;
    float F2() const;
    void SetF(float a, float b);
};

// One day of an active share, its ticks closed by a type-0 record.
struct RTShareDayBlock {
    PackedDate day = 0;
    uint32_t loadStamp = 0;
    uint32_t count = 0; // without the end record
    uint32_t quotes = 0, others = 0, trades = 0;
    std::vector<IntradayTick> ticks;
};

struct RTWatchList;

struct RTActiveShare {
    uint32_t key = 0;
    PackedDate latestDay = 0;
    uint8_t exchange = 0, source = 0;
    uint8_t needsReload = 0;
    ShareRef ref;
    uint32_t createdTick = 0;
    std::vector<std::unique_ptr<RTShareDayBlock>> days; // newest first
    uint32_t liveSubscribers = 0;
    int32_t subscriberCount = 0;
    std::vector<RTWatchList*> subscribers; // capacity grows by 4; null is a free slot
    uint32_t loadStamp = 0;
    // Change marks the feed sets: ticks of the last trade and quote change, the change flags (bits
    // 0-1 trade, 2-3 offer, 4-5 bid, 6-7 both: 1 up, 2 down, 3 unchanged) and the second flags word.
    uint32_t tradeChangeTick = 0;
    uint32_t quoteChangeTick = 0;
    uint32_t changeFlags = 0;
    uint32_t secondFlags = 0;
};

struct RTWatchEntry {
    uint16_t share = 0;
    uint8_t reAdded = 0;
    uint8_t exchange = 0;
    RTActiveShare* active = nullptr;
};

struct RTWatchList {
    void* owner = nullptr;
    uint64_t targetId = 0; // the owner's window, to which 0x444 and 0x454 are posted; 0 for none
    std::vector<RTWatchEntry> entries;
    uint32_t lastPosted = 0;
    uint32_t lastPostTick = 0; // when 0x444 last went to the window (the update rate's limit)
    int32_t count = 0;
    int32_t nextFree = 0;
    uint8_t dirty = 1;
    uint8_t windowLive = 0;
    uint8_t countsAsLive = 0;
    uint8_t newData = 0;
};

// Adds the list to the share's subscribers once; a live list counts toward the live subscribers
// only when it took a slot.
void AddRTSubscriber(RTWatchList& list, RTActiveShare& share);
// Takes the list out of the share's subscribers (only for a share still in the store's chain).
void RemoveRTSubscriber(RTWatchList& list, RTActiveShare& share);
// Frees every active share that has no subscriber left, with its day blocks.
void PruneRTActiveShares();

// The store's active share for the key; made (from the reference) when create is set.
RTActiveShare* FindRTActiveShare(uint32_t key);
RTActiveShare* CreateRTActiveShare(const ShareRef& ref);
// The share's block for a day, or for the current day; null when it has none.
RTShareDayBlock* FindRTShareDay(RTActiveShare& share, PackedDate day);
RTShareDayBlock* FindRTShareToday(RTActiveShare& share);

} // namespace qv
