// What the special edition's set-up wizard proposes: the first list table not in use, the first two
// consecutive graph settings still at their defaults, and the two graph settings the user keeps chosen.
#pragma once

#include "core/ConfigState.h"

#include <array>
#include <cstdint>
#include <optional>
#include <span>

namespace qv {

// A list table is unused when it has no column records, or when every column record is a plain field
// column of field code 0 or 15.
bool ListTableUnused(std::span<const uint8_t> layout);
// The first unused table of the twelve, or none.
std::optional<uint8_t> FirstUnusedListTable(const TableFamily& tables);
// The first i whose graph settings i and i + 1 are both at their defaults, or none.
std::optional<uint8_t> FirstUnusedGraphPair(const std::array<bool, kSettingSlots>& differs);

// The graph list's two selections: a third entry selected drops the previous one (the latest becomes
// the previous), and one of the two deselected is selected again.
struct GraphPairChoice {
    uint8_t latest = 0, previous = 1;
    void select(uint8_t slot);
    bool selected(uint8_t slot) const { return slot == latest || slot == previous; }
    // The two in ascending order.
    std::array<uint8_t, 2> ordered() const;
};

} // namespace qv
