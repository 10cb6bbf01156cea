// Deleting a setting's drawing objects and stepping through them by keyboard.
#include "charts/DrawingObjectEdits.h"

#include "charts/DrawingObjectHits.h"

#include <vector>

namespace qv {
namespace {

constexpr uint8_t kExists = 0x01;

std::vector<LineObject*> VisibleObjects(std::span<LineObjectList* const> panes, int settingIndex)
{
    std::vector<LineObject*> ring;
    for (LineObjectList* list : panes)
        for (LineObject* object = list ? list->head : nullptr; object; object = object->next)
            if (ObjectVisibleIn(*object, settingIndex))
                ring.push_back(object);
    return ring;
}

} // namespace

bool ObjectVisibleIn(const LineObject& object, int settingIndex)
{
    return (object.flags & kExists) && ShowsInSetting(object, settingIndex);
}

bool AnyObjectInSetting(std::span<LineObjectList* const> panes, int settingIndex)
{
    return !VisibleObjects(panes, settingIndex).empty();
}

DeleteAllResult DeleteObjectsInSetting(std::span<LineObjectList* const> panes, int settingIndex)
{
    DeleteAllResult result;
    for (size_t i = 0; i < panes.size(); ++i)
        for (LineObject* object = panes[i] ? panes[i]->head : nullptr; object; object = object->next) {
            if (!ObjectVisibleIn(*object, settingIndex))
                continue;
            object->flags &= uint8_t(~kExists);
            result.masks |= ObjectSettingsMask(*object);
            result.changedPanes |= 1u << i;
        }
    return result;
}

LineObject* StepObjectRing(std::span<LineObjectList* const> panes, const LineObject* selected, int settingIndex,
                           bool forward)
{
    std::vector<LineObject*> ring = VisibleObjects(panes, settingIndex);
    if (ring.empty())
        return nullptr;
    size_t n = ring.size();
    for (size_t i = 0; i < n; ++i)
        if (ring[i] == selected)
            return ring[forward ? (i + 1) % n : (i + n - 1) % n];
    return forward ? ring.front() : ring.back();
}

std::string RingMenuText(uint32_t command, const LineObject* target)
{
    if (!target || target->kind != LineObjectKind::Text)
        return {};
    switch (command) {
    case kCommandNextLine: return "Next text\tTab";
    case kCommandPreviousLine: return "Previous text\tShift Tab";
    case kCommandDeleteLine: return "Delete text\tDel";
    default: return {};
    }
}

} // namespace qv
