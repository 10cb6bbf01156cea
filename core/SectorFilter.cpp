// Sector-filter defaults and captions.
#include "core/SectorFilter.h"

#include "core/Database.h"
#include "core/ShareList.h"
#include "platform/ByteOrder.h"

#include <atomic>
#include <span>

namespace qv {
namespace {

std::atomic<bool> g_fixed{false};

// The data of item n (from 0) of the first extra block's chain of {u16 length, ..., byte 4 the
// bytes of head beyond 8} items.
std::span<const uint8_t> FieldTable(int n)
{
    if (DatabaseBlockCount() < 1)
        return {};
    const DatabaseBlock& first = GetDatabaseBlock(0);
    uint32_t at = 0;
    for (int i = 0; first.extra && first.extraSize - at >= 8; ++i) {
        uint16_t length = LoadU16(first.extra + at);
        if (length < 8 || length > first.extraSize - at)
            return {};
        if (i == n) {
            uint32_t data = 8u + first.extra[at + 4];
            return data <= length ? std::span<const uint8_t>(first.extra + at + data, length - data)
                                  : std::span<const uint8_t>{};
        }
        at += length;
    }
    return {};
}

} // namespace

SectorFilter& SectorFilterDefaults()
{
    static SectorFilter defaults;
    return defaults;
}

void SetFixedSectorFilter(bool fixed) { g_fixed = fixed; }
bool FixedSectorFilter() { return g_fixed; }

SectorFilter SectorFilterOf(const ShareList& list)
{
    return SectorFilter{list.sectorIndex, list.sectorGroup, list.sectorFilterOn, list.newHighsOnly, list.newLowsOnly};
}

void SetSectorFilter(ShareList& list, const SectorFilter& f)
{
    list.sectorIndex = f.sectorIndex;
    list.sectorGroup = f.sectorGroup;
    list.sectorFilterOn = f.sectorFilterOn;
    list.newHighsOnly = f.newHighsOnly;
    list.newLowsOnly = f.newLowsOnly;
}

void SaveSectorFilter(const SectorFilter& listFilter) { SectorFilterDefaults() = listFilter; }

void SaveSectorFilter(const ShareList& list) { SaveSectorFilter(SectorFilterOf(list)); }

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

std::string FormatSectorFilterText(ShareList& list)
{
    SectorFilter filter = SectorFilterOf(list);
    std::string caption = FormatSectorFilterText(filter, CompanySectorName);
    SetSectorFilter(list, filter);
    return caption;
}

std::vector<std::string_view> SectorLevelTexts(int32_t group)
{
    // Main sectors and sectors put a 256-byte map of stored numbers before their texts; the
    // sub-sectors are numbered directly.
    const bool mapped = group != kSectorLevelSubSectors;
    auto table = FieldTable(group == kSectorLevelMain ? 23 : group == kSectorLevelSubSectors ? 25 : 24);
    if (mapped)
        table = table.size() >= 256 ? table.subspan(256) : std::span<const uint8_t>{};
    std::vector<std::string_view> texts;
    for (size_t pos = 0; pos < table.size() && pos + 1 + table[pos] <= table.size(); pos += 1 + table[pos])
        texts.emplace_back(reinterpret_cast<const char*>(&table[pos + 1]), table[pos]);
    // Items are padded to an even length: a trailing zero byte reads as an empty text, not a name.
    while (!texts.empty() && texts.back().empty())
        texts.pop_back();
    return texts;
}

std::string CompanySectorName(int32_t group, int32_t index)
{
    const std::vector<std::string_view> texts = SectorLevelTexts(group);
    return index >= 0 && size_t(index) < texts.size() ? std::string(texts[size_t(index)]) : std::string();
}

} // namespace qv
