// Text box geometry.
#include "charts/TextBoxGeometry.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

namespace qv {
namespace {

int32_t RoundHalf(double v) { return int32_t(std::floor(v + 0.5)); }

constexpr int32_t kArrowHeads[4] = {2, 3, 4, 5};

// The side the arrow leaves by: the style's own axis first, then the other when the anchor lies
// within the box's span on the first; an anchor inside the box keeps the style's side.
uint32_t ArrowSide(const TextBoxBox& box, ScreenPoint anchor, uint32_t style)
{
    using namespace textbox;
    const bool horizontal = style == kArrowLeft || style == kArrowRight;
    auto byX = [&]() -> uint32_t {
        if (anchor.x > box.right)
            return kArrowRight;
        if (anchor.x < box.left)
            return kArrowLeft;
        return 0;
    };
    auto byY = [&]() -> uint32_t {
        if (anchor.y > box.bottom)
            return kArrowBottom;
        if (anchor.y < box.top)
            return kArrowTop;
        return 0;
    };
    const uint32_t first = horizontal ? byX() : byY();
    if (first)
        return first;
    const uint32_t second = horizontal ? byY() : byX();
    return second ? second : style;
}

} // namespace

double TextBoxScale(int32_t pointSize, int32_t fontHeight, int32_t pixelsPerInchY, double zoomMean)
{
    if (fontHeight == 0 || pointSize <= 0)
        return zoomMean;
    return double(pointSize) * pixelsPerInchY / 72.0 / std::abs(double(fontHeight));
}

std::array<int32_t, 2> FitTextBoxOffsets(ScreenPoint anchor, int32_t width, int32_t height, double scale,
                                         const PaneBox& pane)
{
    // Along one axis: moved back from the far edge a unit at a time, never out past the near one.
    auto fit = [scale](int32_t at, int32_t size, int32_t low, int32_t high) {
        const int32_t extent = RoundHalf(size * scale);
        int32_t offset = 0;
        auto start = [&] { return at - RoundHalf(offset * scale); };
        while (start() + extent > high && start() > low && offset < size)
            ++offset;
        while (start() < low && offset > 0)
            --offset;
        return offset;
    };
    if (!(scale > 0))
        return {0, 0};
    return {fit(anchor.x, width, pane.left, pane.right), fit(anchor.y, height, pane.top, pane.bottom)};
}

TextBoxBox TextBoxRect(ScreenPoint anchor, int32_t leftOffset, int32_t topOffset, int32_t width, int32_t height,
                       double scale)
{
    TextBoxBox b;
    b.left = anchor.x - RoundHalf(leftOffset * scale);
    b.top = anchor.y - RoundHalf(topOffset * scale);
    b.right = b.left + RoundHalf(width * scale);
    b.bottom = b.top + RoundHalf(height * scale);
    return b;
}

TextBoxBox ResizeTextBox(const TextBoxBox& box, uint16_t part, int32_t dx, int32_t dy, int32_t minimum)
{
    if (part < 1 || part > 8)
        return box;
    // The edges each handle moves, by part: top, right, bottom, left.
    static constexpr bool kMoves[8][4] = {
        {true, false, false, true}, {true, true, false, false}, {false, true, true, false}, {false, false, true, true},
        {true, false, false, false}, {false, true, false, false}, {false, false, true, false}, {false, false, false, true},
    };
    const bool* moves = kMoves[part - 1];
    TextBoxBox b = box;
    if (moves[0])
        b.top = std::min(box.top + dy, box.bottom - minimum);
    if (moves[1])
        b.right = std::max(box.right + dx, box.left + minimum);
    if (moves[2])
        b.bottom = std::max(box.bottom + dy, box.top + minimum);
    if (moves[3])
        b.left = std::min(box.left + dx, box.right - minimum);
    return b;
}

std::optional<TextBoxArrow> TextBoxArrowFigure(const TextBoxBox& box, ScreenPoint anchor, uint32_t style,
                                               uint32_t sizeIndex, double scale)
{
    using namespace textbox;
    if (style < kArrowLeft || style > kArrowBottom)
        return std::nullopt;
    const int32_t w = RoundHalf(kArrowHeads[std::min<uint32_t>(sizeIndex, 3)] * scale);
    TextBoxArrow arrow;
    arrow.side = ArrowSide(box, anchor, style);
    arrow.from = anchor;
    const int32_t x = anchor.x, y = anchor.y;
    switch (arrow.side) {
    case kArrowLeft:
        arrow.head = {ScreenPoint{box.left - w - 1, y - w}, ScreenPoint{box.left - w - 1, y + w},
                      ScreenPoint{box.left - 4 * w - 1, y}};
        break;
    case kArrowRight:
        arrow.head = {ScreenPoint{box.right + w, y - w}, ScreenPoint{box.right + w, y + w},
                      ScreenPoint{box.right + 4 * w, y}};
        break;
    case kArrowTop:
        arrow.head = {ScreenPoint{x - w, box.top - w - 1}, ScreenPoint{x + w, box.top - w - 1},
                      ScreenPoint{x, box.top - 4 * w - 1}};
        break;
    default:
        arrow.head = {ScreenPoint{x - w, box.bottom + w}, ScreenPoint{x + w, box.bottom + w},
                      ScreenPoint{x, box.bottom + 4 * w}};
        break;
    }
    arrow.to = {(arrow.head[0].x + arrow.head[1].x) / 2, (arrow.head[0].y + arrow.head[1].y) / 2};
    if (arrow.to == anchor)
        return std::nullopt;
    return arrow;
}

} // namespace qv
