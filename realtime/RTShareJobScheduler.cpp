// The share job scheduler.
#include "realtime/RTShareJobScheduler.h"

#include "core/ReadersWriterLock.h"
#include "realtime/FeedStates.h"
#include "realtime/IntradayState.h"
#include "realtime/TimerQueue.h"
#include "realtime/feed/RTEngine.h"
#include "realtime/store/RTStore.h"

#include <algorithm>

namespace qv {

RTShareJobScheduler::RTShareJobScheduler(Hooks hooks) : hooks_(std::move(hooks)) {}

int32_t RTShareJobScheduler::AddJob(uint8_t priority, RTShareJobCallback callback, uintptr_t parameter,
                                    uint16_t shareClass, const std::vector<bool>& shares)
{
    std::lock_guard guard(mutex_);
    if (jobs_.size() >= kMaxJobs)
        return -1;
    Job job;
    const int32_t id = nextId_++;
    job.id = id;
    job.priority = priority;
    job.callback = std::move(callback);
    job.parameter = parameter;
    job.shareClass = shareClass;
    job.toVisit = job.pass = shares;
    jobs_.push_back(std::move(job));
    // Kept sorted, highest priority first, by adjacent swaps: equal priorities keep their order.
    for (size_t i = jobs_.size() - 1; i > 0 && jobs_[i - 1].priority < jobs_[i].priority; --i)
        std::swap(jobs_[i - 1], jobs_[i]);
    if (!timerRunning_ && hooks_.timer) {
        timerRunning_ = true;
        hooks_.timer(true);
    }
    return id;
}

bool RTShareJobScheduler::RemoveJob(int32_t id)
{
    std::lock_guard guard(mutex_);
    for (Job& j : jobs_)
        if (j.id == id) {
            j.flags |= kRemoving;
            // A callback in a slice removes its job at the slice's end.
            if (!inTick_)
                DropRemoved();
            return true;
        }
    return false;
}

bool RTShareJobScheduler::PauseJob(int32_t id, bool pause)
{
    std::lock_guard guard(mutex_);
    for (Job& j : jobs_)
        if (j.id == id) {
            j.flags = uint8_t(pause ? j.flags | kPaused : j.flags & ~kPaused);
            return true;
        }
    return false;
}

void RTShareJobScheduler::DropRemoved()
{
    std::erase_if(jobs_, [](const Job& j) { return (j.flags & kRemoving) != 0; });
    if (jobs_.empty() && timerRunning_) {
        timerRunning_ = false;
        if (hooks_.timer)
            hooks_.timer(false);
    }
}

void RTShareJobScheduler::TakeShare(uint32_t index, uint16_t shareClass)
{
    RTJobShare share;
    if (!hooks_.readShare || !hooks_.readShare(index, share))
        share = {};
    for (Job& j : jobs_) {
        if (j.shareClass != shareClass || (j.flags & (kPaused | kFinished | kRemoving)) || index >= j.toVisit.size() ||
            !j.toVisit[index])
            continue;
        j.toVisit[index] = false;
        if (j.callback)
            j.callback(j.id, j.parameter, &share);
    }
}

void RTShareJobScheduler::RunSlice(uint32_t start)
{
    auto elapsed = [&] { return hooks_.now() - start; };
    bool progress = true;
    while (progress && elapsed() < kSliceMs) {
        progress = false;
        for (size_t i = 0; i < jobs_.size() && elapsed() < kSliceMs; ++i) {
            Job& j = jobs_[i];
            if (j.flags & (kPaused | kFinished | kRemoving))
                continue;
            while (j.cursor < j.toVisit.size() && !j.toVisit[j.cursor])
                ++j.cursor;
            if (j.cursor >= j.toVisit.size()) {
                j.flags |= kFinished;
                if (j.callback)
                    j.callback(j.id, j.parameter, nullptr);
                continue;
            }
            TakeShare(j.cursor, j.shareClass);
            progress = true;
        }
        const bool allFinished = std::all_of(jobs_.begin(), jobs_.end(), [](const Job& j) {
            return (j.flags & (kFinished | kRemoving)) || (j.flags & kPaused);
        });
        if (allFinished && !jobs_.empty()) {
            // A new pass over every job's shares.
            for (Job& j : jobs_) {
                j.toVisit = j.pass;
                j.cursor = 0;
                j.flags &= uint8_t(~kFinished);
            }
            break;
        }
    }
}

void RTShareJobScheduler::Tick()
{
    std::lock_guard guard(mutex_);
    inTick_ = true;
    const uint32_t now = hooks_.now();
    const uint32_t between = now - lastTick_;
    const bool backOff = measured_ && lastSliceMs_ * 4 >= between;
    lastTick_ = now;
    measured_ = true;
    lastSliceMs_ = 0;
    // A slice that took a quarter of the time between ticks or more leaves the next tick idle.
    if (backOff) {
        inTick_ = false;
        return;
    }
    const int32_t step = hooks_.step ? hooks_.step() : kFeedDisconnected;
    if (step == kFeedDisconnected || step == kFeedConnected)
        RunSlice(now);
    lastSliceMs_ = hooks_.now() - now;
    inTick_ = false;
    DropRemoved();
}

size_t RTShareJobScheduler::jobCount() const
{
    std::lock_guard guard(mutex_);
    return jobs_.size();
}

std::vector<int32_t> RTShareJobScheduler::JobOrder() const
{
    std::lock_guard guard(mutex_);
    std::vector<int32_t> ids;
    for (const Job& j : jobs_)
        ids.push_back(j.id);
    return ids;
}

namespace {

void SchedulerTick(uint32_t, uint32_t) { TheRTShareJobScheduler().Tick(); }

} // namespace

RTShareJobScheduler& TheRTShareJobScheduler()
{
    static RTShareJobScheduler scheduler(RTShareJobScheduler::Hooks{
        [] {
            SharedLockGuard lock(IntradayStoreLock());
            return uint32_t(TheRTStore().table.keyCount);
        },
        [](uint32_t index, RTJobShare& out) {
            SharedLockGuard lock(IntradayStoreLock());
            const RTShareTable& t = TheRTStore().table;
            if (index >= t.keyCount)
                return false;
            out.key = t.KeyAtSlot(index);
            return GetRTDaySummaryEx(out.summary, out.key, 0);
        },
        [] { return int32_t(RTConnectionStep()); },
        [] { return SteadyTickCount(); },
        [](bool run) {
            if (run)
                TimerQueue().AddCallback(SchedulerTick, RTShareJobScheduler::kTickMs, 0);
            else
                TimerQueue().RemoveCallback(SchedulerTick);
        },
    });
    return scheduler;
}

} // namespace qv
