// The reconnect tick and its attempts.
#include "realtime/feed/RTReconnect.h"

#include "core/ConfigRecords.h"
#include "core/ConfigState.h"
#include "realtime/FeedStates.h"
#include "realtime/IntradayState.h"
#include "realtime/TimerQueue.h"
#include "realtime/feed/RTEngine.h"
#include "realtime/feed/RTFeedClient.h"

#include <algorithm>

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
    if (RTEngineState == kEngineRunning || RTEngineState == kEngineStarting)
        return true;
    if (StartRTEngine())
        return true;
    RTEngineState = kEngineStopped;
    return false;
}

uint32_t RTReconnectPauseMs(int32_t attempts)
{
    return attempts >= 6 ? kRTReconnectLongestMs : std::min(kRTReconnectLongestMs, kRTReconnectAfterDropMs << attempts);
}

uint32_t ScheduleRTRetryAfterEnd(bool settled)
{
    RTReconnectState& r = TheRTReconnect();
    if (settled)
        r.attempts = 0;
    // A refused log-on would be refused again: the user connects when the account is put right.
    if (r.userStopped || r.commandStopped || IsFeedRefusal(TheRTEngine().failure) || !RealTimeOptionOn())
        return 0;
    uint32_t pause = RTReconnectPauseMs(r.attempts);
    ++r.attempts;
    ScheduleRTReconnect(pause);
    return pause;
}

} // namespace qv
