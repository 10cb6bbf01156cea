// The shared loop.
#include "core/ParallelFor.h"

#include <algorithm>
#include <atomic>
#include <system_error>
#include <thread>
#include <vector>

namespace qv {

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
    const unsigned helpers = std::min(std::thread::hardware_concurrency(), 8u);
    std::vector<std::thread> pool;
    try {
        for (unsigned t = 1; t < helpers && t * kBatch < count; ++t)
            pool.emplace_back(run);
    } catch (const std::system_error&) {
        // Fewer helpers than hoped for: the others share the work.
    }
    run();
    for (std::thread& t : pool)
        t.join();
}

} // namespace qv
