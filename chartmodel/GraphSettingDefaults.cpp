// Stand-ins for the chart model's graph-setting defaults.
#include "chartmodel/GraphSettingDefaults.h"

namespace qv {

void InitGraphSetting(GraphSetting& record, bool)
{
    record = GraphSetting{};
}

void SetGraphSettingVariant(GraphSetting& record, int)
{
    record = GraphSetting{};
}

void InitPivotPointSettings(GraphSetting&) {}
void InitSwingChartSettings(GraphSetting&) {}
void InitEventMarkerSettings(GraphSetting&) {}
void ClearRetiredLineField(GraphSetting&) {}
void ConvertOldIndicatorRecords(GraphSetting&) {}

} // namespace qv
