// The chart's drawing tools as the view drives them: the tool commands and where they may draw, and the
// click stages that create, select, move and commit a drawing object.
#pragma once

#include "chartmodel/ChartModes.h"
#include "chartmodel/LineObjects.h"

#include <cstdint>
#include <string>

namespace qv {

// The line tool's partial trend subtype, which Ctrl and a press start.
inline constexpr uint32_t kPartialTrendMode = 5;

struct DrawingTool {
    uint32_t command;
    uint32_t mode;
    uint32_t subtype;
    const char* name; // the chart mode table's name
};
// The tool of a command; null for another command.
const DrawingTool* FindDrawingTool(uint32_t command);
// The mode table's name of a mode and subtype; empty when there is none.
std::string DrawingToolName(uint32_t mode, uint32_t subtype);

struct ToolSource {
    bool share = false;           // the graph source is a share
    bool shareList = false;       // the view has a share list
    bool boxChart = false;
    bool modeActive = false;
    uint32_t stage = 0;
};
struct ToolStart {
    bool start = false;
    std::string message; // shown when the tool is refused
};
// A tool command while a mode runs above stage 1 is ignored; lines and text boxes need a share.
ToolStart StartDrawingTool(const DrawingTool& tool, const ToolSource& source);
// The update rule: a share as the source; the partial trend and quadrant tools also no box chart, and
// the percentage change tool only that.
bool DrawingToolEnabled(const DrawingTool& tool, const ToolSource& source);

// Partial trend, quadrant and percentage change lines draw only on the price, volume and strip panes
// of a chart that is not a box chart: the refusal's text, or empty where the press may draw.
std::string DrawRefusalText(uint32_t mode, uint32_t subtype, uint32_t paneId, bool boxChart);

// A simple line whose points lie less than 2 pixels apart both ways was a click: it is completed from
// the view's current position.
bool IsClickLine(ScreenPoint first, ScreenPoint second);

// Shift at the end of a move copies the object, except a percentage change line and a new object.
inline constexpr uint8_t kObjectNewFlag = 0x08;
bool MoveMakesCopy(bool shift, const LineObject& object);

enum class StageEvent { Press, Move, Release };
enum class StageAction {
    None,
    CreateObject,  // the first point at the press
    DragPoint,     // the working copy's next point follows the mouse
    WaitNextPoint, // a pitchfork short of its three points
    FinishObject,  // the working copy into the object, store, deselect, broadcast
    TestHandles,   // hovering over the selection
    StartMove,     // the press point and the plot edges recorded
    SelectOther,   // deselect, then select what lies under the press
    CancelMode,
    FollowMouse,
    CommitMove,    // copy or replace, store, deselect, broadcast
    KeepSelected,  // a press and release without a move
};
struct StageInput {
    uint32_t mode = kModeLineStudy;
    uint32_t stage = 1;
    StageEvent event = StageEvent::Press;
    bool drawing = false;       // stage 1: an object is being drawn
    bool overSeries = false;    // the press lies over a pane with a series
    bool onSelection = false;   // the press hits the selected object or its handles
    bool anySelected = false;
    int pitchforkPoints = 0;    // points placed so far
};
struct StageStep {
    uint32_t stage = 0; // 0: the mode ends
    StageAction action = StageAction::None;
};
// One mouse event of a line study or pitchfork.
StageStep NextDrawingStage(const StageInput& in);

} // namespace qv
