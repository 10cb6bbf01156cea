// The Colour Selector's palette: a hexagon of hexagonal cells showing the surface of a small RGB
// cube (dark or light side), its grey and pastel rows, the cells' geometry and hit test, and the
// list of previous colours.
#pragma once

#include <array>
#include <cstdint>
#include <span>
#include <vector>

namespace qv {

struct HoneycombCell {
    int column = 0;
    int row = 0;
    int r = 0, g = 0, b = 0;  // level indices
    uint32_t colour = 0;      // 0x00BBGGRR
};

// Levels per channel: 4 in the basic view, 6 in the advanced one.
inline constexpr int kBasicLevels = 4;
inline constexpr int kAdvancedLevels = 6;

std::span<const int> CubeLevels(int levels);
// The grey row (levels + 1 cells, black first) and the six pastel cells.
std::vector<uint32_t> GreyRow(int levels);
std::span<const uint32_t> PastelRow();

int HoneycombColumnCount(int levels);
int HoneycombColumnCells(int levels, int column);
// Every cell, column by column from the left, each column from the top.
std::vector<HoneycombCell> HoneycombCells(int levels, bool light);

struct Point {
    int x = 0;
    int y = 0;
};

// The six corners of a flat-topped hexagonal cell of the size whose box starts at the origin, clockwise
// from its left corner.
std::array<Point, 6> HexagonCorners(Point origin, int size);

// The pixel geometry of a honeycomb fitted to an area's height.
class HoneycombGeometry {
public:
    HoneycombGeometry(int levels, int areaHeight, Point origin = {});

    int cellSize() const { return size_; }
    // The six corners of a cell, clockwise from its left corner.
    std::array<Point, 6> corners(int column, int row) const;
    // The top-left corner of the box around a cell.
    Point cellOrigin(int column, int row) const;
    // The cell index (in HoneycombCells order) under a point, or -1.
    int hitTest(Point p) const;
    int width() const;
    int height() const;

private:
    int levels_;
    int size_;
    Point origin_;
};

// The fourteen previous colours, most recent first. A colour already there keeps its place; a new
// one goes in front and the oldest drops out.
inline constexpr size_t kPreviousColourCount = 14;
using PreviousColours = std::array<uint32_t, kPreviousColourCount>;
void RememberColour(PreviousColours& colours, uint32_t colour);

// The palette byte and the previous colours as the option block keeps them.
inline constexpr uint8_t kPaletteLight = 0x01;
inline constexpr uint8_t kPaletteAdvanced = 0x02;
uint8_t StoredPaletteByte();
void StorePaletteByte(uint8_t palette);
PreviousColours StoredPreviousColours();
void StorePreviousColours(const PreviousColours& colours);

} // namespace qv
