// Tests of program messages by number.
#include "platform/MessageDispatch.h"

#include "resources/MessageIds.h"

#include <gtest/gtest.h>
#include <memory>
#include <thread>
#include <vector>

using namespace qv;

namespace {
struct Recorder : MessageTarget {
    explicit Recorder(int kind = -1) : MessageTarget(kind) {}
    intptr_t onProgramMessage(uint32_t m, uintptr_t w, intptr_t l) override
    {
        got.push_back({m, w, l});
        return intptr_t(m) + 1;
    }
    struct Msg { uint32_t m; uintptr_t w; intptr_t l; };
    std::vector<Msg> got;
};
} // namespace

TEST(MessageDispatch, SendCallsTheTargetAtOnce)
{
    Recorder r;
    EXPECT_EQ(SendProgramMessage(r, MSG_SETTINGS_CHANGED, 7, -1), intptr_t(MSG_SETTINGS_CHANGED) + 1);
    ASSERT_EQ(r.got.size(), 1u);
    EXPECT_EQ(r.got[0].w, 7u);
    EXPECT_EQ(r.got[0].l, -1);
}

TEST(MessageDispatch, SendingByIdSkipsADestroyedTarget)
{
    auto target = std::make_unique<Recorder>();
    const uint64_t id = target->targetId();
    EXPECT_EQ(SendProgramMessageTo(id, MSG_TIME_FIELD, 0, 0), intptr_t(MSG_TIME_FIELD) + 1);
    EXPECT_EQ(target->got.size(), 1u);
    target.reset();
    EXPECT_EQ(SendProgramMessageTo(id, MSG_TIME_FIELD, 0, 0), 0);
}

TEST(MessageDispatch, PostedMessagesWaitForDeliveryAndSkipDestroyedTargets)
{
    DeliverPostedMessages();
    Recorder kept;
    auto gone = std::make_unique<Recorder>();
    PostProgramMessage(kept, WM_COMMAND, ID_REFRESH);
    PostProgramMessage(*gone, WM_COMMAND, ID_REFRESH);
    EXPECT_TRUE(kept.got.empty());
    gone.reset();
    EXPECT_EQ(DeliverPostedMessages(), 1);
    ASSERT_EQ(kept.got.size(), 1u);
    EXPECT_EQ(kept.got[0].w, ID_REFRESH);
    EXPECT_FALSE(HasPostedMessages());
}

// A handler that runs a modal loop (a nested delivery) while the feed keeps posting: the messages
// queued behind its own come within the loop in their order, and none of them comes again after it.
TEST(MessageDispatch, AModalLoopInAHandlerKeepsTheMessagesInOrder)
{
    DeliverPostedMessages();
    struct Modal : Recorder {
        intptr_t onProgramMessage(uint32_t m, uintptr_t w, intptr_t l) override
        {
            Recorder::onProgramMessage(m, w, l);
            if (w == 1) {
                PostProgramMessage(*this, m, 3); // arrives while the dialog is open
                DeliverPostedMessages();
            }
            return 0;
        }
    } target;
    PostProgramMessage(target, WM_COMMAND, 1);
    PostProgramMessage(target, WM_COMMAND, 2);
    EXPECT_EQ(DeliverPostedMessages(), 1) << "the others went in the loop";
    std::vector<uintptr_t> order;
    for (const Recorder::Msg& m : target.got)
        order.push_back(m.w);
    EXPECT_EQ(order, (std::vector<uintptr_t>{1, 2, 3}));
    EXPECT_FALSE(HasPostedMessages());
}

TEST(MessageDispatch, PostsFromOtherThreadsWakeTheDeliverer)
{
    DeliverPostedMessages();
    std::atomic<int> wakeups{0};
    auto previous = SetPostWakeup([&] { ++wakeups; });
    Recorder r;
    std::vector<std::thread> threads;
    for (int t = 0; t < 4; ++t)
        threads.emplace_back([&] {
            for (int i = 0; i < 100; ++i)
                PostProgramMessage(r, WM_TIMER, uintptr_t(i));
        });
    for (auto& t : threads)
        t.join();
    SetPostWakeup(previous);
    EXPECT_EQ(wakeups.load(), 400);
    EXPECT_EQ(DeliverPostedMessages(), 400);
    EXPECT_EQ(r.got.size(), 400u);
}

TEST(MessageDispatch, BroadcastReachesTheTargetsOfOneKind)
{
    Recorder chart(0), list(1), chart2(0), frame;
    SendMessageToKind(0, WM_COMMAND, ID_REFRESH);
    EXPECT_EQ(chart.got.size(), 1u);
    EXPECT_EQ(chart2.got.size(), 1u);
    EXPECT_TRUE(list.got.empty());
    EXPECT_TRUE(frame.got.empty());
}
