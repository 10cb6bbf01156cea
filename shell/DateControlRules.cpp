// The calendar's rules: every step keeps the date inside 1960-2027.
#include "shell/DateControlRules.h"

#include "core/DateText.h"
#include "core/StringPrintf.h"

#include <algorithm>

namespace qv {
namespace {

constexpr int kMonthTable[13] = {31, 31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};

// Entry m of the table: the length of the month before month m.
int TableLength(int entry, int year)
{
    return kMonthTable[entry] + (entry == 2 && year % 4 == 0 ? 1 : 0);
}

int MonthLengthOf(const CalendarState& state) { return CalendarMonthLength(state.month, state.year); }

void MonthBack(CalendarState& state)
{
    if (--state.month < 0) {
        state.month = 11;
        --state.year;
    }
}

void MonthForward(CalendarState& state)
{
    if (++state.month > 11) {
        state.month = 0;
        ++state.year;
    }
}

void Floor(CalendarState& state)
{
    if (state.year >= kCalendarFirstYear)
        return;
    state.year = kCalendarFirstYear;
    state.month = 0;
    state.day = 0;
}

void Ceiling(CalendarState& state)
{
    if (state.year <= kCalendarLastYear)
        return;
    state.year = kCalendarLastYear;
    state.month = 11;
    state.day = 30;
}

void StepLeft(CalendarState& state)
{
    switch (state.page) {
    case CalendarDays:
        if (--state.day < 0) {
            MonthBack(state);
            state.day = MonthLengthOf(state) - 1;
        }
        break;
    case CalendarMonths: MonthBack(state); break;
    default: --state.year; break;
    }
    Floor(state);
}

void StepRight(CalendarState& state)
{
    switch (state.page) {
    case CalendarDays:
        if (++state.day >= MonthLengthOf(state)) {
            state.day = 0;
            MonthForward(state);
        }
        break;
    case CalendarMonths: MonthForward(state); break;
    default: ++state.year; break;
    }
    Ceiling(state);
}

void StepUp(CalendarState& state)
{
    switch (state.page) {
    case CalendarDays:
        state.day -= 7;
        if (state.day < 0) {
            MonthBack(state);
            state.day += MonthLengthOf(state);
        }
        break;
    case CalendarMonths:
        state.month -= 3;
        if (state.month < 0) {
            state.month += 12;
            --state.year;
        }
        break;
    default:
        if (state.year >= kCalendarFirstYear + 4)
            state.year -= 4;
        break;
    }
    Floor(state);
}

void StepDown(CalendarState& state)
{
    switch (state.page) {
    case CalendarDays: {
        int length = MonthLengthOf(state);
        state.day += 7;
        if (state.day >= length) {
            state.day -= length;
            MonthForward(state);
        }
        break;
    }
    case CalendarMonths:
        state.month += 3;
        if (state.month > 11) {
            state.month -= 12;
            ++state.year;
        }
        break;
    default:
        if (state.year <= kCalendarLastYear - 4)
            state.year += 4;
        break;
    }
    Ceiling(state);
}

} // namespace

CalendarGrid GridOf(int page)
{
    switch (page) {
    case CalendarDays: return {18, 50, 23, 18, kCalendarWidth / 23, 6};
    case CalendarMonths: return {31, 44, 54, 26, kCalendarWidth / 54, 4};
    default: return {24, 37, 42, 20, kCalendarWidth / 42, 6};
    }
}

CalendarFrame ItemFrame(int page, int index)
{
    CalendarGrid grid = GridOf(page);
    int width = 3 * grid.width / 4;
    return {(index % grid.columns) * grid.width - width / 2 + grid.x0 - 1,
            (index / grid.columns) * grid.height + grid.y0 - 1, width, 15};
}

int CalendarMonthLength(int month0, int year) { return TableLength(month0 + 1, year); }

CalendarState OpenCalendar(PackedDate date)
{
    CalendarState state;
    state.year = (date >> 9) + 1900;
    if (state.year < kCalendarFirstYear || state.year > kCalendarLastYear)
        state.year = kCalendarFallbackYear;
    state.month = std::min(MonthField(date), 11);
    state.day = std::min(DayField(date), MonthLengthOf(state) - 1);
    SyncYearPage(state);
    return state;
}

int LeadIn(const CalendarState& state)
{
    int weekday = WeekdayOf(PackDate(1, state.month + 1, state.year));
    return weekday == 0 ? 7 : weekday;
}

DayCell DayCellOf(const CalendarState& state, int index)
{
    int n = index - LeadIn(state);
    if (n < 0)
        return {TableLength(state.month, state.year) + n + 1, CellMonth::Previous};
    int length = MonthLengthOf(state);
    if (n < length)
        return {n + 1, CellMonth::Shown};
    return {n - length + 1, CellMonth::Next};
}

int MarkedCell(const CalendarState& state)
{
    switch (state.page) {
    case CalendarDays: return LeadIn(state) + state.day;
    case CalendarMonths: return state.month;
    default: return state.year - state.firstYear;
    }
}

void SyncYearPage(CalendarState& state)
{
    if (state.year >= state.firstYear + 4 && state.year <= state.firstYear + 20)
        return;
    state.firstYear = std::max((state.year - 17) / 4 * 4, kCalendarFirstYear);
    if (state.firstYear + 23 > kCalendarLastYear)
        state.firstYear = kCalendarLastYearPage;
}

int CalendarHitTest(int page, int x, int y)
{
    if (y >= 34) {
        CalendarGrid grid = GridOf(page);
        if (y < grid.y0 || x < 0)
            return 0;
        int column = x / grid.width;
        int row = (y - grid.y0) / grid.height;
        if (column >= grid.columns || row >= grid.rows)
            return 0;
        return row * grid.columns + column + 1;
    }
    if (y < 7 || y >= 23)
        return 0;
    if (x > 5 && x < 29)
        return kCalendarPrevious;
    if (x > 144 && x < 168)
        return kCalendarNext;
    if (x >= 42 && x < 133)
        return kCalendarTitle;
    return 0;
}

void StepBack(CalendarState& state)
{
    switch (state.page) {
    case CalendarDays:
        if (state.month > 0 || state.year > kCalendarFirstYear)
            MonthBack(state);
        break;
    case CalendarMonths: state.year = std::max(state.year - 1, kCalendarFirstYear); break;
    default: state.year = std::max(state.year - 12, kCalendarFirstYear); break;
    }
}

void StepForward(CalendarState& state)
{
    switch (state.page) {
    case CalendarDays:
        if (state.month < 11 || state.year < kCalendarLastYear)
            MonthForward(state);
        break;
    case CalendarMonths: state.year = std::min(state.year + 1, kCalendarLastYear); break;
    default: state.year = std::min(state.year + 12, kCalendarLastYear); break;
    }
}

bool ApplyCalendarKey(CalendarState& state, CalendarKey key)
{
    switch (key) {
    case CalendarKey::Left: StepLeft(state); return true;
    case CalendarKey::Right: StepRight(state); return true;
    case CalendarKey::Up: StepUp(state); return true;
    case CalendarKey::Down: StepDown(state); return true;
    case CalendarKey::PageUp: StepBack(state); return true;
    case CalendarKey::PageDown: StepForward(state); return true;
    case CalendarKey::Return:
    case CalendarKey::Escape: state.close = true; return false;
    }
    return false;
}

bool ApplyCalendarRelease(CalendarState& state, int pressed, int hit)
{
    if (hit != pressed || hit == 0)
        return true;
    switch (hit) {
    case kCalendarPrevious: StepBack(state); return true;
    case kCalendarNext: StepForward(state); return true;
    case kCalendarTitle: state.page = (state.page + 1) % 3; return true;
    default: break;
    }
    int index = hit - 1;
    switch (state.page) {
    case CalendarDays: {
        DayCell cell = DayCellOf(state, index);
        if (cell.month != CellMonth::Shown)
            return false;
        state.day = cell.day - 1;
        state.close = true;
        return true;
    }
    case CalendarMonths:
        if (index >= 12)
            return false;
        state.month = index;
        state.page = CalendarDays;
        return true;
    default:
        if (index >= 24)
            return false;
        state.year = state.firstYear + index;
        state.page = CalendarMonths;
        return true;
    }
}

PackedDate SettleCalendar(CalendarState& state)
{
    state.day = std::min(state.day, MonthLengthOf(state) - 1);
    SyncYearPage(state);
    return MakePackedDate(state.day, state.month, state.year - 1900);
}

std::string CalendarTitle(const CalendarState& state)
{
    switch (state.page) {
    case CalendarDays: return StringPrintf("%s %i", std::string(GetMonthName(state.month)).c_str(), state.year);
    case CalendarMonths: return StringPrintf("%i", state.year);
    default: return StringPrintf("%i - %i", state.firstYear, state.firstYear + 23);
    }
}

bool DateFieldAccepts(int mode, std::string_view text, char c)
{
    if ((c >= '0' && c <= '9') || c == 8)
        return true;
    if (mode == 0)
        return c == '/';
    return c == '.' && (text == "0.00" || text.find('.') == std::string_view::npos);
}

} // namespace qv
