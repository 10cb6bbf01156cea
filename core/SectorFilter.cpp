// Sector-filter defaults and captions.
#include "core/SectorFilter.h"

#include <atomic>

namespace qv {
namespace {

std::atomic<bool> g_fixed{false};

} // namespace

SectorFilter& SectorFilterDefaults()
{
    static SectorFilter defaults;
    return defaults;
}

void SetFixedSectorFilter(bool fixed) { g_fixed = fixed; }
bool FixedSectorFilter() { return g_fixed; }

void SaveSectorFilter(const SectorFilter& listFilter) { SectorFilterDefaults() = listFilter; }

void CopyGlobalListSettings(SectorFilter& layoutFilter) { layoutFilter = SectorFilterDefaults(); }

std::string FormatSectorFilterText(SectorFilter& f, const SectorNameLookup& sectorName)
{
    if (!FixedSectorFilter())
        f = SectorFilterDefaults();
    std::string caption = "All sectors";
    if (f.sectorFilterOn) {
        if (f.sectorGroup == 2023)
            caption = f.sectorIndex != 0 ? "Non-Financials" : "Financials";
        else if (sectorName)
            caption = sectorName(f.sectorGroup, f.sectorIndex);
    }
    if (f.newHighsOnly)
        caption = "New Highs";
    if (f.newLowsOnly)
        caption = "New Lows";
    return caption;
}

} // namespace qv
