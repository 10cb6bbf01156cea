// Drawing tool commands, refusals and the click stages of a line study or pitchfork.
#include "charts/DrawingToolStages.h"

#include "chartmodel/PaneLayout.h"

#include <array>
#include <cstdio>
#include <cstdlib>

namespace qv {
namespace {

constexpr std::array<DrawingTool, 12> kTools{{
    {26135, kModeLineStudy, 0, "Simple line"},
    {26357, kModeLineStudy, 1, "Fibonacci arc"},
    {26358, kModeLineStudy, 2, "Fibonacci fan"},
    {26359, kModeLineStudy, 3, "Fibonacci retracement"},
    {26364, kModeLineStudy, 4, "Gann angle"},
    {26362, kModeLineStudy, 5, "Partial trend"},
    {26360, kModeLineStudy, 6, "Speed resistance line"},
    {26361, kModeLineStudy, 7, "Quadrant line"},
    {26367, kModeLineStudy, 8, "Percentage change line"},
    {26363, kModePitchfork, 0, "Andrew's pitchfork"},
    {26138, kModeGraphText, 0, "Graph text"},
    {26150, kModeGraphText, 0, "Graph text"},
}};

constexpr uint32_t kSubtypePartialTrend = kPartialTrendMode;
constexpr uint32_t kSubtypeQuadrant = 7;
constexpr uint32_t kSubtypePercentChange = 8;

bool PriceAreaOnly(uint32_t mode, uint32_t subtype)
{
    return mode == kModeLineStudy &&
           (subtype == kSubtypePartialTrend || subtype == kSubtypeQuadrant || subtype == kSubtypePercentChange);
}

} // namespace

const DrawingTool* FindDrawingTool(uint32_t command)
{
    for (const DrawingTool& tool : kTools)
        if (tool.command == command)
            return &tool;
    return nullptr;
}

std::string DrawingToolName(uint32_t mode, uint32_t subtype)
{
    for (const DrawingTool& tool : kTools)
        if (tool.mode == mode && tool.subtype == subtype)
            return tool.name;
    return {};
}

ToolStart StartDrawingTool(const DrawingTool& tool, const ToolSource& source)
{
    if (source.modeActive && source.stage > 1)
        return {};
    if (tool.mode == kModeGraphText && !(source.shareList && source.share))
        return {false, "Text boxes can only be added to shares"};
    if (tool.mode != kModeGraphText && !source.share)
        return {false, "Lines can only be added to shares"};
    return {true, {}};
}

bool DrawingToolEnabled(const DrawingTool& tool, const ToolSource& source)
{
    if (!source.share || (tool.mode == kModeGraphText && !source.shareList))
        return false;
    return !PriceAreaOnly(tool.mode, tool.subtype) || !source.boxChart;
}

std::string DrawRefusalText(uint32_t mode, uint32_t subtype, uint32_t paneId, bool boxChart)
{
    if (!PriceAreaOnly(mode, subtype))
        return {};
    const char* where = boxChart ? "this type of graph" : paneId >= kPaneFirstAddOn ? "analytic graphs" : nullptr;
    if (!where)
        return {};
    return DrawingToolName(mode, subtype) + "s cannot be drawn on " + where + ".";
}

bool IsClickLine(ScreenPoint first, ScreenPoint second)
{
    return std::abs(first.x - second.x) < 2 && std::abs(first.y - second.y) < 2;
}

bool MoveMakesCopy(bool shift, const LineObject& object)
{
    if (!shift || (object.flags & kObjectNewFlag))
        return false;
    return !(object.kind == LineObjectKind::LineStudy && object.subtype() == kSubtypePercentChange);
}

StageStep NextDrawingStage(const StageInput& in)
{
    switch (in.stage) {
    case 1:
        if (in.event == StageEvent::Press)
            return in.overSeries ? StageStep{1, StageAction::CreateObject} : StageStep{1, StageAction::None};
        if (!in.drawing)
            return {1, StageAction::None};
        if (in.event == StageEvent::Move)
            return {1, StageAction::DragPoint};
        if (in.mode == kModePitchfork && in.pitchforkPoints < 3)
            return {1, StageAction::WaitNextPoint};
        return {0, StageAction::FinishObject};
    case 2:
        if (in.event == StageEvent::Move)
            return {2, StageAction::TestHandles};
        if (in.event == StageEvent::Press)
            return in.onSelection ? StageStep{3, StageAction::StartMove} : StageStep{2, StageAction::SelectOther};
        return in.anySelected ? StageStep{2, StageAction::None} : StageStep{0, StageAction::CancelMode};
    case 3:
        if (in.event == StageEvent::Move)
            return {4, StageAction::FollowMouse};
        if (in.event == StageEvent::Release)
            return {2, StageAction::KeepSelected};
        return {3, StageAction::None};
    case 4:
        if (in.event == StageEvent::Move)
            return {4, StageAction::FollowMouse};
        if (in.event == StageEvent::Release)
            return {0, StageAction::CommitMove};
        return {4, StageAction::None};
    default: return {in.stage, StageAction::None};
    }
}

} // namespace qv
