// Where a new or edited indicator record may go among the four add-on windows of a graph setting:
// the window usage mask, the target choices of the add-indicator dialogs, placing the record, the
// height-weight rebalancing, and deleting a record or a whole window.
#pragma once

#include "chartmodel/IndicatorRecord.h"
#include "core/ConfigRecords.h"

#include <array>
#include <cstdint>

namespace qv {

// Targets of the add-indicator dialogs.
constexpr int kTargetNewWindow = -2;
constexpr int kTargetReplace = -1; // 0-3: add to window 1-4

constexpr int kMaxWindowWeightSum = 750;
constexpr int16_t kNewWindowWeight = 100;

struct WindowUsage {
    uint8_t mask = 0;       // bits 0-3 window holds a record; bits 4-7 window cannot take the type
    bool noFreeWindow = false;
    bool tooMany() const { return (mask & 0xF0) == 0xF0; }
    bool holds(int w) const { return (mask >> w) & 1; }
    bool refuses(int w) const { return (mask >> (4 + w)) & 1; }
};
WindowUsage ComputeWindowUsage(const GraphSetting& setting, int type);

// The six target radios: enabled states in the order new window, replace, add to 1-4, and the
// preselected target.
struct TargetChoice {
    std::array<bool, 6> enabled{};
    int selected = kTargetNewWindow;
};
TargetChoice ChooseTargets(const WindowUsage& usage, bool openedFromWindow, bool locked);

// The first empty add-on window, or -1.
int FirstEmptyWindow(const GraphSetting& setting);

// Puts a record the dialog confirmed into the setting by its target. When `editedWindow` is 0-3 the
// record was edited in place at (editedWindow, editedIndex) and `original` holds it as it was opened:
// a move to another target leaves the record as it was opened there and places the edited copy. False when the
// target has no room (the setting is unchanged).
bool PlaceIndicator(GraphSetting& setting, IndicatorRecord record, int target, int editedWindow, int editedIndex,
                    const IndicatorRecord& original);
// Takes the excess over 750 of the windows' height weights off the first window that stays above 100.
void RebalanceWindowWeights(GraphSetting& setting);

// Deletes record k of window w: the later records move up; deleting record 0 when record 1 is empty
// deletes the window.
void DeleteIndicatorRecord(GraphSetting& setting, int window, int k);
// Deletes window w: the later windows move down and the last is zeroed.
void DeleteAddOnWindow(GraphSetting& setting, int window);
bool AnyAddOnWindow(const GraphSetting& setting);

} // namespace qv
