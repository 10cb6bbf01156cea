// The timer queue: a list of timed entries under one re-entrant lock, and a worker thread that wakes
// every period on the steady clock and fires what has fallen due.
#include "realtime/TimerQueue.h"

#include "platform/MessageDispatch.h"

#include <algorithm>
#include <atomic>
#include <chrono>
#include <condition_variable>

namespace qv {
namespace {

// How many queue locks this thread holds; a thread inside a callback must not join a worker that
// may be waiting for the lock it holds.
thread_local int tlsQueueLockDepth = 0;

class QueueGuard {
public:
    explicit QueueGuard(std::recursive_mutex& lock) : lock_(lock)
    {
        lock_.lock();
        ++tlsQueueLockDepth;
    }
    ~QueueGuard()
    {
        --tlsQueueLockDepth;
        lock_.unlock();
    }
    QueueGuard(const QueueGuard&) = delete;
    QueueGuard& operator=(const QueueGuard&) = delete;

private:
    std::recursive_mutex& lock_;
};

uint64_t KeyOf(TimerCallbackFunction function)
{
    return reinterpret_cast<uintptr_t>(function);
}

uint64_t KeyOf(const TimerQueueObject& object)
{
    return reinterpret_cast<uintptr_t>(&object);
}

} // namespace

// Each worker has its own stop token, so a worker told to stop can never be revived by a restart
// that clears a shared flag before it wakes.
struct CTimerQueue::WorkerControl {
    std::mutex mutex;
    std::condition_variable wake;
    std::atomic<bool> stop{false};
};

uint32_t SteadyTickCount()
{
    using namespace std::chrono;
    return uint32_t(duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count());
}

CTimerQueue::CTimerQueue(TickSource ticks) : ticks_(ticks ? std::move(ticks) : TickSource(SteadyTickCount)) {}

CTimerQueue::~CTimerQueue()
{
    Clear();
    joinRetired();
}

bool CTimerQueue::AddMessage(const MessageTarget& window, uint32_t intervalMs, uint32_t message)
{
    auto entry = std::make_unique<TimerQueueEntry>();
    entry->target = window.targetId();
    entry->intervalMs = intervalMs;
    entry->parameter = message & 0xFFFF;
    return insertEntry(std::move(entry));
}

bool CTimerQueue::AddCallback(TimerCallbackFunction function, uint32_t intervalMs, uint32_t parameter)
{
    auto entry = std::make_unique<TimerQueueEntry>();
    entry->target = KeyOf(function);
    entry->intervalMs = intervalMs;
    entry->parameter = parameter;
    entry->flags = TimerQueueEntry::kCallback;
    return insertEntry(std::move(entry));
}

bool CTimerQueue::AddCallback(TimerQueueObject& object, uint32_t intervalMs)
{
    auto entry = std::make_unique<TimerQueueEntry>();
    entry->target = KeyOf(object);
    entry->intervalMs = intervalMs;
    entry->parameter = kObjectCallbackParameter;
    entry->flags = TimerQueueEntry::kCallback;
    return insertEntry(std::move(entry));
}

bool CTimerQueue::insertEntry(std::unique_ptr<TimerQueueEntry> entry)
{
    {
        QueueGuard guard(lock_);
        entry->dueTick = ticks_() + entry->intervalMs;
        if (!head_)
            startLocked(periodMs_);
        entry->next = std::move(head_);
        head_ = std::move(entry);
    }
    joinRetired();
    return true;
}

TimerQueueEntry* CTimerQueue::findLive(uint64_t target, bool callback) const
{
    for (TimerQueueEntry* e = head_.get(); e; e = e->next.get()) {
        bool isCallback = (e->flags & TimerQueueEntry::kCallback) != 0;
        if (e->target == target && isCallback == callback && !(e->flags & TimerQueueEntry::kRemoved))
            return e;
    }
    return nullptr;
}

void CTimerQueue::setInterval(uint64_t target, bool callback, uint32_t intervalMs)
{
    QueueGuard guard(lock_);
    if (TimerQueueEntry* e = findLive(target, callback))
        e->intervalMs = intervalMs;
}

void CTimerQueue::remove(uint64_t target, bool callback)
{
    QueueGuard guard(lock_);
    if (TimerQueueEntry* e = findLive(target, callback))
        e->flags |= TimerQueueEntry::kRemoved;
}

void CTimerQueue::SetMessageInterval(const MessageTarget& window, uint32_t intervalMs)
{
    setInterval(window.targetId(), false, intervalMs);
}

void CTimerQueue::SetCallbackInterval(TimerCallbackFunction function, uint32_t intervalMs)
{
    setInterval(KeyOf(function), true, intervalMs);
}

void CTimerQueue::SetCallbackInterval(TimerQueueObject& object, uint32_t intervalMs)
{
    setInterval(KeyOf(object), true, intervalMs);
}

void CTimerQueue::RemoveMessage(const MessageTarget& window)
{
    remove(window.targetId(), false);
}

void CTimerQueue::RemoveCallback(TimerCallbackFunction function)
{
    remove(KeyOf(function), true);
}

void CTimerQueue::RemoveCallback(TimerQueueObject& object)
{
    remove(KeyOf(object), true);
}

void CTimerQueue::Start(uint32_t periodMs)
{
    {
        QueueGuard guard(lock_);
        startLocked(periodMs);
    }
    joinRetired();
}

void CTimerQueue::Stop()
{
    {
        QueueGuard guard(lock_);
        stopLocked();
    }
    joinRetired();
}

void CTimerQueue::Clear()
{
    {
        QueueGuard guard(lock_);
        stopLocked();
        if (dispatching_) {
            // The pass that called us still walks the list: it frees everything when it ends.
            for (TimerQueueEntry* e = head_.get(); e; e = e->next.get())
                e->flags |= TimerQueueEntry::kRemoved;
            clearRequested_ = true;
        } else {
            freeAll();
        }
    }
    joinRetired();
}

void CTimerQueue::freeAll()
{
    // One by one, so a long list never recurses through the destructors.
    while (head_)
        head_ = std::move(head_->next);
}

void CTimerQueue::startLocked(uint32_t periodMs)
{
    if (control_ && periodMs == periodMs_)
        return;
    stopLocked();
    periodMs_ = std::max<uint32_t>(periodMs, 1);
    control_ = std::make_shared<WorkerControl>();
    worker_ = std::thread(&CTimerQueue::workerLoop, this, control_, periodMs_);
}

void CTimerQueue::stopLocked()
{
    if (!control_)
        return;
    {
        std::lock_guard lock(control_->mutex);
        control_->stop = true;
    }
    control_->wake.notify_all();
    control_.reset();
    std::lock_guard lock(retiredLock_);
    retired_.push_back(std::move(worker_));
}

void CTimerQueue::joinRetired()
{
    if (tlsQueueLockDepth > 0)
        return;
    std::vector<std::thread> done;
    {
        std::lock_guard lock(retiredLock_);
        auto self = std::this_thread::get_id();
        // A worker that stopped its own queue cannot join itself; the next caller joins it.
        auto own = std::stable_partition(retired_.begin(), retired_.end(),
                                         [self](const std::thread& t) { return t.get_id() == self; });
        std::move(own, retired_.end(), std::back_inserter(done));
        retired_.erase(own, retired_.end());
    }
    for (std::thread& t : done)
        if (t.joinable())
            t.join();
}

void CTimerQueue::workerLoop(std::shared_ptr<WorkerControl> control, uint32_t periodMs)
{
    using clock = std::chrono::steady_clock;
    const auto period = std::chrono::milliseconds(periodMs);
    auto next = clock::now() + period;
    for (;;) {
        {
            std::unique_lock lock(control->mutex);
            if (control->wake.wait_until(lock, next, [&] { return control->stop.load(); }))
                return;
        }
        // A worker that fell far behind (a suspended machine) resumes the beat from now.
        next = std::max(next + period, clock::now());
        QueueGuard guard(lock_);
        if (control->stop)
            return;
        DispatchDue(ticks_());
    }
}

void CTimerQueue::DispatchDue(uint32_t now)
{
    QueueGuard guard(lock_);
    ++dispatching_;
    std::unique_ptr<TimerQueueEntry>* link = &head_;
    while (*link) {
        TimerQueueEntry* entry = link->get();
        if (entry->flags & TimerQueueEntry::kRemoved) {
            *link = std::move(entry->next);
            continue;
        }
        if (IsDue(entry->dueTick, now)) {
            // From the old due tick, so the beat does not drift and a late entry catches up.
            entry->dueTick += entry->intervalMs;
            fire(*entry, now);
        }
        // Entries a callback added went in at the head, behind the walk.
        link = &entry->next;
    }
    --dispatching_;
    if (dispatching_ == 0 && clearRequested_) {
        clearRequested_ = false;
        freeAll();
    }
    if (!head_)
        stopLocked();
}

void CTimerQueue::fire(const TimerQueueEntry& entry, uint32_t now)
{
    if (!(entry.flags & TimerQueueEntry::kCallback)) {
        PostProgramMessageTo(entry.target, entry.parameter, now, 0);
        return;
    }
    if (entry.parameter == kObjectCallbackParameter) {
        reinterpret_cast<TimerQueueObject*>(uintptr_t(entry.target))->onTimerTick(now);
        return;
    }
    reinterpret_cast<TimerCallbackFunction>(uintptr_t(entry.target))(now, entry.parameter);
}

bool CTimerQueue::running() const
{
    QueueGuard guard(lock_);
    return control_ != nullptr;
}

uint32_t CTimerQueue::period() const
{
    QueueGuard guard(lock_);
    return periodMs_;
}

size_t CTimerQueue::entryCount() const
{
    QueueGuard guard(lock_);
    size_t n = 0;
    for (const TimerQueueEntry* e = head_.get(); e; e = e->next.get())
        ++n;
    return n;
}

CTimerQueue& TimerQueue()
{
    static CTimerQueue queue;
    return queue;
}

} // namespace qv
