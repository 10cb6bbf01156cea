// The mode readout table.
#include "chartmodel/ModeReadout.h"

#include <cstdio>

namespace qv {

std::optional<std::array<std::string, 2>> ModeReadoutTexts(const ModeReadoutInput& in)
{
    const ChartModeRecord& m = in.mode;
    if (!m.active || !in.timeBands || in.placingTrainingMark || in.priceEdit)
        return std::nullopt;
    using Texts = std::array<std::string, 2>;
    switch (m.mode) {
    case kModeTimeRange: return Texts{in.rangeText, ""};
    case kModeResizing:
        if (m.stage == 1)
            return Texts{"Left click to resize graph", in.paneSeriesName};
        if (m.stage == 3)
            return Texts{"Resizing graph", in.paneSeriesName};
        return std::nullopt;
    case kModePreviousShare:
        return m.stage == 1 ? std::optional(Texts{"Left click to select", "previous security from..."}) : std::nullopt;
    case kModeNextShare:
        return m.stage == 1 ? std::optional(Texts{"Left click to select", "next security from..."}) : std::nullopt;
    case kModeLineStudy:
    case kModePitchfork:
        if (m.stage == 1)
            return Texts{"Drawing line study...", "Left click to start"};
        if (m.stage >= 2) {
            const std::string first = in.handleState == 0   ? "Line out of range"
                                      : in.handleState == 9 ? "Line selected"
                                                            : in.handlePosition;
            return Texts{first, "Line " + in.objectDescription};
        }
        return std::nullopt;
    case kModeGraphText:
        if (m.stage == 1)
            return Texts{"Drawing text...", "Left click to position"};
        if (m.stage >= 2) {
            char value[64];
            std::snprintf(value, sizeof value, "Anchor value %0.2f", in.anchorValue);
            return Texts{in.anchorDate, value};
        }
        return std::nullopt;
    default: return std::nullopt;
    }
}

} // namespace qv
