// The sector list's rules.
#include "shell/SectorListRules.h"

#include "shell/FindShareIndex.h"

#include <algorithm>

namespace qv {
namespace {

constexpr int32_t kLeadLevel = 2;
constexpr int32_t kLooseLevel = 4;
constexpr int32_t kIndentLevel = 6;
constexpr int32_t kLastLevel = 8;

int Mix(int a, int wa, int b, int wb) { return (a * wa + b * wb) / (wa + wb); }
Rgb Mix(Rgb a, int wa, Rgb b, int wb) { return {Mix(a.r, wa, b.r, wb), Mix(a.g, wa, b.g, wb), Mix(a.b, wa, b.b, wb)}; }

int Tier(const SectorRow& row)
{
    if (row.level == kLastLevel)
        return 2;
    return row.level == kLooseLevel ? 1 : 0;
}

int CompareColumn(const SectorRow& a, const SectorRow& b, int column)
{
    if (column == 0)
        return CompareShareNames(a.texts[0] ? a.texts[0] : "", b.texts[0] ? b.texts[0] : "");
    int32_t x = a.values[column == 1 ? 0 : 1];
    int32_t y = b.values[column == 1 ? 0 : 1];
    return x < y ? -1 : x > y ? 1 : 0;
}

} // namespace

SectorTints MixSectorTints(Rgb highlight, Rgb window)
{
    SectorTints tints;
    tints.t1 = Mix(highlight, 1, window, 6);
    tints.t2 = Mix(tints.t1, 1, window, 5);
    tints.t3 = Mix(window, 1, tints.t1, 5);
    return tints;
}

int NextShadingMarker(int marker, const SectorRow& row)
{
    switch (row.level) {
    case kLeadLevel:
    case kLastLevel:
    case kIndentLevel: return row.group % 2;
    case kLooseLevel: return 1;
    default: return marker;
    }
}

bool SectorRowBold(const SectorRow& row) { return row.level == kLeadLevel || row.level == kLastLevel; }

int SectorRowShade(int marker, int rowIndex)
{
    bool odd = rowIndex % 2 != 0;
    if (marker)
        return odd ? 0 : 2;
    return odd ? 1 : 3;
}

bool SectorRowBefore(const SectorRow& a, const SectorRow& b, int column, bool descending)
{
    if (Tier(a) != Tier(b))
        return Tier(a) < Tier(b);
    if (Tier(a) != 1) {
        if (a.group != b.group)
            return a.group < b.group;
        bool aLeads = a.level == kLeadLevel;
        bool bLeads = b.level == kLeadLevel;
        if (aLeads != bLeads)
            return aLeads;
    }
    int order = CompareColumn(a, b, column);
    return descending ? order > 0 : order < 0;
}

void SortSectorRows(SectorRow* rows, size_t count, int column, bool descending)
{
    if (!rows)
        return;
    std::stable_sort(rows, rows + count, [&](const SectorRow& a, const SectorRow& b) {
        return SectorRowBefore(a, b, column, descending);
    });
}

} // namespace qv
