// Timed callbacks through the installed host, or a waiting list without one.
#include "shell/TimerCallbacks.h"

#include "platform/MessageDispatch.h"
#include "resources/MessageIds.h"
#include "views/FrameState.h"

#include <algorithm>
#include <vector>

namespace qv {
namespace {

struct Entry {
    TimerCallbackFn fn;
    uint32_t intervalMs;
    uint32_t parameter;
    bool removed;
};

TimerCallbackHost* host = nullptr;
std::vector<Entry> waiting;

} // namespace

TimerCallbackHost* SetTimerCallbackHost(TimerCallbackHost* next)
{
    TimerCallbackHost* previous = host;
    host = next;
    return previous;
}

void AddTimerCallback(TimerCallbackFn fn, uint32_t intervalMs, uint32_t parameter)
{
    if (host) {
        host->add(fn, intervalMs, parameter);
        return;
    }
    waiting.push_back(Entry{fn, intervalMs, parameter, false});
}

void RemoveTimerCallback(TimerCallbackFn fn)
{
    if (host) {
        host->remove(fn);
        return;
    }
    auto it = std::find_if(waiting.begin(), waiting.end(), [fn](const Entry& e) { return e.fn == fn && !e.removed; });
    if (it != waiting.end())
        it->removed = true;
}

int PendingTimerCallbacks()
{
    return int(std::count_if(waiting.begin(), waiting.end(), [](const Entry& e) { return !e.removed; }));
}

int PendingTimerCallbacks(TimerCallbackFn fn)
{
    return int(std::count_if(waiting.begin(), waiting.end(), [fn](const Entry& e) { return e.fn == fn && !e.removed; }));
}

void RunTimerCallbacks(uint32_t now)
{
    size_t count = waiting.size();
    for (size_t i = 0; i < count; ++i) {
        Entry entry = waiting[i];
        if (!entry.removed)
            entry.fn(now, entry.parameter);
    }
    std::erase_if(waiting, [](const Entry& e) { return e.removed; });
}

void ClearTimerCallbacks() { waiting.clear(); }

void MainFrameTimerCallback(uint32_t, uint32_t number)
{
    RemoveTimerCallback(MainFrameTimerCallback);
    MessageTarget* frame = MainFrameTarget();
    if (!frame)
        return;
    PostProgramMessage(*frame, number);
    PostProgramMessage(*frame, WM_COMMAND, number);
}

} // namespace qv
