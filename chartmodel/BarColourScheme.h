// The bar-colour dialog's rules: which of the five colours each colouring mode shows, under which
// labels, the pen widths a mode gives them, and the scheme names the design buttons show.
#pragma once

#include <array>
#include <cstdint>
#include <vector>

namespace qv::barcolour {

constexpr int kModes = 7;
constexpr int kColours = 5;
constexpr int kSwingMode = 6;

struct Slot {
    int colour;        // which of the five colours the place shows
    const char* label; // empty for none
};
// The places shown for a mode, in order: mode 5 moves the fourth and fifth colours to the front.
std::vector<Slot> Slots(int mode);
// "Single colour" ... "Swing"; mode 0 for any out of range.
const char* SchemeName(int mode);
// A mode change after opening: the pen widths of the new mode's table (the high-volume pen 4 pixels,
// the swing up and down days 2); leaving the swing mode clears the widths of its first two pens.
void ApplyModeWidths(std::array<uint32_t, kColours>& words, int oldMode, int newMode);

} // namespace qv::barcolour
