// The swing chart design's rules: which controls the flags enable, and where the swing block keeps its
// price colour scheme.
#pragma once

#include "chartmodel/GraphSettingLayout.h"

#include <cstdint>

namespace qv::swingdesign {

// Flag bits of the swing block's word 0.
enum : uint32_t {
    kShow = 1u << 0,
    kSwingLine = 1u << 1,
    kManhattan = 1u << 2,
    kRivalland = 1u << 4,
    kOutsideDay3 = 1u << 5,
    kRelaxed = 1u << 6,
    kStrictDay2 = 1u << 7,
    kStrictTrend = 1u << 8,
    kStrictGann = 1u << 9,
    kMarkBits = 0x3F3F0000u, // bits 16-21 shading and marks, 24-29 order marks
};

// The swing chart's price colour scheme: a bar-colour record in the style record's layout from word 17
// (mode at +7, five colours from +8), within the block's words that the defaults leave alone.
constexpr size_t kColourRecord = graphsetting::kSwing + 4 * 17;
constexpr size_t kColourMode = kColourRecord + 7;
constexpr size_t kColours = kColourRecord + 8;
static_assert(kColours + 20 <= graphsetting::kSwing + graphsetting::kSwingSize);

struct Enabling {
    bool options = false;        // "Swing line", "Manhattan chart", "Use Rivalland methods", the mark boxes
    bool swingPens = false;      // the Up and Down swing line pens and their labels
    bool manhattanPen = false;
    bool rivallandOptions = false; // "Allow Outside day 3", "Relaxed"
    bool strictDay2 = false;     // "Strict day 2" and the day radios
    bool gann = false;           // "Apply strict Gann rules"
    uint32_t marks = 0;          // the mark bits whose colour or symbol is enabled
};
Enabling SwingEnabling(uint32_t flags);

} // namespace qv::swingdesign
