// Large-page hints through madvise.
#include "platform/MemoryHints.h"

#include <cstdint>
#include <sys/mman.h>
#include <unistd.h>

namespace qv {

void PreferLargePages(void* block, size_t bytes)
{
#ifdef MADV_HUGEPAGE
    // The advice takes whole pages: the pages lying wholly inside the block.
    const uintptr_t page = uintptr_t(::sysconf(_SC_PAGESIZE));
    const uintptr_t start = (uintptr_t(block) + page - 1) & ~(page - 1);
    const uintptr_t end = (uintptr_t(block) + bytes) & ~(page - 1);
    if (block && end > start)
        ::madvise(reinterpret_cast<void*>(start), end - start, MADV_HUGEPAGE);
#else
    (void)block;
    (void)bytes;
#endif
}

} // namespace qv
