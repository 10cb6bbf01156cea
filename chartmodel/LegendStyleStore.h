// The program-wide legend style as the program settings keep it: a fielded 80-byte record in the
// registry's "Settings" section, value "LegendStyle" (docs/DATA.md).
#pragma once

#include "chartmodel/LegendDesign.h"

#include <cstdint>
#include <optional>
#include <vector>

namespace qv {

struct LegendSettings;

inline constexpr size_t kLegendStyleRecordSize = 80;

// The record of a style; the font's height is minus its size in pixels at the given vertical dots
// per inch, its weight 700 when bold.
std::vector<uint8_t> EncodeLegendStyle(const legenddesign::LegendStyle& style, int dpi);
// None for a record of another length or with a size or white space out of range.
std::optional<legenddesign::LegendStyle> DecodeLegendStyle(const std::vector<uint8_t>& bytes);

// The program's style: read from the registry on first use (the defaults when absent or damaged).
legenddesign::LegendStyle& ProgramLegendStyle();
// Stores the program's style in the registry.
void SaveLegendStyle(int dpi);
// The legend window's font and line spacing from the style: white space w gives 2w pixels.
void ApplyLegendStyle(const legenddesign::LegendStyle& style, LegendSettings& settings);
// The same from the stored style, when one was stored.
void ApplyStoredLegendStyle(LegendSettings& settings);

} // namespace qv
