// The table lock: a 16-bit busy flag per shared table gives one thread at a time the use of it.
#pragma once

#include <cstdint>

namespace qv {

// Makes the lock ready; start-up calls it before any table is used. Calling it again is harmless.
void CreateDataLock();
// The last step of exit; afterwards no thread may wait on a flag.
void CloseDataLock();

// Returns when the caller owns the flag (0 = free). Not re-entrant: taking a flag the caller
// already holds waits for ever. Waits have no time limit.
void LockTable(uint16_t* flag);
// Releases the flag (releasing a free flag leaves it free) and wakes every waiter, whatever its table.
void UnlockTable(uint16_t* flag);
// True while someone holds the flag; a hint only, the answer may be stale at once.
bool IsTableLocked(const uint16_t* flag);

// Holds a flag for the life of a scope.
class TableLockGuard {
public:
    explicit TableLockGuard(uint16_t* flag) : flag_(flag) { LockTable(flag_); }
    ~TableLockGuard() { UnlockTable(flag_); }
    TableLockGuard(const TableLockGuard&) = delete;
    TableLockGuard& operator=(const TableLockGuard&) = delete;

private:
    uint16_t* flag_;
};

} // namespace qv
