// Message targets are registered by id, so that posted messages and broadcasts never reach a
// destroyed target.
#include "platform/MessageDispatch.h"

#include <deque>
#include <map>
#include <mutex>
#include <vector>

namespace qv {
namespace {

struct Posted {
    uint64_t target;
    uint32_t message;
    uintptr_t wParam;
    intptr_t lParam;
};

struct Dispatch {
    std::mutex mutex;
    std::map<uint64_t, MessageTarget*> targets;
    std::deque<Posted> queue;
    PostWakeup wakeup;
    uint64_t nextId = 1;
};

Dispatch& State()
{
    static Dispatch state;
    return state;
}

MessageTarget* Lookup(uint64_t id)
{
    auto& s = State();
    std::lock_guard lock(s.mutex);
    auto it = s.targets.find(id);
    return it == s.targets.end() ? nullptr : it->second;
}

} // namespace

MessageTarget::MessageTarget(int kind) : kind_(kind)
{
    auto& s = State();
    std::lock_guard lock(s.mutex);
    id_ = s.nextId++;
    s.targets[id_] = this;
}

MessageTarget::~MessageTarget()
{
    auto& s = State();
    std::lock_guard lock(s.mutex);
    s.targets.erase(id_);
}

intptr_t SendProgramMessage(MessageTarget& target, uint32_t message, uintptr_t wParam, intptr_t lParam)
{
    return target.onProgramMessage(message, wParam, lParam);
}

intptr_t SendProgramMessageTo(uint64_t targetId, uint32_t message, uintptr_t wParam, intptr_t lParam)
{
    MessageTarget* target = Lookup(targetId);
    return target ? target->onProgramMessage(message, wParam, lParam) : 0;
}

void PostProgramMessage(const MessageTarget& target, uint32_t message, uintptr_t wParam, intptr_t lParam)
{
    PostProgramMessageTo(target.targetId(), message, wParam, lParam);
}

void PostProgramMessageTo(uint64_t targetId, uint32_t message, uintptr_t wParam, intptr_t lParam)
{
    auto& s = State();
    PostWakeup wakeup;
    {
        std::lock_guard lock(s.mutex);
        s.queue.push_back(Posted{targetId, message, wParam, lParam});
        wakeup = s.wakeup;
    }
    if (wakeup)
        wakeup();
}

int DeliverPostedMessages()
{
    auto& s = State();
    size_t waiting = 0;
    {
        std::lock_guard lock(s.mutex);
        waiting = s.queue.size();
    }
    // One message at a time from the head: a handler that runs a modal loop has the messages after its
    // own delivered within that loop, in their order, and none of them is left to come after newer
    // ones once it returns. Messages posted meanwhile wait for the next call.
    int delivered = 0;
    for (; waiting > 0; --waiting) {
        Posted p{};
        {
            std::lock_guard lock(s.mutex);
            if (s.queue.empty())
                break;
            p = s.queue.front();
            s.queue.pop_front();
        }
        if (MessageTarget* target = Lookup(p.target)) {
            target->onProgramMessage(p.message, p.wParam, p.lParam);
            ++delivered;
        }
    }
    return delivered;
}

bool HasPostedMessages()
{
    auto& s = State();
    std::lock_guard lock(s.mutex);
    return !s.queue.empty();
}

PostWakeup SetPostWakeup(PostWakeup wakeup)
{
    auto& s = State();
    std::lock_guard lock(s.mutex);
    PostWakeup previous = std::move(s.wakeup);
    s.wakeup = std::move(wakeup);
    return previous;
}

void BroadcastProgramMessage(const std::function<bool(const MessageTarget&)>& filter, uint32_t message,
                             uintptr_t wParam, intptr_t lParam)
{
    std::vector<uint64_t> ids;
    {
        auto& s = State();
        std::lock_guard lock(s.mutex);
        for (const auto& [id, target] : s.targets)
            ids.push_back(id);
    }
    // A handler may destroy other targets, so each is looked up again before it is called.
    for (uint64_t id : ids) {
        MessageTarget* target = Lookup(id);
        if (target && filter(*target))
            target->onProgramMessage(message, wParam, lParam);
    }
}

void SendMessageToKind(int kind, uint32_t message, uintptr_t wParam, intptr_t lParam)
{
    BroadcastProgramMessage([kind](const MessageTarget& t) { return t.targetKind() == kind; }, message,
                            wParam, lParam);
}

} // namespace qv
