// The study keys in use and the lines-and-text store's clean-up.
#include "chartmodel/StudyKeyCollector.h"

#include "chartmodel/ChartCalendar.h"
#include "chartmodel/GraphSettingLayout.h"
#include "chartmodel/IndicatorRecord.h"
#include "chartmodel/IndicatorTable.h"
#include "chartmodel/IntradayTicks.h"
#include "chartmodel/LineObjects.h"
#include "chartmodel/StudyKey.h"
#include "core/LinesAndTextFiles.h"
#include "core/ReadersWriterLock.h"
#include "platform/ByteOrder.h"
#include "platform/Clock.h"
#include "realtime/RTMarketTable.h"
#include "realtime/store/RTStore.h"

#include <cstring>
#include <vector>

namespace qv {
namespace {

constexpr uint16_t kDailyKind = 0, kIntradayKind = 1, kBoxKind = 5;
constexpr uint8_t kPointAndFigure = 5, kKagi = 6, kRenko = 7, kLineBreak = 8;
constexpr uint32_t kDaySeconds = 86400;

void AddSettingKeys(const NamedRecordFamily<GraphSetting>& family, std::set<uint32_t>& keys)
{
    keys.insert(MakeStudyKey(1, nullptr));
    keys.insert(MakeStudyKey(2, nullptr));
    for (const GraphSetting& s : family.records)
        for (int window = 0; window < graphsetting::kAddOnWindowCount; ++window)
            for (int i = 0; i < graphsetting::kIndicatorsPerWindow; ++i) {
                const IndicatorRecord r = IndicatorRecord::Read(graphsetting::IndicatorSlot(s, window, i));
                keys.insert(MakeStudyKey(4, &r));
            }
}

void AddBoxKeys(const GraphSetting& s, std::set<uint32_t>& keys)
{
    namespace L = graphsetting;
    const uint8_t* b = s.data();
    const uint8_t display = b[L::kPriceDisplay];
    const uint16_t boxFlags = LoadU16(b + L::kBoxChartFlags);
    if (display != kPointAndFigure && !((display == kKagi || display == kRenko || display == kLineBreak) && !(boxFlags & 2)))
        return;
    const uint32_t value = display == kLineBreak ? 0 : LoadU16(b + L::kBoxValue);
    const uint32_t sub = display == kPointAndFigure ? b[L::kReversal]
                         : display == kLineBreak    ? b[L::kLineBreakLines]
                         : display == kRenko        ? 2
                                                    : 0;
    const uint32_t flags = display == kPointAndFigure ? boxFlags : 0;
    keys.insert(MakeSeriesKey(1, b[L::kBoxValueOption], value, sub, flags));
    if (b[L::kVolumePane] & 3)
        keys.insert(MakeSeriesKey(2, b[L::kBoxValueOption], value, sub, flags));
}

// Drops the objects of an intraday item that lie on a day not held; true when the item changed.
bool PruneIntradayItem(KeyedItemStore& store, const KeyedItemKey& key, const uint8_t* blob, const std::set<uint32_t>& days)
{
    LineObjectList list;
    UnpackLineObjects(list, std::span(blob, BlobLength(blob)));
    bool changed = false;
    for (LineObject* o = list.head; o; o = o->next) {
        bool stale = false;
        if (o->kind == LineObjectKind::Text) {
            stale = !days.count(o->penOrTime() / kDaySeconds);
        } else {
            if (o->kind == LineObjectKind::LineStudy && (o->alarm() & ~3u)) {
                o->setAlarm(uint16_t(o->alarm() & 3));
                changed = true;
            }
            for (int i = 0; i < o->pointCount() && !stale; ++i)
                stale = !days.count(uint32_t(o->pointTime(i)) / kDaySeconds);
        }
        if (stale) {
            o->flags = 0;
            changed = true;
        }
    }
    if (changed) {
        std::vector<uint8_t> packed = PackLineObjects(list);
        Blob out;
        if (!packed.empty()) {
            out = MakeBlob(uint32_t(packed.size()));
            std::memcpy(out.get(), packed.data(), packed.size());
        }
        store.SetItem(key.share, key.kind, key.subKey, std::move(out));
    }
    FreeLineObjectList(list);
    return changed;
}

} // namespace

StudyKeySets GatherStudyKeys(const NamedRecordFamily<GraphSetting>& daily, const NamedRecordFamily<GraphSetting>& intraday)
{
    StudyKeySets keys;
    AddSettingKeys(daily, keys.daily);
    AddSettingKeys(intraday, keys.intraday);
    for (const GraphSetting& s : daily.records)
        AddBoxKeys(s, keys.box);
    return keys;
}

size_t CollectStudyKeys(KeyedItemStore& store, const StudyKeySets& keys, std::span<const PackedDate> heldDays)
{
    std::set<uint32_t> days;
    for (PackedDate d : BuildSortedDayList(heldDays))
        days.insert(DateToCalendarIndex(d) / kDaySeconds);
    std::vector<KeyedItemKey> unused, intraday;
    store.ForEachItem([&](const KeyedItemKey& key, const uint8_t* blob) {
        if (!blob)
            return;
        const std::set<uint32_t>* set = key.kind == kDailyKind      ? &keys.daily
                                        : key.kind == kIntradayKind ? &keys.intraday
                                        : key.kind == kBoxKind      ? &keys.box
                                                                    : nullptr;
        if (!set)
            return;
        if (!set->count(key.subKey))
            unused.push_back(key);
        else if (key.kind == kIntradayKind && !days.empty())
            intraday.push_back(key);
    });
    for (const KeyedItemKey& key : unused)
        store.SetItem(key.share, key.kind, key.subKey, nullptr);
    size_t changed = unused.size();
    for (const KeyedItemKey& key : intraday)
        if (const uint8_t* blob = store.GetItem(key.share, key.kind, key.subKey))
            changed += PruneIntradayItem(store, key, blob, days) ? 1 : 0;
    return changed;
}

std::vector<PackedDate> DrawingDays(std::vector<PackedDate> held, PackedDate today)
{
    if (!held.empty())
        held.push_back(today);
    return held;
}

void CollectStudyKeys()
{
    std::vector<PackedDate> days;
    {
        SharedLockGuard lock(IntradayStoreLock());
        days = TheRTStore().days;
    }
    const LocalDateTime now = NowLocal();
    CollectStudyKeys(LinesAndTextStore(), GatherStudyKeys(Config().dailyGraphs, Config().intradayGraphs),
                     DrawingDays(std::move(days), PackDate(now.day, now.month, now.year)));
}

std::set<uint32_t> MarketSourcesInUse(const NamedRecordFamily<GraphSetting>& intraday)
{
    std::set<uint32_t> used;
    for (const GraphSetting& s : intraday.records)
        for (int window = 0; window < graphsetting::kAddOnWindowCount; ++window)
            for (int i = 0; i < graphsetting::kIndicatorsPerWindow; ++i) {
                const IndicatorRecord r = IndicatorRecord::Read(graphsetting::IndicatorSlot(s, window, i));
                if (r.type < IndicatorType::FirstBreadth || r.type > IndicatorType::LastBreadth)
                    continue;
                MarketSource source;
                source.isPortfolio = (r.flags & 1) != 0;
                source.portfolio = uint16_t(r.period4);
                source.listCode = uint16_t(r.period3) & 0x7F;
                used.insert(source.SubKey());
            }
    return used;
}

} // namespace qv
