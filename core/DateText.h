// Date texts as lists, titles, charts and files show them, the name tables, and reading typed dates.
#pragma once

#include "core/PackedDate.h"

#include <string>
#include <string_view>

namespace qv {

// "3/1/94"
std::string FormatDate(PackedDate date);
// "Mon 3/1/94"; empty for dates before 2 January 1956 or past the packed range.
std::string FormatDateWithDay(PackedDate date);
// "Mon 3/1/94  week 1"
std::string FormatDateWithWeek(PackedDate date);
// "Mon 3rd Jan 1994"
std::string FormatLongDate(PackedDate date);
// "Monday, 3 January 1994"; empty for a date that is not valid.
std::string FormatFullDate(PackedDate date);
// "Jan 94"
std::string FormatMonthShortYear(PackedDate date);
// "93/94": the tax year ending in the date's year.
std::string FormatTaxYear(PackedDate date);
// "1994/95" for n = 4: the year 1990 + n and the next year's two digits.
std::string FormatMonthYear(int n);
// Style bits 0-1 the order (0 day first, 1 month first, 2 and 3 year first), bit 3 four-digit years,
// bit 4 separators (`sep` in place of "/"); without bit 4 the fields run together.
std::string FormatDateStyled(PackedDate date, int style, char sep);

// Full month name of index 0-11 ("January" for a negative index, empty past December).
std::string_view GetMonthName(int month0);
std::string_view GetMonthNameOfDate(PackedDate date);
// "Jan" .. "Dec" by month index, "Mon" .. "Sun" and "Monday" .. "Sunday" by weekday index; empty for
// an index out of range.
std::string_view MonthAbbreviation(int month0);
std::string_view DayAbbreviation(int weekday);
std::string_view DayName(int weekday);
// "st", "nd", "rd" or "th" for a day of the month.
std::string_view OrdinalSuffix(int day);

// "day/month/year" (two- or four-digit year) to a date; 0 when it is not a valid date.
PackedDate ParseDate(std::string_view text);
// Six digits YYMMDD at `position`; an impossible day rolls into the next month. 0 when the text is
// too short or the day lies outside the packed range.
PackedDate ParseYYMMDD(std::string_view text, size_t position);

} // namespace qv
