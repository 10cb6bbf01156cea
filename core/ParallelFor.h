// Sharing a loop's items out over the machine's cores.
#pragma once

#include <cstddef>
#include <functional>

namespace qv {

// Calls work(i) for every i below count, in batches of `batch` items (1 for items that are each a
// long piece of work), on up to eight threads (the caller's among them); returns when every call
// has returned. The calls must not depend on one another.
void ParallelFor(size_t count, const std::function<void(size_t)>& work, size_t batch = 16);

} // namespace qv
