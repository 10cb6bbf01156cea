// Member-message queues and collection slots.
#include "realtime/feed/FeedMessageQueue.h"

#include "realtime/feed/FeedLimits.h"

#include "platform/ByteOrder.h"

#include <algorithm>
#include <cstring>

namespace qv {

uint32_t FeedMessageNode::flags() const
{
    return data.size() >= kFeedMessageHeaderBytes ? LoadU32(data.data() + 12) : 0;
}

void FeedMessageNode::setFlags(uint32_t value)
{
    if (data.size() >= kFeedMessageHeaderBytes)
        StoreU32(data.data() + 12, value);
}

std::optional<int32_t> FeedMessageNode::member() const
{
    if (filled < 12 || data.size() < 12)
        return std::nullopt;
    return LoadI32(data.data() + 8);
}

std::unique_ptr<FeedMessageNode> MakeFeedMessageNode(uint16_t kind, uint32_t sequence, std::span<const uint8_t> record)
{
    auto node = std::make_unique<FeedMessageNode>();
    node->kind = kind;
    node->sequence = sequence;
    node->length = node->filled = uint32_t(record.size());
    node->data.assign(record.begin(), record.end());
    node->data.resize(record.size() + 4, 0);
    return node;
}

void FeedMessageQueue::Enqueue(std::unique_ptr<FeedMessageNode> node, bool atHead)
{
    std::lock_guard guard(lock_);
    if (atHead)
        nodes_.push_front(std::move(node));
    else
        nodes_.push_back(std::move(node));
}

void FeedMessageQueue::EnqueueCopy(const FeedMessageNode& node)
{
    Enqueue(std::make_unique<FeedMessageNode>(node));
}

std::unique_ptr<FeedMessageNode> FeedMessageQueue::TakeHead()
{
    std::lock_guard guard(lock_);
    if (nodes_.empty())
        return nullptr;
    auto node = std::move(nodes_.front());
    nodes_.pop_front();
    return node;
}

void FeedMessageQueue::FreeQueue()
{
    std::lock_guard guard(lock_);
    nodes_.clear();
}

size_t FeedMessageQueue::PurgeDeleted()
{
    std::lock_guard guard(lock_);
    size_t before = nodes_.size();
    std::erase_if(nodes_, [](const auto& n) { return (n->flags() & kFeedMessageFlagDeleted) != 0; });
    return before - nodes_.size();
}

size_t FeedMessageQueue::size() const
{
    std::lock_guard guard(lock_);
    return nodes_.size();
}

std::vector<std::pair<uint16_t, uint32_t>> FeedMessageQueue::Listing() const
{
    std::lock_guard guard(lock_);
    std::vector<std::pair<uint16_t, uint32_t>> out;
    for (const auto& n : nodes_)
        out.emplace_back(n->kind, n->sequence);
    return out;
}

void FeedMessageQueue::ForEach(const std::function<bool(FeedMessageNode&)>& visit)
{
    std::lock_guard guard(lock_);
    for (auto& n : nodes_)
        if (!visit(*n))
            return;
}

void FeedMessageQueue::ForEach(const std::function<bool(const FeedMessageNode&)>& visit) const
{
    std::lock_guard guard(lock_);
    for (const auto& n : nodes_)
        if (!visit(*n))
            return;
}

std::unique_ptr<FeedMessageNode> FeedMessageQueue::TakeFirst(const std::function<bool(const FeedMessageNode&)>& match)
{
    std::lock_guard guard(lock_);
    auto it = std::find_if(nodes_.begin(), nodes_.end(), [&](const auto& n) { return match(*n); });
    if (it == nodes_.end())
        return nullptr;
    auto node = std::move(*it);
    nodes_.erase(it);
    return node;
}

bool FeedMessageQueue::Merge(std::unique_ptr<FeedMessageNode> node, size_t limit)
{
    std::lock_guard guard(lock_);
    if (const auto member = node->member())
        for (auto& n : nodes_)
            if (n->member() == member) {
                n = std::move(node);
                return true;
            }
    if (nodes_.size() >= limit)
        return false;
    nodes_.push_back(std::move(node));
    return true;
}

int FeedMessageCollector::BeginMessage(int slot, uint16_t kind, uint32_t length, uint32_t sequence)
{
    if (slot < 0 || slot >= kFeedMessageSlots || length > kFeedMessageMaxBytes)
        return -1;
    auto node = std::make_unique<FeedMessageNode>();
    node->kind = kind;
    node->length = length;
    node->sequence = sequence;
    node->data.assign(size_t(length) + 4, 0);
    std::lock_guard guard(slotLock_);
    slots_[slot] = std::move(node);
    return 0;
}

int FeedMessageCollector::AppendMessage(int slot, const uint8_t* bytes, uint32_t count)
{
    if (slot < 0 || slot >= kFeedMessageSlots)
        return -1;
    std::lock_guard guard(slotLock_);
    FeedMessageNode* node = slots_[slot].get();
    if (!node || count > node->length - node->filled)
        return -1;
    if (count)
        std::memcpy(node->data.data() + node->filled, bytes, count);
    node->filled += count;
    return 0;
}

int FeedMessageCollector::EndMessage(int slot, FeedMessageQueue& queue)
{
    if (slot < 0 || slot >= kFeedMessageSlots)
        return -1;
    std::unique_ptr<FeedMessageNode> node;
    {
        std::lock_guard guard(slotLock_);
        node = std::move(slots_[slot]);
    }
    if (!node || node->filled != node->length)
        return -1;
    // What waits to be distributed, and the inbox, have their ceilings: a server cannot fill memory.
    bool member = node->kind == kFeedMessageMember;
    if (queue.size() >= kFeedMaxMemberMessages + kFeedMaxContacts ||
        (member && queue.size() + inbox.size() >= kFeedMaxMemberMessages)) {
        NoteFeedDrop(member ? FeedLimit::MemberMessages : FeedLimit::Contacts);
        return -1;
    }
    queue.Enqueue(std::move(node));
    return 0;
}

bool FeedMessageCollector::DistributeIncoming(FeedMessageQueue& incoming)
{
    std::deque<std::unique_ptr<FeedMessageNode>> nodes;
    {
        std::lock_guard guard(incoming.lock_);
        nodes.swap(incoming.nodes_);
    }
    bool memberMessage = false;
    std::deque<std::unique_ptr<FeedMessageNode>> kept;
    for (auto& node : nodes) {
        if (node->kind == kFeedMessageMember) {
            highestMember = std::max(highestMember, node->sequence);
            inbox.Enqueue(std::move(node));
            memberMessage = true;
        } else if (node->kind == kFeedMessageContact) {
            highestContact = std::max(highestContact, node->sequence);
            if (!contacts.Merge(std::move(node), kFeedMaxContacts))
                NoteFeedDrop(FeedLimit::Contacts);
        } else {
            kept.push_back(std::move(node));
        }
    }
    // What came in meanwhile follows the nodes that stay, in order.
    std::lock_guard guard(incoming.lock_);
    for (auto it = kept.rbegin(); it != kept.rend(); ++it)
        incoming.nodes_.push_front(std::move(*it));
    return memberMessage;
}

} // namespace qv
