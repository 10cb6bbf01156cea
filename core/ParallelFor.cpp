// The shared loops.
#include "core/ParallelFor.h"

#include "platform/Processors.h"

#include <algorithm>
#include <atomic>
#include <condition_variable>
#include <mutex>
#include <system_error>
#include <thread>
#include <vector>

namespace qv {

namespace {

// Starts up to `wanted` helper threads running `run` (fewer when the system has no more to give),
// the caller being one more.
std::vector<std::thread> StartHelpers(size_t wanted, const std::function<void()>& run)
{
    std::vector<std::thread> pool;
    try {
        for (size_t t = 0; t < wanted; ++t)
            pool.emplace_back(run);
    } catch (const std::system_error&) {
        // Fewer helpers than hoped for: the others share the work.
    }
    return pool;
}

// The threads a loop uses, the caller's among them.
size_t LoopThreads() { return std::min<size_t>(UsableProcessors(), 8); }

} // namespace

void ParallelFor(size_t count, const std::function<void(size_t)>& work, size_t batch)
{
    const size_t kBatch = std::max<size_t>(batch, 1);
    std::atomic<size_t> next{0};
    auto run = [&] {
        for (;;) {
            const size_t first = next.fetch_add(kBatch);
            if (first >= count)
                return;
            const size_t last = std::min(count, first + kBatch);
            for (size_t i = first; i < last; ++i)
                work(i);
        }
    };
    const size_t batches = (count + kBatch - 1) / kBatch;
    std::vector<std::thread> pool = StartHelpers(std::min(LoopThreads(), std::max<size_t>(batches, 1)) - 1, run);
    run();
    for (std::thread& t : pool)
        t.join();
}

void ParallelForInOrder(size_t count, const std::function<void(size_t)>& make, const std::function<bool(size_t)>& take)
{
    std::mutex mutex;
    std::condition_variable changed;
    std::vector<char> made(count, 0);
    size_t next = 0;   // the first item not begun
    size_t taking = 0; // the item the calling thread takes next
    bool stopped = false;
    // Under the lock: whether the next item may begin now.
    auto mayBegin = [&] { return !stopped && next < count && next < taking + kInOrderRunAhead; };
    // Makes item i (claimed under the lock, which is held on entry and on return).
    auto makeClaimed = [&](std::unique_lock<std::mutex>& lock, size_t i) {
        lock.unlock();
        make(i);
        lock.lock();
        made[i] = 1;
        changed.notify_all();
    };
    std::vector<std::thread> pool = StartHelpers(std::min(LoopThreads(), std::max<size_t>(count, 1)) - 1, [&] {
        std::unique_lock<std::mutex> lock(mutex);
        for (;;) {
            changed.wait(lock, [&] { return stopped || next >= count || mayBegin(); });
            if (!mayBegin())
                return;
            makeClaimed(lock, next++);
        }
    });
    for (size_t i = 0; i < count; ++i) {
        {
            std::unique_lock<std::mutex> lock(mutex);
            taking = i;
            changed.notify_all();
            while (!made[i]) {
                if (mayBegin())
                    makeClaimed(lock, next++);
                else
                    changed.wait(lock);
            }
        }
        if (!take(i)) {
            std::lock_guard<std::mutex> lock(mutex);
            stopped = true;
            changed.notify_all();
            break;
        }
    }
    for (std::thread& t : pool)
        t.join();
}

} // namespace qv
