// The processor count from the process's affinity mask.
#include "platform/Processors.h"

#include <algorithm>
#include <sched.h>
#include <thread>

namespace qv {

size_t UsableProcessors()
{
    cpu_set_t set;
    CPU_ZERO(&set);
    if (::sched_getaffinity(0, sizeof set, &set) == 0)
        return size_t(std::max(CPU_COUNT(&set), 1));
    return std::max<size_t>(std::thread::hardware_concurrency(), 1);
}

} // namespace qv
