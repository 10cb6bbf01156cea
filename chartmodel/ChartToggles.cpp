// The log-scale and trend-line toggles of a chart setting.
#include "chartmodel/ChartToggles.h"

#include "chartmodel/GraphSettingLayout.h"

namespace qv {
namespace gs = graphsetting;

namespace {

constexpr uint32_t kTrendSaveShift = 8;

} // namespace

bool LogScaleOn(const GraphSetting& setting) { return (gs::U16(setting, gs::kScaleFlags) & kLogScaleBit) != 0; }

void ToggleLogScale(GraphSetting& setting)
{
    gs::SetU16(setting, gs::kScaleFlags, uint16_t(gs::U16(setting, gs::kScaleFlags) ^ kLogScaleBit));
}

bool TrendLinesOn(const GraphSetting& setting)
{
    return gs::U32(setting, gs::kTrendShown) != 0 || gs::U32(setting, gs::kConfidenceShown) != 0;
}

void ToggleTrendLines(GraphSetting& setting, uint32_t& savedWord)
{
    if (TrendLinesOn(setting)) {
        uint32_t bits = (gs::U32(setting, gs::kTrendShown) != 0 ? 1u : 0u) |
                        (gs::U32(setting, gs::kConfidenceShown) != 0 ? 2u : 0u);
        savedWord = (savedWord & ~(3u << kTrendSaveShift)) | (bits << kTrendSaveShift);
        gs::SetU32(setting, gs::kTrendShown, 0);
        gs::SetU32(setting, gs::kConfidenceShown, 0);
        return;
    }
    uint32_t bits = (savedWord >> kTrendSaveShift) & 3u;
    if (bits == 0)
        bits = 1;
    gs::SetU32(setting, gs::kTrendShown, bits & 1u);
    gs::SetU32(setting, gs::kConfidenceShown, (bits >> 1) & 1u);
}

} // namespace qv
