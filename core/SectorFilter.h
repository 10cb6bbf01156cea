// The five sector-filter fields of a share list, their program-wide defaults and their caption.
#pragma once

#include <cstdint>
#include <functional>
#include <string>

namespace qv {

struct ShareList;

struct SectorFilter {
    int32_t sectorIndex = -1; // within its group
    int32_t sectorGroup = 0;  // 2023 the financials split, 2024-2026 the sector tables
    int32_t sectorFilterOn = 0;
    int32_t newHighsOnly = 0;
    int32_t newLowsOnly = 0;
    bool operator==(const SectorFilter&) const = default;
};

// The defaults that new lists and list layouts take.
SectorFilter& SectorFilterDefaults();
// Set, every list keeps its own filter instead of taking the defaults when its caption is made.
void SetFixedSectorFilter(bool fixed);
bool FixedSectorFilter();

// A share list's five filter fields, and setting them.
SectorFilter SectorFilterOf(const ShareList& list);
void SetSectorFilter(ShareList& list, const SectorFilter& filter);

// A share list's filter becomes the default.
void SaveSectorFilter(const SectorFilter& listFilter);
void SaveSectorFilter(const ShareList& list);
// A list layout takes the defaults.
void CopyGlobalListSettings(SectorFilter& layoutFilter);

// The name of sector `index` of a sector group, from the company data.
using SectorNameLookup = std::function<std::string(int32_t group, int32_t index)>;

// The caption of a list's sector filter: "All sectors", "Financials", "Non-Financials", a sector's
// name, "New Highs" or "New Lows". Unless the filter is fixed the list first takes the defaults.
std::string FormatSectorFilterText(SectorFilter& listFilter, const SectorNameLookup& sectorName);
// The same for a share list, with the sector names of the loaded database.
std::string FormatSectorFilterText(ShareList& list);

// Sector `index` of a group from the company field tables of the database (the items of the first
// directory entry's extra block): table 23 for group 2024, 25 for 2026, 24 for any other; empty
// when the table or the entry is missing.
std::string CompanySectorName(int32_t group, int32_t index);

} // namespace qv
