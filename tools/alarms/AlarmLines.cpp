// The triggered and the set alarms as the alarm dialogs list them, and the dealings window.
#include "tools/alarms/AlarmLines.h"

#include "core/Database.h"
#include "core/DateText.h"
#include "core/RecordLookup.h"
#include "core/SettingRecordStore.h"
#include "core/StringPrintf.h"
#include "core/SystemDate.h"
#include "lists/DealingItem.h"
#include "lists/DirectorsDealings.h"
#include "platform/ByteOrder.h"
#include "tools/alarms/MoveAlarm.h"
#include "tools/options/OptionSettings.h"

#include <algorithm>
#include <optional>
#include <set>
#include <utility>

namespace qv {
namespace {

AlarmText Whole(std::string text) { return {std::move(text), {}, {}}; }

AlarmText HitText(const ShareAlarm& alarm, const AlarmHit& hit, std::span<const AlarmDay> days, PackedDate date,
                  bool intermediate, int periodType)
{
    const float close = days[size_t(hit.day)].close;
    switch (hit.kind) {
    case AlarmHitKind::Increase: return Whole(StringPrintf("Increase above %g to %g", alarm.upper, close));
    case AlarmHitKind::Decrease: return Whole(StringPrintf("Decrease below %g to %g", alarm.lower, close));
    case AlarmHitKind::Rise:
    case AlarmHitKind::Fall: {
        const bool rise = hit.kind == AlarmHitKind::Rise;
        const MoveCriterion& c = (rise ? alarm.rises : alarm.falls)[hit.row];
        MoveAlarmText text;
        CheckMoveAlarm(days, {true, c.kind, c.threshold, rise}, hit.day, close, periodType, intermediate, &text);
        return {text.prefix, text.text, text.plural};
    }
    case AlarmHitKind::StopLoss: return Whole(StringPrintf("Stop-loss %.2f%%", alarm.stopPercent));
    case AlarmHitKind::Date: return Whole("Date " + FormatDateWithDay(date));
    case AlarmHitKind::Dealing:
        return Whole(hit.dealing == kMajorHoldingDealing ? "Major Holding Dealing" : "Directors' Dealing");
    }
    return {};
}

std::optional<std::pair<ShareAlarmRecord, uint8_t*>> StoredRecord(const SettingIterator& it)
{
    std::optional<ShareAlarmRecord> r = ShareAlarmRecord::Read(std::span<const uint8_t>(it.data, SettingDataSize(it.data)));
    uint8_t* share = r ? FindShareRecord(LoadU16(it.record + 2)) : nullptr;
    if (!share)
        return std::nullopt;
    return std::make_pair(std::move(*r), share);
}

AlarmListLine Line(const SettingIterator& it, const uint8_t* share, const ShareAlarmRecord& r, AlarmText text)
{
    const uint16_t id = LoadU16(it.record + 2);
    const uint8_t exchange = it.record[4];
    return {id + (uint32_t(exchange) << 16), std::string(GetRecordName(share)), std::move(text), r.note};
}

} // namespace

PackedDate DealingsWindowStart(PackedDate today, const AlarmDayRange& range, PackedDate previousUpdate)
{
    int count = 0;
    if (range.mode == 1)
        count = range.days;
    else if (range.mode == 2 && previousUpdate && previousUpdate < today)
        count = today - previousUpdate;
    const int back = count / 5 + 6;
    return today > back ? PackedDate(today - back) : PackedDate(1);
}

uint8_t FindShareDealing(const uint8_t* block, const DealingsFileInfo& info, const CodingTables& tables,
                         uint16_t shareId, PackedDate since)
{
    PackedDate latest = 0;
    uint8_t kind = 0;
    for (const uint8_t* entry = block; entry && entry[0] != 0; entry += entry[0]) {
        if ((DealingFlags(entry) & kDealingHolding) || DealingShareId(entry) != shareId)
            continue;
        const DealingFields f = DecodeDealing(entry, info, tables);
        if (!f.complete || f.date < since || f.date < latest)
            continue;
        latest = f.date;
        kind = f.majorHolder ? kMajorHoldingDealing : kDirectorsDealing;
    }
    return kind;
}

uint8_t ProgramShareDealing(uint16_t shareId, uint16_t today)
{
    return FindShareDealing(DealingsMainBlock, DealingsInfo(), DealingsCodingTables(), shareId,
                            DealingsWindowStart(today, GetAlarmPortfolioHooks().range, FirstLoadDate));
}

bool ProgramMoveTest(std::span<const AlarmDay> days, int day, const MoveCriterion& criterion, bool rise, int periodType)
{
    const MoveAlarmRow row{criterion.enabled != 0, criterion.kind, criterion.threshold, rise};
    return CheckMoveAlarm(days, row, day, days[size_t(day)].close, periodType, AlarmPortfolioSettings().intermediateRises);
}

std::vector<AlarmText> TriggeredAlarmTexts(const ShareAlarm& alarm, std::span<const AlarmDay> days, int first,
                                           PackedDate today, bool intermediate, int periodType)
{
    std::vector<AlarmText> out;
    std::set<std::pair<int, int>> seen;
    VisitShareAlarmHits(
        alarm, days, first, today,
        [&](const AlarmHit& hit) {
            if (seen.insert({int(hit.kind), hit.row}).second)
                out.push_back(HitText(alarm, hit, days, alarm.date, intermediate, periodType));
            return true;
        },
        periodType);
    return out;
}

std::vector<std::string> SetAlarmTexts(const ShareAlarmRecord& r)
{
    std::vector<std::string> out;
    if (r.increaseOn)
        out.push_back(StringPrintf("Increase to %g", r.increaseLevel));
    if (r.decreaseOn)
        out.push_back(StringPrintf("Decrease to %g", r.decreaseLevel));
    for (int i = 0; i < 3; ++i)
        if (r.riseOn[i])
            out.push_back(StringPrintf("Increase %.2f%% in %i days", r.risePercent[i], int(r.riseDays[i])));
    for (int i = 0; i < 3; ++i)
        if (r.fallOn[i])
            out.push_back(StringPrintf("Decrease %.2f%% in %i days", r.fallPercent[i], int(r.fallDays[i])));
    if (r.stopOn)
        out.push_back(StringPrintf("Stop-loss %.2f%%", r.stopPercent));
    if (r.dealingsOn)
        out.push_back("Directors' Dealings");
    if (r.dateOn)
        out.push_back("On date " + FormatDateWithDay(r.date));
    return out;
}

std::vector<AlarmListLine> ListTriggeredAlarms(PackedDate today)
{
    std::vector<AlarmListLine> out;
    const bool intermediate = AlarmPortfolioSettings().intermediateRises;
    SettingIterator it{nullptr, nullptr, kShareAlarmSettingId};
    while (SettingRecords().findNext(it)) {
        auto stored = StoredRecord(it);
        if (!stored)
            continue;
        const ShareAlarm alarm = stored->first.toAlarm(LoadU16(it.record + 2), it.record[4]);
        const std::vector<AlarmDay> days = DecodeAlarmHistory(stored->second, alarm.stream, 0);
        const int first = FirstTestedDay(days, GetAlarmPortfolioHooks().range, FirstLoadDate);
        for (AlarmText& text : TriggeredAlarmTexts(alarm, days, first, today, intermediate, SharePeriodType(stored->second)))
            out.push_back(Line(it, stored->second, stored->first, std::move(text)));
    }
    return out;
}

std::vector<AlarmListLine> ListSetAlarms()
{
    std::vector<AlarmListLine> out;
    SettingIterator it{nullptr, nullptr, kShareAlarmSettingId};
    while (SettingRecords().findNext(it)) {
        auto stored = StoredRecord(it);
        if (!stored)
            continue;
        for (std::string& text : SetAlarmTexts(stored->first))
            out.push_back(Line(it, stored->second, stored->first, Whole(std::move(text))));
    }
    return out;
}

} // namespace qv
