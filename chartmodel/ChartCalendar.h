// The charts' calendar: a tree of time units (a ring of four years from 2000, months, days, hours,
// minutes, seconds) through which dates become seconds from the start of 2000 and back into packed
// date-times, the tick path of an axis step, and the small date routines the charts share (the
// two-digit year window, the sorted list of intraday days and the window of days shown).
#pragma once

#include "core/PackedDate.h"

#include <cstdint>
#include <span>
#include <vector>

namespace qv {

// A unit of the tree: its size in seconds, its children (one node repeated for days, hours, minutes
// and seconds), and the bit position of its field in a packed date-time.
struct TimeUnit {
    uint32_t size = 0;
    int position = 0;
    std::vector<const TimeUnit*> children;
};

// The ring of four years, starting with the leap year; built once and never freed.
const std::vector<const TimeUnit*>& BuildTimeUnitTree();
// The calendar's root, as BuildCalendar left it.
const std::vector<const TimeUnit*>& BuildCalendar();
// A node without children counts its own size; one whose children are a single repeated node counts
// that child's count times their number; otherwise the sum over its children.
uint64_t CountTreeLeaves(const TimeUnit& node);

// Packed date-time: second 0-5, minute 6-11, hour 12-16, day - 1 17-21, month - 1 22-25, years
// since 2000 26-31. Packed time: hour << 12 | minute << 6 | second.
constexpr uint32_t PackDateTimeFields(int yearsSince2000, int month0, int day0, int hour, int minute, int second)
{
    return uint32_t(second) | uint32_t(minute) << 6 | uint32_t(hour) << 12 | uint32_t(day0) << 17 |
           uint32_t(month0) << 22 | uint32_t(yearsSince2000) << 26;
}

// Seconds from 1 January 2000 to the start of the date; a date before 2000 gives its month and day's
// place within 2000.
uint32_t DateToCalendarIndex(PackedDate date);
uint32_t DateToDayIndex(PackedDate date);
// The packed date-time of a moment given in seconds from 1 January 2000.
uint32_t CalendarIndexToFields(uint32_t seconds);

// The tick unit for a largest step: the first unit not above the limit, times a multiple of it taken
// from the units in its parent and divided by its smallest divisors until it fits (at least 1).
struct TickPath {
    std::vector<const TimeUnit*> levels; // from the year down to the tick unit
    uint32_t multiple = 1;
    uint32_t Step() const { return levels.empty() ? 0 : levels.back()->size * multiple; }
};
TickPath MakeTickPath(uint32_t limit);

// Years since 1900 through a two-digit window: 1960-2059 come out as 60-159, and 1900-1959 as 100-159.
int YearFromTwoDigits(PackedDate date);
// The days of the intraday store's table, ascending, each once.
std::vector<PackedDate> BuildSortedDayList(std::span<const PackedDate> table);
// The window of w days shown: from the first day not before the target (a target of 0, or the last
// day, shows the last w days); the start is limited to the last day.
struct DayWindow {
    size_t start = 0, count = 0;
    bool operator==(const DayWindow&) const = default;
};
DayWindow SelectDayWindow(std::span<const PackedDate> days, size_t w, PackedDate target);

} // namespace qv
