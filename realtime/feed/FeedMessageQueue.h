// The queues member messages travel through (outgoing, the inbox and the contact list) and the
// seven slots in which incoming messages are collected piece by piece from the feed thread.
#pragma once

#include <cstdint>
#include <deque>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <span>
#include <vector>

namespace qv {

constexpr uint16_t kFeedMessageMember = 1;  // a member message
constexpr uint16_t kFeedMessageContact = 2; // a member's record for the contact list
constexpr uint32_t kFeedMessageHeaderBytes = 16;
constexpr uint32_t kFeedMessageFlagSent = 4;
constexpr uint32_t kFeedMessageFlagDeleted = 8;
// A message's length comes from the network: longer ones are refused rather than allocated.
constexpr uint32_t kFeedMessageMaxBytes = 64 * 1024;
constexpr int kFeedMessageSlots = 7;

struct FeedMessageNode {
    uint32_t length = 0;
    uint32_t sequence = 0;
    uint16_t kind = 0;
    uint32_t filled = 0;
    std::vector<uint8_t> data; // length + 4 bytes; the record's flags word stands at byte 12
    uint32_t flags() const;
    void setFlags(uint32_t flags);
    // A contact record's member number (byte 8); nullopt for a record too short to hold one.
    std::optional<int32_t> member() const;
};
// A whole node holding a record's bytes.
std::unique_ptr<FeedMessageNode> MakeFeedMessageNode(uint16_t kind, uint32_t sequence, std::span<const uint8_t> record);

class FeedMessageQueue {
public:
    void Enqueue(std::unique_ptr<FeedMessageNode> node, bool atHead = false);
    void EnqueueCopy(const FeedMessageNode& node);
    std::unique_ptr<FeedMessageNode> TakeHead();
    void FreeQueue();
    // Frees the nodes whose record carries the deleted flag; answers how many went.
    size_t PurgeDeleted();
    size_t size() const;
    // The nodes' kinds and sequences in order (for tests and the messaging views).
    std::vector<std::pair<uint16_t, uint32_t>> Listing() const;
    // Calls `visit` on each node in order under the queue's lock until it answers false.
    void ForEach(const std::function<bool(FeedMessageNode&)>& visit);
    void ForEach(const std::function<bool(const FeedMessageNode&)>& visit) const;
    // Takes out the first node `match` picks.
    std::unique_ptr<FeedMessageNode> TakeFirst(const std::function<bool(const FeedMessageNode&)>& match);
    // A contact record takes the place of the one with its member number, or goes last.
    void Merge(std::unique_ptr<FeedMessageNode> node) { Merge(std::move(node), SIZE_MAX); }
    // As Merge; a new member past `limit` nodes is refused (false).
    bool Merge(std::unique_ptr<FeedMessageNode> node, size_t limit);

private:
    friend class FeedMessageCollector;
    mutable std::mutex lock_;
    std::deque<std::unique_ptr<FeedMessageNode>> nodes_;
};

// The client's queues, the collection slots and the highest sequence seen of each incoming kind.
class FeedMessageCollector {
public:
    // 0 on success; -1 for a slot of 7 or above or a length above 64 KiB.
    int BeginMessage(int slot, uint16_t kind, uint32_t length, uint32_t sequence);
    // -1 when the slot is empty or the bytes would pass the message's length.
    int AppendMessage(int slot, const uint8_t* bytes, uint32_t count);
    // Appends the collected message to the queue when it is whole, drops it otherwise; 0 or -1.
    int EndMessage(int slot, FeedMessageQueue& queue);
    // Moves the incoming queue's member messages to the inbox and merges its contact records into
    // the contact list (by member number), raising the highest sequences; other nodes stay in their order. True when a
    // member message arrived.
    bool DistributeIncoming(FeedMessageQueue& incoming);

    FeedMessageQueue outgoing, inbox, contacts;
    uint32_t highestMember = 0, highestContact = 0;

private:
    std::mutex slotLock_;
    std::unique_ptr<FeedMessageNode> slots_[kFeedMessageSlots];
};

} // namespace qv
