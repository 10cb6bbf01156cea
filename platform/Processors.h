// The processors this process may run on.
#pragma once

#include <cstddef>

namespace qv {

// The processors the process is allowed to run on (fewer than the machine's when it is held to some
// of them); at least 1.
size_t UsableProcessors();

} // namespace qv
