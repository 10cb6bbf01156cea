// qvtool dates: the text forms, day number and weekday steps of one date.
#include "devtools/qvtool/Verbs.h"

#include "core/DateText.h"
#include "core/PackedDate.h"
#include "core/SystemDate.h"
#include "core/TradingCalendar.h"

#include <cstdio>
#include <cstdlib>
#include <string>

namespace qv::tool {
namespace {

// "today", a packed value "0x3021", an ISO date "1994-01-03" or a typed date "3/1/94".
bool ReadDate(const std::string& text, PackedDate& out)
{
    if (text == "today") {
        out = GetTodayDate(0);
        return true;
    }
    if (text.rfind("0x", 0) == 0 || text.rfind("0X", 0) == 0) {
        char* end = nullptr;
        unsigned long v = std::strtoul(text.c_str() + 2, &end, 16);
        if (*end || v > 0xFFFF || text.size() == 2)
            return false;
        out = PackedDate(v);
        return true;
    }
    int y = 0, m = 0, d = 0;
    char tail = 0;
    if (std::sscanf(text.c_str(), "%d-%d-%d%c", &y, &m, &d, &tail) == 3) {
        if (y < 1900 || y > 2027 || m < 1 || m > 12 || d < 1 || d > DaysInMonth(m - 1, y - 1900))
            return false;
        out = PackDate(d, m, y);
        return true;
    }
    out = ParseDate(text);
    return out != 0;
}

std::string Iso(PackedDate d)
{
    char buffer[32];
    std::snprintf(buffer, sizeof buffer, "%04d-%02d-%02d %s", FullYear(d), MonthOfYear(d), DayOfMonth(d),
                  std::string(DayAbbreviation(WeekdayOf(d))).c_str());
    return buffer;
}

void Line(const char* label, const std::string& text)
{
    std::printf("%-28s %s\n", label, text.c_str());
}

int Run(const std::vector<std::string>& args)
{
    if (args.size() != 1) {
        std::fprintf(stderr, "usage: qvtool dates DATE   (today, 0xPACKED, YYYY-MM-DD or d/m/yy)\n");
        return 2;
    }
    PackedDate d = 0;
    if (!ReadDate(args[0], d)) {
        std::fprintf(stderr, "qvtool dates: '%s' is not a date from 1900 to 2027\n", args[0].c_str());
        return 1;
    }
    char packed[32];
    std::snprintf(packed, sizeof packed, "0x%04X (%u)", unsigned(d), unsigned(d));
    Line("packed", packed);
    Line("date", Iso(d));
    Line("day number", std::to_string(DateToDayNumber(d)));
    Line("weekday index", std::to_string(WeekdayOf(d)) + " " + std::string(DayName(WeekdayOf(d))));
    Line("week of year", std::to_string(WeekOfYear(d)));
    Line("valid packed date", IsValidPackedDate(d) ? "yes" : "no");
    Line("market holiday", IsMarketHoliday(d) ? "yes" : "no");
    Line("FormatDate", FormatDate(d));
    Line("FormatDateWithDay", FormatDateWithDay(d));
    Line("FormatDateWithWeek", FormatDateWithWeek(d));
    Line("FormatLongDate", FormatLongDate(d));
    Line("FormatMonthShortYear", FormatMonthShortYear(d));
    Line("FormatTaxYear", FormatTaxYear(d));
    Line("FormatDateStyled 16 /", FormatDateStyled(d, 16, '/'));
    Line("FormatDateStyled 26 -", FormatDateStyled(d, 16 | 8 | 2, '-'));
    Line("NextDay", Iso(NextDay(d)));
    Line("PreviousDay", Iso(PreviousDay(d)));
    Line("NextWeekday", Iso(NextWeekday(d)));
    Line("PreviousWeekday", Iso(PreviousWeekday(d, false)));
    Line("PreviousWeekday (holidays)", Iso(PreviousWeekday(d, true)));
    WeekdayCursor next = NextWeekdayCursor({d, 0});
    WeekdayCursor back = PreviousWeekdayCursor({d, 0});
    Line("NextWeekdayCursor", Iso(next.date) + " counter " + std::to_string(next.weekday));
    Line("PreviousWeekdayCursor", Iso(back.date) + " counter " + std::to_string(back.weekday));
    return 0;
}

const Verb dates("dates", "dates DATE", "date forms, day number and weekday steps of a date", Run);

} // namespace
} // namespace qv::tool
