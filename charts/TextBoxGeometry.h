// A chart text box's stored fields and its screen geometry: the box from its anchor and font scale,
// and the arrow that leaves one of its sides toward the anchor.
#pragma once

#include "charts/LineStudyGeometry.h"

#include <array>
#include <cstdint>
#include <optional>
#include <string>

namespace qv {

// Offsets of a text object's fields in its stored bytes.
namespace textbox {
inline constexpr size_t kAnchorTime = 8;    // i32 date position
inline constexpr size_t kAnchorPrice = 12;  // f32
inline constexpr size_t kLeftOffset = 16;   // i32, font-scaled units
inline constexpr size_t kTopOffset = 20;
inline constexpr size_t kWidth = 24;
inline constexpr size_t kHeight = 28;
inline constexpr size_t kTextColour = 32;   // u32 colour values
inline constexpr size_t kFrameColour = 36;
inline constexpr size_t kFillColour = 40;
inline constexpr size_t kArrowSize = 44;    // u32 index 0-3
inline constexpr size_t kAlignment = 48;    // u32: 0 left, 1 centre, 2 right
inline constexpr size_t kArrowStyle = 52;   // u32: 1398 none, 1399 left, 1400 right, 1401 top, 1402 bottom
inline constexpr size_t kFont = 56;         // 60-byte font description: i32 height first, face name at 28
inline constexpr size_t kFontFace = kFont + 28;
inline constexpr size_t kFontFaceSize = 32;
inline constexpr size_t kPointSize = 116;   // i32
inline constexpr uint16_t kTransparent = 0x4; // style flag
inline constexpr uint32_t kNoArrow = 1398, kArrowLeft = 1399, kArrowRight = 1400, kArrowTop = 1401,
                          kArrowBottom = 1402;
} // namespace textbox

// Pixels per font-scaled unit: the point size at the device's pixels per inch over the magnitude of
// the font description's height; a height of 0 (no font of its own) takes the zoom mean.
double TextBoxScale(int32_t pointSize, int32_t fontHeight, int32_t pixelsPerInchY, double zoomMean);

struct TextBoxBox {
    int32_t left = 0, top = 0, right = 0, bottom = 0;
    bool operator==(const TextBoxBox&) const = default;
};
// left = anchor x - [left offset x scale], top likewise, right = left + [width x scale], bottom =
// top + [height x scale]; [v] rounds half up.
TextBoxBox TextBoxRect(ScreenPoint anchor, int32_t leftOffset, int32_t topOffset, int32_t width, int32_t height,
                       double scale);

// The left and top offsets of a new box at the anchor: right of and below the anchor where it fits in
// the pane, else moved left or up by as little as keeps it inside (a box larger than the pane keeps
// its top left corner at the pane's).
std::array<int32_t, 2> FitTextBoxOffsets(ScreenPoint anchor, int32_t width, int32_t height, double scale,
                                         const PaneBox& pane);

// The box with the handle `part` dragged by (dx, dy): corners 1-4 (top left, top right, bottom
// right, bottom left) move their two edges, edge midpoints 5-8 (top, right, bottom, left) their one;
// a moved edge stops `minimum` pixels short of the edge facing it. Other parts leave the box as it is.
TextBoxBox ResizeTextBox(const TextBoxBox& box, uint16_t part, int32_t dx, int32_t dy, int32_t minimum);

// The arrow: its filled head beside the chosen side and the line from the anchor to the head's base.
struct TextBoxArrow {
    uint32_t side = textbox::kNoArrow;
    std::array<ScreenPoint, 3> head{}; // base ends, then the apex
    ScreenPoint from, to;              // the anchor, the base's middle
};
// None for style 1398, or when the base's middle is the anchor. Arrowhead sizes 2, 3, 4, 5 by index.
std::optional<TextBoxArrow> TextBoxArrowFigure(const TextBoxBox& box, ScreenPoint anchor, uint32_t style,
                                               uint32_t sizeIndex, double scale);

} // namespace qv
