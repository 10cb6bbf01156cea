// The intraday time axis's labels, which print only the parts of a time that changed since the
// previous label, and its tick step from a table of intervals.
#pragma once

#include <cstdint>
#include <span>
#include <string>

namespace qv {

// Flags: 0x400/0x800/0x1000 always print the year, month or day, 0x2000/0x4000/0x8000 the hour,
// minute or second; 0x200 never prints the seconds; bit 0 keeps a changed minute of 0 unprinted.
enum TickLabelFlags : uint32_t {
    kTickKeepZeroMinute = 0x1,
    kTickNoSeconds = 0x200,
    kTickYear = 0x400,
    kTickMonth = 0x800,
    kTickDay = 0x1000,
    kTickHour = 0x2000,
    kTickMinute = 0x4000,
    kTickSecond = 0x8000,
};

// A packed date-time's label (chartmodel/ChartCalendar.h gives the layout); the code is that of the
// last part printed: -3 day, -2 month, -1 year, -4 hour, -5 minute, -6 second, 0 when that part's
// field is 0.
int FormatDateTimeTick(std::string& text, uint32_t value, uint32_t previous, uint32_t flags);
// A packed time's label (hour << 12 | minute << 6 | second); -3 when non-zero seconds were printed.
int FormatTimeTick(std::string& text, uint32_t value, uint32_t previous, uint32_t flags);
// "%d/%d/%02d" of a packed date-time's date; false and no text when the date equals the previous one.
bool FormatDateTick(std::string& text, uint32_t value, uint32_t previous);

// An interval of the tick table (largest first): its size in seconds and its multiple.
struct TickInterval {
    uint32_t size = 0;
    uint32_t multiple = 0;
};
// The intraday axis's table: days, hours, minutes and seconds.
std::span<const TickInterval> IntradayTickTable();
// The smallest multiple of the first interval not above the limit that still exceeds it; 0 for a
// limit of 0, or one not below the first interval's size.
uint32_t GetTickStep(std::span<const TickInterval> table, uint32_t limit);

} // namespace qv
