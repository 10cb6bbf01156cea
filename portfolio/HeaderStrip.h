// The header strip above a portfolio-type list: labelled figures placed from the left, each value on
// a light box, an empty label joining its value to the item before, nothing past the right edge.
#pragma once

#include <functional>
#include <string>
#include <vector>

namespace qv {

struct HeaderItem {
    std::string label;
    std::string value;
};

// Where one item is drawn: its label (none when empty), its value text and the box behind it.
struct HeaderPlacement {
    bool labelDrawn = false;
    int labelX = 0;
    int valueX = 0;
    int boxLeft = 0;
    int boxRight = 0;
};

// The cursor starts at x = gap; a label advances it by its width + 2 gaps, a value by its width +
// 4 gaps with its box reaching one gap either side; an empty label steps back one gap. Items that
// begin past `right` are left out.
std::vector<HeaderPlacement> PlaceHeaderItems(const std::vector<HeaderItem>& items, int gap, int right,
                                              const std::function<int(const std::string&)>& width);

// The colours of the strip and of its value boxes (0x00BBGGRR).
constexpr unsigned kHeaderStripColour = 0xA4A0A0;
constexpr unsigned kHeaderValueColour = 0xC0C0C0;

} // namespace qv
