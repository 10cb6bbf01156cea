// Reading today's date. The clock is accepted over the whole packed range, so a machine in 2026 or
// 2027 is not taken for a broken clock.
#include "core/SystemDate.h"

#include "core/Database.h"
#include "platform/Clock.h"
#include "platform/MessageBox.h"

#include <atomic>

namespace qv {
namespace {

constexpr int kFirstClockYear = 1990;
constexpr int kLastClockYear = 2027;

std::atomic<bool> clockWarningShown{false};

PackedDate Pack(const ClockReading& r)
{
    return MakePackedDate(r.day0, r.month0, r.year0);
}

} // namespace

void ResetClockWarning()
{
    clockWarningShown = false;
}

bool ReadSystemClock(ClockReading& out)
{
    out = ClockReading{};
    LocalDateTime now = NowLocal();
    if (now.year >= kFirstClockYear && now.year <= kLastClockYear) {
        out.year0 = now.year - 1900;
        out.month0 = now.month - 1;
        out.day0 = now.day - 1;
        out.hour = now.hour;
        out.minute = now.minute;
        out.second = now.second;
        return true;
    }
    if (!clockWarningShown.exchange(true))
        ShowMessage("Unable to read the system clock\n\nThe year may be out of range", {}, MsgButtons::Ok,
                    MsgIcon::Exclamation);
    PackedDate latest = LatestDatabaseDate;
    out.year0 = YearField(latest);
    out.month0 = MonthField(latest);
    out.day0 = DayField(latest);
    return false;
}

PackedDate GetTodayDate(int n)
{
    ClockReading now;
    ReadSystemClock(now);
    // Counting back by day numbers rolls the month and year as the calendar does.
    return DayNumberToDate(DateToDayNumber(Pack(now)) - n);
}

PackedDate GetLatestTradingDate(int mode)
{
    if (mode != 0 && mode != 1)
        return 0;
    PackedDate today = GetTodayDate(0);
    bool firstHalf = MonthField(today) < 6;
    int y = YearField(today) - (firstHalf ? 1 : 0);
    if (y < 0)
        y = 0;
    if (mode == 0)
        return NextWeekday(MakePackedDate(0, 0, y));
    PackedDate end = firstHalf ? MakePackedDate(30, 11, y) : MakePackedDate(29, 5, y);
    if (WeekdayOf(end) > 4)
        end = PreviousWeekday(end, true);
    return end;
}

PackedDate PackedDateFromTime(std::time_t time)
{
    std::tm tm{};
    if (!localtime_r(&time, &tm))
        return kBadClockDate;
    if (tm.tm_year < 0 || tm.tm_year > YearField(kLastPackedDate))
        return kBadClockDate;
    return MakePackedDate(tm.tm_mday - 1, tm.tm_mon, tm.tm_year);
}

uint32_t SecondsOfDayFromTime(std::time_t time)
{
    std::tm tm{};
    if (!localtime_r(&time, &tm))
        return 65535;
    return uint32_t(tm.tm_hour * 3600 + tm.tm_min * 60 + tm.tm_sec);
}

} // namespace qv
