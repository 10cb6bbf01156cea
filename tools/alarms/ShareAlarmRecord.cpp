// Reading and writing the share alarm record field by field, and the global rows' bytes.
#include "tools/alarms/ShareAlarmRecord.h"

#include "core/SettingRecordStore.h"
#include "portfolio/PortfolioRoutines.h"
#include "portfolio/PresetPortfolios.h"
#include "shell/PortfolioAdd.h"
#include "platform/ByteOrder.h"

#include <algorithm>
#include <cstring>

namespace qv {
namespace {

// A move row's on flag, percentage and days as the portfolio tests take them.
MoveCriterion Row(uint8_t on, float percent, uint8_t days) { return MoveCriterion{on, days, percent}; }

} // namespace

ShareAlarmRecord ShareAlarmRecord::Defaults(uint16_t today)
{
    ShareAlarmRecord r;
    r.decreaseLevel = r.increaseLevel = 100;
    const float percents[3] = {5, 10, 20};
    const uint8_t days[3] = {1, 4, 10};
    for (int i = 0; i < 3; ++i) {
        r.fallPercent[i] = r.risePercent[i] = percents[i];
        r.fallDays[i] = r.riseDays[i] = days[i];
    }
    r.stopPercent = 10;
    r.date = uint16_t(today + 7);
    return r;
}

std::optional<ShareAlarmRecord> ShareAlarmRecord::Read(std::span<const uint8_t> bytes)
{
    if (bytes.size() < kNoteOffset)
        return std::nullopt;
    const uint8_t* p = bytes.data();
    ShareAlarmRecord r;
    r.decreaseLevel = LoadF32(p + 0);
    r.increaseLevel = LoadF32(p + 4);
    r.decreaseOn = p[8];
    r.increaseOn = p[9];
    for (int i = 0; i < 3; ++i) {
        r.fallOn[i] = p[10 + i];
        r.riseOn[i] = p[13 + i];
        r.fallPercent[i] = LoadF32(p + 28 + 4 * i);
        r.risePercent[i] = LoadF32(p + 40 + 4 * i);
        r.fallDays[i] = p[52 + i];
        r.riseDays[i] = p[55 + i];
    }
    r.stopCapped = p[16];
    r.stopOn = p[17];
    r.dateOn = p[18];
    r.dealingsOn = p[19];
    r.date = LoadU16(p + 24);
    r.stopPercent = LoadF32(p + 60);
    std::span<const uint8_t> note = bytes.subspan(kNoteOffset);
    r.note.assign(note.begin(), std::find(note.begin(), note.end(), uint8_t(0)));
    return r;
}

std::vector<uint8_t> ShareAlarmRecord::Write() const
{
    std::vector<uint8_t> out(kFixedSize + note.size(), 0);
    uint8_t* p = out.data();
    StoreF32(p + 0, decreaseLevel);
    StoreF32(p + 4, increaseLevel);
    p[8] = decreaseOn;
    p[9] = increaseOn;
    for (int i = 0; i < 3; ++i) {
        p[10 + i] = fallOn[i];
        p[13 + i] = riseOn[i];
        StoreF32(p + 28 + 4 * i, fallPercent[i]);
        StoreF32(p + 40 + 4 * i, risePercent[i]);
        p[52 + i] = fallDays[i];
        p[55 + i] = riseDays[i];
    }
    p[16] = stopCapped;
    p[17] = stopOn;
    p[18] = dateOn;
    p[19] = dealingsOn;
    StoreU16(p + 24, date);
    StoreF32(p + 60, stopPercent);
    std::memcpy(p + kNoteOffset, note.data(), note.size());
    return out;
}

bool ShareAlarmRecord::anyAlarmOn() const
{
    bool rows = false;
    for (int i = 0; i < 3; ++i)
        rows = rows || fallOn[i] || riseOn[i];
    return rows || decreaseOn || increaseOn || stopOn || dateOn || dealingsOn;
}

ShareAlarm ShareAlarmRecord::toAlarm(uint16_t shareId, uint8_t exchange) const
{
    ShareAlarm a;
    a.shareId = shareId;
    a.stream = exchange;
    a.lowerOn = decreaseOn;
    a.lower = decreaseLevel;
    a.upperOn = increaseOn;
    a.upper = increaseLevel;
    for (int i = 0; i < 3; ++i) {
        a.rises[i] = Row(riseOn[i], risePercent[i], riseDays[i]);
        a.falls[i] = Row(fallOn[i], fallPercent[i], fallDays[i]);
    }
    a.stopOn = stopOn;
    a.stopCapped = stopCapped;
    a.stopPercent = stopPercent;
    a.dateOn = dateOn;
    a.date = date;
    a.dealingsOn = dealingsOn;
    return a;
}

std::vector<ShareAlarm> ReadStoredShareAlarms()
{
    std::vector<ShareAlarm> out;
    SettingIterator it{nullptr, nullptr, kShareAlarmSettingId};
    while (SettingRecords().findNext(it)) {
        std::optional<ShareAlarmRecord> r =
            ShareAlarmRecord::Read(std::span<const uint8_t>(it.data, SettingDataSize(it.data)));
        if (r)
            out.push_back(r->toAlarm(LoadU16(it.record + 2), it.record[4]));
    }
    return out;
}

AlarmChangeFlags& AlarmChanges()
{
    static AlarmChangeFlags flags;
    return flags;
}

void RefillShareAlarmPortfolio()
{
    UpdateShareAlarmPortfolio();
    if (const Portfolio* p = FindPortfolioByNumber(kAlarmsNumber))
        RefreshListsOfPortfolio(p);
}

void RefillGlobalAlarmPortfolio()
{
    UpdateGlobalAlarmPortfolio();
    if (const Portfolio* p = FindPortfolioByNumber(kGlobalAlarmsNumber))
        RefreshListsOfPortfolio(p);
}

void RefillPresetPortfolios()
{
    UpdatePresetPortfolios();
    for (Portfolio* p = PortfolioChain(); p; p = p->next)
        if (p->type == kPresetList)
            RefreshListsOfPortfolio(p);
}

namespace {

void AlarmsChanged()
{
    AlarmChanges().shareAlarms = true;
    RefillShareAlarmPortfolio();
}

} // namespace

void StoreShareAlarmRecord(uint16_t shareId, uint8_t stream, const ShareAlarmRecord& record)
{
    if (record.anyAlarmOn()) {
        const std::vector<uint8_t> bytes = record.Write();
        SetSettingRecord(shareId, stream, kShareAlarmSettingId, bytes.data(), uint32_t(bytes.size()));
    } else {
        DeleteSettingRecord(shareId, stream, kShareAlarmSettingId);
    }
    AlarmsChanged();
}

void DeleteShareAlarmRecord(uint16_t shareId, uint8_t stream)
{
    DeleteSettingRecord(shareId, stream, kShareAlarmSettingId);
    AlarmsChanged();
}

void DeleteAllShareAlarmRecords()
{
    DeleteSettingAll(kShareAlarmSettingId);
    AlarmsChanged();
}

std::vector<MoveCriterion> GlobalAlarmRows(std::span<const uint8_t, kGlobalAlarmRowsSize> bytes)
{
    std::vector<MoveCriterion> falls, rises;
    for (size_t i = 0; i < 6; ++i) {
        const uint8_t* row = bytes.data() + 3 * i;
        (i < 3 ? falls : rises).push_back(Row(row[0], float(row[1]), row[2]));
    }
    rises.insert(rises.end(), falls.begin(), falls.end()); // the portfolio tests take rises first
    return rises;
}

std::vector<MoveCriterion> DefaultGlobalAlarmRows()
{
    std::vector<MoveCriterion> rows;
    for (int side = 0; side < 2; ++side)
        for (const MoveCriterion& row : {Row(0, 10, 2), Row(0, 20, 5), Row(0, 40, 10)})
            rows.push_back(row);
    return rows;
}

void StoreGlobalAlarmRows(std::span<const MoveCriterion> criteria, std::span<uint8_t, kGlobalAlarmRowsSize> bytes)
{
    std::fill(bytes.begin(), bytes.end(), uint8_t(0));
    for (size_t i = 0; i < 6 && i < criteria.size(); ++i) {
        const MoveCriterion& c = criteria[i];
        uint8_t* row = bytes.data() + 3 * (i < 3 ? i + 3 : i - 3); // rises are stored after the falls
        row[0] = c.enabled;
        row[1] = uint8_t(std::clamp(c.threshold, 0.0f, 255.0f));
        row[2] = c.kind;
    }
}

} // namespace qv
