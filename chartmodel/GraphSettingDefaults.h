// The default graph settings and the parts of a graph setting that newer versions added. The chart
// model fills the records; until then a default setting is an empty record and the newer parts are
// left as they are.
#pragma once

#include "core/ConfigRecords.h"

namespace qv {

// The default graph setting; defaultSet marks the record of the default set.
void InitGraphSetting(GraphSetting& record, bool defaultSet);
// The special edition's first (2) or second (3) setting.
void SetGraphSettingVariant(GraphSetting& record, int variant);
void InitPivotPointSettings(GraphSetting& record);
void InitSwingChartSettings(GraphSetting& record);
void InitEventMarkerSettings(GraphSetting& record);
// Clears the field that the retired intraday line file used to fill.
void ClearRetiredLineField(GraphSetting& record);
// Converts every indicator record of a setting from the layout of configuration versions 1 and 2.
void ConvertOldIndicatorRecords(GraphSetting& record);

} // namespace qv
