// The special-edition wizard's proposals and its two-selection rule.
#include "tools/options/EditionWizardRules.h"

#include "core/ColumnDef.h"

#include <algorithm>

namespace qv {

bool ListTableUnused(std::span<const uint8_t> layout)
{
    namespace L = ColumnDefLayout;
    for (size_t pos = 0; pos < layout.size();) {
        const uint8_t length = layout[pos];
        if (length == 0)
            return true;
        if (length > 1) {
            if (length <= L::FieldCode || pos + length > layout.size())
                return false;
            const uint8_t field = layout[pos + L::FieldCode];
            if (layout[pos + L::Kind] != kColumnField || (field != 0 && field != 15))
                return false;
        }
        pos += length;
    }
    return true;
}

std::optional<uint8_t> FirstUnusedListTable(const TableFamily& tables)
{
    for (size_t i = 0; i < tables.designs.size(); ++i)
        if (ListTableUnused(tables.designs[i].chain))
            return uint8_t(i);
    return std::nullopt;
}

std::optional<uint8_t> FirstUnusedGraphPair(const std::array<bool, kSettingSlots>& differs)
{
    for (size_t i = 0; i + 1 < differs.size(); ++i)
        if (!differs[i] && !differs[i + 1])
            return uint8_t(i);
    return std::nullopt;
}

void GraphPairChoice::select(uint8_t slot)
{
    if (selected(slot))
        return;
    previous = latest;
    latest = slot;
}

std::array<uint8_t, 2> GraphPairChoice::ordered() const
{
    return {std::min(latest, previous), std::max(latest, previous)};
}

} // namespace qv
