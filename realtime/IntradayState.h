// The intraday engine's state and the flag of the intraday store's exclusive lock, which the idle
// work and the message pump read.
#pragma once

#include <atomic>
#include <cstdint>

namespace qv {

// 1 while the engine runs; idle work then gives up every hundredth call.
extern int32_t RTEngineState;
// Set while the intraday store's exclusive lock is held; the message pump dispatches nothing then.
extern uint8_t IntradayLockFlag;
// The connection step (0-15) the frame and the feed dialogs show; 8 and above while a backfill runs.
std::atomic<int32_t>& RTConnectionStep();

} // namespace qv
