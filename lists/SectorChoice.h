// Showing one sector of a list: the sector levels and their names as the sector chooser offers
// them, and what the two sector commands do to a list's sector filter.
#pragma once

#include "core/SectorFilter.h"

#include <cstdint>
#include <string>
#include <vector>

namespace qv {

// A level the chooser opens on: the level given, or "Sectors" when it is out of range.
int32_t SectorChooserLevel(int32_t level);
// The names of a level, position n naming sector index n: "Financials" and "Non-Financials" for the
// split, else the database's sector texts of that level (field-table entries 24, 25 and 26).
std::vector<std::string> SectorLevelNames(int32_t level);

// What the chooser answers: a sector shown alone, or none.
struct SectorChoice {
    bool oneSector = false;
    int32_t level = kSectorLevelSectors;
    int32_t index = -1;
};

// The filter has a sector that "Select sector" can switch on and off.
bool HasToggleableSector(const SectorFilter& filter);
// "Select sector" with such a sector: on becomes off; off becomes on and clears the new highs and lows.
SectorFilter ToggleOneSector(SectorFilter filter);
// The chooser's answer applied: a chosen sector is stored and switched on (the new highs and lows
// cleared) and remembered as the last sector; no sector switches the filter off.
SectorFilter ApplySectorChoice(SectorFilter filter, const SectorChoice& choice);
// The sector the chooser last stored (level and index; index -1 before any).
SectorChoice& LastSectorChoice();

} // namespace qv
