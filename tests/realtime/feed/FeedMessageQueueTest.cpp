// Member-message collection and queues: the length cap, overflow, short messages and distribution.
#include "realtime/feed/FeedMessageQueue.h"

#include "platform/ByteOrder.h"

#include <gtest/gtest.h>

namespace qv {
namespace {

std::unique_ptr<FeedMessageNode> Node(uint16_t kind, uint32_t sequence, uint32_t flags = 0)
{
    auto n = std::make_unique<FeedMessageNode>();
    n->kind = kind;
    n->sequence = sequence;
    n->length = n->filled = kFeedMessageHeaderBytes;
    n->data.assign(kFeedMessageHeaderBytes + 4, 0);
    StoreU32(n->data.data() + 12, flags);
    return n;
}

TEST(FeedMessageQueueTest, BeginRefusesBadSlotsAndLengthsAboveTheCap)
{
    FeedMessageCollector c;
    struct Case {
        int slot;
        uint32_t length;
        int result;
    };
    const Case cases[] = {{0, 10, 0}, {6, kFeedMessageMaxBytes, 0}, {7, 10, -1}, {-1, 10, -1},
                          {0, kFeedMessageMaxBytes + 1, -1}, {0, 0xFFFFFFFF, -1}};
    for (const Case& k : cases)
        EXPECT_EQ(c.BeginMessage(k.slot, kFeedMessageMember, k.length, 1), k.result) << k.slot << " " << k.length;
}

TEST(FeedMessageQueueTest, AppendStopsAtTheLengthAndEndDropsAShortMessage)
{
    FeedMessageCollector c;
    FeedMessageQueue q;
    const uint8_t bytes[8] = {1, 2, 3, 4, 5, 6, 7, 8};
    ASSERT_EQ(c.BeginMessage(2, kFeedMessageMember, 6, 9), 0);
    EXPECT_EQ(c.AppendMessage(2, bytes, 4), 0);
    EXPECT_EQ(c.AppendMessage(2, bytes, 4), -1) << "past the length";
    EXPECT_EQ(c.EndMessage(2, q), -1) << "4 of 6 bytes";
    EXPECT_EQ(q.size(), 0u);
    EXPECT_EQ(c.AppendMessage(2, bytes, 1), -1) << "the slot is empty again";

    ASSERT_EQ(c.BeginMessage(2, kFeedMessageMember, 6, 9), 0);
    EXPECT_EQ(c.AppendMessage(2, bytes, 4), 0);
    EXPECT_EQ(c.AppendMessage(2, bytes + 4, 2), 0);
    EXPECT_EQ(c.EndMessage(2, q), 0);
    auto node = q.TakeHead();
    ASSERT_TRUE(node);
    EXPECT_EQ(node->sequence, 9u);
    EXPECT_EQ(std::vector<uint8_t>(node->data.begin(), node->data.begin() + 6), std::vector<uint8_t>(bytes, bytes + 6));
}

TEST(FeedMessageQueueTest, DistributeSortsMembersAndContactsAndKeepsTheRestInOrder)
{
    FeedMessageCollector c;
    FeedMessageQueue incoming;
    incoming.Enqueue(Node(kFeedMessageContact, 5));
    incoming.Enqueue(Node(7, 1));
    incoming.Enqueue(Node(kFeedMessageMember, 12));
    incoming.Enqueue(Node(9, 2));
    incoming.Enqueue(Node(kFeedMessageMember, 8));
    EXPECT_TRUE(c.DistributeIncoming(incoming));
    EXPECT_EQ(c.inbox.Listing(), (std::vector<std::pair<uint16_t, uint32_t>>{{1, 12}, {1, 8}}));
    EXPECT_EQ(c.contacts.Listing(), (std::vector<std::pair<uint16_t, uint32_t>>{{2, 5}}));
    EXPECT_EQ(incoming.Listing(), (std::vector<std::pair<uint16_t, uint32_t>>{{7, 1}, {9, 2}}));
    EXPECT_EQ(c.highestMember, 12u);
    EXPECT_EQ(c.highestContact, 5u);

    incoming.Enqueue(Node(kFeedMessageContact, 3));
    EXPECT_FALSE(c.DistributeIncoming(incoming)) << "no member message";
    EXPECT_EQ(c.highestContact, 5u) << "never lowered";
}

TEST(FeedMessageQueueTest, PurgeFreesDeletedRecordsAndEnqueueAtHeadGoesFirst)
{
    FeedMessageQueue q;
    q.Enqueue(Node(1, 1, kFeedMessageFlagSent));
    q.Enqueue(Node(1, 2, kFeedMessageFlagDeleted | kFeedMessageFlagSent));
    q.Enqueue(Node(1, 3), true);
    EXPECT_EQ(q.PurgeDeleted(), 1u);
    EXPECT_EQ(q.Listing(), (std::vector<std::pair<uint16_t, uint32_t>>{{1, 3}, {1, 1}}));
    q.EnqueueCopy(*Node(2, 4));
    EXPECT_EQ(q.size(), 3u);
    q.FreeQueue();
    EXPECT_EQ(q.size(), 0u);
}

} // namespace
} // namespace qv
