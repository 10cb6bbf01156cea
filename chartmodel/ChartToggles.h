// The chart's display toggles on a setting: the log scale and the trend lines, which a second use
// restores as the first found them.
#pragma once

#include "core/ConfigRecords.h"

#include <cstdint>

namespace qv {

inline constexpr uint16_t kLogScaleBit = 0x80;
bool LogScaleOn(const GraphSetting& setting);
void ToggleLogScale(GraphSetting& setting);

// When either trend-line field is set, both go into bits 8-9 of the saved word and are cleared; when
// both are clear, they come back from there (a saved 0 gives the first alone).
void ToggleTrendLines(GraphSetting& setting, uint32_t& savedWord);
bool TrendLinesOn(const GraphSetting& setting);

} // namespace qv
