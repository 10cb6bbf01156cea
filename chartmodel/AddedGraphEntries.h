// The added graphs of a graph setting: the five 24-byte entries (four graphs drawn over the price
// and the relative-price graph), filing an item into an entry with the colour the user picks,
// removing it, and the toggles of the index commands. The dialogs come through replaceable seams,
// and the records the program builds for an entry (a portfolio's value history) are kept here.
//
// Entry layout: u32 extra value at 0, the packed pen word at 8 (colour bits 0-23, style 24-26,
// filled 27, width - 1 in 28-31), the u16 item id at 22: 0 free, 0xFFFE the index of the share's
// sector, 0xFFFF a record the program built (its handle is the extra value), else a database id
// (the extra value is then the item's line, its sub-record).
#pragma once

#include "core/RecordCursor.h"

#include <cstdint>
#include <functional>
#include <optional>
#include <string>

namespace qv {

struct GraphSetting;
struct ShareList;

constexpr uint16_t kAddedShareIndex = 0xFFFE;
constexpr uint16_t kAddedOwnRecord = 0xFFFF;
constexpr uint16_t kAddedFtse100 = 0xB605;
constexpr int kAddedGraphEntries = 4;   // entries 0-3; entry 4 is the relative graph
constexpr int kRelativeEntry = 4;

struct AddedGraphEntry {
    uint32_t extra = 0;
    uint32_t pen = 0;
    uint16_t id = 0;
    bool operator==(const AddedGraphEntry&) const = default;
};
AddedGraphEntry ReadAddedGraph(const GraphSetting& setting, int entry);
void WriteAddedGraph(GraphSetting& setting, int entry, const AddedGraphEntry& value);

// The dialogs: the line-colour chooser ("Choose colour for line") on the chart's background
// offering a colour, giving the chosen packed pen; the share chooser on the view's list with the
// source title, giving the chosen item. Both give nothing on Cancel, and give nothing while unset.
struct AddedGraphDialogs {
    std::function<std::optional<uint32_t>(uint32_t background, uint32_t offered)> chooseColour;
    std::function<std::optional<RecordCursor>(const std::string& title, ShareList* list)> chooseShare;
};
AddedGraphDialogs& AddedGraphDialogSeams();

// Files the item into the entry with the pen the user picks (offered: PickLineColour of the
// background). Cancel leaves the entry as it was; true when filed.
bool SetAddedGraphEntry(GraphSetting& setting, uint16_t id, uint32_t extra, int entry, uint32_t background);
// Frees the entry (and a record the program built for it); true when it held something.
bool RemoveAddedGraph(GraphSetting& setting, int entry);

// The first free entry of 0-3, or -1.
int FirstFreeAddedGraph(const GraphSetting& setting);
// Where a chosen item goes: the first free entry, the fourth when all are used.
int AddedGraphTarget(const GraphSetting& setting);
// The entry of 0-3 holding the id, or -1.
int FindAddedGraph(const GraphSetting& setting, uint16_t id);

// The index toggles: removes the entry with the id when present, else files the id into the first
// free entry (nothing when none is free). True when the setting changed.
bool ToggleAddedGraph(GraphSetting& setting, uint16_t id, uint32_t background);
// The relative-price toggles: entry 4 loses what it holds; unless it held the id, the id is filed
// there. True when the setting changed.
bool ToggleRelativeGraph(GraphSetting& setting, uint16_t id, uint32_t background);

// Records the program built for entries (id 0xFFFF), owned here until their entry is removed.
// The handle (never 0) is the entry's extra value.
uint32_t KeepOwnRecord(uint8_t* record);
const uint8_t* FindOwnRecord(uint32_t handle);
void FreeOwnRecord(uint32_t handle);

} // namespace qv
