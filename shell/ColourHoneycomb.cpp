// The honeycomb palette's colours and geometry.
#include "shell/ColourHoneycomb.h"

#include "core/ConfigState.h"
#include "platform/ByteOrder.h"

#include <algorithm>
#include <cmath>

namespace qv {
namespace {

constexpr double kRoot3 = 1.732050807;
constexpr double kHalfRoot3 = 0.8660254035;
constexpr int kBasicLevelValues[] = {0, 108, 190, 255};
constexpr int kAdvancedLevelValues[] = {0, 84, 132, 175, 215, 255};
constexpr int kBasicGreys[] = {0, 105, 155, 205, 255};
constexpr int kAdvancedGreys[] = {0, 100, 140, 171, 196, 220, 255};

constexpr uint32_t Rgb(int r, int g, int b) { return uint32_t(r) | uint32_t(g) << 8 | uint32_t(b) << 16; }

constexpr uint32_t kPastels[] = {Rgb(128, 128, 176), Rgb(128, 176, 128), Rgb(176, 128, 128),
                                 Rgb(128, 176, 176), Rgb(176, 128, 176), Rgb(176, 176, 128)};

constexpr double kUnitCorners[6][2] = {{0, kHalfRoot3}, {0.5, 0}, {1.5, 0}, {2, kHalfRoot3}, {1.5, 2 * kHalfRoot3}, {0.5, 2 * kHalfRoot3}};

bool Inside(const std::array<Point, 6>& polygon, Point p)
{
    // A convex polygon listed clockwise on the screen: the point lies on the inner side of each edge.
    for (size_t i = 0; i < polygon.size(); ++i) {
        Point a = polygon[i], b = polygon[(i + 1) % polygon.size()];
        long cross = long(b.x - a.x) * (p.y - a.y) - long(b.y - a.y) * (p.x - a.x);
        if (cross < 0)
            return false;
    }
    return true;
}

} // namespace

std::span<const int> CubeLevels(int levels)
{
    if (levels == kAdvancedLevels)
        return kAdvancedLevelValues;
    return kBasicLevelValues;
}

std::vector<uint32_t> GreyRow(int levels)
{
    std::span<const int> greys = levels == kAdvancedLevels ? std::span<const int>(kAdvancedGreys) : std::span<const int>(kBasicGreys);
    std::vector<uint32_t> row;
    for (int g : greys)
        row.push_back(Rgb(g, g, g));
    return row;
}

std::span<const uint32_t> PastelRow() { return kPastels; }

int HoneycombColumnCount(int levels) { return 2 * levels - 1; }

int HoneycombColumnCells(int levels, int column)
{
    return column < levels ? levels + column : 3 * levels - column - 2;
}

std::vector<HoneycombCell> HoneycombCells(int levels, bool light)
{
    std::span<const int> values = CubeLevels(levels);
    int top = levels - 1;
    std::vector<HoneycombCell> cells;
    int r = light ? 0 : top, g = light ? top : 0, b = light ? 0 : top;
    for (int column = 0; column < HoneycombColumnCount(levels); ++column) {
        int cr = r, cg = g, cb = b;
        for (int row = 0; row < HoneycombColumnCells(levels, column); ++row) {
            cells.push_back({column, row, cr, cg, cb, Rgb(values[size_t(cr)], values[size_t(cg)], values[size_t(cb)])});
            if (!light) {
                if (cb > 0)
                    --cb;
                else
                    ++cr, ++cg;
            } else {
                if (cb < top)
                    ++cb;
                else
                    --cr, --cg;
            }
        }
        if (!light) {
            if (r > 0)
                --r;
            else
                ++g;
        } else {
            if (r < top)
                ++r;
            else
                --g;
        }
    }
    return cells;
}

HoneycombGeometry::HoneycombGeometry(int levels, int areaHeight, Point origin)
    : levels_(levels), origin_(origin)
{
    size_ = std::max(1, int(std::lround(areaHeight / ((2 * levels - 1) * kRoot3))));
}

Point HoneycombGeometry::cellOrigin(int column, int row) const
{
    double cellHeight = size_ * kRoot3;
    int missing = (2 * levels_ - 1) - HoneycombColumnCells(levels_, column);
    int x = origin_.x + int(std::lround(column * (1.5 * size_ + 1)));
    int y = origin_.y + int(std::lround((row + missing / 2.0) * cellHeight));
    return {x, y};
}

std::array<Point, 6> HexagonCorners(Point origin, int size)
{
    std::array<Point, 6> points;
    for (size_t i = 0; i < points.size(); ++i)
        points[i] = {origin.x + int(std::lround(kUnitCorners[i][0] * size)), origin.y + int(std::lround(kUnitCorners[i][1] * size))};
    return points;
}

std::array<Point, 6> HoneycombGeometry::corners(int column, int row) const
{
    return HexagonCorners(cellOrigin(column, row), size_);
}

int HoneycombGeometry::hitTest(Point p) const
{
    int index = 0;
    for (int column = 0; column < HoneycombColumnCount(levels_); ++column)
        for (int row = 0; row < HoneycombColumnCells(levels_, column); ++row, ++index)
            if (Inside(corners(column, row), p))
                return index;
    return -1;
}

int HoneycombGeometry::width() const
{
    return int(std::lround((2 * levels_ - 2) * (1.5 * size_ + 1) + 2 * size_)) + 1;
}

int HoneycombGeometry::height() const { return int(std::lround((2 * levels_ - 1) * size_ * kRoot3)) + 1; }

void RememberColour(PreviousColours& colours, uint32_t colour)
{
    colour &= 0xFFFFFF;
    if (std::find(colours.begin(), colours.end(), colour) != colours.end())
        return;
    std::move_backward(colours.begin(), colours.end() - 1, colours.end());
    colours[0] = colour;
}

uint8_t StoredPaletteByte() { return Config().optionsA.data()[OptionBlockA::kColourPalette]; }

void StorePaletteByte(uint8_t palette) { Config().optionsA.data()[OptionBlockA::kColourPalette] = palette; }

PreviousColours StoredPreviousColours()
{
    PreviousColours colours{};
    for (size_t i = 0; i < colours.size(); ++i)
        colours[i] = LoadU32(Config().optionsA.data() + OptionBlockA::kPreviousColours + 4 * i) & 0xFFFFFF;
    return colours;
}

void StorePreviousColours(const PreviousColours& colours)
{
    for (size_t i = 0; i < colours.size(); ++i)
        StoreU32(Config().optionsA.data() + OptionBlockA::kPreviousColours + 4 * i, colours[i] & 0xFFFFFF);
}

} // namespace qv
