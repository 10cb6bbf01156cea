// The timer queue: the due rule across the tick wrap, passes driven by hand with an injected tick,
// and the real worker's timing, removals from inside callbacks, clearing while due and restarts.
#include "realtime/TimerQueue.h"

#include "platform/MessageDispatch.h"

#include "support/RecordingTarget.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <mutex>
#include <set>
#include <thread>
#include <vector>

using namespace qv;
using namespace std::chrono_literals;

namespace {

// A period so long that the worker never wakes during a test that drives the passes itself.
constexpr uint32_t kNeverMs = 3'600'000;

struct ManualTicks {
    std::atomic<uint32_t> now{0};
    TickSource source()
    {
        return [this] { return now.load(); };
    }
};

// Fired callbacks, by parameter, as the hand-driven tests see them.
std::vector<uint32_t> gFired;

void Record(uint32_t, uint32_t parameter)
{
    gFired.push_back(parameter);
}

void OtherRecord(uint32_t, uint32_t parameter)
{
    gFired.push_back(parameter + 1000);
}

class HandDriven : public ::testing::Test {
protected:
    HandDriven() : queue(ticks.source())
    {
        gFired.clear();
        queue.Start(kNeverMs);
    }
    ManualTicks ticks;
    CTimerQueue queue;
};

} // namespace

TEST(TimerQueueDueRule, PassedByLessThanHalfTheRangeAcrossTheWrap)
{
    struct Case {
        uint32_t due, now;
        bool due_;
    } cases[] = {
        {100, 100, false},              // exactly now waits for the next pass
        {100, 101, true},
        {100, 99, false},
        {0xFFFFFFF0, 0x00000005, true}, // due just before the wrap, now just after
        {0xFFFFFFFF, 0x00000000, true},
        {0x00000010, 0xFFFFFFF0, false}, // due just after the wrap does not fire early
        {0, 0x7FFFFFFE, true},
        {0, 0x7FFFFFFF, false},
        {0, 0x80000000, false},
    };
    for (const Case& c : cases)
        EXPECT_EQ(CTimerQueue::IsDue(c.due, c.now), c.due_) << std::hex << c.due << " at " << c.now;
}

TEST_F(HandDriven, EntriesAcrossTheWrapFireOnTheFirstPassAfterTheirTick)
{
    ticks.now = 0xFFFFFFF0;
    queue.AddCallback(Record, 10, 1);   // due 0xFFFFFFFA
    queue.AddCallback(OtherRecord, 32, 2); // due 0x00000010
    queue.DispatchDue(0xFFFFFFFA);
    EXPECT_TRUE(gFired.empty());
    queue.DispatchDue(0x00000003);
    EXPECT_EQ(gFired, std::vector<uint32_t>{1});
    queue.RemoveCallback(Record);
    queue.DispatchDue(0x00000010);
    EXPECT_EQ(gFired, std::vector<uint32_t>{1});
    queue.DispatchDue(0x00000011);
    EXPECT_EQ(gFired, (std::vector<uint32_t>{1, 1002}));
}

TEST_F(HandDriven, ALateEntryCatchesUpOncePerPassFromItsOldDueTick)
{
    ticks.now = 100;
    queue.AddCallback(Record, 10, 7); // due 110
    for (int pass = 0; pass < 5; ++pass)
        queue.DispatchDue(135);
    // Due 110, 120 and 130 have passed at 135; 140 has not.
    EXPECT_EQ(gFired.size(), 3u);
}

TEST_F(HandDriven, IntervalZeroFiresOnEveryPassAfterItsTick)
{
    ticks.now = 50;
    queue.AddCallback(Record, 0, 3);
    queue.DispatchDue(50);
    EXPECT_TRUE(gFired.empty());
    for (uint32_t t = 51; t < 55; ++t)
        queue.DispatchDue(t);
    EXPECT_EQ(gFired.size(), 4u);
}

TEST_F(HandDriven, IntervalAndRemovalActOnTheMostRecentEntryOfATarget)
{
    ticks.now = 0;
    queue.AddCallback(Record, 10, 1);
    queue.AddCallback(Record, 10, 2); // at the head
    queue.SetCallbackInterval(Record, 100);
    queue.DispatchDue(11);
    queue.DispatchDue(21);  // entry 1 again; entry 2 is next due at 110
    EXPECT_EQ(gFired, (std::vector<uint32_t>{2, 1, 1}));

    gFired.clear();
    queue.RemoveCallback(Record);
    EXPECT_EQ(queue.entryCount(), 2u); // only marked
    queue.DispatchDue(200);
    EXPECT_EQ(gFired, std::vector<uint32_t>{1});
    EXPECT_EQ(queue.entryCount(), 1u); // the pass freed it
}

namespace {

CTimerQueue* gQueue = nullptr;

void RemoveOther(uint32_t, uint32_t parameter)
{
    gFired.push_back(parameter);
    gQueue->RemoveCallback(Record);
}

void RemoveSelf(uint32_t, uint32_t parameter)
{
    gFired.push_back(parameter);
    gQueue->RemoveCallback(RemoveSelf);
}

void ClearFromCallback(uint32_t, uint32_t parameter)
{
    gFired.push_back(parameter);
    gQueue->Clear();
}

void AddFromCallback(uint32_t, uint32_t parameter)
{
    gFired.push_back(parameter);
    gQueue->AddCallback(Record, 0, 99);
}

} // namespace

TEST_F(HandDriven, CallbacksRemoveAddAndClearDuringTheirOwnPass)
{
    gQueue = &queue;
    ticks.now = 0;

    // An entry removed earlier in the same pass never fires, though it is due.
    queue.AddCallback(Record, 5, 1);
    queue.AddCallback(RemoveOther, 5, 2);
    queue.DispatchDue(10);
    EXPECT_EQ(gFired, std::vector<uint32_t>{2});

    // A one-shot removes itself; the pass after frees it, and an empty queue stops.
    queue.Clear();
    gFired.clear();
    queue.AddCallback(RemoveSelf, 5, 3);
    queue.DispatchDue(10);
    queue.DispatchDue(20);
    EXPECT_EQ(gFired, std::vector<uint32_t>{3});
    EXPECT_EQ(queue.entryCount(), 0u);
    EXPECT_FALSE(queue.running());

    // An entry added by a callback goes in behind the walk: it is not fired in the same pass.
    gFired.clear();
    queue.Start(kNeverMs);
    queue.AddCallback(AddFromCallback, 5, 4);
    queue.DispatchDue(10);
    EXPECT_EQ(gFired, std::vector<uint32_t>{4});
    queue.RemoveCallback(AddFromCallback);
    queue.DispatchDue(11);
    EXPECT_EQ(gFired, (std::vector<uint32_t>{4, 99}));

    // Clearing from a callback: nothing later in that pass fires, and the list is freed.
    queue.Clear();
    gFired.clear();
    queue.Start(kNeverMs);
    queue.AddCallback(Record, 5, 5);
    queue.AddCallback(ClearFromCallback, 5, 6);
    queue.DispatchDue(10);
    EXPECT_EQ(gFired, std::vector<uint32_t>{6});
    EXPECT_EQ(queue.entryCount(), 0u);
    EXPECT_FALSE(queue.running());
    gQueue = nullptr;
}

namespace {

using TickTarget = test::RecordingTarget;

class CountingObject : public TimerQueueObject {
public:
    void onTimerTick(uint32_t now) override { ticks.push_back(now); }
    std::vector<uint32_t> ticks;
};

} // namespace

TEST_F(HandDriven, MessagesArePostedWithTheTickAndObjectsAreCalled)
{
    TickTarget window;
    CountingObject object;
    ticks.now = 1000;
    queue.AddMessage(window, 100);
    queue.AddCallback(object, 50);
    queue.DispatchDue(1101);
    EXPECT_EQ(object.ticks, std::vector<uint32_t>{1101});
    DeliverPostedMessages();
    ASSERT_EQ(window.received.size(), 1u);
    EXPECT_EQ(window.received[0].message, kWindowTimerMessage);
    EXPECT_EQ(window.received[0].wParam, 1101u);
    EXPECT_EQ(window.received[0].lParam, 0);

    queue.RemoveMessage(window);
    queue.RemoveCallback(object);
    queue.DispatchDue(5000);
    DeliverPostedMessages();
    EXPECT_EQ(window.received.size(), 1u);
    EXPECT_EQ(object.ticks.size(), 1u);
}

// The real worker on the steady clock. Lateness is allowed (a loaded machine); earliness never.
namespace {

struct Firing {
    uint32_t parameter;
    std::chrono::steady_clock::time_point at;
};
std::mutex gRealLock;
std::vector<Firing> gReal;
CTimerQueue* gRealQueue = nullptr;

void RealOneShot(uint32_t, uint32_t parameter)
{
    {
        std::lock_guard lock(gRealLock);
        gReal.push_back({parameter, std::chrono::steady_clock::now()});
    }
    gRealQueue->RemoveCallback(RealOneShot);
}

std::atomic<int> gPulses{0};
std::mutex gThreadsLock;
std::set<std::thread::id> gPulseThreads;

void Pulse(uint32_t, uint32_t)
{
    {
        std::lock_guard lock(gThreadsLock);
        gPulseThreads.insert(std::this_thread::get_id());
    }
    ++gPulses;
}

template <typename Pred>
bool WaitFor(Pred pred, std::chrono::milliseconds limit = 60s)
{
    auto end = std::chrono::steady_clock::now() + limit;
    while (!pred()) {
        if (std::chrono::steady_clock::now() > end)
            return false;
        std::this_thread::sleep_for(1ms);
    }
    return true;
}

} // namespace

TEST(TimerQueueWorker, OneShotsFireInOrderAndNeverEarly)
{
    CTimerQueue queue;
    gRealQueue = &queue;
    gReal.clear();
    auto start = std::chrono::steady_clock::now();
    // Added latest first, so the entry that fires is always the first live one of its target in list
    // order, the one its removal marks.
    queue.AddCallback(RealOneShot, 90, 90);
    queue.AddCallback(RealOneShot, 60, 60);
    queue.AddCallback(RealOneShot, 30, 30);
    ASSERT_TRUE(WaitFor([] {
        std::lock_guard lock(gRealLock);
        return gReal.size() == 3;
    }));
    EXPECT_TRUE(WaitFor([&] { return !queue.running(); }));
    std::lock_guard lock(gRealLock);
    for (size_t i = 0; i < gReal.size(); ++i) {
        EXPECT_EQ(gReal[i].parameter, 30u * (i + 1));
        // The tick has millisecond grain: allow the one millisecond it may round away.
        EXPECT_GE(gReal[i].at - start, std::chrono::milliseconds(gReal[i].parameter - 1));
    }
    gRealQueue = nullptr;
}

TEST(TimerQueueWorker, ClearWhileDueStopsEveryFiring)
{
    CTimerQueue queue;
    gPulses = 0;
    queue.AddCallback(Pulse, 0, 0);
    ASSERT_TRUE(WaitFor([] { return gPulses > 3; }));
    queue.Clear();
    int after = gPulses;
    std::this_thread::sleep_for(50ms);
    EXPECT_EQ(gPulses, after);
    EXPECT_FALSE(queue.running());
    EXPECT_EQ(queue.entryCount(), 0u);
}

TEST(TimerQueueWorker, RestartsNeverLeaveTwoWorkersDispatching)
{
    CTimerQueue queue;
    for (int round = 0; round < 40; ++round) {
        queue.AddCallback(Pulse, 0, 0);
        queue.Stop();
        queue.Start(1);
        std::this_thread::sleep_for(1ms);
        if (round % 2)
            queue.Clear();
    }
    queue.Clear();
    gPulses = 0;
    {
        std::lock_guard lock(gThreadsLock);
        gPulseThreads.clear();
    }
    // Every worker told to stop has ended: one worker fires from here on.
    queue.AddCallback(Pulse, 0, 0);
    ASSERT_TRUE(WaitFor([] { return gPulses > 20; }));
    queue.Clear();
    EXPECT_FALSE(queue.running());
    std::lock_guard lock(gThreadsLock);
    EXPECT_EQ(gPulseThreads.size(), 1u);
}
