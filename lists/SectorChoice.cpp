// Sector levels, their names, and the sector commands' filter changes.
#include "lists/SectorChoice.h"

namespace qv {

int32_t SectorChooserLevel(int32_t level)
{
    return level >= kSectorLevelFinancials && level <= kSectorLevelSubSectors ? level : kSectorLevelSectors;
}

std::vector<std::string> SectorLevelNames(int32_t level)
{
    if (level == kSectorLevelFinancials)
        return {"Financials", "Non-Financials"};
    std::vector<std::string> names;
    for (std::string_view text : SectorLevelTexts(level))
        names.emplace_back(text);
    return names;
}

bool HasToggleableSector(const SectorFilter& filter)
{
    return filter.sectorIndex >= 0 && filter.sectorGroup >= kSectorLevelFinancials
        && filter.sectorGroup <= kSectorLevelSubSectors;
}

SectorFilter ToggleOneSector(SectorFilter filter)
{
    filter.sectorFilterOn = filter.sectorFilterOn ? 0 : 1;
    if (filter.sectorFilterOn)
        filter.newHighsOnly = filter.newLowsOnly = 0;
    return filter;
}

SectorFilter ApplySectorChoice(SectorFilter filter, const SectorChoice& choice)
{
    if (!choice.oneSector || choice.index < 0) {
        filter.sectorFilterOn = 0;
        return filter;
    }
    filter.sectorGroup = choice.level;
    filter.sectorIndex = choice.index;
    filter.sectorFilterOn = 1;
    filter.newHighsOnly = filter.newLowsOnly = 0;
    LastSectorChoice() = choice;
    return filter;
}

SectorChoice& LastSectorChoice()
{
    static SectorChoice last;
    return last;
}

} // namespace qv
