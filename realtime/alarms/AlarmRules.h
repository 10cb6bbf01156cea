// The intraday alarm tests as plain rules: the time text, the percentage-move test, the per-share price
// tests, the stop-loss high, the quote reference of a timed move and the drawn-line cross.
#pragma once

#include "realtime/alarms/RTShareAlarmRecord.h"

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace qv {

// Alarm kinds.
enum AlarmKind : int32_t {
    kAlarmShareMove = 1,
    kAlarmStopLoss = 2,
    kAlarmBelow = 3,
    kAlarmTimer = 4,
    kAlarmGlobalMove = 6,
    kAlarmGoldenCross = 7,
    kAlarmDeadCross = 8,
    kAlarmMacd = 9,
    kAlarmRsi = 10,
    kAlarmStochastic = 11,
    kAlarmLine = 12,
    kAlarmAbove = 13,
};
// Global and indicator kinds (6-11), which the lists end with "global alarm".
constexpr bool IsGlobalAlarmKind(int32_t kind) { return kind >= kAlarmGlobalMove && kind <= kAlarmStochastic; }
constexpr bool IsIndicatorAlarmKind(int32_t kind) { return kind >= kAlarmGoldenCross && kind <= kAlarmStochastic; }

// "%d:%2.2d %s" of a time of day in seconds and the exchange's zone label.
std::string AlarmTimeText(uint32_t secondsOfDay, std::string_view zone);

// The move test of one slot: "Up by 5.01% since open" (no time yet), or nothing when the move is not
// strictly beyond the slot's percentage in its direction, or either price is not above 0.
std::optional<std::string> MoveAlarmText(const RTAlarmSlot& slot, float current, float reference);

struct PriceAlarm {
    int32_t kind = 0;
    std::string text;
    bool operator==(const PriceAlarm&) const = default;
};
// The level and stop-loss tests of a share's record, in order (above, below, stop loss); every
// comparison is strict. `at` is the time text; todayHigh 0 when there is none.
std::vector<PriceAlarm> LevelAlarms(const RTShareAlarmRecord& record, float price, float todayHigh, std::string_view at);

// A quote of the day for the timed move's reference.
struct AlarmQuote {
    int32_t time = 0;
    float bid = 0, offer = 0;
    uint32_t flags = 0; // either missing bit set: the quote does not count
};
// The mid of the newest counting quote older than the target time, else of the earliest counting
// quote; 0 when no quote counts.
float QuoteReference(std::span<const AlarmQuote> quotes, int32_t target);
// The target time of a timed slot (kinds 5 and 6) from the exchange's latest time.
int32_t SlotTargetTime(const RTAlarmSlot& slot, uint32_t latest);

// The sides of a drawn line the chart's side rule (LineSideOfPrice) answers, and the words it stores as
// a line's alarm: the side the price stood on when the alarm was set, so 1 alarms on a rise above the
// line and 3 on a fall below it.
constexpr int kLineSideBelow = 1, kLineSideAbove = 3;

// A drawn line with an alarm: its ends (seconds since 1970, price), whether it extends beyond them,
// and whether it alarms on a fall below it (else on a rise above).
struct AlarmLine {
    uint32_t time1 = 0, time2 = 0;
    float price1 = 0, price2 = 0;
    bool extend = false;
    bool fallBelow = false;
    bool operator==(const AlarmLine&) const = default;
};
// The time of day the line's alarm holds at, for the latest price p at time of day t; nothing when it
// does not hold.
std::optional<uint32_t> LineCrossTime(const AlarmLine& line, float p, uint32_t t, uint32_t latest);
std::string LineCrossText(const AlarmLine& line, uint32_t when, std::string_view zone);

} // namespace qv
