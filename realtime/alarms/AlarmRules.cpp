// The intraday alarm tests as plain rules.
#include "realtime/alarms/AlarmRules.h"

#include "chartmodel/IntradayReadouts.h"
#include "core/StringPrintf.h"

#include <algorithm>
#include <cmath>

namespace qv {

std::string AlarmTimeText(uint32_t secondsOfDay, std::string_view zone)
{
    return StringPrintf("%d:%2.2d %.*s", int(secondsOfDay / 3600), int(secondsOfDay / 60 % 60), int(zone.size()),
                        zone.data());
}

std::optional<std::string> MoveAlarmText(const RTAlarmSlot& slot, float current, float reference)
{
    if (!(current > 0) || !(reference > 0))
        return std::nullopt;
    const double d = double(current) - reference;
    if (!(d * slot.percentage > 0))
        return std::nullopt;
    const double p = std::fabs(d) * 100 / reference;
    if (!(p > std::fabs(double(slot.percentage))))
        return std::nullopt;
    return StringPrintf("%s by %.2f%% %s", d > 0 ? "Up" : "Down", p, IntervalText(slot).c_str());
}

std::vector<PriceAlarm> LevelAlarms(const RTShareAlarmRecord& r, float price, float todayHigh, std::string_view at)
{
    std::vector<PriceAlarm> out;
    const std::string when(at);
    if (r.aboveOn && price > r.aboveLevel)
        out.push_back({kAlarmAbove, "Price above alarm level at " + when});
    if (r.belowOn && price < r.belowLevel)
        out.push_back({kAlarmBelow, "Price below alarm level at " + when});
    if (r.stopOn) {
        const double high = std::max(r.stopHigh, todayHigh);
        const double stop = (100.0 - r.stopPercent) * high * 0.01;
        if (stop > price)
            out.push_back({kAlarmStopLoss, "Price below stop loss at " + when});
    }
    return out;
}

float QuoteReference(std::span<const AlarmQuote> quotes, int32_t target)
{
    float earliest = 0;
    for (size_t i = quotes.size(); i-- > 0;) {
        const AlarmQuote& q = quotes[i];
        if ((q.flags & 3) || q.bid > q.offer)
            continue;
        const float mid = (q.bid + q.offer) / 2;
        if (q.time < target)
            return mid;
        earliest = mid;
    }
    return earliest;
}

int32_t SlotTargetTime(const RTAlarmSlot& slot, uint32_t latest)
{
    const int32_t back = slot.kind == kIntervalHours ? slot.count / 256 * 3600 : slot.count * 60;
    return int32_t(latest) - back;
}

std::optional<uint32_t> LineCrossTime(const AlarmLine& line, float p, uint32_t t, uint32_t latest)
{
    const double t1 = line.time1 % 86400, t2 = line.time2 % 86400;
    const double y1 = line.price1, y2 = line.price2;
    if (t1 != t2) {
        // The chart stored the side the price stood on when the alarm was set; the alarm holds once
        // the price stands on the other side, by the chart's own side rule.
        const int side = LineSideOfPrice(p, t, line.time1, y1, line.time2, y2);
        const bool holds = side == (line.fallBelow ? kLineSideBelow : kLineSideAbove);
        // A line drawn from right to left starts at its later end.
        if (!holds || t < std::min(t1, t2) || (!line.extend && t > std::max(t1, t2)))
            return std::nullopt;
        return t;
    }
    if (y1 == y2)
        return std::nullopt;
    // Both ends at one time of day: the line is vertical and crosses every price at that time.
    const double crossing = t1;
    const bool between = (p >= std::min(y1, y2) && p <= std::max(y1, y2));
    if (!(t < crossing) || !(crossing < latest) || (!line.extend && !between))
        return std::nullopt;
    return uint32_t(crossing);
}

std::string LineCrossText(const AlarmLine& line, uint32_t when, std::string_view zone)
{
    std::string text = "Line cross at " + AlarmTimeText(when, zone);
    if (line.time1 % 86400 != line.time2 % 86400)
        text += line.fallBelow ? "\tPrice fell below line" : "\tPrice rose above line";
    return text;
}

} // namespace qv
