// The program-wide legend settings.
#include "chartmodel/LegendSettings.h"

namespace qv {

LegendSettings& ProgramLegendSettings()
{
    static LegendSettings settings;
    return settings;
}

void ResetLegendSettings() { ProgramLegendSettings() = LegendSettings{}; }

} // namespace qv
