// The calendar's tree of time units and the date routines on it.
#include "chartmodel/ChartCalendar.h"

#include <algorithm>
#include <array>

namespace qv {
namespace {

constexpr uint32_t kDay = 86400;
constexpr std::array<int, 12> kMonthDays{31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};

struct Tree {
    TimeUnit second{1, 0, {}};
    TimeUnit minute{60, 6, {}};
    TimeUnit hour{3600, 12, {}};
    TimeUnit day{kDay, 17, {}};
    std::array<TimeUnit, 12> months{};
    TimeUnit leapFebruary{29 * kDay, 22, {}};
    TimeUnit commonYear{365 * kDay, 26, {}};
    TimeUnit leapYear{366 * kDay, 26, {}};
    std::vector<const TimeUnit*> ring;

    Tree()
    {
        minute.children.assign(60, &second);
        hour.children.assign(60, &minute);
        day.children.assign(24, &hour);
        for (size_t m = 0; m < 12; ++m) {
            months[m] = TimeUnit{uint32_t(kMonthDays[m]) * kDay, 22, std::vector<const TimeUnit*>(size_t(kMonthDays[m]), &day)};
            commonYear.children.push_back(&months[m]);
            leapYear.children.push_back(m == 1 ? &leapFebruary : &months[m]);
        }
        leapFebruary.children.assign(29, &day);
        ring = {&leapYear, &commonYear, &commonYear, &commonYear};
    }
};

const Tree& TheTree()
{
    static const Tree tree;
    return tree;
}

uint32_t SmallestDivisor(uint32_t n)
{
    for (uint32_t d = 2; d * d <= n; ++d)
        if (n % d == 0)
            return d;
    return n;
}

} // namespace

const std::vector<const TimeUnit*>& BuildTimeUnitTree() { return TheTree().ring; }

const std::vector<const TimeUnit*>& BuildCalendar() { return BuildTimeUnitTree(); }

uint64_t CountTreeLeaves(const TimeUnit& node)
{
    if (node.children.empty())
        return node.size;
    const bool repeated = std::all_of(node.children.begin(), node.children.end(),
                                      [&](const TimeUnit* c) { return c == node.children.front(); });
    if (repeated)
        return CountTreeLeaves(*node.children.front()) * node.children.size();
    uint64_t total = 0;
    for (const TimeUnit* c : node.children)
        total += CountTreeLeaves(*c);
    return total;
}

uint32_t DateToCalendarIndex(PackedDate date)
{
    const auto& ring = BuildCalendar();
    const int years = std::max(int(date >> 9) - 100, 0);
    const size_t month0 = std::min<size_t>((date >> 5) & 15, 11);
    const uint32_t day0 = date & 31;
    uint32_t seconds = 0;
    for (int y = 0; y < years; ++y)
        seconds += ring[size_t(y) % ring.size()]->size;
    const TimeUnit& year = *ring[size_t(years) % ring.size()];
    for (size_t m = 0; m < month0; ++m)
        seconds += year.children[m]->size;
    return seconds + day0 * kDay;
}

uint32_t DateToDayIndex(PackedDate date) { return DateToCalendarIndex(date); }

uint32_t CalendarIndexToFields(uint32_t seconds)
{
    const auto& ring = BuildCalendar();
    uint64_t t = 0;
    uint32_t k = 0;
    while (t + ring[k % ring.size()]->size <= seconds && k < 63) {
        t += ring[k % ring.size()]->size;
        ++k;
    }
    const TimeUnit* node = ring[k % ring.size()];
    uint32_t fields = k << node->position;
    while (!node->children.empty()) {
        const TimeUnit* next = nullptr;
        k = 0;
        for (const TimeUnit* child : node->children) {
            if (t + child->size > seconds) {
                next = child;
                break;
            }
            t += child->size;
            ++k;
        }
        if (!next)
            break;
        fields |= k << next->position;
        node = next;
    }
    return fields;
}

TickPath MakeTickPath(uint32_t limit)
{
    TickPath path;
    if (limit < 1)
        return path;
    const TimeUnit* node = BuildCalendar().front();
    const TimeUnit* parent = nullptr;
    path.levels.push_back(node);
    while (node->size > limit && !node->children.empty()) {
        parent = node;
        node = node->children.front();
        path.levels.push_back(node);
    }
    uint32_t m = parent ? uint32_t(parent->children.size()) : 1;
    while (m > 1 && uint64_t(node->size) * m > limit)
        m /= SmallestDivisor(m);
    path.multiple = std::max<uint32_t>(m, 1);
    return path;
}

int YearFromTwoDigits(PackedDate date)
{
    int year = date >> 9;
    if (year >= 100)
        year -= 100;
    return year < 60 ? year + 100 : year;
}

std::vector<PackedDate> BuildSortedDayList(std::span<const PackedDate> table)
{
    std::vector<PackedDate> days;
    days.reserve(table.size());
    for (PackedDate d : table) {
        if (d == 0)
            continue;
        auto at = std::lower_bound(days.begin(), days.end(), d);
        if (at == days.end() || *at != d)
            days.insert(at, d);
    }
    return days;
}

DayWindow SelectDayWindow(std::span<const PackedDate> days, size_t w, PackedDate target)
{
    const size_t n = days.size();
    if (n == 0)
        return {};
    size_t start = 0;
    if (target != 0 && target != days.back())
        start = size_t(std::lower_bound(days.begin(), days.end(), target) - days.begin());
    else
        start = n > w ? n - w : 0;
    start = std::min(start, n - 1);
    return {start, std::min(start + w, n) - start};
}

} // namespace qv
