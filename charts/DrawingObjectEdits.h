// Commands on the user's drawing objects across a chart's panes: delete all of the present setting,
// and the keyboard ring that steps through the visible objects.
#pragma once

#include "chartmodel/LineObjects.h"

#include <cstdint>
#include <span>
#include <string>

namespace qv {

// The object exists and shows in the setting.
bool ObjectVisibleIn(const LineObject& object, int settingIndex);
bool AnyObjectInSetting(std::span<LineObjectList* const> panes, int settingIndex);

struct DeleteAllResult {
    uint16_t masks = 0;    // the union of the deleted objects' masks, to broadcast
    uint32_t changedPanes = 0; // bit i: pane i of the span lost an object and is saved
};
// Clears the exists bit of every object that shows in the setting; the others stay.
DeleteAllResult DeleteObjectsInSetting(std::span<LineObjectList* const> panes, int settingIndex);

// The next (or previous) visible object after the selected one, round the ring of every pane's
// objects in order; the first (or last) when nothing is selected; null when none is visible.
LineObject* StepObjectRing(std::span<LineObjectList* const> panes, const LineObject* selected, int settingIndex,
                           bool forward);

inline constexpr uint32_t kCommandNextLine = 26143;
inline constexpr uint32_t kCommandPreviousLine = 26144;
inline constexpr uint32_t kCommandDeleteLine = 26145;
// The menu text of the ring and delete commands when the object they act on is a text box; empty to
// keep the item's own text.
std::string RingMenuText(uint32_t command, const LineObject* target);

} // namespace qv
