// Date stepping over packed dates through their day numbers.
#include "core/DateStepping.h"

namespace qv {
namespace {

PackedDate StepDays(PackedDate date, int64_t days)
{
    int64_t n = int64_t(DateToDayNumber(date)) + days;
    if (n < 0 || n > DateToDayNumber(kLastPackedDate))
        return date;
    return DayNumberToDate(int32_t(n));
}

} // namespace

PackedDate AddToDate(PackedDate date, int32_t n, int unit)
{
    switch (unit) {
    case 0: return StepDays(date, n);
    case 1: return StepDays(date, int64_t(n) * 7);
    case 2: {
        int64_t months = int64_t(YearField(date)) * 12 + MonthField(date) + n;
        if (months < 0 || months / 12 > YearField(kLastPackedDate))
            return date;
        return MakePackedDate(DayField(date), int(months % 12), int(months / 12));
    }
    case 3: {
        int64_t year = int64_t(YearField(date)) + n;
        if (year < 0 || year > YearField(kLastPackedDate))
            return date;
        return MakePackedDate(DayField(date), MonthField(date), int(year));
    }
    default: return date;
    }
}

int32_t PeriodStartDate(uint32_t period, PackedDate from)
{
    if (period < 0x10000)
        return int32_t(period);
    int32_t count = int32_t(period & 0xFFFF);
    switch (period >> 16) {
    case 2: return AddToDate(from, -count, 1);
    case 3: return AddToDate(from, -count, 2);
    case 4: return AddToDate(from, -count, 3);
    case 5: return -count;
    default: return AddToDate(from, -count, 0);
    }
}

std::string PeriodItemText(int unit, const std::string& value)
{
    static const char* const kUnits[] = {" days", " weeks", " months", " years", " percent"};
    return unit >= 0 && unit <= 4 ? value + kUnits[unit] : value;
}

} // namespace qv
