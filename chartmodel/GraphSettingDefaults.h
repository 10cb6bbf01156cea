// The default graph settings (daily and intraday), the blocks the dialogs' Default buttons refill, the
// comparison with the defaults, the special edition's two preset settings and the default line styles
// of each indicator type kept in the lines-and-text store.
#pragma once

#include "core/ConfigRecords.h"

#include <cstdint>
#include <span>

namespace qv {

// Fills the whole record with the daily or the intraday defaults.
void InitGraphSetting(GraphSetting& record, bool intraday);
// True when the record differs from the defaults of its variant in the parts that matter: indicators,
// added graphs, trends, date range, "Show Future" and the events.
bool GraphSettingDiffersFromDefault(const GraphSetting& record, bool intraday);
// Rewrites a record into the special edition's preset 2 or 3.
void InitVexaGraphSetting(GraphSetting& record, int preset);

// The blocks of a setting, as the dialogs' Default buttons and the configuration upgrade refill them.
void InitTrendSettings(GraphSetting& record, bool intraday);
void InitMovingAverageLines(GraphSetting& record, bool intraday);
void InitEventMarkerSettings(GraphSetting& record);
void InitSwingChartSettings(GraphSetting& record);
// Both pivot blocks.
void InitPivotPointSettings(GraphSetting& record);
void InitSupportResistSettings(GraphSetting& record);

// Clears the field that the retired intraday line file used to fill.
void ClearRetiredLineField(GraphSetting& record);
// Converts every indicator record of a setting from the layout of configuration versions 1 and 2.
void ConvertOldIndicatorRecords(GraphSetting& record);

// Default indicator line styles: kind 8 of the lines-and-text store, key 0 for charts on a light
// background and 1 for a dark one, sub-key the indicator type; 1-4 packed pen words each.
inline constexpr uint16_t kLineStyleKind = 8;
inline constexpr int kMaxLineStyles = 4;
// Stores the defaults of every indicator type that has none under a key; stores nothing when all are
// there.
void InitIndicatorLineStyles();
// Copies the stored pens of the type (at most four) into the destination; 0 when none are stored,
// else how many were copied.
int LoadIndicatorLineStyles(std::span<uint32_t, kMaxLineStyles> pens, uint32_t key, uint32_t type);
// Stores n (1-4) pens as the type's line styles, replacing any.
void SaveIndicatorLineStyles(std::span<const uint32_t> pens, uint32_t key, uint32_t type);

} // namespace qv
