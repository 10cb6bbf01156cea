// Today's date and the time of day, through one source that tests can replace.
#pragma once

#include <functional>

namespace qv {

struct LocalDateTime {
    int year = 0;
    int month = 0; // 1-12
    int day = 0;   // 1-31
    int hour = 0;
    int minute = 0;
    int second = 0;
    int millisecond = 0;
    int dayOfWeek = 0; // 0 Sunday .. 6 Saturday, as the platform's clock reports it
};

using ClockSource = std::function<LocalDateTime()>;

LocalDateTime NowLocal();
// Replaces the clock (empty restores the system clock); returns the previous source.
ClockSource SetClockSource(ClockSource source);

// Sets a fixed "now" for the life of the object.
class FixedClock {
public:
    explicit FixedClock(LocalDateTime now);
    ~FixedClock();
    void set(LocalDateTime now) { now_ = now; }
    FixedClock(const FixedClock&) = delete;
    FixedClock& operator=(const FixedClock&) = delete;

private:
    LocalDateTime now_;
    ClockSource previous_;
};

} // namespace qv
