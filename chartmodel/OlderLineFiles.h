// The lines-and-text files of installations older than the store's version 4, merged into the store
// once and deleted: "RTLines.cfg" (line entries appended to the items of their keys), then
// "RTGraph.cfg" (the intraday charts' lines of each held day, made drawing objects), or, without it,
// "EODGraph.cfg" (the daily charts' items as they stand).
#pragma once

#include "core/PackedDate.h"

#include <cstdint>
#include <span>

namespace qv {

class KeyedItemStore;

// The old files' layouts, as this merge reads them.
// "RTLines.cfg": two u32 header words, then records {u32 share, u16 kind, u32 sub-key when the
// first header word is above 0, u32 body length, body of 24-byte entries}. An entry's first 16
// bytes go over as they stand, then a u32 0, the word at 16, a byte 1 when byte 20 is set, byte 21,
// and the u16 of the chart slot's bit: 28 bytes.
inline constexpr size_t kOldLineEntryBytes = 24;
inline constexpr size_t kMergedLineEntryBytes = 28;
// "RTGraph.cfg": two u32 header words (the first 2), then items as the store writes them, each
// keyed by a day in its kind field; its blob holds 24-byte lines {u32 time of day, f32 value, u32
// time of day, f32 value, u32 pen, u32 study subtype}.
inline constexpr uint32_t kRTGraphVersion = 2;

// Runs the merge into the store; `heldDays` are the intraday store's days (sorted). The store's
// version becomes 3 so that the later upgrades follow.
void MergeOlderLineFiles(KeyedItemStore& store, std::span<const PackedDate> heldDays);

} // namespace qv
