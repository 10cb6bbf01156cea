// Placing the header strip's items.
#include "portfolio/HeaderStrip.h"

namespace qv {

std::vector<HeaderPlacement> PlaceHeaderItems(const std::vector<HeaderItem>& items, int gap, int right,
                                              const std::function<int(const std::string&)>& width)
{
    std::vector<HeaderPlacement> out;
    int x = gap;
    for (const HeaderItem& item : items) {
        if (x > right)
            break;
        HeaderPlacement place;
        if (item.label.empty()) {
            x -= gap;
        } else {
            place.labelDrawn = true;
            place.labelX = x;
            x += width(item.label) + 2 * gap;
        }
        const int w = width(item.value);
        place.valueX = x;
        place.boxLeft = x - gap;
        place.boxRight = x + w + gap;
        x += w + 4 * gap;
        out.push_back(place);
    }
    return out;
}

} // namespace qv
