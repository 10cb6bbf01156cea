// `RTShareJobScheduler`: jobs that walk a class of shares of the intraday share table in short time
// slices on the timer queue, handing each share's day summary to their callbacks (the intraday
// alarms and the market table use it). At most 100 jobs, highest priority first.
#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <mutex>
#include <vector>

namespace qv {

// A share handed to the jobs: its key and its day summary (open, high, low, last, mid, volume,
// previous close, bid, offer, previous trade, last volume).
struct RTJobShare {
    uint32_t key = 0;
    std::array<float, 11> summary{};
};
// Called with the share, or with null once the job has visited every share of its pass.
using RTShareJobCallback = std::function<void(int32_t job, uintptr_t parameter, const RTJobShare* share)>;

class RTShareJobScheduler {
public:
    static constexpr size_t kMaxJobs = 100;
    static constexpr uint32_t kTickMs = 100;
    static constexpr uint32_t kSliceMs = 20;
    enum : uint8_t { kPaused = 1, kFinished = 2, kRemoving = 4 };

    // What the scheduler needs from the program: the share-table size, a share's data (false when it
    // has none), the connection step, a millisecond clock, and the timer's start and stop.
    struct Hooks {
        std::function<uint32_t()> shareCount;
        std::function<bool(uint32_t index, RTJobShare& out)> readShare;
        std::function<int32_t()> step;
        std::function<uint32_t()> now;
        std::function<void(bool run)> timer;
    };
    explicit RTShareJobScheduler(Hooks hooks);

    // The job's id, or -1 when 100 jobs are held. `shares` marks the share-table indices to visit.
    int32_t AddJob(uint8_t priority, RTShareJobCallback callback, uintptr_t parameter, uint16_t shareClass,
                   const std::vector<bool>& shares);
    // Marks the job for removal; it goes at the end of the next slice (or at once when no tick runs).
    bool RemoveJob(int32_t id);
    bool PauseJob(int32_t id, bool pause);
    // Hands the share to every live job of the class whose bit is set, clearing the bit.
    void TakeShare(uint32_t index, uint16_t shareClass);
    // One timer tick at `now` (ms).
    void Tick();

    size_t jobCount() const;
    std::vector<int32_t> JobOrder() const; // ids, highest priority first
    bool timerRunning() const { return timerRunning_; }

private:
    struct Job {
        int32_t id = 0;
        uint8_t priority = 0;
        RTShareJobCallback callback;
        uintptr_t parameter = 0;
        uint16_t shareClass = 0;
        std::vector<bool> toVisit, pass;
        uint32_t cursor = 0;
        uint8_t flags = 0;
    };
    void RunSlice(uint32_t start);
    void DropRemoved();
    Hooks hooks_;
    mutable std::recursive_mutex mutex_;
    std::vector<Job> jobs_;
    int32_t nextId_ = 1;
    bool timerRunning_ = false;
    uint32_t lastTick_ = 0, lastSliceMs_ = 0;
    bool measured_ = false;
    bool inTick_ = false;
};

// The program's scheduler on the timer queue and the intraday store.
RTShareJobScheduler& TheRTShareJobScheduler();

} // namespace qv
