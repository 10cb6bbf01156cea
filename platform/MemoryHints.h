// Hints to the system about how a block of memory will be used.
#pragma once

#include <cstddef>

namespace qv {

// Asks for the block to be backed by large pages where whole ones fit inside it: a block filled
// from start to end right after its allocation (the database read into memory) then costs a few
// page faults instead of one for every 4 KB. Only a hint; nothing changes where the system says no.
void PreferLargePages(void* block, size_t bytes);

// The heap the program runs on, set first thing in its main (and in the benchmarks', which measure it
// so): the main heap grows by one 64 MB reserve backed by large pages and serves every block under
// 4 MB from it rather than each from a mapping of its own. Its start allocates tens of megabytes in
// blocks of every size (the database's indexes, the windows, the chart's history), which then take a
// few large-page faults in place of thousands of small ones. Memory is only reserved; the pages come
// as they are used. Only a hint: nothing changes where the allocator or the system takes no advice.
void SetUpProgramHeap();

} // namespace qv
