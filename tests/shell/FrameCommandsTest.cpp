// Frame commands posted from the timer queue's worker, and the capture watch that looks once per
// tick without stalling the other timers.
#include "shell/FrameCommands.h"

#include "platform/MessageDispatch.h"
#include "realtime/TimerQueue.h"
#include "resources/MessageIds.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <thread>
#include <vector>

using namespace qv;
using namespace std::chrono_literals;

namespace {

class FrameStandIn : public MessageTarget {
public:
    FrameStandIn() { SetFrameCommandTarget(this); }
    ~FrameStandIn() override { SetFrameCommandTarget(nullptr); }
    intptr_t onProgramMessage(uint32_t message, uintptr_t wParam, intptr_t) override
    {
        if (message == WM_COMMAND)
            commands.push_back(uint32_t(wParam));
        return 0;
    }
    std::vector<uint32_t> commands;
};

std::atomic<int> gTicks{0};

void CountTick(uint32_t, uint32_t)
{
    ++gTicks;
}

template <typename Pred>
bool WaitFor(Pred pred)
{
    auto end = std::chrono::steady_clock::now() + 60s; // a hang guard, not a bound
    while (!pred()) {
        if (std::chrono::steady_clock::now() > end)
            return false;
        std::this_thread::sleep_for(2ms);
    }
    return true;
}

} // namespace

TEST(FrameCommands, CaptureWatchPostsOnceTheCaptureEndsWithoutStallingOtherTimers)
{
    FrameStandIn frame;
    gTicks = 0;
    NoteMouseCapture(true);
    WatchForCaptureEnd();
    TimerQueue().AddCallback(CountTick, 10, 0);

    // While the capture is held the other entry keeps its beat and nothing is posted.
    ASSERT_TRUE(WaitFor([] { return gTicks >= 20; }));
    DeliverPostedMessages();
    EXPECT_TRUE(frame.commands.empty());

    NoteMouseCapture(false);
    ASSERT_TRUE(WaitFor([&] {
        DeliverPostedMessages();
        return !frame.commands.empty();
    }));
    EXPECT_EQ(frame.commands, std::vector<uint32_t>{kCaptureEndedCommand});
    std::this_thread::sleep_for(250ms);
    DeliverPostedMessages();
    EXPECT_EQ(frame.commands.size(), 1u) << "the watch removed itself";
    TimerQueue().Clear();
}

TEST(FrameCommands, WithoutAFrameCommandsAreDropped)
{
    PostCommandToFrame(25000);
    {
        FrameStandIn frame;
        PostCommandToFrame(25000);
        DeliverPostedMessages();
        EXPECT_EQ(frame.commands, std::vector<uint32_t>{25000});
    }
    EXPECT_EQ(DeliverPostedMessages(), 0);
}
