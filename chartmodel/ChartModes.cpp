// The table of chart modes: each mode's cursor and name by subtype.
#include "chartmodel/ChartModes.h"

#include <array>

namespace qv {
namespace {

using Row = std::array<ChartModeEntry, kChartModeSubtypes>;

const std::array<Row, kChartModes> kTable = {{
    {{{kCursorArrow, "Not busy"}}},
    {{{kCursorArrow, "Redrawing graph"}}},
    {{{kCursorArrow, "Pending"}}},
    {{{kCursorPreviousShare, "Previous share"}}},
    {{{kCursorNextShare, "Next share"}}},
    {{{kCursorSizeWE, "Time range select"}}},
    {{{kCursorSizeNS, "Resizing graph"}}},
    {{{kCursorSizeAll, "Scrolling graph"}}},
    {{{kCursorArrow, "Training mode"}}},
    {{{kCursorEditPrice, "Edit Price"},
      {kCursorEditOpen, "Edit Open"},
      {kCursorEditHigh, "Edit High"},
      {kCursorEditLow, "Edit Low"},
      {kCursorEditClose, "Edit Close"}}},
    {{{kCursorCross, "Simple line"},
      {kCursorCross, "Fibonacci arc"},
      {kCursorCross, "Fibonacci fan"},
      {kCursorCross, "Fibonacci retracement"},
      {kCursorCross, "Gann angle"},
      {kCursorCross, "Partial trend"},
      {kCursorCross, "Speed resistance line"},
      {kCursorCross, "Quadrant line"},
      {kCursorCross, "Percentage change line"}}},
    {{{kCursorCross, "Andrew's pitchfork"}}},
    {{{kCursorGraphText, "Graph text"}}},
    {{{kCursorArrow, "Undefined"}}},
}};

const ChartModeEntry kNoEntry = {kCursorNone, nullptr};

} // namespace

const ChartModeEntry& ChartModeTable(uint32_t mode, uint32_t subtype)
{
    if (mode >= kChartModes || subtype >= kChartModeSubtypes)
        return kNoEntry;
    return kTable[mode][subtype];
}

void GetModeName(std::string& name, uint32_t mode, uint32_t subtype)
{
    const char* text = ChartModeTable(mode, subtype).name;
    name = text ? text : "";
}

bool IsOwnChartCursor(uint32_t id)
{
    switch (id) {
    case kCursorPreviousShare:
    case kCursorNextShare:
    case kCursorGraphText:
    case kCursorEditPrice:
    case kCursorEditOpen:
    case kCursorEditHigh:
    case kCursorEditLow:
    case kCursorEditClose:
        return true;
    default:
        return false;
    }
}

} // namespace qv
