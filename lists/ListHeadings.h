// The heading cache of a list table and the rules its headings are drawn by: word-wrapping at blanks,
// the heading height, the highlight of hot and pressed headings and the sort triangle. Text is
// measured through TextMetrics so that the rules run without windows.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace qv {

class ListGrid;
struct ShareList;

// The width of a line of text and the height of a line in a font.
class TextMetrics {
public:
    virtual ~TextMetrics() = default;
    virtual int TextWidth(std::string_view text) const = 0;
    virtual int LineHeight() const = 0;
};

// The lines a heading is drawn in within `width`: broken at blanks (a word wider than the width
// alone stays on its line), "_" shown as a blank.
std::vector<std::string> WrapHeading(std::string_view heading, int width, const TextMetrics& metrics);

// A "VG View" partner column in the list kinds that show the partner's emblem.
bool IsPartnerViewHeading(const uint8_t* column, std::string_view heading);
constexpr int kEmblemSize = 32;
constexpr int kEmblemRoom = 38;
constexpr int kMinHeadingHeight = 15;

struct ListHeadings {
    std::vector<std::string> texts;
    int height = kMinHeadingHeight;
    int hot = -1;
    int pressed = -1;

    // One heading per column of the layout, by the list's family.
    void BuildHeadings(const ShareList* list, const uint8_t* layout);
    // The tallest heading word-wrapped in its column's width - 4 (+ the emblem's room on screen for
    // a partner column), at least 15.
    int MeasureHeadingHeight(const ListGrid& grid, const TextMetrics& bold, bool onScreen);
};

// The hot (not pressed) or pressed heading's background: RGB(10, 36, 106) lightened 70 % or 50 %.
uint32_t HeadingHighlightColour(bool pressed);

// The sort triangle of a heading whose rectangle ends at (right, bottom): corners 5, 10 and 15
// pixels left of the right edge, between 5 and 10 pixels above the bottom.
struct SortTriangle {
    int x[3];
    int y[3];
    bool apexUp;
};
SortTriangle SortTriangleFor(int right, int bottom, int direction, bool textColumn);

} // namespace qv
