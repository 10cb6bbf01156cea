// Tests of the calendar's rules: pages, hit test, keys at the range ends, clicks and settling.
#include "shell/DateControlRules.h"

#include "core/DateText.h"

#include <gtest/gtest.h>

using namespace qv;

namespace {

CalendarState At(int day, int month, int year, int page = CalendarDays)
{
    CalendarState state = OpenCalendar(PackDate(day, month, year));
    state.page = page;
    return state;
}

std::string Text(PackedDate date) { return FormatDate(date); }

TEST(DateControlRules, HitTestIsBoundedToTheGridAndTheHeaderButtons)
{
    struct Case {
        int page, x, y, hit;
    };
    for (const Case& c : std::vector<Case>{
             {CalendarDays, 0, 50, 1},
             {CalendarDays, 160, 50, 7},
             {CalendarDays, 161, 50, 0},   // right of the last column: not the next row's first cell
             {CalendarDays, 172, 60, 0},
             {CalendarDays, 0, 68, 8},
             {CalendarDays, 40, 157, 37},  // row 5, column 1
             {CalendarDays, 40, 158, 0},   // below the sixth row
             {CalendarDays, 40, 49, 0},
             {CalendarDays, 40, 30, 0},    // the initials' band
             {CalendarMonths, 161, 44, 3},
             {CalendarMonths, 162, 44, 0},
             {CalendarMonths, 0, 147, 10},
             {CalendarMonths, 0, 148, 0},
             {CalendarYears, 167, 37, 4},
             {CalendarYears, 168, 37, 0},
             {CalendarYears, 0, 156, 21},
             {CalendarYears, 0, 157, 0},
             {CalendarDays, 6, 7, kCalendarPrevious},
             {CalendarDays, 5, 7, 0},
             {CalendarDays, 28, 22, kCalendarPrevious},
             {CalendarDays, 28, 23, 0},
             {CalendarDays, 145, 10, kCalendarNext},
             {CalendarDays, 168, 10, 0},
             {CalendarYears, 42, 10, kCalendarTitle},
             {CalendarYears, 133, 10, 0},
             {CalendarDays, 80, 6, 0},
         })
        EXPECT_EQ(CalendarHitTest(c.page, c.x, c.y), c.hit) << c.page << " " << c.x << "," << c.y;
}

TEST(DateControlRules, DayPageNumbersPreviousShownAndNextMonthDays)
{
    CalendarState monday = At(15, 6, 2026); // 1 June 2026 is a Monday
    EXPECT_EQ(LeadIn(monday), 7);
    EXPECT_EQ(DayCellOf(monday, 0).day, 25);
    EXPECT_EQ(DayCellOf(monday, 0).month, CellMonth::Previous);
    EXPECT_EQ(DayCellOf(monday, 6).day, 31);
    EXPECT_EQ(DayCellOf(monday, 7).day, 1) << "the 1st in row two, column one";
    EXPECT_EQ(DayCellOf(monday, 7).month, CellMonth::Shown);
    EXPECT_EQ(DayCellOf(monday, 36).day, 30);
    EXPECT_EQ(DayCellOf(monday, 37).day, 1);
    EXPECT_EQ(DayCellOf(monday, 37).month, CellMonth::Next);
    EXPECT_EQ(MarkedCell(monday), 7 + 14);

    CalendarState sunday = At(1, 2, 2026);  // a Sunday: six days of January first
    EXPECT_EQ(LeadIn(sunday), 6);
    EXPECT_EQ(DayCellOf(sunday, 0).day, 26);
    EXPECT_EQ(DayCellOf(sunday, 6).day, 1);
    EXPECT_EQ(DayCellOf(sunday, 33).day, 28);
    EXPECT_EQ(DayCellOf(sunday, 34).month, CellMonth::Next);

    CalendarState leap = At(10, 3, 2000);
    EXPECT_EQ(DayCellOf(leap, 1).day, 29) << "February 2000 has 29 days; 1 March 2000 is a Wednesday";
    EXPECT_EQ(LeadIn(leap), 2);
}

TEST(DateControlRules, OpeningKeepsDatesOf1960To2027AndOpensOthersIn1998)
{
    struct Case {
        PackedDate date;
        const char* opened;
    };
    for (const Case& c : std::vector<Case>{
             {PackDate(9, 12, 2026), "9/12/26"},
             {PackDate(31, 12, 2027), "31/12/27"},
             {PackDate(1, 1, 1960), "1/1/60"},
             {PackDate(31, 12, 1959), "31/12/98"},
             {PackDate(29, 2, 1900), "28/2/98"}, // February 1900 never shows
             {0, "1/1/98"},                      // an unreadable text reads as 0
         }) {
        CalendarState state = OpenCalendar(c.date);
        EXPECT_EQ(Text(SettleCalendar(state)), c.opened) << c.opened;
    }
}

TEST(DateControlRules, KeysAndStepsStayInside1960To2027)
{
    using K = CalendarKey;
    struct Case {
        PackedDate from;
        int page;
        CalendarKey key;
        const char* to;
    };
    for (const Case& c : std::vector<Case>{
             {PackDate(31, 12, 2027), CalendarDays, K::Right, "31/12/27"},
             {PackDate(1, 1, 1960), CalendarDays, K::Left, "1/1/60"},
             {PackDate(3, 1, 1960), CalendarDays, K::Up, "1/1/60"},
             {PackDate(28, 12, 2027), CalendarDays, K::Down, "31/12/27"},
             {PackDate(15, 12, 2027), CalendarMonths, K::Right, "31/12/27"},
             {PackDate(15, 1, 1960), CalendarMonths, K::Left, "1/1/60"},
             {PackDate(15, 6, 1960), CalendarYears, K::Left, "1/1/60"},
             {PackDate(15, 6, 2027), CalendarYears, K::Right, "31/12/27"},
             {PackDate(15, 6, 1963), CalendarYears, K::Up, "15/6/63"},   // no step below 1960
             {PackDate(15, 6, 1964), CalendarYears, K::Up, "15/6/60"},
             {PackDate(15, 6, 2023), CalendarYears, K::Down, "15/6/27"},
             {PackDate(15, 6, 2024), CalendarYears, K::Down, "15/6/24"}, // no step past 2027
             {PackDate(1, 3, 2000), CalendarDays, K::Left, "29/2/00"},
             {PackDate(31, 12, 2025), CalendarDays, K::Right, "1/1/26"},
             {PackDate(28, 2, 2001), CalendarDays, K::Down, "7/3/01"},
             {PackDate(3, 3, 2001), CalendarDays, K::Up, "24/2/01"},
             {PackDate(10, 2, 2000), CalendarMonths, K::Up, "10/11/99"},
             {PackDate(10, 11, 2026), CalendarMonths, K::Down, "10/2/27"},
             {PackDate(31, 1, 2001), CalendarMonths, K::Right, "28/2/01"},     // settled to the month
             {PackDate(31, 1, 2000), CalendarDays, K::PageDown, "29/2/00"},
             {PackDate(20, 1, 1960), CalendarDays, K::PageUp, "20/1/60"},
             {PackDate(20, 12, 2027), CalendarDays, K::PageDown, "20/12/27"},
             {PackDate(20, 5, 1960), CalendarMonths, K::PageUp, "20/5/60"},
             {PackDate(20, 5, 2020), CalendarYears, K::PageDown, "20/5/27"},
             {PackDate(20, 5, 1970), CalendarYears, K::PageUp, "20/5/60"},
         }) {
        CalendarState state = OpenCalendar(c.from);
        state.page = c.page;
        EXPECT_TRUE(ApplyCalendarKey(state, c.key));
        EXPECT_EQ(Text(SettleCalendar(state)), c.to) << Text(c.from) << " page " << c.page;
        EXPECT_FALSE(state.close);
    }
}

TEST(DateControlRules, ReturnAndEscapeCloseWithoutASettleStep)
{
    for (CalendarKey key : {CalendarKey::Return, CalendarKey::Escape}) {
        CalendarState state = At(5, 5, 2005);
        EXPECT_FALSE(ApplyCalendarKey(state, key));
        EXPECT_TRUE(state.close);
    }
}

TEST(DateControlRules, TheYearPageFollowsTheYearAndEndsIn2027)
{
    struct Case {
        int year, first;
        const char* title;
    };
    for (const Case& c : std::vector<Case>{
             {2027, 2004, "2004 - 2027"},
             {2026, 2004, "2004 - 2027"},
             {1998, 1980, "1980 - 2003"},
             {1961, 1960, "1960 - 1983"},
         }) {
        CalendarState state = At(1, 1, c.year, CalendarYears);
        SettleCalendar(state);
        EXPECT_EQ(state.firstYear, c.first) << c.year;
        EXPECT_EQ(CalendarTitle(state), c.title);
        EXPECT_EQ(MarkedCell(state), c.year - c.first);
    }
    CalendarState state = At(1, 1, 1998, CalendarYears);
    ApplyCalendarKey(state, CalendarKey::Right), SettleCalendar(state);
    EXPECT_EQ(state.firstYear, 1980) << "1999 is still inside the page's middle";
    ApplyCalendarKey(state, CalendarKey::Down), SettleCalendar(state);
    ApplyCalendarKey(state, CalendarKey::Down), SettleCalendar(state);
    EXPECT_EQ(state.year, 2007);
    EXPECT_EQ(state.firstYear, 1988) << "past first + 20 the page moves";
}

TEST(DateControlRules, ClicksMoveBetweenPagesAndChooseDays)
{
    CalendarState state = At(9, 12, 2026);
    EXPECT_EQ(CalendarTitle(state), "December 2026");
    for (int page : {CalendarMonths, CalendarYears, CalendarDays}) {
        EXPECT_TRUE(ApplyCalendarRelease(state, kCalendarTitle, kCalendarTitle));
        SettleCalendar(state);
        EXPECT_EQ(state.page, page);
    }
    state.page = CalendarYears;
    SettleCalendar(state);
    EXPECT_TRUE(ApplyCalendarRelease(state, 3, 3)); // 2004 + 2
    EXPECT_EQ(state.year, 2006);
    EXPECT_EQ(state.page, CalendarMonths);
    EXPECT_EQ(CalendarTitle(state), "2006");
    EXPECT_TRUE(ApplyCalendarRelease(state, 2, 2));
    EXPECT_EQ(state.page, CalendarDays);
    EXPECT_EQ(Text(SettleCalendar(state)), "9/2/06");

    // February 2006 begins on a Wednesday: cells 0-1 are January, cell 2 the 1st.
    EXPECT_FALSE(ApplyCalendarRelease(state, 1, 1)) << "a day of January is ignored";
    EXPECT_FALSE(state.close);
    EXPECT_FALSE(ApplyCalendarRelease(state, 33, 33)) << "1 March";
    EXPECT_TRUE(ApplyCalendarRelease(state, 5, 3)) << "released elsewhere: only settles";
    EXPECT_FALSE(state.close);
    EXPECT_TRUE(ApplyCalendarRelease(state, 30, 30)) << "cell 29: the 28th";
    EXPECT_TRUE(state.close);
    EXPECT_EQ(Text(SettleCalendar(state)), "28/2/06");

    CalendarState first = At(15, 1, 1960);
    ApplyCalendarRelease(first, kCalendarPrevious, kCalendarPrevious);
    EXPECT_EQ(Text(SettleCalendar(first)), "15/1/60");
    CalendarState last = At(15, 12, 2027);
    ApplyCalendarRelease(last, kCalendarNext, kCalendarNext);
    EXPECT_EQ(Text(SettleCalendar(last)), "15/12/27");
}

TEST(DateControlRules, ItemFramesSitOverTheirCells)
{
    struct Case {
        int page, index;
        CalendarFrame frame;
    };
    for (const Case& c : std::vector<Case>{
             {CalendarDays, 0, {9, 49, 17, 15}},
             {CalendarDays, 8, {32, 67, 17, 15}},
             {CalendarMonths, 4, {64, 69, 40, 15}},
             {CalendarYears, 23, {134, 136, 31, 15}},
         }) {
        CalendarFrame f = ItemFrame(c.page, c.index);
        EXPECT_EQ(std::tie(f.left, f.top, f.width, f.height),
                  std::tie(c.frame.left, c.frame.top, c.frame.width, c.frame.height))
            << c.page << " " << c.index;
    }
}

TEST(DateControlRules, EditPartsLetThroughTheirCharacters)
{
    struct Case {
        int mode;
        const char* text;
        char c;
        bool accepted;
    };
    for (const Case& c : std::vector<Case>{
             {0, "", '7', true},
             {0, "1/2", '/', true},
             {0, "1/2", '\b', true},
             {0, "1/2", '.', false},
             {0, "1/2", 'a', false},
             {0, "1/2", '-', false},
             {1, "12", '.', true},
             {1, "0.00", '.', true},
             {1, "1.5", '.', false},
             {1, "1", '/', false},
         })
        EXPECT_EQ(DateFieldAccepts(c.mode, c.text, c.c), c.accepted) << c.mode << " " << c.text << " " << c.c;
}

} // namespace
