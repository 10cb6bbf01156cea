// The legend window's opening place.
#include "chartmodel/LegendPlacement.h"

namespace qv {

LegendRect DefaultLegendRect(int32_t desktopWidth, int32_t chartLeft, int32_t chartTop)
{
    struct Row {
        int32_t below, dx, dy, width, height;
    };
    static constexpr Row kRows[] = {
        {800, 30, 26, 150, 120}, {1024, 32, 28, 180, 150}, {1280, 40, 32, 220, 160}, {INT32_MAX, 40, 32, 240, 175}};
    for (const Row& row : kRows)
        if (desktopWidth < row.below)
            return {chartLeft + row.dx, chartTop + row.dy, row.width, row.height};
    return {};
}

LegendRect ChooseLegendRect(const LegendSettings& saved, bool savedOnScreen, int32_t desktopWidth, int32_t chartLeft,
                            int32_t chartTop)
{
    if (saved.placed && savedOnScreen && saved.right > saved.left && saved.bottom > saved.top)
        return {saved.left, saved.top, saved.right - saved.left, saved.bottom - saved.top};
    return DefaultLegendRect(desktopWidth, chartLeft, chartTop);
}

} // namespace qv
