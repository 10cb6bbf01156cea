// Work shared out over the machine's cores: the same job run on helper threads and the calling one.
#pragma once

#include <functional>

namespace qv {

// Runs `work` on up to `most` threads at once (the calling thread among them, and never more than
// the machine has cores), and returns when every run has ended. Each run takes its pieces from a
// counter the job keeps; a machine that refuses more threads leaves the work to fewer.
void RunOnHelperThreads(const std::function<void()>& work, unsigned most);

} // namespace qv
