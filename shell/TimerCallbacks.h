// Timed callbacks: the entries that code asks the program's timer queue to call at an interval.
// Until the queue itself exists a host stands in for it: the window layer installs one that fires
// on the user-interface thread, and without a host the entries wait until RunTimerCallbacks.
#pragma once

#include <cstdint>

namespace qv {

// Called with the current tick and the entry's parameter. Every entry is periodic: a one-shot
// callback removes its own entry when it fires.
using TimerCallbackFn = void (*)(uint32_t now, uint32_t parameter);

class TimerCallbackHost {
public:
    virtual ~TimerCallbackHost() = default;
    virtual void add(TimerCallbackFn fn, uint32_t intervalMs, uint32_t parameter) = 0;
    virtual void remove(TimerCallbackFn fn) = 0;
};

// Returns the previous host; null restores the waiting list.
TimerCallbackHost* SetTimerCallbackHost(TimerCallbackHost* host);

void AddTimerCallback(TimerCallbackFn fn, uint32_t intervalMs, uint32_t parameter);
// Removes the first entry of fn.
void RemoveTimerCallback(TimerCallbackFn fn);

// Without a host: the entries waiting, and firing each once (entries added meanwhile wait).
int PendingTimerCallbacks();
int PendingTimerCallbacks(TimerCallbackFn fn);
void RunTimerCallbacks(uint32_t now = 0);
void ClearTimerCallbacks();

// The frame's timer entry: removes itself, then posts its number to the main window as a message
// and as a command.
void MainFrameTimerCallback(uint32_t now, uint32_t number);

} // namespace qv
