// The program's background work when the message queue is empty, and the message pump that long
// operations call between their steps.
#pragma once

#include <cstdint>
#include <functional>

namespace qv {

// The walk over every sub-record of every record of the end-of-day database: seven idle calls a
// sub-record, the correlation, volatility and beta at steps 0, 2 and 4.
struct IdleWalk {
    uint8_t* record = nullptr;
    int32_t countdown = -2; // sub-records left in the record; -2: start from the first record
    int32_t step = 0;       // 0-6
    uint32_t generation = 0; // the database load the walk belongs to
};

struct IdleState {
    uint32_t counter = 0;     // idle calls that reached the program's own work
    uint32_t workOff = 0;     // non-zero: no idle work
    IdleWalk walk;
};
IdleState& Idle();

// The program's part of an idle call (after the window layer's own idle processing); true when it
// wants to be called again. A database load or free restarts the walk.
bool RunIdleWork();

// The first key or mouse-button press while the splash screen shows may close it and is then not
// passed on; the splash screen installs the test (true: it took the input).
void SetSplashInputHook(std::function<bool()> hook);
// True when the input was taken and must not reach its window.
bool PreTranslateInput();

// Flags of the pump: set while it dispatches.
extern uint32_t PumpBusy;

// The window layer's dispatching: one round of the waiting events, or (wait) block for the next
// one; installed by the Qt host. Without it the pumps do nothing.
using EventPump = std::function<void(bool wait)>;
void SetEventPump(EventPump pump);

// Dispatches the events waiting now, unless the pump is already dispatching or the intraday
// store's exclusive lock is held. Returns at once when nothing waits.
void PumpWaitingMessages();
// As the pump, but waits for an event and ignores the intraday lock (pop-ups' own loops).
void ModalMessageLoop();

} // namespace qv
