// The feed's automatic reconnect: the reconnect tick on the timer queue, the count of failed
// attempts, and the stopping flags that keep a user's disconnect from being undone.
#pragma once

#include <atomic>
#include <cstdint>

namespace qv {

constexpr uint32_t kMsgRTReconnect = 1106;        // to the engine's window: try to connect again
constexpr uint32_t kRTReconnectAfterDropMs = 1000;
// Each failed attempt in a row doubles the pause before the next, up to a minute; a connection
// that stays up a minute starts the count again.
constexpr uint32_t kRTReconnectLongestMs = 60000;
constexpr uint32_t kRTConnectionSettledMs = 60000;
// The pause before the next attempt after `attempts` failed ones: 1 s, 2 s, 4 s ... 60 s.
uint32_t RTReconnectPauseMs(int32_t attempts);

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
// On the user-interface thread: unless the engine runs, starts it (the feed thread then connects;
// an attempt that fails ends the engine, which schedules the next). True when the engine runs.
bool RunRTReconnect();
// The engine ended by itself: unless the user stopped it or the server refused the log-on, counts
// the attempt and schedules the next after its pause. The delay scheduled, or 0 for none.
uint32_t ScheduleRTRetryAfterEnd(bool settled);

} // namespace qv
