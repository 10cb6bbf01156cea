// Large-page hints through madvise.
#include "platform/MemoryHints.h"

#include <cstdint>
#include <cstdlib>
#include <sys/mman.h>
#include <unistd.h>
#if defined(__GLIBC__)
#include <malloc.h>
#endif

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

void SetUpProgramHeap()
{
#if defined(__GLIBC__) && defined(MADV_HUGEPAGE)
    constexpr size_t kReserve = size_t(64) << 20, kLargestFromHeap = size_t(4) << 20;
    if (::mallopt(M_MMAP_THRESHOLD, int(kLargestFromHeap)) == 0 || ::mallopt(M_TOP_PAD, int(kReserve)) == 0 ||
        ::mallopt(M_TRIM_THRESHOLD, int(2 * kReserve)) == 0)
        return;
    // A block bigger than the heap's free top makes it grow now, by the reserve; freed, it goes back
    // to the top, which stays below the trim threshold. The advice then covers the reserve, where the
    // block shows it is the heap's end (an allocator that mapped it elsewhere gets none).
    void* probe = std::malloc(size_t(1) << 20);
    const auto end = reinterpret_cast<uintptr_t>(::sbrk(0));
    const auto at = reinterpret_cast<uintptr_t>(probe);
    std::free(probe);
    if (probe && at < end && end - at <= kReserve + (size_t(2) << 20))
        PreferLargePages(reinterpret_cast<void*>(at), end - at);
#endif
}

} // namespace qv
