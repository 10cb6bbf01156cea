// Testing share alarms and move alarms over a share's days, and the portfolios they fill.
#include "portfolio/AlarmPortfolios.h"

#include "core/Database.h"
#include "core/DayRecord.h"
#include "core/Memory.h"
#include "core/ParallelFor.h"
#include "core/Portfolio.h"
#include "core/PriceSubRecords.h"
#include "core/RecordLookup.h"
#include "core/ShareList.h"
#include "core/SystemDate.h"

#include <algorithm>

namespace qv {
namespace {

bool MoveFires(std::span<const AlarmDay> days, int day, const MoveCriterion* criteria, bool rise, int periodType)
{
    const AlarmPortfolioHooks& hooks = GetAlarmPortfolioHooks();
    if (!hooks.moveTest)
        return false;
    for (int i = 0; i < 3; ++i)
        if (criteria[i].enabled && hooks.moveTest(days, day, criteria[i], rise, periodType))
            return true;
    return false;
}

// Visits the move rows that hold on the day; false when the visitor stopped.
bool VisitMoves(std::span<const AlarmDay> days, int day, const MoveCriterion* criteria, bool rise, int periodType,
                const std::function<bool(const AlarmHit&)>& hit)
{
    const AlarmPortfolioHooks& hooks = GetAlarmPortfolioHooks();
    if (!hooks.moveTest)
        return true;
    for (int i = 0; i < 3; ++i)
        if (criteria[i].enabled && hooks.moveTest(days, day, criteria[i], rise, periodType) &&
            !hit({rise ? AlarmHitKind::Rise : AlarmHitKind::Fall, i, day}))
            return false;
    return true;
}

std::vector<AlarmDay> History(uint8_t* record, uint32_t stream, uint32_t flags)
{
    const AlarmPortfolioHooks& hooks = GetAlarmPortfolioHooks();
    return hooks.history ? hooks.history(record, stream, flags) : DecodeAlarmHistory(record, stream, flags);
}

// Empties the portfolio; null when it has no entries to fill.
Portfolio* Emptied(Portfolio* p)
{
    if (!p || !p->entries)
        return nullptr;
    p->entries[0] = RecordCursor{};
    p->current = p->last = p->firstVisible = 0;
    return p;
}

Portfolio* EmptiedSource(ShareList* list) { return Emptied(list ? list->source : nullptr); }

} // namespace

AlarmPortfolioHooks& GetAlarmPortfolioHooks()
{
    static AlarmPortfolioHooks hooks;
    return hooks;
}

int SharePeriodType(const uint8_t* record) { return record ? SubRecordKindOf(FirstSubRecord(record)) : 0; }

std::vector<AlarmDay> DecodeAlarmHistory(uint8_t* record, uint32_t stream, uint32_t flags)
{
    RecordCursor cursor{record, stream};
    DayRecord* days = nullptr;
    int32_t count = DecodePriceHistory(&cursor, &days, flags, false, true);
    std::vector<AlarmDay> out;
    for (int32_t i = 0; i < count && days && days[i].date != 0; ++i)
        out.push_back({days[i].date, days[i].close});
    ProFree(days);
    return out;
}

int FirstTestedDay(std::span<const AlarmDay> days, const AlarmDayRange& range, uint16_t firstLoadDate)
{
    int last = int(days.size()) - 1;
    if (last < 0)
        return 0;
    switch (range.mode) {
    case 1:
        return std::max(0, last - std::max(int(range.days), 1) + 1);
    case 2: {
        int first = last + 1;
        while (first > 0 && days[size_t(first - 1)].date > firstLoadDate)
            --first;
        return first;
    }
    default:
        return last;
    }
}

float TrailingStopLevel(std::span<const AlarmDay> days, int first, float percent, bool capped)
{
    float level = 0;
    for (size_t d = size_t(std::max(first, 0)); d < days.size(); ++d) {
        float close = days[d].close;
        float v = close * (100 - percent) / 100;
        if (v > level)
            level = v;
        else if (capped && level > close * (100 + percent) / 100)
            level = close * (100 + percent) / 100;
        if (level < 0)
            level = 0;
    }
    return level;
}

void VisitShareAlarmHits(const ShareAlarm& alarm, std::span<const AlarmDay> days, int first, uint16_t today,
                         const std::function<bool(const AlarmHit&)>& hit, int periodType)
{
    if (days.empty())
        return;
    const AlarmPortfolioHooks& hooks = GetAlarmPortfolioHooks();
    const float stop = alarm.stopOn ? TrailingStopLevel(days, 0, alarm.stopPercent, alarm.stopCapped != 0) : 0;
    const uint8_t dealing = alarm.dealingsOn && hooks.dealing ? hooks.dealing(alarm.shareId, today) : 0;
    for (int d = int(days.size()) - 1; d >= std::max(first, 0); --d) {
        const float close = days[size_t(d)].close;
        const float previous = d > 0 ? days[size_t(d - 1)].close : close;
        if (alarm.upperOn && close >= alarm.upper && !hit({AlarmHitKind::Increase, 0, d}))
            return;
        if (alarm.lowerOn && close <= alarm.lower && !hit({AlarmHitKind::Decrease, 0, d}))
            return;
        if (!VisitMoves(days, d, alarm.rises, true, periodType, hit) ||
            !VisitMoves(days, d, alarm.falls, false, periodType, hit))
            return;
        if (alarm.stopOn && close <= stop && stop < previous && !hit({AlarmHitKind::StopLoss, 0, d, stop}))
            return;
        if (alarm.dateOn && today >= alarm.date && !hit({AlarmHitKind::Date, 0, d}))
            return;
        if (dealing && !hit({AlarmHitKind::Dealing, 0, d, 0, dealing}))
            return;
    }
}

int FindShareAlarmDay(const ShareAlarm& alarm, std::span<const AlarmDay> days, int first, uint16_t today,
                      int periodType)
{
    int found = -1;
    VisitShareAlarmHits(
        alarm, days, first, today,
        [&found](const AlarmHit& h) {
            found = h.day;
            return false;
        },
        periodType);
    return found;
}

void FillPriceAlarmPortfolio(ShareList* list, uint32_t flags) { FillPriceAlarms(EmptiedSource(list), flags); }
void FillMoveAlarmPortfolio(ShareList* list) { FillMoveAlarms(EmptiedSource(list)); }

void FillPriceAlarms(Portfolio* p, uint32_t flags)
{
    const AlarmPortfolioHooks& hooks = GetAlarmPortfolioHooks();
    p = Emptied(p);
    if (!p || !hooks.shareAlarms)
        return;
    const uint16_t today = GetTodayDate(0);
    const std::vector<ShareAlarm> alarms = hooks.shareAlarms();
    std::vector<uint8_t*> records;
    for (const ShareAlarm& alarm : alarms)
        records.push_back(FindShareRecord(alarm.shareId));
    // Each share is decoded and tested on its own, on the cores there are; the order is kept.
    std::vector<uint8_t> fires(alarms.size(), 0);
    ParallelFor(alarms.size(), [&](size_t i) {
        if (!records[i])
            return;
        std::vector<AlarmDay> days = History(records[i], alarms[i].stream, flags);
        int first = FirstTestedDay(days, hooks.range, FirstLoadDate);
        fires[i] = FindShareAlarmDay(alarms[i], days, first, today, SharePeriodType(records[i])) >= 0;
    });
    for (size_t i = 0; i < alarms.size(); ++i)
        if (fires[i])
            AddPortfolioEntry(*p, RecordCursor{records[i], alarms[i].stream});
}

void FillMoveAlarms(Portfolio* p)
{
    const AlarmPortfolioHooks& hooks = GetAlarmPortfolioHooks();
    p = Emptied(p);
    if (!p || hooks.globalCriteria.size() < 6)
        return;
    bool any = false;
    for (const MoveCriterion& c : hooks.globalCriteria)
        any = any || c.enabled;
    if (!any)
        return;
    std::vector<uint8_t*> records;
    for (uint8_t* r = MainRecordBlock; r && RecordLength(r) != 0; r = NextRecord(r))
        records.push_back(r);
    // Each share's history is decoded and tested on its own, so the shares are shared out over the
    // cores; the portfolio keeps the database's order.
    std::vector<uint8_t> fires(records.size(), 0);
    ParallelFor(records.size(), [&](size_t i) {
        std::vector<AlarmDay> days = History(records[i], 0, 0);
        int first = FirstTestedDay(days, hooks.range, FirstLoadDate);
        const int periodType = SharePeriodType(records[i]);
        for (int d = int(days.size()) - 1; d >= first && !fires[i]; --d)
            fires[i] = MoveFires(days, d, &hooks.globalCriteria[0], true, periodType) ||
                       MoveFires(days, d, &hooks.globalCriteria[3], false, periodType);
    });
    for (size_t i = 0; i < records.size(); ++i)
        if (fires[i])
            AddPortfolioEntry(*p, RecordCursor{records[i], 0});
}

} // namespace qv
