// Where the floating legend window opens: its saved place while that lies on a screen, else an offset
// from the chart window's corner with a size by the desktop's width.
#pragma once

#include "chartmodel/LegendSettings.h"

#include <cstdint>

namespace qv {

struct LegendRect {
    int32_t left = 0, top = 0, width = 0, height = 0;
    bool operator==(const LegendRect&) const = default;
};
LegendRect DefaultLegendRect(int32_t desktopWidth, int32_t chartLeft, int32_t chartTop);
// savedOnScreen: the saved rectangle meets a monitor.
LegendRect ChooseLegendRect(const LegendSettings& saved, bool savedOnScreen, int32_t desktopWidth, int32_t chartLeft,
                            int32_t chartTop);

} // namespace qv
