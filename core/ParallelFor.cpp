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
    std::atomic<size_t> next{0};
    std::atomic<bool> stopped{false};
    std::mutex mutex;
    std::condition_variable madeOne;
    std::vector<char> made(count, 0);
    // Makes the next item not begun; false when there is none (or the loop has stopped).
    auto makeNext = [&] {
        const size_t i = next.fetch_add(1);
        if (i >= count || stopped)
            return false;
        make(i);
        {
            std::lock_guard<std::mutex> lock(mutex);
            made[i] = 1;
        }
        madeOne.notify_all();
        return true;
    };
    std::vector<std::thread> pool = StartHelpers(std::min(LoopThreads(), std::max<size_t>(count, 1)) - 1, [&] {
        while (makeNext()) {
        }
    });
    for (size_t i = 0; i < count; ++i) {
        for (;;) {
            {
                std::unique_lock<std::mutex> lock(mutex);
                if (made[i])
                    break;
            }
            if (makeNext())
                continue;
            std::unique_lock<std::mutex> lock(mutex);
            madeOne.wait(lock, [&] { return made[i] != 0; });
            break;
        }
        if (!take(i)) {
            stopped = true;
            break;
        }
    }
    for (std::thread& t : pool)
        t.join();
}

} // namespace qv
