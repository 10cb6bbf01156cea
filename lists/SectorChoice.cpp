// Sector levels, their names, and the sector commands' filter changes.
#include "lists/SectorChoice.h"

#include "lists/FieldTable.h"

namespace qv {
namespace {

// Field-table entries 24 and 25 hold a 256-byte map of stored numbers before their texts; the
// sub-sectors (26) are numbered directly.
std::span<const uint8_t> LevelTexts(int32_t level)
{
    const int entry = level == kSectorLevelMain ? 24 : level == kSectorLevelSubSectors ? 26 : 25;
    const auto e = FieldTableEntryOf(DatabaseFieldTable(), entry);
    if (!e)
        return {};
    if (entry == 26)
        return e->data;
    return e->data.size() >= 256 ? e->data.subspan(256) : std::span<const uint8_t>{};
}

} // namespace

int32_t SectorChooserLevel(int32_t level)
{
    return level >= kSectorLevelFinancials && level <= kSectorLevelSubSectors ? level : kSectorLevelSectors;
}

std::vector<std::string> SectorLevelNames(int32_t level)
{
    if (level == kSectorLevelFinancials)
        return {"Financials", "Non-Financials"};
    std::vector<std::string> names;
    const std::span<const uint8_t> texts = LevelTexts(level);
    for (size_t pos = 0; pos < texts.size() && pos + 1 + texts[pos] <= texts.size(); pos += 1 + texts[pos])
        names.emplace_back(reinterpret_cast<const char*>(&texts[pos + 1]), texts[pos]);
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
