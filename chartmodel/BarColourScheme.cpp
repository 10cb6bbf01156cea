// The bar-colour modes' table.
#include "chartmodel/BarColourScheme.h"

namespace qv::barcolour {

namespace {

constexpr const char* kNames[kModes] = {"Single colour", "Close/Close", "Close/Open", "Volume/Volume",
                                        "Volume/Signal", "Graduated by volume", "Swing"};
constexpr uint32_t kWidthBits = 0xF0000000u;

uint32_t WithWidth(uint32_t word, int pixels) { return (word & ~kWidthBits) | (uint32_t(pixels - 1) << 28); }

} // namespace

std::vector<Slot> Slots(int mode)
{
    switch (mode) {
    case 1:
    case 2:
    case 3:
        return {{0, "Up"}, {1, "Down"}, {2, "Neutral"}};
    case 4:
        return {{0, "Above"}, {1, "Below"}};
    case 5:
        return {{3, "Low volume"}, {4, "High volume"}};
    case kSwingMode:
        return {{0, "Up day"}, {1, "Down day"}, {2, "Neutral"}, {3, "Inside day"}, {4, "Outside day"}};
    default:
        return {{0, ""}};
    }
}

const char* SchemeName(int mode) { return kNames[mode >= 0 && mode < kModes ? mode : 0]; }

void ApplyModeWidths(std::array<uint32_t, kColours>& words, int oldMode, int newMode)
{
    if (oldMode == newMode)
        return;
    if (oldMode == kSwingMode)
        words[0] = WithWidth(words[0], 1), words[1] = WithWidth(words[1], 1);
    if (newMode == 5)
        words[4] = WithWidth(words[4], 4);
    if (newMode == kSwingMode)
        words[0] = WithWidth(words[0], 2), words[1] = WithWidth(words[1], 2);
}

} // namespace qv::barcolour
