// The status texts a chart shows while a mouse mode is active: what the mode is doing and what it
// acts on (the range being selected, the pane being resized, the share the click goes to, the line or
// text being drawn).
#pragma once

#include "chartmodel/ChartModes.h"

#include <array>
#include <cstdint>
#include <optional>
#include <string>

namespace qv {

struct ModeReadoutInput {
    ChartModeRecord mode;
    bool timeBands = false;
    bool placingTrainingMark = false;
    bool priceEdit = false;
    std::string rangeText;            // mode 5: the selected time range
    std::string paneSeriesName;       // mode 6: the first series of the pane
    uint32_t handleState = 0;         // modes 10, 11: 0 out of range, 9 selected, else a handle dragged
    std::string handlePosition;       // ... the position of that handle
    std::string objectDescription;    // ... the object's description
    std::string anchorDate;           // mode 12: the text's anchor
    double anchorValue = 0;
};

// The two texts of the active mode; none when no mode is active, the chart has no time bands, a
// training mark is being placed, price-edit mode is on, or the mode and stage have no texts.
std::optional<std::array<std::string, 2>> ModeReadoutTexts(const ModeReadoutInput& in);

} // namespace qv
