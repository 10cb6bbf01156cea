// Frame commands by the frame's message-target id, so a worker thread never touches the frame itself.
// The capture watch looks once per tick and returns at once: a callback that waited for the capture
// to end would hold the queue's lock and stall every other timer.
#include "shell/FrameCommands.h"

#include "platform/MessageDispatch.h"
#include "realtime/TimerQueue.h"
#include "resources/MessageIds.h"

#include <atomic>

namespace qv {
namespace {

std::atomic<uint64_t> gFrameId{0};
std::atomic<bool> gCaptureHeld{false};

void CaptureEndTick(uint32_t, uint32_t)
{
    if (gCaptureHeld)
        return;
    TimerQueue().RemoveCallback(CaptureEndTick);
    PostCommandToFrame(kCaptureEndedCommand);
}

} // namespace

void SetFrameCommandTarget(const MessageTarget* frame)
{
    gFrameId = frame ? frame->targetId() : 0;
}

void PostCommandToFrame(uint32_t command)
{
    if (uint64_t id = gFrameId)
        PostProgramMessageTo(id, WM_COMMAND, command, 0);
}

void NoteMouseCapture(bool held)
{
    gCaptureHeld = held;
}

bool MouseCaptureHeld()
{
    return gCaptureHeld;
}

void WatchForCaptureEnd()
{
    TimerQueue().AddCallback(CaptureEndTick, kCaptureWatchIntervalMs, 0);
}

} // namespace qv
