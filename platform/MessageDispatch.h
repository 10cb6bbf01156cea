// Program messages by number: windows and views receive (message, wParam, lParam), sent directly,
// posted for later delivery, or broadcast to every target of a kind.
#pragma once

#include <cstdint>
#include <functional>

namespace qv {

class MessageTarget {
public:
    // kind: the view kind of a view (0-11), or -1 for other windows.
    explicit MessageTarget(int kind = -1);
    virtual ~MessageTarget();
    MessageTarget(const MessageTarget&) = delete;
    MessageTarget& operator=(const MessageTarget&) = delete;

    virtual intptr_t onProgramMessage(uint32_t message, uintptr_t wParam, intptr_t lParam) = 0;

    int targetKind() const { return kind_; }
    void setTargetKind(int kind) { kind_ = kind; }
    uint64_t targetId() const { return id_; }

private:
    int kind_;
    uint64_t id_;
};

intptr_t SendProgramMessage(MessageTarget& target, uint32_t message, uintptr_t wParam = 0,
                            intptr_t lParam = 0);
// The same by the target's id, for controls that must not call a window already being destroyed;
// 0 when the target is gone.
intptr_t SendProgramMessageTo(uint64_t targetId, uint32_t message, uintptr_t wParam = 0, intptr_t lParam = 0);

// Queues a message for delivery on the user-interface thread; safe from any thread. A message whose
// target is destroyed before delivery is dropped.
void PostProgramMessage(const MessageTarget& target, uint32_t message, uintptr_t wParam = 0,
                        intptr_t lParam = 0);
// The same by the target's id, for senders (the timer queue's worker) that keep only the id and must
// not touch a target the user-interface thread may be destroying.
void PostProgramMessageTo(uint64_t targetId, uint32_t message, uintptr_t wParam = 0, intptr_t lParam = 0);

// Delivers the messages posted so far; returns how many were delivered.
int DeliverPostedMessages();
bool HasPostedMessages();

// Called (from any thread) when a message is posted, so that the window layer can schedule
// delivery on its own thread. Returns the previous hook.
using PostWakeup = std::function<void()>;
PostWakeup SetPostWakeup(PostWakeup wakeup);

// Sends to every live target that the filter accepts, in order of creation.
void BroadcastProgramMessage(const std::function<bool(const MessageTarget&)>& filter, uint32_t message,
                             uintptr_t wParam = 0, intptr_t lParam = 0);
// Sends to every target of one kind.
void SendMessageToKind(int kind, uint32_t message, uintptr_t wParam = 0, intptr_t lParam = 0);

} // namespace qv
