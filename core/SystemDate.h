// Today's date from the system clock, local-time conversions and the half-year report boundaries.
#pragma once

#include "core/PackedDate.h"

#include <cstdint>
#include <ctime>

namespace qv {

// The clock as the date routines see it: every field 0-based where the calendar allows.
struct ClockReading {
    int second = 0;
    int minute = 0;
    int hour = 0;
    int day0 = 0;   // day of month - 1
    int month0 = 0; // month - 1
    int year0 = 0;  // year - 1900
};

// Fills `out` from the local clock and returns true for a year of 1990-2027. Otherwise warns once per
// run, fills the date from the database's latest date (0 before a load) and returns false.
bool ReadSystemClock(ClockReading& out);
// Lets the clock warning show again (for tests; the program never clears it).
void ResetClockWarning();

// Today's date less n days.
PackedDate GetTodayDate(int n);
// Mode 0: the first weekday after 1 January of the last complete half-year's year; mode 1: that
// half-year's last trading day (31 December or 30 June, weekends and holidays stepped back over).
// Any other mode gives 0.
PackedDate GetLatestTradingDate(int mode);

// The local date of a calendar time; kBadClockDate when it cannot be converted or packed.
PackedDate PackedDateFromTime(std::time_t time);
// Seconds since local midnight of a calendar time; 65535 when it cannot be converted.
uint32_t SecondsOfDayFromTime(std::time_t time);

} // namespace qv
