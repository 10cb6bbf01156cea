// The five sector-filter fields of a share list, their program-wide defaults and their caption.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

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

// The sector levels (a filter's group): the financials split, main sectors, sectors, sub-sectors.
constexpr int32_t kSectorLevelFinancials = 2023;
constexpr int32_t kSectorLevelMain = 2024;
constexpr int32_t kSectorLevelSectors = 2025;
constexpr int32_t kSectorLevelSubSectors = 2026;

// The one reader of the database's sector names: the texts of a level, position n naming sector
// index n, from the company field tables (the items of the first directory entry's extra block):
// table 23 for main sectors, 25 for sub-sectors, 24 for sectors and any other group. The main-sector
// and sector tables hold a 256-byte map before their texts. Views into the loaded database.
std::vector<std::string_view> SectorLevelTexts(int32_t group);
// Sector `index` of a group; empty when the table or the entry is missing.
std::string CompanySectorName(int32_t group, int32_t index);

} // namespace qv
