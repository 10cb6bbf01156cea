// The older graph settings file ("Graph.cfg" tagged "ZQAC", only setting records) and the pruning of
// the setting records before the lines-and-text store is saved.
#pragma once

#include <cstdint>
#include <span>

namespace qv {

inline constexpr uint32_t kMaxOldGraphBody = 2000000;

// At start-up: reads an older "Graph.cfg" into the program's setting records; a current file is left
// to the lines-and-text store, and any other header is reported.
void LoadGraphConfig();

// Cuts every sub-record that reaches or passes the end of its record to length 0.
void RepairSettingRecords(std::span<uint8_t> block);

// Drops the setting records that live only while the program runs (ids 144-207) and stores the rest
// in the lines-and-text store.
void DeleteGraphSettingRecords();

} // namespace qv
