// Default records and column layouts for "Quorva.cfg" (zero-filled until their owners fill them).
#include "core/ConfigDefaults.h"

#include <algorithm>

namespace qv {

std::vector<uint8_t> DefaultColumnLayout(ColumnLayoutSet, int)
{
    return {0};
}

void InitDefaultTableStyle(TableStyle& style)
{
    style = TableStyle{};
}

void SetDefaultTickerSettings(TickerSetting& ticker)
{
    ticker = TickerSetting{};
}

void InitNamedSettingRecord(AlarmActionRecord& actions)
{
    actions = AlarmActionRecord{};
}

void SetDefaultAlarmMoves(RTAlarmSettingsRecord& settings)
{
    std::fill(settings.bytes.begin(), settings.bytes.begin() + RTAlarmSettingsRecord::kOlderSize, 0);
}

void SetDefaultAlarmIndicators(RTAlarmSettingsRecord& settings)
{
    std::fill(settings.bytes.begin() + RTAlarmSettingsRecord::kOlderSize, settings.bytes.end(), 0);
}

} // namespace qv
