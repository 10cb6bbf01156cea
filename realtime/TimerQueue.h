// The program's one queue of timed work: periodic window-timer messages and callbacks, fired by a
// worker thread that wakes once per period while the queue holds entries.
#pragma once

#include "resources/MessageIds.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <thread>
#include <vector>

namespace qv {

class MessageTarget;

inline constexpr uint32_t kWindowTimerMessage = WM_TIMER;
inline constexpr uint32_t kDefaultTimerPeriodMs = 10;
// The parameter that marks an object callback.
inline constexpr uint32_t kObjectCallbackParameter = 0xFFFFFFFF;

// The millisecond tick count: a 32-bit counter that wraps about every 49.7 days.
using TickSource = std::function<uint32_t()>;
uint32_t SteadyTickCount();

// Called on the worker thread with the current tick and the entry's parameter.
using TimerCallbackFunction = void (*)(uint32_t now, uint32_t parameter);

// An object the queue calls on the worker thread (the ticker's scroll object).
class TimerQueueObject {
public:
    virtual ~TimerQueueObject() = default;
    virtual void onTimerTick(uint32_t now) = 0;
};

struct TimerQueueEntry {
    static constexpr uint8_t kCallback = 0x01;
    static constexpr uint8_t kRemoved = 0x02;

    std::unique_ptr<TimerQueueEntry> next;
    uint64_t target = 0;  // the window's message-target id, the function or the object
    uint32_t intervalMs = 0;
    uint32_t dueTick = 0;
    uint32_t parameter = 0; // message entries: the message number
    uint8_t flags = 0;
};

class CTimerQueue {
public:
    // The tick source is the steady clock unless a test gives its own.
    explicit CTimerQueue(TickSource ticks = {});
    ~CTimerQueue();
    CTimerQueue(const CTimerQueue&) = delete;
    CTimerQueue& operator=(const CTimerQueue&) = delete;

    // Every caller passes the window timer message.
    bool AddMessage(const MessageTarget& window, uint32_t intervalMs, uint32_t message = kWindowTimerMessage);
    bool AddCallback(TimerCallbackFunction function, uint32_t intervalMs, uint32_t parameter);
    bool AddCallback(TimerQueueObject& object, uint32_t intervalMs);

    // The first entry in list order (the most recently added) of that target; the due tick stays,
    // so a new interval counts from the next firing.
    void SetMessageInterval(const MessageTarget& window, uint32_t intervalMs);
    void SetCallbackInterval(TimerCallbackFunction function, uint32_t intervalMs);
    void SetCallbackInterval(TimerQueueObject& object, uint32_t intervalMs);

    // Marks the first live entry of that target; it never fires again and the next pass frees it.
    void RemoveMessage(const MessageTarget& window);
    void RemoveCallback(TimerCallbackFunction function);
    void RemoveCallback(TimerQueueObject& object);

    void Start(uint32_t periodMs);
    void Stop();
    // Stops, then frees every entry; no entry fires once it returns (unless called from a callback,
    // whose own pass ends with the callback).
    void Clear();

    // One pass over the list at tick `now` (the worker's; tests call it directly).
    void DispatchDue(uint32_t now);

    // Due when the tick has passed the due tick by less than half the counter's range, across the wrap.
    static bool IsDue(uint32_t dueTick, uint32_t now) { return now - dueTick - 1 < 0x7FFFFFFEu; }

    bool running() const;
    uint32_t period() const;
    // Entries in the list, removed ones included until a pass frees them.
    size_t entryCount() const;

private:
    struct WorkerControl;

    bool insertEntry(std::unique_ptr<TimerQueueEntry> entry);
    TimerQueueEntry* findLive(uint64_t target, bool callback) const;
    void setInterval(uint64_t target, bool callback, uint32_t intervalMs);
    void remove(uint64_t target, bool callback);
    void freeAll();
    void startLocked(uint32_t periodMs);
    void stopLocked();
    void fire(const TimerQueueEntry& entry, uint32_t now);
    void workerLoop(std::shared_ptr<WorkerControl> control, uint32_t periodMs);
    void joinRetired();

    TickSource ticks_;
    std::unique_ptr<TimerQueueEntry> head_;
    uint32_t periodMs_ = kDefaultTimerPeriodMs;
    mutable std::recursive_mutex lock_;
    int dispatching_ = 0;
    bool clearRequested_ = false;

    std::thread worker_;
    std::shared_ptr<WorkerControl> control_;
    // Workers told to stop, joined by the next caller that holds no queue lock.
    std::mutex retiredLock_;
    std::vector<std::thread> retired_;
};

// The program-wide queue.
CTimerQueue& TimerQueue();

} // namespace qv
