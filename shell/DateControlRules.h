// The pop-up calendar of the date field: its pages, grid geometry, hit test, keys, header buttons and
// the date it settles on; and the characters the date and calculator edit parts let through.
#pragma once

#include "core/PackedDate.h"

#include <string>
#include <string_view>

namespace qv {

inline constexpr int kCalendarFirstYear = 1960;
inline constexpr int kCalendarLastYear = 2027;
// A date outside the calendar's years opens here.
inline constexpr int kCalendarFallbackYear = 1998;
// The last year page that still ends inside the calendar's years.
inline constexpr int kCalendarLastYearPage = 2004;

enum CalendarPage : int { CalendarDays = 0, CalendarMonths = 1, CalendarYears = 2 };

// Hit-test results for the three header buttons; cells are counted from 1, 0 is nothing.
inline constexpr int kCalendarPrevious = 32768;
inline constexpr int kCalendarNext = 32769;
inline constexpr int kCalendarTitle = 32770;

// The pop-up window and its header buttons, in client pixels.
inline constexpr int kCalendarWidth = 180;
inline constexpr int kCalendarHeight = 167;
struct CalendarBox {
    int left, top, width, height;
};
inline constexpr CalendarBox kCalendarPreviousBox{5, 5, 24, 19};
inline constexpr CalendarBox kCalendarNextBox{144, 5, 24, 19};
inline constexpr CalendarBox kCalendarTitleBox{41, 5, 92, 19};

// Cell grid of a page: text centre of the first cell, cell size, columns and rows.
struct CalendarGrid {
    int x0, y0, width, height, columns, rows;
};
CalendarGrid GridOf(int page);

// Frame drawn around the chosen cell.
struct CalendarFrame {
    int left, top, width, height;
};
CalendarFrame ItemFrame(int page, int index);

// The month lengths table, December first: entry m is the month before m, entry m + 1 month m.
// February has 29 days in every year divisible by 4, exact inside the calendar's years.
int CalendarMonthLength(int month0, int year);

struct CalendarState {
    int day = 0;    // 0-based
    int month = 0;  // 0-11
    int year = kCalendarFallbackYear;
    int page = CalendarDays;
    int firstYear = 0; // first year of the year page, a multiple of 4
    bool close = false;
};

CalendarState OpenCalendar(PackedDate date);

// Previous-month days in the first row of the day page: 1-7, a whole week before a month that
// begins on a Monday.
int LeadIn(const CalendarState& state);

enum class CellMonth { Previous, Shown, Next };
struct DayCell {
    int day;        // 1-based day number shown
    CellMonth month;
};
// The day shown in cell 0-41 of the day page.
DayCell DayCellOf(const CalendarState& state, int index);
// The cell that carries the frame on the state's page.
int MarkedCell(const CalendarState& state);

// Puts the year page round the chosen year when it has left the middle of the page.
void SyncYearPage(CalendarState& state);

// Cell number from 1, a header button, or 0. Points outside the grid's columns and rows hit nothing.
int CalendarHitTest(int page, int x, int y);

// Previous button and Page Up, next button and Page Down.
void StepBack(CalendarState& state);
void StepForward(CalendarState& state);

enum class CalendarKey { Left, Right, Up, Down, PageUp, PageDown, Return, Escape };
// Applies a key; true when the settle step is to follow (Return and Escape only close).
bool ApplyCalendarKey(CalendarState& state, CalendarKey key);

// A button released over `hit` after a press on `pressed`; true when the settle step is to follow
// (a cell of another month, or beyond the months or years shown, is ignored).
bool ApplyCalendarRelease(CalendarState& state, int pressed, int hit);

// Keeps the day inside its month and answers the date to post.
PackedDate SettleCalendar(CalendarState& state);

// The page title: "March 2026", "2026" or "2004 - 2027".
std::string CalendarTitle(const CalendarState& state);

// Characters the edit part of a date field (mode 0) or a calculator number field (mode 1) lets
// through, given the text it holds.
bool DateFieldAccepts(int mode, std::string_view text, char c);

} // namespace qv
