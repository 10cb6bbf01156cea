// Idle work: one small step of the statistics walk per call, and the guarded message pump.
#include "shell/IdleWork.h"

#include "core/CachedStatistics.h"
#include "core/Database.h"
#include "core/RecordLookup.h"
#include "realtime/FeedStates.h"
#include "realtime/IntradayState.h"

#include <algorithm>

namespace qv {
namespace {

constexpr int32_t kStartWalk = -2;
constexpr uint32_t kThrottleEvery = 100;

EventPump g_pump;
std::function<bool()> g_splashInput;

// Clears the busy flag however the dispatching ends.
class PumpGuard {
public:
    PumpGuard() { PumpBusy = 1; }
    ~PumpGuard() { PumpBusy = 0; }
    PumpGuard(const PumpGuard&) = delete;
    PumpGuard& operator=(const PumpGuard&) = delete;
};

void ComputeStep(IdleWalk& walk)
{
    RecordCursor cursor{walk.record, uint32_t(walk.countdown - 1)};
    switch (walk.step) {
    case 0: GetCachedCorrelation(cursor); break;
    case 2: GetCachedVolatility(cursor); break;
    case 4: GetCachedBeta(cursor); break;
    case 6:
        walk.step = -1;
        --walk.countdown;
        break;
    default: break;
    }
    ++walk.step;
}

// Moves to the next record (the first at the start) and counts its sub-records.
void EnterNextRecord(IdleWalk& walk)
{
    walk.record = walk.countdown == kStartWalk ? MainRecordBlock : NextRecord(walk.record);
    walk.step = 0;
    // The last sub-record is stored with length 0 and counts too.
    walk.countdown = RecordLength(walk.record) == 0 ? 0 : std::max(CountSubRecords(walk.record), 1);
}

} // namespace

uint32_t PumpBusy = 0;

IdleState& Idle()
{
    static IdleState state;
    return state;
}

bool RunIdleWork()
{
    IdleState& idle = Idle();
    ++idle.counter;
    if (idle.workOff)
        return false;
    if (RTEngineState == kEngineRunning && idle.counter % kThrottleEvery == 0)
        return false;
    IdleWalk& walk = idle.walk;
    if (walk.generation != DatabaseLoadGeneration) {
        walk = IdleWalk{};
        walk.generation = DatabaseLoadGeneration;
    }
    if (!MainRecordBlock)
        return false;
    if (walk.countdown != kStartWalk) {
        if (RecordLength(walk.record) == 0)
            return false; // the end: the walk waits for the next load
        if (walk.countdown > 0) {
            ComputeStep(walk);
            return true;
        }
    }
    EnterNextRecord(walk);
    return true;
}

void SetSplashInputHook(std::function<bool()> hook)
{
    g_splashInput = std::move(hook);
}

bool PreTranslateInput()
{
    return g_splashInput && g_splashInput();
}

void SetEventPump(EventPump pump)
{
    g_pump = std::move(pump);
}

void PumpWaitingMessages()
{
    if (PumpBusy || IntradayLockFlag || !g_pump)
        return;
    PumpGuard guard;
    g_pump(false);
}

void ModalMessageLoop()
{
    if (PumpBusy || !g_pump)
        return;
    PumpGuard guard;
    g_pump(true);
}

} // namespace qv
