// The chart's mouse modes: the mode record and the table of each mode's cursor and name.
#pragma once

#include <cstdint>
#include <string>

namespace qv {

enum ChartModeNumber : uint32_t {
    kModeIdle = 0,
    kModeRedrawing = 1,
    kModePending = 2,
    kModePreviousShare = 3,
    kModeNextShare = 4,
    kModeTimeRange = 5,
    kModeResizing = 6,
    kModeScrolling = 7,
    kModeTraining = 8,
    kModeEditPrice = 9,
    kModeLineStudy = 10,
    kModePitchfork = 11,
    kModeGraphText = 12,
    kModeUndefined = 13,
};

constexpr uint32_t kChartModes = 14;
constexpr uint32_t kChartModeSubtypes = 9;

// Redraw-mask bits this model reads; the chart views own the others.
constexpr uint32_t kRedrawFreeModel = 4;
constexpr uint32_t kRedrawDrawGraph = 0x400;
constexpr uint32_t kRedrawAll = 0xFFFF;

struct ChartModeRecord {
    uint8_t active = 0;
    uint32_t mode = 0;
    uint32_t subtype = 0;
    uint32_t stage = 0;
    uint32_t mask = 0;       // redraw steps
};

// System cursor ids; the program's own are 1706, 1707, 780, 1713 and 1721-1724.
enum ChartCursorId : uint32_t {
    kCursorNone = 0,
    kCursorArrow = 32512,
    kCursorCross = 32515,
    kCursorSizeWE = 32644,
    kCursorSizeNS = 32645,
    kCursorSizeAll = 32646,
    kCursorPreviousShare = 1706,
    kCursorNextShare = 1707,
    kCursorGraphText = 780,
    kCursorEditPrice = 1713,
    kCursorEditOpen = 1721,
    kCursorEditHigh = 1722,
    kCursorEditLow = 1723,
    kCursorEditClose = 1724,
};

struct ChartModeEntry {
    uint32_t cursor;
    const char* name;        // null for the unused subtypes
};

// The entry of a mode and subtype; {0, null} for unused subtypes and for numbers outside the table.
const ChartModeEntry& ChartModeTable(uint32_t mode, uint32_t subtype);
// Assigns the entry's name ("" when it has none).
void GetModeName(std::string& name, uint32_t mode, uint32_t subtype);
// True for the cursor ids the program draws itself.
bool IsOwnChartCursor(uint32_t id);

} // namespace qv
