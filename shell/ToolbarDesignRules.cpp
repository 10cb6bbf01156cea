// The toolbar designer's list rules.
#include "shell/ToolbarDesignRules.h"

#include "shell/ToolbarCatalogue.h"
#include "shell/UserToolbars.h"

#include <algorithm>

namespace qv {

std::vector<uint16_t> DesignerAvailable(int tab, const std::vector<uint16_t>& included)
{
    std::vector<uint16_t> codes;
    for (uint16_t code : DesignerPositions())
        if (ButtonAvailable(code) && DesignerTabHolds(tab, code) &&
            std::find(included.begin(), included.end(), code) == included.end())
            codes.push_back(code);
    return codes;
}

std::vector<uint16_t> DesignerAppendAll(int tab, std::vector<uint16_t> included)
{
    for (uint16_t code : DesignerAvailable(tab, included)) {
        if (included.size() >= size_t(kMaxToolbarButtons))
            break;
        if (IsPortfolioCode(code) || (IsSettingCode(code) && code >= kFirstSettingCode + 3))
            continue;
        included.push_back(code);
    }
    return included;
}

bool DesignerCanAdd(size_t included, bool availableSelected)
{
    return included < size_t(kMaxToolbarButtons) && availableSelected;
}

uint32_t ToolbarPaletteColour(int column, int row)
{
    static constexpr uint32_t kBase[7] = {0x7, 0x400, 0x70000, 0x303, 0x50005, 0x30300, 0x40404};
    if (column < 0 || column > 6 || row < 0 || row > 5)
        return 0xFFFFFF;
    return 0xFFFFFF - kBase[column] * uint32_t(row * (row + 1) / 2 + 1);
}

} // namespace qv
