// The reconnect tick and its attempts.
#include "realtime/feed/RTReconnect.h"

#include "core/ConfigRecords.h"
#include "core/ConfigState.h"
#include "realtime/FeedStates.h"
#include "realtime/IntradayState.h"
#include "realtime/TimerQueue.h"
#include "realtime/feed/RTEngine.h"
#include "realtime/feed/RTFeedClient.h"

namespace qv {
namespace {

bool RealTimeOptionOn() { return Config().optionsA.data()[OptionBlockA::kRealTimeOption] != 0; }

} // namespace

RTReconnectState& TheRTReconnect()
{
    static RTReconnectState state;
    return state;
}

void ClearRTStoppingFlags()
{
    TheRTReconnect().userStopped = false;
    TheRTReconnect().commandStopped = false;
}

void ScheduleRTReconnect(uint32_t delayMs)
{
    if (!RealTimeOptionOn())
        return;
    // One tick waits at a time: a second schedule only moves it.
    if (TheRTReconnect().scheduled.exchange(true))
        TimerQueue().RemoveCallback(RTReconnectTick);
    TimerQueue().AddCallback(RTReconnectTick, delayMs, 0);
}

void CancelRTReconnect()
{
    if (TheRTReconnect().scheduled.exchange(false))
        TimerQueue().RemoveCallback(RTReconnectTick);
}

void RTReconnectTick(uint32_t, uint32_t)
{
    TimerQueue().RemoveCallback(RTReconnectTick);
    if (!TheRTReconnect().scheduled.exchange(false))
        return;
    // The engine state and the transport are the user-interface thread's: the start runs there.
    if (const auto& post = TheRTEngineHooks().postToMainWindow)
        post(kMsgRTReconnect);
}

bool RunRTReconnect()
{
    RTReconnectState& r = TheRTReconnect();
    if (r.userStopped || !RealTimeOptionOn())
        return false;
    if (RTEngineState == kEngineRunning || RTEngineState == kEngineStarting) {
        r.attempts = 0;
        return true;
    }
    if (StartRTEngine()) {
        r.attempts = 0;
        return true;
    }
    RTEngineState = kEngineStopped;
    ++r.attempts;
    ScheduleRTReconnect(kRTReconnectRetryMs);
    return false;
}

} // namespace qv
