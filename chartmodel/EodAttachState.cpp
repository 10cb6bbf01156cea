// The daily chart's chart kind flags and bar spacing.
#include "chartmodel/EodAttachState.h"

#include "chartmodel/GraphSettingLayout.h"

#include <algorithm>

namespace qv {
namespace gs = graphsetting;

uint32_t ChartKindFlags(int style, bool boxesOnTimeAxis)
{
    if (style < 6)
        return style == 5 ? kChartPointFigure | kChartBoxAxis : 0;
    return kChartReversal | (boxesOnTimeAxis ? 0 : kChartBoxAxis);
}

BarSpacing ComputeBarSpacing(uint8_t spacingByte, float scaleX, float scaleY)
{
    const float scale = std::min(scaleX, scaleY);
    const int32_t width = 2 * (std::min(spacingByte & 15, 8) + 1);
    BarSpacing spacing;
    spacing.margin = int32_t((spacingByte >> 4) * scale + 0.5f);
    spacing.step = int32_t(width * scale + 0.5f) + 2 * spacing.margin;
    return spacing;
}

EodAttachState ComputeAttachState(const GraphSetting& setting, float scaleX, float scaleY)
{
    EodAttachState state;
    const bool dated = (gs::U16(setting, gs::kBoxChartFlags) & kBoxOptionDatedReversal) != 0;
    state.kindFlags = ChartKindFlags(gs::U8(setting, gs::kPriceDisplay), dated);
    state.spacing = ComputeBarSpacing(gs::U8(setting, gs::kBoxSizeSpace), scaleX, scaleY);
    state.volumeShown = (gs::U8(setting, gs::kVolumePane) & 3) != 0;
    return state;
}

} // namespace qv
