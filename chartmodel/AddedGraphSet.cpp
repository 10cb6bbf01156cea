// The daily chart's added graphs: loading, bars, series and the joint range.
#include "chartmodel/AddedGraphSet.h"

#include "chartmodel/RelativeSeries.h"

#include "chartmodel/EodChart.h"
#include "chartmodel/GraphModel.h"
#include "chartmodel/SeriesLayout.h"
#include "chartmodel/ViewGraph.h"
#include "core/Database.h"
#include "core/Memory.h"
#include "core/PriceSubRecords.h"
#include "core/RecordFlags.h"
#include "core/RecordLookup.h"
#include "platform/ByteOrder.h"

#include <cfloat>
#include <cstdio>

namespace qv {
namespace {

constexpr size_t kSectorWord = 6;
constexpr uint16_t kSectorMask = 0x3F;
constexpr uint32_t kAddedSeriesKey = 3u << 24;
constexpr uint32_t kGraphKindNoAdded = 8;

uint16_t SectorCode(const uint8_t* record) { return LoadU16(record + kSectorWord) & kSectorMask; }
bool IsIndexRecord(const uint8_t* record)
{
    return RecordMarketBits(LoadU16(record + kRecordFlagsOffset)) == kMarketIndex;
}

} // namespace

std::vector<bool> GetJointPriceRange(float& low, float& high, std::span<AddedRange> added)
{
    std::vector<bool> joined(added.size(), false);
    for (size_t k = 0; k < added.size(); ++k) {
        const AddedRange& a = added[k];
        if (!(a.low < a.high) || a.reference == 0 || a.priceReference == 0)
            continue;
        const float ratio = a.reference / a.priceReference;
        low = std::min(low, a.low / ratio);
        high = std::max(high, a.high / ratio);
        joined[k] = true;
    }
    for (size_t k = 0; k < added.size(); ++k) {
        if (!joined[k])
            continue;
        const float ratio = added[k].reference / added[k].priceReference;
        added[k].low = low * ratio;
        added[k].high = high * ratio;
    }
    return joined;
}

uint8_t* FindSectorIndexRecord(const uint8_t* share)
{
    if (!share || !MainRecordBlock || IsIndexRecord(share))
        return nullptr;
    const uint16_t code = SectorCode(share);
    if (code == 0 || code == kSectorMask)
        return nullptr;
    for (uint8_t* r = MainRecordBlock; RecordLength(r) != 0; r = NextRecord(r))
        if (IsIndexRecord(r) && SectorCode(r) == code)
            return r;
    return nullptr;
}

uint8_t* ResolveAddedGraph(const AddedGraphEntry& entry, const uint8_t* share, uint32_t& line)
{
    line = 0;
    switch (entry.id) {
    case 0: return nullptr;
    case kAddedShareIndex: return FindSectorIndexRecord(share);
    case kAddedOwnRecord: return const_cast<uint8_t*>(FindOwnRecord(entry.extra));
    default: break;
    }
    uint8_t* record = FindShareRecord(entry.id);
    if (record && entry.extra < uint32_t(CountSubRecords(record)))
        line = entry.extra;
    return record;
}

std::vector<float> AlignToBars(const std::vector<DayRecord>& graph, const DayRecord* days,
                               std::span<const FoldedBar> bars)
{
    std::vector<float> values(bars.size(), 0.0f);
    size_t g = 0;
    int32_t previous = -1;
    for (size_t b = 0; b < bars.size(); ++b) {
        const uint16_t date = days[bars[b].last].date;
        while (g < graph.size() && graph[g].date < date)
            ++g;
        if (g >= graph.size() || graph[g].date != date || !(graph[g].close > 0))
            continue;
        values[b] = graph[g].close;
        // The bars since the last common day lie on the line between the two.
        for (int32_t i = previous + 1; previous >= 0 && i < int32_t(b); ++i) {
            const float t = float(i - previous) / float(int32_t(b) - previous);
            values[size_t(i)] = values[size_t(previous)] + t * (values[b] - values[size_t(previous)]);
        }
        previous = int32_t(b);
    }
    return values;
}

void AddedGraphSet::Free(int entry)
{
    slots_[size_t(entry)] = {};
}

void AddedGraphSet::Load(GraphSetting& setting, const uint8_t* shareRecord, uint32_t graphKind)
{
    // Records of a database loaded since are gone.
    const bool newDatabase = generation_ != DatabaseLoadGeneration;
    generation_ = DatabaseLoadGeneration;
    for (int k = 0; k < int(slots_.size()); ++k) {
        AddedGraphSlot& slot = slots_[size_t(k)];
        const AddedGraphEntry entry = graphKind == kGraphKindNoAdded ? AddedGraphEntry{} : ReadAddedGraph(setting, k);
        const bool sameShare = entry.id != kAddedShareIndex || slot.shareRecord == shareRecord;
        if (slot.loaded && slot.entry == entry && sameShare && !newDatabase)
            continue;
        Free(k);
        slot.loaded = true;
        slot.entry = entry;
        slot.shareRecord = shareRecord;
        if (entry.id == 0)
            continue;
        uint32_t line = 0;
        uint8_t* record = ResolveAddedGraph(entry, graphKind == 0 ? shareRecord : nullptr, line);
        if (!record) {
            if (entry.id != kAddedShareIndex) {
                WriteAddedGraph(setting, k, {});
                slot.entry = {};
            }
            continue;
        }
        RecordCursor cursor{record, line};
        DayRecord* days = nullptr;
        const int32_t count = DecodePriceHistory(&cursor, &days, 0, false, true);
        for (int32_t i = 0; days && i < count && days[i].date != 0; ++i)
            slot.days.push_back(days[i]);
        ProFree(days);
        slot.itemName = FormatShareTitle(RecordCursor{record, line});
        slot.name = slot.itemName;
        // The relative entry draws the share against its item, not the item itself.
        if (k == kRelativeEntry)
            slot.name = "Relative to " + slot.name;
    }
}

void AddedGraphSet::Align(const std::vector<DayRecord>& days, std::span<const FoldedBar> bars)
{
    for (AddedGraphSlot& slot : slots_) {
        slot.values.clear();
        slot.reference = slot.priceReference = 0;
        slot.series = nullptr;
        if (slot.days.empty() || bars.empty())
            continue;
        slot.values = &slot == &slots_[size_t(kRelativeEntry)]
                          ? AlignToBars(BuildRelativeSeries(days, slot.days), days.data(), bars)
                          : AlignToBars(slot.days, days.data(), bars);
        for (size_t b = 0; b < bars.size(); ++b)
            if (slot.values[b] > 0) {
                slot.reference = slot.values[b];
                slot.priceReference = bars[b].values.close;
                break;
            }
    }
}

void AddedGraphSet::BuildSeries(CViewGraph& view, TimeBand* band, GraphPane* price)
{
    if (!band || !price || !price->visible)
        return;
    for (int k = 0; k < int(slots_.size()); ++k) {
        AddedGraphSlot& slot = slots_[size_t(k)];
        if (slot.reference == 0)
            continue;
        GraphSeries* series = AddSeries(band, price, kAddedSeriesKey + uint32_t(k));
        std::snprintf(series->title, sizeof series->title, "%s", slot.name.c_str());
        view.AddValueRange(series);
        PlotElement* e = AddPlotElement(series, 1, 0, slot.entry.pen, 0, 1, 0, 0, 0, 0);
        auto* out = static_cast<float*>(InitDataArray(e->values, kArrayFloats, int32_t(slot.values.size()), 0, 0));
        e->values.flags = kSelectSkipZero;
        std::copy(slot.values.begin(), slot.values.end(), out);
        slot.series = series;
    }
}

void AddedGraphSet::JoinRanges(ValueRange* price)
{
    std::vector<AddedRange> ranges;
    std::vector<ValueRange*> targets;
    for (AddedGraphSlot& slot : slots_) {
        if (!slot.series || !slot.series->range)
            continue;
        // The graph's own range, leaving out the bars it does not draw.
        AddedRange r{FLT_MAX, -FLT_MAX, slot.reference, slot.priceReference};
        for (float v : slot.values)
            if (v > 0) {
                r.low = std::min(r.low, v);
                r.high = std::max(r.high, v);
            }
        ranges.push_back(r);
        targets.push_back(slot.series->range);
    }
    if (!price || IsRangeEmpty(*price)) {
        for (size_t k = 0; k < ranges.size(); ++k) {
            targets[k]->minimum = ranges[k].low;
            targets[k]->maximum = ranges[k].high;
        }
        return;
    }
    float low = price->minimum, high = price->maximum;
    GetJointPriceRange(low, high, ranges);
    price->minimum = low;
    price->maximum = high;
    for (size_t k = 0; k < ranges.size(); ++k) {
        targets[k]->minimum = ranges[k].low;
        targets[k]->maximum = ranges[k].high;
        // On a log price axis the graphs' ranges are logarithmic too.
        targets[k]->flags = uint8_t((targets[k]->flags & ~kRangeLogarithmic) | (price->flags & kRangeLogarithmic));
    }
}

} // namespace qv
