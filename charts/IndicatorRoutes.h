// The indicator windows' dispatch table: for each of the 62 indicator types, the routine that draws
// it in its window. A type whose routine is still to come keeps its window, frame and caption.
#pragma once

#include "chartmodel/IndicatorTable.h"
#include "charts/IndicatorStudy.h"

#include <array>
#include <cstdint>

namespace qv {

enum class IndicatorFamily : uint8_t {
    None,          // nothing is drawn for the type (unused, spare, or drawn in the price pane)
    Lines,         // value arrays through the line drawer
    VolumeWindow,  // plot elements of its own (the volume histogram and its average)
    Pane,          // a chart of its own in the window (point and figure, equivolume)
    Pending,       // a routine of another group, not built yet: the window keeps frame and caption
};

struct IndicatorRoute {
    IndicatorFamily family = IndicatorFamily::None;
    IndicatorRoutine routine = nullptr; // for Lines and Pane
    int variant = 0;                    // what a shared routine is given
};

const std::array<IndicatorRoute, kIndicatorTypes>& IndicatorRoutes();
const IndicatorRoute& RouteOf(uint8_t type);

} // namespace qv
