// The readers-writer lock that guards the intraday store and the news database: readers share it,
// a writer holds it alone. Before Create (and after Destroy) every call returns at once.
#pragma once

#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <memory>
#include <mutex>

namespace qv {

// Readers do not wait for a waiting writer: a steady stream of readers can delay a writer. Neither
// side is re-entrant; a thread holding either use must not ask for the exclusive one.
class ReadersWriterLock {
public:
    // heldFlag, when given, is 1 while the exclusive use is held (the message pump reads it).
    void Create(uint8_t* heldFlag = nullptr);
    void Destroy();
    bool Exists() const { return state_ != nullptr; }

    void LockShared();
    void UnlockShared();
    void LockExclusive();
    void UnlockExclusive();

    int32_t Readers() const { return state_ ? state_->readers.load() : 0; }
    bool WriterHolds() const { return state_ && state_->writer; }

private:
    struct State {
        std::mutex mutex;
        std::condition_variable wake;
        std::atomic<int32_t> readers{0};
        bool writer = false;
    };
    std::unique_ptr<State> state_;
    uint8_t* heldFlag_ = nullptr;
};

// The two program-wide locks; CreateRTStoreObjects creates both.
ReadersWriterLock& IntradayStoreLock();
ReadersWriterLock& NewsLock();

inline void LockRTShared() { IntradayStoreLock().LockShared(); }
inline void UnlockRTShared() { IntradayStoreLock().UnlockShared(); }
inline void LockRTExclusive() { IntradayStoreLock().LockExclusive(); }
inline void UnlockRTExclusive() { IntradayStoreLock().UnlockExclusive(); }

// Holds one use of a lock for the life of a scope.
class SharedLockGuard {
public:
    explicit SharedLockGuard(ReadersWriterLock& lock) : lock_(lock) { lock_.LockShared(); }
    ~SharedLockGuard() { lock_.UnlockShared(); }
    SharedLockGuard(const SharedLockGuard&) = delete;
    SharedLockGuard& operator=(const SharedLockGuard&) = delete;

private:
    ReadersWriterLock& lock_;
};

class ExclusiveLockGuard {
public:
    explicit ExclusiveLockGuard(ReadersWriterLock& lock) : lock_(lock) { lock_.LockExclusive(); }
    ~ExclusiveLockGuard() { lock_.UnlockExclusive(); }
    ExclusiveLockGuard(const ExclusiveLockGuard&) = delete;
    ExclusiveLockGuard& operator=(const ExclusiveLockGuard&) = delete;

private:
    ReadersWriterLock& lock_;
};

} // namespace qv
