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

    enum class Claim {
        Claimed,
        Held,   // another holder (any process) has it
        Failed, // no lock file could be made or locked: whether another copy runs is not known
    };
    Claim claim(const std::string& name);
    // Claims the lock of this name; false when another holder has it or it cannot be claimed.
    bool acquire(const std::string& name) { return claim(name) == Claim::Claimed; }
    void release();
    bool held() const { return fd_ >= 0; }

private:
    int fd_ = -1;
};

} // namespace qv
