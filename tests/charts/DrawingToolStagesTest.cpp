// The drawing tools: commands, refusals and the click stages as tables.
#include "charts/DrawingToolStages.h"

#include "chartmodel/PaneLayout.h"

#include <gtest/gtest.h>

namespace qv {
namespace {

TEST(DrawingToolStages, ToolCommandsStartOnlyForSharesAndNotInsideAMove)
{
    const DrawingTool* line = FindDrawingTool(26135);
    const DrawingTool* text = FindDrawingTool(26150);
    const DrawingTool* fork = FindDrawingTool(26363);
    ASSERT_TRUE(line && text && fork);
    EXPECT_EQ(fork->mode, kModePitchfork);
    EXPECT_EQ(FindDrawingTool(26136), nullptr);
    struct Case {
        const DrawingTool* tool;
        ToolSource source;
        bool start;
        const char* message;
    } cases[] = {
        {line, {true, false, false, false, 0}, true, ""},
        {line, {false, true, false, false, 0}, false, "Lines can only be added to shares"},
        {fork, {false, true, false, false, 0}, false, "Lines can only be added to shares"},
        {text, {true, true, false, false, 0}, true, ""},
        {text, {true, false, false, false, 0}, false, "Text boxes can only be added to shares"},
        {line, {true, true, false, true, 1}, true, ""},
        {line, {true, true, false, true, 3}, false, ""}, // ignored while a move runs
    };
    for (const Case& c : cases) {
        ToolStart start = StartDrawingTool(*c.tool, c.source);
        EXPECT_EQ(start.start, c.start) << c.tool->command;
        EXPECT_EQ(start.message, c.message) << c.tool->command;
    }
}

TEST(DrawingToolStages, PriceAreaToolsAreRefusedOnBoxChartsAndAddOnWindows)
{
    struct Case {
        uint32_t command, pane;
        bool box;
        const char* text;
    } cases[] = {
        {26362, kPanePrice, false, ""},
        {26362, kPaneFirstAddOn, false, "Partial trends cannot be drawn on analytic graphs."},
        {26361, kPaneVolume, true, "Quadrant lines cannot be drawn on this type of graph."},
        {26367, kPaneFirstAddOn + 1, false, "Percentage change lines cannot be drawn on analytic graphs."},
        {26135, kPaneFirstAddOn, true, ""}, // a simple line goes anywhere
    };
    for (const Case& c : cases) {
        const DrawingTool* tool = FindDrawingTool(c.command);
        EXPECT_EQ(DrawRefusalText(tool->mode, tool->subtype, c.pane, c.box), c.text) << c.command;
    }
    ToolSource boxShare{true, true, true, false, 0};
    EXPECT_FALSE(DrawingToolEnabled(*FindDrawingTool(26361), boxShare));
    EXPECT_TRUE(DrawingToolEnabled(*FindDrawingTool(26364), boxShare));
    EXPECT_FALSE(DrawingToolEnabled(*FindDrawingTool(26135), ToolSource{}));
}

TEST(DrawingToolStages, ClickLinesAndShiftCopies)
{
    EXPECT_TRUE(IsClickLine({10, 10}, {11, 9}));
    EXPECT_FALSE(IsClickLine({10, 10}, {12, 10}));
    EXPECT_FALSE(IsClickLine({10, 10}, {10, 8}));

    LineObjectList list;
    LineObject* simple = AddLineObject(list, 0, 0);
    LineObject* percent = AddLineObject(list, 8, 0);
    EXPECT_TRUE(MoveMakesCopy(true, *simple));
    EXPECT_FALSE(MoveMakesCopy(false, *simple));
    EXPECT_FALSE(MoveMakesCopy(true, *percent));
    simple->flags |= kObjectNewFlag;
    EXPECT_FALSE(MoveMakesCopy(true, *simple));
    FreeLineObjectList(list);
}

TEST(DrawingToolStages, StageMachine)
{
    using E = StageEvent;
    using A = StageAction;
    struct Case {
        const char* what;
        StageInput in;
        uint32_t stage;
        A action;
    } cases[] = {
        {"press over a series creates", {kModeLineStudy, 1, E::Press, false, true}, 1, A::CreateObject},
        {"press off the panes waits", {kModeLineStudy, 1, E::Press, false, false}, 1, A::None},
        {"move drags the next point", {kModeLineStudy, 1, E::Move, true}, 1, A::DragPoint},
        {"move before any press", {kModeLineStudy, 1, E::Move, false}, 1, A::None},
        {"release finishes a line", {kModeLineStudy, 1, E::Release, true}, 0, A::FinishObject},
        {"fork after one point waits", {kModePitchfork, 1, E::Release, true, false, false, false, 1}, 1, A::WaitNextPoint},
        {"fork after two points waits", {kModePitchfork, 1, E::Release, true, false, false, false, 2}, 1, A::WaitNextPoint},
        {"fork after three finishes", {kModePitchfork, 1, E::Release, true, false, false, false, 3}, 0, A::FinishObject},
        {"hover tests handles", {kModeLineStudy, 2, E::Move}, 2, A::TestHandles},
        {"press on selection moves", {kModeLineStudy, 2, E::Press, false, true, true, true}, 3, A::StartMove},
        {"press elsewhere reselects", {kModeLineStudy, 2, E::Press, false, true, false, true}, 2, A::SelectOther},
        {"release with nothing selected", {kModeLineStudy, 2, E::Release}, 0, A::CancelMode},
        {"release with a selection", {kModeLineStudy, 2, E::Release, false, false, false, true}, 2, A::None},
        {"first move of a move", {kModeLineStudy, 3, E::Move}, 4, A::FollowMouse},
        {"release without a move", {kModeLineStudy, 3, E::Release}, 2, A::KeepSelected},
        {"moving follows", {kModeLineStudy, 4, E::Move}, 4, A::FollowMouse},
        {"release commits", {kModeLineStudy, 4, E::Release}, 0, A::CommitMove},
    };
    for (const Case& c : cases) {
        StageStep step = NextDrawingStage(c.in);
        EXPECT_EQ(step.stage, c.stage) << c.what;
        EXPECT_EQ(step.action, c.action) << c.what;
    }
}

} // namespace
} // namespace qv
