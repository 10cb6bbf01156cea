// The readers-writer lock: one mutex and one condition variable that every unlock signals.
#include "core/ReadersWriterLock.h"

namespace qv {

void ReadersWriterLock::Create(uint8_t* heldFlag)
{
    if (!state_)
        state_ = std::make_unique<State>();
    heldFlag_ = heldFlag;
}

void ReadersWriterLock::Destroy()
{
    state_.reset();
    if (heldFlag_)
        *heldFlag_ = 0;
    heldFlag_ = nullptr;
}

void ReadersWriterLock::LockShared()
{
    if (!state_)
        return;
    std::unique_lock lock(state_->mutex);
    state_->wake.wait(lock, [&] { return !state_->writer; });
    state_->readers.fetch_add(1);
}

void ReadersWriterLock::UnlockShared()
{
    if (!state_)
        return;
    {
        // Taken so that a writer testing the count cannot miss the wake-up.
        std::lock_guard lock(state_->mutex);
        state_->readers.fetch_sub(1);
    }
    state_->wake.notify_all();
}

void ReadersWriterLock::LockExclusive()
{
    if (!state_)
        return;
    std::unique_lock lock(state_->mutex);
    state_->wake.wait(lock, [&] { return state_->readers.load() < 1 && !state_->writer; });
    state_->writer = true;
    if (heldFlag_)
        *heldFlag_ = 1;
}

void ReadersWriterLock::UnlockExclusive()
{
    if (!state_)
        return;
    {
        std::lock_guard lock(state_->mutex);
        state_->writer = false;
        if (heldFlag_)
            *heldFlag_ = 0;
    }
    state_->wake.notify_all();
}

ReadersWriterLock& IntradayStoreLock()
{
    static ReadersWriterLock lock;
    return lock;
}

ReadersWriterLock& NewsLock()
{
    static ReadersWriterLock lock;
    return lock;
}

} // namespace qv
