// Work shared out over the machine's cores.
#include "platform/HelperThreads.h"

#include <algorithm>
#include <system_error>
#include <thread>
#include <vector>

namespace qv {

void RunOnHelperThreads(const std::function<void()>& work, unsigned most)
{
    const unsigned threads = std::min(std::thread::hardware_concurrency(), most);
    std::vector<std::thread> pool;
    try {
        for (unsigned t = 1; t < threads; ++t)
            pool.emplace_back(work);
    } catch (const std::system_error&) {
        // Fewer helpers than hoped for: the others share the work.
    }
    work();
    for (std::thread& t : pool)
        t.join();
}

} // namespace qv
