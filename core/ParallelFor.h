// Sharing a loop's items out over the machine's cores.
#pragma once

#include <cstddef>
#include <functional>

namespace qv {

// Calls work(i) for every i below count, in batches of `batch` items (1 for items that are each a
// long piece of work), on up to eight threads (the caller's among them), no more than the process
// may run at once; returns when every call has returned. The calls must not depend on one another.
void ParallelFor(size_t count, const std::function<void(size_t)>& work, size_t batch = 16);

// How far the makes of the in-order loop may run ahead of its takes: make(i) begins only while
// i < j + kInOrderRunAhead, j being the item the calling thread is taking or waiting for. It bounds
// what the made items hold at once, and what a stopped loop has begun.
inline constexpr size_t kInOrderRunAhead = 32;

// Calls make(i) for every i below count on the same threads, and take(i) on the calling thread in
// the order of i, each once make(i) has returned, so that what make(i) leaves behind may be used
// there. While the next item is not made, the calling thread makes items too. A take that answers
// false stops the loop: items not yet begun are not made (at most kInOrderRunAhead beyond the
// stopping item are ever begun), and the call returns when those begun are. The make calls must not
// depend on one another.
void ParallelForInOrder(size_t count, const std::function<void(size_t)>& make, const std::function<bool(size_t)>& take);

} // namespace qv
