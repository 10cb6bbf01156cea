// The study keys the graph settings can still show, and the clean-up of the lines-and-text store
// once "Graph.cfg" is read: drawings under keys no setting uses lose their blobs, and intraday
// drawings on days the intraday store no longer holds are dropped.
#pragma once

#include "core/ConfigState.h"
#include "core/KeyedItemStore.h"
#include "core/PackedDate.h"

#include <cstdint>
#include <set>
#include <span>
#include <vector>

namespace qv {

struct StudyKeySets {
    std::set<uint32_t> daily, intraday, box;
};
// The price and volume keys and every indicator record's key of the daily and intraday settings, and
// the series keys of the daily settings' box charts.
StudyKeySets GatherStudyKeys(const NamedRecordFamily<GraphSetting>& daily, const NamedRecordFamily<GraphSetting>& intraday);
// Items of kind 0 (daily), 1 (intraday) and 5 (box charts) whose sub-key is not in their set lose
// their blobs; each intraday item keeps only its objects on the held days (a line study's alarm word
// cut to its two low bits). The number of items changed.
size_t CollectStudyKeys(KeyedItemStore& store, const StudyKeySets& keys, std::span<const PackedDate> heldDays);
// The days whose intraday drawings are kept: the held days and today, which the store holds only once
// its first tick is written (a line drawn on today, perhaps with an alarm, stays); none without held
// days.
std::vector<PackedDate> DrawingDays(std::vector<PackedDate> held, PackedDate today);
// The same over the program's settings, the intraday store's days and today, and the lines-and-text
// store.
void CollectStudyKeys();

// The market-table sources (as `MarketSource::SubKey`) the market-breadth studies of the intraday
// settings show: a portfolio (flag bit 0) by its number, else a list by its group.
std::set<uint32_t> MarketSourcesInUse(const NamedRecordFamily<GraphSetting>& intraday);

} // namespace qv
