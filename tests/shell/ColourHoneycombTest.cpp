// The honeycomb palette: its cells and colours, geometry, hit test and the previous colours.
#include "shell/ColourHoneycomb.h"

#include <gtest/gtest.h>

#include <set>

using namespace qv;

TEST(ColourHoneycomb, EverySurfaceColourOnceWithBlackOrWhiteInTheCentre)
{
    struct {
        int levels;
        bool light;
        size_t cells;
        uint32_t centre;
    } cases[] = {{4, false, 37, 0x000000}, {4, true, 37, 0xFFFFFF}, {6, false, 91, 0x000000}, {6, true, 91, 0xFFFFFF}};
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.levels << (c.light ? " light" : " dark"));
        std::vector<HoneycombCell> cells = HoneycombCells(c.levels, c.light);
        ASSERT_EQ(cells.size(), c.cells);
        std::set<uint32_t> colours;
        int edge = c.light ? c.levels - 1 : 0;
        for (const HoneycombCell& cell : cells) {
            colours.insert(cell.colour);
            EXPECT_TRUE(cell.r == edge || cell.g == edge || cell.b == edge); // on the cube's surface
        }
        EXPECT_EQ(colours.size(), c.cells);
        int middle = c.levels - 1;
        auto centre = std::find_if(cells.begin(), cells.end(),
                                   [&](const HoneycombCell& cell) { return cell.column == middle && cell.row == middle; });
        EXPECT_EQ(centre->colour, c.centre);
    }
    // The dark middle column runs from blue at the top through black to yellow at the bottom.
    std::vector<HoneycombCell> dark = HoneycombCells(4, false);
    std::vector<uint32_t> middle;
    for (const HoneycombCell& cell : dark)
        if (cell.column == 3)
            middle.push_back(cell.colour);
    EXPECT_EQ(middle.front(), 0xFF0000u);
    EXPECT_EQ(middle.back(), 0x00FFFFu);
    EXPECT_EQ(GreyRow(4).size(), 5u);
    EXPECT_EQ(GreyRow(6).size(), 7u);
    EXPECT_EQ(GreyRow(6)[3], 0xABABABu);
}

TEST(ColourHoneycomb, HitTestFindsEachCellAtItsCentre)
{
    for (int levels : {4, 6}) {
        HoneycombGeometry geometry(levels, 200, {10, 5});
        int index = 0;
        for (int column = 0; column < HoneycombColumnCount(levels); ++column) {
            for (int row = 0; row < HoneycombColumnCells(levels, column); ++row, ++index) {
                Point o = geometry.cellOrigin(column, row);
                Point centre{o.x + geometry.cellSize(), o.y + int(geometry.cellSize() * 0.866)};
                EXPECT_EQ(geometry.hitTest(centre), index) << levels << " " << column << " " << row;
            }
        }
        EXPECT_EQ(geometry.hitTest({0, 0}), -1);
        EXPECT_EQ(geometry.hitTest({10 + geometry.width() + 5, 100}), -1);
        EXPECT_LE(geometry.height(), 200 + 3);
    }
    EXPECT_EQ(HoneycombGeometry(4, 121, {}).cellSize(), 10); // 121 / (7 x 1.732) rounded
}

TEST(ColourHoneycomb, PreviousColours)
{
    PreviousColours colours{};
    for (uint32_t i = 1; i <= 14; ++i)
        RememberColour(colours, i);
    EXPECT_EQ(colours[0], 14u);
    EXPECT_EQ(colours[13], 1u);
    RememberColour(colours, 7); // already there: stays where it is
    EXPECT_EQ(colours[0], 14u);
    EXPECT_EQ(colours[7], 7u);
    RememberColour(colours, 99); // a new one pushes the oldest out
    EXPECT_EQ(colours[0], 99u);
    EXPECT_EQ(colours[13], 2u);
}
