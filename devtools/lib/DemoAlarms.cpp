// Choosing the demo's alarms from its prices and dealings, and the store that carries them.
#include "devtools/lib/DemoAlarms.h"

#include "core/KeyedItemStore.h"
#include "core/PriceStream.h"
#include "core/RecordAccess.h"
#include "core/SettingRecordStore.h"

#include <algorithm>
#include <cmath>

namespace qv::dev {
namespace {

constexpr size_t kMoveDays = 10;

bool IsShare(const DemoRecord& r)
{
    return !r.streams.empty() && r.streams[0].kind == SubRecordKind::Ordinary;
}

} // namespace

std::vector<float> DecodedCloses(const PriceHistory& history)
{
    std::vector<float> closes;
    float unit = StartingUnit(history.scale);
    for (const HistoryDay& day : history.days) {
        if (day.newUnit != 0)
            unit = ScaledUnit(day.newUnit, history.scale);
        if (day.kind == HistoryDay::Kind::Priced)
            closes.push_back(float(day.close) * unit);
    }
    return closes;
}

DemoAlarm DemoLevelAlarm(uint16_t shareId, const std::vector<float>& closes, uint16_t today)
{
    DemoAlarm a{shareId, ShareAlarmRecord::Defaults(today)};
    a.record.increaseOn = 1;
    a.record.increaseLevel = std::floor(closes.back() * 0.95f);
    a.record.note = "Take some profit";
    return a;
}

bool DemoRiseAlarm(uint16_t shareId, const std::vector<float>& closes, uint16_t today, DemoAlarm& out)
{
    if (closes.size() <= kMoveDays)
        return false;
    const double pct = (double(closes.back()) / closes[closes.size() - 1 - kMoveDays] - 1) * 100;
    const float rounded = float(std::floor(pct * 10) / 10);
    if (!(rounded >= 0.1f))
        return false;
    out = {shareId, ShareAlarmRecord::Defaults(today)};
    out.record.riseOn[0] = 1;
    out.record.risePercent[0] = rounded;
    out.record.riseDays[0] = uint8_t(kMoveDays);
    out.record.note = "Momentum";
    return true;
}

bool DemoStopAlarm(uint16_t shareId, const std::vector<float>& closes, uint16_t today, DemoAlarm& out)
{
    if (closes.size() < 2)
        return false;
    const float p = closes.back(), q = closes[closes.size() - 2];
    const float high = *std::max_element(closes.begin(), closes.end());
    if (!(p < q) || !(high > 0))
        return false;
    // The stop lies half way between the last two closes.
    out = {shareId, ShareAlarmRecord::Defaults(today)};
    out.record.stopOn = 1;
    out.record.stopPercent = float(std::round((1 - (double(p) + q) / 2 / high) * 10000) / 100);
    out.record.note = "Protect the gains";
    return true;
}

std::vector<DemoAlarm> BuildDemoAlarms(const DemoDatabase& demo, const DealingsFileSpec& dealings, uint16_t today)
{
    std::vector<DemoAlarm> out;
    std::vector<uint16_t> used;
    auto take = [&](const DemoAlarm& a) {
        out.push_back(a);
        used.push_back(a.shareId);
    };
    auto free = [&](uint16_t id) { return std::find(used.begin(), used.end(), id) == used.end(); };
    // The deal most recently made that is not a holding.
    const DealingItemSpec* latest = nullptr;
    for (const DealingItemSpec& item : dealings.items)
        if (!(item.flags & 0x80) && (!latest || item.date > latest->date))
            latest = &item;
    if (latest) {
        DemoAlarm a{latest->shareId, ShareAlarmRecord::Defaults(today)};
        a.record.dealingsOn = 1;
        a.record.note = "Watch the board";
        take(a);
    }
    bool level = false, rise = false;
    // Of the shares that fell on the last day by half a percent or more, the one whose stop lies
    // nearest 10% below its high.
    const DemoRecord* fallen = nullptr;
    double nearest = 100;
    for (const DemoRecord& r : demo.records) {
        if (!IsShare(r) || !free(r.id))
            continue;
        const std::vector<float> closes = DecodedCloses(r.streams[0].history);
        if (closes.size() <= kMoveDays)
            continue;
        DemoAlarm a;
        if (!level) {
            take(DemoLevelAlarm(r.id, closes, today));
            level = true;
        } else if (!rise && DemoRiseAlarm(r.id, closes, today, a)) {
            take(a);
            rise = true;
        } else if (closes.back() < closes[closes.size() - 2] * 0.995f) {
            const double mid = (double(closes.back()) + closes[closes.size() - 2]) / 2;
            const double off = std::abs(100 * (1 - mid / *std::max_element(closes.begin(), closes.end())) - 10);
            if (off < nearest) {
                nearest = off;
                fallen = &r;
            }
        }
    }
    DemoAlarm a;
    if (fallen && DemoStopAlarm(fallen->id, DecodedCloses(fallen->streams[0].history), today, a))
        take(a);
    return out;
}

std::vector<uint8_t> DemoGraphConfig(const std::vector<DemoAlarm>& alarms)
{
    SettingRecordStore records;
    for (const DemoAlarm& a : alarms) {
        const std::vector<uint8_t> bytes = a.record.Write();
        records.set(a.shareId, 0, kShareAlarmSettingId, bytes.data(), uint32_t(bytes.size()));
    }
    std::vector<uint8_t> body(4, 0); // the block's second head word
    const std::span<const uint8_t> block = records.bytes();
    body.insert(body.end(), block.begin(), block.end());
    KeyedItemStore store;
    store.SetItem(0, 2, 0, MakeBlob(body));
    return store.WriteImage();
}

} // namespace qv::dev
