// The daily chart's added graphs: the loaded prices of each added-graph entry of the setting (a
// share or index, the index of the share's sector, or a record the program built), their closes on
// the chart's bars, their line series over the price pane, and the joint price range that puts
// every graph on the share's axis, starting from the share's level.
#pragma once

#include "chartmodel/AddedGraphEntries.h"
#include "core/DayRecord.h"

#include <array>
#include <cstdint>
#include <span>
#include <string>
#include <vector>

namespace qv {

class CViewGraph;
struct FoldedBar;
struct GraphPane;
struct GraphSeries;
struct GraphSetting;
struct TimeBand;
struct ValueRange;

// One graph's part in the joint range: its own low and high, its reference value and the share's
// value at the same bar.
struct AddedRange {
    float low = 0, high = 0;
    float reference = 0;
    float priceReference = 0;
};
// Widens the price range by each graph's range brought to the share's level (divided by reference /
// price reference), then gives each graph the price range at its own level. A graph with an empty
// range or a reference of 0 (on either side) is left out and keeps its own range; true for the
// graphs that joined.
std::vector<bool> GetJointPriceRange(float& low, float& high, std::span<AddedRange> added);

// The index record of the share's sector: a record of the index market whose sector code equals the
// share's; null for a share without a sector or one that is itself an index.
uint8_t* FindSectorIndexRecord(const uint8_t* share);

// The record an entry draws (its sub-record in `line`); null when none is found.
uint8_t* ResolveAddedGraph(const AddedGraphEntry& entry, const uint8_t* share, uint32_t& line);

// Each bar's value of a graph: the close of its day on the bar's last day; bars between two such
// days take the line between them, so the polyline runs through the days both histories have;
// bars before the first and after the last such day are 0 (not drawn).
std::vector<float> AlignToBars(const std::vector<DayRecord>& graph, const DayRecord* days,
                               std::span<const FoldedBar> bars);

struct AddedGraphSlot {
    AddedGraphEntry entry;          // what the slot loaded
    const uint8_t* shareRecord = nullptr; // the share a sector index was found for
    bool loaded = false;
    std::vector<DayRecord> days;
    std::string name;               // the series' title ("Relative to " the item for the relative entry)
    std::string itemName;           // the item's own name, as the legend's texts take it
    std::vector<float> values;      // one per bar
    float reference = 0, priceReference = 0;
    GraphSeries* series = nullptr;
};

class AddedGraphSet {
public:
    // Loads the entries that changed since the last load (graph kind 8 loads none). An entry whose
    // item is found nowhere is freed in the setting, except the share's index, which waits for a
    // share that has one.
    void Load(GraphSetting& setting, const uint8_t* shareRecord, uint32_t graphKind);
    // Puts the loaded graphs on the chart's bars.
    void Align(const std::vector<DayRecord>& days, std::span<const FoldedBar> bars);
    // One series a graph with values, over the price pane, in the entry's pen.
    void BuildSeries(CViewGraph& view, TimeBand* band, GraphPane* price);
    // After the value ranges: the joint range of the price series and the graphs.
    void JoinRanges(ValueRange* price);

    const AddedGraphSlot& slot(int entry) const { return slots_[size_t(entry)]; }
    void Free(int entry);

private:
    std::array<AddedGraphSlot, 5> slots_;
    uint32_t generation_ = 0;
};

} // namespace qv
