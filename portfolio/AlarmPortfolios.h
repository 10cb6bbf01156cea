// The alarm pre-set portfolios: the shares whose share alarms or the global move alarms fire on a
// day of the alarm day range.
#pragma once

#include <cstdint>
#include <functional>
#include <span>
#include <vector>

namespace qv {

struct Portfolio;
struct ShareList;

// One day of a share's history as the alarms read it.
struct AlarmDay {
    uint16_t date = 0;
    float close = 0;
};

// A move criterion: enabled, its kind (the n days the move is measured over) and its threshold (a
// percentage).
struct MoveCriterion {
    uint8_t enabled = 0;
    uint8_t kind = 0;
    float threshold = 0;
};

// A share alarm as the alarm options keep it.
struct ShareAlarm {
    uint16_t shareId = 0;
    uint8_t stream = 0;
    uint8_t lowerOn = 0;
    float lower = 0;
    uint8_t upperOn = 0;
    float upper = 0;
    MoveCriterion rises[3];
    MoveCriterion falls[3];
    uint8_t stopOn = 0;
    uint8_t stopCapped = 0;
    float stopPercent = 0;
    uint8_t dateOn = 0;
    uint16_t date = 0;
    uint8_t dealingsOn = 0;
};

// What an alarm found on a judged day: which test held, the row of a move (0-2) and the day.
enum class AlarmHitKind : uint8_t { Increase, Decrease, Rise, Fall, StopLoss, Date, Dealing };
struct AlarmHit {
    AlarmHitKind kind = AlarmHitKind::Increase;
    int row = 0;
    int day = 0;
    float stop = 0;           // the stop a stop-loss crossed
    uint8_t dealing = 0;      // kDirectorsDealing or kMajorHoldingDealing
};
inline constexpr uint8_t kDirectorsDealing = 1, kMajorHoldingDealing = 2;

// The days an alarm looks at: mode 1 the last `days` days, mode 2 every day after the first load
// date, otherwise the last day only.
struct AlarmDayRange {
    uint8_t mode = 0;
    uint16_t days = 0;
};

// What the alarm portfolios need of the options, the alarm store and the price streams. A share is
// tested only when every hook it needs is installed.
struct AlarmPortfolioHooks {
    AlarmDayRange range;
    // The move-alarm test of the alarm options on day `day`; `rise` tells the criterion's direction and
    // `periodType` the share's (SharePeriodType), whose weekly records count n days as weeks.
    std::function<bool(std::span<const AlarmDay> days, int day, const MoveCriterion& criterion, bool rise, int periodType)>
        moveTest;
    // The six global move criteria (three rises, then three falls).
    std::vector<MoveCriterion> globalCriteria;
    std::function<std::vector<ShareAlarm>()> shareAlarms;
    // A dealing in the share within the dealings window that ends today: 0 none, kDirectorsDealing or
    // kMajorHoldingDealing; empty: no dealing alarm holds.
    std::function<uint8_t(uint16_t shareId, uint16_t today)> dealing;
    // The record's history for the stream; empty: DecodeAlarmHistory.
    std::function<std::vector<AlarmDay>(uint8_t* record, uint32_t stream, uint32_t flags)> history;
};
AlarmPortfolioHooks& GetAlarmPortfolioHooks();

// The share's period type: the kind of its first price sub-record, a unit trust's (14) marking weekly
// records.
int SharePeriodType(const uint8_t* record);

// The days of the record's stream as the price streams decode them, with corrections.
std::vector<AlarmDay> DecodeAlarmHistory(uint8_t* record, uint32_t stream, uint32_t flags);

// The first day the range tests (days are tested from the last backwards down to it).
int FirstTestedDay(std::span<const AlarmDay> days, const AlarmDayRange& range, uint16_t firstLoadDate);
// The trailing-stop level worked out over the days from `first` to the last.
float TrailingStopLevel(std::span<const AlarmDay> days, int first, float percent, bool capped);
// Calls `hit` for every test of the alarm that holds on a judged day, from the last day back to
// `first` and in the order the tests run (increase, decrease, rises, falls, stop-loss, date,
// dealing); stops when `hit` returns false. The stop is worked out once over the whole history,
// and a stop-loss holds only on the day the close crosses it. The move rows are tested with the
// share's period type.
void VisitShareAlarmHits(const ShareAlarm& alarm, std::span<const AlarmDay> days, int first, uint16_t today,
                         const std::function<bool(const AlarmHit&)>& hit, int periodType = 0);
// The latest day of the range on which any enabled condition of the alarm holds, or -1.
int FindShareAlarmDay(const ShareAlarm& alarm, std::span<const AlarmDay> days, int first, uint16_t today,
                      int periodType = 0);

// Rebuild the portfolio the list shows from the share alarms, or from the global move alarms.
void FillPriceAlarmPortfolio(ShareList* list, uint32_t flags);
void FillMoveAlarmPortfolio(ShareList* list);
// The same for a portfolio of the chain.
void FillPriceAlarms(Portfolio* p, uint32_t flags);
void FillMoveAlarms(Portfolio* p);

} // namespace qv
