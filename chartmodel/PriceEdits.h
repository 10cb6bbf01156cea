// The user's corrections of a share's daily prices: a list of nodes over a loaded price array, each
// remembering the day as the database gave it, and their keeping in the "EditPrice.cfg" store (kind 6
// for the corrected days, kind 7 for the swing chart's per-share entries).
#pragma once

#include "core/DayRecord.h"
#include "core/RecordCursor.h"

#include <cstdint>
#include <list>
#include <span>
#include <vector>

namespace qv {

inline constexpr uint16_t kPriceEditFlagsKind = 7;
inline constexpr size_t kPriceEditFlagSize = 8;

// One corrected day. `record` points into the loaded price array and holds the corrected values;
// `unedited` is the day as the database gave it.
struct PriceEdit {
    uint32_t changed = 0;
    DayRecord unedited{};
    DayRecord* record = nullptr;
};

// Nodes in ascending day order, at most one a day. The nodes point into a price array: whoever owns
// both frees (or restores) the list before the array is freed or moved.
using PriceEditList = std::list<PriceEdit>;

// The record of the day in an array ended by a day of 0 (or in the span); null when there is none.
DayRecord* FindPriceRecordByDay(DayRecord* records, uint16_t day);
DayRecord* FindPriceRecordByDay(std::span<DayRecord> records, uint16_t day);

// True when both exist, share their day, and a price differs by more than 0.0001 or the volume by
// more than 0.9.
bool PriceRecordDiffers(const DayRecord* a, const DayRecord* b);

bool AnyPriceEdited(const PriceEditList& list);
PriceEdit* FindPriceEdit(PriceEditList& list, const DayRecord* record);

// The node of the record's day, repointed at this record; a new node (the record copied as its
// unedited day) inserted in day order when there is none.
PriceEdit* AddPriceEdit(PriceEditList& list, DayRecord* record, uint32_t changed);

// Unlinks and frees a node; with restore, its unedited day goes back into its record while the
// record still holds that day.
void RemovePriceEdit(PriceEditList& list, PriceEdit* node, bool restore);
void FreePriceEdits(PriceEditList& list, bool restore);

// Rebuilds the list from the share's stored corrections and lays them over the records. Unless
// forced, a stored day equal to the database's is not taken.
void LoadPriceEdits(DayRecord* records, PriceEditList& list, const RecordCursor* entry, bool force);
void LoadPriceEdits(std::span<DayRecord> records, PriceEditList& list, const RecordCursor* entry, bool force);

// Stores the share's real corrections (or clears its item) and recomputes its stream statistics.
void SavePriceEdits(PriceEditList& list, const RecordCursor* entry);

// The share's swing entries (8 bytes each, up to the first whose first u16 is 0) into the buffer;
// answers their size in bytes, 0 with an empty buffer when it has none.
size_t LoadPriceEditFlags(std::vector<uint8_t>& buffer, const RecordCursor* entry);
void SavePriceEditFlags(std::span<const uint8_t> entries, const RecordCursor* entry);

// A store older than version 8 kept corrections equal to the database's: each share's item passes
// once through loading and saving, which drops them. Needs the database loaded.
void UpgradeOldPriceEdits();

} // namespace qv
