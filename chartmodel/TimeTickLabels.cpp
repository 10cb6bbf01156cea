// The time axis's labels and tick step.
#include "chartmodel/TimeTickLabels.h"

#include "core/StringPrintf.h"

#include <array>

namespace qv {
namespace {

struct Fields {
    uint32_t second, minute, hour, day, month, year;
};

Fields DateTimeFields(uint32_t v)
{
    return {v & 63, (v >> 6) & 63, (v >> 12) & 31, (v >> 17) & 31, (v >> 22) & 15, v >> 26};
}

// The hour, minute and second parts both label kinds share; the code of the last part printed.
int AppendClock(std::string& text, const Fields& v, const Fields& p, uint32_t flags, int code, bool& secondsPrinted)
{
    if ((flags & kTickHour) || v.hour != p.hour) {
        text += StringPrintf("%d", int(v.hour));
        code = v.hour ? -4 : 0;
    }
    const bool minuteChanged = v.minute != p.minute;
    if ((flags & kTickMinute) || (minuteChanged && (v.minute != 0 || !(flags & kTickKeepZeroMinute)))) {
        text += StringPrintf(":%02d", int(v.minute));
        code = v.minute ? -5 : 0;
    }
    const bool second = (flags & kTickSecond) || (!(flags & kTickNoSeconds) && v.second != p.second &&
                                                  !(minuteChanged && !(flags & kTickMinute)));
    secondsPrinted = second;
    if (second) {
        text += StringPrintf(".%02d", int(v.second));
        code = v.second ? -6 : 0;
    }
    return code;
}

constexpr std::array<TickInterval, 4> kIntradayTable{{{86400, 10}, {3600, 24}, {60, 60}, {1, 60}}};

} // namespace

int FormatDateTimeTick(std::string& text, uint32_t value, uint32_t previous, uint32_t flags)
{
    text.clear();
    const Fields v = DateTimeFields(value), p = DateTimeFields(previous);
    int code = 0;
    if ((flags & kTickDay) || v.day != p.day) {
        text += StringPrintf("%02d", int(v.day + 1));
        code = -3;
    }
    if ((flags & kTickMonth) || v.month != p.month) {
        text += StringPrintf("/%02d", int(v.month + 1));
        code = v.month ? -2 : 0;
    }
    if ((flags & kTickYear) || v.year != p.year) {
        text += StringPrintf("/%02d", int(v.year % 100));
        code = v.year ? -1 : 0;
    }
    if (!text.empty())
        text += ' ';
    bool seconds = false;
    return AppendClock(text, v, p, flags, code, seconds);
}

int FormatTimeTick(std::string& text, uint32_t value, uint32_t previous, uint32_t flags)
{
    text.clear();
    const Fields v{value & 63, (value >> 6) & 63, (value >> 12) & 31, 0, 0, 0};
    const Fields p{previous & 63, (previous >> 6) & 63, (previous >> 12) & 31, 0, 0, 0};
    bool seconds = false;
    AppendClock(text, v, p, flags, 0, seconds);
    return seconds && v.second ? -3 : 0;
}

bool FormatDateTick(std::string& text, uint32_t value, uint32_t previous)
{
    const Fields v = DateTimeFields(value), p = DateTimeFields(previous);
    if (v.day == p.day && v.month == p.month && v.year == p.year) {
        text.clear();
        return false;
    }
    text = StringPrintf("%d/%d/%02d", int(v.day + 1), int(v.month + 1), int(v.year % 100));
    return true;
}

std::span<const TickInterval> IntradayTickTable() { return kIntradayTable; }

uint32_t GetTickStep(std::span<const TickInterval> table, uint32_t limit)
{
    if (limit == 0)
        return 0;
    uint32_t m = 0;
    size_t i = 0;
    while (i < table.size() && table[i].size > limit)
        m = table[i++].multiple;
    if (i == table.size())
        return 0;
    const uint32_t s = table[i].size;
    uint32_t last = 0;
    while (m > 0 && uint64_t(s) * m > limit) {
        last = m;
        if (m == 1)
            break;
        uint32_t d = 2;
        while (m % d)
            ++d;
        m /= d;
    }
    return s * last;
}

} // namespace qv
