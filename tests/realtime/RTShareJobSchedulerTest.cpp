// The share job scheduler: the job cap, priority order, the passes over a class's shares, the
// slices that run only at steps 0 and 7, and the back-off after a long slice.
#include "realtime/RTShareJobScheduler.h"

#include "realtime/FeedStates.h"

#include <gtest/gtest.h>

#include <map>

using namespace qv;

namespace {

struct Harness {
    uint32_t clock = 1000;
    uint32_t costPerShare = 0; // ms a share's callback takes
    int32_t step = kFeedConnected;
    int timerStarts = 0, timerStops = 0;
    RTShareJobScheduler scheduler{RTShareJobScheduler::Hooks{
        [] { return 4u; },
        [this](uint32_t index, RTJobShare& out) {
            out.key = 0x4000 + index;
            clock += costPerShare;
            return true;
        },
        [this] { return step; },
        [this] { return clock; },
        [this](bool run) { ++(run ? timerStarts : timerStops); },
    }};
};

} // namespace

TEST(RTShareJobScheduler, AHundredAndFirstJobIsRefusedAndJobsKeepPriorityOrder)
{
    Harness h;
    std::vector<bool> none(4, false);
    EXPECT_EQ(h.scheduler.AddJob(1, {}, 0, 0, none), 1);
    EXPECT_EQ(h.timerStarts, 1) << "the first job starts the timer";
    EXPECT_EQ(h.scheduler.AddJob(5, {}, 0, 0, none), 2);
    EXPECT_EQ(h.scheduler.AddJob(3, {}, 0, 0, none), 3);
    EXPECT_EQ(h.scheduler.AddJob(5, {}, 0, 0, none), 4);
    EXPECT_EQ(h.scheduler.JobOrder(), (std::vector<int32_t>{2, 4, 3, 1})) << "highest first, equal ones in order";
    for (int i = 4; i < 100; ++i)
        ASSERT_GT(h.scheduler.AddJob(0, {}, 0, 0, none), 0);
    EXPECT_EQ(h.scheduler.AddJob(9, {}, 0, 0, none), -1);
    EXPECT_EQ(h.timerStarts, 1);
    for (int32_t id : h.scheduler.JobOrder())
        h.scheduler.RemoveJob(id);
    EXPECT_EQ(h.scheduler.jobCount(), 0u);
    EXPECT_EQ(h.timerStops, 1) << "removing the last job stops the timer";
}

TEST(RTShareJobScheduler, JobsVisitTheirSharesOncePerPassAndOnlyAtStepsZeroAndSeven)
{
    Harness h;
    std::map<int32_t, std::vector<uint32_t>> seen;
    std::map<int32_t, int> ends;
    auto callback = [&](int32_t job, uintptr_t, const RTJobShare* share) {
        share ? seen[job].push_back(share->key) : void(++ends[job]);
    };
    const int32_t a = h.scheduler.AddJob(1, callback, 0, 7, {true, false, true, true});
    const int32_t b = h.scheduler.AddJob(1, callback, 0, 7, {false, false, true, false});
    const int32_t other = h.scheduler.AddJob(1, callback, 0, 8, {true, true, true, true});
    h.step = kFeedBackfilling;
    h.scheduler.Tick();
    EXPECT_TRUE(seen.empty()) << "not while a backfill runs";
    h.step = kFeedConnected;
    h.clock += 100;
    h.scheduler.Tick();
    EXPECT_EQ(seen[a], (std::vector<uint32_t>{0x4000, 0x4002, 0x4003}));
    EXPECT_EQ(seen[b], (std::vector<uint32_t>{0x4002})) << "a share taken by one job of the class is taken for all";
    EXPECT_EQ(seen[other].size(), 4u);
    EXPECT_EQ(ends[a], 1);
    EXPECT_EQ(ends[b], 1);
    // Every job finished: the next tick starts a new pass.
    h.clock += 100;
    h.scheduler.Tick();
    EXPECT_EQ(seen[a].size(), 6u);

    h.scheduler.PauseJob(a, true);
    h.clock += 100;
    h.scheduler.Tick();
    EXPECT_EQ(seen[a].size(), 6u) << "paused";
    EXPECT_EQ(seen[b].size(), 3u);
}

TEST(RTShareJobScheduler, ASliceOfAQuarterOfTheTickTimeLeavesTheNextTickIdle)
{
    Harness h;
    int visits = 0;
    h.scheduler.AddJob(1, [&](int32_t, uintptr_t, const RTJobShare* s) { visits += s != nullptr; }, 0, 0,
                       std::vector<bool>(4, true));
    h.costPerShare = 10; // two shares fill the 20 ms slice
    h.scheduler.Tick();
    EXPECT_EQ(visits, 2) << "a slice ends after 20 ms";
    h.clock += 60; // the 20 ms slice was a third of the time since the last tick
    h.scheduler.Tick();
    EXPECT_EQ(visits, 2) << "backed off";
    h.clock += 100;
    h.scheduler.Tick();
    EXPECT_EQ(visits, 4);
}
