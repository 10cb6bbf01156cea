// The event block as Display Events writes it.
#include "chartmodel/ChartSettingsRules.h"

#include "chartmodel/GraphSettingLayout.h"

namespace qv::chartsettings {

using namespace graphsetting;

void WriteEventDisplay(GraphSetting& record, bool show, const std::array<bool, kEventKinds>& ticked)
{
    SetU32(record, kEvents, show ? 1 : 0);
    for (int i = 0; i < kEventKinds; ++i) {
        size_t at = EventEntry(i) + kEventShown;
        if (!ticked[size_t(i)])
            SetU8(record, at, 0);
        else if (U8(record, at) == 0)
            SetU8(record, at, kTickedEventMode);
    }
}

} // namespace qv::chartsettings
