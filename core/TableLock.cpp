// Table lock on one mutex and one condition variable. Every flag is tested and changed under the
// mutex, so a release can never slip between a waiter's test and its wait (no lost wake-up).
#include "core/TableLock.h"

#include <atomic>
#include <condition_variable>
#include <mutex>

namespace qv {
namespace {

struct DataLock {
    std::mutex mutex;
    std::condition_variable released;
};

DataLock& Lock()
{
    static DataLock lock;
    return lock;
}

// Flags live in plain program variables; atomic access lets IsTableLocked read them from any thread.
uint16_t Load(const uint16_t* flag)
{
    return std::atomic_ref<uint16_t>(*const_cast<uint16_t*>(flag)).load(std::memory_order_relaxed);
}

void Store(uint16_t* flag, uint16_t value)
{
    std::atomic_ref<uint16_t>(*flag).store(value, std::memory_order_relaxed);
}

} // namespace

void CreateDataLock() { Lock(); }

void CloseDataLock() {}

void LockTable(uint16_t* flag)
{
    DataLock& lock = Lock();
    std::unique_lock hold(lock.mutex);
    lock.released.wait(hold, [flag] { return Load(flag) == 0; });
    Store(flag, 1);
}

void UnlockTable(uint16_t* flag)
{
    DataLock& lock = Lock();
    {
        std::lock_guard hold(lock.mutex);
        Store(flag, 0);
    }
    lock.released.notify_all();
}

bool IsTableLocked(const uint16_t* flag) { return Load(flag) != 0; }

} // namespace qv
