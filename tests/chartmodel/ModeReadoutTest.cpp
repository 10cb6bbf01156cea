// The status texts of the active mouse mode, and where the cross hairs go.
#include "chartmodel/CrossHairs.h"
#include "chartmodel/GraphModel.h"
#include "chartmodel/ModeReadout.h"
#include "chartmodel/PaneLayout.h"

#include <gtest/gtest.h>

namespace qv {
namespace {

ModeReadoutInput Mode(uint32_t mode, uint32_t stage)
{
    ModeReadoutInput in;
    in.mode.active = 1;
    in.mode.mode = mode;
    in.mode.stage = stage;
    in.timeBands = true;
    in.rangeText = "From 2/1/06  To 9/1/06";
    in.paneSeriesName = "Volume";
    in.handlePosition = "12/3/06, 104.50";
    in.objectDescription = "Trend line";
    in.anchorDate = "Mon 2/1/06";
    in.anchorValue = 12.5;
    return in;
}

TEST(ModeReadout, EachModeAndStageHasItsTexts)
{
    const struct {
        uint32_t mode, stage, handle;
        const char* first;
        const char* second;
    } cases[] = {
        {5, 4, 0, "From 2/1/06  To 9/1/06", ""},
        {6, 1, 0, "Left click to resize graph", "Volume"},
        {6, 3, 0, "Resizing graph", "Volume"},
        {3, 1, 0, "Left click to select", "previous security from..."},
        {4, 1, 0, "Left click to select", "next security from..."},
        {10, 1, 0, "Drawing line study...", "Left click to start"},
        {11, 2, 0, "Line out of range", "Line Trend line"},
        {10, 3, 9, "Line selected", "Line Trend line"},
        {10, 4, 2, "12/3/06, 104.50", "Line Trend line"},
        {12, 1, 0, "Drawing text...", "Left click to position"},
        {12, 2, 0, "Mon 2/1/06", "Anchor value 12.50"},
    };
    for (const auto& c : cases) {
        ModeReadoutInput in = Mode(c.mode, c.stage);
        in.handleState = c.handle;
        const auto texts = ModeReadoutTexts(in);
        ASSERT_TRUE(texts) << c.mode << "/" << c.stage;
        EXPECT_EQ((*texts)[0], c.first) << c.mode << "/" << c.stage;
        EXPECT_EQ((*texts)[1], c.second) << c.mode << "/" << c.stage;
    }
}

TEST(ModeReadout, NoTextsWithoutAModeBandsOrWhileTrainingOrEditingPrices)
{
    EXPECT_FALSE(ModeReadoutTexts(Mode(6, 2)));  // a stage without texts
    EXPECT_FALSE(ModeReadoutTexts(Mode(9, 1)));  // price editing shows its own readouts
    ModeReadoutInput idle = Mode(6, 1);
    idle.mode.active = 0;
    ModeReadoutInput noBands = Mode(6, 1);
    noBands.timeBands = false;
    ModeReadoutInput placing = Mode(6, 1);
    placing.placingTrainingMark = true;
    ModeReadoutInput editing = Mode(4, 1);
    editing.priceEdit = true;
    for (const ModeReadoutInput& in : {idle, noBands, placing, editing})
        EXPECT_FALSE(ModeReadoutTexts(in));
}

TEST(CrossHairs, AVerticalLineThroughEveryPaneAndAHorizontalOneInThePaneUnderTheMouse)
{
    auto pane = [](uint32_t id, int32_t left, int32_t top, int32_t right, int32_t bottom) {
        GraphPane p{};
        p.id = id;
        p.visible = 1;
        p.left = left;
        p.top = top;
        p.right = right;
        p.bottom = bottom;
        return p;
    };
    GraphPane caption = pane(kPaneCaption, 10, 0, 590, 18);
    GraphPane price = pane(kPanePrice, 40, 20, 560, 300);
    GraphPane volume = pane(kPaneVolume, 40, 302, 560, 400);
    caption.next = &price;
    price.next = &volume;
    const int32_t plot[4] = {40, 20, 560, 400};

    auto lines = CrossHairLines(&caption, plot, 100, 150, false);
    ASSERT_EQ(lines.size(), 3u);
    EXPECT_EQ(lines[0].left, 100);
    EXPECT_EQ(lines[0].top, 20);
    EXPECT_EQ(lines[0].bottom, 300);
    EXPECT_EQ(lines[1].top, 150);
    EXPECT_EQ(lines[1].left, 40);
    EXPECT_EQ(lines[1].right, 560);
    EXPECT_EQ(lines[2].top, 302);
    EXPECT_EQ(lines[2].bottom, 400);

    EXPECT_EQ(CrossHairLines(&caption, plot, 100, 150, true).size(), 2u) << "vertical line only";
    EXPECT_EQ(CrossHairLines(&caption, plot, 100, 10, false).size(), 2u) << "no horizontal line over the caption";
    EXPECT_TRUE(CrossHairLines(&caption, plot, 20, 10, false).empty()) << "left of the plot, above the panes";
    EXPECT_EQ(CrossHairLines(&caption, plot, 20, 350, false).size(), 0u) << "the axis labels take none";
}

} // namespace
} // namespace qv
