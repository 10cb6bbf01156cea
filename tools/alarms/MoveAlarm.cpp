// The move alarm's test and its text.
#include "tools/alarms/MoveAlarm.h"

#include "core/StringPrintf.h"

namespace qv {

bool CheckMoveAlarm(std::span<const AlarmDay> days, const MoveAlarmRow& row, int current, float price, int periodType,
                    bool intermediate, MoveAlarmText* out)
{
    int n = row.days;
    if (periodType == kWeeklyPeriodType)
        n = (n - 1) / 5 + 1;
    if (!row.on || current < 0 || size_t(current) >= days.size())
        return false;
    int start = current - n;
    if (start < 0) {
        start = 0;
        n = current;
    }
    float reference = days[size_t(start)].close;
    if (intermediate) {
        n = current - start;
        for (int i = start + 1; i < current; ++i) {
            const float close = days[size_t(i)].close;
            if (row.rise ? close < reference : close > reference) {
                reference = close;
                n = current - i;
            }
        }
    }
    // A missing close would make every move infinite.
    if (!(reference > 0))
        return false;
    double pct = (double(price) / reference - 1) * 100;
    // A move equal to the percentage triggers, whatever the last bit of the division.
    constexpr double kEqual = 1e-6;
    if (row.rise ? pct < row.percent - kEqual : pct > -row.percent + kEqual)
        return false;
    if (!row.rise)
        pct = -pct;
    if (out) {
        out->prefix = row.rise ? "In" : "De";
        out->text = StringPrintf("crease %.3g%% in %i %s", pct, n, periodType == kWeeklyPeriodType ? "week" : "day");
        out->plural = n > 1 ? "s" : "";
    }
    return true;
}

} // namespace qv
