// Date texts. Each routine returns its own string, so no caller can be caught by a shared buffer.
#include "core/DateText.h"

#include "core/StringPrintf.h"

#include <array>

namespace qv {
namespace {

constexpr std::array<std::string_view, 12> kMonthNames = {
    "January", "February", "March",     "April",   "May",      "June",
    "July",    "August",   "September", "October", "November", "December"};
constexpr std::array<std::string_view, 12> kMonthAbbreviations = {
    "Jan", "Feb", "Mar", "Apr", "May", "Jun", "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};
constexpr std::array<std::string_view, 7> kDayAbbreviations = {"Mon", "Tue", "Wed", "Thu",
                                                               "Fri", "Sat", "Sun"};
constexpr std::array<std::string_view, 7> kDayNames = {"Monday",   "Tuesday", "Wednesday", "Thursday",
                                                       "Friday",   "Saturday", "Sunday"};

constexpr PackedDate kFirstDateWithDay = 0x7001; // 2 January 1956

std::string DayAbbreviationOf(PackedDate date)
{
    return std::string(DayAbbreviation(WeekdayOf(date)));
}

// The integer at the start of `text` (after blanks and an optional sign); `used` gets the characters
// read. Saturates rather than overflowing on absurdly long digit runs.
int LeadingInteger(std::string_view text, size_t& used)
{
    size_t i = 0;
    while (i < text.size() && (text[i] == ' ' || text[i] == '\t'))
        ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == '-' || text[i] == '+'))
        negative = text[i++] == '-';
    long value = 0;
    while (i < text.size() && text[i] >= '0' && text[i] <= '9') {
        if (value < 100000000)
            value = value * 10 + (text[i] - '0');
        ++i;
    }
    used = i;
    return int(negative ? -value : value);
}

int LeadingInteger(std::string_view text)
{
    size_t used = 0;
    return LeadingInteger(text, used);
}

} // namespace

std::string FormatDate(PackedDate date)
{
    return StringPrintf("%i/%i/%02i", DayOfMonth(date), MonthOfYear(date), TwoDigitYear(date));
}

std::string FormatDateWithDay(PackedDate date)
{
    if (date < kFirstDateWithDay || date > kLastPackedDate)
        return {};
    return StringPrintf("%s %i/%i/%02i", DayAbbreviationOf(date).c_str(), DayOfMonth(date), MonthOfYear(date),
                 TwoDigitYear(date));
}

std::string FormatDateWithWeek(PackedDate date)
{
    return StringPrintf("%s %i/%i/%02i  week %d", DayAbbreviationOf(date).c_str(), DayOfMonth(date),
                 MonthOfYear(date), TwoDigitYear(date), WeekOfYear(date));
}

std::string FormatLongDate(PackedDate date)
{
    return StringPrintf("%s %i%s %s %i", DayAbbreviationOf(date).c_str(), DayOfMonth(date),
                 std::string(OrdinalSuffix(DayOfMonth(date))).c_str(),
                 std::string(MonthAbbreviation(MonthField(date))).c_str(), FullYear(date));
}

std::string FormatMonthShortYear(PackedDate date)
{
    return StringPrintf("%.3s %02i", std::string(GetMonthNameOfDate(date)).c_str(), TwoDigitYear(date));
}

std::string FormatTaxYear(PackedDate date)
{
    int before = (YearField(date) + 99) % 100;
    return StringPrintf("%02i/%02i", before, TwoDigitYear(date));
}

std::string FormatMonthYear(int n)
{
    return StringPrintf("%i/%02i", 1990 + n, ((1991 + n) % 100 + 100) % 100);
}

std::string FormatDateStyled(PackedDate date, int style, char sep)
{
    bool fourDigits = (style & 8) != 0;
    int order = style & 3;
    int day = DayOfMonth(date), month = MonthOfYear(date);
    int year = fourDigits ? FullYear(date) : TwoDigitYear(date);
    int a = day, b = month, c = year;
    if (order == 1) {
        a = month;
        b = day;
    } else if (order >= 2) {
        a = year;
        c = day;
    }
    const char* format = "%02i/%02i/%02i";
    if (fourDigits)
        format = order < 2 ? "%02i/%02i/%04i" : "%04i/%02i/%02i";
    std::string text = StringPrintf(format, a, b, c);
    std::string out;
    for (char ch : text) {
        if (ch != '/')
            out += ch;
        else if (style & 16)
            out += sep;
    }
    return out;
}

std::string_view GetMonthName(int month0)
{
    if (month0 < 0)
        return kMonthNames[0];
    return month0 < 12 ? kMonthNames[size_t(month0)] : std::string_view{};
}

std::string_view GetMonthNameOfDate(PackedDate date)
{
    return GetMonthName(MonthField(date));
}

std::string_view MonthAbbreviation(int month0)
{
    return month0 >= 0 && month0 < 12 ? kMonthAbbreviations[size_t(month0)] : std::string_view{};
}

std::string_view DayAbbreviation(int weekday)
{
    return weekday >= 0 && weekday < 7 ? kDayAbbreviations[size_t(weekday)] : std::string_view{};
}

std::string FormatFullDate(PackedDate date)
{
    if (!IsValidPackedDate(date))
        return {};
    return std::string(DayName(WeekdayOf(date))) + ", " + std::to_string(DayOfMonth(date)) + " " +
           std::string(GetMonthName(MonthField(date))) + " " + std::to_string(FullYear(date));
}

std::string_view DayName(int weekday)
{
    return weekday >= 0 && weekday < 7 ? kDayNames[size_t(weekday)] : std::string_view{};
}

std::string_view OrdinalSuffix(int day)
{
    if (day >= 10 && day <= 13)
        return "th";
    switch (day % 10) {
    case 1: return "st";
    case 2: return "nd";
    case 3: return "rd";
    default: return "th";
    }
}

PackedDate ParseDate(std::string_view text)
{
    size_t used = 0;
    int day = LeadingInteger(text, used);
    if (day < 1 || day > 31)
        return 0;
    size_t slash = text.find('/');
    if (slash == std::string_view::npos)
        return 0;
    std::string_view rest = text.substr(slash + 1);
    int month = LeadingInteger(rest);
    size_t second = rest.find('/');
    if (second == std::string_view::npos || second + 1 >= rest.size())
        return 0;
    int year = LeadingInteger(rest.substr(second + 1));
    if (year < 0)
        return 0;
    if (year < 50)
        year += 100;
    else if (year > 1950)
        year -= 1900;
    if (!IsValidDate(day - 1, month - 1, year))
        return 0;
    return MakePackedDate(day - 1, month - 1, year);
}

PackedDate ParseYYMMDD(std::string_view text, size_t position)
{
    if (position > text.size() || text.size() - position < 6)
        return 0;
    auto two = [&](size_t at) { return LeadingInteger(text.substr(position + at, 2)); };
    int yy = two(0), mm = two(2), dd = two(4);
    if (yy < 60)
        yy += 100;
    if (mm < 1 || mm > 12)
        return 0;
    return DayNumberToDate(DayNumberFromParts(dd - 1, mm - 1, yy));
}

} // namespace qv
