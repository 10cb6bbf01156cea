// The percentage-move alarm of the end-of-day alarms: a close compared with the close n days (or
// weeks) before, or with the extreme in between, and the text that tells the move.
#pragma once

#include "portfolio/AlarmPortfolios.h"

#include <span>
#include <string>

namespace qv {

// The period type of weekly price records: n days become (n - 1) / 5 + 1 weeks.
constexpr int kWeeklyPeriodType = 14;

struct MoveAlarmText {
    std::string prefix; // "In" or "De"
    std::string text;   // "crease 12.5% in 3 day"
    std::string plural; // "s" when the count is above 1
    std::string joined() const { return prefix + text + plural; }
};

struct MoveAlarmRow {
    bool on = false;
    int days = 0;        // n
    float percent = 0;   // the threshold, above 0
    bool rise = true;
};

// True when the close of record `current` (price `price`) has risen (or fallen) by the row's
// percentage over its n records: the reference is the close n records back (all there are when
// fewer), or with `intermediate` the lowest close (rises) or the highest (falls) of the records in
// between, n then counting from it. A move equal to the percentage triggers; a reference of 0 or below
// triggers nothing. The text is written
// when the row triggers and `out` is given.
bool CheckMoveAlarm(std::span<const AlarmDay> days, const MoveAlarmRow& row, int current, float price, int periodType,
                    bool intermediate, MoveAlarmText* out = nullptr);

} // namespace qv
