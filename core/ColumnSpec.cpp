// Column specs and the catalogue walk.
#include "core/ColumnSpec.h"

#include <algorithm>

namespace qv {

std::span<const uint8_t> CatalogueEntry(std::span<const uint8_t> table, int n)
{
    size_t pos = 0;
    for (int i = 0; n >= 0 && pos < table.size() && table[pos] != 0; ++i) {
        size_t length = table[pos];
        if (pos + length > table.size())
            return {};
        if (i == n)
            return table.subspan(pos, length);
        pos += length;
    }
    return {};
}

void InitColumnSpec(std::span<uint8_t, kColumnSpecBytes> spec, uint8_t columnId)
{
    spec[2] = kColumnKindField;
    std::fill(spec.begin() + 4, spec.begin() + 7, 0);
    spec[kColumnSpecBytes - 1] = columnId;
}

void InitColumnSpecWide(std::span<uint8_t, kColumnSpecBytes> spec, uint8_t columnId)
{
    spec[2] = kColumnKindWide;
    spec[4] = 0;
    spec[5] = 16;
    spec[6] = 0;
    spec[kColumnSpecBytes - 1] = columnId;
}

ColumnCatalogue& ColumnCatalogueTables()
{
    static ColumnCatalogue catalogue;
    return catalogue;
}

std::span<const uint8_t> GetColumnSpec(int columnId, int index)
{
    const ColumnCatalogue& c = ColumnCatalogueTables();
    if (columnId == 94)
        return CatalogueEntry(c.indexed, index);
    if (columnId >= 96 && columnId <= 127)
        return CatalogueEntry(c.second, columnId - 96);
    if (columnId >= 128)
        return CatalogueEntry(c.third, columnId - 128);
    return CatalogueEntry(c.main, columnId);
}

} // namespace qv
