// A named lock that a second running copy of the program detects.
#pragma once

#include <string>

namespace qv {

class SingleInstanceLock {
public:
    SingleInstanceLock() = default;
    ~SingleInstanceLock();
    SingleInstanceLock(const SingleInstanceLock&) = delete;
    SingleInstanceLock& operator=(const SingleInstanceLock&) = delete;

    // Claims the lock of this name; false when another holder (any process) has it.
    bool acquire(const std::string& name);
    void release();
    bool held() const { return fd_ >= 0; }

private:
    int fd_ = -1;
};

} // namespace qv
