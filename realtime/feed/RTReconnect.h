// The feed's automatic reconnect: the reconnect tick on the timer queue, the count of failed
// attempts, and the stopping flags that keep a user's disconnect from being undone.
#pragma once

#include <atomic>
#include <cstdint>

namespace qv {

constexpr uint32_t kMsgRTReconnect = 1106;        // to the engine's window: try to connect again
constexpr uint32_t kRTReconnectRetryMs = 15000;   // between failed attempts
constexpr uint32_t kRTReconnectAfterDropMs = 1000;

struct RTReconnectState {
    std::atomic<bool> userStopped{false};   // the user disconnected (set by StopRTEngine)
    std::atomic<bool> commandStopped{false}; // cleared with the other by the connect command
    std::atomic<int32_t> attempts{0};        // failed reconnect attempts in a row
    std::atomic<bool> scheduled{false};      // a reconnect tick waits on the timer queue
};
RTReconnectState& TheRTReconnect();

// The connect command clears both stopping flags.
void ClearRTStoppingFlags();
// With the real-time option on, puts the reconnect tick on the timer queue after the delay.
void ScheduleRTReconnect(uint32_t delayMs);
// Takes a waiting reconnect tick off the timer queue (a disconnect by the user).
void CancelRTReconnect();
// The timer queue's callback (its worker thread): removes itself and asks the engine's window,
// through the main-window hook, to run RunRTReconnect on the user-interface thread.
void RTReconnectTick(uint32_t now, uint32_t parameter);
// On the user-interface thread: unless the engine runs, starts it; a failure tries again after
// 15 s and counts the attempt, a start clears the count. True when the engine runs.
bool RunRTReconnect();

} // namespace qv
