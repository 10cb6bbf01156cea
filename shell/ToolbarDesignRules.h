// The toolbar designer's lists: which buttons a tab offers beside those already included, what
// ">>" adds, and the palette of toolbar background colours.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace qv {

// The available codes of the tab in designer order, less those included (spacers never go).
std::vector<uint16_t> DesignerAvailable(int tab, const std::vector<uint16_t>& included);
// ">>": every available code of the tab not yet included, except Portfolio 1-9 and Setting 4-12,
// appended until the toolbar holds 63 buttons.
std::vector<uint16_t> DesignerAppendAll(int tab, std::vector<uint16_t> included);
// ">" can move an entry in while fewer than 63 are included and an available entry is selected.
bool DesignerCanAdd(size_t included, bool availableSelected);

// The background colour of palette column c (0-6) and row r (0-5), 0x00BBGGRR.
uint32_t ToolbarPaletteColour(int column, int row);

} // namespace qv
