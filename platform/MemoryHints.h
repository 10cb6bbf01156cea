// Hints to the system about how a block of memory will be used.
#pragma once

#include <cstddef>

namespace qv {

// Asks for the block to be backed by large pages where whole ones fit inside it: a block filled
// from start to end right after its allocation (the database read into memory) then costs a few
// page faults instead of one for every 4 KB. Only a hint; nothing changes where the system says no.
void PreferLargePages(void* block, size_t bytes);

// Lets the program's main heap grow by one reserve of `reserve` bytes, backed by large pages, and
// serve blocks below `largestFromHeap` from it rather than each from a mapping of its own: a start
// that allocates tens of megabytes in small and middling blocks then takes a few large-page faults
// in place of thousands of small ones. Memory is only reserved; the pages come as they are used.
// Only a hint: nothing changes where the allocator or the system takes no such advice.
void PreferLargePagesForHeap(size_t reserve, size_t largestFromHeap);

// The heap the program runs on, set first thing in its main (and in the benchmarks', which measure it
// so): a 64 MB reserve in large pages, serving every block under 4 MB. Its start allocates tens of
// megabytes in blocks of every size (the database's indexes, the windows, the chart's history).
void SetUpProgramHeap();

} // namespace qv
