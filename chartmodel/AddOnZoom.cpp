// Zooming and un-zooming add-on windows.
#include "chartmodel/AddOnZoom.h"

#include "chartmodel/GraphSettingLayout.h"
#include "chartmodel/PaneLayout.h"

namespace qv {
namespace gs = graphsetting;

namespace {

int16_t Height(const GraphSetting& setting, int window)
{
    return int16_t(LoadU16(gs::IndicatorSlot(setting, window, 0).data() + gs::kSlotHeightWeight));
}

void SetHeight(GraphSetting& setting, int window, int32_t height)
{
    StoreU16(gs::IndicatorSlot(setting, window, 0).data() + gs::kSlotHeightWeight, uint16_t(int16_t(height)));
}

bool InUse(const GraphSetting& setting, int window)
{
    return window >= 0 && window < kLayoutAddOnWindows && gs::IndicatorSlot(setting, window, 0)[gs::kSlotType] != 0;
}

} // namespace

bool AddOnWindowZoomed(const GraphSetting& setting, int window)
{
    return InUse(setting, window) && Height(setting, window) > kZoomAddition;
}

bool ToggleAddOnZoom(GraphSetting& setting, int window, bool zoomOnly)
{
    if (!InUse(setting, window))
        return false;
    if (Height(setting, window) > kZoomAddition) {
        if (!zoomOnly)
            SetHeight(setting, window, Height(setting, window) - kZoomAddition);
        return true;
    }
    for (int other = 0; other < kLayoutAddOnWindows; ++other)
        if (Height(setting, other) > kZoomAddition)
            SetHeight(setting, other, Height(setting, other) - kZoomAddition);
    SetHeight(setting, window, Height(setting, window) + kZoomAddition);
    return true;
}

} // namespace qv
