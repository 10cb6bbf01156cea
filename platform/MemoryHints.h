// Hints to the system about how a block of memory will be used.
#pragma once

#include <cstddef>

namespace qv {

// Asks for the block to be backed by large pages where whole ones fit inside it: a block filled
// from start to end right after its allocation (the database read into memory) then costs a few
// page faults instead of one for every 4 KB. Only a hint; nothing changes where the system says no.
void PreferLargePages(void* block, size_t bytes);

} // namespace qv
