// The program's settings of the floating graph legend: where it was last placed and how it looks.
// The legend window keeps its place here as it is moved and sized; the legend design dialog edits the
// look. The place is kept in the registry from one run to the next.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace qv {

struct LegendSettings {
    // The legend's last frame rectangle in screen pixels; unset until it was first placed.
    bool placed = false;
    int32_t left = 0, top = 0, right = 0, bottom = 0;
    std::string fontFace = "Arial";
    int32_t fontPoints = 8;
    int32_t lineSpacing = 4;   // pixels above the first line and added to each line's height, less 2
    bool fixedHeight = false;  // only the width can be dragged, when a height is stored
    int32_t storedHeight = 0;
};

LegendSettings& ProgramLegendSettings();
// Puts the settings back to their defaults (for tests and a fresh configuration).
void ResetLegendSettings();

struct LegendPlace {
    int32_t left, top, right, bottom;
};
inline constexpr size_t kLegendPlaceRecordSize = 16;
// The place's record: four little-endian i32, left, top, right, bottom.
std::vector<uint8_t> EncodeLegendPlace(const LegendPlace& place);
// None for a record of another length or an empty rectangle.
std::optional<LegendPlace> DecodeLegendPlace(const std::vector<uint8_t>& bytes);
// The settings' place, when the legend has been placed, goes to the registry; the stored place, when
// there is one, comes back into the settings.
void SaveLegendPlace(const LegendSettings& settings);
void LoadStoredLegendPlace(LegendSettings& settings);

} // namespace qv
