// Desktop and font queries through the display host.
#include "core/Desktop.h"

#include <algorithm>
#include <string>

namespace qv {

ScreenRect GetMonitorWorkArea()
{
    const DisplayHost& display = Display();
    auto monitors = display.monitorRects();
    if (!monitors || monitors->empty())
        return display.desktopRect();
    ScreenRect all = monitors->front();
    for (const ScreenRect& r : *monitors) {
        all.left = std::min(all.left, r.left);
        all.top = std::min(all.top, r.top);
        all.right = std::max(all.right, r.right);
        all.bottom = std::max(all.bottom, r.bottom);
    }
    return all;
}

bool FontExists(std::string_view face)
{
    constexpr size_t kMaxFace = 31;
    return Display().hasFontFamily(std::string(face.substr(0, kMaxFace)));
}

} // namespace qv
