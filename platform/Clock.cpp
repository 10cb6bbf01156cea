// The local clock, replaceable for tests.
#include "platform/Clock.h"

#include <chrono>
#include <ctime>
#include <mutex>

namespace qv {
namespace {

std::mutex clockMutex;
ClockSource& Source()
{
    static ClockSource source;
    return source;
}

LocalDateTime SystemNow()
{
    using namespace std::chrono;
    auto now = system_clock::now();
    std::time_t t = system_clock::to_time_t(now);
    std::tm tm {};
    localtime_r(&t, &tm);
    int ms = int(duration_cast<milliseconds>(now.time_since_epoch()).count() % 1000);
    return LocalDateTime{tm.tm_year + 1900, tm.tm_mon + 1, tm.tm_mday, tm.tm_hour,
                         tm.tm_min,         tm.tm_sec,     ms,         tm.tm_wday};
}

} // namespace

LocalDateTime NowLocal()
{
    ClockSource source;
    {
        std::lock_guard lock(clockMutex);
        source = Source();
    }
    return source ? source() : SystemNow();
}

ClockSource SetClockSource(ClockSource source)
{
    std::lock_guard lock(clockMutex);
    ClockSource previous = std::move(Source());
    Source() = std::move(source);
    return previous;
}

FixedClock::FixedClock(LocalDateTime now)
    : now_(now), previous_(SetClockSource([this] { return now_; }))
{
}

FixedClock::~FixedClock() { SetClockSource(std::move(previous_)); }

} // namespace qv
