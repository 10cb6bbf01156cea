// The legend design rules: the item defaults, the grey tick of a selected item that does not apply,
// and the Light and Dark colour pairs.
#pragma once

#include <cstdint>

namespace qv::legenddesign {

constexpr uint32_t kValuesDefaultHistoric = 0x37003D;
constexpr uint32_t kValuesDefaultIntraday = 0x150025;
constexpr uint32_t kItemsDefault = 0x03C3F059;
constexpr uint32_t kDefaultOptions = 9;   // bit 0 always, bit 3 auto-adjusted height
constexpr int kDefaultPoints = 7;
constexpr int kColourPairs = 4;

enum class Tick { Off, On, Grey };

// How a box shows an item: a selected item that does not apply shows a grey tick.
inline Tick ShownTick(bool selected, bool applies)
{
    if (!selected)
        return Tick::Off;
    return applies ? Tick::On : Tick::Grey;
}

struct ColourPair {
    uint32_t text, background;
};
// "Latest values", "Cursor values", "Details", "Graph lines".
constexpr ColourPair kLightPairs[kColourPairs] = {
    {0x000060, 0xE0E0FF}, {0x600000, 0xFFE0E0}, {0x006000, 0xE0FFE0}, {0x000000, 0xF0F0F0}};
inline ColourPair PairDefault(int i, bool dark)
{
    ColourPair p = kLightPairs[i];
    return dark ? ColourPair{p.background, p.text} : p;
}

} // namespace qv::legenddesign

#include <string>

namespace qv::legenddesign {

// The program-wide look of the legend that the dialog edits.
struct LegendStyle {
    uint32_t options = kDefaultOptions;
    int whiteSpace = 2;                       // 0..4
    std::string face = "Arial";
    int points = kDefaultPoints;
    uint32_t fontFlags = 0;                   // 1 bold, 2 italic, 4 underline
    ColourPair pairs[kColourPairs] = {kLightPairs[0], kLightPairs[1], kLightPairs[2], kLightPairs[3]};
};

} // namespace qv::legenddesign
